// The OGG plug-in's decoding. "sound_s_per_s" is the real-time ratio:
// seconds of music decoded per second of work. Measured: one minute of a
// 44100 Hz stereo file through the decoder alone, beside the same minute of
// a 22050 Hz stereo file played by the built plug-in through a mixer stream,
// resampling to the mix rate included, rendered in the device's blocks.
#include <benchmark/benchmark.h>

#include <cmath>
#include <cstdint>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "platform/mixer.h"
#include "platform/shared_library.h"
#include "platform/vox/ogg_decoder.h"
#include "platform/vox/vox_api.h"
#include "support/ogg_writer.h"

namespace {

constexpr int kSeconds = 60;
constexpr double kPi = 3.14159265358979323846;

// Three tones and a little noise, so the file has a bit rate like music's.
std::string MinuteOfMusic(int rate) {
  const size_t frames = static_cast<size_t>(rate) * kSeconds;
  std::vector<float> samples(2 * frames);
  uint32_t noise = 12345;
  for (size_t i = 0; i < frames; ++i) {
    const double t = static_cast<double>(i) / rate;
    noise = noise * 214013u + 2531011u;
    const double n = (static_cast<double>((noise >> 16) & 0x7FFF) / 16384.0 - 1.0) * 0.05;
    const double l = 0.3 * std::sin(2 * kPi * 220 * t) + 0.2 * std::sin(2 * kPi * 554.37 * t) + n;
    const double r = 0.3 * std::sin(2 * kPi * 329.63 * t) + 0.15 * std::sin(2 * kPi * 880 * t * (1 + 0.01 * std::sin(t))) + n;
    samples[2 * i] = static_cast<float>(l);
    samples[2 * i + 1] = static_cast<float>(r);
  }
  return testsupport::EncodeOgg(samples, rate, 2);
}

void SetRate(benchmark::State& state) {
  state.counters["sound_s_per_s"] =
      benchmark::Counter(static_cast<double>(state.iterations()) * kSeconds, benchmark::Counter::kIsRate);
}

void BM_Decode44100HzStereoMinute(benchmark::State& state) {
  static const std::string file = MinuteOfMusic(44100);
  std::vector<float> out(2 * 4096);
  for (auto _ : state) {
    plat::OggDecoder decoder;
    decoder.Open(std::vector<uint8_t>(file.begin(), file.end()));
    size_t frames = 0;
    while (size_t got = decoder.Read(out.data(), 4096)) frames += got;
    benchmark::DoNotOptimize(frames);
  }
  SetRate(state);
}

void BM_PlugIn22050HzStereoMinuteThroughTheMixer(benchmark::State& state) {
  static const std::string file = MinuteOfMusic(22050);
  const std::string path = (std::filesystem::temp_directory_path() / "vox_bench_22050.ogg").string();
  std::ofstream(path, std::ios::binary) << file;
  plat::SharedLibrary lib;
  if (!lib.Open(VOX_LIBRARY_FILE)) {
    state.SkipWithError(lib.Error().c_str());
    return;
  }
  auto create = reinterpret_cast<VOXCREATEPROC>(lib.Symbol(VOX_CREATE_NAME));
  auto attach = reinterpret_cast<VOXATTACHHOSTPROC>(lib.Symbol(VOX_ATTACH_HOST_NAME));
  plat::Mixer mixer;
  const MIXERHOST host = mixer.Host();
  attach(&host);
  cVoxObject* vox = create();
  std::vector<float> out(2 * 1024);
  const int blocks = (plat::Mixer::kRate * kSeconds + 1023) / 1024;
  for (auto _ : state) {
    vox->Load(path.c_str());
    vox->Play();
    for (int i = 0; i < blocks; ++i) {
      mixer.Render(out.data(), 1024);
      benchmark::DoNotOptimize(out.data());
    }
    vox->Stop();
  }
  vox->Destroy();
  attach(nullptr);
  std::remove(path.c_str());
  SetRate(state);
}

}  // namespace

BENCHMARK(BM_Decode44100HzStereoMinute)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_PlugIn22050HzStereoMinuteThroughTheMixer)->Unit(benchmark::kMillisecond);
BENCHMARK_MAIN();
