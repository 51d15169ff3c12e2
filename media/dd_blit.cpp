// Rectangle copies, their clipping, the mirrored sheets of the 3D device,
// locks, and the colour state and scene bracket of 3D draws.
#include "media/dd_blit.h"

#include <algorithm>

#include "base/report_log.h"
#include "media/dd_layer.h"
#include "media/dt_device.h"
#include "platform/soft_display.h"

namespace {

// "D3DではDDLockは未対応"
const char kNoLockOn3D[] = "D3D\x82\xC5\x82\xCD""DDLock\x82\xCD\x96\xA2\x91\xCE\x89\x9E";

int NarrowBlit(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

plat::DDSurface* SurfaceOf(DDSURFACEDATA* lpSD) {
  return lpSD && lpSD->lpDDS ? lpSD->lpDDS->lpSurface.get() : nullptr;
}

// A cut of `cut` target pixels off a stretched span of w target and sw source
// pixels takes the same share of the source.
void CutSpan(int64_t cut, int64_t& w, int64_t& s, int64_t& sw, bool fromStart) {
  const int64_t ds = cut * sw / w;
  if (fromStart) s += ds;
  sw -= ds;
  w -= cut;
}

}  // namespace

// --- colour state ---

void DDSetDrawColor(uint32_t argb) {
  if (lpDTCon) lpDTCon->dwDrawColor = argb;
}
void DDResetDrawColor() { DDSetDrawColor(0xFFFFFFFF); }
void DDSetColorOp(int op) {
  if (lpDTCon) lpDTCon->nColorOp = op;
}
void DDResetColorOp() { DDSetColorOp(D3DTOP_MODULATE); }
void DDSetAlphaOp(int op) {
  if (lpDTCon) lpDTCon->nAlphaOp = op;
}
void DDResetAlphaOp() { DDSetAlphaOp(D3DTOP_SELECTARG1); }

// --- clipping ---

int DDClipBlt(DDSURFACEDATA* dst, int* px, int* py, int* pw, int* ph, DDSURFACEDATA* src, int* psx, int* psy,
              int* psw, int* psh) {
  if (*pw <= 0 || *ph <= 0 || *psw == 0 || *psh == 0 || !dst || !src) return 0;
  const bool d3d = lpDTCon != nullptr;
  // The software display has no mirrored draw: a negative source size draws nothing.
  if (!d3d && (*psw < 0 || *psh < 0)) return 0;
  const bool negW = *psw < 0, negH = *psh < 0;
  int64_t x = *px, y = *py, w = *pw, h = *ph, sx = *psx, sy = *psy, sw = *psw, sh = *psh;

  if (sw == w && sh == h) {
    int64_t l = std::max<int64_t>(sx, 0), t = std::max<int64_t>(sy, 0);
    int64_t r = std::min<int64_t>(sx + sw, src->nWidth), b = std::min<int64_t>(sy + sh, src->nHeight);
    // A source starting left of or above its surface draws its first pixel
    // where the whole copy would put it.
    x += l - sx;
    y += t - sy;
    // A start left of or above the target moves into the source; an end past
    // the target's edge is cut (both may happen at once).
    if (x < 0) {
      l -= x;
      x = 0;
    }
    if (x + (r - l) > dst->nWidth) r = l + dst->nWidth - x;
    if (y < 0) {
      t -= y;
      y = 0;
    }
    if (y + (b - t) > dst->nHeight) b = t + dst->nHeight - y;
    sx = l;
    sy = t;
    sw = w = r - l;
    sh = h = b - t;
  } else {
    int64_t l = d3d ? std::min(sx, sx + sw) : sx, r = d3d ? std::max(sx, sx + sw) : sx + sw;
    int64_t t = d3d ? std::min(sy, sy + sh) : sy, b = d3d ? std::max(sy, sy + sh) : sy + sh;
    const int64_t fullW = r - l, fullH = b - t;
    const int64_t l0 = l, r0 = r, t0 = t, b0 = b;
    l = std::max<int64_t>(l, 0);
    t = std::max<int64_t>(t, 0);
    r = std::min<int64_t>(r, src->nWidth);
    b = std::min<int64_t>(b, src->nHeight);
    const int64_t leftW = r - l, leftH = b - t;
    if (leftW <= 0 || leftH <= 0) return 0;
    // What is cut off the source's start (its end when mirrored) moves the
    // target by the same share, so the rest lands where the whole copy puts it.
    x += (negW ? r0 - r : l - l0) * w / fullW;
    y += (negH ? b0 - b : t - t0) * h / fullH;
    w = w * leftW / fullW;
    h = h * leftH / fullH;
    sx = negW ? r : l;
    sw = negW ? -leftW : leftW;
    sy = negH ? b : t;
    sh = negH ? -leftH : leftH;
    if (!d3d) {
      if (w <= 0 || h <= 0) return 0;
      if (x < 0) {
        CutSpan(-x, w, sx, sw, true);
        x = 0;
      }
      if (w > 0 && x + w > dst->nWidth) CutSpan(x + w - dst->nWidth, w, sx, sw, false);
      if (y < 0 && h > 0) {
        CutSpan(-y, h, sy, sh, true);
        y = 0;
      }
      if (h > 0 && y + h > dst->nHeight) CutSpan(y + h - dst->nHeight, h, sy, sh, false);
    }
  }
  *px = NarrowBlit(x);
  *py = NarrowBlit(y);
  *pw = NarrowBlit(w);
  *ph = NarrowBlit(h);
  *psx = NarrowBlit(sx);
  *psy = NarrowBlit(sy);
  *psw = NarrowBlit(sw);
  *psh = NarrowBlit(sh);
  const bool ok = sw != 0 && sh != 0 && (sw < 0) == negW && (sh < 0) == negH && w > 0 && h > 0;
  return ok ? 1 : 0;
}

void DDMirrorCoords(DDSURFACEDATA* lpSD, int* sx, int* sy, int* sw, int* sh) {
  if (!lpDTCon || !lpSD || !lpSD->lpAlias) return;
  if (const int c = lpSD->nMirrorW) {
    if (*sw == c) {
      *sx += c;
      *sw = -*sw;
    } else if (*sw < c) {
      *sx = *sx + c - 2 * (*sx % c);
      *sw = -*sw;
    }
  }
  if (const int c = lpSD->nMirrorH) {
    if (*sh == c) {
      *sy += c;
      *sh = -*sh;
    } else if (*sh < c) {
      *sy = *sy + c - 2 * (*sy % c);
      *sh = -*sh;
    }
  }
}

// --- copies ---

int DDBlt(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int flags) {
  if (lpDTCon) return DDBltStretch(dst, x, y, w, h, src, sx, sy, w, h, flags);
  int sw = w, sh = h;
  if (!DDClipBlt(dst, &x, &y, &w, &h, src, &sx, &sy, &sw, &sh)) return 0;
  plat::DDSurface* d = SurfaceOf(dst);
  plat::DDSurface* s = SurfaceOf(src);
  if (!d || !s) return plat::DDERR_INVALIDPARAMS;
  return d->BltFast(x, y, *s, plat::Rect{sx, sy, sx + w, sy + h}, (flags & 1) != 0);
}

int DDBltStretch(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int sw, int sh,
                 int flags) {
  if (!dst || !src) return 0;
  DDMirrorCoords(src, &sx, &sy, &sw, &sh);
  if (!lpDTCon) {
    if (!DDClipBlt(dst, &x, &y, &w, &h, src, &sx, &sy, &sw, &sh)) return 0;
    plat::DDSurface* d = SurfaceOf(dst);
    plat::DDSurface* s = SurfaceOf(src);
    if (!d || !s) return plat::DDERR_INVALIDPARAMS;
    return d->Blt(plat::Rect{x, y, x + w, y + h}, *s, plat::Rect{sx, sy, sx + sw, sy + sh}, (flags & 1) != 0);
  }
  DDResolveAlias(&dst);
  DDResolveAlias(&src);
  if (lpDTCon->bCopyingVirBackBuffer) {
    dst = &BackBuffer;
    src = &VirBackBuffer;
  } else {
    DDRedirectBackBuffer(&dst);
    DDRedirectBackBuffer(&src);
  }
  const bool videoPath = dst->lpDT && dst->lpDT->bRenderTarget && src->lpDT &&
                         src->lpDT->nMemType != DTMEMORYTYPE_SYSTEM;
  if (videoPath) {
    if (!DDClipBlt(dst, &x, &y, &w, &h, src, &sx, &sy, &sw, &sh)) return 0;
    if (SpriteBatch.bOpen) {
      DDBATCHBLIT blit;
      blit.lpDst = dst;
      blit.lpSrc = src;
      blit.x = x, blit.y = y, blit.w = w, blit.h = h;
      blit.sx = sx, blit.sy = sy, blit.sw = sw, blit.sh = sh;
      blit.nFlags = flags;
      blit.dwColor = lpDTCon->dwDrawColor;
      blit.nColorOp = lpDTCon->nColorOp;
      blit.nAlphaOp = lpDTCon->nAlphaOp;
      DDQueueBatchBlit(blit);
      return 1;
    }
  }
  return DTBltStretch(dst, x, y, w, h, src, sx, sy, sw, sh, flags);
}

void DDBltStretchBlend(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int sw,
                       int sh, int flags, const int blend[2]) {
  if (!lpDTCon) {
    DDBltStretch(dst, x, y, w, h, src, sx, sy, sw, sh, flags);
    return;
  }
  DDSetDrawColor(static_cast<uint32_t>(blend[0]));
  DDSetColorOp(blend[1]);
  DDBltStretch(dst, x, y, w, h, src, sx, sy, sw, sh, flags);
  DDResetDrawColor();
  DDResetColorOp();
}

void DDBltBlend(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int flags,
                const int blend[2]) {
  if (lpDTCon)
    DDBltStretchBlend(dst, x, y, w, h, src, sx, sy, w, h, flags, blend);
  else
    DDBlt(dst, x, y, w, h, src, sx, sy, flags);
}

// --- locks, scenes, render targets ---

bool DDLock(DDSURFACEDATA* lpSD, DDSURFACEDESC2* desc, uint8_t** bits, int) {
  if (lpDTCon) {
    DebugLogPuts(kNoLockOn3D);
    return true;
  }
  plat::DDSurface* s = SurfaceOf(lpSD);
  plat::LockedPixels px;
  if (!s || s->Lock(px) != plat::DD_OK) return false;
  if (desc) {
    desc->dwWidth = px.width;
    desc->dwHeight = px.height;
    desc->lPitch = px.pitch;
    desc->dwRGBBitCount = px.bpp;
    desc->lpSurface = px.bits;
  }
  if (bits) *bits = px.bits;
  return true;
}

int DDBeginScene() {
  if (!lpDTCon) return 0;
  if (lpDTCon->bInScene) return 1;
  return DTBeginScene();
}

void DDEndScene() {
  if (lpDTCon && lpDTCon->bInScene) DTEndScene();
}

int DDSetRenderTarget(int, DDSURFACEDATA* lpSD) {
  if (!lpDTCon || !lpSD || !lpSD->lpDT || !lpSD->lpDT->bRenderTarget) return 0;
  return DTSetRenderTarget(lpSD);
}
