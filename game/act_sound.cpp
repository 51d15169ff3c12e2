// The sound-effect and music commands (action types 35 and 36, item types
// 20 and 21), and the sound every command may carry.
#include <cstdint>

#include "base/window_messages.h"
#include "game/action_commands.h"
#include "game/characters.h"
#include "game/flow_instance.h"
#include "game/item_commands.h"
#include "game/other_commands.h"
#include "game/stage_data.h"

void PlayCommandSe(const cCharaBase& chara, const cEdCommand& command) {
  if (command.m_bSeOnScreenOnly && !chara.m_bOnScreen) return;
  PlayUserSe(command.m_nSe);
}

int CmdPlaySe(cCharaBase& chara, cEdCommand& command) {
  if (command.m_bSeOnScreenOnly && !chara.m_bOnScreen) return 0;
  const int32_t number = CmdParam(command, 0);
  // A number no sound record can have plays nothing.
  if (number > 0 && number <= INT16_MAX) PlayUserSe(static_cast<int16_t>(number));
  return 0;
}

int CmdPlayBgm(cCharaBase&, cEdCommand& command) {
  StageData().RequestStageBgm(CmdParam(command, 0), CmdParam(command, 1));
  return 0;
}

int ActPlaySe(cCharaBase& chara, cCommandInstance& instance) {
  if (instance.m_pCommand) CmdPlaySe(chara, *instance.m_pCommand);
  return 0;
}

int ActPlayBgm(cCharaBase& chara, cCommandInstance& instance) {
  if (instance.m_pCommand) CmdPlayBgm(chara, *instance.m_pCommand);
  return 0;
}

int ItemCmdPlaySe(cHero& hero, cEdCommand& command) {
  CmdPlaySe(hero, command);
  return 0;
}

int ItemCmdPlayBgm(cHero& hero, cEdCommand& command) {
  CmdPlayBgm(hero, command);
  return 0;
}
