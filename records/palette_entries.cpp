#include "records/palette_entries.h"

#include <cstdint>

namespace {

// Index 0 is unused: PALETTEKIND_NONE has no lists.
PaletteEntrySource g_sources[3] = {nullptr, nullptr, nullptr};

bool Known(int kind) { return kind == PALETTEKIND_COMMON || kind == PALETTEKIND_STAGE; }

}  // namespace

void SetPaletteEntrySource(int kind, PaletteEntrySource source) {
  if (Known(kind)) g_sources[kind] = source;
}

PaletteEntrySource GetPaletteEntrySource(int kind) { return Known(kind) ? g_sources[kind] : nullptr; }

const cRecord* PaletteEntry(int kind, int list, int index) {
  if (!Known(kind) || !g_sources[kind]) return nullptr;
  if (static_cast<uint32_t>(index) >= static_cast<uint32_t>(PaletteListSize(kind, list))) return nullptr;
  return g_sources[kind](list, index);
}
