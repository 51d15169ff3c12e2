// The requests of the other threads to the main window, sent from a worker
// thread as the game sends them: the name-entry dialog with the game threads
// held, the stage and replay files with their done flags and results, sound
// effects and music. The dialogs, the stage start and the replay files are
// a recording stand-in.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <functional>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

#include "app/main_window.h"
#include "app/request_services.h"
#include "app/win_main.h"
#include "base/boxes.h"
#include "base/report_log.h"
#include "base/thread.h"
#include "media/bgm.h"
#include "media/dd_layer.h"
#include "media/sound_effect.h"
#include "media/wave_bytes.h"
#include "platform/audio_device.h"
#include "platform/clock.h"
#include "platform/close_request.h"
#include "platform/mixer.h"
#include "platform/presenter.h"
#include "platform/shared_library.h"
#include "platform/thread.h"
#include "platform/window.h"
#include "records/database.h"
#include "records/system.h"
#include "records/system_ini.h"
#include "support/test_support.h"
#include "threads/wait_until.h"

using testsupport::PumpUntil;
using testsupport::ScopedWorkDir;
using testsupport::ScriptedBoxes;
using testsupport::Sjis;
using testsupport::WaitUntil;

namespace {

// Notes what the main window asked for (main thread only) and answers as told.
class Recorder : public cRequestServices {
 public:
  bool RunNameDialog() override {
    calls.push_back("name dialog");
    if (during) during();
    return dialogOpens;
  }
  bool OpenFile(plat::WindowHandle owner, char path[REQUEST_PATH_SIZE], const char* folder, const char* title,
                const char* filterText, const char* filterPatterns, const char* defaultExt) override {
    calls.push_back(std::string("open ") + folder + " | " + title + " | " + filterText + " | " + filterPatterns +
                    " | " + defaultExt + (owner == hWndMain.load() ? "" : " | other owner"));
    if (!chosen) return false;
    std::snprintf(path, REQUEST_PATH_SIZE, "%s", chosenPath.c_str());
    return true;
  }
  bool StartFromStageFile(const char* path, int testPlay) override {
    calls.push_back(std::string("start ") + path + " " + std::to_string(testPlay));
    return ok;
  }
  bool LoadReplay(const char* path) override {
    calls.push_back(std::string("load replay ") + path);
    return ok;
  }
  bool ChooseReplayFileName(char path[REQUEST_PATH_SIZE]) override {
    calls.push_back("choose replay name");
    if (!chosen) return false;
    std::snprintf(path, REQUEST_PATH_SIZE, "%s", chosenPath.c_str());
    return true;
  }
  bool SaveReplay(int previous, const char* path) override {
    calls.push_back("save replay " + std::to_string(previous) + " " + path);
    return ok;
  }
  void SetStageBgm(int32_t number) override { calls.push_back("stage music " + std::to_string(number)); }
  int32_t StageBgmLoop() override { return 0; }

  std::vector<std::string> calls;
  std::function<void()> during;
  bool dialogOpens = true, chosen = true, ok = true;
  std::string chosenPath = "data\\stg4\\a.stg4_734";
};

class MainWindowRequests : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(ReportOpen("Report_Game.txt"), 1);
    m_dir.WriteFile("EC_Game.txt", "");
    DebugLogInit(1, "EC_Game.txt");
    plat::ResetCloseRequests();
    bQuit = 0;
    ASSERT_TRUE(plat::StartWindowSystem());
    ASSERT_TRUE(MainWindow.Create());
    SetRequestServices(&m_recorder);
  }
  void TearDown() override {
    SetRequestServices(nullptr);
    SystemIni.nEnglish = 0;
    for (cThread* th : {&thGame, &thPause, &thRanking, &thLoad}) th->Exit();
    if (hWndMain.load()) plat::DestroyAppWindow(hWndMain.load());
    plat::Message msg;
    while (plat::Peek(msg)) {
    }
    plat::StopWindowSystem();
    DebugLogInit(0, "EC_Game.txt");
  }
  // Sends a request from a worker thread and serves it; true when the
  // requester saw its done flag set.
  bool Request(uint32_t message, uintptr_t wParam, std::atomic<int>* done) {
    std::atomic<int> answer{-1};
    plat::Thread requester;
    EXPECT_TRUE(requester.Start([&] {
      if (done) {
        answer = SendRequest(message, wParam, 0, *done) ? 1 : 0;
      } else {
        plat::Send(hWndMain.load(), message, wParam, 0);
        answer = 1;
      }
      return 0u;
    }));
    EXPECT_TRUE(PumpUntil([&] { return answer.load() != -1; }));
    requester.Join(kInfinite);
    return answer.load() == 1;
  }
  static constexpr uint32_t kInfinite = 0xFFFFFFFF;

  ScopedWorkDir m_dir;
  ScriptedBoxes m_boxes;
  Recorder m_recorder;
};

