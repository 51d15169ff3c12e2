// A character's reset, its references by object id, its placement on a
// cell, its contact box and centring, and its basic animation set.
#include <gtest/gtest.h>

#include "game/characters.h"
#include "game/flow_instance.h"
#include "game/map_cells.h"
#include "records/command_vocab.h"
#include "records/database.h"
#include "records/map_cell.h"
#include "records/stage.h"
#include "support/builders.h"
#include "support/game_world.h"

using namespace testsupport;

namespace {

class CharaOnStage : public ::testing::Test {
 protected:
  void SetUp() override { MapBuilder(std::vector<std::string>(15, std::string(20, '.'))).Build(); }
  GameWorld world;
};

}  // namespace

TEST_F(CharaOnStage, ResetClearsTheStateTakesTheDefinitionAndTargetsTheHero) {
  cHero& hero = world.AddHero(CharaDef().PlayerOperated().Group(0), {1, 1});
  cChara& c = world.AddChara(CharaDef(), {4, 4});
  // Everything Reset clears, made non-zero.
  c.m_vShots = {7, 8};
  c.m_vTargetedBy = {3};
  c.m_nFlowSerial = 4;
  c.m_vSwitchTaken.assign(5, 1);
  c.m_bSwitchRelease = c.m_bFlowRemoval = 1;
  c.m_dKnockX = c.m_dKnockY = c.m_dKnockYApplied = 2.5;
  c.m_bKnockback = c.m_bMoveDisabled = 1;
  c.m_nWallTurn = 1;
  c.m_bAirborne = 0;
  c.m_bJumping = c.m_bJumped = c.m_bJumpLock = c.m_bJumpBlocked = 1;
  MAPCELL cell;
  c.m_pFootCell = c.m_pGroundCell = c.m_pPrevGroundCell = &cell;
  c.m_nCrushGrace = c.m_bAnchorX = c.m_bAnchorY = c.m_nAnchorX = c.m_nAnchorY = 1;
  c.m_bDefeated = c.m_nDefeatFrames = 1;
  c.LRUD[LRUD_LEFT] = c.LRUD[LRUD_DOWN] = 1;
  c.m_bTurnPending = c.m_bRiding = c.m_nCarrierId = 1;
  c.m_rcCarrier.dLeft = 5;
  c.m_HpGauge.nTimer = c.m_SpGauge.nTimer = 9;
  c.m_vVars = {1, 2, 3};
  c.m_bVanished = 1;
  c.m_nInvincible = 30;
  c.m_lInvincibleFrom.push_back({1, 2});
  c.m_lAnimes.emplace_back();
  c.m_bMoved = 1;

  world.events.Clear();
  const cEdChara def = CharaDef().Hp(40).Sp(12).Sight(3).Stop(50).ScrollSync().StartEffect(1, 1, 0);
  c.Reset(&def, 123.5, 67.25, 2);

  EXPECT_EQ(c.m_sCloneNo, 2);
  EXPECT_EQ(c.m_vShots.Size(), 0);
  EXPECT_EQ(c.m_vTargetedBy.Size(), 0);
  EXPECT_EQ(c.m_nTargetId, hero.m_nId);
  EXPECT_EQ(c.Target(), &hero);
  EXPECT_EQ(c.m_nFlowSerial, 0);
  EXPECT_EQ(c.m_vSwitchTaken, cVector<uint8_t>(27, 0));
  EXPECT_EQ(c.m_vSwitchReleased, cVector<uint8_t>(27, 0));
  EXPECT_EQ(c.m_vSwitchStarted, cVector<uint8_t>(27, 0));
  EXPECT_EQ(c.m_bSwitchRelease + c.m_bFlowRemoval, 0);
  EXPECT_EQ(c.m_dStartX, 123.5);
  EXPECT_EQ(c.m_dStartY, 67.25);
  EXPECT_EQ(c.m_dKnockX, 0);
  EXPECT_EQ(c.m_dKnockY, 0);
  EXPECT_EQ(c.m_dKnockYApplied, 0);
  EXPECT_EQ(c.m_bKnockback + c.m_bMoveDisabled, 0);
  EXPECT_EQ(c.m_bMoved, 1) << "the flow pass clears it, not Reset";
  EXPECT_EQ(c.m_nWallTurn, -1);
  EXPECT_EQ(c.m_bAirborne, 1);
  EXPECT_EQ(c.m_bJumping + c.m_bJumped + c.m_bJumpLock + c.m_bJumpBlocked, 0);
  EXPECT_EQ(c.m_pFootCell, nullptr);
  EXPECT_EQ(c.m_pGroundCell, nullptr);
  EXPECT_EQ(c.m_pPrevGroundCell, nullptr);
  EXPECT_EQ(c.m_nCrushGrace + c.m_bAnchorX + c.m_bAnchorY + c.m_nAnchorX + c.m_nAnchorY, 0);
  EXPECT_EQ(c.m_bDefeated + c.m_nDefeatFrames, 0);
  EXPECT_EQ(c.LRUD[0] + c.LRUD[1] + c.LRUD[2] + c.LRUD[3], 0);
  EXPECT_EQ(c.m_bTurnPending + c.m_bRiding + c.m_nCarrierId, 0);
  EXPECT_EQ(c.m_rcCarrier.dLeft, 0);
  EXPECT_EQ(c.m_HpGauge.nTimer + c.m_SpGauge.nTimer, 0);
  EXPECT_EQ(c.m_vVars, cVector<int32_t>(9, 0));
  EXPECT_EQ(c.m_nHp, 40);
  EXPECT_EQ(c.m_nSp, 12);
  EXPECT_EQ(c.m_Def.m_nMaxHp, 40);
  EXPECT_EQ(c.m_bScrollSync, 1);
  EXPECT_EQ(c.m_bVanished, 0);
  EXPECT_EQ(c.m_nSightDots, 48);
  EXPECT_EQ(c.m_dStopDecel, 0.5);  // 50 × 0.01 / 1²
  EXPECT_EQ(c.m_nInvincible, 0);
  EXPECT_TRUE(c.m_lInvincibleFrom.empty());
  EXPECT_TRUE(c.m_lAnimes.empty());
  // The start effect runs reversed, without loop.
  EXPECT_EQ(c.m_CharaEffect.m_sEffect, 1);
  EXPECT_EQ(c.m_CharaEffect.m_lpDef, &Database.m_vCharaEffectWork[1]);
  EXPECT_EQ(c.m_CharaEffect.m_nRunMode, 1);
  EXPECT_EQ(c.m_CharaEffect.m_bReversed, 1);
  EXPECT_EQ(c.m_CharaEffect.m_bLoop, 0);
  // The basic animation set was rebuilt: set 0's four animations.
  EXPECT_EQ(c.m_Anime.m_vPatterns.Size(), Database.m_vAnimeSet[0].m_vSetAnime.Size());

  // Without a definition the copy stays and the points are cleared.
  c.m_nHp = 3;
  c.Reset(nullptr, 0, 0, 0);
  EXPECT_EQ(c.m_Def.m_nMaxHp, 40);
  EXPECT_EQ(c.m_nHp, 0);
  EXPECT_EQ(hero.m_vTargetedBy, (cVector<int32_t>{hero.m_nId, c.m_nId})) << "listed once";
}

