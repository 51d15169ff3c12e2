// The audio device on SDL's dummy driver (the tests' environment names it).
#include "platform/audio_device.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <chrono>
#include <thread>

#include "platform/mixer.h"

namespace {

bool WaitForFrames(const plat::Mixer& m, uint64_t frames) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(5);
  while (m.FramesRendered() < frames) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

}  // namespace

TEST(AudioDevice, OpensRendersTheMixerAndStopsOnClose) {
  plat::Mixer mixer;
  plat::AudioDevice device;
  plat::AudioOpen result = device.Open(mixer);
  ASSERT_NE(result, plat::AudioOpen::kNone);
  EXPECT_TRUE(device.IsOpen());
  EXPECT_EQ(device.DriverName(), "dummy");
  EXPECT_EQ(result, plat::AudioOpen::kSilent);
  EXPECT_EQ(device.Open(mixer), result);  // open already: kept
  // The device pulls whole blocks of 1024 frames.
  ASSERT_TRUE(WaitForFrames(mixer, 2048));
  EXPECT_EQ(mixer.FramesRendered() % 1024, 0u);
  device.Close();
  EXPECT_FALSE(device.IsOpen());
  const uint64_t after = mixer.FramesRendered();
  std::this_thread::sleep_for(std::chrono::milliseconds(60));
  EXPECT_EQ(mixer.FramesRendered(), after);
  device.Close();  // closed already: nothing

  // It opens again after a close.
  EXPECT_NE(device.Open(mixer), plat::AudioOpen::kNone);
  ASSERT_TRUE(WaitForFrames(mixer, after + 1024));
}

TEST(AudioDevice, FallsBackToTheDummyDriverWhenNoCardOpens) {
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  plat::Mixer mixer;
  plat::AudioDevice device;
  plat::AudioOpen result = device.Open(mixer);
  setenv("SDL_AUDIODRIVER", "dummy", 1);
  EXPECT_EQ(result, plat::AudioOpen::kSilent);
  EXPECT_EQ(device.DriverName(), "dummy");
  EXPECT_TRUE(WaitForFrames(mixer, 1024));
  device.Close();
  // Closed and opened again, it falls back again.
  setenv("SDL_AUDIODRIVER", "no-such-driver", 1);
  EXPECT_EQ(device.Open(mixer), plat::AudioOpen::kSilent);
  device.Close();
  setenv("SDL_AUDIODRIVER", "dummy", 1);
}

TEST(AudioDevice, TestModesStandInForTheCard) {
  plat::Mixer mixer;
  plat::AudioDevice device;
  plat::SetAudioTestMode(plat::AudioTestMode::kNoDevice);
  EXPECT_EQ(device.Open(mixer), plat::AudioOpen::kNone);
  EXPECT_FALSE(device.IsOpen());
  plat::SetAudioTestMode(plat::AudioTestMode::kPulledByHand);
  EXPECT_EQ(device.Open(mixer), plat::AudioOpen::kDevice);
  std::this_thread::sleep_for(std::chrono::milliseconds(30));
  EXPECT_EQ(mixer.FramesRendered(), 0u);  // nothing but the test renders
  device.Close();
  plat::SetAudioTestMode(plat::AudioTestMode::kOff);
}
