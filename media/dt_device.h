#pragma once
// The 3D back end's side of the drawing functions that differ per back end.
// The drawing layer calls each of these only while lpDTCon is set.
#include <cstdint>

#include "media/dd_blit.h"
#include "media/dd_layer.h"
#include "media/dd_surface.h"
#include "platform/messages.h"
#include "platform/rect.h"

// The layer keeps the 3D device record: made by this call (lpDTCon points
// to it), freed by DDRelease.
DTCONDATA* DDAllocDTCon();

// DDCreateD3D after the driver check: the device, its records and the
// fixed surfaces; sets bDirect3DBackEnd. False on failure (after its log
// lines); the records made so far go with DDRelease.
bool DTCreateDevice(plat::WindowHandle hWnd, int width, int height, int bpp);
// Releases the device objects (the records are the layer's); clears
// bDirect3DBackEnd.
void DTReleaseDevice();
// The end of a frame: pacing, scene end, present. False when the device is lost.
bool DTPresent(int fps, int a, DDSURFACEDATA* b);
bool DTSetDialogMode(int bOn);
int DTRestoreSurface();

bool DTCreateSurface(DDSURFACEDATA* lpSD, int w, int h, int bColorKey, int ddMemType, int dtMemType,
                     DDSURFACEDATA* lpAlias, int bRestore);
int DTCreateSurfaceFromFile(DDSURFACEDATA* lpSD, const char* file, int bColorKey, int bpp, int ddMemType,
                            int dtMemType, DDSURFACEDATA* lpAlias, int bIndexMap, int mirrorW, int mirrorH,
                            int bRestore);
bool DTCreateMirror(DDSURFACEDATA* lpSD, DDSURFACEDATA* lpSrc, int mirrorW, int mirrorH);

int DTFillRectColor(DDSURFACEDATA* lpSD, int x, int y, int w, int h, uint32_t colour);
// DDBltStretch after the mirror translation (both surfaces given).
int DTBltStretch(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int sw, int sh,
                 int flags);
// Draws runs of the batches; 0 when the run could not be drawn.
int DTDrawBatchRun(const DDBATCHBLIT* records, int count);
void DTDrawFillRun(const DDFILLRECORD* records, int count);
int DTBeginScene();
void DTEndScene();
int DTSetRenderTarget(DDSURFACEDATA* lpSD);

// The pixel access of a locked surface (cSurfaceLock calls these): bits of
// pixel (0, 0) and the pitch in bytes. A render-target texture other than
// the back buffer is read back into its system-memory copy, which is
// locked, and uploaded into the texture again by DTUnlock; the back buffer
// and the other textures lock in place. With an area (surface pixels; null:
// the whole surface) only its pixels are read back and uploaded, so the
// caller touches nothing outside it. False (after its debug line) when
// nothing could be locked.
bool DTLock(DDSURFACEDATA* lpSD, const plat::Rect* area, uint8_t** bits, int* pitch);
void DTUnlock(DDSURFACEDATA* lpSD, const plat::Rect* area);
// The fade's black quad over BackBuffer with the given alpha (0-255).
bool DTFadeQuad(int alpha);
