// The keyboard, mouse buttons and joysticks of SDL into the key table and
// the snapshots.
#include <SDL.h>

#include <map>

#include "platform/input_devices.h"
#include "platform/sdl_keys.h"

namespace plat::detail {
namespace {

struct OpenJoystick {
  SDL_Joystick* joystick = nullptr;
  int id = 0;
  JoyState state;
};

// Main thread only: the open joysticks by SDL's instance id.
std::map<SDL_JoystickID, OpenJoystick> g_open;
bool g_joysticksStarted = false;

uint32_t AxisPosition(Sint16 value) { return static_cast<uint32_t>(value + 32768); }

void OnAdded(int deviceIndex) {
  SDL_Joystick* joystick = SDL_JoystickOpen(deviceIndex);
  if (!joystick) return;
  const SDL_JoystickID instance = SDL_JoystickInstanceID(joystick);
  if (g_open.count(instance)) {
    SDL_JoystickClose(joystick);  // SDL counts opens; ours stays
    return;
  }
  bool used[kMaxJoysticks] = {};
  for (const auto& entry : g_open) used[entry.second.id] = true;
  int id = 0;
  while (id < kMaxJoysticks && used[id]) ++id;
  if (id == kMaxJoysticks) {
    SDL_JoystickClose(joystick);
    return;
  }
  OpenJoystick open;
  open.joystick = joystick;
  open.id = id;
  if (SDL_JoystickNumAxes(joystick) > 0) open.state.dwXpos = AxisPosition(SDL_JoystickGetAxis(joystick, 0));
  if (SDL_JoystickNumAxes(joystick) > 1) open.state.dwYpos = AxisPosition(SDL_JoystickGetAxis(joystick, 1));
  const int buttons = SDL_JoystickNumButtons(joystick);
  for (int b = 0; b < buttons && b < 32; ++b)
    if (SDL_JoystickGetButton(joystick, b)) open.state.dwButtons |= 1u << b;
  g_open[instance] = open;
  SetJoystickFromDevice(id, &g_open[instance].state);
}

void OnRemoved(SDL_JoystickID instance) {
  auto it = g_open.find(instance);
  if (it == g_open.end()) return;
  SetJoystickFromDevice(it->second.id, nullptr);
  SDL_JoystickClose(it->second.joystick);
  g_open.erase(it);
}

OpenJoystick* FindJoystick(SDL_JoystickID instance) {
  auto it = g_open.find(instance);
  return it == g_open.end() ? nullptr : &it->second;
}

}  // namespace

void StartInputDevices() {
  if (g_joysticksStarted) return;
  // The game reads its joysticks whether or not its window has the focus.
  SDL_SetHint(SDL_HINT_JOYSTICK_ALLOW_BACKGROUND_EVENTS, "1");
  // Without a joystick subsystem the game plays from the keyboard alone.
  g_joysticksStarted = SDL_InitSubSystem(SDL_INIT_JOYSTICK) == 0;
}

void StopInputDevices() {
  for (auto& entry : g_open) {
    SetJoystickFromDevice(entry.second.id, nullptr);
    SDL_JoystickClose(entry.second.joystick);
  }
  g_open.clear();
  ReleaseKeysFromDevice();
  if (g_joysticksStarted) SDL_QuitSubSystem(SDL_INIT_JOYSTICK);
  g_joysticksStarted = false;
}

void TranslateInputEvent(const SDL_Event& event) {
  switch (event.type) {
    case SDL_WINDOWEVENT:
      if (event.window.event == SDL_WINDOWEVENT_FOCUS_LOST) ReleaseKeysFromDevice();
      break;
    case SDL_JOYDEVICEADDED:
      OnAdded(event.jdevice.which);
      break;
    case SDL_JOYDEVICEREMOVED:
      OnRemoved(event.jdevice.which);
      break;
    case SDL_JOYAXISMOTION:
      if (OpenJoystick* open = FindJoystick(event.jaxis.which)) {
        if (event.jaxis.axis == 0) open->state.dwXpos = AxisPosition(event.jaxis.value);
        else if (event.jaxis.axis == 1) open->state.dwYpos = AxisPosition(event.jaxis.value);
        else break;
        SetJoystickFromDevice(open->id, &open->state);
      }
      break;
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
      if (OpenJoystick* open = FindJoystick(event.jbutton.which)) {
        if (event.jbutton.button >= 32) break;
        const uint32_t bit = 1u << event.jbutton.button;
        if (event.jbutton.state == SDL_PRESSED) open->state.dwButtons |= bit;
        else open->state.dwButtons &= ~bit;
        SetJoystickFromDevice(open->id, &open->state);
      }
      break;
    default:
      break;
  }
}

int NoteKeyEvent(const SDL_Event& event) {
  int vk = 0;
  bool down = false;
  switch (event.type) {
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      vk = VirtualKeyOf(event.key.keysym);
      down = event.type == SDL_KEYDOWN;
      break;
    case SDL_MOUSEBUTTONDOWN:
    case SDL_MOUSEBUTTONUP:
      switch (event.button.button) {
        case SDL_BUTTON_LEFT: vk = VK_LBUTTON; break;
        case SDL_BUTTON_RIGHT: vk = VK_RBUTTON; break;
        case SDL_BUTTON_MIDDLE: vk = VK_MBUTTON; break;
        default: break;
      }
      down = event.type == SDL_MOUSEBUTTONDOWN;
      break;
    default: break;
  }
  if (vk != 0) SetKeyFromDevice(vk, down);
  return vk;
}

}  // namespace plat::detail
