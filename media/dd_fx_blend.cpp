// Translucent, tinted and colour-tone copies.
#include <algorithm>

#include "base/checked_convert.h"
#include "base/report_log.h"
#include "media/dd_blit.h"
#include "media/dd_fx.h"
#include "media/dd_fx_loops.h"
#include "media/dd_layer.h"
#include "media/dt_quad.h"
#include "platform/d3d_device.h"

namespace {

// "DDrawでは DDChangeColor(...) は未対応"
const char kNoChangeColorOnDD[] =
    "DDraw\x82\xC5\x82\xCD DDChangeColor(DDSURFACEDATA *lpDstSD,int x,int y,int nWidth,int nHeight,int nAlpha,"
    "BYTE bRed,BYTE bGreen,BYTE bBlue) \x82\xCD\x96\xA2\x91\xCE\x89\x9E";

// Walks the landing part of a w x h copy, handing each target pixel and its
// source pixel to op.
template <class T, class Op>
void WalkCopy(const cEffectPixels& px, int x, int y, int w, int h, int sx, int sy, bool mirrorX, bool mirrorY, Op op) {
  const cSpan ci = CutCopyAxis(x, w, px.dst.w, sx, px.src.w, mirrorX);
  const cSpan cj = CutCopyAxis(y, h, px.dst.h, sy, px.src.h, mirrorY);
  if (ci.Empty() || cj.Empty()) return;
  const int n = ci.hi - ci.lo;
  const int64_t step = mirrorX ? -1 : 1;
  const int64_t firstColumn = mirrorX ? int64_t{sx} - 1 - ci.lo : int64_t{sx} + ci.lo;
  for (int j = cj.lo; j < cj.hi; ++j) {
    T* d = px.dst.Row<T>(int64_t{y} + j) + (int64_t{x} + ci.lo);
    const T* s = px.src.Row<const T>(mirrorY ? int64_t{sy} - 1 - j : int64_t{sy} + j) + firstColumn;
    for (int k = 0; k < n; ++k) op(d[k], s[k * step]);
  }
}

// Bytes 0-2 of a and b each (a + b) >> 1; byte 3 is 0.
inline uint32_t HalfMix24(uint32_t a, uint32_t b) {
  return ((a & 0xFEFEFEu) >> 1) + ((b & 0xFEFEFEu) >> 1) + (a & b & 0x010101u);
}

// A tint as one table per channel: channel value (in its own width) to the
// stored value.
struct cTintTable {
  int out[3][256];
};

// Halving steps towards p in 0-255: each step moves half the rest of the
// way, so after a dozen steps nothing changes any more.
int HalveTowards(int c, int p, int level) {
  for (int n = std::min(level, 32); n > 0; --n) c = (c + p) >> 1;
  return c;
}

cTintTable SoftwareTint(const cEffectPixels& px, const PALETTEENTRY& entry, int level) {
  cTintTable t{};
  const int colour[3] = {entry.peRed, entry.peGreen, entry.peBlue};
  for (int k = 0; k < 3; ++k) {
    if (px.mode == PIXEL_DD32) {
      for (int c = 0; c < 256; ++c) t.out[k][c] = HalveTowards(c, colour[k], level);
      continue;
    }
    // The 16-bit palette holds channel values, so the entry is scaled too.
    const int mask = px.format.mask[k];
    if (!mask) continue;
    const int p = colour[k] * 255 / mask;
    for (int c = 0; c <= mask; ++c) t.out[k][c] = HalveTowards(c * 255 / mask, p, level) * mask / 255;
  }
  return t;
}

cTintTable DeviceTint(const cEffectPixels& px, const PALETTEENTRY& entry, int level) {
  static const int kSourceWeight[5] = {0, 128, 64, 32, 16};
  const int k255 = level >= 1 && level <= 4 ? kSourceWeight[level] : 0;
  const float f = k255 * 0.003921569f;
  const bool back = px.mode == PIXEL_DT16_BACK;
  const int colour[3] = {entry.peRed, entry.peGreen, entry.peBlue};
  cTintTable t{};
  for (int k = 0; k < 3; ++k) {
    const int mask = px.mode == PIXEL_DT32 ? 255 : px.format.mask[k];
    const int p = colour[k] * mask / 255;
    const float rest = (1 - f) * p;
    const bool green6 = back && k == 1;
    for (int c = 0; c <= mask; ++c) {
      if (level == 1)
        t.out[k][c] = green6 ? c + p : (c + p) >> 1;
      else
        t.out[k][c] = ToIntChecked(c * f + rest) * (green6 ? 2 : 1);
    }
  }
  return t;
}

// Index i after `level` steps through the global blend table, for all 256 at once.
void IndexTint(uint8_t palNum, int level, uint8_t out[256]) {
  uint8_t power[256], next[256];
  for (int i = 0; i < 256; ++i) {
    out[i] = static_cast<uint8_t>(i);
    power[i] = BlendTable[i * 256 + palNum];
  }
  for (unsigned n = static_cast<unsigned>(level); n; n >>= 1) {
    if (n & 1)
      for (int i = 0; i < 256; ++i) out[i] = power[out[i]];
    for (int i = 0; i < 256; ++i) next[i] = power[power[i]];
    std::copy(next, next + 256, power);
  }
}

}  // namespace

