// plat::Thread: a queue before the body runs, joins, the suspension gate and
// cooperative cancellation.
#include <gtest/gtest.h>

#include <atomic>

#include "platform/clock.h"
#include "platform/messages.h"
#include "platform/thread.h"
#include "threads/wait_until.h"

using testsupport::WaitUntil;

namespace {

// A loop that passes a safe point on every turn, as every thread loop does.
unsigned CountingLoop(std::atomic<int>& turns) {
  for (;;) {
    plat::Message msg;
    if (plat::Peek(msg) && msg.message == WM_QUIT) return 1;
    ++turns;
    plat::Sleep(1);
  }
}

}  // namespace

TEST(Thread, ItsQueueTakesMessagesBeforeTheBodyRuns) {
  std::atomic<bool> go{false};
  std::atomic<uint32_t> got{0};
  plat::Thread thread;
  EXPECT_EQ(thread.Id(), 0u);
  ASSERT_TRUE(thread.Start([&] {
    while (!go.load()) std::this_thread::yield();
    plat::Message msg;
    while (!plat::Peek(msg)) plat::WaitForMessage();
    got = msg.message;
    return 0u;
  }));
  ASSERT_NE(thread.Id(), 0u);
  EXPECT_TRUE(plat::PostToThread(thread.Id(), 0x8000, 0, 0));
  EXPECT_FALSE(thread.Start([] { return 0u; })) << "one thread at a time";
  go = true;
  ASSERT_TRUE(thread.Join());
  EXPECT_EQ(got.load(), 0x8000u);
  EXPECT_FALSE(thread.Running());
  EXPECT_EQ(thread.Id(), 0u);
  EXPECT_TRUE(thread.Join()) << "joining an idle thread returns at once";
}

TEST(Thread, CanBeStartedAgainAndJoinedByTwoWaiters) {
  plat::Thread thread;
  std::atomic<int> runs{0};
  for (int round = 0; round < 2; ++round) {
    std::atomic<bool> release{false};
    ASSERT_TRUE(thread.Start([&] {
      while (!release.load()) plat::Sleep(1);
      ++runs;
      return 0u;
    }));
    EXPECT_FALSE(thread.Join(5));
    std::atomic<bool> otherJoined{false};
    plat::Thread other;
    ASSERT_TRUE(other.Start([&] {
      otherJoined = thread.Join();
      return 0u;
    }));
    release = true;
    EXPECT_TRUE(thread.Join());
    ASSERT_TRUE(other.Join());
    EXPECT_TRUE(otherJoined.load());
  }
  EXPECT_EQ(runs.load(), 2);
}

TEST(Thread, SuspendHoldsTheThreadAtItsNextSafePointUntilResumed) {
  std::atomic<int> turns{0};
  plat::Thread thread;
  ASSERT_TRUE(thread.Start([&] { return CountingLoop(turns); }));
  ASSERT_TRUE(WaitUntil([&] { return turns.load() > 2; }));

  ASSERT_TRUE(thread.Suspend(5000));
  ASSERT_TRUE(thread.Suspend(5000));  // counted: two suspends need two resumes
  int held = turns.load();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(turns.load(), held);
  thread.Resume();
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(turns.load(), held) << "still suspended once";
  thread.Resume();
  EXPECT_TRUE(WaitUntil([&] { return turns.load() > held + 2; }));

  thread.Cancel();
  EXPECT_TRUE(thread.Join(5000));
}

TEST(Thread, CancelEndsWaitsAndSleepsAndPeekThenSaysQuit) {
  struct Case {
    const char* name;
    std::function<void()> wait;
  };
  const Case cases[] = {
      {"WaitForMessage", [] { plat::WaitForMessage(); }},
      {"Sleep", [] { plat::Sleep(60 * 60 * 1000); }},
  };
  for (const Case& c : cases) {
    std::atomic<bool> waiting{false};
    std::atomic<uint32_t> peeked{0};
    plat::Thread thread;
    ASSERT_TRUE(thread.Start([&] {
      waiting = true;
      c.wait();
      plat::Message msg;
      if (plat::Peek(msg)) peeked = msg.message;
      return 0u;
    }));
    ASSERT_TRUE(WaitUntil([&] { return waiting.load(); }));
    thread.Cancel();
    EXPECT_TRUE(thread.Join(5000)) << c.name;
    EXPECT_EQ(peeked.load(), WM_QUIT) << c.name;
  }
}

TEST(Thread, ACancelledSuspendedThreadPassesItsGate) {
  std::atomic<int> turns{0};
  plat::Thread thread;
  ASSERT_TRUE(thread.Start([&] { return CountingLoop(turns); }));
  ASSERT_TRUE(thread.Suspend(5000));
  thread.Cancel();
  EXPECT_TRUE(thread.Join(5000));
}

TEST(Thread, ACancelledThreadStartsNoOtherThread) {
  std::atomic<int> started{-1};
  plat::Thread outer;
  ASSERT_TRUE(outer.Start([&] {
    while (!plat::IsCancelled()) plat::Sleep(1);
    plat::Thread inner;
    started = inner.Start([] { return 0u; }) ? 1 : 0;
    return 0u;
  }));
  outer.Cancel();
  ASSERT_TRUE(outer.Join(5000));
  EXPECT_EQ(started.load(), 0);
}
