// A new project's settings, the Shift-JIS bytes of its texts and font names,
// and what a short or damaged System.dat leaves.
#include <gtest/gtest.h>

#include "base/report_log.h"
#include "platform/close_request.h"
#include "records/system.h"
#include "records/database.h"
#include "records/system_text_table.h"
#include "support/test_support.h"
#include "system_file_builder.h"

using testsupport::Sjis;

TEST(SystemDefaults, CarryAndLoseFlags) {
  cEdSystem s;
  ASSERT_EQ(s.m_vCarry.size(), 25u);
  std::vector<int> carried;
  for (int i = 0; i < 25; ++i)
    if (s.m_vCarry[i]) carried.push_back(i);
  EXPECT_EQ(carried, (std::vector<int>{0, 1, 13, 14, 16, 17, 19, 20, 21}));
  std::vector<int> lost;
  for (int i = 0; i < 25; ++i)
    if (s.m_vLoseOnMiss[i]) lost.push_back(i);
  EXPECT_EQ(lost, (std::vector<int>{11, 12}));
}

TEST(SystemDefaults, TextsMenusAndKeys) {
  cEdSystem s;
  ASSERT_EQ(s.m_vTexts.size(), 28u);
  EXPECT_EQ(s.m_vTexts[11], Sjis("やっぱりやめる"));
  EXPECT_EQ(s.m_vTexts[13], s.m_vTexts[11]);
  EXPECT_EQ(s.m_vTexts[18], s.m_vTexts[11]);
  EXPECT_EQ(s.m_vTexts[2], Sjis("スコア"));
  EXPECT_EQ(s.m_vTexts[5], s.m_vTexts[2]);
  EXPECT_EQ(s.m_vStatusItems[0].m_strLabel, s.m_vTexts[2]);
  EXPECT_EQ(s.m_vStatusItems[1].m_strLabel, s.m_vTexts[2]);
  EXPECT_EQ(s.m_vTexts[21], Sjis("リトライ"));
  EXPECT_EQ(s.m_vTexts[22], s.m_vTexts[21]);
  EXPECT_EQ(s.m_vTexts[25], Sjis("スペースキーでタイトルへ戻る"));

  ASSERT_EQ(s.m_vOptionMenu.size(), 6u);
  EXPECT_EQ(s.m_vOptionMenu[5].m_bVisible, 1);
  EXPECT_EQ(s.m_vOptionMenu[5].m_strText, "");
  EXPECT_EQ(s.m_vTitleMenu.size(), 7u);
  EXPECT_EQ(s.m_vMapMenu[1].m_strText, Sjis("オートセーブ"));

  ASSERT_EQ(s.m_vIniKeys.size(), 10u);
  for (int i = 0; i < 10; ++i) EXPECT_EQ(s.m_vIniKeys[i].m_nKind, i == 8 ? 1 : 0) << i;
  EXPECT_EQ(s.m_vIniKeys[8].m_strKey, "FreeStage");
  EXPECT_EQ(s.m_vIniKeys[8].m_strText, "");

  EXPECT_EQ(s.m_vScreenBgm, cVector<int32_t>(4, 0));
  EXPECT_EQ(s.m_vScreenBgmLoop, cVector<uint8_t>(4, 1));
  EXPECT_EQ(s.m_vStartLives, (cVector<int32_t>{5, 5, 5, 99}));
  EXPECT_EQ(s.m_vSystemSounds, cVector<std::string>(17));
  EXPECT_EQ(s.CountRankingCategories(PLAYKIND_REPLAY), 0);
  EXPECT_EQ(s.CountRankingCategories(PLAYKIND_FREE), 5);
}

TEST(SystemDefaults, ShiftJisBytesOfTheTable) {
  const SYSTEMDEFAULTTEXTS& t = SystemDefaultTexts();
  struct Case {
    std::string actual, expected;
  };
  const Case cases[] = {
      // "保存先が不明です！一度は「セーブ」して下さい！"
      {t.vTexts[16], "\x95\xDB\x91\xB6\x90\xE6\x82\xAA\x95\x73\x96\xBE\x82\xC5\x82\xB7\x81\x49\x88\xEA"
                     "\x93\x78\x82\xCD\x81\x75\x83\x5A\x81\x5B\x83\x75\x81\x76\x82\xB5\x82\xC4\x89\xBA"
                     "\x82\xB3\x82\xA2\x81\x49"},
      {t.vTexts[14], "\x83\x49\x81\x5B\x83\x67\x83\x5A\x81\x5B\x83\x75\x82\x6E\x82\x6D"},  // "オートセーブＯＮ"
      {t.vStatusLabels[4], "\x90\x6C"},                                                  // "人"
      {t.vRankingEntryModes[0], "\x8E\xE8\x93\xAE\x93\x6F\x98\x5E\x81\x69\x93\x6F\x98\x5E\x96\xBC"
                                "\x93\xFC\x97\xCD\x81\x6A"},  // "手動登録（登録名入力）"
      {FontNameTable()[60], "\x82\x6C\x82\x72\x20\x82\x6F\x83\x53\x83\x56\x83\x62\x83\x4E"},  // "ＭＳ Ｐゴシック"
      {FontNameTable()[86], "\x48\x47\xBA\xDE\xBC\xAF\xB8\x45"},  // "HGｺﾞｼｯｸE", half-width kana
      {FontNameTable()[100], "\x83\x81\x83\x43\x83\x8A\x83\x49"},  // "メイリオ"
      {FontNameTable()[0], "System"},
      {FontNameTable()[121], "Sydnie"},
      {FontNameTable()[122], ""},
  };
  for (const Case& c : cases) EXPECT_EQ(c.actual, c.expected);
  EXPECT_EQ(FontNameTable().size(), 123u);
}

