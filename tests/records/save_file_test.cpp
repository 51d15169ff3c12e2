// The progress record as a file: a story slot written by hand loads field by
// field and saves to the same bytes; older versions lack their later fields;
// a damaged slot is never taken.
#include <gtest/gtest.h>

#include <tuple>

#include "records/path_table.h"
#include "records/save_bytes.h"

namespace {

using SaveFile = SaveTest;

std::vector<int32_t> Ints(const cVector<int32_t>& v) { return std::vector<int32_t>(v.begin(), v.end()); }

}  // namespace

TEST_F(SaveFile, SlotWrittenByHandLoadsFieldByFieldAndSavesTheSameBytes) {
  const std::string fixture = FixtureSlot();
  m_dir.WriteFile(SlotPath(kFixtureSlot), fixture);
  ASSERT_TRUE(PlayData.LoadSlot(kFixtureSlot));
  const cSaveData& d = PlayData;

  EXPECT_EQ(std::make_tuple(d.m_bHeroStored, d.m_nMapX, d.m_nMapY, d.m_nRound, d.m_nStageNo, d.m_nAreaNo,
                            d.m_nStartLives, d.m_nLives),
            std::make_tuple(1, 7, 11, 13, 12, 9, 6, 14));
  EXPECT_EQ(std::make_tuple(d.m_nStageScore, d.m_nTotalScore, d.m_nBestTotal, d.m_nTimeLeftSum, d.m_nClearTimeSum,
                            d.m_nHpSum, d.m_nSpSum),
            std::make_tuple(1500, 98765, 123456, 321, 45678, 77, 55));
  EXPECT_EQ(std::make_tuple(d.m_bNumberedStage, d.m_nStageBgm, d.m_bStageBgmLoop, d.m_nWalkDir, d.m_bBackFromRetry,
                            d.m_nPrevCellX, d.m_nPrevCellY, d.m_nUnlocked),
            std::make_tuple(1, 5, 0, 2, 1, 8, 10, 3));
  EXPECT_EQ(std::make_tuple(d.m_nSlot, d.m_bAutoSave, d.m_bRankingView, d.m_nRankingCat, d.m_bHeroStart,
                            d.m_nHeroStartX, d.m_nHeroStartY, d.m_nHeroStartDir),
            std::make_tuple(16, 1, 1, 4, 1, 21, 19, 1));
  EXPECT_EQ(std::make_tuple(d.m_strStagePath, d.m_strReserved, d.m_strRankingName),
            std::make_tuple(std::string("data\\stg4\\c01."), std::string("rsv"), std::string("ABC")));
  EXPECT_EQ(d.m_SaveTime, FixtureTime());
  EXPECT_EQ(Ints(d.m_vCarried), FixtureCarried());

  ASSERT_EQ(d.m_vHeroStatus.size(), 2u);
  const cHeroStatus& h0 = d.m_vHeroStatus[0];
  const cHeroStatus& h1 = d.m_vHeroStatus[1];
  EXPECT_EQ(std::make_tuple(h0.m_nHp, h0.m_nSp, h0.m_nTime, h0.m_nLives, h0.m_nStageBgm),
            std::make_tuple(40, 9, 150, 14, 5));
  EXPECT_EQ(std::make_tuple(h1.m_nHp, h1.m_nSp, h1.m_nTime, h1.m_nLives, h1.m_nStageBgm),
            std::make_tuple(41, -2, 300, 7, 6));
  EXPECT_EQ(std::make_tuple(h1.m_Chara.m_strName, h1.m_Chara.m_nMaxHp, h1.m_Chara.m_nGraphic, h1.m_Chara.m_nDefence),
            std::make_tuple(std::string("hero"), 250, int16_t{8}, 33));
  ASSERT_EQ(h1.m_Chara.m_vFlows.size(), 1u);
  EXPECT_EQ(h1.m_Chara.m_vFlows[0].m_vCommands.At(0).m_vParams.At(0), 15);

  ASSERT_EQ(d.m_vTally.size(), 2u);
  EXPECT_EQ(std::make_tuple(d.m_vTally[0].m_strStage, d.m_vTally[0].m_nValue, d.m_vTally[1].m_strStage,
                            d.m_vTally[1].m_nValue),
            std::make_tuple(std::string("data\\stg4\\c01."), 98765, std::string("boss."), 24691));
  ASSERT_EQ(d.m_vChallenge.size(), 3u);
  EXPECT_EQ(std::make_tuple(d.m_vChallenge[0].m_bCleared, d.m_vChallenge[0].m_nBestScore,
                            d.m_vChallenge[1].m_bCleared, d.m_vChallenge[2].m_nBestScore),
            std::make_tuple(1, 5000, 0, 7700));
  EXPECT_EQ(Ints(d.m_vStageClear), FixtureClearFlags());
  EXPECT_EQ(Ints(d.m_vCommonVar), FixtureVars());

  // Saved again at the same moment, the slot holds the same bytes.
  plat::FakeLocalTime clock(FixtureTime());
  ASSERT_TRUE(PlayData.SaveSlot(kFixtureSlot));
  EXPECT_EQ(m_dir.ReadFile(SlotPath(kFixtureSlot)), fixture);
  EXPECT_TRUE(NoCloseRequest());
}

