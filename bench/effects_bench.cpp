// The pixel effects over a 640 x 480 picture on the software display at 8,
// 16 and 32 bits and on the 3D device at 16 and 32 bits, there in software
// (system-memory textures) and as quads (render targets). Each software
// loop runs beside the same effect written plainly: a bounds-checked get
// and put per pixel, the formulas computed per pixel; before timing, both
// run once on the same pixels and their results are compared. Figures are
// pixels per second; the summary gives the milliseconds per call, the share
// of a 60 Hz frame and the ratio to the plain version.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "bench/rate_reporter.h"
#include "base/checked_convert.h"
#include "media/dd_blit.h"
#include "media/dd_fx.h"
#include "media/dd_layer.h"
#include "media/dd_pixels.h"
#include "media/dt_device.h"
#include "platform/d3d_device.h"

namespace {

constexpr int kW = 640, kH = 480;
constexpr double kFrameMs = 1000.0 / 60.0;

// Where the effects run: the back end, the depth, and on the 3D device
// whether the surfaces are render targets (quads) or system-memory textures
// (software).
struct Mode {
  const char* name;
  bool d3d;
  int bpp;
  bool quad;
};
const Mode kModes[] = {{"soft 8", false, 8, false},  {"soft 16", false, 16, false}, {"soft 32", false, 32, false},
                       {"3D 16 sw", true, 16, false}, {"3D 32 sw", true, 32, false}, {"3D 16 quad", true, 16, true},
                       {"3D 32 quad", true, 32, true}};

// The mode the plain versions follow (set with the layer).
bool g_d3d = false;

// --- the picture ---

// On the 3D device transparent pixels have alpha 0 (or bits 0xA000 clear).
uint32_t Pattern(int x, int y, int bpp, uint32_t seed) {
  if ((x * 7 + y * 3 + seed) % 11 < 2) return 0;  // the transparent colour
  uint32_t v = static_cast<uint32_t>(x * 37 + y * 101 + 1) * 2654435761u ^ seed * 40503u;
  v ^= v >> 15;
  if (bpp == 8) return (v % 255) + 1;
  if (bpp == 16) return g_d3d ? (v & 0xFFFF) | 0x8000 : (v & 0xFFFF) | 1;
  return g_d3d ? (v & 0xFFFFFF) | 0xFF000000u : (v & 0xFFFFFF) | 1;
}

// A picture in plain memory with checked access.
struct Image {
  int w = 0, h = 0, bpp = 0;
  std::vector<uint32_t> px;
  bool Get(int64_t x, int64_t y, uint32_t& v) const {
    if (x < 0 || y < 0 || x >= w || y >= h) return false;
    v = px[static_cast<size_t>(y * w + x)];
    return true;
  }
  void Put(int64_t x, int64_t y, uint32_t v) {
    if (x < 0 || y < 0 || x >= w || y >= h) return;
    px[static_cast<size_t>(y * w + x)] = v;
  }
};

Image Read(DDSURFACEDATA* sd) {
  Image img;
  cSurfaceLock lock;
  if (!lock.Lock(sd)) return img;
  img.w = sd->nWidth, img.h = sd->nHeight, img.bpp = lock.m_nBpp;
  for (int y = 0; y < img.h; ++y)
    for (int x = 0; x < img.w; ++x) {
      const uint8_t* row = lock.m_pBits + static_cast<size_t>(y) * lock.m_nPitch;
      img.px.push_back(img.bpp == 8    ? row[x]
                       : img.bpp == 16 ? reinterpret_cast<const uint16_t*>(row)[x]
                                       : reinterpret_cast<const uint32_t*>(row)[x]);
    }
  return img;
}

void Write(DDSURFACEDATA* sd, const Image& img) {
  cSurfaceLock lock;
  if (!lock.Lock(sd)) return;
  for (int y = 0; y < img.h; ++y)
    for (int x = 0; x < img.w; ++x) {
      uint8_t* row = lock.m_pBits + static_cast<size_t>(y) * lock.m_nPitch;
      const uint32_t v = img.px[static_cast<size_t>(y * img.w + x)];
      if (img.bpp == 8) row[x] = static_cast<uint8_t>(v);
      if (img.bpp == 16) reinterpret_cast<uint16_t*>(row)[x] = static_cast<uint16_t>(v);
      if (img.bpp == 32) reinterpret_cast<uint32_t*>(row)[x] = v;
    }
}

Image MakeImage(int bpp, uint32_t seed) {
  Image img{kW, kH, bpp, {}};
  for (int y = 0; y < kH; ++y)
    for (int x = 0; x < kW; ++x) img.px.push_back(Pattern(x, y, bpp, seed));
  return img;
}

// --- the plain versions, straight from the formulas ---

int Ch(uint32_t p, int k) { return static_cast<int>((p >> TextureChannels[k]) & static_cast<uint32_t>(TextureChannels[4 + k])); }
int Up(uint32_t p, int k) { return TextureChannels[4 + k] ? Ch(p, k) * 255 / TextureChannels[4 + k] : 0; }
uint32_t Pack16(const int c[3]) {
  uint32_t v = 0;
  for (int k = 0; k < 3; ++k)
    v |= (static_cast<uint32_t>(c[k]) & static_cast<uint32_t>(TextureChannels[4 + k])) << TextureChannels[k];
  return v;
}
bool IsKey(uint32_t p, int bpp) { return bpp == 32 ? (p & 0xFFFFFF) == (TransmitPixel & 0xFFFFFF) : p == TransmitPixel; }
// The 3D device's transparency tests.
bool Clear(uint32_t p, int bpp) { return bpp == 16 ? (p & 0xA000) == 0 : (p >> 24) == 0; }
// What a software effect leaves out with flags 1.
bool Skip(uint32_t p, int bpp) { return g_d3d ? Clear(p, bpp) : IsKey(p, bpp); }
// A computed colour as the target keeps it (channels in their widths, or bytes).
uint32_t Store(const int c[3], uint32_t old, int bpp) {
  if (bpp == 16) return Pack16(c) | (g_d3d ? 0x8000u : 0u);
  const uint32_t rgb = uint32_t(c[0]) << 16 | uint32_t(c[1]) << 8 | uint32_t(c[2]);
  return (g_d3d ? 0xFF000000u : old & 0xFF000000u) | rgb;
}
uint32_t Byte(uint32_t p, int k) { return p >> (16 - 8 * k) & 0xFF; }  // k: 0 red, 1 green, 2 blue
uint32_t Bytes(const uint32_t c[3]) { return c[0] << 16 | c[1] << 8 | c[2]; }

void PlainAlpha(Image& d, const Image& s, int flags) {
  for (int j = 0; j < kH; ++j)
    for (int i = 0; i < kW; ++i) {
      uint32_t sp, dp;
      if (!s.Get(i, j, sp) || !d.Get(i, j, dp)) continue;
      uint32_t out;
      if (d.bpp == 8) {
        if (flags == 1 && sp == 0) continue;
        out = dp == 0 ? sp : BlendTable[dp * 256 + sp];
      } else if (flags == 1 && Skip(sp, d.bpp)) {
        continue;
      } else if (!g_d3d && IsKey(dp, d.bpp)) {
        out = d.bpp == 32 ? (dp & 0xFF000000) | (sp & 0xFFFFFF) : sp;
      } else {
        int c[3];
        for (int k = 0; k < 3; ++k)
          if (d.bpp == 32)
            c[k] = static_cast<int>((Byte(sp, k) + Byte(dp, k)) >> 1);
          else if (g_d3d)
            c[k] = (Ch(sp, k) + Ch(dp, k)) >> 1;
          else
            c[k] = ((Up(sp, k) + Up(dp, k)) >> 1) * TextureChannels[4 + k] / 255;
        out = Store(c, dp, d.bpp);
      }
      d.Put(i, j, out);
    }
}

void PlainTint(Image& d, const Image& s, int flags, const PALETTEENTRY& e, int palNum, int level) {
  const int colour[3] = {e.peRed, e.peGreen, e.peBlue};
  const int weights[5] = {0, 128, 64, 32, 16};
  const float f = (level >= 1 && level <= 4 ? weights[level] : 0) * 0.003921569f;
  for (int j = 0; j < kH; ++j)
    for (int i = 0; i < kW; ++i) {
      uint32_t sp, dp;
      if (!s.Get(i, j, sp) || !d.Get(i, j, dp)) continue;
      if (flags == 1 && Skip(sp, d.bpp)) continue;
      uint32_t out;
      if (d.bpp == 8) {
        out = sp;
        for (int n = 0; n < level; ++n) out = BlendTable[out * 256 + palNum];
      } else {
        int c[3];
        for (int k = 0; k < 3; ++k) {
          const int mask = d.bpp == 32 ? 255 : TextureChannels[4 + k];
          const int own = d.bpp == 32 ? static_cast<int>(Byte(sp, k)) : Ch(sp, k);
          if (g_d3d) {
            const int p = colour[k] * mask / 255;
            c[k] = level == 1 ? (own + p) >> 1 : static_cast<int>(own * f + (1 - f) * p);
          } else {
            int v = own * 255 / mask;
            const int p = colour[k] * 255 / mask;
            for (int n = 0; n < level; ++n) v = (v + p) >> 1;
            c[k] = v * mask / 255;
          }
        }
        out = Store(c, dp, d.bpp);
      }
      d.Put(i, j, out);
    }
}

void PlainRotate(Image& d, const Image& s, int angle) {
  const int px = kW / 2, py = kH / 2;
  const double rad = angle * 0.017453292519943295;
  const int64_t sn = ToIntChecked(std::sin(rad) * 1024), cs = ToIntChecked(std::cos(rad) * 1024);
  const int64_t isn = ToIntChecked(std::sin(-rad) * 1024), ics = ToIntChecked(std::cos(-rad) * 1024);
  int64_t minX = INT64_MAX, maxX = INT64_MIN, minY = INT64_MAX, maxY = INT64_MIN;
  for (int64_t cx : {int64_t{-px}, int64_t{kW - px - 1}})
    for (int64_t cy : {int64_t{-py}, int64_t{kH - py - 1}}) {
      const int64_t X = ((cx * cs - cy * sn) >> 10) + px, Y = ((cx * sn + cy * cs) >> 10) + py;
      minX = std::min(minX, X), maxX = std::max(maxX, X), minY = std::min(minY, Y), maxY = std::max(maxY, Y);
    }
  for (int64_t Y = minY - 2; Y < maxY + 2; ++Y)
    for (int64_t X = minX - 2; X < maxX + 2; ++X) {
      const int64_t dx = X - px, dy = Y - py;
      const int64_t u = ((dx * ics - dy * isn) >> 10) + px, v = ((dx * isn + dy * ics) >> 10) + py;
      uint32_t sp, dp;
      if (u < 0 || u >= kW || v < 0 || v >= kH || !s.Get(u, v, sp) || !d.Get(kW / 2 + dx, kH / 2 + dy, dp)) continue;
      d.Put(kW / 2 + dx, kH / 2 + dy, sp);
    }
}

void PlainCircle(Image& d, const Image& s, int radius) {
  const int cx = kW / 2, cy = kH / 2, hw = kW / 2, hh = kH / 2;
  const int64_t left = std::max(cx - hw, 0), right = std::min(cx + hw, s.w);
  for (int64_t i = radius - 1; i >= -radius; --i) {
    if (i >= hh) continue;
    if (i < -hh) break;
    int64_t half = ToIntChecked(std::sqrt(static_cast<double>(int64_t{radius} * radius - i * i)));
    if (half >= radius) half = radius - 1;
    for (int64_t k = -half; k < half; ++k) {
      uint32_t sp, dp;
      if (cx + k < left || cx + k >= right || !s.Get(cx + k, cy + i, sp) || !d.Get(cx + k, cy + i, dp)) continue;
      d.Put(cx + k, cy + i, sp);
    }
  }
}

void PlainLens(Image& d, const Image& s, int radius, int height) {
  const int cx = kW / 2, cy = kH / 2;
  const int64_t E = ToIntChecked(std::sqrt(static_cast<double>(int64_t{radius} * radius + int64_t{height} * height)));
  const int64_t e = E * E;
  for (int64_t dy = -radius; dy <= radius; ++dy)
    for (int64_t dx = -radius; dx <= radius; ++dx) {
      uint32_t sp, dp;
      if (dx * dx + dy * dy > int64_t{radius} * radius || !d.Get(cx + dx, cy + dy, dp)) continue;
      const double q = std::sqrt(static_cast<double>(e - dx * dx - dy * dy));
      int64_t ox = dx, oy = dy;
      if (q != 0) {
        ox = ToIntChecked(static_cast<double>(dx * height) / q + 0.5);
        oy = ToIntChecked(static_cast<double>(dy * height) / q + 0.5);
      }
      if (!s.Get(cx + ox, cy + oy, sp)) continue;
      // The software display never copies its key; the 3D device at 32 bits
      // never copies alpha 0, at 16 bits only with flags 1 (not given here).
      if (g_d3d ? d.bpp == 32 && Clear(sp, 32) : IsKey(sp, d.bpp)) continue;
      d.Put(cx + dx, cy + dy, sp);
    }
}

void PlainBlur(Image& d, const Image& s, int r, int flags) {
  for (int j = 0; j < kH; ++j)
    for (int i = 0; i < kW; ++i) {
      uint32_t sp;
      if (!s.Get(i, j, sp) || (flags == 1 && Skip(sp, d.bpp))) continue;
      uint32_t sum[3] = {}, n = 0;
      for (int dy = -r; dy < r; ++dy)
        for (int dx = -r; dx < r; ++dx) {
          uint32_t p;
          if (!s.Get(i + dx, j + dy, p) || (flags == 1 && Skip(p, d.bpp))) continue;
          for (int k = 0; k < 3; ++k) sum[k] += d.bpp == 16 ? static_cast<uint32_t>(Ch(p, k)) : Byte(p, k);
          ++n;
        }
      uint32_t dp;
      if (n == 0 || !d.Get(i, j, dp)) continue;
      const int c[3] = {int(sum[0] / n), int(sum[1] / n), int(sum[2] / n)};
      d.Put(i, j, Store(c, dp, d.bpp));
    }
}

void PlainMosaic(Image& d, const Image& s, int block, int flags) {
  for (int by = 0; by < kH; by += block)
    for (int bx = 0; bx < kW; bx += block) {
      uint32_t colour;
      if (d.bpp == 8 || g_d3d) {
        if (!s.Get(bx, by, colour) || (flags == 1 && Skip(colour, d.bpp))) continue;
        if (g_d3d && d.bpp == 32) colour |= 0xFF000000u;
      } else {
        uint32_t sum[3] = {}, n = 0, p;
        for (int j = by; j < std::min(by + block, kH); ++j)
          for (int i = bx; i < std::min(bx + block, kW); ++i) {
            if (!s.Get(i, j, p) || (flags == 1 && IsKey(p, d.bpp))) continue;
            for (int k = 0; k < 3; ++k) sum[k] += d.bpp == 16 ? static_cast<uint32_t>(Up(p, k)) : Byte(p, k);
            ++n;
          }
        if (n == 0) continue;
        if (d.bpp == 16) {
          int c[3];
          for (int k = 0; k < 3; ++k) c[k] = static_cast<int>(sum[k] / n) * TextureChannels[4 + k] / 255;
          colour = Pack16(c);
        } else {
          const uint32_t c[3] = {sum[0] / n, sum[1] / n, sum[2] / n};
          colour = Bytes(c);
        }
        if (flags == 1 && IsKey(colour, d.bpp)) continue;
      }
      for (int j = by; j < std::min(by + block, kH); ++j)
        for (int i = bx; i < std::min(bx + block, kW); ++i) {
          uint32_t dp;
          if (!d.Get(i, j, dp)) continue;
          d.Put(i, j, d.bpp == 32 && !g_d3d ? (dp & 0xFF000000) | colour : colour);
        }
    }
}

void PlainFade(Image& d, const Image& s, int level, const uint32_t colour[3]) {
  const int u = 256 - level;
  for (int j = 0; j < kH; ++j)
    for (int i = 0; i < kW; ++i) {
      uint32_t sp, dp;
      if (!s.Get(i, j, sp) || !d.Get(i, j, dp)) continue;
      if (d.bpp == 16) {
        int c[3];
        for (int k = 0; k < 3; ++k) {
          const int mask = TextureChannels[4 + k];
          c[k] = ((static_cast<int>(colour[k]) * u + level * Up(sp, k)) >> 8) * mask / 255;
        }
        d.Put(i, j, Pack16(c));
      } else {
        uint32_t c[3];
        for (int k = 0; k < 3; ++k) c[k] = (colour[k] * u + level * Byte(sp, k)) >> 8;
        d.Put(i, j, (dp & 0xFF000000) | Bytes(c));
      }
    }
}

// --- the effects, ours and plain, with their arguments ---

PALETTEENTRY g_palette[256];

struct Effect {
  const char* name;
  bool at8;        // defined at 8 bits
  bool software;   // has a software loop on the 3D device
  bool quad;       // draws a quad (or blits) into render targets on the 3D device
  bool onDisplay;  // runs on the software display
  std::function<void(DDSURFACEDATA* d, DDSURFACEDATA* s)> ours;
  std::function<void(Image& d, const Image& s)> plain;  // null: nothing to compare with
};

const uint32_t kFadeColour[3] = {255, 0, 0};

std::vector<Effect> Effects() {
  return {
      {"alpha", true, true, true, true,
       [](auto d, auto s) { DDBltAlpha(d, 0, 0, kW, kH, s, 0, 0, 1, BlendTable, 128); },
       [](Image& d, const Image& s) { PlainAlpha(d, s, 1); }},
      {"tint", true, true, true, true,
       [](auto d, auto s) { DDBltTint(d, 0, 0, kW, kH, s, 0, 0, 1, g_palette, BlendTable, 5, 2); },
       [](Image& d, const Image& s) { PlainTint(d, s, 1, g_palette[5], 5, 2); }},
      {"rotate 30", true, true, true, true,
       [](auto d, auto s) { DDBltRotate(d, kW / 2, kH / 2, kW, kH, kW / 2, kH / 2, 30, s, 0, 0, 0); },
       [](Image& d, const Image& s) { PlainRotate(d, s, 30); }},
      {"colour tone", false, false, true, false,
       [](auto d, auto s) { DDChangeColorFrom(d, 0, 0, kW, kH, s, 128, 255, 0, 0); }, nullptr},
      {"circle", true, false, true, true,
       [](auto d, auto s) { DDBltCircle(d, kW / 2, kH / 2, kW / 2, kH / 2, 400, 1, s, kW / 2, kH / 2, 0); },
       [](Image& d, const Image& s) { PlainCircle(d, s, 400); }},
      {"lens", true, true, false, true,
       [](auto d, auto s) { DDBltLens(d, kW / 2, kH / 2, 400, 300, s, kW / 2, kH / 2, 0, 0); },
       [](Image& d, const Image& s) { PlainLens(d, s, 400, 300); }},
      {"blur r3", false, true, false, true, [](auto d, auto s) { DDBltBlur(d, 0, 0, kW, kH, 3, 3, s, 0, 0, 1); },
       [](Image& d, const Image& s) { PlainBlur(d, s, 3, 1); }},
      {"mosaic 8", true, true, false, true, [](auto d, auto s) { DDBltMosaic(d, 0, 0, kW, kH, 8, s, 0, 0, 1); },
       [](Image& d, const Image& s) { PlainMosaic(d, s, 8, 1); }},
      // The software display's fade mixes whole surfaces; the 3D device's is a quad over the back buffer.
      {"fade", false, false, true, true,
       [](auto d, auto s) {
         if (lpDTCon)
           DTFadeQuad(100);
         else
           DDFade_UnPal(d, 100, 255, 0, 0, s);
       },
       [](Image& d, const Image& s) { PlainFade(d, s, 100, kFadeColour); }},
  };
}

bool Runs(const Effect& e, const Mode& m) {
  if (!m.d3d) return e.onDisplay && (m.bpp != 8 || e.at8);
  return m.quad ? e.quad : e.software;
}

// The layer in a mode with a target and a source of the screen's size.
struct Stage {
  DDSURFACEDATA target, source;
  explicit Stage(const Mode& m) {
    plat::ResetD3DHooks();
    g_d3d = m.d3d;
    DDInit(m.d3d ? 1 : 0, plat::WindowHandle{}, kW, kH, m.bpp, 0, 0, 1, 60, 0, nullptr, nullptr, 0, 0);
    TransmitPixel = 0;
    for (int i = 0; i < 65536; ++i) BlendTable[i] = static_cast<uint8_t>((i >> 8) * 7 + (i & 0xFF) * 13 + 1);
    for (int i = 0; i < 256; ++i)
      g_palette[i] = m.bpp == 16 && !m.d3d ? PALETTEENTRY{uint8_t(i % 32), uint8_t(i % 64), uint8_t(31 - i % 32), 0}
                                            : PALETTEENTRY{uint8_t(i), uint8_t(255 - i), uint8_t(i * 3), 0};
    const int memType = m.quad ? DTMEMORYTYPE_VIDEO_RT : DTMEMORYTYPE_SYSTEM;
    DDCreateSurface(&target, kW, kH, 0, 1, memType, nullptr, 0);
    DDCreateSurface(&source, kW, kH, 0, 1, memType, nullptr, 0);
    Write(&target, MakeImage(m.bpp, 1));
    Write(&source, MakeImage(m.bpp, 2));
  }
  ~Stage() {
    DDReleaseSurface(&target);
    DDReleaseSurface(&source);
    DDRelease();
    plat::ResetD3DHooks();
  }
};

// Ours and the plain version once on the same pixels: equal?
bool SameResult(const Effect& e, const Mode& m) {
  Stage st(m);
  Image d = Read(&st.target);
  const Image s = Read(&st.source);
  e.ours(&st.target, &st.source);
  e.plain(d, s);
  return Read(&st.target).px == d.px;
}

void Ours(benchmark::State& state, Effect e, Mode m) {
  Stage st(m);
  for (auto _ : state) e.ours(&st.target, &st.source);
  DDEndScene();
  state.SetItemsProcessed(state.iterations() * kW * kH);
}

void Plain(benchmark::State& state, Effect e, Mode m) {
  Stage st(m);
  Image d = Read(&st.target);
  const Image s = Read(&st.source);
  for (auto _ : state) e.plain(d, s);
  state.SetItemsProcessed(state.iterations() * kW * kH);
}

}  // namespace

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  struct Row {
    std::string effect, mode;
    bool compared, same;
  };
  std::vector<Row> rows;
  for (const Effect& e : Effects())
    for (const Mode& m : kModes) {
      if (!Runs(e, m)) continue;
      const std::string key = std::string(e.name) + "/" + m.name;
      const bool compared = e.plain && !m.quad;
      rows.push_back(Row{e.name, m.name, compared, compared && SameResult(e, m)});
      benchmark::RegisterBenchmark(("ours/" + key).c_str(), Ours, e, m);
      if (compared) benchmark::RegisterBenchmark(("plain/" + key).c_str(), Plain, e, m);
    }
  benchmark::Initialize(&argc, argv);
  RateReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\n%-12s %-11s %11s %9s %9s %12s %7s %5s\n", "effect", "mode", "ours Mpx/s", "ms/call", "of frame",
              "plain Mpx/s", "ratio", "same");
  bool allSame = true;
  for (const Row& r : rows) {
    if (r.compared) allSame = allSame && r.same;
    const std::string key = r.effect + "/" + r.mode;
    const auto ours = reporter.rates.find("ours/" + key);
    if (ours == reporter.rates.end()) continue;
    const double ms = kW * kH / ours->second * 1000.0;
    std::printf("%-12s %-11s %11.1f %9.2f %8.0f%%", r.effect.c_str(), r.mode.c_str(), ours->second / 1e6, ms,
                100.0 * ms / kFrameMs);
    const auto plain = reporter.rates.find("plain/" + key);
    if (plain != reporter.rates.end())
      std::printf(" %12.1f %7.1f %5s\n", plain->second / 1e6, ours->second / plain->second, r.same ? "yes" : "NO");
    else
      std::printf(" %12s %7s %5s\n", "-", "-", r.compared ? (r.same ? "yes" : "NO") : "-");
  }
  benchmark::Shutdown();
  return allSame ? 0 : 1;
}
