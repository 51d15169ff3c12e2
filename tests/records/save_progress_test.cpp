// What the progress record does between files: the lives rule, keeping it
// within the project, stage paths and tallies, the stage-start snapshot, the
// next round and the ranking category.
#include <gtest/gtest.h>

#include <tuple>

#include "records/save_bytes.h"
#include "records/started_by_editor.h"

namespace {

using Progress = SaveTest;

}  // namespace

TEST_F(Progress, FreshProgress) {
  PlayData.m_nTotalScore = 9;
  PlayData.m_vCommonVar.resize(3);
  PlayData.m_vTally.resize(2);
  PlayData.Reset();
  EXPECT_EQ(std::make_tuple(PlayData.m_nTotalScore, PlayData.m_nUnlocked, PlayData.m_nSlot, PlayData.m_strRankingName),
            std::make_tuple(0, 1, -1, std::string("aaa")));
  EXPECT_EQ(PlayData.m_vCarried, cVector<int32_t>(CARRY_ITEM_COUNT, 0));
  EXPECT_EQ(PlayData.m_vHeroStatus.Size(), 1);
  EXPECT_EQ(PlayData.m_vStageClear.Size(), STAGE_CLEAR_FLAG_COUNT);
  EXPECT_EQ(std::make_pair(PlayData.m_vStageClear[0], PlayData.m_vStageClear[1]), std::make_pair(1, 0));
  EXPECT_EQ(PlayData.m_vCommonVar, cVector<int32_t>(COMMON_VAR_COUNT, 0));
  EXPECT_TRUE(PlayData.m_vTally.empty() && PlayData.m_vChallenge.empty());
}

TEST_F(Progress, LivesRuleAfterALoad) {
  struct Case {
    int kind;
    int32_t infinite;
    int32_t stored;
    int32_t startLives, lives;
  };
  const Case cases[] = {
      {PLAYKIND_STORY, 1, 3, LIVES_INFINITE, LIVES_INFINITE},
      {PLAYKIND_STORY, 0, LIVES_INFINITE, 8, 5},  // saved while infinite: the kind's start lives
      {PLAYKIND_STORY, 0, 3, 8, 3},
      {PLAYKIND_CHALLENGE, 0, LIVES_INFINITE, 8, 3},
      {PLAYKIND_CHALLENGE, 1, 0, LIVES_INFINITE, LIVES_INFINITE},
  };
  for (const Case& c : cases) {
    SystemData.m_vInfiniteLives.Fill(0);
    SystemData.m_vInfiniteLives[c.kind] = c.infinite;
    PlayData.m_nStartLives = 8;
    PlayData.m_nLives = c.stored;
    PlayData.ApplyLivesRule(c.kind);
    EXPECT_EQ(std::make_pair(PlayData.m_nStartLives, PlayData.m_nLives), std::make_pair(c.startLives, c.lives))
        << "kind " << c.kind << ", infinite " << c.infinite << ", stored " << c.stored;
  }
}

TEST_F(Progress, NormalizeKeepsTheRecordWithinTheProject) {
  struct Case {
    int32_t x, y, unlocked;
    int challenges;
    int32_t wantX, wantY, wantUnlocked;
  };
  const Case cases[] = {
      {19, 14, 2, 3, 19, 14, 2},  // the last cell
      {20, 14, 3, 3, 9, 14, 3},   // past the width: the start column
      {0, 15, 5, 3, 0, 7, 3},     // past the height; more unlocked than stages
      {-1, -5, 1, 0, 9, 7, 0},    // negative; no challenge stages
  };
  for (const Case& c : cases) {
    SystemData.m_nChallengeStages = c.challenges;
    PlayData.m_nMapX = c.x;
    PlayData.m_nMapY = c.y;
    PlayData.m_nUnlocked = c.unlocked;
    PlayData.m_vChallenge.resize(2);
    PlayData.m_vChallenge[1].m_nBestScore = 600;
    PlayData.Normalize();
    EXPECT_EQ(std::make_tuple(PlayData.m_nMapX, PlayData.m_nMapY, PlayData.m_nUnlocked),
              std::make_tuple(c.wantX, c.wantY, c.wantUnlocked))
        << c.x << "," << c.y;
    ASSERT_EQ(PlayData.m_vChallenge.Size(), c.challenges);
    if (c.challenges == 3)
      EXPECT_EQ(std::make_tuple(PlayData.m_vChallenge[1].m_nBestScore, PlayData.m_vChallenge[2].m_bCleared,
                                PlayData.m_vChallenge[2].m_nBestScore),
                std::make_tuple(600, 0, 0));
  }
}

