// Option.dat and Boot.dat, written out by hand from their layouts.
#include <gtest/gtest.h>

#include <string>

#include "base/text_format.h"
#include "records/path_table.h"
#include "records/user_settings.h"
#include "record_test_env.h"

using namespace std::string_literals;
using testsupport::Sjis;

namespace {

// Palette 0, music on, volume 10, mode 0, name "abc": 36 bytes.
const std::string kOptionAbc =
    "\xDE\x02\x00\x00"   // version 734
    "\x04\x00\x00\x00"   // 4 fields
    "\x00\x00\x00\x00"   // palette
    "\x01\x00\x00\x00"   // music on
    "\x0A\x00\x00\x00"   // volume step
    "\x00\x00\x00\x00"   // ranking mode
    "\x01\x00\x00\x00"   // 1 string
    "\x04\x00\x00\x00"   // length + 1
    "abc\x00"s;

struct OptionValues {
  int palette, bgm, volume, mode;
  std::string name;
};

void ExpectOption(const cOptionData& o, const OptionValues& v) {
  EXPECT_EQ(o.m_nPalette, v.palette);
  EXPECT_EQ(o.m_bBgm, v.bgm);
  EXPECT_EQ(o.m_nSeVolume, v.volume);
  EXPECT_EQ(o.m_nRankingMode, v.mode);
  EXPECT_EQ(o.m_strRankingName, v.name);
}

class UserSettings : public RecordTest {};

}  // namespace

TEST_F(UserSettings, DefaultsOfAFreshInstallation) {
  ExpectOption(cOptionData(), {0, 1, 7, 0, "aaa"});
  ExpectOption(OptionData, {0, 1, 7, 0, "aaa"});
  EXPECT_EQ(cBootData().m_nDrawMode, 1);
  EXPECT_EQ(cBootData().m_bNoAsk, 0);
  EXPECT_EQ(BootData.m_nDrawMode, 1);
  EXPECT_EQ(BootData.m_bNoAsk, 0);

  // Nothing under user_data\: the loads fail and the defaults stay.
  cOptionData option;
  cBootData boot;
  EXPECT_EQ(option.LoadFromFile(PathTable[43]), 0);
  EXPECT_EQ(boot.LoadFromFile(PathTable[46]), 0);
  ExpectOption(option, {0, 1, 7, 0, "aaa"});
  EXPECT_EQ(boot.m_nDrawMode, 1);
}