// Counts while it runs; each loop passes a safe point.
std::atomic<int> g_counts[3];
unsigned CountingLoop(void* counter) {
  auto* count = static_cast<std::atomic<int>*>(counter);
  for (;;) {
    plat::Message msg;
    if (plat::Peek(msg) && msg.message == WM_QUIT) return 0;
    ++*count;
    plat::Sleep(1);
  }
}

std::vector<int> Counts() { return {g_counts[0].load(), g_counts[1].load(), g_counts[2].load()}; }

}  // namespace

TEST_F(MainWindowRequests, NameEntryHoldsTheGameThreadsInDialogModeUntilTheDialogCloses) {
  // A full-screen display, where dialog mode shows the pointer for the dialog.
  ASSERT_TRUE(DDInit(0, plat::WindowHandle{}, 640, 480, 32, 0, 0, 1, 60, 0, nullptr, nullptr, 0, 0));
  for (auto& c : g_counts) c = 0;
  ASSERT_TRUE(thPause.Start(CountingLoop, &g_counts[0]));
  ASSERT_TRUE(thRanking.Start(CountingLoop, &g_counts[1]));
  ASSERT_TRUE(thLoad.Start(CountingLoop, &g_counts[2]));
  ASSERT_TRUE(WaitUntil([] { return g_counts[0] > 0 && g_counts[1] > 0 && g_counts[2] > 0; }));
  bool held = false, pointerShown = false;
  m_recorder.during = [&] {
    const std::vector<int> before = Counts();
    std::this_thread::sleep_for(std::chrono::milliseconds(30));
    held = Counts() == before;
    pointerShown = plat::ShowCursor(true) >= 1;
    plat::ShowCursor(false);
  };
  // The ranking entry asks from the game thread.
  static std::atomic<int> answer{-1};
  answer = -1;
  ASSERT_TRUE(thGame.Start([](void*) -> unsigned {
    answer = SendRequest(WM_GAME_NAMEENTRY, 0, 0, bNameDone) ? 1 : 0;
    return 0;
  }, nullptr));
  ASSERT_TRUE(PumpUntil([] { return answer.load() != -1; }));

  EXPECT_EQ(answer.load(), 1);
  EXPECT_EQ(m_recorder.calls, std::vector<std::string>{"name dialog"});
  EXPECT_TRUE(held) << "no game thread ran while the dialog was open";
  EXPECT_TRUE(pointerShown) << "the dialog shows over the full-screen display";
  EXPECT_LT(plat::ShowCursor(true), 1) << "full screen again: the pointer is hidden";
  plat::ShowCursor(false);
  const std::vector<int> after = Counts();
  EXPECT_TRUE(WaitUntil([&] { return Counts()[0] > after[0] && Counts()[1] > after[1] && Counts()[2] > after[2]; }))
      << "the threads run on";
  EXPECT_TRUE(m_boxes.shown.empty());
  EXPECT_EQ(plat::CloseRequestCount(), 0u);
  DDRelease();
}

