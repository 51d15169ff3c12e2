#include "records/save_data.h"

void cSaveData::Reset() {
  m_nMapX = 0;
  m_nMapY = 0;
  m_nAreaNo = 0;
  m_nWalkDir = 0;
  m_nLives = 0;
  m_nStageScore = 0;
  m_nTotalScore = 0;
  m_vCommonVar.clear();
  m_vCommonVar.resize(COMMON_VAR_COUNT, 0);
  m_bHeroStart = 0;
  m_nHeroStartX = 0;
  m_nHeroStartY = 0;
  m_nHeroStartDir = 0;
}
