// The record loader on arbitrary bytes: Option.dat, Boot.dat, Window.dat, the test probe
// (every kind of block, version gates, dropped values, two strings) and a
// list of probes. Nothing may read or write out of bounds, allocate from a
// damaged count, hang or crash; and what a load leaves saves to bytes that
// load back to the same record, in memory and through files. Copying,
// clearing and carriage-return stripping act on the registered content only.
#include <algorithm>
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "records/record.h"
#include "records/user_settings.h"
#include "records/window_data.h"
#include "tests/records/probe_record.h"

namespace {

std::string Saved(cRecord& r) {
  cDataWriter w;
  r.Save(w);
  return w.Bytes();
}

void Check(bool condition) {
  if (!condition) __builtin_trap();
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
  Check(Saved(again) == once);
}

std::string WithoutCR(std::string s) {
  s.erase(std::remove(s.begin(), s.end(), '\r'), s.end());
  return s;
}

// The same through LoadFromFile and SaveToFile, then CopyFrom, StripCR and Clear.
void ThroughFiles(const std::string& bytes) {
  fuzz::WriteFile("in.dat", bytes);
  cProbeRecord loaded;
  Check(loaded.LoadFromFile("in.dat") == 1);
  Check(loaded.SaveToFile("out.dat") == 1);
  const std::string written = fuzz::ReadFile("out.dat");
  Check(written == Saved(loaded));
  cProbeRecord back;
  Check(back.LoadFromFile("out.dat") == 1);
  Check(Saved(back) == written);

  cProbeRecord copy;
  copy.m_nRunTime = 77;
  Check(copy.CopyFrom(loaded) == 1);
  Check(Saved(copy) == written);
  Check(copy.m_nRunTime == 77);  // not registered: not copied

  cProbeRecord stripped = loaded;
  stripped.m_strName = WithoutCR(stripped.m_strName);
  stripped.m_strNote = WithoutCR(stripped.m_strNote);
  copy.StripCR();
  Check(Saved(copy) == Saved(stripped));

  copy.Clear();
  cProbeRecord cleared;
  cleared.Clear();
  Check(Saved(copy) == Saved(cleared));
  Check(copy.m_nRunTime == 77);
}

// A probe followed by a list of probes, as a class tail reads them: saved
// and read back, the list keeps its length and every element its bytes.
void HeadAndList(const std::string& bytes) {
  cDataReader r(bytes);
  cProbeRecord head;
  head.Load(r);
  cVector<cProbeRecord> list;
  LoadRecordList(list, r);
  cDataWriter w;
  head.Save(w);
  SaveRecordList(list, w);

  cDataReader back(w.Bytes());
  cProbeRecord head2;
  head2.Load(back);
  cVector<cProbeRecord> list2;
  LoadRecordList(list2, back);
  Check(list2.size() == list.size());
  Check(Saved(head2) == Saved(head));
  for (size_t i = 0; i < list.size(); ++i) Check(Saved(list2[i]) == Saved(list[i]));
}

// Window.dat keeps the window on the screen whatever the file says (no
// window system here: the full-screen area is 640 x 460).
void WindowPlace(const std::string& bytes) {
  cWindowData data;
  cDataReader r(bytes);
  data.Load(r);
  Check(data.nX >= 0 && data.nX <= 640 && data.nY >= 0 && data.nY <= 460);
  int w = 0, h = 0;
  data.ClientSizeWithinScreen(w, h);
  Check(w >= 1 && w <= 640 && h >= 1 && h <= 480);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::InScratchFolder scratch;
  const std::string bytes(reinterpret_cast<const char*>(data), size);
  for (int strip = 0; strip < 2; ++strip) {
    bStripCR = strip;
    LoadAndResave<cOptionData>(bytes);
    LoadAndResave<cBootData>(bytes);
    LoadAndResave<cWindowData>(bytes);
    LoadAndResave<cProbeRecord>(bytes);
  }
  bStripCR = 0;
  WindowPlace(bytes);
  ThroughFiles(bytes);
  HeadAndList(bytes);
  return 0;
}
