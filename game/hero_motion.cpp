// The hero's logic step: camera, moves, the flow step and the jump.
#include <cmath>

#include "base/checked_convert.h"
#include "base/window_messages.h"
#include "game/characters.h"
#include "game/flow_instance.h"
#include "game/stage_data.h"
#include "records/stage.h"
#include "records/system.h"

namespace {

// The view keeps the hero centred, within [min, max − view].
void Follow(cScrollAxis& axis, double pos) {
  axis.m_dPos = pos;
  if (axis.m_dPos < axis.m_nMin) {
    axis.m_dPos = axis.m_nMin;
  } else if (axis.m_dPos > static_cast<double>(axis.m_nMax) - axis.m_nView) {
    axis.m_dPos = static_cast<double>(axis.m_nMax) - axis.m_nView;
    if (axis.m_dPos < axis.m_nMin) axis.m_dPos = axis.m_nMin;
  }
}

}  // namespace

int cHero::ConfineX() {
  cScrollAxis& axis = StageData().m_ScrollX;
  if (!axis.m_bAutoScroll) Follow(axis, m_rcHit.dLeft - (320 - m_nHitWidth / 2));
  return ClampX(m_bNoGravity ? 0 : 1);
}

int cHero::ConfineY() {
  cScrollAxis& axis = StageData().m_ScrollY;
  if (!axis.m_bAutoScroll) Follow(axis, m_rcHit.dTop - (240 - m_nHitHeight / 2));
  return ClampY(m_bNoGravity ? 0 : 1);
}

void cHero::UpdateScreenRect() {
  const cSceneStageData& stage = StageData();
  const cScrollAxis& ax = stage.m_ScrollX;
  const cScrollAxis& ay = stage.m_ScrollY;
  int64_t left, top;
  if (ax.m_bAutoScroll)
    left = static_cast<int64_t>(ToIntChecked(m_rcHit.dLeft)) - ToIntChecked(ax.m_dPos) - m_nOffsetX;
  else
    left = ToIntChecked(m_rcHit.dLeft - ax.m_dPos - m_nOffsetX);
  if (ay.m_bAutoScroll)
    top = static_cast<int64_t>(ToIntChecked(m_rcHit.dTop)) - ToIntChecked(ay.m_dPos) - m_nOffsetY;
  else
    top = ToIntChecked(m_rcHit.dTop - ay.m_dPos - m_nOffsetY);
  m_rcScreen.nLeft = SaturateToInt(left);
  m_rcScreen.nTop = SaturateToInt(top);
  m_rcScreen.nRight = SaturateToInt(static_cast<int64_t>(m_rcScreen.nLeft) + m_nGfxWidth - 1);
  m_rcScreen.nBottom = SaturateToInt(static_cast<int64_t>(m_rcScreen.nTop) + m_nGfxHeight - 1);
}

int cHero::MoveX() {
  if (m_dKnockX != 0) {
    m_dVx = m_dKnockX;
  } else if (m_dInertiaX != 0) {
    ApplyFriction(m_dInertiaX, m_bFrictionX);
    if (m_nGroundEffect == 3 && m_nGroundEffectSteps != 0) {
      // A slide strength above 1 speeds the slide up, one below 1 slows it.
      const double d = SpeedPerStep(m_dGroundAccel) * (m_dGroundEffect - 1);
      if (m_dInertiaX > 0) {
        m_dInertiaX += d;
        if (m_dInertiaX < 0) m_dInertiaX = 0;
      } else {
        m_dInertiaX -= d;
        if (m_dInertiaX > 0) m_dInertiaX = 0;
      }
    }
    m_dVx += m_dInertiaX;
  }
  CapSpeed(m_dVx);
  m_rcHit.dLeft += m_dVx;
  ConfineX();
  return 0;
}

int cHero::MoveY() {
  ApplyKnockbackY();
  if (m_dKnockY == 0 && m_bNoGravity) {
    ApplyFriction(m_dInertiaY, m_bFrictionY);
    m_dVy += m_dInertiaY;
  }
  const int flying = m_bNoGravity;
  const int r = StepY(flying ? 0 : 2);
  ConfineY();
  if (!flying && (r == 5 || r == 6)) return 7;
  return r;
}

