// The item command table, the executors that run nothing or only a shared
// body, and, until their bodies are built, the stand-ins of the waits,
// messages, warp, effects, pictures and screen colour: each notes its call
// in the debug log. The other executors live beside their bodies
// (act_*.cpp, flow_change.cpp).
#include "game/item_commands.h"

#include "base/report_log.h"
#include "game/characters.h"
#include "game/status_commands.h"

ITEMEXECUTOR ItemExecutorTable[ITEMCMDTYPE_COUNT] = {
    ItemCmdNone,          ItemCmdFlowChange,      ItemCmdStageClear,     ItemCmdGameWait,
    ItemCmdMessage,       ItemCmdWarp,            ItemCmdSetTarget,      ItemCmdStatusOp,
    ItemCmdStatusOp2,     ItemCmdVanish,          ItemCmdGetItem,        ItemCmdChangeGraphic,
    ItemCmdChangeBasicAnimeSet, ItemCmdPlayAnime, ItemCmdPlayEffect,     ItemCmdCharaEffect,
    ItemCmdScreenEffect,  ItemCmdShowPicture,     ItemCmdScreenColor,    ItemCmdChangeBackground,
    ItemCmdPlaySe,        ItemCmdPlayBgm,         ItemCmdRunCode,        ItemCmdArrange,
    ItemCmdLoop,
};

int RunItemCommand(cHero& hero, cEdCommand& command) {
  const int type = command.m_nType;
  if (type < 0 || type >= ITEMCMDTYPE_COUNT || !ItemExecutorTable[type]) return 0;
  return ItemExecutorTable[type](hero, command);
}

namespace {

int Note(const cEdCommand& command, int result) {
  DebugLogPrintf("ItemCmd %d", static_cast<int>(command.m_nType));
  return result;
}

}  // namespace

int ItemCmdNone(cHero&, cEdCommand&) { return 0; }
int ItemCmdGameWait(cHero&, cEdCommand& command) { return Note(command, 0); }
int ItemCmdMessage(cHero&, cEdCommand& command) { return Note(command, 0); }
int ItemCmdWarp(cHero&, cEdCommand& command) { return Note(command, 0); }
int ItemCmdStatusOp(cHero& hero, cEdCommand& command) {
  CmdStatusOp(hero, command);
  return 0;
}
int ItemCmdPlayEffect(cHero&, cEdCommand& command) { return Note(command, 0); }
int ItemCmdCharaEffect(cHero&, cEdCommand& command) { return Note(command, 0); }
int ItemCmdScreenEffect(cHero&, cEdCommand& command) { return Note(command, 0); }
int ItemCmdShowPicture(cHero&, cEdCommand& command) { return Note(command, 0); }
int ItemCmdScreenColor(cHero&, cEdCommand& command) { return Note(command, 0); }
// Its result (the code ran or not) is no item list's business.
int ItemCmdRunCode(cHero& hero, cEdCommand& command) {
  CmdRunCode(hero, command);
  return 0;
}
// A LOOP of an item list runs nothing; the commands after it run once.
int ItemCmdLoop(cHero&, cEdCommand&) { return 0; }
