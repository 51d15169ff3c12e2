// What building a character's flows makes of its move commands: which
// executor and set-up each movement type has, the speed or duration the
// time modes work out, the circle's sense, angles and radius, and the jump
// that lasts until its apex.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdint>

#include "game/action_commands.h"
#include "game/characters.h"
#include "game/move_math.h"
#include "move_test_env.h"
#include "records/stage.h"
#include "support/builders.h"
#include "support/game_world.h"

using namespace testsupport;
using namespace movetest;

namespace {

// Steps a one-command flow runs until it has finished.
int StepsUntilDone(cCharaBase& chara, int limit = 10000) {
  StartFlow(chara, 0);
  int steps = 0;
  while (chara.m_vFlows[0].m_bRunning && steps < limit) {
    MoveStep(chara);
    ++steps;
  }
  return steps;
}

}  // namespace

TEST(MoveDispatch, TypesTwoToTenReachTheirExecutorsAndOnlyMovesAndTheJumpHaveASetUp) {
  struct Row {
    int type;
    ACTIONEXECUTOR run;
    ACTIONSETUP setup;
  } rows[] = {
      {ACTCMDTYPE_MOVE_STRAIGHT, ActMoveStraight, SetupMoveTiming},
      {ACTCMDTYPE_MOVE_GROUND_TURN, ActMoveGroundTurn, SetupMoveTiming},
      {ACTCMDTYPE_MOVE_CIRCLE, ActMoveCircle, SetupCircleMove},
      {ACTCMDTYPE_MOVE_CHARGE, ActMoveCharge, SetupMoveTiming},
      {ACTCMDTYPE_MOVE_HOMING, ActMoveHoming, SetupHomingMove},
      {ACTCMDTYPE_MOVE_AVOID_OFFSCREEN, ActMoveAvoidOffscreen, SetupMoveTiming},
      {ACTCMDTYPE_MOVE_DISABLE, ActDisableMove, nullptr},
      {ACTCMDTYPE_TURN, ActTurn, nullptr},
      {ACTCMDTYPE_JUMP, ActJump, SetupJump},
  };
  for (const Row& r : rows) {
    EXPECT_EQ(ActionTable[r.type].pRun, r.run) << "type " << r.type;
    EXPECT_EQ(ActionTable[r.type].pSetup, r.setup) << "type " << r.type;
  }
  for (int t = 0; t < ACTCMDTYPE_COUNT; ++t) {
    if (t < ACTCMDTYPE_MOVE_STRAIGHT || t > ACTCMDTYPE_JUMP) {
      EXPECT_EQ(ActionTable[t].pSetup, nullptr) << "type " << t;
    }
  }
}

TEST(MoveDispatch, ATypeOutsideTheTableRunsNothing) {
  GameWorld world;
  MapBuilder({"....", "...."}).Build();
  for (int type : {40, 127, -1, -128}) {
    CommandDef command(ACTCMDTYPE_WAIT);
    command.Def().m_nType = static_cast<int8_t>(type);
    command.Def().m_spMove = std::make_shared<cEdMove>(MoveDef().Timing(2).Distance(100).Speed(0).Def());
    cChara& chara = world.AddChara(CharaDef().Fly(FLYMODE_STOPPED).Flow(FlowDef(FLOWTRIGGER_NONE).Command(command)),
                                   {1, 0});
    const double x = chara.m_rcHit.dLeft;
    EXPECT_EQ(Command(chara).m_nDuration, 0) << "no set-up for type " << type;
    EXPECT_EQ(StepsUntilDone(chara), 1) << "type " << type;
    EXPECT_EQ(chara.m_rcHit.dLeft, x);
    EXPECT_EQ(chara.m_bMoved, 0);
  }
}

