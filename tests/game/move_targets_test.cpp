// The moves that go by another character or by the view, run through real
// flows at 1 and 3 logic steps a frame: the charge that aims once, the
// homing move with its trail of target points, and coming back into view.
#include <gtest/gtest.h>

#include <cmath>
#include <string>
#include <vector>

#include "game/action_commands.h"
#include "game/characters.h"
#include "move_test_env.h"
#include "support/builders.h"
#include "support/game_world.h"

using namespace testsupport;
using namespace movetest;

namespace {

cEdChara Mover(int flying, const cEdCommand& command) {
  CharaDef def = CharaDef().Fly(flying ? FLYMODE_THROUGH : FLYMODE_WALK);
  def.Flow(FlowDef(FLOWTRIGGER_NONE).Command(command));
  return def;
}

struct POINTD {
  double x = 0, y = 0;
};

POINTD CentreOf(const cGameObject& o) { return {static_cast<double>(o.CentreX()), static_cast<double>(o.CentreY())}; }

// The velocity at `speed` from `from` toward `to`.
POINTD Toward(POINTD from, POINTD to, double speed) {
  const double dx = to.x - from.x, dy = to.y - from.y;
  double d = std::sqrt(dx * dx + dy * dy);
  if (d == 0) d = 1;
  return {dx / d * speed, dy / d * speed};
}

void MoveBy(cGameObject& o, double dx, double dy) {
  o.m_rcHit.dLeft += dx;
  o.m_rcHit.dTop += dy;
  o.UpdateScreenRect();
}

void Erase(GameWorld& world, cChara& c) {
  world.Scene().m_CharaGroups.At(c.m_nGroup).remove(&c);
  for (auto it = CharaList.begin(); it != CharaList.end(); ++it)
    if (&*it == &c) {
      CharaList.erase(it);
      return;
    }
}

}  // namespace

TEST(ChargeMove, AimsOnceAtItsTargetAndKeepsThatLine) {
  for (int level : {1, 3}) {
    GameWorld world(level);
    MapBuilder(std::vector<std::string>(12, std::string(20, '.'))).Build();
    cHero& hero = world.AddHero(CharaDef().PlayerOperated().Fly(FLYMODE_THROUGH), {5, 7});
    cChara& c = world.AddChara(Mover(1, MoveCommand(ACTCMDTYPE_MOVE_CHARGE, MoveDef().Speed(30), 3)), {2, 3});
    world.UpdatePresence();
    const double v = 30 * 0.1 / level;
    const POINTD aim = Toward(CentreOf(c), CentreOf(hero), v);
    double x = c.m_rcHit.dLeft, y = c.m_rcHit.dTop;
    StartFlow(c, 0);
    for (int s = 0; s < 18 * level; ++s) {
      MoveStep(c);
      x += aim.x;
      y += aim.y;
      EXPECT_EQ(Command(c).m_dVx, aim.x);
      EXPECT_EQ(Command(c).m_dVy, aim.y);
      MoveBy(hero, -5, -7);  // it charges where the target was
    }
    EXPECT_EQ(c.m_rcHit.dLeft, x) << "S " << level;
    EXPECT_EQ(c.m_rcHit.dTop, y) << "S " << level;
    EXPECT_EQ(c.m_vFlows[0].m_bRunning, 0);
  }
}

TEST(ChargeMove, AWalkerChargesAlongTheGroundAndAnAngleTurnsTheAim) {
  GameWorld world;
  MapBuilder(std::vector<std::string>(12, std::string(20, '.'))).Build();
  cHero& hero = world.AddHero(CharaDef().PlayerOperated().Fly(FLYMODE_THROUGH), {9, 1});
  struct Case {
    int flying;
    int angle;
    int targetDotX;
  } cases[] = {{0, 0, 0}, {0, 0, -300}, {0, 90, 0}, {1, 0, 0}, {1, 90, 0}, {1, 30, 64}};
  for (const Case& k : cases) {
    const cEdMove move = MoveDef().Angle(k.angle).TargetDots(k.targetDotX, 0).Speed(20).Def();
    cChara& c = world.AddChara(Mover(k.flying, MoveCommand(ACTCMDTYPE_MOVE_CHARGE, move, 1)), {2, 5});
    world.UpdatePresence();
    const double v = 2.0;
    const POINTD from = CentreOf(c);
    StartFlow(c, 0);
    MoveStep(c);
    POINTD expected;
    if (k.flying) {
      const POINTD to{static_cast<double>(hero.CentreX() + k.targetDotX), static_cast<double>(hero.CentreY())};
      expected = Toward(from, to, v);
    } else {
      expected = {hero.CentreX() + k.targetDotX > from.x ? v : -v, 0.0};
    }
    if (k.angle != 0) {
      const int aimed = static_cast<int>(std::atan2(expected.y, expected.x) * 57.29577951308232 + 180);
      const double a = (aimed + k.angle) * 3.14159265358979 / 180;
      expected.x = -std::cos(a) * v;
      if (k.flying) expected.y = -std::sin(a) * v;
    }
    SCOPED_TRACE("flying " + std::to_string(k.flying) + " angle " + std::to_string(k.angle));
    EXPECT_EQ(Command(c).m_dVx, expected.x);
    EXPECT_EQ(Command(c).m_dVy, k.flying ? expected.y : 0.0);
  }
}

