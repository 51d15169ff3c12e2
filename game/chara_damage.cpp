// Damage, invincibility and defeat of a character, and the references that
// a character which goes leaves behind.

#include "base/checked_convert.h"
#include "game/aimed_shots.h"
#include "game/characters.h"
#include "game/effect_instance.h"
#include "game/item_effect.h"
#include "game/stage_data.h"
#include "records/anime_step.h"
#include "records/save_data.h"
#include "records/stage.h"

namespace {

constexpr int64_t kMaxDamage = 999999;
constexpr int64_t kMaxStageScore = 999999;

int64_t ClampDamage(int64_t v, int64_t lo, int64_t hi) { return v < lo ? lo : v > hi ? hi : v; }

// A defeat's score (negative takes some away) into the stage score of the
// progress record, which stays within 0..999999.
void AddStageScore(int32_t add) {
  PlayData.m_nStageScore =
      static_cast<int32_t>(ClampDamage(static_cast<int64_t>(PlayData.m_nStageScore) + add, 0, kMaxStageScore));
}

}  // namespace

void cCharaBase::StartInvincibility() {
  const int frames = m_nController == 0 ? Stage.m_nHeroInvincibleTime : Stage.m_nCharaInvincibleTime;
  m_nInvincible = SaturatedTicks(frames, Stage.m_nStepsPerFrame);
}

void cCharaBase::StartInvincibilityFrom(int key) {
  StartInvincibility();
  const int frames = m_nController == 0 ? Stage.m_nHeroGuardTime : Stage.m_nCharaGuardTime;
  INVINCIBLEFROM entry;
  entry.nKey = key;
  entry.nCount = SaturatedTicks(frames, Stage.m_nStepsPerFrame);
  // A time of 0 guards against nobody.
  if (entry.nCount > 0) m_lInvincibleFrom.push_back(entry);
}

void cCharaBase::TickInvincibility() {
  if (m_nInvincible > 0) --m_nInvincible;
  if (m_nInvincible < 0) m_nInvincible = 0;
  for (auto it = m_lInvincibleFrom.begin(); it != m_lInvincibleFrom.end();) {
    if (--it->nCount <= 0)
      it = m_lInvincibleFrom.erase(it);
    else
      ++it;
  }
}

int cCharaBase::IsInvincible() const { return m_nInvincible > 0 ? 1 : 0; }

int cCharaBase::IsInvincibleTo(int key) const {
  if (m_nInvincible > 0) return 1;
  for (const INVINCIBLEFROM& entry : m_lInvincibleFrom)
    if (entry.nKey == key) return 1;
  return 0;
}

int cCharaBase::TakeHitDamage(int32_t power) {
  int64_t d = power;
  if (d > 0) d = ClampDamage(d - m_Def.m_nDefence, 0, kMaxDamage);
  return ChangeHp(SaturateToInt(-d), 0, 1);
}

void cCharaBase::ShowHitEffect(int effect, const DRECT& own, const DRECT& other, int scale) {
  if (effect == 0) return;
  StageData().m_Effects.emplace_back(effect, own, other, scale);
}

void cCharaBase::FireHitTriggers(int32_t power, int impact) {
  if (power != 0) FireTrigger(FLOWTRIGGER_DAMAGED);
  if (impact != 0) FireTrigger(FLOWTRIGGER_IMPACT);
}

int cCharaBase::TakeBodyHit(const cCharaBase& attacker) {
  const int result = TakeHitDamage(attacker.m_Def.m_nPower);
  ShowHitEffect(attacker.m_Def.m_nHitEffect, m_Contact.rc, attacker.m_Contact.rc, attacker.m_Def.m_nScale);
  ApplyBodyKnockback(attacker);
  FireHitTriggers(attacker.m_Def.m_nPower, attacker.m_Def.m_nImpact);
  return result;
}

int cCharaBase::Defeat() {
  FireTrigger(FLOWTRIGGER_DEATH);
  Run(1);
  AddStageScore(m_Def.m_nScore);
  int cleared = 0;
  if (cItem* drop = GetDropItem()) {
    if (!Player.empty()) cleared = ApplyItemEffect(drop, Player[0]) == STAGERESULT_CLEAR;
  }
  if (StageData().m_nCommandResult == STAGERESULT_CLEAR || cleared) return 1;
  ForgetReferences();
  m_bDefeated = 1;
  m_CharaEffect.Start(m_Def.m_nDeathEffect, m_Def.m_nDeathEffectMode, 0);
  return 0;
}

void cCharaBase::ForgetReferences() {
  const int32_t id = m_nId;
  m_vTargetedBy.clear();
  m_nTargetId = OBJECT_NONE;
  // Every character is swept, whatever the targeted-by lists say: nobody may
  // keep naming it, as a target or in such a list.
  auto sweep = [id](cCharaBase& chara) {
    if (chara.m_nTargetId == id) chara.m_nTargetId = OBJECT_NONE;
    chara.m_vTargetedBy.Remove(id);
  };
  for (cHero& hero : Player) sweep(hero);
  for (cChara& chara : CharaList) sweep(chara);
  for (int32_t serial : m_vShots) ReleaseAimedShot(serial, id);
  m_vShots.clear();
}
