// The ground under the hero: block effects by kind (jump, no jump, speed,
// pushes, unknown), their countdown and the no-jump latch; blocks that give
// an item once per 60 frames, re-armed by a new ground cell, cleared while
// airborne, and an item's clear or defeat returned at once.
#include <gtest/gtest.h>

#include <algorithm>
#include <vector>

#include "game/characters.h"
#include "records/command_types.h"
#include "records/map_cell.h"
#include "records/stage.h"
#include "stage/scene_stage.h"
#include "support/builders.h"
#include "support/game_world.h"

using namespace testsupport;

namespace {


class GroundRules : public ::testing::Test {
 protected:
  void Build(int speed) {
    Stage.SetSpeedLevel(speed);
    MapBuilder({"......", "......", "######"}).Build(scene);
    hero = &world.AddHero(CharaDef().PlayerOperated(), {1, 1});
  }
  MAPCELL& Cell(int column) {
    return MapCell[static_cast<size_t>((column + kMapBorder) + ((2 + kMapBorder) << scene.m_ScrollX.m_nShift))];
  }
  MAPCELL& EffectCell(int column, int kind, int value) {
    MAPCELL& cell = Cell(column);
    cell.Block.m_nEffect = static_cast<int8_t>(kind);
    cell.Block.m_nEffectValue = value;
    return cell;
  }

  cSceneStage scene;
  GameWorld world{scene};
  cHero* hero = nullptr;
};

}  // namespace

TEST_F(GroundRules, BlockEffectsByKind) {
  struct Case {
    const char* what;
    int kind, value;
    double vx, vy, inertia;  // what the hero does before
    int effect;              // m_nGroundEffect then
    double ground;           // m_dGroundEffect
    double vxAfter, inertiaAfter;
    int forced;
  } cases[] = {
      {"speed 50 %", BLOCKEFFECT_SPEED, 50, 2, 0, 1, BLOCKEFFECT_SPEED, 0.5, 1, 1, 0},
      {"push left 10 at S 2", BLOCKEFFECT_PUSH_LEFT, 10, 2, 0, 1, BLOCKEFFECT_PUSH_LEFT, 0.5, 1.5, 0, 0},
      {"push left keeps a leftward inertia", BLOCKEFFECT_PUSH_LEFT, 10, 2, 0, -1, BLOCKEFFECT_PUSH_LEFT, 0.5, 1.5, -1, 0},
      {"push right 10 at S 2", BLOCKEFFECT_PUSH_RIGHT, 10, 2, 0, -1, BLOCKEFFECT_PUSH_RIGHT, 0.5, 2.5, 0, 0},
      {"no jump", BLOCKEFFECT_NO_JUMP, 0, 2, 0, 1, 0, 0, 2, 1, 1},
      {"an unknown kind does nothing", 9, 30, 2, 0, 1, 0, 0, 2, 1, 0},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.what);
    Build(2);
    hero->m_pFootCell = &EffectCell(1, c.kind, c.value);
    hero->m_dVx = c.vx;
    hero->m_dVy = c.vy;
    hero->m_dInertiaX = c.inertia;
    scene.ApplyBlockEffect(*hero);
    EXPECT_EQ(hero->m_nGroundEffect, c.effect);
    EXPECT_EQ(hero->m_dGroundEffect, c.ground);
    EXPECT_EQ(hero->m_dVx, c.vxAfter);
    EXPECT_EQ(hero->m_dInertiaX, c.inertiaAfter);
    EXPECT_EQ(hero->m_bJumpForced, c.forced);
    // The effect lasts S steps; at its end a hero not rising is pressed down.
    const bool timed = c.effect != 0;
    EXPECT_EQ(hero->m_nGroundEffectSteps, timed ? 1 : 0);
    hero->m_pFootCell = nullptr;
    scene.ApplyBlockEffect(*hero);
    EXPECT_EQ(hero->m_nGroundEffectSteps, 0);
    EXPECT_EQ(hero->m_dVy, timed ? 1 : 0);
  }
}

