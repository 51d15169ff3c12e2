// The caps of what flow changes build, charged per character and frame.
#include "game/flow_budget.h"

#include <cstdio>

#include "base/report_log.h"
#include "game/chara_base.h"
#include "game/stage_data.h"
#include "records/flow.h"

int64_t FlowCommandCount(const cVector<cEdFlow>& flows) {
  int64_t n = 0;
  for (const cEdFlow& flow : flows) n += flow.m_vCommands.Size();
  return n;
}

FLOWBUDGET& cCharaBase::FrameFlowBudget() {
  const int32_t frame = StageData().m_nFrameCount;
  if (m_FlowBudget.nFrame != frame) {
    m_FlowBudget = FLOWBUDGET();
    m_FlowBudget.nFrame = frame;
  }
  return m_FlowBudget;
}

void cCharaBase::TellFlowBudget(const char* what) {
  FLOWBUDGET& budget = FrameFlowBudget();
  if (budget.bTold) return;
  budget.bTold = 1;
  DebugLogPrintf("%s: chara %d holds %d flows, %lld commands made by flow changes this frame, no more",
                 what, m_nId, m_Def.m_vFlows.Size(), static_cast<long long>(budget.nCommands));
}

int cCharaBase::FlowsWithinBudget(const cVector<cEdFlow>& flows, int bCharged) {
  FLOWBUDGET& budget = FrameFlowBudget();
  int count = 0;
  for (; count < flows.Size(); ++count) {
    const int64_t commands = bCharged ? 0 : flows[count].m_vCommands.Size();
    if (m_Def.m_vFlows.Size() + count >= CHARA_MAX_FLOWS ||
        budget.nCommands + commands > FLOWCHANGE_MAX_COMMANDS)
      break;
    budget.nCommands += commands;
  }
  if (count < flows.Size()) TellFlowBudget("BuildFlows");
  return count;
}

int cCharaBase::ExpandCarriedFlows(cVector<cEdFlow>& flows) {
  FLOWBUDGET& budget = FrameFlowBudget();
  for (int k = 0; k < flows.Size(); ++k) {
    char owner[64];
    std::snprintf(owner, sizeof owner, "chara %d flow change flow %d", m_nId, k);
    const int64_t made = ExpandLoops(flows[k].m_vCommands, owner, FLOWCHANGE_MAX_COMMANDS - budget.nCommands);
    if (made < 0) {
      TellFlowBudget("CmdFlowChange");
      return 0;
    }
    budget.nCommands += made;
  }
  return 1;
}

int cCharaBase::ChargeFlowCopy(const cVector<cEdFlow>& flows) {
  FLOWBUDGET& budget = FrameFlowBudget();
  const int64_t commands = FlowCommandCount(flows);
  if (budget.nCommands + commands > FLOWCHANGE_MAX_COMMANDS) {
    TellFlowBudget("CmdFlowChange");
    return 0;
  }
  budget.nCommands += commands;
  return 1;
}
