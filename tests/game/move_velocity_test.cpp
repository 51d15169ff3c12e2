// The velocities that moves share: directions made absolute, the velocity
// by direction and by angle, toward a target point by each basis, and how
// a move's velocity reaches the character's step.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>
#include <memory>
#include <string>

#include "game/characters.h"
#include "game/flow_instance.h"
#include "media/input.h"
#include "move_test_env.h"
#include "records/stage.h"
#include "support/builders.h"
#include "support/game_world.h"
#include "support/scripted_input.h"

using namespace testsupport;
using namespace movetest;

namespace {

const double K = 1.0 / std::sqrt(2.0);

// A character on a 20 × 15 map with the view at the map's top-left corner.
class MoveVelocity : public ::testing::Test {
 protected:
  void SetUp() override {
    MapBuilder(std::vector<std::string>(15, std::string(20, '.'))).Build();
    world.Scene().m_ScrollX.m_dPos = 320;
    world.Scene().m_ScrollY.m_dPos = 320;
  }
  void TearDown() override { world.Scene().m_lpCurFlow = nullptr; }

  // A character on cell (4, 3): a flier's centre is at (464, 432).
  cChara& Place(int flying, int fixed, int facing) {
    CharaDef def = CharaDef().Fly(flying ? FLYMODE_THROUGH : FLYMODE_WALK).Facing(facing);
    def.Def().m_bFixDirection = static_cast<int8_t>(fixed);
    cChara& c = world.AddChara(def, {4, 3});
    c.UpdateScreenRect();
    return c;
  }
  // The stage's current flow, fired with direction index `held`.
  void FiredWith(int held) {
    flow.m_nHeldDir = held;
    world.Scene().m_lpCurFlow = &flow;
  }
  // An instance of a command holding `move`.
  cCommandInstance& Instance(const cEdMove& move, double maxSpeed = 0) {
    command.m_spMove = std::make_shared<cEdMove>(move);
    instance = cCommandInstance();
    instance.m_pCommand = &command;
    instance.m_dMaxSpeed = maxSpeed;
    return instance;
  }

  GameWorld world;
  cFlowInstance flow;
  cEdCommand command;
  cCommandInstance instance;
};

}  // namespace

TEST_F(MoveVelocity, DirectionCodesBecomeAbsoluteByFacingAndTheInputHeldWhenTheFlowFired) {
  struct Case {
    int code, facing, flying, held, expected;
  } cases[] = {
      {DIRCODE_FRONT, 1, 0, 0, DIRCODE_RIGHT},
      {DIRCODE_FRONT, 0, 0, 0, DIRCODE_LEFT},
      {DIRCODE_BACK, 1, 0, 0, DIRCODE_LEFT},
      {DIRCODE_BACK, 0, 1, 0, DIRCODE_RIGHT},
      {DIRCODE_FRONT_Y, 1, 1, 0, DIRCODE_DOWN},
      {DIRCODE_FRONT_Y, 0, 1, 0, DIRCODE_UP},
      {DIRCODE_BACK_Y, 1, 1, 0, DIRCODE_UP},
      {DIRCODE_BACK_Y, 0, 0, 0, DIRCODE_DOWN},
      {DIRCODE_LEFT, 1, 0, 0, DIRCODE_LEFT},
      {DIRCODE_DOWN, 0, 0, 0, DIRCODE_DOWN},
      {DIRCODE_DOWN_RIGHT, 0, 0, 0, DIRCODE_DOWN_RIGHT},
      {13, 1, 1, 0, 13},
      {-1, 0, 0, 0, -1},
      // The input direction: index 8 down-right, 5 up-left, 3 up, 6 down-left, 7 up-right.
      {DIRCODE_INPUT, 0, 1, 8, DIRCODE_DOWN_RIGHT},
      {DIRCODE_INPUT, 0, 0, 8, DIRCODE_RIGHT},
      {DIRCODE_INPUT, 1, 0, 5, DIRCODE_LEFT},
      {DIRCODE_INPUT, 1, 1, 5, DIRCODE_UP_LEFT},
      {DIRCODE_INPUT, 0, 0, 3, DIRCODE_UP},
      {DIRCODE_INPUT, 1, 0, 6, DIRCODE_LEFT},
      {DIRCODE_INPUT, 0, 1, 7, DIRCODE_UP_RIGHT},
      {DIRCODE_INPUT, 0, 0, 1, DIRCODE_LEFT},
      // Nothing held (or no such index): the faced side.
      {DIRCODE_INPUT, 1, 0, 0, DIRCODE_RIGHT},
      {DIRCODE_INPUT, 0, 1, 0, DIRCODE_LEFT},
      {DIRCODE_INPUT, 1, 1, 9, DIRCODE_RIGHT},
  };
  cChara& c = Place(0, 1, 0);
  for (const Case& k : cases) {
    c.m_nDirection = k.facing;
    FiredWith(k.held);
    EXPECT_EQ(c.ResolveDirection(k.code, 0, k.flying), k.expected)
        << "code " << k.code << " facing " << k.facing << " flying " << k.flying << " held " << k.held;
  }
  // Outside a flow nothing was held.
  world.Scene().m_lpCurFlow = nullptr;
  c.m_nDirection = 1;
  EXPECT_EQ(c.ResolveDirection(DIRCODE_INPUT, 0, 1), DIRCODE_RIGHT);
}