TEST_F(CharaOnStage, ReferencesAreIdsThatOutliveTheTemporaryAndForgetTheGone) {
  cHero& hero = world.AddHero(CharaDef().PlayerOperated().Group(0), {1, 1});
  cChara& a = world.AddChara(CharaDef(), {4, 4});  // built on the stack, then copied
  cChara& b = world.AddChara(CharaDef(), {6, 4});
  EXPECT_EQ(hero.m_vTargetedBy, (cVector<int32_t>{hero.m_nId, a.m_nId, b.m_nId}));
  EXPECT_EQ(FindCharaById(a.m_nId), &a);
  EXPECT_EQ(FindCharaById(hero.m_nId), &hero);
  EXPECT_EQ(a.Target(), &hero);

  b.m_nTargetId = a.m_nId;
  EXPECT_EQ(b.Target(), &a);
  const int goneId = a.m_nId;
  CharaList.pop_front();  // a is gone
  EXPECT_EQ(FindCharaById(goneId), nullptr);
  EXPECT_EQ(b.Target(), nullptr);
  EXPECT_EQ(FindCharaById(OBJECT_NONE), nullptr);
}

TEST_F(CharaOnStage, ACopyOwnsItsFlowsAndKeepsItsMoveDisabledFlag) {
  cChara source;
  cEdFlow flow;
  flow.m_vCommands.resize(2);
  flow.m_vKeyConditions.resize(1);
  source.m_Def.m_vFlows.push_back(flow);
  cFlowInstance instance;
  instance.m_pFlow = &source.m_Def.m_vFlows[0];
  instance.m_vKeyConds.push_back(&source.m_Def.m_vFlows[0].m_vKeyConditions[0]);
  instance.m_vCommands.resize(2);
  instance.m_vCommands[1].m_pCommand = &source.m_Def.m_vFlows[0].m_vCommands[1];
  source.m_vFlows.push_back(instance);
  source.m_bMoveDisabled = 1;
  source.m_nHp = 7;

  cChara copy(source);
  EXPECT_EQ(copy.m_nHp, 7);
  EXPECT_EQ(copy.m_bMoveDisabled, 0);
  ASSERT_EQ(copy.m_vFlows.Size(), 1);
  EXPECT_EQ(copy.m_vFlows[0].m_pFlow, &copy.m_Def.m_vFlows[0]);
  EXPECT_EQ(copy.m_vFlows[0].m_vKeyConds[0], &copy.m_Def.m_vFlows[0].m_vKeyConditions[0]);
  // Rebinding goes by position: every command instance names its record.
  EXPECT_EQ(copy.m_vFlows[0].m_vCommands[0].m_pCommand, &copy.m_Def.m_vFlows[0].m_vCommands[0]);
  EXPECT_EQ(copy.m_vFlows[0].m_vCommands[1].m_pCommand, &copy.m_Def.m_vFlows[0].m_vCommands[1]);

  cChara assigned;
  assigned.m_bMoveDisabled = 1;
  assigned = source;
  EXPECT_EQ(assigned.m_bMoveDisabled, 1);
  EXPECT_EQ(assigned.m_vFlows[0].m_pFlow, &assigned.m_Def.m_vFlows[0]);
}

