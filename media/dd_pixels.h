#pragma once
// Pixel access for the software effects: the lock guard, the 8-bit blend
// table, and the two operations that stand in for a palette at 16 and 32
// bits (the palette swatch and the surface fade). Drawing thread.
#include <cstdint>

#include "media/dd_surface.h"
#include "media/dd_types.h"
#include "platform/rect.h"

// Makes the pixels of one surface addressable; the destructor (or Unlock)
// gives them back. Pixel (x, y) of an 8, 16 or 32-bit surface is element
// x + y * (m_nPitch / m_nBytesPerPixel) of the matching integer array.
class cSurfaceLock {
 public:
  cSurfaceLock() = default;
  ~cSurfaceLock() { Unlock(); }
  cSurfaceLock(const cSurfaceLock&) = delete;
  cSurfaceLock& operator=(const cSurfaceLock&) = delete;

  // Locks the surface (after alias and back-buffer redirection on the 3D
  // device); false with nothing locked on failure. With an area only its
  // pixels may be read or written: a 3D render target then reads back and
  // uploads that rectangle alone.
  bool Lock(DDSURFACEDATA* lpSD, const plat::Rect* area = nullptr);
  void Unlock();

  DDSURFACEDATA* m_lpSD = nullptr;
  uint8_t* m_pBits = nullptr;
  int m_nPitch = 0;  // bytes
  int m_nWidth = 0, m_nHeight = 0;  // of the locked memory
  int m_nBpp = 32;
  int m_nBytesPerPixel = 4;

 private:
  plat::Rect m_area;
  bool m_hasArea = false;
};

// True exactly for BackBuffer while the display is full screen.
bool DDIsFullscreenBackBuffer(const DDSURFACEDATA* lpSD);

// 256 rows of 256 palette indices: [a * 256 + b] shows the mix of a and b.
extern uint8_t BlendTable[65536];
// Software display: reads a whole 65536-byte table; false, with the table
// unchanged, when the file cannot be read or is shorter. 3D: true, unread.
bool LoadBlendTable(uint8_t table[65536], const char* path);

// 16 and 32 bits: palette entry n from the pixel at column n mod 16, row
// 8 + n / 16 of the surface (pixels the surface does not have are skipped).
// Nothing at 8 bits. Nonzero.
int DDSetPalette_UnPal(PALETTEENTRY pal[256], DDSURFACEDATA* lpSD);
// Software display at 16 and 32 bits: the target becomes a mix of the colour
// (level 0) and the source (level 256) where both have pixels. 1 when done
// or refused, 0 when a lock fails.
int DDFade_UnPal(DDSURFACEDATA* dst, int level, uint8_t red, uint8_t green, uint8_t blue, DDSURFACEDATA* src);
