#include "tools/testcard/card.h"

#include <cstdint>
#include <string>
#include <vector>

#include "media/dd_blit.h"
#include "media/dd_effects.h"
#include "media/dd_layer.h"
#include "media/dd_sheet_text.h"
#include "platform/host_path.h"

namespace {

// Palette: 0 black (the transparent colour), 1-15 named colours, 16-231 a
// 6 x 6 x 6 colour cube, 232-255 greys.
enum : int { kBlack = 0, kWhite = 1, kYellow = 2, kCyan = 3, kGreen = 4, kMagenta = 5, kRed = 6, kBlue = 7,
             kGrey = 8, kOrange = 9, kPink = 10, kNavy = 11, kTeal = 12, kBrown = 13, kLime = 14, kSilver = 15 };
const uint32_t kNamed[16] = {0x000000, 0xFFFFFF, 0xFFFF00, 0x00FFFF, 0x00FF00, 0xFF00FF, 0xFF0000, 0x0000FF,
                             0x404040, 0xFF8000, 0xFF80C0, 0x000080, 0x008080, 0x804000, 0x80FF00, 0xC0C0C0};

int Cube(int r, int g, int b) { return 16 + r * 36 + g * 6 + b; }

void Put16(std::string& s, uint32_t v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>((v >> 8) & 0xFF);
}
void Put32(std::string& s, uint32_t v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}

std::string Header(int w, int h, int bits, int colours, uint32_t dataSize) {
  std::string s = "BM";
  const uint32_t off = 14 + 40 + 4u * static_cast<uint32_t>(colours);
  Put32(s, off + dataSize);
  Put32(s, 0);
  Put32(s, off);
  Put32(s, 40);
  Put32(s, static_cast<uint32_t>(w));
  Put32(s, static_cast<uint32_t>(h));
  Put16(s, 1);
  Put16(s, static_cast<uint32_t>(bits));
  for (uint32_t v : {0u, dataSize, 2835u, 2835u, static_cast<uint32_t>(colours), 0u}) Put32(s, v);
  return s;
}

bool Write(const char* name, const std::string& bytes) {
  return plat::WriteFileAtomic(std::string("bmp\\") + name, bytes.data(), bytes.size());
}

// An 8-bit image (rows top first) with the card's palette.
bool WriteBmp8(const char* name, int w, int h, const std::vector<uint8_t>& pixels) {
  const int stride = (w + 3) & ~3;
  std::string s = Header(w, h, 8, 256, static_cast<uint32_t>(stride * h));
  for (int i = 0; i < 256; ++i) {
    const uint32_t c = TestCardColour(i);
    Put32(s, c & 0xFFFFFF);  // blue, green, red, 0
  }
  for (int y = h - 1; y >= 0; --y) {
    s.append(reinterpret_cast<const char*>(pixels.data()) + static_cast<size_t>(y) * w, static_cast<size_t>(w));
    s.append(static_cast<size_t>(stride - w), '\0');
  }
  return Write(name, s);
}

bool WriteBmp24(const char* name, int w, int h, const std::vector<uint32_t>& rgb) {
  const int stride = (w * 3 + 3) & ~3;
  std::string s = Header(w, h, 24, 0, static_cast<uint32_t>(stride * h));
  for (int y = h - 1; y >= 0; --y) {
    for (int x = 0; x < w; ++x) {
      const uint32_t c = rgb[static_cast<size_t>(y) * w + x];
      s += static_cast<char>(c & 0xFF);
      s += static_cast<char>((c >> 8) & 0xFF);
      s += static_cast<char>((c >> 16) & 0xFF);
    }
    s.append(static_cast<size_t>(stride - w * 3), '\0');
  }
  return Write(name, s);
}

// Glyphs of 3 x 5 dots for 0-9 and ':'.
const char* const kGlyphs[11][5] = {
    {"111", "101", "101", "101", "111"}, {"010", "110", "010", "010", "111"}, {"111", "001", "111", "100", "111"},
    {"111", "001", "111", "001", "111"}, {"101", "101", "111", "001", "001"}, {"111", "100", "111", "001", "111"},
    {"111", "100", "111", "101", "111"}, {"111", "001", "001", "001", "001"}, {"111", "101", "111", "101", "111"},
    {"111", "101", "111", "001", "111"}, {"000", "010", "000", "010", "000"},
};

bool WriteImages() {
  plat::CreateDirectory("bmp");
  bool ok = true;
  // The palette image: entry n at column n mod 16, row 8 + n / 16; the
  // top-left pixel is the transparent colour.
  std::vector<uint8_t> palette(16 * 24, 0);
  for (int n = 0; n < 256; ++n) palette[static_cast<size_t>((8 + n / 16) * 16 + n % 16)] = static_cast<uint8_t>(n);
  ok = WriteBmp8("TcPalette.bmp", 16, 24, palette) && ok;

  // A 32 x 32 sprite: a red disc with a white ring and a cyan middle on the
  // transparent colour, crossed by a yellow band.
  std::vector<uint8_t> sprite(32 * 32, kBlack);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const int dx = 2 * x - 31, dy = 2 * y - 31, d2 = dx * dx + dy * dy;
      uint8_t& p = sprite[static_cast<size_t>(y * 32 + x)];
      if (d2 <= 26 * 26) p = kRed;
      if (d2 > 22 * 22 && d2 <= 30 * 30) p = kWhite;
      if (p == kRed && x - y >= -3 && x - y <= 3) p = kYellow;
      if (dx * dx <= 16 && dy * dy <= 16) p = kCyan;
    }
  ok = WriteBmp8("TcSprite.bmp", 32, 32, sprite) && ok;

