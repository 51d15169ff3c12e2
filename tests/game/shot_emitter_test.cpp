// The shot command's emitter: absolute direction codes, the direction
// angles, volleys with their growth, the mirrored angle, the random spread
// with its draws, and the filing of each new shot (serial, group list, the
// target's list of the two target paths). The owner stands on cell (10, 8):
// its centre is view (336, 272), world (656, 592). Expected doubles were
// worked out apart from this code and are compared bit for bit.
#include <gtest/gtest.h>

#include "base/crt_random.h"
#include "game/shot_emitter.h"
#include "shot_test_env.h"

using namespace shottest;

TEST(ShotEmitter, DirectionCodesBecomeAbsoluteWithoutTheWalkersRule) {
  struct Case {
    int code, facing, held, result;
  } cases[] = {
      {DIRCODE_FRONT, 1, 0, DIRCODE_RIGHT},   {DIRCODE_FRONT, 0, 0, DIRCODE_LEFT},
      {DIRCODE_BACK, 1, 0, DIRCODE_LEFT},     {DIRCODE_BACK, 0, 0, DIRCODE_RIGHT},
      {DIRCODE_FRONT_Y, 1, 0, DIRCODE_DOWN},  {DIRCODE_FRONT_Y, 0, 0, DIRCODE_UP},
      {DIRCODE_BACK_Y, 1, 0, DIRCODE_UP},     {DIRCODE_BACK_Y, 0, 0, DIRCODE_DOWN},
      {DIRCODE_INPUT, 1, 0, DIRCODE_RIGHT},   {DIRCODE_INPUT, 1, 3, DIRCODE_UP},
      {DIRCODE_INPUT, 0, 7, DIRCODE_UP_RIGHT}, {DIRCODE_UP_LEFT, 1, 0, DIRCODE_UP_LEFT},
      {DIRCODE_DOWN, 0, 4, DIRCODE_DOWN},     {40, 0, 0, 40},
  };
  for (const Case& c : cases)
    EXPECT_EQ(AbsoluteShotDirCode(c.code, c.facing, c.held), c.result) << c.code << " " << c.facing;

  const int angles[DIRCODE_COUNT] = {0, 0, 0, 180, 0, 0, 90, 270, 45, 315, 135, 225, 0};
  for (int code = -1; code <= DIRCODE_COUNT; ++code) {
    const int expected = code >= 0 && code < DIRCODE_COUNT ? angles[code] : 0;
    EXPECT_EQ(ShotDirAngle(code), expected);
    EXPECT_EQ(ShotDirAngleInt(code), expected);
  }
}

TEST(ShotEmitter, TheInputCodeTakesTheDirectionHeldWhenTheRunningFlowStarted) {
  ShotStage stage;
  cChara& owner = stage.Chara(10, 8, CharaDef().Facing(1));
  cFlowInstance flow;
  flow.m_nHeldDir = 1;  // left
  stage.Scene().m_lpCurFlow = &flow;
  Command shoot(ACTCMDTYPE_SHOT);
  cEdShot def = OneShot();
  def.m_nForm = SHOTFORM_EXPLOSION;
  def.m_nDirCode = DIRCODE_INPUT;
  def.m_nSpeed = 20;
  ShootShots(stage.Scene().m_Shots, owner, shoot.instance, def);
  ASSERT_EQ(stage.Scene().m_Shots.size(), 1u);
  EXPECT_EQ(stage.Scene().m_Shots.front().m_dBaseVx, -2);
  stage.Scene().m_lpCurFlow = nullptr;
}

