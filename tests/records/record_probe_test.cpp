// The record framework on a record that uses every kind of registration
// (probe_record.h): the segment of each file version, Clear, CopyFrom,
// assignment and copies, counts beyond the tables, string length words and
// list segments. The files are written out by hand from the format.
#include <gtest/gtest.h>

#include <cstring>
#include <memory>
#include <string>

#include "base/text_format.h"
#include "probe_record.h"
#include "record_test_env.h"

using namespace std::string_literals;

namespace {

// The probe's segment at version 734 with flags 1 2 3, pair -2 0x1234,
// value 0x01020304, rate 1.5, later 9, name "ab", note "".
const std::string kBody734 =
    "\x05\x00\x00\x00"                  // n = 5
    "\x01\x02\x03"                      // byte block of 3
    "\xFE\xFF\x34\x12"                  // int16 block of 2: -2, 0x1234
    "\x04\x03\x02\x01"                  // value
    "\x00\x00\x00\x00\x00\x00\xF8\x3F"  // rate 1.5
    "\x09\x00\x00\x00"                  // later (from version 500)
    "\x02\x00\x00\x00"                  // m = 2
    "\x03\x00\x00\x00" "ab\x00"         // name
    "\x01\x00\x00\x00"s;                // note: empty

// Version 200 still stored an int32 and an int16 after the pair, and not the
// member of version 500.
const std::string kBody200 =
    "\x06\x00\x00\x00"
    "\x01\x02\x03"
    "\xFE\xFF\x34\x12"
    "\xAA\xBB\xCC\xDD"  // dropped int32
    "\xEE\x7F"          // dropped int16
    "\x04\x03\x02\x01"
    "\x00\x00\x00\x00\x00\x00\xF8\x3F"
    "\x02\x00\x00\x00"
    "\x03\x00\x00\x00" "ab\x00"
    "\x01\x00\x00\x00"s;

// Version 400: neither the dropped values nor the member of version 500.
const std::string kBody400 =
    "\x04\x00\x00\x00"
    "\x01\x02\x03"
    "\xFE\xFF\x34\x12"
    "\x04\x03\x02\x01"
    "\x00\x00\x00\x00\x00\x00\xF8\x3F"
    "\x02\x00\x00\x00"
    "\x03\x00\x00\x00" "ab\x00"
    "\x01\x00\x00\x00"s;

const std::string kV734 = "\xDE\x02\x00\x00"s;

void ExpectCommonValues(const cProbeRecord& r) {
  EXPECT_EQ(r.m_cFlags[0], 1);
  EXPECT_EQ(r.m_cFlags[1], 2);
  EXPECT_EQ(r.m_cFlags[2], 3);
  EXPECT_EQ(r.m_sPair[0], -2);
  EXPECT_EQ(r.m_sPair[1], 0x1234);
  EXPECT_EQ(r.m_nValue, 0x01020304);
  EXPECT_EQ(r.m_dRate, 1.5);
  EXPECT_EQ(r.m_strName, "ab");
}

std::string Saved(cRecord& r) {
  cDataWriter w;
  r.Save(w);
  return w.Bytes();
}

class RecordFramework : public RecordTest {};

}  // namespace

TEST_F(RecordFramework, EachFileVersionReadsTheMembersItStored) {
  struct Case {
    const char* what;
    std::string file;
    int version;  // as the reader and FileVersion see it
    int later;    // the member of version 500: the class default 55 when not stored
  };
  const Case cases[] = {
      {"version 200", "\xC8\x00\x00\x00"s + kBody200, 200, 55},
      {"version 400", "\x90\x01\x00\x00"s + kBody400, 400, 55},
      {"version 734", kV734 + kBody734, 734, 9},
      {"version 999 reads as 734", "\xE7\x03\x00\x00"s + kBody734, 734, 9},
      {"version 0xFFFFFFFF reads as 734", "\xFF\xFF\xFF\xFF"s + kBody734, 734, 9},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    cDataReader r(c.file);
    EXPECT_EQ(r.Version(), c.version);
    cProbeRecord probe;
    probe.Load(r);
    ExpectCommonValues(probe);
    EXPECT_EQ(probe.m_strNote, "");
    EXPECT_EQ(probe.m_nLater, c.later);
    EXPECT_EQ(FileVersion, c.version);
    // The layout of the version takes exactly the bytes of the file.
    EXPECT_FALSE(r.Ended());
    EXPECT_EQ(r.Remaining(), 0u);
    // After the load the tables are those of 734 again.
    EXPECT_EQ(probe.Fields().Size(), 5);
  }
}

