#include "records/sword_type.h"

cEdSwordFrame::cEdSwordFrame() {
  Clear();
  m_bMirrorX = 1;
}

void cEdSwordFrame::RegisterFields(int version) {
  ClearFields();
  AddDword(&m_nOffsetX);
  AddDword(&m_nOffsetY);
  if (version >= 138) {
    AddDword(&m_bMirrorX);
    AddDword(&m_bMirrorY);
  }
  AddDword(&m_nPlace);
  AddDword(&m_nSrcX);
  AddDword(&m_nSrcY);
  AddDword(&m_nWidth);
  AddDword(&m_nHeight);
  AddDword(&m_nTime);
}

cEdSwordType::cEdSwordType() { Reset(); }

void cEdSwordType::Reset() {
  Clear();
  m_vFrame.clear();
  m_vFrame.push_back(cEdSwordFrame());
  m_vFrame[0].m_nTime = 1;
}

void cEdSwordType::RegisterFields(int version) {
  ClearFields();
  AddString(&m_strName);
  if (version >= 151) AddDword(&m_nAux);
  AddString(&m_strFileL);
  AddString(&m_strFileR);
}

void cEdSwordType::Load(cDataReader& r) {
  cRecord::Load(r);
  LoadRecordList(m_vFrame, r);
  if (r.Version() < 153) m_nAux = 0;
}

void cEdSwordType::Save(cDataWriter& w) {
  cRecord::Save(w);
  SaveRecordList(m_vFrame, w);
}