TEST(ShotEmitter, EveryVolleyGrowsInSpeedAngleDistanceLifeAndOffset) {
  ShotStage stage;
  cChara& owner = stage.Chara(10, 8, CharaDef().Facing(0));
  Command shoot(ACTCMDTYPE_SHOT);
  cEdShot def = OneShot();
  def.m_nForm = SHOTFORM_EXPLOSION;
  def.m_nDirCode = DIRCODE_LEFT;
  def.m_nClones = 2;  // three volleys
  def.m_nAngle = 10;
  def.m_nAngleStep = 20;
  def.m_nSpeed = 30;
  def.m_nSpeedStep = 5;
  def.m_bRangeLimit = 1;
  def.m_nRange = 3;
  def.m_nRangeStep = 1;
  def.m_bLifeLimit = 1;
  def.m_nLife = 4;
  def.m_nLifeStep = 2;
  def.m_nOffsetX = 4;
  def.m_nOffsetXStep = 2;
  def.m_nOffsetY = -3;
  def.m_nOffsetYStep = 1;
  ShootShots(stage.Scene().m_Shots, owner, shoot.instance, def);
  struct Volley {
    double vx, vy;
    int distSteps, lifeSteps, x, y;
  } expected[] = {
      {-2.9544232590366244, -0.5209445330007905, 10, 24, 652, 581},
      {-3.031088913245536, -1.7499999999999984, 13, 36, 654, 582},
      {-2.57115043874616, -3.06417777247591, 16, 48, 656, 583},
  };
  ASSERT_EQ(stage.Scene().m_Shots.size(), 3u);
  int i = 0;
  for (const cShot& shot : stage.Scene().m_Shots) {
    const Volley& e = expected[i];
    EXPECT_EQ(shot.m_nId, i);
    EXPECT_EQ(shot.m_sCloneNo, i);
    EXPECT_EQ(shot.m_dBaseVx, e.vx) << i;
    EXPECT_EQ(shot.m_dBaseVy, e.vy) << i;
    EXPECT_EQ(shot.m_nDistSteps, e.distSteps) << i;
    EXPECT_EQ(shot.m_nLifeSteps, e.lifeSteps) << i;
    EXPECT_EQ(shot.m_rcHit.dLeft, e.x) << i;
    EXPECT_EQ(shot.m_rcHit.dTop, e.y) << i;
    ++i;
  }
  EXPECT_EQ(stage.Scene().m_nShotSerial, 3);
}

TEST(ShotEmitter, AMirroredAngleTurnsWithTheOwnersFacing) {
  struct Case {
    int facing;
    double vx, vy;
  } cases[] = {
      {1, 3.4641016151377375, -2.0000000000000298},  // 180 + 330: up and to the right
      {0, -3.4641016151377557, -1.9999999999999982}, // 0 + 30: up and to the left
  };
  for (const Case& c : cases) {
    ShotStage stage;
    cChara& owner = stage.Chara(10, 8, CharaDef().Facing(c.facing));
    Command shoot(ACTCMDTYPE_SHOT);
    cEdShot def = OneShot();
    def.m_nForm = SHOTFORM_EXPLOSION;
    def.m_nDirCode = DIRCODE_FRONT;
    def.m_nAngle = 30;
    def.m_nSpeed = 40;
    ShootShots(stage.Scene().m_Shots, owner, shoot.instance, def);
    ASSERT_EQ(stage.Scene().m_Shots.size(), 1u);
    EXPECT_EQ(stage.Scene().m_Shots.front().m_dBaseVx, c.vx) << c.facing;
    EXPECT_EQ(stage.Scene().m_Shots.front().m_dBaseVy, c.vy) << c.facing;
  }
}

TEST(ShotEmitter, TheSpreadDrawsOnceBeforeAndOnceAfterEveryVolley) {
  ShotStage stage;
  cChara& owner = stage.Chara(10, 8, CharaDef().Facing(0));
  Command shoot(ACTCMDTYPE_SHOT);
  cEdShot def = OneShot();
  def.m_nForm = SHOTFORM_EXPLOSION;
  def.m_nDirCode = DIRCODE_LEFT;
  def.m_nClones = 1;
  def.m_nAngle = 40;
  def.m_nAngleStep = 100;
  def.m_nSpread = 10;
  def.m_nSpeed = 10;
  // Seed 1 draws 41, 18467, 6334, 26500: spreads 10, −2 and 3 (unused).
  crt::srand(1);
  ShootShots(stage.Scene().m_Shots, owner, shoot.instance, def);
  EXPECT_EQ(crt::rand(), 26500);
  ASSERT_EQ(stage.Scene().m_Shots.size(), 2u);
  const double angles[] = {50, 138};
  int i = 0;
  for (const cShot& shot : stage.Scene().m_Shots) {
    SHOTSPAWN sp;
    SetShotVelocity(sp, angles[i], 1.0);
    EXPECT_EQ(shot.m_dBaseVx, sp.dVx) << i;
    EXPECT_EQ(shot.m_dBaseVy, sp.dVy) << i;
    ++i;
  }
}

