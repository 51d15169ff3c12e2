// The 3D back end against the software display doing the same frame: a
// 640 x 480 back buffer covered with 32 x 32 keyed sprites (300 of them, a
// third of each sprite transparent), drawn one blit at a time and in a
// sorted batch on the 3D device, and as colour-keyed copies on the software
// display, at 16 and 32 bits; and the device's triangle path beside its
// fast path for upright quads. Figures are pixels per second; the table at
// the end puts each beside the software display's.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench/rate_reporter.h"
#include "media/dd_blit.h"
#include "media/dd_layer.h"
#include "media/dd_pixels.h"
#include "platform/d3d_device.h"
#include "platform/soft_display.h"

namespace {

constexpr int kW = 640, kH = 480, kSprite = 32;

bool Transparent(int x, int y) { return (x * 7 + y * 3) % 10 < 3; }
uint32_t Colour(int x, int y) { return (static_cast<uint32_t>(x * 37 + y * 101 + 1) * 2654435761u) & 0xFFFFFF; }

// The sprite's pixels as the back end keeps them: the key colour 0 on the
// software display, alpha 0 on the 3D device.
void FillSprite(DDSURFACEDATA& sprite, int bpp, bool d3d) {
  cSurfaceLock lock;
  if (!lock.Lock(&sprite)) return;
  for (int y = 0; y < kSprite; ++y)
    for (int x = 0; x < kSprite; ++x) {
      uint8_t* row = lock.m_pBits + y * lock.m_nPitch;
      const uint32_t c = Colour(x, y);
      const bool key = Transparent(x, y);
      if (bpp == 16) {
        uint16_t p = static_cast<uint16_t>(((c >> 9) & 0x7C00) | ((c >> 6) & 0x3E0) | ((c >> 3) & 0x1F));
        p = key ? 0 : static_cast<uint16_t>(d3d ? p | 0x8000 : p | 1);
        reinterpret_cast<uint16_t*>(row)[x] = p;
      } else {
        reinterpret_cast<uint32_t*>(row)[x] = key ? 0 : (d3d ? 0xFF000000u | c : c | 1);
      }
    }
}

struct Layer {
  DDSURFACEDATA sprite;
  Layer(int bpp, bool d3d) {
    plat::ResetD3DHooks();
    DDInit(d3d ? 1 : 0, plat::WindowHandle{}, kW, kH, bpp, 0, 0, 1, 60, 0, nullptr, nullptr, 0, 0);
    TransmitPixel = 0;
    DDCreateSurface(&sprite, kSprite, kSprite, 1, 0, DTMEMORYTYPE_VIDEO_RT, nullptr, 0);
    FillSprite(sprite, bpp, d3d);
  }
  ~Layer() {
    DDReleaseSurface(&sprite);
    DDRelease();
    plat::ResetD3DHooks();
  }
  void Frame() {
    for (int y = 0; y < kH; y += kSprite)
      for (int x = 0; x < kW; x += kSprite) DDBlt(&BackBuffer, x, y, kSprite, kSprite, &sprite, 0, 0, 1);
  }
};

void SoftDisplay(benchmark::State& state, int bpp) {
  Layer layer(bpp, false);
  for (auto _ : state) layer.Frame();
  state.SetItemsProcessed(state.iterations() * kW * kH);
}

void Immediate(benchmark::State& state, int bpp, bool fastPath) {
  Layer layer(bpp, true);
  plat::SetD3DFastPath(fastPath);
  for (auto _ : state) layer.Frame();
  state.SetItemsProcessed(state.iterations() * kW * kH);
}

void SortedBatch(benchmark::State& state, int bpp) {
  Layer layer(bpp, true);
  for (auto _ : state) {
    DDBeginBatch(1);
    DDBatchKey(&layer.sprite);
    layer.Frame();
    DDFlushBatch();
  }
  state.SetItemsProcessed(state.iterations() * kW * kH);
}

}  // namespace

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  const char* kinds[] = {"3d immediate", "3d sorted batch", "3d triangles"};
  for (int bpp : {16, 32}) {
    const std::string b = "/" + std::to_string(bpp);
    benchmark::RegisterBenchmark(("software display" + b).c_str(), SoftDisplay, bpp);
    benchmark::RegisterBenchmark(("3d immediate" + b).c_str(), Immediate, bpp, true);
    benchmark::RegisterBenchmark(("3d sorted batch" + b).c_str(), SortedBatch, bpp);
    benchmark::RegisterBenchmark(("3d triangles" + b).c_str(), Immediate, bpp, false);
  }
  benchmark::Initialize(&argc, argv);
  RateReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\n%-18s %5s %14s %18s %8s\n", "3d device", "bits", "3d Mpx/s", "software Mpx/s", "ratio");
  for (const char* kind : kinds)
    for (int bpp : {16, 32}) {
      const std::string b = "/" + std::to_string(bpp);
      auto ours = reporter.rates.find(kind + b), soft = reporter.rates.find("software display" + b);
      if (ours == reporter.rates.end() || soft == reporter.rates.end()) continue;
      std::printf("%-18s %5d %14.1f %18.1f %8.2f\n", kind, bpp, ours->second / 1e6, soft->second / 1e6,
                  ours->second / soft->second);
    }
  auto fast32 = reporter.rates.find("3d immediate/32"), slow32 = reporter.rates.find("3d triangles/32");
  if (fast32 != reporter.rates.end() && slow32 != reporter.rates.end())
    std::printf("\nfast path / triangle path at 32 bits: %.2f\n", fast32->second / slow32->second);
  benchmark::Shutdown();
  return 0;
}
