// The item command that adds, replaces or deletes flows of the hero (item
// type 1), with the flows it carries.
#include <cstdint>

#include "game/characters.h"
#include "game/item_commands.h"
#include "game/other_commands.h"
#include "game/stage_data.h"
#include "records/command_vocab.h"

int CmdFlowChange(cCharaBase& chara, cEdCommand& command, int bForced) {
  // The hero's flows are being stepped: its flow pass makes the change once they have run.
  if (!bForced && !Player.empty() && StageData().m_lpCurChara == &Player[0]) {
    Player[0].m_vQueuedFlowChanges.push_back(command);
    return 0;
  }
  const int id = static_cast<uint8_t>(CmdParam(command, 1));
  switch (CmdParam(command, 0)) {
    case FLOWCHANGE_ADD:
      chara.BuildFlows(command.m_vFlows, 1, -1);
      break;
    case FLOWCHANGE_REPLACE: {
      const int at = chara.RemoveFlowsById(id);
      chara.BuildFlows(command.m_vFlows, 1, at);
      break;
    }
    case FLOWCHANGE_DELETE:
      chara.RemoveFlowsById(id);
      break;
    default:
      break;
  }
  return 0;
}

int ItemCmdFlowChange(cHero& hero, cEdCommand& command) {
  CmdFlowChange(hero, command, 0);
  return 0;
}
