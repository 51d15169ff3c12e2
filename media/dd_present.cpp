// The end of a frame, and the 3D device's stand-in back buffer and mirror
// aliases.
#include "media/dd_blit.h"
#include "media/dd_layer.h"
#include "media/dt_device.h"

bool DDPresent(int fps, int a, DDSURFACEDATA* b) {
  if (lpDTCon) return DTPresent(fps, a, b);
  return true;
}

void DDUseVirBackBuffer(int bOn) {
  if (!lpDTCon) return;
  if (lpDTCon->bVirBackBuffer && !bOn && VirBackBuffer.lpDT && VirBackBuffer.lpDT->lpSurface)
    DDCopyVirBackBuffer(&BackBuffer, &VirBackBuffer);
  lpDTCon->bVirBackBuffer = bOn;
  lpDTCon->lpRestingTarget = bOn ? &BackBuffer : &VirBackBuffer;
  DDSURFACEDATA* target = lpDTCon->lpRestingTarget;
  if (target->lpDT && target->lpDT->lpSurface) DDSetRenderTarget(0, target);
}

bool DDRedirectBackBuffer(DDSURFACEDATA** ppSD) {
  if (!lpDTCon || !lpDTCon->bVirBackBuffer || !ppSD) return false;
  if (*ppSD == &BackBuffer) *ppSD = &VirBackBuffer;
  return true;
}

void DDCopyVirBackBuffer(DDSURFACEDATA*, DDSURFACEDATA*) {
  if (!lpDTCon) return;
  lpDTCon->bCopyingVirBackBuffer = 1;
  DDSetAlphaOp(D3DTOP_DISABLE);
  DDBlt(&BackBuffer, 0, 0, VirBackBuffer.nWidth, VirBackBuffer.nHeight, &VirBackBuffer, 0, 0, 0);
  DDResetAlphaOp();
  lpDTCon->bCopyingVirBackBuffer = 0;
}

void DDResolveAlias(DDSURFACEDATA** ppSD) {
  if (lpDTCon && ppSD && *ppSD && (*ppSD)->lpAlias) *ppSD = (*ppSD)->lpAlias;
}
