// The moves that need no other character, run through real flows at 1 and
// 3 logic steps a frame: the straight move (to a point and back on a
// turn), the ground turn-back walker at ledges and off a carrier, the
// circle, disabling the move, the turn command's cadence and the jump.
#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <string>
#include <vector>

#include "game/action_commands.h"
#include "game/characters.h"
#include "game/map_cells.h"
#include "move_test_env.h"
#include "records/stage.h"
#include "support/builders.h"
#include "support/game_world.h"

using namespace testsupport;
using namespace movetest;

namespace {

cEdChara Walker(int fixed = 1, int facing = 0) {
  CharaDef def = CharaDef().Facing(facing);
  def.Def().m_bFixDirection = static_cast<int8_t>(fixed);
  return def;
}

cEdChara Flier(int fixed = 1, int facing = 0) {
  CharaDef def = CharaDef().Fly(FLYMODE_THROUGH).Facing(facing);
  def.Def().m_bFixDirection = static_cast<int8_t>(fixed);
  return def;
}

cEdChara WithFlow(cEdChara def, const cEdFlow& flow) {
  def.m_vFlows.push_back(flow);
  return def;
}

// A character that launches when its jump command asks and notes each call.
class cJumper : public cChara {
 public:
  int Jump(cCommandInstance& instance) override {
    speeds.push_back(instance.m_dSpeed);
    if (!instance.m_bBegun) {
      instance.m_bBegun = 1;
      m_dVy = instance.m_dSpeed;
    }
    return 1;
  }
  std::vector<double> speeds;
};

}  // namespace

TEST(StraightMove, ToAPointWithFramesFromDistanceEndsOnTheStepItArrives) {
  for (int level : {1, 3}) {
    for (int flying : {0, 1}) {
      GameWorld world(level);
      MapBuilder({"......", "......", "......"}).Build();
      const cEdMove move = MoveDef().Method(1).Basis(1).TargetDots(30, 0).StopOnArrival(1).Speed(30).Def();
      cChara& c = world.AddChara(WithFlow(flying ? Flier() : Walker(),
                                          FlowDef(FLOWTRIGGER_NONE)
                                              .Command(MoveCommand(ACTCMDTYPE_MOVE_STRAIGHT, move))
                                              .Command(CommandDef(ACTCMDTYPE_WAIT).UseTime(1))),
                                 {1, 1});
      world.UpdatePresence();
      const double x0 = c.m_rcHit.dLeft, y0 = c.m_rcHit.dTop;
      const double v = 30 * 0.1 / level;
      StartFlow(c, 0);
      // 30 dots at v a step; the wait takes over on the step after.
      const int steps = static_cast<int>(30 / v);
      double x = x0;
      for (int s = 1; s <= steps; ++s) {
        MoveStep(c);
        x += v;
        EXPECT_EQ(c.m_rcHit.dLeft, x) << "S " << level << " step " << s;
        EXPECT_EQ(Command(c).m_bDone, s == steps ? 1 : 0) << "S " << level << " step " << s;
      }
      EXPECT_EQ(c.m_rcHit.dLeft, x0 + 30);
      for (int s = 0; s < 6 * level; ++s) MoveStep(c);
      EXPECT_EQ(c.m_rcHit.dLeft, x0 + 30);
      EXPECT_EQ(c.m_rcHit.dTop, y0);
    }
  }
}

TEST(StraightMove, APointWithinOneStepIsNotOvershotWithStopOnArrival) {
  for (int stop : {0, 1}) {
    GameWorld world;
    MapBuilder({"......", "......"}).Build();
    const cEdMove move = MoveDef().Method(1).Basis(1).TargetDots(2, 0).StopOnArrival(stop).Speed(30).Def();
    cChara& c = world.AddChara(
        WithFlow(Flier(), FlowDef(FLOWTRIGGER_NONE).Command(MoveCommand(ACTCMDTYPE_MOVE_STRAIGHT, move, 5))), {1, 1});
    world.UpdatePresence();
    const double x0 = c.m_rcHit.dLeft;
    StartFlow(c, 0);
    MoveStep(c);
    EXPECT_EQ(c.m_vFlows[0].m_bRunning, 0) << "the command takes one step";
    EXPECT_EQ(c.m_rcHit.dLeft, stop ? x0 : x0 + 3.0);
  }
}

