// The 3D device's side of the fonts.
#include "media/fast_font.h"
#include "media/font.h"
#include "media/font_atlas.h"

bool Font::CreateTextObjects() { return true; }

void Font::ReleaseTextObjects() {
  m_lpSprite.reset();
  m_lpFont.reset();
}

void Font::RestoreTextObjects() {}

int Font::DrawText3D(DDSURFACEDATA*, int, int, const char*, int) { return 0; }

void Font::DrawGlyphInCell3D(FastFont&, int, int, const char*, int) {}
