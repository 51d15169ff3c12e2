// One frame of 1,000 live shots and swords on a 200 × 30 map with 300
// characters in eight groups, at 1 and at 4 logic steps a frame. Every
// logic step runs each shot as the play step does (trajectory with its
// path, gravity, the vertical and horizontal moves, the off-screen rule on
// the frame's first step, the block test) and then tests every shot's
// attack box against the shot-contact boxes of the characters of every
// other group. The shots fly on all ten paths (a tenth of them are swords);
// what ends is replaced between frames, outside the timing.
//
// In the same run a plain loop over arrays does the same moves (the same
// path kinds, with the same square roots and sines), corner-cell tests and
// overlap tests, as a reference for what the objects cost. Reported: the
// milliseconds of a frame, the nanoseconds of one shot's logic step (its
// share of the hit tests included), the share of a 60 Hz frame (16.7 ms),
// the plain loop's milliseconds and the ratio of the two.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdint>
#include <string>
#include <vector>

#include "game/characters.h"
#include "game/game.h"
#include "game/shot.h"
#include "game/stage_data.h"
#include "records/database.h"
#include "records/map_cell.h"
#include "records/stage.h"
#include "records/system.h"

namespace {

constexpr int kMapW = 200, kMapH = 30;
constexpr int kCharas = 300, kShots = 1000;
constexpr double kFrameMs = 1000.0 / 60.0;

bool Solid(int x, int y) {
  if (y >= kMapH - 2) return true;
  if (y == kMapH - 8 && x % 12 < 5) return true;
  return x % 40 == 39 && y >= kMapH - 5;
}

using Clock = std::chrono::steady_clock;

class World {
 public:
  explicit World(int level) {
    SystemData.Reset();
    Database.Reset();
    BuildDatabaseRunTables();
    Stage.Reset();
    Stage.SetSpeedLevel(level);
    Stage.m_nWidth = kMapW;
    Stage.m_nHeight = kMapH;
    Stage.m_nWidthDots = kMapW * 32;
    Stage.m_nHeightDots = kMapH * 32;
    // Shots leave the view by 4 cells on every side before they go.
    for (cEdOffScreenRule* rule : {&Stage.m_RuleHeroShot, &Stage.m_RuleCharaShot}) {
      rule->m_bLeft = rule->m_bRight = rule->m_bTop = rule->m_bBottom = 1;
      rule->m_nLeftMargin = rule->m_nRightMargin = rule->m_nTopMargin = rule->m_nBottomMargin = 4;
    }
    CurStage = &m_scene;
    m_scene.SetUpScrollAxes(Stage);
    m_scene.m_ScrollX.m_dPos = 320 + 60 * 32;
    m_scene.m_ScrollY.m_dPos = 320 + 10 * 32;
    MAPCELL empty;
    empty.Block.m_nGraphic = 0;
    empty.Block.m_nHit = BLOCKHIT_NONE;
    MapCell.assign(static_cast<size_t>(m_scene.m_ScrollX.m_nPitch) * m_scene.m_ScrollY.m_nCells, empty);
    m_attr.assign(MapCell.size(), 0);
    for (int y = 0; y < kMapH; ++y)
      for (int x = 0; x < kMapW; ++x)
        if (Solid(x, y)) {
          const size_t i = (x + 10) + (static_cast<size_t>(y + 10) << m_scene.m_ScrollX.m_nShift);
          MapCell[i].Block.m_nGraphic = 1;
          MapCell[i].Block.m_nHit = BLOCKHIT_SOLID;
          m_attr[i] = 1;
        }
    // A sword type of three frames.
    cEdSwordType& sword = Database.m_vSwordType.At(0);
    sword.m_vFrame.resize(3);
    for (int i = 0; i < 3; ++i) {
      sword.m_vFrame[i].m_nWidth = 24 + 8 * i;
      sword.m_vFrame[i].m_nHeight = 12;
      sword.m_vFrame[i].m_nPlace = i;
      sword.m_vFrame[i].m_nTime = 2;
    }
    Player.clear();
    CharaList.clear();
    Player.resize(1);
    SetUpChara(Player[0], 0, 0, 70, 18);
    for (int i = 0; i < kCharas; ++i) {
      cChara c;
      SetUpChara(c, i + 1, i % STAGE_GROUP_COUNT, 50 + (i * 37) % 60, 2 + (i * 7) % 18);
      CharaList.push_back(c);
      m_scene.m_CharaGroups.At(CharaList.back().m_nGroup).push_back(&CharaList.back());
    }
    m_scene.m_CharaGroups.At(0).push_back(&Player[0]);
    for (cCharaBase* c : AllCharas()) {
      c->m_bPresent = 1;
      c->UpdateScreenRect();
      c->m_bOnScreen = c->IsOnScreen();
      // A 30 × 30 shot-contact box around the centre of the graphic.
      const double cx = c->m_rcHit.dLeft - c->m_nOffsetX + 16, cy = c->m_rcHit.dTop - c->m_nOffsetY + 16;
      c->m_ShotContact.rc = {cx - 15, cy - 15, cx + 14, cy + 14};
    }
    for (cChara& c : CharaList) m_owners.push_back(&c);
    TopUp();
  }
  ~World() {
    m_scene.m_Shots.clear();
    CharaList.clear();
    Player.clear();
    MapCell.clear();
    CurStage = nullptr;
  }

