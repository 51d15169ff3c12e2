#include "records/flow.h"

#include "records/command_vocab.h"
#include "records/started_by_editor.h"
#include "records/system.h"

namespace {
// A trigger moved up by n when triggers were inserted before it, never
// wrapping past 255 (a value past the table stays past it).
uint8_t RaiseTrigger(uint8_t trigger, int n) {
  return static_cast<uint8_t>(trigger + n > 255 ? 255 : trigger + n);
}
}  // namespace

cEdFlow::cEdFlow() {
  Clear();
  m_nKeySlack = 3;
}

void cEdFlow::RegisterFields(int version) {
  ClearFields();
  if (version >= 676) AddString(&m_strName);
  AddByte(&m_nId);
  AddByte(&m_nSwitch);
  AddByte(&m_bTestOnly);
  AddByte(&m_nCondMode);
  AddByte(&m_bCondOnce);
  AddByte(&m_nTrigger);
  AddByte(&m_nKeySlack);
  AddByte(&m_bKeyRepeat);
}

void cEdFlow::Load(cDataReader& r) {
  cRecord::Load(r);
  LoadRecordList(m_vConditions, r);
  LoadRecordList(m_vKeyConditions, r);
  LoadRecordList(m_vCommands, r);
  const int version = r.Version();
  if (version < DATA_VERSION) {
    // Triggers inserted into the list: one at 11 after 131, two at 5 in 164.
    if (version <= 131 && m_nTrigger >= 11) m_nTrigger = RaiseTrigger(m_nTrigger, 1);
    // Switch letters belong to always-flows only.
    if (version < 163 && m_nTrigger != FLOWTRIGGER_ALWAYS) m_nSwitch = 0;
    if (version < 164 && m_nTrigger >= 5) m_nTrigger = RaiseTrigger(m_nTrigger, 2);
  }
  m_strName.clear();
  Normalise();
}

void cEdFlow::Save(cDataWriter& w) {
  Normalise();
  cRecord::Save(w);
  SaveRecordList(m_vConditions, w);
  SaveRecordList(m_vKeyConditions, w);
  SaveRecordList(m_vCommands, w);
}

void cEdFlow::Normalise() {
  for (cEdCommand& c : m_vCommands) c.Normalise();
}

void cEdFlow::NormaliseCommands() {
  for (cEdCommand& c : m_vCommands) c.ValidatePaletteRefs();
}

void RemoveFlaggedFlows(cVector<cEdFlow>& flows) {
  for (int i = 0; i < flows.Size();) {
    if (flows[i].m_bTestOnly)
      flows.erase(flows.begin() + i);
    else
      ++i;
  }
}

bool KeepTestOnlyFlows() { return bFromEditor.load() != 0 || SystemData.m_bKeepTestOnlyFlows != 0; }
