// Finding characters, the velocities of moves and shot paths, the wave and
// the distance window of every game object.
#include <cmath>
#include <cstdlib>

#include "base/checked_convert.h"
#include "game/chara_base.h"
#include "game/flow_instance.h"
#include "game/game_object.h"
#include "game/stage_data.h"
#include "records/stage.h"
#include "records/system.h"

namespace {

// The filters of the FindChara family.
struct CHARAFILTER {
  int bById, id, bExclude, bSkipInv1, bSkipInv2, bSkipBlock, excludeId;

  bool Passes(const cCharaBase& c) const {
    if (c.m_bDefeated) return false;
    if (bById && c.m_Def.m_nCharaId != id) return false;
    if (bExclude && c.m_nId == excludeId) return false;
    if (bSkipInv1 && c.m_Def.m_bInvincible == 1) return false;
    if (bSkipInv2 && c.m_Def.m_bInvincible == 2) return false;
    if (bSkipBlock && c.m_Def.m_bBlockChara) return false;
    return true;
  }
};

int64_t Distance(const cCharaBase& c, int x, int y) {
  return std::llabs(static_cast<int64_t>(c.CentreX()) - x) + std::llabs(static_cast<int64_t>(c.CentreY()) - y);
}

// The facing a velocity asks for: 1 left, 2 right, 0 keep.
int HintOf(double vx) { return vx < 0 ? 1 : vx > 0 ? 2 : 0; }

// The auto-scroll velocity that moves take into account.
double ScrollSpeedX() { return StageData().m_ScrollX.MoveSpeed(); }
double ScrollSpeedY() { return StageData().m_ScrollY.MoveSpeed(); }

}  // namespace

cCharaBase* cGameObject::FindChara(int x, int y, const cList<cCharaBase*>& list, int mode, int bById, int id,
                                   int bExclude, int bSkipInv1, int bSkipInv2, int bSkipBlock,
                                   int excludeId) const {
  const CHARAFILTER filter{bById, id, bExclude, bSkipInv1, bSkipInv2, bSkipBlock, excludeId};
  cCharaBase* onScreen = nullptr;
  cCharaBase* offScreen = nullptr;
  int64_t bestOn = 0, bestOff = 0;
  for (cCharaBase* c : list) {
    if (!c || !c->m_bPresent || !filter.Passes(*c)) continue;
    const int64_t d = Distance(*c, x, y);
    // Mode 1 ranks everyone together; the others keep the view apart.
    const bool on = mode == FINDMODE_ALL || c->m_bOnScreen;
    cCharaBase*& best = on ? onScreen : offScreen;
    int64_t& bestD = on ? bestOn : bestOff;
    if (!best || d < bestD) {
      best = c;
      bestD = d;
    }
  }
  if (mode == FINDMODE_ON_SCREEN) return onScreen;
  return onScreen ? onScreen : offScreen;
}

cCharaBase* cGameObject::FindNearestCharaTo(int x, int y, const cList<cCharaBase*>& list) const {
  const int mode = Stage.m_bHitOnScreen ? FINDMODE_ON_SCREEN : FINDMODE_ON_SCREEN_FIRST;
  return FindChara(x, y, list, mode, 0, 0, 0, 0, 1, 0, 0);
}

cCharaBase* cGameObject::FindNearestChara(const cList<cCharaBase*>& list) const {
  return FindNearestCharaTo(CentreX(), CentreY(), list);
}

cCharaBase* cGameObject::FindFirstChara(const cList<cCharaBase*>& list, int bById, int id, int bExclude,
                                        int bSkipInv1, int bSkipInv2, int bSkipBlock, int excludeId) const {
  const CHARAFILTER filter{bById, id, bExclude, bSkipInv1, bSkipInv2, bSkipBlock, excludeId};
  for (cCharaBase* c : list)
    if (c && filter.Passes(*c)) return c;
  return nullptr;
}

