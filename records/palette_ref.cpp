#include "records/palette_ref.h"

void FitPaletteRef(int8_t& kind, int16_t& index, int list) {
  if (kind != PALETTEKIND_COMMON && kind != PALETTEKIND_STAGE) return;
  if (static_cast<uint32_t>(int32_t{index}) >= static_cast<uint32_t>(PaletteListSize(kind, list))) {
    kind = 0;
    index = 0;
  }
}

void ReadInheritFlags(cDataReader& r, cVector<uint8_t>& flags) {
  uint32_t n = r.ReadCount(1);
  flags.resize(n, 0);
  if (n) r.ReadBytes(flags.data(), n);
}

void WriteInheritFlags(cDataWriter& w, const cVector<uint8_t>& flags) {
  w.WriteU32(static_cast<uint32_t>(flags.size()));
  if (!flags.empty()) w.WriteBytes(flags.data(), flags.size());
}

int16_t ShotSheetGraphicUpgrade(int16_t graphic) {
  int raised = graphic + 1;
  return static_cast<int16_t>(raised > 119 ? 119 : raised);
}
