// Set-up, scale, clamps, steps and the area tests of every game object.
#include "game/game_object.h"

#include "base/checked_convert.h"
#include "game/map_cells.h"
#include "game/stage_data.h"
#include "records/stage.h"

namespace {

int32_t ObjectScaled(int scale, int32_t base) { return SaturateToInt(static_cast<int64_t>(scale) * base); }

}  // namespace

void cGameObject::CopyFrom(const cGameObject& other) {
  if (this != &other) cGameObject::operator=(other);
}

void cGameObject::SetUp(int id, int controller, int player, int group, int graphic,
                        const int32_t* const* patterns, int anime, int offX, int offY, int hitW, int hitH, int gfxW,
                        int gfxH, int direction, int flyMode, int16_t cloneNo) {
  m_nId = id;
  m_nController = controller;
  m_nPlayer = player;
  m_nGroup = group;
  m_nGraphic = graphic;
  m_nLife = OBJECT_LIFE_UNLIMITED;
  if (patterns) {
    m_Anime.SetPatterns(patterns);
    m_Anime.SetPattern(anime, 1);
  }
  m_nBaseOffsetX = m_nOffsetX = offX;
  m_nBaseOffsetY = m_nOffsetY = offY;
  m_nBaseHitWidth = m_nHitWidth = hitW;
  m_nBaseHitHeight = m_nHitHeight = hitH;
  m_nBaseGfxWidth = m_nGfxWidth = gfxW;
  m_nBaseGfxHeight = m_nGfxHeight = gfxH;
  m_nDirection = direction;
  m_sCloneNo = cloneNo;
  m_dVx = m_dVy = 0;
  m_dInertiaX = m_dInertiaY = 0;
  m_bPresent = 0;
  m_bOnScreen = 0;
  m_bCondLatched = 0;
  SetFlyMode(flyMode);
}

void cGameObject::SetFlyMode(int mode) {
  switch (mode) {
    case FLYMODE_WALK:
      m_bNoGravity = 0;
      m_nBlockMode = BLOCKMODE_STOP;
      break;
    case FLYMODE_THROUGH:
      m_bNoGravity = 1;
      m_nBlockMode = BLOCKMODE_PASS;
      break;
    case FLYMODE_STOPPED:
      m_bNoGravity = 1;
      m_nBlockMode = BLOCKMODE_STOP;
      break;
    case FLYMODE_DEADLY_BLOCKS:
      m_bNoGravity = 1;
      m_nBlockMode = BLOCKMODE_DEADLY;
      break;
    default:
      break;
  }
}

void cGameObject::SetScale(int nNew, int nOld) {
  if (nNew == nOld) return;
  m_nHitWidth = ObjectScaled(nNew, m_nBaseHitWidth);
  m_nHitHeight = ObjectScaled(nNew, m_nBaseHitHeight);
  m_nOffsetX = ObjectScaled(nNew, m_nBaseOffsetX);
  m_nOffsetY = ObjectScaled(nNew, m_nBaseOffsetY);
  m_nGfxWidth = ObjectScaled(nNew, m_nBaseGfxWidth);
  m_nGfxHeight = ObjectScaled(nNew, m_nBaseGfxHeight);
  AnchorForScale(nNew, nOld);
  ScaleHitBox(nNew);
}

void cGameObject::AnchorForScaleX(int nNew, int nOld) {
  m_rcHit.dLeft -= static_cast<double>((static_cast<int64_t>(nNew) - nOld) * (m_nBaseHitWidth >> 1));
  ClampX(2);
}

void cGameObject::AnchorForScale(int nNew, int nOld) {
  AnchorForScaleX(nNew, nOld);
  OnScaleChanged(nNew, nOld);
}

