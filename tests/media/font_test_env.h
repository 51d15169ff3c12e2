#pragma once
// Fonts on the software display (or the 3D device) for one test: the
// generated "TestCell" face (10- and 16-pixel cells) registered by its file,
// with a few kanji of its own that no cache holds at the start; a palette
// whose text and frame colours are easy to find; and pictures of what was
// drawn, '#' where the text colour is.
#include <string>
#include <vector>

#include "dd_test_env.h"
#include "media/dd_effects.h"
#include "media/fast_font.h"
#include "media/font.h"
#include "platform/text.h"
#include "support/bdf_font.h"

// Writes the test face's two files into the folder and registers them.
inline void RegisterTestFaces(const testsupport::ScopedWorkDir& dir) {
  for (int cell : {10, 16}) {
    testsupport::BdfFont font = testsupport::TestCellFont(cell);
    // 漢 and 字, full width: a filled block and a frame, one row inside the cell.
    std::vector<std::string> block(static_cast<size_t>(cell - 2), std::string(static_cast<size_t>(cell - 2), '#'));
    std::vector<std::string> frame = block;
    for (size_t r = 1; r + 1 < frame.size(); ++r)
      frame[r] = "#" + std::string(static_cast<size_t>(cell - 4), '.') + "#";
    font.glyphs.push_back({U'\u6F22', cell, 1, -1, block});
    font.glyphs.push_back({U'\u5B57', cell, 1, -1, frame});
    const std::string file = "cell" + std::to_string(cell) + ".bdf";
    dir.WriteFile(file, testsupport::BdfText(font));
    ASSERT_TRUE(plat::text::RegisterFontFile(dir.Path() + "/" + file));
  }
}

// A, あ, g / ｱ, space, A in cells of ten, as the software display draws them.
inline const std::vector<std::string> kCellsOfTen = {
    "..............................",
    ".............#................",
    "...........#######............",
    "...#.........#................",
    "..#.#.......####......###.....",
    "..###......#.#..#.....#.#.....",
    "..#.#......#.#...#....###.....",
    "............#....#......#.....",
    "......................##......",
    "..............................",
    "..............................",
    "..............................",
    "..............................",
    ".####..................#......",
    "...#..................#.#.....",
    "..#...................###.....",
    "......................#.#.....",
    "..............................",
    "..............................",
    "..............................",
};
inline const char kCellsOfTenText[] = "A\x82\xA0g\n\xB1 A";

class FontTest : public DrawingTest {
 public:
  static constexpr int kText = 241;   // palette number of the text
  static constexpr int kFrame = 240;  // and of the frames

 protected:
  void SetUp() override {
    DrawingTest::SetUp();
    RegisterTestFaces(m_dir);
  }

  void TearDown() override {
    plat::text::ForgetRegisteredFonts();
    plat::text::UseSystemFonts(true);
    DrawingTest::TearDown();
  }

  // Starts the display and sets a palette: entry 0 black (the transparent
  // colour), kText white, kFrame red, entry n otherwise (n, n, n).
  bool StartWithPalette(int bpp) { return Start(bpp) && SetPalette(); }
  // The 3D device, with magenta as its transparent colour.
  bool Start3DWithPalette(int bpp) {
    if (!Start3D(bpp) || !SetPalette()) return false;
    DDSetTransmit(255, 0, 255);
    lpDTCon->rgbTransmit16 = RGBTRIPLE{255, 0, 255};
    return true;
  }
  static bool SetPalette() {
    for (int n = 0; n < 256; ++n) CurPalette[n] = PALETTEENTRY{uint8_t(n), uint8_t(n), uint8_t(n), 0};
    CurPalette[0] = {};
    CurPalette[kText] = {255, 255, 255, 0};
    CurPalette[kFrame] = {255, 0, 0, 0};
    if (nBpp == 16 && !lpDTCon) {
      // At 16 bits the software display's palette holds the channels of the pixels.
      for (PALETTEENTRY& e : CurPalette)
        e = {uint8_t(e.peRed >> 3), uint8_t(e.peGreen >> 2), uint8_t(e.peBlue >> 3), 0};
    }
    std::copy(std::begin(CurPalette), std::end(CurPalette), BasePalette);
    TransmitPixel = 0;
    return true;
  }

  // A font of the test face.
  static void Make(Font& font, int height, int cellW, int cellH, int cache, DDSURFACEDATA* icons = nullptr,
                   DDSURFACEDATA* box = nullptr) {
    EXPECT_TRUE(font.Create("TestCell", 0, height, cellW, cellH, kText, box, 1, kFrame, icons, cache));
  }

  // An empty colour-keyed surface.
  static DDSURFACEDATA Blank(int w, int h) {
    DDSURFACEDATA sd;
    EXPECT_TRUE(DDCreateSurface(&sd, w, h, 1, 1, 0, nullptr, 0));
    return sd;
  }

  // Rows of the surface: '#' for the text colour, '.' for anything else.
  static std::vector<std::string> InkOf(DDSURFACEDATA* sd, int x = 0, int y = 0, int w = -1, int h = -1) {
    return InkOf(sd, TextPixel(), x, y, w, h);
  }
  static std::vector<std::string> InkOf(DDSURFACEDATA* sd, uint32_t ink, int x, int y, int w, int h) {
    if (w < 0) w = sd->nWidth - x;
    if (h < 0) h = sd->nHeight - y;
    const std::vector<uint32_t> all = Pixels(sd);
    std::vector<std::string> rows;
    for (int r = y; r < y + h; ++r) {
      std::string row;
      for (int c = x; c < x + w; ++c) row += all[static_cast<size_t>(r) * sd->nWidth + c] == ink ? '#' : '.';
      rows.push_back(row);
    }
    return rows;
  }

  // Every pixel of a surface, row after row, through one lock.
  static std::vector<uint32_t> Pixels(DDSURFACEDATA* sd) {
    std::vector<uint32_t> out;
    cSurfaceLock lock;
    EXPECT_TRUE(lock.Lock(sd));
    if (!lock.m_pBits) return out;
    for (int y = 0; y < sd->nHeight; ++y) {
      const uint8_t* row = lock.m_pBits + static_cast<size_t>(y) * lock.m_nPitch;
      for (int x = 0; x < sd->nWidth; ++x) {
        switch (lock.m_nBpp) {
          case 8: out.push_back(row[x]); break;
          case 16: out.push_back(reinterpret_cast<const uint16_t*>(row)[x]); break;
          default: out.push_back(reinterpret_cast<const uint32_t*>(row)[x]);
        }
      }
    }
    return out;
  }

  // The text colour's pixel at the running depth.
  static uint32_t TextPixel() {
    switch (nBpp) {
      case 8: return kText;
      case 16: return 0xFFFF;
      default: return 0xFFFFFF;
    }
  }
};
