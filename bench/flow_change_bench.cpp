// Item lists whose flow changes build as much as they may: each run gives
// the hero of a small stage one list (as a taken item, or through a get-item
// of the stage palette) and ends its flow pass, so that the changes it
// queued are made; the figure is the milliseconds of that, beside the 50 ms
// that one frame may spend on it, and an ordinary flow change for scale;
// the first application of each list (memory the process never touched
// before, as in a game's first such item) and the longest are printed too.
// The lists: the fuzz seed whose change carries a flow of a LOOP at its cap;
// a change whose LOOP of a shot command expands to half of what a frame may
// make (so that it is built whole when queued too), alone, sixteen times
// made at once and queued, and in an item that gives itself (the get-item
// budget's worth of changes); sixteen changes of a LOOP at its cap; and a
// change of a 10-command flow. The peak memory of the process is printed
// at the end (reference 200 MB).
#include <benchmark/benchmark.h>
#include <sys/resource.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <fstream>
#include <iterator>
#include <memory>
#include <string>

#include "base/crt_random.h"
#include "game/characters.h"
#include "game/flow_budget.h"
#include "game/flow_loops.h"
#include "game/game.h"
#include "game/other_commands.h"
#include "game/stage_data.h"
#include "records/arrange.h"
#include "records/command_types.h"
#include "records/common_palette.h"
#include "records/database.h"
#include "records/map_cell.h"
#include "records/shot.h"
#include "records/flow.h"
#include "records/stage.h"