TEST_F(CharaOnStage, PlacedOnACellByItsOffsetsAndScale) {
  struct Case {
    cEdChara def;
    double x, y;
  };
  // Walkers: 16 × 24 at offset (8, 8); fliers 16 × 16 at (8, 8). Cell (3, 4)
  // is world (416, 448).
  const Case cases[] = {
      {CharaDef(), 424.5, 456},
      {CharaDef().Fly(FLYMODE_STOPPED), 424.5, 456},
      {CharaDef().Fly(FLYMODE_STOPPED).Scale(2), 416.5, 432},  // x − 8; y − (32 − 8)
      {CharaDef().Scale(2), 416.5, 432},
  };
  for (const Case& c : cases) {
    cChara chara;
    SetUpTestChara(chara, c.def, 1, {3, 4}, 0, false);
    EXPECT_EQ(chara.m_rcHit.dLeft, c.x);
    EXPECT_EQ(chara.m_rcHit.dTop, c.y);
    EXPECT_EQ(chara.m_nCellLeft, static_cast<int>(c.x) >> 5);
  }
}

TEST_F(CharaOnStage, TheContactBoxSitsInTheGraphicsCell) {
  cChara c;
  SetUpTestChara(c, CharaDef(), 1, {3, 4}, 0, false);  // hit box offset (8, 8)
  c.SetContactBox(1, 12, 20);
  EXPECT_EQ(c.m_Contact.nOffsetX, 16 - 8 - 6);
  EXPECT_EQ(c.m_Contact.nOffsetY, 32 - 8 - 20);
  c.SetContactBox(0, 13, 11);
  EXPECT_EQ(c.m_Contact.nOffsetX, 16 - 8 - 6);
  EXPECT_EQ(c.m_Contact.nOffsetY, 16 - 8 - 5);
  EXPECT_EQ(c.m_Contact.nBaseOffsetY, c.m_Contact.nOffsetY);
  EXPECT_EQ(c.m_Contact.nWidth, 13);
  EXPECT_EQ(c.m_Contact.nBaseHeight, 11);
}

TEST_F(CharaOnStage, CentringMovesTheGraphicsCentreAndSnappingStopsTheMove) {
  cChara c;
  SetUpTestChara(c, CharaDef(), 1, {3, 4}, 0, false);
  c.UpdateScreenRect();  // view at 0: left 416, top 448; centre (432, 464)
  cCommandInstance move;
  move.m_dVx = 2;
  move.m_dVy = -1;
  c.SnapCentre(500, 470, move);
  EXPECT_EQ(c.m_rcHit.dLeft, 424.5 + 68);
  EXPECT_EQ(c.m_rcHit.dTop, 456 + 6);
  EXPECT_EQ(move.m_dVx, 0);
  EXPECT_EQ(move.m_dVy, 0);
}

