// Whole record files: opening, short files, the version of the file being
// read, and saving by atomic replacement.
#include <gtest/gtest.h>

#include <string>

#include "platform/host_path.h"
#include "probe_record.h"
#include "record_test_env.h"

using namespace std::string_literals;

namespace {

// The probe with a class tail: a list of probes, and one upgrade for files
// older than 500 that counts its runs.
class cProbeWithList : public cProbeRecord {
 public:
  void Load(cDataReader& r) override {
    cProbeRecord::Load(r);
    LoadRecordList(m_vItems, r);
    if (r.Version() < 500) {
      ++m_nUpgrades;
      m_nLater = m_nValue * 2;
    }
  }
  void Save(cDataWriter& w) override {
    cProbeRecord::Save(w);
    SaveRecordList(m_vItems, w);
  }
  cVector<cProbeRecord> m_vItems;
  int m_nUpgrades = 0;
};

// Version 400: four blocks (flags, pair, value 5, rate 0), no strings, and a
// list of one element in the layout of 400.
const std::string kFile400 =
    "\x90\x01\x00\x00"
    "\x04\x00\x00\x00" "\x01\x02\x03" "\x00\x00\x00\x00" "\x05\x00\x00\x00"
    "\x00\x00\x00\x00\x00\x00\x00\x00"
    "\x00\x00\x00\x00"
    "\x01\x00\x00\x00"
    "\x04\x00\x00\x00" "\x07\x00\x00" "\x00\x00\x00\x00" "\x06\x00\x00\x00"
    "\x00\x00\x00\x00\x00\x00\x00\x00"
    "\x00\x00\x00\x00"s;

class RecordFile : public RecordTest {
 protected:
  void Write(const std::string& name, const std::string& bytes) { m_dir.WriteFile(name, bytes); }
};

}  // namespace

TEST_F(RecordFile, LoadFromFileOnWholeShortAndMissingFiles) {
  struct Case {
    const char* what;
    const char* file;  // nullptr: not there
    std::string bytes;
    int result;
    int value;      // 9 when nothing was read
    int items;      // 2 when the list was not read
    int upgrades;
  };
  const Case cases[] = {
      {"a whole file of version 400", "p.dat", kFile400, 1, 5, 1, 1},
      {"no file", nullptr, "", 0, 9, 2, 0},
      {"an empty file", "p.dat", "", 1, 9, 2, 0},
      {"three bytes: no version word", "p.dat", "\xDE\x02\x00"s, 1, 9, 2, 0},
      {"only the version word", "p.dat", "\x90\x01\x00\x00"s, 1, 9, 0, 1},
      {"cut inside the list", "p.dat", kFile400.substr(0, kFile400.size() - 10), 1, 5, 1, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::remove("p.dat");
    if (c.file) Write(c.file, c.bytes);
    cProbeWithList probe;
    probe.m_nValue = 9;
    probe.m_vItems.resize(2);
    EXPECT_EQ(probe.LoadFromFile("p.dat"), c.result);
    EXPECT_EQ(probe.m_nValue, c.value);
    EXPECT_EQ(probe.m_vItems.Size(), c.items);
    EXPECT_EQ(probe.m_nUpgrades, c.upgrades);
  }
  EXPECT_EQ(Report(), "");
  EXPECT_EQ(plat::CloseRequestCount(), 0u);
}

TEST_F(RecordFile, ElementsOfAListReadTheLayoutOfTheFile) {
  Write("p.dat", kFile400);
  cProbeWithList probe;
  ASSERT_EQ(probe.LoadFromFile("p.dat"), 1);
  ASSERT_EQ(probe.m_vItems.Size(), 1);
  EXPECT_EQ(probe.m_vItems[0].m_cFlags[0], 7);
  EXPECT_EQ(probe.m_vItems[0].m_nValue, 6);
  EXPECT_EQ(probe.m_vItems[0].m_nLater, 55);  // not stored by 400
  EXPECT_EQ(probe.m_nLater, 10);              // the upgrade
}

TEST_F(RecordFile, FileVersionBelongsToTheFileBeingRead) {
  Write("old.dat", kFile400);
  Write("short.dat", "\x90\x01"s);
  Write("new.dat", "\xDE\x02\x00\x00"s);
  struct Step {
    const char* file;
    int fileVersion;
  };
  // Each step reads after a file of version 400; none leaves 400 behind.
  const Step steps[] = {{"short.dat", 734}, {"missing.dat", 734}, {"new.dat", 734}};
  for (const Step& s : steps) {
    SCOPED_TRACE(s.file);
    cProbeRecord probe;
    ASSERT_EQ(probe.LoadFromFile("old.dat"), 1);
    EXPECT_EQ(FileVersion, 400);
    probe.LoadFromFile(s.file);
    EXPECT_EQ(FileVersion, s.fileVersion);
  }

  // Two readers open at once: loading takes the version of its own reader.
  cDataReader oldReader(kFile400);
  cDataReader newReader("\xDE\x02\x00\x00"s);
  EXPECT_EQ(FileVersion, 734);
  cProbeWithList probe;
  probe.Load(oldReader);
  EXPECT_EQ(FileVersion, 400);
  EXPECT_EQ(probe.m_nUpgrades, 1);
}

TEST_F(RecordFile, AnEmptyPathReadsTheFileNamedErr) {
  Write("err", "\x90\x01\x00\x00"s);
  cDataReader r;
  ASSERT_TRUE(r.Open(""));
  EXPECT_EQ(r.Version(), 400);
}

TEST_F(RecordFile, SaveToFileReplacesTheWholeFile) {
  cProbeWithList probe;
  probe.m_nValue = 3;
  probe.m_vItems.resize(1);
  cDataWriter w;
  probe.Save(w);

  Write("p.dat", std::string(500, 'x'));  // longer than the new content
  ASSERT_EQ(probe.SaveToFile("p.dat"), 1);
  EXPECT_EQ(m_dir.ReadFile("p.dat"), w.Bytes());
  // Nothing but the target (and the report log) is left in the folder.
  EXPECT_EQ(plat::ListDirectory(".").size(), 2u);
}

TEST_F(RecordFile, AFailedSaveReturns0AndLeavesTheOldFile) {
  // A name of 250 bytes leaves no room for the temporary file's longer name.
  const std::string longName(250, 'n');
  Write(longName, "old");
  Write("folder/inside", "kept");
  struct Case {
    const char* what;
    std::string path;
    std::string oldFile;  // empty: nothing to compare
    std::string oldBytes;
  };
  const Case cases[] = {
      {"the folder is missing", "nofolder\\p.dat", "", ""},
      {"the temporary file cannot be made", longName, longName, "old"},
      {"the target is a folder", "folder", "folder/inside", "kept"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    cProbeRecord probe;
    EXPECT_EQ(probe.SaveToFile(c.path), 0);
    if (!c.oldFile.empty()) {
      EXPECT_EQ(m_dir.ReadFile(c.oldFile), c.oldBytes);
    }
  }
  EXPECT_FALSE(m_dir.Exists("nofolder"));
  EXPECT_EQ(plat::ListDirectory(".").size(), 3u);  // no temporary file stays behind
  EXPECT_EQ(plat::ListDirectory("folder").size(), 1u);
}
