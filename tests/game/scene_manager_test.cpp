// The scene manager with recording test scenes: creation on the first frame
// that asks, the switch one frame after a scene's fade-out, the deletion
// orders, and set-ups that fail.
#include "game/game_test_env.h"

// Named apart: other test files of this folder see the support library's EventLog.
using SceneEvents = gametest::EventLog;
using gametest::FrameLoop;
using gametest::SceneScript;

namespace {

using SceneManager = FrameLoop;

}  // namespace

TEST_F(SceneManager, MakesASceneOnItsFirstFrameAndSwitchesTheFrameAfterItsFadeOut) {
  maker.scripts[SCENE_TITLE] = SceneScript{SCENE_STAGESELECT, 2};
  maker.scripts[SCENE_STAGESELECT] = SceneScript{};
  Game.m_nScene = SCENE_TITLE;
  const SceneEvents perFrame[] = {
      {"new 0", "init 0", "fade-in 0"},
      {"run 0"},
      {"run 0"},  // leaves: next scene 3, fade-out phase
      {"fade-out 0"},
      {"fade-out 0"},  // the fade ends: current scene 3, but the title still ran
      {"delete 0", "new 3", "init 3", "fade-in 3"},
      {"run 3"},
  };
  for (size_t f = 0; f < std::size(perFrame); ++f) {
    ASSERT_EQ(Game.Frame(), 1);
    EXPECT_EQ(TakeEvents(), perFrame[f]) << "frame " << f;
    if (f == 4) {
      EXPECT_EQ(Game.m_nScene, SCENE_STAGESELECT);
      EXPECT_NE(Game.m_pTitle, nullptr);
    }
  }
  EXPECT_EQ(Game.m_nPrevScene, SCENE_TITLE);
  EXPECT_EQ(Game.m_nNextScene, SCENE_STAGESELECT);
  EXPECT_EQ(Game.m_pTitle, nullptr);
  EXPECT_NE(Game.m_pStageSelect, nullptr);
}

TEST_F(SceneManager, ASceneThatLeavesForItselfIsSetUpAgainNotMadeAgain) {
  maker.scripts[SCENE_OPTION] = SceneScript{SCENE_OPTION, 1};
  Game.m_nScene = SCENE_OPTION;
  Frames(5);
  EXPECT_EQ(TakeEvents(), (SceneEvents{"new 5", "init 5", "fade-in 5", "run 5", "fade-out 5", "fade-out 5",
                                    "init 5", "fade-in 5"}));
}

TEST_F(SceneManager, DeletesTheOtherScenesInItsOrder) {
  struct Case {
    int scene;
    SceneEvents events;
  };
  const Case cases[] = {
      {SCENE_STAGESELECT, {"delete 0", "delete 2", "delete 1", "delete 4", "delete 5"}},
      {SCENE_TITLE, {"delete 2", "delete 1", "delete 3", "delete 4", "delete 5"}},
      {SCENE_STAGE, {"delete 0", "delete 2", "delete 1", "delete 3", "delete 5"}},
      {6, {"delete 0", "delete 2", "delete 1", "delete 3", "delete 4", "delete 5"}},
      {-1, {"delete 0", "delete 2", "delete 1", "delete 3", "delete 4", "delete 5"}},
  };
  for (int scene = 0; scene < SCENE_COUNT; ++scene) maker.scripts[scene] = SceneScript{};
  for (const Case& c : cases) {
    Game.m_bKeepScenes = 1;
    for (int scene = 0; scene < SCENE_COUNT; ++scene) Game.SwitchScene(scene);
    ASSERT_NE(CurStage, nullptr);
    TakeEvents();
    Game.m_bKeepScenes = 0;
    Game.SwitchScene(c.scene);
    EXPECT_EQ(TakeEvents(), c.events) << c.scene;
    EXPECT_EQ(CurStage != nullptr, c.scene == SCENE_STAGE) << c.scene;
    for (int scene = 0; scene < SCENE_COUNT; ++scene)
      EXPECT_EQ(Game.SceneOf(scene) != nullptr, scene == c.scene) << c.scene << " " << scene;
  }
}

TEST_F(SceneManager, ShutdownDeletesEveryScenePuttingTheStageLast) {
  for (int scene = 0; scene < SCENE_COUNT; ++scene) maker.scripts[scene] = SceneScript{};
  Game.m_bKeepScenes = 1;
  for (int scene = 0; scene < SCENE_COUNT; ++scene) Game.SwitchScene(scene);
  TakeEvents();
  Game.DeleteScenes();
  EXPECT_EQ(TakeEvents(), (SceneEvents{"delete 0", "delete 1", "delete 2", "delete 3", "delete 5", "delete 4"}));
  EXPECT_EQ(CurStage, nullptr);
  Game.DeleteScenes();  // the second run finds nothing
  EXPECT_TRUE(TakeEvents().empty());
}

