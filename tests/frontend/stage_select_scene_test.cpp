// The stage select on the sample: how many rows the challenge list offers,
// scrolling and paging a long list, the newest numbered file of a stage,
// the progress record a chosen stage starts with, the row and top kept
// across a stage, a stage file that will not load, an empty list and the
// ranking keys.
#include <gtest/gtest.h>

#include <filesystem>
#include <string>
#include <vector>

#include "front_end_rig.h"
#include "frontend/scene_stage_select.h"
#include "game/menu_cursor.h"
#include "media/system_surfaces.h"
#include "platform/virtual_keys.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/system.h"

namespace fs = std::filesystem;

class StageSelect : public frontendtest::FrontEnd {
 protected:
  struct List {
    int32_t stages = 2;    // System.dat's challenge stages
    int32_t allOpen = 0;
    int32_t unlocked = 1;  // PlayData's
    int32_t ranking = 0;   // the challenge kind's ranking
  };
  // The program up with the list given, the stage select entered as the
  // title enters it, its fade-in over and its first frame run.
  void Open(const List& list) {
    StartProgram();
    Game.m_nFadeStep = 45;  // fades of three frames
    SetList(list);
    Enter();
  }
  void Open() { Open(List()); }
  static void SetList(const List& list) {
    SystemData.m_nChallengeStages = list.stages;
    SystemData.m_bAllChallengesOpen = list.allOpen;
    SystemData.m_vRankingModes.At(PLAYKIND_CHALLENGE).m_bRanking = list.ranking;
    PlayData.Reset();
    PlayData.m_vChallenge.resize(list.stages);
    PlayData.m_nUnlocked = list.unlocked;
    Game.m_nPlayKind = PLAYKIND_CHALLENGE;
    Game.m_bRanking = list.ranking;
  }
  void Enter() {
    Game.m_nScene = SCENE_STAGESELECT;
    ASSERT_TRUE(RunUntilPhase(1));
    Frame();
    TakeRequests();
  }
  // The stage select entered afresh, as after a stage.
  void Reenter() {
    Game.m_nScene = SCENE_MAPMENU;  // no scene of that number yet: the stage select goes
    Frame();
    ASSERT_EQ(Running<cSceneStageSelect>(), nullptr);
    Enter();
  }
  void Press(int vk) {
    m_keys.Press(vk);
    Frame();
    m_keys.Release(vk);
  }
  // Copies of the sample's first challenge stage under stage n's name.
  void CopyStage(int n, const char* suffix) {
    char name[32];
    std::snprintf(name, sizeof name, "data/stg4/c%02d-1.stg4_%s", n, suffix);
    fs::copy_file(GameFolder() + "/data/stg4/c01-1.stg4_000", GameFolder() + "/" + name,
                  fs::copy_options::overwrite_existing);
  }
  static cSceneStageSelect& Scene() { return *Running<cSceneStageSelect>(); }
  static int Row() { return MenuCursor.Cur()->nRow; }
};

TEST_F(StageSelect, TheListOffersTheUnlockedStagesOrAllOfThemWhenOpen) {
  StartProgram();
  struct Case {
    int32_t stages, allOpen, unlocked, top;
    int32_t count, rows;
  } cases[] = {
      {2, 0, 1, 0, 1, 1},    {2, 0, 2, 0, 2, 2},     {2, 1, 1, 0, 2, 2},    {25, 1, 1, 0, 25, 10},
      {25, 1, 1, 15, 25, 10}, {25, 1, 1, 20, 25, 5}, {25, 0, 12, 0, 12, 10}, {2, 0, 0, 0, 0, 0},
      {0, 1, 5, 0, 0, 0},     {25, 1, 1, 30, 25, 0},  // rows never negative
  };
  for (const Case& c : cases) {
    SetList({c.stages, c.allOpen, c.unlocked, 0});
    cSceneStageSelect scene;
    scene.m_nListTop = c.top;
    scene.UpdateListSize();
    EXPECT_EQ(scene.m_nCount, c.count) << c.stages << " " << c.allOpen << " " << c.unlocked;
    EXPECT_EQ(scene.m_nRows, c.rows) << c.stages << " " << c.allOpen << " " << c.unlocked << " top " << c.top;
  }
}

