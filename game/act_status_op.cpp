// The status operation command (type 22).
#include "game/action_commands.h"
#include "game/flow_instance.h"
#include "game/status_commands.h"

int ActStatusOp(cCharaBase& chara, cCommandInstance& instance) {
  if (instance.m_pCommand) CmdStatusOp(chara, *instance.m_pCommand);
  return 0;
}
