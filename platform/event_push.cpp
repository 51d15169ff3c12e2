#include "platform/event_push.h"

#include <SDL.h>

#include <cstring>

#include "platform/sdl_keys.h"
#include "platform/sdl_window.h"

namespace plat {
namespace {

bool Push(SDL_Event& e) { return SDL_PushEvent(&e) == 1; }

// Pieces that fit SDL's text field, cut between UTF-8 sequences.
template <class Fill>
bool PushTextPieces(const std::string& utf8, Fill fill) {
  constexpr size_t kMax = SDL_TEXTINPUTEVENT_TEXT_SIZE - 1;
  size_t i = 0;
  do {
    size_t n = utf8.size() - i;
    if (n > kMax) {
      n = kMax;
      while (n > 0 && (static_cast<unsigned char>(utf8[i + n]) & 0xC0) == 0x80) --n;
    }
    if (!fill(utf8.substr(i, n))) return false;
    i += n;
  } while (i < utf8.size());
  return true;
}

bool PushButton(uint32_t windowId, int x, int y, int button, bool down, int clicks) {
  SDL_Event e;
  SDL_zero(e);
  e.type = down ? SDL_MOUSEBUTTONDOWN : SDL_MOUSEBUTTONUP;
  e.button.windowID = windowId;
  e.button.button = static_cast<Uint8>(button);
  e.button.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.button.clicks = static_cast<Uint8>(clicks);
  e.button.x = x;
  e.button.y = y;
  return Push(e);
}

}  // namespace

bool PushKeyEvent(uint32_t windowId, int vk, bool down, unsigned mods, bool repeat) {
  SDL_Event e;
  SDL_zero(e);
  e.type = down ? SDL_KEYDOWN : SDL_KEYUP;
  e.key.windowID = windowId;
  e.key.state = down ? SDL_PRESSED : SDL_RELEASED;
  e.key.repeat = repeat ? 1 : 0;
  e.key.keysym.sym = detail::KeycodeOf(vk);
  e.key.keysym.scancode = SDL_GetScancodeFromKey(e.key.keysym.sym);
  Uint16 mod = 0;
  if (mods & kModShift) mod |= KMOD_LSHIFT;
  if (mods & kModCtrl) mod |= KMOD_LCTRL;
  if (mods & kModAlt) mod |= KMOD_LALT;
  e.key.keysym.mod = mod;
  return Push(e);
}

bool PushKeyStroke(uint32_t windowId, int vk, unsigned mods) {
  return PushKeyEvent(windowId, vk, true, mods) && PushKeyEvent(windowId, vk, false, mods);
}

bool PushTextInput(uint32_t windowId, const std::string& utf8) {
  return PushTextPieces(utf8, [windowId](const std::string& piece) {
    SDL_Event e;
    SDL_zero(e);
    e.type = SDL_TEXTINPUT;
    e.text.windowID = windowId;
    std::memcpy(e.text.text, piece.data(), piece.size());
    return Push(e);
  });
}

bool PushTextEditing(uint32_t windowId, const std::string& utf8) {
  SDL_Event e;
  SDL_zero(e);
  e.type = SDL_TEXTEDITING;
  e.edit.windowID = windowId;
  size_t n = utf8.size() < SDL_TEXTEDITINGEVENT_TEXT_SIZE - 1 ? utf8.size() : SDL_TEXTEDITINGEVENT_TEXT_SIZE - 1;
  while (n > 0 && n < utf8.size() && (static_cast<unsigned char>(utf8[n]) & 0xC0) == 0x80) --n;
  std::memcpy(e.edit.text, utf8.data(), n);
  e.edit.start = 0;
  e.edit.length = 0;
  return Push(e);
}

bool PushMouseButton(uint32_t windowId, int x, int y, int button, bool down) {
  return PushButton(windowId, x, y, button, down, 1);
}

bool PushMouseMotion(uint32_t windowId, int x, int y) {
  SDL_Event e;
  SDL_zero(e);
  e.type = SDL_MOUSEMOTION;
  e.motion.windowID = windowId;
  e.motion.x = x;
  e.motion.y = y;
  return Push(e);
}

bool PushClick(uint32_t windowId, const Rect& rect) {
  int x = (rect.left + rect.right) / 2, y = (rect.top + rect.bottom) / 2;
  return PushMouseButton(windowId, x, y, 1, true) && PushMouseButton(windowId, x, y, 1, false);
}

bool PushWindowEvent(uint32_t windowId, WindowEventKind kind, int a, int b) {
  SDL_Event e;
  SDL_zero(e);
  e.type = SDL_WINDOWEVENT;
  e.window.windowID = windowId;
  e.window.data1 = a;
  e.window.data2 = b;
  switch (kind) {
    case WindowEventKind::Moved: e.window.event = SDL_WINDOWEVENT_MOVED; break;
    case WindowEventKind::Resized: e.window.event = SDL_WINDOWEVENT_SIZE_CHANGED; break;
    case WindowEventKind::Minimized: e.window.event = SDL_WINDOWEVENT_MINIMIZED; break;
    case WindowEventKind::Maximized: e.window.event = SDL_WINDOWEVENT_MAXIMIZED; break;
    case WindowEventKind::Restored: e.window.event = SDL_WINDOWEVENT_RESTORED; break;
    case WindowEventKind::Exposed: e.window.event = SDL_WINDOWEVENT_EXPOSED; break;
  }
  return Push(e);
}

uint32_t AppWindowSdlId(WindowHandle window) {
  SDL_Window* sdl = detail::FindSdlWindow(window);
  return sdl ? SDL_GetWindowID(sdl) : 0;
}

bool PushDoubleClick(uint32_t windowId, const Rect& rect) {
  int x = (rect.left + rect.right) / 2, y = (rect.top + rect.bottom) / 2;
  return PushClick(windowId, rect) && PushButton(windowId, x, y, 1, true, 2) &&
         PushButton(windowId, x, y, 1, false, 2);
}

}  // namespace plat
