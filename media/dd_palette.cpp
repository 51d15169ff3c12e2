// Palettes from BMP files, the transparent colour, and palette blends and
// rotation.
#include <algorithm>

#include "base/boxes.h"
#include "base/report_log.h"
#include "media/dd_effects.h"
#include "media/dd_layer.h"
#include "media/dd_pixels.h"
#include "platform/soft_display.h"

namespace {

// "%s 作成失敗！"
const char kMakeFailed[] = "%s \x8D\xEC\x90\xAC\x8E\xB8\x94\x73\x81\x49";
// "Lock 失敗！"
const char kLockFailed[] = "Lock \x8E\xB8\x94\x73\x81\x49";
// "DDPalToRGB16はDirect3Dでは未対応"
const char kNoPalToRgb16On3D[] = "DDPalToRGB16\x82\xCD""Direct3D\x82\xC5\x82\xCD\x96\xA2\x91\xCE\x89\x9E";
// "※16bit色で　DDSetTransmit(BYTE cbRed,BYTE cbGreen,BYTE cbBlue)　は未対応！"
const char kNoTransmit16[] =
    "\x81\xA6""16bit\x90\x46\x82\xC5\x81\x40""DDSetTransmit(BYTE cbRed,BYTE cbGreen,BYTE cbBlue)\x81\x40\x82\xCD"
    "\x96\xA2\x91\xCE\x89\x9E\x81\x49";

bool ValidRange(int first, int last) { return first >= 0 && last <= 255 && first <= last; }

// A surface that is released whatever way the function leaves.
struct TempSurface {
  DDSURFACEDATA sd;
  ~TempSurface() { DDReleaseSurface(&sd); }
};

}  // namespace

bool DDLoadPaletteFromFile(PALETTEENTRY pal[256], const char* file, int bpp) {
  plat::BmpImage img;
  if (!file || plat::LoadBmp(file, img) != plat::BmpStatus::Ok) return false;
  if (img.indexed && img.bitCount == 8 && (lpDTCon || bpp == 8)) {
    for (int i = 0; i < 256; ++i) {
      const plat::PalEntry e = i < static_cast<int>(img.palette.size()) ? img.palette[static_cast<size_t>(i)]
                                                                        : plat::PalEntry{};
      uint8_t flags = 255;
      if (!lpDTCon) flags = (i < 10 || i >= 246) ? PC_EXPLICIT : PC_RESERVED;
      pal[i] = PALETTEENTRY{e.red, e.green, e.blue, flags};
    }
  }
  if (bpp == 8) {
    if (lpDDCon && DDPalette) {
      plat::PalEntry entries[256];
      for (int i = 0; i < 256; ++i)
        entries[i] = plat::PalEntry{pal[i].peRed, pal[i].peGreen, pal[i].peBlue, pal[i].peFlags};
      DDPalette->SetEntries(0, 256, entries);
    }
    return true;
  }
  TempSurface temp;
  if (DDCreateSurfaceFromFile(&temp.sd, file, 0, bpp, 1, DTMEMORYTYPE_SYSTEM, nullptr, 0, 0, 0, 0) == 0)
    DDSetPalette_UnPal(pal, &temp.sd);
  return true;
}

int DDSetTransmit(const char* file) {
  TempSurface temp;
  if (!file || DDCreateSurfaceFromFile(&temp.sd, file, 0, nBpp, 1, DTMEMORYTYPE_SYSTEM, nullptr, 0, 0, 0, 0) != 0) {
    DebugLogPrintf(kMakeFailed, file ? file : "");
    return 0;
  }
  cSurfaceLock lock;
  if (!lock.Lock(&temp.sd)) {
    DebugLogPuts(kLockFailed);
    return 0;
  }
  uint32_t pixel;
  switch (lock.m_nBpp) {
    case 8: pixel = lock.m_pBits[0]; break;
    case 16: pixel = *reinterpret_cast<const uint16_t*>(lock.m_pBits); break;
    default: pixel = *reinterpret_cast<const uint32_t*>(lock.m_pBits);
  }
  if (lpDTCon) {
    if (nBpp == 16) {
      TransmitPixel = pixel;
      plat::BmpImage img;
      if (plat::LoadBmp(file, img) != plat::BmpStatus::Ok) return 0;
      if (img.indexed && img.bitCount == 8 && !img.palette.empty()) {
        const plat::PalEntry& e = img.palette[0];
        lpDTCon->rgbTransmit16 = RGBTRIPLE{e.blue, e.green, e.red};
      }
      auto channel = [&](int k) {
        return static_cast<uint8_t>((pixel >> TextureChannels[k]) & static_cast<uint32_t>(TextureChannels[4 + k]));
      };
      DDSetTransmit(channel(0), channel(1), channel(2));
      DebugLogPrintf("SetTrans(filename) lpDTCon->wTransmit_16 = (%x)", lpDTCon->wTransmit_16);
    } else {
      DDSetTransmit(static_cast<uint8_t>(pixel >> 16), static_cast<uint8_t>(pixel >> 8), static_cast<uint8_t>(pixel));
    }
  } else {
    TransmitPixel = pixel;
    if (nBpp == 32 && lpDDCon)
      lpDDCon->rgbTransmit = RGBTRIPLE{static_cast<uint8_t>(pixel), static_cast<uint8_t>(pixel >> 8),
                                       static_cast<uint8_t>(pixel >> 16)};
  }
  return 1;
}

