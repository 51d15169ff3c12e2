// A cleared stage played on a real game thread while this thread pumps the
// main window: the clear state (its wait, the banner sliding in, the
// ranking hint and the totals, how it leads on), the ranks a clear reaches,
// the extra lives with their notices on thPause, and the ranking entry with
// its name and its view on thRanking.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "base/dbcs_text.h"
#include "base/window_messages.h"
#include "game/characters.h"
#include "game/game.h"
#include "game/message_window.h"
#include "platform/host_path.h"
#include "platform/virtual_keys.h"
#include "records/ranking.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/started_by_editor.h"
#include "records/system.h"
#include "records/user_settings.h"
#include "stage/scene_stage.h"
#include "support/builders.h"
#include "support/stage_runner.h"
#include "threads/free_play_stage.h"
#include "tools/sample/sample_stages.h"

using namespace testsupport;

namespace {

constexpr uint16_t kClearB1 = 1;
constexpr int kClearKeyB1 = 'Z';
constexpr int kClearKeyB4 = 'V';

// The rankings of free play on, ranking the categories flagged in both
// lists.
void FreeRankingsOn(std::vector<uint8_t> mode, std::vector<int32_t> stage) {
  Game.m_bRanking = 1;
  cEdRankingMode& m = SystemData.m_vRankingModes.At(PLAYKIND_FREE);
  m.m_bRanking = 1;
  m.m_vCategories = cVector<uint8_t>(mode.begin(), mode.end());
  Stage.m_vRanked = cVector<int32_t>(stage.begin(), stage.end());
}

// The stage is cleared now, as play clears it.
void ClearNow(StageRunner& run) {
  cSceneStage* scene = run.Scene();
  run.OnGameThread([&] {
    scene->OnStageClear();
    scene->m_nPhase = STAGESTATE_CLEAR;
  });
}

// The ranking view ends with button 1 at its `endAt`th frame; button 4 is
// pressed at its frames listed.
void ScriptRankingView(StageRunner& run, int endAt, std::vector<int> switchAt = {}) {
  run.onPresent = [&run, endAt, switchAt](const std::string& loop, int n) {
    if (loop != "ranking") return;
    if (std::count(switchAt.begin(), switchAt.end(), n + 1))
      run.Hold(kClearKeyB4);
    else
      run.Release(kClearKeyB4);
    // A button held from before the view must be let go first.
    if (n + 1 == endAt)
      run.Hold(kClearKeyB1);
    else
      run.Release(kClearKeyB1);
  };
}

}  // namespace

TEST(StageClearState, AQuickClearLeadsOnAtTwoHundredWithoutAnyButton) {
  for (int banner : {0, 1}) {
    SCOPED_TRACE(banner ? "with the banner" : "without it");
    StageRunner run(GameThreadRunnerOptions());
    StartFreePlayOnGround(run);
    Stage.m_bQuickClear = 1;
    Stage.m_bClearBanner = banner;
    ClearNow(run);
    cSceneStage* scene = run.Scene();
    // The banner counts 4 a frame; without it the count is 200 at once.
    const int frames = banner ? 50 : 1;
    run.Frames(frames);
    EXPECT_EQ(scene->m_nPhase, STAGESTATE_CLEAR);
    EXPECT_EQ(scene->m_nBannerCount, 200);
    run.Frame();
    EXPECT_EQ(scene->m_nPhase, STAGESTATE_FADEOUT);
    EXPECT_EQ(Game.m_nNextScene, SCENE_STAGE) << "a free stage plays again";
    EXPECT_EQ(scene->m_nBannerCount, 0);
    EXPECT_EQ(run.Events().Texts(EventKind::Sound), std::vector<std::string>{"14"}) << "no decision sound";
  }
}