TEST_F(SaveFile, TheEnteredRouteWordIsWrittenZeroAndIgnoredOnRead) {
  std::vector<FieldValue> fields = SlotFields();
  fields[3].value = 0x5A5A5A5A;
  m_dir.WriteFile(SlotPath(kFixtureSlot), PlainSlot(734, fields));
  PlayData.SetEnteredRoute(2, 1);
  ASSERT_TRUE(PlayData.LoadSlot(kFixtureSlot));
  EXPECT_EQ(PlayData.m_lpEnteredRoute.nNode, -1);  // a load knows no route
  EXPECT_EQ(PlayData.m_nRound, 13);                // the fields after it are in place
  PlayData.SetEnteredRoute(2, 1);
  const std::string saved = Saved(PlayData);
  EXPECT_EQ(saved.substr(8 + 12, 4), std::string(4, '\0'));
}

TEST_F(SaveFile, SavingTheSlotUpdatesItsSummaryAndMakesTheFolders) {
  plat::FakeLocalTime clock(FixtureTime());
  ASSERT_FALSE(m_dir.Exists("user_data"));
  ASSERT_TRUE(PlayData.SaveSlot(0));
  EXPECT_TRUE(m_dir.Exists("user_data/story/Story01.dat"));
  EXPECT_EQ(SlotSummary[0].m_bUsed, 1);
  EXPECT_EQ(SlotSummary[0].m_Time, FixtureTime());
  cVector<cSaveSlotInfo> scanned;
  ScanSaveSlots(scanned);
  ASSERT_EQ(scanned.Size(), SAVE_SLOT_COUNT);
  EXPECT_EQ(scanned[0].m_bUsed, 1);
  EXPECT_EQ(scanned[0].m_Time, FixtureTime());
  EXPECT_EQ(scanned[1].m_bUsed, 0);

  std::string name;
  MakeSlotFileName(name, 98);
  EXPECT_EQ(name, "user_data\\story\\Story99.dat");
}

TEST_F(SaveFile, EachVersionGateReadsTheFieldFromItsVersionOn) {
  struct Gate {
    int field;  // # in the table, from 1
    int version;
    int32_t before;  // the value below the gate
  };
  const Gate gates[] = {
      {15, 182, 0}, {16, 182, 0}, {19, 166, 1}, {20, 194, 0}, {21, 190, 0}, {22, 191, 0},
      {23, 191, 0}, {26, 169, 0}, {29, 678, 0}, {30, 678, 0}, {31, 678, 0}, {32, 679, 0},
  };
  for (const Gate& g : gates) {
    for (int version : {g.version - 1, g.version}) {
      SCOPED_TRACE(testing::Message() << "field #" << g.field << " at version " << version);
      std::vector<FieldValue> fields = SlotFields();
      fields[g.field - 1].value = 31;  // distinct from every other field and from the upgrade
      m_dir.WriteFile(SlotPath(kFixtureSlot), PlainSlot(version, fields));
      // Values of an earlier play never survive into a file that lacks them.
      PlayData.m_bStageBgmLoop = PlayData.m_bHeroStart = PlayData.m_nHeroStartX = PlayData.m_nHpSum = 77;
      ASSERT_TRUE(PlayData.LoadSlot(kFixtureSlot));
      const int32_t* numbers[] = {
          &PlayData.m_nHpSum,       &PlayData.m_nSpSum,      nullptr, nullptr, &PlayData.m_bStageBgmLoop,
          &PlayData.m_nWalkDir,     &PlayData.m_bBackFromRetry, &PlayData.m_nPrevCellX, &PlayData.m_nPrevCellY,
          nullptr,                  nullptr,                 &PlayData.m_bAutoSave, nullptr, nullptr,
          &PlayData.m_bHeroStart,   &PlayData.m_nHeroStartX, &PlayData.m_nHeroStartY, &PlayData.m_nHeroStartDir};
      EXPECT_EQ(*numbers[g.field - 15], version >= g.version ? 31 : g.before);
      EXPECT_EQ(PlayData.m_nRankingCat, 4);  // a field after every gate but the last ones
      EXPECT_EQ(PlayData.m_strRankingName, "ABC");
    }
  }
}

