// The results of a clear on a real game thread while this thread pumps the
// main window: the run's totals, the extra lives of the score steps crossed
// with a notice on thPause each, and the ranking entry with the name
// dialog, the tables, the file and the view on thRanking.
#include <gtest/gtest.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <string>
#include <vector>

#include "base/window_messages.h"
#include "game/characters.h"
#include "game/game.h"
#include "game/message_window.h"
#include "platform/host_path.h"
#include "platform/messages.h"
#include "records/ranking.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/system.h"
#include "records/user_settings.h"
#include "stage/scene_stage.h"
#include "support/builders.h"
#include "support/stage_runner.h"
#include "threads/free_play_stage.h"

using namespace testsupport;

namespace {

// Extra lives every `step` points.
void SetExtraLives(int on, int step) {
  SystemData.m_bExtraLifeByScore = on;
  SystemData.m_nExtraLifeScore = step;
}

// The sounds and the frame loops they came from, in order.
std::vector<std::string> SoundsAndLoops(EventLog& events) {
  std::vector<std::string> out;
  for (const GameEvent& e : events.All()) {
    if (e.kind == EventKind::Sound) out.push_back("sound " + e.text);
    if (e.kind == EventKind::Thread) out.push_back(e.text);
  }
  return out;
}

}  // namespace

TEST(ClearTallies, TheRunsResultsAddUpClampedAndTimeLeftOnlyWithALimit) {
  struct Case {
    const char* what;
    int noLimit;
    int32_t total, stageScore, timeSum;
    int32_t total2, timeSum2;
  };
  const Case cases[] = {
      {"with a time limit", 0, 100, 50, 7, 150, 7 + 33},
      {"without a time limit", 1, 100, 50, 7, 150, 7},
      {"sums stay within 32 bits", 0, INT_MAX - 10, 100, INT_MAX - 5, INT_MAX, INT_MAX},
      {"and below", 0, INT_MIN + 10, -100, 0, INT_MIN, 33},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StageRunner run(GameThreadRunnerOptions());
    StartFreePlayOnGround(run);
    SetExtraLives(0, 0);
    cSceneStage* scene = run.Scene();
    scene->m_bNoTimeLimit = c.noLimit;
    scene->m_nTimeLeft = 33;
    scene->m_nPlayTime = 1234;
    Hero()->m_nHp = 8;
    Hero()->m_nSp = 3;
    PlayData.m_nTotalScore = c.total;
    PlayData.m_nStageScore = c.stageScore;
    PlayData.m_nTimeLeftSum = c.timeSum;
    PlayData.m_nClearTimeSum = 10;
    PlayData.m_nHpSum = 1;
    PlayData.m_nSpSum = 2;
    run.OnGameThread([&] { scene->AddClearTallies(); });
    EXPECT_EQ(PlayData.m_nTotalScore, c.total2);
    EXPECT_EQ(PlayData.m_nTimeLeftSum, c.timeSum2);
    EXPECT_EQ(PlayData.m_nClearTimeSum, 1244);
    EXPECT_EQ(PlayData.m_nHpSum, 9);
    EXPECT_EQ(PlayData.m_nSpSum, 5);
  }
}

TEST(ExtraLives, EachStepCrossedGivesALifeItsSoundAndAThirtyFrameNoticeOnThePauseThread) {
  StageRunner run(GameThreadRunnerOptions());
  StartFreePlayOnGround(run);
  SetExtraLives(1, 100);
  cSceneStage* scene = run.Scene();
  PlayData.m_nLives = 3;
  PlayData.m_nTotalScore = 50;
  PlayData.m_nStageScore = 300;  // 100, 200 and 300 crossed
  // What each frame of the waits shows: the lives and the notice.
  std::vector<std::string> shown;
  run.onPresent = [&](const std::string& loop, int) {
    if (loop != "pause") return;
    run.Events().Add(EventKind::Log, "pause frame");  // marks the loop in the log
    const bool notice = scene->m_Messages.size() == 1 && scene->m_Messages.front().m_nMode == MESSAGEMODE_EXTRALIFE;
    shown.push_back(std::to_string(PlayData.m_nLives) + (notice ? " notice" : " none"));
  };
  run.Events().Clear();
  run.OnGameThread([&] { scene->AddClearTallies(); });
  EXPECT_EQ(PlayData.m_nLives, 6);
  std::vector<std::string> expected;
  for (int lives : {4, 5, 6}) expected.insert(expected.end(), 30, std::to_string(lives) + " notice");
  EXPECT_EQ(shown, expected);
  EXPECT_EQ(SoundsAndLoops(run.Events()), (std::vector<std::string>{"sound 15", "pause", "game", "sound 15", "pause",
                                                                    "game", "sound 15", "pause"}));
  EXPECT_TRUE(scene->m_Messages.empty()) << "each notice leaves with its wait";
  EXPECT_EQ(scene->m_bButtonLock, 0) << "a timed wait";
}

