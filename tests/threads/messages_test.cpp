// Messages between threads: post, send, peek, quit, and what happens when the
// other side ends or is cancelled.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <functional>
#include <vector>

#include "platform/clock.h"
#include "platform/messages.h"
#include "platform/thread.h"
#include "threads/wait_until.h"

using testsupport::PumpUntil;
using testsupport::WaitUntil;

namespace {

struct Posted {
  uint32_t message;
  uintptr_t wParam;
  intptr_t lParam;
};

// Drains the calling thread's queue without dispatching.
std::vector<plat::Message> Drain() {
  std::vector<plat::Message> out;
  plat::Message msg;
  while (plat::Peek(msg)) {
    out.push_back(msg);
    if (msg.message == WM_QUIT) break;
  }
  return out;
}

}  // namespace

TEST(Messages, PostedMessagesArriveInOrderAndTheQuitMessageComesLast) {
  const std::vector<Posted> posts = {
      {WM_USER + 1, 10, -1}, {WM_USER + 2, 0, 0}, {WM_CLOSE, 0, 0}, {0x8000, 5, 6}};
  const uint32_t mainId = plat::CurrentThreadId();
  plat::PostQuit(3);  // posted first, delivered after the rest
  plat::Thread poster;
  ASSERT_TRUE(poster.Start([&] {
    for (const Posted& p : posts) EXPECT_TRUE(plat::PostToThread(mainId, p.message, p.wParam, p.lParam));
    return 0u;
  }));
  ASSERT_TRUE(poster.Join());

  plat::Message first;
  ASSERT_TRUE(plat::Peek(first, false));  // looking leaves it in place
  EXPECT_EQ(first.message, WM_USER + 1u);

  std::vector<plat::Message> got = Drain();
  ASSERT_EQ(got.size(), posts.size() + 1);
  for (size_t i = 0; i < posts.size(); ++i) {
    EXPECT_EQ(got[i].message, posts[i].message) << i;
    EXPECT_EQ(got[i].wParam, posts[i].wParam) << i;
    EXPECT_EQ(got[i].lParam, posts[i].lParam) << i;
    EXPECT_FALSE(got[i].window) << "thread messages have no window";
  }
  EXPECT_EQ(got.back().message, WM_QUIT);
  EXPECT_EQ(got.back().wParam, 3u);
  plat::Message none;
  EXPECT_FALSE(plat::Peek(none)) << "the quit message is taken once";
}

TEST(Messages, SendRunsTheProcedureOnTheOwnerThreadWhenItPumps) {
  const uint32_t mainId = plat::CurrentThreadId();
  std::atomic<uint32_t> ranOn{0};
  plat::WindowHandle window = plat::CreateMessageWindow(
      [&](plat::WindowHandle, uint32_t msg, uintptr_t w, intptr_t l) -> intptr_t {
        ranOn = plat::CurrentThreadId();
        return msg == WM_USER ? static_cast<intptr_t>(w) + l : -1;
      });
  // On the owner thread a send is a plain call.
  EXPECT_EQ(plat::Send(window, WM_USER, 2, 3), 5);
  EXPECT_EQ(ranOn.load(), mainId);

  ranOn = 0;
  std::atomic<bool> started{false};
  std::atomic<intptr_t> result{0};
  plat::Thread sender;
  ASSERT_TRUE(sender.Start([&] {
    started = true;
    result = plat::Send(window, WM_USER, 40, 2);
    return 0u;
  }));
  ASSERT_TRUE(WaitUntil([&] { return started.load(); }));
  // Not served while the owner does not pump.
  EXPECT_FALSE(sender.Join(20));
  EXPECT_EQ(ranOn.load(), 0u);
  ASSERT_TRUE(PumpUntil([&] { return sender.Join(0); }));
  EXPECT_EQ(result.load(), 42);
  EXPECT_EQ(ranOn.load(), mainId);
  plat::DestroyMessageWindow(window);
}