TEST_F(SaveFile, OlderFilesLackTheReservedTextAndTheCarriedFlags) {
  struct Case {
    int version;
    bool carriedStored;
    std::string reserved;
  };
  for (const Case& c : {Case{500, false, ""}, Case{501, true, ""}, Case{723, true, ""}, Case{724, true, "r"}}) {
    SCOPED_TRACE(c.version);
    Bytes b;
    PutSlotHead(b, c.version, SlotFields(), "x.", "r", "ABC");
    PutTime(b, FixtureTime());
    if (c.version > 500) PutInts(b, FixtureCarried());
    b.u32(0).u32(0).u32(0).u32(0).u32(0);
    m_dir.WriteFile(SlotPath(kFixtureSlot), b.s);
    ASSERT_TRUE(PlayData.LoadSlot(kFixtureSlot));
    EXPECT_EQ(Ints(PlayData.m_vCarried),
              c.carriedStored ? FixtureCarried() : std::vector<int32_t>(CARRY_ITEM_COUNT, 1));
    EXPECT_EQ(PlayData.m_strReserved, c.reserved);
    EXPECT_EQ(PlayData.m_strRankingName, "ABC");
  }
}

TEST_F(SaveFile, ALoadedRecordHoldsEveryListTheGameIndexes) {
  // Lists of other lengths, no hero status, a category and a map cell outside
  // their ranges.
  std::vector<FieldValue> fields = SlotFields();
  fields[1].value = -3;   // map x
  fields[2].value = 15;   // map y: the map is 15 high
  fields[27].value = 5;   // ranking category
  fields[23].value = 9;   // unlocked: more than the 3 challenge stages
  Bytes b;
  PutSlotHead(b, 734, fields, "x.", "", "ABC");
  PutTime(b, FixtureTime());
  PutInts(b, {1, 1});
  b.u32(0).u32(0);
  b.u32(1).u32(2).i32(1).i32(10).u32(0);
  PutInts(b, {0, 1});
  PutInts(b, std::vector<int32_t>(300, 4));
  m_dir.WriteFile(SlotPath(2), b.s);
  ASSERT_TRUE(PlayData.LoadSlot(2));
  EXPECT_EQ(PlayData.m_nSlot, 2);
  EXPECT_EQ(PlayData.m_vCarried.Size(), CARRY_ITEM_COUNT);
  EXPECT_EQ(PlayData.m_vHeroStatus.Size(), 1);
  EXPECT_EQ(PlayData.m_vStageClear.Size(), STAGE_CLEAR_FLAG_COUNT);
  EXPECT_EQ(PlayData.m_vStageClear[1], 1);
  EXPECT_EQ(PlayData.m_vCommonVar.Size(), COMMON_VAR_COUNT);
  EXPECT_EQ(PlayData.m_vChallenge.Size(), kFixtureChallenges);
  EXPECT_EQ(PlayData.m_vChallenge[0].m_nBestScore, 10);
  EXPECT_EQ(std::make_tuple(PlayData.m_nMapX, PlayData.m_nMapY, PlayData.m_nRankingCat, PlayData.m_nUnlocked),
            std::make_tuple(9, 7, 0, 3));
}

