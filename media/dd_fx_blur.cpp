// Blur and mosaic.
#include <algorithm>
#include <cstdlib>
#include <vector>

#include "base/report_log.h"
#include "media/dd_fx.h"
#include "media/dd_fx_loops.h"
#include "media/dd_layer.h"

namespace {

// "8ビットぼかしは不可能！"
const char kNoBlurAt8[] = "8\x83\x72\x83\x62\x83\x67\x82\xDA\x82\xA9\x82\xB5\x82\xCD\x95\x73\x89\xC2\x94\x5C\x81\x49";

// Channel sums and the count of the pixels summed. 32 bits: exact for every
// box of up to 2^32 / 255 pixels.
struct cSums {
  uint32_t c[3] = {};
  uint32_t n = 0;
  void Add(const cSums& o) {
    for (int k = 0; k < 3; ++k) c[k] += o.c[k];
    n += o.n;
  }
  void Sub(const cSums& o) {
    for (int k = 0; k < 3; ++k) c[k] -= o.c[k];
    n -= o.n;
  }
};

// Division of a channel sum by the count of its box without a divide
// instruction: floor(c / n) as (c * ceil(2^40 / n)) >> 40, exact while
// c * (ceil(2^40 / n) * n - 2^40) < 2^40, which holds for every sum of
// channels up to 255 over fewer than 2^16 pixels; larger boxes divide.
struct cDivider {
  uint32_t n = 0;
  uint64_t m = 0;
  void Set(uint32_t count) {
    n = count;
    m = count < 65536 ? ((uint64_t{1} << 40) + count - 1) / count : 0;
  }
  uint32_t operator()(uint32_t c) const { return m ? static_cast<uint32_t>((c * m) >> 40) : c / n; }
};

// How one mode reads a pixel into sums (false: it does not count) and
// stores an average.
struct cBlurTexture16 {
  const cPixelFormat& f;
  bool keyed;
  bool Read(uint32_t p, cSums& s) const {
    if (keyed && TransparentDT16(p)) return false;
    s = cSums{{uint32_t(f.Get(p, 0)), uint32_t(f.Get(p, 1)), uint32_t(f.Get(p, 2))}, 1};
    return true;
  }
};
struct cBlurSoft16 {
  const cPixelFormat& f;
  bool keyed;
  bool Read(uint32_t p, cSums& s) const {
    if (keyed && f.IsTransmit16(p)) return false;
    s = cSums{{uint32_t(f.Get(p, 0)), uint32_t(f.Get(p, 1)), uint32_t(f.Get(p, 2))}, 1};
    return true;
  }
};
struct cBlurBytes {
  const cPixelFormat& f;
  bool keyed;
  bool device;
  bool Read(uint32_t p, cSums& s) const {
    if (keyed && (device ? TransparentDT32(p) : f.IsTransmit32(p))) return false;
    s = cSums{{p >> 16 & 0xFF, p >> 8 & 0xFF, p & 0xFF}, 1};
    return true;
  }
};

// The box filter with running column sums: each source row of the window
// is added once and taken away once, each target pixel costs a few sums.
template <class T, class Reader, class Store>
void BlurLoop(const cEffectPixels& px, int x, int y, int w, int h, int rx, int ry, int sx, int sy, const Reader& rd,
              Store store) {
  // The rectangle cut to the source, and the part of it that lands.
  const cSpan ri = CutRange(0, w, -int64_t{sx}, int64_t{px.src.w} - sx);
  const cSpan rj = CutRange(0, h, -int64_t{sy}, int64_t{px.src.h} - sy);
  const cSpan vi = CutRange(ri.lo, ri.hi, -int64_t{x}, int64_t{px.dst.w} - x);
  const cSpan vj = CutRange(rj.lo, rj.hi, -int64_t{y}, int64_t{px.dst.h} - y);
  if (vi.Empty() || vj.Empty()) return;
  // The columns the boxes of the landing pixels read.
  const cSpan ci = CutRange(int64_t{vi.lo} - rx, int64_t{vi.hi} - 1 + rx, ri.lo, ri.hi);
  const int width = ci.hi - ci.lo;
  std::vector<cSums> columns(static_cast<size_t>(width)), prefix(static_cast<size_t>(width) + 1);
  auto addRow = [&](int j, bool add) {
    const T* s = px.src.Row<const T>(int64_t{sy} + j) + (int64_t{sx} + ci.lo);
    cSums p;
    for (int k = 0; k < width; ++k)
      if (rd.Read(s[k], p)) add ? columns[k].Add(p) : columns[k].Sub(p);
  };
  cDivider divide;
  int top = 0, bottom = 0;  // rows in the column sums: [top, bottom)
  for (int j = vj.lo; j < vj.hi; ++j) {
    const int a = static_cast<int>(std::max<int64_t>(rj.lo, int64_t{j} - ry));
    const int b = static_cast<int>(std::min<int64_t>(rj.hi, int64_t{j} + ry));
    if (j == vj.lo) {
      top = bottom = a;
    }
    for (; top < a; ++top) addRow(top, false);
    for (; bottom < b; ++bottom) addRow(bottom, true);
    // The running sum stays in registers, not read back from the row.
    cSums run;
    for (int k = 0; k < width; ++k) {
      run.Add(columns[k]);
      prefix[k + 1] = run;
    }
    const T* centre = px.src.Row<const T>(int64_t{sy} + j);
    T* d = px.dst.Row<T>(int64_t{y} + j);
    cSums p;
    for (int i = vi.lo; i < vi.hi; ++i) {
      if (rd.keyed && !rd.Read(centre[int64_t{sx} + i], p)) continue;
      const int lo = static_cast<int>(std::max<int64_t>(ri.lo, int64_t{i} - rx)) - ci.lo;
      const int hi = static_cast<int>(std::min<int64_t>(ri.hi, int64_t{i} + rx)) - ci.lo;
      cSums box = prefix[hi];
      box.Sub(prefix[lo]);
      if (box.n == 0) continue;
      if (box.n != divide.n) divide.Set(box.n);
      store(d[int64_t{x} + i], static_cast<int>(divide(box.c[0])), static_cast<int>(divide(box.c[1])),
            static_cast<int>(divide(box.c[2])));
    }
  }
}

// The block grid from the rectangle's top-left corner, cut to the source
// and to what lands: each block's colour from its cell, written where it lands.
template <class Colour, class Fill>
void MosaicBlocks(const cEffectPixels& px, int x, int y, int w, int h, int block, int sx, int sy, Colour colour,
                  Fill fill) {
  const cSpan ri = CutRange(0, w, -int64_t{sx}, int64_t{px.src.w} - sx);
  const cSpan rj = CutRange(0, h, -int64_t{sy}, int64_t{px.src.h} - sy);
  const cSpan vi = CutRange(ri.lo, ri.hi, -int64_t{x}, int64_t{px.dst.w} - x);
  const cSpan vj = CutRange(rj.lo, rj.hi, -int64_t{y}, int64_t{px.dst.h} - y);
  if (vi.Empty() || vj.Empty()) return;
  const int64_t b = block;
  for (int64_t by = vj.lo / b * b; by < vj.hi; by += b) {
    const cSpan cellRows = CutRange(by, by + b, rj.lo, rj.hi);
    const cSpan rows = CutRange(by, by + b, vj.lo, vj.hi);
    for (int64_t bx = vi.lo / b * b; bx < vi.hi; bx += b) {
      const cSpan cellCols = CutRange(bx, bx + b, ri.lo, ri.hi);
      const cSpan cols = CutRange(bx, bx + b, vi.lo, vi.hi);
      uint32_t c;
      if (!colour(cellCols, cellRows, c)) continue;
      for (int j = rows.lo; j < rows.hi; ++j) fill(int64_t{y} + j, int64_t{x} + cols.lo, cols.hi - cols.lo, c);
    }
  }
}

}  // namespace