TEST(SystemDefaults, FontOutsideTheTableGivesTheDefaultFace) {
  const std::string face = FontNameTable()[60];
  for (int font : {-1, 123, 1000000, INT32_MIN}) EXPECT_EQ(GetFontName(font), face) << font;
  EXPECT_STREQ(GetFontName(122), "");
  cEdSystem s;
  s.m_nFont = 59;
  EXPECT_EQ(std::string(s.FontName()), Sjis("ＭＳ ゴシック"));
}

namespace {

class DamagedSystemDat : public ::testing::Test {
 protected:
  void SetUp() override {
    ReportOpen("Report_Game.txt");
    plat::ResetCloseRequests();
  }
  cEdSystem LoadBytes(const std::string& bytes) {
    cEdSystem s;
    s.m_vTexts.clear();  // what the load gives must not depend on what was there
    s.m_vIniKeys.clear();
    cDataReader r(bytes);
    s.Load(r);
    return s;
  }
  testsupport::ScopedWorkDir m_dir;
};

void ExpectIndexedListsComplete(const cEdSystem& s) {
  EXPECT_GE(s.m_vCarry.size(), 25u);
  EXPECT_GE(s.m_vLoseOnMiss.size(), 25u);
  EXPECT_GE(s.m_vStatusItems.size(), 5u);
  EXPECT_GE(s.m_vTitleMenu.size(), 7u);
  EXPECT_GE(s.m_vMapMenu.size(), 4u);
  EXPECT_GE(s.m_vOptionMenu.size(), 6u);
  EXPECT_GE(s.m_vRankingEntryModes.size(), 4u);
  EXPECT_GE(s.m_vStartLives.size(), 4u);
  EXPECT_GE(s.m_vInfiniteLives.size(), 4u);
  EXPECT_GE(s.m_vRankingModes.size(), 4u);
  for (const cEdRankingMode& m : s.m_vRankingModes) EXPECT_GE(m.m_vCategories.size(), 5u);
  EXPECT_GE(s.m_vSystemSounds.size(), 17u);
  EXPECT_GE(s.m_vScreenBgm.size(), 4u);
  EXPECT_GE(s.m_vScreenBgmLoop.size(), 4u);
  EXPECT_GE(s.m_vTexts.size(), 28u);
  EXPECT_GE(s.m_vIniKeys.size(), 10u);
}

}  // namespace

TEST_F(DamagedSystemDat, ShortListsArePaddedWithTheDefaultsAndLongOnesKept) {
  sysfile::SystemFile f;
  f.carry = {0, 0, 0};
  f.texts = {"a", "b"};
  for (int i = 0; i < 30; ++i) f.sounds.push_back("se" + std::to_string(i));
  f.iniKeys = {{0, "D3D", 1, ""}};
  f.rankingModes = {{1, {1}}};
  f.startLives = {7};
  cEdSystem s = LoadBytes(sysfile::Build(f));
  ExpectIndexedListsComplete(s);
  const cEdSystem fresh;
  EXPECT_EQ(s.m_vCarry[0], 0);  // the file's entries stay
  EXPECT_EQ(s.m_vCarry[13], 1);  // the rest are a new project's
  EXPECT_EQ(s.m_vTexts[1], "b");
  EXPECT_EQ(s.m_vTexts[2], fresh.m_vTexts[2]);
  EXPECT_EQ(s.m_vTexts[27], fresh.m_vTexts[27]);
  EXPECT_EQ(s.m_vSystemSounds.size(), 30u);
  EXPECT_EQ(s.m_vIniKeys[0].m_strKey, "D3D");
  EXPECT_EQ(s.m_vIniKeys[9].m_strKey, "English");
  EXPECT_EQ(s.m_vRankingModes[0].m_vCategories, (cVector<uint8_t>{1, 0, 0, 0, 0}));
  EXPECT_EQ(s.m_vRankingModes[3].m_bRanking, 0);
  EXPECT_EQ(s.m_vStartLives, (cVector<int32_t>{7, 5, 5, 99}));
  EXPECT_EQ(s.m_vStatusItems[2].m_strLabel, "HP");
  EXPECT_EQ(plat::CloseRequestCount(), 0u);
}

