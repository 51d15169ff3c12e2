// A character's physics of a logic step: gravity, landing and ceiling with
// their triggers, knock-back and its decay, hit and skill points with their
// gauges, and the jump conversions. Expected doubles were worked out apart
// from this code (the formulas evaluated in the same order by an
// independent program) and are compared bit for bit.
#include <gtest/gtest.h>

#include <climits>

#include "game/characters.h"
#include "game/map_cells.h"
#include "game/shot.h"
#include "records/map_cell.h"
#include "records/stage.h"
#include "support/builders.h"
#include "support/game_world.h"

using namespace testsupport;

namespace {

class CharaPhysics : public ::testing::Test {
 protected:
  void SetUp() override { MapBuilder(std::vector<std::string>(15, std::string(20, '.'))).Build(); }
  cChara& Walker(const cEdChara& def = CharaDef()) { return world.AddChara(def, {5, 5}); }
  GameWorld world;
};

}  // namespace

TEST_F(CharaPhysics, GravityActsOnWalkersThatAreNotHeldUpOrKnockedUpward) {
  struct Case {
    int fly, riding, disabled;
    double knockY;
    double vy;
  };
  const Case cases[] = {{FLYMODE_WALK, 0, 0, 0, 0.4}, {FLYMODE_WALK, 0, 0, 1.5, 0.4}, {FLYMODE_STOPPED, 0, 0, 0, 0},
                        {FLYMODE_WALK, 1, 0, 0, 0},   {FLYMODE_WALK, 0, 1, 0, 0},     {FLYMODE_WALK, 0, 0, -0.5, 0}};
  for (const Case& c : cases) {
    cChara& chara = Walker(CharaDef().Fly(c.fly));
    chara.m_bRiding = c.riding;
    chara.m_bMoveDisabled = c.disabled;
    chara.m_dKnockY = c.knockY;
    chara.ApplyGravity();
    EXPECT_EQ(chara.m_dVy, c.vy) << c.fly << c.riding << c.disabled << " " << c.knockY;
  }
  Stage.SetSpeedLevel(3);
  cChara& slow = Walker();
  slow.ApplyGravity();
  EXPECT_EQ(slow.m_dVy, 0.4 / 9);
}

TEST_F(CharaPhysics, LandingPutsTheBottomOnTheRowAboveTheCellAndFiresItsTriggersInOrder) {
  for (int controller : {1, 0}) {
    cChara& c = Walker(controller ? CharaDef().Computer() : CharaDef().PlayerOperated());
    c.m_rcHit.dTop = 77.6;  // bottom 100.6: cell row 3, dot 4 of it
    c.ClampY(7);
    c.m_dVy = 3;
    c.m_dInertiaY = 1;
    c.m_bJumpBlocked = 5;
    c.m_bAirborne = c.m_bJumped = c.m_bJumping = c.m_bKnockback = c.m_bJumpLock = 1;
    world.events.Clear();
    c.LandOnBlock();
    EXPECT_EQ(c.m_rcHit.dTop, 77.6 - 5);
    EXPECT_EQ(c.m_rcHit.dBottom, 24 + (77.6 - 5) - 1);
    EXPECT_EQ(c.m_dVy, 0);
    EXPECT_EQ(c.m_dInertiaY, 0);
    EXPECT_EQ(c.LRUD[LRUD_DOWN], 1);
    EXPECT_EQ(c.m_bJumpBlocked + c.m_bAirborne + c.m_bJumped + c.m_bJumping + c.m_bKnockback, 0);
    EXPECT_EQ(c.m_bJumpLock, controller ? 0 : 1) << "only a computer-operated character unlocks its jump";
    const std::string id = " " + std::to_string(c.m_nId);
    EXPECT_EQ(world.events.Texts(EventKind::Trigger), (std::vector<std::string>{"9" + id, "13" + id, "15" + id}));
  }
}

