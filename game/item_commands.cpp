// The item command table and, until the item commands are built, their
// stand-ins: each notes its call in the debug log.
#include "game/item_commands.h"

#include "base/report_log.h"
#include "game/characters.h"

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

int Param(const cEdCommand& command, int i) { return i < command.m_vParams.Size() ? command.m_vParams[i] : 0; }

}  // namespace

int CmdFlowChange(cCharaBase&, cEdCommand& command, int bForced) {
  DebugLogPrintf("CmdFlowChange %d %d %d", Param(command, 0), Param(command, 1), bForced);
  return 0;
}

int ItemCmdNone(cHero&, cEdCommand&) { return 0; }
int ItemCmdFlowChange(cHero& hero, cEdCommand& command) {
  CmdFlowChange(hero, command, 0);
  return 0;
}
int ItemCmdStageClear(cHero&, cEdCommand& command) { return Note(command, 1); }
int ItemCmdSetTarget(cHero&, cEdCommand& command) { return Note(command, 0); }
int ItemCmdStatusOp(cHero&, cEdCommand& command) { return Note(command, 0); }
int ItemCmdStatusOp2(cHero&, cEdCommand& command) { return Note(command, 0); }
int ItemCmdVanish(cHero&, cEdCommand& command) { return Note(command, 0); }
int ItemCmdGetItem(cHero&, cEdCommand& command) { return Note(command, 0); }
int ItemCmdChangeGraphic(cHero&, cEdCommand& command) { return Note(command, 0); }
int ItemCmdChangeBasicAnimeSet(cHero&, cEdCommand& command) { return Note(command, 0); }
int ItemCmdPlayAnime(cHero&, cEdCommand& command) { return Note(command, 0); }
int ItemCmdChangeBackground(cHero&, cEdCommand& command) { return Note(command, 0); }
int ItemCmdPlaySe(cHero&, cEdCommand& command) { return Note(command, 0); }
int ItemCmdPlayBgm(cHero&, cEdCommand& command) { return Note(command, 0); }
int ItemCmdRunCode(cHero&, cEdCommand& command) { return Note(command, 0); }
int ItemCmdArrange(cHero&, cEdCommand& command) { return Note(command, 0); }
int ItemCmdLoop(cHero&, cEdCommand&) { return 0; }