void cGameObject::OffsetTarget(double& tx, double& ty, const cCommandInstance& instance) const {
  tx = CentreX();
  ty = CentreY();
  const cEdMove* move = instance.m_pCommand ? instance.m_pCommand->m_spMove.get() : nullptr;
  const bool horizontalOnly = move && move->m_bNoMoveY;
  const bool verticalOnly = move && move->m_bNoMoveX;
  if (horizontalOnly) {
    tx += instance.m_nTargetX;
  } else if (verticalOnly) {
    ty += instance.m_nTargetY;
  } else {
    tx += instance.m_nTargetX;
    ty += instance.m_nTargetY;
  }
}

int cGameObject::VelocityToward(double& vx, double& vy, int& dirHint, const cGameObject* target, double fromX,
                                double fromY, double toX, double toY, double speed, int bOwnSync, int bSigned,
                                int bStopOnArrival) const {
  const double sx = ScrollSpeedX();
  const double sy = ScrollSpeedY();
  const bool scrollInMoves = SystemData.bScrollInMoves() != 0;
  const bool targetSync = target && target->m_bScrollSync;

  if (!bSigned && speed < 0) {
    // Retreat: diagonally away from the point (a tie moves right or down).
    const double k = std::fabs(speed) * 0.7071067811865476;
    vx = fromX < toX ? -k : k;
    vy = fromY < toY ? -k : k;
    if (scrollInMoves) {
      vx += sx;
      vy += sy;
    } else if (target && (bOwnSync != 0) != targetSync) {
      vx -= sx;
      vy -= sy;
    }
    dirHint = HintOf(vx);
    return 0;
  }

  const double dx = toX - fromX;
  const double dy = toY - fromY;
  double length = std::sqrt(dx * dx + dy * dy);
  if (length == 0) length = 1;
  vx = dx / length * speed;
  vy = dy / length * speed;

  if (scrollInMoves) {
    vx += sx;
    vy += sy;
  } else if (target && !targetSync) {
    vx -= sx;
    vy -= sy;
  } else if (target && targetSync && !bOwnSync && (sx != 0 || sy != 0)) {
    // Intercept a target that moves with the view: solve on the dominant axis.
    const bool xDominant = std::fabs(dx) > std::fabs(dy);
    const double dd = xDominant ? dx : dy;
    const double dm = xDominant ? dy : dx;
    const double sd = xDominant ? sx : sy;
    const double sm = xDominant ? sy : sx;
    double& ud = xDominant ? vx : vy;
    double& um = xDominant ? vy : vx;
    if (dd == 0) return 0;
    const double v2 = vx * vx + vy * vy;
    const double a = dm * dm / (dd * dd) + 1;
    const double Y = 2 * (sd * (dm * dm) - dm * dd * sm) / (dd * dd);
    const double c = (dm * dm * (sd * sd) + dd * dd * (sm * sm) - 2 * dm * dd * sd * sm) / (dd * dd) - v2;
    const double discriminant = Y * Y - 4 * a * c;
    // A target that outruns the mover cannot be met: the direct velocity stays.
    if (discriminant >= 0) {
      double u = (Y + std::sqrt(discriminant)) / (2 * a);
      if (dd < 0) u = -u;
      ud = u;
      if (sd - u == 0) return 0;
      const double t = -dd / (sd - u);
      if (t == 0) return 0;
      um = (dm + t * sm) / t;
    }
  }

  dirHint = HintOf(vx);
  if (bStopOnArrival && std::fabs(dx) < std::fabs(speed) && std::fabs(dy) < std::fabs(speed)) return 1;
  return 0;
}

int cGameObject::VelocityTowardX(double& vx, double& vy, int& dirHint, const cGameObject* target, double fromX,
                                 double toX, double speed, int bOwnSync, int bStopOnArrival) const {
  if (fromX >= toX) {
    vx = -speed;
    dirHint = 1;
  } else {
    vx = speed;
    dirHint = 2;
  }
  if (!bOwnSync && target && target->m_bScrollSync && SystemData.bScrollInMoves()) vx += ScrollSpeedX();
  vy = 0;
  return bStopOnArrival && std::fabs(speed) > std::fabs(fromX - toX) ? 1 : 0;
}

