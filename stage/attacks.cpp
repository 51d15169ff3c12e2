// Attacks, pick-ups and defeats of a logic step. Until they are built, each
// call is noted in the debug log and nothing happens.
#include "base/report_log.h"
#include "stage/scene_stage.h"

namespace {

int Noted(const char* name) {
  DebugLogPuts(name);
  return 0;
}

}  // namespace

int cSceneStage::ResolveAttacks(cList<cChara>&) { return Noted("ResolveAttacks"); }
int cSceneStage::CheckDefeats() { return Noted("CheckDefeats"); }
int cSceneStage::DefeatObject(cCharaBase&) { return Noted("DefeatObject"); }
int cSceneStage::DefeatAndCheckClear(cCharaBase&, cList<cChara>&) { return Noted("DefeatAndCheckClear"); }
int cSceneStage::CheckItemPickup(cHero&) { return Noted("CheckItemPickup"); }
