#include "platform/input_state.h"

#include <SDL.h>

#include <atomic>

namespace plat {
namespace {

std::atomic<int> g_cursorX{0}, g_cursorY{0};
std::atomic<bool> g_held[256];

}  // namespace

namespace detail {

void NoteCursor(int x, int y) {
  g_cursorX = x;
  g_cursorY = y;
}

void NoteKeyHeld(int vk, bool down) {
  if (vk >= 0 && vk < 256) g_held[vk] = down;
}

void ResetInputState() {
  NoteCursor(0, 0);
  for (auto& held : g_held) held = false;
}

}  // namespace detail

bool GetCursorPos(Point& screen) {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return false;
  screen = {g_cursorX.load(), g_cursorY.load()};
  return true;
}

bool SetCursorPos(int x, int y) {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return false;
  // Drivers without a pointer refuse the warp; the recorded place stands.
  SDL_WarpMouseGlobal(x, y);
  detail::NoteCursor(x, y);
  return true;
}

bool IsVirtualKeyHeld(int vk) { return vk >= 0 && vk < 256 && g_held[vk].load(); }

}  // namespace plat
