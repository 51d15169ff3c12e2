#include "records/user_settings.h"

cOptionData::cOptionData() {
  Clear();
  m_nPalette = 0;
  m_bBgm = 1;
  m_nSeVolume = 7;
  m_nRankingMode = 0;
  m_strRankingName = "aaa";
}

void cOptionData::RegisterFields(int) {
  ClearFields();
  AddDword(&m_nPalette);
  AddDword(&m_bBgm);
  AddDword(&m_nSeVolume);
  AddDword(&m_nRankingMode);
  AddString(&m_strRankingName);
}

cBootData::cBootData() {
  Clear();
  m_nDrawMode = 1;
  m_bNoAsk = 0;
}

void cBootData::RegisterFields(int) {
  ClearFields();
  AddDword(&m_nDrawMode);
  AddDword(&m_bNoAsk);
}