TEST_F(SaveFile, ADamagedSlotIsUnusedAndNeverTaken) {
  const std::string fixture = FixtureSlot();
  PlayData.m_nTotalScore = 4242;
  PlayData.m_strStagePath = "live.";
  const std::string before = Saved(PlayData);
  const int slot = 6;

  ForEveryCut(SlotPath(slot), fixture, [&](size_t length) {
    if (PlayData.LoadSlot(slot)) ADD_FAILURE() << "a slot cut at " << length << " bytes loaded";
  });
  EXPECT_EQ(Saved(PlayData), before);

  // Counts past the file or past the record's layout.
  Bytes head;
  PutSlotHead(head, 734, SlotFields(), "data\\stg4\\c01.", "rsv", "ABC");
  const std::string tail = fixture.substr(head.s.size());
  std::vector<FieldValue> fields = SlotFields();
  fields.push_back({4, 0, 0});
  Bytes moreNumbers;
  PutSlotHead(moreNumbers, 734, fields, "data\\stg4\\c01.", "rsv", "ABC");
  fields.resize(31);
  Bytes fewerNumbers;
  PutSlotHead(fewerNumbers, 734, fields, "data\\stg4\\c01.", "rsv", "ABC");
  std::string moreStrings = fixture;
  moreStrings.replace(4 + 4 + 32 * 4, 4, std::string("\x04\0\0\0", 4));
  const size_t heroCount = head.s.size() + 16 + 4 + CARRY_ITEM_COUNT * 4;
  std::string heroCountPast = fixture;
  heroCountPast.replace(heroCount, 4, std::string("\xFF\xFF\x00\x00", 4));
  std::string heroNumbers = fixture;
  heroNumbers.replace(heroCount + 4, 4, std::string("\x06\0\0\0", 4));
  const std::string damaged[] = {moreNumbers.s + tail, fewerNumbers.s + tail, moreStrings, heroCountPast,
                                 heroNumbers};
  for (const std::string& bytes : damaged) {
    m_dir.WriteFile(SlotPath(slot), bytes);
    EXPECT_FALSE(PlayData.LoadSlot(slot));
  }
  EXPECT_EQ(Saved(PlayData), before);
  EXPECT_NE(Report().find("damaged"), std::string::npos);

  // The scan: a cut slot, a slot of bad counts, a folder, a whole slot.
  m_dir.WriteFile(SlotPath(0), fixture.substr(0, fixture.size() - 1));
  m_dir.WriteFile(SlotPath(1), heroNumbers);
  m_dir.WriteFile("user_data/story/Story05.dat/inner", "x");
  m_dir.WriteFile(SlotPath(5), fixture);
  cVector<cSaveSlotInfo> scanned;
  ScanSaveSlots(scanned);
  EXPECT_EQ(std::make_tuple(scanned[0].m_bUsed, scanned[1].m_bUsed, scanned[4].m_bUsed, scanned[5].m_bUsed),
            std::make_tuple(0, 0, 0, 1));
  EXPECT_FALSE(PlayData.LoadSlot(4));
  EXPECT_EQ(Saved(PlayData), before);
  EXPECT_TRUE(NoCloseRequest());
  EXPECT_EQ(Report().find("err V"), std::string::npos);
}

TEST_F(SaveFile, ChallengeDatLoadsWithTheChallengeLivesRuleAndSaves) {
  EXPECT_FALSE(PlayData.LoadChallenge());  // none yet
  PlayData.m_nLives = LIVES_INFINITE;
  PlayData.m_vChallenge.resize(3);
  PlayData.m_vChallenge[1].m_nBestScore = 900;
  ASSERT_TRUE(PlayData.SaveChallenge());
  EXPECT_TRUE(m_dir.Exists("user_data/challenge/Challenge.dat"));
  PlayData.Reset();
  ASSERT_TRUE(PlayData.LoadChallenge());
  EXPECT_EQ(PlayData.m_nLives, 3);  // stored infinite lives become the challenge start lives
  EXPECT_EQ(PlayData.m_vChallenge[1].m_nBestScore, 900);
  SystemData.m_vInfiniteLives[PLAYKIND_CHALLENGE] = 1;
  ASSERT_TRUE(PlayData.LoadChallenge());
  EXPECT_EQ(std::make_pair(PlayData.m_nStartLives, PlayData.m_nLives),
            std::make_pair(LIVES_INFINITE, LIVES_INFINITE));
}

TEST_F(SaveFile, AFailedWriteKeepsTheOldFileAndSummaryAndSaysSo) {
  plat::FakeLocalTime clock(FixtureTime());
  ASSERT_TRUE(PlayData.SaveSlot(3));
  ASSERT_TRUE(PlayData.SaveChallenge());
  const std::string oldSlot = m_dir.ReadFile(SlotPath(3));
  const std::string oldChallenge = m_dir.ReadFile("user_data/challenge/Challenge.dat");
  clock.Set({2030, 1, 2, 1, 0, 0, 0, 0});
  PlayData.m_nTotalScore = 5;
  {
    DiskFullAfter full(4096);  // both files are longer
    EXPECT_FALSE(PlayData.SaveSlot(3));
    EXPECT_FALSE(PlayData.SaveChallenge());
  }
  EXPECT_EQ(m_dir.ReadFile(SlotPath(3)), oldSlot);
  EXPECT_EQ(m_dir.ReadFile("user_data/challenge/Challenge.dat"), oldChallenge);
  EXPECT_EQ(SlotSummary[3].m_Time, FixtureTime());
  const std::string report = Report();
  EXPECT_NE(report.find("Story04.dat : could not be written"), std::string::npos) << report;
  EXPECT_NE(report.find("Challenge.dat : could not be written"), std::string::npos) << report;
}
