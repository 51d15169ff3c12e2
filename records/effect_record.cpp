#include "records/effect_record.h"

cEdEffectFrame::cEdEffectFrame() {
  Clear();
  m_nTime = 1;
}

void cEdEffectFrame::RegisterFields(int) {
  ClearFields();
  AddDword(&m_nCell);
  AddDword(&m_nTime);
}

cEdEffect::cEdEffect() { Reset(); }

void cEdEffect::Reset() {
  Clear();
  m_bScaleWithOwner = 0;
  m_nWidth = 32;
  m_nHeight = 32;
}

void cEdEffect::RegisterFields(int version) {
  ClearFields();
  AddString(&m_strName);
  if (version >= 151) AddDword(&m_nAux);
  AddString(&m_strFile);
  AddDword(&m_nWidth);
  AddDword(&m_nHeight);
  AddDword(&m_bScaleWithOwner);
}

void cEdEffect::Load(cDataReader& r) {
  cRecord::Load(r);
  LoadRecordList(m_vFrame, r);
  if (r.Version() < 153) m_nAux = 0;
}

void cEdEffect::Save(cDataWriter& w) {
  cRecord::Save(w);
  SaveRecordList(m_vFrame, w);
}