  // The shots that ended are replaced, so that each frame starts with 1,000.
  void TopUp() {
    while (m_scene.m_Shots.Size() < kShots) Spawn(m_spawned++);
  }

  // One frame of the shots, as the play step runs them.
  int64_t Frame() {
    int64_t hits = 0;
    m_scene.m_nFrameCount += 1;
    for (int a = 0; a < Stage.m_nStepsPerFrame; ++a) {
      m_scene.m_nStepInFrame = a + 1;
      m_scene.m_nStepCount += 1;
      for (auto it = m_scene.m_Shots.begin(); it != m_scene.m_Shots.end();) {
        cShot& s = *it;
        if (s.StepTrajectory()) {
          it = m_scene.EraseShot(it);
          continue;
        }
        s.ApplyGravity();
        s.StepVertical();
        s.StepHorizontal();
        s.m_bOnScreen = s.IsOnScreen();
        if (a == 0 && s.m_nKind == SHOTKIND_SHOT &&
            s.IsOutsideRemovalArea(s.m_nController == 0 ? Stage.m_RuleHeroShot : Stage.m_RuleCharaShot)) {
          it = m_scene.EraseShot(it);
          continue;
        }
        if (s.HitsBlock()) {
          it = m_scene.EraseShot(it);
          continue;
        }
        ++it;
      }
      for (int g = 0; g < STAGE_GROUP_COUNT; ++g)
        for (int h = 0; h < STAGE_GROUP_COUNT; ++h) {
          if (g == h) continue;
          for (cShot* n : m_scene.m_ShotGroups[g])
            for (cCharaBase* o : m_scene.m_CharaGroups[h])
              if (o->m_bPresent && !o->m_bDefeated && o->m_ShotContact.rc.Overlaps(n->m_Box.rc)) ++hits;
        }
    }
    return hits;
  }

  // The same frame's work done as a plain loop over arrays.
  int64_t PlainFrame();
  void LoadPlain();

 private:
  std::vector<cCharaBase*> AllCharas() {
    std::vector<cCharaBase*> all{&Player[0]};
    for (cChara& c : CharaList) all.push_back(&c);
    return all;
  }

  void SetUpChara(cCharaBase& c, int id, int group, int cx, int cy) {
    cEdChara def;
    def.m_nFaction = static_cast<int8_t>(group);
    def.m_nFlyMode = 2;
    c.m_nId = id;
    c.Reset(&def, 0, 0, 0);
    c.cGameObject::SetUp(id, id == 0 ? 0 : 1, 0, group, 1, nullptr, 0, 8, 8, 16, 16, 32, 32, id % 2, 2, 0);
    c.SetCellPos(cx, cy);
    c.cGameObject::ClampX(2);
    c.cGameObject::ClampY(2);
  }

  void Spawn(int k) {
    cChara& owner = *m_owners[static_cast<size_t>(k) % m_owners.size()];
    cEdShot def;
    def.m_nCount = 1;
    def.m_nSpeed = static_cast<int16_t>(20 + (k * 13) % 40);
    const bool sword = k % 10 == 9;
    def.m_nPath = static_cast<int8_t>(sword ? 0 : k % SHOTPATH_COUNT);
    def.m_nPathParam[0] = static_cast<int16_t>(k % 3);
    def.m_nPathParam[1] = static_cast<int16_t>(def.m_nPath == SHOTPATH_WAVE ? 6 : 20);
    def.m_nPathParam[2] = static_cast<int16_t>(def.m_nPath == SHOTPATH_WAVE ? 30 : (k + 1) % STAGE_GROUP_COUNT);
    def.m_bAccel = k % 7 == 0;
    def.m_nAccel = 3;
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
    built.Init(m_scene.m_nShotSerial++, owner, sword ? SHOTMAKER_SWORD : SHOTMAKER_SHOT, def, sp);
    m_scene.AddShot(built);
  }

