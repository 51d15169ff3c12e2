// The other characters: set-up, placement, activity, moves, the flow step
// and the jump.
#include "base/checked_convert.h"
#include "base/window_messages.h"
#include "game/characters.h"
#include "game/flow_instance.h"
#include "game/graphic_source.h"
#include "game/stage_data.h"
#include "records/stage.h"
#include "records/system.h"

namespace {

int32_t Scaled(int scale, int32_t value) { return SaturateToInt(static_cast<int64_t>(scale) * value); }

void ScaleBox(HITBOX& box, int n) {
  box.nOffsetX = Scaled(n, box.nBaseOffsetX);
  box.nOffsetY = Scaled(n, box.nBaseOffsetY);
  box.nWidth = Scaled(n, box.nBaseWidth);
  box.nHeight = Scaled(n, box.nBaseHeight);
}

void SetBox(HITBOX& box, int offX, int offY, int w, int h) {
  box.nBaseOffsetX = box.nOffsetX = offX;
  box.nBaseOffsetY = box.nOffsetY = offY;
  box.nBaseWidth = box.nWidth = w;
  box.nBaseHeight = box.nHeight = h;
}

void PlaceBoxX(HITBOX& box, double x) {
  box.rc.dLeft = static_cast<double>(static_cast<int64_t>(ToIntChecked(x)) + box.nOffsetX);
  box.rc.dRight = box.rc.dLeft + box.nWidth - 1;
}

void PlaceBoxY(HITBOX& box, double y) {
  box.rc.dTop = static_cast<double>(static_cast<int64_t>(ToIntChecked(y)) + box.nOffsetY);
  box.rc.dBottom = box.rc.dTop + box.nHeight - 1;
}

}  // namespace

void cChara::SetUp(int id, const cEdChara& def, const cItem* dropItem, double x, double y, int16_t cloneNo) {
  m_nId = id;
  Reset(&def, x, y, cloneNo);
  if (m_Def.m_nScale < 1) m_Def.m_nScale = 1;
  const int flying = m_Def.m_nFlyMode != FLYMODE_WALK;
  const int block = m_Def.m_bBlockChara != 0;
  int w = 32, h = 32, offX = 0, offY = 0;
  if (!block) {
    w = flying ? Stage.m_nCharaHitFlyW : Stage.m_nCharaHitW;
    h = flying ? Stage.m_nCharaHitFlyH : Stage.m_nCharaHitH;
    const int bottom = flying ? Stage.m_bCharaHitFlyBottom : Stage.m_bCharaHitBottom;
    offX = (32 - w) / 2;
    offY = bottom ? 32 - h : (32 - h) / 2;
  }
  cGameObject::SetUp(id, m_Def.m_nOperator, m_Def.m_nPlayer, m_Def.m_nFaction, m_Def.m_nGraphic, nullptr, 0, offX,
                     offY, w, h, 32, 32, m_Def.m_nDirection, m_Def.m_nFlyMode, cloneNo);
  if (block) {
    SetBox(m_Contact, 0, 0, 0, 0);
    SetBox(m_ShotContact, 0, 0, 32, 32);
  } else {
    switch (m_Def.m_nHitBoxMode) {
      case 0:
        if (flying)
          SetContactBox(Stage.m_bCharaContactFlyBottom, Stage.m_nCharaContactFlyW, Stage.m_nCharaContactFlyH);
        else
          SetContactBox(Stage.m_bCharaContactBottom, Stage.m_nCharaContactW, Stage.m_nCharaContactH);
        break;
      case 1:
        SetContactBox(0, Stage.m_nCharaShotContactW, Stage.m_nCharaShotContactH);
        break;
      case 2:
        SetContactBox(0, Stage.m_nCharaShotBoxW, Stage.m_nCharaShotBoxH);
        break;
      case 3:
        SetContactBox(0, 32, 32);
        break;
      default:
        break;
    }
    const int sw = Stage.m_nCharaShotContactW;
    const int sh = Stage.m_nCharaShotContactH;
    SetBox(m_ShotContact, 16 - sw / 2 - offX, 16 - sh / 2 - offY, sw, sh);
  }
  SetScale(m_Def.m_nScale, 1);
  m_bActive = 0;
  m_nHintCounter = 0;
  if (dropItem) m_DropItem = *dropItem;
  const int range = m_Def.m_nActivityRange;
  m_bUnlimitedX = range == 2 || range == 3;
  m_bUnlimitedY = range == 1 || range == 3;
  m_bAppeared = 0;
  m_Anime.SetPattern(flying ? 0 : 1, 1);
  BuildFlows(m_Def.m_vFlows, 0, -1);
}

void cChara::PlaceAtCell(int cx, int cy) {
  const cSceneStageData& stage = StageData();
  const int64_t col = static_cast<int64_t>(cx) + stage.m_ScrollX.m_nBorder;
  const int64_t row = static_cast<int64_t>(cy) + stage.m_ScrollY.m_nBorder;
  m_rcHit.dLeft = static_cast<double>(col * 32 + m_nBaseOffsetX) + 0.5;
  m_rcHit.dTop = static_cast<double>(row * 32 + m_nBaseOffsetY);
  AnchorForScale(m_Def.m_nScale, 1);
  ConfineX();
  ConfineY();
}