TEST(StraightMove, AFixedFacingTurnedFromOutsideReversesTheMoveWhenAsked) {
  struct Case {
    int reverse, fixed;
    int back;  // steps walked back after the turn
  } cases[] = {{1, 1, 5}, {0, 1, 0}, {1, 0, 0}};
  for (int level : {1, 3}) {
    for (const Case& k : cases) {
      GameWorld world(level);
      MapBuilder({"..........", "..........", "##########"}).Build();
      const cEdMove move = MoveDef().Code(DIRCODE_FRONT).ReverseOnTurn(k.reverse).Speed(20).Def();
      cChara& c = world.AddChara(
          WithFlow(Walker(k.fixed, 0), FlowDef(FLOWTRIGGER_NONE).Command(MoveCommand(ACTCMDTYPE_MOVE_STRAIGHT, move, 2))),
          {8, 1});
      world.UpdatePresence();
      const double v = 20 * 0.1 / level;
      double x = c.m_rcHit.dLeft;
      StartFlow(c, 0);
      const int steps = 12 * level, turnAfter = 7 * level, back = k.back * level;
      for (int s = 1; s <= steps; ++s) {
        MoveStep(c);
        x += s > steps - back ? v : -v;
        if (s == turnAfter) c.m_nDirection = 1;  // as a wall or a turn command would
      }
      EXPECT_EQ(c.m_rcHit.dLeft, x) << "S " << level << " reverse " << k.reverse << " fixed " << k.fixed;
      EXPECT_EQ(c.m_vFlows[0].m_bRunning, 0);
    }
  }
}

TEST(StraightMove, EveryStepClearsTheViewAnchorOfAWarp) {
  GameWorld world;
  MapBuilder({"......", "......"}).Build();
  cChara& c = world.AddChara(
      WithFlow(Flier(), FlowDef(FLOWTRIGGER_NONE).Command(MoveCommand(ACTCMDTYPE_MOVE_STRAIGHT, MoveDef().Code(3), 1))),
      {1, 1});
  world.UpdatePresence();
  StartFlow(c, 0);
  for (int s = 0; s < 3; ++s) {
    c.m_bAnchorX = c.m_bAnchorY = 1;
    MoveStep(c);
    EXPECT_EQ(c.m_bAnchorX, 0);
    EXPECT_EQ(c.m_bAnchorY, 0);
    EXPECT_EQ(c.m_bMoved, 1);
  }
}

TEST(GroundTurn, TheFeetOverALedgeGiveTheTurn) {
  // A platform of cells 2..5 on row 2; a walker's 16-dot hit box.
  GameWorld world;
  MapBuilder({"..........", "..........", "..####....", ".........."}).Build();
  cChara& c = world.AddChara(Walker(1, 1), {3, 1});
  struct Case {
    double left;  // hit-box left; the platform spans 384..511
    int facing;
    int hint;
  } cases[] = {
      {400.5, 1, 0},  // both feet on it
      {497.0, 1, 1},  // right foot past the right edge
      {496.0, 0, 0},  // right foot on its last column
      {369.0, 0, 2},  // left foot past the left edge
      {368.0, 1, 0},  // both off: right foot at 383
      {512.0, 0, 0},  // neither
  };
  for (const Case& k : cases) {
    c.m_rcHit.dLeft = k.left;
    c.ConfineX();
    c.m_nDirection = k.facing;
    cEdCommand command;
    command.m_spMove = std::make_shared<cEdMove>(MoveDef().Def());
    cCommandInstance i;
    i.m_pCommand = &command;
    i.m_dSpeed = 1.5;
    c.CheckTurnBack(i);
    EXPECT_EQ(i.m_nFacingHint, k.hint) << "left " << k.left;
    EXPECT_EQ(i.m_dVx, k.facing ? 1.5 : -1.5) << "left " << k.left;
    EXPECT_EQ(i.m_dVy, 0.0);
  }
}

