// What the move commands share on a character: the move record's angle and
// target offset, absolute directions, the velocity by direction, by angle
// and toward a target point, the ground turn-back test, homing, coming back
// into view, and handing a velocity to the character's step.
#include <cmath>
#include <cstdint>

#include "base/checked_convert.h"
#include "game/chara_base.h"
#include "game/characters.h"
#include "game/flow_instance.h"
#include "game/key_conditions.h"
#include "game/map_cells.h"
#include "game/move_math.h"
#include "game/stage_data.h"
#include "media/input.h"
#include "records/command_vocab.h"

namespace {

// Below this a horizontal velocity asks for no facing.
constexpr double kHintLimit = 1e-8;

int FacesRight(const cGameObject& o) { return o.m_nDirection == 1; }

// Mirrored moves turn when the character was placed facing right.
int PlacedFacingRight(const cCharaBase& c) { return c.m_Def.m_nDirection == 1; }

// Front, back and their vertical forms by the facing; other codes unchanged.
int ResolveByFacing(int code, int right) {
  switch (code) {
    case DIRCODE_FRONT: return right ? DIRCODE_RIGHT : DIRCODE_LEFT;
    case DIRCODE_BACK: return right ? DIRCODE_LEFT : DIRCODE_RIGHT;
    case DIRCODE_FRONT_Y: return right ? DIRCODE_DOWN : DIRCODE_UP;
    case DIRCODE_BACK_Y: return right ? DIRCODE_UP : DIRCODE_DOWN;
    default: return code;
  }
}

// The facing an absolute code asks for: 1 left, 2 right, 0 keep.
int HintOfCode(int code) {
  switch (code) {
    case DIRCODE_LEFT:
    case DIRCODE_UP_LEFT:
    case DIRCODE_DOWN_LEFT: return 1;
    case DIRCODE_RIGHT:
    case DIRCODE_UP_RIGHT:
    case DIRCODE_DOWN_RIGHT: return 2;
    default: return 0;
  }
}

// The angle of an absolute code (0 left, 90 up, 180 right, 270 down).
int AngleOfCode(int code) {
  switch (code) {
    case DIRCODE_RIGHT: return 180;
    case DIRCODE_UP: return 90;
    case DIRCODE_DOWN: return 270;
    case DIRCODE_UP_LEFT: return 45;
    case DIRCODE_DOWN_LEFT: return 315;
    case DIRCODE_UP_RIGHT: return 135;
    case DIRCODE_DOWN_RIGHT: return 225;
    default: return 0;
  }
}

// One axis of an inertia move: the velocity becomes an acceleration of
// v / (60 × S) per step, scaled by the reverse factor against the motion.
void AddInertia(double& inertia, int32_t& friction, double v, double factor, double max) {
  double increment = cGameObject::SpeedPerStep(v);
  if ((inertia < 0 && v > 0) || (inertia > 0 && v < 0))
    increment *= factor;
  else
    friction = 0;
  inertia += increment;
  if (inertia < -max)
    inertia = -max;
  else if (inertia > max)
    inertia = max;
}

cChara* FindCarrier(int id) {
  for (cChara& c : CharaList)
    if (c.m_nId == id && !c.m_bGone) return &c;
  return nullptr;
}

}  // namespace

void cCharaBase::GetMoveAngle(cCommandInstance& instance) const {
  const cEdMove* move = instance.Move();
  if (!move) {
    instance.m_nAngle = 0;
    return;
  }
  int64_t a = static_cast<int64_t>(move->m_nAngleStep) * m_sCloneNo + move->m_nAngle;
  if (move->m_bAngleMirror && PlacedFacingRight(*this)) a = 360 - a;
  // As taking 360 off while it is 360 or more; a negative angle stays.
  if (a >= 360) a %= 360;
  instance.m_nAngle = SaturateToInt(a);
}

