// The record loader on arbitrary bytes: Option.dat, Boot.dat, the test probe
// (every kind of block, version gates, dropped values, two strings) and a
// list of probes. Nothing may read or write out of bounds, allocate from a
// damaged count, hang or crash; and what a load leaves saves to bytes that
// load back to the same record.
#include <cstdint>
#include <string>

#include "records/record.h"
#include "records/user_settings.h"
#include "tests/records/probe_record.h"

namespace {

std::string Saved(cRecord& r) {
  cDataWriter w;
  r.Save(w);
  return w.Bytes();
}

// Loads the bytes into a fresh record, then checks that save, load, save
// gives the same bytes twice.
template <class T>
void LoadAndResave(const std::string& bytes) {
  T record;
  cDataReader r(bytes);
  record.Load(r);
  const std::string once = Saved(record);
  T again;
  cDataReader back(once);
  again.Load(back);
  if (Saved(again) != once) __builtin_trap();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  for (int strip = 0; strip < 2; ++strip) {
    bStripCR = strip;
    LoadAndResave<cOptionData>(bytes);
    LoadAndResave<cBootData>(bytes);
    LoadAndResave<cProbeRecord>(bytes);
  }
  bStripCR = 0;

  // A probe followed by a list of probes, as a class tail would read them.
  cDataReader r(bytes);
  cProbeRecord head;
  head.Load(r);
  cVector<cProbeRecord> list;
  LoadRecordList(list, r);
  cDataWriter w;
  head.Save(w);
  SaveRecordList(list, w);
  return 0;
}