TEST(ChargeMove, NoWayToGoIsNotTurnedIntoOne) {
  GameWorld world;
  MapBuilder(std::vector<std::string>(12, std::string(20, '.'))).Build();
  world.AddHero(CharaDef().PlayerOperated().Fly(FLYMODE_THROUGH), {9, 1});
  struct Case {
    int flying, verticalOnly, cell;
  } cases[] = {{0, 1, 2}, {1, 0, 9}};  // a walker that may not go sideways; a flier on its target
  for (const Case& k : cases) {
    const cEdMove move = MoveDef().Angle(45).VerticalOnly(k.verticalOnly).Speed(20).Def();
    cChara& c = world.AddChara(Mover(k.flying, MoveCommand(ACTCMDTYPE_MOVE_CHARGE, move, 1)), {k.cell, 1});
    world.UpdatePresence();
    const double x = c.m_rcHit.dLeft, y = c.m_rcHit.dTop;
    StartFlow(c, 0);
    for (int s = 0; s < 6; ++s) MoveStep(c);
    EXPECT_EQ(c.m_rcHit.dLeft, x) << "flying " << k.flying;
    EXPECT_EQ(c.m_rcHit.dTop, y) << "flying " << k.flying;
  }
}

TEST(ChargeMove, WithoutATargetOrWithADefeatedOneItStaysAndAnErasedTargetStopsIt) {
  GameWorld world;
  MapBuilder(std::vector<std::string>(12, std::string(20, '.'))).Build();
  cChara& target = world.AddChara(CharaDef(), {9, 5});
  const cEdCommand charge = MoveCommand(ACTCMDTYPE_MOVE_CHARGE, MoveDef().Speed(20), 2);
  cChara& none = world.AddChara(Mover(1, charge), {2, 2});
  cChara& defeated = world.AddChara(Mover(1, charge), {2, 3});
  cChara& erased = world.AddChara(Mover(1, charge), {2, 5});
  defeated.m_nTargetId = erased.m_nTargetId = target.m_nId;
  world.UpdatePresence();
  target.m_bDefeated = 1;
  const double x1 = none.m_rcHit.dLeft, x2 = defeated.m_rcHit.dLeft, x3 = erased.m_rcHit.dLeft;
  for (cChara* c : {&none, &defeated, &erased}) StartFlow(*c, 0);
  for (int s = 0; s < 3; ++s) {
    MoveStep(none);
    MoveStep(defeated);
    target.m_bDefeated = 0;
    MoveStep(erased);
    target.m_bDefeated = 1;
  }
  EXPECT_EQ(none.m_rcHit.dLeft, x1);
  EXPECT_EQ(none.m_bMoved, 0);
  EXPECT_EQ(defeated.m_rcHit.dLeft, x2);
  EXPECT_EQ(defeated.m_bMoved, 0);
  // Straight along its row at 2 dots a step.
  EXPECT_EQ(erased.m_rcHit.dLeft, x3 + 2.0 + 2.0 + 2.0);
  Erase(world, target);
  MoveStep(erased);
  EXPECT_EQ(erased.m_rcHit.dLeft, x3 + 2.0 + 2.0 + 2.0);
  EXPECT_EQ(Command(erased).m_dVx, 0.0);
}

