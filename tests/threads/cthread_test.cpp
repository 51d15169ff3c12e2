// cThread: start, wait, suspend, resume and exit, also of threads that are
// suspended, blocked in a send, or never reach a safe point.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "base/report_log.h"
#include "base/thread.h"
#include "platform/clock.h"
#include "platform/messages.h"
#include "support/test_support.h"
#include "threads/wait_until.h"

using testsupport::ScopedWorkDir;
using testsupport::WaitUntil;

namespace {

std::atomic<int> g_turns{0};
std::atomic<int> g_quitSeen{0};

// The skeleton of every loop of the program: leave on WM_QUIT, else work.
unsigned MessageLoop(void*) {
  for (;;) {
    plat::Message msg;
    if (plat::Peek(msg)) {
      if (msg.message == WM_QUIT) {
        ++g_quitSeen;
        return 1;
      }
      continue;
    }
    ++g_turns;
    plat::Sleep(1);
  }
}

class CThread : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(ReportOpen("Report_Game.txt"), 1);
    g_turns = 0;
    g_quitSeen = 0;
  }
  void TearDown() override {
    for (cThread* th : {&m_thread, &thGame, &thPause, &thRanking, &thLoad}) th->Exit();
  }
  ScopedWorkDir m_dir;
  cThread m_thread;
};

}  // namespace

TEST_F(CThread, StartThenWaitForAThreadThatEndsByItself) {
  static std::atomic<int> ran{0};
  ran = 0;
  int argument = 7;
  ASSERT_TRUE(m_thread.Start([](void* arg) -> unsigned {
    plat::Sleep(5);
    ran = *static_cast<int*>(arg);
    return 0;
  }, &argument));
  EXPECT_TRUE(m_thread.HasThread());
  EXPECT_NE(m_thread.m_dwThreadId.load(), 0u);
  m_thread.Wait();
  EXPECT_EQ(ran.load(), 7);
  EXPECT_FALSE(m_thread.HasThread());
  EXPECT_EQ(m_thread.m_dwThreadId.load(), 0u);
}

TEST_F(CThread, AThreadThatWaitsForItselfIsRefusedAtOnce) {
  static cThread* self;
  static std::atomic<int> waited{-1};
  self = &m_thread;
  waited = -1;
  ASSERT_TRUE(m_thread.Start([](void*) -> unsigned {
    waited = self->Wait() ? 1 : 0;
    return 0;
  }, nullptr));
  ASSERT_TRUE(WaitUntil([] { return waited.load() != -1; })) << "the thread waits for itself";
  EXPECT_EQ(waited.load(), 0);
  EXPECT_TRUE(m_thread.Wait());
  EXPECT_TRUE(m_thread.Wait()) << "nothing runs: nothing to wait for";
  EXPECT_FALSE(m_thread.HasThread());
}

TEST_F(CThread, AQuitPostedRightAfterTheStartIsNotLost) {
  static std::atomic<bool> go{false};
  go = false;
  ASSERT_TRUE(m_thread.Start([](void*) -> unsigned {
    while (!go.load()) std::this_thread::yield();  // has not reached its loop yet
    return MessageLoop(nullptr);
  }, nullptr));
  EXPECT_TRUE(plat::PostToThread(m_thread.m_dwThreadId, WM_QUIT, 0, 0));
  EXPECT_FALSE(m_thread.Start(MessageLoop, nullptr)) << "one thread per object";
  go = true;
  m_thread.Wait();
  EXPECT_EQ(g_quitSeen.load(), 1);
  // Idle again, the object starts the next thread.
  ASSERT_TRUE(m_thread.Start(MessageLoop, nullptr));
  m_thread.Exit();
  EXPECT_EQ(g_quitSeen.load(), 2);
}

TEST_F(CThread, ExitOfAnIdleObjectReturnsAtOnce) {
  m_thread.Exit();
  EXPECT_TRUE(m_thread.Suspend());
  EXPECT_TRUE(m_thread.Resume());
  EXPECT_FALSE(m_thread.HasThread());
}

