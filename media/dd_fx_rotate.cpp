// The rotated copy: every target pixel of the turned rectangle's box mapped
// back into the source in fixed point with 10 fraction bits.
#include <algorithm>
#include <cmath>

#include "base/checked_convert.h"
#include "media/dd_blit.h"
#include "media/dd_fx.h"
#include "media/dd_fx_loops.h"
#include "media/dd_layer.h"
#include "media/dt_quad.h"

namespace {

constexpr double kRotateRadiansPerDegree = 0.017453292519943295;

// Sine and cosine times 1024, truncated toward zero.
struct cTurn {
  int64_t s, c;
  explicit cTurn(double radians)
      : s(ToIntChecked(std::sin(radians) * 1024)), c(ToIntChecked(std::cos(radians) * 1024)) {}
};

struct cRotation {
  int x, y, w, h, pivotX, pivotY, sx, sy;
  bool mirrorX, mirrorY;
  cTurn forward, inverse;
};

template <class T, class Store>
void RotateLoop(const cEffectPixels& px, const cRotation& r, Store store) {
  // The box the turned corners span, two pixels wider on every side.
  const int64_t cornersX[2] = {-int64_t{r.pivotX}, int64_t{r.w} - r.pivotX - 1};
  const int64_t cornersY[2] = {-int64_t{r.pivotY}, int64_t{r.h} - r.pivotY - 1};
  int64_t minX = INT64_MAX, maxX = INT64_MIN, minY = INT64_MAX, maxY = INT64_MIN;
  for (int64_t cx : cornersX)
    for (int64_t cy : cornersY) {
      const int64_t X = ((cx * r.forward.c - cy * r.forward.s) >> 10) + r.pivotX;
      const int64_t Y = ((cx * r.forward.s + cy * r.forward.c) >> 10) + r.pivotY;
      minX = std::min(minX, X), maxX = std::max(maxX, X);
      minY = std::min(minY, Y), maxY = std::max(maxY, Y);
    }
  // Only the part of the box that lands on the target is scanned.
  const int64_t toTargetX = int64_t{r.x} - r.pivotX, toTargetY = int64_t{r.y} - r.pivotY;
  const int64_t X0 = std::max(minX - 2, -toTargetX), X1 = std::min(maxX + 2, px.dst.w - toTargetX);
  const int64_t Y0 = std::max(minY - 2, -toTargetY), Y1 = std::min(maxY + 2, px.dst.h - toTargetY);
  if (X1 <= X0 || Y1 <= Y0) return;
  // The source pixels that can be read: inside the rectangle and the source.
  const int64_t firstU = r.mirrorX ? int64_t{r.sx} - px.src.w : -int64_t{r.sx};
  const int64_t endU = r.mirrorX ? int64_t{r.sx} : int64_t{px.src.w} - r.sx;
  const int64_t firstV = r.mirrorY ? int64_t{r.sy} - px.src.h : -int64_t{r.sy};
  const int64_t endV = r.mirrorY ? int64_t{r.sy} : int64_t{px.src.h} - r.sy;
  const int64_t uLo = std::max<int64_t>(0, firstU), uHi = std::min<int64_t>(r.w, endU);
  const int64_t vLo = std::max<int64_t>(0, firstV), vHi = std::min<int64_t>(r.h, endV);
  if (uHi <= uLo || vHi <= vLo) return;
  const int64_t stepU = r.mirrorX ? -1 : 1;
  const int64_t s = r.inverse.s, c = r.inverse.c;
  for (int64_t Y = Y0; Y < Y1; ++Y) {
    const int64_t dy = Y - r.pivotY;
    T* row = px.dst.Row<T>(Y + toTargetY);
    const int64_t dx0 = X0 - r.pivotX;
    int64_t uNum = dx0 * c - dy * s, vNum = dx0 * s + dy * c;
    for (int64_t X = X0; X < X1; ++X, uNum += c, vNum += s) {
      const int64_t u = (uNum >> 10) + r.pivotX, v = (vNum >> 10) + r.pivotY;
      if (u < uLo || u >= uHi || v < vLo || v >= vHi) continue;
      const T* srow = px.src.Row<const T>(r.mirrorY ? r.sy - 1 - v : r.sy + v);
      store(row[X + toTargetX], srow[r.sx + (r.mirrorX ? -1 : 0) + u * stepU]);
    }
  }
}

// The turned rectangle as one quad: its corners about the pivot, turned
// and moved so that the pivot lands on (x, y); drawn in the draw colour
// and operations in force.
void RotateQuad(DDSURFACEDATA* dst, DDSURFACEDATA* src, int x, int y, int w, int h, int pivotX, int pivotY, int angle,
                int sx, int sy, int sw, int sh) {
  const double radians = angle * kRotateRadiansPerDegree;
  const float s = static_cast<float>(std::sin(radians)), c = static_cast<float>(std::cos(radians));
  const double tw = src->nTexWidth > 0 ? src->nTexWidth : 1, th = src->nTexHeight > 0 ? src->nTexHeight : 1;
  // The pivot lands on (x, y) wherever it lies in the rectangle, as in software.
  const double shiftX = x - 0.5, shiftY = y - 0.5;
  const int64_t left = -int64_t{pivotX}, right = int64_t{w} - pivotX;
  const int64_t top = -int64_t{pivotY}, bottom = int64_t{h} - pivotY;
  struct Corner {
    int64_t px, py, u, v;
  };
  // Strip order: left-top, left-bottom, right-top, right-bottom.
  const Corner corners[4] = {{left, top, sx, sy},
                             {left, bottom, sx, int64_t{sy} + sh},
                             {right, top, int64_t{sx} + sw, sy},
                             {right, bottom, int64_t{sx} + sw, int64_t{sy} + sh}};
  DTVERTEX v[4];
  for (int k = 0; k < 4; ++k) {
    const Corner& q = corners[k];
    const float fx = static_cast<float>(q.px), fy = static_cast<float>(q.py);
    v[k] = DTVERTEX{static_cast<float>(shiftX + fx * c - fy * s), static_cast<float>(shiftY + fx * s + fy * c), 0.0f,
                    1.0f, lpDTCon->dwDrawColor, static_cast<float>(q.u / tw), static_cast<float>(q.v / th)};
  }
  DTSTAGESTATE stage;
  stage.nColorOp = lpDTCon->nColorOp;
  stage.nAlphaOp = lpDTCon->nAlphaOp;
  DTDrawQuad(dst, src, v, stage);
}

}  // namespace

