// The menus' view of the input: auto-repeat of the directions and one
// press per hold of the buttons.
#include <climits>

#include "media/input.h"

namespace {

constexpr uint16_t kHorizontal = INPUT_LEFT | INPUT_RIGHT;
constexpr uint16_t kVertical = INPUT_UP | INPUT_DOWN;

// One direction pair: passes on a change, then after the delay at every
// interval (an interval of 0 never repeats).
void RepeatPair(uint16_t& dir, uint16_t history, uint16_t pair, int32_t& count, uint32_t delay,
                uint32_t interval) {
  const uint16_t now = history & pair;
  const uint16_t before = (history >> 4) & pair;
  if (now != before) {
    count = 0;
    return;
  }
  if (count < INT_MAX) ++count;
  const uint32_t held = static_cast<uint32_t>(count);
  if (held < delay || interval == 0 || held % interval != 0) dir &= static_cast<uint16_t>(~pair);
}

}  // namespace

void cInput::SetRepeat(uint32_t delay, uint32_t interval) {
  m_nRepeatDelay = delay;
  m_nRepeatInterval = interval;
}

void cInput::ApplyRepeat() {
  m_wDirHistory = static_cast<uint16_t>((m_wDirHistory << 4) | m_wDir);
  RepeatPair(m_wDir, m_wDirHistory, kHorizontal, m_nRepeatCountH, m_nRepeatDelay, m_nRepeatInterval);
  RepeatPair(m_wDir, m_wDirHistory, kVertical, m_nRepeatCountV, m_nRepeatDelay, m_nRepeatInterval);
}

void cInput::LatchButtons(uint16_t mask) {
  if (mask == 0) mask = INPUT_ALL_BUTTONS;
  const uint16_t down = m_wButton & mask;
  if (!m_bLatch) {
    if (down) m_bLatch = 1;
    return;
  }
  m_wButton &= static_cast<uint16_t>(~mask);
  if (!down) m_bLatch = 0;
}
