// One frame's pieces against the drawing layer's stand-in: restore, input,
// the frame-rate display, the present, and the pacing on the fake clock.
#include <vector>

#include "base/window_messages.h"
#include "game/game_test_env.h"
#include "platform/messages.h"

using gametest::FrameLoop;
using gametest::SceneScript;

namespace {

using Calls = std::vector<std::string>;

class FramePieces : public FrameLoop {
 protected:
  // Makes a stage scene exist (the present looks at it).
  void MakeStage() {
    maker.scripts[SCENE_STAGE] = SceneScript{};
    Game.SwitchScene(SCENE_STAGE);
    TakeEvents();
  }
};

}  // namespace

TEST_F(FramePieces, PresentPacesAndShowsAsTheBackEndAsks) {
  struct Case {
    const char* what;
    int direct3D, windowed, timerPacing;
    bool stage;
    int fps;
    Calls calls;
  };
  const Case cases[] = {
      {"Direct3D presents at the frame rate", 1, 1, 0, false, 60, {"DDPresent 60 0"}},
      {"Direct3D in a fast stage", 1, 0, 0, true, 120, {"DDPresent 120 0"}},
      {"window: wait for the blank, then copy", 0, 1, 0, false, 60, {"DDShowFrame 1"}},
      {"window, stage at 60", 0, 1, 0, true, 60, {"DDShowFrame 1"}},
      {"window, stage at 61: no wait", 0, 1, 0, true, 61, {"DDShowFrame 0"}},
      {"window, 61 outside a stage still waits", 0, 1, 0, false, 61, {"DDShowFrame 1"}},
      {"full screen flips", 0, 0, 0, false, 60, {"DDShowFrame 1"}},
      {"full screen paced by the timer copies", 0, 0, 1, false, 60, {"DDShowFrame 0"}},
      {"full screen, stage at 61 copies", 0, 0, 0, true, 61, {"DDShowFrame 0"}},
  };
  for (const Case& c : cases) {
    Game.DeleteScenes();
    if (c.stage) MakeStage();
    DDFrameStandIn.bDirect3D = c.direct3D;
    DDFrameStandIn.bVSync = 1;
    DDFrameStandIn.bWindowed = c.windowed;
    bTimerPacing = c.timerPacing;
    Game.m_nFps = c.fps;
    Game.Present();
    EXPECT_EQ(TakeDrawCalls(), c.calls) << c.what;
  }
}

TEST_F(FramePieces, ALostDeviceAsksTheMainWindowToResetItBeforeTheFrameGoesOn) {
  std::vector<uint32_t> received;
  plat::WindowHandle window = plat::CreateMessageWindow(
      [&](plat::WindowHandle, uint32_t message, uintptr_t, intptr_t) -> intptr_t {
        received.push_back(message);
        return 0;
      });
  const plat::WindowHandle saved = hWndMain.load();
  hWndMain = window;
  DDFrameStandIn.bDirect3D = 1;
  DDFrameStandIn.bVSync = 1;
  DDFrameStandIn.nPresentResult = 0;
  Frames(1);
  DDFrameStandIn.nPresentResult = 1;
  Frames(1);
  hWndMain = saved;
  plat::DestroyMessageWindow(window);
  EXPECT_EQ(received, (std::vector<uint32_t>{WM_GAME_RESTOREDEVICE}));
}

TEST_F(FramePieces, LostSurfacesAreRestoredUnderDirectDrawOnly) {
  struct Case {
    const char* what;
    int direct3D, lost, restoreOk, setsOk;
    int result;
    Calls calls;
  };
  const Case cases[] = {
      {"nothing lost", 0, 0, 1, 1, 1, {}},
      {"Direct3D recovers elsewhere", 1, 1, 1, 1, 1, {}},
      {"restored", 0, 1, 1, 1, 1, {"DDRestore", "DDRestoreSurfaceSets"}},
      {"the primary cannot be restored", 0, 1, 0, 1, 0, {"DDRestore"}},
      {"a surface set cannot be restored", 0, 1, 1, 0, 0, {"DDRestore", "DDRestoreSurfaceSets"}},
  };
  for (const Case& c : cases) {
    DDFrameStandIn.bDirect3D = c.direct3D;
    DDFrameStandIn.bPrimaryLost = c.lost;
    DDFrameStandIn.bRestoreOk = c.restoreOk;
    DDFrameStandIn.bSurfaceSetsOk = c.setsOk;
    EXPECT_EQ(Game.RestoreLostSurfaces(), c.result) << c.what;
    EXPECT_EQ(TakeDrawCalls(), c.calls) << c.what;
  }
}

