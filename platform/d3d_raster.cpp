// The 3D device's rasteriser: snapped positions, integer edge functions
// with the top-left rule, attributes from double planes at pixel centres,
// point sampling with wrap, stage 0 and the blend; and the fast path of
// axis-aligned quads, which computes the very same values.
#include <algorithm>
#include <cmath>
#include <type_traits>
#include <vector>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif
#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
#include <immintrin.h>
#endif

#include "platform/d3d_internal.h"

namespace plat::detail {
namespace {

// Positions beyond this many pixels are pulled in, so that the edge
// functions stay well inside 64 bits.
constexpr double kGuardBand = 2097152.0;

// Left without initialisers: a draw snaps every vertex it keeps.
struct Vtx {
  int64_t x, y;    // 1/256 pixel
  double fx, fy;   // the same in pixels
  uint32_t diffuse;
  double u, v;
  bool ok;
};

// std::llround (halves away from zero) for the guard band's values, without
// the library call: a double this small converts to int64_t exactly
// truncated, and its fraction is exact.
inline int64_t RoundHalfAway(double d) {
  const int64_t i = static_cast<int64_t>(d);  // toward zero
  const double f = d - static_cast<double>(i);
  return i + (f >= 0.5 ? 1 : 0) - (f <= -0.5 ? 1 : 0);
}

Vtx Snap(const D3DVertex& in) {
  Vtx out{};
  if (!std::isfinite(in.x) || !std::isfinite(in.y) || !std::isfinite(in.u) || !std::isfinite(in.v)) return out;
  out.x = RoundHalfAway(std::clamp(static_cast<double>(in.x), -kGuardBand, kGuardBand) * 256.0);
  out.y = RoundHalfAway(std::clamp(static_cast<double>(in.y), -kGuardBand, kGuardBand) * 256.0);
  out.fx = static_cast<double>(out.x) / 256.0;
  out.fy = static_cast<double>(out.y) / 256.0;
  out.diffuse = in.diffuse;
  out.u = in.u;
  out.v = in.v;
  out.ok = true;
  return out;
}

// The first pixel centre at or after a fixed-point position.
int64_t CeilPixel(int64_t fixed) { return -((-fixed) >> 8); }
int64_t FloorPixel(int64_t fixed) { return fixed >> 8; }

// floor(t * size) wrapped into 0..size-1; anything not finite samples 0.
// Doubles this large are whole numbers, so testing the product itself is
// testing its floor; the floor is taken by truncating and stepping down, and
// the division only when the texel lies outside the texture.
inline int TexelIndex(double t, int size) {
  const double f = t * size;
  if (!(f > -9.0e15 && f < 9.0e15)) return 0;
  int64_t i = static_cast<int64_t>(f);
  if (static_cast<double>(i) > f) --i;
  if (static_cast<uint64_t>(i) < static_cast<uint64_t>(size)) return static_cast<int>(i);
  i %= size;
  if (i < 0) i += size;
  return static_cast<int>(i);
}

// An attribute over the triangle: a0 at the origin, changing by dx and dy
// per pixel.
struct Plane {
  double a0 = 0, dx = 0, dy = 0, ox = 0, oy = 0;
  double At(double px, double py) const { return a0 + dx * (px - ox) + dy * (py - oy); }
};

struct Gradients {
  Plane u, v;
  Plane colour[4];  // blue, green, red, alpha (bytes 0..3)
  bool flat = true;
  uint32_t diffuse = 0;
};

#if defined(__x86_64__) && (defined(__GNUC__) || defined(__clang__))
// Whether the processor has the wider vectors some loops are also built for.
bool HasWideVectors() {
  static const bool has = [] {
    __builtin_cpu_init();
    return __builtin_cpu_supports("avx2") != 0;
  }();
  return has && D3DWideVectors();
}

// The vector loop of TexelIndices four at a time: the very operations of
// its two-lane loop on four lanes. From out[i] on while four remain; clears
// bit 0 of `lanesIn` when an index falls outside.
__attribute__((target("avx2"))) void TexelIndicesFour(const Plane& pl, bool alongX, double x, double y, int n,
                                                      double dsize, int* out, int& i, int& lanesIn) {
  const __m256d vsize = _mm256_set1_pd(dsize), zero = _mm256_setzero_pd(), four = _mm256_set1_pd(4.0);
  __m256d vi = _mm256_set_pd(3.0, 2.0, 1.0, 0.0);
  int in4 = 15;
  if (alongX) {
    const __m256d vx = _mm256_set1_pd(x), vox = _mm256_set1_pd(pl.ox), vdx = _mm256_set1_pd(pl.dx);
    const __m256d va0 = _mm256_set1_pd(pl.a0), vrow = _mm256_set1_pd(pl.dy * (y - pl.oy));
    for (; i + 4 <= n; i += 4, vi = _mm256_add_pd(vi, four)) {
      const __m256d t =
          _mm256_add_pd(_mm256_add_pd(va0, _mm256_mul_pd(vdx, _mm256_sub_pd(_mm256_add_pd(vx, vi), vox))), vrow);
      const __m256d f = _mm256_mul_pd(t, vsize);
      const __m256d in = _mm256_and_pd(_mm256_cmp_pd(f, zero, _CMP_GE_OQ), _mm256_cmp_pd(f, vsize, _CMP_LT_OQ));
      in4 &= _mm256_movemask_pd(in);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm256_cvttpd_epi32(_mm256_and_pd(in, f)));
    }
  } else {
    const __m256d vy = _mm256_set1_pd(y), voy = _mm256_set1_pd(pl.oy), vdy = _mm256_set1_pd(pl.dy);
    const __m256d vcol = _mm256_set1_pd(pl.a0 + pl.dx * (x - pl.ox));
    for (; i + 4 <= n; i += 4, vi = _mm256_add_pd(vi, four)) {
      const __m256d t = _mm256_add_pd(vcol, _mm256_mul_pd(vdy, _mm256_sub_pd(_mm256_add_pd(vy, vi), voy)));
      const __m256d f = _mm256_mul_pd(t, vsize);
      const __m256d in = _mm256_and_pd(_mm256_cmp_pd(f, zero, _CMP_GE_OQ), _mm256_cmp_pd(f, vsize, _CMP_LT_OQ));
      in4 &= _mm256_movemask_pd(in);
      _mm_storeu_si128(reinterpret_cast<__m128i*>(out + i), _mm256_cvttpd_epi32(_mm256_and_pd(in, f)));
    }
  }
  if (in4 != 15) lanesIn = 0;
}
#define D3D_WIDE_VECTORS 1
#endif

// The planes through origin o and the other two vertices p, q (in the
// triangle's order).
Gradients Setup(const Vtx& o, const Vtx& p, const Vtx& q) {
  const double e1x = p.fx - o.fx, e1y = p.fy - o.fy, e2x = q.fx - o.fx, e2y = q.fy - o.fy;
  const double det = e1x * e2y - e2x * e1y;
  auto plane = [&](double ao, double ap, double aq) {
    Plane pl;
    const double e1a = ap - ao, e2a = aq - ao;
    pl.a0 = ao;
    pl.dx = (e1a * e2y - e2a * e1y) / det;
    pl.dy = (e2a * e1x - e1a * e2x) / det;
    pl.ox = o.fx;
    pl.oy = o.fy;
    return pl;
  };
  Gradients g;
  g.u = plane(o.u, p.u, q.u);
  g.v = plane(o.v, p.v, q.v);
  g.diffuse = o.diffuse;
  g.flat = o.diffuse == p.diffuse && o.diffuse == q.diffuse;
  if (!g.flat)
    for (int k = 0; k < 4; ++k) {
      auto ch = [k](uint32_t c) { return static_cast<double>((c >> (8 * k)) & 0xFF); };
      g.colour[k] = plane(ch(o.diffuse), ch(p.diffuse), ch(q.diffuse));
    }
  return g;
}

uint32_t DiffuseAt(const Gradients& g, double px, double py) {
  if (g.flat) return g.diffuse;
  uint32_t c = 0;
  for (int k = 0; k < 4; ++k) {
    const double v = std::floor(g.colour[k].At(px, py) + 0.5);
    const uint32_t b = !(v > 0.0) ? 0u : v >= 255.0 ? 255u : static_cast<uint32_t>(v);
    c |= b << (8 * k);
  }
  return c;
}

// --- stage 0 and the blend ---

uint32_t Arg(uint32_t arg, uint32_t texel, uint32_t diffuse, uint32_t factor) {
  switch (arg & 0xF) {
    case D3DTA_TEXTURE: return texel;
    case D3DTA_TFACTOR: return factor;
    default: return diffuse;  // the diffuse colour, also as "current" at stage 0
  }
}

uint32_t Combine(uint32_t op, uint32_t a1, uint32_t a2, uint32_t factorAlpha) {
  switch (op) {
    case D3DTOP_SELECTARG1: return a1;
    case D3DTOP_SELECTARG2: return a2;
    case D3DTOP_ADD: return std::min(a1 + a2, 255u);
    case D3DTOP_SUBTRACT: return a1 > a2 ? a1 - a2 : 0;
    case D3DTOP_BLENDFACTORALPHA: return (a1 * factorAlpha + a2 * (255 - factorAlpha) + 127) / 255;
    default: return (a1 * a2 + 127) / 255;
  }
}

uint32_t Shade(const D3DPixelState& s, uint32_t texel, uint32_t diffuse) {
  const uint32_t factorAlpha = s.textureFactor >> 24;
  uint32_t out;
  if (s.colorOp == D3DTOP_DISABLE) {
    out = diffuse & 0xFFFFFF;
  } else {
    const uint32_t c1 = Arg(s.colorArg1, texel, diffuse, s.textureFactor);
    const uint32_t c2 = Arg(s.colorArg2, texel, diffuse, s.textureFactor);
    out = 0;
    for (int shift = 0; shift < 24; shift += 8)
      out |= Combine(s.colorOp, (c1 >> shift) & 0xFF, (c2 >> shift) & 0xFF, factorAlpha) << shift;
  }
  if (s.alphaOp == D3DTOP_DISABLE) return out | (diffuse & 0xFF000000u);
  const uint32_t a1 = Arg(s.alphaArg1, texel, diffuse, s.textureFactor) >> 24;
  const uint32_t a2 = Arg(s.alphaArg2, texel, diffuse, s.textureFactor) >> 24;
  return out | Combine(s.alphaOp, a1, a2, factorAlpha) << 24;
}

// Each channel's (s a + d (255 - a) + 127) / 255, two channels to a word:
// no lane passes 255 * 255 + 127, below which (x + 1 + (x >> 8)) >> 8 is
// x / 255 exactly.
uint32_t Blend(uint32_t src, uint32_t dst) {
  const uint32_t a = src >> 24;
  if (a == 255) return src;
  if (a == 0) return dst;
  const uint32_t na = 255 - a;
  auto lanes = [a, na](uint32_t s, uint32_t d) {
    const uint32_t x = s * a + d * na + 0x007F007Fu;
    return ((x + 0x00010001u + ((x >> 8) & 0x00FF00FFu)) >> 8) & 0x00FF00FFu;
  };
  return lanes(src & 0x00FF00FFu, dst & 0x00FF00FFu) | lanes(src >> 8 & 0x00FF00FFu, dst >> 8 & 0x00FF00FFu) << 8;
}

// The operations that read the texture: a selection reads only the
// argument it selects, so a fill with a texture still bound is a fill.
bool ReadsTexture(const D3DPixelState& s) {
  auto reads = [](uint32_t op, uint32_t a1, uint32_t a2) {
    auto tex = [](uint32_t arg) { return (arg & 0xF) == D3DTA_TEXTURE; };
    if (op == D3DTOP_DISABLE) return false;
    if (op == D3DTOP_SELECTARG1) return tex(a1);
    if (op == D3DTOP_SELECTARG2) return tex(a2);
    return tex(a1) || tex(a2);
  };
  return reads(s.colorOp, s.colorArg1, s.colorArg2) || reads(s.alphaOp, s.alphaArg1, s.alphaArg2);
}

// Stage 0 of a draw whose diffuse colour is one colour: each channel of
// the result depends on the same channel of the texel alone, so four
// tables of 256 hold it. The last few are kept, since draws repeat their
// state (a tint over many characters, the glyphs of one text).
class ShadeTable {
 public:
  uint32_t operator()(uint32_t texel) const {
    return m_c[0][texel & 0xFF] | m_c[1][texel >> 8 & 0xFF] | m_c[2][texel >> 16 & 0xFF] | m_c[3][texel >> 24];
  }
  static const ShadeTable& For(const D3DPixelState& s, uint32_t diffuse);

