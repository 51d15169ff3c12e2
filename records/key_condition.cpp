#include "records/key_condition.h"

void cEdKeyCondition::Reset() {
  Clear();
  m_vKeys.assign(KEYCONDITION_KEYS, 0);
}

void cEdKeyCondition::RegisterFields(int version) {
  ClearFields();
  AddByte(&m_bFacingRelative);
  AddWord(&m_nMinFrames);
  AddWord(&m_nMaxFrames);
  AddByte(&m_bAnyLength);
  AddByte(&m_nMode);
}

void cEdKeyCondition::Load(cDataReader& r) {
  cRecord::Load(r);
  uint32_t n = r.ReadCount(1);
  m_vKeys.resize(n, 0);
  if (n) r.ReadBytes(m_vKeys.data(), n);
}

void cEdKeyCondition::Save(cDataWriter& w) {
  cRecord::Save(w);
  w.WriteU32(static_cast<uint32_t>(m_vKeys.size()));
  if (!m_vKeys.empty()) w.WriteBytes(m_vKeys.data(), m_vKeys.size());
}
