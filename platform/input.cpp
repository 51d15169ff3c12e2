#include "platform/input.h"

#include <atomic>

#include "platform/input_devices.h"

namespace plat {
namespace {

std::atomic<bool> g_keys[kKeyCount];
// A joystick's axes and buttons in one word, so a reader never sees half an
// update: X in bits 0-15, Y in bits 16-31, the buttons in bits 32-63.
std::atomic<uint64_t> g_joyState[kMaxJoysticks];
std::atomic<bool> g_joyPresent[kMaxJoysticks];
std::atomic<int> g_scripts{0};

uint64_t Pack(const JoyState& s) {
  auto axis = [](uint32_t v) -> uint64_t { return v > 65535 ? 65535 : v; };
  return axis(s.dwXpos) | (axis(s.dwYpos) << 16) | (static_cast<uint64_t>(s.dwButtons) << 32);
}

JoyState Unpack(uint64_t v) {
  JoyState s;
  s.dwXpos = static_cast<uint32_t>(v & 0xFFFF);
  s.dwYpos = static_cast<uint32_t>((v >> 16) & 0xFFFF);
  s.dwButtons = static_cast<uint32_t>(v >> 32);
  return s;
}

bool ValidKey(int vk) { return vk >= 0 && vk < kKeyCount; }
bool ValidJoystick(int id) { return id >= 0 && id < kMaxJoysticks; }

void SetKey(int vk, bool down) {
  if (ValidKey(vk)) g_keys[vk].store(down);
}

void SetJoystick(int id, const JoyState* state) {
  if (!ValidJoystick(id)) return;
  if (state) {
    g_joyState[id].store(Pack(*state));
    g_joyPresent[id].store(true);
  } else {
    g_joyPresent[id].store(false);
  }
}

void ClearAll() {
  for (auto& key : g_keys) key.store(false);
  for (auto& present : g_joyPresent) present.store(false);
}

}  // namespace

bool IsKeyDown(int vk) { return ValidKey(vk) && g_keys[vk].load(); }

bool ReadJoystick(int id, JoyState& out) {
  if (!ValidJoystick(id) || !g_joyPresent[id].load()) return false;
  out = Unpack(g_joyState[id].load());
  return true;
}

ScriptedInput::ScriptedInput() {
  ++g_scripts;
  ClearAll();
}

ScriptedInput::~ScriptedInput() {
  ClearAll();
  --g_scripts;
}

void ScriptedInput::Press(int vk) { SetKey(vk, true); }
void ScriptedInput::Release(int vk) { SetKey(vk, false); }
void ScriptedInput::ReleaseAll() {
  for (auto& key : g_keys) key.store(false);
}
void ScriptedInput::Plug(int id, const JoyState& state) { SetJoystick(id, &state); }
void ScriptedInput::Unplug(int id) { SetJoystick(id, nullptr); }

namespace detail {

void SetKeyFromDevice(int vk, bool down) {
  if (g_scripts.load() != 0) return;
  SetKey(vk, down);
  // The side-less codes are held while either side is.
  if (vk == VK_LSHIFT || vk == VK_RSHIFT) SetKey(VK_SHIFT, IsKeyDown(VK_LSHIFT) || IsKeyDown(VK_RSHIFT));
  if (vk == VK_LCONTROL || vk == VK_RCONTROL)
    SetKey(VK_CONTROL, IsKeyDown(VK_LCONTROL) || IsKeyDown(VK_RCONTROL));
  if (vk == VK_LMENU || vk == VK_RMENU) SetKey(VK_MENU, IsKeyDown(VK_LMENU) || IsKeyDown(VK_RMENU));
}

void SetJoystickFromDevice(int id, const JoyState* state) {
  if (g_scripts.load() == 0) SetJoystick(id, state);
}

void ReleaseKeysFromDevice() {
  if (g_scripts.load() != 0) return;
  for (auto& key : g_keys) key.store(false);
}

}  // namespace detail
}  // namespace plat
