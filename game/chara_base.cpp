// A character's construction, copies, reset, placement and centring.
#include "game/chara_base.h"

#include <utility>

#include "base/checked_convert.h"
#include "base/report_log.h"
#include "game/characters.h"
#include "game/stage_data.h"
#include "records/data_file.h"
#include "records/database.h"
#include "records/system.h"

cCharaBase::cCharaBase() {
  m_vSwitchTaken.assign(FLOW_SWITCH_COUNT, 0);
  m_vSwitchReleased.assign(FLOW_SWITCH_COUNT, 0);
  m_vSwitchStarted.assign(FLOW_SWITCH_COUNT, 0);
  m_vVars.assign(CHARA_VAR_COUNT, 0);
  m_Def.Clear();
  m_CharaEffect.Clear();
}

cCharaBase::cCharaBase(const cCharaBase& other) : cGameObject(other) { Assign(other); }

cCharaBase& cCharaBase::operator=(const cCharaBase& other) {
  if (this != &other) Assign(other);
  return *this;
}

void cCharaBase::Assign(const cCharaBase& other) {
  if (this == &other) return;
  const int32_t moveDisabled = m_bMoveDisabled;
  cGameObject::CopyFrom(other);
  m_nTargetId = other.m_nTargetId;
  m_vTargetedBy = other.m_vTargetedBy;
  m_vShots = other.m_vShots;
  m_Def = other.m_Def;
  m_nFlowSerial = other.m_nFlowSerial;
  m_FlowBudget = other.m_FlowBudget;
  AssignFlows(other);
  m_vSwitchTaken = other.m_vSwitchTaken;
  m_vSwitchReleased = other.m_vSwitchReleased;
  m_vSwitchStarted = other.m_vSwitchStarted;
  m_bSwitchRelease = other.m_bSwitchRelease;
  m_bFlowRemoval = other.m_bFlowRemoval;
  m_dStartX = other.m_dStartX;
  m_dStartY = other.m_dStartY;
  m_bMoved = other.m_bMoved;
  m_dKnockX = other.m_dKnockX;
  m_dKnockY = other.m_dKnockY;
  m_bKnockback = other.m_bKnockback;
  m_dKnockYApplied = other.m_dKnockYApplied;
  m_bMoveDisabled = moveDisabled;
  m_nWallTurn = other.m_nWallTurn;
  m_bAirborne = other.m_bAirborne;
  m_bJumping = other.m_bJumping;
  m_bJumped = other.m_bJumped;
  m_bJumpLock = other.m_bJumpLock;
  m_bJumpBlocked = other.m_bJumpBlocked;
  m_pFootCell = other.m_pFootCell;
  m_pGroundCell = other.m_pGroundCell;
  m_pPrevGroundCell = other.m_pPrevGroundCell;
  m_nCrushGrace = other.m_nCrushGrace;
  m_bAnchorX = other.m_bAnchorX;
  m_bAnchorY = other.m_bAnchorY;
  m_nAnchorX = other.m_nAnchorX;
  m_nAnchorY = other.m_nAnchorY;
  m_bDefeated = other.m_bDefeated;
  m_nDefeatFrames = other.m_nDefeatFrames;
  for (int i = 0; i < 4; ++i) LRUD[i] = other.LRUD[i];
  m_bTurnPending = other.m_bTurnPending;
  m_bRiding = other.m_bRiding;
  m_nCarrierId = other.m_nCarrierId;
  m_rcCarrier = other.m_rcCarrier;
  m_rcPrevHit = other.m_rcPrevHit;
  m_nHp = other.m_nHp;
  m_HpGauge = other.m_HpGauge;
  m_nSp = other.m_nSp;
  m_SpGauge = other.m_SpGauge;
  m_vVars = other.m_vVars;
  m_nInvincible = other.m_nInvincible;
  m_lInvincibleFrom = other.m_lInvincibleFrom;
  m_lAnimes = other.m_lAnimes;
  m_CharaEffect = other.m_CharaEffect;
  m_bVanished = other.m_bVanished;
  m_nSightDots = other.m_nSightDots;
  m_Contact = other.m_Contact;
  m_ShotContact = other.m_ShotContact;
}

void cCharaBase::Reset(const cEdChara* def, double x, double y, int16_t cloneNo) {
  m_sCloneNo = cloneNo;
  m_vTargetedBy.clear();
  m_vShots.clear();

  m_nTargetId = OBJECT_NONE;
  if (!Player.empty()) SetTarget(Player[0]);

  m_nFlowSerial = 0;
  m_vSwitchTaken.assign(FLOW_SWITCH_COUNT, 0);
  m_vSwitchReleased.assign(FLOW_SWITCH_COUNT, 0);
  m_vSwitchStarted.assign(FLOW_SWITCH_COUNT, 0);
  m_bSwitchRelease = 0;
  m_bFlowRemoval = 0;

  m_dStartX = x;
  m_dStartY = y;

  m_dKnockX = m_dKnockY = 0;
  m_bKnockback = 0;
  m_dKnockYApplied = 0;
  m_bMoveDisabled = 0;
  m_nWallTurn = -1;
  m_bAirborne = 1;
  m_bJumping = m_bJumped = m_bJumpLock = m_bJumpBlocked = 0;
  m_pFootCell = m_pGroundCell = m_pPrevGroundCell = nullptr;
  m_nCrushGrace = 0;
  m_bAnchorX = m_bAnchorY = 0;
  m_nAnchorX = m_nAnchorY = 0;
  m_bDefeated = 0;
  m_nDefeatFrames = 0;
  ClearBlockedFlags();
  m_bTurnPending = 0;
  m_bRiding = 0;
  m_nCarrierId = 0;
  m_rcCarrier.Clear();
  m_nHp = m_nSp = 0;
  m_HpGauge = GAUGESTATE();
  m_SpGauge = GAUGESTATE();
  m_vVars.assign(CHARA_VAR_COUNT, 0);

  if (def) {
    m_Def = *def;
    m_nHp = m_Def.m_nMaxHp;
    m_nSp = m_Def.m_nMaxSp;
  }

  m_bScrollSync = m_Def.m_bScrollSync;
  m_bVanished = 0;
  m_nSightDots = HblToDots(m_Def.m_nSight);
  m_dStopDecel = StopToDecel(m_Def.m_nStop);

  m_CharaEffect.Clear();
  if (m_Def.m_nStartEffect != 0)
    m_CharaEffect.Start(m_Def.m_nStartEffect, m_Def.m_nStartEffectMode, m_Def.m_bStartEffectLoop);

  m_nInvincible = 0;
  m_lInvincibleFrom.clear();
  SetBasicAnimeSet(m_Def.m_nAnimeSet, 1);
  m_lAnimes.clear();
}