TEST_F(RecordFramework, DroppedMembersAreReadIntoTheScratchValues) {
  DiscardDword = 0;
  DiscardWord = 0;
  cDataReader r("\xC8\x00\x00\x00"s + kBody200);
  cProbeRecord probe;
  probe.Load(r);
  EXPECT_EQ(DiscardDword, static_cast<int32_t>(0xDDCCBBAA));
  EXPECT_EQ(DiscardWord, 0x7FEE);
}

TEST_F(RecordFramework, SavingWritesTheCurrentLayoutWhateverWasLoaded) {
  cProbeRecord made;
  made.m_cFlags[0] = 1;
  made.m_cFlags[1] = 2;
  made.m_cFlags[2] = 3;
  made.m_cFlags[3] = 99;  // not registered: not written
  made.m_sPair[0] = -2;
  made.m_sPair[1] = 0x1234;
  made.m_sPair[2] = 99;
  made.m_nValue = 0x01020304;
  made.m_dRate = 1.5;
  made.m_nLater = 9;
  made.m_strName = "ab";
  EXPECT_EQ(Saved(made), kV734 + kBody734);

  // A file of version 200 saves as 734 with the member it did not store.
  cProbeRecord old;
  cDataReader r("\xC8\x00\x00\x00"s + kBody200);
  old.Load(r);
  std::string expected = kV734 + kBody734;
  expected[4 + 4 + 3 + 4 + 4 + 8] = 55;
  EXPECT_EQ(Saved(old), expected);
}

TEST_F(RecordFramework, ClearZeroesExactlyTheRegisteredBytes) {
  cProbeRecord probe;
  probe.m_nBefore = 11;
  std::memset(probe.m_cFlags, 0x5A, sizeof probe.m_cFlags);
  for (int16_t& s : probe.m_sPair) s = 0x5A5A;
  probe.m_nValue = 3;
  probe.m_dRate = 2.5;
  probe.m_nLater = 4;
  probe.m_strName = "name";
  probe.m_strNote = "note";
  probe.m_nRunTime = 12;
  DiscardDword = 13;  // registered only for old files
  DiscardWord = 14;

  probe.Clear();

  EXPECT_EQ(probe.m_cFlags[0] | probe.m_cFlags[1] | probe.m_cFlags[2], 0);
  EXPECT_EQ(probe.m_cFlags[3], 0x5A);  // the byte after the block of 3
  EXPECT_EQ(probe.m_sPair[0] | probe.m_sPair[1], 0);
  EXPECT_EQ(probe.m_sPair[2], 0x5A5A);  // the word after the block of 2
  EXPECT_EQ(probe.m_nValue, 0);
  EXPECT_EQ(probe.m_dRate, 0.0);
  EXPECT_EQ(probe.m_nLater, 0);
  EXPECT_EQ(probe.m_strName, "");
  EXPECT_EQ(probe.m_strNote, "");
  EXPECT_EQ(probe.m_nBefore, 11);
  EXPECT_EQ(probe.m_nRunTime, 12);
  EXPECT_EQ(DiscardDword, 13);
  EXPECT_EQ(DiscardWord, 14);
}