  // Two cells of 32 x 32, each an arrow pointing right.
  std::vector<uint8_t> sheet(64 * 32, kBlack);
  for (int cell = 0; cell < 2; ++cell)
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) {
        const bool shaft = y >= 13 && y <= 18 && x >= 4 && x < 20;
        const bool head = x >= 20 && x <= 28 && (y - 16 < 0 ? 16 - y : y - 15) <= 28 - x;
        if (shaft || head) sheet[static_cast<size_t>(y * 64 + cell * 32 + x)] = cell ? kOrange : kGreen;
      }
  ok = WriteBmp8("TcSheet.bmp", 64, 32, sheet) && ok;

  // A glyph sheet of 16 x 16 cells of 8 x 12: the digits and ':' in row 3
  // (their character codes), each glyph doubled in size.
  std::vector<uint8_t> glyphs(128 * 192, kBlack);
  for (int g = 0; g < 11; ++g)
    for (int gy = 0; gy < 5; ++gy)
      for (int gx = 0; gx < 3; ++gx)
        if (kGlyphs[g][gy][gx] == '1')
          for (int k = 0; k < 4; ++k) {
            const int x = g * 8 + 1 + gx * 2 + (k & 1), y = 3 * 12 + 1 + gy * 2 + (k >> 1);
            glyphs[static_cast<size_t>(y * 128 + x)] = kWhite;
          }
  ok = WriteBmp8("TcGlyphs.bmp", 128, 192, glyphs) && ok;

  // The background of the framed box: diagonal stripes.
  std::vector<uint8_t> box(64 * 32);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 64; ++x) box[static_cast<size_t>(y * 64 + x)] = ((x + y) / 4) % 2 ? kNavy : kTeal;
  ok = WriteBmp8("TcBox.bmp", 64, 32, box) && ok;

  // 24-bit ramps: red against blue, then grey.
  std::vector<uint32_t> ramp(256 * 16);
  for (int y = 0; y < 16; ++y)
    for (uint32_t x = 0; x < 256; ++x)
      ramp[static_cast<size_t>(y) * 256 + x] = y < 8 ? x << 16 | (255 - x) : x << 16 | x << 8 | x;
  ok = WriteBmp24("TcRamp.bmp", 256, 16, ramp) && ok;
  return ok;
}

struct Surfaces {
  DDSURFACEDATA sprite, sheet, mirrored, glyphs, box, ramp;
  ~Surfaces() {
    for (DDSURFACEDATA* sd : {&sprite, &sheet, &mirrored, &glyphs, &box, &ramp}) DDReleaseSurface(sd);
  }
};

int Load(DDSURFACEDATA& sd, const char* name, int key, int mirrorW = 0) {
  const std::string path = std::string("bmp\\") + name;
  return DDCreateSurfaceFromFile(&sd, path.c_str(), key, nBpp, 0, DTMEMORYTYPE_VIDEO_RT, nullptr, 0, mirrorW, 0, 0);
}

}  // namespace

uint32_t TestCardColour(int i) {
  if (i < 16) return kNamed[i];
  if (i < 232) {
    const int n = i - 16;
    return static_cast<uint32_t>(n / 36 * 51) << 16 | static_cast<uint32_t>(n / 6 % 6 * 51) << 8 |
           static_cast<uint32_t>(n % 6 * 51);
  }
  const uint32_t grey = static_cast<uint32_t>(8 + (i - 232) * 10);
  return grey << 16 | grey << 8 | grey;
}

const TestCardPoint kTestCardPoints[] = {
    {6, 6, kRed},          {633, 6, kGreen},      {6, 473, kBlue},        {633, 473, kYellow},
    {40, 30, kWhite},      {200, 30, kCyan},      {440, 30, kRed},        {520, 30, kBlue},
    {440, 112, kCyan},     // the keyed sprite's middle
    {300, 400, 18},        // the background
};
const int kTestCardPointCount = static_cast<int>(sizeof kTestCardPoints / sizeof kTestCardPoints[0]);

