// The lock guard of the software effects, the 8-bit blend table, and the
// palette stand-ins of modes without a palette.
#include "media/dd_pixels.h"

#include <algorithm>
#include <cstdio>
#include <cstring>

#include "base/report_log.h"
#include "media/dd_blit.h"
#include "media/dd_fx_pixels.h"
#include "media/dd_layer.h"
#include "media/dt_device.h"
#include "platform/host_path.h"
#include "platform/soft_display.h"

uint8_t BlendTable[65536];

namespace {

// "D3DではDDFade_UnPalは未対応"
const char kNoFadeOn3D[] = "D3D\x82\xC5\x82\xCD""DDFade_UnPal\x82\xCD\x96\xA2\x91\xCE\x89\x9E";

uint32_t PixelAt(const cSurfaceLock& lock, int x, int y) {
  const uint8_t* row = lock.m_pBits + static_cast<size_t>(y) * static_cast<size_t>(lock.m_nPitch);
  switch (lock.m_nBpp) {
    case 8: return row[x];
    case 16: return reinterpret_cast<const uint16_t*>(row)[x];
    default: return reinterpret_cast<const uint32_t*>(row)[x];
  }
}

int Channel(uint32_t p, int k) { return static_cast<int>((p >> TextureChannels[k]) & static_cast<uint32_t>(TextureChannels[4 + k])); }

}  // namespace

bool cSurfaceLock::Lock(DDSURFACEDATA* lpSD, const plat::Rect* area) {
  Unlock();
  if (!lpSD) return false;
  m_hasArea = area != nullptr;
  if (area) m_area = *area;
  if (lpDTCon) {
    DDResolveAlias(&lpSD);
    DDRedirectBackBuffer(&lpSD);
    uint8_t* bits = nullptr;
    int pitch = 0;
    if (!DTLock(lpSD, area, &bits, &pitch)) return false;
    m_lpSD = lpSD;
    m_pBits = bits;
    m_nPitch = pitch;
    m_nWidth = lpSD->nTexWidth;
    m_nHeight = lpSD->nTexHeight;
    m_nBpp = nBpp;
    m_nBytesPerPixel = nBpp / 8;
    return true;
  }
  DDSURFACEDESC2 desc;
  uint8_t* bits = nullptr;
  if (!DDLock(lpSD, &desc, &bits, nBpp)) return false;
  m_lpSD = lpSD;
  m_pBits = bits;
  m_nPitch = desc.lPitch;
  m_nWidth = desc.dwWidth;
  m_nHeight = desc.dwHeight;
  m_nBpp = desc.dwRGBBitCount;
  m_nBytesPerPixel = m_nBpp / 8;
  return true;
}

void cSurfaceLock::Unlock() {
  if (!m_lpSD) return;
  if (lpDTCon)
    DTUnlock(m_lpSD, m_hasArea ? &m_area : nullptr);
  else if (m_lpSD->lpDDS && m_lpSD->lpDDS->lpSurface)
    m_lpSD->lpDDS->lpSurface->Unlock();
  m_lpSD = nullptr;
  m_pBits = nullptr;
}

bool DDIsFullscreenBackBuffer(const DDSURFACEDATA* lpSD) { return lpSD == &BackBuffer && !bWindowMode; }

bool LoadBlendTable(uint8_t table[65536], const char* path) {
  if (lpDTCon) return true;
  FILE* f = plat::OpenFile(path ? path : "", "rb");
  if (!f) return false;
  static uint8_t read[65536];
  const size_t got = std::fread(read, 1, sizeof read, f);
  std::fclose(f);
  // A short table would mix real entries with stale ones: keep the old one whole.
  if (got != sizeof read) {
    ReportPrintfDebug("LoadBlendTable : %s holds %zu of 65536 bytes", path, got);
    return false;
  }
  std::memcpy(table, read, sizeof read);
  return true;
}