TEST(GroundTurn, LeavingACarrierTurnsRoundWithTheCarriersMovement) {
  GameWorld world;
  MapBuilder({"..........", "..........", ".........."}).Build();
  cChara& carrier = world.AddChara(CharaDef().BlockChara(), {6, 2});
  cChara& c = world.AddChara(Walker(), {2, 1});
  struct Case {
    int facing;
    double moved;  // by the carrier since its box was kept
    bool carrierThere;
    double vx;
  } cases[] = {
      {1, 0.0, false, -1.5},
      {0, 0.0, false, 1.5},
      {1, -2.0, true, -1.5 + -2.0 + -2.0},  // against the new way: twice
      {1, 2.0, true, -1.5 + 2.0},
      {0, 2.0, true, 1.5 + 2.0 + 2.0},
      {0, -2.0, true, 1.5 + -2.0},
  };
  for (const Case& k : cases) {
    c.m_nDirection = k.facing;
    c.m_bTurnPending = 1;
    c.m_nCarrierId = k.carrierThere ? carrier.m_nId : 999;
    c.m_rcCarrier.dLeft = carrier.m_rcHit.dLeft - k.moved;
    cEdCommand command;
    command.m_spMove = std::make_shared<cEdMove>(MoveDef().Def());
    cCommandInstance i;
    i.m_pCommand = &command;
    i.m_dSpeed = 1.5;
    c.CheckTurnBack(i);
    EXPECT_EQ(i.m_nFacingHint, k.facing ? 1 : 2);
    EXPECT_EQ(i.m_dVx, k.vx) << "facing " << k.facing << " moved " << k.moved;
    EXPECT_EQ(c.m_bTurnPending, 0);
  }
}

TEST(GroundTurn, AWalkerPacesItsPlatformWithAFootAlwaysOnIt) {
  for (int level : {1, 3}) {
    GameWorld world(level);
    MapBuilder({"..........", "..........", "..####....", ".........."}).Build();
    const cEdMove move = MoveDef().Speed(20).Def();
    cChara& c = world.AddChara(
        WithFlow(Walker(1, 1), FlowDef(FLOWTRIGGER_NONE).Command(MoveCommand(ACTCMDTYPE_MOVE_GROUND_TURN, move, 100))),
        {3, 1});
    world.UpdatePresence();
    StartFlow(c, 0);
    int turns = 0, facing = c.m_nDirection;
    for (int s = 0; s < 300 * level; ++s) {
      MoveStep(c);
      const int row = static_cast<int>((c.m_rcHit.dBottom + 1.1) / 32);
      const int left = GetHitAttr(CellAtDots(c.m_rcHit.dLeft, row * 32), 1) != 0;
      const int right = GetHitAttr(CellAtDots(c.m_rcHit.dRight, row * 32), 1) != 0;
      ASSERT_TRUE(left || right) << "S " << level << " step " << s << " x " << c.m_rcHit.dLeft;
      turns += c.m_nDirection != facing;
      facing = c.m_nDirection;
    }
    // At 2 dots a frame: the first turn after 37 frames, then one every 59.
    EXPECT_EQ(turns, 5) << "S " << level;
  }
}

