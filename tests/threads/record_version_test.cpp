// Two record loads at once on two threads, of files of two versions (as a
// stage read on the loader thread while the main thread reads another file):
// each load registers, reads, discards and upgrades by its own file's
// version, and sees only that version.
#include <gtest/gtest.h>

#include <atomic>
#include <string>
#include <thread>

#include "records/record.h"

using namespace std::string_literals;

namespace {

// Version gates, a value dropped after version 300, and an upgrade that reads
// FileVersion as the class upgrades do.
class cVersioned : public cRecord {
 public:
  cVersioned() { Clear(); }
  void RegisterFields(int version) override {
    ClearFields();
    AddDword(&m_nValue);
    if (version <= 300) AddDword(&DiscardDword);
    if (version >= 500) AddDword(&m_nLater);
    AddString(&m_strName);
  }
  void Load(cDataReader& r) override {
    cRecord::Load(r);
    m_nSeenVersion = FileVersion;
    if (FileVersion < 500) m_nLater = -1;
  }
  int32_t m_nValue = 0;
  int32_t m_nLater = 0;
  std::string m_strName;
  int m_nSeenVersion = 0;
};

// Version 200: value 7, a dropped value, name "old".
const std::string kOld =
    "\xC8\x00\x00\x00" "\x02\x00\x00\x00" "\x07\x00\x00\x00" "\x63\x00\x00\x00"
    "\x01\x00\x00\x00" "\x04\x00\x00\x00" "old\x00"s;
// Version 734: value 9, later 5, name "new".
const std::string kNew =
    "\xDE\x02\x00\x00" "\x02\x00\x00\x00" "\x09\x00\x00\x00" "\x05\x00\x00\x00"
    "\x01\x00\x00\x00" "\x04\x00\x00\x00" "new\x00"s;

struct Expected {
  const std::string* file;
  int version;
  int32_t value, later;
  const char* name;
};

}  // namespace

TEST(RecordVersions, TwoThreadsLoadFilesOfTwoVersionsAtOnce) {
  constexpr int kLoads = 300;
  std::atomic<int> ready{0};
  std::atomic<int> wrong{0};
  auto loadMany = [&](const Expected& e) {
    ++ready;
    while (ready.load() < 2) std::this_thread::yield();
    for (int i = 0; i < kLoads; ++i) {
      cVector<cVersioned> list(3);  // fresh records: layouts are looked up anew
      for (cVersioned& record : list) {
        cDataReader r(*e.file);
        record.Load(r);
        if (record.m_nSeenVersion != e.version || record.m_nValue != e.value ||
            record.m_nLater != e.later || record.m_strName != e.name)
          ++wrong;
      }
      if (FileVersion != e.version) ++wrong;
    }
  };
  const Expected oldFile{&kOld, 200, 7, -1, "old"};
  const Expected newFile{&kNew, 734, 9, 5, "new"};
  std::thread a(loadMany, oldFile);
  std::thread b(loadMany, newFile);
  a.join();
  b.join();
  EXPECT_EQ(wrong.load(), 0);
}