TEST_F(MoveVelocity, TheInputDirectionCanBeReadNowInsteadOfWhenTheFlowFired) {
  cChara& c = Place(1, 1, 0);
  ScriptedInput keys;
  keys.Hold(INPUT_UP, 0, 3);
  for (int i = 0; i < 3; ++i) keys.Feed();
  FiredWith(1);  // left, when the flow fired
  EXPECT_EQ(c.ResolveDirection(DIRCODE_INPUT, 0, 1), DIRCODE_LEFT);
  EXPECT_EQ(c.ResolveDirection(DIRCODE_INPUT, 1, 1), DIRCODE_UP);
}

TEST_F(MoveVelocity, VelocityByDirectionMovesFliersOnBothAxesAndWalkersAlongTheGround) {
  struct Case {
    int code, flying, fixed, facing, held;
    double vx, vy;
    int hint;
  } cases[] = {
      {DIRCODE_LEFT, 0, 0, 0, 0, -3.0, 0, 1},
      {DIRCODE_RIGHT, 1, 1, 0, 0, 3.0, 0, 0},
      {DIRCODE_UP, 1, 0, 0, 0, 0, -3.0, 0},
      {DIRCODE_UP, 0, 0, 0, 0, 0, 0, 0},
      {DIRCODE_DOWN, 1, 0, 1, 0, 0, 3.0, 0},
      // Diagonals at speed / √2 per axis; a walker keeps only the horizontal part.
      {DIRCODE_UP_LEFT, 0, 0, 1, 0, -3.0 * K, 0, 1},
      {DIRCODE_UP_LEFT, 1, 0, 1, 0, -3.0 * K, -3.0 * K, 1},
      {DIRCODE_DOWN_LEFT, 1, 0, 1, 0, -3.0 * K, 3.0 * K, 1},
      {DIRCODE_UP_RIGHT, 1, 0, 0, 0, 3.0 * K, -3.0 * K, 2},
      {DIRCODE_DOWN_RIGHT, 1, 1, 0, 0, 3.0 * K, 3.0 * K, 0},
      {DIRCODE_FRONT, 0, 0, 1, 0, 3.0, 0, 2},
      {DIRCODE_BACK, 0, 0, 1, 0, -3.0, 0, 1},
      {DIRCODE_FRONT_Y, 1, 0, 1, 0, 0, 3.0, 0},
      {13, 1, 0, 1, 0, 0, 0, 0},
      {-2, 1, 0, 1, 0, 0, 0, 0},
      // Input down-right: a walker walks right at full speed, a flier goes diagonally.
      {DIRCODE_INPUT, 0, 0, 0, 8, 3.0, 0, 2},
      {DIRCODE_INPUT, 1, 0, 0, 8, 3.0 * K, 3.0 * K, 2},
  };
  for (const Case& k : cases) {
    world.Scene().m_lpCurFlow = nullptr;
    cChara& c = Place(k.flying, k.fixed, k.facing);
    FiredWith(k.held);
    double vx = 7, vy = 7;
    int hint = 7;
    c.GetDirectionVelocity(3.0, k.code, vx, vy, hint);
    SCOPED_TRACE("code " + std::to_string(k.code) + " flying " + std::to_string(k.flying));
    EXPECT_EQ(vx, k.vx);
    EXPECT_EQ(vy, k.vy);
    EXPECT_EQ(hint, k.hint);
  }
}

