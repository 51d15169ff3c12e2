// The stage set-up at every start: map cells, the hero and the view on it,
// the characters and items of the placements, the attack steps, the seed
// and the replays, the stage-start triggers, the trace in the debug log,
// and the set-ups that cannot go on.
#include <gtest/gtest.h>

#include <algorithm>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "base/crt_random.h"
#include "game/characters.h"
#include "game/game.h"
#include "game/map_cells.h"
#include "platform/clock.h"
#include "platform/message_box.h"
#include "records/command_vocab.h"
#include "records/condition.h"
#include "records/map_cell.h"
#include "records/replay_input.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/started_by_editor.h"
#include "records/system.h"
#include "stage/scene_stage.h"
#include "support/builders.h"
#include "support/game_world.h"

using namespace testsupport;

namespace {

class SetStageTest : public ::testing::Test {
 protected:
  void TearDown() override {
    Game.m_nPlayCommand = 0;
    Replay.Clear();
    ReplayPrev.Clear();
  }

  // Rows of the map with 'H' for the hero (player-operated) and 'e' for a
  // computer-operated character.
  void Build(const std::vector<std::string>& rows, const cEdChara& enemy = CharaDef()) {
    MapBuilder map(rows);
    map.Build(scene);
    map.PlaceCharas('H', CharaDef().PlayerOperated());
    map.PlaceCharas('e', enemy);
    StageCopy.CopySettingsFrom(Stage);
  }

  std::string ReportLog() const {
    std::ifstream in("Report_Game.txt");
    std::stringstream text;
    text << in.rdbuf();
    return text.str();
  }

  plat::FakeClock clock{12345};
  cSceneStage scene;
  GameWorld world{scene};
};

// A map w cells wide and h high with the hero at its top left.
std::vector<std::string> Rows(int w, int h) {
  std::vector<std::string> rows(static_cast<size_t>(h), std::string(static_cast<size_t>(w), '.'));
  rows[0][0] = 'H';
  return rows;
}

}  // namespace

TEST_F(SetStageTest, TheMapRowPitchIsThePowerOfTwoAboveWidthPlusNineteen) {
  struct Case {
    int width, pitch;
  } const cases[] = {{12, 32}, {13, 64}, {20, 64}, {44, 64}, {45, 128}};
  for (const Case& c : cases) {
    SCOPED_TRACE(c.width);
    std::vector<std::string> rows = Rows(c.width, 4);
    rows[3] = std::string(static_cast<size_t>(c.width), '#');
    Build(rows);
    scene.SetStage(0, 1);
    EXPECT_EQ(scene.m_ScrollX.m_nPitch, c.pitch);
    EXPECT_EQ(MapCell.Size(), c.pitch * (4 + 20));
    // The last block of the bottom row sits at (x + 10) + ((y + 10) << shift).
    const size_t last = static_cast<size_t>((c.width - 1 + 10) + ((3 + 10) << scene.m_ScrollX.m_nShift));
    EXPECT_EQ(MapCell[last].Block.m_nHit, BLOCKHIT_SOLID);
    EXPECT_EQ(MapCell[last + 1].Block.m_nHit, BLOCKHIT_NONE);
    EXPECT_EQ(MapCell[last].Block.m_nGraphic, 1);
  }
}

TEST_F(SetStageTest, ARestartGivesTheMapBackAsPlaced) {
  Build({"H...", "..#.", "####"});
  scene.SetStage(0, 1);
  const int shift = scene.m_ScrollX.m_nShift;
  auto cell = [&](int x, int y) -> MAPCELL& { return MapCell[static_cast<size_t>((x + 10) + ((y + 10) << shift))]; };
  // Play changed the map: a block summoned, one erased, one latched.
  cell(0, 1).Block = cell(2, 1).Block;
  cell(1, 2).Block.m_nGraphic = 0;
  cell(1, 2).Block.m_nHit = BLOCKHIT_NONE;
  cell(2, 1).bLatched = 1;
  cell(2, 1).Block.m_vConditions.resize(2);
  for (int width : {4, 5}) {
    SCOPED_TRACE(width);  // the same map, then one a row higher
    if (width == 5) Build({"H....", "..#..", "#####", "....."});
    scene.SetStage(1, 0);
    EXPECT_EQ(cell(0, 1).Block.m_nHit, BLOCKHIT_NONE);
    EXPECT_EQ(cell(0, 1).Block.m_nGraphic, 0);
    EXPECT_EQ(cell(1, 2).Block.m_nHit, BLOCKHIT_SOLID);
    EXPECT_EQ(cell(2, 1).bLatched, 0);
    EXPECT_TRUE(cell(2, 1).Block.m_vConditions.empty());
    EXPECT_EQ(cell(width - 1, 2).Block.m_nHit, BLOCKHIT_SOLID);
    EXPECT_EQ(cell(width, 2).Block.m_nHit, BLOCKHIT_NONE) << "the padding of a row is empty";
  }
}

