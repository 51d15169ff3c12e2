// The movement commands (types 2 to 10) and the set-ups that BuildFlows
// gives the timed moves, the circle, the homing move and the jump. A move
// does not move the character itself: each step it hands a velocity to
// cCharaBase::ApplyMove, and the character's own step moves it.
#include <cmath>
#include <cstdint>

#include "base/checked_convert.h"
#include "base/window_messages.h"
#include "game/action_commands.h"
#include "game/chara_base.h"
#include "game/flow_instance.h"
#include "game/move_math.h"
#include "records/anime_step.h"
#include "records/stage.h"

namespace {


// growth × n + base, in 64 bits.
int64_t Grown(int16_t base, int16_t growth, int16_t n) { return static_cast<int64_t>(growth) * n + base; }

// Every move leaves a screen anchor that a warp set.
void ClearAnchors(cCharaBase& chara) {
  chara.m_bAnchorX = 0;
  chara.m_bAnchorY = 0;
}

int Flying(const cCharaBase& chara) { return chara.m_bNoGravity != 0; }

void CountStep(cCommandInstance& instance) {
  if (instance.m_nCount < INT32_MAX) ++instance.m_nCount;
}

// The circle's sense of rotation mirrored: 0 and 1 swap, the
// facing-dependent 2 and 3 stay.
int32_t ToggleSense(int32_t sense) { return sense == 0 ? 1 : sense == 1 ? 0 : sense; }

void ApplyInstanceMove(cCharaBase& chara, cCommandInstance& instance, int bForceFacing) {
  chara.ApplyMove(instance.m_dVx, instance.m_dVy, instance.m_nFacingHint, instance, bForceFacing);
}

// The first step of a straight move: its velocity by direction, by angle or
// toward its target point.
void AimStraight(cCharaBase& chara, cCommandInstance& instance, const cEdMove& move) {
  chara.GetMoveAngle(instance);
  if (move.m_nSpec == 1) {
    chara.GetMoveTargetOffset(instance);
    chara.GetTargetVelocity(instance, instance.m_dSpeed, instance.m_nTargetX, instance.m_nTargetY);
  } else if (instance.m_nAngle != 0) {
    chara.GetAngleVelocity(instance.m_dSpeed, instance.m_nDirCode, instance.m_nAngle, instance.m_dVx,
                           instance.m_dVy, instance.m_nFacingHint);
  } else {
    chara.GetDirectionVelocity(instance.m_dSpeed, instance.m_nDirCode, instance.m_dVx, instance.m_dVy,
                               instance.m_nFacingHint);
  }
}

// The charge's one aim at its target, turned by the move's angle.
void AimCharge(cCharaBase& chara, cCommandInstance& instance, const cEdMove& move, const cCharaBase& target) {
  const int flying = Flying(chara);
  if (flying) {
    double tx, ty;
    target.OffsetTarget(tx, ty, instance);
    chara.GetHomingVelocity(instance, &target, tx, ty);
  } else if (move.m_bNoMoveX) {
    instance.m_dVx = 0;
    instance.m_dVy = 0;
  } else {
    chara.VelocityTowardX(instance.m_dVx, instance.m_dVy, instance.m_nFacingHint, &target, chara.CentreX(),
                          static_cast<double>(static_cast<int64_t>(target.CentreX()) + instance.m_nTargetX),
                          instance.m_dSpeed, chara.m_bScrollSync, 0);
  }
  // No way to go has no direction to turn.
  if (instance.m_nAngle == 0 || (instance.m_dVx == 0 && instance.m_dVy == 0)) return;
  const int64_t aimed = ToIntChecked(RadToDeg(std::atan2(instance.m_dVy, instance.m_dVx)) + 180);
  const double a = DegToRad(static_cast<double>(aimed + instance.m_nAngle));
  instance.m_dVx = -std::cos(a) * instance.m_dSpeed;
  if (flying) instance.m_dVy = -std::sin(a) * instance.m_dSpeed;
}

// The homing move's aim at (x, y): on the axes the move allows for a
// flier, horizontally for a walker.
void AimHoming(cCharaBase& chara, cCommandInstance& instance, const cEdMove& move, const cCharaBase& target,
               const TRAILPOINT& p) {
  if (Flying(chara))
    chara.GetHomingVelocity(instance, &target, p.dX, p.dY);
  else
    chara.HomeTowardX(instance, &target, p.dX, chara.m_bScrollSync, move.m_bStopAtTarget);
}

}  // namespace