 private:
  struct Key {
    uint32_t v[8];
    bool operator==(const Key& o) const { return std::equal(v, v + 8, o.v); }
  };
  void Build(const D3DPixelState& s, uint32_t diffuse) {
    for (uint32_t v = 0; v < 256; ++v) {
      const uint32_t out = Shade(s, v * 0x01010101u, diffuse);
      for (int k = 0; k < 4; ++k) m_c[k][v] = out & (0xFFu << (8 * k));
    }
  }
  Key m_key{};
  uint32_t m_c[4][256];
};

const ShadeTable& ShadeTable::For(const D3DPixelState& s, uint32_t diffuse) {
  constexpr int kKept = 4;
  thread_local std::vector<ShadeTable> kept;
  thread_local int next = 0;
  kept.reserve(kKept);  // the tables handed out stay where they are
  const Key key{{s.colorOp, s.colorArg1, s.colorArg2, s.alphaOp, s.alphaArg1, s.alphaArg2, s.textureFactor, diffuse}};
  for (const ShadeTable& t : kept)
    if (t.m_key == key) return t;
  if (kept.size() < kKept) {
    kept.emplace_back();
    next = static_cast<int>(kept.size()) - 1;
  } else {
    next = (next + 1) % kKept;
  }
  ShadeTable& t = kept[static_cast<size_t>(next)];
  t.m_key = key;
  t.Build(s, diffuse);
  return t;
}

// The texture's answer without a texture: opaque black.
constexpr uint32_t kNoTexel = 0xFF000000u;

// Stage 0 shows the texel's colour as it is: texture times white, or the
// texture selected.
bool ShowsTexelColour(const D3DPixelState& s, uint32_t diffuse) {
  auto texAndDiffuse = [](uint32_t a1, uint32_t a2) {
    return ((a1 & 0xF) == D3DTA_TEXTURE && ((a2 & 0xF) == D3DTA_DIFFUSE || (a2 & 0xF) == D3DTA_CURRENT)) ||
           ((a2 & 0xF) == D3DTA_TEXTURE && ((a1 & 0xF) == D3DTA_DIFFUSE || (a1 & 0xF) == D3DTA_CURRENT));
  };
  return (s.colorOp == D3DTOP_MODULATE && texAndDiffuse(s.colorArg1, s.colorArg2) &&
          (diffuse & 0xFFFFFF) == 0xFFFFFF) ||
         (s.colorOp == D3DTOP_SELECTARG1 && (s.colorArg1 & 0xF) == D3DTA_TEXTURE);
}

// The common sprite draw: texture times white, texture alpha.
bool PassesTexel(const D3DPixelState& s, uint32_t diffuse) {
  return ShowsTexelColour(s, diffuse) && s.alphaOp == D3DTOP_SELECTARG1 && (s.alphaArg1 & 0xF) == D3DTA_TEXTURE;
}

// The copy drawn back with the alpha operation off under an opaque diffuse
// colour: the texel's colour at alpha 255, which replaces the target
// whether blending or not.
bool PassesTexelOpaque(const D3DPixelState& s, uint32_t diffuse) {
  return ShowsTexelColour(s, diffuse) && s.alphaOp == D3DTOP_DISABLE && (diffuse >> 24) == 0xFF;
}

// How a row of texels that show as they are goes onto the target.
enum class Put { Replace, Blend, Opaque };

Put PutFor(const D3DPixelState& s, uint32_t diffuse) {
  return PassesTexelOpaque(s, diffuse) ? Put::Opaque : s.blend ? Put::Blend : Put::Replace;
}

class Painter {
 public:
  Painter(D3DPixels& target, const D3DPixelState& s) : m_t(target), m_s(s), m_tex(ReadsTexture(s) ? s.texture : nullptr) {}

  bool Textured() const { return m_tex != nullptr; }
  const D3DPixels* Texture() const { return m_tex; }

  const D3DPixelState& State() const { return m_s; }
  D3DPixels& Target() const { return m_t; }