TEST_F(CThread, SuspendHoldsTheLoopAndResumeLetsItGoOn) {
  ASSERT_TRUE(m_thread.Start(MessageLoop, nullptr));
  ASSERT_TRUE(WaitUntil([] { return g_turns.load() > 2; }));
  ASSERT_TRUE(m_thread.Suspend());
  int held = g_turns.load();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(g_turns.load(), held);
  ASSERT_TRUE(m_thread.Resume());
  EXPECT_TRUE(WaitUntil([&] { return g_turns.load() > held + 2; }));
}

TEST_F(CThread, ExitEndsASuspendedThread) {
  ASSERT_TRUE(m_thread.Start(MessageLoop, nullptr));
  ASSERT_TRUE(m_thread.Suspend());
  ASSERT_TRUE(m_thread.Suspend());
  m_thread.Exit();
  EXPECT_FALSE(m_thread.HasThread());
  EXPECT_EQ(g_quitSeen.load(), 1);
}

TEST_F(CThread, ExitEndsAThreadBlockedInASendThatIsNeverServed) {
  static std::atomic<int> runs{0};
  static std::atomic<intptr_t> result{-1};
  static std::atomic<bool> sending{false};
  runs = 0;
  result = -1;
  sending = false;
  // Owned by this thread, which does not pump while the sender waits.
  static plat::WindowHandle window;
  window = plat::CreateMessageWindow([](plat::WindowHandle, uint32_t, uintptr_t, intptr_t) -> intptr_t {
    ++runs;
    return 1;
  });
  ASSERT_TRUE(m_thread.Start([](void*) -> unsigned {
    sending = true;
    result = plat::Send(window, WM_USER + 5, 3, 0);
    return MessageLoop(nullptr);
  }, nullptr));
  ASSERT_TRUE(WaitUntil([] { return sending.load(); }));
  m_thread.Exit();
  EXPECT_EQ(result.load(), 0);
  EXPECT_EQ(g_quitSeen.load(), 1);
  plat::Message msg;
  while (plat::Peek(msg)) plat::Dispatch(msg);
  EXPECT_EQ(runs.load(), 0) << "the withdrawn message does not run later";
  plat::DestroyMessageWindow(window);
}

TEST_F(CThread, AThreadThatNeverReachesASafePointIsReportedAndNotKilled) {
  static std::atomic<bool> release{false};
  static std::atomic<bool> finished{false};
  release = false;
  finished = false;
  ASSERT_TRUE(m_thread.Start([](void*) -> unsigned {
    while (!release.load()) {
    }  // no safe point here
    finished = true;  // the thread ran to its end: it was not killed
    return 0;
  }, nullptr));
  std::thread watcher([this] {
    // Releases the thread once Exit has reported it.
    WaitUntil([this] { return m_dir.ReadFile("Report_Game.txt").find("has not ended") != std::string::npos; });
    release = true;
  });
  m_thread.Exit();
  watcher.join();
  EXPECT_TRUE(finished.load());
  EXPECT_FALSE(m_thread.HasThread());
  std::string report = m_dir.ReadFile("Report_Game.txt");
  EXPECT_NE(report.find("cThread::Exit : thread "), std::string::npos) << report;
}

TEST_F(CThread, AWaiterThatIsEndedEndsTheLoopItWaitsFor) {
  // thGame waits for thPause, as during a stage wait; ending thGame ends both.
  ASSERT_TRUE(thGame.Start([](void*) -> unsigned {
    if (thPause.Start(MessageLoop, nullptr)) thPause.Wait();
    return MessageLoop(nullptr);
  }, nullptr));
  ASSERT_TRUE(WaitUntil([] { return thPause.HasThread() && g_turns.load() > 0; }));
  thGame.Exit();
  EXPECT_FALSE(thGame.HasThread());
  EXPECT_FALSE(thPause.HasThread());
  EXPECT_EQ(g_quitSeen.load(), 2);
}

TEST_F(CThread, SuspendThreadsHoldsTheRunningOnesAndPassesOverIdleOnes) {
  ASSERT_TRUE(thGame.Start(MessageLoop, nullptr));
  ASSERT_TRUE(WaitUntil([] { return g_turns.load() > 0; }));
  EXPECT_TRUE(SuspendThreads());
  int held = g_turns.load();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(g_turns.load(), held);
  EXPECT_TRUE(ResumeThreads());
  EXPECT_TRUE(WaitUntil([&] { return g_turns.load() > held; }));
}
