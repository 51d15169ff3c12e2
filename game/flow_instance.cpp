// Starting, stopping and stepping a flow, and running its commands.
#include "game/flow_instance.h"

#include <climits>

#include "base/boxes.h"
#include "game/action_commands.h"
#include "game/chara_base.h"
#include "game/stage_data.h"
#include "records/save_data.h"

namespace {

// The variables an arrange operand reads: the common, the stage's and the character's.
ARRANGEVARS ArrangeVarsOf(cCharaBase* chara) {
  ARRANGEVARS vars;
  vars.pCommon = &PlayData.m_vCommonVar;
  vars.pStage = &StageData().m_vStageVars;
  if (chara) vars.pChara = &chara->m_vVars;
  return vars;
}

int IsNoWait(const cCommandInstance& c) { return c.m_pCommand && c.m_pCommand->m_bNoWait; }

// A message that stops the game, waits for a key and opens its window: its
// end lets the flow's next message continue it. One that does not stop the
// game waits for nothing, so it continues no chain.
int IsKeyWaitMessage(const cCommandInstance& c) {
  if (!c.m_pCommand || c.m_pCommand->m_nType != ACTCMDTYPE_MESSAGE) return 0;
  const cVector<int32_t>& p = c.m_pCommand->m_vParams;
  return p.At(15) == 0 && p.At(6) == 0 && p.At(8) != 0;
}

void ReleaseLetter(const cFlowInstance& flow, cCharaBase* chara) {
  const int letter = flow.SwitchLetter();
  if (letter == 0 || !chara) return;
  chara->m_vSwitchReleased.At(letter) = 1;
  chara->m_bSwitchRelease = 1;
}

void StopFlow(cFlowInstance& flow, cCharaBase* chara) {
  if (!flow.m_bRunning) return;
  flow.m_bRunning = 0;
  flow.m_lArranges.clear();
  for (cCommandInstance& c : flow.m_vCommands) c.m_nTimer = 0;
  ReleaseLetter(flow, chara);
}

}  // namespace

void cCommandInstance::Reset() {
  m_nTimer = m_nDuration;
  m_bDone = 0;
  m_nCount = 0;
  m_bBegun = 0;
  m_dPhaseX = 0;
  m_dPhaseY = 0;
  if (!m_pCommand || m_pCommand->m_nType == ACTCMDTYPE_ARRANGE) return;
  cSceneStageData& stage = StageData();
  cFlowInstance* flow = stage.m_lpCurFlow;
  if (!flow) return;
  ApplyFlowArranges(*m_pCommand, ArrangeVarsOf(stage.m_lpCurChara), &flow->m_lArranges);
  flow->m_lArranges.clear();
}

int cCommandInstance::Run() {
  cSceneStageData& stage = StageData();
  stage.m_lpCurCommand = this;
  if (stage.m_lpCurChara) RunActionCommand(*stage.m_lpCurChara, *this);
  if (m_nTimer <= 1) {
    m_nTimer = 0;
    return 1;
  }
  --m_nTimer;
  return 0;
}

void cFlowInstance::Start() {
  m_bRunning = 1;
  m_nCurrent = 0;
  m_nStep = 0;
  m_bMessageChain = 0;
  for (cCommandInstance& c : m_vCommands) c.m_bDone = 0;
  m_bStarted = 1;
  m_bRestarted = 1;

  cSceneStageData& stage = StageData();
  cCharaBase* chara = stage.m_lpCurChara;
  const int letter = SwitchLetter();
  if (Trigger() == FLOWTRIGGER_ALWAYS && letter != 0 && chara) {
    chara->m_vSwitchTaken.At(letter) = 1;
    chara->m_vSwitchStarted.At(letter) = 1;
  }

  if (Trigger() != FLOWTRIGGER_STAGE_START || m_vCommands.empty()) return;
  // A stage-start flow does its instant work now, during the set-up.
  stage.m_lpCurFlow = this;
  m_bAbort = 0;
  for (cCommandInstance& c : m_vCommands) {
    if (!c.m_pCommand || c.m_pCommand->m_nType < ACTCMDTYPE_FLOW_OPERATION || !c.m_pCommand->m_bNoWait) continue;
    c.Reset();
    if (!c.Run())
      // "使用時間0なので、ここにくることはあり得ないはず！"
      DebugBoxPrintf("\x8E\x67\x97\x70\x8E\x9E\x8A\xD4\x30\x82\xC8\x82\xCC\x82\xC5\x81\x41\x82\xB1\x82\xB1\x82"
                     "\xC9\x82\xAD\x82\xE9\x82\xB1\x82\xC6\x82\xCD\x82\xA0\x82\xE8\x93\xBE\x82\xC8\x82\xA2\x82"
                     "\xCD\x82\xB8\x81\x49");
    if (m_bAbort) break;
    c.m_bDone = 1;
  }
  StopFlow(*this, stage.m_lpCurChara);
}

void cFlowInstance::Stop(cCharaBase& chara) { StopFlow(*this, &chara); }

void cFlowInstance::StopForever(cCharaBase& chara) {
  m_bStopped = 1;
  if (!m_bRunning) return;
  for (cCommandInstance& c : m_vCommands) c.m_nTimer = 0;
  ReleaseLetter(*this, &chara);
}

int cFlowInstance::Step() {
  StageData().m_lpCurFlow = this;
  m_bAbort = 0;
  m_bRestarted = 0;
  const int last = m_vCommands.Size() - 1;
  if (m_nCurrent >= 0) {
    // No-wait commands before the current one go on running beside it.
    for (int i = 0; i <= m_nCurrent && i <= last; ++i) {
      cCommandInstance& c = m_vCommands[i];
      if (c.m_bDone) continue;
      const int noWait = IsNoWait(c);
      if (c.m_nTimer == 0) {
        c.Reset();
        if (!noWait && !IsKeyWaitMessage(c)) m_bMessageChain = 0;
      }
      if (noWait) {
        const int finished = c.Run();
        // Restarted from its first command: that happens on the next step.
        if (m_bRestarted) return 0;
        if (finished) {
          c.m_bDone = 1;
          if (i == last) return 1;
        }
        if (i == m_nCurrent) m_nCurrent = i + 1;  // the next command starts in this same step
        if (m_bAbort) return 0;
        continue;
      }
      const int finished = c.Run();
      if (m_bRestarted) return 0;
      if (!finished) {
        if (m_bAbort) return 0;
        continue;
      }
      c.m_bDone = 1;
      if (IsKeyWaitMessage(c)) m_bMessageChain = 1;
      if (i == last) return 1;
      ++m_nCurrent;  // the next command starts in the next step
      break;
    }
  }
  if (last >= 0 && m_vCommands[last].m_bDone) return 1;
  if (m_nStep < INT_MAX) ++m_nStep;
  return 0;
}
