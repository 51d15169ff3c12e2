// The timing of character and screen effects: the value on chosen frames and
// the frame on which Step reports the end, for rising, falling and equal
// ends, reversed and back-and-forth runs with and without loop; the start of
// a number outside the table.
#include <gtest/gtest.h>

#include <functional>
#include <map>

#include "chara_draw_env.h"
#include "records/effect_state.h"
#include "support/event_log.h"

using namespace charadraw;

namespace {

struct TimingCase {
  const char* name;
  FxDef def;
  int runMode, loop;
  std::map<int, double> values;  // frame (1-based, after its Step) -> value
  int endFrame;                  // the Step that gives 1; 0: none within 200
};

// Runs Step up to 200 times; the frame of the first 1 (0 when none).
template <class StepFn>
int RunUntilEnd(StepFn step, const std::map<int, double>& values, const std::function<double()>& value,
                const std::string& name) {
  for (int frame = 1; frame <= 200; ++frame) {
    const int ended = step();
    auto it = values.find(frame);
    if (it != values.end()) {
      EXPECT_DOUBLE_EQ(value(), it->second) << name << ", frame " << frame;
    }
    if (ended) return frame;
  }
  return 0;
}

}  // namespace

class EffectTiming : public CharaDrawTest {};

TEST_F(EffectTiming, CharaEffectValuesAndTheFrameItEnds) {
  // Kind 1 from 0 to 12 in 1 tenth: 2 a frame, past 12 on the 7th frame.
  const TimingCase cases[] = {
      {"rising", {1, {1, 0, 12}}, 0, 0, {{1, 2}, {3, 6}, {6, 12}}, 7},
      {"falling", {1, {1, 12, 0}}, 0, 0, {{1, 10}, {6, 0}}, 7},
      {"reversed", {1, {1, 0, 12}}, 1, 0, {{1, 10}, {6, 0}}, 7},
      {"equal ends count their time", {11, {2, 32, 32}}, 0, 0, {{1, 32}, {12, 32}}, 13},
      {"blink counts its time", {6, {1, 3}}, 0, 0, {{6, 6.0 / 6}}, 7},
      // Forward, then reversed from the far end, then the end.
      {"back and forth", {1, {1, 0, 12}}, 2, 0, {{3, 6}, {7, 12}, {10, 6}}, 14},
      {"back and forth looping", {1, {1, 0, 12}}, 2, 1, {{7, 12}, {14, 0}, {17, 6}}, 0},
      {"looping", {1, {1, 0, 12}}, 0, 1, {{7, 0}, {8, 2}}, 0},
  };
  for (const TimingCase& c : cases) {
    SetEffects({c.def});
    cCharaEffectState e;
    e.Start(1, c.runMode, c.loop);
    EXPECT_EQ(e.m_sEffect, 1);
    EXPECT_EQ(RunUntilEnd([&] { return e.Step(); }, c.values, [&] { return e.m_dValue; }, c.name), c.endFrame)
        << c.name;
  }
}

TEST_F(EffectTiming, StartTakesTheStateOfItsDirectionAndRestartTurnsABackAndForthRound) {
  SetEffects({{1, {2, 4, 16, 3, 5}}});
  cCharaEffectState e;
  e.m_nCounter = 99;
  e.m_bShown = 1;
  e.Start(1, 1, 0);
  EXPECT_EQ(e.m_lpDef, &Database.m_vCharaEffectWork[1]);
  EXPECT_EQ(e.m_nStart, 16);
  EXPECT_EQ(e.m_nEnd, 4);
  EXPECT_DOUBLE_EQ(e.m_dStep, 1.0);
  EXPECT_EQ(e.m_nCounter, 0) << "the precomputed counter and turn come with it";
  EXPECT_EQ(e.m_bShown, 0);
  EXPECT_EQ(e.m_bReversed, 1);

  e.Start(1, 2, 1);
  EXPECT_EQ(e.m_lpDef, &Database.m_vCharaEffect[1]);
  EXPECT_EQ(e.m_bReversed, 0);
  e.Restart();
  EXPECT_EQ(e.m_bReversed, 1);
  EXPECT_EQ(e.m_nStart, 16);
  e.m_nRunMode = 0;
  e.Restart();
  EXPECT_EQ(e.m_bReversed, 1) << "only back and forth turns";
}

