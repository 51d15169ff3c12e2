// One minute of a 16-channel song through the MIDI stream in pulls of an
// audio device's size: into FluidSynth, and, as the reference that shows
// what the stream and the buffers cost alone, into the recording
// synthesiser. "realtime" is song time over the time it took.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cmath>
#include <cstdio>
#include <memory>
#include <vector>

#include "media/midi.h"
#include "platform/messages.h"
#include "platform/midi_out.h"

namespace {

constexpr int kSongSeconds = 60;
constexpr size_t kPull = 1024;  // frames an audio device asks for at a time

void Put32(std::vector<uint8_t>& out, uint32_t v) {
  for (int i = 3; i >= 0; --i) out.push_back(static_cast<uint8_t>(v >> (8 * i)));
}

// Format 1: a conductor track and 16 channels playing at 120 beats a
// minute, each its own instrument and rhythm (channel 10 drums).
std::vector<uint8_t> SixteenChannelSong() {
  const uint16_t division = 480;
  std::vector<uint8_t> file = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 1, 0, 17, division >> 8, division & 0xFF};
  auto track = [&](const std::vector<uint8_t>& events) {
    file.insert(file.end(), {'M', 'T', 'r', 'k'});
    Put32(file, static_cast<uint32_t>(events.size()));
    file.insert(file.end(), events.begin(), events.end());
  };
  track({0x00, 0xFF, 0x51, 0x03, 0x07, 0xA1, 0x20, 0x00, 0xFF, 0x2F, 0x00});
  const uint32_t totalTicks = kSongSeconds * 2 * division;
  for (uint8_t ch = 0; ch < 16; ++ch) {
    std::vector<uint8_t> ev;
    auto delta = [&](uint32_t d) {
      std::vector<uint8_t> tmp;
      cMidiData::WriteVarLen(tmp, d);
      ev.insert(ev.end(), tmp.begin(), tmp.end());
    };
    delta(0);
    ev.insert(ev.end(), {static_cast<uint8_t>(0xC0 | ch), static_cast<uint8_t>(ch * 8)});
    delta(0);
    ev.insert(ev.end(), {static_cast<uint8_t>(0xB0 | ch), 0x07, 90});
    const uint32_t step = division / (1 + ch % 4);  // quarter to sixteenth notes
    uint32_t ticks = 0, rest = 0;
    for (uint32_t n = 0; ticks + step <= totalTicks; ++n) {
      uint8_t key = ch == 9 ? static_cast<uint8_t>(35 + n % 12)
                            : static_cast<uint8_t>(36 + (ch * 5 + n * 7) % 48);
      delta(rest);
      ev.insert(ev.end(), {static_cast<uint8_t>(0x90 | ch), key, static_cast<uint8_t>(70 + n % 40)});
      delta(step * 3 / 4);
      ev.insert(ev.end(), {static_cast<uint8_t>(0x80 | ch), key, 0});
      rest = step - step * 3 / 4;
      ticks += step;
    }
    delta(rest);
    ev.insert(ev.end(), {0xFF, 0x2F, 0x00});
    track(ev);
  }
  return file;
}

// Streams the whole song through two buffers refilled on this thread,
// rendering in device-sized pulls; returns the highest sample.
float PlaySong(cMidi& song) {
  plat::MidiStream stream;
  stream.Open(plat::CurrentThreadId());
  const std::vector<uint8_t>& image = *song.m_lpImage;
  stream.SetTimeDivision(static_cast<uint32_t>(image[12]) << 8 | image[13]);
  std::vector<uint8_t> blocks(2 * kMidiBufferSize);
  plat::MidiHeader headers[2];
  size_t pos = kMidiImageHead;
  auto refill = [&] {
    for (plat::MidiHeader& h : headers) {
      if ((h.nFlags & MHDR_INQUEUE) || pos >= image.size()) continue;
      pos += song.FillBuffer(static_cast<uint32_t>(pos), &h);
      stream.Prepare(&h);
      stream.Out(&h);
    }
  };
  for (int i = 0; i < 2; ++i) {
    headers[i].lpData = blocks.data() + i * kMidiBufferSize;
    headers[i].nLength = kMidiBufferSize;
  }
  refill();
  stream.Restart();
  std::vector<float> out(kPull * 2);
  float peak = 0.0f;
  const size_t frames = static_cast<size_t>(kSongSeconds) * plat::kMidiRate;
  for (size_t done = 0; done < frames; done += kPull) {
    plat::RenderMidi(out.data(), kPull);
    for (float f : out) peak = std::max(peak, std::fabs(f));
    plat::Message msg;
    while (plat::Peek(msg)) {
    }
    refill();
  }
  stream.Reset();
  return peak;
}

void Run(benchmark::State& state, bool fluid) {
  cMidi song;
  song.m_strName = "bench.mid";
  std::vector<uint8_t> file = SixteenChannelSong();
  song.m_lpImage = song.Check(file.data(), file.size());
  if (!song.m_lpImage) {
    state.SkipWithError("the song does not convert");
    return;
  }
  if (fluid) {
    plat::SetMidiSynth(nullptr);
    std::string line;
    if (!plat::StartMidiSynth(&line)) {
      state.SkipWithError(line.c_str());
      return;
    }
    std::fprintf(stderr, "%s\n", line.c_str());
  } else {
    plat::SetMidiSynth(std::make_shared<plat::RecordingSynth>());
  }
  float peak = 0.0f;
  double seconds = 0.0;
  for (auto _ : state) {
    auto t0 = std::chrono::steady_clock::now();
    peak = PlaySong(song);
    seconds += std::chrono::duration<double>(std::chrono::steady_clock::now() - t0).count();
  }
  state.counters["realtime"] = kSongSeconds * static_cast<double>(state.iterations()) / seconds;
  state.counters["peak"] = peak;
  plat::SetMidiSynth(nullptr);
}

void BM_MidiMinuteRecordingSynth(benchmark::State& state) { Run(state, false); }
void BM_MidiMinuteFluidSynth(benchmark::State& state) { Run(state, true); }

BENCHMARK(BM_MidiMinuteRecordingSynth)->Unit(benchmark::kMillisecond)->Iterations(3);
BENCHMARK(BM_MidiMinuteFluidSynth)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

BENCHMARK_MAIN();
