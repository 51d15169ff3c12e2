// One play frame at S = 1 as the stage scene runs it (input, time, the
// logic step over the hero, the characters, the shots and the stage rules,
// then the drawing, here a stand-in): a 400 × 40 stage whose 300 walking
// characters run flows and collide with blocks and whose 1,000 shots fly,
// beside 30 characters and 100 shots. Each run reports the microseconds of
// a frame and its share of a 60 Hz frame (16.7 ms); the target is the heavy
// frame under 1.5 ms (9 %). Characters and shots that left are replaced
// between the timed frames, so each frame starts with the full count.
//
// Then the code language: a text of 1, 10 and 60 KB made of one line
// repeated, in microseconds per KB; the target is 60 KB within 1.5 times
// the cost of 60 texts of 1 KB.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <string>
#include <vector>

#include "base/timers.h"
#include "game/characters.h"
#include "game/code_eval.h"
#include "game/game.h"
#include "game/shot.h"
#include "media/input.h"
#include "records/command_types.h"
#include "records/database.h"
#include "records/map_cell.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/system.h"
#include "stage/scene_stage.h"
#include "rate_reporter.h"

namespace {

constexpr int kMapW = 400, kMapH = 40;
constexpr double kFrameMs = 1000.0 / 60.0;
using Clock = std::chrono::steady_clock;

// Ground, platforms and a wall every 40 cells.
bool Solid(int x, int y) {
  if (y >= kMapH - 2) return true;
  if (y == kMapH - 8 && x % 12 < 5) return true;
  return x % 40 == 39 && y >= kMapH - 5;
}

cEdCommand Wait(int tenths, int noWait) {
  cEdCommand c;
  c.m_nType = ACTCMDTYPE_WAIT;
  c.m_vParams.assign(CommandParamCount(0, ACTCMDTYPE_WAIT) > 0 ? CommandParamCount(0, ACTCMDTYPE_WAIT) : 0, 0);
  c.m_nUseTime = static_cast<int16_t>(tenths);
  c.m_bNoWait = static_cast<uint8_t>(noWait);
  return c;
}

// Four ALWAYS flows: waits of different lengths, two of them on switch letters.
cEdChara WalkerDef(int group) {
  cEdChara def;
  def.m_nOperator = 1;
  def.m_nFaction = static_cast<int8_t>(group);
  def.m_nFlyMode = FLYMODE_WALK;
  for (int n = 0; n < 4; ++n) {
    cEdFlow f;
    f.m_nTrigger = 0;
    f.m_nSwitch = static_cast<uint8_t>(n < 2 ? 1 + n : 0);
    f.m_vCommands.push_back(Wait(1 + n, 0));
    f.m_vCommands.push_back(Wait(0, 1));
    f.m_vCommands.push_back(Wait(n, 0));
    def.m_vFlows.push_back(f);
  }
  return def;
}

class World {
 public:
  World(int charas, int shots) : m_charas(charas), m_shots(shots) {
    SystemData.Reset();
    Database.Reset();
    BuildDatabaseRunTables();
    PlayData.Reset();
    Stage.Reset();
    Stage.SetSpeedLevel(1);
    Stage.m_nWidth = kMapW;
    Stage.m_nHeight = kMapH;
    Stage.m_nWidthDots = kMapW * 32;
    Stage.m_nHeightDots = kMapH * 32;
    for (cEdOffScreenRule* rule : {&Stage.m_RuleHeroShot, &Stage.m_RuleCharaShot}) {
      rule->m_bLeft = rule->m_bRight = rule->m_bTop = rule->m_bBottom = 1;
      rule->m_nLeftMargin = rule->m_nRightMargin = rule->m_nTopMargin = rule->m_nBottomMargin = 4;
    }
    m_scene = new cSceneStage();
    CurStage = m_scene;
    m_scene->SetUpScrollAxes(Stage);
    m_scene->m_ScrollX.m_dPos = 320 + 60 * 32;
    m_scene->m_ScrollY.m_dPos = 320 + 20 * 32;
    m_scene->m_nPhase = STAGESTATE_PLAY;
    m_scene->m_bNoTimeLimit = 1;
    MAPCELL empty;
    empty.Block.m_nGraphic = 0;
    empty.Block.m_nHit = BLOCKHIT_NONE;
    MapCell.assign(static_cast<size_t>(m_scene->m_ScrollX.m_nPitch) * m_scene->m_ScrollY.m_nCells, empty);
    for (int y = 0; y < kMapH; ++y)
      for (int x = 0; x < kMapW; ++x)
        if (Solid(x, y)) {
          MAPCELL& cell = MapCell[(x + 10) + (static_cast<size_t>(y + 10) << m_scene->m_ScrollX.m_nShift)];
          cell.Block.m_nGraphic = 1;
          cell.Block.m_nHit = BLOCKHIT_SOLID;
        }
    Input.At(0) = cInput();
    Input.At(0).ResetRunHistories();
    Player.clear();
    CharaList.clear();
    Player.resize(1);
    cEdChara heroDef;
    heroDef.m_nOperator = 0;
    Player[0].SetUp(m_scene->m_nCharaSerial++, heroDef, 0, 0);
    Player[0].SetCellPos(70, kMapH - 3);
    Player[0].ClampX(2);
    Player[0].ClampY(2);
    m_scene->m_CharaGroups.At(0).push_back(&Player[0]);
    TopUp();
  }
  ~World() {
    m_scene->m_Shots.clear();
    for (auto& group : m_scene->m_ShotGroups) group.clear();
    for (auto& group : m_scene->m_CharaGroups) group.clear();
    CharaList.clear();
    Player.clear();
    MapCell.clear();
    CurStage = nullptr;
    delete m_scene;
  }