TEST_F(CharaPhysics, ACeilingPushesDownToTheNextCellBoundary) {
  struct Case {
    double y, after;
  };
  const Case cases[] = {{64.0, 96.0}, {70.4, 96.4}, {95.9, 96.9}};
  for (const Case& k : cases) {
    cChara& c = Walker();
    c.m_rcHit.dTop = k.y;
    c.m_dVy = -4;
    world.events.Clear();
    c.HitCeiling();
    EXPECT_EQ(c.m_rcHit.dTop, k.after) << k.y;
    EXPECT_EQ(c.m_dVy, 0);
    EXPECT_EQ(c.m_bJumping + c.m_bJumped + c.m_bJumpLock + c.LRUD[LRUD_UP], 4);
    const std::string id = " " + std::to_string(c.m_nId);
    EXPECT_EQ(world.events.Texts(EventKind::Trigger), (std::vector<std::string>{"9" + id, "13" + id, "14" + id}));
  }
}

TEST_F(CharaPhysics, GroundAndCarrier) {
  MapBuilder({"...", "#2."}).Build();
  cChara& c = Walker();
  EXPECT_EQ(c.IsOnGround(), 0);
  c.m_pFootCell = CellAt(10, 11);
  EXPECT_EQ(c.IsOnGround(), 1);
  c.m_pFootCell = CellAt(11, 11);  // passes group 2
  c.m_nGroup = 2;
  EXPECT_EQ(c.IsOnGround(), 0);
  c.m_bRiding = 1;
  EXPECT_EQ(c.IsOnGround(), 1);

  c.m_dVy = 2;
  c.m_dKnockY = 0.5;
  c.LeaveCarrier(0);
  EXPECT_EQ(c.m_bRiding, 0);
  EXPECT_EQ(c.m_dVy, 2) << "a vertical knock-back keeps the speed";
  EXPECT_EQ(c.m_bTurnPending, 0);
  c.m_dKnockY = 0;
  c.LeaveCarrier(1);
  EXPECT_EQ(c.m_dVy, 0);
  EXPECT_EQ(c.m_bTurnPending, 1);
}

TEST_F(CharaPhysics, KnockbackStrengthIsImpactLessResistanceCarriedAsASpeedThatDecaysBy1OverS) {
  struct Case {
    int level, imp, impd;
    double dx, dy;
    double knockX, knockY;
  };
  const Case cases[] = {
      {1, 4, 0, 1, 0, 10.824751652906125, 0},                   // (√513 − 1) / 2
      {3, 5, 2, 3, -4, 3.540362263900708, -4.112759937855493},  // strength 3 over |3| + |4|
      {10, -9, 3, 2, 0, -4.332065722921097, 0},                 // −6: toward the attacker
      {1, 25, 0, 0, 1, 0, 24.80316185775999},                   // at most 20
      {1, -30, 5, 0, 1, 0, -24.80316185775999},                 // at least −20
      {1, 4, 0, 0, 0, 0, 0},                                    // no direction: no speed
  };
  for (const Case& c : cases) {
    Stage.SetSpeedLevel(c.level);
    cChara& chara = Walker(CharaDef().ImpactResist(c.impd));
    chara.m_dKnockX = chara.m_dKnockY = 7;
    chara.ApplyKnockback(c.imp, c.dx, c.dy);
    EXPECT_EQ(chara.m_dKnockX, c.knockX) << c.level << " " << c.imp;
    EXPECT_EQ(chara.m_dKnockY, c.knockY) << c.level << " " << c.imp;
    EXPECT_EQ(chara.m_bKnockback, 1);
  }
}