TEST_F(RecordFramework, CopyFromTakesTheRegisteredContentOnly) {
  cProbeRecord source;
  cDataReader r(kV734 + kBody734);
  source.Load(r);
  source.m_strNote = "a\r\nb";
  source.m_cFlags[3] = 21;
  source.m_sPair[2] = 22;
  source.m_nBefore = 23;
  source.m_nRunTime = 24;

  cProbeRecord target;
  target.m_cFlags[3] = 31;
  target.m_sPair[2] = 32;
  target.m_nBefore = 33;
  target.m_nRunTime = 34;
  ASSERT_EQ(target.CopyFrom(source), 1);

  ExpectCommonValues(target);
  EXPECT_EQ(target.m_nLater, 9);
  EXPECT_EQ(target.m_strNote, "a\r\nb");  // carriage returns survive a copy
  EXPECT_EQ(target.m_cFlags[3], 31);
  EXPECT_EQ(target.m_sPair[2], 32);
  EXPECT_EQ(target.m_nBefore, 33);
  EXPECT_EQ(target.m_nRunTime, 34);
  // The source is only read.
  EXPECT_EQ(source.m_nRunTime, 24);
  EXPECT_EQ(source.m_strName, "ab");
}

TEST_F(RecordFramework, CopyFromAnotherClassIsRefused) {
  cProbeOther other;
  other.m_nValue = 5;
  other.m_strName = "other";
  cProbeRecord probe;
  probe.m_nValue = 7;
  EXPECT_EQ(probe.CopyFrom(other), 0);
  EXPECT_EQ(other.CopyFrom(probe), 0);
  EXPECT_EQ(probe.m_nValue, 7);
  EXPECT_EQ(probe.m_strName, "");
  EXPECT_EQ(other.m_nValue, 5);
  EXPECT_EQ(Report(), "");
  EXPECT_EQ(plat::CloseRequestCount(), 0u);
}

TEST_F(RecordFramework, AssignmentFromACopyWhoseSourceIsGone) {
  auto original = std::make_unique<cProbeRecord>();
  cDataReader r(kV734 + kBody734);
  original->Load(r);  // its tables name its own members
  const std::string originalBytes = Saved(*original);
  cProbeRecord copy(*original);
  original.reset();

  cProbeRecord target;
  target = copy;
  EXPECT_EQ(Saved(target), originalBytes);
  EXPECT_EQ(Saved(copy), originalBytes);

  // Each record works through its own tables only.
  target.Clear();
  EXPECT_EQ(copy.m_nValue, 0x01020304);
  copy.m_strName = "changed";
  EXPECT_EQ(target.m_strName, "");
  EXPECT_EQ(target.Fields().Size(), 5);
  for (const FIELDDESC& d : target.Fields()) EXPECT_EQ(d.lpOwner, &target);
}

TEST_F(RecordFramework, ElementsOfAGrowingVectorKeepTheirOwnTables) {
  cProbeRecord prototype;
  prototype.Clear();
  cVector<cProbeRecord> list;
  for (int i = 0; i < 40; ++i) list.push_back(prototype);  // moves the elements many times
  for (int i = 0; i < 40; ++i) {
    cDataReader r(kV734 + kBody734);
    list[i].Load(r);
    list[i].m_nValue = i;
  }
  for (int i = 0; i < 40; ++i) {
    EXPECT_EQ(list[i].m_nValue, i);
    EXPECT_EQ(list[i].m_strName, "ab");
  }
  EXPECT_EQ(prototype.m_strName, "");

  // Vector assignment in both directions, then each element cleared alone.
  cVector<cProbeRecord> small(2), large(5);
  large = list;
  small = list;
  ASSERT_EQ(small.Size(), 40);
  for (int i = 0; i < 40; ++i) {
    small[i].Clear();
    EXPECT_EQ(large[i].m_nValue, i);
    EXPECT_EQ(list[i].m_nValue, i);
  }
  cVector<cProbeRecord> two(2);
  list = two;
  ASSERT_EQ(list.Size(), 2);
  list[1].Clear();
  EXPECT_EQ(two[1].m_nLater, 55);
  EXPECT_EQ(large[1].m_strName, "ab");
}

