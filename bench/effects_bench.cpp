// The pixel effects over a 640 x 480 picture, each beside the same effect
// written plainly: a bounds-checked get and put per pixel, the formulas
// computed per pixel. Before timing, both run once on the same pixels and
// their results are compared. Figures are pixels per second; the summary
// gives the milliseconds per call, the share of a 60 Hz frame and the
// ratio to the plain version.
#include <benchmark/benchmark.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "base/checked_convert.h"
#include "media/dd_fx.h"
#include "media/dd_layer.h"
#include "media/dd_pixels.h"

namespace {

constexpr int kW = 640, kH = 480;
constexpr double kFrameMs = 1000.0 / 60.0;

// --- the picture ---

uint32_t Pattern(int x, int y, int bpp, uint32_t seed) {
  if ((x * 7 + y * 3 + seed) % 11 < 2) return 0;  // the transparent colour
  uint32_t v = static_cast<uint32_t>(x * 37 + y * 101 + 1) * 2654435761u ^ seed * 40503u;
  v ^= v >> 15;
  return bpp == 8 ? (v % 255) + 1 : bpp == 16 ? (v & 0xFFFF) | 1 : (v & 0xFFFFFF) | 1;
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
      } else if (flags == 1 && IsKey(sp, d.bpp)) {
        continue;
      } else if (IsKey(dp, d.bpp)) {
        out = d.bpp == 32 ? (dp & 0xFF000000) | (sp & 0xFFFFFF) : sp;
      } else if (d.bpp == 16) {
        int c[3];
        for (int k = 0; k < 3; ++k) c[k] = ((Up(sp, k) + Up(dp, k)) >> 1) * TextureChannels[4 + k] / 255;
        out = Pack16(c);
      } else {
        uint32_t c[3];
        for (int k = 0; k < 3; ++k) c[k] = (Byte(sp, k) + Byte(dp, k)) >> 1;
        out = (dp & 0xFF000000) | Bytes(c);
      }
      d.Put(i, j, out);
    }
}

