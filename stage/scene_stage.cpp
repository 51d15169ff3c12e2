// The stage scene's life: its construction with the state table, its
// release, and the per-frame entry.
#include "stage/scene_stage.h"

#include "game/game.h"
#include "media/dd_surface.h"
#include "media/surface_table.h"
#include "media/system_surfaces.h"
#include "platform/script_run.h"
#include "records/save_data.h"
#include "stage/scene_images.h"

cSceneStage::cSceneStage()
    : m_PhaseTable{&cSceneStage::FadeIn,     &cSceneStage::StartBanner, &cSceneStage::Play,
                   &cSceneStage::PauseMenu,  &cSceneStage::StageClear,  &cSceneStage::RetryMenu,
                   &cSceneStage::GameOver,   &cSceneStage::FadeOut} {
  m_ColorTone.Reset();
  m_Wait.bDone = 0;
  m_lpCurFlow = nullptr;
  m_bItemMessage = 0;
  m_bCloseRequested = 0;
  // The first start asks for the stage's music whatever played before.
  PlayData.m_nStageBgm = 0;
  m_nPhase = -1;
}

cSceneStage::~cSceneStage() {
  for (int i : kStageSceneImages) DDReleaseSurface(&SurfaceTable[i]);
  DDReleaseSurfaceVector(Off_StageBmp);
  Off_StageBmp.clear();
  Off_StageBmpDef.clear();
  DDReleaseSurfaceVector(Off_Sword);
  Off_Sword.clear();
  Off_SwordDef.clear();
  DDReleaseSurfaceVector(Off_Effect);
  Off_Effect.clear();
  Off_EffectDef.clear();
  if (CurStage == this) CurStage = nullptr;
}

namespace {

// The state last written to the trace, and of which stage; a scripted run
// waits on these lines.
const cSceneStage* pTracedStage = nullptr;
int nTracedStageState = -1;

void TraceStageState(const cSceneStage* stage, int state) {
  static const char* const kNames[STAGESTATE_COUNT] = {"fadein", "start", "play",     "pause",
                                                       "clear",  "retry", "gameover", "fadeout"};
  if (stage == pTracedStage && state == nTracedStageState) return;
  pTracedStage = stage;
  nTracedStageState = state;
  if (state >= 0 && state < STAGESTATE_COUNT) plat::Trace("stage %s", kNames[state]);
}

}  // namespace

int cSceneStage::Run() {
  if (m_nPhase == -1) {
    bool thrown = true;
    RunSceneSetUp([&] {
      Init();
      thrown = false;
    });
    // A thrown set-up has closed the program; nothing more runs.
    if (thrown) m_bFailed = 1;
    m_nPhase = STAGESTATE_FADEIN;
  }
  if (m_bFailed || m_nPhase < 0 || m_nPhase >= STAGESTATE_COUNT) return 0;
  (this->*m_PhaseTable[m_nPhase])();
  if (plat::TraceOn()) TraceStageState(this, m_nPhase);
  return 0;
}
