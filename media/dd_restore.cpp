// Getting surfaces back after the display lost them.
#include "media/dd_restore.h"

#include "base/report_log.h"
#include "media/dd_layer.h"
#include "media/dt_device.h"
#include "media/font.h"
#include "platform/soft_display.h"

namespace {

// "D3DではDDRestoreは未対応"
const char kNoRestoreOn3D[] = "D3D\x82\xC5\x82\xCD""DDRestore\x82\xCD\x96\xA2\x91\xCE\x89\x9E";
// "DDではDDRestoreSurfaceは未対応"
const char kNoRestoreSurfaceOnDD[] = "DD\x82\xC5\x82\xCD""DDRestoreSurface\x82\xCD\x96\xA2\x91\xCE\x89\x9E";

plat::DDSurface* SurfaceOf(DDSURFACEDATA& sd) { return sd.lpDDS ? sd.lpDDS->lpSurface.get() : nullptr; }

}  // namespace

bool DDRestore() {
  if (lpDTCon) {
    DebugLogPuts(kNoRestoreOn3D);
    return true;
  }
  plat::DDSurface* primary = SurfaceOf(Primary);
  if (!primary || primary->IsLost() != plat::DDERR_SURFACELOST) return true;
  primary->Restore();
  if (plat::DDSurface* back = SurfaceOf(BackBuffer); back && back->IsLost() == plat::DDERR_SURFACELOST)
    back->Restore();
  for (int i = 0; lpSurfaceTable && i < nSurfaceCount; ++i) {
    DDSURFACEDATA& sd = lpSurfaceTable[i];
    plat::DDSurface* s = SurfaceOf(sd);
    if (!s || s->IsLost() != plat::DDERR_SURFACELOST) continue;
    s->Restore();
    if (sd.nDDMemType != 0) continue;
    if (!sd.szFileName.empty() && sd.szFileName != "E")
      DDReloadBitmap(&sd, nBpp);
    else
      sd.bLost = 1;
  }
  if (nBpp == 8 && DDPalette) {
    plat::PalEntry entries[256];
    for (int i = 0; i < 256; ++i) {
      const PALETTEENTRY& e = BasePalette[i];
      entries[i] = plat::PalEntry{e.peRed, e.peGreen, e.peBlue, e.peFlags};
    }
    DDPalette->SetEntries(0, 256, entries);
  }
  for (int i = 0; i < FontList.Count(); ++i) FontList.At(i)->Restore();
  return true;
}

int DDRestoreSurface() {
  DebugLogPuts("Restore In");
  if (!lpDTCon) {
    DebugLogPuts(kNoRestoreSurfaceOnDD);
    return 1;
  }
  return DTRestoreSurface();
}
