// The warp command run by a flow at 1 and 3 logic steps a frame: where each
// method and basis puts the character, the vertical speed it loses, the
// screen anchor of a warp to a view point, and the places it refuses.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "game/action_commands.h"
#include "game/characters.h"
#include "game/display_commands.h"
#include "move_test_env.h"
#include "support/builders.h"
#include "support/flow_builders.h"
#include "support/flow_recorder.h"
#include "support/game_world.h"

using namespace testsupport;
using movetest::MoveDef;

namespace {

// A 20 × 12 map: a wall cell at (8, 5), a block character placed at (5, 8).
const std::vector<std::string> kMap = {
    "....................", "....................", "....................", "....................",
    "....................", "........#...........", "....................", "....................",
    "....................", "....................", "....................", "....................",
};

constexpr double kDiag = 32 / 1.4142135623730951;  // 2 half blocks along a diagonal

struct WarpCase {
  const char* what;
  MoveDef move;
  int facing;     // of the warping character
  int fly;        // its fly mode
  bool target;    // it has a target at (10, 3) facing right
  int scrollX, scrollY;  // view position; 0 stands for the map's corner
  double dx, dy;  // where it ends, from where it stood
  bool moved;     // false: the place was refused or nothing named one
  bool anchored;
};

// The character stands on cell (5, 5) with a vertical speed of 3; the view
// is at the map's top-left corner unless a case moves it.
const WarpCase kCases[] = {
    {"right by 3 half blocks", MoveDef().Code(DIRCODE_RIGHT).Distance(3), 0, FLYMODE_STOPPED, false, 0, 0, 48, 0, true,
     false},
    {"front while facing left", MoveDef().Code(DIRCODE_FRONT).Distance(3), 0, FLYMODE_STOPPED, false, 0, 0, -48, 0,
     true, false},
    {"front while facing right", MoveDef().Code(DIRCODE_FRONT).Distance(3), 1, FLYMODE_STOPPED, false, 0, 0, 48, 0,
     true, false},
    {"down, also for a walker", MoveDef().Code(DIRCODE_DOWN).Distance(2), 0, FLYMODE_WALK, false, 0, 0, 0, 32, true,
     false},
    {"up and right by g/sqrt 2 each", MoveDef().Code(DIRCODE_UP_RIGHT).Distance(2), 0, FLYMODE_STOPPED, false, 0, 0,
     kDiag, -kDiag, true, false},
    {"down and left", MoveDef().Code(DIRCODE_DOWN_LEFT).Distance(2), 0, FLYMODE_STOPPED, false, 0, 0, -kDiag, kDiag,
     true, false},
    {"beside the target, on its front", MoveDef().Method(1).Code(DIRCODE_FRONT).Distance(2), 0, FLYMODE_STOPPED, true,
     0, 0, 5 * 32 + 32, -2 * 32, true, false},
    {"onto the target's centre below it", MoveDef().Method(1).Code(DIRCODE_DOWN).Distance(1), 0, FLYMODE_STOPPED, true,
     0, 0, 5 * 32, -2 * 32 + 16, true, false},
    {"no target: nothing", MoveDef().Method(1).Code(DIRCODE_FRONT).Distance(2), 0, FLYMODE_WALK, false, 0, 0, 0, 0,
     false, false},
    {"by a point", MoveDef().Method(2).Basis(0).TargetCells(2, -1).TargetDots(5, 3), 0, FLYMODE_STOPPED, false, 0, 0,
     69, -29, true, false},
    {"by a point mirrored facing right", MoveDef().Method(2).Basis(0).TargetCells(2, -1).TargetDots(5, 3).Mirror(1, 1),
     1, FLYMODE_STOPPED, false, 0, 0, -69, 29, true, false},
    {"to a map cell plus dots", MoveDef().Method(2).Basis(1).TargetCells(7, 3).TargetDots(3, 2), 0, FLYMODE_STOPPED,
     false, 0, 0, 2 * 32 + 3, -2 * 32 + 2, true, false},
    {"to a view point, anchored there", MoveDef().Method(2).Basis(2).TargetCells(7, 6).TargetDots(1, 1), 0,
     FLYMODE_STOPPED, false, 384, 352, 384 + 225 - (15 * 32 + 0.5), 352 + 193 - 15 * 32, true, true},
    {"an unnamed method moves nothing", MoveDef().Method(3).Code(DIRCODE_RIGHT).Distance(3), 0, FLYMODE_WALK, false, 0,
     0, 0, 0, false, false},
    {"an unnamed basis moves nothing", MoveDef().Method(2).Basis(3).TargetCells(2, 0), 0, FLYMODE_WALK, false, 0, 0, 0,
     0, false, false},
    {"into the wall", MoveDef().Code(DIRCODE_RIGHT).Distance(6), 0, FLYMODE_STOPPED, false, 0, 0, 0, 0, false, false},
    {"onto the block character", MoveDef().Code(DIRCODE_DOWN).Distance(6), 0, FLYMODE_STOPPED, false, 0, 0, 0, 0,
     false, false},
    {"out of the map", MoveDef().Code(DIRCODE_LEFT).Distance(12), 0, FLYMODE_STOPPED, false, 0, 0, 0, 0, false, false},
    {"through the wall when flying through blocks", MoveDef().Code(DIRCODE_RIGHT).Distance(6), 0, FLYMODE_THROUGH,
     false, 0, 0, 96, 0, true, false},
};

TEST(WarpCommand, MovesByMethodAndBasisAndRefusesBlockedPlaces) {
  for (int level : {1, 3}) {
    for (const WarpCase& c : kCases) {
      SCOPED_TRACE(std::string(c.what) + " at S" + std::to_string(level));
      GameWorld world(level);
      MapBuilder(kMap).Build();
      world.Scene().m_ScrollX.m_dPos = c.scrollX ? c.scrollX : 320;
      world.Scene().m_ScrollY.m_dPos = c.scrollY ? c.scrollY : 320;
      cChara& block = world.AddChara(CharaDef().BlockChara(), {5, 8});
      cChara* target = c.target ? &world.AddChara(CharaDef().Fly(c.fly).Facing(1), {10, 3}) : nullptr;
      const cEdFlow flow = FlowDef(FLOWTRIGGER_NONE).Command(movetest::MoveCommand(ACTCMDTYPE_WARP, c.move));
      cChara& c1 = world.AddChara(CharaDef().Fly(c.fly).Facing(c.facing).Flow(flow), {5, 5});
      c1.m_nTargetId = target ? target->m_nId : OBJECT_NONE;
      world.UpdatePresence();
      ASSERT_EQ(block.m_bPresent, 1);
      const DRECT start = c1.m_rcHit;
      c1.m_dVy = 3;
      StageData().m_lpCurChara = &c1;
      c1.m_vFlows[0].Start();
      PlayFlowFrames(world, 1, {&c1});

      EXPECT_NEAR(c1.m_rcHit.dLeft - start.dLeft, c.dx, 1e-9);
      EXPECT_NEAR(c1.m_rcHit.dTop - start.dTop, c.dy, 1e-9);
      EXPECT_NEAR(c1.m_rcHit.dRight - c1.m_rcHit.dLeft, start.dRight - start.dLeft, 1e-9) << "the box keeps its size";
      const bool walker = c.fly == FLYMODE_WALK;
      EXPECT_EQ(c1.m_dVy, c.moved && walker ? 0 : 3) << "a walker that warped loses its vertical speed";
      EXPECT_EQ(c1.m_bAnchorX, c.anchored ? 1 : 0);
      EXPECT_EQ(c1.m_bAnchorY, c.anchored ? 1 : 0);
      if (c.anchored) {
        EXPECT_EQ(c1.m_nAnchorX, 7 * 32 + 1);
        EXPECT_EQ(c1.m_nAnchorY, 6 * 32 + 1);
      }
      EXPECT_FALSE(c1.m_vFlows[0].m_bRunning) << "the warp takes one step";
    }
  }
}

}  // namespace
