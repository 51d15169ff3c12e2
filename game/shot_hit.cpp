// What a shot or sword does to the character it hits.
#include "game/chara_base.h"
#include "game/shot.h"

int cCharaBase::TakeShotHit(const cShot& shot) {
  const cEdShot& def = shot.m_ShotDef;
  const int result = TakeHitDamage(def.m_nPower);
  ShowHitEffect(def.m_nHitEffect, m_ShotContact.rc, shot.m_Box.rc, def.m_nScale);
  ApplyShotKnockback(shot);
  FireHitTriggers(def.m_nPower, def.m_nImpact);
  return result;
}
