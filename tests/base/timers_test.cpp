// Frame timers on the fake clock: tables of (clock reading, call, result),
// including sequences that cross the wrap of the u32 millisecond clock.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "base/timers.h"
#include "platform/clock.h"

namespace {

constexpr uint32_t kNearWrap = 0xFFFFFFF0u;  // 16 ms before the clock wraps to 0

class Timers : public ::testing::Test {
 protected:
  void SetUp() override {
    ResetTimers();
    bDirect3DBackEnd = 1;  // PaceFrame paces only under the 3D back end
  }
  void TearDown() override {
    ResetTimers();
    bDirect3DBackEnd = 0;
  }
  plat::FakeClock m_clock;
};

struct Step {
  uint32_t now;
  unsigned fps;
  bool expected;
};

void RunSteps(plat::FakeClock& clock, const std::vector<Step>& steps, bool (*fn)(unsigned)) {
  for (size_t i = 0; i < steps.size(); ++i) {
    clock.Set(steps[i].now);
    EXPECT_EQ(fn(steps[i].fps), steps[i].expected) << "step " << i << " at " << steps[i].now;
  }
}

bool Limit(unsigned fps) { return LimitRate(fps); }
bool Pace(unsigned fps) { return PaceFrame(fps, 0, nullptr); }

// Runs a frame loop as the game does (poll, 1 ms sleep) for `ms` of clock time
// and returns the clock readings at which frames started.
std::vector<uint32_t> FrameStarts(plat::FakeClock& clock, bool (*fn)(unsigned), unsigned fps,
                                  uint32_t ms) {
  std::vector<uint32_t> starts;
  const uint32_t begin = clock.Now();
  while (clock.Now() - begin < ms) {
    if (fn(fps))
      starts.push_back(clock.Now() - begin);
    else
      plat::Sleep(1);
  }
  return starts;
}

}  // namespace

TEST_F(Timers, StopwatchMeasuresFromItsStartAcrossTheWrap) {
  struct Case {
    uint32_t start, later;
    uint32_t elapsed;
  };
  const Case cases[] = {{100, 130, 30}, {0, 0, 0}, {kNearWrap, 0x10, 0x20}, {0xFFFFFFFF, 0, 1}};
  m_clock.Set(5);
  EXPECT_EQ(StopwatchElapsed(0), 0u) << "nothing measured yet";
  for (const Case& c : cases) {
    m_clock.Set(c.start);
    EXPECT_EQ(StopwatchStart(), c.start);
    m_clock.Set(c.later);
    EXPECT_EQ(StopwatchElapsed(1), c.elapsed);
    m_clock.Advance(500);
    EXPECT_EQ(StopwatchElapsed(0), c.elapsed) << "update 0 keeps the stored value";
  }
}

TEST_F(Timers, CountPerSecondPublishesOncePerSecondWithoutThePublishingCall) {
  // A loop that calls exactly 60 times per second: the first second also
  // counts its very first call, later ones show 59.
  for (uint32_t base : {0u, kNearWrap - 1500}) {
    ResetTimers();
    std::vector<uint32_t> published;
    for (uint32_t k = 0; k <= 180; ++k) {
      m_clock.Set(base + k * 1000 / 60);
      uint32_t before = CountPerSecond(0);
      uint32_t now = CountPerSecond(1);
      if (k % 60 == 0 && k > 0) published.push_back(now);
      else EXPECT_EQ(now, before) << k;
    }
    EXPECT_EQ(published, (std::vector<uint32_t>{60, 59, 59})) << "base " << base;
  }
}

TEST_F(Timers, LimitRateLetsAFrameGoAtTheEarliest1000OverFpsAfterTheLast) {
  RunSteps(m_clock,
           {
               {1000, 60, true},   // the first call always goes
               {1001, 60, false},
               {1015, 60, false},
               {1016, 60, true},   // 1000 / 60 = 16
               {1031, 60, false},
               {1032, 60, true},
               {1100, 60, true},   // a late frame waits from its own start
               {1115, 60, false},
               {1116, 60, true},
               {1120, 0, true},    // fps 0 never waits...
               {1121, 60, true},   // ...and leaves nothing to wait for
               {1122, 30, false},  // a new rate spaces the frame after the change
               {1137, 30, false},
               {1153, 30, false},
               {1154, 30, true},   // 1000 / 30 = 33 after the frame at 1121
               {1186, 30, false},
               {1187, 30, true},
           },
           Limit);
}

