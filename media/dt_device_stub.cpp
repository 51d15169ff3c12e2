// No 3D device yet: GetDDIVersion stays below 9, so DDInit never sets
// lpDTCon and nothing here is reached; each entry fails safely.
#include "media/dt_device.h"

bool DTCreateDevice(plat::WindowHandle, int, int, int) { return false; }
void DTReleaseDevice() {}
bool DTPresent(int, int, DDSURFACEDATA*) { return true; }
bool DTSetDialogMode(int) { return true; }
int DTRestoreSurface() { return 1; }
bool DTCreateSurface(DDSURFACEDATA*, int, int, int, int, int, DDSURFACEDATA*, int) { return false; }
int DTCreateSurfaceFromFile(DDSURFACEDATA*, const char*, int, int, int, int, DDSURFACEDATA*, int, int, int, int) {
  return 8;
}
bool DTCreateMirror(DDSURFACEDATA*, DDSURFACEDATA*, int, int) { return true; }
int DTFillRectColor(DDSURFACEDATA*, int, int, int, int, uint32_t) { return 0; }
int DTBltStretch(DDSURFACEDATA*, int, int, int, int, DDSURFACEDATA*, int, int, int, int, int) { return 0; }
int DTDrawBatchRun(const DDBATCHBLIT*, int) { return 0; }
void DTDrawFillRun(const DDFILLRECORD*, int) {}
int DTBeginScene() { return 0; }
void DTEndScene() {}
int DTSetRenderTarget(DDSURFACEDATA*) { return 0; }
bool DTLock(DDSURFACEDATA*, uint8_t**, int*) { return false; }
void DTUnlock(DDSURFACEDATA*) {}
bool DTFadeQuad(int) { return false; }
