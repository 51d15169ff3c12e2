#include "support/bdf_font.h"

#include <cstdio>

namespace testsupport {

std::string BdfText(const BdfFont& font) {
  std::string out;
  char line[256];
  auto add = [&](const char* format, auto... args) {
    snprintf(line, sizeof(line), format, args...);
    out += line;
  };
  int cell = font.ascent + font.descent;
  add("STARTFONT 2.1\n");
  add("FONT -Test-%s-Medium-R-Normal--%d-%d-75-75-C-%d-ISO10646-1\n", font.family.c_str(),
      font.pixelSize, font.pixelSize * 10, font.averageWidth * 10);
  add("SIZE %d 75 75\n", font.pixelSize);
  add("FONTBOUNDINGBOX %d %d 0 %d\n", cell, cell, -font.descent);
  add("STARTPROPERTIES 8\n");
  add("FAMILY_NAME \"%s\"\n", font.family.c_str());
  add("PIXEL_SIZE %d\n", font.pixelSize);
  add("FONT_ASCENT %d\n", font.ascent);
  add("FONT_DESCENT %d\n", font.descent);
  add("AVERAGE_WIDTH %d\n", font.averageWidth * 10);
  add("SPACING \"C\"\n");
  add("CHARSET_REGISTRY \"ISO10646\"\n");
  add("CHARSET_ENCODING \"1\"\n");
  add("ENDPROPERTIES\n");
  add("CHARS %d\n", static_cast<int>(font.glyphs.size()));
  for (const BdfGlyph& g : font.glyphs) {
    int w = g.rows.empty() ? 0 : static_cast<int>(g.rows[0].size());
    int h = static_cast<int>(g.rows.size());
    add("STARTCHAR U+%04X\n", static_cast<unsigned>(g.code));
    add("ENCODING %u\n", static_cast<unsigned>(g.code));
    add("SWIDTH %d 0\n", g.advance * 1000 / font.pixelSize);
    add("DWIDTH %d 0\n", g.advance);
    add("BBX %d %d %d %d\n", w, h, g.x, g.y);
    add("BITMAP\n");
    for (const std::string& row : g.rows) {
      std::vector<unsigned char> bytes((w + 7) / 8, 0);
      for (int i = 0; i < w; i++) {
        if (row[i] == '#') bytes[i / 8] |= 0x80 >> (i % 8);
      }
      for (unsigned char b : bytes) add("%02X", b);
      add("\n");
    }
    add("ENDCHAR\n");
  }
  add("ENDFONT\n");
  return out;
}

BdfFont TestCellFont(int cell) {
  BdfFont f;
  f.family = "TestCell";
  if (cell == 10) {
    f.pixelSize = 10;
    f.ascent = 8;
    f.descent = 2;
    f.averageWidth = 5;
    f.glyphs = {
        {U'A', 5, 1, 0, {".#.", "#.#", "###", "#.#"}},
        {U'g', 5, 1, -2, {"###", "#.#", "###", "..#", "##."}},
        {U' ', 5, 0, 0, {"."}},
        {U'ｱ', 5, 0, 1, {"####", "..#.", ".#.."}},
        {U'あ', 10, 1, -1,
         {"..#.....", "#######.", "..#.....", ".####...", "#.#..#..", "#.#...#.", ".#....#.",
          "........"}},
    };
  } else {
    f.pixelSize = 16;
    f.ascent = 14;
    f.descent = 2;
    f.averageWidth = 8;
    f.glyphs = {
        {U'A', 8, 1, 0, {"..#..", ".#.#.", "#...#", "#####", "#...#", "#...#", "#...#"}},
        {U'g', 8, 1, -2, {"####", "#..#", "#..#", "####", "...#", "...#", "###."}},
        {U' ', 8, 0, 0, {"."}},
        {U'ｱ', 8, 0, 2, {"######", "....#.", "...#..", "..#...", ".#...."}},
        {U'あ', 16, 2, -1, {"...#........", "##########..", "...#........", "..######....",
                            ".#.#...#....", "#..#....#...", "#..#.....#..", ".##......#..",
                            "..........#."}},
    };
  }
  return f;
}

}  // namespace testsupport
