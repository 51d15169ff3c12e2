// The arrange command (action type 38, item type 23): one operation that
// changes a parameter of a later command, kept until that command starts.
#include "game/action_commands.h"
#include "game/characters.h"
#include "game/flow_instance.h"
#include "game/item_commands.h"
#include "game/other_commands.h"
#include "game/stage_data.h"

namespace {

ARRANGEOP OperationOf(const cEdCommand& command) {
  return {CmdParam(command, 0), CmdParam(command, 1), CmdParam(command, 2), CmdParam(command, 3),
          CmdParam(command, 4)};
}

}  // namespace

int CmdArrange(cCharaBase&, cEdCommand& command) {
  if (command.m_bItemCommand == 1) {
    if (!Player.empty()) Player[0].m_lPendingArranges.push_back(OperationOf(command));
  } else if (cFlowInstance* flow = StageData().m_lpCurFlow) {
    flow->m_lArranges.push_back(OperationOf(command));
  }
  return 0;
}

int ActArrange(cCharaBase& chara, cCommandInstance& instance) {
  if (instance.m_pCommand) CmdArrange(chara, *instance.m_pCommand);
  return 0;
}

// Whatever the record's item flag says, an item list's arrange is the hero's.
int ItemCmdArrange(cHero& hero, cEdCommand& command) {
  hero.m_lPendingArranges.push_back(OperationOf(command));
  return 0;
}
