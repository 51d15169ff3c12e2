// The stage's menus played on a real game thread while this thread pumps
// the main window: the pause menu (its rows by play kind, where it stands,
// what each entry and the cancel lead to, also from the clear state), the
// retry menu after a lost life and game over.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "game/characters.h"
#include "game/game.h"
#include "game/menu_cursor.h"
#include "media/input.h"
#include "media/system_menu.h"
#include "platform/virtual_keys.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/started_by_editor.h"
#include "records/system.h"
#include "stage/scene_stage.h"
#include "support/builders.h"
#include "support/stage_runner.h"

using namespace testsupport;

namespace {

constexpr uint16_t kMenuB1 = 1, kMenuB2 = 2;

StageRunner::Options MenuRunnerOptions() {
  StageRunner::Options options;
  options.gameThread = true;
  return options;
}

// A ground with the hero on it, no banners, a time limit, the play kind
// and game mode given; the stage plays when it returns.
void StartMenuPlay(StageRunner& run, int playKind, int playCommand) {
  MapBuilder map({"..........", "..H.......", "##########"});
  map.Build();
  map.PlaceCharas('H', CharaDef().PlayerOperated());
  Stage.m_bStartBanner = 0;
  Stage.m_bStartBanner2 = 0;
  Stage.m_bTimeLimit = 1;
  Stage.m_nTimeLimit = 100;
  run.TakeStage();
  Game.m_nPlayKind = playKind;
  Game.m_nPlayCommand = playCommand;
  PlayData.m_nStageNo = 1;
  // The retry entry's text is the widest: the menu stands where the
  // three-row menu does even without it.
  SystemData.m_vTexts.At(21) = "RETRY THIS STAGE";
  ASSERT_TRUE(run.EnterPlay());
}

// Space for one frame: the pause menu opens.
void PauseNow(StageRunner& run) {
  run.Hold(VK_SPACE);
  run.Frame();
  run.Release(VK_SPACE);
  ASSERT_EQ(run.Scene()->m_nPhase, STAGESTATE_PAUSE);
}

// The last menu drawn: "DrawMenuText Back x y first rows 1".
std::string LastMenuDrawn(StageRunner& run) {
  std::string last;
  for (const std::string& call : run.Renderer()->Take())
    if (call.rfind("DrawMenuText", 0) == 0) last = call;
  return last;
}

std::string MenuCall(int x, int first, int rows) {
  return "DrawMenuText Back " + std::to_string(x) + " 272 " + std::to_string(first) + " " + std::to_string(rows) +
         " 1";
}

}  // namespace

TEST(StageMenus, ThePauseMenuOffersRetryByPlayKindAndStandsAsTheThreeRowMenu) {
  struct Case {
    const char* what;
    int playKind, playCommand;
    int retryStory, storyCleared, retryChallenge, challengeCleared;
    int rows;
  };
  const Case cases[] = {
      {"free play always", PLAYKIND_FREE, GAMEMODE_FREE, 0, 0, 0, 0, 3},
      {"a replay never", PLAYKIND_REPLAY, GAMEMODE_FREE, 1, 1, 1, 1, 2},
      {"a story stage cleared before, the project allowing it", PLAYKIND_STORY, GAMEMODE_CONTINUE, 1, 1, 0, 0, 3},
      {"a story stage not cleared yet", PLAYKIND_STORY, GAMEMODE_CONTINUE, 1, 0, 0, 0, 2},
      {"a story without the project's retry", PLAYKIND_STORY, GAMEMODE_CONTINUE, 0, 1, 0, 0, 2},
      {"a challenge stage cleared before", PLAYKIND_CHALLENGE, GAMEMODE_CHALLENGE, 0, 0, 1, 1, 3},
      {"a challenge stage not cleared yet", PLAYKIND_CHALLENGE, GAMEMODE_CHALLENGE, 0, 0, 1, 0, 2},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StageRunner run(MenuRunnerOptions());
    SystemData.m_bPauseRetryStory = c.retryStory;
    SystemData.m_bPauseRetryChallenge = c.retryChallenge;
    PlayData.m_vStageClear.At(1) = c.storyCleared;
    PlayData.m_vChallenge.resize(3);
    PlayData.m_vChallenge[0].m_bCleared = c.challengeCleared;
    StartMenuPlay(run, c.playKind, c.playCommand);
    PauseNow(run);
    const int x = GetMenuLeft(320, 19, 3, 1);
    ASSERT_NE(x, GetMenuLeft(320, 19, 2, 1)) << "the texts must tell the two apart";
    run.Renderer()->Take();
    run.Frame();
    EXPECT_EQ(LastMenuDrawn(run), MenuCall(x, 19, c.rows));
    EXPECT_EQ(MenuCursor.Cur()->nRow, 1) << "on continue";
    EXPECT_EQ(MenuCursor.Cur()->nX, x);
    EXPECT_EQ(MenuCursor.Cur()->nY, 288);
    // Up twice: quit, then round to the last row.
    run.keys.Hold(INPUT_UP, 0).Idle(1).Hold(INPUT_UP, 0);
    run.Frames(3);
    EXPECT_EQ(MenuCursor.Cur()->nRow, c.rows - 1);
    // The cursor sound plays on the game thread itself, not through the window.
    EXPECT_EQ(run.Events().Texts(EventKind::Sound), std::vector<std::string>{"4"});
  }
}