TEST_F(DamagedSystemDat, TruncatedAnywhereLoadsWithoutFaultAndPads) {
  cEdSystem source;
  source.m_strTitle = "Truncated";
  cDataWriter w;
  source.Save(w);
  const std::string whole = w.Bytes();
  for (size_t cut = 4; cut < whole.size(); cut += 7) {
    SCOPED_TRACE(cut);
    cEdSystem s = LoadBytes(whole.substr(0, cut));
    ExpectIndexedListsComplete(s);
  }
  // Cut inside text 20: the texts read so far stay, the rest and the later
  // lists are a new project's. (A cut so early that the 28 announced texts
  // could not fit in what is left drops the whole list.)
  for (int i = 0; i < 28; ++i) source.m_vTexts[i] = "T" + std::to_string(i);
  source.m_vIniKeys[0].m_strKey = "Own";
  cDataWriter w2;
  source.Save(w2);
  const std::string texts = w2.Bytes();
  cEdSystem s = LoadBytes(texts.substr(0, texts.find(std::string("\4\0\0\0T20", 7)) + 5));
  const cEdSystem fresh;
  EXPECT_EQ(s.m_strTitle, "Truncated");
  EXPECT_EQ(s.m_vTexts[19], "T19");
  EXPECT_EQ(s.m_vTexts[20], fresh.m_vTexts[20]);
  EXPECT_EQ(s.m_vTexts[27], fresh.m_vTexts[27]);
  EXPECT_EQ(s.m_vIniKeys[0].m_strKey, "Direct3D");
  // Cut inside the ini keys: the whole keys stay.
  s = LoadBytes(texts.substr(0, texts.size() - 3));
  EXPECT_EQ(s.m_vIniKeys[0].m_strKey, "Own");
  EXPECT_EQ(s.m_vIniKeys[9].m_strKey, "English");
}

TEST_F(DamagedSystemDat, CountsAndLengthsBeyondTheFileEndTheRead) {
  sysfile::SystemFile f;
  f.texts = {"a", "b"};
  f.iniKeys = {{0, "Direct3D", 1, ""}};
  const std::string bytes = sysfile::Build(f);
  // A huge word at every place: counts, lengths and values alike.
  for (size_t pos = 4; pos + 4 <= bytes.size(); ++pos) {
    SCOPED_TRACE(pos);
    std::string damaged = bytes;
    damaged.replace(pos, 4, "\xF0\xFF\xFF\x7F");
    ExpectIndexedListsComplete(LoadBytes(damaged));
  }
}

TEST_F(DamagedSystemDat, ChallengeCountAndMusicStayInRange) {
  Database.m_vBgm.resize(3);
  struct Case {
    int32_t stages, expected;
  };
  for (Case c : {Case{-5, 0}, Case{0, 0}, Case{40, 40}, Case{INT32_MAX, SYSTEM_MAX_CHALLENGE_STAGES}}) {
    sysfile::SystemFile f;
    f.values["ChallengeStages"] = c.stages;
    f.screenBgm = {1, 3, -1, 2};
    cEdSystem s = LoadBytes(sysfile::Build(f));
    EXPECT_EQ(s.m_nChallengeStages, c.expected);
    EXPECT_EQ(s.m_vScreenBgm, (cVector<int32_t>{1, 0, 0, 2}));
  }
  // Before saving, too.
  cEdSystem s;
  s.m_vScreenBgm = cVector<int32_t>{2, 3, 4, -7};
  cDataWriter w;
  s.Save(w);
  EXPECT_EQ(s.m_vScreenBgm, (cVector<int32_t>{2, 0, 0, 0}));
  Database.Reset();
}

TEST(SystemSwitchNames, EachNameReadsItsMember) {
  cEdSystem s;
  int32_t cEdSystem::*members[] = {&cEdSystem::m_bCompat214,      &cEdSystem::m_bCompat555,
                                   &cEdSystem::m_bCompat677,      &cEdSystem::m_bDefeatSound,
                                   &cEdSystem::m_bReplay,         &cEdSystem::m_bRetryMenuOnMiss,
                                   &cEdSystem::m_bPauseRetryStory, &cEdSystem::m_bPauseRetryChallenge,
                                   &cEdSystem::m_bCompat637,      &cEdSystem::m_bCompat697,
                                   &cEdSystem::m_bExtraLifeByScore, &cEdSystem::m_nExtraLifeScore};
  for (int i = 0; i < 12; ++i) s.*members[i] = 100 + i;
  const int32_t read[] = {s.bScrollInMoves(),  s.bLightningNoGap(),   s.bLandWhileRising(),
                          s.bShowDefeat(),     s.bRecordReplay(),     s.bRetryMenuOnDeath(),
                          s.bRetryStory(),     s.bRetryChallenge(),   s.bBlockGuard(),
                          s.bStartTriggerAll(), s.bExtraLife(),       s.nExtraLifeScore()};
  for (int i = 0; i < 12; ++i) EXPECT_EQ(read[i], 100 + i) << i;
}
