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
#include "platform/wav_listening.h"
#include "support/ogg_writer.h"
#include "support/test_support.h"

using wavlisten::Amplitude;
using wavlisten::ReadWavChannel;
using wavlisten::WavBytes;

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

  const std::vector<float> left = ReadWavChannel(dir.ReadFile("vox.wav"), 0);
  const std::vector<float> right = ReadWavChannel(dir.ReadFile("vox.wav"), 1);
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