TEST(Messages, SendToAThreadThatEndsWithoutPumpingFails) {
  std::atomic<plat::WindowHandle> window{plat::WindowHandle{}};
  std::atomic<bool> ran{false};
  std::atomic<bool> end{false};
  plat::Thread owner;
  ASSERT_TRUE(owner.Start([&] {
    window = plat::CreateMessageWindow([&](plat::WindowHandle, uint32_t, uintptr_t, intptr_t) -> intptr_t {
      ran = true;
      return 1;
    });
    while (!end.load()) std::this_thread::yield();  // never pumps
    return 0u;
  }));
  ASSERT_TRUE(WaitUntil([&] { return static_cast<bool>(window.load()); }));
  plat::WindowHandle target = window.load();

  plat::Thread ender;
  ASSERT_TRUE(ender.Start([&] {
    plat::Sleep(20);  // lets the send below queue up first
    end = true;
    return 0u;
  }));
  EXPECT_EQ(plat::Send(target, WM_USER, 0, 0), 0);
  EXPECT_FALSE(ran.load());
  ASSERT_TRUE(owner.Join());
  ASSERT_TRUE(ender.Join());

  // Once it has ended, its window and queue are gone.
  EXPECT_FALSE(plat::IsWindow(target));
  EXPECT_EQ(plat::Send(target, WM_USER, 0, 0), 0);
  EXPECT_FALSE(plat::Post(target, WM_USER, 0, 0));
}

TEST(Messages, ACancelledSenderWithdrawsItsMessage) {
  std::atomic<int> runs{0};
  plat::WindowHandle window =
      plat::CreateMessageWindow([&](plat::WindowHandle, uint32_t, uintptr_t, intptr_t) -> intptr_t {
        ++runs;
        return 7;
      });
  std::atomic<bool> started{false};
  std::atomic<intptr_t> result{-1};
  plat::Thread sender;
  ASSERT_TRUE(sender.Start([&] {
    started = true;
    result = plat::Send(window, WM_USER, 0, 0);
    // A cancelled thread sends nothing more.
    if (plat::Send(window, WM_USER, 0, 0) != 0) result = -2;
    return 0u;
  }));
  ASSERT_TRUE(WaitUntil([&] { return started.load(); }));
  EXPECT_FALSE(sender.Join(20));
  sender.Cancel();
  ASSERT_TRUE(sender.Join(5000));
  EXPECT_EQ(result.load(), 0);
  PumpUntil([] { return false; }, 10);
  EXPECT_EQ(runs.load(), 0) << "a withdrawn message never runs";
  plat::DestroyMessageWindow(window);
}

TEST(Messages, TwoThreadsSendingToEachOtherBothGetServed) {
  std::atomic<plat::WindowHandle> windowA{plat::WindowHandle{}}, windowB{plat::WindowHandle{}};
  std::atomic<intptr_t> resultA{0}, resultB{0};
  std::atomic<int> ready{0};
  auto body = [&](std::atomic<plat::WindowHandle>& mine, std::atomic<plat::WindowHandle>& other,
                  std::atomic<intptr_t>& result, intptr_t answer) {
    mine = plat::CreateMessageWindow(
        [answer](plat::WindowHandle, uint32_t, uintptr_t, intptr_t) -> intptr_t { return answer; });
    ++ready;
    while (ready.load() < 2) std::this_thread::yield();
    // Both block in the send at about the same time; each serves the other.
    result = plat::Send(other.load(), WM_USER, 0, 0);
    // Stay until the other has its answer too.
    while (resultA.load() == 0 || resultB.load() == 0) {
      plat::Message msg;
      plat::Peek(msg);
      plat::Sleep(1);
    }
    return 0u;
  };
  plat::Thread a, b;
  ASSERT_TRUE(a.Start([&] { return body(windowA, windowB, resultA, 11); }));
  ASSERT_TRUE(b.Start([&] { return body(windowB, windowA, resultB, 22); }));
  ASSERT_TRUE(a.Join(5000));
  ASSERT_TRUE(b.Join(5000));
  EXPECT_EQ(resultA.load(), 22);
  EXPECT_EQ(resultB.load(), 11);
}

