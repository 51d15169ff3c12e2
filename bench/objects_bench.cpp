// One frame of play for the object kernel: characters on a 200 × 30 map,
// half walking (gravity, landing, wall turns, knock-back and its decay),
// half flying (a wave across, homing on the nearest character of another
// group), every one clamped, corner-tested, searching its nearest
// opponent each logic step and animated once a frame. Measured with 300 and
// with 30 characters at 1 and 10 logic steps a frame; each run reports the
// milliseconds of a frame and its share of a 60 Hz frame (16.7 ms).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <string>

#include "game/characters.h"
#include "game/flow_instance.h"
#include "game/game.h"
#include "game/map_cells.h"
#include "game/stage_data.h"
#include "records/database.h"
#include "records/map_cell.h"
#include "records/stage.h"
#include "records/system.h"

namespace {

constexpr int kMapW = 200, kMapH = 30;
constexpr double kFrameMs = 1000.0 / 60.0;

// The map: ground two cells thick at the bottom, a platform every 12
// columns, and a wall every 40.
bool Solid(int x, int y) {
  if (y >= kMapH - 2) return true;
  if (y == kMapH - 8 && x % 12 < 5) return true;
  return x % 40 == 39 && y >= kMapH - 5;
}

class World {
 public:
  World(int charas, int level) {
    SystemData.Reset();
    Database.Reset();
    BuildDatabaseRunTables();
    Stage.Reset();
    Stage.SetSpeedLevel(level);
    Stage.m_nWidth = kMapW;
    Stage.m_nHeight = kMapH;
    Stage.m_nWidthDots = kMapW * 32;
    Stage.m_nHeightDots = kMapH * 32;
    CurStage = &m_scene;
    m_scene.SetUpScrollAxes(Stage);
    MAPCELL empty;
    empty.Block.m_nGraphic = 0;
    empty.Block.m_nHit = BLOCKHIT_NONE;
    MapCell.assign(static_cast<size_t>(m_scene.m_ScrollX.m_nPitch) * m_scene.m_ScrollY.m_nCells, empty);
    for (int y = 0; y < kMapH; ++y)
      for (int x = 0; x < kMapW; ++x)
        if (Solid(x, y)) {
          MAPCELL& cell = MapCell[(x + 10) + (static_cast<size_t>(y + 10) << m_scene.m_ScrollX.m_nShift)];
          cell.Block.m_nGraphic = 1;
          cell.Block.m_nHit = BLOCKHIT_SOLID;
        }
    Player.clear();
    CharaList.clear();
    for (int i = 0; i < charas; ++i) {
      cEdChara def;
      def.m_nFaction = static_cast<int8_t>(i % STAGE_GROUP_COUNT);
      def.m_nFlyMode = static_cast<int8_t>(i % 2 ? 2 : 0);
      def.m_nImpactResist = static_cast<int8_t>(i % 3);
      cChara c;
      c.m_nId = i;
      c.Reset(&def, 0, 0, 0);
      const int h = def.m_nFlyMode ? 16 : 24;
      c.cGameObject::SetUp(i, 1, 0, def.m_nFaction, 1, nullptr, 0, 8, 32 - h, 16, h, 32, 32, i % 2, def.m_nFlyMode, 0);
      c.SetCellPos((i * 37) % (kMapW - 2) + 1, (i * 7) % (kMapH - 12) + 2);
      CharaList.push_back(c);
      m_scene.m_CharaGroups.At(def.m_nFaction).push_back(&CharaList.back());
    }
  }
  ~World() {
    CharaList.clear();
    MapCell.clear();
    CurStage = nullptr;
  }

  void Frame() {
    m_scene.m_nFrameCount += 1;
    for (cChara& c : CharaList) {
      c.m_bPresent = 1;
      c.UpdateScreenRect();
      c.m_bOnScreen = c.IsOnScreen();
    }
    for (int a = 0; a < Stage.m_nStepsPerFrame; ++a) {
      m_scene.m_nStepInFrame = a + 1;
      m_scene.m_nStepCount += 1;
      for (cChara& c : CharaList) Step(c);
    }
    for (cChara& c : CharaList) c.m_Anime.Advance();
  }

 private:
  void Step(cChara& c) {
    c.ClearBlockedFlags();
    c.SavePrevHitBox();
    if ((m_scene.m_nStepCount + c.m_nId) % 120 == 0) c.ApplyKnockback(6, c.FacingSign() * -1.0, -1.0);
    const cList<cCharaBase*>& rivals = m_scene.m_CharaGroups.At((c.m_nGroup + 1) % STAGE_GROUP_COUNT);
    cCharaBase* nearest = c.FindNearestChara(rivals);
    const double speed = 2.0 / Stage.m_dSteps;
    if (c.m_bNoGravity) {
      m_move.m_dSpeed = speed;
      if (nearest)
        c.VelocityToward(c.m_dVx, c.m_dVy, m_move.m_nFacingHint, nearest, c.CentreX(), c.CentreY(),
                         nearest->CentreX(), nearest->CentreY(), speed, 0, 1, 0);
      c.m_dVy += cGameObject::WaveVelocity(8, 4, m_phase, 1, 0);
    } else {
      c.m_dVx = c.FacingSign() * speed;
    }
    if (c.m_dKnockX != 0) c.m_dVx = c.m_dKnockX;
    c.StepX(2);
    if (c.TouchesBlockCorners()) {
      c.RestorePrevHitBox();
      c.ClampX(7);
      c.m_nDirection ^= 1;
    }
    c.ApplyGravity();
    c.ApplyKnockbackY();
    c.StepY(2);
    if (c.TouchesBlockCorners()) {
      if (c.m_dVy >= 0 && !c.m_bNoGravity) {
        c.LandOnBlock();
      } else {
        c.m_rcHit.dTop = c.m_rcPrevHit.dTop;
        c.ClampY(2);
        c.m_dVy = 0;
      }
    }
    c.m_pFootCell = CellAtDots(c.m_rcHit.dLeft, c.m_rcHit.dBottom + 1);
    c.DecayKnockbackX();
    c.DecayKnockbackY();
  }

  cSceneStageData m_scene;
  cCommandInstance m_move;
  double m_phase = 0;
};

void OneFrame(benchmark::State& state) {
  const int charas = static_cast<int>(state.range(0));
  const int level = static_cast<int>(state.range(1));
  World world(charas, level);
  for (int i = 0; i < 60; ++i) world.Frame();  // settle
  using Clock = std::chrono::steady_clock;
  Clock::duration total{};
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    world.Frame();
    total += Clock::now() - start;
  }
  const double ms = std::chrono::duration<double, std::milli>(total).count() / static_cast<double>(state.iterations());
  state.counters["ms_per_frame"] = ms;
  state.counters["pct_of_60Hz_frame"] = 100.0 * ms / kFrameMs;
  state.SetLabel(std::to_string(charas) + " characters, S = " + std::to_string(level));
}

BENCHMARK(OneFrame)->Args({300, 1})->Args({30, 1})->Args({300, 10})->Args({30, 10})->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
