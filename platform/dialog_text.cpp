// Dialog text: the dialogs' face of the text layer, drawn onto the dialog
// window's surface. Only the functions here know the face.
#include <SDL.h>

#include <algorithm>
#include <cstdint>

#include "platform/dialog_internal.h"
#include "platform/text.h"

namespace plat::detail {
namespace {

// Pixels whose low 24 bits are 0x00RRGGBB, as the text layer blends them.
bool IsXrgb(const SDL_Surface* surface) {
  return surface->format->format == SDL_PIXELFORMAT_RGB888 || surface->format->format == SDL_PIXELFORMAT_ARGB8888;
}

void DrawInto(uint32_t* pixels, int width, int height, int pitch, int x, int y, const std::string& sjis,
              uint32_t rgb) {
  text::DrawTextPixels32(pixels, width, height, pitch, x, y, text::kDialogFace, text::kDialogEmPixels, sjis, rgb);
}

}  // namespace

int DrawDialogText(SDL_Surface* surface, const SDL_Rect& clip, int x, int y, const std::string& sjis,
                   uint32_t rgb, bool underline) {
  const int width = DialogTextWidth(sjis);
  SDL_Rect area;
  const SDL_Rect whole{0, 0, surface->w, surface->h};
  if (!SDL_IntersectRect(&clip, &whole, &area)) return width;
  if (IsXrgb(surface)) {
    if (SDL_MUSTLOCK(surface) && SDL_LockSurface(surface) != 0) return width;
    auto* row = static_cast<uint8_t*>(surface->pixels) + static_cast<ptrdiff_t>(area.y) * surface->pitch;
    DrawInto(reinterpret_cast<uint32_t*>(row) + area.x, area.w, area.h, surface->pitch / 4, x - area.x,
             y - area.y, sjis, rgb);
    if (SDL_MUSTLOCK(surface)) SDL_UnlockSurface(surface);
  } else {
    // Another pixel layout: through a copy of the area in the text layer's.
    SDL_Surface* copy = SDL_CreateRGBSurfaceWithFormat(0, area.w, area.h, 32, SDL_PIXELFORMAT_RGB888);
    if (!copy) return width;
    SDL_BlitSurface(surface, &area, copy, nullptr);
    DrawInto(static_cast<uint32_t*>(copy->pixels), area.w, area.h, copy->pitch / 4, x - area.x, y - area.y,
             sjis, rgb);
    SDL_BlitSurface(copy, nullptr, surface, &area);
    SDL_FreeSurface(copy);
  }
  if (underline && width > 0) {
    SDL_Rect line{x, y + DialogLineHeight() - 1, width, 1}, cut;
    if (SDL_IntersectRect(&line, &area, &cut))
      SDL_FillRect(surface, &cut, SDL_MapRGB(surface->format, (rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF));
  }
  return width;
}

int DialogTextWidth(const std::string& sjis, size_t bytes) {
  int width = 0, height = 0;
  text::MeasureText(text::kDialogFace, text::kDialogEmPixels, bytes < sjis.size() ? sjis.substr(0, bytes) : sjis,
                    &width, &height);
  return width;
}

int DialogLineHeight() {
  int width = 0, height = 0;
  // Without any face the layout keeps the em as its line.
  if (!text::MeasureText(text::kDialogFace, text::kDialogEmPixels, "", &width, &height) || height <= 0)
    return text::kDialogEmPixels;
  return height;
}

}  // namespace plat::detail
