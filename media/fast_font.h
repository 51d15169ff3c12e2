#pragma once
// The glyph caches of a fixed-pitch font: glyphs drawn once into the cells of
// a colour-keyed sheet and copied from there. Kind 0 holds every single-byte
// code at the cell of its number (16 × 16 cells); kind 1 holds full-width
// characters in the order they were added. Drawing thread.
#include <cstdint>
#include <vector>

#include "media/dd_surface.h"

// One cached character.
struct FASTFONTCHAR {
  char szChar[3] = {};  // its two bytes, then 0
  int32_t nCell = 0;
  int32_t nX = 0, nY = 0;  // the cell's top-left corner on the sheet
};

class FastFont {
 public:
  // columns and rows at least 1.
  FastFont(int kind, int cellW, int cellH, int columns, int rows);
  ~FastFont();
  FastFont(const FastFont&) = delete;
  FastFont& operator=(const FastFont&) = delete;

  // The sheet, columns × cell width by rows × cell height, filled with the
  // transparent colour. False when it cannot be made.
  bool CreateSheet();

  // Puts a double-byte character into the next free cell; false when every
  // cell is taken. A character added twice takes two cells; the first is the
  // one drawn from.
  bool Add(const char ch[2]);
  // Forgets every character (the sheet keeps its pixels).
  void Clear();

  // Copies the cell of single-byte code (0-255) to (x, y); DDBlt's result.
  int DrawHalf(DDSURFACEDATA* target, int x, int y, int code, int flags);
  // Copies the character's cell to (x, y); false when it is not cached.
  bool DrawFull(DDSURFACEDATA* target, int x, int y, const char ch[2], int flags);
  // The cell of a cached character, or null.
  const FASTFONTCHAR* Find(const char ch[2]) const;

  int32_t m_nKind;
  int32_t m_nCellW, m_nCellH;
  int32_t m_nColumns, m_nRows;
  int32_t m_nCapacity;
  DDSURFACEDATA m_sdCache;
  std::vector<FASTFONTCHAR> m_vChars;  // in cell order
  int32_t m_nCount = 0;

 private:
  // By character code (lead << 8 | trail): its first cell, or -1.
  std::vector<int16_t> m_vCellOf;
};

// The full-width characters every cache starts with, 256 of them in this
// order (ト comes twice), as Shift-JIS pairs.
extern const char kPreloadedChars[513];
constexpr int kPreloadedCharCount = 256;
