// Attacks, pick-ups and defeats of a logic step. Until they are built, each
// call is noted in the debug log and gives the answer of rule_stand_ins.h.
#include "base/report_log.h"
#include "game/characters.h"
#include "stage/rule_stand_ins.h"
#include "stage/scene_stage.h"

namespace {

int Noted(const char* name) {
  DebugLogPuts(name);
  return 0;
}

}  // namespace

int cSceneStage::ResolveAttacks(cList<cChara>&) {
  return StandInResult(STANDIN_RESOLVE_ATTACKS, "ResolveAttacks", nullptr);
}
int cSceneStage::CheckDefeats() { return StandInResult(STANDIN_CHECK_DEFEATS, "CheckDefeats", nullptr); }
int cSceneStage::DefeatObject(cCharaBase&) { return Noted("DefeatObject"); }
int cSceneStage::DefeatAndCheckClear(cCharaBase& chara, cList<cChara>&) {
  return StandInResult(STANDIN_DEFEAT_AND_CHECK_CLEAR, "DefeatAndCheckClear", &chara);
}
int cSceneStage::CheckItemPickup(cHero& hero) {
  return StandInResult(STANDIN_CHECK_ITEM_PICKUP, "CheckItemPickup", &hero);
}