int DDSetPalette_UnPal(PALETTEENTRY pal[256], DDSURFACEDATA* lpSD) {
  if (nBpp == 8) return 1;
  cSurfaceLock lock;
  if (!lock.Lock(lpSD)) {
    if (lpDTCon) DebugLogPuts("DDSetPalette_UnPal Lock Err");
    return 1;
  }
  for (int n = 0; n < 256; ++n) {
    const int x = n % 16, y = 8 + n / 16;
    if (x >= lock.m_nWidth || y >= lock.m_nHeight) continue;
    const uint32_t p = PixelAt(lock, x, y);
    PALETTEENTRY& e = pal[n];
    if (lock.m_nBpp == 16) {
      if (lpDTCon) {
        if (((p >> TextureChannels[3]) & static_cast<uint32_t>(TextureChannels[7])) == 0) continue;
        e.peRed = static_cast<uint8_t>(Channel(p, 0) * 255 / std::max(1, TextureChannels[4]));
        e.peGreen = static_cast<uint8_t>(Channel(p, 1) * 255 / std::max(1, TextureChannels[5]));
        e.peBlue = static_cast<uint8_t>(Channel(p, 2) * 255 / std::max(1, TextureChannels[6]));
      } else {
        e.peRed = static_cast<uint8_t>(Channel(p, 0));
        e.peGreen = static_cast<uint8_t>(Channel(p, 1));
        e.peBlue = static_cast<uint8_t>(Channel(p, 2));
      }
    } else if (lock.m_nBpp == 32) {
      if (lpDTCon && (p >> 24) == 0) continue;
      e.peRed = static_cast<uint8_t>(p >> 16);
      e.peGreen = static_cast<uint8_t>(p >> 8);
      e.peBlue = static_cast<uint8_t>(p);
      e.peFlags = static_cast<uint8_t>(p >> 24);
    }
  }
  return 1;
}

int DDFade_UnPal(DDSURFACEDATA* dst, int level, uint8_t red, uint8_t green, uint8_t blue, DDSURFACEDATA* src) {
  if (lpDTCon) {
    DebugLogPuts(kNoFadeOn3D);
    return 1;
  }
  cSurfaceLock target;
  if (!target.Lock(dst)) return 0;
  cSurfaceLock source;  // unlocked first, on the way out
  if (!source.Lock(src)) return 0;
  level = std::clamp(level, 0, 256);
  const int u = 256 - level;
  const int w = std::min(target.m_nWidth, source.m_nWidth);
  const int h = std::min(target.m_nHeight, source.m_nHeight);
  const int base[3] = {red * u, green * u, blue * u};
  // 16 bits: each channel's result depends on the source channel alone, so
  // it is worked out once per call for every channel value.
  const cPixelFormat f = cPixelFormat::Current();
  uint16_t faded[3][256] = {};
  if (target.m_nBpp == 16)
    for (int k = 0; k < 3; ++k) {
      const int mask = f.mask[k];
      if (mask == 0) continue;
      for (int c = 0; c <= mask; ++c) {
        const int v = (base[k] + level * (c * 255 / mask)) >> 8;
        faded[k][c] = static_cast<uint16_t>((v * mask / 255 & mask) << f.shift[k]);
      }
    }
  for (int y = 0; y < h; ++y) {
    uint8_t* d = target.m_pBits + static_cast<size_t>(y) * static_cast<size_t>(target.m_nPitch);
    const uint8_t* s = source.m_pBits + static_cast<size_t>(y) * static_cast<size_t>(source.m_nPitch);
    if (target.m_nBpp == 16 && source.m_nBpp == 16) {
      uint16_t* dp = reinterpret_cast<uint16_t*>(d);
      const uint16_t* sp = reinterpret_cast<const uint16_t*>(s);
      for (int x = 0; x < w; ++x)
        dp[x] = static_cast<uint16_t>(faded[0][f.Get(sp[x], 0)] | faded[1][f.Get(sp[x], 1)] | faded[2][f.Get(sp[x], 2)]);
    } else if (target.m_nBpp == 32 && source.m_nBpp == 32) {
      for (int x = 0; x < w; ++x) {
        uint8_t* dq = d + 4 * x;
        const uint8_t* sq = s + 4 * x;
        dq[2] = static_cast<uint8_t>((base[0] + level * sq[2]) >> 8);
        dq[1] = static_cast<uint8_t>((base[1] + level * sq[1]) >> 8);
        dq[0] = static_cast<uint8_t>((base[2] + level * sq[0]) >> 8);
      }
    }
  }
  return 1;
}