 private:
  D3DPixels& m_t;
  const D3DPixelState& m_s;
  const D3DPixels* m_tex;
};

struct Edge {
  int64_t ax, ay, dx, dy;
  bool topLeft;
  // Positive inside; at pixel centre (px, py).
  int64_t At(int64_t px, int64_t py) const { return dx * (py * 256 - ay) - dy * (px * 256 - ax); }
};

Edge MakeEdge(const Vtx& a, const Vtx& b) {
  Edge e{a.x, a.y, b.x - a.x, b.y - a.y, false};
  // With the winding made positive, a top edge runs right along the top and
  // a left edge runs up.
  e.topLeft = e.dy < 0 || (e.dy == 0 && e.dx > 0);
  return e;
}

// Culling by the winding on the screen (y down; positive area is
// clockwise), reversed for the odd triangles of a strip.
bool Culled(uint32_t cullMode, int64_t area, bool odd) {
  const int64_t winding = odd ? -area : area;
  return (cullMode == D3DCULL_CW && winding > 0) || (cullMode == D3DCULL_CCW && winding < 0);
}

// An A1R5G5B5 texel as R5G6B5: red and the top of green move up a bit, and
// green's sixth bit repeats its top bit, in 16-bit lanes.
inline uint16_t A1ToR565(uint16_t p) {
  return static_cast<uint16_t>(((p << 1) & 0xFFC0) | ((p >> 4) & 0x20) | (p & 0x1F));
}

// What a span routine needs of its triangle: the texture, the state, and
// each attribute split as the planes compute it, a0 + dx * (x - ox) per
// column (kept for the triangle's columns) plus dy * (y - oy) per row, so
// that every pixel adds the very same two doubles as before.
struct SpanJob {
  const D3DPixelState* state;
  const ShadeTable* table;  // with one diffuse colour
  const D3DPixels* tex;
  const Gradients* g;
  const double* colU;
  const double* colV;
  int64_t minX;
};

// How a span shades its texels: as they are, through the shade table of
// its one diffuse colour, or through stage 0 with the diffuse of each pixel.
enum class Shading { Pass, Table, Full };

// One span [x0, x1] of a row, for one target format, texture format (Unknown:
// none is read), shading and blending on or off: no format lookup or state
// test left per pixel. With kInside every texel index is known to lie inside
// the texture, so it is the truncated product.
template <D3DFormat kTarget, D3DFormat kTexture, Shading kShade, bool kBlend, bool kInside>
void SpanPixels(const SpanJob& j, uint8_t* row, int64_t py, int64_t x0, int64_t x1, double rowU, double rowV) {
  const Gradients& g = *j.g;
  const double fy = static_cast<double>(py);
  const D3DPixels* tex = j.tex;
  const int tw = tex ? tex->width : 0, th = tex ? tex->height : 0;
  const double dw = tw, dh = th;
  const uint8_t* texels = tex ? tex->bytes.data() : nullptr;
  const size_t pitch = tex ? static_cast<size_t>(tex->pitch) : 0;
  const double* colU = j.colU;
  const double* colV = j.colV;
  const int64_t minX = j.minX;
  for (int64_t px = x0; px <= x1; ++px) {
    uint32_t texel = kNoTexel;
    if constexpr (kTexture != D3DFormat::Unknown) {
      int tx, ty;
      if constexpr (kInside) {
        tx = static_cast<int>((colU[px - minX] + rowU) * dw);
        ty = static_cast<int>((colV[px - minX] + rowV) * dh);
      } else {
        tx = TexelIndex(colU[px - minX] + rowU, tw);
        ty = TexelIndex(colV[px - minX] + rowV, th);
      }
      const uint8_t* texRow = texels + static_cast<size_t>(ty) * pitch;
      if constexpr (kShade == Shading::Pass && kBlend && kTexture == D3DFormat::A1R5G5B5 &&
                    (kTarget == D3DFormat::A1R5G5B5 || kTarget == D3DFormat::R5G6B5)) {
        // Alpha 0 or 255 only: a select without a branch to mispredict.
        uint16_t p, d;
        std::memcpy(&p, texRow + 2 * tx, 2);
        std::memcpy(&d, row + 2 * px, 2);
        if constexpr (kTarget == D3DFormat::R5G6B5) {
          d = (p & 0x8000u) ? A1ToR565(p) : d;
        } else {
          d = (p & 0x8000u) ? p : d;
        }
        std::memcpy(row + 2 * px, &d, 2);
        continue;
      }
      texel = ReadPixel(kTexture, texRow, tx);
    }
    uint32_t shaded;
    if constexpr (kShade == Shading::Pass) {
      shaded = texel;
    } else if constexpr (kShade == Shading::Table) {
      shaded = (*j.table)(texel);
    } else {
      shaded = Shade(*j.state, texel, DiffuseAt(g, static_cast<double>(px), fy));
    }
    if constexpr (kBlend) {
      const uint32_t a = shaded >> 24;
      if constexpr (kTarget == D3DFormat::A8R8G8B8 || kTarget == D3DFormat::X8R8G8B8) {
        // Alpha 0 or 255 (the usual sprite) as a select, not a branch.
        if (a - 1u >= 254u) {
          constexpr uint32_t fill = kTarget == D3DFormat::X8R8G8B8 ? 0xFF000000u : 0u;
          uint32_t d;
          std::memcpy(&d, row + 4 * px, 4);
          d = a ? shaded | fill : d;
          std::memcpy(row + 4 * px, &d, 4);
          continue;
        }
      } else if (a == 0) {
        continue;
      }
      if (a != 255) shaded = Blend(shaded, ReadPixel(kTarget, row, static_cast<int>(px)));
    }
    WritePixel(kTarget, row, static_cast<int>(px), shaded);
  }
}

template <D3DFormat kTarget, D3DFormat kTexture, Shading kPass, bool kBlend>
void Span(const SpanJob& j, uint8_t* row, int64_t py, int64_t x0, int64_t x1) {
  const Gradients& g = *j.g;
  const double fy = static_cast<double>(py);
  const double rowU = g.u.dy * (fy - g.u.oy), rowV = g.v.dy * (fy - g.v.oy);
  if constexpr (kTexture != D3DFormat::Unknown) {
    // Each sum and product grows or shrinks steadily along the row, so
    // when both ends fall inside the texture every pixel between does.
    const double w = j.tex->width, h = j.tex->height;
    const size_t a = static_cast<size_t>(x0 - j.minX), b = static_cast<size_t>(x1 - j.minX);
    const double u0 = (j.colU[a] + rowU) * w, u1 = (j.colU[b] + rowU) * w;
    const double v0 = (j.colV[a] + rowV) * h, v1 = (j.colV[b] + rowV) * h;
    if (u0 >= 0 && u0 < w && u1 >= 0 && u1 < w && v0 >= 0 && v0 < h && v1 >= 0 && v1 < h) {
      SpanPixels<kTarget, kTexture, kPass, kBlend, true>(j, row, py, x0, x1, rowU, rowV);
      return;
    }
  }
  SpanPixels<kTarget, kTexture, kPass, kBlend, false>(j, row, py, x0, x1, rowU, rowV);
}

using SpanFn = void (*)(const SpanJob&, uint8_t*, int64_t, int64_t, int64_t);

template <D3DFormat kTarget, D3DFormat kTexture>
SpanFn SpanFor(Shading shade, bool blend) {
  switch (shade) {
    case Shading::Pass:
      return blend ? Span<kTarget, kTexture, Shading::Pass, true> : Span<kTarget, kTexture, Shading::Pass, false>;
    case Shading::Table:
      return blend ? Span<kTarget, kTexture, Shading::Table, true> : Span<kTarget, kTexture, Shading::Table, false>;
    default:
      return blend ? Span<kTarget, kTexture, Shading::Full, true> : Span<kTarget, kTexture, Shading::Full, false>;
  }
}

template <D3DFormat kTarget>
SpanFn SpanFor(const D3DPixels* tex, Shading shade, bool blend) {
  if (!tex) return SpanFor<kTarget, D3DFormat::Unknown>(shade == Shading::Pass ? Shading::Table : shade, blend);
  switch (tex->format) {
    case D3DFormat::A8R8G8B8: return SpanFor<kTarget, D3DFormat::A8R8G8B8>(shade, blend);
    case D3DFormat::X8R8G8B8: return SpanFor<kTarget, D3DFormat::X8R8G8B8>(shade, blend);
    case D3DFormat::R5G6B5: return SpanFor<kTarget, D3DFormat::R5G6B5>(shade, blend);
    case D3DFormat::A1R5G5B5: return SpanFor<kTarget, D3DFormat::A1R5G5B5>(shade, blend);
    default: return nullptr;
  }
}

SpanFn SpanFor(D3DFormat target, const D3DPixels* tex, Shading shade, bool blend) {
  switch (target) {
    case D3DFormat::A8R8G8B8: return SpanFor<D3DFormat::A8R8G8B8>(tex, shade, blend);
    case D3DFormat::X8R8G8B8: return SpanFor<D3DFormat::X8R8G8B8>(tex, shade, blend);
    case D3DFormat::R5G6B5: return SpanFor<D3DFormat::R5G6B5>(tex, shade, blend);
    case D3DFormat::A1R5G5B5: return SpanFor<D3DFormat::A1R5G5B5>(tex, shade, blend);
    default: return nullptr;
  }
}

// Division rounding down and up, for a positive divisor.
int64_t FloorDiv(int64_t a, int64_t b) { return a >= 0 ? a / b : -((-a + b - 1) / b); }
int64_t CeilDiv(int64_t a, int64_t b) { return -FloorDiv(-a, b); }

void DrawTriangle(const Painter& paint, const Vtx* tri[3], int origin, bool odd, D3DDrawCounts& stats) {
  const Vtx& o = *tri[origin];
  const Vtx& p = *tri[origin == 0 ? 1 : 0];
  const Vtx& q = *tri[origin == 2 ? 1 : 2];
  const Vtx* a = tri[0];
  const Vtx* b = tri[1];
  const Vtx* c = tri[2];
  const int64_t area = (b->x - a->x) * (c->y - a->y) - (b->y - a->y) * (c->x - a->x);
  if (area == 0 || Culled(paint.State().cullMode, area, odd)) return;
  if (area < 0) std::swap(b, c);
  const Edge edges[3] = {MakeEdge(*a, *b), MakeEdge(*b, *c), MakeEdge(*c, *a)};

  D3DPixels& t = paint.Target();
  const int64_t minX = std::max<int64_t>(CeilPixel(std::min({a->x, b->x, c->x})), 0);
  const int64_t maxX = std::min<int64_t>(FloorPixel(std::max({a->x, b->x, c->x})), t.width - 1);
  const int64_t minY = std::max<int64_t>(CeilPixel(std::min({a->y, b->y, c->y})), 0);
  const int64_t maxY = std::min<int64_t>(FloorPixel(std::max({a->y, b->y, c->y})), t.height - 1);
  if (minX > maxX || minY > maxY) return;
  ++stats.triangles;

  const Gradients g = Setup(o, p, q);
  const D3DPixelState& s = paint.State();
  const D3DPixels* tex = paint.Texture();
  const Shading shade = !g.flat ? Shading::Full : PassesTexel(s, g.diffuse) && tex ? Shading::Pass : Shading::Table;
  const SpanFn span = SpanFor(t.format, tex, shade, s.blend);
  if (!span) return;
  const ShadeTable* table = shade == Shading::Table ? &ShadeTable::For(s, g.diffuse) : nullptr;
  const size_t columns = static_cast<size_t>(maxX - minX + 1);
  thread_local std::vector<double> colU, colV;
  if (tex) {
    colU.resize(columns);
    colV.resize(columns);
    for (size_t k = 0; k < columns; ++k) {
      const double fx = static_cast<double>(minX + static_cast<int64_t>(k));
      colU[k] = g.u.a0 + g.u.dx * (fx - g.u.ox);
      colV[k] = g.v.a0 + g.v.dx * (fx - g.v.ox);
    }
  }
  const SpanJob job{&s, table, tex, &g, colU.data(), colV.data(), minX};

  for (int64_t py = minY; py <= maxY; ++py) {
    // The pixels where every edge function is positive (or zero on a top or
    // left edge); each edge function falls by dy * 256 a pixel to the right.
    int64_t lo = 0, hi = maxX - minX;
    for (const Edge& e : edges) {
      const int64_t e0 = e.At(minX, py), least = e.topLeft ? 0 : 1, step = -e.dy * 256;
      if (step == 0) {
        if (e0 < least) hi = -1;
      } else if (step > 0) {
        lo = std::max(lo, CeilDiv(least - e0, step));
      } else {
        hi = std::min(hi, FloorDiv(e0 - least, -step));
      }
    }
    if (lo > hi) continue;
    span(job, t.Row(static_cast<int>(py)), py, minX + lo, minX + hi);
  }
}

// Four strip vertices left-top, left-bottom, right-top, right-bottom of an
// upright rectangle, with u changing only across and v only down it.
bool IsUprightQuad(const Vtx* v) {
  return v[0].x == v[1].x && v[2].x == v[3].x && v[0].y == v[2].y && v[1].y == v[3].y && v[0].x < v[2].x &&
         v[0].y < v[1].y && v[0].u == v[1].u && v[2].u == v[3].u && v[0].v == v[2].v && v[1].v == v[3].v &&
         v[0].diffuse == v[1].diffuse && v[0].diffuse == v[2].diffuse && v[0].diffuse == v[3].diffuse;
}

// One row of an unscaled quad whose texels show as they are: w texels
// from `src` onto `dst`. Replaced, a row is a copy (converted where the
// formats differ); opaque, the same at alpha 255; blended, a texel of
// alpha 0 leaves the target, 255 replaces it, anything else blends. Rows
// of only 0 and 255 run as a select the compiler can vectorise.
template <D3DFormat kTarget, D3DFormat kTexture>
[[gnu::always_inline]] inline void CopyRow(uint8_t* dst, const uint8_t* src, int w, Put put) {
  constexpr bool k32 = kTexture == D3DFormat::A8R8G8B8 &&
                       (kTarget == D3DFormat::A8R8G8B8 || kTarget == D3DFormat::X8R8G8B8);
  constexpr bool k16 = kTexture == D3DFormat::A1R5G5B5 &&
                       (kTarget == D3DFormat::A1R5G5B5 || kTarget == D3DFormat::R5G6B5);
  if constexpr (k32) {
    constexpr uint32_t fill = kTarget == D3DFormat::X8R8G8B8 ? 0xFF000000u : 0u;
    uint32_t* d = reinterpret_cast<uint32_t*>(dst);
    const uint32_t* sp = reinterpret_cast<const uint32_t*>(src);
    if (put == Put::Opaque) {
      for (int i = 0; i < w; ++i) d[i] = sp[i] | 0xFF000000u;
      return;
    }
    if (put == Put::Replace) {
      if constexpr (fill == 0) {
        std::memcpy(dst, src, static_cast<size_t>(w) * 4);
      } else {
        for (int i = 0; i < w; ++i) d[i] = sp[i] | fill;
      }
      return;
    }
    // An alpha of 1..254 plus one stays at 2..255: bits above 24 of the sum.
    uint32_t partial = 0;
    for (int i = 0; i < w; ++i) partial |= (sp[i] + 0x01000000u) >> 25;
    if (!partial) {
      for (int i = 0; i < w; ++i) d[i] = (sp[i] >> 24) != 0 ? (sp[i] | fill) : d[i];
      return;
    }
    for (int i = 0; i < w; ++i) {
      const uint32_t p = sp[i], a = p >> 24;
      if (a == 0) continue;
      d[i] = a == 255 ? p | fill : Blend(p, d[i] | fill) | fill;
    }
  } else if constexpr (k16) {
    uint16_t* d = reinterpret_cast<uint16_t*>(dst);
    const uint16_t* sp = reinterpret_cast<const uint16_t*>(src);
    auto convert = [](uint16_t p) -> uint16_t {
      if constexpr (kTarget == D3DFormat::R5G6B5) {
        return A1ToR565(p);
      } else {
        return p;
      }
    };
    if (put == Put::Opaque) {
      constexpr uint16_t opaque = kTarget == D3DFormat::A1R5G5B5 ? 0x8000u : 0u;
      for (int i = 0; i < w; ++i) d[i] = static_cast<uint16_t>(convert(sp[i]) | opaque);
      return;
    }
    if (put == Put::Replace) {
      if constexpr (kTarget == D3DFormat::A1R5G5B5) {
        std::memcpy(dst, src, static_cast<size_t>(w) * 2);
      } else {
        for (int i = 0; i < w; ++i) d[i] = convert(sp[i]);
      }
      return;
    }
    for (int i = 0; i < w; ++i) d[i] = (sp[i] & 0x8000u) ? convert(sp[i]) : d[i];
  } else {
    if (put == Put::Opaque) {
      for (int i = 0; i < w; ++i) WritePixel(kTarget, dst, i, ReadPixel(kTexture, src, i) | 0xFF000000u);
      return;
    }
    for (int i = 0; i < w; ++i) {
      const uint32_t texel = ReadPixel(kTexture, src, i);
      if (put == Put::Blend) {
        const uint32_t a = texel >> 24;
        if (a == 0) continue;
        WritePixel(kTarget, dst, i, a == 255 ? texel : Blend(texel, ReadPixel(kTarget, dst, i)));
      } else {
        WritePixel(kTarget, dst, i, texel);
      }
    }
  }
}

#if defined(__SSE2__)
// 128 bits of 16 or 32-bit lanes.
struct Vec128 {
  static constexpr int kBytes = 16;
  __m128i v;
  static Vec128 Load(const void* p) { return {_mm_loadu_si128(static_cast<const __m128i*>(p))}; }
  static void Store(void* p, Vec128 a) { _mm_storeu_si128(static_cast<__m128i*>(p), a.v); }
  static Vec128 Set16(uint16_t c) { return {_mm_set1_epi16(static_cast<int16_t>(c))}; }
  static Vec128 Set32(uint32_t c) { return {_mm_set1_epi32(static_cast<int32_t>(c))}; }
  static Vec128 And(Vec128 a, Vec128 b) { return {_mm_and_si128(a.v, b.v)}; }
  static Vec128 AndNot(Vec128 a, Vec128 b) { return {_mm_andnot_si128(a.v, b.v)}; }
  static Vec128 Or(Vec128 a, Vec128 b) { return {_mm_or_si128(a.v, b.v)}; }
  static Vec128 Add32(Vec128 a, Vec128 b) { return {_mm_add_epi32(a.v, b.v)}; }
  template <int kBits>
  static Vec128 Shl16(Vec128 a) { return {_mm_slli_epi16(a.v, kBits)}; }
  template <int kBits>
  static Vec128 Shr16(Vec128 a) { return {_mm_srli_epi16(a.v, kBits)}; }
  template <int kBits>
  static Vec128 Shr32(Vec128 a) { return {_mm_srli_epi32(a.v, kBits)}; }
  static Vec128 Sign16(Vec128 a) { return {_mm_srai_epi16(a.v, 15)}; }
  static Vec128 Zero32(Vec128 a) { return {_mm_cmpeq_epi32(a.v, _mm_setzero_si128())}; }
  static bool None(Vec128 a) { return _mm_movemask_epi8(_mm_cmpeq_epi8(a.v, _mm_setzero_si128())) == 0xFFFF; }
};

#if defined(D3D_WIDE_VECTORS)
// 256 bits, for processors with the wider vectors.
struct Vec256 {
  static constexpr int kBytes = 32;
  __m256i v;
  [[gnu::target("avx2")]] static Vec256 Load(const void* p) {
    return {_mm256_loadu_si256(static_cast<const __m256i*>(p))};
  }
  [[gnu::target("avx2")]] static void Store(void* p, Vec256 a) { _mm256_storeu_si256(static_cast<__m256i*>(p), a.v); }
  [[gnu::target("avx2")]] static Vec256 Set16(uint16_t c) { return {_mm256_set1_epi16(static_cast<int16_t>(c))}; }
  [[gnu::target("avx2")]] static Vec256 Set32(uint32_t c) { return {_mm256_set1_epi32(static_cast<int32_t>(c))}; }
  [[gnu::target("avx2")]] static Vec256 And(Vec256 a, Vec256 b) { return {_mm256_and_si256(a.v, b.v)}; }
  [[gnu::target("avx2")]] static Vec256 AndNot(Vec256 a, Vec256 b) { return {_mm256_andnot_si256(a.v, b.v)}; }
  [[gnu::target("avx2")]] static Vec256 Or(Vec256 a, Vec256 b) { return {_mm256_or_si256(a.v, b.v)}; }
  [[gnu::target("avx2")]] static Vec256 Add32(Vec256 a, Vec256 b) { return {_mm256_add_epi32(a.v, b.v)}; }
  template <int kBits>
  [[gnu::target("avx2")]] static Vec256 Shl16(Vec256 a) {
    return {_mm256_slli_epi16(a.v, kBits)};
  }
  template <int kBits>
  [[gnu::target("avx2")]] static Vec256 Shr16(Vec256 a) {
    return {_mm256_srli_epi16(a.v, kBits)};
  }
  template <int kBits>
  [[gnu::target("avx2")]] static Vec256 Shr32(Vec256 a) {
    return {_mm256_srli_epi32(a.v, kBits)};
  }
  [[gnu::target("avx2")]] static Vec256 Sign16(Vec256 a) { return {_mm256_srai_epi16(a.v, 15)}; }
  [[gnu::target("avx2")]] static Vec256 Zero32(Vec256 a) {
    return {_mm256_cmpeq_epi32(a.v, _mm256_setzero_si256())};
  }
  [[gnu::target("avx2")]] static bool None(Vec256 a) { return _mm256_testz_si256(a.v, a.v) != 0; }
};
#endif

// A vector of texels put down as CopyRow puts them, on every lane; false
// (and nothing put down) where a lane is to be blended, which the plain
// loop does. Each lane depends on its own texel and target pixel alone,
// and putting a texel down twice leaves what putting it once did, so a row
// may end with its last full vector over lanes already put down.
template <D3DFormat kTarget, D3DFormat kTexture, Put kPut, class V>
[[gnu::always_inline]] inline bool PutVector(uint8_t* dst, const uint8_t* src) {
  const V s = V::Load(src);
  if constexpr (kTexture == D3DFormat::A1R5G5B5) {
    V c = s;
    if constexpr (kTarget == D3DFormat::R5G6B5)
      c = V::Or(V::Or(V::And(V::template Shl16<1>(s), V::Set16(0xFFC0)),
                      V::And(V::template Shr16<4>(s), V::Set16(0x20))),
                V::And(s, V::Set16(0x1F)));
    if constexpr (kPut == Put::Opaque) {
      V::Store(dst, kTarget == D3DFormat::A1R5G5B5 ? V::Or(c, V::Set16(0x8000)) : c);
    } else if constexpr (kPut == Put::Replace) {
      V::Store(dst, c);
    } else {
      const V m = V::Sign16(s);
      V::Store(dst, V::Or(V::And(c, m), V::AndNot(m, V::Load(dst))));
    }
  } else {
    constexpr uint32_t fill = kTarget == D3DFormat::X8R8G8B8 ? 0xFF000000u : 0u;
    if constexpr (kPut == Put::Opaque) {
      V::Store(dst, V::Or(s, V::Set32(0xFF000000u)));
    } else if constexpr (kPut == Put::Replace) {
      V::Store(dst, V::Or(s, V::Set32(fill)));
    } else {
      // An alpha of 1..254 plus one stays at 2..255: bits above 24 of the sum.
      if (!V::None(V::template Shr32<25>(V::Add32(s, V::Set32(0x01000000u))))) return false;
      const V m = V::Zero32(V::template Shr32<24>(s));
      V::Store(dst, V::Or(V::And(m, V::Load(dst)), V::AndNot(m, V::Or(s, V::Set32(fill)))));
    }
  }
  return true;
}

// One row of `w` texels, w at least one vector.
template <D3DFormat kTarget, D3DFormat kTexture, Put kPut, class V>
[[gnu::always_inline]] inline void PutRow(uint8_t* dst, const uint8_t* src, int w) {
  constexpr int kSize = kTexture == D3DFormat::A1R5G5B5 ? 2 : 4;
  constexpr int kLanes = V::kBytes / kSize;
  int i = 0;
  for (; i + kLanes <= w; i += kLanes)
    if (!PutVector<kTarget, kTexture, kPut, V>(dst + kSize * i, src + kSize * i)) break;
  if (i + kLanes <= w || (i < w && !PutVector<kTarget, kTexture, kPut, V>(dst + kSize * (w - kLanes),
                                                                         src + kSize * (w - kLanes))))
    CopyRow<kTarget, kTexture>(dst + kSize * i, src + kSize * i, w - i, kPut);
}

// Where the texels of the rows come from: a row of its own for each, or
// rows one below the other.
struct SourceRows {
  const uint8_t* const* rows;  // none: from `first` on, `pitch` apart
  const uint8_t* first;
  size_t pitch;
  const uint8_t* operator[](int r) const { return rows ? rows[r] : first + static_cast<size_t>(r) * pitch; }
};

// Rows of `w` texels (at least 16 bytes of them).
template <D3DFormat kTarget, D3DFormat kTexture, Put kPut>
void PutRows(uint8_t* dst, size_t dstPitch, SourceRows src, int rows, int w) {
  for (int r = 0; r < rows; ++r, dst += dstPitch) PutRow<kTarget, kTexture, kPut, Vec128>(dst, src[r], w);
}

#if defined(D3D_WIDE_VECTORS)
// The same rows 32 bytes at a time, a row shorter than that 16 at a time.
template <D3DFormat kTarget, D3DFormat kTexture, Put kPut>
[[gnu::target("avx2")]] void PutRowsWide(uint8_t* dst, size_t dstPitch, SourceRows src, int rows, int w) {
  constexpr int kSize = kTexture == D3DFormat::A1R5G5B5 ? 2 : 4;
  for (int r = 0; r < rows; ++r, dst += dstPitch) {
    if (w * kSize >= Vec256::kBytes) {
      PutRow<kTarget, kTexture, kPut, Vec256>(dst, src[r], w);
    } else {
      PutRow<kTarget, kTexture, kPut, Vec128>(dst, src[r], w);
    }
  }
}
#endif
#endif

// The rows y0..y1 of the target from x0 on, each from texture row
// texRows[y - y0] (none: rows r0, r0 + 1, ...) starting at column c0.
template <D3DFormat kTarget, D3DFormat kTexture, bool kWide>
[[gnu::always_inline]] inline void CopyRowsBody(D3DPixels& t, const D3DPixels& tex, const int* texRows, int r0,
                                                int64_t y0, int64_t y1, int64_t x0, int c0, int w, Put put) {
  const size_t at = static_cast<size_t>(x0) * static_cast<size_t>(t.bytesPerPixel);
  const size_t skip = static_cast<size_t>(c0) * static_cast<size_t>(tex.bytesPerPixel);
  auto source = [&](int64_t i) { return tex.Row(texRows ? texRows[i] : r0 + static_cast<int>(i)) + skip; };
#if defined(__SSE2__)
  constexpr bool k32 = kTexture == D3DFormat::A8R8G8B8 &&
                       (kTarget == D3DFormat::A8R8G8B8 || kTarget == D3DFormat::X8R8G8B8);
  constexpr bool k16 = kTexture == D3DFormat::A1R5G5B5 &&
                       (kTarget == D3DFormat::A1R5G5B5 || kTarget == D3DFormat::R5G6B5);
  constexpr bool kMemcpy = kTarget == D3DFormat::A8R8G8B8 || kTarget == D3DFormat::A1R5G5B5;
  // A plain copy stays a memcpy; a texture drawn onto itself keeps the
  // order of the plain loops.
  if constexpr (k32 || k16) {
    if (w * t.bytesPerPixel >= Vec128::kBytes && &tex != &t && !(kMemcpy && put == Put::Replace)) {
      constexpr int kChunk = 64;
      const uint8_t* rows[kChunk];
      for (int64_t py = y0; py < y1; py += kChunk) {
        const int n = static_cast<int>(std::min<int64_t>(kChunk, y1 - py));
        SourceRows src{nullptr, source(py - y0), static_cast<size_t>(tex.pitch)};
        if (texRows) {
          for (int i = 0; i < n; ++i) rows[i] = source(py - y0 + i);
          src.rows = rows;
        }
        uint8_t* dst = t.Row(static_cast<int>(py)) + at;
        const size_t pitch = static_cast<size_t>(t.pitch);
        auto run = [&](auto kPut) {
#if defined(D3D_WIDE_VECTORS)
          if constexpr (kWide) {
            PutRowsWide<kTarget, kTexture, decltype(kPut)::value>(dst, pitch, src, n, w);
            return;
          }
#endif
          PutRows<kTarget, kTexture, decltype(kPut)::value>(dst, pitch, src, n, w);
        };
        if (put == Put::Blend) {
          run(std::integral_constant<Put, Put::Blend>{});
        } else if (put == Put::Opaque) {
          run(std::integral_constant<Put, Put::Opaque>{});
        } else {
          run(std::integral_constant<Put, Put::Replace>{});
        }
      }
      return;
    }
  }
#endif
  for (int64_t py = y0; py < y1; ++py)
    CopyRow<kTarget, kTexture>(t.Row(static_cast<int>(py)) + at, source(py - y0), w, put);
}

template <D3DFormat kTarget, D3DFormat kTexture>
void CopyRows(D3DPixels& t, const D3DPixels& tex, const int* texRows, int r0, int64_t y0, int64_t y1, int64_t x0,
              int c0, int w, Put put) {
  CopyRowsBody<kTarget, kTexture, false>(t, tex, texRows, r0, y0, y1, x0, c0, w, put);
}

using CopyRowsFn = void (*)(D3DPixels&, const D3DPixels&, const int*, int, int64_t, int64_t, int64_t, int, int, Put);

#if defined(D3D_WIDE_VECTORS)
// The same rows built for the wider vectors of processors that have them,
// picked at run time: the same operations on every lane, so the same pixels.
template <D3DFormat kTarget, D3DFormat kTexture>
__attribute__((target("avx2"))) void CopyRowsWide(D3DPixels& t, const D3DPixels& tex, const int* texRows, int r0,
                                                  int64_t y0, int64_t y1, int64_t x0, int c0, int w, Put put) {
  CopyRowsBody<kTarget, kTexture, true>(t, tex, texRows, r0, y0, y1, x0, c0, w, put);
}

template <D3DFormat kTarget, D3DFormat kTexture>
CopyRowsFn PickCopyRows() {
  return HasWideVectors() ? CopyRowsWide<kTarget, kTexture> : CopyRows<kTarget, kTexture>;
}
#else
template <D3DFormat kTarget, D3DFormat kTexture>
CopyRowsFn PickCopyRows() {
  return CopyRows<kTarget, kTexture>;
}
#endif

template <D3DFormat kTarget>
CopyRowsFn CopyRowsFor(D3DFormat texture) {
  switch (texture) {
    case D3DFormat::A8R8G8B8: return PickCopyRows<kTarget, D3DFormat::A8R8G8B8>();
    case D3DFormat::X8R8G8B8: return PickCopyRows<kTarget, D3DFormat::X8R8G8B8>();
    case D3DFormat::R5G6B5: return PickCopyRows<kTarget, D3DFormat::R5G6B5>();
    case D3DFormat::A1R5G5B5: return PickCopyRows<kTarget, D3DFormat::A1R5G5B5>();
    default: return nullptr;
  }
}

CopyRowsFn CopyRowsFor(D3DFormat target, D3DFormat texture) {
  switch (target) {
    case D3DFormat::A8R8G8B8: return CopyRowsFor<D3DFormat::A8R8G8B8>(texture);
    case D3DFormat::X8R8G8B8: return CopyRowsFor<D3DFormat::X8R8G8B8>(texture);
    case D3DFormat::R5G6B5: return CopyRowsFor<D3DFormat::R5G6B5>(texture);
    case D3DFormat::A1R5G5B5: return CopyRowsFor<D3DFormat::A1R5G5B5>(texture);
    default: return nullptr;
  }
}

// The textured rows of a scaled upright quad, for one target and one
// texture format: each row's texels are gathered by column, shaded through
// the table of the quad's one diffuse colour unless they show as they are,
// and put down as an unscaled row would be.
template <D3DFormat kTarget, D3DFormat kTexture>
void TexturedRows(D3DPixels& t, const D3DPixels& tex, const Gradients& g, const int* columns, int64_t x0, int w,
                  int64_t y0, int64_t y1, const D3DPixelState& s, uint32_t diffuse) {
  constexpr bool k16 = kTexture == D3DFormat::R5G6B5 || kTexture == D3DFormat::A1R5G5B5;
  using Texel = std::conditional_t<k16, uint16_t, uint32_t>;
  thread_local std::vector<uint32_t> buffer;
  buffer.resize(static_cast<size_t>(w));
  uint32_t* line = buffer.data();
  const size_t at = static_cast<size_t>(x0) * static_cast<size_t>(t.bytesPerPixel);
  const bool pass = PassesTexel(s, diffuse) || PassesTexelOpaque(s, diffuse);
  const Put put = PutFor(s, diffuse);
  const ShadeTable* table = pass ? nullptr : &ShadeTable::For(s, diffuse);
  for (int64_t py = y0; py < y1; ++py) {
    uint8_t* row = t.Row(static_cast<int>(py)) + at;
    const int ty = TexelIndex(g.v.At(static_cast<double>(x0), static_cast<double>(py)), tex.height);
    const Texel* texRow = reinterpret_cast<const Texel*>(tex.Row(ty));
    if (pass) {
      Texel* gathered = reinterpret_cast<Texel*>(line);
      for (int i = 0; i < w; ++i) gathered[i] = texRow[columns[i]];
      CopyRow<kTarget, kTexture>(row, reinterpret_cast<const uint8_t*>(gathered), w, put);
    } else {
      const uint8_t* texBytes = reinterpret_cast<const uint8_t*>(texRow);
      for (int i = 0; i < w; ++i) line[i] = (*table)(ReadPixel(kTexture, texBytes, columns[i]));
      CopyRow<kTarget, D3DFormat::A8R8G8B8>(row, reinterpret_cast<const uint8_t*>(line), w,
                                            s.blend ? Put::Blend : Put::Replace);
    }
  }
}

// One colour over the rows of an upright quad: a fill of the target's
// pixel where it replaces what is there.
template <D3DFormat kTarget>
void ColourRows(D3DPixels& t, int64_t x0, int w, int64_t y0, int64_t y1, uint32_t shaded, bool blend) {
  const uint32_t a = shaded >> 24;
  if (blend && a == 0) return;
  const size_t at = static_cast<size_t>(x0) * static_cast<size_t>(t.bytesPerPixel);
  if (!blend || a == 255) {
    uint8_t pixel[4];
    WritePixel(kTarget, pixel, 0, shaded);
    for (int64_t py = y0; py < y1; ++py) {
      uint8_t* row = t.Row(static_cast<int>(py)) + at;
      if constexpr (kTarget == D3DFormat::R5G6B5 || kTarget == D3DFormat::A1R5G5B5) {
        uint16_t p;
        std::memcpy(&p, pixel, 2);
        std::fill_n(reinterpret_cast<uint16_t*>(row), w, p);
      } else {
        uint32_t p;
        std::memcpy(&p, pixel, 4);
        std::fill_n(reinterpret_cast<uint32_t*>(row), w, p);
      }
    }
    return;
  }
  // Each channel of the blend depends on the same channel of the target
  // alone: four tables of 256 hold it.
  uint32_t table[4][256];
  for (uint32_t v = 0; v < 256; ++v) {
    const uint32_t out = Blend(shaded, v * 0x01010101u);
    for (int k = 0; k < 4; ++k) table[k][v] = out & (0xFFu << (8 * k));
  }
  auto over = [&table](uint32_t d) {
    return table[0][d & 0xFF] | table[1][d >> 8 & 0xFF] | table[2][d >> 16 & 0xFF] | table[3][d >> 24];
  };
  for (int64_t py = y0; py < y1; ++py) {
    uint8_t* row = t.Row(static_cast<int>(py)) + at;
    if constexpr (kTarget == D3DFormat::A8R8G8B8 || kTarget == D3DFormat::X8R8G8B8) {
      constexpr uint32_t fill = kTarget == D3DFormat::X8R8G8B8 ? 0xFF000000u : 0u;
      uint32_t* d = reinterpret_cast<uint32_t*>(row);
      for (int i = 0; i < w; ++i) d[i] = over(d[i] | fill) | fill;
    } else {
      for (int i = 0; i < w; ++i) WritePixel(kTarget, row, i, over(ReadPixel(kTarget, row, i)));
    }
  }
}

using ColourRowsFn = void (*)(D3DPixels&, int64_t, int, int64_t, int64_t, uint32_t, bool);

ColourRowsFn ColourRowsFor(D3DFormat target) {
  switch (target) {
    case D3DFormat::A8R8G8B8: return ColourRows<D3DFormat::A8R8G8B8>;
    case D3DFormat::X8R8G8B8: return ColourRows<D3DFormat::X8R8G8B8>;
    case D3DFormat::R5G6B5: return ColourRows<D3DFormat::R5G6B5>;
    case D3DFormat::A1R5G5B5: return ColourRows<D3DFormat::A1R5G5B5>;
    default: return nullptr;
  }
}

using RowsFn = void (*)(D3DPixels&, const D3DPixels&, const Gradients&, const int*, int64_t, int, int64_t, int64_t,
                        const D3DPixelState&, uint32_t);

template <D3DFormat kTarget>
RowsFn RowsFor(D3DFormat texture) {
  switch (texture) {
    case D3DFormat::A8R8G8B8: return TexturedRows<kTarget, D3DFormat::A8R8G8B8>;
    case D3DFormat::X8R8G8B8: return TexturedRows<kTarget, D3DFormat::X8R8G8B8>;
    case D3DFormat::R5G6B5: return TexturedRows<kTarget, D3DFormat::R5G6B5>;
    case D3DFormat::A1R5G5B5: return TexturedRows<kTarget, D3DFormat::A1R5G5B5>;
    default: return nullptr;
  }
}

RowsFn RowsFor(D3DFormat target, D3DFormat texture) {
  switch (target) {
    case D3DFormat::A8R8G8B8: return RowsFor<D3DFormat::A8R8G8B8>(texture);
    case D3DFormat::X8R8G8B8: return RowsFor<D3DFormat::X8R8G8B8>(texture);
    case D3DFormat::R5G6B5: return RowsFor<D3DFormat::R5G6B5>(texture);
    case D3DFormat::A1R5G5B5: return RowsFor<D3DFormat::A1R5G5B5>(texture);
    default: return nullptr;
  }
}

// TexelIndex(pl.At(x + i, y), size) (along x) or TexelIndex(pl.At(x, y + i),
// size) for i below n, summed in the planes' order. When all fall inside
// the texture, as a sprite's do, the loop has no branch and vectorises.
void TexelIndices(const Plane& pl, bool alongX, double x, double y, int n, int size, int* out) {
  const double dsize = size;
  // Tests and selects without a branch; two at a time in vector lanes,
  // each lane doing the very operations of the scalar loop.
  int outside = 0;
  int i = 0;
#if defined(__SSE2__)
  {
    int lanesIn = 3;
#if defined(D3D_WIDE_VECTORS)
    if (HasWideVectors()) TexelIndicesFour(pl, alongX, x, y, n, dsize, out, i, lanesIn);
#endif
    const __m128d vsize = _mm_set1_pd(dsize), zero = _mm_setzero_pd(), two = _mm_set1_pd(2.0);
    __m128d vi = _mm_set_pd(i + 1.0, i + 0.0);
    if (alongX) {
      const __m128d vx = _mm_set1_pd(x), vox = _mm_set1_pd(pl.ox), vdx = _mm_set1_pd(pl.dx), va0 = _mm_set1_pd(pl.a0);
      const __m128d vrow = _mm_set1_pd(pl.dy * (y - pl.oy));
      for (; i + 2 <= n; i += 2, vi = _mm_add_pd(vi, two)) {
        const __m128d t = _mm_add_pd(_mm_add_pd(va0, _mm_mul_pd(vdx, _mm_sub_pd(_mm_add_pd(vx, vi), vox))), vrow);
        const __m128d f = _mm_mul_pd(t, vsize);
        const __m128d in = _mm_and_pd(_mm_cmpge_pd(f, zero), _mm_cmplt_pd(f, vsize));
        lanesIn &= _mm_movemask_pd(in);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i), _mm_cvttpd_epi32(_mm_and_pd(in, f)));
      }
    } else {
      const __m128d vy = _mm_set1_pd(y), voy = _mm_set1_pd(pl.oy), vdy = _mm_set1_pd(pl.dy);
      const __m128d vcol = _mm_set1_pd(pl.a0 + pl.dx * (x - pl.ox));
      for (; i + 2 <= n; i += 2, vi = _mm_add_pd(vi, two)) {
        const __m128d t = _mm_add_pd(vcol, _mm_mul_pd(vdy, _mm_sub_pd(_mm_add_pd(vy, vi), voy)));
        const __m128d f = _mm_mul_pd(t, vsize);
        const __m128d in = _mm_and_pd(_mm_cmpge_pd(f, zero), _mm_cmplt_pd(f, vsize));
        lanesIn &= _mm_movemask_pd(in);
        _mm_storel_epi64(reinterpret_cast<__m128i*>(out + i), _mm_cvttpd_epi32(_mm_and_pd(in, f)));
      }
    }
    outside = lanesIn != 3;
  }