TEST(HomingMove, WithAnIntervalItAimsWhereTheTargetWasThatManyStepsBefore) {
  // Intervals count frames: 3 at S = 1 and 1 at S = 3 are both 3 steps.
  struct Case {
    int level, interval;
  } cases[] = {{1, 3}, {3, 1}, {1, 0}};
  for (const Case& k : cases) {
    GameWorld world(k.level);
    MapBuilder(std::vector<std::string>(15, std::string(30, '.'))).Build();
    cHero& hero = world.AddHero(CharaDef().PlayerOperated().Fly(FLYMODE_THROUGH), {10, 3});
    const cEdMove move = MoveDef().Radius(k.interval).Speed(20).Def();
    cChara& c = world.AddChara(Mover(1, MoveCommand(ACTCMDTYPE_MOVE_HOMING, move, 5)), {2, 10});
    world.UpdatePresence();
    const int n = 3 * (k.interval != 0);
    const double v = 20 * 0.1 / k.level;
    std::vector<POINTD> points;
    POINTD expected;
    StartFlow(c, 0);
    for (int s = 0; s < 30 * k.level; ++s) {
      points.push_back(CentreOf(hero));
      const POINTD from = CentreOf(c);
      MoveStep(c);
      if (n == 0 || s == 0)
        expected = Toward(from, points[s], v);
      else if (s % n == 0)
        expected = Toward(from, points[s - n], v);
      SCOPED_TRACE("S " + std::to_string(k.level) + " interval " + std::to_string(k.interval) + " step " +
                   std::to_string(s));
      ASSERT_EQ(Command(c).m_dVx, expected.x);
      ASSERT_EQ(Command(c).m_dVy, expected.y);
      EXPECT_EQ(Command(c).m_nCount, s + 1);
      MoveBy(hero, 4, 2);
    }
  }
}

TEST(HomingMove, AWalkerHomesAlongTheGroundAndStopsOnArrival) {
  GameWorld world;
  MapBuilder(std::vector<std::string>(6, std::string(20, '.'))).Build();
  cHero& hero = world.AddHero(CharaDef().PlayerOperated(), {9, 2});
  struct Case {
    int cell;
    int stop, verticalOnly;
    double vx;   // first step
    int count;   // after it
  } cases[] = {{2, 0, 0, 2.0, 1}, {15, 0, 0, -2.0, 1}, {9, 0, 0, -2.0, 1}, {2, 0, 1, 0.0, 0}};
  for (const Case& k : cases) {
    const cEdMove move = MoveDef().Speed(20).StopOnArrival(k.stop).VerticalOnly(k.verticalOnly).Def();
    cChara& c = world.AddChara(Mover(0, MoveCommand(ACTCMDTYPE_MOVE_HOMING, move, 5)), {k.cell, 2});
    world.UpdatePresence();
    StartFlow(c, 0);
    MoveStep(c);
    EXPECT_EQ(Command(c).m_dVx, k.vx) << "cell " << k.cell;
    EXPECT_EQ(Command(c).m_dVy, 0.0);
    EXPECT_EQ(Command(c).m_nCount, k.count) << "cell " << k.cell;
  }
  // Arrived with stop-on-arrival: its centre snaps to the target's and it stops.
  cChara& c = world.AddChara(Mover(0, MoveCommand(ACTCMDTYPE_MOVE_HOMING, MoveDef().Speed(20).StopOnArrival(1), 5)),
                             {9, 2});
  world.UpdatePresence();
  MoveBy(c, 0.5, 0);  // its centre one dot right of the target's
  ASSERT_EQ(c.CentreX(), hero.CentreX() + 1);
  StartFlow(c, 0);
  MoveStep(c);
  EXPECT_EQ(c.CentreX(), hero.CentreX());
  EXPECT_EQ(Command(c).m_dVx, 0.0);
}

TEST(HomingMove, NothingHappensWithoutATargetOrWithADefeatedOne) {
  GameWorld world;
  MapBuilder(std::vector<std::string>(6, std::string(20, '.'))).Build();
  cChara& target = world.AddChara(CharaDef(), {9, 2});
  const cEdCommand homing = MoveCommand(ACTCMDTYPE_MOVE_HOMING, MoveDef().Speed(20), 5);
  cChara& none = world.AddChara(Mover(1, homing), {2, 2});
  cChara& defeated = world.AddChara(Mover(1, homing), {2, 3});
  defeated.m_nTargetId = target.m_nId;
  target.m_bDefeated = 1;
  world.UpdatePresence();
  for (cChara* c : {&none, &defeated}) {
    const double x = c->m_rcHit.dLeft;
    c->m_bAnchorX = 1;
    StartFlow(*c, 0);
    MoveStep(*c);
    EXPECT_EQ(c->m_rcHit.dLeft, x);
    EXPECT_EQ(c->m_bAnchorX, 1);
    EXPECT_EQ(Command(*c).m_nCount, 0);
  }
}