TEST(GroundTurn, AKnockedBackWalkerKeepsItsWayAndAFlierIsNotMoved) {
  GameWorld world;
  MapBuilder({"..........", "..........", "..####....", ".........."}).Build();
  const cEdMove move = MoveDef().Speed(20).Def();
  const cEdFlow flow = FlowDef(FLOWTRIGGER_NONE).Command(MoveCommand(ACTCMDTYPE_MOVE_GROUND_TURN, move, 1));
  cChara& walker = world.AddChara(WithFlow(Walker(1, 1), flow), {5, 1});
  cChara& flier = world.AddChara(WithFlow(Flier(1, 1), flow), {5, 1});
  world.UpdatePresence();
  walker.m_rcHit.dLeft = 497.0;  // right foot past the edge
  walker.ConfineX();
  walker.m_dKnockX = 0.5;
  StartFlow(walker, 0);
  StartFlow(flier, 0);
  const double fx = flier.m_rcHit.dLeft;
  flier.m_bAnchorX = 1;
  // MoveStep adds no knock-back: only the move's velocity shows.
  MoveStep(walker);
  MoveStep(flier);
  EXPECT_EQ(walker.m_nDirection, 1);
  EXPECT_EQ(walker.m_rcHit.dLeft, 497.0 + 2.0);
  EXPECT_EQ(flier.m_rcHit.dLeft, fx);
  EXPECT_EQ(flier.m_bMoved, 0);
  EXPECT_EQ(flier.m_bAnchorX, 1);
  // Without the knock-back the ledge turns the walker.
  walker.m_dKnockX = 0;
  MoveStep(walker);
  EXPECT_EQ(walker.m_nDirection, 0);
}

TEST(CircleMove, AFullTurnAtSixDegreesAStepTakesSixtyStepsAndCloses) {
  // Sense 2 turns one way facing right and the other way facing left; placed
  // facing right, the mirror flag also starts it half a turn on: the mirror
  // image of the path facing left.
  struct Case {
    int facing, mirror;
    int xSign, ySign;  // of the way after a quarter turn
  } cases[] = {{0, 0, -1, -1}, {0, 1, -1, -1}, {1, 0, -1, 1}, {1, 1, 1, -1}};
  for (int level : {1, 3}) {
    for (const Case& k : cases) {
      GameWorld world(level);
      MapBuilder(std::vector<std::string>(12, std::string(12, '.'))).Build();
      const cEdMove move =
          MoveDef().Code(2).Mirror(k.mirror, 0).Angle(0).Distance(360).Radius(3).Timing(1).Speed(60 * level).Def();
      cChara& c = world.AddChara(
          WithFlow(Flier(1, k.facing), FlowDef(FLOWTRIGGER_NONE).Command(MoveCommand(ACTCMDTYPE_MOVE_CIRCLE, move))),
          {6, 6});
      world.UpdatePresence();
      const double x0 = c.m_rcHit.dLeft, y0 = c.m_rcHit.dTop;
      StartFlow(c, 0);
      int steps = 0;
      double minX = x0, maxX = x0, minY = y0, maxY = y0, xAtQuarter = 0, yAtQuarter = 0;
      while (c.m_vFlows[0].m_bRunning && steps < 1000) {
        MoveStep(c);
        ++steps;
        minX = std::min(minX, c.m_rcHit.dLeft);
        maxX = std::max(maxX, c.m_rcHit.dLeft);
        minY = std::min(minY, c.m_rcHit.dTop);
        maxY = std::max(maxY, c.m_rcHit.dTop);
        if (steps == 15) {
          xAtQuarter = c.m_rcHit.dLeft - x0;
          yAtQuarter = c.m_rcHit.dTop - y0;
        }
      }
      SCOPED_TRACE("S " + std::to_string(level) + " facing " + std::to_string(k.facing) + " mirror " +
                   std::to_string(k.mirror));
      EXPECT_EQ(steps, 60);
      EXPECT_NEAR(c.m_rcHit.dLeft, x0, 1e-9);
      EXPECT_NEAR(c.m_rcHit.dTop, y0, 1e-9);
      // A circle of 48 dots' radius (steps of 5 dots, below the speed
      // limit), its steps of 6 degrees as chords.
      EXPECT_NEAR(maxX - minX, 96, 6);
      EXPECT_NEAR(maxY - minY, 96, 6);
      EXPECT_GT(xAtQuarter * k.xSign, 30);
      EXPECT_GT(yAtQuarter * k.ySign, 30);
    }
  }
}