TEST_F(MoveVelocity, VelocityByAngleTurnsTheCodesAngleCounterClockwise) {
  struct Case {
    int code, e, flying, fixed, facing;
    int base;  // the code's angle
    int hint;
  } cases[] = {
      {DIRCODE_LEFT, 30, 1, 0, 0, 0, 1},       {DIRCODE_RIGHT, 0, 1, 0, 0, 180, 2},
      {DIRCODE_UP, 0, 1, 0, 0, 90, 0},         {DIRCODE_DOWN, 15, 1, 0, 0, 270, 0},
      {DIRCODE_UP_LEFT, 10, 0, 0, 0, 45, 1},   {DIRCODE_DOWN_LEFT, -20, 1, 0, 0, 315, 1},
      {DIRCODE_UP_RIGHT, 5, 1, 0, 0, 135, 2},  {DIRCODE_DOWN_RIGHT, -45, 1, 1, 0, 225, 0},
      {DIRCODE_FRONT, 350, 0, 0, 1, 180, 2},   {13, 90, 1, 0, 0, 0, 0},
  };
  for (const Case& k : cases) {
    cChara& c = Place(k.flying, k.fixed, k.facing);
    double vx, vy;
    int hint;
    c.GetAngleVelocity(2.5, k.code, k.e, vx, vy, hint);
    const double a = (k.base + k.e) * 3.14159265358979 / 180;
    SCOPED_TRACE("code " + std::to_string(k.code) + " e " + std::to_string(k.e));
    EXPECT_EQ(vx, -std::cos(a) * 2.5);
    EXPECT_EQ(vy, k.flying ? -std::sin(a) * 2.5 : 0.0);
    EXPECT_EQ(hint, k.hint);
  }
  // Straight right is exactly right.
  double vx, vy;
  int hint;
  Place(0, 1, 0).GetAngleVelocity(2.5, DIRCODE_RIGHT, 0, vx, vy, hint);
  EXPECT_EQ(vx, 2.5);
  EXPECT_EQ(vy, 0.0);
}

TEST_F(MoveVelocity, TargetVelocityAimsFromTheGraphicsCentreAtThePointOfItsBasis) {
  // The flier's centre is at (464, 432); the view at (320, 320).
  struct Case {
    const char* what;
    cEdMove move;
    int tx, ty;
    double dx, dy;  // from the centre to the point
    int fixed;
    double vx, vy;  // when not worked out from dx, dy
    int hint;
    int timer;  // -1: left as it was
  } cases[] = {
      {"relative", MoveDef().Basis(1), 30, 40, 30, 40, 0, NAN, NAN, 2, 10},
      {"placed position", MoveDef().Basis(0), 64, -32, 64, -32, 0, NAN, NAN, 2, 14},
      {"map cell point", MoveDef().Basis(2), 100, 200, -28, 104, 0, NAN, NAN, 1, 21},
      {"view point", MoveDef().Basis(3), 100, 50, -28, -46, 0, NAN, NAN, 1, 10},
      {"fixed facing", MoveDef().Basis(1), 30, 40, 30, 40, 1, NAN, NAN, 0, 10},
      {"x not used", MoveDef().Basis(1).UseTarget(0, 1), -30, 40, 0, 40, 0, NAN, NAN, 0, 8},
      {"y not used", MoveDef().Basis(1).UseTarget(1, 0), -30, 40, -30, 0, 0, NAN, NAN, 1, 6},
      {"vertical only", MoveDef().Basis(1).VerticalOnly(1), 30, 40, 30, 40, 0, 0.0, 40.0 / 50 * 5.0, 0, 10},
      {"horizontal only", MoveDef().Basis(1).HorizontalOnly(1), 30, 40, 30, 40, 0, 30.0 / 50 * 5.0, 0.0, 2, 10},
      {"no frames from distance", MoveDef().Basis(1).FramesFromDistance(0), 30, 40, 30, 40, 0, NAN, NAN, 2, -1},
      {"there already", MoveDef().Basis(1), 0, 0, 0, 0, 0, 0.0, 0.0, 0, 0},
      {"no such basis", MoveDef().Basis(4), 30, 40, 0, 0, 0, 0.0, 0.0, 0, -1},
      {"negative basis", MoveDef().Basis(-1), 30, 40, 0, 0, 0, 0.0, 0.0, 0, -1},
  };
  for (const Case& k : cases) {
    cChara& c = Place(1, k.fixed, 0);
    cCommandInstance& i = Instance(k.move);
    i.m_nTimer = 99;
    c.GetTargetVelocity(i, 5.0, k.tx, k.ty);
    const double d = std::sqrt(k.dx * k.dx + k.dy * k.dy);
    SCOPED_TRACE(k.what);
    EXPECT_EQ(i.m_dVx, std::isnan(k.vx) ? k.dx / d * 5.0 : k.vx);
    EXPECT_EQ(i.m_dVy, std::isnan(k.vy) ? k.dy / d * 5.0 : k.vy);
    EXPECT_EQ(i.m_nFacingHint, k.hint);
    EXPECT_EQ(i.m_nTimer, k.timer < 0 ? 99 : k.timer);
  }
}