TEST_F(CharaPhysics, AKnockbackThatResistanceCancelsKeepsTheSpeedsButCountsAsAKnockback) {
  cChara& c = Walker(CharaDef().ImpactResist(7));
  c.m_dKnockX = 1.5;
  c.m_dKnockY = -2;
  c.ApplyKnockback(5, 1, 0);
  EXPECT_EQ(c.m_dKnockX, 1.5);
  EXPECT_EQ(c.m_dKnockY, -2);
  EXPECT_EQ(c.m_bKnockback, 1);
  c.m_bKnockback = 0;
  c.ApplyKnockback(0, 1, 0);
  EXPECT_EQ(c.m_bKnockback, 0) << "no impact: nothing at all";
}

TEST_F(CharaPhysics, AKnockbackCancelsMotionAgainstIt) {
  struct Case {
    double inertiaX, inertiaY, vy;
    double dx, dy;
    double afterInertiaX, afterInertiaY, afterVy;
  };
  const Case cases[] = {
      {2, 2, 2, -1, -1, 0, 0, 0},          // all opposed
      {2, 2, 2, 1, 1, 2, 2, 2},            // all along
      {5e-9, -5e-9, 5e-9, -1, 1, 5e-9, -5e-9, 5e-9},  // below 1e-8 counts as still
      {-3, 0, -1, 1, 0, 0, 0, -1},         // no vertical knock-back: vy stays
  };
  for (const Case& c : cases) {
    cChara& chara = Walker();
    chara.m_dInertiaX = c.inertiaX;
    chara.m_dInertiaY = c.inertiaY;
    chara.m_dVy = c.vy;
    chara.ApplyKnockback(4, c.dx, c.dy);
    EXPECT_EQ(chara.m_dInertiaX, c.afterInertiaX) << c.dx << " " << c.dy;
    EXPECT_EQ(chara.m_dInertiaY, c.afterInertiaY) << c.dx << " " << c.dy;
    EXPECT_EQ(chara.m_dVy, c.afterVy) << c.dx << " " << c.dy;
  }
}

TEST_F(CharaPhysics, BodyShotAndSwordPushInTheirOwnDirections) {
  cChara& victim = Walker();
  cChara& walker = Walker(CharaDef().Impact(4));
  walker.m_dVx = 2;
  walker.m_dVy = 0.3;  // below 8 × S × g = 3.2: a walker's fall does not push
  victim.ApplyBodyKnockback(walker);
  EXPECT_EQ(victim.m_dKnockX, 10.824751652906125);
  EXPECT_EQ(victim.m_dKnockY, 0);

  cChara& flier = Walker(CharaDef().Impact(4).Fly(FLYMODE_STOPPED));
  flier.m_dVx = 0;
  flier.m_dVy = 0.3;
  victim.ApplyBodyKnockback(flier);
  EXPECT_EQ(victim.m_dKnockY, 10.824751652906125);

  cShot shot;
  shot.m_ShotDef.m_nImpact = 4;
  shot.m_nKind = SHOTKIND_SHOT;
  shot.m_dVx = -3;
  shot.m_dVy = 0;
  victim.ApplyShotKnockback(shot);
  EXPECT_EQ(victim.m_dKnockX, -10.824751652906125);
  shot.m_nKind = SHOTKIND_SWORD;
  shot.m_nDirection = 1;  // a sword pushes along its facing, whatever its speed
  victim.ApplyShotKnockback(shot);
  EXPECT_EQ(victim.m_dKnockX, 10.824751652906125);
  EXPECT_EQ(victim.m_dKnockY, 0);
}

TEST_F(CharaPhysics, VerticalKnockbackUnderGravity) {
  MapBuilder({"...", "#.."}).Build();
  cChara& walker = Walker();
  walker.m_dKnockY = -3;
  walker.m_dVy = 0.4;  // gravity of this step
  walker.m_dKnockYApplied = -2.5;
  walker.ApplyKnockbackY();
  EXPECT_EQ(walker.m_dVy, -3 + (0.4 - -2.5));
  EXPECT_EQ(walker.m_dKnockYApplied, -3);

  walker.m_dKnockY = 2;
  walker.m_pFootCell = CellAt(10, 11);  // stands on a solid cell: a push down is lost
  walker.ApplyKnockbackY();
  EXPECT_EQ(walker.m_dKnockY, 0);
  EXPECT_EQ(walker.m_dKnockYApplied, 0);

  cChara& flier = Walker(CharaDef().Fly(FLYMODE_STOPPED));
  flier.m_dVy = 1;
  flier.m_dKnockY = 2;
  flier.ApplyKnockbackY();
  EXPECT_EQ(flier.m_dVy, 3);
}