TEST(CircleMove, NoRadiusNoMove) {
  GameWorld world;
  MapBuilder({"......", "......"}).Build();
  const cEdMove move = MoveDef().Distance(360).Radius(0).Timing(1).Speed(60).Def();
  cChara& c = world.AddChara(
      WithFlow(Flier(), FlowDef(FLOWTRIGGER_NONE).Command(MoveCommand(ACTCMDTYPE_MOVE_CIRCLE, move))), {1, 1});
  world.UpdatePresence();
  const double x0 = c.m_rcHit.dLeft;
  StartFlow(c, 0);
  for (int s = 0; s < 10; ++s) MoveStep(c);
  EXPECT_EQ(c.m_rcHit.dLeft, x0);
  EXPECT_EQ(c.m_bMoved, 0);
}

TEST(DisableMove, StopsEverySpeedAndGravityForTheStep) {
  for (int level : {1, 3}) {
    GameWorld world(level);
    MapBuilder({"......", "......", "......"}).Build();
    cChara& c = world.AddChara(
        WithFlow(Walker(), FlowDef(FLOWTRIGGER_NONE).Command(CommandDef(ACTCMDTYPE_MOVE_DISABLE).UseTime(1))), {1, 0});
    world.UpdatePresence();
    c.m_dVy = 2.5;
    c.m_dInertiaX = c.m_dInertiaY = 0.5;
    c.m_dKnockX = c.m_dKnockY = 1.5;
    c.m_bAnchorX = c.m_bAnchorY = 1;
    const double y0 = c.m_rcHit.dTop;
    StartFlow(c, 0);
    for (int s = 0; s < 6 * level; ++s) {
      MoveStep(c, true);
      EXPECT_EQ(c.m_bMoveDisabled, 1);
      EXPECT_EQ(c.m_dVx, 0.0);
      EXPECT_EQ(c.m_dVy, 0.0);
      EXPECT_EQ(c.m_rcHit.dTop, y0) << "S " << level << " step " << s;
    }
    EXPECT_EQ(c.m_dInertiaX, 0.0);
    EXPECT_EQ(c.m_dInertiaY, 0.0);
    EXPECT_EQ(c.m_dKnockX, 0.0);
    EXPECT_EQ(c.m_dKnockY, 0.0);
    EXPECT_EQ(c.m_bAnchorX, 0);
    EXPECT_EQ(c.m_bAnchorY, 0);
    // The command over, gravity pulls again.
    MoveStep(c, true);
    EXPECT_EQ(c.m_dVy, Stage.m_dGravityPerStep);
  }
}

TEST(TurnCommand, TurnsOnItsFirstStepAndAgainEveryTenthOfASecond) {
  for (int level : {1, 3}) {
    GameWorld world(level);
    MapBuilder({"......", "......"}).Build();
    CommandDef turn(ACTCMDTYPE_TURN);
    turn.Param(0, 1).UseTime(2);
    turn.Def().m_nSe = 3;
    cChara& c = world.AddChara(WithFlow(Walker(1, 0), FlowDef(FLOWTRIGGER_NONE).Command(turn)), {1, 0});
    world.UpdatePresence();
    StartFlow(c, 0);
    std::vector<int> turnedAt;
    for (int s = 1; s <= 12 * level + 2; ++s) {
      MoveStep(c);
      if (c.m_nDirection == 1) turnedAt.push_back(s);
      c.m_nDirection = 0;
    }
    EXPECT_EQ(turnedAt, (std::vector<int>{1, 6 * level + 1})) << "S " << level;
    EXPECT_EQ(world.events.Texts(EventKind::Sound), (std::vector<std::string>{"19", "19"}));
  }
}