TEST_F(StageSelect, EnteringAsksForItsMusicAndSelectsTheKeptRow) {
  StartProgram();
  Game.m_nFadeStep = 45;
  SetList({2, 0, 2, 0});
  Game.m_nSelectCursor = 1;
  Game.m_nScene = SCENE_STAGESELECT;
  ASSERT_TRUE(RunUntilPhase(1));
  EXPECT_EQ(TakeRequests(), (std::vector<std::string>{"music 2 0"}));
  EXPECT_EQ(Row(), 1);
  EXPECT_EQ(PlayData.m_strStagePath, "data\\stg4\\c02.");
  EXPECT_EQ(Off_Scene.Size(), 1);
}

TEST_F(StageSelect, OneRowDoesNotMove) {
  Open();
  for (int vk : {VK_DOWN, VK_UP, VK_RIGHT, VK_LEFT}) {
    Tap(vk);
    EXPECT_EQ(Row(), 0);
    EXPECT_EQ(Scene().m_nListTop, 0);
  }
}

TEST_F(StageSelect, ALongListScrollsByOneAndPagesByNine) {
  Open({25, 1, 1, 0});
  for (int i = 0; i < 9; ++i) Tap(VK_DOWN);
  EXPECT_EQ(Row(), 9);
  EXPECT_EQ(Scene().m_nListTop, 0);
  EXPECT_EQ(MenuCursor.Cur()->nY, 448) << "the tenth row";
  EXPECT_EQ(MenuCursor.Cur()->nX, 32);
  Tap(VK_DOWN);
  EXPECT_EQ(Row(), 10);
  EXPECT_EQ(Scene().m_nListTop, 1);
  EXPECT_EQ(PlayData.m_strStagePath, "data\\stg4\\c11.") << "the moved-to stage is selected";
  struct Step {
    int vk, row, top;
  } steps[] = {{VK_RIGHT, 19, 10}, {VK_RIGHT, 24, 15}, {VK_RIGHT, 24, 15}, {VK_LEFT, 15, 6},
               {VK_LEFT, 6, 0},    {VK_LEFT, 0, 0},    {VK_UP, 0, 0}};
  for (const Step& s : steps) {
    Tap(s.vk);
    EXPECT_EQ(Row(), s.row) << s.vk;
    EXPECT_EQ(Scene().m_nListTop, s.top) << s.vk;
    EXPECT_EQ(MenuCursor.Cur()->nY, 160 + 32 * (s.row - s.top));
  }
}

TEST_F(StageSelect, TheNewestNumberedFileOfTheStageIsPlayed) {
  Open({25, 1, 1, 0});
  CopyStage(7, "001");
  CopyStage(7, "003");
  for (int i = 0; i < 6; ++i) Tap(VK_DOWN);
  ASSERT_EQ(Row(), 6);
  Press('Z');
  EXPECT_EQ(TakeSounds(), std::vector<int>{1});
  EXPECT_EQ(Stage.m_strPath, "data\\stg4\\c07-1.stg4_003");
  EXPECT_EQ(PlayData.m_strStagePath, "data\\stg4\\c07.");
  EXPECT_EQ(Game.m_nNextScene, SCENE_STAGE);
  EXPECT_EQ(Scene().m_nPhase, 2);
}