TEST_F(SetStageTest, TheHeroStandsAtItsCellCentreWithTheViewOnIt) {
  struct Case {
    const char* what;
    int column, row, limitLeft, autoScroll;
    double viewX, viewY;
    int screenLeft;
  };
  // A 60 x 40 map; the hero's hit box is 16 x 24 at the cell's bottom
  // centre, so its left edge is the cell's + 8.5 and its top the cell's + 8.
  const Case cases[] = {
      {"near the top left, the view clamped to the map", 0, 0, -1, 0, 320, 320, 0},
      {"in the middle, the view centred", 30, 20, -1, 0, 328.5 + 960 - 320 + 8, 328 + 640 - 240 + 12, 304},
      {"at the far corner, the view clamped", 59, 39, -1, 0, 320 + 60 * 32 - 640, 320 + 40 * 32 - 480, 608},
      // Left of a scroll limit the hero stands left of the view: on an axis
      // that auto-scrolls its rectangle is its own (whole dots apart).
      {"left of the limit", 0, 0, 5, 0, 480, 320, -159},
      {"left of the limit, auto-scrolled", 0, 0, 5, 1, 480, 320, -160},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> rows(40, std::string(60, '.'));
    rows[static_cast<size_t>(c.row)][static_cast<size_t>(c.column)] = 'H';
    if (c.limitLeft >= 0) StageSettings().LimitLeft(c.limitLeft);
    if (c.autoScroll) StageSettings().AutoScrollX(0);
    Build(rows);
    scene.SetStage(0, 1);
    const cHero& hero = *Hero();
    EXPECT_EQ(hero.m_dStartX, (c.column + 10) * 32 + 16);
    EXPECT_EQ(hero.m_dStartY, (c.row + 10) * 32 + 16);
    EXPECT_EQ(hero.m_rcHit.dLeft, (c.column + 10) * 32 + 8.5);
    EXPECT_EQ(hero.m_rcHit.dTop, (c.row + 10) * 32 + 8);
    EXPECT_EQ(scene.m_ScrollX.m_dPos, c.viewX);
    EXPECT_EQ(scene.m_ScrollY.m_dPos, c.viewY);
    EXPECT_EQ(hero.m_rcScreen.nLeft, c.screenLeft);
    Stage.Reset();
  }
}

TEST_F(SetStageTest, AttackStepsAreSpreadOverTheFrame) {
  struct Case {
    int steps, hitChecks;
    std::vector<int32_t> hit;
  } const cases[] = {
      {10, 3, {1, 0, 0, 1, 0, 0, 1, 0, 0, 0}},
      {10, 4, {1, 0, 1, 0, 0, 1, 0, 1, 0, 0}},
      {10, 0, {1, 1, 1, 1, 1, 1, 1, 1, 1, 1}},
      {4, -2, {1, 1, 1, 1}},  // below 0 counts as 0
      {4, 4, {1, 1, 1, 1}},
      {3, 5, {1, 1, 1}},      // more checks than steps
      {1, 3, {1}},
      {10, 7, {1, 1, 1, 0, 1, 1, 0, 1, 1, 0}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.steps << " steps, " << c.hitChecks << " checks");
    const cVector<int32_t> hit = MakeHitSteps(c.steps, c.hitChecks);
    EXPECT_EQ(std::vector<int32_t>(hit.begin(), hit.end()), c.hit);
  }
  // The set-up takes them from the stage's speed level and hit checks.
  Build(Rows(4, 2));
  Stage.m_nSpeedLevel = 10;
  Stage.m_nHitChecks = 3;
  scene.SetStage(0, 1);
  EXPECT_EQ(std::vector<int32_t>(scene.m_vHitSteps.begin(), scene.m_vHitSteps.end()),
            (std::vector<int32_t>{1, 0, 0, 1, 0, 0, 1, 0, 0, 0}));
}

