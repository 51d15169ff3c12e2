// The normal and reversed effect states that start-up precomputes per entry.
#include <gtest/gtest.h>

#include <array>
#include <cmath>

#include "records/effect_state.h"
#include "platform/close_request.h"
#include "records/database.h"

namespace {

using Params = std::array<int32_t, 5>;

Params ParamsOf(const cEdEffectKindRecord& r) {
  return {r.m_anParam[0], r.m_anParam[1], r.m_anParam[2], r.m_anParam[3], r.m_anParam[4]};
}

template <class T>
T Entry(int32_t kind, Params p) {
  T e;
  e.m_nKind = kind;
  for (int i = 0; i < 5; ++i) e.m_anParam[i] = p[i];
  return e;
}

class EffectStates : public ::testing::Test {
 protected:
  void SetUp() override { plat::ResetCloseRequests(); }
  void TearDown() override {
    Database.Reset();
    Database.m_vCharaEffectWork.clear();
    Database.m_vScrEffectWork.clear();
    EXPECT_EQ(plat::CloseRequestCount(), 0u);
  }
  // Entry 0 is the "none" entry every loaded table has; entry 1 is the one tested.
  void SetChara(int32_t kind, Params p) {
    Database.m_vCharaEffect.clear();
    Database.m_vCharaEffect.push_back(Entry<cEdCharaEffect>(0, {5, 0, 32, 0, 0}));
    Database.m_vCharaEffect.push_back(Entry<cEdCharaEffect>(kind, p));
    BuildDatabaseRunTables();
  }
  void SetScreen(int32_t kind, Params p) {
    Database.m_vScrEffect.clear();
    Database.m_vScrEffect.push_back(Entry<cEdScrEffect>(0, {10, 0, 0, 0, 0}));
    Database.m_vScrEffect.push_back(Entry<cEdScrEffect>(kind, p));
    BuildDatabaseRunTables();
  }
};

}  // namespace

TEST_F(EffectStates, CharaRunsMoveFromStartToEndAndBack) {
  struct Case {
    int32_t kind;
    Params p;
    bool swaps;  // the reversed state exchanges parameters 1 and 2
  } cases[] = {
      {1, {5, 0, 32, 0, 0}, true},    {2, {5, 0, 32, 4, 0}, true},   {4, {5, 0, 32, 2, 2}, true},
      {7, {10, 0, 1440, 0, 0}, true}, {10, {5, 32, 0, 2, 0}, true},  {12, {10, 100, 5, 3, -3}, true},
      {13, {10, 1, 4, 16, 0}, true},  {15, {10, 1, 8, 0, 0}, true},  {16, {10, 1, 4, 0, 0}, true},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    SetChara(c.kind, c.p);
    const cCharaEffectState& a = CharaFxInstA.At(1);
    const cCharaEffectState& b = CharaFxInstB.At(1);
    EXPECT_EQ(a.m_sEffect, 1);
    EXPECT_EQ(a.m_lpDef, &Database.m_vCharaEffect[1]);
    EXPECT_EQ(b.m_lpDef, &Database.m_vCharaEffectWork[1]);
    EXPECT_EQ(a.Kind(), c.kind);
    double step = std::abs(c.p[2] - c.p[1]) / (c.p[0] * 6.0);
    EXPECT_EQ(a.m_nStart, c.p[1]);
    EXPECT_EQ(a.m_nEnd, c.p[2]);
    EXPECT_EQ(a.m_dValue, c.p[1]);
    EXPECT_DOUBLE_EQ(a.m_dStep, step);
    EXPECT_EQ(a.m_nTime, c.p[0]);
    EXPECT_EQ(b.m_nStart, c.p[2]);
    EXPECT_EQ(b.m_nEnd, c.p[1]);
    EXPECT_EQ(b.m_dValue, c.p[2]);
    EXPECT_DOUBLE_EQ(b.m_dStep, step);
    // The loaded table keeps the editor's values; the working copy holds them exchanged.
    EXPECT_EQ(ParamsOf(Database.m_vCharaEffect[1]), c.p);
    Params swapped = c.p;
    std::swap(swapped[1], swapped[2]);
    EXPECT_EQ(ParamsOf(Database.m_vCharaEffectWork[1]), swapped);
  }
}