TEST_F(StageSelect, AChosenStageStartsTheRunWithTheChallengeLives) {
  struct Case {
    int32_t infinite, startLives;
    int32_t expectStart, expectLives;
  } cases[] = {{0, 3, 3, 2}, {1, 3, LIVES_INFINITE, LIVES_INFINITE}};
  StartProgram();
  Game.m_nFadeStep = 45;
  for (const Case& c : cases) {
    SetList({2, 0, 2, 0});
    SystemData.m_vInfiniteLives.At(PLAYKIND_CHALLENGE) = c.infinite;
    SystemData.m_vStartLives.At(PLAYKIND_CHALLENGE) = c.startLives;
    PlayData.m_nAreaNo = 5;
    PlayData.m_bNumberedStage = 0;
    Game.m_nSelectCursor = 0;
    Game.m_nScene = SCENE_STAGESELECT;
    ASSERT_TRUE(RunUntilPhase(1));
    Frame();
    Tap(VK_DOWN);
    Press('Z');
    EXPECT_EQ(PlayData.m_nStageNo, 2);
    EXPECT_EQ(PlayData.m_nAreaNo, 1);
    EXPECT_EQ(PlayData.m_nStartLives, c.expectStart) << "infinite " << c.infinite;
    EXPECT_EQ(PlayData.m_nLives, c.expectLives) << "infinite " << c.infinite;
    EXPECT_EQ(PlayData.m_bNumberedStage, 1);
    EXPECT_EQ(PlayData.m_strStagePath, "data\\stg4\\c02.");
    EXPECT_EQ(Game.m_nSelectCursor, 1);
    // Through the fade-out to the stage, then away from it.
    for (int i = 0; i < 10 && Game.m_nScene == SCENE_STAGESELECT; ++i) Frame();
    ASSERT_EQ(Game.m_nScene, SCENE_STAGE);
    EXPECT_EQ(Game.m_nPrevScene, SCENE_STAGESELECT);
    Game.m_nScene = SCENE_MAPMENU;
    Frame();
  }
}

TEST_F(StageSelect, RowAndTopComeBackAfterAStageAndStayInsideTheList) {
  Open({25, 1, 1, 0});
  CopyStage(13, "000");
  for (int i = 0; i < 12; ++i) Tap(VK_DOWN);
  ASSERT_EQ(Row(), 12);
  ASSERT_EQ(Scene().m_nListTop, 3);
  Press('Z');
  ASSERT_EQ(Game.m_nNextScene, SCENE_STAGE);
  EXPECT_EQ(Game.m_nSelectCursor, 12);
  EXPECT_EQ(Game.m_nSelectTop, 3);
  Reenter();
  EXPECT_EQ(Row(), 12);
  EXPECT_EQ(Scene().m_nListTop, 3);
  EXPECT_EQ(MenuCursor.Cur()->nY, 160 + 32 * 9);
  EXPECT_EQ(PlayData.m_strStagePath, "data\\stg4\\c13.");

  // Kept values that no longer fit the list (or never did) come inside it.
  struct Case {
    int32_t unlocked, row, top;
    int32_t expectRow, expectTop;
  } cases[] = {{25, 30, 40, 24, 15}, {2, 12, 3, 1, 0}, {25, -4, -2, 0, 0}, {25, 20, 2, 20, 11}, {0, 5, 5, 0, 0}};
  for (const Case& c : cases) {
    SetList({25, 0, c.unlocked, 0});
    Game.m_nSelectCursor = c.row;
    Game.m_nSelectTop = c.top;
    Reenter();
    EXPECT_EQ(Row(), c.expectRow) << c.row << " " << c.top;
    EXPECT_EQ(Scene().m_nListTop, c.expectTop) << c.row << " " << c.top;
    EXPECT_GE(Scene().m_nRows, 0);
  }
}

TEST_F(StageSelect, AStageThatWillNotLoadKeepsTheList) {
  Open({25, 1, 1, 0});
  Tap(VK_DOWN);
  Tap(VK_DOWN);  // stage 3 has no file
  const std::string pathBefore = PlayData.m_strStagePath;
  Press('Z');
  EXPECT_EQ(TakeSounds(), std::vector<int>{3});
  ASSERT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_EQ(m_boxes.shown[0].text,
            "\x83\x58\x83\x65\x81\x5B\x83\x57\x83\x74\x83\x40\x83\x43\x83\x8B data\\stg4\\c03-1.stg4 "
            "\x82\xAA\x93\xC7\x82\xDD\x8D\x9E\x82\xDF\x82\xDC\x82\xB9\x82\xF1\x81\x49");
  EXPECT_EQ(Scene().m_nPhase, 1);
  EXPECT_EQ(Row(), 2);
  EXPECT_EQ(PlayData.m_strStagePath, pathBefore);
  EXPECT_EQ(PlayData.m_nStageNo, 0);
  EXPECT_EQ(Game.m_nSelectCursor, 0) << "nothing is kept for a stage not played";
  Tap(VK_DOWN);
  EXPECT_EQ(Row(), 3) << "the list goes on";
}

