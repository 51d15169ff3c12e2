#pragma once
// The millisecond clock and sleep. The clock is a u32 that wraps after about
// 49.7 days: compare times only through differences (now - then).
#include <cstdint>

namespace plat {

// Milliseconds of a monotonic clock (or of the fake clock while one is set).
uint32_t TimeGetTime();

// Sleeps ms milliseconds (0 yields). A safe point: holds while the thread is
// suspended; a cancelled thread does not sleep (it only yields).
// With the fake clock it advances that clock by ms instead of waiting.
void Sleep(uint32_t ms);

// A clock for tests: while an object lives, TimeGetTime reads it and every
// Sleep moves it forward, so timing code runs exactly and at full speed.
class FakeClock {
 public:
  explicit FakeClock(uint32_t start = 0);
  ~FakeClock();
  FakeClock(const FakeClock&) = delete;
  FakeClock& operator=(const FakeClock&) = delete;
  void Set(uint32_t now);
  void Advance(uint32_t ms);
  uint32_t Now() const;
};

}  // namespace plat
