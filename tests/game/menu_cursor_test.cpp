// The menu cursor: grid menus wrap around, lists scroll and page without
// wrapping, and nested menus stack over the outer one and give it back.
#include <gtest/gtest.h>

#include "game/menu_cursor.h"
#include "media/input.h"
#include "support/recording_renderer.h"

namespace {

constexpr uint32_t L = INPUT_LEFT, R = INPUT_RIGHT, U = INPUT_UP, D = INPUT_DOWN;

std::string Show(const CURSORPOS& p) {
  return std::to_string(p.nCol) + "," + std::to_string(p.nRow) + " @" + std::to_string(p.nX) + "," +
         std::to_string(p.nY);
}

}  // namespace

TEST(MenuCursorGrid, MovesWrapsAndPlacesTheSprite) {
  struct Case {
    int col, row;
    uint32_t keys;
    int cols, rows;
    int expCol, expRow;
  };
  // Sprite at (100 + 40 col, 200 + 16 row).
  const Case cases[] = {
      {0, 0, U, 1, 3, 0, 2},      // up from the first row wraps to the last
      {0, 2, D, 1, 3, 0, 0},      // down from the last wraps to the first
      {0, 1, U | D, 1, 3, 0, 0},  // up wins over down
      {1, 0, L | R, 3, 1, 0, 0},  // left wins over right
      {3, 1, R, 4, 2, 0, 1},      // right from the last column wraps
      {0, 1, L | D, 4, 2, 3, 0},  // both axes at once, both wrap
      {2, 1, 0, 4, 2, 2, 1},      // no key: only the sprite is placed
      {0, 5, 0, 1, 3, 0, 0},      // a row past the end (a hidden entry's) wraps to 0
      {0, 0, U, 1, 1, 0, 0},      // a single row stays
  };
  for (const Case& k : cases) {
    cMenuCursor cursor;
    *cursor.Cur() = CURSORPOS{k.col, k.row, -1, -1};
    cursor.MoveGrid(k.keys, 100, 200, 40, 16, k.cols, k.rows);
    const CURSORPOS expected{k.expCol, k.expRow, 100 + 40 * k.expCol, 200 + 16 * k.expRow};
    EXPECT_EQ(Show(*cursor.Cur()), Show(expected))
        << "from " << k.col << "," << k.row << " keys " << k.keys << " grid " << k.cols << "x" << k.rows;
  }
}

TEST(MenuCursorGrid, AGridWithoutCellsLeavesTheCursorAlone) {
  const int sizes[][2] = {{0, 3}, {1, 0}, {0, 0}, {-1, 3}, {1, -2}};
  for (const auto& size : sizes) {
    cMenuCursor cursor;
    *cursor.Cur() = CURSORPOS{0, 1, 7, 9};
    cursor.MoveGrid(U, 100, 200, 0, 16, size[0], size[1]);
    EXPECT_EQ(Show(*cursor.Cur()), "0,1 @7,9") << size[0] << "x" << size[1];
  }
}

TEST(MenuCursorList, ScrollsPagesAndClampsWithoutWrapping) {
  struct Case {
    int index, top;
    uint32_t keys;
    int visible, count, pageKeys;
    int expIndex, expTop;
  };
  const Case cases[] = {
      // 25 entries, 10 shown.
      {9, 0, D, 10, 25, 1, 10, 1},    // down past the last shown row scrolls
      {5, 0, D, 10, 25, 1, 6, 0},     // down inside the page
      {10, 1, U, 10, 25, 1, 9, 1},    // up inside the page
      {1, 1, U, 10, 25, 1, 0, 0},     // up past the first shown row scrolls
      {0, 0, U, 10, 25, 1, 0, 0},     // no wrap at the top
      {24, 15, D, 10, 25, 1, 24, 15}, // no wrap at the bottom
      {17, 15, R, 10, 25, 1, 24, 15}, // right on the last page: the last entry
      {3, 0, R, 10, 25, 1, 12, 9},    // right: one page of 9 rows on
      {12, 10, R, 10, 25, 1, 21, 15}, // right near the end: the top stops at 15
      {7, 0, L, 10, 25, 1, 0, 0},     // left on the first page: the first entry
      {20, 15, L, 10, 25, 1, 11, 6},  // left: one page back
      {3, 2, L, 10, 25, 1, 0, 0},     // left past the start
      {3, 0, R, 10, 25, 0, 3, 0},     // no page keys: right and left do nothing
      {12, 10, L, 10, 25, 0, 12, 10},
      {5, 0, D | R, 10, 25, 1, 15, 9}, // a row and a page in one frame
      // Fewer entries than rows.
      {4, 0, D, 10, 5, 1, 4, 0},
      {2, 0, R, 10, 5, 1, 4, 0},
      {2, 0, L, 10, 5, 1, 0, 0},
      // No entries at all.
      {0, 0, D, 10, 0, 1, 0, 0},
      {0, 0, R, 10, 0, 1, 0, 0},
      {0, 0, U, 10, 0, 1, 0, 0},
  };
  for (const Case& k : cases) {
    cMenuCursor cursor;
    *cursor.Cur() = CURSORPOS{-1, k.index, -1, -1};
    int32_t top = k.top;
    cursor.MoveList(k.keys, 1, top, 160, 16, 152, k.visible, k.count, k.pageKeys);
    const CURSORPOS expected{-1, k.expIndex, 152, 160 + 16 * (k.expIndex - k.expTop)};
    EXPECT_EQ(Show(*cursor.Cur()), Show(expected))
        << "from " << k.index << " top " << k.top << " keys " << k.keys << " count " << k.count;
    EXPECT_EQ(top, k.expTop) << "from " << k.index << " top " << k.top << " keys " << k.keys;
  }
}

