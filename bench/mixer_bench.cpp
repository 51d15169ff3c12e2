// The mixer rendering one second of output in the device's 1024-frame
// blocks. "sound_s_per_s" is the real-time ratio: seconds of sound mixed per
// second of work. The references in the same run: one voice, and 32 voices
// of 44100 Hz 16-bit data, which need no resampling.
#include <benchmark/benchmark.h>

#include <cmath>
#include <vector>

#include "platform/mixer.h"

namespace {

void MixOneSecond(benchmark::State& state, int voices, int rate, int bits) {
  plat::Mixer mixer;
  plat::PcmFormat format;
  format.rate = rate;
  format.channels = 1;
  format.bits = bits;
  // Half a second of a tone, looping, each voice at its own volume and place.
  std::vector<uint8_t> data;
  for (int i = 0; i < rate / 2; ++i) {
    double v = std::sin(i * 0.07);
    if (bits == 8) {
      data.push_back(static_cast<uint8_t>(128 + std::lround(v * 100)));
    } else {
      int s = static_cast<int>(std::lround(v * 12000));
      data.push_back(static_cast<uint8_t>(s & 0xFF));
      data.push_back(static_cast<uint8_t>((s >> 8) & 0xFF));
    }
  }
  for (int n = 0; n < voices; ++n) {
    plat::SoundBuffer* b = mixer.CreateBuffer(format, data.data(), data.size());
    b->SetVolume(-30 * n);
    b->SetPosition(static_cast<uint32_t>(n * 97 * (bits / 8)));
    b->Play(true);
  }
  std::vector<float> out(2 * 1024);
  const int blocks = (plat::Mixer::kRate + 1023) / 1024;
  for (auto _ : state) {
    for (int i = 0; i < blocks; ++i) {
      mixer.Render(out.data(), 1024);
      benchmark::DoNotOptimize(out.data());
    }
  }
  const double soundSeconds = static_cast<double>(state.iterations()) * blocks * 1024 / plat::Mixer::kRate;
  state.counters["sound_s_per_s"] = benchmark::Counter(soundSeconds, benchmark::Counter::kIsRate);
}

void BM_32Voices22050Hz8Bit(benchmark::State& state) { MixOneSecond(state, 32, 22050, 8); }
void BM_1Voice44100Hz16Bit(benchmark::State& state) { MixOneSecond(state, 1, 44100, 16); }
void BM_32Voices44100Hz16Bit(benchmark::State& state) { MixOneSecond(state, 32, 44100, 16); }

}  // namespace

BENCHMARK(BM_32Voices22050Hz8Bit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_1Voice44100Hz16Bit)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_32Voices44100Hz16Bit)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