TEST_F(RecordFramework, NoFieldsMeansNothingIsClearedCopiedOrRead) {
  struct cOnlyLists : public cRecord {
    cOnlyLists() { Clear(); }
    void RegisterFields(int) override { RegisterNoFields(); }
    int32_t m_nKept = 5;
  };
  cOnlyLists a, b;
  b.m_nKept = 6;
  a.Clear();
  EXPECT_EQ(a.CopyFrom(b), 1);
  EXPECT_EQ(a.m_nKept, 5);
  a = b;
  EXPECT_EQ(a.m_nKept, 6);  // the derived part of the assignment
  a.m_nKept = 5;
  a.Clear();
  EXPECT_EQ(a.m_nKept, 5);
  EXPECT_EQ(a.Fields().Size() + a.Strings().Size(), 0);
  // Its segment is two zero counts; any count above zero is a foreign file.
  EXPECT_EQ(Saved(a), kV734 + "\x00\x00\x00\x00\x00\x00\x00\x00"s);
  cDataReader r(kV734 + "\x01\x00\x00\x00\x07\x00\x00\x00"s);
  a.Load(r);
  EXPECT_EQ(Report(), FormatText("err V[0] ( 0 , %d )\r\n", static_cast<int>(sizeof(FIELDDESC))));
  EXPECT_EQ(plat::CloseRequestCount(), 1u);
}

TEST_F(RecordFramework, CountsBeyondTheTablesReportOnceAndEndTheRead) {
  struct Case {
    const char* what;
    std::string file;
    std::string report;
    const char* name;  // "keep" when the name was not read
  };
  const std::string fields =
      "\x01\x02\x03" "\xFE\xFF\x34\x12" "\x04\x03\x02\x01"
      "\x00\x00\x00\x00\x00\x00\xF8\x3F" "\x09\x00\x00\x00"s;
  const Case cases[] = {
      {"six blocks where 734 has five",
       kV734 + "\x06\x00\x00\x00"s + fields + "\x63\x00\x00\x00"
           "\x02\x00\x00\x00" "\x03\x00\x00\x00" "ab\x00" "\x01\x00\x00\x00"s,
       FormatText("err V[5] ( 5 , %d )\r\n", static_cast<int>(sizeof(FIELDDESC))), "keep"},
      {"a huge block count",
       kV734 + "\xFF\xFF\xFF\xFF"s + fields + "\x02\x00\x00\x00" "\x01\x00\x00\x00"s,
       FormatText("err V[5] ( 5 , %d )\r\n", static_cast<int>(sizeof(FIELDDESC))), "keep"},
      {"three strings where there are two",
       kV734 + "\x05\x00\x00\x00"s + fields + "\x03\x00\x00\x00" "\x03\x00\x00\x00" "ab\x00"
           "\x01\x00\x00\x00" "\x02\x00\x00\x00" "z\x00"s,
       FormatText("err V[2] ( 2 , %d )\r\n", static_cast<int>(sizeof(STRINGDESC))), "ab"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    ASSERT_EQ(ReportOpen("Report_Game.txt"), 1);
    plat::ResetCloseRequests();
    // A list segment after the record: with the read ended it is not read.
    cDataReader r(c.file + "\x01\x00\x00\x00"s + kBody734);
    cProbeRecord probe;
    probe.m_strName = "keep";
    probe.Load(r);
    cVector<cProbeRecord> after(3);
    LoadRecordList(after, r);

    EXPECT_EQ(Report(), c.report);
    EXPECT_EQ(plat::CloseRequestCount(), 1u);
    EXPECT_EQ(probe.m_nValue, 0x01020304);  // the registered blocks were read
    EXPECT_EQ(probe.m_nLater, 9);
    EXPECT_EQ(probe.m_strName, c.name);
    EXPECT_TRUE(r.Ended());
    EXPECT_EQ(after.Size(), 0);
  }
}

TEST_F(RecordFramework, StringLengthWords) {
  struct Case {
    const char* what;
    std::string strings;  // from the string count on
    const char* name;
    const char* note;
    bool ended;
  };
  const Case cases[] = {
      {"length 0 is empty", "\x02\x00\x00\x00" "\x00\x00\x00\x00" "\x02\x00\x00\x00" "z\x00"s,
       "", "z", false},
      {"length 1 is empty", "\x02\x00\x00\x00" "\x01\x00\x00\x00" "\x02\x00\x00\x00" "z\x00"s,
       "", "z", false},
      {"text ends at the first NUL", "\x02\x00\x00\x00" "\x04\x00\x00\x00" "ab\x00\x00"
       "\x01\x00\x00\x00"s, "ab", "", false},
      {"a NUL first", "\x02\x00\x00\x00" "\x03\x00\x00\x00" "\x00qq" "\x01\x00\x00\x00"s,
       "", "", false},
      {"no NUL: all len bytes", "\x02\x00\x00\x00" "\x03\x00\x00\x00" "abc"
       "\x01\x00\x00\x00"s, "abc", "", false},
      {"one-byte name", "\x02\x00\x00\x00" "\x02\x00\x00\x00" "x\x00" "\x01\x00\x00\x00"s,
       "x", "", false},
      {"length beyond the file", "\x02\x00\x00\x00" "\xFF\xFF\xFF\x7F" "ab\x00"
       "\x01\x00\x00\x00"s, "old", "old", true},
      {"length one byte too long", "\x02\x00\x00\x00" "\x04\x00\x00\x00" "ab\x00"s,
       "old", "old", true},
      {"file ends in a length word", "\x02\x00\x00\x00" "\x02\x00\x00\x00" "x\x00" "\x01\x00"s,
       "x", "old", true},
      {"fewer strings than registered", "\x01\x00\x00\x00" "\x02\x00\x00\x00" "x\x00"s,
       "x", "old", false},
  };
  const std::string head = kV734 + kBody734.substr(0, 4 + 3 + 4 + 4 + 8 + 4);
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    cDataReader r(head + c.strings);
    cProbeRecord probe;
    probe.m_strName = "old";
    probe.m_strNote = "old";
    probe.Load(r);
    EXPECT_EQ(probe.m_strName, c.name);
    EXPECT_EQ(probe.m_strNote, c.note);
    EXPECT_EQ(r.Ended(), c.ended);
    EXPECT_EQ(probe.m_nLater, 9);
  }
  EXPECT_EQ(Report(), "");
}