TEST(ExtraLives, TheCapInfiniteLivesAndStepsThatGiveNone) {
  struct Case {
    const char* what;
    int on, step;
    int32_t lives, total, stageScore;
    int32_t livesAfter;
    size_t notices;
  };
  const Case cases[] = {
      {"at the cap", 1, 100, 98, 0, 300, 99, 3},
      {"above the cap nothing is taken", 1, 100, 150, 0, 100, 150, 1},
      {"infinite lives", 1, 100, LIVES_INFINITE, 0, 300, LIVES_INFINITE, 0},
      {"switched off", 0, 100, 3, 0, 300, 3, 0},
      {"a step of 0", 1, 0, 3, 0, 300, 3, 0},
      {"a negative step", 1, -100, 3, 0, 300, 3, 0},
      {"a loss crosses nothing", 1, 100, 3, 250, -200, 3, 0},
      {"no step crossed", 1, 100, 3, 120, 70, 3, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StageRunner run(GameThreadRunnerOptions());
    StartFreePlayOnGround(run);
    SetExtraLives(c.on, c.step);
    cSceneStage* scene = run.Scene();
    PlayData.m_nLives = c.lives;
    PlayData.m_nTotalScore = c.total;
    PlayData.m_nStageScore = c.stageScore;
    run.Events().Clear();
    run.OnGameThread([&] { scene->AddClearTallies(); });
    EXPECT_EQ(PlayData.m_nLives, c.livesAfter);
    EXPECT_EQ(run.Events().Texts(EventKind::Sound), std::vector<std::string>(c.notices, "15"));
  }
}

TEST(ExtraLives, ATinyStepShowsNoMoreNoticesThanLivesCanBeHeld) {
  StageRunner run(GameThreadRunnerOptions());
  StartFreePlayOnGround(run);
  SetExtraLives(1, 1);
  PlayData.m_nLives = 0;
  PlayData.m_nStageScore = 150;
  // Each notice is cut short after its first frame, as a quit message to
  // its thread would: the count of notices is what matters here.
  int notices = 0;
  run.onPresent = [&](const std::string& loop, int) {
    if (loop != "pause") return;
    ++notices;
    plat::PostToThread(plat::CurrentThreadId(), WM_QUIT, 0, 0);
  };
  run.Events().Clear();
  run.OnGameThread([&] { run.Scene()->AddClearTallies(); });
  EXPECT_EQ(notices, 99);
  EXPECT_EQ(PlayData.m_nLives, 99);
  EXPECT_EQ(run.Events().Texts(EventKind::Sound), std::vector<std::string>(99, "15"));
}

TEST(ExtraLives, ACloseDuringANoticeEndsItAndShowsNoMore) {
  StageRunner run(GameThreadRunnerOptions());
  StartFreePlayOnGround(run);
  run.Events().AllowCloseRequests(true);
  SetExtraLives(1, 100);
  cSceneStage* scene = run.Scene();
  PlayData.m_nLives = 3;
  PlayData.m_nStageScore = 300;
  int presents = 0;
  run.onPresent = [&](const std::string& loop, int n) {
    if (loop != "pause") return;
    ++presents;
    // What the main window does on WM_CLOSE while a wait runs.
    if (n == 5) {
      bQuit = 1;
      scene->m_bCloseRequested = 1;
      plat::PostToThread(plat::CurrentThreadId(), WM_QUIT, 0, 0);
    }
  };
  run.Events().Clear();
  run.OnGameThread([&] { scene->AddClearTallies(); });
  EXPECT_EQ(presents, 5);
  EXPECT_EQ(PlayData.m_nLives, 4);
  EXPECT_EQ(run.Events().Texts(EventKind::Sound), std::vector<std::string>{"15"});
  EXPECT_EQ(run.Events().Texts(EventKind::Close).size(), 1u);
  EXPECT_TRUE(scene->m_Messages.empty());
}

TEST(ExtraLives, TheNextNoticeWaitsForTheWindowToBeActiveAgainOrForAClose) {
  for (bool close : {false, true}) {
    SCOPED_TRACE(close ? "closed meanwhile" : "active again");
    StageRunner run(GameThreadRunnerOptions());
    StartFreePlayOnGround(run);
    run.Events().AllowCloseRequests(close);
    SetExtraLives(1, 100);
    cSceneStage* scene = run.Scene();
    PlayData.m_nLives = 3;
    PlayData.m_nStageScore = 200;
    std::atomic<int> presents{0};
    std::atomic<bool> inactive{false};
    int spins = 0, presentsWhenWoken = -1;
    run.onPresent = [&](const std::string& loop, int) {
      if (loop != "pause" || ++presents != 30) return;
      // The window loses the focus as the first notice ends.
      bAppActive = 0;
      inactive = true;
      plat::PostToThread(plat::CurrentThreadId(), WM_QUIT, 0, 0);
    };
    run.whilePumping = [&] {
      if (!inactive.load() || ++spins != 20) return;
      presentsWhenWoken = presents.load();
      if (close)
        bQuit = 1;
      else
        bAppActive = 1;
    };
    run.Events().Clear();
    run.OnGameThread([&] { scene->AddClearTallies(); });
    EXPECT_EQ(presentsWhenWoken, 30) << "no second notice while inactive";
    EXPECT_EQ(PlayData.m_nLives, close ? 4 : 5);
    EXPECT_EQ(run.Events().Texts(EventKind::Sound), std::vector<std::string>(close ? 1 : 2, "15"));
    EXPECT_EQ(run.Events().Texts(EventKind::Close).size(), close ? 1u : 0u);
  }
}

namespace {

// A cleared free stage with rankings of categories 0 and 1 on, whose table
// 1 is full of results the run does not beat.
struct RankedClear {
  explicit RankedClear(int mode) {
    StartFreePlayOnGround(run);
    SetExtraLives(0, 0);
    Game.m_bRanking = 1;
    cEdRankingMode& m = SystemData.m_vRankingModes.At(PLAYKIND_FREE);
    m.m_bRanking = 1;
    m.m_vCategories = {1, 1, 0, 0, 0};
    Stage.m_vRanked = {1, 1, 1, 1, 1};
    for (cRankingEntry& e : Ranking.m_vTables[1].m_vEntries) {
      e.m_bUsed = 1;
      e.m_strName = "x";
      e.m_nValue = 1000;
    }
    OptionData.m_nRankingMode = mode;
    OptionData.m_strRankingName = "OPT";
    PlayData.m_strRankingName = "OLD";
    PlayData.m_nStageScore = 77;
    scene = run.Scene();
    run.OnGameThread([&] { scene->OnStageClear(); });
    run.Events().Clear();
    EXPECT_TRUE(MakeRankingPath(file, PLAYKIND_FREE, kFreePlayStagePath));
  }
  // The view: button 4 at its frame 2, button 1 at its frame 4.
  void ScriptView() {
    run.onPresent = [this](const std::string& loop, int n) {
      if (loop != "ranking") return;
      ++viewFrames;
      n + 1 == 2 ? run.Hold('V') : run.Release('V');
      n + 1 == 4 ? run.Hold('Z') : run.Release('Z');
    };
  }

  StageRunner run{GameThreadRunnerOptions()};
  cSceneStage* scene = nullptr;
  std::string file;
  int viewFrames = 0;
};

}  // namespace

TEST(RankingEntry, TheNameByModeTheRankedTablesTheFileAndTheView) {
  for (int mode = 0; mode < 4; ++mode) {
    SCOPED_TRACE("registration mode " + std::to_string(mode));
    RankedClear rig(mode);
    ASSERT_EQ(rig.scene->m_vRanks, (cVector<int32_t>{0, -1, -1, -1, -1}));
    std::string dialogSaw;
    rig.run.Events().nameDialog = [&] {
      dialogSaw = rig.scene->m_strRankingName;
      rig.scene->m_strRankingName = "NEW";
      return true;
    };
    rig.ScriptView();
    rig.run.OnGameThread([&] { rig.scene->EnterRanking(); });
    const bool asks = mode == 0 || mode == 2;
    const std::string name = asks ? "NEW" : "OPT";
    EXPECT_EQ(rig.run.Events().Texts(EventKind::Send), asks ? std::vector<std::string>{"name"}
                                                            : std::vector<std::string>{});
    if (asks) { EXPECT_EQ(dialogSaw, "OLD") << "the dialog starts from the name used last"; }
    EXPECT_EQ(PlayData.m_strRankingName, asks ? "NEW" : "OLD");
    EXPECT_EQ(rig.scene->m_strRankingName, name);
    // Categories 0 and 1 both counted: button 4 turned the view to 1.
    EXPECT_EQ(SoundsAndLoops(rig.run.Events()),
              (std::vector<std::string>{"sound 16", "ranking", "sound 6", "sound 1"}));
    EXPECT_EQ(rig.viewFrames, 3);
    EXPECT_EQ(rig.scene->m_bRanked, 1);
    EXPECT_EQ(Ranking.m_vTables[0].m_vEntries[0].m_strName, name);
    EXPECT_EQ(Ranking.m_vTables[0].m_vEntries[0].m_nValue, 77);
    EXPECT_EQ(Ranking.m_vTables[1].m_vEntries[0].m_strName, "x") << "a table not reached is left alone";
    cRanking saved;
    ASSERT_TRUE(saved.LoadFor(PLAYKIND_FREE, kFreePlayStagePath));
    EXPECT_EQ(saved.m_vTables[0].m_vEntries[0].m_strName, name);

    // Once per clear.
    ASSERT_TRUE(plat::RemoveTree(rig.file));
    rig.run.Events().Clear();
    rig.run.OnGameThread([&] { rig.scene->EnterRanking(); });
    EXPECT_TRUE(rig.run.Events().All().empty());
    EXPECT_FALSE(plat::PathExists(rig.file));
  }
}

TEST(RankingEntry, NothingIsEnteredWithoutARankOrRankingsOrWhileClosing) {
  struct Case {
    const char* what;
    int rankingOn, rankable;
    int closeInDialog;  // 0 none; 1 the dialog closes the program; 2 it never ends, the program closes
    bool asks;
  };
  const Case cases[] = {
      {"no rank reached", 1, 0, 0, false},
      {"rankings off", 0, 1, 0, false},
      {"closed while the dialog is open", 1, 1, 1, true},
      {"closed while waiting for the dialog", 1, 1, 2, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    RankedClear rig(0);
    Game.m_bRanking = c.rankingOn;
    rig.scene->m_bRankable = c.rankable;
    rig.run.Events().nameDialog = [&] {
      rig.scene->m_strRankingName = "NEW";
      if (c.closeInDialog) bQuit = 1;
      return c.closeInDialog != 2;
    };
    rig.run.OnGameThread([&] { rig.scene->EnterRanking(); });
    EXPECT_EQ(rig.run.Events().Texts(EventKind::Send).size(), c.asks ? 1u : 0u);
    EXPECT_TRUE(rig.run.Events().Texts(EventKind::Sound).empty());
    EXPECT_EQ(rig.scene->m_bRanked, 0);
    EXPECT_EQ(PlayData.m_strRankingName, "OLD");
    EXPECT_FALSE(Ranking.m_vTables[0].m_vEntries[0].m_bUsed);
    EXPECT_FALSE(plat::PathExists(rig.file));
    bQuit = 0;
  }
}
