// The software display against SDL's own software routines doing the same
// work: a 640 x 480 frame of 32 x 32 sprites (plain and keyed) at 8, 16 and
// 32 bits, a 2x stretch of a 320 x 240 picture, a full-screen fill, and a
// frame handed to the presenter and shown. Figures are pixels per second;
// the ratios (ours / SDL) are printed at the end of the run.
#include <SDL.h>
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench/rate_reporter.h"
#include "media/dd_blit.h"
#include "media/dd_layer.h"
#include "platform/presenter.h"
#include "platform/soft_display.h"

namespace {

constexpr int kW = 640, kH = 480, kSprite = 32;

uint32_t PatternPixel(int x, int y, int bpp) {
  if ((x * 7 + y * 3) % 10 < 3) return 0;  // the transparent colour
  const uint32_t v = static_cast<uint32_t>(x * 37 + y * 101 + 1);
  return bpp == 8 ? (v % 255) + 1 : bpp == 16 ? (v * 2654435761u >> 16) | 1 : ((v * 2654435761u) & 0xFFFFFF) | 1;
}

void FillPattern(uint8_t* bits, int pitch, int w, int h, int bpp) {
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) {
      const uint32_t p = PatternPixel(x, y, bpp);
      uint8_t* row = bits + y * pitch;
      if (bpp == 8) row[x] = static_cast<uint8_t>(p);
      if (bpp == 16) reinterpret_cast<uint16_t*>(row)[x] = static_cast<uint16_t>(p);
      if (bpp == 32) reinterpret_cast<uint32_t*>(row)[x] = p;
    }
}

// --- ours ---

struct Ours {
  DDSURFACEDATA sprite, picture;
  explicit Ours(int bpp) {
    DDInit(0, plat::WindowHandle{}, kW, kH, bpp, 0, 0, 1, 60, 0, nullptr, nullptr, 0, 0);
    TransmitPixel = 0;
    DDCreateSurface(&sprite, kSprite, kSprite, 1, 0, 0, nullptr, 0);
    DDCreateSurface(&picture, kW / 2, kH / 2, 0, 0, 0, nullptr, 0);
    for (DDSURFACEDATA* sd : {&sprite, &picture}) {
      plat::LockedPixels px;
      sd->lpDDS->lpSurface->Lock(px);
      FillPattern(px.bits, px.pitch, px.width, px.height, bpp);
      sd->lpDDS->lpSurface->Unlock();
    }
  }
  ~Ours() {
    DDReleaseSurface(&sprite);
    DDReleaseSurface(&picture);
    DDRelease();
  }
};

void OursSprites(benchmark::State& state, int bpp, int flags) {
  Ours o(bpp);
  for (auto _ : state)
    for (int y = 0; y < kH; y += kSprite)
      for (int x = 0; x < kW; x += kSprite) DDBlt(&BackBuffer, x, y, kSprite, kSprite, &o.sprite, 0, 0, flags);
  state.SetItemsProcessed(state.iterations() * kW * kH);
}

void OursStretch(benchmark::State& state, int bpp) {
  Ours o(bpp);
  for (auto _ : state) DDBltStretch(&BackBuffer, 0, 0, kW, kH, &o.picture, 0, 0, kW / 2, kH / 2, 0);
  state.SetItemsProcessed(state.iterations() * kW * kH);
}

void OursFill(benchmark::State& state, int bpp) {
  Ours o(bpp);
  for (auto _ : state) DDFillRect(&BackBuffer, 0, 0, kW, kH, 3);
  state.SetItemsProcessed(state.iterations() * kW * kH);
}

void OursPresent(benchmark::State& state, int bpp) {
  Ours o(bpp);
  DDBltStretch(&BackBuffer, 0, 0, kW, kH, &o.picture, 0, 0, kW / 2, kH / 2, 0);
  for (auto _ : state) {
    DDBlt(&Primary, 0, 0, kW, kH, &BackBuffer, 0, 0, 0);
    plat::PresenterPump();
  }
  state.SetItemsProcessed(state.iterations() * kW * kH);
}

// --- SDL doing the same ---

Uint32 SdlFormat(int bpp) {
  return bpp == 8 ? SDL_PIXELFORMAT_INDEX8 : bpp == 16 ? SDL_PIXELFORMAT_RGB565 : SDL_PIXELFORMAT_RGB888;
}

