// A shot or sword hitting a character: damage by the shot's power less the
// defence (cut to 0..999999, a negative power heals), the HP result, the
// hit effect, the knock-back along the shot's velocity or the sword's
// facing, and the damage and impact triggers in that order.
#include <gtest/gtest.h>

#include <tuple>

#include "base/crt_random.h"
#include "base/number_text.h"
#include "records/database.h"

#include "shot_test_env.h"

using namespace shottest;

namespace {

class ShotHits : public ::testing::Test {
 protected:
  cShot& ShotOf(int power, int impact = 0, int effect = 0) {
    cEdShot def = OneShot();
    def.m_nPower = power;
    def.m_nImpact = static_cast<int8_t>(impact);
    def.m_nHitEffect = static_cast<int16_t>(effect);
    cShot& shot = stage.Fire(shooter, def, SpawnAt(400, 400, -3, 0));
    shot.StepTrajectory();  // flying: 3 a step to the left
    return shot;
  }
  cChara& Victim(int maxHp, int defence, int invincible = 0) {
    cEdChara def = CharaDef().Hp(maxHp).Invincible(invincible).Group(4);
    def.m_nDefence = defence;
    return stage.Chara(12, 8, def);
  }
  ShotStage stage;
  cChara& shooter = stage.Chara(3, 3);
};

}  // namespace

TEST_F(ShotHits, DamageIsThePowerLessTheDefenceCutToItsRange) {
  struct Case {
    int power, defence, hp, left;
  } cases[] = {
      {30, 45, 100, 100},                // no damage
      {60, 45, 100, 85},
      {999999, 0, 2000000, 1000001},
      {2000000, 100, 2000000, 1000001},  // cut after the defence
      {-10, 50, 100, 100},               // a heal, at most to the maximum
  };
  for (const Case& c : cases) {
    cChara& victim = Victim(c.hp, c.defence);
    EXPECT_EQ(victim.TakeShotHit(ShotOf(c.power)), 0) << c.power;
    EXPECT_EQ(victim.m_nHp, c.left) << c.power;
  }
  cChara& hurt = Victim(100, 0, 1);  // the invincibility setting refuses losses but not heals
  hurt.m_nHp = 50;
  hurt.TakeShotHit(ShotOf(20));
  EXPECT_EQ(hurt.m_nHp, 50);
  hurt.TakeShotHit(ShotOf(-10));
  EXPECT_EQ(hurt.m_nHp, 60);
}

TEST_F(ShotHits, AHitThatEmptiesTheHpSaysSoAndOneThatDoesNotStartsTheGauge) {
  cChara& victim = Victim(5, 0);
  EXPECT_EQ(victim.TakeShotHit(ShotOf(4)), 0);
  EXPECT_EQ(victim.m_nHp, 1);
  EXPECT_EQ(victim.m_HpGauge.nTimer, 120);
  EXPECT_EQ(victim.TakeShotHit(ShotOf(5)), 1);
  EXPECT_EQ(victim.m_nHp, 0);
}

TEST_F(ShotHits, PowerAndImpactFireTheirTriggersInOrderAndTheShotPushes) {
  cChara& victim = Victim(100, 0);
  const std::string id = std::to_string(victim.m_nId);
  struct Case {
    int power, impact;
    std::vector<std::string> triggers;
    double knockX;
  } cases[] = {
      {5, 4, {"1 " + id, "2 " + id}, -10.824751652906125},
      {0, 4, {"2 " + id}, -10.824751652906125},
      {5, 0, {"1 " + id}, 0},
      {0, 0, {}, 0},
  };
  for (const Case& c : cases) {
    victim.m_dKnockX = 0;
    stage.world.events.Clear();
    victim.TakeShotHit(ShotOf(c.power, c.impact));
    EXPECT_EQ(stage.world.events.Texts(EventKind::Trigger), c.triggers) << c.power << " " << c.impact;
    EXPECT_EQ(victim.m_dKnockX, c.knockX);
  }
  // A sword pushes along its facing.
  cShot& sword = ShotOf(0, 4);
  sword.m_nKind = SHOTKIND_SWORD;
  sword.m_nDirection = 1;
  victim.TakeShotHit(sword);
  EXPECT_EQ(victim.m_dKnockX, 10.824751652906125);
}

TEST_F(ShotHits, AHitEffectShowsWhereTheShotsBoxMeetsTheShotContactAtTheShotsScale) {
  // Effect 3: 10 × 8 frames that grow with the attacker.
  Database.m_vEffect.resize(4);
  Database.m_vEffect[3].m_nWidth = 10;
  Database.m_vEffect[3].m_nHeight = 8;
  Database.m_vEffect[3].m_bScaleWithOwner = 1;
  BuildEffectPatterns(EffectStepTable);
  cChara& victim = Victim(100, 0);
  victim.TakeShotHit(ShotOf(1));
  EXPECT_TRUE(stage.Scene().m_Effects.empty()) << "no effect named";

  cShot& shot = ShotOf(1, 0, 3);
  shot.m_ShotDef.m_nScale = 3;
  // The shot's box meets the shot contact in (120, 110)-(131, 131); the body
  // contact lies elsewhere.
  victim.m_ShotContact.rc = {100, 100, 131, 131};
  victim.m_Contact.rc = {0, 0, 9, 9};
  shot.m_Box.rc = {120, 110, 151, 141};
  crt::srand(9);
  victim.TakeShotHit(shot);
  crt::srand(9);
  const int jx = RandomRange(-12, 12), jy = RandomRange(-12, 12);
  ASSERT_EQ(stage.Scene().m_Effects.size(), 1u);
  const cEffectInstance& shown = stage.Scene().m_Effects.front();
  EXPECT_EQ(std::make_tuple(shown.m_sEffect, shown.m_dX, shown.m_dY, shown.m_nWidth, shown.m_nHeight, shown.m_bScaled),
            std::make_tuple(int16_t{3}, 111.0 + jx, 109.0 + jy, 30, 24, 1));
}
