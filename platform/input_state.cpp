#include "platform/input_state.h"

#include <SDL.h>

#include <atomic>

#include "platform/input_devices.h"

namespace plat {
namespace {

std::atomic<int> g_cursorX{0}, g_cursorY{0};

}  // namespace

namespace detail {

void NoteCursor(int x, int y) {
  g_cursorX = x;
  g_cursorY = y;
}

void ResetInputState() {
  NoteCursor(0, 0);
  ReleaseKeysFromDevice();
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

}  // namespace plat
