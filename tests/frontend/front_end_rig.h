#pragma once
// The program started in process on the sample project, headless, for the
// front-end scenes: the sample written once per test program and copied into
// a fresh folder for each test (with data\ made from default\), System.ini
// for the software display at the depth a test asks, the main window and
// InitGame as the program runs them, the frame loop on a fake clock and the
// keys pressed through the injected input source. The main window's
// requests go through a recorder (sounds, music, dialogs); the file and
// name dialogs answer as the test scripts them, the stage and replay loads
// are the program's own.
#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

#include "app/request_services.h"
#include "frontend/scene_map_menu.h"
#include "frontend/scene_option.h"
#include "frontend/scene_stage_select.h"
#include "frontend/scene_title.h"
#include "frontend/scene_world_map.h"
#include "game/game.h"
#include "platform/clock.h"
#include "platform/input.h"
#include "platform/messages.h"
#include "support/test_support.h"

namespace frontendtest {

// The dialogs' answers: a file path ("" cancels) per open dialog in turn
// (none left cancels), and the name the name-entry dialog leaves.
class ScriptedDialogs : public cRequestServices {
 public:
  bool RunNameDialog() override;
  bool OpenFile(plat::WindowHandle owner, char path[REQUEST_PATH_SIZE], const char* folder, const char* title,
                const char* filterText, const char* filterPatterns, const char* defaultExt) override;

  std::vector<std::string> files;
  std::string name = "aaa";
  std::vector<std::string> opened;  // the folders of the open dialogs shown
};

class FrontEnd : public ::testing::Test {
 protected:
  void SetUp() override {}
  void TearDown() override;

  struct Start {
    int bpp = 16;  // 8 runs full screen
    bool optionsFile = false;  // user_data\Option.dat written before start-up
    std::string options;
    std::string freeStage;  // System.ini's start stage
  };
  // Copies the sample here, writes System.ini and starts the program.
  void StartProgram(const Start& start);
  void StartProgram() { StartProgram(Start()); }

  // One frame of the program's loop (Game.Frame must succeed).
  void Frame();
  void Frames(int n) {
    for (int i = 0; i < n; ++i) Frame();
  }
  // A key (VK_* or a button key 'Z', 'X', ...) held for one frame, then a
  // frame without it.
  void Tap(int vk);
  // Frames until the scene's phase reaches `phase` (at most `limit`).
  bool RunUntilPhase(int phase, int limit = 60);
  // The running front-end scene's phase; -2 when none runs.
  int Phase() const;
  // The scene that runs this frame as an S; null when it is another.
  template <class S>
  static S* Running() {
    return dynamic_cast<S*>(Game.SceneOf(Game.m_nScene));
  }

  // What the main window was asked: "sound 1", "music 0 0", "name",
  // "stage", "replay"; Take empties the record.
  std::vector<std::string> TakeRequests();
  // The sounds only, as slots.
  std::vector<int> TakeSounds();

  std::string Report() const;
  std::string Read(const std::string& relative) const;  // host path below the game folder
  bool Exists(const std::string& relative) const;
  void Write(const std::string& relative, const std::string& bytes) const;
  std::string GameFolder() const { return m_dir.Path() + "/game"; }

  testsupport::ScopedWorkDir m_dir;
  testsupport::ScriptedBoxes m_boxes;
  ScriptedDialogs m_dialogs;
  plat::FakeClock m_clock{1000};
  plat::ScriptedInput m_keys;
  std::vector<std::string> m_requests;
  plat::WindowProc m_mainProc;
  bool m_started = false;
};

// The bytes of a surface's pixels in a rectangle (clipped to it), for
// comparing what two drawings left there.
std::string Pixels(DDSURFACEDATA* surface, int x, int y, int w, int h);

// Little-endian words, for the files written by hand.
std::string Le32(uint32_t v);

}  // namespace frontendtest