TEST_F(FramePieces, AFrameWhoseSurfacesCannotBeRestoredEndsThere) {
  maker.scripts[SCENE_TITLE] = SceneScript{};
  DDFrameStandIn.bPrimaryLost = 1;
  DDFrameStandIn.bRestoreOk = 0;
  EXPECT_EQ(Game.Frame(), 0);
  EXPECT_TRUE(TakeEvents().empty());
  EXPECT_EQ(TakeDrawCalls(), (Calls{"DDRestore"}));
}

TEST_F(FramePieces, PollsTheFirstRecordThroughTheKeyConfiguration) {
  m_devices.Press(VK_LEFT);
  m_devices.Press('J');
  Frames(1);
  EXPECT_EQ(Input.At(0).m_wDir, INPUT_LEFT);
  EXPECT_EQ(Input.At(0).m_nJoyRetry[0], 120);  // no joystick: again in 120 frames

  KeyConfig.bAssign = 1;
  KeyConfig.Key[0] = {KEYDEVICE_KEYBOARD, 'J', 0};
  m_devices.Release('J');
  Frames(1);
  EXPECT_EQ(Input.At(0).m_wDir, 0);
  m_devices.Press('J');
  Frames(1);
  EXPECT_EQ(Input.At(0).m_wDir, INPUT_LEFT);
}

TEST_F(FramePieces, TheFrameRateTextShowsTheRateAndTheAverageWorkOf16Frames) {
  struct Case {
    int showFps;
    const char* call;
  };
  const Case cases[] = {
      {2, "FontDrawTextF 0 549 469 "},
      {1, "FontDrawTextBoxF 1 495 463 0 0 "},
      {7, "FontDrawTextBoxF 1 495 463 0 0 "},
  };
  for (const Case& c : cases) {
    SetUp();
    SystemIni.nShowFps = c.showFps;
    SceneScript busy;
    busy.workMs = 5;  // every frame after the fade-in works 5 ms
    maker.scripts[SCENE_TITLE] = busy;
    Frames(17);
    const Calls calls = TakeDrawCalls();
    ASSERT_EQ(calls.size(), 34u);
    const std::string prefix = c.call;
    for (int f = 0; f < 17; ++f) {
      // The second number changes once every 16 frames: (0 + 15 x 5) / 16.
      const char* text = f < 15 ? "FPS 0( 0)" : "FPS 0( 4)";
      EXPECT_EQ(calls[2 * f], prefix + text) << c.showFps << " frame " << f;
      EXPECT_EQ(calls[2 * f + 1], "DDShowFrame 1");
    }
    TearDown();
  }
  SetUp();
  Frames(3);
  EXPECT_EQ(TakeDrawCalls(), (Calls(3, "DDShowFrame 1")));  // ShowFps 0: no text
}

namespace {

// The clock readings after each of `frames` frames.
std::vector<uint32_t> FrameEnds(plat::FakeClock& clock, int frames) {
  std::vector<uint32_t> ends;
  const uint32_t start = clock.Now();
  for (int i = 0; i < frames; ++i) {
    EXPECT_EQ(Game.Frame(), 1);
    ends.push_back(clock.Now() - start);
  }
  return ends;
}

}  // namespace

TEST_F(FramePieces, Direct3DRunsExactlySixtyFramesASecond) {
  DDFrameStandIn.bDirect3D = 1;  // no vertical sync: the present paces
  bDirect3DBackEnd = 1;
  DDFrameStandIn.bRecord = 0;
  const std::vector<uint32_t> ends = FrameEnds(m_clock, 181);
  EXPECT_EQ(ends[60], 1000u);
  EXPECT_EQ(ends[120], 2000u);
  EXPECT_EQ(ends[180], 3000u);
  for (size_t i = 1; i < ends.size(); ++i) {
    const uint32_t gap = ends[i] - ends[i - 1];
    EXPECT_TRUE(gap == 16 || gap == 17) << i << ": " << gap;
  }
  EXPECT_EQ(nMeasuredFps.load(), 59);  // the publishing call is not counted
}

TEST_F(FramePieces, DirectDrawLetsAFrameGoEvery1000OverFpsMilliseconds) {
  DDFrameStandIn.bRecord = 0;
  struct Case {
    int fps;
    uint32_t gap;
  };
  for (const Case& c : {Case{60, 16}, Case{30, 33}, Case{120, 8}}) {
    ResetTimers();
    Game.m_nFps = c.fps;
    const std::vector<uint32_t> ends = FrameEnds(m_clock, 20);
    for (size_t i = 1; i < ends.size(); ++i) EXPECT_EQ(ends[i] - ends[i - 1], c.gap) << c.fps << " " << i;
  }
}