TEST_F(UserSettings, OptionFilesLoadAndSaveBackByteForByte) {
  struct Case {
    const char* what;
    std::string file;
    OptionValues values;
  };
  const Case cases[] = {
      {"the name abc", kOptionAbc, {0, 1, 10, 0, "abc"}},
      {"an empty name",
       "\xDE\x02\x00\x00" "\x04\x00\x00\x00" "\x17\x00\x00\x00" "\x00\x00\x00\x00"
       "\x00\x00\x00\x00" "\x03\x00\x00\x00" "\x01\x00\x00\x00" "\x01\x00\x00\x00"s,
       {23, 0, 0, 3, ""}},
      {"a name of one byte",
       "\xDE\x02\x00\x00" "\x04\x00\x00\x00" "\x05\x00\x00\x00" "\x01\x00\x00\x00"
       "\x07\x00\x00\x00" "\x01\x00\x00\x00" "\x01\x00\x00\x00" "\x02\x00\x00\x00" "Z\x00"s,
       {5, 1, 7, 1, "Z"}},
      {"a double-byte name",
       "\xDE\x02\x00\x00" "\x04\x00\x00\x00" "\x00\x00\x00\x00" "\x01\x00\x00\x00"
       "\x07\x00\x00\x00" "\x02\x00\x00\x00" "\x01\x00\x00\x00" "\x05\x00\x00\x00"
       "\x82\xA0\x82\xA2\x00"s,
       {0, 1, 7, 2, Sjis("あい")}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    m_dir.WriteFile("user_data/Option.dat", c.file);
    cOptionData option;
    ASSERT_EQ(option.LoadFromFile(PathTable[43]), 1);
    ExpectOption(option, c.values);
    EXPECT_EQ(c.file.size(), 33 + c.values.name.size() - (c.values.name.empty() ? 1 : 0));

    std::remove("user_data/Option.dat");
    ASSERT_EQ(option.SaveToFile(PathTable[43]), 1);
    EXPECT_EQ(m_dir.ReadFile("user_data/Option.dat"), c.file);
  }
}

TEST_F(UserSettings, BootFileLoadsAndSavesBackByteForByte) {
  // DirectDraw chosen, do not ask again.
  const std::string file =
      "\xDE\x02\x00\x00" "\x02\x00\x00\x00" "\x00\x00\x00\x00" "\x01\x00\x00\x00"
      "\x00\x00\x00\x00"s;
  m_dir.WriteFile("user_data/Boot.dat", file);
  cBootData boot;
  ASSERT_EQ(boot.LoadFromFile(PathTable[46]), 1);
  EXPECT_EQ(boot.m_nDrawMode, 0);
  EXPECT_EQ(boot.m_bNoAsk, 1);
  std::remove("user_data/Boot.dat");
  ASSERT_EQ(boot.SaveToFile(PathTable[46]), 1);
  EXPECT_EQ(m_dir.ReadFile("user_data/Boot.dat"), file);
}

TEST_F(UserSettings, AnOlderVersionLoadsTheSameValues) {
  std::string file = kOptionAbc;
  file[0] = 0x37;  // version 55
  file[1] = 0x00;
  m_dir.WriteFile("user_data/Option.dat", file);
  cOptionData option;
  ASSERT_EQ(option.LoadFromFile(PathTable[43]), 1);
  ExpectOption(option, {0, 1, 10, 0, "abc"});
  ASSERT_EQ(option.SaveToFile(PathTable[43]), 1);
  EXPECT_EQ(m_dir.ReadFile("user_data/Option.dat"), kOptionAbc);
}

TEST_F(UserSettings, MoreFieldsThanOptionDataHasReportsAndStops) {
  const std::string file =
      "\xDE\x02\x00\x00" "\x05\x00\x00\x00" "\x02\x00\x00\x00" "\x00\x00\x00\x00"
      "\x03\x00\x00\x00" "\x01\x00\x00\x00" "\x63\x00\x00\x00"
      "\x01\x00\x00\x00" "\x04\x00\x00\x00" "xyz\x00"s;
  m_dir.WriteFile("user_data/Option.dat", file);
  cOptionData option;
  ASSERT_EQ(option.LoadFromFile(PathTable[43]), 1);
  ExpectOption(option, {2, 0, 3, 1, "aaa"});  // the fifth value and the name unread
  EXPECT_EQ(Report(), FormatText("err V[4] ( 4 , %d )\r\n", static_cast<int>(sizeof(FIELDDESC))));
  EXPECT_EQ(plat::CloseRequestCount(), 1u);
}

TEST_F(UserSettings, ACutOptionFileChangesOnlyWhatItHolds) {
  struct Case {
    size_t length;
    OptionValues values;  // loaded over 0x11111111, 2, 3, 4, "old"
  };
  const Case cases[] = {
      {0, {0x11111111, 2, 3, 4, "old"}},
      {3, {0x11111111, 2, 3, 4, "old"}},   // no version word
      {4, {0x11111111, 2, 3, 4, "old"}},   // the version word alone
      {6, {0x11111111, 2, 3, 4, "old"}},   // half a field count
      {10, {0x11110000, 2, 3, 4, "old"}},  // half a block: its first two bytes
      {24, {0, 1, 10, 0, "old"}},          // every field, no string count
      {30, {0, 1, 10, 0, "old"}},          // half a length word
      {34, {0, 1, 10, 0, "old"}},          // two bytes of four
      {35, {0, 1, 10, 0, "old"}},          // the text without its NUL
      {36, {0, 1, 10, 0, "abc"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.length);
    m_dir.WriteFile("user_data/Option.dat", kOptionAbc.substr(0, c.length));
    cOptionData option;
    option.m_nPalette = 0x11111111;
    option.m_bBgm = 2;
    option.m_nSeVolume = 3;
    option.m_nRankingMode = 4;
    option.m_strRankingName = "old";
    EXPECT_EQ(option.LoadFromFile(PathTable[43]), 1);
    ExpectOption(option, c.values);
  }
  EXPECT_EQ(Report(), "");
  EXPECT_EQ(plat::CloseRequestCount(), 0u);
}

TEST_F(UserSettings, CarriageReturnsInTheName) {
  const std::string file =
      "\xDE\x02\x00\x00" "\x04\x00\x00\x00" "\x00\x00\x00\x00" "\x01\x00\x00\x00"
      "\x07\x00\x00\x00" "\x00\x00\x00\x00" "\x01\x00\x00\x00" "\x05\x00\x00\x00"
      "a\r\nb\x00"s;
  m_dir.WriteFile("user_data/Option.dat", file);
  struct Case {
    int strip;
    std::string name;
  };
  for (const Case& c : {Case{0, "a\r\nb"}, Case{1, "a\nb"}}) {
    SCOPED_TRACE(c.strip);
    bStripCR = c.strip;
    cOptionData option;
    ASSERT_EQ(option.LoadFromFile(PathTable[43]), 1);
    EXPECT_EQ(option.m_strRankingName, c.name);
  }

  // Saving keeps every byte; StripCR removes the carriage returns in memory.
  bStripCR = 1;
  cOptionData option;
  option.m_strRankingName = "a\r\nb";
  ASSERT_EQ(option.SaveToFile("copy.dat"), 1);
  EXPECT_EQ(m_dir.ReadFile("copy.dat"), file);
  option.StripCR();
  EXPECT_EQ(option.m_strRankingName, "a\nb");
}
