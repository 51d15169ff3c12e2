#include "game/menu_cursor.h"

#include <algorithm>
#include <iterator>

#include "game/play_drawing.h"
#include "media/input.h"
#include "media/surface_table.h"

namespace {

constexpr int kAccessoryImage = 49;

struct SPRITECUT {
  int sx, sy, size;
};
constexpr SPRITECUT kSprites[] = {{0, 0, 32}, {64, 0, 16}, {80, 0, 16}};

}  // namespace

cMenuCursor::cMenuCursor() { Reset(); }

CURSORPOS* cMenuCursor::Cur() { return &m_Stack.back(); }

CURSORPOS* cMenuCursor::Prev() { return m_Stack.size() >= 2 ? &m_Stack[m_Stack.size() - 2] : nullptr; }

void cMenuCursor::Reset() {
  m_Stack.clear();
  m_Stack.push_back(CURSORPOS{});
}

void cMenuCursor::Push(int mode) {
  m_Stack.push_back(CURSORPOS{});
  if (mode == 1 && m_Stack.size() >= 2) m_Stack.back() = m_Stack[m_Stack.size() - 2];
}

void cMenuCursor::Pop(int mode) {
  if (m_Stack.size() < 2) return;
  const CURSORPOS closed = m_Stack.back();
  m_Stack.pop_back();
  if (mode == 0)
    m_Stack.back() = CURSORPOS{};
  else if (mode == 2)
    m_Stack.back() = closed;
}

void cMenuCursor::MoveGrid(uint32_t keys, int x0, int y0, int dx, int dy, int cols, int rows) {
  // A grid of no cells has no position to wrap to.
  if (cols <= 0 || rows <= 0) return;
  CURSORPOS& cur = *Cur();
  if (keys & INPUT_LEFT)
    --cur.nCol;
  else if (keys & INPUT_RIGHT)
    ++cur.nCol;
  if (keys & INPUT_UP)
    --cur.nRow;
  else if (keys & INPUT_DOWN)
    ++cur.nRow;
  if (cur.nRow < 0) cur.nRow = rows - 1;
  if (cur.nRow >= rows) cur.nRow = 0;
  if (cur.nCol < 0) cur.nCol = cols - 1;
  if (cur.nCol >= cols) cur.nCol = 0;
  cur.nX = x0 + dx * cur.nCol;
  cur.nY = y0 + dy * cur.nRow;
}

void cMenuCursor::MoveList(uint32_t keys, int axis, int32_t& top, int origin, int step, int other, int visible,
                           int count, int pageKeys) {
  CURSORPOS& cur = *Cur();
  int32_t& index = axis == 1 ? cur.nRow : cur.nCol;
  if (keys & INPUT_UP) {
    if (index - top < 1) --top;
    --index;
  } else if (keys & INPUT_DOWN) {
    if (index - top >= visible - 1) ++top;
    ++index;
  }
  if (pageKeys) {
    if (keys & INPUT_RIGHT) {
      if (top == count - visible) {
        index = count - 1;
      } else {
        top += visible - 1;
        index += visible - 1;
      }
    } else if (keys & INPUT_LEFT) {
      if (top != 0) {
        top -= visible - 1;
        index -= visible - 1;
      } else {
        index = 0;
      }
    }
  }
  if (index > count - 1) index = count - 1;
  if (index < 0) index = 0;
  if (top < 0)
    top = 0;
  else if (top > std::max(0, count - visible))
    top = std::max(0, count - visible);
  const int pos = origin + step * (index - top);
  if (axis == 1) {
    cur.nY = pos;
    cur.nX = other;
  } else {
    cur.nX = pos;
    cur.nY = other;
  }
}

void DrawMenuSprite(int sprite, int x, int y) {
  if (sprite < 0 || sprite >= static_cast<int>(std::size(kSprites))) return;
  const SPRITECUT& cut = kSprites[sprite];
  PlayDrawing->DDBlt(&BackBuffer, x, y, cut.size, cut.size, &SurfaceTable[kAccessoryImage], cut.sx, cut.sy, 1);
}
