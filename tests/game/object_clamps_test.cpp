// A game object against its stage: the clamps of each mode with their
// codes, the speed cap, friction, scaling under both switches, cell edges,
// the screen rectangle and the view, area and removal tests.
#include <gtest/gtest.h>

#include <cmath>

#include "game/characters.h"
#include "game/game_object.h"
#include "records/stage.h"
#include "records/system.h"
#include "support/builders.h"
#include "support/game_world.h"
#include "support/map_builder.h"

using namespace testsupport;

namespace {

// A map of 20 × 15 cells: the map spans 320..960 across and 320..800 down;
// the active area is 1280 × 1120. The view may scroll over cells 2..15
// (world 384..832) across and 2..10 (384..672) down.
class ObjectOnStage : public ::testing::Test {
 protected:
  void SetUp() override {
    StageSettings().LimitLeft(2).LimitRight(15).LimitTop(2).LimitBottom(10);
    MapBuilder(std::vector<std::string>(15, std::string(20, '.'))).Build();
  }
  // An object with a w × h hit box at (x, y); no gravity.
  cGameObject Object(int w, int h, double x, double y) {
    cGameObject o;
    o.SetUp(1, 1, 0, 1, 0, nullptr, 0, 8, 4, w, h, 32, 32, 0, FLYMODE_STOPPED, 0);
    o.m_rcHit.dLeft = x;
    o.m_rcHit.dTop = y;
    return o;
  }
  GameWorld world;
};

}  // namespace

TEST_F(ObjectOnStage, ClampXHoldsEachModeInItsRangeAndSaysWhereTheObjectWas) {
  ASSERT_EQ(world.Scene().m_ScrollX.m_nMin, 384);
  ASSERT_EQ(world.Scene().m_ScrollX.m_nMax, 832);
  struct Case {
    int mode;
    double x;
    int result;
    double clampedX;
  };
  const Case cases[] = {
      {2, -3.5, 3, 0},     {2, 1270, 3, 1264},  {2, 300, 2, 300},    {2, 950, 2, 950},
      {2, 350, 1, 350},    {2, 820, 1, 820},    {2, 500.25, 0, 500.25},
      {1, 300, 0, 320},    {1, 950, 0, 944},    {1, 350, 1, 350},    {1, 820, 1, 820},
      {1, 500, 0, 500},    {0, 350, 0, 384},    {0, 820, 0, 816},    {0, 500, 0, 500},
      {7, -3.5, 0, -3.5},
  };
  for (const Case& c : cases) {
    cGameObject o = Object(16, 24, c.x, 400);
    EXPECT_EQ(o.ClampX(c.mode), c.result) << c.mode << " " << c.x;
    EXPECT_EQ(o.m_rcHit.dLeft, c.clampedX) << c.mode << " " << c.x;
    EXPECT_EQ(o.m_rcHit.dRight, c.clampedX + 15) << c.mode << " " << c.x;
  }
}

TEST_F(ObjectOnStage, ClampYHoldsEachModeInItsRangeAndSaysWhereTheObjectWas) {
  struct Case {
    int mode;
    double y;
    int result;
    double clampedY;
  };
  const Case cases[] = {
      {2, -1, 3, 0},    {2, 1100, 6, 1096}, {2, 300, 2, 300}, {2, 790, 5, 790}, {2, 350, 1, 350},
      {2, 660, 4, 660}, {2, 500, 0, 500},   {1, 300, 0, 320}, {1, 790, 0, 776}, {1, 350, 1, 350},
      {1, 660, 4, 660}, {1, 500, 0, 500},   {0, 350, 0, 384}, {0, 660, 0, 648}, {0, 500, 0, 500},
  };
  for (const Case& c : cases) {
    cGameObject o = Object(16, 24, 500, c.y);
    EXPECT_EQ(o.ClampY(c.mode), c.result) << c.mode << " " << c.y;
    EXPECT_EQ(o.m_rcHit.dTop, c.clampedY) << c.mode << " " << c.y;
    EXPECT_EQ(o.m_rcHit.dBottom, c.clampedY + 23) << c.mode << " " << c.y;
  }
}

