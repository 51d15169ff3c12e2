// The solid contacts and the attacks of one play frame: 300 characters in
// eight groups (30 of them block characters, each with a rider standing on
// it) and 1,000 shots, at S = 1 and S = 4 logic steps per frame. Each step
// runs the contact rule for every character that is not a block character
// and the attack rule once, as the play step does. Reported: microseconds
// per frame and the share of a 60 Hz frame (16.7 ms); target under 1 ms at
// S = 1. The reference is the same overlap tests as a plain loop over
// arrays of boxes (characters against block characters; shots against the
// characters of other groups, bodies of two groups, shots of two groups);
// target within 4 times it. Shots that clashed and went are replaced between
// the timed frames.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <string>
#include <vector>

#include "game/characters.h"
#include "game/game.h"
#include "game/gone_objects.h"
#include "game/shot.h"
#include "records/database.h"
#include "records/map_cell.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/system.h"
#include "stage/scene_stage.h"
#include "rate_reporter.h"

namespace {

constexpr int kMapW = 100, kMapH = 40;
constexpr int kCharas = 300, kBlocks = 30, kShots = 1000;
constexpr double kFrameMs = 1000.0 / 60.0;

// Spread over a window of 60 × 30 cells.
double SpreadX(int k) { return 320 + (k * 373) % 1900; }
double SpreadY(int k) { return 320 + (k * 157) % 900; }

class World {
 public:
  explicit World(int steps) {
    SystemData.Reset();
    Database.Reset();
    BuildDatabaseRunTables();
    PlayData.Reset();
    Stage.Reset();
    Stage.SetSpeedLevel(steps);
    Stage.m_nWidth = kMapW;
    Stage.m_nHeight = kMapH;
    Stage.m_nWidthDots = kMapW * 32;
    Stage.m_nHeightDots = kMapH * 32;
    Stage.m_bHitOnScreen = 0;
    m_scene = new cSceneStage();
    CurStage = m_scene;
    m_scene->SetUpScrollAxes(Stage);
    m_scene->m_nPhase = STAGESTATE_PLAY;
    m_scene->m_vHitSteps = MakeHitSteps(steps, 0);
    MAPCELL empty;
    empty.Block.m_nGraphic = 0;
    empty.Block.m_nHit = BLOCKHIT_NONE;
    MapCell.assign(static_cast<size_t>(m_scene->m_ScrollX.m_nPitch) * m_scene->m_ScrollY.m_nCells, empty);
    Player.clear();
    CharaList.clear();
    Player.resize(1);
    cEdChara heroDef;
    heroDef.m_nOperator = 0;
    heroDef.m_nFaction = 0;
    Player[0].SetUp(m_scene->m_nCharaSerial++, heroDef, 0, 0);
    Place(Player[0], 320, 320);
    m_scene->m_CharaGroups.At(0).push_back(&Player[0]);
    for (int k = 0; k < kBlocks; ++k) {
      cEdChara def;
      def.m_nOperator = 1;
      def.m_nFaction = static_cast<int8_t>(k % STAGE_GROUP_COUNT);
      def.m_bBlockChara = 1;
      def.m_nFlyMode = FLYMODE_THROUGH;
      cChara& block = Add(def, 320 + 64.0 * (k % 15), 800 + 128.0 * (k / 15));
      // Its rider's bottom row on its top row: it lands in the first step.
      cEdChara riderDef;
      riderDef.m_nOperator = 1;
      riderDef.m_nFaction = static_cast<int8_t>((k + 3) % STAGE_GROUP_COUNT);
      cChara& rider = Add(riderDef, block.m_rcHit.dLeft + 8, 0);
      Place(rider, block.m_rcHit.dLeft + 8, block.m_rcHit.dTop - rider.m_nHitHeight + 1);
    }
    for (int k = 0; CharaList.size() < kCharas - 1; ++k) {
      cEdChara def;
      def.m_nOperator = 1;
      def.m_nFaction = static_cast<int8_t>(k % STAGE_GROUP_COUNT);
      def.m_nFlyMode = static_cast<int8_t>(k % 3 == 0 ? FLYMODE_STOPPED : FLYMODE_WALK);
      Add(def, SpreadX(k), SpreadY(k));
    }
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

  // The contact and attack rules of one frame.
  void Frame() {
    const int steps = Stage.StepsPerFrame();
    for (int s = 0; s < steps; ++s) {
      m_scene->m_nStepInFrame = s + 1;
      m_scene->ResolveSolidContacts(Player[0], CharaList);
      for (cChara& c : CharaList)
        if (!c.m_Def.m_bBlockChara) m_scene->ResolveSolidContacts(c, CharaList);
      m_scene->ResolveAttacks(CharaList);
      SweepGoneObjects();
    }
  }

  // Back to the full count of shots (those that clashed went), outside the
  // timed frames.
  void TopUp() {
    while (StageData().m_Shots.size() < static_cast<size_t>(kShots)) Spawn(m_spawned++);
  }

  int Riding() const {
    int n = 0;
    for (const cChara& c : CharaList) n += c.m_bRiding;
    return n;
  }

 private:
  static void Place(cCharaBase& c, double x, double y) {
    c.m_rcHit.dLeft = x;
    c.m_rcHit.dTop = y;
    c.ClampX(2);
    c.ClampY(2);
    c.SavePrevHitBox();
    c.m_bPresent = 1;
  }
  cChara& Add(const cEdChara& def, double x, double y) {
    cChara c;
    c.SetUp(m_scene->m_nCharaSerial++, def, nullptr, 0, 0, 0);
    Place(c, x, y);
    CharaList.push_back(c);
    cChara& added = CharaList.back();
    m_scene->m_CharaGroups.At(added.m_nGroup).push_back(&added);
    return added;
  }

  void Spawn(int k) {
    cEdShot def;
    def.m_bUserSide = 0;
    def.m_nSide = static_cast<int8_t>(k % STAGE_GROUP_COUNT);
    def.m_bClash = static_cast<int8_t>(k % 4 == 0);  // a quarter can be shot down
    def.m_nVanish = static_cast<int8_t>(1 + k % 9);
    SHOTSPAWN sp;
    sp.nX = static_cast<int32_t>(SpreadX(k * 7 + 3));
    sp.nY = static_cast<int32_t>(SpreadY(k * 7 + 3));
    cShot built;
    built.Init(m_scene->m_nShotSerial++, Player[0], SHOTMAKER_SHOT, def, sp);
    built.m_bPresent = 1;
    m_scene->AddShot(built);
  }

  cSceneStage* m_scene = nullptr;
  int m_spawned = 0;
};

void RulesFrame(benchmark::State& state) {
  const int steps = static_cast<int>(state.range(0));
  World world(steps);
  world.Frame();  // the riders land
  for (auto _ : state) {
    state.PauseTiming();
    world.TopUp();
    state.ResumeTiming();
    world.Frame();
  }
  state.SetItemsProcessed(state.iterations());
  state.counters["riding"] = world.Riding();
  state.SetLabel(std::to_string(kCharas) + " characters, " + std::to_string(kShots) + " shots, S = " +
                 std::to_string(steps));
}

// The same overlap tests over arrays of boxes by group.
struct Plain {
  std::vector<DRECT> solids;
  std::vector<DRECT> others;
  std::vector<DRECT> charas[STAGE_GROUP_COUNT];
  std::vector<DRECT> shotBoxes[STAGE_GROUP_COUNT];  // attack boxes
  std::vector<DRECT> shotHits[STAGE_GROUP_COUNT];   // boxes that meet shots