int cGameObject::VelocityTowardY(double& vx, double& vy, int& dirHint, const cGameObject* target, double fromY,
                                 double toY, double speed, int bOwnSync, int bStopOnArrival) const {
  vy = fromY >= toY ? -speed : speed;
  dirHint = 0;
  if (!bOwnSync && target && target->m_bScrollSync && SystemData.bScrollInMoves()) vy += ScrollSpeedY();
  vx = 0;
  return bStopOnArrival && std::fabs(speed) > std::fabs(fromY - toY) ? 1 : 0;
}

int cGameObject::HomeToward(cCommandInstance& instance, const cGameObject* target, double toX, double toY,
                            int bOwnSync, int bStopOnArrival) {
  const int arrived = VelocityToward(instance.m_dVx, instance.m_dVy, instance.m_nFacingHint, target, CentreX(),
                                     CentreY(), toX, toY, instance.m_dSpeed, bOwnSync, 0, bStopOnArrival);
  if (arrived) SnapCentre(ToIntChecked(toX), ToIntChecked(toY), instance);
  return arrived;
}

int cGameObject::HomeTowardX(cCommandInstance& instance, const cGameObject* target, double toX, int bOwnSync,
                             int bStopOnArrival) {
  const int arrived = VelocityTowardX(instance.m_dVx, instance.m_dVy, instance.m_nFacingHint, target, CentreX(),
                                      toX, instance.m_dSpeed, bOwnSync, bStopOnArrival);
  if (arrived) SnapCentreX(ToIntChecked(toX), instance);
  return arrived;
}

int cGameObject::HomeTowardY(cCommandInstance& instance, const cGameObject* target, double toY, int bOwnSync,
                             int bStopOnArrival) {
  const int arrived = VelocityTowardY(instance.m_dVx, instance.m_dVy, instance.m_nFacingHint, target, CentreY(),
                                      toY, instance.m_dSpeed, bOwnSync, bStopOnArrival);
  if (arrived) SnapCentreY(ToIntChecked(toY), instance);
  return arrived;
}

double cGameObject::SpeedPerStep(double v) { return v / (60 * Stage.m_dSteps); }

namespace {

constexpr double kPi = 3.141592653589793;

void AdvancePhase(double& phase, double step) {
  const double S = Stage.m_dSteps;
  phase += step;
  if (phase >= 360 * S) phase -= 360 * S;
}

}  // namespace

double cGameObject::WaveVelocity(double amplitude, double rate, double& phase, double step, double offset) {
  const double S = Stage.m_dSteps;
  const double w = rate * kPi / 180;
  const double v = w * std::cos(w * (phase / S + offset)) * amplitude / S;
  AdvancePhase(phase, step);
  return v;
}

double cGameObject::WaveAcceleration(double amplitude, double rate, double& phase, double step, double offset) {
  const double S = Stage.m_dSteps;
  const double w = rate * kPi / 180;
  const double a = -w * std::sin(w * (phase / S + offset)) * (w / S) * amplitude / S;
  AdvancePhase(phase, step);
  return a;
}

int cGameObject::CheckAxisWindow(int pos, int size, int otherStart, int otherEnd, int inset, int back, int front,
                                 int bCentred, int bVertical, const cGameObject& other) {
  const int64_t half = size >> 1;
  const int64_t c = static_cast<int64_t>(pos) + half;
  int64_t lo, hi;
  if (bCentred && back == 0 && front == 0) {
    lo = c - half;
    hi = c + half;
  } else {
    lo = (back != 0 ? c - half : c) - back;
    hi = (front != 0 ? c + half : c) + front;
  }
  int64_t firstLimit = static_cast<int64_t>(otherEnd) - inset;
  // Against the top of an object whose hit box is as tall as its graphic the
  // inset is left out, unless the project switches that exception off.
  if (!SystemData.bWindowInsetAlways() && bVertical &&
      static_cast<int64_t>(ToIntChecked(other.m_rcHit.dBottom - other.m_rcHit.dTop)) + inset + 1 >=
          other.m_nGfxHeight)
    firstLimit = otherEnd;
  return lo <= firstLimit && static_cast<int64_t>(otherStart) + inset <= hi ? 1 : 0;
}