TEST_F(ObjectOnStage, CellsAreTheTruncatedEdgesShiftedByFive) {
  struct Case {
    int w;
    double x;
    int left, right;
  };
  const Case cases[] = {{32, 31.9, 0, 1}, {32, 32.0, 1, 1}, {16, 63.99, 1, 2}, {1, 0.5, 0, 0}};
  for (const Case& c : cases) {
    cGameObject o = Object(c.w, 16, c.x, 0.75);
    o.ClampX(7);
    o.ClampY(7);
    EXPECT_EQ(o.m_nCellLeft, c.left) << c.x;
    EXPECT_EQ(o.m_nCellRight, c.right) << c.x;
    EXPECT_EQ(o.m_nCellTop, 0);
    EXPECT_EQ(o.m_nCellBottom, 0);  // 16.75 truncates to 16
  }
}

TEST_F(ObjectOnStage, StepCapsTheSpeedToTheStagesMaximumPerStep) {
  struct Case {
    int level;
    double vx;
    double moved;
  };
  // Levels 1..10 allow 6 dots a step; 11..19 allow 60 dots a frame, 60 / S a step.
  const Case cases[] = {{1, 9, 6}, {1, -9, -6}, {1, 5.5, 5.5}, {10, 9, 6}, {11, 9, 9}, {13, 25, 20}};
  for (const Case& c : cases) {
    Stage.SetSpeedLevel(c.level);
    cGameObject o = Object(16, 16, 500, 500);
    o.m_dVx = c.vx;
    o.m_dVy = c.vx;
    o.StepX(2);
    o.StepY(2);
    EXPECT_EQ(o.m_rcHit.dLeft, 500 + c.moved) << c.level << " " << c.vx;
    EXPECT_EQ(o.m_dVx, c.moved) << c.level << " " << c.vx;
    EXPECT_EQ(o.m_rcHit.dTop, 500 + c.moved) << c.level << " " << c.vx;
  }
}

TEST_F(ObjectOnStage, FrictionStopsAtZeroInsteadOfCrossingIt) {
  struct Case {
    double v, decel;
    int enabled;
    double after;
  };
  const Case cases[] = {{0.3, 0.5, 1, 0}, {-0.3, 0.5, 1, 0}, {1.0, 0.25, 1, 0.75}, {-1.0, 0.25, 1, -0.75},
                        {0.3, 0.5, 0, 0.3}, {0, 0.5, 1, 0}};
  for (const Case& c : cases) {
    cGameObject o = Object(16, 16, 500, 500);
    o.m_dStopDecel = c.decel;
    double v = c.v;
    o.ApplyFriction(v, c.enabled);
    EXPECT_EQ(v, c.after) << c.v << " " << c.decel;
  }
}

TEST_F(ObjectOnStage, SetScaleKeepsTheHitBoxCentreAndScalesEverySize) {
  cGameObject o = Object(20, 16, 500, 500);
  o.SetScale(1, 1);
  EXPECT_EQ(o.m_rcHit.dLeft, 500);
  EXPECT_EQ(o.m_nHitWidth, 20);
  o.SetScale(2, 1);
  EXPECT_EQ(o.m_rcHit.dLeft, 490);
  EXPECT_EQ(o.m_rcHit.dRight, 529);
  EXPECT_EQ(o.m_rcHit.dTop, 500);  // a plain object keeps its y
  EXPECT_EQ(o.m_nHitWidth, 40);
  EXPECT_EQ(o.m_nHitHeight, 32);
  EXPECT_EQ(o.m_nOffsetX, 16);
  EXPECT_EQ(o.m_nOffsetY, 8);
  EXPECT_EQ(o.m_nGfxWidth, 64);
  EXPECT_EQ(o.m_nGfxHeight, 64);
  EXPECT_EQ(o.m_nBaseHitWidth, 20);
}

