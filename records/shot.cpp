#include "records/shot.h"

#include "records/database.h"

cEdShot::cEdShot() {
  Clear();
  m_bAngleMirror = 1;
  m_bMirrorOffsetX = 1;
  m_bUserSide = 1;
  m_nScale = 1;
}

void cEdShot::RegisterFields(int version) {
  ClearFields();
  AddByte(&m_nCount);
  AddByte(&m_nForm);
  AddWord(m_nFormParam, SHOTKIND_PARAMS);
  if (version >= 671) AddByte(&m_nFormCentre);
  AddByte(&m_nDirCode);
  AddByte(&m_bAim);
  AddWord(&m_nAngle);
  AddWord(&m_nAngleStep);
  if (version >= 158) AddByte(&m_bAngleMirror);
  AddWord(&m_nSpread);
  AddByte(&m_nFormVariant);
  AddByte(&m_nClones);
  AddWord(&m_nOffsetX);
  AddWord(&m_nOffsetXStep);
  AddWord(&m_nOffsetY);
  AddWord(&m_nOffsetYStep);
  AddByte(&m_bMirrorOffsetX);
  AddByte(&m_bMirrorOffsetY);
  AddWord(&m_nGraphic);
  AddByte(&m_nZ);
  AddByte(&m_bTransparent);
  AddByte(&m_bUserSide);
  AddByte(&m_nSide);
  AddByte(&m_nSpareA);
  AddByte(&m_nScale);
  AddByte(&m_nSpareB);
  AddByte(&m_nPath);
  AddWord(m_nPathParam, SHOTKIND_PARAMS);
  if (version >= 211) AddByte(&m_bAimDirect);
  AddWord(&m_nSpeed);
  AddWord(&m_nSpeedStep);
  if (version >= 213) {
    AddByte(&m_bAccel);
    AddWord(&m_nAccel);
    AddWord(&m_nAccelStep);
  }
  AddWord(&m_nRange);
  AddByte(&m_bRangeLimit);
  AddWord(&m_nRangeStep);
  AddByte(&m_bStraightAtRangeEnd);
  AddByte(&m_bLifeLimit);
  AddWord(&m_nLife);
  AddWord(&m_nLifeStep);
  AddByte(&m_bPassBlocks);
  AddByte(&m_bPierce);
  if (version >= 636) AddByte(&m_bPierceBlockChara);
  AddByte(&m_bClash);
  AddByte(&m_nVanish);
  AddDword(&m_nPower);
  AddWord(&m_nSpareC);
  AddByte(&m_nImpact);
  AddWord(&m_nHitEffect);
  AddByte(&m_nItemKind);
  AddWord(&m_nItemIndex);
  AddByte(&m_nSummonMode);
  AddByte(&m_bSummonOffHero);
  if (version >= 197) AddByte(&m_bSummonOffChara);
  AddByte(&m_nSummonPalette);
  AddWord(&m_nSummonIndex);
  AddByte(&m_nSummonSide);
  AddByte(&m_nSpareD);
  AddByte(&m_bSummonReverse);
}

void cEdShot::Load(cDataReader& r) {
  cRecord::Load(r);
  const int version = r.Version();
  if (version < 158) m_bAngleMirror = 0;
  if (version < 197) m_bSummonOffChara = m_bSummonOffHero;
  // Homing trajectories aimed at the target's present centre before 212.
  if (version < 212) m_bAimDirect = m_nPath >= SHOTPATH_HOME_HERO && m_nPath <= SHOTPATH_HOME_NEAREST_RETARGET;
  if (version < 213) m_bAccel = m_nAccel = m_nAccelStep = 0;
  if (version < 636) m_bPierceBlockChara = m_bPierce;
  if (version < 671) m_nFormCentre = 0;
  Validate();
}

void cEdShot::Save(cDataWriter& w) {
  Validate();
  cRecord::Save(w);
}

void cEdShot::Validate() {
  if (m_nScale <= 0) m_nScale = 1;
  if (m_nHitEffect < 0 || m_nHitEffect >= Database.m_vEffect.Size()) m_nHitEffect = 0;
}

double cEdShot::GetOffsetX(int n, int facing) const {
  double x = static_cast<double>(n) * m_nOffsetXStep + m_nOffsetX;
  return facing == 1 && m_bMirrorOffsetX ? -x : x;
}

double cEdShot::GetOffsetY(int n, int facing) const {
  double y = static_cast<double>(n) * m_nOffsetYStep + m_nOffsetY;
  return facing == 1 && m_bMirrorOffsetY ? -y : y;
}

void CreateEdShot(std::shared_ptr<cEdShot>& holder) { holder = std::make_shared<cEdShot>(); }