void PlainTint(Image& d, const Image& s, int flags, const PALETTEENTRY& e, int palNum, int level) {
  const int colour[3] = {e.peRed, e.peGreen, e.peBlue};
  for (int j = 0; j < kH; ++j)
    for (int i = 0; i < kW; ++i) {
      uint32_t sp, dp;
      if (!s.Get(i, j, sp) || !d.Get(i, j, dp)) continue;
      if (flags == 1 && IsKey(sp, d.bpp)) continue;
      uint32_t out;
      if (d.bpp == 8) {
        out = sp;
        for (int n = 0; n < level; ++n) out = BlendTable[out * 256 + palNum];
      } else if (d.bpp == 16) {
        int c[3];
        for (int k = 0; k < 3; ++k) {
          const int mask = TextureChannels[4 + k];
          int v = Up(sp, k);
          const int p = colour[k] * 255 / mask;
          for (int n = 0; n < level; ++n) v = (v + p) >> 1;
          c[k] = v * mask / 255;
        }
        out = Pack16(c);
      } else {
        uint32_t c[3];
        for (int k = 0; k < 3; ++k) {
          c[k] = Byte(sp, k);
          for (int n = 0; n < level; ++n) c[k] = (c[k] + static_cast<uint32_t>(colour[k])) >> 1;
        }
        out = (dp & 0xFF000000) | Bytes(c);
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
      if (!s.Get(cx + ox, cy + oy, sp) || IsKey(sp, d.bpp)) continue;
      d.Put(cx + dx, cy + dy, sp);
    }
}

void PlainBlur(Image& d, const Image& s, int r, int flags) {
  for (int j = 0; j < kH; ++j)
    for (int i = 0; i < kW; ++i) {
      uint32_t sp;
      if (!s.Get(i, j, sp) || (flags == 1 && IsKey(sp, d.bpp))) continue;
      uint32_t sum[3] = {}, n = 0;
      for (int dy = -r; dy < r; ++dy)
        for (int dx = -r; dx < r; ++dx) {
          uint32_t p;
          if (!s.Get(i + dx, j + dy, p) || (flags == 1 && IsKey(p, d.bpp))) continue;
          for (int k = 0; k < 3; ++k) sum[k] += d.bpp == 16 ? static_cast<uint32_t>(Ch(p, k)) : Byte(p, k);
          ++n;
        }
      uint32_t dp;
      if (n == 0 || !d.Get(i, j, dp)) continue;
      if (d.bpp == 16) {
        const int c[3] = {int(sum[0] / n), int(sum[1] / n), int(sum[2] / n)};
        d.Put(i, j, Pack16(c));
      } else {
        const uint32_t c[3] = {sum[0] / n, sum[1] / n, sum[2] / n};
        d.Put(i, j, (dp & 0xFF000000) | Bytes(c));
      }
    }
}

void PlainMosaic(Image& d, const Image& s, int block, int flags) {
  for (int by = 0; by < kH; by += block)
    for (int bx = 0; bx < kW; bx += block) {
      uint32_t colour;
      if (d.bpp == 8) {
        if (!s.Get(bx, by, colour) || (flags == 1 && IsKey(colour, 8))) continue;
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
          d.Put(i, j, d.bpp == 32 ? (dp & 0xFF000000) | colour : colour);
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
  bool at8, at16;  // defined at 8 bits; at 16 (the fade is not defined at 8)
  std::function<void(DDSURFACEDATA* d, DDSURFACEDATA* s)> ours;
  std::function<void(Image& d, const Image& s)> plain;
};

const uint32_t kFadeColour[3] = {255, 0, 0};

std::vector<Effect> Effects() {
  return {
      {"alpha", true, true, [](auto d, auto s) { DDBltAlpha(d, 0, 0, kW, kH, s, 0, 0, 1, BlendTable, 128); },
       [](Image& d, const Image& s) { PlainAlpha(d, s, 1); }},
      {"tint", true, true,
       [](auto d, auto s) { DDBltTint(d, 0, 0, kW, kH, s, 0, 0, 1, g_palette, BlendTable, 5, 2); },
       [](Image& d, const Image& s) { PlainTint(d, s, 1, g_palette[5], 5, 2); }},
      {"rotate 30", true, true,
       [](auto d, auto s) { DDBltRotate(d, kW / 2, kH / 2, kW, kH, kW / 2, kH / 2, 30, s, 0, 0, 0); },
       [](Image& d, const Image& s) { PlainRotate(d, s, 30); }},
      {"circle", true, true,
       [](auto d, auto s) { DDBltCircle(d, kW / 2, kH / 2, kW / 2, kH / 2, 400, 1, s, kW / 2, kH / 2, 0); },
       [](Image& d, const Image& s) { PlainCircle(d, s, 400); }},
      {"lens", true, true, [](auto d, auto s) { DDBltLens(d, kW / 2, kH / 2, 400, 300, s, kW / 2, kH / 2, 0, 0); },
       [](Image& d, const Image& s) { PlainLens(d, s, 400, 300); }},
      {"blur r3", false, true, [](auto d, auto s) { DDBltBlur(d, 0, 0, kW, kH, 3, 3, s, 0, 0, 1); },
       [](Image& d, const Image& s) { PlainBlur(d, s, 3, 1); }},
      {"mosaic 8", true, true, [](auto d, auto s) { DDBltMosaic(d, 0, 0, kW, kH, 8, s, 0, 0, 1); },
       [](Image& d, const Image& s) { PlainMosaic(d, s, 8, 1); }},
      {"fade", false, true, [](auto d, auto s) { DDFade_UnPal(d, 100, 255, 0, 0, s); },
       [](Image& d, const Image& s) { PlainFade(d, s, 100, kFadeColour); }},
  };
}

// The display at a depth with a target and a source of the screen's size.
struct Stage {
  DDSURFACEDATA target, source;
  explicit Stage(int bpp) {
    DDInit(0, plat::WindowHandle{}, kW, kH, bpp, 0, 0, 1, 60, 0, nullptr, nullptr, 0, 0);
    TransmitPixel = 0;
    for (int i = 0; i < 65536; ++i) BlendTable[i] = static_cast<uint8_t>((i >> 8) * 7 + (i & 0xFF) * 13 + 1);
    for (int i = 0; i < 256; ++i)
      g_palette[i] = bpp == 16 ? PALETTEENTRY{uint8_t(i % 32), uint8_t(i % 64), uint8_t(31 - i % 32), 0}
                               : PALETTEENTRY{uint8_t(i), uint8_t(255 - i), uint8_t(i * 3), 0};
    DDCreateSurface(&target, kW, kH, 0, 1, 0, nullptr, 0);
    DDCreateSurface(&source, kW, kH, 0, 1, 0, nullptr, 0);
    Write(&target, MakeImage(bpp, 1));
    Write(&source, MakeImage(bpp, 2));
  }
  ~Stage() {
    DDReleaseSurface(&target);
    DDReleaseSurface(&source);
    DDRelease();
  }
};

// Ours and the plain version once on the same pixels: equal?
bool SameResult(const Effect& e, int bpp) {
  Stage st(bpp);
  Image d = Read(&st.target);
  const Image s = Read(&st.source);
  e.ours(&st.target, &st.source);
  e.plain(d, s);
  return Read(&st.target).px == d.px;
}

void Ours(benchmark::State& state, Effect e, int bpp) {
  Stage st(bpp);
  for (auto _ : state) e.ours(&st.target, &st.source);
  state.SetItemsProcessed(state.iterations() * kW * kH);
}

void Plain(benchmark::State& state, Effect e, int bpp) {
  Stage st(bpp);
  Image d = Read(&st.target);
  const Image s = Read(&st.source);
  for (auto _ : state) e.plain(d, s);
  state.SetItemsProcessed(state.iterations() * kW * kH);
}

class RateReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs) {
      auto it = r.counters.find("items_per_second");
      if (it != r.counters.end()) rates[r.benchmark_name()] = it->second.value;
    }
  }
  std::map<std::string, double> rates;
};

}  // namespace

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  std::map<std::string, bool> same;
  for (const Effect& e : Effects())
    for (int bpp : {8, 16, 32}) {
      if ((bpp == 8 && !e.at8) || (bpp == 16 && !e.at16)) continue;
      const std::string key = std::string(e.name) + "/" + std::to_string(bpp);
      same[key] = SameResult(e, bpp);
      benchmark::RegisterBenchmark(("ours/" + key).c_str(), Ours, e, bpp);
      benchmark::RegisterBenchmark(("plain/" + key).c_str(), Plain, e, bpp);
    }
  benchmark::Initialize(&argc, argv);
  RateReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\n%-12s %5s %12s %10s %10s %12s %8s %7s\n", "effect", "bits", "ours Mpx/s", "ms/call", "of frame",
              "plain Mpx/s", "ratio", "same");
  bool allSame = true;
  for (const auto& [key, equal] : same) {
    allSame = allSame && equal;
    const auto ours = reporter.rates.find("ours/" + key), plain = reporter.rates.find("plain/" + key);
    if (ours == reporter.rates.end() || plain == reporter.rates.end()) continue;
    const double ms = kW * kH / ours->second * 1000.0;
    const size_t slash = key.rfind('/');
    std::printf("%-12s %5s %12.1f %10.2f %9.0f%% %12.1f %8.1f %7s\n", key.substr(0, slash).c_str(),
                key.substr(slash + 1).c_str(), ours->second / 1e6, ms, 100.0 * ms / kFrameMs, plain->second / 1e6,
                ours->second / plain->second, equal ? "yes" : "NO");
  }
  benchmark::Shutdown();
  return allSame ? 0 : 1;
}
