#pragma once
// The scene manager and frame driver: `Game` owns the six scenes, runs one
// frame at a time (pace, restore lost surfaces, poll the input, switch
// scenes, run the current scene, measure, present) and holds the state that
// the scenes read and write to move between each other.
#include <atomic>
#include <cstdint>

#include "base/container.h"
#include "game/scene.h"
#include "media/input.h"

class cSceneStageData;

// Makes the scenes by number. The program installs the one that names the
// concrete scene classes (app/); tests install their own.
class cSceneMaker {
 public:
  virtual ~cSceneMaker() = default;
  // Called by cGame::SwitchScene when scene `scene` (0..5) is missing: a new
  // scene, or null when there is none to make (then nothing runs). Making
  // the stage (4) also sets CurStage. May throw a scene's failure text or
  // std::bad_alloc.
  virtual cScene* Create(int scene) = 0;
  // After each frame's measurement while the stage scene exists: its
  // measured frames-per-second field = fps.
  virtual void SetStageFps(int fps) {}
  // At the end of a free stage that is not numbered: the stage file `path`
  // loaded again for a fresh free run. False when it cannot be loaded. A
  // maker without one loads nothing.
  virtual bool ReloadFreeStage(const char* path) { return true; }
};

class cGame {
 public:
  ~cGame();  // DeleteScenes

  // One frame, on the game thread. 0 when lost DirectDraw surfaces could not
  // be restored (the game thread then closes the program), else 1.
  int Frame();
  // Makes sure scene `scene` exists and, unless m_bKeepScenes, that no other
  // does. A number outside 0..5 only deletes. Thrown texts of a scene's
  // constructor and a failed allocation pass to the caller.
  void SwitchScene(int scene);
  // The pieces of a frame, also run by the stage's pause and ranking loops:
  // wait for the frame's time (DirectDraw; Direct3D paces in its present),
  void WaitFrame();
  // restore lost DirectDraw surfaces (0 when one cannot be restored),
  int RestoreLostSurfaces();
  // poll the first input record,
  void PollInput(cVector<cInput>& input);
  // and show the finished back buffer.
  void Present();

  // Deletes the scenes that exist in the order title, world map, map menu,
  // stage select, options, stage (CurStage is cleared with the stage).
  // Shutdown runs it; a second run finds nothing.
  void DeleteScenes();
  // The scene of a number; null when it does not exist or the number is
  // outside 0..5.
  cScene* SceneOf(int scene) const;

  cScene* m_pTitle = nullptr;
  cScene* m_pWorldMap = nullptr;
  cScene* m_pMapMenu = nullptr;
  cScene* m_pStageSelect = nullptr;
  cScene* m_pOption = nullptr;
  cScene* m_pStage = nullptr;
  int32_t m_nScene = 0;        // the scene that runs this frame
  int32_t m_nNextScene = 0;    // entered when the current scene's fade-out ends
  int32_t m_nPrevScene = 0;    // the scene that ran before the current one
  int32_t m_nPlayCommand = 0;  // GAMEMODE_* chosen on the title
  int32_t m_nPlayKind = 0;     // PLAYKIND_*
  int32_t m_bKeepScenes = 0;   // a switch deletes no scene
  int32_t m_nSelectCursor = 0; // the stage select's cursor, kept while it does not exist
  int32_t m_nSelectTop = 0;
  int32_t m_bRanking = 0;      // rankings on for the chosen play
  double m_dUnused[2] = {};    // 1.0 from start-up; nothing reads them
  int32_t m_nFps = 0;          // target frames per second: 60, or the stage's own rate
  int32_t m_nFadeStep = 0;     // fade speed of the scene fades
  int32_t m_nBgm = 0;          // music number last requested by a scene; 0 none
  cSceneMaker* m_pSceneMaker = nullptr;  // makes the scenes; none makes nothing

 private:
  cScene*& Slot(int scene);
  void DrawFps();
};

extern cGame Game;

// The stage scene while scene 4 exists, else null: its data part
// (game/stage_data.h), which is what the game objects use of it.
extern cSceneStageData* CurStage;

// Frames per second published once a second, and the work time of the last
// frame in milliseconds. Written by the frame loop, read anywhere.
extern std::atomic<int> nMeasuredFps;
extern std::atomic<int> nFrameWorkMs;

// The frame-rate display's ring of work times (ms), its write position and
// the average of its last 16 entries (0 until the ring first fills).
constexpr int FPS_RING_SIZE = 16;
extern int32_t anFpsWorkRing[FPS_RING_SIZE];
extern int32_t nFpsRingPos;
extern uint32_t nFpsWorkAverage;

// DirectDraw: frames are paced by the timer and shown by a copy instead of a
// flip (always in a window). Set by start-up.
extern int bTimerPacing;
