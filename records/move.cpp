#include "records/move.h"

cEdMove::cEdMove() {
  Clear();
  m_bAngleMirror = 1;
  m_bUseTargetX = 1;
  m_bUseTargetY = 1;
  m_bTimeToTarget = 1;
  m_bMirrorTargetX = 1;
  m_bReverseOnTurn = 1;
  m_nSpeed = 10;
  m_dInertiaFactor = 1.0;
}

void cEdMove::RegisterFields(int version) {
  ClearFields();
  AddByte(&m_nSpec);
  AddByte(&m_nDirCode);
  AddWord(&m_nAngle);
  AddWord(&m_nAngleStep);
  if (version >= 158) AddByte(&m_bAngleMirror);
  AddByte(&m_bUseTargetX);
  AddByte(&m_bUseTargetY);
  AddWord(&m_nTargetX);
  AddWord(&m_nTargetY);
  AddWord(&m_nTargetDotX);
  AddWord(&m_nTargetDotY);
  AddByte(&m_nCoordBase);
  AddByte(&m_bTimeToTarget);
  AddByte(&m_bNoMoveX);
  AddByte(&m_bNoMoveY);
  AddByte(&m_bMirrorTargetX);
  AddByte(&m_bMirrorTargetY);
  AddByte(&m_bReverseOnTurn);
  AddByte(&m_bStopAtTarget);
  if (version >= 162) AddByte(&m_bKeepFacing);
  AddByte(&m_nTiming);
  AddWord(&m_nSpeed);
  AddWord(&m_nSpeedStep);
  AddWord(&m_nDistance);
  AddWord(&m_nDistanceStep);
  if (version >= 159) AddByte(&m_nDistanceUnit);
  AddWord(&m_nHomingLag);
  AddWord(&m_nHomingLagStep);
  AddByte(&m_bInertia);
  AddWord(&m_nMaxSpeed);
  AddQword(&m_dInertiaFactor);
  if (version >= 162) AddByte(&m_bKeepAnime);
}

void cEdMove::Load(cDataReader& r) {
  cRecord::Load(r);
  const int version = r.Version();
  if (version < 158) m_bAngleMirror = 0;
  if (version < 159) m_nDistanceUnit = 0;
  if (version < 162) m_bKeepFacing = m_bKeepAnime = 0;
}

void CreateEdMove(std::shared_ptr<cEdMove>& holder) { holder = std::make_shared<cEdMove>(); }
