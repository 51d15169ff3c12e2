// The dispatch table of the action commands, and the three executors that
// do nothing: NONE, WAIT (the flow waits for the command's duration) and
// LOOP (expanded when the flows are built).
#include "game/action_commands.h"
#include "game/flow_instance.h"

ACTIONENTRY ActionTable[ACTCMDTYPE_COUNT] = {
    {ActNone, nullptr},                 // NONE
    {ActWait, nullptr},                 // WAIT
    {ActMoveStraight, SetupMoveTiming}, // MOVE_STRAIGHT
    {ActMoveGroundTurn, SetupMoveTiming},
    {ActMoveCircle, SetupCircleMove},
    {ActMoveCharge, SetupMoveTiming},
    {ActMoveHoming, SetupHomingMove},
    {ActMoveAvoidOffscreen, SetupMoveTiming},
    {ActDisableMove, nullptr},
    {ActTurn, nullptr},
    {ActJump, SetupJump},
    {ActShot, nullptr},
    {ActSword, nullptr},
    {ActSummonBlock, nullptr},
    {ActSummonChara, nullptr},
    {ActSummonItem, nullptr},
    {ActFlowOperation, nullptr},
    {ActStageClear, nullptr},
    {ActGameWait, nullptr},
    {ActMessage, nullptr},
    {ActWarp, nullptr},
    {ActSetTarget, nullptr},
    {ActStatusOp, nullptr},
    {ActStatusOp2, nullptr},
    {ActVanish, nullptr},
    {ActGetItem, nullptr},
    {ActChangeGraphic, nullptr},
    {ActChangeBasicAnimeSet, nullptr},
    {ActPlayAnime, nullptr},
    {ActPlayEffect, nullptr},
    {ActCharaEffect, nullptr},
    {ActScreenEffect, nullptr},
    {ActShowPicture, nullptr},
    {ActScreenColor, nullptr},
    {ActChangeBackground, nullptr},
    {ActPlaySe, nullptr},
    {ActPlayBgm, nullptr},
    {ActRunCode, nullptr},
    {ActArrange, nullptr},
    {ActLoop, nullptr},                 // LOOP
};

namespace {

const ACTIONENTRY* EntryOf(const cCommandInstance& instance) {
  if (!instance.m_pCommand) return nullptr;
  const int type = instance.m_pCommand->m_nType;
  if (type < 0 || type >= ACTCMDTYPE_COUNT) return nullptr;
  return &ActionTable[type];
}

}  // namespace

int RunActionCommand(cCharaBase& chara, cCommandInstance& instance) {
  const ACTIONENTRY* entry = EntryOf(instance);
  return entry && entry->pRun ? entry->pRun(chara, instance) : 0;
}

void SetupActionCommand(cCharaBase& chara, cCommandInstance& instance) {
  const ACTIONENTRY* entry = EntryOf(instance);
  if (entry && entry->pSetup) entry->pSetup(chara, instance);
}

int ActNone(cCharaBase&, cCommandInstance&) { return 0; }
int ActWait(cCharaBase&, cCommandInstance&) { return 0; }
int ActLoop(cCharaBase&, cCommandInstance&) { return 0; }
