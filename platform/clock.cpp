#include "platform/clock.h"

#include <time.h>

#include <atomic>
#include <chrono>
#include <thread>

#include "platform/thread_context.h"

namespace plat {
namespace {

std::atomic<bool> g_fake{false};
std::atomic<uint32_t> g_fakeNow{0};

}  // namespace

uint32_t TimeGetTime() {
  if (g_fake.load()) return g_fakeNow.load();
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  uint64_t ms = static_cast<uint64_t>(ts.tv_sec) * 1000u + static_cast<uint64_t>(ts.tv_nsec) / 1000000u;
  return static_cast<uint32_t>(ms);
}

void Sleep(uint32_t ms) {
  if (g_fake.load()) {
    g_fakeNow.fetch_add(ms);
    std::this_thread::yield();
    detail::PassGate();
    return;
  }
  detail::Context* context = detail::CurrentContextIfAny();
  if (!context) {
    if (ms == 0)
      std::this_thread::yield();
    else
      std::this_thread::sleep_for(std::chrono::milliseconds(ms));
    return;
  }
  if (ms == 0 || context->cancelled.load()) {
    std::this_thread::yield();
    detail::PassGate();
    return;
  }
  std::unique_lock<std::mutex> lock(context->mutex);
  detail::ParkLocked(*context);
  context->cv.wait_for(lock, std::chrono::milliseconds(ms), [&] { return context->cancelled.load(); });
  detail::UnparkLocked(*context, lock);
}

FakeClock::FakeClock(uint32_t start) {
  g_fakeNow.store(start);
  g_fake.store(true);
}

FakeClock::~FakeClock() { g_fake.store(false); }

void FakeClock::Set(uint32_t now) { g_fakeNow.store(now); }

void FakeClock::Advance(uint32_t ms) { g_fakeNow.fetch_add(ms); }

uint32_t FakeClock::Now() const { return g_fakeNow.load(); }

}  // namespace plat
