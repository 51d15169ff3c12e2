// The hero's set-up, fly mode, boxes, box markers, touch list and the flow
// changes its item commands queue.
#include <utility>

#include "base/checked_convert.h"
#include "game/characters.h"
#include "game/item_commands.h"
#include "media/input.h"
#include "records/stage.h"

namespace {

int32_t HeroScaled(int scale, int32_t value) { return SaturateToInt(static_cast<int64_t>(scale) * value); }

// A w × h box centred in the 32-dot cell of the graphic, relative to the hit box.
void CentreInCell(HITBOX& box, int w, int h, int hitOffX, int hitOffY) {
  box.nBaseOffsetX = box.nOffsetX = 16 - w / 2 - hitOffX;
  box.nBaseOffsetY = box.nOffsetY = 16 - h / 2 - hitOffY;
  box.nBaseWidth = box.nWidth = w;
  box.nBaseHeight = box.nHeight = h;
}

void ScaleHeroBox(HITBOX& box, int n) {
  box.nOffsetX = HeroScaled(n, box.nBaseOffsetX);
  box.nOffsetY = HeroScaled(n, box.nBaseOffsetY);
  box.nWidth = HeroScaled(n, box.nBaseWidth);
  box.nHeight = HeroScaled(n, box.nBaseHeight);
}

void PlaceHeroBoxX(HITBOX& box, double x) {
  box.rc.dLeft = static_cast<double>(static_cast<int64_t>(ToIntChecked(x)) + box.nOffsetX);
  box.rc.dRight = box.rc.dLeft + box.nWidth - 1;
}

void PlaceHeroBoxY(HITBOX& box, double y) {
  box.rc.dTop = static_cast<double>(static_cast<int64_t>(ToIntChecked(y)) + box.nOffsetY);
  box.rc.dBottom = box.rc.dTop + box.nHeight - 1;
}

// The hero's hit box for walking or flying: w × h, offsets in the cell.
void HeroHitBox(int bFlying, int& w, int& h, int& offX, int& offY) {
  w = bFlying ? Stage.m_nHeroHitFlyW : Stage.m_nHeroHitW;
  h = bFlying ? Stage.m_nHeroHitFlyH : Stage.m_nHeroHitH;
  const int bottom = bFlying ? Stage.m_bHeroHitFlyBottom : Stage.m_bHeroHitBottom;
  offX = (32 - w) / 2;
  offY = bottom ? 32 - h : (32 - h) / 2;
}

BOXMARKER Marker(int anchor, int mode, int colour, const HITBOX* box, int w, int h) {
  BOXMARKER m;
  m.nAnchor = anchor;
  m.nMode = mode;
  m.nColor = SaturateToInt(208 + 4 * static_cast<int64_t>(colour));
  m.nWidth = box ? box->nWidth : w;
  m.nHeight = box ? box->nHeight : h;
  return m;
}

}  // namespace

void cHero::SetUp(int id, const cEdChara& def, double x, double y) {
  m_nId = id;
  Reset(&def, x, y, 0);
  if (m_Def.m_nScale < 1) m_Def.m_nScale = 1;
  const int flying = def.m_nFlyMode != FLYMODE_WALK;
  int w, h, offX, offY;
  HeroHitBox(flying, w, h, offX, offY);
  cGameObject::SetUp(id, m_Def.m_nOperator, m_Def.m_nPlayer, m_Def.m_nFaction, m_Def.m_nGraphic, nullptr, 0, offX,
                     offY, w, h, 32, 32, 1, FLYMODE_WALK, 0);
  const int player = m_Def.m_nPlayer;
  m_pInput = &Input.At(player >= 0 && player < Input.Size() ? player : 0);
  SetFlyMode(m_Def.m_nFlyMode, 0);
  SetScale(m_Def.m_nScale, 1);
  m_nDirection = m_nPrevDirection = m_Def.m_nDirection;
  m_bJumpLock = m_bJumpForced = m_nJumpHold = 0;
  m_bJumpReady = 1;
  m_nGroundEffect = 0;
  m_dGroundEffect = 0;
  m_nGroundEffectSteps = 0;
  m_nBlockItemWait = 0;
  m_dGroundAccel = 4 / Stage.m_dSteps;
  BuildBoxMarkers();
  m_lTouched.clear();
  BuildFlows(m_Def.m_vFlows, 0, -1);
}

