// The animation player: ticks per step, the four control codes, locks and
// force, and that it never leaves its patterns.
#include <gtest/gtest.h>

#include <vector>

#include "game/anime_player.h"
#include "platform/close_request.h"

namespace {

using Steps = std::vector<int32_t>;  // frame, ticks, lock per step

// A player with the patterns given as step lists (as a pattern table).
cAnimePlayer PlayerOf(const std::vector<Steps>& patterns) {
  std::vector<const int32_t*> table;
  for (const Steps& steps : patterns) table.push_back(steps.data());
  table.push_back(nullptr);
  cAnimePlayer player;
  player.SetPatterns(table.data());
  return player;
}

std::vector<int32_t> Advance(cAnimePlayer& player, int calls) {
  std::vector<int32_t> frames;
  for (int i = 0; i < calls; ++i) frames.push_back(player.Advance());
  return frames;
}

std::vector<int32_t> Repeat(int32_t frame, int n) { return std::vector<int32_t>(n, frame); }

std::vector<int32_t> Join(std::initializer_list<std::vector<int32_t>> parts) {
  std::vector<int32_t> all;
  for (const auto& p : parts) all.insert(all.end(), p.begin(), p.end());
  return all;
}

}  // namespace

TEST(AnimePlayer, ATableKeepsEachPatternUpToItsFirstCodeWithTheLowByteOfTheLock) {
  const Steps first{7, 3, 0x101, -2, 0, 0, 99, 99, 99};  // the step after the code is not read
  const Steps second{-4, 0, 0};
  cAnimePlayer player = PlayerOf({first, second});
  ASSERT_EQ(player.m_vPatterns.Size(), 2);
  ASSERT_EQ(player.m_vPatterns[0].Size(), 2);
  EXPECT_EQ(player.m_vPatterns[0][0].nFrame, 7);
  EXPECT_EQ(player.m_vPatterns[0][0].nTime, 3);
  EXPECT_EQ(player.m_vPatterns[0][0].bLock, 1);
  EXPECT_EQ(player.m_vPatterns[0][1].nFrame, ANIMECODE_LOOP);
  ASSERT_EQ(player.m_vPatterns[1].Size(), 1);
  EXPECT_EQ(player.m_vPatterns[1][0].nFrame, ANIMECODE_END);

  player.m_nPattern = 1;
  player.SetPatterns(static_cast<const int32_t* const*>(nullptr));  // a null table changes nothing
  EXPECT_EQ(player.m_nPattern, 1);
}

TEST(AnimePlayer, TheFourCodes) {
  // Loop: the tick is raised before it is compared, so the first step shows
  // 14 calls and every later one 15.
  cAnimePlayer loop = PlayerOf({{0, 15, 1, 1, 15, 1, -2, 0, 0}});
  EXPECT_EQ(Advance(loop, 59), Join({Repeat(0, 14), Repeat(1, 15), Repeat(0, 15), Repeat(1, 15)}));

  cAnimePlayer hold = PlayerOf({{3, 4, 0, -1, 0, 0}});
  EXPECT_EQ(Advance(hold, 12), Repeat(3, 12));

  std::vector<Steps> patterns(8, Steps{9, 1, 0, -1, 0, 0});
  patterns[0] = {5, 2, 0, -3, 7, 0};
  patterns[7] = {40, 3, 0, 41, 3, 0, -4, 0, 0};
  cAnimePlayer jump = PlayerOf(patterns);
  EXPECT_EQ(Advance(jump, 2), (std::vector<int32_t>{5, 40}));
  EXPECT_EQ(jump.m_nPattern, 7);
  // End: returned once reached, and the player stays there.
  EXPECT_EQ(Advance(jump, 8), (std::vector<int32_t>{40, 40, 41, 41, 41, -4, -4, -4}));
  EXPECT_EQ(jump.m_nStep, 2);
  EXPECT_EQ(jump.GetFrame(), ANIMECODE_END);
}

TEST(AnimePlayer, ALockedStepRefusesAnUnforcedChangeAndChangePatternDoesNotRestart) {
  cAnimePlayer player = PlayerOf({{1, 5, 1, -2, 0, 0}, {2, 5, 0, 3, 5, 0, -2, 0, 0}});
  EXPECT_EQ(player.SetPattern(1, 0), 0);
  EXPECT_EQ(player.m_nPattern, 0);
  EXPECT_EQ(player.SetPattern(1, 1), 1);
  EXPECT_EQ(player.m_nPattern, 1);

  Advance(player, 6);  // into the second step of pattern 1
  ASSERT_EQ(player.m_nStep, 1);
  ASSERT_EQ(player.m_nTick, 1);
  EXPECT_EQ(player.ChangePattern(1, 0), 1);
  EXPECT_EQ(player.m_nStep, 1);
  EXPECT_EQ(player.m_nTick, 1);
  EXPECT_EQ(player.SetPattern(1, 0), 1);  // an unlocked step: restarts
  EXPECT_EQ(player.m_nStep, 0);
  EXPECT_EQ(player.m_nTick, 0);
}

TEST(AnimePlayer, StaysInsideItsPatterns) {
  plat::ResetCloseRequests();

  cAnimePlayer none;
  EXPECT_EQ(none.Advance(), 0);
  EXPECT_EQ(none.GetFrame(), 0);
  EXPECT_EQ(none.SetPattern(0, 1), 0);
  EXPECT_EQ(none.ChangePattern(0, 1), 0);

  cAnimePlayer player = PlayerOf({{6, 1, 0, -3, 9, 0}, {-1, 0, 0}});
  for (int n : {-1, 2, 1000}) {
    EXPECT_EQ(player.SetPattern(n, 1), 0) << n;
    EXPECT_EQ(player.m_nPattern, 0) << n;
  }
  // A jump to a pattern the player does not hold holds the step before it.
  EXPECT_EQ(Advance(player, 3), Repeat(6, 3));
  EXPECT_EQ(player.m_nPattern, 0);

  // A pattern that starts with a hold stays on it.
  ASSERT_EQ(player.SetPattern(1, 1), 1);
  EXPECT_EQ(Advance(player, 3), Repeat(ANIMECODE_HOLD, 3));
  EXPECT_EQ(player.m_nStep, 0);

  EXPECT_EQ(plat::CloseRequestCount(), 0u);
}
