#include "records/save_elements.h"

// None of the three has a version gate.

void cHeroStatus::RegisterFields(int) {
  ClearFields();
  AddDword(&m_nHp);
  AddDword(&m_nSp);
  AddDword(&m_nTime);
  AddDword(&m_nLives);
  AddDword(&m_nStageBgm);
}

void cHeroStatus::Load(cDataReader& r) {
  cRecord::Load(r);
  m_Chara.Load(r);
}

void cHeroStatus::Save(cDataWriter& w) {
  cRecord::Save(w);
  m_Chara.Save(w);
}

void cStageTally::RegisterFields(int) {
  ClearFields();
  AddString(&m_strStage);
  AddDword(&m_nValue);
}

void cChallengeRecord::RegisterFields(int) {
  ClearFields();
  AddDword(&m_bCleared);
  AddDword(&m_nBestScore);
}
