#pragma once
// The scenes of the program and the convention every scene follows. The
// scene manager (cGame, game/game.h) creates a scene on the first frame that
// asks for its number, calls its Run once a frame, and deletes it on the
// first frame that asks for another one.
#include <cstdint>
#include <string>

#include "base/report_log.h"
#include "base/window_messages.h"

// Scene numbers (cGame::m_nScene and friends).
constexpr int SCENE_TITLE = 0;
constexpr int SCENE_WORLDMAP = 1;
constexpr int SCENE_MAPMENU = 2;
constexpr int SCENE_STAGESELECT = 3;
constexpr int SCENE_STAGE = 4;
constexpr int SCENE_OPTION = 5;
constexpr int SCENE_COUNT = 6;

// Game modes: the title menu's entries (cGame::m_nPlayCommand).
constexpr int GAMEMODE_NEWSTORY = 0;
constexpr int GAMEMODE_CONTINUE = 1;
constexpr int GAMEMODE_CHALLENGE = 2;
constexpr int GAMEMODE_FREE = 3;
constexpr int GAMEMODE_REPLAY = 4;
constexpr int GAMEMODE_OPTION = 5;
constexpr int GAMEMODE_EXIT = 6;

// The base of the six scenes. A constructor or an Init that cannot set the
// scene up throws its failure message as a text (const char* or
// std::string, Shift-JIS); the frame loop writes it to the debug log and
// closes the program, and the frame goes on.
class cScene {
 public:
  virtual ~cScene() = default;
  // One frame of the scene, on the thread of the current frame loop.
  virtual int Run() { return 0; }
  // Set-up on each entry into the scene.
  virtual void Init() {}
  virtual void FadeIn() {}
  virtual void FadeOut() {}
};

// Passes a text thrown by a scene's set-up to the debug log and closes the
// program; other exceptions go on up.
template <class F>
void RunSceneSetUp(F&& setUp) {
  try {
    setUp();
  } catch (const char* text) {
    DebugLogFatal(hWndMain.load(), "%s", text ? text : "");
  } catch (const std::string& text) {
    DebugLogFatal(hWndMain.load(), "%s", text.c_str());
  }
}