TEST_F(MainWindowRequests, ANameDialogThatCannotOpenStillSetsItsFlag) {
  m_recorder.dialogOpens = false;
  EXPECT_TRUE(Request(WM_GAME_NAMEENTRY, 0, &bNameDone));
  ASSERT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_EQ(m_boxes.shown[0].text, Sjis("メモリが不足しています！"));
  EXPECT_EQ(plat::CloseRequestCount(), 1u);
  EXPECT_EQ(bNameDone.load(), 1);
}

TEST_F(MainWindowRequests, OpeningAStageOrAReplaySetsTheResultAndTheFlag) {
  struct Case {
    const char* what;
    uint32_t message;
    bool chosen, ok;
    int result;
    unsigned closes;
    std::vector<std::string> calls;
  } cases[] = {
      {"stage started", WM_GAME_OPENSTAGE, true, true, 1, 0,
       {Sjis("open data\\stg4\\ | ステージファイルの読み込み | StageFile ( *.stg4_*;*.rpl4_* ) | *.stg4_*;*.rpl4_* | "
             "stg4_*;rpl4_*"),
        "start data\\stg4\\a.stg4_734 0"}},
      {"stage cancelled", WM_GAME_OPENSTAGE, false, true, 0, 0,
       {Sjis("open data\\stg4\\ | ステージファイルの読み込み | StageFile ( *.stg4_*;*.rpl4_* ) | *.stg4_*;*.rpl4_* | "
             "stg4_*;rpl4_*")}},
      {"stage that cannot start closes the program", WM_GAME_OPENSTAGE, true, false, 1, 1,
       {Sjis("open data\\stg4\\ | ステージファイルの読み込み | StageFile ( *.stg4_*;*.rpl4_* ) | *.stg4_*;*.rpl4_* | "
             "stg4_*;rpl4_*"),
        "start data\\stg4\\a.stg4_734 0"}},
      {"replay loaded", WM_GAME_OPENREPLAY, true, true, 1, 0,
       {Sjis("open user_data\\rpl4 | リプレイファイルの読み込み | ReplayFile ( *.rpl4_* ) | *.rpl4_* | rpl4_*"),
        "load replay data\\stg4\\a.stg4_734"}},
      {"replay cancelled", WM_GAME_OPENREPLAY, false, true, 0, 0,
       {Sjis("open user_data\\rpl4 | リプレイファイルの読み込み | ReplayFile ( *.rpl4_* ) | *.rpl4_* | rpl4_*")}},
      {"a refused replay leaves the title and the program as they were", WM_GAME_OPENREPLAY, true, false, 0, 0,
       {Sjis("open user_data\\rpl4 | リプレイファイルの読み込み | ReplayFile ( *.rpl4_* ) | *.rpl4_* | rpl4_*"),
        "load replay data\\stg4\\a.stg4_734"}},
  };
  for (const Case& c : cases) {
    m_recorder.calls.clear();
    m_recorder.chosen = c.chosen;
    m_recorder.ok = c.ok;
    plat::ResetCloseRequests();
    FileDlgResult = -1;
    EXPECT_TRUE(Request(c.message, 0, &FileDlgDone)) << c.what << ": the requester is told in every case";
    EXPECT_EQ(FileDlgResult.load(), c.result) << c.what;
    EXPECT_EQ(plat::CloseRequestCount(), c.closes) << c.what;
    EXPECT_EQ(m_recorder.calls, c.calls) << c.what;
    if (c.closes) {
      EXPECT_TRUE(PumpUntil([] { return !hWndMain.load(); })) << c.what << ": the program ends";
      bQuit = 0;
      ASSERT_TRUE(MainWindow.Create());
    }
  }
  EXPECT_TRUE(m_boxes.shown.empty());
}

