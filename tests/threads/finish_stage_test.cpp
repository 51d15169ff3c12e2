// Where a cleared stage leads, decided on a real game thread while this
// thread pumps the main window: the next area of a numbered stage (its
// newest file loaded, the replays cleared), or by the game mode the world
// map, the stage select, the title or the same stage, with the results kept
// in the progress record and Challenge.dat.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "game/characters.h"
#include "game/game.h"
#include "game/menu_cursor.h"
#include "platform/host_path.h"
#include "records/path_table.h"
#include "records/replay_input.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/started_by_editor.h"
#include "records/system.h"
#include "records/world_map.h"
#include "stage/scene_stage.h"
#include "support/builders.h"
#include "support/stage_runner.h"
#include "tools/sample/sample_stages.h"

using namespace testsupport;

namespace {

struct FinishCase {
  const char* what;
  int mode = GAMEMODE_CONTINUE;
  int numbered = 1;
  int nextArea = 0;
  const char* nextFile = "";            // the stage-clear command's file, "" none
  std::vector<std::string> files;       // written into data\stg4 as copies of area 1
  int testPlay = 0;
  int routeAction = 0;
  int stageNo = 2;                      // story: the flag; challenge: 1-based
  int unlocked = 1;
  int best = 0;                         // the challenge stage's best score
  bool challengeFolder = true;
  // Expected.
  int scene = SCENE_WORLDMAP;
  int area = 1;
  const char* loaded = "";              // the file loaded for the next area
  bool replaysCleared = false;
  int stageCleared = 0;
  int round = 0;
  int tally = -1;                       // the stage's tally; -1 none
  int challengeCleared = 0, bestAfter = 0, bestTotal = 500, unlockedAfter = 1;
  bool challengeFile = false;
  int titleRow = -1;
};

const int kFinishTotal = 300;

void RunFinishCases(const std::vector<FinishCase>& cases) {
  const std::string stg = "data\\stg4\\";
  for (const FinishCase& c : cases) {
    SCOPED_TRACE(c.what);
    StageRunner::Options options;
    options.project = StageRunner::Project::Sample;
    options.gameThread = true;
    StageRunner run(options);
    run.Events().AllowCloseRequests(false);
    ASSERT_TRUE(run.LoadSampleStage(0));
    Game.m_nPlayCommand = c.mode;
    Game.m_nPlayKind = c.mode == GAMEMODE_CHALLENGE ? PLAYKIND_CHALLENGE
                       : c.mode == GAMEMODE_FREE    ? PLAYKIND_FREE
                       : c.mode == GAMEMODE_REPLAY  ? PLAYKIND_REPLAY
                                                    : PLAYKIND_STORY;
    ASSERT_TRUE(run.EnterPlay());
    cSceneStage* scene = run.Scene();
    std::string area1;
    ASSERT_TRUE(plat::ReadWholeFile(SampleStageName(0) + "_000", area1));
    for (const std::string& f : c.files) ASSERT_TRUE(plat::WriteFileAtomic(stg + f, area1.data(), area1.size()));
    ASSERT_TRUE(plat::CreateDirectory("user_data"));
    // A file where the folder should be: Challenge.dat cannot be written.
    if (!c.challengeFolder) { ASSERT_TRUE(plat::WriteFileAtomic("user_data\\challenge", "x", 1)); }

    PlayData.SetStagePath(SampleStageName(0));
    PlayData.m_bNumberedStage = c.numbered;
    PlayData.m_nAreaNo = 1;
    PlayData.m_nStageNo = c.stageNo;
    PlayData.m_nTotalScore = 11;  // at the stage's start
    PlayData.m_nBestTotal = 500;
    PlayData.m_nUnlocked = c.unlocked;
    PlayData.m_bHeroStart = 1;
    PlayData.TakeStageStartSnapshot();
    PlayData.m_nTotalScore = kFinishTotal;
    SystemData.m_nChallengeStages = 3;
    PlayData.m_vChallenge.resize(3);
    PlayData.m_vChallenge[0].m_nBestScore = c.best;
    WorldMap.m_vNode.assign(1, cEdWorldNode());
    WorldMap.m_vNode[0].m_vRoute[0].m_nAfterClear = c.routeAction;
    PlayData.SetEnteredRoute(0, 0);
    Replay.m_vDirValues = {1};
    ReplayPrev.m_vDirValues = {2};
    scene->m_nNextStage = c.nextArea;
    scene->m_strNextStage = c.nextFile;
    bTestPlay = c.testPlay;
    MenuCursor.Cur()->nRow = -1;
    const std::string pathBefore = Stage.m_strPath;

    int next = -1;
    run.OnGameThread([&] { next = scene->FinishStage(); });
    EXPECT_EQ(next, c.scene);
    EXPECT_EQ(PlayData.m_nAreaNo, c.area);
    EXPECT_EQ(Stage.m_strPath, *c.loaded ? stg + c.loaded : pathBefore);
    EXPECT_EQ(Replay.m_vDirValues.empty(), c.replaysCleared);
    EXPECT_EQ(ReplayPrev.m_vDirValues.empty(), c.replaysCleared);
    if (c.mode <= GAMEMODE_CONTINUE) {
      EXPECT_EQ(PlayData.m_vStageClear[c.stageNo], c.stageCleared);
      EXPECT_EQ(PlayData.m_nRound, c.round);
      EXPECT_EQ(PlayData.FindStageTally(PlayData.m_strStagePath.c_str()), c.tally < 0 ? 0 : c.tally);
    }
    EXPECT_EQ(PlayData.m_vChallenge[std::min(std::max(0, c.stageNo - 1), 2)].m_bCleared, c.challengeCleared);
    if (c.mode == GAMEMODE_CHALLENGE) {
      EXPECT_EQ(PlayData.m_vChallenge[c.stageNo - 1].m_nBestScore, c.bestAfter ? c.bestAfter : c.best);
      EXPECT_EQ(PlayData.m_nBestTotal, c.bestTotal);
      EXPECT_EQ(PlayData.m_nUnlocked, c.unlockedAfter);
    }
    EXPECT_EQ(plat::PathExists(PathTable[42]), c.challengeFile);
    if (c.mode == GAMEMODE_FREE && c.scene == SCENE_STAGE && !*c.loaded) { EXPECT_EQ(PlayData.m_bHeroStart, 0); }
    if (c.mode == GAMEMODE_REPLAY) { EXPECT_EQ(PlayData.m_nTotalScore, 11) << "the snapshot's score"; }
    if (c.titleRow >= 0) { EXPECT_EQ(MenuCursor.Cur()->nRow, c.titleRow); }
    bTestPlay = 0;
    WorldMap.m_vNode.clear();
  }
}

}  // namespace