TEST_F(Progress, StagePathBaseForm) {
  struct Case {
    const char* name;
    std::string path;
    int32_t numbered;
  };
  const Case cases[] = {
      {"data\\stg4\\c01-1.stg4_003", "data\\stg4\\c01.", 1},
      {"data\\stg4\\boss.stg4_000", "data\\stg4\\boss.", 0},
      {"c01-2.stg4_000", "c01-2.", 0},
      {"a-1b-1.x", "a-1b.", 1},
      {"noext", "", 0},
      {"", "", 0},
      {nullptr, "", 0},
      {"data\\v-1\\boss.stg4_000", "data\\v-1\\boss.", 0},  // "-1" of a folder
      {"data.old\\boss", "", 0},                            // "." of a folder
      {"data\\\x83\x5C-1.stg4", "data\\\x83\x5C.", 1},      // a trail byte 0x5C is no separator
      {"data\\\x83\x5C.stg4", "data\\\x83\x5C.", 0},
  };
  for (const Case& c : cases) {
    PlayData.m_bNumberedStage = 7;
    PlayData.SetStagePath(c.name);
    EXPECT_EQ(std::make_pair(PlayData.m_strStagePath, PlayData.m_bNumberedStage), std::make_pair(c.path, c.numbered))
        << (c.name ? c.name : "(null)");
  }
}

TEST_F(Progress, TalliesKeepTheBestValueAndRaiseTheBestTotal) {
  PlayData.m_nBestTotal = 1000;
  struct Step {
    const char* stage;
    int32_t value;
    int32_t best;
  };
  const Step steps[] = {
      {"c01.", 300, 1300}, {"c01.", 200, 1300}, {"c01.", 500, 1500}, {"C01.", 50, 1550},  // names are exact
      {"c02.", INT32_MAX, INT32_MAX},                                                     // clamped
  };
  for (const Step& s : steps) {
    PlayData.AddStageTally(s.stage, s.value);
    EXPECT_EQ(PlayData.m_nBestTotal, s.best) << s.stage << " " << s.value;
  }
  EXPECT_EQ(std::make_tuple(PlayData.FindStageTally("c01."), PlayData.FindStageTally("C01."),
                            PlayData.FindStageTally("c03."), PlayData.m_vTally.Size()),
            std::make_tuple(500, 50, 0, 3));

  // The world map's stages only: c01 and c02 have entrances, C01 has none.
  WorldMap.m_vNode.resize(1);
  WorldMap.m_vNode[0].m_vRoute.resize(3);
  WorldMap.m_vNode[0].m_vRoute[0].m_strStageFile = "c01-1.stg4";
  WorldMap.m_vNode[0].m_vRoute[1].m_strStageFile = "c02.stg4";
  WorldMap.m_vNode[0].m_vRoute[2].m_strStageFile = "C01-1.stg4";
  WorldMap.m_vNode[0].m_vRoute[2].m_nKind = 2;  // a road, not an entrance
  PlayData.SumMapTallies();
  EXPECT_EQ(PlayData.m_nBestTotal, INT32_MAX);
  PlayData.m_vTally[2].m_nValue = 7;
  PlayData.SumMapTallies();
  EXPECT_EQ(PlayData.m_nBestTotal, 507);
}