TEST_F(StageSelect, AnEmptyListRefusesTheDecisionAndLoadsNothing) {
  Open({2, 0, 0, 0});
  EXPECT_EQ(Scene().m_nRows, 0);
  Stage.m_strPath = "untouched";
  Press('Z');
  EXPECT_EQ(TakeSounds(), std::vector<int>{3});
  EXPECT_TRUE(m_boxes.shown.empty());
  EXPECT_EQ(Stage.m_strPath, "untouched");
  EXPECT_EQ(Scene().m_nPhase, 1);
}

TEST_F(StageSelect, CancelGoesBackToTheTitle) {
  Open();
  Press('X');
  EXPECT_EQ(TakeSounds(), std::vector<int>{2});
  for (int i = 0; i < 10 && Game.m_nScene == SCENE_STAGESELECT; ++i) Frame();
  EXPECT_EQ(Game.m_nScene, SCENE_TITLE);
  EXPECT_EQ(Game.m_nPrevScene, SCENE_STAGESELECT);
}

TEST_F(StageSelect, RankingKeysShowTheRankingAndMoveItsCategory) {
  struct Case {
    int32_t ranking;
    std::vector<uint8_t> categories;
    int32_t viewBefore;
    int vk;
    int32_t view, category;
    std::vector<int> sounds;
  } cases[] = {
      {1, {1, 1, 0, 0, 0}, 0, 'C', 1, 0, {6}},
      {1, {1, 1, 0, 0, 0}, 1, 'C', 0, 0, {6}},
      {0, {1, 1, 0, 0, 0}, 1, 'C', 0, 0, {}},  // off: the flag is cleared
      {1, {1, 1, 0, 0, 0}, 1, 'V', 1, 1, {6}},
      {1, {1, 0, 0, 0, 0}, 1, 'V', 1, 0, {}},  // one category: nothing to move to
      {0, {1, 1, 0, 0, 0}, 0, 'V', 0, 0, {}},
  };
  StartProgram();
  Game.m_nFadeStep = 45;
  for (const Case& c : cases) {
    SetList({2, 0, 1, c.ranking});
    SystemData.m_vRankingModes.At(PLAYKIND_CHALLENGE).m_vCategories.assign(c.categories.begin(), c.categories.end());
    PlayData.m_bRankingView = c.viewBefore;
    PlayData.m_nRankingCat = 0;
    Game.m_nScene = SCENE_STAGESELECT;
    ASSERT_TRUE(RunUntilPhase(1));
    Frame();
    TakeRequests();
    Tap(c.vk);
    EXPECT_EQ(PlayData.m_bRankingView, c.view) << c.ranking << " " << char(c.vk);
    EXPECT_EQ(PlayData.m_nRankingCat, c.category) << c.ranking << " " << char(c.vk);
    EXPECT_EQ(TakeSounds(), c.sounds) << c.ranking << " " << char(c.vk);
    Game.m_nScene = SCENE_MAPMENU;
    Frame();
  }
}

TEST_F(StageSelect, ARowWithoutAChallengeRecordDrawsUncleared) {
  Open({2, 1, 1, 0});
  PlayData.m_vChallenge.clear();
  PlayData.m_vChallenge.resize(1);
  Scene().DrawScreenSurface();
  const std::string uncleared = frontendtest::Pixels(&Off_Scene[0], 0, 192, 640, 32);
  PlayData.m_vChallenge.resize(2);
  PlayData.m_vChallenge[1].m_bCleared = 1;
  Scene().DrawScreenSurface();
  EXPECT_NE(frontendtest::Pixels(&Off_Scene[0], 0, 192, 640, 32), uncleared) << "the cleared mark shows";
  PlayData.m_vChallenge[1].m_bCleared = 0;
  Scene().DrawScreenSurface();
  EXPECT_EQ(frontendtest::Pixels(&Off_Scene[0], 0, 192, 640, 32), uncleared);
}