int cGameObject::ClampX(int mode) {
  const cScrollAxis& axis = StageData().m_ScrollX;
  double& x = m_rcHit.dLeft;
  const int w = m_nHitWidth;
  int result = 0;
  switch (mode) {
    case 0:
      if (x < axis.m_nMin)
        x = axis.m_nMin;
      else if (x + w - 1 >= axis.m_nMax)
        x = static_cast<double>(axis.m_nMax) - w;
      break;
    case 1:
      if (x < axis.m_nOrigin)
        x = axis.m_nOrigin;
      else if (x + w - 1 >= axis.m_nDefaultMax)
        x = static_cast<double>(axis.m_nDefaultMax) - w;
      else if (x < axis.m_nMin || x + w - 1 >= axis.m_nMax)
        result = 1;
      break;
    case 2:
      if (x < 0) {
        x = 0;
        result = 3;
      } else if (x + w - 1 >= axis.m_nActiveSize) {
        x = static_cast<double>(axis.m_nActiveSize) - w;
        result = 3;
      } else if (x < axis.m_nOrigin || x + w - 1 >= axis.m_nDefaultMax) {
        result = 2;
      } else if (x < axis.m_nMin || x + w - 1 >= axis.m_nMax) {
        result = 1;
      }
      break;
    default:
      break;
  }
  m_rcHit.dRight = w + x - 1;
  HitBoxX();
  m_nCellLeft = ToIntChecked(x) >> 5;
  m_nCellRight = ToIntChecked(m_rcHit.dRight) >> 5;
  return result;
}

int cGameObject::ClampY(int mode) {
  const cScrollAxis& axis = StageData().m_ScrollY;
  double& y = m_rcHit.dTop;
  const int h = m_nHitHeight;
  int result = 0;
  switch (mode) {
    case 0:
      if (y < axis.m_nMin)
        y = axis.m_nMin;
      else if (y + h - 1 >= axis.m_nMax)
        y = static_cast<double>(axis.m_nMax) - h;
      break;
    case 1:
      if (y < axis.m_nOrigin)
        y = axis.m_nOrigin;
      else if (y + h - 1 >= axis.m_nDefaultMax)
        y = static_cast<double>(axis.m_nDefaultMax) - h;
      else if (y < axis.m_nMin)
        result = 1;
      else if (y + h - 1 >= axis.m_nMax)
        result = 4;
      break;
    case 2:
      if (y < 0) {
        y = 0;
        result = 3;
      } else if (y + h - 1 >= axis.m_nActiveSize) {
        y = static_cast<double>(axis.m_nActiveSize) - h;
        result = 6;
      } else if (y < axis.m_nOrigin) {
        result = 2;
      } else if (y + h - 1 >= axis.m_nDefaultMax) {
        result = 5;
      } else if (y < axis.m_nMin) {
        result = 1;
      } else if (y + h - 1 >= axis.m_nMax) {
        result = 4;
      }
      break;
    default:
      break;
  }
  m_rcHit.dBottom = h + y - 1;
  HitBoxY();
  m_nCellTop = ToIntChecked(y) >> 5;
  m_nCellBottom = ToIntChecked(m_rcHit.dBottom) >> 5;
  return result;
}

void CapSpeed(double& v) {
  const double max = Stage.m_dMaxSpeedPerStep;
  if (v > max)
    v = max;
  else if (v < -max)
    v = -max;
}

int cGameObject::StepX(int mode) {
  CapSpeed(m_dVx);
  m_rcHit.dLeft += m_dVx;
  return ClampX(mode);
}

int cGameObject::StepY(int mode) {
  CapSpeed(m_dVy);
  m_rcHit.dTop += m_dVy;
  return ClampY(mode);
}

void cGameObject::ApplyGravity() {
  if (!m_bNoGravity) m_dVy += Stage.m_dGravityPerStep;
}

void cGameObject::ApplyFriction(double& v, int bEnabled) {
  if (!bEnabled) return;
  if (v > 0) {
    v -= m_dStopDecel;
    if (v < 0) v = 0;
  } else if (v < 0) {
    v += m_dStopDecel;
    if (v > 0) v = 0;
  }
}

int cGameObject::FacingSign() const { return m_nDirection == 1 ? 1 : -1; }

