#pragma once
// What the block, character and item definitions share: their reference to
// a palette entry (fitting it, resolving it, taking property groups from the
// entry), their inherit flags as files store them, and the shot sheet's
// first cell that older files lack.
#include <algorithm>
#include <cstdint>

#include "records/palette_entries.h"
#include "records/record.h"

// One property group: copies the group's members from the palette entry
// (source) into the record (target). Target and source may be one record.
template <class T>
using InheritGroupFn = void (*)(T& target, const T& source);

// A reference of PALETTEKIND_COMMON or _STAGE whose index the list does not
// hold (compared unsigned) loses its kind and its index; other kinds stay.
void FitPaletteRef(int8_t& kind, int16_t& index, int list);

// The entry a reference names, when it resolves to an entry of class T.
template <class T>
const T* PaletteEntryAs(int kind, int list, int index) {
  return dynamic_cast<const T*>(PaletteEntry(kind, list, index));
}

// The inheritance of a record just read: index 0 or kind 0 names nothing;
// a reference to the common or stage palette that does not resolve is
// dropped (kind and index 0) and the record keeps its own values; another
// kind inherits nothing. Otherwise every group whose flag is set is copied
// from the entry, in flag order. Flags past the class's groups select nothing.
template <class T>
void ApplyPaletteInheritance(T& record, int list, const InheritGroupFn<T>* groups, int groupCount) {
  if (record.m_nPaletteIndex == 0 || record.m_nPaletteKind == PALETTEKIND_NONE) return;
  if (record.m_nPaletteKind != PALETTEKIND_COMMON && record.m_nPaletteKind != PALETTEKIND_STAGE) return;
  const T* source = PaletteEntryAs<T>(record.m_nPaletteKind, list, record.m_nPaletteIndex);
  if (!source) {
    record.m_nPaletteKind = 0;
    record.m_nPaletteIndex = 0;
    return;
  }
  const int n = std::min(record.m_vInherit.Size(), groupCount);
  for (int g = 0; g < n; ++g)
    if (record.m_vInherit[g]) groups[g](record, *source);
}

// u32 n, then n flag bytes; the vector takes exactly n entries (a count the
// rest of the file cannot hold ends the read and leaves no flags).
void ReadInheritFlags(cDataReader& r, cVector<uint8_t>& flags);
void WriteInheritFlags(cDataWriter& w, const cVector<uint8_t>& flags);

// Files before 219 numbered the shot sheet from what is now its second
// cell: a graphic of that sheet moves up by one, to at most 119.
constexpr int SHOT_SHEET_FIRST_CELL_VERSION = 219;
int16_t ShotSheetGraphicUpgrade(int16_t graphic);

// Graphic kinds: the sheet a graphic number points into.
enum GRAPHICKIND {
  GRAPHICKIND_BLOCK,
  GRAPHICKIND_CHARA,
  GRAPHICKIND_ITEM,
  GRAPHICKIND_SHOT,
  GRAPHICKIND_CHARA_BMP,  // the character bitmaps of Bmp_CharaExc.dat
};
