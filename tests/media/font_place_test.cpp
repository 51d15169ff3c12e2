// Where glyphs land: the baseline, the offsets of single-byte glyphs, centring,
// the cell cursor with '\n', ' ' and icons, and proportional lines.
#include "font_test_env.h"

using Picture = std::vector<std::string>;

namespace {

class FontPlacement : public FontTest {};

}  // namespace

TEST_F(FontPlacement, CellsOfTenPlaceEachGlyphByItsBaseline) {
  ASSERT_TRUE(StartWithPalette(32));
  Font font;
  Make(font, 10, 10, 10, 0);
  DDSURFACEDATA t = Blank(30, 20);
  // A, あ, g / ｱ, space, A: single-byte glyphs sit one dot right (a cell
  // eighth) and one dot up; double-byte glyphs at the cell's corner.
  EXPECT_EQ(font.DrawText(&t, 0, 0, kCellsOfTenText, 0), 1);
  EXPECT_EQ(InkOf(&t), kCellsOfTen);
}

TEST_F(FontPlacement, CellsOfSixteenMoveSingleByteGlyphsTwoDotsRight) {
  ASSERT_TRUE(StartWithPalette(16));
  Font font;
  Make(font, 16, 16, 16, 0);
  DDSURFACEDATA t = Blank(16, 16);
  font.DrawText(&t, 0, 0, "A", 0);
  EXPECT_EQ(InkOf(&t, 0, 6, 16, 9), (Picture{
                                          "................",
                                          ".....#..........",
                                          "....#.#.........",
                                          "...#...#........",
                                          "...#####........",
                                          "...#...#........",
                                          "...#...#........",
                                          "...#...#........",
                                          "................",
                                      }));
}

TEST_F(FontPlacement, CentringPutsTheGlyphsMiddleOnTheCellsMiddle) {
  ASSERT_TRUE(StartWithPalette(32));
  Font font;
  Make(font, 10, 10, 10, 0);
  font.m_bCentre = 1;
  DDSURFACEDATA t = Blank(20, 10);
  // A (5 wide, 10 high) moves to (5 - 2, 5 - 5); あ fills its cell as before.
  font.DrawText(&t, 0, 0, "A\x82\xA0", 0);
  EXPECT_EQ(InkOf(&t), (Picture{
                             "....................",
                             ".............#......",
                             "...........#######..",
                             ".............#......",
                             ".....#......####....",
                             "....#.#....#.#..#...",
                             "....###....#.#...#..",
                             "....#.#.....#....#..",
                             "....................",
                             "....................",
                         }));
}

TEST_F(FontPlacement, TheTextStartsWhereItIsAskedAndLinesStepByTheCellHeight) {
  ASSERT_TRUE(StartWithPalette(8));
  Font font;
  Make(font, 10, 10, 12, 0);
  DDSURFACEDATA t = Blank(40, 40);
  font.DrawText(&t, 13, 7, "\n\n A", 0);
  // Third line (two cells of 12 lower), second cell: A's top at 7 + 24 - 1 + 4.
  std::vector<std::string> expected(40, std::string(40, '.'));
  expected[34][13 + 10 + 3] = '#';
  expected[35][13 + 10 + 2] = expected[35][13 + 10 + 4] = '#';
  expected[36].replace(13 + 10 + 2, 3, "###");
  expected[37][13 + 10 + 2] = expected[37][13 + 10 + 4] = '#';
  EXPECT_EQ(InkOf(&t), expected);
}

TEST_F(FontPlacement, LowerCaseLettersGiveTheirCellsToIconsUnlessPlain) {
  ASSERT_TRUE(StartWithPalette(8));
  // An icon sheet of 26 cells, cell k in palette colour 100 + k.
  DDSURFACEDATA icons = Blank(260, 10);
  for (int k = 0; k < 26; ++k) DDFillRect(&icons, k * 10, 0, 10, 10, 100 + k);
  Font font;
  Make(font, 10, 10, 10, 0, &icons);
  EXPECT_EQ(font.m_bIcon, 1);
  DDSURFACEDATA t = Blank(30, 10);
  font.DrawText(&t, 0, 0, "Ag\x82\xA0", 0);
  EXPECT_EQ(Get(&t, 10, 0), 106u);  // g: icon cell 6, the whole cell
  EXPECT_EQ(Get(&t, 19, 9), 106u);
  EXPECT_EQ(InkOf(&t, 0, 3, 10, 1), (Picture{"...#......"}));  // A stays a glyph
  EXPECT_EQ(InkOf(&t, 20, 2, 10, 1), (Picture{".#######.."}));  // あ keeps its cell

  DDSURFACEDATA plain = Blank(30, 10);
  font.DrawText(&plain, 0, 0, "Ag", 1);
  EXPECT_EQ(InkOf(&plain, 10, 4, 10, 5), (Picture{"..###.....", "..#.#.....", "..###.....", "....#.....",
                                                     "..##......"}));
  EXPECT_EQ(Get(&plain, 19, 0), 0u);

  // Without icons the letters are glyphs.
  font.m_bIcon = 0;
  DDSURFACEDATA off = Blank(30, 10);
  font.DrawText(&off, 0, 0, "Ag", 0);
  EXPECT_EQ(InkOf(&off, 10, 4, 10, 5), InkOf(&plain, 10, 4, 10, 5));
}

TEST_F(FontPlacement, ProportionalLinesAdvanceByEachGlyphsWidth) {
  ASSERT_TRUE(StartWithPalette(32));
  Font font;
  Make(font, 10, 0, 12, 0);
  DDSURFACEDATA t = Blank(12, 24);
  font.DrawText(&t, 0, 0, "Ag\nA", 0);
  EXPECT_EQ(InkOf(&t), (Picture{
                             "............",
                             "............",
                             "............",
                             "............",
                             "..#.........",
                             ".#.#..###...",
                             ".###..#.#...",
                             ".#.#..###...",
                             "........#...",
                             "......##....",
                             "............",
                             "............",
                             "............",
                             "............",
                             "............",
                             "............",
                             "..#.........",
                             ".#.#........",
                             ".###........",
                             ".#.#........",
                             "............",
                             "............",
                             "............",
                             "............",
                         }));
}
