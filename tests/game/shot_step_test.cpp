// A shot's logic step: the scroll part of its speed, life and distance
// (with the stop at the distance), facing, the capped moves with the
// acceleration entering twice, and the block test with its corner order and
// its lattice for wide shots.
#include <gtest/gtest.h>

#include "game/map_cells.h"
#include "records/command_vocab.h"
#include "records/condition.h"
#include "records/database.h"
#include "records/map_cell.h"
#include "records/system.h"
#include "shot_test_env.h"

using namespace shottest;

TEST(ShotStep, TheScrollPartComesFromTheAxesOnlyForATiedShotWhenMovesLeaveTheScrollOut) {
  struct Case {
    int tied, scrollInMoves, atLimitX;
    double vx, vy;
  } cases[] = {
      {1, 0, 0, 3, 1.5},  // scroll 1 and 0.5 a step, base 2 and 1
      {1, 0, 1, 2, 1.5},  // the horizontal axis stands at its limit
      {1, 1, 0, 2, 1},    // the moves carry the scroll themselves
      {0, 0, 0, 2, 1},
  };
  for (const Case& c : cases) {
    ShotStage stage;
    SystemData.m_bCompat214 = c.scrollInMoves;
    stage.Scene().m_ScrollX.m_dAutoSpeed = 1.0;
    stage.Scene().m_ScrollX.m_bAtLimit = c.atLimitX;
    stage.Scene().m_ScrollY.m_dAutoSpeed = 0.5;
    cChara& owner = stage.Chara(3, 3);
    cEdShot def = OneShot();
    def.m_bAimDirect = static_cast<int8_t>(c.tied);
    cShot& shot = stage.Fire(owner, def, SpawnAt(400, 400, 2, 1));
    EXPECT_EQ(shot.m_bScrollSync, c.tied);
    EXPECT_EQ(shot.StepTrajectory(), 0);
    EXPECT_EQ(shot.m_dVx, c.vx) << c.tied << c.scrollInMoves << c.atLimitX;
    EXPECT_EQ(shot.m_dVy, c.vy) << c.tied << c.scrollInMoves << c.atLimitX;
  }
}

TEST(ShotStep, WithGravityTheVerticalSpeedCarriesOverFromStepToStep) {
  ShotStage stage;
  cChara& owner = stage.Chara(3, 3);
  cShot& shot = stage.Fire(owner, OneShot(), SpawnAt(400, 400, 2, 1));
  shot.m_bNoGravity = 0;
  shot.m_dVy = 0.75;
  shot.StepTrajectory();
  EXPECT_EQ(shot.m_dVy, 0.75);
  EXPECT_EQ(shot.m_dVx, 2);
}

TEST(ShotStep, ALifeOfOneTenthLastsSixStepsAFrame) {
  for (int level : {1, 3}) {
    ShotStage stage(level);
    cChara& owner = stage.Chara(3, 3);
    cEdShot def = OneShot();
    def.m_bLifeLimit = 1;
    SHOTSPAWN sp = SpawnAt(400, 400, 1, 0);
    sp.nLife = 1;
    cShot& shot = stage.Fire(owner, def, sp);
    int steps = 0;
    while (shot.StepTrajectory() == 0 && steps < 100) ++steps;
    EXPECT_EQ(steps, 6 * level);
  }
}

TEST(ShotStep, FacingFollowsTheStepSpeedAndAStillShotKeepsIt) {
  ShotStage stage;
  cChara& owner = stage.Chara(3, 3, CharaDef().Facing(1));
  cShot& shot = stage.Fire(owner, OneShot(), SpawnAt(400, 400, 0, 1));
  EXPECT_EQ(shot.m_nDirection, 1);
  shot.StepTrajectory();
  EXPECT_EQ(shot.m_nDirection, 1);
  shot.m_dBaseVx = -0.5;
  shot.StepTrajectory();
  EXPECT_EQ(shot.m_nDirection, 0);
  shot.m_dBaseVx = 0;
  shot.StepTrajectory();
  EXPECT_EQ(shot.m_nDirection, 0);
}