void cCommandInstance::ResolveMoveTiming(const cEdCommand& command, int16_t n) {
  const cEdMove* move = command.m_spMove.get();
  if (!move) return;
  int64_t distance = Grown(move->m_nDistance, move->m_nDistanceStep, n);
  if (move->m_nDistanceUnit != 1) distance *= 16;
  const double d = SaturateToInt(distance);
  if (move->m_nTiming == 1) {
    // No time to cover the distance in: no movement.
    m_dSpeed = m_nDuration != 0 ? d / m_nDuration : 0;
  } else if (move->m_nTiming == 2) {
    // No speed: the command takes one step.
    m_nDuration = m_dSpeed != 0 ? ToIntChecked(std::fabs(d / m_dSpeed)) : 0;
  }
}

void SetupMoveTiming(cCharaBase& chara, cCommandInstance& instance) {
  const cEdMove* move = instance.Move();
  if (move && move->m_nTiming != 0) instance.ResolveMoveTiming(*instance.m_pCommand, chara.m_sCloneNo);
}

void SetupHomingMove(cCharaBase& chara, cCommandInstance& instance) {
  const cEdMove* move = instance.Move();
  if (!move) return;
  instance.m_nParam =
      SaturateToInt(Grown(move->m_nHomingLag, move->m_nHomingLagStep, chara.m_sCloneNo) * Stage.StepsPerFrame());
  SetupMoveTiming(chara, instance);
}

void SetupCircleMove(cCharaBase& chara, cCommandInstance& instance) {
  const cEdMove* move = instance.Move();
  if (!move) return;
  const int s = Stage.StepsPerFrame();
  const int16_t n = chara.m_sCloneNo;
  int64_t added = 0;
  if (chara.m_Def.m_nDirection == 1) {
    if (move->m_bMirrorTargetX) {
      instance.m_nDirCode = ToggleSense(instance.m_nDirCode);
      added = 180;
    }
    if (move->m_bMirrorTargetY) instance.m_nDirCode = ToggleSense(instance.m_nDirCode);
  }
  int64_t radius = Grown(move->m_nHomingLag, move->m_nHomingLagStep, n);
  if (radius < 0) radius = 0;
  if (radius > 20) radius = 20;
  instance.m_nParam = SaturateToInt(radius * 16 * s);
  instance.m_nStartAngle = SaturateToInt((added + Grown(move->m_nAngle, move->m_nAngleStep, n)) * s);
  instance.m_nEndAngle = SaturateToInt((added + Grown(move->m_nDistance, move->m_nDistanceStep, n)) * s);
  const int64_t swept = move->m_nDistance > move->m_nAngle
                            ? static_cast<int64_t>(instance.m_nEndAngle) - instance.m_nStartAngle
                            : static_cast<int64_t>(instance.m_nStartAngle) - instance.m_nEndAngle;
  const double w = static_cast<double>(swept);
  if (move->m_nTiming == 0) {
    instance.m_dSpeed = instance.m_nDuration != 0 ? w / instance.m_nDuration / s : 0;
  } else if (move->m_nTiming == 1) {
    instance.m_nDuration = instance.m_dSpeed != 0 ? ToIntChecked(std::fabs(w / instance.m_dSpeed / s)) : 0;
  }
}