TEST(FinishStage, AStoryStageLeadsToItsNextAreaOrTheWorldMapOrTheTitleAndKeepsItsClear) {
  RunFinishCases({
      {.what = "story: back to the world map", .stageCleared = 1, .tally = kFinishTotal},
      {.what = "story: a route that ends the round starts the next",
       .routeAction = 1, .stageCleared = 0, .round = 1, .tally = kFinishTotal},
      {.what = "story: a route back to the title", .routeAction = 2, .scene = SCENE_TITLE, .stageCleared = 1,
       .tally = kFinishTotal, .titleRow = GAMEMODE_CONTINUE},
      {.what = "story: the next area's newest file", .nextArea = 2,
       .files = {"s01-2.stg4_000", "s01-2.stg4_003"}, .scene = SCENE_STAGE, .area = 2,
       .loaded = "s01-2.stg4_003", .replaysCleared = true},
      {.what = "story: a named next stage", .nextArea = 1, .nextFile = "data\\stg4\\bonus.",
       .files = {"bonus.stg4_001"}, .scene = SCENE_STAGE, .area = 1, .loaded = "bonus.stg4_001",
       .replaysCleared = true},
      {.what = "story: a next area without its file is the last", .nextArea = 2, .stageCleared = 1, .tally = kFinishTotal},
      {.what = "story: a stage outside a series has no next area", .numbered = 0, .nextArea = 2,
       .files = {"s01-2.stg4_000"}, .stageCleared = 1, .tally = kFinishTotal},
  });
}

TEST(FinishStage, AChallengeStageKeepsItsBestAndUnlocksTheNextAndWritesChallengeDat) {
  RunFinishCases({
      {.what = "challenge: cleared, a new best, the next stage unlocked", .mode = GAMEMODE_CHALLENGE, .stageNo = 1,
       .best = 100, .scene = SCENE_STAGESELECT, .challengeCleared = 1, .bestAfter = kFinishTotal,
       .bestTotal = 500 + kFinishTotal - 100, .unlockedAfter = 2, .challengeFile = true},
      {.what = "challenge: below the best", .mode = GAMEMODE_CHALLENGE, .stageNo = 1, .unlocked = 3, .best = 900,
       .scene = SCENE_STAGESELECT, .challengeCleared = 1, .bestAfter = 900, .unlockedAfter = 3,
       .challengeFile = true},
      {.what = "challenge: the last stage unlocks no further", .mode = GAMEMODE_CHALLENGE, .stageNo = 3,
       .unlocked = 3, .scene = SCENE_STAGESELECT, .challengeCleared = 1, .bestAfter = kFinishTotal,
       .bestTotal = 500 + kFinishTotal, .unlockedAfter = 3, .challengeFile = true},
      {.what = "challenge: Challenge.dat that cannot be written", .mode = GAMEMODE_CHALLENGE, .stageNo = 1,
       .challengeFolder = false, .scene = SCENE_STAGESELECT, .challengeCleared = 1, .bestAfter = kFinishTotal,
       .bestTotal = 500 + kFinishTotal, .unlockedAfter = 2},
      {.what = "challenge: the next area", .mode = GAMEMODE_CHALLENGE, .nextArea = 2, .files = {"s01-2.stg4_000"},
       .stageNo = 1, .scene = SCENE_STAGE, .area = 2, .loaded = "s01-2.stg4_000", .replaysCleared = true},
  });
}