void cCharaBase::GetMoveTargetOffset(cCommandInstance& instance) const {
  const cEdMove* move = instance.Move();
  if (!move) {
    instance.m_nTargetX = instance.m_nTargetY = 0;
    return;
  }
  int64_t x = static_cast<int64_t>(move->m_nTargetX) * 32 + move->m_nTargetDotX;
  int64_t y = static_cast<int64_t>(move->m_nTargetY) * 32 + move->m_nTargetDotY;
  if (PlacedFacingRight(*this)) {
    if (move->m_bMirrorTargetX) x = -x;
    if (move->m_bMirrorTargetY) y = -y;
  }
  instance.m_nTargetX = SaturateToInt(x);
  instance.m_nTargetY = SaturateToInt(y);
}

int cCharaBase::ResolveDirection(int code, int bReadNow, int bFlying) const {
  const int right = FacesRight(*this);
  if (code != DIRCODE_INPUT) return ResolveByFacing(code, right);
  int index = 0;
  if (bReadNow) {
    index = GetHeldDirection(Input.At(0));
  } else if (const cFlowInstance* flow = StageData().m_lpCurFlow) {
    index = flow->m_nHeldDir;
  }
  const int resolved = ToDirectionCode(index, right);
  if (bFlying) return resolved;
  // A walker takes the input's diagonals as left or right.
  if (resolved == DIRCODE_UP_LEFT || resolved == DIRCODE_DOWN_LEFT) return DIRCODE_LEFT;
  if (resolved == DIRCODE_UP_RIGHT || resolved == DIRCODE_DOWN_RIGHT) return DIRCODE_RIGHT;
  return resolved;
}

void cCharaBase::GetDirectionVelocity(double v, int code, double& vx, double& vy, int& hint) const {
  const int flying = m_bNoGravity != 0;
  const int c = ResolveDirection(code, 0, flying);
  vx = 0;
  vy = 0;
  hint = 0;
  switch (c) {
    case DIRCODE_LEFT: vx = -v; break;
    case DIRCODE_RIGHT: vx = v; break;
    case DIRCODE_UP: vy = -v; break;
    case DIRCODE_DOWN: vy = v; break;
    case DIRCODE_UP_LEFT: vx = -v * DIAGONAL_K; vy = -v * DIAGONAL_K; break;
    case DIRCODE_DOWN_LEFT: vx = -v * DIAGONAL_K; vy = v * DIAGONAL_K; break;
    case DIRCODE_UP_RIGHT: vx = v * DIAGONAL_K; vy = -v * DIAGONAL_K; break;
    case DIRCODE_DOWN_RIGHT: vx = v * DIAGONAL_K; vy = v * DIAGONAL_K; break;
    default: return;
  }
  if (!flying) vy = 0;
  if (!m_Def.m_bFixDirection) hint = HintOfCode(c);
}

void cCharaBase::GetAngleVelocity(double v, int code, int e, double& vx, double& vy, int& hint) const {
  const int flying = m_bNoGravity != 0;
  const int c = ResolveDirection(code, 0, flying);
  hint = m_Def.m_bFixDirection ? 0 : HintOfCode(c);
  const double a = DegToRad(static_cast<double>(static_cast<int64_t>(AngleOfCode(c)) + e));
  vx = -std::cos(a) * v;
  vy = flying ? -std::sin(a) * v : 0;
}