TEST(MoveSetUp, TimeModesGiveSpeedFromDistanceOrDurationFromSpeed) {
  struct Case {
    int level;
    int type;
    int mode;
    int distance, growth, unit;
    int16_t clone;
    int useTime;
    int speed, speedGrowth;
    int duration;      // logic steps
    double stepSpeed;  // dots per step
  } cases[] = {
      // Mode 0: use time and speed as given.
      {1, ACTCMDTYPE_MOVE_STRAIGHT, 0, 100, 0, 1, 0, 2, 30, 0, 12, 30 * 0.1 / 1},
      {3, ACTCMDTYPE_MOVE_STRAIGHT, 0, 100, 0, 1, 2, 2, 30, 10, 36, 50 * 0.1 / 3},
      // Mode 1: distance over the duration; half blocks unless the unit is 1.
      {1, ACTCMDTYPE_MOVE_STRAIGHT, 1, 10, 0, 0, 0, 2, 30, 0, 12, 160.0 / 12},
      {1, ACTCMDTYPE_MOVE_GROUND_TURN, 1, 10, 5, 0, 2, 2, 30, 0, 12, 320.0 / 12},
      {3, ACTCMDTYPE_MOVE_CHARGE, 1, 10, 5, 0, 2, 2, 30, 0, 36, 320.0 / 36},
      {1, ACTCMDTYPE_MOVE_AVOID_OFFSCREEN, 1, -10, 0, 1, 0, 1, 30, 0, 6, -10.0 / 6},
      // ... and no time to cover it in: no movement.
      {1, ACTCMDTYPE_MOVE_STRAIGHT, 1, 100, 0, 1, 0, 0, 30, 0, 0, 0.0},
      // Mode 2: the distance at the speed, truncated.
      {1, ACTCMDTYPE_MOVE_STRAIGHT, 2, 100, 0, 1, 0, 9, 30, 0, 33, 30 * 0.1 / 1},
      {3, ACTCMDTYPE_MOVE_GROUND_TURN, 2, 100, 0, 1, 0, 9, 30, 0, 100, 30 * 0.1 / 3},
      {1, ACTCMDTYPE_MOVE_CHARGE, 2, 100, 50, 1, 2, 9, 30, 0, 66, 30 * 0.1 / 1},
      {1, ACTCMDTYPE_MOVE_AVOID_OFFSCREEN, 2, 7, 0, 2, 0, 9, 30, 0, 37, 30 * 0.1 / 1},
      {1, ACTCMDTYPE_MOVE_STRAIGHT, 2, 100, 0, 1, 0, 9, -30, 0, 33, -30 * 0.1 / 1},
      // ... and no speed: one step.
      {1, ACTCMDTYPE_MOVE_STRAIGHT, 2, 100, 0, 1, 0, 9, 0, 0, 0, 0.0},
      // A time mode beyond 2 changes nothing.
      {1, ACTCMDTYPE_MOVE_STRAIGHT, 3, 100, 0, 1, 0, 1, 30, 0, 6, 30 * 0.1 / 1},
  };
  for (const Case& c : cases) {
    GameWorld world(c.level);
    MapBuilder({"....", "...."}).Build();
    const cEdMove move = MoveDef()
                             .Timing(c.mode)
                             .Distance(c.distance, c.growth, c.unit)
                             .Speed(c.speed, c.speedGrowth)
                             .Code(DIRCODE_UP)
                             .Def();
    cChara& chara = world.AddChara(
        CharaDef().Fly(FLYMODE_THROUGH).Flow(FlowDef(FLOWTRIGGER_NONE).Command(MoveCommand(c.type, move, c.useTime))),
        {1, 1}, c.clone);
    const cCommandInstance& command = Command(chara);
    EXPECT_EQ(command.m_nDuration, c.duration) << "S " << c.level << " mode " << c.mode << " type " << c.type;
    EXPECT_EQ(command.m_dSpeed, c.stepSpeed) << "S " << c.level << " mode " << c.mode << " type " << c.type;
    EXPECT_EQ(StepsUntilDone(chara), c.duration > 1 ? c.duration : 1);
  }
}

