// Setting up a shot or sword: facing, sizes, group, attack box, position,
// base velocity, the distance limit in steps, life and acceleration, and
// what a copy and the end of a shot do to its target's list. Expected
// doubles were worked out apart from this code and are compared bit for bit.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "records/database.h"
#include "shot_test_env.h"

using namespace shottest;

namespace {

class ShotInit : public ::testing::Test {
 protected:
  cShot Built(cCharaBase& owner, cEdShot def, const SHOTSPAWN& sp, int type = SHOTMAKER_SHOT) {
    cShot shot;
    shot.Init(7, owner, type, def, sp);
    shot.m_nTargetId = OBJECT_NONE;  // never filed anywhere
    return shot;
  }
};

}  // namespace

TEST_F(ShotInit, FacingFollowsTheSignOfTheVelocityAndOnlyAZeroOneTakesTheOwners) {
  ShotStage stage;
  cChara& right = stage.Chara(3, 3, CharaDef().Facing(1));
  cChara& left = stage.Chara(5, 3, CharaDef().Facing(0));
  // A shot fired at 90° keeps −cos(90°) × 4, which is −0x1.d1a62633145cp-48.
  const double up = -0x1.d1a62633145cp-48;
  struct Case {
    cChara* owner;
    double vx;
    int facing;
  } cases[] = {
      {&right, 0, 1}, {&left, 0, 0}, {&right, -3, 0}, {&left, 2, 1}, {&right, up, 0},
  };
  for (const Case& c : cases) {
    cShot shot = Built(*c.owner, OneShot(), SpawnAt(400, 400, c.vx, -4));
    EXPECT_EQ(shot.m_nDirection, c.facing) << c.vx;
    EXPECT_EQ(shot.m_nKind, SHOTKIND_SHOT);
    EXPECT_EQ(shot.m_nOwnerId, c.owner->m_nId);
  }
}

TEST_F(ShotInit, GroupIsTheOwnersOrTheRecordsOwn) {
  ShotStage stage;
  cChara& owner = stage.Chara(3, 3, CharaDef().Group(6));
  cEdShot own = OneShot();
  own.m_nSide = 2;
  cShot shot = Built(owner, own, SpawnAt(400, 400, 1, 0));
  EXPECT_EQ(shot.m_nGroup, 6);
  EXPECT_EQ(shot.m_ShotDef.m_nSide, 6);
  own.m_bUserSide = 0;
  shot = Built(owner, own, SpawnAt(400, 400, 1, 0));
  EXPECT_EQ(shot.m_nGroup, 2);
}

TEST_F(ShotInit, AttackBoxComesFromTheStagesShotBoxOfTheOwnersKindCentredInThePicture) {
  ShotStage stage;
  Stage.m_nHeroShotBoxW = 10;
  Stage.m_nHeroShotBoxH = 6;
  Stage.m_nCharaShotBoxW = 20;
  Stage.m_nCharaShotBoxH = 12;
  cHero& hero = stage.Hero(1, 1);
  cChara& chara = stage.Chara(3, 3);
  struct Case {
    cCharaBase* owner;
    int scale;
    int hit;  // hit and graphic side
    DRECT box;
  } cases[] = {
      {&hero, 1, 16, {403, 505, 412, 510}},
      {&chara, 1, 16, {398, 502, 417, 513}},
      {&chara, 2, 32, {396, 504, 435, 527}},
  };
  for (const Case& c : cases) {
    cEdShot def = OneShot();
    def.m_nScale = static_cast<int8_t>(c.scale);
    cShot shot = Built(*c.owner, def, SpawnAt(400, 500, 1, 0));
    EXPECT_EQ(shot.m_nHitWidth, c.hit);
    EXPECT_EQ(shot.m_nHitHeight, c.hit);
    EXPECT_EQ(shot.m_nGfxWidth, c.hit);
    EXPECT_EQ(shot.m_rcHit.dLeft, 400);
    EXPECT_EQ(shot.m_rcHit.dTop, 500);
    EXPECT_EQ(shot.m_Box.rc.dLeft, c.box.dLeft) << c.scale;
    EXPECT_EQ(shot.m_Box.rc.dTop, c.box.dTop);
    EXPECT_EQ(shot.m_Box.rc.dRight, c.box.dRight);
    EXPECT_EQ(shot.m_Box.rc.dBottom, c.box.dBottom);
  }
}

