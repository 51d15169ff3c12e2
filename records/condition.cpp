#include "records/condition.h"

#include "records/command_vocab.h"

namespace {
// A stored byte value moved up by n, never wrapping past 255 (a value past
// the table stays past it).
uint8_t RaiseByte(uint8_t value, int n) { return static_cast<uint8_t>(value + n > 255 ? 255 : value + n); }

// Statuses from `first` on moved up by one when a status was inserted before
// them; system values (subject 2) kept their numbers.
void ShiftStatuses(cEdCondition& c, int first) {
  if (c.m_nLeftKind == VALUEKIND_STATUS && c.m_nSubject != SUBJECT_SYSTEM && c.m_nItem >= first)
    c.m_nItem = RaiseByte(c.m_nItem, 1);
  if (c.m_nOperandKind == OPERAND_STATUS && c.m_nOperandSubject != SUBJECT_SYSTEM && c.m_nOperandItem >= first)
    c.m_nOperandItem = RaiseByte(c.m_nOperandItem, 1);
}
}  // namespace

void cEdCondition::RegisterFields(int version) {
  ClearFields();
  AddByte(&m_nType);
  AddDword(&m_nConst);
  if (version >= 110) {
    AddDword(&m_nRandMin);
    AddDword(&m_nRandMax);
    AddByte(&m_nSubject);
    AddByte(&m_nItem);
  } else {
    AddWord(&DiscardWord);
    AddWord(&DiscardWord);
  }
  if (version >= 110) {
    AddByte(&m_nLeftKind);
    AddByte(&m_nLeftVarKind);
    AddWord(&m_nIndex);
    AddByte(&m_nOperandKind);
    AddByte(&m_nOperandSubject);
    AddByte(&m_nOperandItem);
    AddByte(&m_nOperandVarKind);
    AddWord(&m_nOperandIndex);
  }
  AddByte(&m_nCompare);
  if (version >= 43) AddByte(&m_bPercent);
  AddByte(&m_nAxis);
}

void cEdCondition::Load(cDataReader& r) {
  cRecord::Load(r);
  const int version = r.Version();
  if (version >= DATA_VERSION) return;
  // Two state types came before the distance condition in 160.
  if (version < 160 && m_nType >= CONDTYPE_STATE) m_nType = RaiseByte(m_nType, 2);
  // "On a block" was stored negated up to 160.
  if (version <= 160 && m_nType == CONDTYPE_SITUATION && m_nItem == SITUATION_ON_BLOCK) m_nCompare ^= 1;
  if (version < 168 && m_nType == CONDTYPE_STATUS) ShiftStatuses(*this, 10);
  if (version < 203 && m_nType == CONDTYPE_STATUS) ShiftStatuses(*this, 5);
  if (version < 210 && m_nType == CONDTYPE_STATE && m_nSubject != SUBJECT_SYSTEM && m_nItem >= 6)
    m_nItem = RaiseByte(m_nItem, 1);
  if (version <= 656 && m_nType == CONDTYPE_DISTANCE) m_nSubject = 0;
}
