#pragma once
// Rectangle copies between surfaces, the colour state of 3D draws, the fill
// and sprite batches, clipping, mirrored sheets and locks. A blit takes
// (target, x, y, width, height, source, source x, source y, ..., flags) with
// flags 0 for an opaque copy and 1 to leave the source's transparent pixels
// out. Called on the drawing thread.
#include <cstdint>
#include <vector>

#include "media/dd_surface.h"
#include "media/dd_types.h"

// 3D colour state of textured draws: vertex colour (ARGB), colour and alpha
// operation of texture stage 0. Nothing on the software display.
void DDSetDrawColor(uint32_t argb);
void DDResetDrawColor();
void DDSetColorOp(int op);
void DDResetColorOp();
void DDSetAlphaOp(int op);
void DDResetAlphaOp();

// The common copy. Software display: the copy's result (0 = done), 0 also
// when nothing is left after clipping.
int DDBlt(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int flags);
// A w x h target rectangle from an sw x sh source rectangle, nearest
// neighbour; on the 3D device a negative sw or sh mirrors.
int DDBltStretch(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int sw,
                 int sh, int flags);
// The same with a vertex colour and colour operation (blend[0], blend[1]) on
// the 3D device; the blend is ignored on the software display.
void DDBltStretchBlend(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int sw,
                       int sh, int flags, const int blend[2]);
void DDBltBlend(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int flags,
                const int blend[2]);

// Clips a blit to both surfaces in place; 0 when nothing is left to draw.
int DDClipBlt(DDSURFACEDATA* dst, int* x, int* y, int* w, int* h, DDSURFACEDATA* src, int* sx, int* sy, int* sw,
              int* sh);
// 3D, for a sheet with an alias: the source rectangle of cell k of the
// mirrored sheet as cell k of its source texture, mirrored within the cell.
void DDMirrorCoords(DDSURFACEDATA* lpSD, int* sx, int* sy, int* sw, int* sh);

// Software display: locks the whole surface (unlock with its Unlock). 3D:
// nothing is locked, true.
bool DDLock(DDSURFACEDATA* lpSD, DDSURFACEDESC2* desc, uint8_t** bits, int bpp);

// 3D scene bracket and render target; 0 on the software display.
int DDBeginScene();
void DDEndScene();
int DDSetRenderTarget(int ignored, DDSURFACEDATA* lpSD);

// --- batches (3D only; on the software display fills and blits are immediate) ---

struct DDFILLRECORD {
  DDSURFACEDATA* lpTarget = nullptr;
  int32_t x = 0, y = 0, w = 0, h = 0;
  uint32_t dwColor = 0;
};

struct DDBATCHBLIT {
  int32_t nKey = 0;    // the source's base key (0 when it has none or the batch does not sort)
  int32_t nOrder = 0;  // queue number: the order within one key
  DDSURFACEDATA* lpDst = nullptr;
  DDSURFACEDATA* lpSrc = nullptr;
  int32_t x = 0, y = 0, w = 0, h = 0, sx = 0, sy = 0, sw = 0, sh = 0;
  int32_t nFlags = 0;
  uint32_t dwColor = 0;
  int32_t nColorOp = 0, nAlphaOp = 0;
};

struct DDFILLBATCH {
  int bOpen = 0;
  std::vector<DDFILLRECORD> records;
};

struct DDSPRITEBATCH {
  int bOpen = 0;
  int bSort = 0;
  int32_t nQueued = 0;
  std::vector<DDBATCHBLIT> records;
  std::vector<std::pair<DDSURFACEDATA*, int32_t>> keys;  // source, base key
};

extern DDFILLBATCH FillBatch;
extern DDSPRITEBATCH SpriteBatch;

// Where DDFlushBatch hands each run (the 3D device's drawer; tests record).
using BatchRunDrawer = int (*)(const DDBATCHBLIT* records, int count);
extern BatchRunDrawer DDBatchRunDrawer;

void DDBeginFillBatch();
void DDFlushFillBatch();
// Opens the sprite batch; bSort draws the sources in the order DDBatchKey
// registered them, each source's draws in queue order.
void DDBeginBatch(int bSort);
void DDBatchKey(DDSURFACEDATA* lpSrc);
// Queues a clipped blit while the batch is open (from DDBltStretch).
void DDQueueBatchBlit(const DDBATCHBLIT& blit);
// Draws the queued blits, one run of equal source, target, colour, flags and
// operations at a time, and closes the batch. 0 when a run failed, else 1.
int DDFlushBatch();