void SetupJump(cCharaBase& chara, cCommandInstance& instance) {
  if (!instance.m_pCommand) return;
  int32_t height = instance.Param(2);
  if (height < INT8_MIN) height = INT8_MIN;
  if (height > INT8_MAX) height = INT8_MAX;
  const int8_t h = static_cast<int8_t>(height);
  instance.m_dSpeed = chara.JumpSpeedForHeight(h);
  int32_t tenths = chara.JumpTimeForHeight(h);
  if (tenths > INT16_MAX) tenths = INT16_MAX;
  // The command lasts until the apex.
  instance.m_pCommand->m_nUseTime = static_cast<int16_t>(tenths);
  instance.m_nDuration = SaturatedTicks(tenths, static_cast<int64_t>(Stage.StepsPerFrame()) * TICKS_PER_TENTH);
}

int ActMoveStraight(cCharaBase& chara, cCommandInstance& instance) {
  const cEdMove* move = instance.Move();
  if (!move) return 0;
  ClearAnchors(chara);
  if (!instance.m_bBegun) {
    instance.m_bBegun = 1;
    AimStraight(chara, instance, *move);
  } else if (move->m_bReverseOnTurn && chara.m_Def.m_bFixDirection && chara.m_nDirection != instance.m_nLastFacing) {
    // Turned by something else (a wall, a turn command): go back.
    instance.m_dVx = -instance.m_dVx;
    instance.m_dVy = -instance.m_dVy;
  }
  if (!Flying(chara)) instance.m_dVy = 0;
  ApplyInstanceMove(chara, instance, 0);
  instance.m_nLastFacing = chara.m_nDirection;
  return 0;
}

int ActMoveGroundTurn(cCharaBase& chara, cCommandInstance& instance) {
  if (!instance.Move() || Flying(chara)) return 0;
  ClearAnchors(chara);
  if (chara.m_dKnockX != 0 || chara.m_dKnockY != 0) {
    instance.m_dVx = (chara.m_nDirection == 1 ? 1 : -1) * instance.m_dSpeed;
    instance.m_dVy = 0;
    instance.m_nFacingHint = 0;
  } else {
    chara.CheckTurnBack(instance);
  }
  ApplyInstanceMove(chara, instance, 1);
  return 0;
}

int ActMoveCircle(cCharaBase& chara, cCommandInstance& instance) {
  const cEdMove* move = instance.Move();
  if (!move || instance.m_nParam == 0) return 0;
  ClearAnchors(chara);
  if (!instance.m_bBegun) {
    instance.m_bBegun = 1;
    instance.m_dPhaseX = instance.m_nStartAngle;
    instance.m_dPhaseY = instance.m_nStartAngle;
  }
  const int right = chara.m_nDirection == 1;
  int sense = instance.m_nDirCode;
  if (sense == 2)
    sense = right ? 1 : 0;
  else if (sense == 3)
    sense = right ? 0 : 1;
  const double q = Stage.StepsPerFrame() * instance.m_dSpeed;
  const double radius = instance.m_nParam;
  instance.m_dVx = 0;
  instance.m_dVy = 0;
  if (!move->m_bNoMoveX)
    instance.m_dVx = -cGameObject::WaveVelocity(radius, 1, instance.m_dPhaseX, q, 0) * instance.m_dSpeed;
  if (Flying(chara) && !move->m_bNoMoveY)
    instance.m_dVy =
        -cGameObject::WaveVelocity(radius, 1, instance.m_dPhaseY, q, sense == 1 ? 90 : 270) * instance.m_dSpeed;
  chara.ApplyMove(instance.m_dVx, instance.m_dVy, 0, instance, 0);
  return 0;
}

int ActMoveCharge(cCharaBase& chara, cCommandInstance& instance) {
  const cEdMove* move = instance.Move();
  if (!move) return 0;
  ClearAnchors(chara);
  const int first = !instance.m_bBegun;
  if (first) {
    instance.m_bBegun = 1;
    chara.GetMoveAngle(instance);
    chara.GetMoveTargetOffset(instance);
  }
  const cCharaBase* target = chara.Target();
  if (!target) {
    instance.m_dVx = 0;
    instance.m_dVy = 0;
    return 0;
  }
  if (target->m_bDefeated) return 0;
  if (first) AimCharge(chara, instance, *move, *target);
  if (!Flying(chara)) instance.m_dVy = 0;
  ApplyInstanceMove(chara, instance, 0);
  return 0;
}

