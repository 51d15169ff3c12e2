// One frame of the frame loop and its pieces.
#include <new>
#include <string>

#include "base/boxes.h"
#include "base/report_log.h"
#include "base/text_format.h"
#include "base/timers.h"
#include "base/window_messages.h"
#include "game/game.h"
#include "media/dd_frame.h"
#include "media/key_config.h"
#include "platform/clock.h"
#include "platform/script_run.h"
#include "platform/thread.h"
#include "records/system_ini.h"

namespace {

constexpr int kPollRetryFrames = 60;

}  // namespace

void cGame::WaitFrame() {
  if (plat::ScriptRunning()) return;  // a scripted run goes as fast as it can
  if (FrameDrawing->IsDirect3D()) return;  // the present paces
  while (!LimitRate(m_nFps < 0 ? 0u : static_cast<unsigned>(m_nFps))) {
    if (plat::IsCancelled()) return;
    plat::Sleep(1);
  }
}

int cGame::RestoreLostSurfaces() {
  if (FrameDrawing->IsDirect3D() || !FrameDrawing->IsPrimaryLost()) return 1;
  if (!FrameDrawing->Restore()) return 0;
  return FrameDrawing->RestoreSurfaceSets() ? 1 : 0;
}

void cGame::PollInput(cVector<cInput>& input) {
  plat::ScriptPoll();
  cInput& first = input.At(0);
  if (KeyConfig.bAssign)
    first.PollAssigned(1, kPollRetryFrames);
  else
    first.PollDefault(0, INPUT_POLL_JOYSTICK | INPUT_POLL_KEYBOARD, kPollRetryFrames);
}

void cGame::Present() {
  if (FrameDrawing->IsDirect3D()) {
    if (!FrameDrawing->Present(m_nFps, 0, nullptr)) plat::Send(hWndMain.load(), WM_GAME_RESTOREDEVICE, 0, 0);
    return;
  }
  // A stage faster than the display must not wait for its refresh. While
  // the stage scene exists, m_nFps is the stage's own rate.
  const bool fastStage = (m_pStage && m_nFps > 60) || plat::ScriptRunning();
  if (FrameDrawing->IsWindowed())
    FrameDrawing->ShowFrame(fastStage ? 0 : 1);
  else
    FrameDrawing->ShowFrame(!bTimerPacing && !fastStage ? 1 : 0);
}

void cGame::DrawFps() {
  anFpsWorkRing[nFpsRingPos] = nFrameWorkMs.load();
  if (++nFpsRingPos >= FPS_RING_SIZE) {
    nFpsRingPos = 0;
    uint32_t sum = 0;
    for (int32_t work : anFpsWorkRing) sum += static_cast<uint32_t>(work);
    nFpsWorkAverage = sum >> 4;
  }
  const int fps = nMeasuredFps.load();
  const int average = static_cast<int>(nFpsWorkAverage);
  if (SystemIni.nShowFps == 2)
    FrameDrawing->DrawText(0, 549, 469, FormatText("FPS%2d(%2d)", fps, average).c_str());
  else
    FrameDrawing->DrawTextBox(1, 495, 463, 0, 0, FormatText("FPS%2d(%2d)", fps, average).c_str());
}

namespace {

// The scene last written to the trace; a scripted run waits on these lines.
int nTracedScene = -1;

void TraceScene(int scene) {
  if (scene == nTracedScene) return;
  nTracedScene = scene;
  plat::Trace("scene %d", scene);
}

}  // namespace

int cGame::Frame() {
  WaitFrame();
  StopwatchStart();
  if (!RestoreLostSurfaces()) return 0;
  PollInput(Input);
  try {
    RunSceneSetUp([this] { SwitchScene(m_nScene); });
  } catch (const std::bad_alloc&) {
    OutOfMemory();
  }
  if (plat::TraceOn()) TraceScene(m_nScene);
  if (cScene* scene = SceneOf(m_nScene)) scene->Run();
  nMeasuredFps = static_cast<int>(CountPerSecond(1));
  nFrameWorkMs = static_cast<int>(StopwatchElapsed(1));
  if (m_pStage && m_pSceneMaker) m_pSceneMaker->SetStageFps(nMeasuredFps.load());
  if (SystemIni.nShowFps != 0) DrawFps();
  Present();
  return 1;
}
