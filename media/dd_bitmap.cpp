// BMP pixels into software-display surfaces, and the palette-index map.
#include <algorithm>
#include <bit>

#include "base/boxes.h"
#include "base/report_log.h"
#include "media/dd_bitmap.h"
#include "media/dd_layer.h"
#include "media/dd_pixels.h"
#include "platform/soft_display.h"

namespace {

// The source column (or row) that pixel x of a sheet mirrored in cells of
// `cell` takes: the same place counted from the other side of its cell.
int Mirrored(int x, int cell, int size) {
  if (cell <= 0) return x;
  const int start = x / cell * cell;
  const int end = std::min(start + cell, size);
  return end - 1 - (x - start);
}

uint32_t Pack(int r, int g, int b) {
  return static_cast<uint32_t>(b) << TextureChannels[2] | static_cast<uint32_t>(g) << TextureChannels[1] |
         static_cast<uint32_t>(r) << TextureChannels[0];
}

// A 24/32-bit colour for a 16-bit display: each channel value * max / 255;
// the key colour of such images becomes the transparent pixel, and a colour
// that lands on the transparent pixel by chance moves one step in blue.
uint32_t ConvertKeyed16(uint32_t rgb) {
  const int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
  if (lpDDCon && r == lpDDCon->rgbTransmit16.rgbtRed && g == lpDDCon->rgbTransmit16.rgbtGreen &&
      b == lpDDCon->rgbTransmit16.rgbtBlue)
    return TransmitPixel;
  const int mr = TextureChannels[4], mg = TextureChannels[5], mb = TextureChannels[6];
  int cb = b * mb / 255;
  uint32_t p = Pack(r * mr / 255, g * mg / 255, cb);
  if (p == TransmitPixel) {
    cb = cb == mb ? cb - 1 : cb + 1;
    p = Pack(r * mr / 255, g * mg / 255, cb);
  }
  return p;
}

// What a copy through the window system gives: at 16 bits each channel keeps
// its top bits. The shifts depend only on the display's format, so a copy
// finds them once, not per pixel.
struct PlainShifts {
  int r = 0, g = 0, b = 0;
};

PlainShifts FindPlainShifts() {
  return {8 - std::popcount(static_cast<unsigned>(TextureChannels[4])),
          8 - std::popcount(static_cast<unsigned>(TextureChannels[5])),
          8 - std::popcount(static_cast<unsigned>(TextureChannels[6]))};
}

uint32_t ConvertPlain(uint32_t rgb, int bpp, const PlainShifts& shifts) {
  const int r = (rgb >> 16) & 0xFF, g = (rgb >> 8) & 0xFF, b = rgb & 0xFF;
  if (bpp != 16) return Pack(r, g, b);
  return Pack(r >> shifts.r, g >> shifts.g, b >> shifts.b);
}

}  // namespace

bool CopyBitmapImage(DDSURFACEDATA* lpSD, const char* file, const plat::BmpImage& img, int bpp, int bIndexMap,
                     int mirrorW, int mirrorH) {
  if (!lpSD || !lpSD->lpDDS || !lpSD->lpDDS->lpSurface) return false;
  plat::DDSurface& surface = *lpSD->lpDDS->lpSurface;
  const int sw = surface.Width(), sh = surface.Height();
  if (bpp == 8) {
    if (!img.indexed || img.bitCount != 8) {
      DebugLogPrintf("CopyBitmap Err %s : a %d-bit image on an 8-bit display", file, img.bitCount);
      return false;
    }
    if (sw != img.width || sh != img.height) {
      DebugLogPrintf("CopyBitmap Err %s Surface(%d,%d) Bmp(%d,%d)", file, sw, sh, img.width, img.height);
      return false;
    }
  }
  plat::LockedPixels px;
  if (surface.Lock(px) != plat::DD_OK) return false;
  const int w = std::min(sw, img.width), h = std::min(sh, img.height);
  const bool keyed16 = bpp == 16 && !img.indexed && img.bitCount >= 24;
  const PlainShifts shifts = FindPlainShifts();
  // An indexed image has at most 256 colours: convert each once.
  uint32_t converted[256];
  if (img.indexed && px.bpp != 8)
    for (int i = 0; i < 256; ++i) {
      const uint32_t rgb = i < static_cast<int>(img.palette.size())
                               ? uint32_t{img.palette[static_cast<size_t>(i)].red} << 16 |
                                     uint32_t{img.palette[static_cast<size_t>(i)].green} << 8 |
                                     img.palette[static_cast<size_t>(i)].blue
                               : 0;
      converted[i] = ConvertPlain(rgb, px.bpp, shifts);
    }
  for (int y = 0; y < h; ++y) {
    const int fy = Mirrored(y, mirrorH, h);
    uint8_t* row = px.bits + static_cast<size_t>(y) * static_cast<size_t>(px.pitch);
    for (int x = 0; x < w; ++x) {
      const int fx = Mirrored(x, mirrorW, w);
      const size_t at = static_cast<size_t>(fy) * static_cast<size_t>(img.width) + static_cast<size_t>(fx);
      if (px.bpp == 8) {
        row[x] = img.indices[at];
        continue;
      }
      uint32_t p;
      if (img.indexed) {
        p = converted[img.indices[at]];
      } else {
        const uint32_t rgb = img.Colour(fx, fy);
        p = keyed16 ? ConvertKeyed16(rgb) : ConvertPlain(rgb, px.bpp, shifts);
      }
      if (px.bpp == 16)
        reinterpret_cast<uint16_t*>(row)[x] = static_cast<uint16_t>(p);
      else
        reinterpret_cast<uint32_t*>(row)[x] = p;
    }
  }
  surface.Unlock();
  lpSD->nWidth = w;
  lpSD->nHeight = h;
  lpSD->nMirrorW = mirrorW;
  lpSD->nMirrorH = mirrorH;
  lpSD->szFileName = file ? file : "";
  if (bIndexMap && bpp != 8) return DDBuildPalIndexMap(lpSD) != 0;
  lpSD->lpDDS->lpPalIndex.reset();
  lpSD->lpDDS->nPalIndexPitch = 0;
  return true;
}

