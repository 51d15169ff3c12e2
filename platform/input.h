#pragma once
// The keyboard, the mouse buttons and the joysticks as the game and the
// dialogs read them. The main thread's pump writes the key table and the
// joystick snapshots from the window system's events (events pushed by tests
// count as well); any thread reads them, at any time, without waiting. Keys
// are named by the virtual-key codes of platform/virtual_keys.h.
#include <cstdint>

#include "platform/virtual_keys.h"

namespace plat {

constexpr int kKeyCount = 256;      // virtual-key codes 0..255
constexpr int kMaxJoysticks = 16;   // joystick ids 0..15

// One joystick as a poll sees it: axes from 0 (left, up) over 32768 (centre)
// to 65535 (right, down), and bit i of the button mask for button i + 1.
struct JoyState {
  uint32_t dwXpos = 32768;
  uint32_t dwYpos = 32768;
  uint32_t dwButtons = 0;
};

// The key is held now. VK_LBUTTON, VK_RBUTTON and VK_MBUTTON name the mouse
// buttons; VK_SHIFT, VK_CONTROL and VK_MENU are held while either side is.
// Codes outside 0..255 are never held.
bool IsKeyDown(int vk);

// A snapshot of joystick `id`; false (and `out` untouched) when no joystick
// is plugged in under that id or the id is outside 0..15.
bool ReadJoystick(int id, JoyState& out);

// Input for tests: while an object lives, the devices' events change
// nothing and the table holds only what the test presses and plugs in.
// It starts and ends with every key up and no joystick. One at a time.
class ScriptedInput {
 public:
  ScriptedInput();
  ~ScriptedInput();
  ScriptedInput(const ScriptedInput&) = delete;
  ScriptedInput& operator=(const ScriptedInput&) = delete;

  void Press(int vk);
  void Release(int vk);
  void ReleaseAll();
  // Plugs in (or updates) joystick `id`; Unplug takes it away.
  void Plug(int id, const JoyState& state);
  void Unplug(int id);
};

}  // namespace plat