void cChara::ScaleHitBox(int nScale) {
  if (m_Def.m_bBlockChara) {
    // A block character is touched and shot where it stands.
    SetBox(m_Contact, 0, 0, m_nHitWidth, m_nHitHeight);
    SetBox(m_ShotContact, 0, 0, m_nHitWidth, m_nHitHeight);
    return;
  }
  ScaleBox(m_Contact, nScale);
  ScaleBox(m_ShotContact, nScale);
}

void cChara::HitBoxX() {
  PlaceBoxX(m_Contact, m_rcHit.dLeft);
  PlaceBoxX(m_ShotContact, m_rcHit.dLeft);
}

void cChara::HitBoxY() {
  PlaceBoxY(m_Contact, m_rcHit.dTop);
  PlaceBoxY(m_ShotContact, m_rcHit.dTop);
}

int cChara::CheckActivityRange(cVector<uint8_t>& groupFlags) {
  m_bInRange = IsOnScreenAxes(m_bUnlimitedX, m_bUnlimitedY);
  if (m_bInRange && m_Def.m_bJoinGroup) groupFlags.At(m_Def.m_nGroup) = 1;
  return m_bInRange;
}

int cChara::CheckActive(cVector<uint8_t>& groupFlags) {
  const int walking = !m_bNoGravity;
  const int active = m_bInRange || (m_Def.m_bJoinGroup && groupFlags.At(m_Def.m_nGroup)) ||
                     (walking && (m_bJumped || (m_bAppeared && m_bAirborne)));
  if (!active) return 0;
  m_bAppeared = 1;
  if (m_Def.m_nActivation == 1) m_bUnlimitedX = m_bUnlimitedY = 1;
  UpdateScreenRect();
  return 1;
}

int cChara::MoveX() {
  if (m_dKnockX != 0) {
    m_dVx = m_dKnockX;
  } else if (m_dInertiaX != 0) {
    ApplyFriction(m_dInertiaX, m_bFrictionX);
    m_dVx += m_dInertiaX;
  }
  const int r = StepX(2);
  ConfineX();
  return r == 3 ? 4 : r;
}

int cChara::MoveY() {
  ApplyKnockbackY();
  if (m_dKnockY == 0 && m_bNoGravity && m_dInertiaY != 0) {
    ApplyFriction(m_dInertiaY, m_bFrictionY);
    m_dVy += m_dInertiaY;
  }
  const int r = StepY(2);
  ConfineY();
  if (m_bNoGravity) return r == 3 || r == 6 ? 8 : r;
  return r == 5 || r == 6 ? 7 : r;
}

int cChara::Run(int bDeathPass) {
  cSceneStageData& stage = StageData();
  stage.m_lpCurChara = this;
  stage.m_bDefeatCheck = 0;

  const int flying = m_bNoGravity;
  if (!SystemData.bScrollInMoves() && m_bScrollSync) {
    m_dVx = stage.m_ScrollX.MoveSpeed();
    if (flying) m_dVy = stage.m_ScrollY.MoveSpeed();
  } else {
    m_dVx = 0;
    if (flying) m_dVy = 0;
  }

  m_bMoveDisabled = 0;
  m_bFrictionX = m_bFrictionY = 1;
  m_bMoved = 0;
  if (m_nCrushGrace > 0) --m_nCrushGrace;

  if (RunFlows(bDeathPass)) return 1;

  if (!m_bMoved && m_dInertiaX == 0 && m_dInertiaY == 0) m_Anime.ChangePattern(flying ? 2 : 0, 1);
  return m_nHp <= 0 ? 1 : 0;
}

int cChara::Jump(cCommandInstance& instance) {
  if (m_bAirborne) return m_bAirborne;
  if (m_bJumpLock) return m_bJumpLock;
  if (m_bKnockback) return m_bKnockback;
  if (m_bJumpBlocked) return m_bJumpBlocked;
  if (instance.m_pCommand) PlayUserSe(instance.m_pCommand->m_nSe);
  m_dVy = instance.m_dSpeed;
  m_bJumped = m_bJumping = 1;
  m_bRiding = 0;
  return 1;
}

void cChara::DrawDropItemHint(DDSURFACEDATA* surface) {
  if (!m_DropItem.m_bHeld || !m_bOnScreen || m_Def.m_bTransparent || m_DropItem.m_Def.m_bTransparent) return;
  if (m_nHintCounter >= 64) {
    const int x = SaturateToInt(static_cast<int64_t>(m_rcScreen.nLeft) + m_nGfxWidth / 2 - m_DropItem.m_nGfxWidth / 4);
    const int y = SaturateToInt(static_cast<int64_t>(m_rcScreen.nTop) - m_DropItem.m_nGfxHeight / 2);
    DrawItemIcon(surface, x, y, m_DropItem.m_Def.m_nGraphicKind, m_DropItem.m_Def.m_nGraphic,
                 m_DropItem.m_Def.m_nGraphicFrame);
  }
  if (++m_nHintCounter >= 96) m_nHintCounter = 0;
}
