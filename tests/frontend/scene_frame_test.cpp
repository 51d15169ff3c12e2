// The frame every menu scene stands on, run with a scene of the test's own on
// the started sample: the input words its phases see under each latch mask,
// the screen music rule, a set-up that fails or cannot load its images, the
// visible entries of its menu, the fades and what the scene leaves behind.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "front_end_rig.h"
#include "frontend/scene_frame.h"
#include "game/menu_cursor.h"
#include "media/dd_pixels.h"
#include "media/input.h"
#include "media/surface_table.h"
#include "media/system_surfaces.h"
#include "platform/close_request.h"
#include "records/system.h"

namespace {

constexpr int kImage = 49;  // Accessory.bmp

// Notes what the frame calls; its own phase notes the input it sees and can
// leave for another scene.
class cProbeScene : public cFrontScene<cProbeScene> {
 public:
  cProbeScene(uint16_t mask, const SCENEFRAME& frame) : cFrontScene({&cProbeScene::Own}, mask, frame) {}

  int Own() {
    seen.push_back(std::to_string(Input.At(0).m_wDir) + "/" + std::to_string(Input.At(0).m_wButton));
    if (leaveTo >= 0) Leave(leaveTo);
    return 1;
  }
  void InitScene() {
    calls.push_back("init");
    if (ownSurface) DDAddSurface(Off_Scene, Off_SceneDef, 32, 32, 1, 0, 0, nullptr);
    if (throwText) throw throwText;
  }
  void DrawScreen() { calls.push_back("draw"); }
  void OnFadedOut() { calls.push_back("faded out"); }

  std::vector<std::string> seen;
  std::vector<std::string> calls;
  const char* throwText = nullptr;
  bool ownSurface = false;
  int leaveTo = -1;
};

SCENEFRAME ProbeFrame(int bgmKind, const cVector<cEdSystemText>* menu = nullptr) {
  return SCENEFRAME{SCENE_STAGESELECT, bgmKind, {kImage}, 1, menu};
}

}  // namespace

class SceneFrame : public frontendtest::FrontEnd {
 protected:
  void SetUp() override {
    StartProgram();
    Game.m_nFadeStep = 45;  // fades of three frames
    TakeRequests();
  }
  // Runs the scene with the raw words of one frame.
  static void Run(cProbeScene& scene, uint16_t dir, uint16_t buttons) {
    Input.At(0).m_wDir = dir;
    Input.At(0).m_wButton = buttons;
    scene.Run();
  }
  static void RunToOwnPhase(cProbeScene& scene) {
    for (int i = 0; i < 10 && scene.m_nPhase != 1; ++i) Run(scene, 0, 0);
    ASSERT_EQ(scene.m_nPhase, 1);
  }
};

TEST_F(SceneFrame, ThePhasesSeeRepeatedDirectionsAndButtonsLatchedByTheMask) {
  struct Case {
    const char* what;
    uint16_t mask;
    std::vector<uint16_t> dirs, buttons;  // held per frame
    std::vector<std::string> seen;
  };
  const Case cases[] = {
      {"buttons 1 and 2 once per hold", 3, {0, 0, 0, 0, 0}, {1, 1, 1, 0, 1}, {"0/1", "0/0", "0/0", "0/0", "0/1"}},
      {"button 2, then 1 while 2 is held", 3, {0, 0, 0}, {2, 3, 1}, {"0/2", "0/0", "0/0"}},
      {"buttons 3 and 4 pass every frame under mask 3", 3, {0, 0, 0}, {4, 12, 8}, {"0/4", "0/12", "0/8"}},
      {"buttons 3 and 4 once per hold under mask 15", 15, {0, 0, 0, 0}, {4, 4, 0, 8}, {"0/4", "0/0", "0/0", "0/8"}},
      {"a held direction acts once, a new press again", 3, {8, 8, 0, 8}, {0, 0, 0, 0}, {"8/0", "0/0", "0/0", "8/0"}},
  };
  for (const Case& c : cases) {
    cProbeScene scene(c.mask, ProbeFrame(BGMKIND_STAGESELECT));
    RunToOwnPhase(scene);
    scene.seen.clear();
    for (size_t i = 0; i < c.dirs.size(); ++i) Run(scene, c.dirs[i], c.buttons[i]);
    EXPECT_EQ(scene.seen, c.seen) << c.what;
  }
}