  // Back to the full counts, outside the timed frame.
  void TopUp() {
    while (CharaList.Size() < m_charas) AddChara(m_added++);
    while (m_scene->m_Shots.Size() < m_shots) Spawn(m_spawned++);
  }

  // Characters that took part in the last step, and the shots left.
  int ActiveCharas() const {
    int n = 0;
    for (const cChara& c : CharaList) n += c.m_bActive;
    return n;
  }
  int Shots() const { return m_scene->m_Shots.Size(); }

  double Frame() {
    TopUp();
    const Clock::time_point start = Clock::now();
    m_scene->Play();
    return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
  }

 private:
  void AddChara(int k) {
    cChara c;
    const int column = 50 + (k * 37) % 60;
    const int row = 2 + (k * 7) % (kMapH - 4);
    c.SetUp(m_scene->m_nCharaSerial++, WalkerDef(1 + k % (STAGE_GROUP_COUNT - 1)), nullptr, 0, 0, 0);
    c.SetCellPos(column, row);
    c.ClampX(2);
    c.ClampY(2);
    // Active wherever they are, walking one way or the other.
    c.m_bUnlimitedX = c.m_bUnlimitedY = 1;
    c.m_dInertiaX = k % 2 ? 1.5 : -1.5;
    CharaList.push_back(c);
    m_scene->m_CharaGroups.At(CharaList.back().m_nGroup).push_back(&CharaList.back());
  }