TEST(StageMenus, EachPauseEntryAndTheCancelLeadWhereTheyShould) {
  struct Case {
    const char* what;
    int rows;           // 3: free play, 2: a story stage not cleared yet
    int moves;          // rows moved down from continue before deciding; -1 cancels
    int testPlay;
    int phase, step;    // after the decision
    int nextScene;      // -1: unchanged
    int buttonLock;
    bool restarted;     // SetStage ran: the time limit and the snapshot are back
    size_t closes;
  };
  const Case cases[] = {
      {"continue", 3, 0, 0, STAGESTATE_PLAY, 7, -1, 1, false, 0},
      {"retry", 3, 1, 0, STAGESTATE_START, 0, -1, 1, true, 0},
      {"quit to the title", 3, 2, 0, STAGESTATE_FADEOUT, 0, SCENE_TITLE, 0, false, 0},
      {"quit in test play closes", 3, 2, 1, STAGESTATE_FADEOUT, -1, -1, 0, false, 1},
      {"cancel with three rows resumes", 3, -1, 0, STAGESTATE_PLAY, 7, -1, 1, false, 0},
      {"cancel with two rows restarts the state", 2, -1, 0, STAGESTATE_PLAY, 0, -1, 1, false, 0},
      {"quit from two rows", 2, 1, 0, STAGESTATE_FADEOUT, 0, SCENE_TITLE, 0, false, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StageRunner run(MenuRunnerOptions());
    run.Events().AllowCloseRequests(true);
    bTestPlay = c.testPlay;
    StartMenuPlay(run, c.rows == 3 ? PLAYKIND_FREE : PLAYKIND_STORY, c.rows == 3 ? GAMEMODE_FREE : GAMEMODE_CONTINUE);
    cSceneStage* scene = run.Scene();
    PlayData.m_nTotalScore = 40;
    PlayData.TakeStageStartSnapshot();
    PlayData.m_nTotalScore = 90;
    scene->m_nTimeLeft = 12;
    scene->m_nStep = 7;  // the sub-step the pause keeps
    Game.m_nNextScene = SCENE_STAGESELECT;
    PauseNow(run);
    run.Frame();
    run.Events().Clear();
    for (int i = 0; i < c.moves; ++i) run.keys.Hold(INPUT_DOWN, 0).Idle(1);
    run.keys.Hold(0, c.moves < 0 ? kMenuB2 : kMenuB1);
    run.Frames(c.moves < 0 ? 1 : 2 * c.moves + 1);
    EXPECT_EQ(scene->m_nPhase, c.phase);
    if (c.step >= 0) EXPECT_EQ(scene->m_nStep, c.step);
    EXPECT_EQ(Game.m_nNextScene, c.nextScene < 0 ? SCENE_STAGESELECT : c.nextScene);
    EXPECT_EQ(scene->m_bButtonLock, c.buttonLock);
    EXPECT_EQ(PlayData.m_nTotalScore, c.restarted ? 40 : 90);
    EXPECT_EQ(scene->m_nTimeLeft, c.restarted ? 100 : 12);
    EXPECT_TRUE(run.Events().Texts(EventKind::Music).empty()) << "a retry keeps the music";
    EXPECT_EQ(run.Events().Texts(EventKind::Close).size(), c.closes);
    const std::vector<std::string> sounds = run.Events().Texts(EventKind::Sound);
    ASSERT_FALSE(sounds.empty());
    EXPECT_EQ(sounds.back(), c.moves < 0 ? "2" : "1");
    if (c.nextScene == SCENE_TITLE) EXPECT_EQ(MenuCursor.Cur()->nRow, Game.m_nPlayCommand) << "the title's row";
    bTestPlay = 0;
  }
}

TEST(StageMenus, APauseInTheClearStateResumesOrRestartsTheBanner) {
  for (int rows : {2, 3}) {
    for (bool cancel : {false, true}) {
      SCOPED_TRACE(std::to_string(rows) + (cancel ? " rows, cancelled" : " rows, continued"));
      StageRunner run(MenuRunnerOptions());
      StartMenuPlay(run, rows == 3 ? PLAYKIND_FREE : PLAYKIND_STORY, rows == 3 ? GAMEMODE_FREE : GAMEMODE_CONTINUE);
      cSceneStage* scene = run.Scene();
      run.OnGameThread([&] {
        scene->OnStageClear();
        scene->m_nPhase = STAGESTATE_CLEAR;
        scene->m_nStep = 0;
      });
      run.Frames(10);
      ASSERT_EQ(scene->m_nBannerCount, 40);
      PauseNow(run);
      EXPECT_EQ(scene->m_nPausedPhase, STAGESTATE_CLEAR);
      run.Frame();
      if (!cancel) run.keys.Hold(0, kMenuB1);
      else run.keys.Hold(0, kMenuB2);
      run.Frame();
      ASSERT_EQ(scene->m_nPhase, STAGESTATE_CLEAR);
      run.Renderer()->Take();
      run.Frame();
      const bool restarts = cancel && rows == 2;
      // The banner slides in from its start again, or goes on where it stood.
      EXPECT_EQ(scene->m_nBannerCount, restarts ? 4 : 44);
      const std::vector<std::string> calls = run.Renderer()->Take();
      const std::string split = restarts ? "DDBltSplit Back 256 192 128 32 4 96 T51 0 64 1 0"
                                         : "DDBltSplit Back 256 192 128 32 4 56 T51 0 64 1 0";
      EXPECT_NE(std::find(calls.begin(), calls.end(), split), calls.end());
    }
  }
}

TEST(StageMenus, TheRetryMenuHasNoCancelAndLeadsToAStartOrTheMap) {
  for (int row : {0, 1}) {
    SCOPED_TRACE(row ? "back to the map" : "retry");
    StageRunner run(MenuRunnerOptions());
    StartMenuPlay(run, PLAYKIND_STORY, GAMEMODE_CONTINUE);
    cSceneStage* scene = run.Scene();
    Game.m_nNextScene = SCENE_STAGESELECT;
    scene->m_nTimeLeft = 12;
    scene->m_nStep = 0;
    scene->m_nPhase = STAGESTATE_RETRY;
    run.Renderer()->Take();
    run.keys.Idle(1).Hold(0, kMenuB2).Idle(1);
    run.Frames(3);
    EXPECT_EQ(scene->m_nPhase, STAGESTATE_RETRY) << "button 2 does nothing";
    EXPECT_EQ(LastMenuDrawn(run), MenuCall(GetMenuLeft(320, 22, 2, 1), 22, 2));
    EXPECT_EQ(MenuCursor.Cur()->nRow, 0);
    if (row) run.keys.Hold(INPUT_DOWN, 0).Idle(1);
    run.keys.Hold(0, kMenuB1);
    run.Events().Clear();
    run.Frames(row ? 3 : 1);
    EXPECT_EQ(run.Events().Texts(EventKind::Sound).back(), "1");
    if (row) {
      EXPECT_EQ(scene->m_nPhase, STAGESTATE_FADEOUT);
      EXPECT_EQ(Game.m_nNextScene, SCENE_WORLDMAP);
      EXPECT_EQ(PlayData.m_bBackFromRetry, 1);
      EXPECT_EQ(MenuCursor.Cur()->nRow, GAMEMODE_CONTINUE);
    } else {
      EXPECT_EQ(scene->m_nPhase, STAGESTATE_START);
      EXPECT_EQ(scene->m_nTimeLeft, 100) << "the stage set up again";
      EXPECT_EQ(Game.m_nNextScene, SCENE_STAGESELECT);
      EXPECT_EQ(PlayData.m_bBackFromRetry, 0);
    }
  }
}

TEST(StageMenus, GameOverShowsItsBannerAndLeadsToTheTitleOrPauses) {
  const char kBanner[] = "DDBlt Back 248 224 144 32 T51 0 96 1";
  for (int banner : {0, 1}) {
    SCOPED_TRACE(banner ? "with the banner" : "without it");
    StageRunner run(MenuRunnerOptions());
    StartMenuPlay(run, PLAYKIND_STORY, GAMEMODE_CONTINUE);
    Stage.m_bGameOverBanner = banner;
    cSceneStage* scene = run.Scene();
    scene->m_nPhase = STAGESTATE_GAMEOVER;
    run.Renderer()->Take();
    run.Frames(2);
    const std::vector<std::string> calls = run.Renderer()->Take();
    EXPECT_EQ(std::count(calls.begin(), calls.end(), kBanner), banner ? 2 : 0);
    PauseNow(run);
    EXPECT_EQ(scene->m_nPausedPhase, STAGESTATE_GAMEOVER);
    run.keys.Hold(0, kMenuB2);
    run.Frame();
    ASSERT_EQ(scene->m_nPhase, STAGESTATE_GAMEOVER);
    run.Events().Clear();
    run.keys.Idle(1).Hold(0, kMenuB1);
    run.Frames(2);
    EXPECT_EQ(scene->m_nPhase, STAGESTATE_FADEOUT);
    EXPECT_EQ(Game.m_nNextScene, SCENE_TITLE);
    EXPECT_EQ(run.Events().Texts(EventKind::Sound), std::vector<std::string>{"1"});
    EXPECT_EQ(run.Events().Texts(EventKind::State), std::vector<std::string>{"7"});
  }
}