TEST_F(ObjectOnStage, ACharacterScaledUpKeepsItsHitBoxBottomOrItsGraphicBottomByTheSwitch) {
  // A flying character: 16 × 16 hit box centred in its 32-dot graphic (offset 8).
  for (int keepHitBottom : {1, 0}) {
    SystemData.m_bCompat261 = keepHitBottom;
    cChara c;
    SetUpTestChara(c, CharaDef().Fly(FLYMODE_STOPPED), 5, {5, 5}, 0, false);
    ASSERT_EQ(c.m_rcHit.dTop, 488);  // (5 + 10) × 32 + 8
    const double bottomBefore = c.m_rcHit.dBottom;
    c.SetScale(3, 1);
    if (keepHitBottom) {
      EXPECT_EQ(c.m_rcHit.dTop, 488 - 2 * 16);
      EXPECT_EQ(c.m_rcHit.dBottom, bottomBefore);
    } else {
      EXPECT_EQ(c.m_rcHit.dTop, 488 - (2 * 32 - 2 * 8));
      EXPECT_EQ(c.m_rcHit.dTop - c.m_nOffsetY + c.m_nGfxHeight, 488 - 8 + 32);  // graphic bottom stays
    }
    EXPECT_EQ(c.m_rcHit.dLeft, 488.5 - 16);  // (5 + 10) × 32 + 8 + 0.5, less (3 − 1) × 8
  }
}

TEST_F(ObjectOnStage, PositionsFarOutsideTheIntRangeGiveDefinedCellsAndRectangles) {
  struct Case {
    double x;
    int cell, left;
  };
  const Case cases[] = {{1e300, 2147483647 >> 5, 2147483647}, {-1e300, -2147483648 >> 5, -2147483647 - 1},
                        {std::nan(""), 0, 0}};
  for (const Case& c : cases) {
    cGameObject o = Object(16, 16, c.x, 0);
    o.ClampX(7);
    o.UpdateScreenRect();
    EXPECT_EQ(o.m_nCellLeft, c.cell) << c.x;
    EXPECT_EQ(o.m_rcScreen.nLeft, c.left) << c.x;
    EXPECT_EQ(o.m_rcScreen.nRight, c.left == 2147483647 ? 2147483647 : c.left + 31) << c.x;
  }
}

TEST_F(ObjectOnStage, TheScreenRectangleTruncatesTowardZero) {
  struct Case {
    double x, y, scrollX, scrollY;
    int left, top;
  };
  const Case cases[] = {{500.7, 400.2, 100.9, 50.5, 392, 346}, {5.5, 3.0, 0, 0, -2, -1}, {8.5, 4.0, 0.9, 0, 0, 0}};
  for (const Case& c : cases) {
    cGameObject o = Object(16, 16, c.x, c.y);
    world.Scene().m_ScrollX.m_dPos = c.scrollX;
    world.Scene().m_ScrollY.m_dPos = c.scrollY;
    o.UpdateScreenRect();
    EXPECT_EQ(o.m_rcScreen.nLeft, c.left) << c.x;
    EXPECT_EQ(o.m_rcScreen.nTop, c.top) << c.y;
    EXPECT_EQ(o.m_rcScreen.nRight, c.left + 31);
    EXPECT_EQ(o.m_rcScreen.nBottom, c.top + 31);
  }
}

