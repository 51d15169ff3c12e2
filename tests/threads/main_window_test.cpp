// The main window on the main thread (headless window system): close requests
// become its WM_CLOSE, which ends the threads in order; requests with done
// flags; the main thread's pump, nested ones too, serves messages sent from
// other threads.
#include <gtest/gtest.h>

#include <atomic>
#include <filesystem>
#include <mutex>
#include <string>
#include <vector>

#include "base/boxes.h"
#include "app/main_window.h"
#include "base/report_log.h"
#include "base/thread.h"
#include "app/win_main.h"
#include "platform/clock.h"
#include "platform/close_request.h"
#include "platform/event_push.h"
#include "platform/messages.h"
#include "platform/virtual_keys.h"
#include "platform/window.h"
#include "platform/window_geometry.h"
#include "records/system_ini.h"
#include "stage/scene_stage.h"
#include "game/game.h"
#include "support/test_support.h"
#include "threads/wait_until.h"

using testsupport::PumpUntil;
using testsupport::ScopedWorkDir;
using testsupport::Sjis;
using testsupport::WaitUntil;

namespace {

std::mutex g_endsMutex;
std::vector<std::string> g_ends;

void NoteEnd(const char* name) {
  std::lock_guard<std::mutex> lock(g_endsMutex);
  g_ends.push_back(name);
}

std::vector<std::string> Ends() {
  std::lock_guard<std::mutex> lock(g_endsMutex);
  return g_ends;
}

// A thread loop that notes its name when WM_QUIT ends it.
unsigned NamedLoop(void* name) {
  for (;;) {
    plat::Message msg;
    if (plat::Peek(msg) && msg.message == WM_QUIT) break;
    plat::Sleep(1);
  }
  NoteEnd(static_cast<const char*>(name));
  return 1;
}

char kLoad[] = "load", kPause[] = "pause", kRanking[] = "ranking", kGame[] = "game";

class MainWindowTest : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(ReportOpen("Report_Game.txt"), 1);
    m_dir.WriteFile("EC_Game.txt", "");
    DebugLogInit(1, "EC_Game.txt");
    plat::ResetCloseRequests();
    bQuit = 0;
    bAppActive = 0;
    {
      std::lock_guard<std::mutex> lock(g_endsMutex);
      g_ends.clear();
    }
    ASSERT_TRUE(plat::StartWindowSystem());
    ASSERT_TRUE(MainWindow.Create());
  }
  void TearDown() override {
    CurStage = nullptr;
    bWndReady = 0;
    SystemIni.nWindowMode = 0;
    for (cThread* th : {&thGame, &thPause, &thRanking, &thLoad}) th->Exit();
    if (hWndMain.load()) plat::DestroyAppWindow(hWndMain.load());
    plat::Message msg;
    while (plat::Peek(msg)) {
    }
    plat::StopWindowSystem();
    DebugLogInit(0, "EC_Game.txt");
  }
  // The debug log's lines that are listed in `wanted`, in file order.
  std::vector<std::string> DebugLines(const std::vector<std::string>& wanted) {
    std::vector<std::string> out;
    std::string log = m_dir.ReadFile("EC_Game.txt");
    size_t pos = 0;
    while (pos < log.size()) {
      size_t end = log.find("\r\n", pos);
      if (end == std::string::npos) end = log.size();
      std::string line = log.substr(pos, end - pos);
      for (const std::string& w : wanted)
        if (line == w) out.push_back(line);
      pos = end + 2;
    }
    return out;
  }
  ScopedWorkDir m_dir;
};

}  // namespace

