// The 3D back end's end of a frame, and the device reset after a loss.
#include "base/report_log.h"
#include "base/timers.h"
#include "media/dd_restore.h"
#include "media/dt_device.h"
#include "media/dt_internal.h"
#include "platform/clock.h"
#include "platform/presenter.h"
#include "platform/script_run.h"

void (*DDFontsLostDevice)() = nullptr;
void (*DDFontsRestore)() = nullptr;

namespace {

// "復旧失敗…リセット可能な状態ではありません…"
const char kCannotReset[] =
    "\x95\x9C\x8B\x8C\x8E\xB8\x94\x73\x81\x63\x83\x8A\x83\x5A\x83\x62\x83\x67\x89\xC2\x94\x5C\x82\xC8\x8F\xF3\x91\xD4"
    "\x82\xC5\x82\xCD\x82\xA0\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x63";

}  // namespace

bool DTPresent(int fps, int a, DDSURFACEDATA* b) {
  if (!lpDevice) return true;
  if (lpDTCon->bVirBackBuffer) DDCopyVirBackBuffer(&BackBuffer, &VirBackBuffer);
  // With vertical sync the present waits for the shown frame.
  if (!bVSync && !plat::ScriptRunning())
    while (!PaceFrame(fps > 0 ? static_cast<unsigned>(fps) : 0u, a, b)) plat::Sleep(1);
  DDEndScene();
  if (lpDevice->Present() == plat::D3DERR_DEVICELOST) {
    if (!bWindowMode) plat::MinimizePresenterWindow(true);
    return false;
  }
  return true;
}

int DTRestoreSurface() {
  if (!lpDevice) return 0;
  const std::vector<DDSURFACEDATA*> listed = RestoreList.Surfaces();
  for (DDSURFACEDATA* sd : listed) {
    if (!sd->lpDT || sd->lpDT->nMemType == DTMEMORYTYPE_SYSTEM) continue;
    sd->lpDT->lpTexture.reset();
    sd->lpDT->lpSurface.reset();
  }
  if (DDFontsLostDevice) DDFontsLostDevice();
  if (BackBuffer.lpDT) BackBuffer.lpDT->lpSurface.reset();

  DebugLogPuts("a-");
  const int32_t level = lpDevice->TestCooperativeLevel();
  // A device that runs already needs no reset, only its surfaces again.
  if (level != plat::D3DERR_DEVICENOTRESET && level != plat::D3D_OK) {
    DebugLogPuts(kCannotReset);
    return 0;
  }
  DebugLogPuts("a");
  if (level == plat::D3DERR_DEVICENOTRESET && lpDevice->Reset(lpDTCon->PresentParams) != plat::D3D_OK) return 0;
  lpDTCon->bInScene = 0;
  DDSetRenderStates();
  if (BackBuffer.lpDT) lpDevice->GetBackBuffer(BackBuffer.lpDT->lpSurface);

  int i = 0;
  for (DDSURFACEDATA* sd : RestoreList.Surfaces()) {
    DebugLogPrintf("i = %d lpSD->szSurfaceType = %s lpSD->szFileName = %s Size = (%d,%d)", i++,
                   sd->szSurfaceType.c_str(), sd->szFileName.c_str(), sd->nWidth, sd->nHeight);
    DTDATA& dt = *sd->lpDT;
    if (!sd->szFileName.empty() && sd->szFileName != "E") {
      const std::string file = sd->szFileName;
      if (DTCreateSurfaceFromFile(sd, file.c_str(), dt.bColorKey, nBpp, sd->nDDMemType, dt.nMemType, sd->lpAlias,
                                  dt.lpPalIndex ? 1 : 0, sd->nMirrorW, sd->nMirrorH, 1) != 0)
        DebugLogPuts("Err");
    } else {
      if (!DTCreateSurface(sd, sd->nWidth, sd->nHeight, dt.bColorKey, sd->nDDMemType, dt.nMemType, sd->lpAlias, 1))
        DebugLogPuts("Err");
      sd->bLost = 1;
    }
  }
  if (DDFontsRestore) DDFontsRestore();
  if (!bWindowMode) plat::MinimizePresenterWindow(false);
  DebugLogPuts("Restore Out");
  return 1;
}
