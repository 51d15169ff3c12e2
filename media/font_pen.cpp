#include "media/font_pen.h"

#include <algorithm>
#include <bit>
#include <climits>

#include "media/dd_blit.h"
#include "media/dd_layer.h"
#include "media/dd_pixels.h"
#include "media/font_atlas.h"
#include "platform/text.h"

namespace {

// The pixel of a colour-keyed copy's key, in the bits a copy compares.
bool IsKey(uint32_t pixel) {
  switch (nBpp) {
    case 8: return (pixel & 0xFF) == (TransmitPixel & 0xFF);
    case 16: return (pixel & 0xFFFF) == (TransmitPixel & 0xFFFF);
    default: return (pixel & 0xFFFFFF) == (TransmitPixel & 0xFFFFFF);
  }
}

uint32_t CutChannel(uint32_t value8, int k) {
  const auto max = static_cast<uint32_t>(TextureChannels[4 + k]);
  const int bits = std::popcount(max);
  return bits <= 0 ? 0 : (value8 >> (8 - std::min(bits, 8))) << TextureChannels[k];
}

}  // namespace

uint32_t GlyphPixel(uint32_t gdiColour) {
  const uint32_t red = gdiColour & 0xFF, green = gdiColour >> 8 & 0xFF, blue = gdiColour >> 16 & 0xFF;
  switch (nBpp) {
    case 8: {
      int best = 0;
      int64_t bestDistance = INT64_MAX;
      for (int i = 0; i < 256; ++i) {
        const PALETTEENTRY& e = CurPalette[i];
        const int64_t dr = int64_t{e.peRed} - red, dg = int64_t{e.peGreen} - green, db = int64_t{e.peBlue} - blue;
        const int64_t d = dr * dr + dg * dg + db * db;
        if (d < bestDistance) {
          best = i;
          bestDistance = d;
          if (d == 0) break;
        }
      }
      return static_cast<uint32_t>(best);
    }
    case 16: return CutChannel(red, 0) | CutChannel(green, 1) | CutChannel(blue, 2);
    default: return red << 16 | green << 8 | blue;
  }
}

cGlyphPen::cGlyphPen(plat::text::Face* face, DDSURFACEDATA* surface, const plat::Rect& clip, uint32_t pixel)
    : m_face(face), m_surface(surface), m_clip(clip), m_colour(pixel) {}

cGlyphPen::cGlyphPen(plat::text::Face* face, cTextAtlas* atlas, cTextSprite* sprite, DDSURFACEDATA* surface,
                     const plat::Rect& clip, uint32_t argb)
    : m_face(face), m_atlas(atlas), m_sprite(sprite), m_surface(surface), m_clip(clip), m_colour(argb) {}

int cGlyphPen::Advance(unsigned code) const { return m_face ? m_face->Advance(code) : 0; }
int cGlyphPen::Height() const { return m_face ? m_face->Metrics().height : 0; }

int cGlyphPen::Put(unsigned code, int64_t x, int64_t y) {
  if (!m_face) return 0;
  const int advance = m_face->Advance(code);
  if (m_clip.right <= m_clip.left || m_clip.bottom <= m_clip.top) return advance;
  // Glyphs reach at most about a cell beyond their pen position.
  const int64_t reach = int64_t{m_face->Metrics().height} + advance + 2;
  if (x - reach >= m_clip.right || x + reach <= m_clip.left || y - reach >= m_clip.bottom || y + reach <= m_clip.top)
    return advance;
  if (m_atlas) {
    if (m_sprite && m_sprite->IsOpen()) {
      m_atlas->Draw(m_surface, code, x, y, m_clip);
    } else if (m_sprite && DDBeginScene()) {
      m_sprite->Begin(m_colour);
      m_atlas->Draw(m_surface, code, x, y, m_clip);
      m_sprite->End();
    }
    return advance;
  }
  if (IsKey(m_colour)) return advance;
  std::shared_ptr<const plat::text::Glyph> g = m_face->GetGlyph(code, plat::text::GlyphMode::Mono);
  if (g->width <= 0 || g->height <= 0) return advance;
  cSurfaceLock lock;
  if (!lock.Lock(m_surface)) return advance;
  const int64_t left = std::max<int64_t>(m_clip.left, 0), top = std::max<int64_t>(m_clip.top, 0);
  const int64_t right = std::min<int64_t>(m_clip.right, lock.m_nWidth);
  const int64_t bottom = std::min<int64_t>(m_clip.bottom, lock.m_nHeight);
  const int64_t gx = x + g->left, gy = y + g->top;
  const int64_t c0 = std::max<int64_t>(0, left - gx), c1 = std::min<int64_t>(g->width, right - gx);
  const int64_t r0 = std::max<int64_t>(0, top - gy), r1 = std::min<int64_t>(g->height, bottom - gy);
  for (int64_t r = r0; r < r1; ++r) {
    const uint8_t* src = &g->pixels[static_cast<size_t>(r * g->width)];
    uint8_t* row = lock.m_pBits + static_cast<ptrdiff_t>(gy + r) * lock.m_nPitch;
    for (int64_t c = c0; c < c1; ++c) {
      if (!src[c]) continue;
      const int64_t px = gx + c;
      switch (lock.m_nBpp) {
        case 8: row[px] = static_cast<uint8_t>(m_colour); break;
        case 16: reinterpret_cast<uint16_t*>(row)[px] = static_cast<uint16_t>(m_colour); break;
        default: reinterpret_cast<uint32_t*>(row)[px] = m_colour;
      }
    }
  }
  return advance;
}

void cGlyphPen::PutLine(const char* text, int bytes, int64_t x, int64_t y) {
  const char* end = text + bytes;
  for (const char* p = text; p < end;) {
    int n = 1;
    const unsigned code = plat::text::NextCode(p, end, &n);
    x += Put(code, x, y);
    p += n;
  }
}