void cHero::SetFlyMode(int mode, int bScaled) {
  const int wasFlying = m_bNoGravity;
  m_Def.m_nFlyMode = static_cast<int8_t>(mode);
  cGameObject::SetFlyMode(mode);
  const int flying = m_bNoGravity;
  if (flying != wasFlying) m_nCrushGrace = 2;
  if (wasFlying && !flying) m_dVx = m_dVy = m_dInertiaX = m_dInertiaY = 0;

  int w, h, offX, offY;
  HeroHitBox(flying, w, h, offX, offY);
  m_nBaseOffsetX = m_nOffsetX = offX;
  m_nBaseOffsetY = m_nOffsetY = offY;
  m_nBaseHitWidth = m_nHitWidth = w;
  m_nBaseHitHeight = m_nHitHeight = h;
  m_nBaseGfxWidth = m_nGfxWidth = 32;
  m_nBaseGfxHeight = m_nGfxHeight = 32;

  switch (m_Def.m_nHitBoxMode) {
    case 0:
      if (flying)
        SetContactBox(Stage.m_bHeroContactFlyBottom, Stage.m_nHeroContactFlyW, Stage.m_nHeroContactFlyH);
      else
        SetContactBox(Stage.m_bHeroContactBottom, Stage.m_nHeroContactW, Stage.m_nHeroContactH);
      break;
    case 1:
      SetContactBox(0, Stage.m_nHeroShotContactW, Stage.m_nHeroShotContactH);
      break;
    case 2:
      SetContactBox(0, Stage.m_nHeroShotBoxW, Stage.m_nHeroShotBoxH);
      break;
    case 3:
      SetContactBox(0, 32, 32);
      break;
    default:
      break;
  }
  CentreInCell(m_ShotContact, Stage.m_nHeroShotContactW, Stage.m_nHeroShotContactH, offX, offY);
  CentreInCell(m_PickupBox, Stage.m_nHeroPickupW, Stage.m_nHeroPickupH, offX, offY);

  if (bScaled) {
    const int s = m_Def.m_nScale;
    m_nOffsetX = HeroScaled(s, m_nBaseOffsetX);
    m_nOffsetY = HeroScaled(s, m_nBaseOffsetY);
    m_nHitWidth = HeroScaled(s, m_nBaseHitWidth);
    m_nHitHeight = HeroScaled(s, m_nBaseHitHeight);
    m_nGfxWidth = HeroScaled(s, m_nBaseGfxWidth);
    m_nGfxHeight = HeroScaled(s, m_nBaseGfxHeight);
    ScaleHitBox(s);
  }
  BuildBoxMarkers();
}

void cHero::BuildBoxMarkers() {
  m_vMarkers.clear();
  m_vMarkers.push_back(
      Marker(BOXANCHOR_HIT, Stage.m_nShowHitBox, Stage.m_nHitBoxColor, nullptr, m_nHitWidth, m_nHitHeight));
  m_vMarkers.push_back(Marker(BOXANCHOR_PICKUP, Stage.m_nShowPickupBox, Stage.m_nPickupBoxColor, &m_PickupBox, 0, 0));
  m_vMarkers.push_back(
      Marker(BOXANCHOR_CONTACT, Stage.m_nShowContactBox, Stage.m_nContactBoxColor, &m_Contact, 0, 0));
  m_vMarkers.push_back(Marker(BOXANCHOR_SHOT, Stage.m_nShowShotBox, Stage.m_nShotBoxColor, &m_ShotContact, 0, 0));
  // Largest first, so that the smaller boxes show over it; equal areas keep their order.
  auto area = [](const BOXMARKER& m) { return static_cast<int64_t>(m.nWidth) * m.nHeight; };
  for (int i = 1; i < m_vMarkers.Size(); ++i)
    for (int j = i; j > 0 && area(m_vMarkers[j - 1]) < area(m_vMarkers[j]); --j)
      std::swap(m_vMarkers[j - 1], m_vMarkers[j]);
}

void cHero::ScaleHitBox(int nScale) {
  ScaleHeroBox(m_Contact, nScale);
  ScaleHeroBox(m_ShotContact, nScale);
  ScaleHeroBox(m_PickupBox, nScale);
}

void cHero::HitBoxX() {
  PlaceHeroBoxX(m_Contact, m_rcHit.dLeft);
  PlaceHeroBoxX(m_ShotContact, m_rcHit.dLeft);
  PlaceHeroBoxX(m_PickupBox, m_rcHit.dLeft);
}

void cHero::HitBoxY() {
  PlaceHeroBoxY(m_Contact, m_rcHit.dTop);
  PlaceHeroBoxY(m_ShotContact, m_rcHit.dTop);
  PlaceHeroBoxY(m_PickupBox, m_rcHit.dTop);
}

int cHero::IsNewItemTouch(const cItem& item) const {
  for (int32_t id : m_lTouched)
    if (id == item.m_nId) return 0;
  return 1;
}

void cHero::ForgetItemTouch(const cItem& item) {
  const int32_t id = item.m_nId;
  m_lTouched.remove(id);
}

void cHero::ApplyQueuedFlowChanges() {
  // The queue may grow while it is applied; take it first.
  cVector<cEdCommand> queued;
  queued.swap(m_vQueuedFlowChanges);
  for (cEdCommand& command : queued) CmdFlowChange(*this, command, 1, 1);
}