TEST(ShotStep, AtTheEndOfItsDistanceAShotVanishesOrStaysWhereItIs) {
  struct Case {
    int stay, tied;
    int stepsAlive;  // of 8 steps
    double x;        // where it is after them
  } cases[] = {
      {0, 0, 4, 416},
      {1, 0, 8, 416},
      {1, 1, 8, 416 + 4 * 1.0},  // tied to the screen it goes on with the view
  };
  for (const Case& c : cases) {
    ShotStage stage;
    SystemData.m_bCompat214 = 0;
    stage.Scene().m_ScrollX.m_dAutoSpeed = 1.0;
    cChara& owner = stage.Chara(3, 3);
    cEdShot def = OneShot();
    def.m_bRangeLimit = 1;
    def.m_bStraightAtRangeEnd = static_cast<int8_t>(c.stay);
    def.m_bAimDirect = static_cast<int8_t>(c.tied);
    def.m_nPath = SHOTPATH_AIM_HERO;
    SHOTSPAWN sp = SpawnAt(400, 400, 4, 0, 4);
    sp.nDistance = 2;  // 32 − 16 = 16 dots: four steps
    cShot& shot = stage.Fire(owner, def, sp);
    ASSERT_EQ(shot.m_nDistSteps, 4);
    if (c.tied) shot.m_dBaseVx = 4 - 1.0;  // 4 a step over the ground
    int alive = 0;
    for (int i = 0; i < 8 && stage.Scene().m_Shots.size() == 1; ++i) {
      stage.StepShots();
      if (stage.Scene().m_Shots.size() == 1) ++alive;
    }
    EXPECT_EQ(alive, c.stepsAlive) << c.stay << c.tied;
    if (!stage.Scene().m_Shots.empty()) {
      EXPECT_EQ(shot.m_rcHit.dLeft, c.x) << c.stay << c.tied;
      EXPECT_EQ(shot.m_ShotDef.m_nPath, SHOTPATH_STRAIGHT);
      EXPECT_EQ(shot.m_dBaseVx, 0);
    }
  }
}

TEST(ShotStep, MovesAreCappedAndTheAccelerationEntersTheBaseAndTheStepSpeed) {
  ShotStage stage;
  cChara& owner = stage.Chara(3, 3);
  cShot& fast = stage.Fire(owner, OneShot(), SpawnAt(400, 400, 9, 0));
  fast.StepTrajectory();
  fast.StepHorizontal();
  EXPECT_EQ(fast.m_dVx, Stage.m_dMaxSpeedPerStep);
  EXPECT_EQ(fast.m_rcHit.dLeft, 400 + Stage.m_dMaxSpeedPerStep);

  cEdShot def = OneShot();
  def.m_bAccel = 1;
  def.m_nAccel = 6;  // 0.6000000000000001 / 60 a step per step
  cShot& shot = stage.Fire(owner, def, SpawnAt(400, 400, 2, 0));
  ASSERT_EQ(shot.m_dInertiaX, 0.010000000000000002);
  const double expected[][3] = {
      {2.01, 2.0199999999999996, 402.02},
      {2.0199999999999996, 2.0299999999999994, 404.04999999999995},
      {2.0299999999999994, 2.039999999999999, 406.09},
  };
  for (const auto& e : expected) {
    shot.StepTrajectory();
    shot.StepVertical();
    shot.StepHorizontal();
    EXPECT_EQ(shot.m_dBaseVx, e[0]);
    EXPECT_EQ(shot.m_dVx, e[1]);
    EXPECT_EQ(shot.m_rcHit.dLeft, e[2]);
  }
  EXPECT_EQ(shot.m_rcHit.dTop, 400);
}

namespace {

// The cell of world dot (x, y), with a condition that latches when a test visits it.
MAPCELL& WatchedCell(int x, int y, char kind) {
  MAPCELL* cell = CellAtDots(x, y);
  cell->Block = MapBuilder::BlockFor(kind);
  // S0 = 0: a condition that holds.
  cell->Block.m_vConditions.resize(1);
  cEdCondition& holds = cell->Block.m_vConditions[0];
  holds.m_nType = CONDTYPE_STAGE_VAR;
  holds.m_nIndex = 0;
  holds.m_nCompare = CMPOP_EQ;
  holds.m_nConst = 0;
  cell->bLatched = 0;
  return *cell;
}

}  // namespace

