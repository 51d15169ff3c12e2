// Sound from several threads at once: the window thread's plays, the game
// thread's cursor sound and volume change, and the device's renders.
#include <gtest/gtest.h>

#include <atomic>
#include <cstdio>
#include <thread>
#include <vector>

#include "media/sound_effect.h"
#include "media/wave_bytes.h"
#include "platform/audio_device.h"
#include "platform/mixer.h"
#include "support/test_support.h"
#include "threads/wait_until.h"

using namespace wavebytes;

namespace {

// Renders the mixer until stopped, as the device's thread does.
class MixRenderer {
 public:
  explicit MixRenderer(plat::Mixer& m) : m_thread([this, &m] {
    std::vector<float> out(2 * 256);
    while (!m_stop) m.Render(out.data(), 256);
  }) {}
  ~MixRenderer() {
    m_stop = true;
    m_thread.join();
  }

 private:
  std::atomic<bool> m_stop{false};
  std::thread m_thread;
};

}  // namespace

TEST(SoundThreads, PlaysCursorSoundsAndVolumeChangesMeetOnlyThroughTheBankLock) {
  testsupport::ScopedWorkDir dir;
  dir.WriteFile("wave/a.wav", Riff(Pcm(1, 22050, 8) + Chunk("data", std::string(300, '\xA0'))));
  plat::SetAudioTestMode(plat::AudioTestMode::kPulledByHand);
  ASSERT_TRUE(DS_Init(plat::WindowHandle{}, 22050, 8, 1));
  cVector<SEDEF> defs(2);
  for (SEDEF& d : defs) {
    std::snprintf(d.szFileName, sizeof(d.szFileName), "wave\\a.wav");
    d.nCopies = 4;
  }
  cVector<SEDATA> bank(2);
  DS_LoadSounds(&bank, &defs, 0);
  ASSERT_NE(bank[1].lpBuffers, nullptr);
  {
    MixRenderer renderer(plat::MainMixer);
    std::thread game([&bank] {
      for (int i = 0; i < 2000; ++i) {
        DS_PlayCursorSound(5, 3, 1);
        DS_SetVolume(&bank[1], i % 4, i % 2 ? -300 : 250, 1);
        DS_GetVolume(&bank[0], 0);
      }
    });
    for (int i = 0; i < 2000; ++i) {
      DS_Play(&bank[i % 2], i % 7 == 0 ? DSBPLAY_LOOPING : 0);
    }
    game.join();
  }
  for (const SEDATA& e : bank) {
    EXPECT_GE(e.nNext, 0);
    EXPECT_LT(e.nNext, e.nCopies);
    for (int j = 0; j < e.nCopies; ++j) {
      EXPECT_GE(e.lpBuffers[j]->GetVolume(), -10000);
      EXPECT_LE(e.lpBuffers[j]->GetVolume(), 0);
    }
  }
  DS_Release();
  plat::SetAudioTestMode(plat::AudioTestMode::kOff);
}

TEST(SoundThreads, BuffersComeAndGoWhileTheMixerRenders) {
  plat::Mixer mixer;
  MixRenderer renderer(mixer);
  std::vector<uint8_t> data(64, 200);
  plat::PcmFormat format;
  for (int i = 0; i < 500; ++i) {
    plat::SoundBuffer* b = mixer.CreateBuffer(format, data.data(), data.size());
    plat::SoundBuffer* copy = mixer.DuplicateBuffer(b);
    b->Play(i % 2 == 0);
    copy->Play(false);
    copy->SetVolume(-i);
    mixer.ReleaseBuffer(b);
    if (i % 3) mixer.ReleaseBuffer(copy);
  }
}

namespace {

// A stream whose pull can be held inside, to see who waits for it.
struct HeldStream {
  std::atomic<bool> hold{false};
  std::atomic<bool> inside{false};
  std::atomic<int> pulls{0};
  int channels = 1;
  static size_t Pull(void* user, float* out, size_t frames, uint64_t) {
    auto* self = static_cast<HeldStream*>(user);
    self->pulls++;
    self->inside = true;
    while (self->hold) std::this_thread::yield();
    self->inside = false;
    for (size_t i = 0; i < frames * self->channels; ++i) out[i] = 0.25f;
    return frames;
  }
};

}  // namespace

TEST(SoundThreads, RemovingAStreamWaitsForItsPullInProgress) {
  plat::Mixer mixer;
  HeldStream stream;
  stream.hold = true;
  uint32_t id = mixer.AddStream(44100, 1, HeldStream::Pull, &stream);
  MixRenderer renderer(mixer);
  ASSERT_TRUE(testsupport::WaitUntil([&] { return stream.inside.load(); }));

  std::atomic<bool> removed{false};
  std::thread remover([&] {
    mixer.RemoveStream(id);
    removed = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(50));
  EXPECT_FALSE(removed.load());  // the pull still runs
  stream.hold = false;
  remover.join();
  EXPECT_FALSE(stream.inside.load());
  const int pulls = stream.pulls;
  std::this_thread::sleep_for(std::chrono::milliseconds(20));
  EXPECT_EQ(stream.pulls.load(), pulls);  // never pulled again

  // Added and removed through the plug-in interface while rendering.
  MIXERHOST host = mixer.Host();
  for (int i = 0; i < 200; ++i) {
    HeldStream s;
    s.channels = 1 + i % 2;
    uint32_t sid = host.AddStream(host.lpHost, 22050 + i, s.channels, HeldStream::Pull, &s);
    std::this_thread::yield();
    host.RemoveStream(host.lpHost, sid);
  }
}