TEST_F(Progress, StageStartSnapshotByPlayKind) {
  struct Case {
    int full;
    int kind;
    int testPlay;
    bool varsBack;
  };
  // Restore-on-death flags: story on, challenge off, free on, test play off.
  SystemData.m_bResetVarsStory = 1;
  SystemData.m_bResetVarsChallenge = 0;
  SystemData.m_bResetVarsFree = 1;
  SystemData.m_bResetVarsTestPlay = 0;
  const Case cases[] = {
      {1, PLAYKIND_CHALLENGE, 0, true},  {0, PLAYKIND_STORY, 0, true}, {0, PLAYKIND_CHALLENGE, 0, false},
      {0, PLAYKIND_FREE, 0, true},       {0, PLAYKIND_FREE, 1, false}, {0, PLAYKIND_REPLAY, 0, true},
      {0, PLAYKIND_REPLAY, 1, true},
  };
  for (const Case& c : cases) {
    PlayData.Reset();
    PlayData.m_nLives = 4;
    PlayData.m_nTotalScore = 100;
    PlayData.m_vCommonVar[3] = 30;
    // Nothing to restore before the first snapshot.
    PlayData.RestoreStageStartSnapshot(c.full, c.kind);
    EXPECT_EQ(std::make_tuple(PlayData.m_nLives, PlayData.m_nTotalScore, PlayData.m_vCommonVar[3]),
              std::make_tuple(4, 100, 30));
    PlayData.TakeStageStartSnapshot();
    PlayData.m_nLives = 2;
    PlayData.m_nTotalScore = 900;
    PlayData.m_vCommonVar[3] = 31;
    bTestPlay = c.testPlay;
    PlayData.RestoreStageStartSnapshot(c.full, c.kind);
    bTestPlay = 0;
    EXPECT_EQ(std::make_tuple(PlayData.m_nLives, PlayData.m_nTotalScore, PlayData.m_vCommonVar[3]),
              std::make_tuple(c.full ? 4 : 2, 100, c.varsBack ? 30 : 31))
        << "full " << c.full << ", kind " << c.kind << ", test play " << c.testPlay;
  }
}

TEST_F(Progress, NextRoundClearsTheStagesAndReturnsToTheStart) {
  PlayData.m_nRound = 2;
  PlayData.m_vStageClear[5] = 1;
  PlayData.m_nMapX = 3;
  PlayData.m_nMapY = 4;
  PlayData.StartNextRound();
  EXPECT_EQ(std::make_tuple(PlayData.m_nRound, PlayData.m_nMapX, PlayData.m_nMapY), std::make_tuple(3, 9, 7));
  EXPECT_EQ(PlayData.m_vStageClear, cVector<int32_t>(STAGE_CLEAR_FLAG_COUNT, 0));  // flag 0 too
  PlayData.m_nRound = INT32_MAX;
  PlayData.StartNextRound();
  EXPECT_EQ(PlayData.m_nRound, INT32_MAX);
}

TEST_F(Progress, RankingCategoryMovesOverTheEnabledOnes) {
  struct Case {
    std::vector<uint8_t> enabled;
    int32_t from;
    int steps;
    int32_t to;
  };
  const Case cases[] = {
      {{1, 1, 1, 1, 1}, 4, 1, 0},       {{1, 1, 1, 1, 1}, 0, -1, 4},      {{1, 0, 1, 0, 1}, 0, 2, 4},
      {{1, 0, 1, 0, 1}, 4, 1, 0},       {{1, 0, 1, 0, 1}, 0, -1, 4},      {{1, 0, 1, 0, 1}, 1, 0, 2},
      {{1, 0, 1, 0, 1}, 2, 0, 2},       {{0, 0, 1, 0, 0}, 2, 1, 2},       {{0, 0, 1, 0, 0}, 0, -3, 2},
      {{0, 0, 1, 0, 0}, 4, 0, 2},       {{0, 0, 0, 0, 0}, 3, 1, 3},       {{0, 1, 0, 1, 0}, 3, 1000001, 1},
      {{0, 1, 0, 1, 0}, 3, INT32_MIN, 3},
  };
  for (const Case& c : cases) {
    SystemData.m_vRankingModes[PLAYKIND_FREE].m_vCategories = cVector<uint8_t>(c.enabled.begin(), c.enabled.end());
    PlayData.m_nRankingCat = c.from;
    PlayData.CycleRankingCategory(PLAYKIND_FREE, c.steps);
    EXPECT_EQ(PlayData.m_nRankingCat, c.to) << "from " << c.from << " by " << c.steps;
  }
}
