// The replay record's data: its one registered field, clearing and
// assignment.
#include <gtest/gtest.h>

#include "records/replay_input.h"

namespace {

cReplayInput Recorded() {
  cReplayInput r;
  r.m_nSeed = 99;
  r.m_vDirValues = {0, 2};
  r.m_vButtonValues = {1};
  r.m_vDirRuns = {300, 4};
  r.m_vButtonRuns = {304};
  r.m_nDirIndex = 1;
  r.m_nButtonIndex = 1;
  r.m_nDirPos = 3;
  r.m_nButtonPos = 7;
  return r;
}

}  // namespace

TEST(ReplayInput, OnlyTheSeedIsARegisteredField) {
  cReplayInput r = Recorded();
  r.RegisterFields(734);
  ASSERT_EQ(r.Fields().Size(), 1);
  EXPECT_EQ(r.Fields()[0].lpData, &r.m_nSeed);
  EXPECT_EQ(r.Fields()[0].nCount, 1);
  EXPECT_EQ(r.Fields()[0].cbSize, 4);
  EXPECT_EQ(r.Strings().Size(), 0);
}

TEST(ReplayInput, ANewOrClearedReplayHoldsNothing) {
  for (bool cleared : {false, true}) {
    cReplayInput r = cleared ? Recorded() : cReplayInput();
    if (cleared) r.Clear();
    EXPECT_EQ(r.m_nSeed, 0);
    EXPECT_TRUE(r.m_vDirValues.empty() && r.m_vButtonValues.empty());
    EXPECT_TRUE(r.m_vDirRuns.empty() && r.m_vButtonRuns.empty());
    EXPECT_EQ(r.m_nDirIndex + r.m_nButtonIndex + r.m_nDirPos + r.m_nButtonPos, 0);
  }
}

TEST(ReplayInput, AssignTakesTheStreamsAndSeedButKeepsTheCursors) {
  const cReplayInput source = Recorded();
  cReplayInput r;
  r.m_nDirIndex = 5;
  r.m_nButtonPos = 6;
  r.Assign(source);
  EXPECT_EQ(r.m_nSeed, 99);
  EXPECT_EQ(r.m_vDirValues, source.m_vDirValues);
  EXPECT_EQ(r.m_vButtonValues, source.m_vButtonValues);
  EXPECT_EQ(r.m_vDirRuns, source.m_vDirRuns);
  EXPECT_EQ(r.m_vButtonRuns, source.m_vButtonRuns);
  EXPECT_EQ(r.m_nDirIndex, 5);
  EXPECT_EQ(r.m_nButtonIndex, 0);
  EXPECT_EQ(r.m_nDirPos, 0);
  EXPECT_EQ(r.m_nButtonPos, 6);
}
