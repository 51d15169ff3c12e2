// The keyboard and joysticks of SDL into the key table and the snapshots.
#include <SDL.h>

#include <map>

#include "platform/input_devices.h"

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

int VirtualKeyOf(const SDL_Keysym& key) {
  const SDL_Keycode sym = key.sym;
  if (sym >= SDLK_a && sym <= SDLK_z) return 'A' + (sym - SDLK_a);
  if (sym >= SDLK_0 && sym <= SDLK_9) return '0' + (sym - SDLK_0);
  if (sym >= SDLK_F1 && sym <= SDLK_F12) return VK_F1 + (sym - SDLK_F1);
  if (sym >= SDLK_KP_1 && sym <= SDLK_KP_9) return VK_NUMPAD0 + 1 + (sym - SDLK_KP_1);
  switch (sym) {
    case SDLK_BACKSPACE: return VK_BACK;
    case SDLK_TAB: return VK_TAB;
    case SDLK_RETURN: case SDLK_KP_ENTER: return VK_RETURN;
    case SDLK_PAUSE: return VK_PAUSE;
    case SDLK_ESCAPE: return VK_ESCAPE;
    case SDLK_SPACE: return VK_SPACE;
    case SDLK_PAGEUP: return VK_PRIOR;
    case SDLK_PAGEDOWN: return VK_NEXT;
    case SDLK_END: return VK_END;
    case SDLK_HOME: return VK_HOME;
    case SDLK_LEFT: return VK_LEFT;
    case SDLK_UP: return VK_UP;
    case SDLK_RIGHT: return VK_RIGHT;
    case SDLK_DOWN: return VK_DOWN;
    case SDLK_INSERT: return VK_INSERT;
    case SDLK_DELETE: return VK_DELETE;
    case SDLK_KP_0: return VK_NUMPAD0;
    case SDLK_KP_MULTIPLY: return VK_MULTIPLY;
    case SDLK_KP_PLUS: return VK_ADD;
    case SDLK_KP_MINUS: return VK_SUBTRACT;
    case SDLK_KP_PERIOD: return VK_DECIMAL;
    case SDLK_KP_DIVIDE: return VK_DIVIDE;
    case SDLK_LSHIFT: return VK_LSHIFT;
    case SDLK_RSHIFT: return VK_RSHIFT;
    case SDLK_LCTRL: return VK_LCONTROL;
    case SDLK_RCTRL: return VK_RCONTROL;
    case SDLK_LALT: return VK_LMENU;
    case SDLK_RALT: return VK_RMENU;
    case SDLK_SEMICOLON: return VK_OEM_1;
    case SDLK_EQUALS: return VK_OEM_PLUS;
    case SDLK_COMMA: return VK_OEM_COMMA;
    case SDLK_MINUS: return VK_OEM_MINUS;
    case SDLK_PERIOD: return VK_OEM_PERIOD;
    case SDLK_SLASH: return VK_OEM_2;
    case SDLK_BACKQUOTE: return VK_OEM_3;
    case SDLK_LEFTBRACKET: return VK_OEM_4;
    case SDLK_BACKSLASH: return VK_OEM_5;
    case SDLK_RIGHTBRACKET: return VK_OEM_6;
    case SDLK_QUOTE: return VK_OEM_7;
    default: break;
  }
  // Layouts whose letters are not Latin still name the keys by position.
  const SDL_Scancode code = key.scancode;
  if (code >= SDL_SCANCODE_A && code <= SDL_SCANCODE_Z) return 'A' + (code - SDL_SCANCODE_A);
  if (code >= SDL_SCANCODE_1 && code <= SDL_SCANCODE_9) return '1' + (code - SDL_SCANCODE_1);
  if (code == SDL_SCANCODE_0) return '0';
  return 0;
}

void OnKey(const SDL_KeyboardEvent& event) {
  const int vk = VirtualKeyOf(event.keysym);
  if (vk == 0) return;
  SetKeyFromDevice(vk, event.state == SDL_PRESSED);
  // The side-less codes are held while either side is.
  SetKeyFromDevice(VK_SHIFT, IsKeyDown(VK_LSHIFT) || IsKeyDown(VK_RSHIFT));
  SetKeyFromDevice(VK_CONTROL, IsKeyDown(VK_LCONTROL) || IsKeyDown(VK_RCONTROL));
  SetKeyFromDevice(VK_MENU, IsKeyDown(VK_LMENU) || IsKeyDown(VK_RMENU));
}

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

OpenJoystick* Find(SDL_JoystickID instance) {
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
    case SDL_KEYDOWN:
    case SDL_KEYUP:
      OnKey(event.key);
      break;
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
      if (OpenJoystick* open = Find(event.jaxis.which)) {
        if (event.jaxis.axis == 0) open->state.dwXpos = AxisPosition(event.jaxis.value);
        else if (event.jaxis.axis == 1) open->state.dwYpos = AxisPosition(event.jaxis.value);
        else break;
        SetJoystickFromDevice(open->id, &open->state);
      }
      break;
    case SDL_JOYBUTTONDOWN:
    case SDL_JOYBUTTONUP:
      if (OpenJoystick* open = Find(event.jbutton.which)) {
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

}  // namespace plat::detail
