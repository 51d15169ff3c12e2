// Every move command over a few hundred logic steps at 1 and 3 steps a
// frame, its positions and speeds written bit for bit: the trace pinned in
// tests/fixtures/move_traces.txt must come out the same in every build
// (debug, release, sanitizers). After an intended change of a move, write
// it anew with UPDATE_MOVE_TRACES=1 build/test/tests/test_game
// --gtest_filter='MoveTraces.*'.
#include <gtest/gtest.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <functional>
#include <string>
#include <vector>

#include "game/action_commands.h"
#include "game/characters.h"
#include "move_test_env.h"
#include "support/builders.h"
#include "support/game_world.h"
#include "support/test_support.h"
#include "support/pinned_text.h"

using namespace testsupport;
using namespace movetest;

namespace {

constexpr int kSteps = 300;

// The state of a character after each step: one line every 25 steps and a
// hash of all of them.
class cTrace {
 public:
  cTrace(const std::string& name, int level) : m_name(name), m_level(level) {}

  void Note(int step, const cCharaBase& c) {
    const double values[] = {c.m_rcHit.dLeft, c.m_rcHit.dTop, c.m_dVx, c.m_dVy};
    for (double v : values) {
      uint64_t bits;
      std::memcpy(&bits, &v, sizeof bits);
      Mix(bits);
    }
    Mix(static_cast<uint64_t>(c.m_nDirection));
    if (step % 25 != 0) return;
    char line[256];
    std::snprintf(line, sizeof line, "%s S%d %3d x=%a y=%a vx=%a vy=%a dir=%d\n", m_name.c_str(), m_level, step,
                  c.m_rcHit.dLeft, c.m_rcHit.dTop, c.m_dVx, c.m_dVy, c.m_nDirection);
    m_text += line;
  }
  std::string Text() const {
    char line[128];
    std::snprintf(line, sizeof line, "%s S%d hash %016llx\n", m_name.c_str(), m_level,
                  static_cast<unsigned long long>(m_hash));
    return m_text + line;
  }

