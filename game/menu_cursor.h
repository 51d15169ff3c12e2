#pragma once
// The one cursor of every menu: the front-end scenes' menus and lists and
// the stage's pause and retry menus. It keeps a stack of positions, so a
// nested menu (a confirmation, a value being edited, the save-slot list)
// opens over the outer one and gives it back when it closes. Game thread
// (or the pause thread while it runs the stage's menus).
#include <cstdint>

#include "base/container.h"

// One cursor position: grid column and row (in a list the row is the chosen
// entry) and where the cursor sprite is drawn, in pixels.
struct CURSORPOS {
  int32_t nCol;
  int32_t nRow;
  int32_t nX;
  int32_t nY;
};

class cMenuCursor {
 public:
  // One zeroed position.
  cMenuCursor();

  // The active position (the top of the stack) and the enclosing menu's one
  // just below it (null while the stack holds one). Taken afresh at each
  // call: a Push or Pop may move the positions, so never keep them across one.
  CURSORPOS* Cur();
  CURSORPOS* Prev();

  // The stack becomes exactly one zeroed position.
  void Reset();
  // Opens a nested menu: a zeroed position on top, or with mode 1 a copy of
  // the one below.
  void Push(int mode);
  // Closes a nested menu (nothing while only one position is left): the
  // position below becomes zeroed (mode 0), stays as it was (mode 1) or
  // takes the closed menu's values (mode 2).
  void Pop(int mode);

  // A grid menu with wrap-around. `keys` holds the direction bits of the
  // first input record (1 left, 2 right, 4 up, 8 down; left wins over
  // right, up over down). The sprite goes to (x0 + dx * column, y0 + dy * row).
  // A grid without columns or rows leaves the cursor alone.
  void MoveGrid(uint32_t keys, int x0, int y0, int dx, int dy, int cols, int rows);
  // A scrolling list showing `visible` of `count` entries from entry `top`,
  // without wrap-around. Axis 1 keeps the entry in nRow and places the
  // sprite at y = origin + step * (entry - top), x = other; axis 0 keeps it
  // in nCol and places x the same way. With `pageKeys`, right and left jump
  // a page (to the last or the first entry at the list's end).
  void MoveList(uint32_t keys, int axis, int32_t& top, int origin, int step, int other, int visible, int count,
                int pageKeys);

  cVector<CURSORPOS> m_Stack;  // bottom first; never empty
};

extern cMenuCursor MenuCursor;

// The cursor sprites of the menus, cut from the system image Accessory.bmp
// (SurfaceTable entry 49): the title menu's 32 x 32 hand, the 16 x 16 arrow
// of every list, and the 16 x 16 tag that stays on the enclosing menu's row
// while a nested menu is open.
constexpr int MENUSPRITE_HAND = 0;
constexpr int MENUSPRITE_ARROW = 1;
constexpr int MENUSPRITE_TAG = 2;
// Draws one of them on the back buffer at (x, y), leaving the transparent
// colour out (through PlayDrawing). Another number draws nothing.
void DrawMenuSprite(int sprite, int x, int y);
