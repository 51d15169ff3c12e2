// Block collision on harness maps: the finders and their ties, the sample
// places by scale, the deadly rule, the pushes and their triggers, the order
// of the passes, floors met while rising, the airborne delay, the re-checks,
// the view keeping under auto-scroll and the place test.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "game/characters.h"
#include "records/map_cell.h"
#include "records/stage.h"
#include "records/system.h"
#include "stage/scene_stage.h"
#include "support/builders.h"
#include "support/game_world.h"

using namespace testsupport;

namespace {

class BlockCollision : public ::testing::Test {
 protected:
  void TearDown() override { SystemData.m_bCompat677 = 0; }

  void Build(const std::vector<std::string>& rows) { MapBuilder(rows).Build(scene); }
  // The index of map cell (column, row) counted inside the border.
  int Index(int column, int row) const {
    return (column + kMapBorder) + ((row + kMapBorder) << scene.m_ScrollX.m_nShift);
  }
  cChara& Chara(int controller = 1, int flyMode = FLYMODE_WALK) {
    CharaDef def;
    if (controller == 0) def.PlayerOperated();
    cChara& c = world.AddChara(def.Fly(flyMode), {0, 0});
    c.m_nController = controller;
    return c;
  }
  // The hit box's top-left at (x, y) world dots.
  static void Put(cCharaBase& c, double x, double y) {
    c.m_rcHit.dLeft = x;
    c.m_rcHit.dTop = y;
    c.ClampX(2);
    c.ClampY(2);
  }
  std::vector<std::string> Triggers() { return world.events.Texts(EventKind::Trigger); }

  cSceneStage scene;
  GameWorld world{scene};
};

std::string Id(const cCharaBase& c) { return " " + std::to_string(c.m_nId); }

}  // namespace

TEST_F(BlockCollision, EdgeFindersTakeTheHighestAttributeAndBreakTiesByPlace) {
  // Column 1 and row 4 hold the cells under test; the character's unscaled
  // box is 32 x 32.
  struct Case {
    const char* what;
    std::vector<std::string> rows;
    int scale;
    bool vertical;    // the left edge at column 1, else the bottom edge on row 4
    int offset;       // of the edge's start into its first cell
    int column, row;  // the expected cell
  } cases[] = {
      {"equal cells on a side: the topmost", {".....", ".#...", ".#...", ".....", "....."}, 1, true, 16, 1, 1},
      {"deadly beats solid below it", {".....", ".#...", ".X...", ".....", "....."}, 1, true, 16, 1, 2},
      {"scale 1 samples the top and 31 below", {".....", ".....", ".#...", ".....", "....."}, 1, true, 0, 1, 1},
      {"scale 2 samples 62 below the top", {".....", ".....", ".#...", ".....", "....."}, 2, true, 0, 1, 2},
      {"scale 2 does not reach 93 below", {".....", ".....", ".....", ".#...", "....."}, 2, true, 0, 1, 1},
      {"scale 3 reaches 93 below", {".....", ".....", ".....", ".#...", "....."}, 3, true, 0, 1, 3},
      {"bottom, scale 1: the end nearer the centre", {".....", ".....", ".....", ".....", ".##.."}, 1, false, 16, 1, 4},
      {"bottom, scale 2: the sample nearest the centre", {".....", ".....", ".....", ".....", ".###."}, 2, false, 16, 2, 4},
      {"bottom: deadly beats the centre", {".....", ".....", ".....", ".....", ".##X."}, 2, false, 16, 3, 4},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Build(c.rows);
    cChara& chara = Chara();
    chara.m_Def.m_nScale = static_cast<int8_t>(c.scale);
    chara.m_nBaseHitWidth = chara.m_nBaseHitHeight = 32;
    chara.m_nHitWidth = chara.m_nHitHeight = 32 * c.scale;
    const int x = static_cast<int>(CellDot(1)) + (c.vertical ? 0 : c.offset);
    const int y = static_cast<int>(CellDot(1)) + (c.vertical ? c.offset : 0);
    const int found = c.vertical ? scene.FindEdgeBlock(chara, x, y, x, y + 32 * c.scale - 1)
                                 : scene.FindEdgeBlock(chara, x, static_cast<int>(CellDot(4)), x + 32 * c.scale - 1,
                                                       static_cast<int>(CellDot(4)));
    EXPECT_EQ(found, Index(c.column, c.row));
  }
}

