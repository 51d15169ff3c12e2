// The run-code command (type 37).
#include "game/action_commands.h"
#include "game/flow_instance.h"
#include "game/status_commands.h"

int ActRunCode(cCharaBase& chara, cCommandInstance& instance) {
  if (instance.m_pCommand) CmdRunCode(chara, *instance.m_pCommand);
  return 0;
}