TEST_F(ShotInit, AScaledShotKeepsTheCentreOfItsHitBoxWhenItsScaleChanges) {
  ShotStage stage;
  cChara& owner = stage.Chara(3, 3);
  cEdShot def = OneShot();
  def.m_nScale = 2;
  cShot shot = Built(owner, def, SpawnAt(400, 500, 1, 0));
  shot.SetScale(1, 2);
  EXPECT_EQ(shot.m_rcHit.dLeft, 408);
  EXPECT_EQ(shot.m_rcHit.dTop, 508);
  EXPECT_EQ(shot.m_rcHit.dRight, 423);
  EXPECT_EQ(shot.m_rcHit.dBottom, 523);
  EXPECT_EQ(shot.m_Box.rc.dLeft, 408 + 8 - 8);
  EXPECT_EQ(shot.m_Box.nWidth, 16);
}

TEST_F(ShotInit, AScaleOfZeroBecomesOneInTheMakersRecordToo) {
  ShotStage stage;
  cChara& owner = stage.Chara(3, 3);
  cEdShot def = OneShot();
  def.m_nScale = 0;
  cShot shot;
  shot.Init(1, owner, SHOTMAKER_SHOT, def, SpawnAt(400, 400, 1, 0));
  shot.m_nTargetId = OBJECT_NONE;
  EXPECT_EQ(def.m_nScale, 1);
  EXPECT_EQ(shot.m_nHitWidth, 16);
}

TEST_F(ShotInit, ASwordTakesTheSizeOfFrameZeroOfItsTypeAndABadTypeIsReported) {
  ShotStage stage;
  cChara& owner = stage.Chara(3, 3);
  Database.m_vSwordType.resize(2);
  Database.m_vSwordType[1].m_vFrame.At(0).m_nWidth = 40;
  Database.m_vSwordType[1].m_vFrame.At(0).m_nHeight = 12;
  cEdShot def = OneShot();
  def.m_nPath = 1;
  cShot sword = Built(owner, def, SpawnAt(400, 400, 0, 0), SHOTMAKER_SWORD);
  EXPECT_EQ(sword.m_nKind, SHOTKIND_SWORD);
  EXPECT_EQ(sword.m_nHitWidth, 40);
  EXPECT_EQ(sword.m_nHitHeight, 12);
  EXPECT_EQ(sword.m_Box.nWidth, 40);
  EXPECT_EQ(sword.m_Box.nOffsetX, 0);
  EXPECT_EQ(sword.m_Anime.m_nPattern, 0);

  stage.world.events.AllowCloseRequests(true);
  def.m_nPath = 9;
  sword = Built(owner, def, SpawnAt(400, 400, 0, 0), SHOTMAKER_SWORD);
  EXPECT_EQ(sword.m_nHitWidth, Database.m_vSwordType[0].m_vFrame.At(0).m_nWidth);
  const std::vector<std::string> logs = stage.world.events.Texts(EventKind::Log);
  ASSERT_FALSE(logs.empty());
  EXPECT_EQ(logs.front(), "err V[9] ( 2 , " + std::to_string(sizeof(cEdSwordType)) + " )");
}

TEST_F(ShotInit, TheDistanceLimitBecomesStepsAndAShortOneIsFlownInOneFrame) {
  struct Case {
    int level, distance, scale;
    double vx, vy, speed;
    int steps;
    double baseVx, baseVy;
  } cases[] = {
      {1, 4, 1, 3, 0, 3, 16, 3, 0},      // 48 dots at 3 a step
      {4, 4, 1, 3, 0, 3, 64, 0.75, 0},   // the same at a quarter step
      {1, 1, 1, 2, 0, 2, 1, 2, 0},       // no distance past its own width: one frame
      {10, 1, 1, 200, 0, 200, 10, 0, 0}, // … and no farther than that
      {1, 3, 1, 30, -40, 50, 1, 13.714285714285714, -18.285714285714285},
      {4, 3, 1, 30, -40, 50, 4, 3.4285714285714284, -4.571428571428571},
      {1, 4, 2, 3, 0, 3, 10, 3, 0},      // a scale-2 shot is 32 wide
      {1, 1, 1, 0, 0, 100, 1, 0, 0},     // a speed without a velocity has nothing to spread
  };
  for (const Case& c : cases) {
    ShotStage stage(c.level);
    cChara& owner = stage.Chara(3, 3);
    cEdShot def = OneShot();
    def.m_bRangeLimit = 1;
    def.m_nScale = static_cast<int8_t>(c.scale);
    SHOTSPAWN sp = SpawnAt(400, 400, c.vx, c.vy, c.speed);
    sp.nDistance = c.distance;
    cShot shot = Built(owner, def, sp);
    const std::string what = std::to_string(c.level) + "/" + std::to_string(c.distance) + "/" + Hex(c.vx);
    EXPECT_EQ(shot.m_nDistSteps, c.steps) << what;
    EXPECT_EQ(shot.m_dBaseVx, c.baseVx) << what;
    EXPECT_EQ(shot.m_dBaseVy, c.baseVy) << what;
  }
}