#endif
  if (alongX) {
    const double rowTerm = pl.dy * (y - pl.oy);
    for (; i < n; ++i) {
      const double f = (pl.a0 + pl.dx * ((x + i) - pl.ox) + rowTerm) * dsize;
      const bool in = (f >= 0.0) & (f < dsize);
      outside |= !in;
      out[i] = static_cast<int>(in ? f : 0.0);
    }
  } else {
    const double colTerm = pl.a0 + pl.dx * (x - pl.ox);
    for (; i < n; ++i) {
      const double f = (colTerm + pl.dy * ((y + i) - pl.oy)) * dsize;
      const bool in = (f >= 0.0) & (f < dsize);
      outside |= !in;
      out[i] = static_cast<int>(in ? f : 0.0);
    }
  }
  if (!outside) return;
  for (i = 0; i < n; ++i)
    out[i] = alongX ? TexelIndex(pl.At(x + i, y), size) : TexelIndex(pl.At(x, y + i), size);
}

// Whether TexelIndices(pl, alongX, x, y, n, size, out) would give
// first + i for every i, as an unscaled sprite's do, found without computing
// them. Each index's sum, done in doubles, stays within `error` of its exact
// value (many times the rounding of its few operations); the exact values
// step by slope * size from the first, so when each keeps more than that
// from the ends of its texel, the rounded ones truncate to the same.
bool UnitSteps(const Plane& pl, bool alongX, double x, double y, int n, int size, int& first) {
  const double dsize = size;
  double f0, slope, mag;
  if (alongX) {
    const double rowTerm = pl.dy * (y - pl.oy);
    f0 = (pl.a0 + pl.dx * (x - pl.ox) + rowTerm) * dsize;
    slope = pl.dx;
    mag = std::fabs(pl.a0) + std::fabs(pl.dx) * (std::fabs(x - pl.ox) + n) + std::fabs(rowTerm);
  } else {
    const double colTerm = pl.a0 + pl.dx * (x - pl.ox);
    f0 = (colTerm + pl.dy * (y - pl.oy)) * dsize;
    slope = pl.dy;
    mag = std::fabs(colTerm) + std::fabs(pl.dy) * (std::fabs(y - pl.oy) + n);
  }
  // Not finite fails here as well.
  if (!(f0 >= 0.0 && f0 < dsize && mag < 1.0e15)) return false;
  const int c0 = static_cast<int>(f0);
  if (int64_t{c0} + n > size) return false;
  const double error = 0x1p-40 * (1.0 + n + dsize * mag);
  const double frac = f0 - c0;  // exact
  const double drift = (n - 1) * std::fabs(slope * dsize - 1.0);
  if (!(frac - drift > 4 * error && frac + drift < 1.0 - 4 * error)) return false;
  first = c0;
  return true;
}