bool DrawTestCard() {
  if (!WriteImages()) return false;
  if (!DDLoadPaletteFromFile(CurPalette, "bmp\\TcPalette.bmp", nBpp)) return false;
  for (int i = 0; i < 256; ++i) BasePalette[i] = CurPalette[i];
  if (!DDSetTransmit("bmp\\TcPalette.bmp")) return false;
  if (lpDDCon) lpDDCon->rgbTransmit16 = RGBTRIPLE{0xFF, 0x00, 0xFF};

  Surfaces s;
  if (Load(s.sprite, "TcSprite.bmp", 1) || Load(s.sheet, "TcSheet.bmp", 1) ||
      Load(s.mirrored, "TcSheet.bmp", 1, 32) || Load(s.glyphs, "TcGlyphs.bmp", 1) || Load(s.box, "TcBox.bmp", 0))
    return false;
  // 24-bit images need 16 or 32 bits; at 8 bits the ramp stays away.
  const bool ramp = nBpp != 8 && Load(s.ramp, "TcRamp.bmp", 0) == 0;

  DDSURFACEDATA* bb = &BackBuffer;
  DDFillSurface(bb, Cube(0, 0, 2));

  // Colour bars, the grey ramp and the colour cube.
  const int bars[8] = {kWhite, kYellow, kCyan, kGreen, kMagenta, kRed, kBlue, kBlack};
  for (int i = 0; i < 8; ++i) DDFillRect(bb, i * 80, 0, 80, 60, bars[i]);
  for (int i = 0; i < 24; ++i) DDFillRect(bb, 8 + i * 26, 62, 26, 18, 232 + i);
  for (int i = 0; i < 216; ++i) DDFillRect(bb, 8 + (i % 36) * 10, 90 + (i / 36) * 10, 10, 10, 16 + i);

  // Sprites over a checker: opaque, keyed, larger, smaller, larger still.
  for (int y = 0; y < 9; ++y)
    for (int x = 0; x < 32; ++x) DDFillRect(bb, 380 + x * 8, 88 + y * 8, 8, 8, (x + y) % 2 ? kSilver : kGrey);
  DDBlt(bb, 384, 96, 32, 32, &s.sprite, 0, 0, 0);
  DDBlt(bb, 424, 96, 32, 32, &s.sprite, 0, 0, 1);
  DDBltStretch(bb, 464, 96, 48, 48, &s.sprite, 0, 0, 32, 32, 1);
  DDBltStretch(bb, 520, 96, 16, 16, &s.sprite, 0, 0, 32, 32, 1);
  DDBltStretch(bb, 548, 96, 60, 60, &s.sprite, 0, 0, 32, 32, 1);

  // A sheet and the same sheet mirrored cell by cell.
  DDBlt(bb, 8, 160, 64, 32, &s.sheet, 0, 0, 1);
  DDBlt(bb, 80, 160, 64, 32, &s.mirrored, 0, 0, 1);

  // Frames, a framed box, numbers and sheet text.
  DDDrawFrame(bb, 160, 160, 100, 40, 2, kWhite);
  DDDrawFramedBox(bb, 280, 164, 64, 32, &s.box, 3, kRed);
  DDDrawNumber(bb, 380, 170, 8, 12, &s.glyphs, 0, 36, 1, 1234567, 9, 0);
  DDDrawNumber(bb, 380, 186, 8, 12, &s.glyphs, 0, 36, 1, 42, 6, 1);
  DDDrawNumber(bb, 380, 202, 8, 12, &s.glyphs, 0, 36, 1, -5, 1, 0);
  DDDrawSheetTextF(bb, 500, 170, 8, 12, &s.glyphs, "%d:%02d", 12, 34);

  // The strip distortions of the sprite.
  DDBltWave(bb, 8, 240, 32, 32, 2, 5.0, 30, 2, &s.sprite, 0, 0, 1, 1);
  DDBltWave(bb, 64, 240, 32, 32, 2, 5.0, 30, 2, &s.sprite, 0, 0, 1, 0);
  DDBltSplit(bb, 120, 240, 32, 32, 4, 3, &s.sprite, 0, 0, 1, 1);
  DDBltSplit(bb, 170, 240, 32, 32, 4, 3, &s.sprite, 0, 0, 1, 0);
  DDBltBurst(bb, 224, 240, 32, 32, &s.sprite, 0, 0, 4, 1);
  DDBltDepthRotate(bb, 280, 240, 32, 32, &s.sprite, 0, 0, &s.sheet, 0, 0, 32, 32, 1, 5, 0);
  DDBltDepthRotate(bb, 330, 240, 32, 32, &s.sprite, 0, 0, &s.sheet, 0, 0, 32, 32, 1, 21, 0);
  DDBltStretch(bb, 400, 220, 96, 96, &s.sprite, 0, 0, 32, 32, 0);

  if (ramp) DDBltStretch(bb, 8, 340, 512, 32, &s.ramp, 0, 0, 256, 16, 0);

  // A frame round the screen, and a colour in each corner.
  DDDrawFrame(bb, 0, 0, 640, 480, 1, kWhite);
  DDFillRect(bb, 0, 0, 12, 12, kRed);
  DDFillRect(bb, 628, 0, 12, 12, kGreen);
  DDFillRect(bb, 0, 468, 12, 12, kBlue);
  DDFillRect(bb, 628, 468, 12, 12, kYellow);
  return true;
}
