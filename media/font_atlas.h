#pragma once
// The 3D device's text objects of a font (its m_lpFont and m_lpSprite). The
// atlas keeps the face's glyphs as coverage on an A8R8G8B8 texture whatever
// the display's depth: white texels whose alpha is how much of the pixel the
// glyph covers, put in on a glyph's first use. The sprite makes the quads
// drawn from it take the text colour (texture times colour, alpha as well),
// so that glyph edges blend into what lies under them. Glyph quads go
// through the layer's sprite batch when one is open.
//
// Drawing thread; the device reset calls OnLostDevice and the font's
// Restore on the main thread while the drawing thread waits.
#include <cstdint>
#include <memory>
#include <unordered_map>

#include "media/dd_surface.h"
#include "platform/rect.h"

namespace plat::text {
class Face;
}

class cTextAtlas {
 public:
  explicit cTextAtlas(std::shared_ptr<plat::text::Face> face);

  // The texture (1024 texels square, or the device's largest); false when
  // the device cannot make it.
  bool Create();
  // The glyph of a Shift-JIS code with its text cell's top-left corner at
  // (x, y) (the baseline the face's ascent lower) onto target, only inside
  // clip. Nothing while the atlas has no texture.
  void Draw(DDSURFACEDATA* target, unsigned code, int64_t x, int64_t y, const plat::Rect& clip);
  // The device is lost: the texture goes, with the glyphs on it.
  void OnLostDevice();
  // After the reset: an empty texture again; glyphs come back on first use.
  bool OnResetDevice();

  int Glyphs() const { return static_cast<int>(m_slots.size()); }
  DDSURFACEDATA& Texture() { return m_sd; }

 private:
  // Where a glyph lies on the texture, and where it lies from its pen position.
  struct SLOT {
    int x = 0, y = 0, w = 0, h = 0;
    int left = 0, top = 0;
  };
  const SLOT* Find(unsigned code);
  // Clears the texture and forgets every glyph (it is full).
  void Clear();

  std::shared_ptr<plat::text::Face> m_face;
  DDSURFACEDATA m_sd;
  std::unordered_map<unsigned, SLOT> m_slots;
  int m_nShelfX = 0, m_nShelfY = 0, m_nShelfH = 0;  // the row glyphs are put into next
};

class cTextSprite {
 public:
  // Quads drawn until End take the colour argb.
  void Begin(uint32_t argb);
  // The layer's colour state as Begin found it.
  void End();
  bool IsOpen() const { return m_bOpen; }

 private:
  bool m_bOpen = false;
  uint32_t m_dwSavedColor = 0xFFFFFFFF;
  int m_nSavedColorOp = 0, m_nSavedAlphaOp = 0;
};