TEST_F(EffectStates, CharaBlinkAndTranslucentCountTheirTime) {
  for (int32_t kind : {6, 14}) {
    SCOPED_TRACE(kind);
    SetChara(kind, {10, 2, 77, 0, 0});
    for (const cCharaEffectState* s : {&CharaFxInstA.At(1), &CharaFxInstB.At(1)}) {
      EXPECT_EQ(s->m_nStart, 0);
      EXPECT_EQ(s->m_nEnd, 10);
      EXPECT_EQ(s->m_nTime, 10);
      EXPECT_EQ(s->m_dValue, 0);
      EXPECT_DOUBLE_EQ(s->m_dStep, 1.0 / 6.0);
      EXPECT_EQ(s->m_bShown, 0);
    }
    EXPECT_EQ(ParamsOf(Database.m_vCharaEffectWork[1]), (Params{10, 2, 77, 0, 0}));  // not exchanged
  }
}

TEST_F(EffectStates, CharaStartEqualToEndCountsTime) {
  SetChara(11, {7, 48, 48, 0, 0});
  const cCharaEffectState& a = CharaFxInstA.At(1);
  EXPECT_EQ(a.m_dValue, 48);
  EXPECT_DOUBLE_EQ(a.m_dStep, 1.0 / 6.0);
  EXPECT_EQ(a.m_dElapsed, 0);
  EXPECT_EQ(a.m_nTime, 7);
}

TEST_F(EffectStates, CharaParametersAreNotTrusted) {
  // A run time below 1 divides as 1; the stored value stays.
  for (int32_t time : {0, -4}) {
    SCOPED_TRACE(time);
    SetChara(1, {time, 0, 12, 0, 0});
    EXPECT_DOUBLE_EQ(CharaFxInstA.At(1).m_dStep, 2.0);
    EXPECT_EQ(CharaFxInstA.At(1).m_nTime, time);
    EXPECT_EQ(Database.m_vCharaEffect[1].m_anParam[0], time);
  }
  // The widest distance does not overflow.
  SetChara(9, {1, INT32_MIN, INT32_MAX, 0, 0});
  EXPECT_DOUBLE_EQ(CharaFxInstA.At(1).m_dStep, 4294967295.0 / 6.0);
  // An unknown kind is no effect: nothing computed, nothing exchanged.
  for (int32_t kind : {17, -1, 1000}) {
    SCOPED_TRACE(kind);
    SetChara(kind, {5, 0, 32, 0, 0});
    const cCharaEffectState& b = CharaFxInstB.At(1);
    EXPECT_EQ(b.Kind(), CHARAEFFECT_NONE);
    EXPECT_EQ(b.m_lpDef, &Database.m_vCharaEffectWork[1]);
    EXPECT_EQ(b.m_dStep, 0);
    EXPECT_EQ(b.m_nEnd, 0);
    EXPECT_EQ(ParamsOf(Database.m_vCharaEffectWork[1]), (Params{5, 0, 32, 0, 0}));
  }
  // Entry 0 is none: nothing is exchanged in it either.
  EXPECT_EQ(CharaFxInstB.At(0).Kind(), CHARAEFFECT_NONE);
  EXPECT_EQ(ParamsOf(Database.m_vCharaEffectWork[0]), (Params{5, 0, 32, 0, 0}));
  EXPECT_EQ(cCharaEffectState().Kind(), CHARAEFFECT_NONE);
}