TEST_F(MainWindowTest, ACloseRequestFromAnyThreadEndsTheThreadsInOrderThenTheWindow) {
  ASSERT_TRUE(thGame.Start(NamedLoop, kGame));
  ASSERT_TRUE(thRanking.Start(NamedLoop, kRanking));
  ASSERT_TRUE(thLoad.Start(NamedLoop, kLoad));
  std::thread requester([] { plat::RequestClose(); });
  requester.join();

  EXPECT_EQ(RunMessagePump(), 0) << "WM_DESTROY quits with 0";
  EXPECT_EQ(Ends(), (std::vector<std::string>{kLoad, kRanking, kGame}));
  for (cThread* th : {&thGame, &thPause, &thRanking, &thLoad}) EXPECT_FALSE(th->HasThread());
  EXPECT_FALSE(hWndMain.load());
  EXPECT_FALSE(MainWindow.m_hWnd);
  EXPECT_EQ(bQuit.load(), 1);
  EXPECT_EQ(plat::CloseRequestCount(), 1u);
  const std::string closeDone = "WM_CLOSE " + Sjis("成功！");
  EXPECT_EQ(DebugLines({closeDone, "thPause.Exit()", "thGame.Exit()", "WM_DESTROY"}),
            (std::vector<std::string>{closeDone, "thPause.Exit()", "thGame.Exit()", "WM_DESTROY"}));

  // Once the window is gone a request is only counted.
  plat::RequestClose();
  EXPECT_EQ(plat::CloseRequestCount(), 2u);
  plat::Message msg;
  EXPECT_FALSE(plat::Peek(msg));
}

TEST_F(MainWindowTest, WhileAStageWaitRunsTheFirstCloseEndsOnlyThatWait) {
  // The game thread runs a stage wait on thPause and waits for it.
  ASSERT_TRUE(thGame.Start([](void*) -> unsigned {
    if (thPause.Start(NamedLoop, kPause)) thPause.Wait();
    return NamedLoop(kGame);
  }, nullptr));
  ASSERT_TRUE(WaitUntil([] { return thPause.HasThread(); }));

  PostCloseMessage(hWndMain);
  ASSERT_TRUE(PumpUntil([] { return !thPause.HasThread(); }));
  EXPECT_EQ(Ends(), (std::vector<std::string>{kPause}));
  EXPECT_TRUE(hWndMain.load()) << "the window stays for the stage's own close";
  EXPECT_TRUE(thGame.HasThread());
  EXPECT_EQ(bQuit.load(), 1);

  PostCloseMessage(hWndMain);  // the stage asks again
  EXPECT_EQ(RunMessagePump(), 0);
  EXPECT_EQ(Ends(), (std::vector<std::string>{kPause, kGame}));
  EXPECT_FALSE(hWndMain.load());
}

TEST_F(MainWindowTest, ActivationReachesBAppActive) {
  plat::ShowAppWindow(hWndMain.load());  // headless: shown means active
  ASSERT_TRUE(PumpUntil([] { return bAppActive.load() == 1; }));
  plat::Send(hWndMain.load(), WM_ACTIVATEAPP, 0, 0);
  EXPECT_EQ(bAppActive.load(), 0);
}

namespace {

constexpr uint32_t kRequest = WM_USER + 50;
std::atomic<int> g_requestDone{0};

}  // namespace

TEST_F(MainWindowTest, ARequestWithADoneFlagWaitsUntilTheHandlerSetsIt) {
  // The request is served by a second window of the main thread, as the main
  // window serves its own requests; the handler holds the requesting threads
  // for its time, as the name dialog does.
  static std::atomic<int> handled{0};
  static std::atomic<bool> heldDuringHandler{false};
  handled = 0;
  heldDuringHandler = false;
  plat::WindowHandle server = plat::CreateMessageWindow(
      [](plat::WindowHandle, uint32_t msg, uintptr_t, intptr_t) -> intptr_t {
        if (msg != kRequest) return 0;
        ++handled;
        heldDuringHandler = SuspendThreads();  // the sender is held inside its send
        ResumeThreads();
        g_requestDone = 1;
        return 0;
      });
  static std::atomic<plat::WindowHandle> target;
  target = server;
  static std::atomic<int> answer{-1};
  answer = -1;
  ASSERT_TRUE(thGame.Start([](void*) -> unsigned {
    g_requestDone = 0;
    plat::Send(target.load(), kRequest, 0, 0);
    answer = WaitForDone(g_requestDone) ? 1 : 0;
    return 0;
  }, nullptr));
  ASSERT_TRUE(PumpUntil([] { return answer.load() != -1; }));
  EXPECT_EQ(answer.load(), 1);
  EXPECT_EQ(handled.load(), 1);
  EXPECT_TRUE(heldDuringHandler.load());
  plat::DestroyMessageWindow(server);
}