void FxAlphaPixels(const cEffectPixels& px, int x, int y, int w, int h, int sx, int sy, bool mirrorX, bool mirrorY,
                   int flags, const uint8_t* table) {
  const bool keyed = flags == 1;
  const cPixelFormat& f = px.format;
  switch (px.mode) {
    case PIXEL_DD8:
      if (!table) return;
      // Index 0 is the transparent one here, whatever TransmitPixel says.
      WalkCopy<uint8_t>(px, x, y, w, h, sx, sy, mirrorX, mirrorY, [&](uint8_t& d, uint8_t s) {
        if (keyed && s == 0) return;
        d = d == 0 ? s : table[d * 256u + s];
      });
      break;
    case PIXEL_DD16: {
      const cChannelScale sc(f);
      WalkCopy<uint16_t>(px, x, y, w, h, sx, sy, mirrorX, mirrorY, [&](uint16_t& d, uint16_t s) {
        if (keyed && f.IsTransmit16(s)) return;
        if (f.IsTransmit16(d)) {
          d = s;
          return;
        }
        int c[3];
        for (int k = 0; k < 3; ++k) c[k] = sc.down[k][(sc.up[k][f.Get(s, k)] + sc.up[k][f.Get(d, k)]) >> 1];
        d = static_cast<uint16_t>(f.Pack(c[0], c[1], c[2]));
      });
      break;
    }
    case PIXEL_DD32:
      WalkCopy<uint32_t>(px, x, y, w, h, sx, sy, mirrorX, mirrorY, [&](uint32_t& d, uint32_t s) {
        if (keyed && f.IsTransmit32(s)) return;
        d = (d & 0xFF000000u) | (f.IsTransmit32(d) ? s & 0xFFFFFFu : HalfMix24(s, d));
      });
      break;
    case PIXEL_DT16:
      WalkCopy<uint16_t>(px, x, y, w, h, sx, sy, mirrorX, mirrorY, [&](uint16_t& d, uint16_t s) {
        if (keyed && TransparentDT16(s)) return;
        d = static_cast<uint16_t>(f.PackOpaque((f.Get(s, 0) + f.Get(d, 0)) >> 1, (f.Get(s, 1) + f.Get(d, 1)) >> 1,
                                               (f.Get(s, 2) + f.Get(d, 2)) >> 1));
      });
      break;
    case PIXEL_DT16_BACK:
      WalkCopy<uint16_t>(px, x, y, w, h, sx, sy, mirrorX, mirrorY, [&](uint16_t& d, uint16_t s) {
        if (keyed && TransparentDT16(s)) return;
        d = static_cast<uint16_t>(f.PackBack((f.Get(s, 0) + f.GetBack(d, 0)) >> 1,
                                             (f.Get(s, 1) * 2 + f.GetBack(d, 1)) >> 1,
                                             (f.Get(s, 2) + f.GetBack(d, 2)) >> 1));
      });
      break;
    case PIXEL_DT32:
      WalkCopy<uint32_t>(px, x, y, w, h, sx, sy, mirrorX, mirrorY, [&](uint32_t& d, uint32_t s) {
        if (keyed && TransparentDT32(s)) return;
        d = 0xFF000000u | HalfMix24(s, d);
      });
      break;
    case PIXEL_NONE: break;
  }
}

