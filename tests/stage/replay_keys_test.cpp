// The replay save keys in a stage played by the runner: F1 saves the running
// attempt with its start, F2 the one before, through the main window's own
// handler and the real replay file; an empty replay only sounds; nothing in
// playback or without recording; the pause loop saves too; a save that
// fails leaves play going.
#include <gtest/gtest.h>

#include <cstdio>
#include <functional>
#include <string>
#include <utility>
#include <vector>

#include "app/main_window.h"
#include "app/request_services.h"
#include "base/window_messages.h"
#include "game/game.h"
#include "media/input.h"
#include "media/sound_effect.h"
#include "platform/host_path.h"
#include "platform/message_box.h"
#include "platform/messages.h"
#include "platform/virtual_keys.h"
#include "records/replay_input.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/system.h"
#include "stage/replay_keys.h"
#include "stage/scene_stage.h"
#include "support/stage_runner.h"

using testsupport::EventKind;
using testsupport::StageRunner;

namespace {

// Names the files the player would choose, one per save, and serves the
// rest as the program does.
class NamedSaves : public cRequestServices {
 public:
  bool ChooseReplayFileName(char path[REQUEST_PATH_SIZE]) override {
    if (names.empty()) return false;
    std::snprintf(path, REQUEST_PATH_SIZE, "%s", names.front().c_str());
    names.erase(names.begin());
    if (onChoose) onChoose();
    return true;
  }
  std::vector<std::string> names;
  std::function<void()> onChoose;
};

// A stage of the sample with replays recorded, whose main window serves the
// replay save with its own handler and notes the sounds asked of it.
class ReplayKeysTest : public ::testing::Test {
 protected:
  ReplayKeysTest() : m_run(SampleOptions()) {}
  static StageRunner::Options SampleOptions() {
    StageRunner::Options o;
    o.project = StageRunner::Project::Sample;
    return o;
  }
  void SetUp() override {
    ASSERT_TRUE(m_run.LoadSampleStage(0));
    SystemData.m_bReplay = 1;
    Game.m_nPlayCommand = GAMEMODE_FREE;
    ReplayKeyCooldown = 0;
    m_savedActive = bAppActive.load();
    bAppActive = 1;
    m_savedBank = SeBank;
    SeBank.resize(17);
    ASSERT_TRUE(plat::CreateDirectory("user_data"));
    ASSERT_TRUE(plat::CreateDirectory("user_data\\rpl4"));
    m_previousMain = hWndMain.load();
    m_window = plat::CreateMessageWindow(
        [this](plat::WindowHandle w, uint32_t msg, uintptr_t wParam, intptr_t lParam) -> intptr_t {
          if (msg == WM_GAME_PLAYSE) sounds.push_back(static_cast<int>(wParam));
          if (msg == WM_GAME_SAVEREPLAY) {
            requests.push_back(static_cast<int>(wParam));
            return WndProc(w, msg, wParam, lParam);
          }
          return 0;
        });
    hWndMain = m_window;
    SetRequestServices(&m_services);
  }
  void TearDown() override {
    SetRequestServices(nullptr);
    hWndMain = m_previousMain;
    plat::DestroyMessageWindow(m_window);
    SeBank = m_savedBank;
    ReplayKeyCooldown = 0;
    bAppActive = m_savedActive;
  }
  // One frame with `vk` held.
  void FrameWith(int vk) {
    m_run.Hold(vk);
    m_run.Frame();
    m_run.Release(vk);
  }
  // The frames of a saved replay and the score of run its progress holds.
  static std::pair<uint32_t, int32_t> Saved(const std::string& path) {
    std::string bytes;
    EXPECT_TRUE(plat::ReadWholeFile(path, bytes)) << path;
    cReplayInput replay;
    cEdStage stage, copy;
    cSaveData progress;
    const char* fault = replay.LoadBytes(bytes, stage, copy, progress);
    EXPECT_EQ(fault, nullptr) << path << ": " << fault;
    uint32_t frames = 0;
    for (uint32_t run : replay.m_vDirRuns) frames += run;
    return {frames, progress.m_nTotalScore};
  }

  StageRunner m_run;
  NamedSaves m_services;
  std::vector<int> sounds;
  std::vector<int> requests;
  cVector<SEDATA> m_savedBank;
  int m_savedActive = 0;
  plat::WindowHandle m_window{};
  plat::WindowHandle m_previousMain{};
};

}  // namespace

TEST_F(ReplayKeysTest, NothingIsSavedInPlaybackOrWithoutRecording) {
  Replay.RecordFrame(0, 0);
  m_run.Hold(VK_F1);
  Game.m_nPlayCommand = GAMEMODE_REPLAY;
  EXPECT_EQ(CheckReplaySaveKeys(), 0);
  Game.m_nPlayCommand = GAMEMODE_FREE;
  SystemData.m_bReplay = 0;
  EXPECT_EQ(CheckReplaySaveKeys(), 0);
  EXPECT_TRUE(sounds.empty());
  EXPECT_TRUE(requests.empty());
}

