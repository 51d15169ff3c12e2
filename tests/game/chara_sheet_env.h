#pragma once
// Character drawing on a running back end: the drawing layer started headless
// with the system surface table, and the images a character needs written
// by hand: a palette, a 32 x 32 figure (Character1.bmp), the mark sheet,
// Accessory.bmp with the gauge rows, a shot, an item with its small icon and
// a sword image (Sword.bmp, for Off_Sword); the work surfaces 63..70. At 8 bits the
// blend table holds, for each pair of colours, the palette colour nearest to
// their mean. The picture as the presenter shows it is taken for the
// golden images.
#include <gtest/gtest.h>

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>

#include "chara_draw_env.h"
#include "media/dd_blit.h"
#include "media/dd_layer.h"
#include "media/dd_pixels.h"
#include "media/system_surfaces.h"
#include "platform/bmp_bytes.h"
#include "platform/close_request.h"
#include "platform/d3d_device.h"
#include "platform/host_path.h"
#include "platform/presenter.h"
#include "platform/soft_display.h"
#include "support/png_image.h"
#include "support/shown_frame.h"

namespace charadraw {

// Palette: 0 black (the transparent colour), 1..15 named colours, 16..231
// a 6 x 6 x 6 colour cube, 232..255 greys.
enum : int { kBlack = 0, kWhite, kYellow, kCyan, kGreen, kMagenta, kRed, kBlue, kGrey, kOrange, kPink, kNavy, kTeal,
             kBrown, kLime, kSilver };

inline uint32_t PaletteColour(int i) {
  static const uint32_t kNamed[16] = {0x000000, 0xFFFFFF, 0xFFFF00, 0x00FFFF, 0x00FF00, 0xFF00FF, 0xFF0000, 0x0000FF,
                                      0x404040, 0xFF8000, 0xFF80C0, 0x000080, 0x008080, 0x804000, 0x80FF00, 0xC0C0C0};
  if (i < 16) return kNamed[i];
  if (i < 232) {
    const int c = i - 16, r = c / 36, g = c / 6 % 6, b = c % 6;
    return static_cast<uint32_t>(r * 51 << 16 | g * 51 << 8 | b * 51);
  }
  const int v = 8 + (i - 232) * 10;
  return static_cast<uint32_t>(v << 16 | v << 8 | v);
}
inline int Cube(int r, int g, int b) { return 16 + r * 36 + g * 6 + b; }

class CharaSheetTest : public CharaDrawTest {
 protected:
  CharaSheetTest() {
    plat::ClearDisplayFailures();
    plat::ResetD3DHooks();
    plat::SetVideoMemoryBudget(uint64_t{256} << 20);
    plat::SetDesktopBpp(32);
    plat::ResetPresenter();
    WriteImages();
  }
  ~CharaSheetTest() override { StopLayer(); }

  // The layer full screen at `bpp` (the 3D device or the software display),
  // the palette and transparent colour from the palette image, the blend
  // table at 8 bits, and the images a character draws from.
  bool StartLayer(bool d3d, int bpp) {
    StopLayer();
    if (!DDInit(d3d ? 1 : 0, plat::WindowHandle{}, 640, 480, bpp, 0, 0, 1, 60, 0, SurfaceTable, SurfaceDefs,
                SURFACE_TABLE_SIZE, 0))
      return false;
    if (d3d) LinkSurfaceSources();
    if (!DDLoadPaletteFromFile(CurPalette, "bmp\\plt\\Palette.bmp", nBpp)) return false;
    std::copy(std::begin(CurPalette), std::end(CurPalette), std::begin(BasePalette));
    if (!DDSetTransmit("bmp\\plt\\Palette.bmp")) return false;
    if (bpp == 8) FillBlendTable();
    static const int kImages[] = {4, 5, 20, 21, 22, 23, 38, 39, 40, 41, 42, 43, 44, 49, 63, 64, 65, 66, 67, 68, 69, 70};
    if (!DDLoadSurfaces(SurfaceTable, kImages, static_cast<int>(std::size(kImages)))) return false;
    SelectCharaSurfaces();
    m_started = true;
    return true;
  }