  explicit Plain(int steps) {
    World world(steps);
    const cSceneStageData& scene = StageData();
    others.push_back(Player[0].m_rcHit);
    charas[Player[0].m_nGroup].push_back(Player[0].m_Contact.rc);
    for (const cChara& c : CharaList) {
      (c.m_Def.m_bBlockChara ? solids : others).push_back(c.m_rcHit);
      if (!c.m_Def.m_bBlockChara) charas[c.m_nGroup].push_back(c.m_Contact.rc);
    }
    for (const cShot& s : scene.m_Shots) {
      shotBoxes[s.m_nGroup].push_back(s.m_Box.rc);
      shotHits[s.m_nGroup].push_back(s.m_rcHit);
    }
  }
  int Frame(int steps) const {
    int hits = 0;
    for (int s = 0; s < steps; ++s) {
      for (const DRECT& o : others)
        for (const DRECT& b : solids) hits += o.Overlaps(b);
      for (int g = 0; g < STAGE_GROUP_COUNT; ++g)
        for (int h = 0; h < STAGE_GROUP_COUNT; ++h)
          if (g != h)
            for (const DRECT& shot : shotBoxes[g])
              for (const DRECT& c : charas[h]) hits += shot.Overlaps(c);
      for (int i = 0; i < STAGE_GROUP_COUNT; ++i)
        for (int j = i + 1; j < STAGE_GROUP_COUNT; ++j) {
          for (const DRECT& p : charas[i])
            for (const DRECT& r : charas[j]) hits += p.Overlaps(r);
          for (const DRECT& w : shotHits[i])
            for (const DRECT& v : shotHits[j]) hits += w.Overlaps(v);
        }
    }
    return hits;
  }
};

void PlainFrame(benchmark::State& state) {
  const int steps = static_cast<int>(state.range(0));
  const Plain plain(steps);
  for (auto _ : state) benchmark::DoNotOptimize(plain.Frame(steps));
  state.SetItemsProcessed(state.iterations());
  state.SetLabel("the same overlap tests over arrays, S = " + std::to_string(steps));
}

BENCHMARK(RulesFrame)->Arg(1)->Arg(4)->Unit(benchmark::kMicrosecond);
BENCHMARK(PlainFrame)->Arg(1)->Arg(4)->Unit(benchmark::kMicrosecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  RateReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  for (const char* s : {"1", "4"}) {
    const auto rate = [&](const std::string& name) {
      auto it = reporter.rates.find(name + "/" + s);
      return it == reporter.rates.end() ? 0.0 : it->second;
    };
    const double rules = rate("RulesFrame"), plain = rate("PlainFrame");
    if (rules <= 0 || plain <= 0) continue;
    const double ms = 1000.0 / rules;
    std::printf("S = %s: %.1f us per frame, %.2f %% of a 60 Hz frame%s; plain loop %.1f us; ratio %.2f (target: "
                "within 4)\n",
                s, ms * 1000.0, 100.0 * ms / kFrameMs, s[0] == '1' ? " (target: under 1 ms)" : "",
                1e6 / plain, plain / rules);
  }
  benchmark::Shutdown();
  return 0;
}