void FxBlurPixels(const cEffectPixels& px, int x, int y, int w, int h, int rx, int ry, int sx, int sy, int flags) {
  if (rx <= 0 || ry <= 0) return;
  const bool keyed = flags == 1;
  const cPixelFormat& f = px.format;
  switch (px.mode) {
    case PIXEL_DD16:
      BlurLoop<uint16_t>(px, x, y, w, h, rx, ry, sx, sy, cBlurSoft16{f, keyed},
                         [&](uint16_t& d, int r, int g, int b) { d = static_cast<uint16_t>(f.Pack(r, g, b)); });
      break;
    case PIXEL_DD32:
      BlurLoop<uint32_t>(px, x, y, w, h, rx, ry, sx, sy, cBlurBytes{f, keyed, false},
                         [](uint32_t& d, int r, int g, int b) {
                           d = (d & 0xFF000000u) | uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b);
                         });
      break;
    case PIXEL_DT16:
      BlurLoop<uint16_t>(px, x, y, w, h, rx, ry, sx, sy, cBlurTexture16{f, keyed},
                         [&](uint16_t& d, int r, int g, int b) { d = static_cast<uint16_t>(f.PackOpaque(r, g, b)); });
      break;
    case PIXEL_DT16_BACK:
      BlurLoop<uint16_t>(px, x, y, w, h, rx, ry, sx, sy, cBlurTexture16{f, keyed},
                         [&](uint16_t& d, int r, int g, int b) { d = static_cast<uint16_t>(f.PackBack(r, g * 2, b)); });
      break;
    case PIXEL_DT32:
      BlurLoop<uint32_t>(px, x, y, w, h, rx, ry, sx, sy, cBlurBytes{f, keyed, true},
                         [](uint32_t& d, int r, int g, int b) {
                           d = 0xFF000000u | uint32_t(r) << 16 | uint32_t(g) << 8 | uint32_t(b);
                         });
      break;
    case PIXEL_DD8:
    case PIXEL_NONE: break;
  }
}

