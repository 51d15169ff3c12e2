// The 3D back end's pixel access for the software effects: a render-target
// texture is read back into its system-memory copy when locked and uploaded
// again when unlocked (only the area asked for, when one is, and of it only
// what was drawn since the last read back); the back buffer and the other
// textures lock in place.
#include "base/boxes.h"
#include "base/report_log.h"
#include "media/dt_device.h"
#include "media/dt_internal.h"

namespace {

bool ReadsBack(const DDSURFACEDATA* lpSD) { return lpSD->lpDT->bRenderTarget && lpSD != &BackBuffer; }

}  // namespace

bool DTLock(DDSURFACEDATA* lpSD, const plat::Rect* area, uint8_t** bits, int* pitch) {
  if (!lpDevice || !lpSD || !lpSD->lpDT) return false;
  DTDATA& dt = *lpSD->lpDT;
  plat::D3DLockedRect lock;
  if (ReadsBack(lpSD)) {
    if (!dt.lpSurface || !dt.lpSystemSurface ||
        lpDevice->GetRenderTargetData(*dt.lpSurface, *dt.lpSystemSurface, area) != plat::D3D_OK) {
      DebugLogPuts("FAILED( lpDevice->GetRenderTargetData(lpSD->lpDT->lpSurface,lpSD->lpDT->lpSystemSurface) )");
      return false;
    }
    if (dt.lpSystemSurface->LockRect(lock, area) != plat::D3D_OK) {
      DebugLogPuts("FAILED( lpSD->lpDT->lpSystemSurface->LockRect(&lock, NULL, 0) )");
      return false;
    }
  } else {
    if (!dt.lpSurface) return false;
    if (dt.lpSurface->LockRect(lock, area) != plat::D3D_OK) {
      DebugBoxPrintf("FAILED( lpSD->lpDT->lpSurface->LockRect(&(lock), NULL, 0) )");
      return false;
    }
  }
  *bits = lock.bits;
  *pitch = lock.pitch;
  return true;
}

void DTUnlock(DDSURFACEDATA* lpSD, const plat::Rect* area) {
  if (!lpDevice || !lpSD || !lpSD->lpDT) return;
  DTDATA& dt = *lpSD->lpDT;
  if (lpSD == &BackBuffer) {
    if (!dt.lpSurface || dt.lpSurface->UnlockRect() != plat::D3D_OK)
      DebugLogPuts("Back :: D3D_OK != m_lpSD->lpDT->lpSurface->UnlockRect();");
    return;
  }
  if (dt.bRenderTarget) {
    if (!dt.lpSystemSurface || dt.lpSystemSurface->UnlockRect() != plat::D3D_OK) {
      DebugLogPuts("D3D_OK != m_lpSD->lpDT->lpSystemSurface->UnlockRect();");
      return;
    }
    if (!dt.lpSurface || lpDevice->UpdateSurface(*dt.lpSystemSurface, *dt.lpSurface, area) != plat::D3D_OK)
      DebugBoxPrintf(
          "FAILED( lpDevice->UpdateSurface(m_lpSD->lpDT->lpSystemSurface, NULL, m_lpSD->lpDT->lpSurface, NULL)");
    return;
  }
  if (!dt.lpSurface || dt.lpSurface->UnlockRect() != plat::D3D_OK)
    DebugLogPuts("D3D_OK != m_lpSD->lpDT->lpSurface->UnlockRect();");
}
