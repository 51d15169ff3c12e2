#pragma once
// What the hardware report reads of the drawing layer: which back end runs,
// in which mode and depth, the software display's video memory and the
// monitor's rate, the driver level the 3D start checks, and the 3D device's
// texture memory and limits. Read on the main thread after DDInit (the
// monitor's rate is asked of the window system there).
#include <cstdint>

struct DDDRAWINGFACTS {
  int bReady = 0;         // the layer runs (either back end)
  int bDirect3D = 0;      // the 3D back end runs
  int bWindowMode = 1;    // 1 in a window, 0 full screen
  int nBpp = 0;           // 8, 16 or 32
  int bDirectDraw = 0;    // the software display exists
  int nVideoTotalMB = 0;  // the software display's video memory, whole MiB
  int nVideoFreeMB = 0;
  uint32_t nMonitorFrequency = 0;  // Hz; 0 when unknown
  int nDDIVersion = 0;             // 9 or more lets the 3D back end start
  // The 3D device (0 while it does not run).
  int nTextureMemoryMB = 0;  // video memory left for textures
  int nMaxTextureWidth = 0, nMaxTextureHeight = 0;
  int nMaxTextureBlendStages = 0, nMaxSimultaneousTextures = 0;
};

DDDRAWINGFACTS DDGetDrawingFacts();

// The file dialogs over the 8-bit software display keep their own colours
// in entry 0 of the display's palette: set it to a colour, and put it back
// from the palette in force (CurPalette) afterwards. Nothing without the
// software display's palette. Main thread.
void DDSetPaletteEntry0(uint8_t red, uint8_t green, uint8_t blue, uint8_t flags);
void DDRestorePaletteEntry0();
