// Drawing of a dialog window: frame, caption with title and close box, and
// the controls, into the window's surface.
#include <SDL.h>

#include <algorithm>

#include "platform/dialog_internal.h"

namespace plat::detail {
namespace {

Uint32 Map(SDL_Surface* s, uint32_t rgb) {
  return SDL_MapRGB(s->format, (rgb >> 16) & 0xFF, (rgb >> 8) & 0xFF, rgb & 0xFF);
}

SDL_Rect Intersect(const SDL_Rect& a, const SDL_Rect& b) {
  SDL_Rect r;
  if (!SDL_IntersectRect(&a, &b, &r)) return SDL_Rect{0, 0, 0, 0};
  return r;
}

}  // namespace

void Canvas::Fill(int x, int y, int w, int h, uint32_t rgb) const {
  if (w <= 0 || h <= 0) return;
  SDL_Rect r = Intersect({originX + x, originY + y, w, h}, clip);
  if (r.w > 0 && r.h > 0) SDL_FillRect(surface, &r, Map(surface, rgb));
}

void Canvas::Frame(int x, int y, int w, int h, uint32_t rgb) const {
  Fill(x, y, w, 1, rgb);
  Fill(x, y + h - 1, w, 1, rgb);
  Fill(x, y, 1, h, rgb);
  Fill(x + w - 1, y, 1, h, rgb);
}

void Canvas::Edge(int x, int y, int w, int h, bool sunken) const {
  uint32_t outerLight = sunken ? kColorShadow : kColorLight, outerDark = sunken ? kColorLight : kColorDark;
  uint32_t innerLight = sunken ? kColorDark : kColorFace, innerDark = sunken ? kColorFace : kColorShadow;
  Fill(x, y, w, 1, outerLight);
  Fill(x, y, 1, h, outerLight);
  Fill(x, y + h - 1, w, 1, outerDark);
  Fill(x + w - 1, y, 1, h, outerDark);
  Fill(x + 1, y + 1, w - 2, 1, innerLight);
  Fill(x + 1, y + 1, 1, h - 2, innerLight);
  Fill(x + 1, y + h - 2, w - 2, 1, innerDark);
  Fill(x + w - 2, y + 1, 1, h - 2, innerDark);
}

void Canvas::DottedFrame(int x, int y, int w, int h) const {
  for (int i = 0; i < w; i += 2) {
    Fill(x + i, y, 1, 1, kColorText);
    Fill(x + i, y + h - 1, 1, 1, kColorText);
  }
  for (int i = 0; i < h; i += 2) {
    Fill(x, y + i, 1, 1, kColorText);
    Fill(x + w - 1, y + i, 1, 1, kColorText);
  }
}

int Canvas::Text(int x, int y, const std::string& sjis, uint32_t rgb, bool underline) const {
  return DrawDialogText(surface, clip, originX + x, originY + y, sjis, rgb, underline);
}

Canvas Canvas::Inside(int x, int y, int w, int h) const {
  Canvas c = *this;
  c.originX += x;
  c.originY += y;
  c.clip = Intersect(clip, {originX + x, originY + y, std::max(0, w), std::max(0, h)});
  return c;
}

void PaintDialog(DialogWindow& d) {
  d.dirty = false;
  SDL_Surface* s = d.sdl ? SDL_GetWindowSurface(d.sdl) : nullptr;
  if (!s) return;
  Canvas whole{s, 0, 0, {0, 0, s->w, s->h}};
  whole.Fill(0, 0, s->w, s->h, kColorFace);
  if (d.frame.left > 0 || d.frame.top > 0) whole.Edge(0, 0, s->w, s->h, false);
  Rect caption = d.CaptionRect();
  if (caption.Height() > 0) {
    whole.Fill(caption.left, caption.top, caption.Width(), caption.Height() - 1, kColorCaption);
    Canvas title = whole.Inside(caption.left + 4, caption.top, caption.Width() - 24, caption.Height());
    title.Text(0, (caption.Height() - DialogLineHeight()) / 2, d.title, kColorWindow);
    Rect close = d.CloseBox();
    if (close.Width() > 0) {
      whole.Fill(close.left, close.top, close.Width(), close.Height(), kColorFace);
      whole.Edge(close.left, close.top, close.Width(), close.Height(), d.closeBoxDown);
      // The cross: two diagonals.
      int n = close.Width() - 8;
      for (int i = 0; i < n; ++i) {
        whole.Fill(close.left + 4 + i, close.top + 4 + i, 2, 1, kColorText);
        whole.Fill(close.left + 4 + n - 1 - i, close.top + 4 + i, 2, 1, kColorText);
      }
    }
  }
  Canvas client = whole.Inside(d.frame.left, d.frame.top, d.clientWidth, d.clientHeight);
  for (auto& w : d.widgets) {
    if (!w->Visible()) continue;
    Canvas c = client.Inside(w->m_rect.left, w->m_rect.top, w->m_rect.Width(), w->m_rect.Height());
    w->Paint(c, d.focus == w.get());
  }
  SDL_UpdateWindowSurface(d.sdl);
}

}  // namespace plat::detail

namespace plat {

bool CopyDialogPixels(WindowHandle dialog, std::vector<uint32_t>& out, int& width, int& height) {
  detail::DialogWindow* d = detail::FindDialog(dialog);
  SDL_Surface* s = d && d->sdl ? SDL_GetWindowSurface(d->sdl) : nullptr;
  if (!s) return false;
  SDL_Surface* copy = SDL_ConvertSurfaceFormat(s, SDL_PIXELFORMAT_RGB888, 0);
  if (!copy) return false;
  width = copy->w;
  height = copy->h;
  out.resize(static_cast<size_t>(width) * height);
  for (int y = 0; y < height; ++y) {
    const auto* row = reinterpret_cast<const uint32_t*>(static_cast<const uint8_t*>(copy->pixels) + y * copy->pitch);
    for (int x = 0; x < width; ++x) out[static_cast<size_t>(y) * width + x] = row[x] & 0xFFFFFF;
  }
  SDL_FreeSurface(copy);
  return true;
}

}  // namespace plat