void FxMosaicPixels(const cEffectPixels& px, int x, int y, int w, int h, int block, int sx, int sy, int flags) {
  if (block <= 0) return;
  const bool keyed = flags == 1;
  const cPixelFormat& f = px.format;
  switch (px.mode) {
    case PIXEL_DD8:
    case PIXEL_DT16:
    case PIXEL_DT16_BACK:
    case PIXEL_DT32: {
      const ePixelMode mode = px.mode;
      auto topLeft = [&](const cSpan& cols, const cSpan& rows, uint32_t& c) {
        const int64_t u = int64_t{sx} + cols.lo, v = int64_t{sy} + rows.lo;
        switch (mode) {
          case PIXEL_DD8:
            c = px.src.Row<const uint8_t>(v)[u];
            return !(keyed && f.IsTransmit8(c));
          case PIXEL_DT32:
            c = px.src.Row<const uint32_t>(v)[u];
            if (keyed && TransparentDT32(c)) return false;
            c |= 0xFF000000u;
            return true;
          default:
            c = px.src.Row<const uint16_t>(v)[u];
            if (keyed && TransparentDT16(c)) return false;
            if (mode == PIXEL_DT16_BACK) c = f.ToBack(c);
            return true;
        }
      };
      if (mode == PIXEL_DD8)
        MosaicBlocks(px, x, y, w, h, block, sx, sy, topLeft, [&](int64_t row, int64_t col, int n, uint32_t c) {
          std::fill_n(px.dst.Row<uint8_t>(row) + col, n, static_cast<uint8_t>(c));
        });
      else if (mode == PIXEL_DT32)
        MosaicBlocks(px, x, y, w, h, block, sx, sy, topLeft, [&](int64_t row, int64_t col, int n, uint32_t c) {
          std::fill_n(px.dst.Row<uint32_t>(row) + col, n, c);
        });
      else
        MosaicBlocks(px, x, y, w, h, block, sx, sy, topLeft, [&](int64_t row, int64_t col, int n, uint32_t c) {
          std::fill_n(px.dst.Row<uint16_t>(row) + col, n, static_cast<uint16_t>(c));
        });
      break;
    }
    case PIXEL_DD16: {
      const cChannelScale sc(f);
      auto average = [&](const cSpan& cols, const cSpan& rows, uint32_t& c) {
        uint64_t sum[3] = {}, n = 0;
        for (int j = rows.lo; j < rows.hi; ++j) {
          const uint16_t* s = px.src.Row<const uint16_t>(int64_t{sy} + j) + (int64_t{sx} + cols.lo);
          for (int i = 0; i < cols.hi - cols.lo; ++i) {
            if (keyed && f.IsTransmit16(s[i])) continue;
            for (int k = 0; k < 3; ++k) sum[k] += sc.up[k][f.Get(s[i], k)];
            ++n;
          }
        }
        if (n == 0) return false;
        int v[3];
        for (int k = 0; k < 3; ++k) v[k] = sc.down[k][sum[k] / n];
        c = f.Pack(v[0], v[1], v[2]);
        return !(keyed && f.IsTransmit16(c));
      };
      MosaicBlocks(px, x, y, w, h, block, sx, sy, average, [&](int64_t row, int64_t col, int n, uint32_t c) {
        std::fill_n(px.dst.Row<uint16_t>(row) + col, n, static_cast<uint16_t>(c));
      });
      break;
    }
    case PIXEL_DD32: {
      auto average = [&](const cSpan& cols, const cSpan& rows, uint32_t& c) {
        uint64_t sum[3] = {}, n = 0;
        for (int j = rows.lo; j < rows.hi; ++j) {
          const uint32_t* s = px.src.Row<const uint32_t>(int64_t{sy} + j) + (int64_t{sx} + cols.lo);
          for (int i = 0; i < cols.hi - cols.lo; ++i) {
            if (keyed && f.IsTransmit32(s[i])) continue;
            sum[0] += s[i] >> 16 & 0xFF;
            sum[1] += s[i] >> 8 & 0xFF;
            sum[2] += s[i] & 0xFF;
            ++n;
          }
        }
        if (n == 0) return false;
        c = static_cast<uint32_t>(sum[0] / n << 16 | sum[1] / n << 8 | sum[2] / n);
        return !(keyed && f.IsTransmit32(c));
      };
      MosaicBlocks(px, x, y, w, h, block, sx, sy, average, [&](int64_t row, int64_t col, int n, uint32_t c) {
        uint32_t* d = px.dst.Row<uint32_t>(row) + col;
        for (int k = 0; k < n; ++k) d[k] = (d[k] & 0xFF000000u) | c;
      });
      break;
    }
    case PIXEL_NONE: break;
  }
}

