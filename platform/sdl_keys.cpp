#include "platform/sdl_keys.h"

#include "platform/virtual_keys.h"

namespace plat::detail {
namespace {

struct KeyPair {
  SDL_Keycode key;
  int vk;
};

// Keys that are not letters, digits or function keys. Where two keys give
// one code, the first is the one KeycodeOf makes.
constexpr KeyPair kKeys[] = {
    {SDLK_BACKSPACE, VK_BACK},       {SDLK_TAB, VK_TAB},
    {SDLK_RETURN, VK_RETURN},        {SDLK_KP_ENTER, VK_RETURN},
    {SDLK_LSHIFT, VK_LSHIFT},        {SDLK_RSHIFT, VK_RSHIFT},
    {SDLK_LCTRL, VK_LCONTROL},       {SDLK_RCTRL, VK_RCONTROL},
    {SDLK_LALT, VK_LMENU},           {SDLK_RALT, VK_RMENU},
    {SDLK_PAUSE, VK_PAUSE},          {SDLK_CAPSLOCK, VK_CAPITAL},
    {SDLK_ESCAPE, VK_ESCAPE},        {SDLK_SPACE, VK_SPACE},
    {SDLK_PAGEUP, VK_PRIOR},         {SDLK_PAGEDOWN, VK_NEXT},
    {SDLK_END, VK_END},              {SDLK_HOME, VK_HOME},
    {SDLK_LEFT, VK_LEFT},            {SDLK_UP, VK_UP},
    {SDLK_RIGHT, VK_RIGHT},          {SDLK_DOWN, VK_DOWN},
    {SDLK_INSERT, VK_INSERT},        {SDLK_DELETE, VK_DELETE},
    {SDLK_KP_0, VK_NUMPAD0},         {SDLK_KP_MULTIPLY, VK_MULTIPLY},
    {SDLK_KP_PLUS, VK_ADD},          {SDLK_KP_MINUS, VK_SUBTRACT},
    {SDLK_KP_PERIOD, VK_DECIMAL},    {SDLK_KP_DIVIDE, VK_DIVIDE},
    {SDLK_NUMLOCKCLEAR, VK_NUMLOCK}, {SDLK_SCROLLLOCK, VK_SCROLL},
    {SDLK_SEMICOLON, VK_OEM_1},      {SDLK_EQUALS, VK_OEM_PLUS},
    {SDLK_COMMA, VK_OEM_COMMA},      {SDLK_MINUS, VK_OEM_MINUS},
    {SDLK_PERIOD, VK_OEM_PERIOD},    {SDLK_SLASH, VK_OEM_2},
    {SDLK_BACKQUOTE, VK_OEM_3},      {SDLK_LEFTBRACKET, VK_OEM_4},
    {SDLK_BACKSLASH, VK_OEM_5},      {SDLK_RIGHTBRACKET, VK_OEM_6},
    {SDLK_QUOTE, VK_OEM_7},
};

}  // namespace

int VirtualKeyOf(const SDL_Keysym& key) {
  const SDL_Keycode sym = key.sym;
  if (sym >= SDLK_a && sym <= SDLK_z) return 'A' + (sym - SDLK_a);
  if (sym >= SDLK_0 && sym <= SDLK_9) return '0' + (sym - SDLK_0);
  if (sym >= SDLK_F1 && sym <= SDLK_F12) return VK_F1 + (sym - SDLK_F1);
  if (sym >= SDLK_KP_1 && sym <= SDLK_KP_9) return VK_NUMPAD0 + 1 + (sym - SDLK_KP_1);
  for (const KeyPair& p : kKeys)
    if (p.key == sym) return p.vk;
  const SDL_Scancode code = key.scancode;
  if (code >= SDL_SCANCODE_A && code <= SDL_SCANCODE_Z) return 'A' + (code - SDL_SCANCODE_A);
  if (code >= SDL_SCANCODE_1 && code <= SDL_SCANCODE_9) return '1' + (code - SDL_SCANCODE_1);
  if (code == SDL_SCANCODE_0) return '0';
  return 0;
}

int SidelessKey(int vk) {
  switch (vk) {
    case VK_LSHIFT:
    case VK_RSHIFT: return VK_SHIFT;
    case VK_LCONTROL:
    case VK_RCONTROL: return VK_CONTROL;
    case VK_LMENU:
    case VK_RMENU: return VK_MENU;
    default: return vk;
  }
}

SDL_Keycode KeycodeOf(int vk) {
  if (vk >= 'A' && vk <= 'Z') return SDLK_a + (vk - 'A');
  if (vk >= '0' && vk <= '9') return SDLK_0 + (vk - '0');
  if (vk >= VK_F1 && vk <= VK_F12) return SDLK_F1 + (vk - VK_F1);
  if (vk >= VK_NUMPAD0 + 1 && vk <= VK_NUMPAD0 + 9) return SDLK_KP_1 + (vk - VK_NUMPAD0 - 1);
  switch (vk) {
    case VK_SHIFT: return SDLK_LSHIFT;
    case VK_CONTROL: return SDLK_LCTRL;
    case VK_MENU: return SDLK_LALT;
    default: break;
  }
  for (const KeyPair& p : kKeys)
    if (p.vk == vk) return p.key;
  return SDLK_UNKNOWN;
}

uint32_t KeystrokeFlags(bool down, bool repeat, bool alt) {
  uint32_t flags = 1;
  if (alt) flags |= 1u << 29;
  if (repeat || !down) flags |= 1u << 30;
  if (!down) flags |= 1u << 31;
  return flags;
}

}  // namespace plat::detail