void FxRotatePixels(const cEffectPixels& px, int x, int y, int w, int h, int pivotX, int pivotY, int angle, int sx,
                    int sy, bool mirrorX, bool mirrorY, int flags) {
  if (w <= 0 || h <= 0) return;
  const double radians = angle * kRotateRadiansPerDegree;
  const cRotation r{x, y, w, h, pivotX, pivotY, sx, sy, mirrorX, mirrorY, cTurn(radians), cTurn(-radians)};
  const bool keyed = flags == 1;
  const cPixelFormat& f = px.format;
  // The pixel is copied as it is; only the full-screen back buffer takes
  // its own layout.
  switch (px.mode) {
    case PIXEL_DD8:
      RotateLoop<uint8_t>(px, r, [&](uint8_t& d, uint8_t s) {
        if (!(keyed && f.IsTransmit8(s))) d = s;
      });
      break;
    case PIXEL_DD16:
    case PIXEL_DT16:
      RotateLoop<uint16_t>(px, r, [&](uint16_t& d, uint16_t s) {
        if (!(keyed && f.IsTransmit16(s))) d = s;
      });
      break;
    case PIXEL_DT16_BACK:
      RotateLoop<uint16_t>(px, r, [&](uint16_t& d, uint16_t s) {
        if (!(keyed && f.IsTransmit16(s))) d = static_cast<uint16_t>(f.ToBack(s));
      });
      break;
    case PIXEL_DD32:
      RotateLoop<uint32_t>(px, r, [&](uint32_t& d, uint32_t s) {
        if (!(keyed && f.IsTransmit32(s))) d = s;
      });
      break;
    case PIXEL_DT32:
      // The 3D device's transparent texel is a whole value: all four bytes count.
      RotateLoop<uint32_t>(px, r, [&](uint32_t& d, uint32_t s) {
        if (!(keyed && s == f.transmit)) d = s;
      });
      break;
    case PIXEL_NONE: break;
  }
}

bool DDBltRotate(DDSURFACEDATA* dst, int x, int y, int w, int h, int pivotX, int pivotY, int angle,
                 DDSURFACEDATA* src, int sx, int sy, int flags) {
  bool mirrorX = false, mirrorY = false;
  if (lpDTCon) {
    if (!dst || !src) return true;
    if (w <= 0 || h <= 0) return true;
    int sw = w, sh = h;
    DDMirrorCoords(src, &sx, &sy, &sw, &sh);
    DDSURFACEDATA* d = DDEffectSurface(dst);
    DDSURFACEDATA* s = DDEffectSurface(src);
    if (DDEffectDrawsQuad(d, s)) {
      RotateQuad(d, s, x, y, w, h, pivotX, pivotY, angle, sx, sy, sw, sh);
      return true;
    }
    mirrorX = sw < 0;
    mirrorY = sh < 0;
  }
  cEffectLocks locks;
  if (!locks.Lock(dst, src)) return false;
  FxRotatePixels(locks.Pixels("DDBltRotate"), x, y, w, h, pivotX, pivotY, angle, sx, sy, mirrorX, mirrorY, flags);
  return true;
}