TEST(MoveSetUp, HomingIntervalCountsInLogicSteps) {
  for (int level : {1, 3}) {
    GameWorld world(level);
    MapBuilder({"....", "...."}).Build();
    const cEdMove move = MoveDef().Radius(3, 2).Timing(2).Distance(64, 0, 1).Speed(20).Def();
    cChara& chara = world.AddChara(
        CharaDef().Flow(FlowDef(FLOWTRIGGER_NONE).Command(MoveCommand(ACTCMDTYPE_MOVE_HOMING, move, 1))), {1, 1}, 2);
    EXPECT_EQ(Command(chara).m_nParam, 7 * level);
    // Then timed as the other moves: 64 dots at 2 / S dots a step.
    EXPECT_EQ(Command(chara).m_nDuration, 32 * level);
  }
}

TEST(MoveSetUp, CircleTakesSenseAnglesRadiusAndTiming) {
  struct Case {
    int level;
    int facing;  // placed facing
    int mirrorX, mirrorY;
    int code;
    int angle, angleGrowth, distance;  // degrees
    int radius, radiusGrowth;          // half blocks
    int16_t clone;
    int mode, useTime, speed;
    // Expected.
    int sense, start, end, param, duration;
    double stepSpeed;  // degrees per step
  } cases[] = {
      // A full turn from 0 at 6 degrees a step takes 60 steps at any S.
      {1, 0, 1, 0, 0, 0, 0, 360, 4, 0, 0, 1, 0, 60, 0, 0, 360, 64, 60, 60 * 0.1 / 1},
      {3, 0, 1, 0, 0, 0, 0, 360, 4, 0, 0, 1, 0, 180, 0, 0, 1080, 192, 60, 180 * 0.1 / 3},
      // Placed facing right the mirror flags swap the sense; x also turns the angles by 180.
      {1, 1, 1, 0, 0, 0, 0, 360, 4, 0, 0, 1, 0, 60, 1, 180, 540, 64, 60, 60 * 0.1 / 1},
      {1, 1, 1, 1, 0, 0, 0, 360, 4, 0, 0, 1, 0, 60, 0, 180, 540, 64, 60, 60 * 0.1 / 1},
      {1, 1, 0, 1, 1, 0, 0, 360, 4, 0, 0, 1, 0, 60, 0, 0, 360, 64, 60, 60 * 0.1 / 1},
      {1, 1, 1, 0, 2, 0, 0, 360, 4, 0, 0, 1, 0, 60, 2, 180, 540, 64, 60, 60 * 0.1 / 1},
      {1, 1, 1, 1, 3, 0, 0, 360, 4, 0, 0, 1, 0, 60, 3, 180, 540, 64, 60, 60 * 0.1 / 1},
      {1, 0, 1, 1, 0, 0, 0, 360, 4, 0, 0, 1, 0, 60, 0, 0, 360, 64, 60, 60 * 0.1 / 1},
      // Growth by clone number; the radius held to 0..20 half blocks.
      {2, 0, 0, 0, 1, 30, 15, 90, 5, 10, 2, 1, 0, 20, 1, 120, 180, 20 * 16 * 2, 30, 20 * 0.1 / 2},
      {1, 0, 0, 0, 1, 0, 0, 90, -3, 0, 0, 1, 0, 30, 1, 0, 90, 0, 30, 30 * 0.1 / 1},
      // A start beyond the end turns back the other way: the swept angle stays positive.
      {3, 0, 0, 0, 0, 360, 0, 0, 1, 0, 0, 1, 0, 60, 0, 1080, 0, 48, 180, 60 * 0.1 / 3},
      // Mode 0: the swept angle over the use time; none over no time.
      {1, 0, 0, 0, 0, 0, 0, 360, 1, 0, 0, 0, 1, 10, 0, 0, 360, 16, 6, 360.0 / 6 / 1},
      {3, 0, 0, 0, 0, 0, 0, 360, 1, 0, 0, 0, 1, 10, 0, 0, 1080, 48, 18, 1080.0 / 18 / 3},
      {1, 0, 0, 0, 0, 0, 0, 360, 1, 0, 0, 0, 0, 10, 0, 0, 360, 16, 0, 0.0},
      // Mode 1 without a speed: one step.
      {1, 0, 0, 0, 0, 0, 0, 360, 1, 0, 0, 1, 0, 0, 0, 0, 360, 16, 0, 0.0},
      // Other modes keep use time and speed.
      {1, 0, 0, 0, 0, 0, 0, 360, 1, 0, 0, 2, 1, 10, 0, 0, 360, 16, 6, 10 * 0.1 / 1},
  };
  for (const Case& c : cases) {
    GameWorld world(c.level);
    MapBuilder({"....", "...."}).Build();
    const cEdMove move = MoveDef()
                             .Mirror(c.mirrorX, c.mirrorY)
                             .Code(c.code)
                             .Angle(c.angle, c.angleGrowth)
                             .Distance(c.distance)
                             .Radius(c.radius, c.radiusGrowth)
                             .Timing(c.mode)
                             .Speed(c.speed)
                             .Def();
    cChara& chara = world.AddChara(CharaDef().Fly(FLYMODE_THROUGH).Facing(c.facing).Flow(
                                       FlowDef(FLOWTRIGGER_NONE).Command(MoveCommand(ACTCMDTYPE_MOVE_CIRCLE, move, c.useTime))),
                                   {1, 1}, c.clone);
    const cCommandInstance& i = Command(chara);
    SCOPED_TRACE("S " + std::to_string(c.level) + " facing " + std::to_string(c.facing) + " code " +
                 std::to_string(c.code) + " mode " + std::to_string(c.mode));
    EXPECT_EQ(i.m_nDirCode, c.sense);
    EXPECT_EQ(i.m_nStartAngle, c.start);
    EXPECT_EQ(i.m_nEndAngle, c.end);
    EXPECT_EQ(i.m_nParam, c.param);
    EXPECT_EQ(i.m_nDuration, c.duration);
    EXPECT_EQ(i.m_dSpeed, c.stepSpeed);
  }
}