TEST_F(MoveVelocity, TargetVelocityTakesAFractionalViewPositionAndHintsOnlyBeyondATinySpeed) {
  world.Scene().m_ScrollX.m_dPos = 330.5;
  cChara& c = Place(1, 0, 0);
  // Left edge truncate(448.5 − 330) = 118, so the centre is at 118 + 16 + 330.5.
  cCommandInstance& i = Instance(MoveDef().Basis(3));
  c.GetTargetVelocity(i, 5.0, 100, 50);
  const double d = std::sqrt(18.0 * 18.0 + 46.0 * 46.0);
  EXPECT_EQ(i.m_dVx, -18.0 / d * 5.0);
  EXPECT_EQ(i.m_dVy, -46.0 / d * 5.0);

  struct Hint {
    double v;
    int tx;
    int hint;
  } hints[] = {{0.0002, 1, 0}, {0.0002, -1, 0}, {0.003, 1, 2}, {0.003, -1, 1}};
  for (const Hint& h : hints) {
    cCommandInstance& j = Instance(MoveDef().Basis(1));
    c.GetTargetVelocity(j, h.v, h.tx, 30000);  // vx = ±v / 30000
    EXPECT_EQ(j.m_nFacingHint, h.hint) << "v " << h.v << " tx " << h.tx;
  }
}

TEST_F(MoveVelocity, ArrivedWithStopOnArrivalTheAxesGoingToThePointStop) {
  struct Case {
    cEdMove move;
    double vx, vy;
    int hint;
  } cases[] = {
      {MoveDef().Basis(1), 3.0 / 5 * 6.0, 4.0 / 5 * 6.0, 2},  // overshoots without the flag
      {MoveDef().Basis(1).StopOnArrival(1), 0, 0, 0},
      {MoveDef().Basis(1).StopOnArrival(1).HorizontalOnly(1), 0, 0, 0},
      {MoveDef().Basis(1).StopOnArrival(1).UseTarget(1, 0), 0, 0, 0},
  };
  for (const Case& k : cases) {
    cChara& c = Place(1, 0, 0);
    cCommandInstance& i = Instance(k.move);
    c.GetTargetVelocity(i, 6.0, 3, 4);
    EXPECT_EQ(i.m_nTimer, 0);
    EXPECT_EQ(i.m_dVx, k.vx);
    EXPECT_EQ(i.m_dVy, k.vy);
    EXPECT_EQ(i.m_nFacingHint, k.hint);
  }
}