TEST(Messages, ANestedPumpServesMessagesSentMeanwhile) {
  // The owner handles the first send by pumping until the second one has run,
  // as a modal loop does.
  std::atomic<bool> entered{false};
  std::atomic<bool> innerDone{false};
  std::vector<uint32_t> order;  // owner thread only
  plat::WindowHandle window =
      plat::CreateMessageWindow([&](plat::WindowHandle, uint32_t msg, uintptr_t, intptr_t) -> intptr_t {
        order.push_back(msg);
        if (msg == WM_USER + 1) {
          entered = true;
          EXPECT_TRUE(PumpUntil([&] { return innerDone.load(); }));
          order.push_back(WM_USER + 100);
          return 1;
        }
        innerDone = true;
        return 2;
      });
  std::atomic<intptr_t> outer{0}, inner{0};
  plat::Thread first, second;
  ASSERT_TRUE(first.Start([&] {
    outer = plat::Send(window, WM_USER + 1, 0, 0);
    return 0u;
  }));
  ASSERT_TRUE(second.Start([&] {
    while (!entered.load()) plat::Sleep(1);
    inner = plat::Send(window, WM_USER + 2, 0, 0);
    return 0u;
  }));
  ASSERT_TRUE(PumpUntil([&] { return first.Join(0) && second.Join(0); }));
  EXPECT_EQ(order, (std::vector<uint32_t>{WM_USER + 1, WM_USER + 2, WM_USER + 100}));
  EXPECT_EQ(outer.load(), 1);
  EXPECT_EQ(inner.load(), 2);
  plat::DestroyMessageWindow(window);
}

TEST(Messages, CallOnThreadRunsThereAndIsWaitedFor) {
  const uint32_t mainId = plat::CurrentThreadId();
  std::atomic<uint32_t> ranOn{0};
  std::atomic<bool> returned{false};
  plat::Thread caller;
  ASSERT_TRUE(caller.Start([&] {
    bool ok = plat::CallOnThread(mainId, [&] { ranOn = plat::CurrentThreadId(); });
    returned = ok;
    return 0u;
  }));
  ASSERT_TRUE(PumpUntil([&] { return caller.Join(0); }));
  EXPECT_TRUE(returned.load());
  EXPECT_EQ(ranOn.load(), mainId);
  EXPECT_FALSE(plat::CallOnThread(0xFFFFFF, [] {})) << "no such thread";
}

TEST(Messages, AWaitAfterSentMessagesWereServedElsewhereReturnsAtOnce) {
  // A loop looks at its state between its look at the queue and its wait; a
  // sent message served in that look (or in a send of the loop's own) may
  // have changed that state, and nothing else may ever come to end the wait.
  std::atomic<bool> served{false};
  plat::WindowHandle mainWindow = plat::CreateMessageWindow(
      [&](plat::WindowHandle, uint32_t msg, uintptr_t, intptr_t) -> intptr_t {
        if (msg == WM_USER + 5) served = true;
        return 0;
      });
  // A second thread whose window answers by sending to the main window.
  std::atomic<plat::WindowHandle> otherWindow{plat::WindowHandle{}};
  std::atomic<bool> stop{false};
  plat::Thread other;
  ASSERT_TRUE(other.Start([&] {
    otherWindow = plat::CreateMessageWindow([&](plat::WindowHandle, uint32_t, uintptr_t, intptr_t) -> intptr_t {
      return plat::Send(mainWindow, WM_USER + 5, 0, 0);
    });
    PumpUntil([&] { return stop.load(); }, 60000);
    return 0u;
  }));
  ASSERT_TRUE(WaitUntil([&] { return static_cast<bool>(otherWindow.load()); }));

  struct Case {
    const char* name;
    std::function<void()> serve;  // returns once the main window's message ran
  };
  const Case cases[] = {
      {"served by Peek",
       [&] {
         plat::Thread sender;
         ASSERT_TRUE(sender.Start([&] {
           plat::Send(mainWindow, WM_USER + 5, 0, 0);
           return 0u;
         }));
         const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
         plat::Message msg;
         while (!served.load() && std::chrono::steady_clock::now() < deadline) EXPECT_FALSE(plat::Peek(msg));
         ASSERT_TRUE(sender.Join(5000));
       }},
      {"served inside a send of the thread's own",
       [&] { plat::Send(otherWindow.load(), WM_USER, 0, 0); }},
  };
  for (const Case& c : cases) {
    Drain();
    served = false;
    c.serve();
    ASSERT_TRUE(served.load()) << c.name;
    EXPECT_TRUE(plat::WaitForMessage(5000)) << c.name << ": the wait ignored what was served";
    EXPECT_FALSE(plat::WaitForMessage(0)) << c.name << ": it counts once";
  }
  stop = true;
  plat::PostToThread(other.Id(), WM_NULL, 0, 0);
  ASSERT_TRUE(other.Join(5000));
  plat::DestroyMessageWindow(mainWindow);
}
