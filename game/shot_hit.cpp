// What a shot or sword does to the character it hits.
#include <cstdint>

#include "base/checked_convert.h"
#include "game/chara_base.h"
#include "game/shot.h"

namespace {

constexpr int64_t kMaxDamage = 999999;

}  // namespace

int cCharaBase::TakeShotHit(const cShot& shot) {
  const cEdShot& def = shot.m_ShotDef;
  // A power of 0 or less is taken as it is: a negative one heals.
  int64_t damage = def.m_nPower;
  if (damage > 0) {
    damage -= m_Def.m_nDefence;
    if (damage < 0) damage = 0;
    if (damage > kMaxDamage) damage = kMaxDamage;
  }
  const int result = ChangeHp(SaturateToInt(-damage), 0, 1);
  ShowHitEffect(def.m_nHitEffect, m_ShotContact.rc, shot.m_Box.rc, def.m_nScale);
  ApplyShotKnockback(shot);
  if (def.m_nPower != 0) FireTrigger(FLOWTRIGGER_DAMAGED);
  if (def.m_nImpact != 0) FireTrigger(FLOWTRIGGER_IMPACT);
  return result;
}
