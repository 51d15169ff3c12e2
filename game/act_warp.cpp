// The warp: the character jumps to another place at once, by direction and
// distance, next to its target, or to a point; a place it cannot stand on
// keeps it where it was.
#include <cmath>
#include <cstdint>

#include "game/action_commands.h"
#include "game/chara_base.h"
#include "game/display_commands.h"
#include "game/flow_instance.h"
#include "game/stage_data.h"
#include "records/command_vocab.h"

namespace {

// The move record's methods and bases of a warp.
constexpr int kByDistance = 0;
constexpr int kFromTarget = 1;
constexpr int kToPoint = 2;
constexpr int kRelative = 0;
constexpr int kMapCell = 1;
constexpr int kViewPoint = 2;

// The shift of g dots along an absolute direction code; a diagonal moves
// g / √2 on both axes. False for a code without a direction.
bool ShiftOf(int code, double g, double& dx, double& dy) {
  const double d = g / std::sqrt(2.0);
  dx = dy = 0;
  switch (code) {
    case DIRCODE_LEFT: dx = -g; break;
    case DIRCODE_RIGHT: dx = g; break;
    case DIRCODE_UP: dy = -g; break;
    case DIRCODE_DOWN: dy = g; break;
    case DIRCODE_UP_LEFT: dx = -d; dy = -d; break;
    case DIRCODE_DOWN_LEFT: dx = -d; dy = d; break;
    case DIRCODE_UP_RIGHT: dx = d; dy = -d; break;
    case DIRCODE_DOWN_RIGHT: dx = d; dy = d; break;
    default: return false;
  }
  return true;
}

// The centre of an object's graphic in stage dots.
double CentreX(const cGameObject& o) { return o.m_rcHit.dLeft - o.m_nOffsetX + (o.m_nGfxWidth >> 1); }
double CentreY(const cGameObject& o) { return o.m_rcHit.dTop - o.m_nOffsetY + (o.m_nGfxHeight >> 1); }

void MoveX(cCharaBase& c, double dx) {
  c.m_rcHit.dLeft += dx;
  c.ConfineX();
}

void MoveY(cCharaBase& c, double dy) {
  c.m_rcHit.dTop += dy;
  c.ConfineY();
}

// Moves the character as the move record says; false when nothing moved: an
// unnamed method or basis, no direction to go, or no target to go to.
bool Warp(cCharaBase& chara, const cEdMove& move) {
  const double g = static_cast<double>((int64_t{move.m_nDistanceStep} * chara.m_sCloneNo + move.m_nDistance) * 16);
  double dx = 0, dy = 0;
  switch (move.m_nSpec) {
    case kByDistance:
      if (!ShiftOf(chara.ResolveDirection(move.m_nDirCode, 1, 1), g, dx, dy)) return false;
      if (dx != 0) MoveX(chara, dx);
      if (dy != 0) MoveY(chara, dy);
      return true;
    case kFromTarget: {
      const cCharaBase* target = chara.Target();
      if (!target) return false;
      ShiftOf(target->ResolveDirection(move.m_nDirCode, 1, 1), g, dx, dy);
      MoveX(chara, CentreX(*target) + dx - CentreX(chara));
      MoveY(chara, CentreY(*target) + dy - CentreY(chara));
      return true;
    }
    case kToPoint: {
      int64_t ox = int64_t{move.m_nTargetX} * 32 + move.m_nTargetDotX;
      int64_t oy = int64_t{move.m_nTargetY} * 32 + move.m_nTargetDotY;
      if (chara.m_nDirection == 1) {
        if (move.m_bMirrorTargetX) ox = -ox;
        if (move.m_bMirrorTargetY) oy = -oy;
      }
      const cSceneStageData& stage = StageData();
      switch (move.m_nCoordBase) {
        case kRelative:
          MoveX(chara, static_cast<double>(ox));
          MoveY(chara, static_cast<double>(oy));
          return true;
        case kMapCell:
          chara.SetCellX(move.m_nTargetX);
          chara.SetCellY(move.m_nTargetY);
          MoveX(chara, move.m_nTargetDotX);
          MoveY(chara, move.m_nTargetDotY);
          return true;
        case kViewPoint:
          chara.m_rcHit.dLeft = chara.m_nOffsetX + stage.m_ScrollX.m_dPos + static_cast<double>(ox);
          chara.ConfineX();
          chara.m_rcHit.dTop = chara.m_nOffsetY + stage.m_ScrollY.m_dPos + static_cast<double>(oy);
          chara.ConfineY();
          return true;
        default:
          return false;
      }
    }
    default:
      return false;
  }
}

}  // namespace

void CmdWarp(cCharaBase& chara, cEdCommand& command) {
  const cEdMove* move = command.m_spMove.get();
  if (!move) return;
  const DRECT saved = chara.m_rcHit;
  if (!Warp(chara, *move)) return;
  chara.cGameObject::UpdateScreenRect();
  if (!chara.IsInsideArea(0) || StageData().IsBlockedAt(chara)) {
    chara.m_rcHit = saved;
    chara.ConfineX();
    chara.ConfineY();
    chara.cGameObject::UpdateScreenRect();
    return;
  }
  if (!chara.m_bNoGravity) chara.m_dVy = 0;
  if (move->m_nSpec == kToPoint && move->m_nCoordBase == kViewPoint) {
    chara.m_nAnchorX = chara.m_rcScreen.nLeft;
    chara.m_nAnchorY = chara.m_rcScreen.nTop;
    chara.m_bAnchorX = 1;
    chara.m_bAnchorY = 1;
  }
}

int ActWarp(cCharaBase& chara, cCommandInstance& instance) {
  if (instance.m_pCommand) CmdWarp(chara, *instance.m_pCommand);
  return 0;
}