TEST(TurnCommand, FacesByItsParameterTheWallTheTargetOrNotAtAll) {
  GameWorld world;
  MapBuilder({"..........", ".........."}).Build();
  cHero& hero = world.AddHero(CharaDef().PlayerOperated(), {5, 0});
  struct Case {
    int how;
    int wall;      // m_nWallTurn
    int heroCell;  // column of the target; -1 none
    int fixed, before, after;
  } cases[] = {
      {0, -1, 5, 1, 1, 0}, {1, -1, 5, 1, 0, 1},
      {2, -1, 8, 1, 0, 1}, {2, -1, 0, 1, 1, 0}, {2, -1, 2, 1, 1, 0},  // toward (same centre: left)
      {3, -1, 8, 1, 1, 0}, {3, -1, 0, 1, 0, 1}, {3, -1, 2, 1, 0, 1},  // away
      {4, 0, 5, 1, 1, 0},  {4, 1, 5, 1, 0, 1},  {4, -1, 5, 1, 1, 1},  // the wall's side
      {5, 0, 5, 1, 0, 1},  {5, 1, 5, 1, 1, 0},  {5, -1, 5, 1, 0, 0},
      {6, 0, 5, 1, 0, 0},  {-1, 0, 5, 1, 1, 1},                       // no such way
      {1, -1, 5, 0, 0, 0},                                            // a free facing is not turned
  };
  for (const Case& k : cases) {
    hero.SetCellX(k.heroCell);
    cChara& c = world.AddChara(
        WithFlow(Walker(k.fixed, k.before), FlowDef(FLOWTRIGGER_NONE).Command(CommandDef(ACTCMDTYPE_TURN).Param(0, k.how))),
        {2, 0});
    world.UpdatePresence();
    c.m_nWallTurn = k.wall;
    StartFlow(c, 0);
    MoveStep(c);
    EXPECT_EQ(c.m_nDirection, k.after) << "how " << k.how << " wall " << k.wall << " hero " << k.heroCell;
  }
}

TEST(TurnCommand, WithoutATargetItTriesAgainNextStepUncounted) {
  GameWorld world;
  MapBuilder({"..........", ".........."}).Build();
  CommandDef turn(ACTCMDTYPE_TURN);
  turn.Param(0, 2).UseTime(1);
  turn.Def().m_nSe = 2;
  cChara& c = world.AddChara(WithFlow(Walker(1, 0), FlowDef(FLOWTRIGGER_NONE).Command(turn)), {2, 0});
  cChara& other = world.AddChara(Walker(), {7, 0});
  world.UpdatePresence();
  StartFlow(c, 0);
  for (int s = 0; s < 3; ++s) MoveStep(c);
  EXPECT_EQ(Command(c).m_nCount, 0);
  EXPECT_EQ(c.m_nDirection, 0);
  EXPECT_TRUE(world.events.Texts(EventKind::Sound).empty());
  c.m_nTargetId = other.m_nId;
  MoveStep(c);
  EXPECT_EQ(c.m_nDirection, 1);
  EXPECT_EQ(Command(c).m_nCount, 1);
  EXPECT_EQ(world.events.Texts(EventKind::Sound), (std::vector<std::string>{"18"}));
}

TEST(JumpCommand, AsksTheCharacterToJumpEveryStepUntilTheApex) {
  for (int level : {1, 3}) {
    GameWorld world(level);
    MapBuilder({"......", "......", "......", "......"}).Build();
    cJumper jumper;
    SetUpTestChara(jumper, WithFlow(Walker(), FlowDef(FLOWTRIGGER_NONE).Command(CommandDef(ACTCMDTYPE_JUMP).Param(2, 3))),
                   50, {1, 3}, 0, false);
    jumper.m_bPresent = 1;
    StartFlow(jumper, 0);
    int steps = 0, apex = 0;
    while (jumper.m_vFlows[0].m_bRunning && steps < 1000) {
      jumper.m_bAnchorX = 1;
      MoveStep(jumper, true);
      ++steps;
      EXPECT_EQ(jumper.m_bAnchorX, 0);
      if (!apex && jumper.m_dVy >= 0) apex = steps;
    }
    const cCommandInstance& i = Command(jumper);
    EXPECT_EQ(steps, i.m_nDuration) << "S " << level;
    EXPECT_EQ(static_cast<int>(jumper.speeds.size()), steps);
    EXPECT_EQ(jumper.speeds.front(), i.m_dSpeed);
    EXPECT_EQ(i.m_nCount, steps);
    // It lasts until the apex, rounded up to a tenth of a second.
    EXPECT_GE(steps, apex) << "S " << level;
    EXPECT_LE(steps - 6 * level, apex + level) << "S " << level;
  }
}