TEST(MoveSetUp, TheJumpLastsUntilItsApex) {
  for (int level : {1, 3}) {
    for (int height : {0, 2, 7}) {
      GameWorld world(level, 0.4);
      MapBuilder({"....", "...."}).Build();
      cChara& chara = world.AddChara(
          CharaDef().Flow(FlowDef(FLOWTRIGGER_NONE).Command(CommandDef(ACTCMDTYPE_JUMP).Param(2, height).UseTime(50))),
          {1, 0});
      const cCommandInstance& i = Command(chara);
      const double g = 0.4 / (level * level);
      const double v = (-g - std::sqrt(g * (g + 8 * (height * 16.0)))) / 2;
      EXPECT_EQ(i.m_dSpeed, v) << "S " << level << " height " << height;
      // The steps a launch at v rises, in whole tenths of a second from the start.
      int rising = 0;
      for (double vy = v; vy < 0; vy += g) ++rising;
      const int tenths = static_cast<int>(level - v / g) / level / 6 + 1;
      EXPECT_EQ(i.m_pCommand->m_nUseTime, tenths);
      EXPECT_EQ(i.m_nDuration, tenths * 6 * level);
      EXPECT_GE(i.m_nDuration, rising) << "S " << level << " height " << height;
      EXPECT_LE(i.m_nDuration - 6 * level, rising + level) << "S " << level << " height " << height;
    }
  }
}

TEST(MoveSetUp, AJumpWithoutItsHeightParameterJumpsNoHeight) {
  GameWorld world;
  MapBuilder({"....", "...."}).Build();
  CommandDef jump(ACTCMDTYPE_JUMP);
  jump.Def().m_vParams.clear();
  cChara& chara = world.AddChara(CharaDef().Flow(FlowDef(FLOWTRIGGER_NONE).Command(jump)), {1, 0});
  const double g = 0.4;
  EXPECT_EQ(Command(chara).m_dSpeed, (-g - std::sqrt(g * g)) / 2);
  EXPECT_EQ(Command(chara).m_nDuration, 6);
}
