// The hero's drawing: the character with its box markers, and the sight mask.
#include "base/checked_convert.h"
#include "game/characters.h"
#include "game/play_drawing.h"
#include "media/dd_layer.h"
#include "media/surface_table.h"
#include "records/system.h"

namespace {

// The sight mask the stage builds for the hero's sight.
constexpr int kSightMask = 65;

int64_t ClampDraw(int64_t v, int64_t lo, int64_t hi) {
  if (v > hi) v = hi;
  if (v < lo) v = lo;
  return v;
}

}  // namespace

void cHero::Draw(DDSURFACEDATA* surface, int bFrozen) {
  cCharaBase::Draw(surface, bFrozen);
  // In 8-bit colour with palette cycling the palette itself makes the colours run.
  const int cycling = nBpp == 8 && SystemData.m_bPaletteCycle;
  for (BOXMARKER& m : m_vMarkers) {
    if (m.nMode == 0) continue;
    const HITBOX* box = m.nAnchor == BOXANCHOR_CONTACT  ? &m_Contact
                        : m.nAnchor == BOXANCHOR_PICKUP ? &m_PickupBox
                        : m.nAnchor == BOXANCHOR_SHOT   ? &m_ShotContact
                                                        : nullptr;
    m.nX = SaturateToInt(static_cast<int64_t>(m_rcScreen.nLeft) + m_nOffsetX + (box ? box->nOffsetX : 0));
    m.nY = SaturateToInt(static_cast<int64_t>(m_rcScreen.nTop) + m_nOffsetY + (box ? box->nOffsetY : 0));
    const int colour = cycling ? m.nColor : m.nColor + m.nCounter / 8;
    if (m.nMode == 2)
      PlayDrawing->DDDrawFrame(surface, m.nX, m.nY, m.nWidth, m.nHeight, 1, colour);
    else
      PlayDrawing->DDFillRect(surface, m.nX, m.nY, m.nWidth, m.nHeight, colour);
    if (!bFrozen) m.nCounter = (m.nCounter + 1) % 32;
  }
}

void cHero::DrawSight(DDSURFACEDATA* surface) {
  const int mode = m_Def.m_nSightMode;
  if (mode == 0) return;
  DDSURFACEDATA* mask = &SurfaceTable[kSightMask];
  int64_t left = static_cast<int64_t>(mask->nWidth / 2) - m_nGfxWidth / 2 - m_rcScreen.nLeft;
  if (mode == 2 || mode == 4) left += FacingSign() * (static_cast<int64_t>(m_nGfxWidth / 2) - m_nSightDots);
  int64_t top = static_cast<int64_t>(mask->nHeight / 2) - m_nGfxHeight / 2 - m_rcScreen.nTop;
  left = ClampDraw(left, 0, static_cast<int64_t>(mask->nWidth) - 640);
  top = ClampDraw(top, 0, static_cast<int64_t>(mask->nHeight) - 480);
  PlayDrawing->DDBlt(surface, 0, 0, 640, 480, mask, static_cast<int>(left), static_cast<int>(top), 1);
}
