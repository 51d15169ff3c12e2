// Any bytes read as CommonPalette.cplt4, into the global palette that its
// entries' references name: reading stays inside the input and never
// crashes or hangs; every list then holds two entries or more and no entry
// inherits anything; and what one load leaves saves to bytes that load back
// to the same bytes.
#include <cstdint>
#include <string>

#include "records/common_palette.h"

namespace {

std::string Saved(cEdCommonPalette& palette) {
  cDataWriter w;
  palette.Save(w);
  return w.Bytes();
}

// As LoadFromFile reads a file: nothing without a whole version word.
bool LoadCommon(const std::string& bytes) {
  CommonPalette = cEdCommonPalette();
  cDataReader r(bytes);
  if (!r.HasVersion()) return false;
  CommonPalette.Load(r);
  return true;
}

template <class T>
void CheckList(const cVector<T>& list) {
  if (list.Size() < 2) __builtin_trap();
  for (const T& entry : list)
    for (uint8_t flag : entry.m_vInherit)
      if (flag) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  if (!LoadCommon(bytes)) return 0;
  CheckList(CommonPalette.m_vPaletteBlock);
  CheckList(CommonPalette.m_vPaletteChara);
  CheckList(CommonPalette.m_vPaletteItem);
  const std::string once = Saved(CommonPalette);
  LoadCommon(once);
  if (Saved(CommonPalette) != once) __builtin_trap();
  return 0;
}