TEST_F(SceneFrame, TheScreenMusicIsAskedForUnlessItPlaysAlready) {
  struct Case {
    int32_t screen, current;
    bool sent;
  };
  const Case cases[] = {
      {2, 1, true},   // another music
      {2, 0, true},   // none played
      {2, 2, false},  // the same goes on
      {0, 2, true},   // none: what plays stops
      {0, 0, true},   // none is asked for every time
  };
  for (const Case& c : cases) {
    SystemData.m_vScreenBgm.At(BGMKIND_STAGESELECT) = c.screen;
    Game.m_nBgm = c.current;
    cProbeScene scene(3, ProbeFrame(BGMKIND_STAGESELECT));
    Run(scene, 0, 0);
    EXPECT_EQ(TakeRequests(), c.sent ? std::vector<std::string>{"music 2 0"} : std::vector<std::string>{})
        << "screen " << c.screen << " current " << c.current;
    EXPECT_EQ(Game.m_nBgm, c.screen);
  }
}

TEST_F(SceneFrame, ASetUpThatThrowsClosesOnceAndTheFadeInStillRuns) {
  cProbeScene scene(3, ProbeFrame(BGMKIND_STAGESELECT));
  scene.throwText = "no stage";
  Run(scene, 0, 0);
  EXPECT_EQ(plat::CloseRequestCount(), 1u);
  EXPECT_EQ(scene.calls, (std::vector<std::string>{"init", "draw"}));
  Run(scene, 0, 0);
  EXPECT_EQ(plat::CloseRequestCount(), 1u);
  EXPECT_EQ(std::count(scene.calls.begin(), scene.calls.end(), "init"), 1) << "set up once";
}

TEST_F(SceneFrame, AnImageThatDoesNotLoadClosesAndTheSceneGoesOn) {
  const std::string kept = SurfaceDefs[kImage].szFileName;
  SurfaceDefs[kImage].szFileName = "bmp\\Missing.bmp";
  m_boxes.shown.clear();
  cProbeScene scene(3, ProbeFrame(BGMKIND_STAGESELECT));
  Run(scene, 0, 0);
  SurfaceDefs[kImage].szFileName = kept;
  EXPECT_EQ(plat::CloseRequestCount(), 1u);
  EXPECT_EQ(m_boxes.shown.size(), 1u) << "the loader's box";
  EXPECT_EQ(scene.calls, (std::vector<std::string>{"init", "draw"}));
}

TEST_F(SceneFrame, TheMenuListsItsVisibleEntriesOrTheFirstWhenNoneIs) {
  struct Case {
    std::vector<int> visible;
    cVector<int32_t> ids;
  };
  const Case cases[] = {
      {{1, 1, 1, 1, 1, 1, 1}, {0, 1, 2, 3, 4, 5, 6}},
      {{0, 1, 0, 1, 0, 0, 1}, {1, 3, 6}},
      {{0, 0, 0, 0, 0, 1, 0}, {5}},
      {{0, 0, 0, 0, 0, 0, 0}, {0}},
  };
  for (const Case& c : cases) {
    cVector<cEdSystemText> menu(c.visible.size());
    for (size_t i = 0; i < c.visible.size(); ++i) menu[i].m_bVisible = c.visible[i];
    cProbeScene scene(3, ProbeFrame(BGMKIND_STAGESELECT, &menu));
    Run(scene, 0, 0);
    EXPECT_EQ(scene.m_nItemIds, c.ids);
    EXPECT_EQ(scene.m_nItems, c.ids.Size());
  }
}

TEST_F(SceneFrame, TheFadeOutClearsTheScreenResetsTheCursorAndSwitches) {
  auto scene = std::make_unique<cProbeScene>(3, ProbeFrame(BGMKIND_STAGESELECT));
  scene->ownSurface = true;
  RunToOwnPhase(*scene);
  EXPECT_NE(SurfaceTable[kImage].lpDDS, nullptr);
  EXPECT_EQ(Off_Scene.Size(), 1);
  MenuCursor.Push(1);
  MenuCursor.Cur()->nRow = 4;
  scene->leaveTo = SCENE_WORLDMAP;
  Run(*scene, 0, 0);
  EXPECT_EQ(Game.m_nNextScene, SCENE_WORLDMAP);
  for (int i = 0; i < 10 && Game.m_nScene != SCENE_WORLDMAP; ++i) Run(*scene, 0, 0);
  EXPECT_EQ(Game.m_nScene, SCENE_WORLDMAP);
  EXPECT_EQ(Game.m_nPrevScene, SCENE_STAGESELECT);
  EXPECT_EQ(scene->calls.back(), "faded out");
  EXPECT_EQ(MenuCursor.m_Stack.Size(), 1);
  EXPECT_EQ(MenuCursor.Cur()->nRow, 0);
  const std::string left = frontendtest::Pixels(&BackBuffer, 0, 0, 640, 480);
  DDFillSurface(&BackBuffer, 16);
  EXPECT_TRUE(left == frontendtest::Pixels(&BackBuffer, 0, 0, 640, 480)) << "the screen in colour 16";

  scene.reset();
  EXPECT_EQ(SurfaceTable[kImage].lpDDS, nullptr) << "its images go with it";
  EXPECT_TRUE(Off_Scene.empty());
}
