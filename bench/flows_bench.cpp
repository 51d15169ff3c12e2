// One frame of flows: 30 characters with 10 ALWAYS flows each (300 flows),
// stepped as the play step runs them (frame reset, then every logic step
// the ALWAYS trigger and the flow pass of each character). The flows mix
// two-condition key sequences (a direction, then a button; edge and
// continuous), switch letters, waiting and no-wait commands; every executor
// is empty, so the figure is the engine's own. The input changes every few
// frames so that sequences match, fail and latch. Measured at 1 and 10
// logic steps a frame, beside the same flows without key conditions; each
// run reports the microseconds of a frame and its share of a 60 Hz frame
// (16.7 ms). A last run times the LOOP expansion at its caps.
#include <benchmark/benchmark.h>

#include <chrono>
#include <string>

#include "game/action_commands.h"
#include "game/characters.h"
#include "game/flow_loops.h"
#include "game/game.h"
#include "game/stage_data.h"
#include "media/input.h"
#include "records/database.h"
#include "records/stage.h"
#include "records/system.h"

namespace {

constexpr int kCharas = 30;
constexpr int kFlowsEach = 10;
constexpr double kFrameMs = 1000.0 / 60.0;

int Empty(cCharaBase&, cCommandInstance&) { return 0; }

cEdCommand Command(int type, int useTime, int noWait) {
  cEdCommand c;
  c.m_nType = static_cast<int8_t>(type);
  c.m_vParams.assign(CommandParamCount(0, type) > 0 ? CommandParamCount(0, type) : 0, 0);
  c.m_nUseTime = static_cast<int16_t>(useTime);
  c.m_bNoWait = static_cast<uint8_t>(noWait);
  return c;
}

cEdKeyCondition Key(int slot) {
  cEdKeyCondition k;
  k.Reset();
  k.m_vKeys[slot] = 1;
  k.m_bAnyLength = 1;
  return k;
}

cEdFlow MakeFlow(int n, bool keys) {
  cEdFlow f;
  f.m_nTrigger = 0;  // ALWAYS
  f.m_nKeySlack = 3;
  if (n < 7 && keys) {
    f.m_vKeyConditions.push_back(Key(1 + n % 4));        // a direction ...
    f.m_vKeyConditions.push_back(Key(11 + n % 3));       // ... then a button
    f.m_bKeyRepeat = static_cast<uint8_t>(n >= 4);       // 0..3 edge, 4..6 continuous
  }
  f.m_nSwitch = static_cast<uint8_t>(n < 4 ? 1 + n % 2 : n >= 7 ? 3 : 0);
  switch (n % 3) {
    case 0:
      f.m_vCommands.push_back(Command(ACTCMDTYPE_WAIT, 1, 0));
      f.m_vCommands.push_back(Command(ACTCMDTYPE_SHOT, 1, 1));
      break;
    case 1:
      f.m_vCommands.push_back(Command(ACTCMDTYPE_PLAY_SE, 0, 1));
      f.m_vCommands.push_back(Command(ACTCMDTYPE_WAIT, 0, 0));
      break;
    default:
      f.m_vCommands.push_back(Command(ACTCMDTYPE_WAIT, 2, 0));
      f.m_vCommands.push_back(Command(ACTCMDTYPE_PLAY_SE, 1, 1));
      f.m_vCommands.push_back(Command(ACTCMDTYPE_WAIT, 0, 0));
      break;
  }
  return f;
}

class World {
 public:
  World(int level, bool keys) {
    SystemData.Reset();
    Database.Reset();
    BuildDatabaseRunTables();
    Stage.Reset();
    Stage.SetSpeedLevel(level);
    CurStage = &m_scene;
    for (int t = 0; t < ACTCMDTYPE_COUNT; ++t) {
      m_saved[t] = ActionTable[t];
      ActionTable[t].pRun = Empty;
    }
    Input.At(0) = cInput();
    Input.At(0).ResetRunHistories();
    Player.clear();
    CharaList.clear();
    cEdChara def;
    for (int n = 0; n < kFlowsEach; ++n) def.m_vFlows.push_back(MakeFlow(n, keys));
    for (int i = 0; i < kCharas; ++i) {
      cChara c;
      c.m_nId = i;
      c.Reset(&def, 0, 0, static_cast<int16_t>(i % 4));
      c.BuildFlows(c.m_Def.m_vFlows, 0, -1);
      CharaList.push_back(c);
    }
  }
  ~World() {
    CharaList.clear();
    for (int t = 0; t < ACTCMDTYPE_COUNT; ++t) ActionTable[t] = m_saved[t];
    CurStage = nullptr;
  }

