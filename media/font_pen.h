#pragma once
// What the glyphs of one text are drawn with: the face, the target, the
// pixels it may touch and the colour. Software display: monochrome glyphs
// written as the text colour's pixel value (a value equal to the transparent
// colour is left out, as a colour-keyed copy would). 3D device: coverage
// glyphs from the font's atlas, drawn as quads in the text colour; while the
// sprite is not open each glyph opens it for itself.
// Used by the fonts only, on the drawing thread.
#include <cstdint>

#include "platform/rect.h"

namespace plat::text {
class Face;
}
struct DDSURFACEDATA;
class cTextAtlas;
class cTextSprite;

class cGlyphPen {
 public:
  // Software display: `pixel` onto `surface` inside `clip` (surface pixels).
  cGlyphPen(plat::text::Face* face, DDSURFACEDATA* surface, const plat::Rect& clip, uint32_t pixel);
  // 3D device: the atlas's glyphs through the sprite in argb onto `surface` inside `clip`.
  cGlyphPen(plat::text::Face* face, cTextAtlas* atlas, cTextSprite* sprite, DDSURFACEDATA* surface,
            const plat::Rect& clip, uint32_t argb);

  // One character (a Shift-JIS code) with its text cell's top-left corner at
  // (x, y): the baseline lies the face's ascent lower. Returns its advance.
  int Put(unsigned code, int64_t x, int64_t y);
  // A line of Shift-JIS bytes from (x, y), glyph after glyph by their advances.
  void PutLine(const char* text, int bytes, int64_t x, int64_t y);
  // Width of a character (its advance) and the face's cell height.
  int Advance(unsigned code) const;
  int Height() const;

 private:
  plat::text::Face* m_face;
  cTextAtlas* m_atlas = nullptr;
  cTextSprite* m_sprite = nullptr;
  DDSURFACEDATA* m_surface;
  plat::Rect m_clip;
  uint32_t m_colour;
};

// Software display: the text colour as a pixel of the display's depth. 8 bits:
// the first CurPalette entry equal to the colour, else the nearest; 16 bits:
// each channel cut to its width; 32 bits: red << 16 | green << 8 | blue.
// `gdiColour` is 0x00BBGGRR.
uint32_t GlyphPixel(uint32_t gdiColour);
