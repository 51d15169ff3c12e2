// Polling the keyboard and the joysticks into an input record.
#include <climits>

#include "media/input.h"
#include "media/key_config.h"

namespace {

// The fixed keys of buttons 1..8.
const int kButtonKeys[8] = {'Z', 'X', 'C', 'V', 'A', 'S', 'D', 'F'};

constexpr int kAssignLeft = 0, kAssignRight = 1, kAssignUp = 2, kAssignDown = 3, kAssignButton1 = 4;

int RetryFrames(int retry) {
  int64_t frames = static_cast<int64_t>(retry) * 2;
  return frames > INT_MAX ? INT_MAX : static_cast<int>(frames);
}

}  // namespace

cInput::cInput() : m_vDirRuns(INPUT_DIR_HISTORIES), m_vButtonRuns(INPUT_BUTTON_HISTORIES) {
  ClearHistory();
}

void cInput::SetJoyButtonMasks() {
  for (int i = 0; i < 8; ++i) m_awJoyMask[i] = static_cast<uint16_t>(1 << i);
}

int cInput::ReadJoystick(int id, int retry, plat::JoyState& joy) {
  if (id < 0 || id >= plat::kMaxJoysticks) return -1;
  if (!m_bJoyPresent[id] && m_nJoyRetry[id] >= 1) {
    --m_nJoyRetry[id];
    return -1;
  }
  if (!plat::ReadJoystick(id, joy)) {
    m_bJoyPresent[id] = 0;
    m_nJoyRetry[id] = RetryFrames(retry);
    return 0;
  }
  m_bJoyPresent[id] = 1;
  return 1;
}

bool cInput::TestJoyDirection(const plat::JoyState& joy, uint16_t code) {
  switch (code) {
    case JOYCODE_LEFT: return joy.dwXpos <= JOY_AXIS_LOW;
    case JOYCODE_RIGHT: return joy.dwXpos >= JOY_AXIS_HIGH;
    case JOYCODE_UP: return joy.dwYpos <= JOY_AXIS_LOW;
    case JOYCODE_DOWN: return joy.dwYpos >= JOY_AXIS_HIGH;
    default: return false;
  }
}

int cInput::PollDefault(int joyId, int flags, int retry) {
  if (KeyConfig.bAssign) return 0;
  bool joyDirection = false;
  bool joyButton = false;
  plat::JoyState joy;
  if (ReadJoystick(joyId, retry, joy) == 1 && (flags & INPUT_POLL_JOYSTICK)) {
    m_nDirNumber = 5;
    m_wDir = 0;
    if (joy.dwXpos <= JOY_AXIS_LOW) {
      m_wDir |= INPUT_LEFT;
      m_nDirNumber -= 1;
    } else if (joy.dwXpos >= JOY_AXIS_HIGH) {
      m_wDir |= INPUT_RIGHT;
      m_nDirNumber += 1;
    }
    if (joy.dwYpos <= JOY_AXIS_LOW) {
      m_wDir |= INPUT_UP;
      m_nDirNumber -= 3;
    } else if (joy.dwYpos >= JOY_AXIS_HIGH) {
      m_wDir |= INPUT_DOWN;
      m_nDirNumber += 3;
    }
    m_wButton = 0;
    for (int i = 0; i < 8; ++i)
      if (joy.dwButtons & m_awJoyMask[i]) m_wButton |= static_cast<uint16_t>(1 << i);
    joyDirection = m_wDir != 0;
    joyButton = m_wButton != 0;
  }
  if (!(flags & INPUT_POLL_KEYBOARD)) return 1;

  // The keyboard counts only for what the joystick did not give.
  if (!joyDirection) {
    m_nDirNumber = 5;
    m_wDir = 0;
    if (plat::IsKeyDown(VK_LEFT)) {
      m_wDir |= INPUT_LEFT;
      m_nDirNumber -= 1;
    }
    if (plat::IsKeyDown(VK_RIGHT)) {
      m_wDir |= INPUT_RIGHT;
      m_nDirNumber += 1;
    }
    if (plat::IsKeyDown(VK_UP)) {
      m_wDir |= INPUT_UP;
      m_nDirNumber -= 3;
    }
    if (plat::IsKeyDown(VK_DOWN)) {
      m_wDir |= INPUT_DOWN;
      m_nDirNumber += 3;
    }
  }
  if (joyButton) return 1;
  m_wButton = 0;
  for (int i = 0; i < 8; ++i)
    if (plat::IsKeyDown(kButtonKeys[i])) m_wButton |= static_cast<uint16_t>(1 << i);
  return 1;
}

int cInput::PollAssigned(int players, int retry) {
  if (!KeyConfig.bAssign) return 0;
  const KEYCONFIG& config = KeyConfig;
  int joysticks = config.nJoysticks;
  if (joysticks > plat::kMaxJoysticks) joysticks = plat::kMaxJoysticks;
  plat::JoyState joy[plat::kMaxJoysticks];
  int result[plat::kMaxJoysticks];
  for (int j = 0; j < plat::kMaxJoysticks; ++j) result[j] = -1;
  for (int j = 0; j < joysticks; ++j) result[j] = ReadJoystick(j, retry, joy[j]) == 1 ? 0 : -1;

  auto held = [&](const KEYASSIGN& entry, bool direction) {
    if (entry.nDevice == KEYDEVICE_KEYBOARD) return plat::IsKeyDown(entry.wCode);
    const int d = entry.nDevice;
    if (d < 0 || d >= joysticks || result[d] != 0) return false;
    if (direction && TestJoyDirection(joy[d], entry.wCode)) return true;
    return (entry.wCode & joy[d].dwButtons) != 0;
  };

  int keys = config.nKeys > KEYCONFIG_ENTRIES ? KEYCONFIG_ENTRIES : config.nKeys;
  // One key set exists; a larger player count would walk past it.
  for (int player = 0; player < players && player < 1; ++player) {
    m_nDirNumber = 5;
    m_wDir = 0;
    m_wButton = 0;
    if (held(config.Key[kAssignLeft], true)) {
      m_wDir |= INPUT_LEFT;
      m_nDirNumber -= 1;
    } else if (held(config.Key[kAssignRight], true)) {
      m_wDir |= INPUT_RIGHT;
      m_nDirNumber += 1;
    }
    if (held(config.Key[kAssignUp], true)) {
      m_wDir |= INPUT_UP;
      m_nDirNumber -= 3;
    } else if (held(config.Key[kAssignDown], true)) {
      m_wDir |= INPUT_DOWN;
      m_nDirNumber += 3;
    }
    for (int j = 0; kAssignButton1 + j < keys; ++j)
      if (held(config.Key[kAssignButton1 + j], false)) m_wButton |= static_cast<uint16_t>(1 << j);
  }
  return 1;
}

void cInput::ClearDirection() {
  m_wDir = 0;
  m_nDirNumber = 5;
}

void cInput::ClearButtons() { m_wButton = 0; }

int DirBitsToNumber(uint16_t dir) {
  int number = (dir & INPUT_LEFT) ? 4 : (dir & INPUT_RIGHT) ? 6 : 5;
  if (dir & INPUT_UP)
    number -= 3;
  else if (dir & INPUT_DOWN)
    number += 3;
  return number;
}
