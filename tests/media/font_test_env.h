#pragma once
// Fonts on the software display for one test: the generated "TestCell" face
// (10- and 16-pixel cells) registered by its file, with a few kanji of its
// own that no cache holds at the start; a palette whose text and frame
// colours are easy to find; and pictures of what was drawn, '#' where the
// text colour is.
#include <string>
#include <vector>

#include "dd_test_env.h"
#include "media/dd_effects.h"
#include "media/fast_font.h"
#include "media/font.h"
#include "platform/text.h"
#include "support/bdf_font.h"

class FontTest : public DrawingTest {
 public:
  static constexpr int kText = 241;   // palette number of the text
  static constexpr int kFrame = 240;  // and of the frames

 protected:
  void SetUp() override {
    DrawingTest::SetUp();
    for (int cell : {10, 16}) {
      testsupport::BdfFont font = testsupport::TestCellFont(cell);
      const int adv = cell;  // full width
      // 漢 and 字: a filled block and a frame, one row inside the cell.
      std::vector<std::string> block(static_cast<size_t>(cell - 2), std::string(static_cast<size_t>(cell - 2), '#'));
      std::vector<std::string> frame = block;
      for (size_t r = 1; r + 1 < frame.size(); ++r)
        frame[r] = "#" + std::string(static_cast<size_t>(cell - 4), '.') + "#";
      font.glyphs.push_back({U'\u6F22', adv, 1, -1, block});
      font.glyphs.push_back({U'\u5B57', adv, 1, -1, frame});
      const std::string file = "cell" + std::to_string(cell) + ".bdf";
      m_dir.WriteFile(file, testsupport::BdfText(font));
      ASSERT_TRUE(plat::text::RegisterFontFile(m_dir.Path() + "/" + file));
    }
  }

  void TearDown() override {
    plat::text::ForgetRegisteredFonts();
    plat::text::UseSystemFonts(true);
    DrawingTest::TearDown();
  }

  // Starts the display and sets a palette: entry 0 black (the transparent
  // colour), kText white, kFrame red, entry n otherwise (n, n, n).
  bool StartWithPalette(int bpp) {
    if (!Start(bpp)) return false;
    for (int n = 0; n < 256; ++n) CurPalette[n] = PALETTEENTRY{uint8_t(n), uint8_t(n), uint8_t(n), 0};
    CurPalette[0] = {};
    CurPalette[kText] = {255, 255, 255, 0};
    CurPalette[kFrame] = {255, 0, 0, 0};
    if (bpp == 16) {
      // At 16 bits the palette holds the channels of the pixels.
      for (PALETTEENTRY& e : CurPalette) e = {uint8_t(e.peRed >> 3), uint8_t(e.peGreen >> 2), uint8_t(e.peBlue >> 3), 0};
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
    if (w < 0) w = sd->nWidth - x;
    if (h < 0) h = sd->nHeight - y;
    const uint32_t ink = TextPixel();
    std::vector<std::string> rows;
    for (int r = y; r < y + h; ++r) {
      std::string row;
      for (int c = x; c < x + w; ++c) row += Get(sd, c, r) == ink ? '#' : '.';
      rows.push_back(row);
    }
    return rows;
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
