// The play state: a frame's input, play time and time limit, its logic
// steps, and the block effects and block items under the hero. Until it is
// built, each call is noted in the debug log.
#include "base/report_log.h"
#include "stage/scene_stage.h"

void cSceneStage::Play() { DebugLogPuts("Play"); }

int cSceneStage::TickTimeLimit(int delta) {
  DebugLogPrintf("TickTimeLimit %d", delta);
  return 0;
}

void cSceneStage::TickPlayTime() { DebugLogPuts("TickPlayTime"); }

void cSceneStage::ApplyBlockEffect(cHero&) { DebugLogPuts("ApplyBlockEffect"); }

int cSceneStage::ApplyBlockItem(cHero&) {
  DebugLogPuts("ApplyBlockItem");
  return 0;
}