TEST_F(MoveVelocity, ApplyMoveAddsToTheStepOrAcceleratesTheInertialSpeed) {
  struct Case {
    const char* what;
    int level;
    int inertia;
    double factor, max;
    double before, v;
    double after;
    int friction;
  } cases[] = {
      {"with the input", 1, 1, 1.0, 6.0, 0, 3.0, 3.0 / 60, 0},
      {"against the input", 1, 1, 2.0, 6.0, -0.5, 3.0, -0.5 + 3.0 / 60 * 2.0, 1},
      {"against, leftward", 1, 1, 0.5, 6.0, 0.25, -3.0, 0.25 + -3.0 / 60 * 0.5, 1},
      {"at S = 3", 3, 1, 1.0, 2.0, 0.125, 3.0, 0.125 + 3.0 / 180, 0},
      {"up to the maximum", 1, 1, 1.0, 1.0, 0.98, 3.0, 1.0, 0},
      {"down to the maximum", 1, 1, 1.0, 1.0, -0.98, -3.0, -1.0, 0},
      {"no number as factor", 1, 1, NAN, 6.0, -0.5, 3.0, -0.5 + 3.0 / 60, 1},
      {"an infinite factor", 1, 1, -INFINITY, 6.0, -0.5, 3.0, -0.5 + 3.0 / 60, 1},
      {"without inertia", 1, 0, 1.0, 6.0, 0.75, 3.0, 0.75, 1},
  };
  for (const Case& k : cases) {
    Stage.SetSpeedLevel(k.level);
    cChara& c = Place(1, 1, 0);
    MoveDef m;
    if (k.inertia) m.Inertia(10, k.factor);
    cCommandInstance& i = Instance(m, k.max);
    c.m_dInertiaX = k.before;
    c.m_dVx = 1.25;
    c.m_dVy = 0.5;
    c.m_bFrictionX = c.m_bFrictionY = 1;
    c.ApplyMove(k.v, 0, 0, i, 0);
    SCOPED_TRACE(k.what);
    EXPECT_EQ(c.m_dInertiaX, k.after);
    EXPECT_EQ(c.m_bFrictionX, k.friction);
    EXPECT_EQ(c.m_dVx, k.inertia ? 1.25 : 1.25 + k.v);
    EXPECT_EQ(c.m_dVy, 0.5);
    // No vertical input is never against the vertical motion.
    EXPECT_EQ(c.m_bFrictionY, k.inertia ? 0 : 1);
  }
}

TEST_F(MoveVelocity, ApplyMoveTurnsTheCharacterByTheHintUnlessItsFacingIsKept) {
  struct Case {
    int fixed, keepFacing, force, hint, before, after;
  } cases[] = {
      {0, 0, 0, 1, 1, 0}, {0, 0, 0, 2, 0, 1}, {0, 0, 0, 0, 1, 1},  // free facing follows
      {1, 0, 0, 1, 1, 1}, {1, 0, 1, 1, 1, 0}, {1, 0, 1, 2, 0, 1},  // fixed only when forced
      {0, 1, 0, 1, 1, 1}, {1, 1, 1, 2, 0, 0},                      // the move keeps the facing
  };
  for (const Case& k : cases) {
    cChara& c = Place(0, k.fixed, k.before);
    cCommandInstance& i = Instance(MoveDef().KeepFacing(k.keepFacing));
    c.ApplyMove(1.0, 0, k.hint, i, k.force);
    EXPECT_EQ(c.m_nDirection, k.after) << "fixed " << k.fixed << " keep " << k.keepFacing << " force " << k.force
                                       << " hint " << k.hint;
  }
}

TEST_F(MoveVelocity, ApplyMovePlaysTheMovingAnimationUnlessTheMoveKeepsIt) {
  struct Case {
    int flying, keep;
    int moved, pattern;
  } cases[] = {{0, 0, 1, 1}, {1, 0, 1, 3}, {0, 1, 0, 0}, {1, 1, 0, 0}};
  for (const Case& k : cases) {
    cChara& c = Place(k.flying, 1, 0);
    cVector<ANIMEPATTERN> patterns(4);
    for (int p = 0; p < 4; ++p) patterns[p].push_back(ANIMESTEP{p, 6, 0});
    c.m_Anime.SetPatterns(std::move(patterns));
    c.m_bMoved = 0;
    c.ApplyMove(0, 0, 0, Instance(MoveDef().KeepAnime(k.keep)), 0);
    EXPECT_EQ(c.m_bMoved, k.moved) << "flying " << k.flying << " keep " << k.keep;
    EXPECT_EQ(c.m_Anime.m_nPattern, k.pattern) << "flying " << k.flying << " keep " << k.keep;
  }
}