TEST_F(CharaPhysics, KnockbackDecaysTowardZeroWithoutCrossingIt) {
  struct Case {
    int level;
    double v, after;
  };
  const Case cases[] = {{2, 0.3, 0}, {2, -0.3, 0}, {2, 1.2, 0.7}, {3, 1.0, 0.6666666666666667}, {1, 0, 0}};
  for (const Case& c : cases) {
    Stage.SetSpeedLevel(c.level);
    cChara& chara = Walker();
    chara.m_dKnockX = c.v;
    chara.m_dKnockY = -c.v;
    chara.DecayKnockbackX();
    chara.DecayKnockbackY();
    EXPECT_EQ(chara.m_dKnockX, c.after) << c.level << " " << c.v;
    EXPECT_EQ(chara.m_dKnockY, -c.after) << c.level << " " << c.v;
  }
}

TEST_F(CharaPhysics, HitPointsWithInvincibilityForceLimitsAndGauge) {
  struct Case {
    int invincible, hp, maxHp;
    int delta, force, gauge;
    int result, after;
    int gaugeTimer;
    double gaugeDiff;
    int gaugeValue;
  };
  const Case cases[] = {
      {1, 50, 100, -5, 0, 1, 0, 50, 0, 0, 0},           // refused while invincible
      {1, 50, 100, -5, 1, 1, 0, 45, 120, -2.5, 22},     // forced
      {2, 50, 100, 10, 0, 1, 0, 60, 120, 5, 30},        // a gain is never refused
      {0, 90, 100, 50, 0, 1, 0, 100, 120, 5, 50},       // limited to the 10 missing
      {0, 90, 100, -200, 0, 1, 1, 0, 0, 0, 0},          // defeated: no gauge
      {0, 0, 100, 0, 0, 1, 1, 0, 0, 0, 0},
      {0, 50, 100, -5, 0, 0, 0, 45, 0, 0, 0},           // no gauge asked
      {0, 5, 3, 0, 0, 1, 0, 3, 0, 0, 0},                // above the maximum: clamped; delta 0 no gauge
      {0, 1, 999999, INT_MIN, 1, 1, 1, 0, 0, 0, 0},
      {0, 1, 999999, INT_MAX, 0, 1, 0, 999999, 120, 49.99994999995, 50},
  };
  for (const Case& c : cases) {
    cChara& chara = Walker(CharaDef().Invincible(c.invincible).Hp(c.maxHp));
    chara.m_nHp = c.hp;
    EXPECT_EQ(chara.ChangeHp(c.delta, c.force, c.gauge), c.result) << c.hp << " " << c.delta;
    EXPECT_EQ(chara.m_nHp, c.after) << c.hp << " " << c.delta;
    EXPECT_EQ(chara.m_HpGauge.nTimer, c.gaugeTimer) << c.hp << " " << c.delta;
    EXPECT_EQ(chara.m_HpGauge.dDiff, c.gaugeDiff) << c.hp << " " << c.delta;
    EXPECT_EQ(chara.m_HpGauge.nValue, c.gaugeValue) << c.hp << " " << c.delta;
    EXPECT_EQ(chara.m_HpGauge.dShrink, c.gaugeDiff / 60) << c.hp << " " << c.delta;
  }
}

