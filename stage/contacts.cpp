// Solid contacts with block characters: pushes, carriers and crushes.
// Until they are built, each call is noted in the debug log and changes
// nothing.
#include "base/report_log.h"
#include "stage/scene_stage.h"

namespace {

int NotedContact(const char* name) {
  DebugLogPuts(name);
  return 0;
}

}  // namespace

int cSceneStage::ResolveSolidContacts(cCharaBase&, cList<cChara>&) { return NotedContact("ResolveSolidContacts"); }

void cSceneStage::SolveContactMove(cCharaBase&, cList<cChara>&, int axis) {
  DebugLogPrintf("SolveContactMove %d", axis);
}

int cSceneStage::RideCarrier(cCharaBase&, cList<cChara>&) { return NotedContact("RideCarrier"); }
int cSceneStage::StillOnCarrier(cCharaBase&) { return NotedContact("StillOnCarrier"); }

cChara* cSceneStage::FindCarrierBelow(cCharaBase&) {
  NotedContact("FindCarrierBelow");
  return nullptr;
}

int cSceneStage::AllProbesHitSolid(cCharaBase&, const DRECT&) { return NotedContact("AllProbesHitSolid"); }

int cSceneStage::OverlapsSolidChara(cCharaBase&, cList<cChara>&, int ignoreId) {
  DebugLogPrintf("OverlapsSolidChara %d", ignoreId);
  return 0;
}

int cSceneStage::TouchesSolidChara(const cGameObject&, cList<cChara>&) { return NotedContact("TouchesSolidChara"); }
