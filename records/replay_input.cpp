// The replay record: registration, clearing, assignment and its segment.
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
  m_strFile.clear();
}

void cReplayInput::Assign(const cReplayInput& other) {
  if (this == &other) return;
  m_vDirValues = other.m_vDirValues;
  m_vButtonValues = other.m_vButtonValues;
  m_vDirRuns = other.m_vDirRuns;
  m_vButtonRuns = other.m_vButtonRuns;
  m_nSeed = other.m_nSeed;
}

namespace {

template <class T>
void LoadWords(cVector<T>& list, cDataReader& r) {
  const uint32_t n = r.ReadCount(sizeof(T));
  list.clear();
  list.resize(n, 0);
  for (uint32_t i = 0; i < n; ++i) {
    if constexpr (sizeof(T) == 2)
      list[i] = static_cast<T>(r.ReadI16());
    else
      list[i] = static_cast<T>(r.ReadU32());
  }
}

template <class T>
void SaveWords(const cVector<T>& list, cDataWriter& w) {
  w.WriteU32(static_cast<uint32_t>(list.size()));
  for (T v : list) {
    if constexpr (sizeof(T) == 2)
      w.WriteI16(static_cast<int16_t>(v));
    else
      w.WriteU32(v);
  }
}

}  // namespace

void cReplayInput::Load(cDataReader& r) {
  cRecord::Load(r);
  LoadWords(m_vDirValues, r);
  LoadWords(m_vButtonValues, r);
  LoadWords(m_vDirRuns, r);
  LoadWords(m_vButtonRuns, r);
}

void cReplayInput::Save(cDataWriter& w) {
  cRecord::Save(w);
  SaveWords(m_vDirValues, w);
  SaveWords(m_vButtonValues, w);
  SaveWords(m_vDirRuns, w);
  SaveWords(m_vButtonRuns, w);
}
