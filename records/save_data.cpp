#include "records/save_data.h"

void cSaveData::Reset() {
  m_nLives = 0;
  m_nStageScore = 0;
  m_nTotalScore = 0;
  m_vCommonVar.clear();
  m_vCommonVar.resize(COMMON_VAR_COUNT, 0);
}