TEST_F(BlockCollision, FootAndCornerFindersBreakTiesByPlaceAndScaleZeroSamplesAsOne) {
  Build({"......", "......", "#.#X..", "......"});
  cChara& chara = Chara(0);
  struct Case {
    int scale;
    double left;  // of a 64-dot wide box standing on row 2
    int column;
  } cases[] = {
      // Scale 1 samples the left end, 32 dots right of it and the right end.
      {1, CellDot(0) + 8, 0},  // solid at both ends, the middle empty: the left end is nearer the centre
      {1, CellDot(1) + 8, 3},  // solid under the middle, deadly under the right end wins
      {0, CellDot(0) + 8, 0},  // scale 0 samples as 1: no division by zero
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.left);
    chara.m_Def.m_nScale = static_cast<int8_t>(c.scale);
    chara.m_nHitWidth = 64;
    chara.m_nHitHeight = 16;
    Put(chara, c.left, CellDot(2) + 8);
    EXPECT_EQ(scene.FindFootBlock(chara), Index(c.column, 2));
  }
  // Corners in the order top-left, top-right, bottom-left, bottom-right;
  // the earlier of equal ones.
  EXPECT_EQ(scene.FindCornerBlock(0 + kMapBorder, 2 + kMapBorder, 2 + kMapBorder, 2 + kMapBorder, 0), Index(0, 2));
  EXPECT_EQ(scene.FindCornerBlock(2 + kMapBorder, 1 + kMapBorder, 3 + kMapBorder, 2 + kMapBorder, 0), Index(3, 2));
  EXPECT_EQ(scene.FindCornerBlock(4 + kMapBorder, 0 + kMapBorder, 5 + kMapBorder, 1 + kMapBorder, 0), Index(4, 0));
  // Outside the map: an empty cell, no index.
  EXPECT_EQ(scene.FindCornerBlock(-5, -5, -5, -5, 0), -1);
}