TEST_F(MainWindowRequests, TheFileDialogsTitlesInEnglish) {
  SystemIni.nEnglish = 1;
  m_recorder.chosen = false;
  Request(WM_GAME_OPENSTAGE, 0, &FileDlgDone);
  Request(WM_GAME_OPENREPLAY, 0, &FileDlgDone);
  ASSERT_EQ(m_recorder.calls.size(), 2u);
  EXPECT_NE(m_recorder.calls[0].find(" | Load stage file | "), std::string::npos) << m_recorder.calls[0];
  EXPECT_NE(m_recorder.calls[1].find(" | Load replay file | "), std::string::npos) << m_recorder.calls[1];
}

namespace {

class SoundRequests : public MainWindowRequests {
 protected:
  void SetUp() override {
    MainWindowRequests::SetUp();
    m_dir.WriteFile("wave/a.wav", wavebytes::Riff(wavebytes::Pcm(1, 22050, 8) +
                                                  wavebytes::Chunk("data", std::string(1000, '\xC8'))));
    plat::SetAudioTestMode(plat::AudioTestMode::kPulledByHand);
    ASSERT_TRUE(DS_Init(plat::WindowHandle{}, 22050, 8, 1));
    SeBank.assign(20, SEDATA{});
    for (int slot : {1, 3, 4, 19}) ASSERT_TRUE(DS_LoadSound(&SeBank[slot], "wave\\a.wav", 1, 0));
  }
  void TearDown() override {
    for (SEDATA& e : SeBank) DS_FreeSound(&e);
    SeBank.clear();
    DS_Release();
    plat::SetAudioTestMode(plat::AudioTestMode::kOff);
    MainWindowRequests::TearDown();
  }
  // The slots that play, and none after.
  std::vector<int> Playing() {
    std::vector<int> out;
    for (int i = 0; i < SeBank.Size(); ++i)
      if (SeBank[i].lpBuffers && SeBank[i].lpBuffers[0]->IsPlaying()) out.push_back(i);
    for (SEDATA& e : SeBank)
      if (e.lpBuffers) e.lpBuffers[0]->Stop();
    return out;
  }
};

}  // namespace

TEST_F(SoundRequests, SavingAReplaySetsTheResultAndAFailureLosesNothingElse) {
  struct Case {
    const char* what;
    uintptr_t which;
    bool chosen, ok;
    int result;
    std::vector<std::string> calls;
    std::vector<int> sounds;
  } cases[] = {
      {"this attempt", 0, true, true, 1, {"choose replay name", "save replay 0 user_data\\rpl4\\a.rpl4_734"}, {}},
      {"the attempt before", 1, true, true, 1, {"choose replay name", "save replay 1 user_data\\rpl4\\a.rpl4_734"}, {}},
      {"cancelled", 0, false, true, 0, {"choose replay name"}, {}},
      {"not written: a box and the failure sound", 1, true, false, 0,
       {"choose replay name", "save replay 1 user_data\\rpl4\\a.rpl4_734"}, {3}},
  };
  m_recorder.chosenPath = "user_data\\rpl4\\a.rpl4_734";
  for (const Case& c : cases) {
    m_recorder.calls.clear();
    m_recorder.chosen = c.chosen;
    m_recorder.ok = c.ok;
    m_boxes.shown.clear();
    FileDlgResult = -1;
    EXPECT_TRUE(Request(WM_GAME_SAVEREPLAY, c.which, &FileDlgDone)) << c.what;
    EXPECT_EQ(FileDlgResult.load(), c.result) << c.what;
    EXPECT_EQ(m_recorder.calls, c.calls) << c.what;
    EXPECT_EQ(Playing(), c.sounds) << c.what;
    EXPECT_EQ(m_boxes.shown.size(), c.ok ? 0u : 1u) << c.what;
  }
  EXPECT_EQ(m_boxes.shown[0].text, Sjis("user_data\\rpl4\\a.rpl4_734 の保存に失敗！"));
  EXPECT_NE(m_dir.ReadFile("Report_Game.txt").find(Sjis("user_data\\rpl4\\a.rpl4_734 の保存に失敗！")),
            std::string::npos);
  EXPECT_EQ(plat::CloseRequestCount(), 0u) << "the program plays on";
  EXPECT_TRUE(hWndMain.load());
}