TEST(MenuCursorList, AHorizontalListKeepsItsEntryInTheColumn) {
  cMenuCursor cursor;
  *cursor.Cur() = CURSORPOS{9, 5, 0, 0};
  int32_t top = 0;
  cursor.MoveList(D, 0, top, 40, 32, 300, 10, 25, 0);
  EXPECT_EQ(Show(*cursor.Cur()), "10,5 @328,300");  // x = 40 + 32 * (10 - 1)
  EXPECT_EQ(top, 1);
  cursor.MoveList(U, 0, top, 40, 32, 300, 10, 25, 0);
  EXPECT_EQ(Show(*cursor.Cur()), "9,5 @296,300");
  EXPECT_EQ(top, 1);
}

TEST(MenuCursorStack, NestedMenusOpenAndGiveBackTheOuterOne) {
  struct Case {
    int pushMode, popMode;
    const char* nestedStart;  // the nested menu's position when it opens
    const char* outerAfter;   // the outer menu's position when it closed
  };
  const Case cases[] = {
      {0, 1, "0,0 @0,0", "1,2 @30,40"},  // a fresh nested menu; the outer one kept
      {1, 1, "1,2 @30,40", "1,2 @30,40"},
      {0, 0, "0,0 @0,0", "0,0 @0,0"},    // the outer menu starts over
      {0, 2, "0,0 @0,0", "5,6 @7,8"},    // the nested menu's values handed back
  };
  for (const Case& k : cases) {
    cMenuCursor cursor;
    *cursor.Cur() = CURSORPOS{1, 2, 30, 40};
    EXPECT_EQ(cursor.Prev(), nullptr);
    cursor.Push(k.pushMode);
    ASSERT_NE(cursor.Prev(), nullptr);
    EXPECT_EQ(Show(*cursor.Cur()), k.nestedStart) << "push " << k.pushMode;
    EXPECT_EQ(Show(*cursor.Prev()), "1,2 @30,40");
    *cursor.Cur() = CURSORPOS{5, 6, 7, 8};
    cursor.Pop(k.popMode);
    EXPECT_EQ(Show(*cursor.Cur()), k.outerAfter) << "push " << k.pushMode << " pop " << k.popMode;
    EXPECT_EQ(cursor.Prev(), nullptr);
    EXPECT_EQ(cursor.m_Stack.Size(), 1);
  }
}

TEST(MenuCursorStack, PopOfTheLastPositionDoesNothingAndResetEmptiesTheStack) {
  cMenuCursor cursor;
  *cursor.Cur() = CURSORPOS{1, 2, 3, 4};
  for (int mode : {0, 1, 2}) cursor.Pop(mode);
  EXPECT_EQ(Show(*cursor.Cur()), "1,2 @3,4");
  EXPECT_EQ(cursor.m_Stack.Size(), 1);

  // Deep nesting moves the stack's storage; the positions follow it.
  for (int i = 0; i < 40; ++i) {
    cursor.Push(1);
    cursor.Cur()->nRow += 1;
  }
  EXPECT_EQ(cursor.Cur()->nRow, 42);
  EXPECT_EQ(cursor.Prev()->nRow, 41);
  cursor.Reset();
  EXPECT_EQ(cursor.m_Stack.Size(), 1);
  EXPECT_EQ(Show(*cursor.Cur()), "0,0 @0,0");
  EXPECT_EQ(cursor.Prev(), nullptr);
}

TEST(MenuSprites, AreCutFromTheAccessoryImageWithTheKey) {
  testsupport::RecordingRenderer drawing;
  for (int sprite : {MENUSPRITE_HAND, MENUSPRITE_ARROW, MENUSPRITE_TAG, 3, -1}) DrawMenuSprite(sprite, 48, 112);
  EXPECT_EQ(drawing.Take(), (std::vector<std::string>{"DDBlt Back 48 112 32 32 T49 0 0 1",
                                                      "DDBlt Back 48 112 16 16 T49 64 0 1",
                                                      "DDBlt Back 48 112 16 16 T49 80 0 1"}));
}
