// The replay record's data: registration, clearing and assignment.
#include "records/replay_input.h"

cReplayInput::cReplayInput() { Clear(); }

void cReplayInput::RegisterFields(int version) {
  (void)version;
  ClearFields();
  AddDword(&m_nSeed);
}

void cReplayInput::Clear() {
  cRecord::Clear();
  m_vDirValues.clear();
  m_vButtonValues.clear();
  m_vDirRuns.clear();
  m_vButtonRuns.clear();
  m_nDirIndex = m_nButtonIndex = 0;
  m_nDirPos = m_nButtonPos = 0;
}

void cReplayInput::Assign(const cReplayInput& other) {
  if (this == &other) return;
  m_vDirValues = other.m_vDirValues;
  m_vButtonValues = other.m_vButtonValues;
  m_vDirRuns = other.m_vDirRuns;
  m_vButtonRuns = other.m_vButtonRuns;
  m_nSeed = other.m_nSeed;
}
