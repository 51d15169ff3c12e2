#include "media/dd_frame.h"

#include "base/report_log.h"
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

plat::DDSurface* LostSurface(DDSURFACEDATA& sd) {
  plat::DDSurface* s = sd.lpDDS ? sd.lpDDS->lpSurface.get() : nullptr;
  return s && s->IsLost() == plat::DDERR_SURFACELOST ? s : nullptr;
}

// A lost surface of a set: restored, and one in video memory gets its image
// again from its file. An empty one (no file) is flagged bLost instead, so
// that its owner draws it again: a lost message window must not end the game.
bool RestoreSurface(DDSURFACEDATA& sd) {
  plat::DDSurface* s = LostSurface(sd);
  if (!s) return true;
  s->Restore();
  if (sd.nDDMemType == 1) return true;
  sd.bLost = 1;
  if (sd.szFileName.empty() || sd.szFileName == "E") return true;
  return DDReloadBitmap(&sd, nBpp) != 0;
}

template <class Set>
bool RestoreSurfaces(Set& set) {
  for (DDSURFACEDATA& sd : set)
    if (!RestoreSurface(sd)) return false;
  return true;
}

}  // namespace

cFrameDrawing* FrameDrawing = &LayerFrameDrawing;

bool cFrameDrawing::IsDirect3D() { return lpDTCon != nullptr; }
bool cFrameDrawing::IsWindowed() { return bWindowMode != 0; }

bool cFrameDrawing::IsPrimaryLost() {
  plat::DDSurface* primary = PrimarySurface();
  return primary && primary->IsLost() == plat::DDERR_SURFACELOST;
}

bool cFrameDrawing::Restore() { return DDRestore(); }

bool cFrameDrawing::RestoreSurfaceSets() {
  if (!RestoreSurfaces(Off_StageBmp) || !RestoreSurfaces(Off_Effect) || !RestoreSurfaces(Off_Sword) ||
      !RestoreSurfaces(Off_Picture) || !RestoreSurfaces(Off_Scene) || !RestoreSurfaces(Off_Msg))
    return false;
  RestoreDigitSurfaces(Off_Digit, SysFont, DIGIT_SHEET_COUNT);
  if (!Off_Msg.empty())
    DebugLogPrintf("if ( !RestoreSurface(Off_Msg) ) Off_Msg[0].bLost = %d", Off_Msg.At(0).bLost);
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
