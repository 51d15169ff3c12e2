// The menus' auto-repeat of the directions and the one-press-per-hold latch
// of the buttons, on scripted sequences of polled words.
#include <gtest/gtest.h>

#include <vector>

#include "media/input.h"

namespace {

// Feeds one direction word per frame and returns the frames on which `bit`
// passed ApplyRepeat.
std::vector<int> RepeatFrames(cInput& input, const std::vector<uint16_t>& dirs, uint16_t bit) {
  std::vector<int> acted;
  for (size_t f = 0; f < dirs.size(); ++f) {
    input.m_wDir = dirs[f];
    input.ApplyRepeat();
    if (input.m_wDir & bit) acted.push_back(static_cast<int>(f));
  }
  return acted;
}

std::vector<uint16_t> Held(uint16_t dir, int frames) { return std::vector<uint16_t>(frames, dir); }

std::vector<uint16_t> operator+(std::vector<uint16_t> a, const std::vector<uint16_t>& b) {
  a.insert(a.end(), b.begin(), b.end());
  return a;
}

}  // namespace

TEST(MenuRepeat, AHeldDirectionActsAtOnceThenAfterTheDelayAtEveryInterval) {
  struct Case {
    const char* what;
    uint32_t delay, interval;
    std::vector<uint16_t> dirs;
    uint16_t bit;
    std::vector<int> acted;
  };
  const Case cases[] = {
      {"held", 18, 6, Held(INPUT_LEFT, 40), INPUT_LEFT, {0, 18, 24, 30, 36}},
      {"a release resets the count", 18, 6, Held(INPUT_LEFT, 20) + Held(0, 1) + Held(INPUT_LEFT, 20),
       INPUT_LEFT, {0, 18, 21, 39}},
      {"a change of direction acts at once", 18, 6, Held(INPUT_LEFT, 10) + Held(INPUT_RIGHT, 19),
       INPUT_RIGHT, {10, 28}},
      {"left and right together are one state", 18, 6,
       Held(INPUT_LEFT, 5) + Held(INPUT_LEFT | INPUT_RIGHT, 20), INPUT_RIGHT, {5, 23}},
      {"interval 0 never repeats", 18, 0, Held(INPUT_DOWN, 40), INPUT_DOWN, {0}},
      {"no delay, interval 1: every frame", 0, 1, Held(INPUT_UP, 4), INPUT_UP, {0, 1, 2, 3}},
  };
  for (const Case& c : cases) {
    cInput input;
    input.SetRepeat(c.delay, c.interval);
    EXPECT_EQ(RepeatFrames(input, c.dirs, c.bit), c.acted) << c.what;
  }
}

TEST(MenuRepeat, TheTwoAxesCountApart) {
  cInput input;
  input.SetRepeat(18, 6);
  std::vector<uint16_t> dirs = Held(INPUT_LEFT, 5) + Held(INPUT_LEFT | INPUT_UP, 30);
  cInput copy = input;
  EXPECT_EQ(RepeatFrames(input, dirs, INPUT_LEFT), (std::vector<int>{0, 18, 24, 30}));
  EXPECT_EQ(RepeatFrames(copy, dirs, INPUT_UP), (std::vector<int>{5, 23, 29}));
}

TEST(MenuLatch, OnePressPerHoldOfTheMaskedButtons) {
  struct Case {
    const char* what;
    uint16_t mask;
    std::vector<uint16_t> raw, passed;
  };
  const Case cases[] = {
      {"held button 1", 0, {1, 1, 1, 0, 1}, {1, 0, 0, 0, 1}},
      {"buttons pressed together all count", 0, {3, 3, 0}, {3, 0, 0}},
      {"a second press during a hold waits for the release", 0, {1, 3, 2, 0, 2}, {1, 0, 0, 0, 2}},
      {"unmasked buttons always pass", 1, {3, 3, 2, 0}, {3, 2, 2, 0}},
      {"only unmasked buttons: no latch", 1, {2, 2, 2}, {2, 2, 2}},
      {"button 8 with mask 0", 0, {0x80, 0x80}, {0x80, 0}},
  };
  for (const Case& c : cases) {
    cInput input;
    std::vector<uint16_t> passed;
    for (uint16_t raw : c.raw) {
      input.m_wButton = raw;
      input.LatchButtons(c.mask);
      passed.push_back(input.m_wButton);
    }
    EXPECT_EQ(passed, c.passed) << c.what;
  }
}
