// The item command table and the executors that run nothing or only a
// shared body of another file. The other executors live beside their
// bodies (act_*.cpp, flow_change.cpp) and, for the waits and the display
// commands, in item_display_commands.cpp.
#include "game/item_commands.h"

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

int ItemCmdNone(cHero&, cEdCommand&) { return 0; }
int ItemCmdStatusOp(cHero& hero, cEdCommand& command) {
  CmdStatusOp(hero, command);
  return 0;
}
// Its result (the code ran or not) is no item list's business.
int ItemCmdRunCode(cHero& hero, cEdCommand& command) {
  CmdRunCode(hero, command);
  return 0;
}
// A LOOP of an item list runs nothing; the commands after it run once.
int ItemCmdLoop(cHero&, cEdCommand&) { return 0; }
