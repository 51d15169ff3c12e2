// Recording and playback of the replay's input streams: each word in runs
// of equal values, with a cursor of its own.
#include <limits>

#include "records/replay_input.h"

namespace {

void Append(cVector<uint16_t>& values, cVector<uint32_t>& runs, uint16_t word) {
  // A run at its counter's end goes on in a new entry of the same value.
  if (!values.empty() && values.size() == runs.size() && values.back() == word &&
      runs.back() < std::numeric_limits<uint32_t>::max()) {
    ++runs.back();
    return;
  }
  values.push_back(word);
  runs.push_back(1);
}

bool Exhausted(const cVector<uint16_t>& values, const cVector<uint32_t>& runs, int32_t index) {
  return index < 0 || static_cast<size_t>(index) >= values.size() || static_cast<size_t>(index) >= runs.size();
}

uint16_t Take(const cVector<uint16_t>& values, const cVector<uint32_t>& runs, int32_t& index, int32_t& pos) {
  const size_t i = static_cast<size_t>(index);
  const uint16_t word = values[i];
  // A run longer than the cursor can count ends where the count does.
  if (pos < std::numeric_limits<int32_t>::max()) ++pos;
  if (static_cast<uint32_t>(pos) >= runs[i] || pos == std::numeric_limits<int32_t>::max()) {
    pos = 0;
    ++index;
  }
  return word;
}

}  // namespace

void cReplayInput::RecordFrame(uint16_t dir, uint16_t buttons) {
  Append(m_vDirValues, m_vDirRuns, dir);
  Append(m_vButtonValues, m_vButtonRuns, buttons);
}

int cReplayInput::PlayFrame(uint16_t& dir, uint16_t& buttons) {
  if (Exhausted(m_vDirValues, m_vDirRuns, m_nDirIndex) || Exhausted(m_vButtonValues, m_vButtonRuns, m_nButtonIndex))
    return 1;
  if (m_nDirPos < 0) m_nDirPos = 0;
  if (m_nButtonPos < 0) m_nButtonPos = 0;
  dir = Take(m_vDirValues, m_vDirRuns, m_nDirIndex, m_nDirPos);
  buttons = Take(m_vButtonValues, m_vButtonRuns, m_nButtonIndex, m_nButtonPos);
  return 0;
}