TEST_F(RecordFramework, ListSegments) {
  cVector<cProbeRecord> list(3);
  list[0].m_nRunTime = 1;

  cDataReader two(kV734 + "\x02\x00\x00\x00"s + kBody734 + kBody734);
  LoadRecordList(list, two);
  ASSERT_EQ(list.Size(), 2);
  for (const cProbeRecord& e : list) {
    ExpectCommonValues(e);
    EXPECT_EQ(e.m_nRunTime, 0);  // fresh default elements, not the old ones
  }
  EXPECT_EQ(two.Remaining(), 0u);

  cDataReader none(kV734 + "\x00\x00\x00\x00"s + kBody734);
  LoadRecordList(list, none);
  EXPECT_EQ(list.Size(), 0);
  EXPECT_EQ(none.Remaining(), kBody734.size());

  // A count that the rest of the file cannot hold: an empty list, read ended.
  list.resize(2);
  cDataReader huge(kV734 + "\x00\x00\x00\x10"s + kBody734 + kBody734);
  LoadRecordList(list, huge);
  EXPECT_EQ(list.Size(), 0);
  EXPECT_TRUE(huge.Ended());

  // The element default comes from the given prototype; elements after the
  // end of a cut file keep it.
  cProbeRecord prototype;
  prototype.m_nValue = 77;
  cDataReader cut(kV734 + "\x02\x00\x00\x00"s + kBody734 + "\x05\x00\x00\x00\x01\x02"s);
  LoadRecordList(list, cut, prototype);
  ASSERT_EQ(list.Size(), 2);
  EXPECT_EQ(list[0].m_nValue, 0x01020304);
  EXPECT_EQ(list[1].m_cFlags[0], 1);
  EXPECT_EQ(list[1].m_cFlags[2], 0);  // a block the file holds in part
  EXPECT_EQ(list[1].m_nValue, 77);

  cVector<cProbeRecord> back(2);
  back[0] = list[0];
  back[1] = list[0];
  cDataWriter w;
  SaveRecordList(back, w);
  EXPECT_EQ(w.Bytes(), kV734 + "\x02\x00\x00\x00"s + kBody734 + kBody734);
}
