// The stage's pause loop on a real thPause, started from a game thread while
// the test's thread serves the main window: how a wait ends (key, time,
// quit message, close request), what it plays, and that it leaves the game
// thread's input alone. Keys are pressed in the key table between the
// loop's frames, from its present.
#include <gtest/gtest.h>

#include <atomic>
#include <functional>
#include <set>
#include <string>
#include <vector>

#include "base/thread.h"
#include "base/window_messages.h"
#include "game/characters.h"
#include "game/game.h"
#include "media/dd_frame.h"
#include "media/dd_layer.h"
#include "media/input.h"
#include "platform/clock.h"
#include "platform/input.h"
#include "platform/messages.h"
#include "platform/thread.h"
#include "records/stage.h"
#include "stage/scene_stage.h"
#include "support/builders.h"
#include "support/game_world.h"
#include "threads/hooked_frames.h"
#include "threads/wait_until.h"

using namespace testsupport;

namespace {

class StagePauseLoop : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_TRUE(DDInit(0, plat::WindowHandle{}, 640, 480, 16, 0, 0, 1, 60, 0, nullptr, nullptr, 0, 0));
    m_previous = FrameDrawing;
    FrameDrawing = &frames;
    bAppActive = 1;
    MapBuilder map({"....", ".H..", "####"});
    map.Build();
    map.PlaceCharas('H', CharaDef().PlayerOperated());
    StageCopy.CopySettingsFrom(Stage);
    scene.SetStage(0, 1);
  }
  void TearDown() override {
    FrameDrawing = m_previous;
    bAppActive = 0;
    DDRelease();
    EXPECT_FALSE(thPause.HasThread());
  }

  // The wait on thPause, started and waited for by a game thread, while
  // this thread pumps. Button 1 (key Z) is down in the frames listed;
  // `after` runs once frame n has been shown.
  void RunWait(const std::set<int>& pressed, int bWake = 0, std::function<void(int)> after = nullptr) {
    frames.hook = [this, pressed, after](int n) {
      if (pressed.count(n + 1))
        keys.Press('Z');
      else
        keys.Release('Z');
      if (after) after(n);
    };
    if (pressed.count(1)) keys.Press('Z');
    std::atomic<bool> done{false};
    plat::Thread game;
    ASSERT_TRUE(game.Start([&] {
      scene.RunPauseLoop(bWake);
      done = true;
      return 0u;
    }));
    EXPECT_TRUE(PumpUntil([&] { return done.load(); }, 30000));
    game.Join();
    keys.ReleaseAll();
  }

  std::vector<std::string> Sounds() const { return world.events.Texts(EventKind::Sound); }

  plat::FakeClock clock{1000};
  cSceneStage scene;
  GameWorld world{scene};
  plat::ScriptedInput keys;
  HookedFrames frames;

 private:
  cFrameDrawing* m_previous = nullptr;
};

}  // namespace

