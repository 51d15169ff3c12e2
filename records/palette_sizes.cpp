#include "records/palette_sizes.h"

namespace {

struct PALETTESIZES {
  PaletteSizeSource source = nullptr;
  int aCount[PALETTELIST_COUNT] = {0, 0, 0};
};

// Index 0 is unused: PALETTEKIND_NONE has no lists.
PALETTESIZES g_sizes[3];

bool KnownSizeKind(int kind) { return kind == PALETTEKIND_COMMON || kind == PALETTEKIND_STAGE; }
bool KnownList(int list) { return list >= 0 && list < PALETTELIST_COUNT; }

}  // namespace

int PaletteListSize(int kind, int list) {
  if (!KnownSizeKind(kind) || !KnownList(list)) return 0;
  const PALETTESIZES& s = g_sizes[kind];
  int count = s.source ? s.source(list) : s.aCount[list];
  return count < 0 ? 0 : count;
}

void SetPaletteSizeSource(int kind, PaletteSizeSource source) {
  if (KnownSizeKind(kind)) g_sizes[kind].source = source;
}

PaletteSizeSource GetPaletteSizeSource(int kind) { return KnownSizeKind(kind) ? g_sizes[kind].source : nullptr; }

void SetPaletteListSize(int kind, int list, int count) {
  if (KnownSizeKind(kind) && KnownList(list)) g_sizes[kind].aCount[list] = count < 0 ? 0 : count;
}
