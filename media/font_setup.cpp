// The system fonts and their digit sheets: made at start-up, redrawn after a
// loss, released at shutdown.
#include <algorithm>
#include <cstring>

#include "base/report_log.h"
#include "media/dd_layer.h"
#include "media/fast_font.h"
#include "media/font.h"
#include "media/system_surfaces.h"
#include "platform/soft_display.h"
#include "records/system.h"
#include "records/system_ini.h"

namespace {

DDSURFACEDATA* TableSurface(int index) {
  if (!lpSurfaceTable || index < 0 || index >= nSurfaceCount) return nullptr;
  return &lpSurfaceTable[index];
}

}  // namespace

int CreateFonts(Font fonts[], const FONTDEF defs[], int n) {
  int result = 1;
  for (int i = 0; i < n; ++i) {
    const FONTDEF& d = defs[i];
    if (!fonts[i].Create(d.szFaceName, d.nWidth, d.nHeight, d.nCellWidth, d.nCellHeight, d.nTextColor,
                         TableSurface(d.nBoxImage), d.nFrameThick, d.nFrameColor, TableSurface(d.nIconSheet), d.nCache))
      result = 0;
  }
  return result;
}

void DrawDigitStrip(DDSURFACEDATA* lpSD, Font& font) {
  DDFillSurface(lpSD, 0);
  font.DrawText(lpSD, 0, 0, "0123456789", 0);
}

int CreateDigitSurfaces(DDSURFACEDATA out[], const DDSURFACEDEF defs[], int n, Font fonts[], const FONTDEF fontDefs[]) {
  for (int i = 0; i < n; ++i) {
    const int w = static_cast<int>(std::clamp<int64_t>(int64_t{fontDefs[i].nCellWidth} * 10, 0, INT32_MAX));
    DDCreateSurface(&out[i], w, fontDefs[i].nCellHeight, defs[i].bColorKey, defs[i].nDDMemType, defs[i].nDTMemType, nullptr,
                    0);
    DrawDigitStrip(&out[i], fonts[i]);
  }
  return 1;
}

int RestoreDigitSurfaces(DDSURFACEDATA sheets[], Font fonts[], int n) {
  for (int i = 0; i < n; ++i) {
    DDSURFACEDATA& sd = sheets[i];
    if (!sd.lpDDS || !sd.lpDDS->lpSurface || sd.lpDDS->lpSurface->IsLost() != plat::DDERR_SURFACELOST) continue;
    sd.lpDDS->lpSurface->Restore();
    if (sd.nDDMemType == 0) DrawDigitStrip(&sd, fonts[i]);
  }
  return 1;
}

bool CreateSystemFonts() {
  const char* face = SystemData.FontName();
  for (FONTDEF& def : FontSpec) {
    std::memset(def.szFaceName, 0, sizeof def.szFaceName);
    std::strncpy(def.szFaceName, face ? face : "", sizeof def.szFaceName - 1);
    if (def.nCache == 2) def.nCache = lpDTCon ? SystemIni.nD3D_FontCache : SystemIni.nDD_FontCache;
  }
  // Centring is known before the caches are drawn, so that cached glyphs sit
  // where the others do.
  SysFont[1].m_bCentre = SystemData.m_bCentreGlyphs;
  if (!CreateFonts(SysFont, FontSpec, SYSTEM_FONT_COUNT)) return false;
  SysFont[1].m_bIcon = SystemData.m_bIconLetters;
  if (!CreateDigitSurfaces(Off_Digit, DigitSurfaceDefs, DIGIT_SHEET_COUNT, SysFont, FontSpec)) return false;
  DebugLogPuts("3");
  return true;
}

void ReportFontCacheUse() {
  if (!bDDReady) return;
  if (SysFont[0].m_lpFastFont_FullAdd) ReportPrintf("Font10 : %d", SysFont[0].CachedFullChars());
  if (SysFont[1].m_lpFastFont_FullAdd) ReportPrintf("Font16 : %d", SysFont[1].CachedFullChars());
}

void ReleaseSystemFonts() {
  for (Font& font : SysFont) font.Release();
  for (DDSURFACEDATA& sheet : Off_Digit) DDReleaseSurface(&sheet);
}