bool DDBltBlur(DDSURFACEDATA* dst, int x, int y, int w, int h, int rx, int ry, DDSURFACEDATA* src, int sx, int sy,
               int flags) {
  if (!dst || !src) return false;
  // The source is read up to the radius around the rectangle.
  const int64_t mx = std::abs(int64_t{rx}) + 1, my = std::abs(int64_t{ry}) + 1;
  const plat::Rect dstArea = EffectArea(x, y, w, h), srcArea = EffectArea(sx, sy, w, h, mx, my);
  cEffectLocks locks;
  if (!locks.Lock(dst, src, &dstArea, &srcArea)) return false;
  const cEffectPixels px = locks.Pixels("DDBltBlur");
  if (px.mode == PIXEL_DD8) {
    DebugLogPuts(kNoBlurAt8);
    return true;
  }
  FxBlurPixels(px, x, y, w, h, rx, ry, sx, sy, flags);
  return true;
}

bool DDBltMosaic(DDSURFACEDATA* dst, int x, int y, int w, int h, int block, DDSURFACEDATA* src, int sx, int sy,
                 int flags) {
  if (!dst || !src) return false;
  if (block <= 0 || w <= 0 || h <= 0) return true;
  const plat::Rect dstArea = EffectArea(x, y, w, h), srcArea = EffectArea(sx, sy, w, h);
  cEffectLocks locks;
  if (!locks.Lock(dst, src, &dstArea, &srcArea)) return false;
  FxMosaicPixels(locks.Pixels("DDBltMosaic"), x, y, w, h, block, sx, sy, flags);
  return true;
}
