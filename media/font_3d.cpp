// The 3D device's side of the fonts: their text objects, texts drawn as
// glyph quads (through the work surface onto system-memory textures), new
// glyphs drawn into cache cells, and the device reset.
#include <algorithm>

#include "base/report_log.h"
#include "media/dd_blit.h"
#include "media/dd_layer.h"
#include "media/dd_restore.h"
#include "media/fast_font.h"
#include "media/font.h"
#include "media/font_atlas.h"
#include "media/font_pen.h"

namespace {

// With the device lost, before its reset.
void FontsLostDevice() {
  for (int i = 0; i < FontList.Count(); ++i) {
    DebugLogPrintf("Font i = %d", i);
    Font* font = FontList.At(i);
    if (font->m_lpFont) font->m_lpFont->OnLostDevice();
  }
}

// After the reset and the surfaces.
void FontsRestore() {
  for (int i = 0; i < FontList.Count(); ++i) FontList.At(i)->Restore();
}

// The device reset reaches the fonts through these.
const bool kHookedToTheReset = [] {
  DDFontsLostDevice = FontsLostDevice;
  DDFontsRestore = FontsRestore;
  return true;
}();

}  // namespace

bool Font::CreateTextObjects() {
  m_lpFont = std::make_unique<cTextAtlas>(m_hFont);
  m_lpSprite = std::make_unique<cTextSprite>();
  if (!m_lpFont->Create()) {
    ReleaseTextObjects();
    return false;
  }
  return true;
}

void Font::ReleaseTextObjects() {
  m_lpSprite.reset();
  m_lpFont.reset();
}

void Font::RestoreTextObjects() {
  if (m_lpFont) m_lpFont->OnResetDevice();
}

int Font::DrawText3D(DDSURFACEDATA* target, int x, int y, const char* text, int bIcons) {
  DDResolveAlias(&target);
  DDRedirectBackBuffer(&target);
  if (!target->lpDT || !m_lpFont || !m_lpSprite) return 0;
  const bool caches = HasCaches();
  if (target->lpDT->nMemType != DTMEMORYTYPE_VIDEO_RT) {
    // A system-memory texture takes no quads: the glyphs go onto the work
    // surface, and the text from there.
    if (!MakeWorkSurface()) return 0;
    int extent[2];
    TextExtent(extent, text);
    DDFillRect(&m_sdWork, 0, 0, extent[0], extent[1], 0);
    if (!caches) {
      if (!DDBeginScene()) return 0;
      DDSetRenderTarget(0, &m_sdWork);
      m_lpSprite->Begin(m_dwColor);
    }
    cGlyphPen pen(m_hFont.get(), m_lpFont.get(), m_lpSprite.get(), &m_sdWork,
                  plat::Rect{0, 0, std::min(extent[0], m_sdWork.nWidth), std::min(extent[1], m_sdWork.nHeight)},
                  m_dwColor);
    DrawGlyphs(&m_sdWork, pen, 0, 0, target, x, y, text, bIcons);
    if (!caches) m_lpSprite->End();
    if (bIcons) DrawIcons(&m_sdWork, 0, 0, text);
    if (!caches) DDSetRenderTarget(0, lpDTCon->lpRestingTarget);
    DDBlt(target, x, y, extent[0], extent[1], &m_sdWork, 0, 0, 1);
    return 1;
  }
  if (!caches) {
    if (!DDBeginScene()) return 0;
    DDSetRenderTarget(0, target);
    m_lpSprite->Begin(m_dwColor);
  }
  cGlyphPen pen(m_hFont.get(), m_lpFont.get(), m_lpSprite.get(), target,
                plat::Rect{0, 0, target->nWidth, target->nHeight}, m_dwColor);
  DrawGlyphs(target, pen, x, y, target, x, y, text, bIcons);
  if (!caches) m_lpSprite->End();
  if (bIcons) DrawIcons(target, x, y, text);
  return caches ? m_nCache : DDSetRenderTarget(0, lpDTCon->lpRestingTarget);
}

void Font::DrawGlyphInCell3D(FastFont& cache, int cellX, int cellY, const char* ch, int bytes) {
  if (!m_lpFont || !m_lpSprite) return;
  cGlyphPen pen(m_hFont.get(), m_lpFont.get(), m_lpSprite.get(), &cache.m_sdCache,
                plat::Rect{cellX, cellY, cellX + m_nCellW, cellY + m_nCellH}, m_dwColor);
  DrawGlyph(pen, ch, bytes, cellX, cellY);
}