void FxTintPixels(const cEffectPixels& px, int x, int y, int w, int h, int sx, int sy, bool mirrorX, bool mirrorY,
                  int flags, const PALETTEENTRY& entry, uint8_t palNum, int level) {
  if (level <= 0) return;
  const bool keyed = flags == 1;
  const cPixelFormat& f = px.format;
  switch (px.mode) {
    case PIXEL_DD8: {
      uint8_t map[256];
      IndexTint(palNum, level, map);
      WalkCopy<uint8_t>(px, x, y, w, h, sx, sy, mirrorX, mirrorY, [&](uint8_t& d, uint8_t s) {
        if (keyed && f.IsTransmit8(s)) return;
        d = map[s];
      });
      break;
    }
    case PIXEL_DD16: {
      const cTintTable t = SoftwareTint(px, entry, level);
      WalkCopy<uint16_t>(px, x, y, w, h, sx, sy, mirrorX, mirrorY, [&](uint16_t& d, uint16_t s) {
        if (keyed && f.IsTransmit16(s)) return;
        d = static_cast<uint16_t>(f.Pack(t.out[0][f.Get(s, 0)], t.out[1][f.Get(s, 1)], t.out[2][f.Get(s, 2)]));
      });
      break;
    }
    case PIXEL_DD32: {
      const cTintTable t = SoftwareTint(px, entry, level);
      WalkCopy<uint32_t>(px, x, y, w, h, sx, sy, mirrorX, mirrorY, [&](uint32_t& d, uint32_t s) {
        if (keyed && f.IsTransmit32(s)) return;
        d = (d & 0xFF000000u) | static_cast<uint32_t>(t.out[0][s >> 16 & 0xFF]) << 16 |
            static_cast<uint32_t>(t.out[1][s >> 8 & 0xFF]) << 8 | static_cast<uint32_t>(t.out[2][s & 0xFF]);
      });
      break;
    }
    case PIXEL_DT16: {
      const cTintTable t = DeviceTint(px, entry, level);
      WalkCopy<uint16_t>(px, x, y, w, h, sx, sy, mirrorX, mirrorY, [&](uint16_t& d, uint16_t s) {
        if (keyed && TransparentDT16(s)) return;
        d = static_cast<uint16_t>(
            f.PackOpaque(t.out[0][f.Get(s, 0)], t.out[1][f.Get(s, 1)], t.out[2][f.Get(s, 2)]));
      });
      break;
    }
    case PIXEL_DT16_BACK: {
      const cTintTable t = DeviceTint(px, entry, level);
      WalkCopy<uint16_t>(px, x, y, w, h, sx, sy, mirrorX, mirrorY, [&](uint16_t& d, uint16_t s) {
        if (keyed && TransparentDT16(s)) return;
        d = static_cast<uint16_t>(f.PackBack(t.out[0][f.Get(s, 0)], t.out[1][f.Get(s, 1)], t.out[2][f.Get(s, 2)]));
      });
      break;
    }
    case PIXEL_DT32: {
      const cTintTable t = DeviceTint(px, entry, level);
      WalkCopy<uint32_t>(px, x, y, w, h, sx, sy, mirrorX, mirrorY, [&](uint32_t& d, uint32_t s) {
        if (keyed && TransparentDT32(s)) return;
        d = 0xFF000000u | static_cast<uint32_t>(t.out[0][s >> 16 & 0xFF]) << 16 |
            static_cast<uint32_t>(t.out[1][s >> 8 & 0xFF]) << 8 | static_cast<uint32_t>(t.out[2][s & 0xFF]);
      });
      break;
    }
    case PIXEL_NONE: break;
  }
}

bool DDBltAlpha(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int flags,
                const uint8_t* blendTable, int level) {
  if (!dst || !src) return false;
  if (w <= 0 || h <= 0) return true;
  bool mirrorX = false, mirrorY = false;
  if (lpDTCon) {
    int sw = w, sh = h;
    DDMirrorCoords(src, &sx, &sy, &sw, &sh);
    DDSURFACEDATA* d = DDEffectSurface(dst);
    DDSURFACEDATA* s = DDEffectSurface(src);
    if (DDEffectDrawsQuad(d, s)) {
      DTVERTEX v[4];
      const uint32_t alpha = static_cast<uint32_t>(255 - std::clamp(level, 0, 255));
      DTRectVertices(v, x, y, w, h, s, sx, sy, sw, sh, alpha << 24 | 0xFFFFFF);
      DTSTAGESTATE stage;
      stage.nColorOp = D3DTOP_MODULATE;
      stage.nAlphaOp = D3DTOP_MODULATE;
      // Later draws take the texture's own alpha again.
      if (DTDrawQuad(d, s, v, stage)) {
        lpDevice->SetTextureStageState(0, plat::D3DTSS_ALPHAOP, D3DTOP_SELECTARG1);
        lpDevice->SetTextureStageState(0, plat::D3DTSS_ALPHAARG1, D3DTA_TEXTURE);
      }
      return true;
    }
    mirrorX = sw < 0;
    mirrorY = sh < 0;
  }
  // What the copy reads and writes: a mirrored source runs back from sx, sy.
  const plat::Rect dstArea = EffectArea(x, y, w, h);
  const plat::Rect srcArea = EffectArea(mirrorX ? int64_t{sx} - w : sx, mirrorY ? int64_t{sy} - h : sy, w, h);
  cEffectLocks locks;
  if (!locks.Lock(dst, src, &dstArea, &srcArea)) return false;
  const cEffectPixels px = locks.Pixels("DDBltAlpha");
  if (px.mode == PIXEL_DD8 && !blendTable) {
    DebugLogPuts("DDBltAlpha : no blend table");
    return false;
  }
  FxAlphaPixels(px, x, y, w, h, sx, sy, mirrorX, mirrorY, flags, blendTable);
  return true;
}

