// Disc copies: the plain disc as one blit per row or band of rows, and the
// lens that magnifies the middle of the disc.
#include <algorithm>
#include <cmath>
#include <vector>

#include "base/checked_convert.h"
#include "media/dd_blit.h"
#include "media/dd_fx.h"
#include "media/dd_fx_loops.h"
#include "media/dd_layer.h"

namespace {

// Half the width of the disc at row offset m: trunc(sqrt(r^2 - m^2)), kept
// below the radius so that the middle row does not stick out.
int64_t HalfSpan(int64_t radius, int64_t m) {
  const int64_t rest = radius * radius - m * m;
  const int64_t hw = rest > 0 ? ToIntChecked(std::sqrt(static_cast<double>(rest))) : 0;
  return hw >= radius ? radius - 1 : hw;
}

// One band of rows [t, t + n) around the centre, cut to the source's
// columns [left, right) and to the target, as one blit.
void BlitBand(DDSURFACEDATA* dst, int cx, int cy, DDSURFACEDATA* src, int scx, int scy, int flags, int64_t left,
              int64_t right, int64_t t, int64_t n, int64_t hw) {
  int64_t srcX = int64_t{scx} - hw, dstX = int64_t{cx} - hw, width = 2 * hw;
  if (srcX < left) {
    width -= left - srcX;
    dstX += left - srcX;
    srcX = left;
  }
  if (srcX + width >= right) width = right - srcX;
  // What lies left of or right of the target cannot land; cutting it here
  // keeps every value the blit sees small.
  if (dstX < 0) {
    width += dstX;
    srcX -= dstX;
    dstX = 0;
  }
  width = std::min<int64_t>(width, dst->nWidth - dstX);
  if (width <= 0) return;
  const int x = static_cast<int>(dstX), sx = static_cast<int>(srcX), w = static_cast<int>(width);
  const int y = static_cast<int>(cy + t), sy = static_cast<int>(scy + t), h = static_cast<int>(n);
  if (lpDTCon)
    DDBltStretch(dst, x, y, w, h, src, sx, sy, w, h, flags);
  else
    DDBlt(dst, x, y, w, h, src, sx, sy, flags);
}

// Where the lens reads for the offset (dx, dy), for each sign of each: the
// offsets depend on the squared distance, and a quotient of a negated
// numerator is the negated quotient, so a quarter of the disc's square roots
// and divisions serve all four.
struct cLensOffsets {
  int xPlus, xMinus, yPlus, yMinus;
};

template <class T, class Store, class Clear>
void LensLoop(const cEffectPixels& px, int cx, int cy, int radius, int height, int64_t e, int scx, int scy,
              Store store, Clear clear) {
  const int64_t r2 = int64_t{radius} * radius;
  const cSpan rows = CutRange(-int64_t{radius}, int64_t{radius} + 1, -int64_t{cy}, int64_t{px.dst.h} - cy);
  const cSpan cols = CutRange(-int64_t{radius}, int64_t{radius} + 1, -int64_t{cx}, int64_t{px.dst.w} - cx);
  if (rows.Empty() || cols.Empty()) return;
  // The sizes of the offsets met, [least, most]: no more of them than
  // the target has pixels across and down.
  struct cSizes {
    int64_t lo, hi;
  };
  const auto sizes = [](const cSpan& s) {
    const int64_t lo = s.lo, last = int64_t{s.hi} - 1;
    const int64_t a = lo < 0 ? -lo : lo, b = last < 0 ? -last : last;
    return cSizes{lo <= 0 && last >= 0 ? 0 : std::min(a, b), std::max(a, b) + 1};
  };
  const cSizes xs = sizes(cols), ys = sizes(rows);
  const int64_t across = xs.hi - xs.lo;
  thread_local std::vector<cLensOffsets> offsets;
  thread_local std::vector<int64_t> reaches;
  offsets.resize(static_cast<size_t>(across * (ys.hi - ys.lo)));
  reaches.resize(static_cast<size_t>(ys.hi - ys.lo));
  for (int64_t ay = ys.lo; ay < ys.hi; ++ay) {
    cLensOffsets* line = offsets.data() + (ay - ys.lo) * across - xs.lo;
    int64_t ax = xs.lo;
    for (; ax < xs.hi; ++ax) {
      const int64_t d2 = ax * ax + ay * ay;
      if (d2 > r2) break;  // outside the disc from here on
      cLensOffsets& o = line[ax];
      if (ax < ay && ax >= ys.lo && ay < xs.hi && ay >= xs.lo) {
        // The offset across at (ax, ay) is the offset down at (ay, ax),
        // built on an earlier row.
        const cLensOffsets& t = offsets[static_cast<size_t>((ax - ys.lo) * across + (ay - xs.lo))];
        o = {t.yPlus, t.yMinus, t.xPlus, t.xMinus};
        continue;
      }
      const double q = std::sqrt(static_cast<double>(std::max<int64_t>(e - d2, 0)));
      if (q == 0) {
        o = {static_cast<int>(ax), static_cast<int>(-ax), static_cast<int>(ay), static_cast<int>(-ay)};
        continue;
      }
      const double fx = static_cast<double>(ax * height) / q, fy = static_cast<double>(ay * height) / q;
      o = {ToIntChecked(fx + 0.5), ToIntChecked(-fx + 0.5), ToIntChecked(fy + 0.5), ToIntChecked(-fy + 0.5)};
    }
    reaches[static_cast<size_t>(ay - ys.lo)] = ax - 1;  // the disc's last offset on the row
  }
  for (int64_t dy = rows.lo; dy < rows.hi; ++dy) {
    T* row = px.dst.Row<T>(cy + dy) + cx;
    const int64_t ay = dy < 0 ? -dy : dy;
    const cLensOffsets* line = offsets.data() + (ay - ys.lo) * across - xs.lo;
    const int64_t reach = reaches[static_cast<size_t>(ay - ys.lo)];
    const bool up = dy < 0;
    // Left to right: outside the disc, its left half, its right half,
    // outside again.
    const int64_t inLo = std::max<int64_t>(cols.lo, -reach), inHi = std::min<int64_t>(cols.hi, reach + 1);
    if (inLo >= inHi) {
      for (int64_t dx = cols.lo; dx < cols.hi; ++dx) clear(row[dx]);
      continue;
    }
    for (int64_t dx = cols.lo; dx < inLo; ++dx) clear(row[dx]);
    auto look = [&](int64_t dx, int ox, const cLensOffsets& o) {
      const int64_t u = int64_t{scx} + ox, v = int64_t{scy} + (up ? o.yMinus : o.yPlus);
      if (u < 0 || u >= px.src.w || v < 0 || v >= px.src.h)
        clear(row[dx]);
      else
        store(row[dx], px.src.Row<const T>(v)[u]);
    };
    for (int64_t dx = inLo; dx < std::min<int64_t>(inHi, 0); ++dx) look(dx, line[-dx].xMinus, line[-dx]);
    for (int64_t dx = std::max<int64_t>(inLo, 0); dx < inHi; ++dx) look(dx, line[dx].xPlus, line[dx]);
    for (int64_t dx = inHi; dx < cols.hi; ++dx) clear(row[dx]);
  }
}

}  // namespace

