// The stage clear: its display, the results and extra lives, the ranking
// entry and the way on. Until it is built, each call is noted in the debug
// log; the way on is the title.
#include "base/report_log.h"
#include "stage/scene_stage.h"

void cSceneStage::StageClear() { DebugLogPuts("StageClear"); }
void cSceneStage::OnStageClear() { DebugLogPuts("OnStageClear"); }
void cSceneStage::AddClearTallies() { DebugLogPuts("AddClearTallies"); }

int cSceneStage::MakeNextAreaName(std::string& name, int area) {
  DebugLogPrintf("MakeNextAreaName %d", area);
  name.clear();
  return 0;
}

int cSceneStage::IsLastArea(int area) {
  DebugLogPrintf("IsLastArea %d", area);
  return 1;
}

void cSceneStage::EnterRanking() { DebugLogPuts("EnterRanking"); }

int cSceneStage::FinishStage() {
  DebugLogPuts("FinishStage");
  return SCENE_TITLE;
}