bool DDBltHalf(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int flags,
               const uint8_t* blendTable) {
  return DDBltAlpha(dst, x, y, w, h, src, sx, sy, flags, blendTable, 128);
}

bool DDBltTint(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int flags,
               const PALETTEENTRY* palette, const uint8_t*, uint8_t palNum, int level) {
  if (!dst || !src) return false;
  if (level <= 0 || w <= 0 || h <= 0) return true;
  bool mirrorX = false, mirrorY = false;
  if (lpDTCon) {
    if (!palette) {
      DebugLogPuts("DDBltTint : no palette");
      return false;
    }
    int sw = w, sh = h;
    DDMirrorCoords(src, &sx, &sy, &sw, &sh);
    DDSURFACEDATA* d = DDEffectSurface(dst);
    DDSURFACEDATA* s = DDEffectSurface(src);
    if (DDEffectDrawsQuad(d, s)) {
      // The texel's share of the colour per level; past level 4 the palette colour alone.
      static const uint32_t kTexelShare[5] = {0, 128, 80, 48, 16};
      const PALETTEENTRY& e = palette[palNum];
      DTVERTEX v[4];
      DTRectVertices(v, x, y, w, h, s, sx, sy, sw, sh, 0xFFFFFFFF);
      DTSTAGESTATE stage;
      stage.nColorOp = D3DTOP_BLENDFACTORALPHA;
      stage.nColorArg1 = D3DTA_TEXTURE;
      stage.nColorArg2 = D3DTA_TFACTOR;
      stage.nAlphaOp = D3DTOP_SELECTARG1;
      stage.nAlphaArg1 = D3DTA_TEXTURE;
      stage.dwTextureFactor = (level <= 4 ? kTexelShare[level] : 0) << 24 | uint32_t{e.peRed} << 16 |
                              uint32_t{e.peGreen} << 8 | e.peBlue;
      DTDrawQuad(d, s, v, stage);
      return true;
    }
    mirrorX = sw < 0;
    mirrorY = sh < 0;
  }
  const plat::Rect dstArea = EffectArea(x, y, w, h);
  const plat::Rect srcArea = EffectArea(mirrorX ? int64_t{sx} - w : sx, mirrorY ? int64_t{sy} - h : sy, w, h);
  cEffectLocks locks;
  if (!locks.Lock(dst, src, &dstArea, &srcArea)) return false;
  const cEffectPixels px = locks.Pixels("DDBltTint");
  if (px.mode != PIXEL_DD8 && !palette) {
    DebugLogPuts("DDBltTint : no palette");
    return false;
  }
  FxTintPixels(px, x, y, w, h, sx, sy, mirrorX, mirrorY, flags, palette ? palette[palNum] : PALETTEENTRY{}, palNum,
               level);
  return true;
}

bool DDChangeColor(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight, int nAlpha, uint8_t bRed,
                   uint8_t bGreen, uint8_t bBlue) {
  return DDChangeColorFrom(lpDstSD, x, y, nWidth, nHeight, lpDstSD, nAlpha, bRed, bGreen, bBlue);
}

bool DDChangeColorFrom(DDSURFACEDATA* lpDstSD, int, int, int, int, DDSURFACEDATA* lpSrcSD, int nAlpha, uint8_t bRed,
                       uint8_t bGreen, uint8_t bBlue) {
  if (!lpDTCon) {
    DebugLogPuts(kNoChangeColorOnDD);
    return true;
  }
  DDSURFACEDATA* d = DDEffectSurface(lpDstSD);
  DDSURFACEDATA* s = DDEffectSurface(lpSrcSD);
  if (!d || !s) return true;
  // The whole target, whatever the rectangle: every caller tints the screen.
  const uint32_t alpha = static_cast<uint32_t>(255 - std::clamp(nAlpha, 0, 255));
  const uint32_t diffuse = alpha << 24 | uint32_t{bRed} << 16 | uint32_t{bGreen} << 8 | bBlue;
  // A source without a texture (the device's own back buffer) samples as
  // white, as on the device: the colour itself at that opacity.
  if (!s->lpDT || !s->lpDT->lpTexture) {
    DDFillRectColor(d, 0, 0, d->nWidth, d->nHeight, diffuse);
    return true;
  }
  DTVERTEX v[4];
  DTRectVertices(v, 0, 0, d->nWidth, d->nHeight, s, 0, 0, d->nWidth, d->nHeight, diffuse);
  DTSTAGESTATE stage;
  stage.nColorOp = D3DTOP_MODULATE;
  stage.nAlphaOp = D3DTOP_MODULATE;
  DTDrawQuad(d, s, v, stage);
  return true;
}