TEST_F(SetStageTest, TheSeedComesFromTheReplayTheClockOrStaysAsItWas) {
  struct Case {
    const char* what;
    int playCommand, record;
    int32_t seed;
  } const cases[] = {
      {"playback: the replay's seed", GAMEMODE_REPLAY, 1, 777},
      {"recording: the clock", GAMEMODE_FREE, 1, 12345},
      {"neither: the seed stays 0", GAMEMODE_FREE, 0, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    cSceneStage fresh;
    CurStage = &fresh;
    Build(Rows(4, 2));
    Game.m_nPlayCommand = c.playCommand;
    SystemData.m_bReplay = c.record;
    Replay.Clear();
    Replay.m_nSeed = 777;
    Replay.m_nDirIndex = Replay.m_nButtonIndex = Replay.m_nDirPos = Replay.m_nButtonPos = 3;
    fresh.SetStage(0, 1);
    EXPECT_EQ(fresh.m_nSeed, c.seed);
    const int first = crt::rand();
    crt::srand(static_cast<unsigned>(c.seed));
    EXPECT_EQ(first, crt::rand());
    if (c.playCommand == GAMEMODE_REPLAY) {
      EXPECT_EQ(Replay.m_nDirIndex + Replay.m_nButtonIndex + Replay.m_nDirPos + Replay.m_nButtonPos, 0);
    }
    CurStage = &scene;
  }
}

TEST_F(SetStageTest, RecordingMovesThisAttemptToThePreviousOneAtEachStart) {
  Build(Rows(4, 2));
  SystemData.m_bReplay = 1;
  Replay.m_nSeed = 5;
  Replay.m_vDirValues = {1, 2};
  Replay.m_vDirRuns = {10, 4};
  scene.SetStage(0, 1);
  EXPECT_EQ(ReplayPrev.m_nSeed, 5);
  EXPECT_EQ(ReplayPrev.m_vDirValues, (cVector<uint16_t>{1, 2}));
  EXPECT_TRUE(Replay.m_vDirValues.empty());
  EXPECT_EQ(Replay.m_nSeed, 12345);
  clock.Advance(100);
  scene.SetStage(1, 0);
  EXPECT_EQ(ReplayPrev.m_nSeed, 12345);
  EXPECT_TRUE(ReplayPrev.m_vDirValues.empty());
  EXPECT_EQ(Replay.m_nSeed, 12445);
}

TEST_F(SetStageTest, RecordingKeepsTheProgressAtTheStartOfThisAttemptAndOfThePreviousOne) {
  Build(Rows(4, 2));
  SystemData.m_bReplay = 1;
  PlayData.m_nTotalScore = 100;
  scene.SetStage(0, 1);
  EXPECT_EQ(ReplayStart.m_nTotalScore, 100);
  PlayData.m_nTotalScore = 250;
  PlayData.m_nLives = 4;
  scene.SetStage(1, 0);
  // The previous start is taken before the new one overwrites it.
  EXPECT_EQ(ReplayStartPrev.m_nTotalScore, 100);
  EXPECT_EQ(ReplayStart.m_nTotalScore, 250);
  EXPECT_EQ(ReplayStart.m_nLives, 4);
  // Without recording neither moves.
  SystemData.m_bReplay = 0;
  PlayData.m_nTotalScore = 900;
  scene.SetStage(1, 0);
  EXPECT_EQ(ReplayStartPrev.m_nTotalScore, 100);
  EXPECT_EQ(ReplayStart.m_nTotalScore, 250);
  ReplayStart.Reset();
  ReplayStartPrev.Reset();
}

TEST_F(SetStageTest, TheStageMusicIsAskedForUnlessItPlaysAlready) {
  struct Case {
    const char* what;
    int restart, keep, bgm, remembered;
    std::vector<std::string> music;  // "kind number" sent to the main window
  } const cases[] = {
      {"a start asks for it", 1, 0, 3, 3, {"4 3"}},
      {"a start keeps the music of the area before", 1, 1, 3, 3, {}},
      {"kept music must be another", 1, 1, 3, 2, {"4 3"}},
      {"no music is never kept: it stops what plays", 1, 1, 0, 0, {"4 0"}},
      {"a restart keeps the same music", 0, 0, 3, 3, {}},
      {"a restart after the music changed asks again", 0, 0, 3, 5, {"4 3"}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Build(Rows(4, 2));
    Stage.m_nBgm = c.bgm;
    Stage.m_bBgmKeep = c.keep;
    Stage.m_bBgmLoop = 0;
    PlayData.m_nStageBgm = c.remembered;
    PlayData.m_bStageBgmLoop = 1;
    Game.m_nBgm = 9;
    world.events.Clear();
    scene.SetStage(0, c.restart);
    EXPECT_EQ(world.events.Texts(EventKind::Music), c.music);
    // The main window reads the loop flag from the progress record.
    EXPECT_EQ(PlayData.m_bStageBgmLoop, c.music.empty() ? 1 : 0);
    EXPECT_EQ(Game.m_nBgm, 0);
  }
}

TEST_F(SetStageTest, TheCarriedHeroStatusIsTakenWhenTheStageSaysSo) {
  SystemData.m_vCarry.assign(SYSTEM_CARRY_COUNT, 0);
  SystemData.m_vCarry[CARRY_HP] = SystemData.m_vCarry[CARRY_SP] = SystemData.m_vCarry[CARRY_BGM] = 1;
  for (int take : {1, 0}) {
    SCOPED_TRACE(take);
    Build(Rows(4, 2));
    const cEdChara heroDef = Stage.m_vPlacedChara[0];
    PlayData.Reset();
    PlayData.StoreHeroStatus(0, heroDef, 7, 3, 0, 0, 0, 0, 0, 5);
    Stage.m_bTakeHeroStatus = take;
    Stage.m_nBgm = 2;
    world.events.Clear();
    scene.SetStage(0, 1);
    cHero& hero = Player[0];
    if (take) {
      EXPECT_EQ(hero.m_nHp, 7);
      EXPECT_EQ(hero.m_nSp, 3);
      EXPECT_EQ(world.events.Texts(EventKind::Music), std::vector<std::string>{"4 5"}) << "the carried music";
    } else {
      EXPECT_NE(hero.m_nHp, 7);
      EXPECT_EQ(world.events.Texts(EventKind::Music), std::vector<std::string>{"4 2"});
    }
  }
}

TEST_F(SetStageTest, EachStartKeepsItsProgressForARetryAndAReplayCountsOnlyItsStage) {
  struct Case {
    const char* what;
    int playCommand, fromEditor, testPlay;
    int32_t total;  // after the start
  } const cases[] = {
      {"play keeps the run's total", GAMEMODE_FREE, 0, 0, 300},
      {"a replay", GAMEMODE_REPLAY, 0, 0, 0},
      {"the editor's test play", GAMEMODE_FREE, 1, 1, 0},
      {"a test play not from the editor", GAMEMODE_FREE, 0, 1, 300},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Build(Rows(4, 2));
    Game.m_nPlayCommand = c.playCommand;
    bFromEditor = c.fromEditor;
    bTestPlay = c.testPlay;
    PlayData.m_nTotalScore = 300;
    PlayData.m_nStageScore = 40;
    PlayData.m_nLives = 2;
    scene.SetStage(0, 1);
    bFromEditor = bTestPlay = 0;
    EXPECT_EQ(PlayData.m_nStageScore, 0);
    EXPECT_EQ(PlayData.m_nTotalScore, c.total);
    // A retry gives back what the start saw.
    PlayData.m_nTotalScore = 999;
    PlayData.m_nLives = 0;
    PlayData.RestoreStageStartSnapshot(1, PLAYKIND_FREE);
    EXPECT_EQ(PlayData.m_nTotalScore, c.total);
    EXPECT_EQ(PlayData.m_nLives, 2);
  }
}

TEST_F(SetStageTest, ACharacterHoldsItsDropItemWhichIsNotPlacedOnTheMap) {
  Build({"H.e.i", "....."});
  MapBuilder({"H.e.i", "....."}).PlaceItems('i', cEdItem());
  cEdItem second;
  second.m_nGraphic = 7;
  second.m_nX = 1;
  Stage.m_vPlacedItem.push_back(second);
  Stage.m_vPlacedChara[1].m_nDropItem = 1;
  scene.SetStage(0, 1);
  ASSERT_EQ(CharaList.size(), 1u);
  const cChara& holder = CharaList.front();
  EXPECT_EQ(holder.m_DropItem.m_bHeld, 1);
  EXPECT_EQ(holder.m_DropItem.m_nGraphic, 7);
  EXPECT_EQ(holder.m_DropItem.m_nId, 0);
  ASSERT_EQ(ItemList.size(), 1u);
  EXPECT_EQ(ItemList.front().m_nId, 1);
  EXPECT_EQ(scene.m_nItemSerial, 2);
}

TEST_F(SetStageTest, ClonesStandApartAndOneOutsideTheStageIsLeftOut) {
  struct Case {
    const char* what;
    int column, step;
    std::vector<double> lefts;
  };
  // Character hit boxes are 16 wide at the cell's centre: left = cell + 8.5.
  const Case cases[] = {
      {"three clones 32 dots apart", 1, 32, {360.5, 392.5, 424.5}},
      // The active area reaches 320 dots beyond the map: 0 .. 1599 here.
      {"the last two would lie beyond the active area", 29, 340, {1256.5}},
      {"the last partly outside on the left", 1, -200, {360.5, 160.5}},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    std::vector<std::string> rows = Rows(30, 3);
    rows[1][static_cast<size_t>(c.column)] = 'e';
    CharaDef enemy;
    enemy.Def().m_nCopies = 2;
    enemy.Def().m_nCopyStepX = static_cast<int16_t>(c.step);
    Build(rows, enemy);
    scene.SetStage(0, 1);
    std::vector<double> lefts;
    std::vector<int> ids, clones;
    for (const cChara& chara : CharaList) {
      lefts.push_back(chara.m_rcHit.dLeft);
      ids.push_back(chara.m_nId);
      clones.push_back(chara.m_sCloneNo);
    }
    EXPECT_EQ(lefts, c.lefts);
    // Ids count on from the hero's (0) only for the clones made.
    for (size_t i = 0; i < ids.size(); ++i) EXPECT_EQ(ids[i], static_cast<int>(i) + 1);
    EXPECT_EQ(scene.m_nCharaSerial, static_cast<int>(ids.size()) + 1);
    EXPECT_EQ(clones.front(), 0);
    Stage.Reset();
  }
}

TEST_F(SetStageTest, TheStageStartTriggerReachesThePresentOrAllAsTheProjectSays) {
  // The character is absent: its condition (stage variable 0 equal to 1) fails.
  CharaDef absent;
  cEdCondition condition;
  condition.m_nType = CONDTYPE_STAGE_VAR;
  condition.m_nIndex = 0;
  condition.m_nConst = 1;
  condition.m_nCompare = CMPOP_EQ;
  absent.Def().m_vConditions.push_back(condition);
  for (int all : {0, 1}) {
    SCOPED_TRACE(all ? "every character" : "the present only");
    SystemData.m_bCompat697 = all;
    Build({"H.e.e", "....."}, CharaDef());
    Stage.m_vPlacedChara[2] = absent;
    Stage.m_vPlacedChara[2].m_nX = 4;
    world.events.Clear();
    scene.SetStage(0, 1);
    const std::vector<std::string> expected =
        all ? std::vector<std::string>{"18 0", "18 1", "18 2"} : std::vector<std::string>{"18 0", "18 1"};
    EXPECT_EQ(world.events.Texts(EventKind::Trigger), expected);
    Stage.Reset();
  }
}

TEST_F(SetStageTest, VanishedAndDefeatedCharactersLeaveBeforePlay) {
  Build({"H.e.e.e", "......."}, CharaDef().Hp(5));
  Stage.m_vPlacedChara[2].m_nMaxHp = 0;
  scene.SetStage(0, 1);
  ASSERT_EQ(CharaList.size(), 2u);  // the one without HP has gone
  EXPECT_EQ(CharaList.front().m_nId, 1);
  EXPECT_EQ(CharaList.back().m_nId, 3);
  // The defeat of the one without HP went through the defeat rule (its death trigger).
  const std::string death = std::to_string(FLOWTRIGGER_DEATH) + " 2";
  const std::vector<std::string> log = world.events.Texts(EventKind::Trigger);
  EXPECT_NE(std::find(log.begin(), log.end(), death), log.end());
  // A vanished character leaves without a defeat, also from the group lists.
  CharaList.front().m_bVanished = 1;
  world.events.Clear();
  scene.StartTriggers();
  ASSERT_EQ(CharaList.size(), 1u);
  EXPECT_EQ(CharaList.front().m_nId, 3);
  for (const cList<cCharaBase*>& group : scene.m_CharaGroups)
    for (const cCharaBase* member : group) EXPECT_NE(member->m_nId, 1);
  const std::vector<std::string> after = world.events.Texts(EventKind::Trigger);
  EXPECT_EQ(std::find(after.begin(), after.end(), std::to_string(FLOWTRIGGER_DEATH) + " 1"), after.end());
}

TEST_F(SetStageTest, TheGroupListsHoldTheHeroFirstAndNoGroupOutsideThem) {
  Build({"H.e.e.e", "......."});
  Stage.m_vPlacedChara[2].m_nFaction = 9;
  Stage.m_vPlacedChara[3].m_nFaction = 0;
  scene.SetStage(0, 1);
  // The hero and the first character keep the builder's group 1.
  ASSERT_EQ(scene.m_CharaGroups.Size(), 8);
  ASSERT_EQ(scene.m_CharaGroups[1].size(), 2u);
  EXPECT_EQ(scene.m_CharaGroups[1].front(), Hero());
  EXPECT_EQ(scene.m_CharaGroups[1].back()->m_nId, 1);
  ASSERT_EQ(scene.m_CharaGroups[0].size(), 1u);
  EXPECT_EQ(scene.m_CharaGroups[0].front()->m_nId, 3);
  size_t filed = 0;
  for (const cList<cCharaBase*>& group : scene.m_CharaGroups) filed += group.size();
  EXPECT_EQ(filed, 3u);  // the character of group 9 is in none
}

TEST_F(SetStageTest, EveryStartBeginsFromFreshCountersAndState) {
  Build(Rows(4, 2));
  Stage.m_bTimeLimit = 1;
  Stage.m_nTimeLimit = 90;
  Stage.m_RuleItem.m_bTop = 1;
  Stage.m_bShowHud = 1;
  scene.m_nCommandResult = 2;
  scene.m_nBannerCount = scene.m_nBanner2Count = 7;
  scene.m_nPlayFrames = scene.m_nPlayTime = scene.m_nNextStage = scene.m_nStepCount = 9;
  scene.m_nFrameCount = 50;
  scene.m_ColorTone.m_nLevel = 40;
  scene.m_ColorTone.m_nPrevLevel = 3;
  scene.m_vStageVars.assign(3, 5);
  PlayData.m_nStageScore = 100;
  scene.SetStage(0, 1);
  EXPECT_EQ(scene.m_nCommandResult, 0);
  EXPECT_EQ(scene.m_nBannerCount + scene.m_nBanner2Count, 0);
  EXPECT_EQ(scene.m_nPlayFrames + scene.m_nPlayTime + scene.m_nNextStage + scene.m_nStepCount, 0);
  EXPECT_EQ(scene.m_nFrameCount, 0);
  EXPECT_EQ(scene.m_nTimeLeft, 90);
  EXPECT_EQ(scene.m_bNoTimeLimit, 0);
  EXPECT_EQ(scene.m_vStageVars, cVector<int32_t>(255, 0));
  EXPECT_EQ(scene.m_vGroupFlags, cVector<uint8_t>(60, 0));
  EXPECT_EQ(scene.m_ColorTone.m_nLevel, 0);
  EXPECT_EQ(scene.m_ColorTone.m_nPrevLevel, 255);
  EXPECT_EQ(scene.m_bRemoveCharas + scene.m_bRemoveBlockCharas, 0);
  EXPECT_EQ(scene.m_bRemoveItems, 1);
  EXPECT_EQ(scene.m_bShowStatus, 1);
  EXPECT_EQ(PlayData.m_nStageScore, 0);
  EXPECT_EQ(Game.m_nFps, Stage.m_nFps);
  Stage.m_bTimeLimit = 0;
  scene.SetStage(0, 1);
  EXPECT_EQ(scene.m_nTimeLeft, 999);
  EXPECT_EQ(scene.m_bNoTimeLimit, 1);
}

TEST_F(SetStageTest, ARestartTakesTheSettingsAsLoadedBackButNotThePlacements) {
  Build(Rows(6, 2));
  Stage.m_nTimeLimit = 55;
  Stage.m_bTimeLimit = 1;
  StageCopy.CopySettingsFrom(Stage);
  Stage.m_nTimeLimit = 3;  // a command changed it in play
  scene.SetStage(1, 0);
  EXPECT_EQ(scene.m_nTimeLeft, 55);
  EXPECT_EQ(Stage.m_vPlacedChara.Size(), 1);
}

TEST_F(SetStageTest, TheSetUpWritesItsTraceToTheDebugLog) {
  Build({"H.e.i", "....."});
  MapBuilder({"H.e.i", "....."}).PlaceItems('i', cEdItem());
  world.events.Clear();
  scene.SetStage(0, 1);
  std::vector<std::string> trace;
  for (const std::string& line : world.events.Texts(EventKind::Log))
    for (const char* mark : {"In SetStage", "A", "B", "10", "11", "12", "C", "D", "Out SetStage"})
      if (line == mark) trace.push_back(line);
  EXPECT_EQ(trace, (std::vector<std::string>{"In SetStage", "A", "B", "10", "11", "12", "C", "D", "Out SetStage"}));
}

TEST_F(SetStageTest, LivesAreLostUntilNoneIsLeft) {
  struct Case {
    int testPlay, lives, result, after;
  } const cases[] = {
      {0, 3, 1, 2}, {0, 1, 1, 0}, {0, 0, 0, 0}, {0, LIVES_INFINITE, 1, LIVES_INFINITE}, {1, 0, 1, 0}, {1, 5, 1, 5},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << "test play " << c.testPlay << ", lives " << c.lives);
    bTestPlay = c.testPlay;
    cSaveData progress;
    progress.m_nLives = c.lives;
    EXPECT_EQ(scene.LoseLife(progress), c.result);
    EXPECT_EQ(progress.m_nLives, c.after);
  }
  bTestPlay = 0;
}

TEST_F(SetStageTest, AMapTooLargeOrWithoutCellsFailsBeforeItIsMade) {
  struct Case {
    const char* what;
    int width, height;
  } const cases[] = {
      {"over 2^24 cells with the padding", 30000, 600},
      {"no width", 0, 10},
      {"no height", 10, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    cSceneStage fresh;
    CurStage = &fresh;
    Stage.Reset();
    Stage.m_nWidth = c.width;
    Stage.m_nHeight = c.height;
    cEdChara hero = CharaDef().PlayerOperated();
    Stage.m_vPlacedChara.push_back(hero);
    StageCopy.CopySettingsFrom(Stage);
    world.events.Clear();
    world.events.AllowCloseRequests(true);
    world.events.ExpectBoxes({plat::BOX_OK});
    fresh.SetStage(0, 1);
    EXPECT_EQ(world.events.Texts(EventKind::Box),
              std::vector<std::string>{Sjis("メモリ不足により、ステージの初期設定に失敗しました！")});
    EXPECT_EQ(world.events.Texts(EventKind::Close).size(), 1u);
    EXPECT_TRUE(MapCell.empty());
    EXPECT_EQ(fresh.m_bFailed, 1);
    EXPECT_TRUE(Player.empty());
    CurStage = &scene;
  }
}

TEST_F(SetStageTest, AStageWithoutAHeroClosesOnce) {
  Build(Rows(4, 2));
  Stage.m_vPlacedChara.clear();
  world.events.AllowCloseRequests(true);
  scene.SetStage(0, 1);
  EXPECT_EQ(world.events.Texts(EventKind::Close).size(), 1u);
  EXPECT_EQ(scene.m_bFailed, 1);
  EXPECT_NE(ReportLog().find("SetStage : the stage places no hero"), std::string::npos);
}

TEST_F(SetStageTest, PlacementsOutsideTheMapAreLeftOutWithAReportLine) {
  Build(Rows(4, 2));
  cEdBlock outside = BlockDef();
  outside.m_nX = 4;
  outside.m_nY = 0;
  Stage.m_vPlacedBlock.push_back(outside);
  Stage.m_vPlacedChara[0].m_nDropItem = 3;  // the hero's is not read
  cEdChara enemy = CharaDef();
  enemy.m_nX = 2;
  enemy.m_nDropItem = 4;
  Stage.m_vPlacedChara.push_back(enemy);
  scene.SetStage(0, 1);
  for (const MAPCELL& cell : MapCell) EXPECT_EQ(cell.Block.m_nHit, BLOCKHIT_NONE);
  ASSERT_EQ(CharaList.size(), 1u);
  EXPECT_EQ(CharaList.front().m_DropItem.m_bHeld, 0);
  const std::string report = ReportLog();
  EXPECT_NE(report.find("SetStage : block (4, 0) lies outside the map 4 x 2"), std::string::npos);
  EXPECT_NE(report.find("SetStage : character (2, 0) drops item 4 of 0"), std::string::npos);
}