TEST_F(ObjectOnStage, OnScreenAndInsideTheAreas) {
  // The view covers x 400..1039 and y 400..879.
  world.Scene().m_ScrollX.m_dPos = 400;
  world.Scene().m_ScrollY.m_dPos = 400;
  struct Case {
    double x, y;
    int onScreen, onIgnoringX, insideActive, insideMap;
  };
  const Case cases[] = {
      {500, 500, 1, 1, 1, 1},      {384, 500, 0, 1, 1, 1},   {385, 500, 1, 1, 1, 1},
      {1039.5, 500, 1, 1, 1, 0},   {1040, 500, 0, 1, 1, 0},  {500, 880, 0, 0, 1, 0},
      {500, 384.5, 0, 0, 1, 1},    {-1, 500, 0, 1, 0, 0},    {1265, 500, 0, 1, 0, 0},
  };
  for (const Case& c : cases) {
    cGameObject o = Object(16, 16, c.x, c.y);
    o.ClampX(7);
    o.ClampY(7);
    EXPECT_EQ(o.IsOnScreen(), c.onScreen) << c.x << " " << c.y;
    EXPECT_EQ(o.IsOnScreenAxes(1, 0), c.onIgnoringX) << c.x << " " << c.y;
    EXPECT_EQ(o.IsOnScreenAxes(1, 1), 1);
    EXPECT_EQ(o.IsInsideArea(1), c.insideActive) << c.x << " " << c.y;
    EXPECT_EQ(o.IsInsideArea(0), c.insideMap) << c.x << " " << c.y;
  }
}

TEST_F(ObjectOnStage, RemovalBeyondEachSidesMarginOrAtTheActiveAreasBorder) {
  world.Scene().m_ScrollX.m_dPos = 400;
  world.Scene().m_ScrollY.m_dPos = 400;
  struct Case {
    int left, right, top, bottom;  // switches; every margin is 2 cells (64 dots)
    double x, y;
    int removed;
  };
  const Case cases[] = {
      {1, 0, 0, 0, 321, 500, 1},   // right edge 336 at or left of 400 − 64
      {1, 0, 0, 0, 322, 500, 0},   // 337 is past it
      {0, 0, 0, 0, 320, 500, 0},   // the side is off
      {0, 1, 0, 0, 1104, 500, 1},  // at 400 + 64 + 640
      {0, 1, 0, 0, 1103.9, 500, 0},
      {0, 0, 0, 1, 500, 944, 1},   // at 64 + 400 + 480
      {0, 0, 1, 0, 500, 320, 1},   // bottom 335 at or above 336
      {0, 0, 0, 0, 0, 500, 1},     // on the active area's left border
      {0, 0, 0, 0, 1264, 500, 1},  // its right border: 1279
      {0, 0, 0, 0, 500, 1104, 1},  // its bottom border: 1119
  };
  for (const Case& c : cases) {
    cEdOffScreenRule rule;
    rule.Set(c.left, c.right, c.top, c.bottom, 2, 2, 2, 2);
    cGameObject o = Object(16, 16, c.x, c.y);
    o.ClampX(7);
    o.ClampY(7);
    EXPECT_EQ(o.IsOutsideRemovalArea(rule), c.removed) << c.x << " " << c.y;
    o.m_bOnScreen = 1;
    EXPECT_EQ(o.IsOutsideRemovalArea(rule), 0) << "never while on screen";
  }
}

TEST_F(ObjectOnStage, TouchesBlockCornersTestsTheFourCornerCellsForItsGroup) {
  MapBuilder({"....", ".#..", "..3.", "...."}).Build();
  struct Case {
    double x, y;
    int group;
    int touches;
  };
  // Cell (1, 1) is world 352..383 across and down; cell (2, 2) passes group 3.
  const Case cases[] = {{340, 340, 0, 1}, {330, 330, 0, 0}, {384, 340, 0, 0}, {376, 376, 3, 1},
                        {385, 385, 3, 0}, {385, 385, 2, 1}, {-50, -50, 0, 0}, {1e300, 1e300, 0, 0},
                        {-1e300, 340, 0, 0}, {std::nan(""), std::nan(""), 0, 0}};
  for (const Case& c : cases) {
    cGameObject o = Object(16, 16, c.x, c.y);
    o.m_nGroup = c.group;
    o.ClampX(7);
    o.ClampY(7);
    EXPECT_EQ(o.TouchesBlockCorners(), c.touches) << c.x << " " << c.y << " group " << c.group;
  }
}