TEST(StageClearState, TheBannerSlidesInByFourDotBandsThenStands) {
  StageRunner run(GameThreadRunnerOptions());
  StartFreePlayOnGround(run);
  ClearNow(run);
  std::vector<std::string> banner;
  for (int f = 0; f < 26; ++f) {
    run.Renderer()->Take();
    run.Frame();
    for (const std::string& call : run.Renderer()->Take())
      if (call.find(" T51 0 64 ") != std::string::npos) banner.push_back(call);
  }
  ASSERT_EQ(banner.size(), 26u);
  for (int f = 0; f < 24; ++f)
    EXPECT_EQ(banner[f], "DDBltSplit Back 256 192 128 32 4 " + std::to_string(96 - 4 * f) + " T51 0 64 1 0");
  EXPECT_EQ(banner[24], "DDBlt Back 256 192 128 32 T51 0 64 1");
  EXPECT_EQ(banner[25], "DDBlt Back 256 192 128 32 T51 0 64 1");
}

TEST(StageClearState, ButtonOneLeadsOnOnlyFromTwoHundredAndTheTotalsShowFromThen) {
  StageRunner run(GameThreadRunnerOptions());
  StartFreePlayOnGround(run);
  FreeRankingsOn({1, 0, 0, 0, 0}, {1, 1, 1, 1, 1});
  Stage.m_bClearBanner = 0;
  ClearNow(run);
  cSceneStage* scene = run.Scene();
  // Frame 1 reaches 200; the press of frame 1 is too early, a held button
  // does not press again, the press of frame 4 leads on.
  run.keys.Hold(0, kClearB1, 2).Idle(1).Hold(0, kClearB1);
  run.Frames(3);
  EXPECT_EQ(scene->m_nPhase, STAGESTATE_CLEAR);
  const std::vector<std::string> calls = run.Renderer()->Take();
  EXPECT_NE(std::find_if(calls.begin(), calls.end(),
                         [](const std::string& c) { return c.rfind("DrawBox F1 Back 336 224 ", 0) == 0; }),
            calls.end())
      << "the totals box";
  run.Frame();
  EXPECT_EQ(scene->m_nPhase, STAGESTATE_FADEOUT);
  EXPECT_EQ(run.Events().Texts(EventKind::Sound), (std::vector<std::string>{"14", "1"}));
}

TEST(StageClearState, TheRankingIsEnteredByF3InModesZeroAndOneAndByButtonOneInTwoAndThree) {
  for (int mode = 0; mode < 4; ++mode) {
    SCOPED_TRACE("registration mode " + std::to_string(mode));
    StageRunner run(GameThreadRunnerOptions());
    StartFreePlayOnGround(run);
    FreeRankingsOn({1, 0, 0, 0, 0}, {1, 1, 1, 1, 1});
    Stage.m_bClearBanner = 0;
    OptionData.m_nRankingMode = mode;
    OptionData.m_strRankingName = "OPT";
    SystemData.m_vTexts.At(27) = "F3: RANKING";
    ClearNow(run);
    cSceneStage* scene = run.Scene();
    ASSERT_EQ(scene->m_bRankable, 1);
    ScriptRankingView(run, 3);
    run.Renderer()->Take();
    run.Frame();
    // The hint stands in the system line's place while F3 may be pressed.
    const std::vector<std::string> calls = run.Renderer()->Take();
    const std::string hint = "DrawText F1 Back " + std::to_string(320 - 8 * CountChars("F3: RANKING")) + " 456 0 F3: RANKING";
    EXPECT_EQ(std::count(calls.begin(), calls.end(), hint), mode < 2 ? 1 : 0);
    run.Events().Clear();
    run.Hold(VK_F3);
    run.Frame();
    run.Release(VK_F3);
    run.Release(kClearKeyB1);
    EXPECT_EQ(scene->m_bRanked, mode < 2 ? 1 : 0);
    EXPECT_EQ(scene->m_nPhase, STAGESTATE_CLEAR);
    run.keys.Idle(1).Hold(0, kClearB1);
    run.Frames(2);
    run.Release(kClearKeyB1);
    EXPECT_EQ(scene->m_nPhase, STAGESTATE_FADEOUT);
    EXPECT_EQ(scene->m_bRanked, 1);
    const std::vector<std::string> sends = run.Events().Texts(EventKind::Send);
    EXPECT_EQ(sends.size(), mode == 0 || mode == 2 ? 1u : 0u) << "only modes 0 and 2 ask for the name";
    // Entered by F3 the decision sound follows the view's; by the button
    // the entry stands for it.
    const std::vector<std::string> sounds = run.Events().Texts(EventKind::Sound);
    EXPECT_EQ(sounds, mode < 2 ? (std::vector<std::string>{"16", "1", "1"}) : (std::vector<std::string>{"16", "1"}));
    EXPECT_EQ(Ranking.m_vTables[0].m_vEntries[0].m_strName, mode % 2 ? "OPT" : "aaa");
  }
}

