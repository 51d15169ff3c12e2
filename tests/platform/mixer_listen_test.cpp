// Two seconds of a mix written to a WAV file and measured: each tone keeps
// its pitch and level through resampling and volume. With MIXER_WAV_DIR set,
// the file is also left there (mix.wav) to be listened to.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/mixer.h"
#include "support/test_support.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// 16-bit stereo PCM WAV of interleaved float frames.
std::string WavBytes(const std::vector<float>& frames) {
  auto u16 = [](std::string& s, uint32_t v) {
    s += static_cast<char>(v & 0xFF);
    s += static_cast<char>((v >> 8) & 0xFF);
  };
  auto u32 = [&](std::string& s, uint32_t v) {
    u16(s, v & 0xFFFF);
    u16(s, v >> 16);
  };
  std::string data;
  for (float v : frames) u16(data, static_cast<uint16_t>(static_cast<int16_t>(std::lround(v * 32767.0f))));
  std::string s = "RIFF";
  u32(s, static_cast<uint32_t>(36 + data.size()));
  s += "WAVEfmt ";
  u32(s, 16);
  u16(s, 1);
  u16(s, 2);
  u32(s, 44100);
  u32(s, 44100 * 4);
  u16(s, 4);
  u16(s, 16);
  s += "data";
  u32(s, static_cast<uint32_t>(data.size()));
  return s + data;
}

std::vector<float> ReadWavChannel(const std::string& bytes, int channel) {
  std::vector<float> out;
  for (size_t i = 44 + 2 * static_cast<size_t>(channel); i + 1 < bytes.size(); i += 4) {
    int16_t v = static_cast<int16_t>(static_cast<uint8_t>(bytes[i]) | (static_cast<uint8_t>(bytes[i + 1]) << 8));
    out.push_back(static_cast<float>(v) / 32767.0f);
  }
  return out;
}

// Amplitude of the sinusoid at `hz` in the samples (a single-bin DFT).
double Amplitude(const std::vector<float>& x, double hz) {
  double re = 0, im = 0;
  for (size_t n = 0; n < x.size(); ++n) {
    double a = 2 * kPi * hz * static_cast<double>(n) / 44100.0;
    re += x[n] * std::cos(a);
    im -= x[n] * std::sin(a);
  }
  return 2 * std::hypot(re, im) / static_cast<double>(x.size());
}

}  // namespace

TEST(MixerListening, TonesKeepPitchAndLevelInTheWrittenMix) {
  plat::Mixer mixer;
  // 441 Hz at 22050 Hz 8-bit mono (50 samples a period), amplitude 100/128.
  std::vector<uint8_t> low;
  for (int i = 0; i < 22050; ++i) low.push_back(static_cast<uint8_t>(128 + std::lround(100 * std::sin(2 * kPi * i / 50))));
  plat::PcmFormat f8;
  mixer.CreateBuffer(f8, low.data(), low.size())->Play(true);
  // 882 Hz at 44100 Hz 16-bit stereo on the left only, amplitude 0.25, at -6 dB.
  std::vector<uint8_t> high;
  for (int i = 0; i < 44100; ++i) {
    int v = static_cast<int>(std::lround(8192 * std::sin(2 * kPi * i / 50)));
    high.push_back(static_cast<uint8_t>(v & 0xFF));
    high.push_back(static_cast<uint8_t>((v >> 8) & 0xFF));
    high.push_back(0);
    high.push_back(0);
  }
  plat::PcmFormat f16;
  f16.rate = 44100;
  f16.channels = 2;
  f16.bits = 16;
  plat::SoundBuffer* b = mixer.CreateBuffer(f16, high.data(), high.size());
  b->SetVolume(-600);
  b->Play(true);

  std::vector<float> mix(2 * 88200);
  for (size_t done = 0; done < 88200; done += 1024)
    mixer.Render(mix.data() + 2 * done, std::min<size_t>(1024, 88200 - done));

  testsupport::ScopedWorkDir dir;
  const std::string wav = WavBytes(mix);
  dir.WriteFile("mix.wav", wav);
  if (const char* keep = std::getenv("MIXER_WAV_DIR")) std::ofstream(std::string(keep) + "/mix.wav", std::ios::binary) << wav;

  const std::vector<float> left = ReadWavChannel(dir.ReadFile("mix.wav"), 0);
  const std::vector<float> right = ReadWavChannel(dir.ReadFile("mix.wav"), 1);
  ASSERT_EQ(left.size(), 88200u);
  const double gain = std::pow(10.0, -0.3);
  EXPECT_NEAR(Amplitude(left, 441), 100.0 / 128, 0.005);
  EXPECT_NEAR(Amplitude(right, 441), 100.0 / 128, 0.005);
  EXPECT_NEAR(Amplitude(left, 882), 0.25 * gain, 0.002);
  EXPECT_LT(Amplitude(right, 882), 0.001);
  for (double other : {220.5, 661.5, 1323.0, 2205.0}) {
    EXPECT_LT(Amplitude(left, other), 0.002) << other << " Hz";
  }
  float peak = 0;
  for (float v : left) peak = std::max(peak, std::fabs(v));
  EXPECT_GT(peak, 100.0 / 128);
  EXPECT_LT(peak, 0.95f);  // the sum stays clear of clipping
}