TEST_F(EffectStates, ScreenStates) {
  struct Case {
    int32_t kind;
    Params p;
    Params work;   // the working copy after the reversed state
    double valueA, valueB, step;
    int timed;
  } cases[] = {
      // move: both coordinates of start and end exchanged
      {1, {10, 1, 2, 640, 4}, {10, 640, 4, 1, 2}, 0, 0, 1.0 / 6.0, 0},
      {2, {10, 4, 4, 0, 0}, {10, 4, 4, 0, 0}, 0, 0, 1.0 / 6.0, 0},
      {3, {10, 4, 9, 0, 0}, {10, 4, 9, 0, 0}, 0, 0, 1.0 / 6.0, 0},
      {8, {10, 10, 0, 0, 0}, {10, 10, 0, 0, 0}, 0, 0, 1.0 / 6.0, 0},
      {4, {10, 0, 640, 15, 0}, {10, 640, 0, 15, 0}, 0, 640, 640 / 60.0, 0},
      {7, {5, 0, 480, 4, 10}, {5, 480, 0, 4, 10}, 0, 480, 480 / 30.0, 0},
      {13, {10, 1, 60, 0, 0}, {10, 60, 1, 0, 0}, 1, 60, 59 / 60.0, 0},
      {9, {3, 90, 90, 0, 0}, {3, 90, 90, 0, 0}, 90, 90, 1.0 / 6.0, 1},
      {11, {0, 640, 1280, 0, 0}, {0, 1280, 640, 0, 0}, 640, 1280, 640 / 6.0, 0},
      {14, {10, 0, 640, 0, 0}, {10, 0, 640, 0, 0}, 0, 0, 0, 0},  // unknown: no effect
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.kind);
    SetScreen(c.kind, c.p);
    const cScreenEffectState& a = ScrFxInstA.At(1);
    const cScreenEffectState& b = ScrFxInstB.At(1);
    EXPECT_EQ(a.m_lpDef, &Database.m_vScrEffect[1]);
    EXPECT_EQ(b.m_lpDef, &Database.m_vScrEffectWork[1]);
    EXPECT_EQ(a.Kind(), c.kind == 14 ? 0 : c.kind);
    EXPECT_EQ(a.m_dValue, c.valueA);
    EXPECT_EQ(b.m_dValue, c.valueB);
    EXPECT_DOUBLE_EQ(a.m_dStep, c.step);
    EXPECT_DOUBLE_EQ(b.m_dStep, c.step);
    EXPECT_EQ(a.m_bTimed, c.timed);
    if (c.timed) {
      EXPECT_EQ(a.m_nTime, c.p[0]);
    }
    EXPECT_EQ(ParamsOf(Database.m_vScrEffect[1]), c.p);
    EXPECT_EQ(ParamsOf(Database.m_vScrEffectWork[1]), c.work);
    if (c.kind == 1) {
      EXPECT_EQ(a.m_nAuxA, 1);
      EXPECT_EQ(a.m_nAuxB, 2);
      EXPECT_EQ(b.m_nAuxA, 640);
      EXPECT_EQ(b.m_nAuxB, 4);
    }
  }
}

TEST_F(EffectStates, TablesFollowTheDatabaseSize) {
  Database.m_vCharaEffect.resize(5);
  Database.m_vScrEffect.resize(1);
  BuildDatabaseRunTables();
  EXPECT_EQ(CharaFxInstA.size(), 5u);
  EXPECT_EQ(CharaFxInstB.size(), 5u);
  EXPECT_EQ(ScrFxInstA.size(), 1u);
  EXPECT_EQ(ScrFxInstB.size(), 1u);
  EXPECT_EQ(Database.m_vCharaEffectWork.size(), 5u);
  EXPECT_EQ(CharaFxInstA[4].m_sEffect, 4);
  EXPECT_EQ(AnimeStepTable.size(), Database.m_vAnime.size());
  EXPECT_EQ(EffectStepTable.size(), Database.m_vEffect.size());
}
