#pragma once
// The action commands that flows run. Every logic step of a running command
// goes through RunActionCommand to the executor of its type (ACTCMDTYPE,
// records/command_types.h), and when flows are built each command instance
// gets the move set-up of its type. Both come from ActionTable, one entry
// per type, whose entries point at the functions declared below; each
// executor lives in the file of its kind (act_moves.cpp, act_shots.cpp,
// act_others.cpp, act_status_op.cpp, act_run_code.cpp, and act_waits.cpp,
// act_message.cpp, act_warp.cpp, act_effects.cpp, act_picture.cpp for the
// bodies of display_commands.h), where an executor that is not built yet
// does nothing.
//
// An executor runs on every logic step of its command's duration, for the
// stage's current character, with the stage's current flow and command set
// (cSceneStageData); its result is an int that only the stage-clear body
// makes 1, and the flow step ignores it.
#include "records/command_types.h"

class cCharaBase;
class cCommandInstance;

using ACTIONEXECUTOR = int (*)(cCharaBase& chara, cCommandInstance& instance);
// Called once per command instance by cCharaBase::BuildFlows, after the
// instance's duration, speed, maximum speed and direction code are set.
using ACTIONSETUP = void (*)(cCharaBase& chara, cCommandInstance& instance);

struct ACTIONENTRY {
  ACTIONEXECUTOR pRun = nullptr;
  ACTIONSETUP pSetup = nullptr;  // null: the type has no set-up
};

// Indexed by the command's type. Written only by its initialiser (and by
// tests, which put recording executors in and restore the entries).
extern ACTIONENTRY ActionTable[ACTCMDTYPE_COUNT];

// The executor of the command's type for `chara`; 0 for a type outside the
// table or an instance without a command.
int RunActionCommand(cCharaBase& chara, cCommandInstance& instance);
// The set-up of the command's type, when it has one.
void SetupActionCommand(cCharaBase& chara, cCommandInstance& instance);

// Executors, in table order.
int ActNone(cCharaBase& chara, cCommandInstance& instance);
int ActWait(cCharaBase& chara, cCommandInstance& instance);
int ActMoveStraight(cCharaBase& chara, cCommandInstance& instance);
int ActMoveGroundTurn(cCharaBase& chara, cCommandInstance& instance);
int ActMoveCircle(cCharaBase& chara, cCommandInstance& instance);
int ActMoveCharge(cCharaBase& chara, cCommandInstance& instance);
int ActMoveHoming(cCharaBase& chara, cCommandInstance& instance);
int ActMoveAvoidOffscreen(cCharaBase& chara, cCommandInstance& instance);
int ActDisableMove(cCharaBase& chara, cCommandInstance& instance);
int ActTurn(cCharaBase& chara, cCommandInstance& instance);
int ActJump(cCharaBase& chara, cCommandInstance& instance);
int ActShot(cCharaBase& chara, cCommandInstance& instance);
int ActSword(cCharaBase& chara, cCommandInstance& instance);
int ActSummonBlock(cCharaBase& chara, cCommandInstance& instance);
int ActSummonChara(cCharaBase& chara, cCommandInstance& instance);
int ActSummonItem(cCharaBase& chara, cCommandInstance& instance);
int ActFlowOperation(cCharaBase& chara, cCommandInstance& instance);
int ActStageClear(cCharaBase& chara, cCommandInstance& instance);
int ActGameWait(cCharaBase& chara, cCommandInstance& instance);
int ActMessage(cCharaBase& chara, cCommandInstance& instance);
int ActWarp(cCharaBase& chara, cCommandInstance& instance);
int ActSetTarget(cCharaBase& chara, cCommandInstance& instance);
int ActStatusOp(cCharaBase& chara, cCommandInstance& instance);
int ActStatusOp2(cCharaBase& chara, cCommandInstance& instance);
int ActVanish(cCharaBase& chara, cCommandInstance& instance);
int ActGetItem(cCharaBase& chara, cCommandInstance& instance);
int ActChangeGraphic(cCharaBase& chara, cCommandInstance& instance);
int ActChangeBasicAnimeSet(cCharaBase& chara, cCommandInstance& instance);
int ActPlayAnime(cCharaBase& chara, cCommandInstance& instance);
int ActPlayEffect(cCharaBase& chara, cCommandInstance& instance);
int ActCharaEffect(cCharaBase& chara, cCommandInstance& instance);
int ActScreenEffect(cCharaBase& chara, cCommandInstance& instance);
int ActShowPicture(cCharaBase& chara, cCommandInstance& instance);
int ActScreenColor(cCharaBase& chara, cCommandInstance& instance);
int ActChangeBackground(cCharaBase& chara, cCommandInstance& instance);
int ActPlaySe(cCharaBase& chara, cCommandInstance& instance);
int ActPlayBgm(cCharaBase& chara, cCommandInstance& instance);
int ActRunCode(cCharaBase& chara, cCommandInstance& instance);
int ActArrange(cCharaBase& chara, cCommandInstance& instance);
int ActLoop(cCharaBase& chara, cCommandInstance& instance);

// Move set-ups: the straight, ground turn-back, charge and off-screen moves
// (timing from distance), the circle, the homing move, the jump.
void SetupMoveTiming(cCharaBase& chara, cCommandInstance& instance);
void SetupCircleMove(cCharaBase& chara, cCommandInstance& instance);
void SetupHomingMove(cCharaBase& chara, cCommandInstance& instance);
void SetupJump(cCharaBase& chara, cCommandInstance& instance);
