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
#include "platform/wav_listening.h"
#include "support/test_support.h"

using wavlisten::Amplitude;
using wavlisten::kPi;
using wavlisten::ReadWavChannel;
using wavlisten::WavBytes;

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
