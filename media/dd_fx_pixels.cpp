// The pixel mode, channel layouts and locks of the software effects.
#include "media/dd_fx_pixels.h"

#include <algorithm>

#include "base/report_log.h"
#include "media/dd_layer.h"

namespace {

// A shift past the pixel would make every decode undefined, and no channel
// holds more than a byte: tables with such values decode as 0 (or a byte).
int SafeShift(int s) { return s >= 0 && s < 32 ? s : 0; }
int SafeMask(int m, int s) { return s >= 0 && s < 32 && m >= 0 ? (m > 255 ? 255 : m) : 0; }

cPixelPlane PlaneOf(const cSurfaceLock& lock) {
  cPixelPlane p;
  p.bits = lock.m_pBits;
  p.pitch = lock.m_nPitch;
  // The image's size bounds every effect; the locked memory bounds it too.
  p.w = std::max(0, std::min(lock.m_lpSD->nWidth, lock.m_nWidth));
  p.h = std::max(0, std::min(lock.m_lpSD->nHeight, lock.m_nHeight));
  return p;
}

}  // namespace

cPixelFormat cPixelFormat::From(const int texture[8], const int back[8], uint32_t transmit) {
  cPixelFormat f;
  for (int k = 0; k < 4; ++k) {
    f.shift[k] = SafeShift(texture[k]);
    f.mask[k] = SafeMask(texture[4 + k], texture[k]);
  }
  for (int k = 0; k < 3; ++k) {
    f.backShift[k] = SafeShift(back[k]);
    f.backMask[k] = SafeMask(back[4 + k], back[k]);
  }
  f.transmit = transmit;
  return f;
}

cChannelScale::cChannelScale(const cPixelFormat& f) {
  for (int k = 0; k < 3; ++k) {
    const int mask = f.mask[k];
    for (int v = 0; v < 256; ++v) {
      up[k][v] = static_cast<uint8_t>(mask ? std::min(v, mask) * 255 / mask : 0);
      down[k][v] = static_cast<uint8_t>(v * mask / 255);
    }
  }
}

cPixelFormat cPixelFormat::Current() { return From(TextureChannels, BackBufferChannels, TransmitPixel); }

cSpan CutRange(int64_t lo, int64_t hi, int64_t a, int64_t b) {
  const int64_t l = std::max(lo, a), h = std::min(hi, b);
  if (h <= l) return {};
  return cSpan{static_cast<int>(l), static_cast<int>(h)};
}

cSpan CutCopyAxis(int64_t at, int64_t n, int dstSize, int64_t from, int srcSize, bool mirrored) {
  int64_t lo = std::max<int64_t>(0, -at), hi = std::min<int64_t>(n, dstSize - at);
  if (mirrored) {
    lo = std::max(lo, from - srcSize);
    hi = std::min(hi, from);
  } else {
    lo = std::max(lo, -from);
    hi = std::min<int64_t>(hi, srcSize - from);
  }
  if (hi <= lo) return {};
  return cSpan{static_cast<int>(lo), static_cast<int>(hi)};
}

DDSURFACEDATA* DDEffectSurface(DDSURFACEDATA* lpSD) {
  if (lpDTCon) {
    DDResolveAlias(&lpSD);
    DDRedirectBackBuffer(&lpSD);
  }
  return lpSD;
}

bool DDEffectDrawsQuad(const DDSURFACEDATA* dst, const DDSURFACEDATA* src) {
  return lpDTCon && dst && src && dst->lpDT && dst->lpDT->bRenderTarget && src->lpDT &&
         src->lpDT->nMemType != DTMEMORYTYPE_SYSTEM;
}

plat::Rect EffectArea(int64_t x, int64_t y, int64_t w, int64_t h, int64_t mx, int64_t my) {
  auto cut = [](int64_t v) {
    constexpr int64_t kLimit = int64_t{1} << 30;
    return static_cast<int>(std::clamp(v, -kLimit, kLimit));
  };
  if (w <= 0 || h <= 0) return plat::Rect{};
  return plat::Rect{cut(x - mx), cut(y - my), cut(x + w + mx), cut(y + h + my)};
}

bool cEffectLocks::Lock(DDSURFACEDATA* dst, DDSURFACEDATA* src, const plat::Rect* dstArea,
                        const plat::Rect* srcArea) {
  m_source.Unlock();
  m_target.Unlock();
  dst = DDEffectSurface(dst);
  src = DDEffectSurface(src);
  if (!dst || !src || dst == src) return false;
  if (!m_target.Lock(dst, dstArea)) return false;
  if (!m_source.Lock(src, srcArea)) {
    m_target.Unlock();
    return false;
  }
  return true;
}

cEffectPixels cEffectLocks::Pixels(const char* effect) const {
  cEffectPixels px;
  if (!m_target.m_lpSD || !m_source.m_lpSD) return px;
  px.format = cPixelFormat::Current();
  px.dst = PlaneOf(m_target);
  px.src = PlaneOf(m_source);
  const int bpp = m_target.m_nBpp;
  if (bpp == m_source.m_nBpp) {
    if (lpDTCon) {
      if (bpp == 16) px.mode = DDIsFullscreenBackBuffer(m_target.m_lpSD) ? PIXEL_DT16_BACK : PIXEL_DT16;
      if (bpp == 32) px.mode = PIXEL_DT32;
    } else {
      if (bpp == 8) px.mode = PIXEL_DD8;
      if (bpp == 16) px.mode = PIXEL_DD16;
      if (bpp == 32) px.mode = PIXEL_DD32;
    }
  }
  if (px.mode == PIXEL_NONE)
    DebugLogPrintf("%s : %d / %d bits per pixel, nothing drawn", effect, bpp, m_source.m_nBpp);
  return px;
}