int ActMoveHoming(cCharaBase& chara, cCommandInstance& instance) {
  const cEdMove* move = instance.Move();
  const cCharaBase* target = chara.Target();
  if (!move || !target || target->m_bDefeated) return 0;
  if (!instance.m_bBegun) {
    instance.m_bBegun = 1;
    chara.GetMoveTargetOffset(instance);
  }
  ClearAnchors(chara);
  const int flying = Flying(chara);
  if (!flying && move->m_bNoMoveX) return 0;
  TRAILPOINT now;
  if (flying)
    target->OffsetTarget(now.dX, now.dY, instance);
  else
    now.dX = static_cast<double>(static_cast<int64_t>(target->CentreX()) + instance.m_nTargetX);
  const int n = instance.m_nParam;
  cList<TRAILPOINT>& trail = instance.m_lTrail;
  if (n <= 0) {
    AimHoming(chara, instance, *move, *target, now);
  } else if (instance.m_nCount == 0) {
    trail.clear();
    trail.push_back(now);
    AimHoming(chara, instance, *move, *target, now);
  } else if (instance.m_nCount % n == 0) {
    // Where the target was n steps ago.
    const TRAILPOINT oldest = trail.empty() ? now : trail.front();
    AimHoming(chara, instance, *move, *target, oldest);
    trail.push_back(now);
    if (trail.size() > 1) trail.pop_front();
  }
  ApplyInstanceMove(chara, instance, 0);
  CountStep(instance);
  return 0;
}

int ActMoveAvoidOffscreen(cCharaBase& chara, cCommandInstance& instance) {
  if (!instance.Move()) return 0;
  ClearAnchors(chara);
  chara.GetAvoidOffscreenVelocity(instance, instance.m_dVx, instance.m_dVy);
  chara.ApplyMove(instance.m_dVx, instance.m_dVy, 0, instance, 0);
  CountStep(instance);
  return 0;
}

int ActDisableMove(cCharaBase& chara, cCommandInstance&) {
  chara.m_dVx = 0;
  chara.m_dVy = 0;
  chara.m_dInertiaX = 0;
  chara.m_dInertiaY = 0;
  chara.m_dKnockX = 0;
  chara.m_dKnockY = 0;
  ClearAnchors(chara);
  chara.m_bMoveDisabled = 1;  // also no gravity in this step
  return 0;
}

int ActTurn(cCharaBase& chara, cCommandInstance& instance) {
  if (!chara.m_Def.m_bFixDirection) return 0;
  if (instance.m_nCount == 0) {
    const int32_t how = instance.Param(0);
    if (how == 2 || how == 3) {
      const cCharaBase* target = chara.Target();
      // Tried again on the next step, uncounted and without its sound.
      if (!target) return 0;
      PlayUserSe(instance.m_pCommand->m_nSe);
      const int targetRight = target->CentreX() > chara.CentreX();
      chara.m_nDirection = (how == 2 ? targetRight : !targetRight) ? 1 : 0;
    } else {
      PlayUserSe(instance.m_pCommand->m_nSe);
      const int wall = chara.m_nWallTurn;
      if (how == 0 || how == 1)
        chara.m_nDirection = how;
      else if (how == 4 && (wall == 0 || wall == 1))
        chara.m_nDirection = wall;
      else if (how == 5 && (wall == 0 || wall == 1))
        chara.m_nDirection = 1 - wall;
    }
  }
  // Again every tenth of a second while the command runs.
  CountStep(instance);
  if (instance.m_nCount >= 6 * Stage.StepsPerFrame()) instance.m_nCount = 0;
  return 0;
}

int ActJump(cCharaBase& chara, cCommandInstance& instance) {
  ClearAnchors(chara);
  chara.Jump(instance);
  CountStep(instance);
  return 0;
}