TEST_F(CharaPhysics, SkillPointsIgnoreInvincibilityAndAGaugeNeedsAMaximum) {
  cChara& c = Walker(CharaDef().Invincible(1).Sp(10));
  c.m_nSp = 4;
  c.ChangeSp(-3, 1);
  EXPECT_EQ(c.m_nSp, 1);
  EXPECT_EQ(c.m_SpGauge.dDiff, -15.0);
  EXPECT_EQ(c.m_SpGauge.nValue, 5);
  c.ChangeSp(50, 1);
  EXPECT_EQ(c.m_nSp, 10);
  EXPECT_EQ(c.m_SpGauge.dDiff, 45.0);

  cChara& none = Walker(CharaDef().Sp(0));
  none.ChangeSp(5, 1);
  EXPECT_EQ(none.m_nSp, 0);
  EXPECT_EQ(none.m_SpGauge.nTimer, 0);
  none.StartSpGauge(5);
  none.StartHpGauge(0);
  none.m_Def.m_nMaxHp = 0;
  none.StartHpGauge(5);
  EXPECT_EQ(none.m_SpGauge.nTimer + none.m_HpGauge.nTimer, 0);
}

TEST_F(CharaPhysics, JumpSpeedStepsToApexAndTimeForAHeight) {
  struct Case {
    int level;
    double gravity;
    int8_t height;  // half blocks
    int player;
    double speed;
    int steps, tenths;
  };
  const Case cases[] = {
      {1, 0.4, 4, 0, -7.358212067269313, 19, 4},
      {1, 0.4, 4, 1, -7.211047825923926, 19, 4},  // × (0.99 − 0.4 × 0.025)
      {3, 0.4, 4, 0, -2.4074649176411564, 57, 4},
      {3, 0.4, 4, 1, -2.359315619288333, 56, 4},
      {10, 0.7, 10, 0, -1.5001670471417483, 224, 4},
      {10, 0.7, 10, 1, -1.4589124533453504, 218, 4},
      {1, 0.4, 0, 0, -0.4, 2, 1},
      {3, 0.4, 0, 1, -0.043555555555555556, 3, 1},
      {2, 1.0, 7, 1, -7.343031135812704, 31, 3},
      {12, 0.4, 20, 0, -8.050156248474151, 82, 7},
      // Without gravity nothing comes down: no launch, S steps, a tenth.
      {1, 0.0, 4, 0, 0, 1, 1},
      {3, -0.4, 4, 1, 0, 3, 1},
  };
  for (const Case& c : cases) {
    Stage.m_dGravity = c.gravity;
    Stage.SetSpeedLevel(c.level);
    cChara& chara = Walker(c.player ? CharaDef().PlayerOperated() : CharaDef().Computer());
    const double v = chara.JumpSpeedForHeight(c.height);
    EXPECT_EQ(v, c.speed) << c.level << " " << c.gravity << " " << int{c.height};
    EXPECT_EQ(chara.JumpSpeedForHeightDots(c.height * 16), v);
    EXPECT_EQ(cCharaBase::JumpStepsToApex(v), c.steps) << c.level << " " << int{c.height};
    EXPECT_EQ(chara.JumpTimeForHeight(c.height), c.tenths) << c.level << " " << int{c.height};
  }
}

TEST_F(CharaPhysics, AJumpBelowTheGroundIsNoJumpAtAll) {
  cChara& c = Walker();
  const double v = c.JumpSpeedForHeight(-5);
  EXPECT_EQ(v, -0.2);  // (−g − √0) / 2: the reach cannot go below nothing
}

TEST_F(CharaPhysics, Conversions) {
  EXPECT_EQ(cCharaBase::HblToDots(3), 48);
  EXPECT_EQ(cCharaBase::HblToDots(-2), -32);
  Stage.SetSpeedLevel(3);
  EXPECT_EQ(cCharaBase::StopToDecel(50), 50 * 0.01 / 9);
  EXPECT_EQ(cCharaBase::StopToDecel(0), 0);
}
