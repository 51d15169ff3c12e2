// Text on the software display at 16 bits and on the 3D device at 32: a
// 640 x 480 screen of Japanese text (30 lines of 40 full-width characters,
// IPA Gothic in 16-dot cells) per frame with warm glyph caches beside the
// same screen with the caches off; and a character's first use (rendered,
// put into the cache, copied from there) beside a draw of a cached one.
// Figures are characters per second; the ratios are printed at the end of
// the run.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <map>
#include <string>
#include <vector>

#include "bench/rate_reporter.h"
#include "media/dd_blit.h"
#include "media/dd_layer.h"
#include "media/font.h"

namespace {

// "ＭＳ ゴシック"
const char kFace[] = "\x82\x6C\x82\x72\x20\x83\x53\x83\x56\x83\x62\x83\x4E";
constexpr int kLines = 30, kColumns = 40, kNewGlyphs = 600;

// Kanji of the first level, from 亜 on: none is preloaded.
std::vector<std::string> Kanji(int n) {
  std::vector<std::string> out;
  for (unsigned lead = 0x88; out.size() < static_cast<size_t>(n); ++lead)
    for (unsigned trail = lead == 0x88 ? 0x9F : 0x40; trail <= 0xFC && out.size() < static_cast<size_t>(n); ++trail)
      if (trail != 0x7F) out.push_back(std::string{static_cast<char>(lead), static_cast<char>(trail)});
  return out;
}

// Hiragana, katakana and 200 kanji, line after line.
std::string Screen() {
  std::vector<std::string> pool;
  for (unsigned c = 0x829F; c <= 0x82F1; ++c) pool.push_back(std::string{char(c >> 8), char(c & 0xFF)});
  for (unsigned c = 0x8340; c <= 0x8393; ++c)
    if (c != 0x837F) pool.push_back(std::string{char(c >> 8), char(c & 0xFF)});
  for (const std::string& k : Kanji(200)) pool.push_back(k);
  std::string text;
  for (int line = 0, k = 0; line < kLines; ++line) {
    for (int c = 0; c < kColumns; ++c, k = (k * 7 + 3) % static_cast<int>(pool.size()))
      text += pool[static_cast<size_t>(k)];
    text += '\n';
  }
  return text;
}

// The software display at 16 bits, or the 3D device at 32.
struct Display {
  explicit Display(int d3d) {
    DDInit(d3d, plat::WindowHandle{}, 640, 480, d3d ? 32 : 16, 0, 0, 1, 60, 0, nullptr, nullptr, 0, 0);
    for (int i = 0; i < 256; ++i)
      CurPalette[i] = d3d ? PALETTEENTRY{uint8_t(i), uint8_t(i), uint8_t(i), 0}
                          : PALETTEENTRY{uint8_t(i & 31), uint8_t(i & 63), uint8_t(i & 31), 0};
    CurPalette[0] = {};
    TransmitPixel = 0;
    if (d3d) DDSetTransmit(255, 0, 255);
  }
  ~Display() { DDRelease(); }
};

void ScreenOfText(benchmark::State& state, int d3d, int cache) {
  Display display(d3d);
  Font font;
  font.Create(kFace, 0, 16, 16, 16, 255, nullptr, 1, 240, nullptr, cache);
  const std::string text = Screen();
  font.DrawText(&BackBuffer, 0, 0, text.c_str(), 0);  // every character once: the caches are warm
  for (auto _ : state) {
    font.DrawText(&BackBuffer, 0, 0, text.c_str(), 0);
    DDEndScene();
  }
  state.SetItemsProcessed(state.iterations() * kLines * kColumns);
  font.Release();
}

// Each of kNewGlyphs kanji drawn alone, first into a font that never drew it.
void FirstUse(benchmark::State& state, int d3d) {
  Display display(d3d);
  const std::vector<std::string> kanji = Kanji(kNewGlyphs);
  for (auto _ : state) {
    state.PauseTiming();
    Font font;
    font.Create(kFace, 0, 16, 16, 16, 255, nullptr, 1, 240, nullptr, 1);
    state.ResumeTiming();
    for (int i = 0; i < kNewGlyphs; ++i)
      font.DrawText(&BackBuffer, i % kColumns * 16, i / kColumns % kLines * 16, kanji[static_cast<size_t>(i)].c_str(),
                    0);
    DDEndScene();
    state.PauseTiming();
    font.Release();
    state.ResumeTiming();
  }
  state.SetItemsProcessed(state.iterations() * kNewGlyphs);
}

// The same kanji, each drawn alone from the cache.
void CachedUse(benchmark::State& state, int d3d) {
  Display display(d3d);
  const std::vector<std::string> kanji = Kanji(kNewGlyphs);
  Font font;
  font.Create(kFace, 0, 16, 16, 16, 255, nullptr, 1, 240, nullptr, 1);
  for (const std::string& k : kanji) font.DrawText(&BackBuffer, 0, 0, k.c_str(), 0);
  for (auto _ : state) {
    for (int i = 0; i < kNewGlyphs; ++i)
      font.DrawText(&BackBuffer, i % kColumns * 16, i / kColumns % kLines * 16, kanji[static_cast<size_t>(i)].c_str(),
                    0);
    DDEndScene();
  }
  state.SetItemsProcessed(state.iterations() * kNewGlyphs);
  font.Release();
}

}  // namespace

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  for (int d3d : {0, 1}) {
    const std::string b = d3d ? "d3d32/" : "dd16/";
    benchmark::RegisterBenchmark((b + "screen/cached").c_str(), ScreenOfText, d3d, 1);
    benchmark::RegisterBenchmark((b + "screen/uncached").c_str(), ScreenOfText, d3d, 0);
    benchmark::RegisterBenchmark((b + "glyph/cached").c_str(), CachedUse, d3d);
    benchmark::RegisterBenchmark((b + "glyph/first use").c_str(), FirstUse, d3d);
  }
  benchmark::Initialize(&argc, argv);
  RateReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\n%-8s %-28s %16s %16s %8s\n", "display", "work", "chars/s", "reference", "ratio");
  for (const char* b : {"dd16/", "d3d32/"}) {
    const struct {
      const char* work;
      const char* fast;
      const char* reference;
    } rows[] = {
        {"screen: cached / uncached", "screen/cached", "screen/uncached"},
        {"glyph: cached / first use", "glyph/cached", "glyph/first use"},
    };
    for (const auto& row : rows) {
      auto fast = reporter.rates.find(std::string(b) + row.fast),
           ref = reporter.rates.find(std::string(b) + row.reference);
      if (fast == reporter.rates.end() || ref == reporter.rates.end()) continue;
      std::printf("%-8s %-28s %16.0f %16.0f %8.2f\n", b, row.work, fast->second, ref->second,
                  fast->second / ref->second);
    }
    auto cached = reporter.rates.find(std::string(b) + "screen/cached");
    auto uncached = reporter.rates.find(std::string(b) + "screen/uncached");
    if (cached != reporter.rates.end() && uncached != reporter.rates.end())
      std::printf("%-8s screens of text per second: cached %.0f, uncached %.0f\n", b,
                  cached->second / (kLines * kColumns), uncached->second / (kLines * kColumns));
  }
  benchmark::Shutdown();
  return 0;
}