TEST_F(MainWindowTest, AWaitForADoneFlagEndsWhenTheProgramCloses) {
  static std::atomic<int> answer{-1};
  answer = -1;
  // The main window does not know the request and never sets the flag.
  ASSERT_TRUE(thGame.Start([](void*) -> unsigned {
    answer = SendRequest(kRequest, 0, 0, g_requestDone) ? 1 : 0;
    return 0;
  }, nullptr));
  PumpUntil([] { return false; }, 50);  // serves the request, which sets nothing
  EXPECT_EQ(answer.load(), -1) << "still waiting";
  bQuit = 1;
  ASSERT_TRUE(PumpUntil([] { return answer.load() != -1; }));
  EXPECT_EQ(answer.load(), 0);
}

TEST_F(MainWindowTest, TheMainThreadsNestedPumpServesSendsBesideWindowEvents) {
  std::atomic<bool> entered{false};
  std::atomic<bool> innerDone{false};
  std::vector<int> order;  // main thread only
  plat::WindowHandle window =
      plat::CreateMessageWindow([&](plat::WindowHandle, uint32_t msg, uintptr_t, intptr_t) -> intptr_t {
        if (msg == WM_USER + 1) {
          order.push_back(1);
          entered = true;
          // A modal loop of the main thread.
          EXPECT_TRUE(PumpUntil([&] { return innerDone.load(); }));
          order.push_back(3);
          return 10;
        }
        order.push_back(2);
        innerDone = true;
        return 20;
      });
  std::atomic<intptr_t> outer{0}, inner{0};
  std::atomic<bool> boxRan{false};
  plat::Thread first, second;
  ASSERT_TRUE(first.Start([&] {
    outer = plat::Send(window, WM_USER + 1, 0, 0);
    return 0u;
  }));
  const uint32_t mainId = plat::CurrentThreadId();
  ASSERT_TRUE(second.Start([&] {
    while (!entered.load()) plat::Sleep(1);
    // A call marshalled to the main thread (as message boxes are), then a send.
    plat::CallOnThread(mainId, [&] { boxRan = plat::CurrentThreadId() == mainId; });
    inner = plat::Send(window, WM_USER + 2, 0, 0);
    return 0u;
  }));
  ASSERT_TRUE(PumpUntil([&] { return first.Join(0) && second.Join(0); }));
  EXPECT_EQ(order, (std::vector<int>{1, 2, 3}));
  EXPECT_EQ(outer.load(), 10);
  EXPECT_EQ(inner.load(), 20);
  EXPECT_TRUE(boxRan.load());
  plat::DestroyMessageWindow(window);
}

namespace {

void Put32(std::string& s, uint32_t v) {
  for (int i = 0; i < 4; ++i) s += static_cast<char>((v >> (8 * i)) & 0xFF);
}

// Window.dat as its layout gives it: version 734, five values, no strings.
std::string WindowFile(int32_t x, int32_t y, int32_t width, int32_t height, int32_t maximized) {
  std::string s;
  for (uint32_t v : {734u, 5u, static_cast<uint32_t>(x), static_cast<uint32_t>(y), static_cast<uint32_t>(width),
                     static_cast<uint32_t>(height), static_cast<uint32_t>(maximized), 0u})
    Put32(s, v);
  return s;
}

// Pushed window-manager events reach the window.
void PumpEvents() { PumpUntil([] { return false; }, 20); }

}  // namespace