TEST_F(Timers, LimitRateWorksAcrossTheClockWrap) {
  RunSteps(m_clock,
           {
               {kNearWrap + 10, 60, true},  // 6 ms before the wrap
               {0xFFFFFFFF, 60, false},
               {0x00000003, 60, false},     // only 9 ms later: still waiting
               {0x00000009, 60, false},
               {0x0000000A, 60, true},      // 16 ms after the frame before the wrap
               {0x00000019, 60, false},
               {0x0000001A, 60, true},
           },
           Limit);
}

TEST_F(Timers, LimitRateSpacesFramesSixteenMillisecondsApartAtSixty) {
  m_clock.Set(kNearWrap - 5000);  // the run crosses the wrap
  std::vector<uint32_t> starts = FrameStarts(m_clock, Limit, 60, 10000);
  ASSERT_EQ(starts.size(), 625u);  // 62.5 frames per second
  for (size_t i = 0; i < starts.size(); ++i) EXPECT_EQ(starts[i], i * 16) << i;
}

TEST_F(Timers, PaceFrameDeliversExactlyFpsFramesPerSecond) {
  for (uint32_t base : {0u, kNearWrap - 5000}) {
    ResetTimers();
    m_clock.Set(base);
    std::vector<uint32_t> starts = FrameStarts(m_clock, Pace, 60, 10000);
    ASSERT_EQ(starts.size(), 600u) << "base " << base;
    // Frame n of a second is due n * 16.67 ms after the second began: the
    // fractions do not add up.
    const uint32_t firstSecond[] = {0, 17, 34, 50, 67, 84, 100, 117};
    for (size_t i = 0; i < std::size(firstSecond); ++i) EXPECT_EQ(starts[i], firstSecond[i]) << i;
    EXPECT_EQ(starts[59], 984u);
    EXPECT_EQ(starts[60], 1000u) << "the 60th frame starts the next second";
    EXPECT_EQ(starts[599], 9984u);
  }
}

TEST_F(Timers, PaceFrameStepsAgainstTheStartOfTheSecond) {
  RunSteps(m_clock,
           {
               {kNearWrap, 3, true},         // frame 0; the second starts here
               {kNearWrap + 300, 3, false},  // frame 1 is due at 333.3
               {0x0000013C, 3, false},       // 332 ms after the start (across the wrap)
               {0x0000013E, 3, true},        // 334: frame 1
               {0x000002A0, 3, true},        // 688: frame 2 (due at 666.7)
               {0x000002A1, 3, false},       // the next second starts 1000 ms after this one
               {0x000003D7, 3, false},       // 999
               {0x000003D8, 3, true},        // 1000: frame 0 of the next second
               {0x00000900, 3, true},        // late by far: frames 1 and 2 go at once...
               {0x00000901, 3, true},        // ...and the next second starts with the late frame 2
               {0x00000902, 3, true},        // its frame 0
               {0x00000903, 3, false},
               {0x00000000, 0, true},        // fps 0 never waits
               {0x00000001, 3, true},        // pacing again starts a new second
               {0x00000002, 3, false},
               {0x0000014E, 3, false},       // 333 ms after it
               {0x0000014F, 3, true},
           },
           Pace);
}

namespace {

// Runs a frame loop for `ms` of clock time whose rate changes from `before`
// to `after` at `changeAt`; returns the clock readings at which frames started.
std::vector<uint32_t> FramesAcrossAChange(plat::FakeClock& clock, bool (*fn)(unsigned),
                                          unsigned before, unsigned after, uint32_t changeAt,
                                          uint32_t ms) {
  std::vector<uint32_t> starts;
  const uint32_t begin = clock.Now();
  while (clock.Now() - begin < ms && starts.size() < 100000) {
    const uint32_t t = clock.Now() - begin;
    if (fn(t < changeAt ? before : after))
      starts.push_back(t);
    else
      plat::Sleep(1);
  }
  return starts;
}

struct RateChange {
  unsigned before, after;
  uint32_t changeAt;
  uint32_t lastBefore;      // the last frame at the old rate
  uint32_t firstAfter[2];   // the first two frames at the new rate
  size_t framesInTheSecondAfter;  // frames in [changeAt, changeAt + 1000)
};

void ExpectRateChange(plat::FakeClock& clock, bool (*fn)(unsigned), const RateChange& c) {
  std::vector<uint32_t> starts = FramesAcrossAChange(clock, fn, c.before, c.after, c.changeAt, 3000);
  auto next = std::lower_bound(starts.begin(), starts.end(), c.changeAt);
  ASSERT_NE(next, starts.begin());
  ASSERT_LT(next + 1, starts.end());
  EXPECT_EQ(*(next - 1), c.lastBefore);
  EXPECT_EQ(next[0], c.firstAfter[0]);
  EXPECT_EQ(next[1], c.firstAfter[1]);
  EXPECT_EQ(std::lower_bound(starts.begin(), starts.end(), c.changeAt + 1000) - next,
            static_cast<std::ptrdiff_t>(c.framesInTheSecondAfter));
  // Never two frames in the same millisecond.
  EXPECT_EQ(std::adjacent_find(starts.begin(), starts.end()), starts.end());
}

}  // namespace

