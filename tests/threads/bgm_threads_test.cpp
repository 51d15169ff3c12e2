// Music from several threads at once: the options' switch (Init, UnInit) on
// the game thread, requests and the close request's Stop on the window
// thread, and the device's renders pulling the OGG streams.
#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>
#include <vector>

#include "media/bgm.h"
#include "platform/midi_out.h"
#include "platform/message_box.h"
#include "platform/mixer.h"
#include "support/ogg_writer.h"
#include "support/test_support.h"
#include "threads/wait_until.h"

namespace {

// Renders the mixer until stopped, as the device's thread does; counts the
// blocks that carried sound.
class Renderer {
 public:
  explicit Renderer(plat::Mixer& m) : m_thread([this, &m] {
    std::vector<float> out(2 * 256);
    while (!m_stop) {
      m.Render(out.data(), 256);
      for (float v : out)
        if (v != 0.0f) {
          ++m_sounding;
          break;
        }
    }
  }) {}
  ~Renderer() {
    m_stop = true;
    m_thread.join();
  }
  int Sounding() const { return m_sounding.load(); }

 private:
  std::atomic<bool> m_stop{false};
  std::atomic<int> m_sounding{0};
  std::thread m_thread;
};

}  // namespace

TEST(MusicThreads, TheOptionsSwitchAndRequestsMeetWhileTheMixerPulls) {
  testsupport::ScopedWorkDir dir;
  dir.WriteFile("bgm/a.ogg", testsupport::EncodeOgg(testsupport::SineFrames(441, 0.5, 22050, 2, 4000), 22050, 2));
  // A note, then the end: a song of half a second, looping.
  const unsigned char song[] = {'M', 'T', 'h', 'd', 0, 0, 0, 6, 0, 0, 0, 1, 0, 96, 'M', 'T', 'r', 'k', 0, 0, 0, 12,
                                0x00, 0x90, 0x3C, 0x64, 0x30, 0x80, 0x3C, 0x00, 0x30, 0xFF, 0x2F, 0x00};
  dir.WriteFile("bgm/a.mid", std::string(reinterpret_cast<const char*>(song), sizeof(song)));
  plat::SetMidiSynth(std::make_shared<plat::RecordingSynth>());
  SetVoxLibraryPath(VOX_LIBRARY_FILE);
  // Slot 0 is undetermined (OGG, else MIDI), slot 1 MIDI.
  BGMOGGNAME ogg[2] = {"bgm\\a.ogg", ""};
  BGMMIDINAME midi[2] = {"bgm\\a.mid", "bgm\\a.mid"};
  cBgm bgm;
  {
    Renderer renderer(plat::MainMixer);
    std::thread game([&bgm, &ogg, &midi] {
      for (int i = 0; i < 40; ++i) {
        bgm.Init(1, ogg, midi, 2);
        bgm.Play(0, i % 2, 1, 0, 1);
        std::this_thread::yield();
        bgm.UnInit();
      }
      bgm.Init(1, ogg, midi, 2);
    });
    for (int i = 0; i < 400; ++i) {
      bgm.SetFile(1, i % 4 ? "bgm\\a.mid" : "bgm\\a.ogg");
      bgm.Play(0, i % 2, 1, i % 3 == 1, i % 3 == 0);
      if (i % 5 == 0) bgm.Stop();
    }
    game.join();
    ASSERT_EQ(bgm.Play(0, 0, 1, 0, 1), 1);
    const int before = renderer.Sounding();
    EXPECT_TRUE(testsupport::WaitUntil([&] { return renderer.Sounding() > before; }));
  }
  bgm.UnInit();
  plat::SetMidiSynth(nullptr);
  SetVoxLibraryPath("");
}

TEST(MusicThreads, ARequestWhileInitShowsItsBoxDoesNotWaitForTheBox) {
  // The options switch music on with the plug-in missing; the box waits for
  // the window thread, which is handling a close request meanwhile.
  SetVoxLibraryPath("/nonexistent/libvox.so");
  BGMOGGNAME ogg[1] = {"bgm\\a.ogg"};
  BGMMIDINAME midi[1] = {"bgm\\a.mid"};
  cBgm bgm;
  std::atomic<bool> stopped{false};
  bool stoppedDuringBox = false;
  std::thread window;
  plat::SetBoxScript([&](const plat::BoxRequest&) {
    window = std::thread([&] {
      bgm.Stop();
      stopped = true;
    });
    stoppedDuringBox = testsupport::WaitUntil([&] { return stopped.load(); }, 2000);
    return static_cast<int>(plat::BOX_OK);
  });
  std::thread game([&] { EXPECT_EQ(bgm.Init(1, ogg, midi, 1), 0); });
  game.join();
  plat::SetBoxScript(nullptr);
  ASSERT_TRUE(window.joinable());
  window.join();
  EXPECT_TRUE(stoppedDuringBox);
  SetVoxLibraryPath("");
}