TEST(AvoidOffscreenMove, ComesBackOnlyFromBeyondTheViewsEdgesAndWithTheAutoScroll) {
  GameWorld world;
  MapBuilder(std::vector<std::string>(40, std::string(60, '.'))).Build();
  cScrollAxis& ax = world.Scene().m_ScrollX;
  cScrollAxis& ay = world.Scene().m_ScrollY;
  // The view may go from 320 to 1600 across and to 1120 down.
  ASSERT_EQ(ax.m_nMin, 320);
  ASSERT_EQ(ax.m_nMax - 640, 1600);
  ASSERT_EQ(ay.m_nMax - 480, 1120);
  struct Case {
    const char* what;
    int code, facing, flying;
    double c, e;
    int atLimit;
    double sx;
    IRECT rc;
    double vx, vy;
  } cases[] = {
      {"left beyond", DIRCODE_LEFT, 0, 1, 0, 0, 0, 1000, {609, 100, 640, 131}, -2.5, 0},
      {"left at", DIRCODE_LEFT, 0, 1, 0, 0, 0, 1000, {608, 100, 639, 131}, 0, 0},
      {"right beyond", DIRCODE_RIGHT, 0, 1, 0, 0, 0, 1000, {0, 100, 31, 131}, 2.5, 0},
      {"right at", DIRCODE_RIGHT, 0, 1, 0, 0, 0, 1000, {1, 100, 32, 131}, 0, 0},
      {"up beyond", DIRCODE_UP, 0, 1, 0, 0, 0, 1000, {100, 449, 131, 480}, 0, -2.5},
      {"up at", DIRCODE_UP, 0, 1, 0, 0, 0, 1000, {100, 448, 131, 479}, 0, 0},
      {"up walking", DIRCODE_UP, 0, 0, 0, 0, 0, 1000, {100, 449, 131, 480}, 0, 0},
      {"down beyond", DIRCODE_DOWN, 0, 1, 0, 0, 0, 1000, {100, 0, 131, 31}, 0, 2.5},
      {"down at", DIRCODE_DOWN, 0, 1, 0, 0, 0, 1000, {100, 1, 131, 32}, 0, 0},
      {"up-left", DIRCODE_UP_LEFT, 0, 1, 0, 0, 0, 1000, {609, 449, 640, 480}, -2.5, -2.5},
      {"down-right, in below", DIRCODE_DOWN_RIGHT, 0, 1, 0, 0, 0, 1000, {0, 40, 31, 71}, 2.5, 0},
      {"front facing left", DIRCODE_FRONT, 0, 1, 0, 0, 0, 1000, {609, 100, 640, 131}, -2.5, 0},
      {"front facing right", DIRCODE_FRONT, 1, 1, 0, 0, 0, 1000, {609, 100, 640, 131}, 0, 0},
      {"back-vertical facing right", DIRCODE_BACK_Y, 1, 1, 0, 0, 0, 1000, {100, 449, 131, 480}, 0, -2.5},
      {"input direction", DIRCODE_INPUT, 0, 1, 0, 0, 0, 1000, {609, 449, 640, 480}, 0, 0},
      // The view scrolling right at 1 a step: the edges come |c + 1| nearer.
      {"scroll, left beyond", DIRCODE_LEFT, 0, 1, 1, 0, 0, 1000, {607, 100, 638, 131}, 1 - 2.5, 0},
      {"scroll, left at", DIRCODE_LEFT, 0, 1, 1, 0, 0, 1000, {606, 100, 637, 131}, 0, 0},
      {"scroll, right beyond", DIRCODE_RIGHT, 0, 1, 1, 0, 0, 1000, {2, 100, 33, 131}, 1 + 2.5, 0},
      {"scroll, right at", DIRCODE_RIGHT, 0, 1, 1, 0, 0, 1000, {3, 100, 34, 131}, 0, 0},
      {"scroll, up beyond", DIRCODE_UP, 0, 1, 1, 0, 0, 1000, {100, 448, 131, 479}, 0, -2.5},
      {"scroll, up at", DIRCODE_UP, 0, 1, 1, 0, 0, 1000, {100, 447, 131, 478}, 0, 0},
      {"scroll, down beyond", DIRCODE_DOWN, 0, 1, 1, 0, 0, 1000, {100, 1, 131, 32}, 0, 2.5},
      {"scroll, down at", DIRCODE_DOWN, 0, 1, 1, 0, 0, 1000, {100, 2, 131, 33}, 0, 0},
      {"scroll, vertical speed", DIRCODE_UP, 0, 1, 1, 2, 0, 1000, {100, 446, 131, 477}, 0, 2 - 2.5},
      {"scroll left, left", DIRCODE_LEFT, 0, 1, -3, 0, 0, 1000, {607, 100, 638, 131}, -3 - 2.5, 0},
      {"scroll left, right", DIRCODE_RIGHT, 0, 1, -3, 0, 0, 1000, {2, 100, 33, 131}, -3 + 2.5, 0},
      // ... only while the view can still move that way.
      {"view at its start, left", DIRCODE_LEFT, 0, 1, 1, 0, 0, 320, {607, 100, 638, 131}, 0, 0},
      {"view at its start, right", DIRCODE_RIGHT, 0, 1, 1, 0, 0, 320, {2, 100, 33, 131}, 1 + 2.5, 0},
      {"view near its start, back", DIRCODE_RIGHT, 0, 1, -3, 0, 0, 322, {2, 100, 33, 131}, 0, 0},
      {"view at its end, left", DIRCODE_LEFT, 0, 1, 1, 0, 0, 1600, {607, 100, 638, 131}, 0, 0},
      {"view near its end, left", DIRCODE_LEFT, 0, 1, 1, 0, 0, 1599, {607, 100, 638, 131}, 1 - 2.5, 0},
      {"view at its end, right", DIRCODE_RIGHT, 0, 1, 1, 0, 0, 1600, {2, 100, 33, 131}, 0, 0},
      // A halted scroll counts as none.
      {"halted, left", DIRCODE_LEFT, 0, 1, 1, 0, 1, 1000, {607, 100, 638, 131}, 0, 0},
      {"halted, left beyond", DIRCODE_LEFT, 0, 1, 1, 0, 1, 1000, {609, 100, 640, 131}, -2.5, 0},
  };
  for (const Case& k : cases) {
    CharaDef def = CharaDef().Fly(k.flying ? FLYMODE_THROUGH : FLYMODE_WALK);
    cChara& chara = world.AddChara(def, {5, 5});
    chara.m_nDirection = k.facing;
    chara.m_rcScreen = k.rc;
    ax.m_dAutoSpeed = k.c;
    ax.m_bAtLimit = k.atLimit;
    ax.m_dPos = k.sx;
    ay.m_dAutoSpeed = k.e;
    ay.m_dPos = 700;
    cCommandInstance i;
    i.m_nDirCode = k.code;
    i.m_dSpeed = 2.5;
    double vx = 7, vy = 7;
    chara.GetAvoidOffscreenVelocity(i, vx, vy);
    EXPECT_EQ(vx, k.vx) << k.what;
    EXPECT_EQ(vy, k.vy) << k.what;
  }
}

TEST(AvoidOffscreenMove, AFlierBeyondTheViewComesBackToItsEdgeAndStays) {
  for (int level : {1, 3}) {
    GameWorld world(level);
    MapBuilder(std::vector<std::string>(15, std::string(40, '.'))).Build();
    world.Scene().m_ScrollX.m_dPos = 320;
    world.Scene().m_ScrollY.m_dPos = 320;
    const cEdMove move = MoveDef().Code(DIRCODE_UP_LEFT).Speed(20).Def();
    cChara& c = world.AddChara(Mover(1, MoveCommand(ACTCMDTYPE_MOVE_AVOID_OFFSCREEN, move, 10)), {21, 2});
    world.UpdatePresence();
    ASSERT_EQ(c.m_rcScreen.nLeft, 672);
    StartFlow(c, 0);
    for (int s = 0; s < 40 * level; ++s) MoveStep(c);
    EXPECT_EQ(c.m_rcScreen.nLeft, 608) << "S " << level;
    EXPECT_EQ(c.m_rcScreen.nTop, 64);
    EXPECT_EQ(Command(c).m_nCount, 40 * level);
  }
}