TEST_F(Timers, PaceFrameStartsANewSecondWhenTheRateChanges) {
  // A stage sets its own rate when it starts and 60 again when it ends.
  const RateChange cases[] = {
      {60, 30, 750, 734, {750, 784}, 30},  // not held until frame 45 at 30 would be due (1500)
      {30, 60, 700, 667, {700, 717}, 60},  // not 22 frames at once to catch up with 60
      {60, 60, 750, 734, {750, 767}, 60},  // no change: the second goes on
  };
  for (const RateChange& c : cases) {
    SCOPED_TRACE(testing::Message() << c.before << " to " << c.after << " at " << c.changeAt);
    ResetTimers();
    ExpectRateChange(m_clock, Pace, c);
  }
}

TEST_F(Timers, LimitRateSpacesTheFrameAfterARateChangeByTheNewRate) {
  const RateChange cases[] = {
      {60, 30, 750, 736, {769, 802}, 30},  // 33 ms after the last frame, not 16
      {30, 60, 700, 693, {709, 725}, 62},  // 16 ms after the last frame, not 33
  };
  for (const RateChange& c : cases) {
    SCOPED_TRACE(testing::Message() << c.before << " to " << c.after << " at " << c.changeAt);
    ResetTimers();
    ExpectRateChange(m_clock, Limit, c);
  }
}

TEST_F(Timers, PaceFrameDoesNotPaceUnderThe2DBackEnd) {
  bDirect3DBackEnd = 0;
  m_clock.Set(5000);
  for (int i = 0; i < 100; ++i) EXPECT_TRUE(Pace(60)) << i;  // all in the same millisecond
  // Once the 3D back end runs, pacing starts with its first frame.
  bDirect3DBackEnd = 1;
  EXPECT_TRUE(Pace(60));
  EXPECT_FALSE(Pace(60));
  m_clock.Set(5017);
  EXPECT_TRUE(Pace(60));
}

TEST_F(Timers, EveryNthCountsResetsAndTells) {
  struct Call {
    int mode;
    unsigned n;
    bool expected;
  };
  const Call calls[] = {
      {0, 3, false},  // reset
      {2, 3, true},   // at 0 after a reset...
      {2, 3, true},   // ...and telling does not count
      {1, 3, false}, {1, 3, false}, {1, 3, true},  // every third call
      {2, 3, true},   // back at 0
      {1, 3, false},
      {2, 3, false},  // counted since
      {1, 1, true},   // n 1: on every call...
      {1, 1, true},
      {5, 1, true},   // ...any mode but 0 and 2 counts
      {1, 0, true},   // n 0 behaves as 1
      {1, 2, false},
      {0, 2, false},
      {1, 2, false},
      {1, 2, true},
  };
  for (size_t i = 0; i < std::size(calls); ++i)
    EXPECT_EQ(EveryNth(calls[i].mode, calls[i].n), calls[i].expected) << "call " << i;
}

TEST(FakeClock, SleepAdvancesItAndTheRealClockComesBackAfterwards) {
  {
    plat::FakeClock clock(kNearWrap);
    EXPECT_EQ(plat::TimeGetTime(), kNearWrap);
    plat::Sleep(20);
    EXPECT_EQ(plat::TimeGetTime(), 4u) << "wrapped";
    clock.Advance(6);
    EXPECT_EQ(plat::TimeGetTime(), 10u);
  }
  uint32_t a = plat::TimeGetTime();
  plat::Sleep(5);
  uint32_t b = plat::TimeGetTime();
  EXPECT_GE(b - a, 5u);
  EXPECT_LT(b - a, 5000u);
}