 private:
  void Mix(uint64_t v) {
    for (int i = 0; i < 8; ++i) {
      m_hash ^= (v >> (8 * i)) & 0xFF;
      m_hash *= 1099511628211ULL;
    }
  }
  std::string m_name;
  int m_level;
  std::string m_text;
  uint64_t m_hash = 1469598103934665603ULL;
};

// A character that launches from its floor when its jump command first asks.
class cTraceJumper : public cChara {
 public:
  int Jump(cCommandInstance& instance) override {
    if (instance.m_bBegun || m_rcHit.dTop < m_dFloor) return 0;
    instance.m_bBegun = 1;
    m_dVy = instance.m_dSpeed;
    return 1;
  }
  double m_dFloor = 0;
};

// kSteps logic steps of `c` in frames of the stage's S steps, its flows
// tried once a frame; `before` runs ahead of each step (moving a target,
// the view), `after` after it.
void Run(GameWorld& world, cCharaBase& c, cTrace& trace, bool gravity,
         const std::function<void(int)>& before = nullptr, const std::function<void(int)>& after = nullptr) {
  int n = 0;
  while (n < kSteps) {
    world.RunFrame([&](int a) {
      if (n >= kSteps) return;
      if (a == 0) c.ResetStepTriggers();
      if (before) before(n);
      MoveStep(c, gravity);
      if (after) after(n);
      ++n;
      trace.Note(n, c);
    });
  }
}

// A target that goes round a rectangle, 40 steps a side.
void Wander(cGameObject& o, int n) {
  static const int dx[] = {3, 0, -3, 0}, dy[] = {0, 2, 0, -2};
  const int leg = (n / 40) % 4;
  o.m_rcHit.dLeft += dx[leg];
  o.m_rcHit.dTop += dy[leg];
  o.UpdateScreenRect();
}

cEdChara Def(int flyMode, int fixed, int facing, const cEdFlow& flow) {
  CharaDef def = CharaDef().Fly(flyMode).Facing(facing).Flow(flow);
  def.Def().m_bFixDirection = static_cast<int8_t>(fixed);
  return def;
}

const std::vector<std::string> kOpenMap(20, std::string(30, '.'));

std::string Straight(int level) {
  GameWorld world(level);
  MapBuilder(kOpenMap).Build();
  const cEdFlow flow =
      FlowDef()
          .Command(MoveCommand(ACTCMDTYPE_MOVE_STRAIGHT, MoveDef().Code(3).Angle(30).Speed(25), 3))
          .Command(MoveCommand(ACTCMDTYPE_MOVE_STRAIGHT,
                               MoveDef().Method(1).Basis(0).TargetCells(4, -2).TargetDots(5, 3).StopOnArrival(1).Speed(40),
                               9))
          .Command(MoveCommand(ACTCMDTYPE_MOVE_STRAIGHT, MoveDef().Code(DIRCODE_INPUT).Speed(15), 2))
          .Command(CommandDef().UseTime(1));
  cChara& c = world.AddChara(Def(FLYMODE_THROUGH, 0, 1, flow), {5, 10});
  world.UpdatePresence();
  cTrace trace("straight", level);
  Run(world, c, trace, false);
  return trace.Text();
}

std::string GroundTurn(int level) {
  GameWorld world(level);
  MapBuilder({"..........", "..........", "..####....", ".........."}).Build();
  const cEdFlow flow = FlowDef()
                           .Command(MoveCommand(ACTCMDTYPE_MOVE_GROUND_TURN, MoveDef().Speed(17), 7))
                           .Command(CommandDef().UseTime(0));
  cChara& c = world.AddChara(Def(FLYMODE_WALK, 1, 1, flow), {3, 1});
  world.UpdatePresence();
  cTrace trace("ground-turn", level);
  // A knock-back for a while in the middle.
  Run(world, c, trace, false, [&](int n) { c.m_dKnockX = n >= 100 && n < 110 ? 0.5 : 0; });
  return trace.Text();
}

std::string Circle(int level) {
  GameWorld world(level);
  MapBuilder(kOpenMap).Build();
  const cEdFlow flow =
      FlowDef()
          .Command(MoveCommand(ACTCMDTYPE_MOVE_CIRCLE,
                               MoveDef().Code(2).Mirror(1, 0).Angle(45).Distance(405).Radius(3).Timing(0), 4))
          .Command(MoveCommand(ACTCMDTYPE_MOVE_CIRCLE,
                               MoveDef().Code(1).Distance(180).Radius(2).Timing(1).Speed(50 * level), 1))
          .Command(CommandDef().UseTime(0));
  cChara& c = world.AddChara(Def(FLYMODE_THROUGH, 1, 1, flow), {12, 10});
  world.UpdatePresence();
  cTrace trace("circle", level);
  Run(world, c, trace, false);
  return trace.Text();
}

std::string Charge(int level, int flyMode) {
  GameWorld world(level);
  MapBuilder(kOpenMap).Build();
  cHero& hero = world.AddHero(CharaDef().PlayerOperated().Fly(FLYMODE_THROUGH), {20, 5});
  const cEdFlow flow = FlowDef()
                           .Command(MoveCommand(ACTCMDTYPE_MOVE_CHARGE, MoveDef().Angle(15).Speed(35), 2))
                           .Command(CommandDef().UseTime(1));
  cChara& c = world.AddChara(Def(flyMode, 0, 0, flow), {5, 12});
  world.UpdatePresence();
  cTrace trace(flyMode ? "charge-flying" : "charge-walking", level);
  Run(world, c, trace, false, [&](int n) { Wander(hero, n); });
  return trace.Text();
}

std::string Homing(int level, int flyMode) {
  GameWorld world(level);
  MapBuilder(kOpenMap).Build();
  cHero& hero = world.AddHero(CharaDef().PlayerOperated().Fly(FLYMODE_THROUGH), {20, 5});
  const cEdFlow flow =
      FlowDef().Command(MoveCommand(ACTCMDTYPE_MOVE_HOMING, MoveDef().Radius(2).TargetDots(0, -40).Speed(30), 20));
  cChara& c = world.AddChara(Def(flyMode, 0, 0, flow), {5, 12});
  world.UpdatePresence();
  cTrace trace(flyMode ? "homing-flying" : "homing-walking", level);
  Run(world, c, trace, false, [&](int n) { Wander(hero, n); });
  return trace.Text();
}

std::string AvoidOffscreen(int level) {
  GameWorld world(level);
  MapBuilder(kOpenMap).Build();
  cScrollAxis& ax = world.Scene().m_ScrollX;
  ax.m_dPos = 320;
  ax.SetAutoScroll(1, 15);
  const cEdFlow flow =
      FlowDef().Command(MoveCommand(ACTCMDTYPE_MOVE_AVOID_OFFSCREEN, MoveDef().Code(DIRCODE_DOWN_RIGHT).Speed(20), 5));
  cChara& c = world.AddChara(Def(FLYMODE_THROUGH, 1, 0, flow), {2, 16});
  world.UpdatePresence();
  cTrace trace("avoid-offscreen", level);
  Run(world, c, trace, false, [&](int) { ax.Step(); });
  return trace.Text();
}

std::string Turn(int level) {
  GameWorld world(level);
  MapBuilder(kOpenMap).Build();
  cHero& hero = world.AddHero(CharaDef().PlayerOperated().Fly(FLYMODE_THROUGH), {4, 10});
  const cEdFlow flow = FlowDef()
                           .Command(MoveCommand(ACTCMDTYPE_MOVE_STRAIGHT, MoveDef().Code(0).Speed(12), 50).NoWait())
                           .Command(CommandDef(ACTCMDTYPE_TURN).Param(0, 3).UseTime(50));
  cChara& c = world.AddChara(Def(FLYMODE_WALK, 1, 0, flow), {10, 10});
  world.UpdatePresence();
  cTrace trace("turn", level);
  // The target walks to and fro across the character.
  Run(world, c, trace, false, [&](int n) {
    hero.m_rcHit.dLeft += (n / 90) % 2 ? -4 : 4;
    hero.UpdateScreenRect();
  });
  return trace.Text();
}

std::string DisableMove(int level) {
  GameWorld world(level);
  MapBuilder(kOpenMap).Build();
  const cEdFlow flow = FlowDef()
                           .Command(MoveCommand(ACTCMDTYPE_MOVE_STRAIGHT, MoveDef().Code(3).Speed(20), 1))
                           .Command(CommandDef(ACTCMDTYPE_MOVE_DISABLE).UseTime(1))
                           .Command(CommandDef().UseTime(0));
  cChara& c = world.AddChara(Def(FLYMODE_WALK, 1, 0, flow), {2, 2});
  world.UpdatePresence();
  cTrace trace("disable-move", level);
  Run(world, c, trace, true);
  return trace.Text();
}

std::string Jump(int level) {
  GameWorld world(level);
  MapBuilder(kOpenMap).Build();
  const cEdFlow flow = FlowDef().Command(CommandDef(ACTCMDTYPE_JUMP).Param(2, 3)).Command(CommandDef().UseTime(1));
  cTraceJumper c;
  SetUpTestChara(c, Def(FLYMODE_WALK, 1, 0, flow), 7, {5, 10}, 0, false);
  c.UpdateScreenRect();
  const double floor = c.m_dFloor = c.m_rcHit.dTop;
  cTrace trace("jump", level);
  // Lands where it started.
  Run(world, c, trace, true, nullptr, [&](int) {
    if (c.m_rcHit.dTop < floor) return;
    c.m_rcHit.dTop = floor;
    c.ConfineY();
    c.m_dVy = 0;
  });
  return trace.Text();
}

std::string AllTraces() {
  std::string text;
  for (int level : {1, 3}) {
    text += Straight(level);
    text += GroundTurn(level);
    text += Circle(level);
    text += Charge(level, FLYMODE_THROUGH);
    text += Charge(level, FLYMODE_WALK);
    text += Homing(level, FLYMODE_THROUGH);
    text += Homing(level, FLYMODE_WALK);
    text += AvoidOffscreen(level);
    text += Turn(level);
    text += DisableMove(level);
    text += Jump(level);
  }
  return text;
}


}  // namespace

TEST(MoveTraces, EveryMoveRunsTheSameBitForBit) {
  const std::string actual = AllTraces();
  const std::string path = Fixture("move_traces.txt");
  if (testsupport::UpdatePinnedText("UPDATE_MOVE_TRACES", path, actual)) GTEST_SKIP() << "wrote " << path;
  EXPECT_TRUE(testsupport::MatchesPinnedText(path, actual));
}