TEST_F(StagePauseLoop, AKeyEndsAWaitOnAFreshPressAfterItsDelay) {
  struct Case {
    const char* what;
    int mode, noDelay;
    std::set<int> pressed;  // frames with button 1 down
    int drawn;              // frames drawn before the one that ended it
    const char* sound;
  };
  const Case cases[] = {
      {"a message ignores the key for 10 frames", 1, 0, {3, 4, 11}, 10, "12"},
      {"a key still down after the delay is no press", 1, 0, {9, 10, 11, 12, 14}, 13, "12"},
      {"without the delay the first press ends it", 1, 1, {4}, 3, "12"},
      {"another wait plays the decision sound", 0, 0, {2}, 1, "1"},
      {"a button held from before the wait must be let go first", 0, 0, {1, 2, 3, 5}, 4, "1"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    world.events.Clear();
    frames.shown = 0;
    scene.m_bButtonLock = 0;
    scene.m_Wait.Set(c.mode, 1, 0, c.noDelay);
    RunWait(c.pressed);
    EXPECT_EQ(frames.shown.load(), c.drawn);
    EXPECT_EQ(Sounds(), std::vector<std::string>{c.sound});
    EXPECT_EQ(scene.m_bButtonLock, 1) << "the held button does not act in play";
  }
}

TEST_F(StagePauseLoop, ATimedWaitDrawsItsFramesAndEndsSilently) {
  for (int n : {0, 1, 12}) {
    SCOPED_TRACE(n);
    world.events.Clear();
    frames.shown = 0;
    scene.m_bButtonLock = 0;
    scene.m_Wait.Set(0, 0, n, 0);
    RunWait({1, 2});  // keys do not end it
    EXPECT_EQ(frames.shown.load(), n);
    EXPECT_TRUE(Sounds().empty());
    EXPECT_EQ(scene.m_bButtonLock, 0);
  }
}

TEST_F(StagePauseLoop, TheGameThreadsInputKeepsTheFrameThatStartedTheWait) {
  cInput& input = Input.At(0);
  input.m_wButton = 1;
  input.m_wDir = INPUT_RIGHT;
  input.RecordHistory();
  input.UpdateRunHistories();
  const cInput before = input;
  scene.m_Wait.Set(0, 1, 0, 1);
  RunWait({3, 4, 5});
  EXPECT_EQ(input.m_wButton, before.m_wButton);
  EXPECT_EQ(input.m_wDir, before.m_wDir);
  EXPECT_EQ(input.GetHistory(1, 0), before.GetHistory(1, 0));
  EXPECT_EQ(input.GetHistory(0, 0), before.GetHistory(0, 0));
  EXPECT_EQ(input.m_nButtonRingPos, before.m_nButtonRingPos);
}

TEST_F(StagePauseLoop, AQuitMessageEndsItAndOtherMessagesAreDropped) {
  scene.m_Wait.Set(1, 1, 0, 1);
  // The wake message (0x8000) is taken and dropped; at frame 5 a quit ends
  // the loop without a sound.
  RunWait({}, 1, [](int n) {
    if (n == 5) plat::PostToThread(thPause.m_dwThreadId.load(), WM_QUIT, 0, 0);
  });
  EXPECT_EQ(frames.shown.load(), 5);
  EXPECT_TRUE(Sounds().empty());
}

TEST_F(StagePauseLoop, ACloseRequestAlreadySetEndsItAtOnce) {
  scene.m_bCloseRequested = 1;
  scene.m_Wait.Set(1, 1, 0, 0);
  RunWait({});
  EXPECT_EQ(frames.shown.load(), 0);
  EXPECT_EQ(scene.PauseLoop(), 0);
}

TEST_F(StagePauseLoop, ACloseRequestEndsItTwoSecondsLaterAcrossTheClocksWrap) {
  clock.Set(0xFFFFFFFFu - 300);
  scene.m_Wait.Set(1, 1, 0, 0);
  std::atomic<uint32_t> requested{0};
  RunWait({}, 0, [&](int n) {
    if (n != 3) return;
    requested = plat::TimeGetTime();
    scene.m_bCloseRequested = 1;
  });
  // No frame after the request; the loop ended itself 2000 ms after it saw it.
  EXPECT_EQ(frames.shown.load(), 3);
  const uint32_t waited = plat::TimeGetTime() - requested.load();
  EXPECT_GE(waited, 2000u);
  EXPECT_LE(waited, 2003u);
  EXPECT_LT(plat::TimeGetTime(), 2000u) << "the clock wrapped";
  EXPECT_TRUE(Sounds().empty());
}

TEST_F(StagePauseLoop, AnInactiveApplicationRunsNoFrame) {
  bAppActive = 0;
  scene.m_Wait.Set(0, 0, 2, 0);
  std::atomic<bool> done{false};
  plat::Thread game;
  ASSERT_TRUE(game.Start([&] {
    scene.RunPauseLoop(0);
    done = true;
    return 0u;
  }));
  // It idles in 1 ms sleeps, which move the fake clock.
  const uint32_t start = clock.Now();
  EXPECT_TRUE(WaitUntil([&] { return clock.Now() - start > 200; }));
  EXPECT_EQ(frames.shown.load(), 0);
  EXPECT_FALSE(done.load());
  bAppActive = 1;
  EXPECT_TRUE(PumpUntil([&] { return done.load(); }));
  game.Join();
  EXPECT_EQ(frames.shown.load(), 2);
}
