#include "platform/app_icon.h"

#include <SDL.h>

#include <unordered_map>

#include "platform/sdl_window.h"

namespace plat {
namespace {

// 16 x 16, drawn at twice the size: a blue shield with a gold T.
constexpr int kArtSize = 16;
constexpr int kScale = 2;
const char* const kArt[kArtSize] = {
    "................",
    ".kkkkkkkkkkkkkk.",
    ".kbbbbbbbbbbbbk.",
    ".kbyyyyyyyyyybk.",
    ".kbyyyyyyyyyybk.",
    ".kbbbbbyybbbbbk.",
    ".kbbbbbyybbbbbk.",
    ".kbbbbbyybbbbbk.",
    ".kbbbbbyybbbbbk.",
    ".kbbbbbyybbbbbk.",
    "..kbbbbyybbbbk..",
    "..kbbbbyybbbbk..",
    "...kbbbbbbbbk...",
    "....kkbbbbkk....",
    "......kkkk......",
    "................",
};

uint32_t ColourOf(char c) {
  switch (c) {
    case 'k': return 0xFF101830;
    case 'b': return 0xFF2850B8;
    case 'y': return 0xFFF0C830;
    default: return 0x00000000;
  }
}

// Main thread only.
std::unordered_map<IconHandle, SDL_Surface*> g_icons;
IconHandle g_nextIcon = 2;

}  // namespace

IconHandle CreateProgramIcon() {
  constexpr int size = kArtSize * kScale;
  SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, size, size, 32, SDL_PIXELFORMAT_ARGB8888);
  if (!surface) return 0;
  for (int y = 0; y < size; ++y) {
    auto* row = reinterpret_cast<uint32_t*>(static_cast<uint8_t*>(surface->pixels) + y * surface->pitch);
    for (int x = 0; x < size; ++x) row[x] = ColourOf(kArt[y / kScale][x / kScale]);
  }
  const IconHandle icon = g_nextIcon++;
  g_icons[icon] = surface;
  return icon;
}

void SetAppWindowIcon(WindowHandle window, IconHandle icon) {
  auto it = g_icons.find(icon);
  SDL_Window* sdl = detail::FindSdlWindow(window);
  if (it != g_icons.end() && sdl) SDL_SetWindowIcon(sdl, it->second);
}

void DestroyIcon(IconHandle icon) {
  auto it = g_icons.find(icon);
  if (it == g_icons.end()) return;
  SDL_FreeSurface(it->second);
  g_icons.erase(it);
}

}  // namespace plat