int DDBltCircle(DDSURFACEDATA* dst, int cx, int cy, int halfW, int halfH, int radius, int step, DDSURFACEDATA* src,
                int scx, int scy, int flags) {
  if (radius <= 0 || step <= 0 || halfW <= 0 || halfH <= 0 || !dst || !src) return 0;
  DDResolveAlias(&dst);
  DDResolveAlias(&src);
  const int64_t left = std::max<int64_t>(int64_t{scx} - halfW, 0);
  const int64_t right = std::min<int64_t>(int64_t{scx} + halfW, src->nWidth);
  const int64_t r = radius, n = step, hh = halfH;
  // Bands that start at or below this row cannot land on the target or be
  // read from the source, nor can bands that end at or above `top`.
  const int64_t bottom = std::min<int64_t>(int64_t{dst->nHeight} - cy, int64_t{src->nHeight} - scy);
  const int64_t top = std::max<int64_t>(-int64_t{cy}, -int64_t{scy});
  DDBeginBatch(0);
  int64_t t = r - n;
  if (t >= hh) t -= ((t - hh) / n + 1) * n;  // bands wholly below the box
  while (t >= -r) {
    if (t + n <= -hh) break;
    if (t + n > hh)
      t = hh - n;
    else if (t < -hh)
      t = -hh;
    if (t >= bottom) {
      t -= ((t - bottom) / n + 1) * n;
      continue;
    }
    if (t + n <= top) break;
    // The band's own rows, cut to what can land and be read.
    const int64_t first = std::max(t, top), last = std::min(t + n, bottom);
    const int64_t hw = HalfSpan(r, t + (n >> 1));
    BlitBand(dst, cx, cy, src, scx, scy, flags, left, right, first, last - first, hw);
    t -= n;
  }
  return DDFlushBatch();
}

