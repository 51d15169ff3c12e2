// The step patterns that start-up derives from the animation and effect tables.
#include <gtest/gtest.h>

#include "records/database.h"

namespace {

struct F {
  int32_t cell, time, lock;
};
struct S {
  int32_t frame, time, lock;
  bool operator==(const S&) const = default;
};

std::vector<S> Steps(const ANIMEPATTERN& p) {
  std::vector<S> out;
  for (const ANIMESTEP& s : p) out.push_back({s.nFrame, s.nTime, s.bLock});
  return out;
}

class Patterns : public ::testing::Test {
 protected:
  void TearDown() override { Database.Reset(); }
};

struct Case {
  const char* what;
  std::vector<F> frames;     // of the entry at `index`
  int index;
  std::vector<S> anime;      // the pattern of an animation with these frames
  std::vector<S> effect;     // the pattern of an effect with these frames
};

const Case kCases[] = {
    {"entry 0 loops locked zero-time steps", {{3, 5, 0}, {4, 9, 1}}, 0,
     {{3, 0, 1}, {4, 0, 1}, {-2, 0, 1}},
     {{3, 0, 1}, {4, 0, 1}, {-2, 0, 1}}},
    {"a locked frame locks the rest", {{10, 1, 0}, {11, 2, 1}, {12, 3, 0}}, 1,
     {{10, 6, 0}, {11, 12, 1}, {12, 18, 1}, {-4, 0, 0}},
     {{10, 6, 0}, {11, 12, 0}, {12, 18, 0}, {-4, 0, 0}}},
    {"no frames: the end step alone", {}, 1, {{-4, 0, 0}}, {{-4, 0, 0}}},
    {"entry 0 without frames still loops", {}, 0, {{-2, 0, 1}}, {{-2, 0, 1}}},
    {"negative cells pass as codes", {{-1, 2, 0}}, 1, {{-1, 12, 0}, {-4, 0, 0}},
     {{-1, 12, 0}, {-4, 0, 0}}},
    {"times saturate instead of wrapping", {{0, INT32_MAX, 0}, {1, INT32_MIN / 2, 0}}, 1,
     {{0, INT32_MAX, 0}, {1, INT32_MIN, 0}, {-4, 0, 0}},
     {{0, INT32_MAX, 0}, {1, INT32_MIN, 0}, {-4, 0, 0}}},
};

}  // namespace

TEST_F(Patterns, AnimationsAndEffects) {
  for (const Case& c : kCases) {
    SCOPED_TRACE(c.what);
    Database.m_vAnime.resize(3);
    Database.m_vEffect.resize(3);
    Database.m_vAnime[c.index].m_vFrame.clear();
    Database.m_vEffect[c.index].m_vFrame.clear();
    for (F f : c.frames) {
      cEdAnimeFrame a;
      a.m_nCell = f.cell;
      a.m_nTime = f.time;
      a.m_bLock = f.lock;
      Database.m_vAnime[c.index].m_vFrame.push_back(a);
      cEdEffectFrame e;
      e.m_nCell = f.cell;
      e.m_nTime = f.time;
      Database.m_vEffect[c.index].m_vFrame.push_back(e);
    }
    cVector<ANIMEPATTERN> anime(7), effect;
    BuildAnimePatterns(anime);
    BuildEffectPatterns(effect);
    ASSERT_EQ(anime.size(), 3u);
    ASSERT_EQ(effect.size(), 3u);
    EXPECT_EQ(Steps(anime[c.index]), c.anime);
    EXPECT_EQ(Steps(effect[c.index]), c.effect);
  }
}

TEST_F(Patterns, EmptyTablesGiveEmptyRunTables) {
  Database.m_vAnime.clear();
  Database.m_vEffect.clear();
  cVector<ANIMEPATTERN> anime(2), effect(2);
  BuildAnimePatterns(anime);
  BuildEffectPatterns(effect);
  EXPECT_TRUE(anime.empty());
  EXPECT_TRUE(effect.empty());
}
