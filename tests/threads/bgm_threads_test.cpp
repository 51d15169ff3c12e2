// Music from several threads at once: the options' switch (Init, UnInit) on
// the game thread, requests and the close request's Stop on the window
// thread, and the device's renders pulling the OGG streams.
#include <gtest/gtest.h>

#include <atomic>
#include <cstring>
#include <thread>
#include <vector>

#include "media/bgm.h"
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
  SetVoxLibraryPath(VOX_LIBRARY_FILE);
  BGMOGGNAME ogg[2];
  BGMMIDINAME midi[2];
  for (int i = 0; i < 2; ++i) {
    std::strcpy(ogg[i], "bgm\\a.ogg");
    std::strcpy(midi[i], "bgm\\a.mid");
  }
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
      bgm.SetFile(i % 2, "bgm\\a.ogg");
      bgm.Play(0, i % 2, 1, 0, i % 3 == 0);
      if (i % 5 == 0) bgm.Stop();
    }
    game.join();
    ASSERT_EQ(bgm.Play(0, 0, 1, 0, 1), 1);
    const int before = renderer.Sounding();
    EXPECT_TRUE(testsupport::WaitUntil([&] { return renderer.Sounding() > before; }));
  }
  bgm.UnInit();
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
