#pragma once
// Bitmap fonts in BDF, written by tests for the text layer and the fonts: the
// glyphs are drawn as rows of '#' (ink) and '.' (none), so a test shows the
// pixels it expects.
#include <string>
#include <vector>

namespace testsupport {

struct BdfGlyph {
  char32_t code = 0;  // Unicode
  int advance = 0;    // pixels
  int x = 0;          // left of the bitmap, from the pen
  int y = 0;          // bottom of the bitmap, above the baseline (negative: below)
  std::vector<std::string> rows;  // top row first, all of one width
};

struct BdfFont {
  std::string family;  // FAMILY_NAME, UTF-8
  int pixelSize = 0;   // em, PIXEL_SIZE
  int ascent = 0;      // FONT_ASCENT
  int descent = 0;     // FONT_DESCENT
  int averageWidth = 0;  // pixels (written in tenths, as BDF keeps it)
  std::vector<BdfGlyph> glyphs;
};

// The text of the BDF file.
std::string BdfText(const BdfFont& font);

// "TestCell": the test face at a cell of 10 (ascent 8) or 16 (ascent 14)
// pixels, with 'A', 'g', ' ', 'ｱ' and 'あ'.
BdfFont TestCellFont(int cell);

}  // namespace testsupport
