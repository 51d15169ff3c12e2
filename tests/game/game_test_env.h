#pragma once
// A frame loop to drive by hand: the scene manager with recording scenes,
// the drawing calls recorded by the stand-in, a fake clock, scripted input
// and the debug log on, all as at start-up.
#include <gtest/gtest.h>

#include <functional>
#include <map>
#include <new>
#include <string>
#include <vector>

#include "base/report_log.h"
#include "base/timers.h"
#include "game/game.h"
#include "game/phase_scene.h"
#include "frame_drawing_recorder.h"
#include "media/input.h"
#include "media/key_config.h"
#include "platform/clock.h"
#include "platform/close_request.h"
#include "platform/input.h"
#include "records/system_ini.h"
#include "support/test_support.h"

namespace gametest {

// What happened, in order: "new 3", "init 3", "fade-in 3", "run 3",
// "fade-out 3", "delete 3", "stage fps 59".
using EventLog = std::vector<std::string>;

// How a test scene behaves: after `framesBeforeLeaving` frames of its own
// phase it leaves for `next`; its fade-out lasts two frames; it sleeps
// `workMs` of the fake clock in every own frame.
struct SceneScript {
  int next = -1;  // -1: never leaves
  int framesBeforeLeaving = 0;
  int workMs = 0;
  const char* throwInInit = nullptr;
  uint16_t buttonMask = 0;
};

class cTestScene : public cPhaseScene<cTestScene> {
 public:
  cTestScene(int number, const SceneScript& script, EventLog& log)
      : cPhaseScene({&cTestScene::PhaseFadeIn, &cTestScene::PhaseOwn, &cTestScene::PhaseFadeOut},
                    script.buttonMask),
        m_number(number), m_script(script), m_log(log) {
    Log("new");
  }
  ~cTestScene() override { Log("delete"); }

  void Init() override {
    Log("init");
    m_nOwnFrames = 0;
    if (m_script.throwInInit) throw m_script.throwInInit;
  }
  int PhaseFadeIn() {
    Log("fade-in");
    FadeIn();
    m_nPhase = 1;
    return 1;
  }
  int PhaseOwn() {
    Log("run");
    seenButtons.push_back(Input.At(0).m_wButton);
    if (m_script.workMs) plat::Sleep(static_cast<uint32_t>(m_script.workMs));
    if (m_script.next >= 0 && ++m_nOwnFrames >= m_script.framesBeforeLeaving) Leave(m_script.next);
    return 1;
  }
  int PhaseFadeOut() {
    Log("fade-out");
    FadeOut();
    if (++m_nSubState >= 2) {
      m_nSubState = 0;
      FinishFadeOut(m_number);
    }
    return 1;
  }

  std::vector<uint16_t> seenButtons;

 private:
  void Log(const char* what) { m_log.push_back(std::string(what) + " " + std::to_string(m_number)); }
  int m_number;
  SceneScript m_script;
  EventLog& m_log;
  int m_nOwnFrames = 0;
};

// Makes test scenes from a script per scene number; a number without a
// script makes nothing. `throwOnCreate` throws instead (a const char*, a
// std::string, or "bad_alloc" for a failed allocation).
class cTestSceneMaker : public cSceneMaker {
 public:
  explicit cTestSceneMaker(EventLog& log) : m_log(log) {}
  cScene* Create(int scene) override {
    if (throwOnCreate) {
      if (std::string(throwOnCreate) == "bad_alloc") throw std::bad_alloc();
      if (throwAsString) throw std::string(throwOnCreate);
      throw throwOnCreate;
    }
    auto it = scripts.find(scene);
    if (it == scripts.end()) return nullptr;
    auto* made = new cTestScene(scene, it->second, m_log);
    // The stage class is opaque here; only the pointer's life is watched.
    if (scene == SCENE_STAGE) CurStage = reinterpret_cast<cSceneStageData*>(made);
    return made;
  }
  void SetStageFps(int fps) override { m_log.push_back("stage fps " + std::to_string(fps)); }

  std::map<int, SceneScript> scripts;
  const char* throwOnCreate = nullptr;
  bool throwAsString = false;

 private:
  EventLog& m_log;
};

class FrameLoop : public ::testing::Test {
 protected:
  void SetUp() override {
    ASSERT_EQ(ReportOpen("Report_Game.txt"), 1);
    m_dir.WriteFile("EC_Game.txt", "");
    DebugLogInit(1, "EC_Game.txt");
    plat::ResetCloseRequests();
    ResetTimers();
    Game.DeleteScenes();
    Game = cGame();
    Game.m_nFps = 60;
    Game.m_nFadeStep = 10;
    Game.m_pSceneMaker = &maker;
    Input.At(0) = cInput();
    Input.At(0).SetRepeat(18, 6);
    Input.At(0).SetJoyButtonMasks();
    DefaultKeyConfig(KeyConfig);
    DDFrameStandIn = DDFRAMESTANDIN();
    DDFrameStandIn.bRecord = 1;
    FrameDrawing = &m_drawing;
    SystemIni.nShowFps = 0;
    for (int32_t& work : anFpsWorkRing) work = 0;
    nFpsRingPos = 0;
    nFpsWorkAverage = 0;
    nMeasuredFps = 0;
    nFrameWorkMs = 0;
    bTimerPacing = 0;
  }
  void TearDown() override {
    Game.DeleteScenes();
    Game = cGame();
    DDFrameStandIn = DDFRAMESTANDIN();
    FrameDrawing = m_layerDrawing;
    bDirect3DBackEnd = 0;
    DebugLogInit(0, "EC_Game.txt");
    ResetTimers();
  }

  // Runs n frames; each must return 1.
  void Frames(int n) {
    for (int i = 0; i < n; ++i) ASSERT_EQ(Game.Frame(), 1) << "frame " << i;
  }
  // The events since the last call.
  EventLog TakeEvents() {
    EventLog taken;
    taken.swap(events);
    return taken;
  }
  std::vector<std::string> TakeDrawCalls() {
    std::vector<std::string> taken;
    taken.swap(DDFrameStandIn.calls);
    return taken;
  }
  std::string DebugLog() const { return m_dir.ReadFile("EC_Game.txt"); }

  testsupport::ScopedWorkDir m_dir;
  plat::FakeClock m_clock{5000};
  plat::ScriptedInput m_devices;
  EventLog events;
  cTestSceneMaker maker{events};
  cRecordingFrameDrawing m_drawing;
  cFrameDrawing* m_layerDrawing = FrameDrawing;
};

}  // namespace gametest