// The two triangles of such a quad cover the pixel centres from the left
// and top edges up to (not including) the right and bottom ones, and their
// planes (taken at the left-bottom vertex) agree: u depends on x only and v
// on y only, so both are computed once per column and row.
void DrawUprightQuad(const Painter& paint, const Vtx* v, D3DDrawCounts& stats) {
  // Left-top, left-bottom, right-top runs counter-clockwise.
  if (Culled(paint.State().cullMode, -1, false)) return;
  D3DPixels& t = paint.Target();
  const int64_t x0 = std::max<int64_t>(CeilPixel(v[0].x), 0);
  const int64_t x1 = std::min<int64_t>(CeilPixel(v[2].x), t.width);
  const int64_t y0 = std::max<int64_t>(CeilPixel(v[0].y), 0);
  const int64_t y1 = std::min<int64_t>(CeilPixel(v[1].y), t.height);
  if (x0 >= x1 || y0 >= y1) return;
  ++stats.fastQuads;
  const Gradients g = Setup(v[1], v[0], v[2]);
  const uint32_t diffuse = v[0].diffuse;
  const D3DPixelState& s = paint.State();
  const D3DPixels* tex = paint.Texture();
  const int w = static_cast<int>(x1 - x0);

  if (!tex) {
    if (const ColourRowsFn fill = ColourRowsFor(t.format)) fill(t, x0, w, y0, y1, Shade(s, kNoTexel, diffuse), s.blend);
    return;
  }
  thread_local std::vector<int> columns, texRows;
  const bool passes = PassesTexel(s, diffuse) || PassesTexelOpaque(s, diffuse);
  const int h = static_cast<int>(y1 - y0);
  int c0 = 0, r0 = 0;
  if (passes && UnitSteps(g.u, true, static_cast<double>(x0), static_cast<double>(y0), w, tex->width, c0) &&
      UnitSteps(g.v, false, static_cast<double>(x0), static_cast<double>(y0), h, tex->height, r0)) {
    // Texel for pixel: the source rectangle's rows as they are.
    const CopyRowsFn copy = CopyRowsFor(t.format, tex->format);
    if (!copy) return;
    ++stats.copiedQuads;
    copy(t, *tex, nullptr, r0, y0, y1, x0, c0, w, PutFor(s, diffuse));
    return;
  }
  columns.resize(static_cast<size_t>(w));
  TexelIndices(g.u, true, static_cast<double>(x0), static_cast<double>(y0), w, tex->width, columns.data());
  // Texel for pixel with no wrap inside the row: whole rows are copied.
  bool unscaled = columns[0] + w <= tex->width;
  int steps = 0;
  for (int i = 0; i < w; ++i) steps += columns[static_cast<size_t>(i)] == columns[0] + i ? 1 : 0;
  unscaled = unscaled && steps == w;
  if (unscaled && passes) {
    const CopyRowsFn copy = CopyRowsFor(t.format, tex->format);
    if (!copy) return;
    texRows.resize(static_cast<size_t>(h));
    TexelIndices(g.v, false, static_cast<double>(x0), static_cast<double>(y0), h, tex->height, texRows.data());
    copy(t, *tex, texRows.data(), 0, y0, y1, x0, columns[0], w, PutFor(s, diffuse));
    return;
  }
  if (RowsFn rows = RowsFor(t.format, tex->format)) rows(t, *tex, g, columns.data(), x0, w, y0, y1, s, diffuse);
}

}  // namespace

