#pragma once
// A stage played the way the program plays it, for tests of the stage
// scene: the scene maker of the program makes scene 4 and Game.Frame runs
// it frame by frame on a fake clock, headless, with the player's keys
// injected into the key table.
//
//   StageRunner run;                                  // the start project
//   MapBuilder map({"H...", "####"});
//   map.Build();
//   map.PlaceCharas('H', CharaDef().PlayerOperated());
//   run.TakeStage();                                  // as LoadStage leaves it
//   run.keys.Idle(100).Hold(INPUT_RIGHT, 1, 5);       // words per frame
//   run.Enter();
//   run.Frames(120);
//   EXPECT_EQ(run.Scene()->m_nPhase, STAGESTATE_PLAY);
//
// It holds a GameWorld (the globals reset, its EventLog, a fresh working
// folder) with a project in that folder: the start project's records
// (start_project.h) or the sample project, both with the sample's images,
// so that the stage scene's images load. The drawing layer runs on the
// software display without a window; the play drawing goes to a
// RecordingRenderer unless `Drawing::Layer` asks for the layer's own.
// Everything is put back at the end.
//
// With Options::gameThread the frames run as the program runs them: on
// thGame, while the test's thread pumps the main window's messages (the
// sounds, the name entry); the waits and the ranking view then run on real
// thPause and thRanking. Each call that runs frames starts thGame and
// returns once it has ended. The EventLog then also notes the frame loop
// of each event (Thread) and each state the stage enters (State, "<phase>").
#include <functional>
#include <memory>
#include <string>

#include "platform/clock.h"
#include "platform/input.h"
#include "support/game_world.h"
#include "support/recording_renderer.h"
#include "support/scripted_input.h"

class cSceneStage;

namespace testsupport {

class StageRunner {
 public:
  enum class Project { Start, Sample };
  enum class Drawing { Recorded, Layer };
  struct Options {
    Project project = Project::Start;
    Drawing drawing = Drawing::Recorded;
    int bpp = 16;          // of the software display, or of the 3D device
    bool d3d = false;      // the 3D device in place of the software display
    int speedLevel = 1;    // of the harness stage
    uint32_t clockStart = 1000;
    bool gameThread = false;
  };

  StageRunner();
  explicit StageRunner(const Options& options);
  ~StageRunner();
  StageRunner(const StageRunner&) = delete;
  StageRunner& operator=(const StageRunner&) = delete;

  // Stage as it stands (a harness stage built with MapBuilder and the
  // builders) taken as loaded: StageCopy gets its settings.
  void TakeStage();
  // The sample's stage n (SampleStageName) loaded with LoadStage; false
  // when it did not load. Sample project only.
  bool LoadSampleStage(int n);

  // Scene 4 becomes the current scene, entered from scene `from`.
  void Enter(int from = 0);
  // Enter, then frames until the stage plays (its fade-in and banners
  // over); false, with a test failure, when it does not within `limit`.
  bool EnterPlay(int from = 0, int limit = 400);
  // One frame of Game.Frame: the next scripted input words and the keys of
  // `held` pressed, the hook, then the frame. Game.Frame's result.
  int Frame();
  // n frames; the frames run.
  int Frames(int n);
  // Frames until `done` holds (tested before each frame) or `limit` frames
  // ran; whether it held.
  bool RunUntil(const std::function<bool()>& done, int limit);

  // Runs `body` on thGame while this thread pumps (with
  // Options::gameThread), or here at once.
  void OnGameThread(const std::function<void()>& body);

  // The stage scene while scene 4 exists, else null.
  cSceneStage* Scene() const;
  // The frames run since Enter.
  int FrameCount() const { return m_frames; }

  GameWorld& World() { return *m_world; }
  EventLog& Events() { return m_world->events; }
  // Null with Drawing::Layer.
  RecordingRenderer* Renderer() { return m_renderer.get(); }

  // The input words of each frame (directions, buttons), pressed as their
  // keys: the arrows, and Z X C V A S D F for buttons 1..8.
  ScriptedInput keys;
  // Keys held for every frame until released (VK_SPACE for the pause key ...).
  void Hold(int vk) { m_keys.Press(vk); }
  void Release(int vk) { m_keys.Release(vk); }
  // Run before each frame, after its keys are set; the frame number (from 1).
  std::function<void(int frame)> beforeFrame;
  // Run at each present, on the thread of the frame loop that presents
  // ("game", "pause", "ranking"), with the count of presents of that loop
  // since the loop began (from 1). Keys pressed here are read by the next
  // frame of that loop.
  std::function<void(const std::string& loop, int n)> onPresent;
  // Game thread only: run on the test's thread between its pumps.
  std::function<void()> whilePumping;

  plat::FakeClock clock;

 private:
  void StartDrawing(int bpp, bool d3d);
  int FrameHere();
  class PresentHook;
  friend class PresentHook;
  std::unique_ptr<PresentHook> m_presentHook;
  int m_lastPhase = -2;
  void WriteProject(Project project);

  Options m_options;
  std::unique_ptr<GameWorld> m_world;
  std::unique_ptr<RecordingRenderer> m_renderer;
  plat::ScriptedInput m_keys;
  int m_heldDir = 0;
  int m_heldButtons = 0;
  int m_frames = 0;
};

}  // namespace testsupport