struct Sdl {
  SDL_Surface* target;
  SDL_Surface* sprite;
  SDL_Surface* picture;
  SDL_Palette* palette = nullptr;
  explicit Sdl(int bpp, bool keyed) {
    target = SDL_CreateRGBSurfaceWithFormat(0, kW, kH, bpp, SdlFormat(bpp));
    sprite = SDL_CreateRGBSurfaceWithFormat(0, kSprite, kSprite, bpp, SdlFormat(bpp));
    picture = SDL_CreateRGBSurfaceWithFormat(0, kW / 2, kH / 2, bpp, SdlFormat(bpp));
    if (bpp == 8) {
      palette = SDL_AllocPalette(256);
      SDL_Color colours[256];
      for (int i = 0; i < 256; ++i) colours[i] = SDL_Color{Uint8(i), Uint8(255 - i), Uint8(i * 7), 255};
      SDL_SetPaletteColors(palette, colours, 0, 256);
      for (SDL_Surface* s : {target, sprite, picture}) SDL_SetSurfacePalette(s, palette);
    }
    for (SDL_Surface* s : {sprite, picture}) FillPattern(static_cast<uint8_t*>(s->pixels), s->pitch, s->w, s->h, bpp);
    SDL_SetColorKey(sprite, keyed ? SDL_TRUE : SDL_FALSE, 0);
  }
  ~Sdl() {
    for (SDL_Surface* s : {target, sprite, picture}) SDL_FreeSurface(s);
    if (palette) SDL_FreePalette(palette);
  }
};

void SdlSprites(benchmark::State& state, int bpp, int flags) {
  Sdl s(bpp, flags == 1);
  for (auto _ : state)
    for (int y = 0; y < kH; y += kSprite)
      for (int x = 0; x < kW; x += kSprite) {
        SDL_Rect dst{x, y, kSprite, kSprite};
        SDL_BlitSurface(s.sprite, nullptr, s.target, &dst);
      }
  state.SetItemsProcessed(state.iterations() * kW * kH);
}

void SdlStretch(benchmark::State& state, int bpp) {
  Sdl s(bpp, false);
  SDL_Rect whole{0, 0, kW, kH};
  // SDL_BlitScaled refuses palette surfaces; for equal formats it runs
  // SDL_SoftStretch, which takes them.
  const bool scaled = SDL_BlitScaled(s.picture, nullptr, s.target, &whole) == 0;
  if (!scaled) state.SetLabel("SDL_SoftStretch");
  for (auto _ : state) {
    SDL_Rect dst{0, 0, kW, kH};
    if (scaled)
      SDL_BlitScaled(s.picture, nullptr, s.target, &dst);
    else
      SDL_SoftStretch(s.picture, nullptr, s.target, &dst);
  }
  state.SetItemsProcessed(state.iterations() * kW * kH);
}

void SdlFill(benchmark::State& state, int bpp) {
  Sdl s(bpp, false);
  for (auto _ : state) SDL_FillRect(s.target, nullptr, 3);
  state.SetItemsProcessed(state.iterations() * kW * kH);
}

// The reference of a shown frame: converting it to 32 bits.
void SdlPresent(benchmark::State& state, int bpp) {
  Sdl s(bpp, false);
  SDL_Surface* out = SDL_CreateRGBSurfaceWithFormat(0, kW, kH, 32, SDL_PIXELFORMAT_RGB888);
  for (auto _ : state) SDL_BlitSurface(s.target, nullptr, out, nullptr);
  SDL_FreeSurface(out);
  state.SetItemsProcessed(state.iterations() * kW * kH);
}

}  // namespace

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  const char* names[] = {"sprites plain", "sprites keyed", "stretch x2", "fill", "present"};
  for (int bpp : {8, 16, 32}) {
    const std::string b = std::to_string(bpp);
    benchmark::RegisterBenchmark(("ours/sprites plain/" + b).c_str(), OursSprites, bpp, 0);
    benchmark::RegisterBenchmark(("sdl/sprites plain/" + b).c_str(), SdlSprites, bpp, 0);
    benchmark::RegisterBenchmark(("ours/sprites keyed/" + b).c_str(), OursSprites, bpp, 1);
    benchmark::RegisterBenchmark(("sdl/sprites keyed/" + b).c_str(), SdlSprites, bpp, 1);
    benchmark::RegisterBenchmark(("ours/stretch x2/" + b).c_str(), OursStretch, bpp);
    benchmark::RegisterBenchmark(("sdl/stretch x2/" + b).c_str(), SdlStretch, bpp);
    benchmark::RegisterBenchmark(("ours/fill/" + b).c_str(), OursFill, bpp);
    benchmark::RegisterBenchmark(("sdl/fill/" + b).c_str(), SdlFill, bpp);
    benchmark::RegisterBenchmark(("ours/present/" + b).c_str(), OursPresent, bpp);
    benchmark::RegisterBenchmark(("sdl/present/" + b).c_str(), SdlPresent, bpp);
  }
  benchmark::Initialize(&argc, argv);
  RateReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\n%-16s %5s %14s %14s %8s\n", "work", "bits", "ours Mpx/s", "SDL Mpx/s", "ratio");
  for (const char* name : names)
    for (int bpp : {8, 16, 32}) {
      const std::string suffix = std::string(name) + "/" + std::to_string(bpp);
      auto ours = reporter.rates.find("ours/" + suffix), sdl = reporter.rates.find("sdl/" + suffix);
      if (ours == reporter.rates.end() || sdl == reporter.rates.end()) continue;
      std::printf("%-16s %5d %14.1f %14.1f %8.2f\n", name, bpp, ours->second / 1e6, sdl->second / 1e6,
                  ours->second / sdl->second);
    }
  benchmark::Shutdown();
  return 0;
}