void cCharaBase::GetTargetVelocity(cCommandInstance& instance, double v, int tx, int ty) const {
  instance.m_dVx = 0;
  instance.m_dVy = 0;
  instance.m_nFacingHint = 0;
  const cEdMove* move = instance.Move();
  if (!move) return;
  const cSceneStageData& stage = StageData();
  const double sx = stage.m_ScrollX.m_dPos;
  const double sy = stage.m_ScrollY.m_dPos;
  // The centre of the graphic in stage dots.
  const double refX = static_cast<double>(static_cast<int64_t>(m_rcScreen.nLeft) + m_nGfxWidth / 2) + sx;
  const double refY = static_cast<double>(static_cast<int64_t>(m_rcScreen.nTop) + m_nGfxHeight / 2) + sy;
  double dx, dy;
  switch (move->m_nCoordBase) {
    case 0:  // from where the character was placed
      dx = m_dStartX + tx - refX;
      dy = m_dStartY + ty - refY;
      break;
    case 1:  // the offset is the distance
      dx = tx;
      dy = ty;
      break;
    case 2:  // the centre of a map cell
      dx = static_cast<double>(static_cast<int64_t>(stage.m_ScrollX.m_nOrigin) + tx + 16) - refX;
      dy = static_cast<double>(static_cast<int64_t>(stage.m_ScrollY.m_nOrigin) + ty + 16) - refY;
      break;
    case 3:  // a point of the view
      dx = static_cast<double>(static_cast<int64_t>(tx) + 16) + sx - refX;
      dy = static_cast<double>(static_cast<int64_t>(ty) + 16) + sy - refY;
      break;
    default:  // no such basis: no point to go to
      return;
  }
  if (!move->m_bUseTargetX) dx = 0;
  if (!move->m_bUseTargetY) dy = 0;
  const double d = std::sqrt(dx * dx + dy * dy);
  double vx = 0, vy = 0;
  if (d != 0) {
    if (!move->m_bNoMoveX) vx = dx / d * v;
    if (!move->m_bNoMoveY) vy = dy / d * v;
  }
  int hint = 0;
  if (!m_Def.m_bFixDirection) hint = vx < -kHintLimit ? 1 : vx > kHintLimit ? 2 : 0;
  if (move->m_bTimeToTarget && v != 0) {
    instance.m_nTimer = ToIntChecked(std::fabs(d) / std::fabs(v));
    if (instance.m_nTimer <= 0 && move->m_bStopAtTarget) {
      // Already there: the axes that go to the point stop.
      if (move->m_bUseTargetX && !move->m_bNoMoveX) {
        vx = 0;
        hint = 0;
      }
      if (move->m_bUseTargetY && !move->m_bNoMoveY) vy = 0;
    }
  }
  instance.m_dVx = vx;
  instance.m_dVy = vy;
  instance.m_nFacingHint = hint;
}

void cCharaBase::ApplyMove(double vx, double vy, int hint, const cCommandInstance& instance, int bForceFacing) {
  const cEdMove* move = instance.Move();
  const int keepFacing = move && move->m_bKeepFacing;
  if (!keepFacing && (!m_Def.m_bFixDirection || bForceFacing)) {
    if (hint == 1)
      m_nDirection = 0;
    else if (hint == 2)
      m_nDirection = 1;
  }
  if (move && move->m_bInertia) {
    // A factor that is no finite number would leave speeds that are none.
    const double factor = std::isfinite(move->m_dInertiaFactor) ? move->m_dInertiaFactor : 1.0;
    AddInertia(m_dInertiaX, m_bFrictionX, vx, factor, instance.m_dMaxSpeed);
    AddInertia(m_dInertiaY, m_bFrictionY, vy, factor, instance.m_dMaxSpeed);
  } else {
    m_dVx += vx;
    m_dVy += vy;
  }
  if (move && move->m_bKeepAnime) return;
  m_bMoved = 1;
  m_Anime.ChangePattern(m_bNoGravity ? 3 : 1, 1);
}