TEST_F(SoundRequests, SoundEffectsPlayBeforeTheRequesterGoesOn) {
  struct Case {
    const char* what;
    std::function<void()> request;
    std::vector<int> sounds;
  } cases[] = {
      {"system sound 4", [] { PlaySe(4); }, {4}},
      {"Sound.dat record 3 lies in slot 19", [] { PlayUserSe(3); }, {19}},
      {"Sound.dat record 0 plays nothing", [] { PlayUserSe(0); }, {}},
  };
  for (const Case& c : cases) {
    std::vector<int> seenByRequester{-1};
    plat::Thread requester;
    ASSERT_TRUE(requester.Start([&] {
      c.request();
      // Already playing when the request returns.
      seenByRequester.clear();
      for (int i = 0; i < SeBank.Size(); ++i)
        if (SeBank[i].lpBuffers && SeBank[i].lpBuffers[0]->IsPlaying()) seenByRequester.push_back(i);
      return 0u;
    }));
    ASSERT_TRUE(PumpUntil([&] { return requester.Join(0); }));
    EXPECT_EQ(seenByRequester, c.sounds) << c.what;
    EXPECT_EQ(Playing(), c.sounds) << c.what;
  }
  // A slot the bank does not have is reported and closes the program.
  Request(WM_GAME_PLAYSE, 40, nullptr);
  EXPECT_EQ(plat::CloseRequestCount(), 1u);
  EXPECT_NE(m_dir.ReadFile("Report_Game.txt").find("err V[40] ( 20 , "), std::string::npos);
}

namespace {

// The recording OGG plug-in's log: the same library, opened once more by the
// test so that it stays loaded across the music manager's Init and UnInit.
class VoxCalls {
 public:
  VoxCalls() {
    m_lib.Open(RECORDING_VOX_FILE);
    m_log = reinterpret_cast<const char* (*)()>(m_lib.Symbol("RecordingVoxLog"));
  }
  std::vector<std::string> Take() {
    std::vector<std::string> out;
    std::istringstream in(m_log ? m_log() : "");
    for (std::string line; std::getline(in, line);) out.push_back(line);
    return out;
  }

 private:
  plat::SharedLibrary m_lib;
  const char* (*m_log)() = nullptr;
};

class MusicRequests : public MainWindowRequests {
 protected:
  void SetUp() override {
    MainWindowRequests::SetUp();
    m_screenBgm = SystemData.m_vScreenBgm;
    m_screenLoop = SystemData.m_vScreenBgmLoop;
    m_bgm = Database.m_vBgm;
    SystemData.m_vScreenBgm = cVector<int32_t>{2, 0, 1, 2};
    SystemData.m_vScreenBgmLoop = cVector<uint8_t>{1, 1, 0, 0};
    Database.m_vBgm.assign(3, cEdBgm());
    Database.m_vBgm[1].m_strFile = "bgm\\one.ogg";
    Database.m_vBgm[2].m_strFile = "bgm\\two.ogg";
    m_dir.WriteFile("bgm/one.ogg", "x");
    m_dir.WriteFile("bgm/two.ogg", "x");
    for (int i = 0; i < 5; ++i) {
      std::strcpy(m_ogg[i], "bgm\\Title.ogg");
      std::strcpy(m_midi[i], "bgm\\Title.mid");
    }
    SetVoxLibraryPath(RECORDING_VOX_FILE);
    ASSERT_EQ(Bgm.Init(1, m_ogg, m_midi, 5), 1);
    m_vox.Take();
  }
  void TearDown() override {
    Bgm.UnInit();
    SetVoxLibraryPath("");
    SystemData.m_vScreenBgm = m_screenBgm;
    SystemData.m_vScreenBgmLoop = m_screenLoop;
    Database.m_vBgm = m_bgm;
    MainWindowRequests::TearDown();
  }
  void Music(uintptr_t kind, intptr_t number) {
    std::atomic<bool> sent{false};
    plat::Thread requester;
    ASSERT_TRUE(requester.Start([&] {
      plat::Send(hWndMain.load(), WM_GAME_PLAYBGM, kind, number);
      sent = true;
      return 0u;
    }));
    ASSERT_TRUE(PumpUntil([&] { return sent.load(); }));
    requester.Join(0xFFFFFFFF);
  }