void cGameObject::UpdateScreenRect() {
  const cSceneStageData& stage = StageData();
  const double scrollX = ToIntChecked(stage.m_ScrollX.m_dPos);
  const double scrollY = ToIntChecked(stage.m_ScrollY.m_dPos);
  m_rcScreen.nLeft = ToIntChecked((m_rcHit.dLeft - m_nOffsetX) - scrollX);
  m_rcScreen.nTop = ToIntChecked((m_rcHit.dTop - m_nOffsetY) - scrollY);
  m_rcScreen.nRight = SaturateToInt(static_cast<int64_t>(m_rcScreen.nLeft) + m_nGfxWidth - 1);
  m_rcScreen.nBottom = SaturateToInt(static_cast<int64_t>(m_rcScreen.nTop) + m_nGfxHeight - 1);
}

int cGameObject::IsOnScreen() const { return IsOnScreenAxes(0, 0); }

int cGameObject::IsOnScreenAxes(int bIgnoreX, int bIgnoreY) const {
  const cSceneStageData& stage = StageData();
  const double sx = stage.m_ScrollX.m_dPos;
  const double sy = stage.m_ScrollY.m_dPos;
  const bool inX = m_rcHit.dRight >= sx && sx + 640 > m_rcHit.dLeft;
  const bool inY = m_rcHit.dBottom >= sy && sy + 480 > m_rcHit.dTop;
  return (bIgnoreX || inX) && (bIgnoreY || inY) ? 1 : 0;
}

int cGameObject::IsInsideArea(int bActiveArea) const {
  const cSceneStageData& stage = StageData();
  const cScrollAxis& ax = stage.m_ScrollX;
  const cScrollAxis& ay = stage.m_ScrollY;
  if (bActiveArea)
    return m_rcHit.dLeft >= 0 && m_rcHit.dRight < ax.m_nActiveSize && m_rcHit.dTop >= 0 &&
                   m_rcHit.dBottom < ay.m_nActiveSize
               ? 1
               : 0;
  return ax.m_nOrigin <= m_rcHit.dLeft && m_rcHit.dRight < ax.m_nDefaultMax && ay.m_nOrigin <= m_rcHit.dTop &&
                 m_rcHit.dBottom < ay.m_nDefaultMax
             ? 1
             : 0;
}

int cGameObject::IsOutsideRemovalArea(const cEdOffScreenRule& rule) const {
  if (m_bOnScreen) return 0;
  const cSceneStageData& stage = StageData();
  const double sx = stage.m_ScrollX.m_dPos;
  const double sy = stage.m_ScrollY.m_dPos;
  const DRECT& r = m_rcHit;
  if (rule.m_bLeft && ToIntChecked(sx - rule.m_nLeftMargin * 32.0) >= r.dRight) return 1;
  if (rule.m_bRight && r.dLeft >= ToIntChecked(sx + rule.m_nRightMargin * 32.0 + 640)) return 1;
  if (rule.m_bBottom && r.dTop >= ToIntChecked(rule.m_nBottomMargin * 32.0 + sy + 480)) return 1;
  if (rule.m_bTop && ToIntChecked(sy - rule.m_nTopMargin * 32.0) >= r.dBottom) return 1;
  return r.dLeft <= 0 || r.dRight >= stage.m_ScrollX.m_nActiveSize - 1 || r.dTop <= 0 ||
                 r.dBottom >= stage.m_ScrollY.m_nActiveSize - 1
             ? 1
             : 0;
}

int cGameObject::HitBoxOverlaps(double l, double t, double r, double b) const {
  DRECT other;
  other.dLeft = l;
  other.dTop = t;
  other.dRight = r;
  other.dBottom = b;
  return m_rcHit.Overlaps(other);
}

int cGameObject::TouchesBlockCorners() const {
  const int corners[4][2] = {{m_nCellLeft, m_nCellTop},
                             {m_nCellLeft, m_nCellBottom},
                             {m_nCellRight, m_nCellTop},
                             {m_nCellRight, m_nCellBottom}};
  for (const auto& c : corners)
    if (GetHitAttr(CellAt(c[0], c[1]), m_nGroup)) return 1;
  return 0;
}