TEST_F(EffectTiming, ANumberOutsideTheTableIsReportedBeforeItIsNarrowedAndStartsNoEffect) {
  SetEffects({{1, {1, 0, 12}}});
  world.events.AllowCloseRequests(true);
  // 65537 would narrow to entry 1.
  for (int n : {65537, 2, -1}) {
    world.events.Clear();
    cCharaEffectState e;
    e.Start(n, 0, 0);
    EXPECT_EQ(e.m_sEffect, 0) << n;
    EXPECT_EQ(e.m_lpDef, &Database.m_vCharaEffect[0]) << n;
    const std::vector<std::string> log = world.events.Texts(testsupport::EventKind::Log);
    ASSERT_FALSE(log.empty()) << n;
    EXPECT_EQ(log[0].rfind("err V[" + std::to_string(n) + "] ( 2 ,", 0), 0u) << log[0];
    e.Start(n, 1, 0);
    EXPECT_EQ(e.m_lpDef, &Database.m_vCharaEffectWork[0]) << n;
  }
}

namespace {

void SetScrEffects(const std::vector<FxDef>& defs) {
  Database.m_vScrEffect.resize(defs.size() + 1);
  Database.m_vScrEffect[0].m_nKind = 0;
  for (size_t i = 0; i < defs.size(); ++i) {
    cEdScrEffect& e = Database.m_vScrEffect[i + 1];
    e.m_nKind = defs[i].kind;
    for (int j = 0; j < 5; ++j) e.m_anParam[j] = defs[i].p[j];
  }
  BuildDatabaseRunTables();
}

}  // namespace

TEST_F(EffectTiming, ScreenEffectValuesComparedTruncatedAndTimedEffects) {
  const TimingCase cases[] = {
      // 0.5 a frame: 3.5 still counts as 3, so the end comes a frame late.
      {"rising", {4, {1, 0, 3}}, 0, 0, {{6, 3}, {7, 3.5}}, 8},
      {"falling", {4, {1, 3, 0}}, 0, 0, {{6, 0}, {7, -0.5}}, 8},
      {"reversed", {4, {1, 0, 3}}, 1, 0, {{1, 2.5}}, 8},
      {"timed when the ends are equal", {9, {1, 45, 45}}, 0, 0, {{3, 45}}, 7},
      // Kinds counting 0 to p0 by sixths: the sum reaches 2.0 (truncated 2,
      // past p0 = 1) on frame 12; on frame 6 it is just below 1.
      {"move counts tenths", {1, {1, 0, 0, 100, 0}}, 0, 0, {{6, 1}, {11, 11.0 / 6}}, 12},
      {"back and forth", {4, {1, 0, 3}}, 2, 0, {{8, 3}}, 16},
      {"looping", {4, {1, 0, 3}}, 0, 1, {{8, 0}, {9, 0.5}}, 0},
  };
  for (const TimingCase& c : cases) {
    SetScrEffects({c.def});
    cScreenEffectState e;
    e.m_nTick = 5;
    e.Start(1, c.runMode, c.loop);
    EXPECT_EQ(e.m_nTick, 0) << c.name;
    // As the handlers pass them: 0 to p0 for the move, p1 to p2 of the
    // running entry (exchanged in the reversed one) otherwise.
    const int frame = RunUntilEnd(
        [&] {
          const int32_t* p = e.m_lpDef->m_anParam;
          return c.def.kind == 1 ? e.Step(0, p[0], e.m_dStep) : e.Step(p[1], p[2], e.m_dStep);
        },
        c.values, [&] { return e.m_dValue; }, c.name);
    EXPECT_EQ(frame, c.endFrame) << c.name;
  }
}

TEST_F(EffectTiming, ScreenEffectRestartTakesTheStateAgainWithTheTickAtZero) {
  SetScrEffects({{1, {1, 10, 20, 30, 40}}});
  cScreenEffectState e;
  e.Start(1, 1, 0);
  EXPECT_EQ(e.m_lpDef, &Database.m_vScrEffectWork[1]);
  EXPECT_EQ(e.m_nAuxA, 30) << "the reversed move starts at the end position";
  EXPECT_EQ(e.m_nAuxB, 40);
  e.m_nAuxA = e.m_nAuxB = 0;
  e.m_nTick = 9;
  e.Restart();
  EXPECT_EQ(e.m_nAuxA, 30);
  EXPECT_EQ(e.m_nTick, 0);
}
