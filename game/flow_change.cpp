// The item command that adds, replaces or deletes flows of the hero (item
// type 1), with the flows it carries.
#include <cstdint>

#include "game/characters.h"
#include "game/flow_budget.h"
#include "game/item_commands.h"
#include "game/other_commands.h"
#include "game/stage_data.h"
#include "records/command_vocab.h"

int CmdFlowChange(cCharaBase& chara, cEdCommand& command, int bForced, int bTake) {
  // The hero's flows are being stepped: its flow pass makes the change once they have run.
  if (!bForced && !Player.empty() && StageData().m_lpCurChara == &Player[0]) {
    cHero& hero = Player[0];
    // Expanded here, in the definition, so that no queued copy expands again.
    if (!hero.ExpandCarriedFlows(command.m_vFlows)) return 0;
    if (!hero.ChargeFlowCopy(command.m_vFlows)) return 0;
    hero.m_vQueuedFlowChanges.push_back(command);
    return 0;
  }
  const int id = static_cast<uint8_t>(CmdParam(command, 1));
  switch (CmdParam(command, 0)) {
    case FLOWCHANGE_ADD:
      if (chara.ExpandCarriedFlows(command.m_vFlows)) chara.BuildFlows(command.m_vFlows, 1, -1, bTake);
      break;
    case FLOWCHANGE_REPLACE: {
      const int at = chara.RemoveFlowsById(id);
      if (chara.ExpandCarriedFlows(command.m_vFlows)) chara.BuildFlows(command.m_vFlows, 1, at, bTake);
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