void cCharaBase::CheckTurnBack(cCommandInstance& instance) {
  const int right = FacesRight(*this);
  instance.m_dVy = 0;
  instance.m_nFacingHint = 0;
  instance.m_dVx = (right ? 1 : -1) * instance.m_dSpeed;
  if (m_bTurnPending) {
    // Left a carrier: turn round, with the way the carrier moved since.
    instance.m_nFacingHint = right ? 1 : 2;
    instance.m_dVx = -instance.m_dVx;
    if (const cChara* carrier = FindCarrier(m_nCarrierId)) {
      const double m = carrier->m_rcHit.dLeft - m_rcCarrier.dLeft;
      instance.m_dVx += m;
      if ((right && m < 0) || (!right && m > 0)) instance.m_dVx += m;
    }
    m_bTurnPending = 0;
    return;
  }
  // The cells under the two feet: a ledge under one of them turns it.
  int row = ToIntChecked((m_rcHit.dBottom + 1.1) / 32);
  const int lastRow = StageData().m_ScrollY.m_nCells - 1;
  if (row > lastRow) row = lastRow;
  const int left = GetHitAttr(CellAt(ToIntChecked(m_rcHit.dLeft) >> 5, row), m_nGroup) != 0;
  const int rightFoot = GetHitAttr(CellAt(ToIntChecked(m_rcHit.dRight) >> 5, row), m_nGroup) != 0;
  if (left && !rightFoot)
    instance.m_nFacingHint = 1;
  else if (rightFoot && !left)
    instance.m_nFacingHint = 2;
}

int cCharaBase::GetHomingVelocity(cCommandInstance& instance, const cGameObject* target, double x, double y) {
  const cEdMove* move = instance.Move();
  const int stop = move && move->m_bStopAtTarget;
  if (move && move->m_bNoMoveY) return HomeTowardX(instance, target, x, m_bScrollSync, stop);
  if (move && move->m_bNoMoveX) return HomeTowardY(instance, target, y, m_bScrollSync, stop);
  return HomeToward(instance, target, x, y, m_bScrollSync, stop);
}

void cCharaBase::GetAvoidOffscreenVelocity(const cCommandInstance& instance, double& vx, double& vy) const {
  vx = 0;
  vy = 0;
  const int code = ResolveByFacing(instance.m_nDirCode, FacesRight(*this));
  const bool left = code == DIRCODE_LEFT || code == DIRCODE_UP_LEFT || code == DIRCODE_DOWN_LEFT;
  const bool right = code == DIRCODE_RIGHT || code == DIRCODE_UP_RIGHT || code == DIRCODE_DOWN_RIGHT;
  const bool up = code == DIRCODE_UP || code == DIRCODE_UP_LEFT || code == DIRCODE_UP_RIGHT;
  const bool down = code == DIRCODE_DOWN || code == DIRCODE_DOWN_LEFT || code == DIRCODE_DOWN_RIGHT;
  const double v = instance.m_dSpeed;
  const IRECT& rc = m_rcScreen;
  const cSceneStageData& stage = StageData();
  const cScrollAxis& ax = stage.m_ScrollX;
  const cScrollAxis& ay = stage.m_ScrollY;
  const double c = ax.m_dAutoSpeed;
  if (c != 0 && !ax.m_bAtLimit) {
    // The view moves: come back relative to it while it can still move
    // that way (its position inside the scroll range).
    const double sx = ax.m_dPos;
    const double lowX = ax.m_nMin;
    const double highX = static_cast<double>(ax.m_nMax) - 640;
    if (left && rc.nLeft > 608 - std::fabs(c + 1) && sx > lowX && sx + c <= highX) vx = c - v;
    if (right && rc.nRight < std::fabs(c + 1) + 32 && sx + c > lowX && sx < highX) vx = c + v;
    const double e = ay.m_dAutoSpeed;
    const double sy = ay.m_dPos;
    const double lowY = ay.m_nMin;
    const double highY = static_cast<double>(ay.m_nMax) - 480;
    if (up && rc.nTop > 448 - std::fabs(e + 1) && sy > lowY && sy + e <= highY) vy = e - v;
    if (down && rc.nBottom < std::fabs(e + 1) + 32 && sy + e > lowY && sy < highY) vy = e + v;
  } else {
    if (left && rc.nLeft > 608) vx = -v;
    if (right && rc.nRight < 32) vx = v;
    if (up && rc.nTop > 448) vy = -v;
    if (down && rc.nBottom < 32) vy = v;
  }
  if (!m_bNoGravity) vy = 0;
}