void FxLensPixels(const cEffectPixels& px, int cx, int cy, int radius, int height, int64_t e, int scx, int scy,
                  int flags, int bClear) {
  const cPixelFormat& f = px.format;
  const auto keep = [](auto&) {};
  switch (px.mode) {
    case PIXEL_DD8:
      LensLoop<uint8_t>(px, cx, cy, radius, height, e, scx, scy, [&](uint8_t& d, uint8_t s) {
        if (!f.IsTransmit8(s)) d = s;
      }, keep);
      break;
    case PIXEL_DD16:
      LensLoop<uint16_t>(px, cx, cy, radius, height, e, scx, scy, [&](uint16_t& d, uint16_t s) {
        if (!f.IsTransmit16(s)) d = s;
      }, keep);
      break;
    case PIXEL_DD32:
      LensLoop<uint32_t>(px, cx, cy, radius, height, e, scx, scy, [&](uint32_t& d, uint32_t s) {
        if (!f.IsTransmit32(s)) d = s;
      }, keep);
      break;
    case PIXEL_DT16:
      LensLoop<uint16_t>(px, cx, cy, radius, height, e, scx, scy, [&](uint16_t& d, uint16_t s) {
        if (!(flags == 1 && TransparentDT16(s))) d = s;
      }, keep);
      break;
    case PIXEL_DT16_BACK:
      LensLoop<uint16_t>(px, cx, cy, radius, height, e, scx, scy, [&](uint16_t& d, uint16_t s) {
        if (!(flags == 1 && TransparentDT16(s))) d = static_cast<uint16_t>(f.ToBack(s));
      }, keep);
      break;
    case PIXEL_DT32:
      if (bClear)
        LensLoop<uint32_t>(px, cx, cy, radius, height, e, scx, scy,
                           [](uint32_t& d, uint32_t s) { d = TransparentDT32(s) ? 0 : s; },
                           [](uint32_t& d) { d = 0; });
      else
        LensLoop<uint32_t>(px, cx, cy, radius, height, e, scx, scy, [](uint32_t& d, uint32_t s) {
          if (!TransparentDT32(s)) d = s;
        }, keep);
      break;
    case PIXEL_NONE: break;
  }
}

bool DDBltLens(DDSURFACEDATA* dst, int cx, int cy, int radius, int height, DDSURFACEDATA* src, int scx, int scy,
               int flags, int bClear) {
  if (radius < 0 || height < 0) return false;
  const int64_t r2 = int64_t{radius} * radius, h2 = int64_t{height} * height;
  const int64_t E = ToIntChecked(std::sqrt(static_cast<double>(r2 + h2)));
  if (height >= E) return false;
  // The lens writes the square around its centre; it may read any of the
  // source (the offsets grow without bound near its rim).
  const plat::Rect dstArea = EffectArea(int64_t{cx} - radius, int64_t{cy} - radius, int64_t{2} * radius + 1,
                                        int64_t{2} * radius + 1);
  cEffectLocks locks;
  if (!locks.Lock(dst, src, &dstArea, nullptr)) return false;
  FxLensPixels(locks.Pixels("DDBltLens"), cx, cy, radius, height, E * E, scx, scy, flags, bClear);
  return true;
}
