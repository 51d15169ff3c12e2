// Frames, numbers and the strip distortions of an image.
#include <algorithm>
#include <cmath>
#include <cstdio>

#include "base/checked_convert.h"
#include "media/dd_blit.h"
#include "media/dd_effects.h"
#include "media/dd_layer.h"

namespace {

constexpr double kRadiansPerDegree = 0.017453292519943295;

int NarrowDecor(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

}  // namespace

void DDDrawFrame(DDSURFACEDATA* dst, int x, int y, int w, int h, int t, int palNum) {
  DDBeginFillBatch();
  DDFillRect(dst, x, y, w, t, palNum);
  DDFillRect(dst, x, y + h - t, w, t, palNum);
  DDFillRect(dst, x, y, t, h, palNum);
  DDFillRect(dst, x + w - t, y, t, h, palNum);
  DDFlushFillBatch();
}

void DDDrawFramedBox(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* boxImage, int t, int palNum) {
  DDBlt(dst, x, y, w, h, boxImage, 0, 0, 0);
  DDDrawFrame(dst, x - t, y - t, w + 2 * t, h + 2 * t, t, palNum);
}

void DDDrawNumber(DDSURFACEDATA* dst, int x, int y, int cellW, int cellH, DDSURFACEDATA* digitSheet, int sx, int sy,
                  int flags, int value, int minDigits, int bCentre) {
  char digits[16];
  std::snprintf(digits, sizeof digits, "%d", value < 0 ? 0 : value);
  const int count = static_cast<int>(std::char_traits<char>::length(digits));
  int64_t left = x;
  if (count < minDigits) {
    const int64_t shift = int64_t{cellW} * (minDigits - count);
    left += bCentre ? shift / 2 : shift;
  }
  for (int i = 0; i < count; ++i) {
    const int d = digits[i] - '0';
    DDBlt(dst, NarrowDecor(left + int64_t{cellW} * i), y, cellW, cellH, digitSheet, NarrowDecor(sx + int64_t{cellW} * d), sy,
          flags);
  }
}

void DDBltWave(DDSURFACEDATA* dst, int x, int y, int w, int h, int waves, double amplitude, int phase, int strip,
               DDSURFACEDATA* src, int sx, int sy, int flags, int bVertical) {
  const int extent = bVertical ? w : h;
  if (strip <= 0 || extent <= 0) return;
  DDBeginBatch(0);
  const double step = static_cast<double>(strip) * 360.0 / extent;
  double angle = phase;
  for (int at = 0; at < extent; at += strip) {
    angle += step;
    const int off = ToIntChecked(amplitude * std::sin(waves * angle * kRadiansPerDegree));
    const int size = std::min(strip, extent - at);
    if (bVertical)
      DDBlt(dst, x + at, NarrowDecor(int64_t{y} + off), size, h, src, sx + at, sy, flags);
    else
      DDBlt(dst, NarrowDecor(int64_t{x} + off), y + at, w, size, src, sx, sy + at, flags);
  }
  DDFlushBatch();
}

int DDBltSplit(DDSURFACEDATA* dst, int x, int y, int w, int h, int n, int d, DDSURFACEDATA* src, int sx, int sy,
               int flags, int bVertical) {
  if (n < 0) return 0;
  if (n == 0) return DDBlt(dst, x, y, w, h, src, sx, sy, flags);
  DDBeginBatch(0);
  const int count = (bVertical ? w : h) / n;
  for (int pass = 1; pass >= 0; --pass) {  // odd strips first, then even ones
    const int64_t move = pass ? -int64_t{d} : d;
    for (int i = pass; i < count; i += 2) {
      const int64_t at = int64_t{i} * n;
      if (bVertical)
        DDBlt(dst, NarrowDecor(x + at), NarrowDecor(y + move), n, h, src, NarrowDecor(sx + at), sy, flags);
      else
        DDBlt(dst, NarrowDecor(x + move), NarrowDecor(y + at), w, n, src, sx, NarrowDecor(sy + at), flags);
    }
  }
  return DDFlushBatch();
}

void DDBltBurst(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int d,
                int flags) {
  const int hw = w / 2, hh = h / 2;
  // Far distances and corners stay defined (and off the target).
  const int left = NarrowDecor(int64_t{x} - d), right = NarrowDecor(int64_t{x} + hw + d);
  const int top = NarrowDecor(int64_t{y} - d), bottom = NarrowDecor(int64_t{y} + hh + d);
  const int sxRight = NarrowDecor(int64_t{sx} + hw), syBottom = NarrowDecor(int64_t{sy} + hh);
  DDBeginBatch(0);
  DDBlt(dst, left, top, hw, hh, src, sx, sy, flags);
  DDBlt(dst, right, top, hw, hh, src, sxRight, sy, flags);
  DDBlt(dst, left, bottom, hw, hh, src, sx, syBottom, flags);
  DDBlt(dst, right, bottom, hw, hh, src, sxRight, syBottom, flags);
  DDFlushBatch();
}

int DDBltDepthRotate(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* front, int fx, int fy,
                     DDSURFACEDATA* back, int bx, int by, int sw, int sh, int flags, int phase, int axis) {
  if (axis >= 2) return axis - 1;
  if (w < 2 || h < 2) return 0;
  const int extent = axis == 0 ? w : h;
  const int half = extent / 2;
  const int m = phase % half;
  const int v = (phase / half) % 2 != 0 ? half - m - 1 : m;
  const bool showBack = ((static_cast<int64_t>(phase) + half) / extent) % 2 != 0;
  DDSURFACEDATA* src = showBack ? back : front;
  const int srcX = showBack ? bx : fx, srcY = showBack ? by : fy;
  if (axis == 0) return DDBltStretch(dst, x + v, y, w - 2 * v, h, src, srcX, srcY, sw, sh, flags);
  return DDBltStretch(dst, x, y + v, w, h - 2 * v, src, srcX, srcY, sw, sh, flags);
}