TEST_F(ReplayKeysTest, AnEmptyReplaySoundsOncePerSixtyFrames) {
  Replay.Clear();
  ReplayPrev.Clear();
  for (int vk : {VK_F1, VK_F2}) {
    m_run.Hold(vk);
    std::vector<int> at;
    for (int frame = 1; frame <= 121; ++frame) {
      sounds.clear();
      EXPECT_EQ(CheckReplaySaveKeys(), 0);
      if (!sounds.empty()) at.push_back(frame);
      EXPECT_TRUE(sounds.empty() || sounds == std::vector<int>{3});
    }
    m_run.Release(vk);
    EXPECT_EQ(at, (std::vector<int>{1, 61, 121})) << vk;
    EXPECT_TRUE(requests.empty());
    ReplayKeyCooldown = 0;
  }
}

TEST_F(ReplayKeysTest, F1SavesThisAttemptAndF2TheOneBeforeARestart) {
  ASSERT_TRUE(m_run.EnterPlay());  // the first attempt starts with a score of 0
  m_run.keys.Hold(INPUT_RIGHT, 0, 30);
  m_run.Frames(30);
  PlayData.m_nTotalScore = 200;
  m_run.Scene()->SetStage(1, 0);  // a retry: this attempt becomes the one before
  m_run.Scene()->m_nPhase = STAGESTATE_PLAY;
  m_run.keys.Idle(12);
  m_run.Frames(12);
  m_services.names = {"user_data\\rpl4\\this.rpl4_734", "user_data\\rpl4\\before.rpl4_734"};
  const int frameCount = m_run.Scene()->m_nFrameCount;
  sounds.clear();
  FrameWith(VK_F1);
  EXPECT_EQ(m_run.Scene()->m_nFrameCount, frameCount) << "the save frame plays nothing";
  FrameWith(VK_F2);
  EXPECT_EQ(requests, (std::vector<int>{0, 1}));
  EXPECT_EQ(sounds, (std::vector<int>{1, 1}));
  EXPECT_EQ(Saved("user_data\\rpl4\\this.rpl4_734"), (std::pair<uint32_t, int32_t>{12, 200}));
  EXPECT_EQ(Saved("user_data\\rpl4\\before.rpl4_734"), (std::pair<uint32_t, int32_t>{30, 0}));
  EXPECT_EQ(FileDlgResult.load(), 1);
}

TEST_F(ReplayKeysTest, ThePauseLoopSavesToo) {
  ASSERT_TRUE(m_run.EnterPlay());
  m_run.Frames(5);
  m_services.names = {"user_data\\rpl4\\paused.rpl4_734"};
  m_services.onChoose = [this] { m_run.Release(VK_F1); };
  m_run.Hold(VK_F1);
  cSceneStage& scene = *m_run.Scene();
  scene.m_Wait.Set(0, 0, 3, 1);
  scene.PauseLoop();
  EXPECT_EQ(requests, std::vector<int>{0});
  EXPECT_EQ(Saved("user_data\\rpl4\\paused.rpl4_734").first, 5u);
}

TEST_F(ReplayKeysTest, AFailedSaveIsToldAndPlayGoesOn) {
  ASSERT_TRUE(m_run.EnterPlay());
  m_run.Frames(5);
  m_run.Events().ExpectBoxes({plat::BOX_OK});
  // A folder stands where the file would go: the file cannot take its place.
  ASSERT_TRUE(plat::CreateDirectory("user_data\\rpl4\\taken.rpl4_734"));
  ASSERT_TRUE(plat::WriteFileAtomic("user_data\\rpl4\\taken.rpl4_734\\old", "old", 3));
  m_services.names = {"user_data\\rpl4\\taken.rpl4_734"};
  FrameWith(VK_F1);
  ASSERT_EQ(m_run.Events().Texts(EventKind::Box).size(), 1u);
  EXPECT_NE(m_run.Events().Texts(EventKind::Box)[0].find("taken.rpl4_734"), std::string::npos);
  std::string old;
  EXPECT_TRUE(plat::ReadWholeFile("user_data\\rpl4\\taken.rpl4_734\\old", old));
  EXPECT_EQ(old, "old");
  EXPECT_EQ(FileDlgResult.load(), 0);
  EXPECT_EQ(m_run.Events().Texts(EventKind::Close).size(), 0u);
  const int frameCount = m_run.Scene()->m_nFrameCount;
  m_run.Frames(3);
  EXPECT_EQ(m_run.Scene()->m_nPhase, STAGESTATE_PLAY);
  EXPECT_EQ(m_run.Scene()->m_nFrameCount, frameCount + 3);
}