int DDBuildPalIndexMap(DDSURFACEDATA* lpSD) {
  if (!lpSD) return 0;
  DDSURFACEDATA* target = lpSD;
  if (lpDTCon) DDResolveAlias(&target);
  cSurfaceLock lock;
  if (!lock.Lock(target)) {
    OutOfMemory();
    return 0;
  }
  const int pitch = lock.m_nPitch / lock.m_nBytesPerPixel;
  const int w = std::min(target->nWidth, pitch);
  const int h = target->nHeight;
  auto map = std::make_unique<uint8_t[]>(static_cast<size_t>(pitch) * static_cast<size_t>(h));
  const bool colourKeyed = lpDTCon && target->lpDT && target->lpDT->bColorKey;
  for (int y = 0; y < h; ++y) {
    const uint8_t* row = lock.m_pBits + static_cast<size_t>(y) * static_cast<size_t>(lock.m_nPitch);
    for (int x = 0; x < w; ++x) {
      uint8_t& out = map[static_cast<size_t>(y) * static_cast<size_t>(pitch) + static_cast<size_t>(x)];
      if (lock.m_nBpp == 16) {
        const uint16_t p = reinterpret_cast<const uint16_t*>(row)[x];
        if (lpDTCon) {
          if (p == 0 && colourKeyed) {
            out = 0;
            continue;
          }
          int c[3];
          for (int k = 0; k < 3; ++k) {
            const int mask = TextureChannels[4 + k];
            c[k] = mask ? ((p >> TextureChannels[k]) & mask) * 255 / mask : 0;
          }
          for (int i = 0; i < 256; ++i)
            if (CurPalette[i].peRed == c[0] && CurPalette[i].peGreen == c[1] && CurPalette[i].peBlue == c[2]) {
              out = static_cast<uint8_t>(i);
              break;
            }
        } else {
          for (int i = 0; i < 256; ++i)
            if (DDPalToRGB16(&CurPalette[i]) == p) {
              out = static_cast<uint8_t>(i);
              break;
            }
        }
      } else if (lock.m_nBpp >= 24) {
        const uint8_t* q = row + static_cast<size_t>(x) * static_cast<size_t>(lock.m_nBytesPerPixel);
        for (int i = 0; i < 256; ++i)
          if (CurPalette[i].peRed == q[2] && CurPalette[i].peGreen == q[1] && CurPalette[i].peBlue == q[0]) {
            out = static_cast<uint8_t>(i);
            break;
          }
      }
    }
  }
  if (lpSD->lpDT) {
    lpSD->lpDT->lpPalIndex = std::move(map);
    lpSD->lpDT->nPalIndexPitch = pitch;
  } else if (lpSD->lpDDS) {
    lpSD->lpDDS->lpPalIndex = std::move(map);
    lpSD->lpDDS->nPalIndexPitch = pitch;
  }
  return 1;
}