TEST_F(ShotInit, LifeIsTenthsTimesSixStepsAFrameAndSaturates) {
  struct Case {
    int level, life, steps;
  } cases[] = {{1, 3, 18}, {4, 3, 72}, {10, INT_MAX / 10, INT_MAX}, {1, 0, 0}};
  for (const Case& c : cases) {
    ShotStage stage(c.level);
    cChara& owner = stage.Chara(3, 3);
    cEdShot def = OneShot();
    def.m_bLifeLimit = 1;
    SHOTSPAWN sp = SpawnAt(400, 400, 1, 0);
    sp.nLife = c.life;
    EXPECT_EQ(Built(owner, def, sp).m_nLifeSteps, c.steps) << c.life;
  }
}

TEST_F(ShotInit, AccelerationGrowsWithTheVolleyAndPointsAlongTheVelocity) {
  ShotStage stage(2);
  cChara& owner = stage.Chara(3, 3);
  cEdShot def = OneShot();
  def.m_bAccel = 1;
  def.m_nAccel = 5;
  def.m_nAccelStep = 2;
  struct Case {
    double vx, vy, ax, ay;
  } cases[] = {
      {3, -4, 0.0027500000000000003, -0.003666666666666667},
      {-3, 0, -0.004583333333333333, 0},
      {0, 2, 0, 0.004583333333333333},
      {0, 0, 0, 0},
  };
  for (const Case& c : cases) {
    SHOTSPAWN sp = SpawnAt(400, 400, c.vx, c.vy);
    sp.sIndex = 3;
    cShot shot = Built(owner, def, sp);
    EXPECT_EQ(shot.m_bAccel, 1);
    EXPECT_EQ(shot.m_dAccel, 0.55);
    EXPECT_EQ(shot.m_dInertiaX, c.ax) << c.vx << "," << c.vy;
    EXPECT_EQ(shot.m_dInertiaY, c.ay) << c.vx << "," << c.vy;
    EXPECT_EQ(shot.m_dBaseVx, c.vx / 2);
    EXPECT_EQ(shot.m_dVx, 0);
  }
  def.m_bAccel = 0;
  cShot plain = Built(owner, def, SpawnAt(400, 400, 3, -4));
  EXPECT_EQ(plain.m_bAccel, 0);
  EXPECT_EQ(plain.m_dAccel, 0);
  EXPECT_EQ(plain.m_dInertiaX, 0);
}

TEST_F(ShotInit, PositionIsClampedIntoTheActiveArea) {
  ShotStage stage;
  cChara& owner = stage.Chara(3, 3);
  const int right = stage.Scene().m_ScrollX.m_nActiveSize;
  cShot shot = Built(owner, OneShot(), SpawnAt(-40, 100000, 1, 0));
  EXPECT_EQ(shot.m_rcHit.dLeft, 0);
  EXPECT_EQ(shot.m_rcHit.dTop, stage.Scene().m_ScrollY.m_nActiveSize - 16);
  EXPECT_EQ(shot.ClampX(), 0);
  shot.m_rcHit.dLeft = right - 10;
  EXPECT_EQ(shot.ClampX(), 3);
  EXPECT_EQ(shot.m_rcHit.dLeft, right - 16);
  EXPECT_EQ(shot.m_rcHit.dRight, right - 1);
  EXPECT_EQ(shot.m_nCellRight, (right - 1) >> 5);
}

TEST_F(ShotInit, ACopyKeepsEveryMemberAndTheEndOfAShotLeavesItsTargetsList) {
  ShotStage stage;
  cChara& owner = stage.Chara(3, 3);
  cChara& target = stage.Chara(8, 3);
  owner.m_nTargetId = target.m_nId;
  cEdShot def = OneShot();
  def.m_nPath = SHOTPATH_HOME_TARGET;
  def.m_nPower = 12;
  {
    cShot built;
    built.Init(40, owner, SHOTMAKER_SHOT, def, SpawnAt(400, 400, 2, 1));
    built.m_HitList.push_back(5);
    cShot copy(built);
    EXPECT_EQ(copy.m_nId, 40);
    EXPECT_EQ(copy.m_nTargetId, target.m_nId);
    EXPECT_EQ(copy.m_ShotDef.m_nPower, 12);
    EXPECT_EQ(copy.m_HitList.size(), 1u);
    EXPECT_EQ(copy.m_dBaseVx, 2);
    EXPECT_EQ(copy.m_Box.rc.dRight, built.m_Box.rc.dRight);
    copy.m_nTargetId = OBJECT_NONE;
    target.m_vShots = {3, 40, 9, 40};
  }
  // The built shot ended with its target set: both entries of 40 went.
  EXPECT_EQ(target.m_vShots, (cVector<int32_t>{3, 9}));
}