TEST(FinishStage, FreePlayAReplayAndTheOtherModesLeadWhereTheyShould) {
  RunFinishCases({
      {.what = "free: a stage outside a series again", .mode = GAMEMODE_FREE, .numbered = 0, .nextArea = 2,
       .files = {"s01-2.stg4_000"}, .scene = SCENE_STAGE},
      {.what = "free: test play plays the same area again", .mode = GAMEMODE_FREE, .nextArea = 2,
       .files = {"s01-2.stg4_000"}, .testPlay = 1, .scene = SCENE_STAGE},
      {.what = "free: the next area", .mode = GAMEMODE_FREE, .nextArea = 2, .files = {"s01-2.stg4_000"},
       .scene = SCENE_STAGE, .area = 2, .loaded = "s01-2.stg4_000", .replaysCleared = true},
      {.what = "free: after the last area the title", .mode = GAMEMODE_FREE, .nextArea = 2,
       .scene = SCENE_TITLE},
      {.what = "a replay plays again", .mode = GAMEMODE_REPLAY, .nextArea = 2, .files = {"s01-2.stg4_000"},
       .scene = SCENE_STAGE},
      {.what = "the options' mode leads to the stage select", .mode = GAMEMODE_OPTION, .scene = SCENE_STAGESELECT},
  });
}

TEST(FinishStage, AStageThatKeepsTheHeroStoresItsStatus) {
  StageRunner::Options options;
  options.project = StageRunner::Project::Sample;
  options.gameThread = true;
  StageRunner run(options);
  ASSERT_TRUE(run.LoadSampleStage(0));
  Game.m_nPlayCommand = GAMEMODE_FREE;
  Game.m_nPlayKind = PLAYKIND_FREE;
  ASSERT_TRUE(run.EnterPlay());
  for (int keep : {0, 1}) {
    SCOPED_TRACE(keep);
    Stage.m_bKeepHeroStatus = keep;
    PlayData.m_bHeroStored = 0;
    PlayData.m_vCarried.assign(CARRY_ITEM_COUNT, 0);
    SystemData.m_vCarry.assign(CARRY_ITEM_COUNT, 1);
    Hero()->m_nHp = 7;
    run.Scene()->m_nTimeLeft = 42;
    run.OnGameThread([&] { run.Scene()->FinishStage(); });
    EXPECT_EQ(PlayData.m_bHeroStored, keep);
    if (keep) {
      EXPECT_EQ(PlayData.m_vHeroStatus[0].m_nHp, 7);
      EXPECT_EQ(PlayData.m_vHeroStatus[0].m_nTime, 42);
    }
  }
}

TEST(FinishStage, TheNextAreasFileIsTheNewestOfItsNameAndOnlyTheDotIsCut) {
  struct NameCase {
    const char* what;
    int numbered, area;
    const char* stagePath;
    const char* nextFile;
    int found;
    const char* name;
  };
  const NameCase cases[] = {
      {"the series' next area", 1, 2, "data\\stg4\\s01.", "", 1, "data\\stg4\\s01-2.stg4_003"},
      {"an area without a file", 1, 3, "data\\stg4\\s01.", "", 0, ""},
      {"outside a series", 0, 2, "data\\stg4\\s01.", "", 0, ""},
      {"area 0 is none", 1, 0, "data\\stg4\\s01.", "", 0, ""},
      {"a named stage", 1, 5, "data\\stg4\\s01.", "data\\stg4\\bonus.", 1, "data\\stg4\\bonus.stg4_001"},
      {"a name without its dot keeps its last letter", 1, 5, "data\\stg4\\s01.", "data\\stg4\\bonus", 1,
       "data\\stg4\\bonus.stg4_001"},
      {"an empty stage path", 1, 2, "", "", 0, ""},
  };
  StageRunner::Options options;
  options.gameThread = true;
  StageRunner run(options);
  MapBuilder map({"..H.", "####"});
  map.Build();
  map.PlaceCharas('H', CharaDef().PlayerOperated());
  run.TakeStage();
  ASSERT_TRUE(run.EnterPlay());
  ASSERT_TRUE(plat::CreateDirectory("data"));
  ASSERT_TRUE(plat::CreateDirectory("data\\stg4"));
  for (const char* f : {"s01-2.stg4_000", "s01-2.stg4_003", "bonus.stg4_001", "bonu.stg4_000"})
    ASSERT_TRUE(plat::WriteFileAtomic(std::string("data\\stg4\\") + f, "x", 1));
  cSceneStage* scene = run.Scene();
  for (const NameCase& c : cases) {
    SCOPED_TRACE(c.what);
    PlayData.m_bNumberedStage = c.numbered;
    PlayData.m_strStagePath = c.stagePath;
    scene->m_strNextStage = c.nextFile;
    std::string name = "old";
    int found = -1, last = -1;
    run.OnGameThread([&] {
      found = scene->MakeNextAreaName(name, c.area);
      last = scene->IsLastArea(c.area);
    });
    EXPECT_EQ(found, c.found);
    EXPECT_EQ(name, c.name);
    EXPECT_EQ(last, 1 - c.found);
  }
}