int cHero::Run(int bDeathPass) {
  cSceneStageData& stage = StageData();
  stage.m_lpCurChara = this;
  stage.m_bDefeatCheck = 0;

  const int flying = m_bNoGravity;
  if (SystemData.bScrollInMoves()) {
    // The moves add the auto-scroll themselves.
    if (flying) {
      m_dVx = stage.m_ScrollX.MoveSpeed();
      m_dVy = stage.m_ScrollY.MoveSpeed();
    } else {
      m_dVx = 0;
    }
  } else if (m_bScrollSync) {
    m_dVx = stage.m_ScrollX.MoveSpeed();
    if (flying) m_dVy = stage.m_ScrollY.MoveSpeed();
  } else {
    m_dVx = 0;
    if (flying) m_dVy = 0;
  }

  m_bMoveDisabled = 0;
  m_bFrictionX = m_bFrictionY = 1;
  m_bMoved = 0;
  m_bJumpThisStep = 0;
  if (m_nCrushGrace > 0) --m_nCrushGrace;

  if (RunFlows(bDeathPass)) return 1;

  if (!m_bMoved && m_dInertiaX == 0 && m_dInertiaY == 0) m_Anime.ChangePattern(flying ? 2 : 0, 1);
  if (!m_bJumpThisStep) {
    m_nJumpHold = 0;
    m_bJumpReady = 1;
    m_bJumpLock = 0;
  }
  return m_nHp <= 0 ? 1 : 0;
}

int cHero::Jump(cCommandInstance& instance) {
  if (m_bNoGravity || m_bJumpThisStep) return 0;
  const cSceneStageData& stage = StageData();
  const int mode = instance.Param(0);

  // The key of the flow's last key condition, held now.
  const cFlowInstance* flow = stage.m_lpCurFlow;
  const cEdKeyCondition* key = flow && !flow->m_vKeyConds.empty() ? flow->m_vKeyConds.back() : nullptr;
  const int hasKeys = key != nullptr;
  int held = 1;
  if (mode != 0) held = key && m_pInput && CheckKeyNow(*m_pInput, *key);

  if (mode == 2) {
    // The height follows the run speed between B (height p4) and A (height p2).
    const double S = Stage.m_dSteps;
    const double v = std::fabs(m_dInertiaX);
    const double A = instance.Param(1) / (10 * S);
    const double B = instance.Param(3) / (10 * S);
    const int p2 = instance.Param(2);
    const int p4 = instance.Param(4);
    int h;
    if (v >= A)
      h = p2;
    else if (v <= B)
      h = p4;
    else
      h = ToIntChecked((static_cast<double>(p2) - p4) * v / A + p4);
    instance.m_dSpeed = JumpSpeedForHeightDots(static_cast<double>(static_cast<int64_t>(h) * 16));
  }

  if ((mode != 0 && !held) || m_bJumpForced) {
    // A release before the full height cuts the rise.
    if (m_nJumpHold > 0 && m_nJumpHold < instance.m_nDuration && !m_bJumping && !m_bJumpLock && !m_bJumpForced &&
        !m_bKnockback) {
      m_bRiding = 0;
      if (m_dVy < 0) m_dVy *= 0.3;
      m_bJumping = 1;
    }
    m_nJumpHold = 0;
    m_bJumpReady = 1;
    m_bJumpLock = 0;
  } else {
    if (m_nJumpHold < INT32_MAX) ++m_nJumpHold;
    const int free = !m_bJumping || m_bRiding;
    if (m_nJumpHold >= instance.m_nDuration && m_bJumpReady && !m_bJumpLock && free && (m_dVy < 0 || m_bRiding)) {
      // Held to the end: the jump is at its full height.
      m_bJumping = 1;
      m_bJumpReady = 0;
    } else if (!m_bAirborne && m_nJumpHold <= Stage.m_nStepsPerFrame && free && m_bJumpReady && !m_bJumpLock &&
               !m_bKnockback && !instance.m_bBegun) {
      m_bJumped = 1;
      bool launched = false;
      if (!m_bRiding) {
        m_dVy = instance.m_dSpeed;
        launched = true;
      } else if (stage.m_nStepInFrame == Stage.m_nStepsPerFrame) {
        // A carrier has moved for the whole frame only in its last step.
        m_bRiding = 0;
        m_dVy = instance.m_dSpeed * 1.0199999809265137;
        launched = true;
      }
      if (launched) {
        instance.m_bBegun = 1;
        if (instance.m_pCommand) PlayUserSe(instance.m_pCommand->m_nSe);
      }
    }
  }

  if (IsOnGround() && m_dVy >= 0) {
    if (!hasKeys) {
      m_nJumpHold = 0;
      m_bJumpReady = 1;
      m_bJumpLock = 0;
      m_bKnockback = 0;
      instance.m_bBegun = 0;
    } else if (!held) {
      m_nJumpHold = 0;
      m_bJumpReady = 1;
      m_bJumpLock = 0;
      m_bKnockback = 0;
      instance.m_nTimer = 0;
    }
  }
  m_bJumpThisStep = 1;
  return 0;
}