TEST_F(MainWindowTest, ClosingInAWindowRemembersItsPlaceInWindowDat) {
  using K = plat::WindowEventKind;
  struct Case {
    const char* what;
    int windowMode, ready;
    std::vector<K> events;
    std::string file;  // empty: nothing written
  } cases[] = {
      {"in a window", 1, 1, {}, WindowFile(200, 150, 640, 480, 0)},
      {"resizable window, maximised", 2, 1, {K::Maximized}, WindowFile(200, 150, 640, 480, 1)},
      {"maximised, then restored", 1, 1, {K::Maximized, K::Restored}, WindowFile(200, 150, 640, 480, 0)},
      {"minimised", 1, 1, {K::Minimized}, ""},
      {"full screen", 0, 1, {}, ""},
      {"before start-up succeeded", 1, 0, {}, ""},
  };
  std::filesystem::create_directory(m_dir.Path() + "/user_data");
  bool first = true;
  for (const Case& c : cases) {
    if (!first) {
      ASSERT_TRUE(MainWindow.Create()) << c.what;
    }
    first = false;
    std::filesystem::remove(m_dir.Path() + "/user_data/Window.dat");
    SystemIni.nWindowMode = c.windowMode;
    bWndReady = c.ready;
    MainWindow.Move(200, 150);  // the outer size around the 640 x 480 client area
    for (K kind : c.events) plat::PushWindowEvent(plat::AppWindowSdlId(hWndMain.load()), kind);
    PumpEvents();

    PostCloseMessage(hWndMain);
    EXPECT_EQ(RunMessagePump(), 0) << c.what;
    EXPECT_FALSE(hWndMain.load()) << c.what;
    if (c.file.empty())
      EXPECT_FALSE(m_dir.Exists("user_data/Window.dat")) << c.what;
    else
      EXPECT_EQ(m_dir.ReadFile("user_data/Window.dat"), c.file) << c.what;
  }
}

TEST_F(MainWindowTest, EscapeClosesTheProgramAsTheCloseButtonDoes) {
  ASSERT_TRUE(thGame.Start(NamedLoop, kGame));
  ASSERT_TRUE(plat::PushKeyEvent(plat::AppWindowSdlId(hWndMain.load()), 'A', true));
  PumpEvents();
  EXPECT_TRUE(hWndMain.load()) << "other keys do nothing";
  ASSERT_TRUE(plat::PushKeyEvent(plat::AppWindowSdlId(hWndMain.load()), VK_ESCAPE, true));
  EXPECT_EQ(RunMessagePump(), 0);
  EXPECT_EQ(Ends(), (std::vector<std::string>{kGame}));
  EXPECT_FALSE(hWndMain.load());
  EXPECT_EQ(bQuit.load(), 1);
}

TEST_F(MainWindowTest, TheFirstCloseDuringAStageWaitAsksTheStageToClose) {
  cSceneStage stage;
  CurStage = &stage;
  std::filesystem::create_directory(m_dir.Path() + "/user_data");
  SystemIni.nWindowMode = 1;
  bWndReady = 1;
  MainWindow.Move(30, 40);
  ASSERT_TRUE(thGame.Start([](void*) -> unsigned {
    if (thPause.Start(NamedLoop, kPause)) thPause.Wait();
    // The stage's next step sees its close request and asks again.
    if (CurStage && CurStage->m_bCloseRequested.load()) PostCloseMessage(hWndMain);
    return NamedLoop(kGame);
  }, nullptr));
  ASSERT_TRUE(WaitUntil([] { return thPause.HasThread(); }));

  PostCloseMessage(hWndMain);
  EXPECT_EQ(RunMessagePump(), 0);
  EXPECT_EQ(stage.m_bCloseRequested.load(), 1);
  EXPECT_EQ(Ends(), (std::vector<std::string>{kPause, kGame}));
  EXPECT_EQ(m_dir.ReadFile("user_data/Window.dat"), WindowFile(30, 40, 640, 480, 0));
  EXPECT_EQ(DebugLines({"WM_CLOSE thPause.m_hThread", "WM_CLOSE " + Sjis("成功！")}),
            (std::vector<std::string>{"WM_CLOSE thPause.m_hThread", "WM_CLOSE " + Sjis("成功！")}));
}
