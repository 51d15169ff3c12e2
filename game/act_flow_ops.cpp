// The flow operation (type 16): start, end, pause, resume, delete or stop
// for good the running flow, every other flow of the character, or the
// flows of one ID. A flow it changes while that flow steps (abort) ends its
// step at once.
#include "base/report_log.h"
#include "game/action_commands.h"
#include "game/chara_base.h"
#include "game/flow_instance.h"
#include "game/stage_data.h"
#include "records/command_vocab.h"

namespace {

// Starting a stage-start flow runs its instant commands at once, and those
// may start flows again: a chain deeper than this is cut.
constexpr int FLOWOP_MAX_DEPTH = 16;
int depth = 0;

void Apply(cCharaBase& chara, cFlowInstance& flow, int op) {
  switch (op) {
    case FLOWOP_START:
      flow.Stop(chara);
      chara.RemoveFlowAnimes(flow.m_nSerial);
      flow.Start();
      flow.m_bAbort = 1;
      break;
    case FLOWOP_END:
      flow.Stop(chara);
      chara.RemoveFlowAnimes(flow.m_nSerial);
      flow.m_bAbort = 1;
      break;
    case FLOWOP_PAUSE:
      flow.Pause();
      chara.PauseFlowAnimes(flow.m_nSerial);
      flow.m_bAbort = 1;
      break;
    case FLOWOP_RESUME:
      flow.Resume();
      chara.ResumeFlowAnimes(flow.m_nSerial);
      break;
    case FLOWOP_DELETE:
      flow.m_bDeleted = 1;
      chara.m_bFlowRemoval = 1;
      flow.m_bAbort = 1;
      break;
    case FLOWOP_STOP_FOREVER:
      flow.StopForever(chara);
      chara.RemoveFlowAnimes(flow.m_nSerial);
      flow.m_bAbort = 1;
      break;
    default:
      break;
  }
}

}  // namespace

int ActFlowOperation(cCharaBase& chara, cCommandInstance& instance) {
  const int op = instance.Param(0);
  const int target = instance.Param(1);
  const int id = instance.Param(2);
  if (op < 0 || op >= FLOWOP_COUNT || target < 0 || target >= FLOWOPTARGET_COUNT) return 0;
  if (depth >= FLOWOP_MAX_DEPTH) {
    DebugLogPrintf("ActFlowOperation: flows started %d deep, no more", depth);
    return 0;
  }
  ++depth;
  // A flow started here may run commands of its own at once; the running
  // flow and command are this one's again afterwards.
  cSceneStageData& stage = StageData();
  cFlowInstance* const current = stage.m_lpCurFlow;
  cCommandInstance* const command = stage.m_lpCurCommand;
  if (target == FLOWOPTARGET_THIS) {
    if (current) Apply(chara, *current, op);
  } else {
    for (int i = 0; i < chara.m_vFlows.Size(); ++i) {
      cFlowInstance& flow = chara.m_vFlows[i];
      const bool chosen = target == FLOWOPTARGET_OTHERS
                              ? &flow != current
                              : flow.m_pFlow && flow.m_pFlow->m_nId != 0 && flow.m_pFlow->m_nId == id;
      if (chosen) Apply(chara, flow, op);
    }
  }
  stage.m_lpCurFlow = current;
  stage.m_lpCurCommand = command;
  --depth;
  return 0;
}