  void Spawn(int k) {
    cChara& owner = *std::next(CharaList.begin(), k % CharaList.Size());
    cEdShot def;
    def.m_nCount = 1;
    def.m_nSpeed = static_cast<int16_t>(20 + (k * 13) % 40);
    def.m_nPath = static_cast<int8_t>(k % SHOTPATH_COUNT);
    def.m_nPathParam[0] = static_cast<int16_t>(k % 3);
    def.m_nPathParam[1] = static_cast<int16_t>(def.m_nPath == SHOTPATH_WAVE ? 6 : 20);
    def.m_nPathParam[2] = static_cast<int16_t>(def.m_nPath == SHOTPATH_WAVE ? 30 : (k + 1) % STAGE_GROUP_COUNT);
    def.m_bLifeLimit = 1;
    def.m_nLife = 40;
    SHOTSPAWN sp;
    const double angle = (k * 37 % 360) * (3.14159265358979 / 180);
    const double speed = def.m_nSpeed * 0.1;
    sp.dSpeed = speed;
    sp.dVx = -std::cos(angle) * speed;
    sp.dVy = -std::sin(angle) * speed;
    sp.nX = static_cast<int>(owner.m_rcHit.dLeft) + (k % 5) * 3;
    sp.nY = static_cast<int>(owner.m_rcHit.dTop) - (k % 4) * 3;
    sp.nLife = def.m_nLife;
    cShot built;
    built.Init(m_scene->m_nShotSerial++, owner, SHOTMAKER_SHOT, def, sp);
    m_scene->AddShot(built);
  }

  cSceneStage* m_scene = nullptr;
  int m_charas, m_shots;
  int m_added = 0, m_spawned = 0;
};

void PlayFrame(benchmark::State& state) {
  const int charas = static_cast<int>(state.range(0));
  const int shots = static_cast<int>(state.range(1));
  World world(charas, shots);
  for (int i = 0; i < 60; ++i) world.Frame();  // settle
  double total = 0;
  int64_t active = 0, left = 0;
  for (auto _ : state) {
    total += world.Frame();
    active += world.ActiveCharas();
    left += world.Shots();
  }
  const double n = static_cast<double>(state.iterations());
  const double ms = total / n;
  state.counters["active_charas"] = static_cast<double>(active) / n;
  state.counters["shots_after"] = static_cast<double>(left) / n;
  state.counters["us_per_frame"] = ms * 1000.0;
  state.counters["pct_of_60Hz_frame"] = 100.0 * ms / kFrameMs;
  state.SetLabel(std::to_string(charas) + " characters, " + std::to_string(shots) + " shots, S = 1");
}

BENCHMARK(PlayFrame)->Args({300, 1000})->Args({30, 100})->Unit(benchmark::kMicrosecond);

// The code language on a text of n KB.
void CodeText(benchmark::State& state) {
  const int kb = static_cast<int>(state.range(0));
  SystemData.Reset();
  Database.Reset();
  PlayData.Reset();
  Stage.Reset();
  cSceneStageData scene;
  scene.m_vStageVars.assign(STAGE_VAR_COUNT, 0);
  CurStage = &scene;
  cChara me;
  me.m_nId = 1;
  const std::string line = "C1 = C1 + (C2 * 3) - rand(1,2) + (S4 % 7) S5 = (S5 + 1) * 2 / 2 ";
  std::string text;
  while (text.size() + line.size() <= static_cast<size_t>(kb) * 1024) text += line;
  text.resize(static_cast<size_t>(kb) * 1024, ' ');
  for (auto _ : state) benchmark::DoNotOptimize(RunCode(text, me));
  state.SetItemsProcessed(state.iterations() * kb);  // KB
  state.SetLabel(std::to_string(kb) + " KB");
  CurStage = nullptr;
}

BENCHMARK(CodeText)->Arg(1)->Arg(10)->Arg(60)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RateReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  const auto kbPerSecond = [&](const char* name) {
    auto it = reporter.rates.find(name);
    return it == reporter.rates.end() ? 0.0 : it->second;
  };
  const double one = kbPerSecond("CodeText/1"), sixty = kbPerSecond("CodeText/60"), ten = kbPerSecond("CodeText/10");
  if (one > 0 && sixty > 0) {
    std::printf("code: %.2f us/KB at 1 KB, %.2f at 10 KB, %.2f at 60 KB\n", 1e6 / one, ten > 0 ? 1e6 / ten : 0.0,
                1e6 / sixty);
    std::printf("code: 60 KB costs %.2f times 60 texts of 1 KB (target: within 1.5)\n", one / sixty);
  }
  benchmark::Shutdown();
  return 0;
}
