// Rectangle fills with a palette number or a ready colour.
#include <algorithm>

#include "base/report_log.h"
#include "media/dd_layer.h"
#include "media/dt_device.h"
#include "platform/soft_display.h"

int DDFillRect(DDSURFACEDATA* lpSD, int x, int y, int w, int h, int palNum) {
  if (!lpSD) return 0;
  const bool valid = palNum >= 0 && palNum <= 255;
  if (lpDTCon) {
    uint32_t colour = 0;
    if (!valid) {
      DebugLogPrintf("PalNumToRGB(DWORD dwPalNum) Err dwPalNum = %d", palNum);
    } else if (palNum == 0) {
      colour = lpDTCon->dwTransmitTexel;
    } else {
      const PALETTEENTRY& e = CurPalette[palNum];
      colour = 0xFF000000u | uint32_t{e.peRed} << 16 | uint32_t{e.peGreen} << 8 | e.peBlue;
    }
    return DDFillRectColor(lpSD, x, y, w, h, colour);
  }
  uint32_t value = 0;
  if (!valid) {
    DebugLogPrintf("DDFillRect Err palNum = %d", palNum);
  } else if (nBpp == 8) {
    value = static_cast<uint32_t>(palNum);
  } else if (nBpp == 16) {
    value = DDPalToRGB16(&CurPalette[palNum]);
  } else {
    const PALETTEENTRY& e = CurPalette[palNum];
    value = uint32_t{e.peRed} << 16 | uint32_t{e.peGreen} << 8 | e.peBlue;
  }
  return DDFillRectColor(lpSD, x, y, w, h, value);
}

int DDFillSurface(DDSURFACEDATA* lpSD, int palNum) {
  if (!lpSD) return 0;
  return DDFillRect(lpSD, 0, 0, lpSD->nWidth, lpSD->nHeight, palNum);
}

int DDFillRectColor(DDSURFACEDATA* lpSD, int x, int y, int w, int h, uint32_t colour) {
  if (!lpSD) return 0;
  if (lpDTCon) {
    DDResolveAlias(&lpSD);
    DDRedirectBackBuffer(&lpSD);
    return DTFillRectColor(lpSD, x, y, w, h, colour);
  }
  if (!lpSD->lpDDS || !lpSD->lpDDS->lpSurface) return 0;
  // Both edges are kept inside the surface, also when the rectangle starts
  // left of or above it.
  const int64_t left = std::max<int64_t>(x, 0), top = std::max<int64_t>(y, 0);
  const int64_t right = std::min<int64_t>(int64_t{x} + w, lpSD->nWidth);
  const int64_t bottom = std::min<int64_t>(int64_t{y} + h, lpSD->nHeight);
  if (right <= left || bottom <= top) return 0;
  return lpSD->lpDDS->lpSurface->Fill(
      plat::Rect{static_cast<int>(left), static_cast<int>(top), static_cast<int>(right), static_cast<int>(bottom)},
      colour);
}

int DDFillSurfaceColor(DDSURFACEDATA* lpSD, uint32_t colour) {
  if (!lpSD) return 0;
  return DDFillRectColor(lpSD, 0, 0, lpSD->nWidth, lpSD->nHeight, colour);
}
