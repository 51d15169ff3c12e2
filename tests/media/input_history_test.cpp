// The stage's input rings and the run histories on scripted sequences.
#include <gtest/gtest.h>

#include <climits>
#include <vector>

#include "media/input.h"

namespace {

struct Run {
  int32_t on, frames;
};

// The newest runs of a history, then checks that the rest are {0, 0}.
void ExpectRuns(const INPUTRUNS& runs, const std::vector<Run>& newest, const char* what) {
  ASSERT_EQ(runs.size(), 32u) << what;
  for (size_t i = 0; i < 32; ++i) {
    Run want = i < newest.size() ? newest[i] : Run{0, 0};
    EXPECT_EQ(runs[i].bOn, want.on) << what << " run " << i;
    EXPECT_EQ(runs[i].nFrames, want.frames) << what << " run " << i;
  }
}

}  // namespace

TEST(InputRing, GivesTheWordOfAnyRecentFrame) {
  cInput input;
  const uint16_t dirs[] = {INPUT_LEFT, INPUT_LEFT, INPUT_LEFT, INPUT_RIGHT, INPUT_RIGHT, 0};
  const uint16_t buttons[] = {0, 1, 1, 1, 0, 2};
  for (int f = 0; f < 6; ++f) {
    input.m_wDir = dirs[f];
    input.m_wButton = buttons[f];
    input.RecordHistory();
  }
  struct Case {
    int ago;
    uint16_t dir, button;
  };
  const Case cases[] = {
      {0, 0, 2},           {1, INPUT_RIGHT, 0}, {2, INPUT_RIGHT, 1},
      {3, INPUT_LEFT, 1},  {5, INPUT_LEFT, 0},  {-3, 0, 2},
  };
  for (const Case& c : cases) {
    EXPECT_EQ(input.GetHistory(0, c.ago), c.dir) << c.ago;
    EXPECT_EQ(input.GetHistory(1, c.ago), c.button) << c.ago;
  }
  // The current run's length reaches back to the value before it.
  EXPECT_EQ(input.m_aDirRing[input.m_nDirRingPos].nFrames, 1);
  EXPECT_EQ(input.GetHistory(0, 1), INPUT_RIGHT);
  input.GetHistory(0, INT_MAX);  // no overflow on the farthest ask

  input.ClearHistory();
  EXPECT_EQ(input.m_nDirRingPos, 0);
  EXPECT_EQ(input.m_nButtonRingPos, 0);
  EXPECT_EQ(input.GetHistory(0, 0), 0);
}

TEST(InputRing, WrapsAfter32ChangesAndCountsUpToIntMax) {
  cInput input;
  for (int f = 0; f < 40; ++f) {
    input.m_wDir = static_cast<uint16_t>(f % 2 ? INPUT_UP : INPUT_DOWN);
    input.RecordHistory();
  }
  EXPECT_EQ(input.m_nDirRingPos, 40 % 32);
  EXPECT_EQ(input.GetHistory(0, 0), INPUT_UP);
  EXPECT_EQ(input.GetHistory(0, 30), INPUT_UP);
  EXPECT_EQ(input.GetHistory(0, 31), INPUT_DOWN);

  input.m_aDirRing[input.m_nDirRingPos].nFrames = INT_MAX - 1;
  input.RecordHistory();
  input.RecordHistory();
  EXPECT_EQ(input.m_aDirRing[input.m_nDirRingPos].nFrames, INT_MAX);
}

TEST(InputRuns, HistoriesFollowEachKeysStateFrameByFrame) {
  cInput input;
  EXPECT_EQ(input.m_vDirRuns.size(), 10u);
  EXPECT_EQ(input.m_vButtonRuns.size(), 9u);
  EXPECT_TRUE(input.m_vDirRuns[0].empty());
  input.ResetRunHistories();
  const uint16_t dirs[] = {INPUT_LEFT | INPUT_UP, INPUT_LEFT | INPUT_UP, INPUT_LEFT, 0};
  const uint16_t buttons[] = {0, 3, 2, 0};
  for (int f = 0; f < 4; ++f) {
    input.m_wDir = dirs[f];
    input.m_wButton = buttons[f];
    input.UpdateRunHistories();
  }
  ExpectRuns(input.m_vDirRuns[0], {{1, 1}, {0, 3}}, "no direction");
  ExpectRuns(input.m_vDirRuns[1], {{0, 1}, {1, 1}, {0, 2}}, "left only");
  ExpectRuns(input.m_vDirRuns[5], {{0, 2}, {1, 2}}, "left and up");
  ExpectRuns(input.m_vDirRuns[6], {{0, 4}}, "left and down");
  ExpectRuns(input.m_vDirRuns[9], {{0, 1}, {1, 3}}, "any direction");
  ExpectRuns(input.m_vButtonRuns[0], {{1, 1}, {0, 2}, {1, 1}}, "no button");
  ExpectRuns(input.m_vButtonRuns[1], {{0, 2}, {1, 1}, {0, 1}}, "button 1");
  ExpectRuns(input.m_vButtonRuns[2], {{0, 1}, {1, 2}, {0, 1}}, "button 2");
  ExpectRuns(input.m_vButtonRuns[8], {{0, 4}}, "button 8");
}

TEST(InputRuns, KeepThe32NewestRuns) {
  INPUTRUNS runs;  // never reset: gets its runs first
  for (int f = 0; f < 40; ++f) cInput::PushRun(runs, static_cast<uint16_t>(f % 2), 1, 1);
  ASSERT_EQ(runs.size(), 32u);
  EXPECT_EQ(runs.front().bOn, 1);
  EXPECT_EQ(runs.front().nFrames, 1);
  EXPECT_EQ(runs.back().nFrames, 1);  // the {0, 0} runs have gone

  INPUTRUNS held;
  cInput::PushRun(held, 4, 4, 0);
  held.front().nFrames = INT_MAX;
  cInput::PushRun(held, 4, 4, 0);
  EXPECT_EQ(held.front().nFrames, INT_MAX);
}
