// The replay record: its one registered field, clearing, assignment, the
// recording and playback of its streams and its bytes.
#include <gtest/gtest.h>

#include <utility>
#include <vector>

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

namespace {

// The words a playback gives until it reports the end (at most `limit`).
std::vector<std::pair<uint16_t, uint16_t>> PlayAll(cReplayInput& r, int limit = 1000) {
  std::vector<std::pair<uint16_t, uint16_t>> words;
  uint16_t dir = 0xEEEE, buttons = 0xEEEE;
  while (static_cast<int>(words.size()) < limit && r.PlayFrame(dir, buttons) == 0) words.emplace_back(dir, buttons);
  return words;
}

}  // namespace

TEST(ReplayInput, RecordingKeepsEachWordAsRunsOfEqualValues) {
  cReplayInput r;
  for (int i = 0; i < 300; ++i) r.RecordFrame(0, 0);
  r.RecordFrame(0, 1);
  EXPECT_EQ(r.m_vDirValues, (cVector<uint16_t>{0}));
  EXPECT_EQ(r.m_vDirRuns, (cVector<uint32_t>{301}));
  EXPECT_EQ(r.m_vButtonValues, (cVector<uint16_t>{0, 1}));
  EXPECT_EQ(r.m_vButtonRuns, (cVector<uint32_t>{300, 1}));

  const auto words = PlayAll(r);
  ASSERT_EQ(words.size(), 301u);
  EXPECT_EQ(words[299], (std::pair<uint16_t, uint16_t>{0, 0}));
  EXPECT_EQ(words[300], (std::pair<uint16_t, uint16_t>{0, 1}));
  uint16_t dir = 7, buttons = 7;
  EXPECT_EQ(r.PlayFrame(dir, buttons), 1) << "the end is reported again";
  EXPECT_EQ(dir, 7) << "and the words are left alone";
  EXPECT_EQ(buttons, 7);
}

TEST(ReplayInput, EachStreamPlaysOnItsOwnAndTheShorterEndsPlayback) {
  cReplayInput r;
  r.m_vDirValues = {1, 2, 4};
  r.m_vDirRuns = {2, 1, 3};
  r.m_vButtonValues = {8, 16};
  r.m_vButtonRuns = {1, 3};  // four frames: the direction stream has six
  const auto words = PlayAll(r);
  const std::vector<std::pair<uint16_t, uint16_t>> expected = {{1, 8}, {1, 16}, {2, 16}, {4, 16}};
  EXPECT_EQ(words, expected);
  EXPECT_EQ(r.m_nButtonIndex, 2);
  EXPECT_EQ(r.m_nDirIndex, 2);
  EXPECT_EQ(r.m_nDirPos, 1);

  // Assign takes the streams but leaves the cursors where they stand.
  cReplayInput copy;
  copy.Assign(r);
  EXPECT_EQ(copy.m_nDirIndex + copy.m_nButtonIndex + copy.m_nDirPos, 0);
  EXPECT_EQ(PlayAll(copy), expected);

  // A stream with fewer runs than values (never written, but read from a
  // damaged record) ends where its runs do.
  cReplayInput odd;
  odd.m_vDirValues = {1, 2};
  odd.m_vDirRuns = {1};
  odd.m_vButtonValues = {0};
  odd.m_vButtonRuns = {5};
  EXPECT_EQ(PlayAll(odd).size(), 1u);
  cReplayInput empty;
  EXPECT_TRUE(PlayAll(empty).empty());
}

TEST(ReplayInput, TheRecordIsTheSeedThenFourCountedStreams) {
  cReplayInput r;
  r.m_nSeed = 0x12345678;
  const uint16_t frames[][2] = {{0, 0}, {0, 0}, {4, 0}, {4, 1}, {4, 1}};
  for (const auto& f : frames) r.RecordFrame(f[0], f[1]);
  const std::string expected(
      "\x01\x00\x00\x00"
      "\x78\x56\x34\x12"
      "\x00\x00\x00\x00"
      "\x02\x00\x00\x00\x00\x00\x04\x00"
      "\x02\x00\x00\x00\x00\x00\x01\x00"
      "\x02\x00\x00\x00\x02\x00\x00\x00\x03\x00\x00\x00"
      "\x02\x00\x00\x00\x03\x00\x00\x00\x02\x00\x00\x00",
      52);
  cDataWriter w;
  r.Save(w);
  EXPECT_EQ(w.Bytes().substr(4), expected);

  cReplayInput back;
  back.m_nDirIndex = 3;
  cDataReader reader(w.Bytes());
  back.Load(reader);
  EXPECT_FALSE(reader.Ended());
  EXPECT_EQ(reader.Remaining(), 0u);
  EXPECT_EQ(back.m_nSeed, 0x12345678);
  EXPECT_EQ(back.m_vDirValues, r.m_vDirValues);
  EXPECT_EQ(back.m_vButtonValues, r.m_vButtonValues);
  EXPECT_EQ(back.m_vDirRuns, r.m_vDirRuns);
  EXPECT_EQ(back.m_vButtonRuns, r.m_vButtonRuns);
  EXPECT_EQ(back.m_nDirIndex, 3) << "the cursors are not in the record";
}
