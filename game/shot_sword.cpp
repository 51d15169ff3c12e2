// A sword's logic step: pinned to its owner, frame after frame of its type.
#include "base/checked_convert.h"
#include "game/chara_base.h"
#include "game/characters.h"
#include "game/shot.h"
#include "game/stage_data.h"
#include "records/database.h"
#include "records/stage.h"
#include "records/sword_type.h"

namespace {

enum SWORDPLACE { SWORDPLACE_FRONT, SWORDPLACE_BEHIND, SWORDPLACE_ABOVE, SWORDPLACE_BELOW };

}  // namespace

int cShot::StepSword() {
  cCharaBase* owner = FindCharaById(m_nOwnerId);
  if (!owner) return 1;
  owner->UpdateScreenRect();
  m_nDirection = owner->m_nDirection;

  const cEdSwordType& type = Database.m_vSwordType.At(m_ShotDef.m_nPath);
  // A type without frames shows nothing: the sword ends.
  if (!type.HasFrame(m_nFrame)) return 1;
  const cEdSwordFrame& frame = type.FrameAt(m_nFrame);
  const int scale = m_ShotDef.m_nScale;

  if (m_nStep == 0) {
    m_nBaseGfxWidth = m_nBaseHitWidth = m_Box.nBaseWidth = frame.m_nWidth;
    m_nBaseGfxHeight = m_nBaseHitHeight = m_Box.nBaseHeight = frame.m_nHeight;
    m_nGfxWidth = m_nHitWidth = m_Box.nWidth = SaturateToInt(static_cast<int64_t>(scale) * frame.m_nWidth);
    m_nGfxHeight = m_nHitHeight = m_Box.nHeight = SaturateToInt(static_cast<int64_t>(scale) * frame.m_nHeight);
  }

  // The owner's view rectangle and graphic size, the sword's size, the view.
  const cSceneStageData& stage = StageData();
  const double sx = stage.m_ScrollX.m_dPos, sy = stage.m_ScrollY.m_dPos;
  const int64_t L = owner->m_rcScreen.nLeft, T = owner->m_rcScreen.nTop;
  const int64_t R = owner->m_rcScreen.nRight, B = owner->m_rcScreen.nBottom;
  const int64_t W = owner->m_nGfxWidth, H = owner->m_nGfxHeight;
  const int64_t w = m_nGfxWidth, h = m_nGfxHeight;
  const bool right = owner->m_nDirection == 1;
  double& x = m_rcHit.dLeft;
  double& y = m_rcHit.dTop;
  switch (frame.m_nPlace) {
    case SWORDPLACE_FRONT:
      x = right ? sx + R + 1 : sx + L - w;
      y = static_cast<double>(T + (H >> 1)) + sy - (h >> 1);
      break;
    case SWORDPLACE_BEHIND:
      m_nDirection = m_nDirection == 1 ? 0 : 1;
      x = right ? static_cast<double>(L) + sx - w : sx + R + 1;
      y = static_cast<double>(T + (H >> 1)) + sy - (h >> 1);
      break;
    case SWORDPLACE_ABOVE:
      x = static_cast<double>(L + (W >> 1)) + sx - (w >> 1);
      y = static_cast<double>(T) + sy - h;
      break;
    case SWORDPLACE_BELOW:
      x = static_cast<double>(L + (W >> 1)) + sx - (w >> 1);
      y = sy + B + 1;
      break;
    default:
      break;
  }
  // Offsets are drawn for an owner facing left.
  const double dx = static_cast<double>(static_cast<int64_t>(scale) * frame.m_nOffsetX);
  const double dy = static_cast<double>(static_cast<int64_t>(scale) * frame.m_nOffsetY);
  if (right) {
    x = frame.m_bMirrorX ? x - dx : x + dx;
    y = frame.m_bMirrorY ? y - dy : y + dy;
  } else {
    x += dx;
    y += dy;
  }
  ClampX();
  ClampY(2);

  // Each frame holds for duration × 6 × N + 1 steps.
  const int32_t hold = SaturatedTicks(frame.m_nTime, static_cast<int64_t>(Stage.m_nStepsPerFrame) * 6);
  if (m_nStep < hold) {
    m_nStep += 1;
    return 0;
  }
  m_nStep = 0;
  m_nFrame += 1;
  return m_nFrame >= type.m_vFrame.Size() ? 1 : 0;
}