  cSceneStageData m_scene;
  std::vector<cChara*> m_owners;
  std::vector<uint8_t> m_attr;  // the plain loop's map: 1 solid
  int m_spawned = 0;

  // The plain loop's shots and characters.
  struct Plain {
    std::vector<double> x, y, vx, vy, bx, by, ax, ay, phase, cosA, sinA, speed;
    std::vector<int32_t> kind, group, w, h, boxOff, boxW, life, turn, step;
    std::vector<uint8_t> done, gravity;
  } m_p;
  std::vector<double> m_cl[STAGE_GROUP_COUNT], m_ct[STAGE_GROUP_COUNT], m_cr[STAGE_GROUP_COUNT],
      m_cb[STAGE_GROUP_COUNT];
  double m_heroX = 0, m_heroY = 0;
};

void World::LoadPlain() {
  Plain p;
  for (const cShot& s : m_scene.m_Shots) {
    p.x.push_back(s.m_rcHit.dLeft);
    p.y.push_back(s.m_rcHit.dTop);
    p.vx.push_back(0);
    p.vy.push_back(0);
    p.bx.push_back(s.m_dBaseVx);
    p.by.push_back(s.m_dBaseVy);
    p.ax.push_back(s.m_dInertiaX);
    p.ay.push_back(s.m_dInertiaY);
    p.phase.push_back(0);
    p.cosA.push_back(0);
    p.sinA.push_back(1);
    p.speed.push_back(std::sqrt(s.m_dBaseVx * s.m_dBaseVx + s.m_dBaseVy * s.m_dBaseVy));
    p.kind.push_back(s.m_nKind == SHOTKIND_SWORD ? -1 : s.m_ShotDef.m_nPath);
    p.group.push_back(s.m_nGroup);
    p.w.push_back(s.m_nHitWidth);
    p.h.push_back(s.m_nHitHeight);
    p.boxOff.push_back(s.m_Box.nOffsetX);
    p.boxW.push_back(s.m_Box.nWidth);
    p.life.push_back(s.m_nLifeSteps);
    p.turn.push_back(s.m_ShotDef.m_nPathParam[0] * 8);
    p.step.push_back(0);
    p.done.push_back(0);
    p.gravity.push_back(0);
  }
  m_p = std::move(p);
  for (int g = 0; g < STAGE_GROUP_COUNT; ++g) {
    m_cl[g].clear(), m_ct[g].clear(), m_cr[g].clear(), m_cb[g].clear();
    for (cCharaBase* c : m_scene.m_CharaGroups[g]) {
      m_cl[g].push_back(c->m_ShotContact.rc.dLeft);
      m_ct[g].push_back(c->m_ShotContact.rc.dTop);
      m_cr[g].push_back(c->m_ShotContact.rc.dRight);
      m_cb[g].push_back(c->m_ShotContact.rc.dBottom);
    }
  }
  m_heroX = Player[0].CentreX();
  m_heroY = Player[0].CentreY();
}

int64_t World::PlainFrame() {
  Plain& p = m_p;
  const size_t n = p.x.size();
  const double S = Stage.m_dSteps, g = Stage.m_dGravityPerStep, max = Stage.m_dMaxSpeedPerStep;
  const double active = m_scene.m_ScrollX.m_nActiveSize, activeY = m_scene.m_ScrollY.m_nActiveSize;
  const double sx = m_scene.m_ScrollX.m_dPos, sy = m_scene.m_ScrollY.m_dPos;
  const int shift = m_scene.m_ScrollX.m_nShift;
  std::vector<uint8_t> alive(n, 1);
  int64_t hits = 0;
  for (int a = 0; a < Stage.m_nStepsPerFrame; ++a) {
    for (size_t i = 0; i < n; ++i) {
      if (!alive[i]) continue;
      if (p.life[i]-- <= 0) {
        alive[i] = 0;
        continue;
      }
      p.vx[i] = 0;
      if (!p.gravity[i]) p.vy[i] = 0;
      const int kind = p.kind[i];
      const double cx = p.x[i] - sx + 8, cy = p.y[i] - sy + 8;
      if (kind >= 1 && kind <= 7 && !p.done[i] && p.step[i] >= p.turn[i]) {
        // Aim once, or steer until the end: a direction and a square root.
        const double dx = m_heroX - cx, dy = m_heroY - cy;
        const double len = std::sqrt(dx * dx + dy * dy) + 1e-9;
        p.bx[i] = dx / len * p.speed[i];
        p.by[i] = dy / len * p.speed[i];
        if (kind <= 3 || p.step[i] > 60) p.done[i] = 1;
      } else if (kind == SHOTPATH_WAVE) {
        const double u = -0.1 * std::sin(p.phase[i] * 0.1) / S;
        p.phase[i] += 1;
        p.bx[i] += u * p.cosA[i];
        p.by[i] += u * p.sinA[i];
      } else if (kind == SHOTPATH_FALL && !p.gravity[i] && p.step[i] >= p.turn[i]) {
        p.gravity[i] = 1;
        p.vy[i] = p.by[i];
      }
      p.step[i] += 1;
      p.bx[i] += p.ax[i];
      p.vx[i] += p.bx[i];
      if (!p.gravity[i]) p.vy[i] += p.by[i];
      else p.vy[i] += g;
      double vx = p.vx[i] < -max ? -max : p.vx[i] > max ? max : p.vx[i];
      double vy = p.vy[i] < -max ? -max : p.vy[i] > max ? max : p.vy[i];
      double x = p.x[i] + vx, y = p.y[i] + vy;
      if (x < 0) x = 0;
      if (x + p.w[i] - 1 >= active) x = active - p.w[i];
      if (y < 0) y = 0;
      if (y + p.h[i] - 1 >= activeY) y = activeY - p.h[i];
      p.x[i] = x;
      p.y[i] = y;
      const double right = x + p.w[i] - 1, bottom = y + p.h[i] - 1;
      if (a == 0 && kind >= 0 && (right < sx - 128 || x > sx + 768 || bottom < sy - 128 || y > sy + 608)) {
        alive[i] = 0;
        continue;
      }
      const int l = static_cast<int>(x) >> 5, t = static_cast<int>(y) >> 5;
      const int r = static_cast<int>(right) >> 5, b = static_cast<int>(bottom) >> 5;
      if (m_attr[l + (static_cast<size_t>(t) << shift)] | m_attr[l + (static_cast<size_t>(b) << shift)] |
          m_attr[r + (static_cast<size_t>(t) << shift)] | m_attr[r + (static_cast<size_t>(b) << shift)]) {
        alive[i] = 0;
        continue;
      }
    }
    for (size_t i = 0; i < n; ++i) {
      if (!alive[i]) continue;
      const double bl = static_cast<int>(p.x[i]) + p.boxOff[i], bt = static_cast<int>(p.y[i]) + p.boxOff[i];
      const double br = bl + p.boxW[i] - 1, bb = bt + p.boxW[i] - 1;
      for (int h = 0; h < STAGE_GROUP_COUNT; ++h) {
        if (h == p.group[i]) continue;
        const double *L = m_cl[h].data(), *T = m_ct[h].data(), *R = m_cr[h].data(), *B = m_cb[h].data();
        const size_t m = m_cl[h].size();
        for (size_t j = 0; j < m; ++j) hits += !(L[j] > br || R[j] < bl || T[j] > bb || B[j] < bt);
      }
    }
  }
  return hits;
}

void OneFrame(benchmark::State& state) {
  const int level = static_cast<int>(state.range(0));
  World world(level);
  for (int i = 0; i < 30; ++i) {  // settle: paths under way, swords cycling
    world.Frame();
    world.TopUp();
  }
  Clock::duration objects{}, plain{};
  int64_t shotSteps = 0;
  for (auto _ : state) {
    state.PauseTiming();
    world.TopUp();
    world.LoadPlain();
    state.ResumeTiming();
    Clock::time_point start = Clock::now();
    benchmark::DoNotOptimize(world.Frame());
    objects += Clock::now() - start;
    start = Clock::now();
    benchmark::DoNotOptimize(world.PlainFrame());
    plain += Clock::now() - start;
    shotSteps += static_cast<int64_t>(kShots) * level;
  }
  const double iterations = static_cast<double>(state.iterations());
  const double ms = std::chrono::duration<double, std::milli>(objects).count() / iterations;
  const double plainMs = std::chrono::duration<double, std::milli>(plain).count() / iterations;
  state.counters["ms_per_frame"] = ms;
  state.counters["ns_per_shot_step"] =
      std::chrono::duration<double, std::nano>(objects).count() / static_cast<double>(shotSteps);
  state.counters["pct_of_60Hz_frame"] = 100.0 * ms / kFrameMs;
  state.counters["plain_ms_per_frame"] = plainMs;
  state.counters["ratio_to_plain"] = plainMs > 0 ? ms / plainMs : 0;
  state.SetLabel("1000 shots, 300 characters, S = " + std::to_string(level));
}

BENCHMARK(OneFrame)->Arg(1)->Arg(4)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();
