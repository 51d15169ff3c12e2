// One frame of the stage on the screen: backgrounds, map layers, objects by
// depth, effects, messages, heads-up display, timer. Until it is built, each
// frame's drawing is noted in the debug log with its arguments.
#include "base/report_log.h"
#include "stage/scene_stage.h"

void cSceneStage::Draw(int bPlay, int bFrozen, int bTimerSound, int bSystemLine) {
  DebugLogPrintf("Draw %d %d %d %d", bPlay, bFrozen, bTimerSound, bSystemLine);
}

void cSceneStage::DrawHero(int bFrozen) { DebugLogPrintf("DrawHero %d", bFrozen); }

int cSceneStage::DrawChara(cChara&, int bFrozen) {
  DebugLogPrintf("DrawChara %d", bFrozen);
  return 0;
}

void cSceneStage::ScrollBackground() { DebugLogPuts("ScrollBackground"); }
void cSceneStage::DrawBackground(DDSURFACEDATA*, int bFront) { DebugLogPrintf("DrawBackground %d", bFront); }
void cSceneStage::DrawMapLayer(DDSURFACEDATA*, int layer) { DebugLogPrintf("DrawMapLayer %d", layer); }

void cSceneStage::DrawPictures(DDSURFACEDATA*, int layer, int bFrozen) {
  DebugLogPrintf("DrawPictures %d %d", layer, bFrozen);
}

void cSceneStage::DrawHud(DDSURFACEDATA*) { DebugLogPuts("DrawHud"); }
void cSceneStage::DrawTimer(DDSURFACEDATA*, int bSound) { DebugLogPrintf("DrawTimer %d", bSound); }