TEST_F(BlockCollision, TheDeadlyRuleByControllerAndFlyMode) {
  // A wall cell right of the character, which overlaps it by 4 dots.
  struct Case {
    const char* what;
    char wall;
    int controller, flyMode;
    int result;
    bool pushed;
  } cases[] = {
      {"solid pushes a walker", '#', 0, FLYMODE_WALK, 0, true},
      {"deadly kills the player's, unmoved", 'X', 0, FLYMODE_WALK, 2, false},
      {"deadly is solid to the computer's", 'X', 1, FLYMODE_WALK, 0, true},
      {"a flier that stops at blocks is pushed", '#', 1, FLYMODE_STOPPED, 0, true},
      {"blocks deadly to it: solid kills", '#', 1, FLYMODE_DEADLY_BLOCKS, 2, false},
      {"blocks deadly to it: deadly kills", 'X', 1, FLYMODE_DEADLY_BLOCKS, 2, false},
      {"flying through: never tested", 'X', 0, FLYMODE_THROUGH, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Build({"....", std::string("..") + c.wall + "."});
    cChara& chara = Chara(c.controller, c.flyMode);
    const double left = CellDot(2) - chara.m_nHitWidth + 4;
    Put(chara, left, CellDot(1));
    world.events.Clear();
    EXPECT_EQ(scene.HitBlockRight(chara), c.result);
    EXPECT_EQ(chara.m_rcHit.dLeft, c.pushed ? CellDot(2) - chara.m_nHitWidth : left);
    EXPECT_EQ(chara.LRUD[LRUD_RIGHT], c.pushed ? 1 : 0);
    EXPECT_EQ(Triggers().size(), c.pushed ? 3u : 0u);
  }
}

TEST_F(BlockCollision, SidePushesAlignToTheCellAndFireTheirTriggersInOrder) {
  Build({"#..#", "#..#"});
  cChara& chara = Chara();
  chara.m_dInertiaX = 2.5;
  chara.m_dVx = -3;
  // A left edge exactly on a cell boundary is moved a whole cell.
  Put(chara, CellDot(0), CellDot(0));
  world.events.Clear();
  EXPECT_EQ(scene.HitBlockLeft(chara), 0);
  EXPECT_EQ(chara.m_rcHit.dLeft, CellDot(1));
  EXPECT_EQ(chara.m_dInertiaX, 0);
  EXPECT_EQ(chara.m_dVx, -3) << "the speed stays";
  EXPECT_EQ(chara.m_nWallTurn, 0);
  EXPECT_EQ(Triggers(), (std::vector<std::string>{"9" + Id(chara), "10" + Id(chara), "11" + Id(chara)}));
  // Right: the right edge onto the last dot left of the cell.
  Put(chara, CellDot(3) - chara.m_nHitWidth + 10.75, CellDot(0));
  world.events.Clear();
  EXPECT_EQ(scene.HitBlockRight(chara), 0);
  EXPECT_EQ(chara.m_rcHit.dRight, CellDot(3) - 1 + 0.75);
  EXPECT_EQ(chara.m_nWallTurn, 1);
  EXPECT_EQ(Triggers(), (std::vector<std::string>{"9" + Id(chara), "10" + Id(chara), "12" + Id(chara)}));
}

TEST_F(BlockCollision, PassOrderFollowsSpeedAndFlyMode) {
  // Walls on both sides of a box that overlaps both: the first edge tested
  // fires its side trigger first.
  Build({"#.#", "#.#"});
  struct Case {
    const char* what;
    int flyMode;
    double vx, vy;
    std::string first;  // the first side trigger
  } cases[] = {
      {"moving right: right first", FLYMODE_WALK, 1, 0, "12"},
      {"standing: left first", FLYMODE_WALK, 0, 0, "11"},
      {"moving left: left first", FLYMODE_WALK, -1, 0, "11"},
      {"a flier that stops: right first whatever its speed", FLYMODE_STOPPED, -1, 0, "12"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    cChara& chara = Chara(1, c.flyMode);
    chara.m_nHitWidth = chara.m_nBaseHitWidth = 40;
    Put(chara, CellDot(1) - 4, CellDot(0) + 4);
    chara.m_dVx = c.vx;
    world.events.Clear();
    scene.HitBlocksX(chara);
    std::vector<std::string> sides;
    for (const std::string& t : Triggers())
      if (t.rfind("11 ", 0) == 0 || t.rfind("12 ", 0) == 0) sides.push_back(t.substr(0, 2));
    ASSERT_FALSE(sides.empty());
    EXPECT_EQ(sides.front(), c.first);
  }
}

TEST_F(BlockCollision, AFloorMetWhileRisingLandsOnlyWhenTheProjectSaysSo) {
  Build({"....", "####", "...."});
  struct Case {
    int landWhileRising, flyMode;
    double vy;
    bool lands;
  } cases[] = {
      {0, FLYMODE_WALK, -2, false}, {1, FLYMODE_WALK, -2, true}, {0, FLYMODE_WALK, 2, true},
      {0, FLYMODE_STOPPED, -2, true},  // a flier is not walking up
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(testing::Message() << c.landWhileRising << " " << c.flyMode << " " << c.vy);
    SystemData.m_bCompat677 = c.landWhileRising;
    for (int recheck = 0; recheck < 2; ++recheck) {
      cChara& chara = Chara(1, c.flyMode);
      Put(chara, CellDot(1) + 4, CellDot(1) + 8 - chara.m_nHitHeight);  // bottom 8 dots into the floor row
      chara.m_dVy = c.vy;
      const double top = chara.m_rcHit.dTop;
      EXPECT_EQ(recheck ? scene.HitBlocksYBottomFirst(chara) : scene.HitBlockBottom(chara), 0);
      EXPECT_EQ(chara.LRUD[LRUD_DOWN], c.lands ? 1 : 0) << "recheck " << recheck;
      EXPECT_EQ(chara.m_rcHit.dTop, c.lands ? CellDot(1) - chara.m_nHitHeight : top) << "recheck " << recheck;
      EXPECT_EQ(chara.m_pGroundCell, c.lands ? &MapCell[static_cast<size_t>(Index(1, 1))] : nullptr);
    }
  }
}

TEST_F(BlockCollision, AirborneOnlyAfterTheDelayAndNeverForAPlayerRidingACarrier) {
  for (int speed : {1, 3}) {
    Stage.SetSpeedLevel(speed);
    Build({"....", "....", "...."});
    for (int riding = 0; riding < 2; ++riding) {
      SCOPED_TRACE(testing::Message() << "S " << speed << " riding " << riding);
      cHero& hero = world.AddHero(CharaDef().PlayerOperated(), {1, 0});
      hero.m_bAirborne = 0;
      hero.m_bJumpReady = 0;
      hero.m_bRiding = riding;
      int steps = 0;
      while (!hero.m_bAirborne && steps < 100) {
        scene.HitBlocksY(hero);
        ++steps;
      }
      EXPECT_EQ(hero.m_bAirborne, riding ? 0 : 1);
      if (!riding) {
        EXPECT_EQ(steps, 8 * speed);
        EXPECT_EQ(hero.m_bJumpReady, 1);
      }
      EXPECT_EQ(hero.m_pFootCell, nullptr);
    }
  }
}

TEST_F(BlockCollision, TheFloorRecheckStandsOnTheFootCellAndGoesOnToTheCeiling) {
  // A hero 24 high between a ceiling row 0 and a floor row 2, touching both.
  Build({"####", "....", ".#X."});
  cHero& hero = world.AddHero(CharaDef().PlayerOperated(), {1, 1});
  struct Case {
    const char* what;
    double left;
    double vy;
    int result;
    bool ceiling;
  } cases[] = {
      {"solid floor, then the ceiling", CellDot(1) + 2, 1, 0, true},
      {"deadly under the middle sample: the hero dies", CellDot(1) + 20, 1, 2, false},
      {"rising: the floor is passed and the ceiling not tested", CellDot(1) + 2, -1, 0, false},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    hero.ClearBlockedFlags();
    hero.m_nHitHeight = 40;
    Put(hero, c.left, CellDot(1) - 4);
    hero.m_dVy = c.vy;
    EXPECT_EQ(scene.HitBlocksYBottomFirst(hero), c.result);
    EXPECT_EQ(hero.LRUD[LRUD_UP], c.ceiling ? 1 : 0);
  }
  // Right edge first, then the left; a 2 skips the left.
  Build({"#..X", "#..X"});
  cChara& chara = Chara(0);
  chara.m_nHitWidth = chara.m_nBaseHitWidth = 100;
  Put(chara, CellDot(0) + 16, CellDot(0));
  EXPECT_EQ(scene.HitBlocksXRightFirst(chara), 2);
  EXPECT_EQ(chara.LRUD[LRUD_RIGHT], 0);
  EXPECT_EQ(chara.LRUD[LRUD_LEFT], 0) << "the left edge was not tested";
}

TEST_F(BlockCollision, TheHeroIsKeptInsideAnAutoScrollingView) {
  Build(std::vector<std::string>(30, std::string(40, '.')));
  cHero& hero = world.AddHero(CharaDef().PlayerOperated(), {5, 5});
  constexpr double kEdge = 9999;
  struct Case {
    const char* what;
    int autoX, autoY, flyMode;
    double dx, dy;  // the box from the view's top-left
    int result;
    int lrud[4];
    double x, y;  // then, from the view's top-left; kEdge: against the right or bottom edge
  } cases[] = {
      {"no auto-scroll, walking: untouched", 0, 0, FLYMODE_WALK, -5, 200, 0, {0, 0, 0, 0}, -5, 200},
      {"left of the view", 1, 0, FLYMODE_WALK, -5, 200, 0, {1, 0, 0, 0}, 0, 200},
      {"right of the view", 1, 0, FLYMODE_WALK, 630, 200, 0, {0, 1, 0, 0}, kEdge, 200},
      {"a flier without auto-scroll is kept too", 0, 0, FLYMODE_STOPPED, -5, 200, 0, {1, 0, 0, 0}, 0, 200},
      {"above the view", 0, 1, FLYMODE_WALK, 300, -3, 0, {0, 0, 1, 0}, 300, 0},
      {"below: a walker is pushed out", 0, 1, FLYMODE_WALK, 300, 470, 2, {0, 0, 0, 1}, 300, kEdge},
      {"below: a flier is held", 0, 1, FLYMODE_STOPPED, 300, 470, 0, {0, 0, 0, 1}, 300, kEdge},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    hero.SetFlyMode(c.flyMode, 1);
    scene.m_ScrollX.m_bAutoScroll = c.autoX;
    scene.m_ScrollY.m_bAutoScroll = c.autoY;
    scene.m_ScrollX.m_dPos = CellDot(2);
    scene.m_ScrollY.m_dPos = CellDot(2);
    hero.ClearBlockedFlags();
    hero.m_rcHit.dLeft = CellDot(2) + c.dx;
    hero.m_rcHit.dTop = CellDot(2) + c.dy;
    hero.m_rcHit.dRight = hero.m_rcHit.dLeft + hero.m_nHitWidth - 1;
    hero.m_rcHit.dBottom = hero.m_rcHit.dTop + hero.m_nHitHeight - 1;
    const int rx = scene.KeepInScreenX(hero);
    const int ry = scene.KeepInScreenY(hero);
    EXPECT_EQ(rx, 0);
    EXPECT_EQ(ry, c.result);
    EXPECT_EQ(std::vector<int>(hero.LRUD, hero.LRUD + 4), std::vector<int>(c.lrud, c.lrud + 4));
    EXPECT_EQ(hero.m_rcHit.dLeft - CellDot(2), c.x == kEdge ? 640 - hero.m_nHitWidth - 1 : c.x);
    EXPECT_EQ(hero.m_rcHit.dTop - CellDot(2), c.y == kEdge ? 480 - hero.m_nHitHeight - 1 : c.y);
  }
}

TEST_F(BlockCollision, APlaceIsBlockedAtItsCornersOrOnASolidCharacter) {
  Build({"#...", "....", "...2", "...."});
  cChara& box = world.AddChara(CharaDef().BlockChara(), {1, 3});
  box.m_bPresent = 1;
  cChara& probe = Chara();
  probe.m_bPresent = 1;
  struct Case {
    const char* what;
    double x, y;
    int group, flyMode;
    int blocked;
  } cases[] = {
      {"top-left corner in a block", CellDot(0) + 20, CellDot(0) + 20, 0, FLYMODE_WALK, 1},
      {"all corners free", CellDot(1) + 4, CellDot(1) + 4, 0, FLYMODE_WALK, 0},
      {"a block its group passes", CellDot(3) + 4, CellDot(2) + 4, 2, FLYMODE_WALK, 0},
      {"that block for another group", CellDot(3) + 4, CellDot(2) + 4, 1, FLYMODE_WALK, 1},
      {"a flier through blocks", CellDot(0) + 20, CellDot(0) + 20, 0, FLYMODE_THROUGH, 0},
      {"on a block character", box.m_rcHit.dLeft + 2, box.m_rcHit.dTop + 2, 0, FLYMODE_WALK, 1},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    probe.SetFlyMode(c.flyMode);
    probe.m_nGroup = c.group;
    Put(probe, c.x, c.y);
    EXPECT_EQ(scene.IsBlockedAt(probe), c.blocked);
  }
}