TEST(ShotEmitter, AShotOfATargetPathRegistersWithItsTargetOnceAndOthersForgetTheirs) {
  ShotStage stage;
  cChara& owner = stage.Chara(10, 8);
  cChara& target = stage.Chara(15, 3, CharaDef().Group(4));
  owner.m_nTargetId = target.m_nId;
  Command shoot(ACTCMDTYPE_SHOT);
  cEdShot def = OneShot();
  def.m_nForm = SHOTFORM_EXPLOSION;
  def.m_nCount = 2;
  def.m_nSpeed = 10;
  for (int path : {SHOTPATH_AIM_TARGET, SHOTPATH_HOME_TARGET, SHOTPATH_HOME_HERO, SHOTPATH_STRAIGHT}) {
    def.m_nPath = static_cast<int8_t>(path);
    ShootShots(stage.Scene().m_Shots, owner, shoot.instance, def);
  }
  ASSERT_EQ(stage.Scene().m_Shots.size(), 8u);
  EXPECT_EQ(target.m_vShots, (cVector<int32_t>{0, 1, 2, 3}));
  for (const cShot& shot : stage.Scene().m_Shots) {
    EXPECT_EQ(shot.m_nTargetId, shot.m_nId < 4 ? target.m_nId : OBJECT_NONE) << shot.m_nId;
    EXPECT_EQ(shot.m_nGroup, 1);
  }
  EXPECT_EQ(stage.Scene().m_ShotGroups.At(1).size(), 8u);
  EXPECT_EQ(stage.Scene().FindShotById(5), &*std::next(stage.Scene().m_Shots.begin(), 5));

  // A removed shot leaves its group list and its target's list.
  auto second = std::next(stage.Scene().m_Shots.begin());
  stage.Scene().EraseShot(second);
  EXPECT_EQ(target.m_vShots, (cVector<int32_t>{0, 2, 3}));
  EXPECT_EQ(stage.Scene().m_ShotGroups.At(1).size(), 7u);
  EXPECT_EQ(stage.Scene().FindShotById(1), nullptr);
}

TEST(ShotEmitter, NoVolleyFiresWithoutAFormationOrAnObject) {
  ShotStage stage;
  cChara& owner = stage.Chara(10, 8);
  Command shoot(ACTCMDTYPE_SHOT);
  cEdShot def = OneShot();
  def.m_nCount = 0;
  ShootShots(stage.Scene().m_Shots, owner, shoot.instance, def);
  def.m_nCount = 1;
  def.m_nForm = SHOTFORM_COUNT;  // no such formation
  ShootShots(stage.Scene().m_Shots, owner, shoot.instance, def);
  def.m_nForm = SHOTFORM_EXPLOSION;
  Command summon(ACTCMDTYPE_SUMMON_BLOCK);  // a shot record in another command makes no shot
  ShootShots(stage.Scene().m_Shots, owner, summon.instance, def);
  EXPECT_TRUE(stage.Scene().m_Shots.empty());
}

TEST(ShotEmitter, ComputerOperatedOwnersAndTargetsAreSeenWhereTheyAreNow) {
  {
    ShotStage stage;
    cChara& owner = stage.Chara(10, 8);
    owner.m_rcHit.dLeft += 64;  // moved since its view rectangle was taken
    Command shoot(ACTCMDTYPE_SHOT);
    cEdShot def = OneShot();
    def.m_nForm = SHOTFORM_EXPLOSION;
    ShootShots(stage.Scene().m_Shots, owner, shoot.instance, def);
    EXPECT_EQ(stage.Scene().m_Shots.front().m_rcHit.dLeft, 648 + 64);
  }
  {
    ShotStage stage;
    cHero& owner = stage.Hero(10, 8);
    cChara& target = stage.Chara(3, 3);
    owner.m_nTargetId = target.m_nId;
    owner.m_rcHit.dLeft += 64;   // a player-operated owner keeps its rectangle
    target.m_rcHit.dLeft += 64;  // a computer-operated target is taken anew
    Command shoot(ACTCMDTYPE_SHOT);
    cEdShot def = OneShot();
    def.m_nForm = SHOTFORM_SPREAD;
    def.m_nCount = 1;
    def.m_bAim = 1;
    def.m_nSpeed = 40;
    ShootShots(stage.Scene().m_Shots, owner, shoot.instance, def);
    // From (633, 592) to the target's centre (496, 432): 49 degrees.
    const cShot& shot = stage.Scene().m_Shots.front();
    EXPECT_EQ(shot.m_rcHit.dLeft, 625);
    EXPECT_EQ(shot.m_dBaseVx, -2.6242361159620318);
    EXPECT_EQ(shot.m_dBaseVy, -3.018838320891086);
  }
}
