// Any bytes read as each of the ten database files: reading must stay inside
// the input and never crash or hang, the run tables must build from whatever
// was read, and a table saved, read back and saved again must give the same
// bytes (what one load normalises, the next keeps).
#include <cstdint>
#include <string>

#include "records/database.h"

namespace {

template <class T>
void ReadSaveRead(cVector<T>& table, const std::string& bytes) {
  cDataReader r(bytes);
  LoadRecordList(table, r);
  cDataWriter first;
  SaveRecordList(table, first);
  cDataReader again(first.Bytes());
  cVector<T> reread;
  LoadRecordList(reread, again);
  cDataWriter second;
  SaveRecordList(reread, second);
  if (first.Bytes() != second.Bytes()) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  std::string bytes(reinterpret_cast<const char*>(data), size);
  Database.Reset();
  Database.ForEachFileTable([&](auto& table, int) {
    ReadSaveRead(table, bytes);
    return true;
  });
  // LoadAll refuses effect tables without entry 0; so does this.
  if (!Database.m_vCharaEffect.empty() && !Database.m_vScrEffect.empty()) {
    Database.ClearFirstEffects();
    BuildDatabaseRunTables();
    for (const cCharaEffectState& s : CharaFxInstB) (void)s.Kind();
    for (const cScreenEffectState& s : ScrFxInstB) (void)s.Kind();
  }
  int x = 0, y = 0;
  for (const cEdBmpCharaExc& sheet : Database.m_vBmpCharaExc) sheet.CellOrigin(static_cast<int>(size), x, y);
  return 0;
}
