// The stage's input rings and the run histories of the key conditions.
#include <climits>

#include "media/input.h"

namespace {

void Record(INPUTRING* ring, int32_t& pos, uint16_t value) {
  INPUTRING& current = ring[pos];
  if (current.wValue == value) {
    if (current.nFrames < INT_MAX) ++current.nFrames;
    return;
  }
  pos = (pos + 1) % INPUT_RING_SIZE;
  ring[pos] = {value, 1};
}

uint16_t Lookup(const INPUTRING* ring, int32_t pos, int framesAgo) {
  int64_t ago = static_cast<int64_t>(framesAgo) + 1;
  for (int i = 0; i < INPUT_RING_SIZE; ++i) {
    if (ring[pos].nFrames >= ago) break;
    ago -= ring[pos].nFrames;
    pos = (pos + INPUT_RING_SIZE - 1) % INPUT_RING_SIZE;
  }
  return ring[pos].wValue;
}

// Direction run histories 0..8: the exact direction word that counts as on.
const uint16_t kDirRunValues[INPUT_DIR_HISTORIES - 1] = {
    0,                         // none
    INPUT_LEFT,
    INPUT_RIGHT,
    INPUT_UP,
    INPUT_DOWN,
    INPUT_LEFT | INPUT_UP,
    INPUT_LEFT | INPUT_DOWN,
    INPUT_RIGHT | INPUT_UP,
    INPUT_RIGHT | INPUT_DOWN,
};

}  // namespace

void cInput::ClearHistory() {
  for (int i = 0; i < INPUT_RING_SIZE; ++i) {
    m_aDirRing[i] = {0, 0};
    m_aButtonRing[i] = {0, 0};
  }
  m_nDirRingPos = 0;
  m_nButtonRingPos = 0;
}

void cInput::RecordHistory() {
  Record(m_aDirRing, m_nDirRingPos, m_wDir);
  Record(m_aButtonRing, m_nButtonRingPos, m_wButton);
}

uint16_t cInput::GetHistory(int which, int framesAgo) const {
  return which == 0 ? Lookup(m_aDirRing, m_nDirRingPos, framesAgo)
                    : Lookup(m_aButtonRing, m_nButtonRingPos, framesAgo);
}

void cInput::ResetRunHistories() {
  for (INPUTRUNS& runs : m_vDirRuns) runs.assign(INPUT_RUN_COUNT, INPUTRUN{0, 0});
  for (INPUTRUNS& runs : m_vButtonRuns) runs.assign(INPUT_RUN_COUNT, INPUTRUN{0, 0});
}

void cInput::PushRun(INPUTRUNS& runs, uint16_t value, uint16_t key, int bAny) {
  if (runs.empty()) runs.assign(INPUT_RUN_COUNT, INPUTRUN{0, 0});
  const int32_t on = bAny ? ((value & key) != 0) : (value == key);
  INPUTRUN& newest = runs.front();
  if (on != newest.bOn) {
    runs.insert(runs.begin(), INPUTRUN{on, 1});
    runs.pop_back();
  } else if (newest.nFrames < INT_MAX) {
    ++newest.nFrames;
  }
}

void cInput::UpdateRunHistories() {
  for (int i = 0; i < INPUT_DIR_HISTORIES - 1; ++i)
    PushRun(m_vDirRuns.At(i), m_wDir, kDirRunValues[i], 0);
  PushRun(m_vDirRuns.At(INPUT_DIR_HISTORIES - 1), m_wDir, 15, 1);
  PushRun(m_vButtonRuns.At(0), m_wButton, 0, 0);
  for (int n = 1; n < INPUT_BUTTON_HISTORIES; ++n)
    PushRun(m_vButtonRuns.At(n), m_wButton, static_cast<uint16_t>(1 << (n - 1)), 1);
}
