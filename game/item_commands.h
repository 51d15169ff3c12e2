#pragma once
// The item commands: a picked-up item's command list runs at once on the
// hero (cHero::RunItemCommands), each command through ItemExecutorTable, one
// entry per ITEMCMDTYPE (records/command_types.h). Types 2 to 24 run the
// bodies of action types 17 to 39 with the hero (other_commands.h,
// display_commands.h, status_commands.h); each executor lives beside its
// body, those of the waits and the display commands in
// item_display_commands.cpp. Only the stage clear returns 1; a type byte
// outside the table runs nothing.
//
// Game thread, inside a logic step; the hero is the stage's current
// character while its own flows run.
#include "records/command_types.h"

class cCharaBase;
class cEdCommand;
class cHero;

// 0 goes on; any other result ends the item list with it (1 stage clear).
using ITEMEXECUTOR = int (*)(cHero& hero, cEdCommand& command);

// Indexed by the item command's type. Written only by its initialiser (and
// by tests, which put recording executors in and restore the entries).
extern ITEMEXECUTOR ItemExecutorTable[ITEMCMDTYPE_COUNT];

// The executor of the command's type; 0 for a type outside the table.
int RunItemCommand(cHero& hero, cEdCommand& command);

// Adds, replaces or deletes flows of `chara` (the hero) by the command's p0
// (FLOWCHANGE) and p1 (the flow ID as a byte; 0 every flow) with the flows
// the command carries: ADD appends them, REPLACE puts them where the first
// removed flow stood (at the end when none was), DELETE only removes. New
// flows start idle. Unless bForced, a change made while the hero is the
// stage's current character (its flows are stepping) is queued on it
// (m_vQueuedFlowChanges) and made by its flow pass with bForced 1 (and
// bTake 1: the queued copy's flows are moved into the hero). What one frame
// builds is capped (game/flow_budget.h).
int CmdFlowChange(cCharaBase& chara, cEdCommand& command, int bForced, int bTake = 0);

// Executors, in table order.
int ItemCmdNone(cHero& hero, cEdCommand& command);
int ItemCmdFlowChange(cHero& hero, cEdCommand& command);
int ItemCmdStageClear(cHero& hero, cEdCommand& command);
int ItemCmdGameWait(cHero& hero, cEdCommand& command);
int ItemCmdMessage(cHero& hero, cEdCommand& command);
int ItemCmdWarp(cHero& hero, cEdCommand& command);
int ItemCmdSetTarget(cHero& hero, cEdCommand& command);
int ItemCmdStatusOp(cHero& hero, cEdCommand& command);
int ItemCmdStatusOp2(cHero& hero, cEdCommand& command);
int ItemCmdVanish(cHero& hero, cEdCommand& command);
int ItemCmdGetItem(cHero& hero, cEdCommand& command);
int ItemCmdChangeGraphic(cHero& hero, cEdCommand& command);
int ItemCmdChangeBasicAnimeSet(cHero& hero, cEdCommand& command);
int ItemCmdPlayAnime(cHero& hero, cEdCommand& command);
int ItemCmdPlayEffect(cHero& hero, cEdCommand& command);
int ItemCmdCharaEffect(cHero& hero, cEdCommand& command);
int ItemCmdScreenEffect(cHero& hero, cEdCommand& command);
int ItemCmdShowPicture(cHero& hero, cEdCommand& command);
int ItemCmdScreenColor(cHero& hero, cEdCommand& command);
int ItemCmdChangeBackground(cHero& hero, cEdCommand& command);
int ItemCmdPlaySe(cHero& hero, cEdCommand& command);
int ItemCmdPlayBgm(cHero& hero, cEdCommand& command);
int ItemCmdRunCode(cHero& hero, cEdCommand& command);
int ItemCmdArrange(cHero& hero, cEdCommand& command);
int ItemCmdLoop(cHero& hero, cEdCommand& command);