TEST_F(CharaOnStage, TheBasicAnimationSetBecomesLockedLoopingPatterns) {
  cEdAnimeSet set;
  set.m_vSetAnime.resize(2);
  set.m_vSetAnime[0].m_vFrame.resize(2);
  set.m_vSetAnime[0].m_vFrame[0].m_nCell = 4;
  set.m_vSetAnime[0].m_vFrame[0].m_nTime = 2;
  set.m_vSetAnime[0].m_vFrame[1].m_nCell = 5;
  set.m_vSetAnime[0].m_vFrame[1].m_nTime = 1;
  set.m_vSetAnime[1].m_vFrame.clear();
  Database.m_vAnimeSet.push_back(set);
  const int n = Database.m_vAnimeSet.Size() - 1;

  cChara c;
  SetUpTestChara(c, CharaDef(), 1, {3, 4}, 0, false);
  c.m_Anime.m_nPattern = 1;
  c.SetBasicAnimeSet(n, 0);
  EXPECT_EQ(c.m_Def.m_nAnimeSet, n);
  ASSERT_EQ(c.m_Anime.m_vPatterns.Size(), 2);
  const ANIMEPATTERN& walk = c.m_Anime.m_vPatterns[0];
  ASSERT_EQ(walk.Size(), 3);
  EXPECT_EQ(walk[0].nFrame, 4);
  EXPECT_EQ(walk[0].nTime, 12);
  EXPECT_EQ(walk[1].nTime, 6);
  EXPECT_EQ(walk[2].nFrame, ANIMECODE_LOOP);
  EXPECT_EQ(walk[0].bLock + walk[1].bLock + walk[2].bLock, 3);
  EXPECT_EQ(c.m_Anime.m_vPatterns[1].Size(), 1);
  EXPECT_EQ(c.m_Anime.m_nPattern, 0);

  c.m_Anime.m_nStep = 1;
  c.SetBasicAnimeSet(n, 0);  // the set in use: nothing
  EXPECT_EQ(c.m_Anime.m_nStep, 1);
  c.SetBasicAnimeSet(n, 1);
  EXPECT_EQ(c.m_Anime.m_nStep, 0);
}

TEST_F(CharaOnStage, AnAnimationSetThatDoesNotExistIsReportedAndSetZeroServes) {
  world.events.AllowCloseRequests(true);
  cChara c;
  SetUpTestChara(c, CharaDef(), 1, {3, 4}, 0, false);
  c.SetBasicAnimeSet(999, 1);
  EXPECT_EQ(c.m_Anime.m_vPatterns.Size(), Database.m_vAnimeSet[0].m_vSetAnime.Size());
  EXPECT_EQ(world.events.Texts(EventKind::Close).size(), 1u);
  EXPECT_EQ(world.events.Texts(EventKind::Log).at(0).rfind("err V[999]", 0), 0u);
}

TEST_F(CharaOnStage, ACellsHitAttributeForAGroup) {
  MapBuilder({"#X3."}).Build();
  struct Case {
    int cx, cy, group;
    int hit;
  };
  const Case cases[] = {{10, 10, 0, 1}, {11, 10, 0, 2}, {12, 10, 3, 0}, {12, 10, 2, 1},
                        {13, 10, 0, 0}, {0, 0, 0, 0},   {-1, 10, 0, 0}, {10, 999, 0, 0}};
  for (const Case& c : cases)
    EXPECT_EQ(GetHitAttr(CellAt(c.cx, c.cy), c.group), c.hit) << c.cx << " " << c.cy << " " << c.group;
  EXPECT_EQ(GetHitAttr(nullptr, 0), 0);
  // Past the map's columns, in the row's padding, and past the pitch.
  EXPECT_EQ(CellAt(world.Scene().m_ScrollX.m_nPitch, 10), nullptr);
  EXPECT_NE(CellAt(world.Scene().m_ScrollX.m_nPitch - 1, 10), nullptr);

  // A block with conditions stands while they hold; holding latches the cell.
  MAPCELL* gated = CellAt(10, 10);
  gated->Block.m_vConditions.resize(1);  // a condition of no type never holds
  EXPECT_EQ(GetHitAttr(gated, 0), 0);
  EXPECT_EQ(gated->bLatched, 0);
  gated->Block.m_vConditions[0].m_nType = CONDTYPE_COMMON_VAR;  // C0 = 0
  EXPECT_EQ(GetHitAttr(gated, 0), 1);
  EXPECT_EQ(gated->bLatched, 1);
}
