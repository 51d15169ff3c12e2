#include "records/stage_parts.h"

void cEdOffScreenRule::RegisterFields(int version) {
  ClearFields();
  AddDword(&m_bLeft);
  if (version >= 125) {
    AddDword(&m_bRight);
    AddDword(&m_bTop);
    AddDword(&m_bBottom);
  }
  AddDword(&m_nLeftMargin);
  AddDword(&m_nRightMargin);
  AddDword(&m_nTopMargin);
  AddDword(&m_nBottomMargin);
}

void cEdOffScreenRule::Set(int32_t bLeft, int32_t bRight, int32_t bTop, int32_t bBottom,
                           int32_t nLeftMargin, int32_t nRightMargin, int32_t nTopMargin,
                           int32_t nBottomMargin) {
  m_bLeft = bLeft;
  m_bRight = bRight;
  m_bTop = bTop;
  m_bBottom = bBottom;
  m_nLeftMargin = nLeftMargin;
  m_nRightMargin = nRightMargin;
  m_nTopMargin = nTopMargin;
  m_nBottomMargin = nBottomMargin;
}

void cEdBackground::Reset() {
  Clear();
  m_bVisible = 1;
  m_nColor = 16;
  m_dScrollX = 0.1;
  m_dScrollY = 0.1;
}

// Version 61 added the scroll factors and the drift switches, 62 the
// visibility and the drift offsets; the values the older layouts held in
// their places are read and thrown away.
void cEdBackground::RegisterFields(int version) {
  ClearFields();
  if (version >= 62) AddDword(&m_bVisible);
  AddDword(&m_bFillColor);
  AddDword(&m_nColor);
  AddDword(&m_bFront);
  if (version >= 61) {
    AddQword(&m_dScrollX);
    AddQword(&m_dScrollY);
    AddDword(&m_bAutoScrollX);
    AddDword(&m_bAutoScrollY);
  } else {
    AddDword(&DiscardDword);
    AddDword(&DiscardDword);
  }
  AddString(&m_strFile);
  if (version >= 62) {
    AddQword(&m_dOffsetX);
    AddQword(&m_dOffsetY);
  } else if (version == 61) {
    AddDword(&DiscardDword);
    AddDword(&DiscardDword);
  }
}

void cEdTextRecord::RegisterFields(int version) {
  ClearFields();
  AddString(&m_strText);
}
