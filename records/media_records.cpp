#include "records/media_records.h"

#include <cstdint>

#include "base/checked_convert.h"

void cEdNameFileRecord::RegisterFields(int version) {
  ClearFields();
  AddString(&m_strName);
  if (version >= 151) AddDword(&m_nAux);
  AddString(&m_strFile);
}

void cEdNameFileRecord::Load(cDataReader& r) {
  cRecord::Load(r);
  if (r.Version() < 153) m_nAux = 0;
}

void cEdSound::RegisterFields(int version) {
  ClearFields();
  AddString(&m_strName);
  AddString(&m_strFile);
  if (version >= 151) AddDword(&m_nAux);
}

cEdBmpCharaExc::cEdBmpCharaExc() {
  Clear();
  m_bLargeCell = 0;
  m_nCellScale = 2;
}

void cEdBmpCharaExc::RegisterFields(int version) {
  ClearFields();
  AddString(&m_strName);
  if (version >= 152) AddDword(&m_nAux);
  AddString(&m_strFile);
  if (version >= 172) {
    AddDword(&m_bLargeCell);
    AddDword(&m_nCellScale);
  }
}

int cEdBmpCharaExc::CellScale() const {
  if (m_nCellScale < 1) return 1;
  if (m_nCellScale > 16) return 16;
  return m_nCellScale;
}

void cEdBmpCharaExc::CellOrigin(int n, int& x, int& y) const {
  int perRow = CellsPerRow();
  int64_t side = CellSide();
  x = SaturateToInt(static_cast<int64_t>(n % perRow) * side);
  y = SaturateToInt(static_cast<int64_t>(n / perRow) * side);
}