TEST(StageClearResults, TheClearFindsTheRanksOfTheLastAreaInTheCategoriesRanked) {
  struct Case {
    const char* what;
    int rankingOn, testPlay, fromEditor, nextArea;
    std::vector<uint8_t> mode;
    std::vector<int32_t> stage;
    std::vector<int32_t> ranks;
    int rankable;
    bool valuesTaken;
  };
  const std::vector<int32_t> none = {-1, -1, -1, -1, -1};
  const Case cases[] = {
      {"rankings off", 0, 0, 0, 0, {1, 1, 1, 1, 1}, {1, 1, 1, 1, 1}, none, 0, false},
      {"both flags; a full table the run does not beat", 1, 0, 0, 0, {1, 0, 1, 1, 1}, {1, 1, 0, 1, 1},
       {0, -1, -1, 0, -1}, 1, true},
      {"not the last area", 1, 0, 0, 2, {1, 1, 1, 1, 1}, {1, 1, 1, 1, 1}, none, 0, false},
      {"test play: the stage's flags alone", 0, 1, 0, 0, {0, 0, 0, 0, 0}, {0, 1, 0, 0, 0}, {-1, 0, -1, -1, -1}, 1,
       true},
      {"the editor's test play takes the values only", 0, 1, 1, 0, {1, 1, 1, 1, 1}, {1, 1, 1, 1, 1}, none, 0, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    StageRunner::Options options = GameThreadRunnerOptions();
    options.project = StageRunner::Project::Sample;
    StageRunner run(options);
    ASSERT_TRUE(run.LoadSampleStage(0));
    Game.m_nPlayKind = PLAYKIND_FREE;
    Game.m_nPlayCommand = GAMEMODE_FREE;
    ASSERT_TRUE(run.EnterPlay());
    FreeRankingsOn(c.mode, c.stage);
    Game.m_bRanking = c.rankingOn;
    bTestPlay = c.testPlay;
    bFromEditor = c.fromEditor;
    // The sample's stage 0 is area 1 of a series with one area.
    PlayData.SetStagePath(SampleStageName(0));
    ASSERT_EQ(PlayData.m_bNumberedStage, 1);
    if (c.nextArea) {
      std::string bytes;
      ASSERT_TRUE(plat::ReadWholeFile(SampleStageName(0) + "_000", bytes));
      std::string next = SampleStageName(0);
      next.replace(next.find("-1."), 3, "-2.");
      ASSERT_TRUE(plat::WriteFileAtomic(next + "_000", bytes.data(), bytes.size()));
    }
    cSceneStage* scene = run.Scene();
    scene->m_nNextStage = c.nextArea;
    // A full table that the run does not beat.
    for (cRankingEntry& e : Ranking.m_vTables[4].m_vEntries) {
      e.m_bUsed = 1;
      e.m_nValue = 1000000;
    }
    PlayData.m_nStageScore = 30;
    run.OnGameThread([&] { scene->OnStageClear(); });
    EXPECT_EQ(scene->m_vRanks, cVector<int32_t>(c.ranks.begin(), c.ranks.end()));
    EXPECT_EQ(scene->m_bRankable, c.rankable);
    EXPECT_EQ(scene->m_vRankValues[0], c.valuesTaken ? PlayData.m_nTotalScore : 0);
    EXPECT_EQ(PlayData.m_nTotalScore, 30);
    bTestPlay = 0;
    bFromEditor = 0;
  }
}
