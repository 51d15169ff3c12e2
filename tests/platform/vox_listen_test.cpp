// Two OGG files played by the plug-in through the mixer, written to a WAV
// file and measured: each tone keeps its pitch and level. With VOX_WAV_DIR
// set, the file is also left there (vox.wav) to be listened to.
#include <gtest/gtest.h>

#include <cmath>
#include <cstdlib>
#include <fstream>
#include <string>
#include <vector>

#include "platform/mixer.h"
#include "platform/shared_library.h"
#include "platform/vox/vox_api.h"
#include "support/ogg_writer.h"
#include "support/test_support.h"

namespace {

constexpr double kPi = 3.14159265358979323846;

// 16-bit stereo PCM WAV at 44100 Hz of interleaved float frames.
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

std::vector<float> WavChannel(const std::string& bytes, int channel) {
  std::vector<float> out;
  for (size_t i = 44 + 2 * static_cast<size_t>(channel); i + 1 < bytes.size(); i += 4) {
    int16_t v = static_cast<int16_t>(static_cast<uint8_t>(bytes[i]) | (static_cast<uint8_t>(bytes[i + 1]) << 8));
    out.push_back(static_cast<float>(v) / 32767.0f);
  }
  return out;
}

// Amplitude of the sinusoid at `hz` in 44100 Hz samples (a single-bin DFT).
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

TEST(VoxListening, OggTonesKeepPitchAndLevelInTheWrittenMix) {
  testsupport::ScopedWorkDir dir;
  // 441 Hz at 22050 Hz mono, amplitude 0.5; 882 Hz at 44100 Hz stereo on the
  // left only, amplitude 0.25. Two seconds each.
  dir.WriteFile("low.ogg", testsupport::EncodeOgg(testsupport::SineFrames(441, 0.5, 22050, 1, 44100), 22050, 1));
  std::vector<float> high = testsupport::SineFrames(882, 0.25, 44100, 2, 88200);
  for (size_t i = 1; i < high.size(); i += 2) high[i] = 0;
  dir.WriteFile("high.ogg", testsupport::EncodeOgg(high, 44100, 2));

  plat::Mixer mixer;
  plat::SharedLibrary lib;
  ASSERT_TRUE(lib.Open(VOX_LIBRARY_FILE)) << lib.Error();
  auto create = reinterpret_cast<VOXCREATEPROC>(lib.Symbol(VOX_CREATE_NAME));
  auto attach = reinterpret_cast<VOXATTACHHOSTPROC>(lib.Symbol(VOX_ATTACH_HOST_NAME));
  ASSERT_TRUE(create && attach);
  const MIXERHOST host = mixer.Host();
  ASSERT_EQ(attach(&host), 1);
  cVoxObject* low = create();
  cVoxObject* hi = create();
  ASSERT_EQ(low->Load((dir.Path() + "/low.ogg").c_str()), 1);
  ASSERT_EQ(hi->Load((dir.Path() + "/high.ogg").c_str()), 1);
  low->Play();
  hi->Play();

  std::vector<float> mix(2 * 88200);
  for (size_t done = 0; done < 88200; done += 1024)
    mixer.Render(mix.data() + 2 * done, std::min<size_t>(1024, 88200 - done));
  low->Destroy();
  hi->Destroy();
  attach(nullptr);

  const std::string wav = WavBytes(mix);
  dir.WriteFile("vox.wav", wav);
  if (const char* keep = std::getenv("VOX_WAV_DIR")) std::ofstream(std::string(keep) + "/vox.wav", std::ios::binary) << wav;

  const std::vector<float> left = WavChannel(dir.ReadFile("vox.wav"), 0);
  const std::vector<float> right = WavChannel(dir.ReadFile("vox.wav"), 1);
  ASSERT_EQ(left.size(), 88200u);
  // Vorbis is lossy; a tone keeps its level within a few hundredths.
  EXPECT_NEAR(Amplitude(left, 441), 0.5, 0.02);
  EXPECT_NEAR(Amplitude(right, 441), 0.5, 0.02);
  EXPECT_NEAR(Amplitude(left, 882), 0.25, 0.02);
  EXPECT_LT(Amplitude(right, 882), 0.01);
  for (double other : {220.5, 661.5, 1323.0, 2205.0}) {
    EXPECT_LT(Amplitude(left, other), 0.01) << other << " Hz";
  }
}
