#include "media/dd_frame.h"

#include "media/dd_blit.h"
#include "media/dd_layer.h"
#include "media/dd_restore.h"
#include "media/dd_surface.h"
#include "media/font.h"
#include "media/system_surfaces.h"
#include "platform/soft_display.h"

namespace {

cFrameDrawing LayerFrameDrawing;

plat::DDSurface* PrimarySurface() { return Primary.lpDDS ? Primary.lpDDS->lpSurface.get() : nullptr; }

}  // namespace

cFrameDrawing* FrameDrawing = &LayerFrameDrawing;

bool cFrameDrawing::IsDirect3D() { return lpDTCon != nullptr; }
bool cFrameDrawing::IsWindowed() { return bWindowMode != 0; }

bool cFrameDrawing::IsPrimaryLost() {
  plat::DDSurface* primary = PrimarySurface();
  return primary && primary->IsLost() == plat::DDERR_SURFACELOST;
}

bool cFrameDrawing::Restore() { return DDRestore(); }

// The stage's and the scenes' surface sets join here as those parts come.
bool cFrameDrawing::RestoreSurfaceSets() {
  RestoreDigitSurfaces(Off_Digit, SysFont, DIGIT_SHEET_COUNT);
  // Message windows come back empty; each redraws its text when it next shows.
  for (DDSURFACEDATA& sd : Off_Msg) {
    plat::DDSurface* surface = sd.lpDDS ? sd.lpDDS->lpSurface.get() : nullptr;
    if (!surface || surface->IsLost() != plat::DDERR_SURFACELOST) continue;
    surface->Restore();
    if (sd.nDDMemType == 0) sd.bLost = 1;
  }
  return true;
}

bool cFrameDrawing::Present(int fps, int overlay, DDSURFACEDATA* sheet) { return DDPresent(fps, overlay, sheet); }

void cFrameDrawing::ShowFrame(int sync) {
  plat::DDSurface* primary = PrimarySurface();
  if (!primary) return;
  if (bWindowMode) {
    if (sync && lpDD) lpDD->WaitForVerticalBlank();
    DDBlt(&Primary, 0, 0, 640, 480, &BackBuffer, 0, 0, 0);
  } else if (sync) {
    primary->Flip();
  } else {
    DDBlt(&Primary, 0, 0, 640, 480, &BackBuffer, 0, 0, 0);
  }
}

void cFrameDrawing::DrawText(int font, int x, int y, const char* text) {
  if (font >= 0 && font < SYSTEM_FONT_COUNT) SysFont[font].DrawText(&BackBuffer, x, y, text, 0);
}

void cFrameDrawing::DrawTextBox(int font, int x, int y, int w, int h, const char* text) {
  if (font < 0 || font >= SYSTEM_FONT_COUNT) return;
  SysFont[font].DrawTextInBox(&BackBuffer, x, y, w, h, text, 0, SysFont[font].m_dwColor);
}
