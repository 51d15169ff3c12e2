// Solid contacts with block characters: pushes, carriers and crushes.
// Until they are built, each call is noted in the debug log and changes
// nothing; the play step's calls give the answers of rule_stand_ins.h, and
// the touch test of a box is the plain overlap with a block character.
#include "base/report_log.h"
#include "game/gone_objects.h"
#include "stage/rule_stand_ins.h"
#include "stage/scene_stage.h"

namespace {

int NotedContact(const char* name) {
  DebugLogPuts(name);
  return 0;
}

}  // namespace

int cSceneStage::ResolveSolidContacts(cCharaBase& chara, cList<cChara>&) {
  return StandInResult(STANDIN_RESOLVE_SOLID_CONTACTS, "ResolveSolidContacts", &chara);
}

void cSceneStage::SolveContactMove(cCharaBase&, cList<cChara>&, int axis) {
  DebugLogPrintf("SolveContactMove %d", axis);
}

int cSceneStage::RideCarrier(cCharaBase& rider, cList<cChara>&) {
  return StandInResult(STANDIN_RIDE_CARRIER, "RideCarrier", &rider);
}
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

int cSceneStage::TouchesSolidChara(const cGameObject& object, cList<cChara>&) {
  NotedContact("TouchesSolidChara");
  return OverlapsBlockChara(object);
}