TEST_F(SceneManager, NothingRunsWithoutASceneToRun) {
  Game.m_nScene = SCENE_WORLDMAP;  // no script: the maker makes nothing
  Frames(1);
  Game.m_pSceneMaker = nullptr;
  Game.m_nScene = SCENE_TITLE;
  Frames(1);
  maker.scripts[SCENE_TITLE] = SceneScript{};
  Game.m_pSceneMaker = &maker;
  Game.m_nScene = 9;
  Frames(1);
  EXPECT_TRUE(TakeEvents().empty());
  // Each frame still presented.
  EXPECT_EQ(TakeDrawCalls(), (std::vector<std::string>(3, "DDShowFrame 1")));
}

TEST_F(SceneManager, ATextThrownBySetUpGoesToTheDebugLogThenTheProgramCloses) {
  const std::string text = testsupport::Sjis("ステージの読み込みに失敗しました");
  struct Case {
    const char* what;
    bool inConstructor, asString;
    SceneEvents events;
  };
  const Case cases[] = {
      {"constructor, const char*", true, false, {}},
      {"constructor, std::string", true, true, {}},
      // The phase machine starts all the same.
      {"Init", false, false, {"new 0", "init 0", "fade-in 0"}},
  };
  for (const Case& c : cases) {
    SetUp();
    testsupport::ScriptedBoxes boxes;
    SceneScript script;
    if (!c.inConstructor) script.throwInInit = text.c_str();
    maker.scripts[SCENE_TITLE] = script;
    maker.throwOnCreate = c.inConstructor ? text.c_str() : nullptr;
    maker.throwAsString = c.asString;
    Game.m_nScene = SCENE_TITLE;
    ASSERT_EQ(Game.Frame(), 1) << c.what;
    EXPECT_EQ(TakeEvents(), c.events) << c.what;
    EXPECT_NE(DebugLog().find(text + "\r\n"), std::string::npos) << c.what;
    EXPECT_EQ(plat::CloseRequestCount(), 1u) << c.what;
    EXPECT_TRUE(boxes.shown.empty()) << c.what;
    EXPECT_EQ(TakeDrawCalls(), (std::vector<std::string>{"DDShowFrame 1"})) << c.what;
    TearDown();
    maker.scripts.clear();
    maker.throwOnCreate = nullptr;
  }
}

TEST_F(SceneManager, AFailedAllocationShowsTheOutOfMemoryBoxAndCloses) {
  testsupport::ScriptedBoxes boxes;
  maker.throwOnCreate = "bad_alloc";
  Frames(1);
  ASSERT_EQ(boxes.shown.size(), 1u);
  EXPECT_EQ(boxes.shown[0].text, testsupport::Sjis("メモリが不足しています！"));
  EXPECT_EQ(plat::CloseRequestCount(), 1u);
}

TEST_F(SceneManager, TheStageHearsTheMeasuredRateWhileItExists) {
  maker.scripts[SCENE_STAGE] = SceneScript{SCENE_TITLE, 1};
  Game.m_nScene = SCENE_STAGE;
  Frames(1);
  EXPECT_EQ(TakeEvents(), (SceneEvents{"new 4", "init 4", "fade-in 4", "stage fps 0"}));
  Frames(3);  // run, two frames of fade-out
  TakeEvents();
  Frames(1);
  EXPECT_EQ(TakeEvents(), (SceneEvents{"delete 4"}));
  EXPECT_EQ(CurStage, nullptr);
}

// The scene's Run polls nothing itself but applies the menu latch to what
// the frame polled: a held Z acts once.
TEST_F(SceneManager, ScenesSeeThePolledInputThroughTheMenuLatch) {
  maker.scripts[SCENE_TITLE] = SceneScript{};
  Frames(1);  // fade-in
  m_devices.Press('Z');
  Frames(3);
  m_devices.Release('Z');
  Frames(1);
  m_devices.Press('Z');
  m_devices.Press('X');
  Frames(1);
  auto* title = static_cast<gametest::cTestScene*>(Game.m_pTitle);
  EXPECT_EQ(title->seenButtons, (std::vector<uint16_t>{1, 0, 0, 0, 3}));
}