void RasterizePrimitives(D3DPixels& target, const D3DPixelState& state, uint32_t type, const D3DVertex* vertices,
                         uint32_t primitiveCount, bool fastPath, D3DDrawCounts& stats) {
  if (target.width <= 0 || target.height <= 0) return;
  const Painter paint(target, state);
  const uint32_t count = type == D3DPT_TRIANGLESTRIP ? primitiveCount + 2 : primitiveCount * 3;
  // A sprite's strip needs no heap.
  Vtx few[8];
  std::vector<Vtx> many;
  Vtx* v = few;
  if (count > 8) {
    many.resize(count);
    v = many.data();
  }
  for (uint32_t i = 0; i < count; ++i) v[i] = Snap(vertices[i]);
  auto draw = [&](uint32_t first, int origin, bool odd) {
    const Vtx* tri[3] = {&v[first], &v[first + 1], &v[first + 2]};
    if (tri[0]->ok && tri[1]->ok && tri[2]->ok) DrawTriangle(paint, tri, origin, odd, stats);
  };
  if (type == D3DPT_TRIANGLELIST) {
    for (uint32_t i = 0; i < primitiveCount; ++i) draw(3 * i, 1, false);
    return;
  }
  for (uint32_t i = 0; i < primitiveCount;) {
    // Triangle i of a strip takes its planes at vertex i | 1.
    if (fastPath && i % 2 == 0 && i + 1 < primitiveCount && v[i].ok && v[i + 1].ok && v[i + 2].ok && v[i + 3].ok &&
        IsUprightQuad(&v[i])) {
      DrawUprightQuad(paint, &v[i], stats);
      i += 2;
      continue;
    }
    draw(i, i % 2 == 0 ? 1 : 0, i % 2 == 1);
    ++i;
  }
}

}  // namespace plat::detail
