// A character's gravity, landing, ceiling, carrier and knock-back in one
// logic step.
#include <cmath>

#include "base/checked_convert.h"
#include "game/chara_base.h"
#include "game/map_cells.h"
#include "game/shot.h"
#include "records/stage.h"

void cCharaBase::ClearBlockedFlags() {
  for (int32_t& blocked : LRUD) blocked = 0;
}

void cCharaBase::ApplyGravity() {
  if (m_bNoGravity || m_bRiding || m_bMoveDisabled || m_dKnockY < 0) return;
  m_dVy += Stage.m_dGravityPerStep;
}

void cCharaBase::LandOnBlock() {
  m_dVy = 0;
  m_dInertiaY = 0;
  LRUD[LRUD_DOWN] = 1;
  m_bJumpBlocked = 0;
  m_bAirborne = 0;
  m_bJumped = 0;
  m_bJumping = 0;
  m_bKnockback = 0;
  if (m_nController == 1) m_bJumpLock = 0;
  // The bottom edge onto the last row above the cell.
  m_rcHit.dTop -= (ToIntChecked(m_rcHit.dBottom) & 31) + 1;
  ConfineY();
  FireTrigger(FLOWTRIGGER_HIT_BLOCK);
  FireTrigger(FLOWTRIGGER_BLOCK_TOP_BOTTOM);
  FireTrigger(FLOWTRIGGER_BLOCK_BOTTOM);
}

void cCharaBase::HitCeiling() {
  m_bJumping = 1;
  m_bJumped = 1;
  LRUD[LRUD_UP] = 1;
  m_bJumpLock = 1;
  m_dVy = 0;
  m_dInertiaY = 0;
  // Down to the next cell boundary.
  m_rcHit.dTop += 32 - (ToIntChecked(m_rcHit.dTop) & 31);
  ConfineY();
  FireTrigger(FLOWTRIGGER_HIT_BLOCK);
  FireTrigger(FLOWTRIGGER_BLOCK_TOP_BOTTOM);
  FireTrigger(FLOWTRIGGER_BLOCK_TOP);
}

void cCharaBase::LeaveCarrier(int bTurn) {
  m_bRiding = 0;
  if (m_dKnockY == 0) m_dVy = 0;
  if (bTurn) m_bTurnPending = 1;
}

int cCharaBase::IsOnGround() const {
  return (m_pFootCell && GetHitAttr(m_pFootCell, m_nGroup)) || m_bRiding ? 1 : 0;
}

namespace {

// Below this a speed counts as none when motions are compared.
constexpr double kStill = 1e-8;

int SignOf(double v) { return v > kStill ? 1 : v < -kStill ? -1 : 0; }
bool Opposed(double a, double b) { return SignOf(a) * SignOf(b) < 0; }

// The speed that, slowing by 1/S per step, carries c × 16 dots.
double KnockSpeed(double c) {
  const double S = Stage.m_dSteps;
  const double v = (std::sqrt(1 + 128 * S * std::fabs(c)) - 1) / (2 * S);
  return c < 0 ? -v : v;
}

// A knock-back speed one step nearer to 0, never past it.
void Decay(double& v) {
  if (v == 0) return;
  const double step = 1 / Stage.m_dSteps;
  if (v > 0) {
    v -= step;
    if (v < 0) v = 0;
  } else {
    v += step;
    if (v > 0) v = 0;
  }
}

}  // namespace

void cCharaBase::ApplyKnockback(int impact, double dx, double dy) {
  if (impact == 0) return;
  const int resist = m_Def.m_nImpactResist;
  int k;
  if (impact > 0) {
    k = impact - resist;
    if (k < 0) k = 0;
    if (k > 20) k = 20;
  } else {
    k = impact + resist;
    if (k > 0) k = 0;
    if (k < -20) k = -20;
  }
  if (k != 0) {
    const double f = std::fabs(dx) + std::fabs(dy);
    if (f == 0) {
      m_dKnockX = 0;
      m_dKnockY = 0;
    } else {
      m_dKnockX = KnockSpeed(dx * k / f);
      m_dKnockY = KnockSpeed(dy * k / f);
    }
  }
  if (Opposed(m_dInertiaX, m_dKnockX)) m_dInertiaX = 0;
  if (Opposed(m_dInertiaY, m_dKnockY)) m_dInertiaY = 0;
  if (Opposed(m_dVy, m_dKnockY)) m_dVy = 0;
  m_bKnockback = 1;
}

void cCharaBase::ApplyBodyKnockback(const cCharaBase& attacker) {
  double dy = attacker.m_dVy;
  if (attacker.m_Def.m_nFlyMode == FLYMODE_WALK && attacker.m_dVy < 8 * Stage.m_dSteps * Stage.m_dGravityPerStep)
    dy = 0;
  ApplyKnockback(attacker.m_Def.m_nImpact, attacker.m_dVx, dy);
}

void cCharaBase::ApplyShotKnockback(const cShot& shot) {
  const int impact = shot.m_ShotDef.m_nImpact;
  if (shot.m_nKind == SHOTKIND_SWORD)
    ApplyKnockback(impact, shot.FacingSign(), 0);
  else
    ApplyKnockback(impact, shot.m_dVx, shot.m_dVy);
}

void cCharaBase::ApplyKnockbackY() {
  if (m_dKnockY != 0) {
    if (m_bNoGravity) {
      m_dVy += m_dKnockY;
    } else if (m_dKnockY > 0 && IsOnGround()) {
      // Pushed into the ground it stands on.
      m_dKnockY = 0;
    } else {
      // Gravity keeps acting under the knock-back.
      m_dVy = m_dKnockY + (m_dVy - m_dKnockYApplied);
    }
  }
  m_dKnockYApplied = m_dKnockY;
}

void cCharaBase::DecayKnockbackX() { Decay(m_dKnockX); }

void cCharaBase::DecayKnockbackY() { Decay(m_dKnockY); }