void cCharaBase::SetContactBox(int bBottom, int w, int h) {
  m_Contact.nBaseOffsetX = m_Contact.nOffsetX = 16 - m_nOffsetX - w / 2;
  m_Contact.nBaseOffsetY = m_Contact.nOffsetY = bBottom ? 32 - m_nOffsetY - h : 16 - m_nOffsetY - h / 2;
  m_Contact.nBaseWidth = m_Contact.nWidth = w;
  m_Contact.nBaseHeight = m_Contact.nHeight = h;
}

void cCharaBase::SetCellPos(int cx, int cy) {
  SetCellX(cx);
  SetCellY(cy);
}

void cCharaBase::SetCellX(int cx) {
  const int64_t cell = static_cast<int64_t>(cx) + StageData().m_ScrollX.m_nBorder;
  m_rcHit.dLeft = static_cast<double>(cell * 32 + m_nBaseOffsetX) + 0.5;
  AnchorForScaleX(m_Def.m_nScale, 1);
  ConfineX();
}

void cCharaBase::SetCellY(int cy) {
  const int64_t cell = static_cast<int64_t>(cy) + StageData().m_ScrollY.m_nBorder;
  m_rcHit.dTop = static_cast<double>(cell * 32 + m_nBaseOffsetY);
  OnScaleChanged(m_Def.m_nScale, 1);
  ConfineY();
}

void cCharaBase::OnScaleChanged(int nNew, int nOld) {
  if (nNew == nOld) return;
  const int64_t d = static_cast<int64_t>(nNew) - nOld;
  if (SystemData.bScaleKeepsHitBottom())
    m_rcHit.dTop -= static_cast<double>(d * m_nBaseHitHeight);
  else
    m_rcHit.dTop -= static_cast<double>(d * m_nBaseGfxHeight - d * m_nBaseOffsetY);
  ConfineY();
}

void cCharaBase::SetCentre(int x, int y) {
  SetCentreX(x);
  SetCentreY(y);
}

void cCharaBase::SnapCentre(int x, int y, cCommandInstance& instance) {
  SetCentre(x, y);
  instance.m_dVx = instance.m_dVy = 0;
}

void cCharaBase::SetCentreX(int x) {
  const int64_t c = static_cast<int64_t>(m_rcScreen.nLeft) + (m_nGfxWidth >> 1);
  m_rcHit.dLeft += static_cast<double>(x - c);
  ConfineX();
}

void cCharaBase::SnapCentreX(int x, cCommandInstance& instance) {
  SetCentreX(x);
  instance.m_dVx = instance.m_dVy = 0;
}

void cCharaBase::SetCentreY(int y) {
  const int64_t c = static_cast<int64_t>(m_rcScreen.nTop) + (m_nGfxHeight >> 1);
  m_rcHit.dTop += static_cast<double>(y - c);
  ConfineY();
}

void cCharaBase::SnapCentreY(int y, cCommandInstance& instance) {
  SetCentreY(y);
  instance.m_dVx = instance.m_dVy = 0;
}

cCharaBase* cCharaBase::Target() const { return FindCharaById(m_nTargetId); }

void cCharaBase::SetTarget(cCharaBase& target) {
  m_nTargetId = target.m_nId;
  bool listed = false;
  for (int32_t id : target.m_vTargetedBy) listed = listed || id == m_nId;
  if (!listed) target.m_vTargetedBy.push_back(m_nId);
}

void cCharaBase::SetBasicAnimeSet(int n, int bForce) {
  if (!bForce && n == m_Def.m_nAnimeSet) return;
  m_Def.m_nAnimeSet = static_cast<int16_t>(n);
  const cEdAnimeSet& set = Database.m_vAnimeSet.At(n);
  cVector<ANIMEPATTERN> patterns;
  patterns.resize(set.m_vSetAnime.size());
  for (int i = 0; i < set.m_vSetAnime.Size(); ++i) {
    const cVector<cEdAnimeFrame>& frames = set.m_vSetAnime[i].m_vFrame;
    ANIMEPATTERN& pattern = patterns[i];
    for (const cEdAnimeFrame& frame : frames) {
      ANIMESTEP step;
      step.nFrame = frame.m_nCell;
      step.nTime = SaturatedTicks(frame.m_nTime, TICKS_PER_TENTH);
      step.bLock = 1;
      pattern.push_back(step);
    }
    ANIMESTEP loop;
    loop.nFrame = ANIMECODE_LOOP;
    loop.nTime = 0;
    loop.bLock = 1;
    pattern.push_back(loop);
  }
  m_Anime.SetPatterns(std::move(patterns));
}