TEST(ShotBlocks, CornersAreTestedLeftTopLeftBottomRightTopRightBottom) {
  ShotStage stage;
  cChara& owner = stage.Chara(3, 3);
  // A 16-dot shot across four cells: its corners are in cells 12/13 × 12/13.
  cShot& shot = stage.Fire(owner, OneShot(), SpawnAt(408, 408, 0, 0));
  MAPCELL& leftBottom = WatchedCell(392, 424, '#');
  MAPCELL& rightTop = WatchedCell(424, 392, '#');
  EXPECT_EQ(shot.HitsBlock(), 1);
  EXPECT_EQ(leftBottom.bLatched, 1);
  EXPECT_EQ(rightTop.bLatched, 0);
  // Its own group passes; pass-blocks passes everything.
  leftBottom.Block = MapBuilder::BlockFor('1');
  rightTop.Block = MapBuilder::BlockFor('1');
  EXPECT_EQ(shot.HitsBlock(), 0);
  rightTop.Block = MapBuilder::BlockFor('X');
  EXPECT_EQ(shot.HitsBlock(), 1);
  shot.m_ShotDef.m_bPassBlocks = 1;
  EXPECT_EQ(shot.HitsBlock(), 0);
}

TEST(ShotBlocks, AWideShotTestsEvery32DotsAndItsLastDot) {
  struct Case {
    int x;
    std::vector<int> columns;  // world cells visited on its top row
  } cases[] = {
      {330, {10, 11}},      // 330, 362, 377: x + 64 (cell 12) is not visited
      {345, {10, 11, 12}},  // 345, 377, 392
  };
  for (const Case& c : cases) {
    ShotStage stage;
    cChara& owner = stage.Chara(3, 3);
    cEdShot def = OneShot();
    def.m_nScale = 3;  // 48 × 48
    cShot& shot = stage.Fire(owner, def, SpawnAt(c.x, 330, 0, 0));
    ASSERT_EQ(shot.m_nHitWidth, 48);
    std::vector<MAPCELL*> row;
    for (int cx = 9; cx <= 13; ++cx) row.push_back(&WatchedCell(cx * 32, 330, '1'));
    EXPECT_EQ(shot.HitsBlock(), 0);
    std::vector<int> visited;
    for (int cx = 9; cx <= 13; ++cx)
      if (row[cx - 9]->bLatched) visited.push_back(cx);
    EXPECT_EQ(visited, c.columns) << c.x;
    // Rows 330, 362 and 377 (cells 10 and 11): row 12 is never reached.
    WatchedCell(c.x, 377 + 32, '#');
    EXPECT_EQ(shot.HitsBlock(), 0);
    WatchedCell(c.x + 47, 377, '#');
    EXPECT_EQ(shot.HitsBlock(), 1);
  }
}

TEST(ShotBlocks, AShotWiderThanTheWorldVisitsTheMapsCellsOnly) {
  ShotStage stage;
  cChara& owner = stage.Chara(3, 3);
  Database.m_vSwordType.At(0).m_vFrame.At(0).m_nWidth = 1 << 30;
  Database.m_vSwordType.At(0).m_vFrame.At(0).m_nHeight = 16;
  cShot& sword = stage.Fire(owner, OneShot(), SpawnAt(400, 330, 0, 0), SHOTMAKER_SWORD);
  ASSERT_EQ(sword.m_nHitWidth, 1 << 30);
  const int cells = stage.Scene().m_ScrollX.m_nCells;
  std::vector<MAPCELL*> row;
  for (int cx = 0; cx < cells; ++cx) row.push_back(&WatchedCell(cx * 32, 330, '1'));
  EXPECT_EQ(sword.HitsBlock(), 0);
  int visited = 0;
  for (MAPCELL* cell : row) visited += cell->bLatched;
  EXPECT_EQ(visited, cells);
  WatchedCell((cells - 1) * 32, 340, '#');
  EXPECT_EQ(sword.HitsBlock(), 1);
}