TEST_F(GroundRules, AJumpBlockLaunchesAndTheNoJumpLatchWaitsForAnotherActiveKind) {
  Build(1);
  hero->m_pFootCell = &EffectCell(1, BLOCKEFFECT_JUMP, 3);
  hero->m_bJumpReady = 1;
  scene.ApplyBlockEffect(*hero);
  const double v = hero->JumpSpeedForHeightDots(48);
  EXPECT_LT(v, 0);
  EXPECT_EQ(hero->m_dVy, v);
  EXPECT_EQ(hero->m_bJumping, 1);
  EXPECT_EQ(hero->m_bJumped, 1);
  EXPECT_EQ(hero->m_bJumpReady, 0);
  EXPECT_EQ(hero->m_nJumpHold, cCharaBase::JumpStepsToApex(v));
  EXPECT_EQ(world.events.Texts(EventKind::Sound), (std::vector<std::string>{"10"}));

  // No jump, then air, then a cell its group passes: still latched; a plain
  // solid cell clears it.
  hero->m_pFootCell = &EffectCell(2, BLOCKEFFECT_NO_JUMP, 0);
  scene.ApplyBlockEffect(*hero);
  EXPECT_EQ(hero->m_bJumpForced, 1);
  hero->m_pFootCell = nullptr;
  scene.ApplyBlockEffect(*hero);
  MAPCELL& passed = Cell(3);
  passed.Block.m_nPassFaction = static_cast<int8_t>(hero->m_nGroup);
  hero->m_pFootCell = &passed;
  scene.ApplyBlockEffect(*hero);
  EXPECT_EQ(hero->m_bJumpForced, 1);
  hero->m_pFootCell = &Cell(4);
  scene.ApplyBlockEffect(*hero);
  EXPECT_EQ(hero->m_bJumpForced, 0);
  // A flier feels nothing.
  hero->SetFlyMode(FLYMODE_STOPPED, 1);
  hero->m_pFootCell = &EffectCell(2, BLOCKEFFECT_NO_JUMP, 0);
  scene.ApplyBlockEffect(*hero);
  EXPECT_EQ(hero->m_bJumpForced, 0);
}

TEST_F(GroundRules, ABlockGivesItsItemOncePer60FramesReArmedByANewGroundOrByAir) {
  for (int speed : {1, 2}) {
    SCOPED_TRACE(speed);
    Build(speed);
    cEdItem item;
    item.m_nGraphic = 1;
    Stage.m_vPaletteItem.push_back(item);
    MAPCELL& giver = Cell(1);
    giver.Block.m_nItemKind = 2;
    giver.Block.m_nItemIndex = static_cast<int16_t>(Stage.m_vPaletteItem.Size() - 1);
    MAPCELL& other = Cell(2);
    const int wait = 60 * speed;
    // Standing on it: given at once and again 60 frames later.
    hero->m_pFootCell = hero->m_pGroundCell = hero->m_pPrevGroundCell = &giver;
    hero->m_bAirborne = 0;
    std::vector<int> given;
    for (int step = 1; step <= 2 * wait + 1; ++step) {
      scene.ApplyBlockItem(*hero);
      if (hero->m_nBlockItemWait == wait - 1) given.push_back(step);
    }
    EXPECT_EQ(given, (std::vector<int>{1, wait + 1, 2 * wait + 1}));
    // A step onto another ground cell re-arms it at once.
    hero->m_pPrevGroundCell = &other;
    hero->m_dVy = 0;
    scene.ApplyBlockItem(*hero);
    EXPECT_EQ(hero->m_nBlockItemWait, 0);
    EXPECT_EQ(hero->m_dVy, 1);
    hero->m_pPrevGroundCell = &giver;
    scene.ApplyBlockItem(*hero);
    EXPECT_EQ(hero->m_nBlockItemWait, wait - 1);
    // In the air the wait is dropped: landing gives it again.
    hero->m_bAirborne = 1;
    hero->m_pFootCell = nullptr;
    scene.ApplyBlockItem(*hero);
    EXPECT_EQ(hero->m_nBlockItemWait, 0);
  }
}

TEST_F(GroundRules, AnItemsClearOrDefeatIsReturnedAtOnce) {
  Build(1);
  cEdItem item;
  item.m_nGraphic = 1;
  cEdCommand clear;
  clear.m_bItemCommand = 1;
  clear.m_nType = ITEMCMDTYPE_STAGE_CLEAR;
  clear.m_vParams.assign(static_cast<size_t>(std::max(CommandParamCount(1, ITEMCMDTYPE_STAGE_CLEAR), 1)), 0);
  item.m_vCommands.push_back(clear);
  Stage.m_vPaletteItem.push_back(item);
  MAPCELL& giver = Cell(1);
  giver.Block.m_nItemKind = 2;
  giver.Block.m_nItemIndex = static_cast<int16_t>(Stage.m_vPaletteItem.Size() - 1);
  hero->m_pFootCell = &giver;
  EXPECT_EQ(scene.ApplyBlockItem(*hero), STAGERESULT_CLEAR);
  EXPECT_EQ(hero->m_nBlockItemWait, 0);
  // A cell naming no item gives nothing.
  giver.Block.m_nItemIndex = 999;
  EXPECT_EQ(scene.ApplyBlockItem(*hero), 0);
  EXPECT_EQ(hero->m_nBlockItemWait, 0);
}