namespace {

constexpr double kFrameMs = 50.0;

// Bit 0: the hero's flows are stepping (changes queue); bit 1: through a
// get-item of stage palette item (bits 3-4); the rest of the seed is the list.
struct ListCase {
  uint8_t setup = 0;
  cVector<cEdCommand> list;
};

cEdCommand Item(int type, std::initializer_list<int32_t> params) {
  cEdCommand c;
  c.m_bItemCommand = 1;
  c.m_nType = static_cast<int8_t>(type);
  const int count = CommandParamCount(1, type);
  c.m_vParams.assign(count > 0 ? count : 0, 0);
  int i = 0;
  for (int32_t p : params) c.m_vParams[i++] = p;
  return c;
}

cEdCommand Action(int type, std::initializer_list<int32_t> params) {
  cEdCommand c;
  c.m_nType = static_cast<int8_t>(type);
  const int count = CommandParamCount(0, type);
  c.m_vParams.assign(count > 0 ? count : 0, 0);
  int i = 0;
  for (int32_t p : params) c.m_vParams[i++] = p;
  return c;
}

// A flow change adding one flow of `commands` waits, or (`repeated`) of a
// LOOP repeating one shot command that many times.
cEdCommand AddFlow(int commands, bool repeated) {
  cEdCommand change = Item(ITEMCMDTYPE_FLOW_CHANGE, {0, 0});
  cEdFlow flow;
  if (repeated) {
    flow.m_vCommands.push_back(Action(ACTCMDTYPE_LOOP, {commands, 1}));
    cEdCommand shot = Action(ACTCMDTYPE_WAIT, {});
    shot.m_spShot = std::make_shared<cEdShot>();
    flow.m_vCommands.push_back(shot);
  } else {
    for (int i = 0; i < commands; ++i) flow.m_vCommands.push_back(Action(ACTCMDTYPE_WAIT, {}));
  }
  change.m_vFlows.push_back(flow);
  return change;
}

ListCase Seed(const char* name) {
  ListCase c;
  std::ifstream in(std::string(ITEM_LIST_SEEDS) + "/" + name, std::ios::binary);
  std::string bytes((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (bytes.empty()) return c;
  c.setup = static_cast<uint8_t>(bytes[0]);
  cDataReader r(bytes.substr(1));
  LoadRecordList(c.list, r);
  return c;
}

// Flows that fit one frame whole when queued: expanded, then copied.
constexpr int kFits = static_cast<int>(FLOWCHANGE_MAX_COMMANDS / 2);

ListCase Case(int which) {
  ListCase c;
  switch (which) {
    case 0:
      return Seed("flow_change_loops_at_cap");
    case 1:
      c.list.push_back(AddFlow(kFits, true));
      return c;
    case 2:
    case 3:
      c.setup = which == 3 ? 1 : 0;
      for (int i = 0; i < 16; ++i) c.list.push_back(AddFlow(kFits, true));
      return c;
    case 4:
      c.setup = 1 | 2;  // queued, through stage palette item 0, which gives itself
      c.list.push_back(AddFlow(kFits, true));
      c.list.push_back(Item(ITEMCMDTYPE_GET_ITEM, {1, 0}));
      return c;
    case 5:
      for (int i = 0; i < 16; ++i) c.list.push_back(AddFlow(LOOP_MAX_COMMANDS, true));
      return c;
    default:
      c.list.push_back(AddFlow(10, false));
      return c;
  }
}

const char* const kNames[] = {"the seed flow_change_loops_at_cap",
                              "1 change of a LOOP to the frame's budget",
                              "16 changes of a LOOP to the frame's budget",
                              "16 changes of a LOOP to the frame's budget, queued",
                              "an item giving itself such a change, queued",
                              "16 changes of a LOOP to its cap",
                              "a 10-command flow (ordinary)"};

// A stage of 20 x 15 cells with the hero, every palette item carrying `list`.
void SetUpStage(cSceneStageData& scene, const cVector<cEdCommand>& list) {
  Stage.Reset();
  Stage.m_nWidth = 20;
  Stage.m_nHeight = 15;
  Stage.m_nWidthDots = 640;
  Stage.m_nHeightDots = 480;
  Stage.SetSpeedLevel(2);
  scene.SetUpScrollAxes(Stage);
  MAPCELL empty;
  MapCell.assign(static_cast<size_t>(scene.m_ScrollX.m_nPitch) * scene.m_ScrollY.m_nCells, empty);
  for (cList<cCharaBase*>& group : scene.m_CharaGroups) group.clear();
  scene.m_lpCurChara = nullptr;
  scene.m_bCloseRequested = 1;
  CommonPalette = cEdCommonPalette();
  CommonPalette.m_vPaletteItem.resize(3);
  Stage.m_vPaletteItem.resize(3);
  for (int i = 0; i < 3; ++i) {
    CommonPalette.m_vPaletteItem[i].m_vCommands = list;
    Stage.m_vPaletteItem[i].m_vCommands = list;
  }
  Player.clear();
  Player.resize(1);
  cEdChara heroDef;
  heroDef.m_nMaxHp = 10;
  Player[0].SetUp(0, heroDef, 5 * 32 + 336, 5 * 32 + 336);
  Player[0].SetCellPos(5, 5);
  Player[0].m_nHp = 10;
  scene.m_CharaGroups.At(0).push_back(&Player[0]);
}

void ApplyItemList(benchmark::State& state) {
  static const bool once = [] {
    Database.Reset();
    BuildDatabaseRunTables();
    BuildArrangeParamTable();
    return true;
  }();
  (void)once;
  const ListCase c = Case(static_cast<int>(state.range(0)));
  static cSceneStageData scene;
  CurStage = &scene;
  int64_t commands = 0;
  int flows = 0;
  double firstMs = -1;
  double longestMs = 0;
  for (auto _ : state) {
    state.PauseTiming();
    cVector<cEdCommand> list = c.list;
    SetUpStage(scene, list);
    cHero& hero = Player[0];
    crt::srand(1);
    if (c.setup & 1) scene.m_lpCurChara = &hero;
    state.ResumeTiming();
    const auto start = std::chrono::steady_clock::now();

    if (c.setup & 2) {
      cEdCommand get = Item(ITEMCMDTYPE_GET_ITEM, {1, (c.setup >> 3) % 4});
      CmdGetItem(hero, get);
    } else {
      hero.RunItemCommands(list);
    }
    scene.m_lpCurChara = nullptr;
    hero.ApplyQueuedFlowChanges();
    const double ms = std::chrono::duration<double, std::milli>(std::chrono::steady_clock::now() - start).count();

    state.PauseTiming();
    if (firstMs < 0) firstMs = ms;
    longestMs = std::max(longestMs, ms);
    flows = hero.m_vFlows.Size();
    commands = 0;
    for (const cFlowInstance& f : hero.m_vFlows) commands += f.m_vCommands.Size();
    scene.m_CharaGroups.At(0).clear();
    Player.clear();
    state.ResumeTiming();
  }
  CurStage = nullptr;
  char label[160];
  std::snprintf(label, sizeof label, "%s: %d flows, %lld commands built (reference %.0f ms)",
                kNames[state.range(0)], flows, static_cast<long long>(commands), kFrameMs);
  state.SetLabel(label);
  state.counters["first_ms"] = firstMs;
  state.counters["longest_ms"] = longestMs;
}

BENCHMARK(ApplyItemList)->DenseRange(0, 6)->Unit(benchmark::kMillisecond)->Iterations(5);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  rusage usage{};
  getrusage(RUSAGE_SELF, &usage);
  std::printf("peak memory %.0f MB (reference 200 MB)\n", usage.ru_maxrss / 1024.0);
  return 0;
}
