// The screen effects over the finished stage frame, and the colour tone.
// Until they are built, each call is noted in the debug log, no effect ends
// and the tone's start is the stage data's own.
#include "base/report_log.h"
#include "stage/scene_stage.h"

void cSceneStage::RunScreenEffect(int bFrozen) { DebugLogPrintf("RunScreenEffect %d", bFrozen); }

namespace {

int Noted(const char* name, int bFrozen) {
  DebugLogPrintf("%s %d", name, bFrozen);
  return 0;
}

}  // namespace

int cSceneStage::ScrFxNone(int bFrozen) { return Noted("ScrFxNone", bFrozen); }
int cSceneStage::ScrFxMove(int bFrozen) { return Noted("ScrFxMove", bFrozen); }
int cSceneStage::ScrFxShakeX(int bFrozen) { return Noted("ScrFxShakeX", bFrozen); }
int cSceneStage::ScrFxShakeY(int bFrozen) { return Noted("ScrFxShakeY", bFrozen); }
int cSceneStage::ScrFxSplitX(int bFrozen) { return Noted("ScrFxSplitX", bFrozen); }
int cSceneStage::ScrFxSplitY(int bFrozen) { return Noted("ScrFxSplitY", bFrozen); }
int cSceneStage::ScrFxWaveX(int bFrozen) { return Noted("ScrFxWaveX", bFrozen); }
int cSceneStage::ScrFxWaveY(int bFrozen) { return Noted("ScrFxWaveY", bFrozen); }
int cSceneStage::ScrFxBlink(int bFrozen) { return Noted("ScrFxBlink", bFrozen); }
int cSceneStage::ScrFxRotate(int bFrozen) { return Noted("ScrFxRotate", bFrozen); }
int cSceneStage::ScrFxCircle(int bFrozen) { return Noted("ScrFxCircle", bFrozen); }
int cSceneStage::ScrFxZoom(int bFrozen) { return Noted("ScrFxZoom", bFrozen); }
int cSceneStage::ScrFxLens(int bFrozen) { return Noted("ScrFxLens", bFrozen); }
int cSceneStage::ScrFxMosaic(int bFrozen) { return Noted("ScrFxMosaic", bFrozen); }

void cSceneStage::DrawColorTone(int bFrozen) { DebugLogPrintf("DrawColorTone %d", bFrozen); }

void cSceneStage::StartColorTone(const cEdCommand& command) { cSceneStageData::StartColorTone(command); }

void cColorTone::Start(const int32_t params[8]) {
  DebugLogPrintf("cColorTone::Start %d %d %d %d %d %d %d %d", params[0], params[1], params[2], params[3], params[4],
                 params[5], params[6], params[7]);
}