void DDSetTransmit(uint8_t red, uint8_t green, uint8_t blue) {
  if (lpDTCon) {
    lpDTCon->rgbTransmit = RGBTRIPLE{blue, green, red};
    DebugLogPrintf(
        "SetTrans lpDTCon->rgbTransmit.rgbtRed = %d,lpDTCon->rgbTransmit.rgbtGreen = %d,lpDTCon->rgbTransmit.rgbtBlue = %d",
        red, green, blue);
    if (nBpp == 16 || nBpp == 32) {
      lpDTCon->dwTransmitTexel = 0;
      lpDTCon->dwTransmitColor = 0xFF000000u | uint32_t{red} << 16 | uint32_t{green} << 8 | blue;
      lpDTCon->wTransmit_16 = 0;
    }
    if (nBpp == 16)
      lpDTCon->wTransmitKey_16 = static_cast<uint16_t>((blue & 31) | (green & 31) << 5 | (red & 31) << 10 | 1 << 15);
    if (nBpp == 32) {
      lpDTCon->wTransmitKey_16 = 0;
      TransmitPixel = lpDTCon->dwTransmitTexel;
    }
    return;
  }
  if (nBpp == 16) {
    const int c[3] = {red, green, blue};
    uint32_t pixel = 0;
    for (int k = 0; k < 3; ++k)
      pixel |= static_cast<uint32_t>(c[k] * TextureChannels[4 + k] / 255) << TextureChannels[k];
    TransmitPixel = pixel;
    DebugLogPuts(kNoTransmit16);
    auto back = [&](int k) {
      const int mask = TextureChannels[4 + k];
      return mask ? static_cast<int>((pixel >> TextureChannels[k]) & static_cast<uint32_t>(mask)) * 255 / mask : 0;
    };
    DebugBoxPrintf("Tr %d RGB32(%d,%d,%d) -> RGB16(%d,%d,%d)", static_cast<int>(pixel), red, green, blue, back(0),
                   back(1), back(2));
  } else if (nBpp == 32) {
    TransmitPixel = uint32_t{red} << 16 | uint32_t{green} << 8 | blue;
    if (lpDDCon) lpDDCon->rgbTransmit = RGBTRIPLE{blue, green, red};
  }
}

uint16_t DDPalToRGB16(const PALETTEENTRY* e) {
  if (lpDTCon) {
    DebugLogPuts(kNoPalToRgb16On3D);
    return 0;
  }
  if (!e) return 0;
  return static_cast<uint16_t>((e->peBlue & TextureChannels[6]) << TextureChannels[2] |
                               (e->peGreen & TextureChannels[5]) << TextureChannels[1] |
                               (e->peRed & TextureChannels[4]) << TextureChannels[0]);
}

void DDBlendPalette(PALETTEENTRY out[], int first, int last, int level, uint8_t red, uint8_t green, uint8_t blue,
                    const PALETTEENTRY src[]) {
  if (!ValidRange(first, last)) {
    std::copy(src, src + 256, out);
    return;
  }
  level = std::clamp(level, 0, 256);
  const int keep = 256 - level;
  for (int i = first; i <= last; ++i) {
    const PALETTEENTRY e = src[i];
    out[i].peRed = static_cast<uint8_t>((red * keep + e.peRed * level) >> 8);
    out[i].peGreen = static_cast<uint8_t>((green * keep + e.peGreen * level) >> 8);
    out[i].peBlue = static_cast<uint8_t>((blue * keep + e.peBlue * level) >> 8);
    out[i].peFlags = 1;
  }
}

void DDRotatePalette(PALETTEENTRY out[256], int first, int last, int n, int direction, const PALETTEENTRY src[256]) {
  if (nBpp != 8 && nBpp != 16 && nBpp != 32) return;
  PALETTEENTRY from[256];  // out may be src itself
  std::copy(src, src + 256, from);
  std::copy(from, from + 256, out);
  if (!ValidRange(first, last)) return;
  const int count = last - first + 1;
  n = (n % count + count) % count;
  for (int k = 0; k < count; ++k) {
    if (direction == 0)
      out[first + (k + n) % count] = from[first + k];
    else if (direction == 1)
      out[first + k] = from[first + (k + n) % count];
  }
}