  VoxCalls m_vox;
  BGMOGGNAME m_ogg[5];
  BGMMIDINAME m_midi[5];
  cVector<int32_t> m_screenBgm;
  cVector<uint8_t> m_screenLoop;
  cVector<cEdBgm> m_bgm;
};

}  // namespace

TEST_F(MusicRequests, EachKindPlaysItsMusicInItsSlotAndNumberZeroStops) {
  constexpr const char* kForEver = "0 loop 2147483647";
  struct Case {
    const char* what;
    uintptr_t kind;
    intptr_t number;
    std::vector<std::string> vox;
    std::vector<std::string> services;
  } cases[] = {
      {"title: record 2, for ever", 0, 0, {"0 reset", "0 load bgm/two.ogg", kForEver, "0 play"}, {}},
      {"world map: list entry 0 stops", 1, 0, {"0 stop"}, {}},
      {"stage select: record 1, once", 2, 0, {"0 reset", "0 load bgm/one.ogg", "0 loop 0", "0 play"}, {}},
      {"options: record 2 again, in its own slot", 3, 0,
       {"0 stop", "0 reset", "0 load bgm/two.ogg", "0 loop 0", "0 play"}, {}},
      {"stage music 1 with the progress record's loop flag", 4, 1,
       {"0 stop", "0 reset", "0 load bgm/one.ogg", "0 loop 0", "0 play"}, {"stage music 1"}},
      {"stage music 0 stops", 4, 0, {"0 stop"}, {"stage music 0"}},
      {"an unknown kind changes nothing", 5, 2, {}, {}},
  };
  for (const Case& c : cases) {
    m_recorder.calls.clear();
    Music(c.kind, c.number);
    EXPECT_EQ(m_vox.Take(), c.vox) << c.what;
    EXPECT_EQ(m_recorder.calls, c.services) << c.what;
  }
  // Each kind named its file in its own slot.
  EXPECT_STREQ(m_ogg[0], "bgm\\two.ogg");
  EXPECT_STREQ(m_ogg[1], "bgm\\Title.ogg") << "no music named for a stop";
  EXPECT_STREQ(m_ogg[2], "bgm\\one.ogg");
  EXPECT_STREQ(m_ogg[3], "bgm\\two.ogg");
  EXPECT_STREQ(m_ogg[4], "") << "stage music 0 named record 0's file, which is none";
  EXPECT_EQ(plat::CloseRequestCount(), 0u);

  // A music number outside Bgm.dat is reported and closes the program.
  Music(4, 7);
  EXPECT_EQ(plat::CloseRequestCount(), 1u);
  EXPECT_NE(m_dir.ReadFile("Report_Game.txt").find("err V[7] ( 3 , "), std::string::npos);
}

TEST_F(MusicRequests, ClosingTheProgramStopsTheMusicFirst) {
  Music(0, 0);
  m_vox.Take();
  PostCloseMessage(hWndMain);
  EXPECT_EQ(RunMessagePump(), 0);
  const std::vector<std::string> calls = m_vox.Take();
  ASSERT_EQ(calls.size(), 1u);
  EXPECT_NE(calls[0].find(" stop"), std::string::npos) << calls[0];
}