  void Frame() {
    // A direction for 3 frames, a button for 2, then a rest of 1, each
    // time another pair.
    const int phase = m_frame % 6;
    const int pair = m_frame / 6;
    cInput& input = Input.At(0);
    static const uint16_t dirs[4] = {INPUT_LEFT, INPUT_RIGHT, INPUT_UP, INPUT_DOWN};
    input.m_wDir = phase < 3 ? dirs[pair % 4] : 0;
    input.m_wButton = phase >= 3 && phase < 5 ? static_cast<uint16_t>(1 << (pair % 3)) : 0;
    input.UpdateRunHistories();
    ++m_frame;

    m_scene.m_nFrameCount += 1;
    for (cChara& c : CharaList) c.ResetStepTriggers();
    for (int a = 0; a < Stage.m_nStepsPerFrame; ++a) {
      m_scene.m_nStepInFrame = a + 1;
      m_scene.m_nStepCount += 1;
      for (cChara& c : CharaList) {
        c.FireTrigger(FLOWTRIGGER_ALWAYS);
        m_scene.m_lpCurChara = &c;
        c.RunFlows(0);
      }
    }
  }

 private:
  cSceneStageData m_scene;
  ACTIONENTRY m_saved[ACTCMDTYPE_COUNT];
  int m_frame = 0;
};

void OneFrame(benchmark::State& state) {
  const int level = static_cast<int>(state.range(0));
  const bool keys = state.range(1) != 0;
  World world(level, keys);
  for (int i = 0; i < 60; ++i) world.Frame();  // settle
  using Clock = std::chrono::steady_clock;
  Clock::duration total{};
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    world.Frame();
    total += Clock::now() - start;
  }
  const double ms = std::chrono::duration<double, std::milli>(total).count() / static_cast<double>(state.iterations());
  state.counters["us_per_frame"] = ms * 1000.0;
  state.counters["pct_of_60Hz_frame"] = 100.0 * ms / kFrameMs;
  state.SetLabel(std::to_string(kCharas * kFlowsEach) + " flows, S = " + std::to_string(level) +
                 (keys ? ", two-step key sequences" : ", no key conditions"));
}

BENCHMARK(OneFrame)->Args({1, 1})->Args({1, 0})->Args({10, 1})->Args({10, 0})->Unit(benchmark::kMicrosecond);

// LOOP expansion at its caps: 4000 passes that copy nothing, then a range
// of 3000 commands repeated 16 times before 16000 more; and two LOOPs that
// copy each other until the pass cap.
void ExpandLoopsAtTheCaps(benchmark::State& state) {
  cVector<cEdCommand> source;
  cEdCommand loop = Command(ACTCMDTYPE_LOOP, 0, 0);
  loop.m_vParams[0] = 1;
  for (int i = 0; i < 4000; ++i) source.push_back(loop);
  loop.m_vParams[0] = 16;
  loop.m_vParams[1] = 3000;
  source.push_back(loop);
  for (int i = 0; i < 19000; ++i) source.push_back(Command(ACTCMDTYPE_WAIT, i % 7, 0));
  loop.m_vParams[0] = 2;
  loop.m_vParams[1] = 5;
  source.push_back(loop);
  source.push_back(loop);
  for (auto _ : state) {
    cVector<cEdCommand> list = source;
    ExpandLoops(list, "bench");
    benchmark::DoNotOptimize(list.data());
  }
  state.SetLabel("24002 commands in, 64000 out, 4096 passes");
}

BENCHMARK(ExpandLoopsAtTheCaps)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