  void StopLayer() {
    if (!m_started) return;
    m_started = false;
    DDRelease();
    for (int i = 0; i < SURFACE_TABLE_SIZE; ++i) SurfaceTable[i].lpAlias = SurfaceDefs[i].lpAlias = nullptr;
    lpDTCon = nullptr;
    bDDEverInited = 0;
    TransmitPixel = 0;
    std::memset(TextureChannels, 0, sizeof TextureChannels);
    std::memset(BackBufferChannels, 0, sizeof BackBufferChannels);
    std::fill(std::begin(CurPalette), std::end(CurPalette), PALETTEENTRY{});
    std::fill(std::begin(BasePalette), std::end(BasePalette), PALETTEENTRY{});
    lpSurfaceTable = nullptr;
    lpSurfaceDefs = nullptr;
    nSurfaceCount = 0;
    plat::ClearDisplayFailures();
    plat::ResetD3DHooks();
  }

  static testsupport::RgbImage Shown() { return testsupport::ShownFrame(); }

  // A character of graphic 0 (the figure), facing left, drawn with the
  // layer's own drawing.
  cChara& AddFigure(int scale, bool tinted, int L, int T) {
    cChara& c = AddChara(scale, tinted, L, T);
    c.m_Def.m_nGraphicOffset = 0;
    c.m_nGraphic = 0;
    c.m_nDirection = 0;
    return c;
  }

 private:
  static void Write(const std::string& name, int w, int h, const std::vector<uint8_t>& pixels) {
    using namespace bmpbytes;
    std::vector<uint32_t> table;
    for (int i = 0; i < 256; ++i) table.push_back(PaletteColour(i));
    const int stride = (w + 3) & ~3;
    std::string rows;
    for (int y = h - 1; y >= 0; --y) {
      rows.append(reinterpret_cast<const char*>(pixels.data()) + static_cast<size_t>(y) * w, static_cast<size_t>(w));
      rows.append(static_cast<size_t>(stride - w), '\0');
    }
    const std::string bytes = File(Info(w, h, 8, 0, 256), Table(table), rows);
    ASSERT_TRUE(plat::WriteFileAtomic(name, bytes.data(), bytes.size())) << name;
  }

  static void WriteImages() {
    plat::CreateDirectory("bmp");
    plat::CreateDirectory("bmp\\plt");
    // The palette image: entry n at column n mod 16, row 8 + n / 16; its
    // top-left pixel gives the transparent colour.
    std::vector<uint8_t> palette(16 * 24, 0);
    for (int n = 0; n < 256; ++n) palette[static_cast<size_t>((8 + n / 16) * 16 + n % 16)] = static_cast<uint8_t>(n);
    Write("bmp\\plt\\Palette.bmp", 16, 24, palette);

    // The figure, looking and pointing right: a yellow head with a navy eye,
    // a red body with a blue belt, an orange arm, brown legs.
    std::vector<uint8_t> figure(32 * 32, kBlack);
    auto put = [&](int x0, int y0, int x1, int y1, int c) {
      for (int y = y0; y <= y1; ++y)
        for (int x = x0; x <= x1; ++x) figure[static_cast<size_t>(y * 32 + x)] = static_cast<uint8_t>(c);
    };
    for (int y = 3; y <= 14; ++y)
      for (int x = 10; x <= 21; ++x)
        if ((2 * x - 31) * (2 * x - 31) + (2 * y - 17) * (2 * y - 17) <= 144) figure[static_cast<size_t>(y * 32 + x)] = kYellow;
    put(18, 7, 19, 8, kNavy);
    put(10, 15, 21, 25, kRed);
    put(10, 20, 21, 21, kBlue);
    put(22, 17, 29, 18, kOrange);
    put(28, 15, 29, 20, kOrange);
    put(11, 26, 13, 31, kBrown);
    put(18, 26, 20, 31, kBrown);
    Write("bmp\\Character1.bmp", 32, 32, figure);

    // Marks: icon 1 (cell (0, 32)) a cyan diamond with a white middle; icon
    // 2 (cell (0, 64)) a magenta flag in the top right corner.
    std::vector<uint8_t> marks(32 * 96, kBlack);
    for (int y = 0; y < 32; ++y)
      for (int x = 0; x < 32; ++x) {
        const int d = std::abs(x - 16) + std::abs(y - 16);
        if (d <= 10) marks[static_cast<size_t>((32 + y) * 32 + x)] = d <= 3 ? kWhite : kCyan;
        if (x >= 22 && y < 10 && x - 22 >= y / 2) marks[static_cast<size_t>((64 + y) * 32 + x)] = kMagenta;
      }
    Write("bmp\\Mark.bmp", 32, 96, marks);

    // Accessory.bmp, tall: gauge rows from 208, two apart: frame, value,
    // low value, lost part, gained part; HP at x 0, SP at x 64.
    std::vector<uint8_t> accessory(128 * 224, kBlack);
    const int hp[5] = {kWhite, kGreen, kRed, kPink, kYellow};
    const int sp[5] = {kSilver, kCyan, kMagenta, kNavy, kLime};
    for (int bar = 0; bar < 5; ++bar)
      for (int y = 208 + 2 * bar; y < 210 + 2 * bar; ++y)
        for (int x = 0; x < 128; ++x)
          accessory[static_cast<size_t>(y * 128 + x)] = static_cast<uint8_t>(x < 64 ? hp[bar] : sp[bar]);
    Write("bmp\\Accessory.bmp", 128, 224, accessory);

    // Shot.bmp: graphic 0 in two frames of 16 x 16, a white-cored lime ball
    // flying left with an orange tail, then a smaller one.
    std::vector<uint8_t> shots(32 * 16, kBlack);
    for (int frame = 0; frame < 2; ++frame)
      for (int y = 0; y < 16; ++y)
        for (int x = 0; x < 16; ++x) {
          const int d = (2 * x - 9) * (2 * x - 9) + (2 * y - 15) * (2 * y - 15);
          const int r = frame ? 7 : 9;
          uint8_t& p = shots[static_cast<size_t>(y * 32 + frame * 16 + x)];
          if (d <= r * r)
            p = d <= 9 ? kWhite : kLime;
          else if (x > 8 && y >= 6 && y <= 9)
            p = kOrange;
        }
    Write("bmp\\Shot.bmp", 32, 16, shots);

    // Item.bmp: graphic 0 in two frames of 32 x 32, a teal gem with a
    // silver (then white) shine; Item_Mini.bmp its 16 x 16 icon.
    std::vector<uint8_t> items(64 * 32, kBlack), mini(16 * 16, kBlack);
    for (int frame = 0; frame < 2; ++frame)
      for (int y = 4; y < 28; ++y)
        for (int x = 4; x < 28; ++x)
          if (std::abs(x - 16) + std::abs(y - 16) <= 12)
            items[static_cast<size_t>(y * 64 + frame * 32 + x)] =
                static_cast<uint8_t>(x < 14 && y < 14 ? (frame ? kWhite : kSilver) : kTeal);
    for (int y = 0; y < 16; ++y)
      for (int x = 0; x < 16; ++x)
        if (std::abs(2 * x - 15) + std::abs(2 * y - 15) <= 13) mini[static_cast<size_t>(y * 16 + x)] = kTeal;
    Write("bmp\\Item.bmp", 64, 32, items);
    Write("bmp\\Item_Mini.bmp", 16, 16, mini);

    // Sword.bmp: a 24 x 8 blade pointing left, silver with an orange guard
    // and a brown hilt.
    std::vector<uint8_t> sword(24 * 8, kBlack);
    for (int y = 2; y < 6; ++y)
      for (int x = 0; x < 24; ++x) sword[static_cast<size_t>(y * 24 + x)] = static_cast<uint8_t>(x >= 19 ? kBrown : kSilver);
    for (int y = 0; y < 8; ++y) sword[static_cast<size_t>(y * 24 + 18)] = kOrange;
    Write("bmp\\Sword.bmp", 24, 8, sword);
  }

  static void FillBlendTable() {
    static std::vector<uint8_t> table;
    if (table.empty()) {
      table.resize(65536);
      for (int a = 0; a < 256; ++a)
        for (int b = 0; b < 256; ++b) {
          const uint32_t ca = PaletteColour(a), cb = PaletteColour(b);
          int mean[3];
          for (int k = 0; k < 3; ++k) mean[k] = ((ca >> (16 - 8 * k) & 0xFF) + (cb >> (16 - 8 * k) & 0xFF)) / 2;
          int best = 1, bestD = INT32_MAX;
          for (int i = 1; i < 256; ++i) {
            const uint32_t c = PaletteColour(i);
            int d = 0;
            for (int k = 0; k < 3; ++k) {
              const int diff = static_cast<int>(c >> (16 - 8 * k) & 0xFF) - mean[k];
              d += diff * diff;
            }
            if (d < bestD) bestD = d, best = i;
          }
          table[static_cast<size_t>(a * 256 + b)] = static_cast<uint8_t>(best);
        }
    }
    std::copy(table.begin(), table.end(), BlendTable);
  }

  bool m_started = false;
};

}  // namespace charadraw
