// Triggers and the flow pass of a character: which idle flows start, and
// the once-per-step run of the running ones.
#include <utility>

#include "base/checked_convert.h"
#include "base/report_log.h"
#include "game/chara_base.h"
#include "game/flow_conditions.h"
#include "game/key_conditions.h"
#include "game/stage_data.h"
#include "media/input.h"
#include "records/database.h"

int (*FlowConditionGate)(cFlowInstance& flow, cCharaBase& chara) = CheckFlowConditions;

namespace {

void ClearCurrent(cSceneStageData& stage) {
  stage.m_lpCurChara = nullptr;
  stage.m_lpCurFlow = nullptr;
  stage.m_lpCurCommand = nullptr;
}

// The input record of a character's player: player-operated characters
// read their own (player 1 when the number has no record), the others
// player 1's.
const cInput& InputOf(const cCharaBase& chara) {
  const int player = chara.m_nController == 0 ? chara.m_Def.m_nPlayer : 0;
  return Input.At(player >= 0 && player < Input.Size() ? player : 0);
}

}  // namespace

void cCharaBase::ResetStepTriggers() {
  for (cFlowInstance& flow : m_vFlows) {
    flow.m_bChecked = 0;
    flow.m_bStarted = 0;
  }
  m_vSwitchStarted.Fill(0);
}

void cCharaBase::FireTrigger(int trigger) {
  if (DebugLogEnabled()) DebugLogPrintf("FireTrigger %d %d", trigger, m_nId);
  cSceneStageData& stage = StageData();
  stage.m_lpCurChara = this;
  for (int i = 0; i < m_vFlows.Size(); ++i) {
    cFlowInstance& flow = m_vFlows[i];
    if (!flow.m_pFlow || flow.m_pFlow->m_nTrigger != trigger) continue;
    // Once per frame, whatever the tests below give, also with several logic steps a frame.
    if (flow.m_bChecked) continue;
    flow.m_bChecked = 1;
    if (flow.m_bRunning || flow.m_bPaused || flow.m_bStopped || flow.m_bStarted) continue;
    const int letter = flow.SwitchLetter();
    if (trigger == FLOWTRIGGER_ALWAYS && letter != 0 &&
        (m_vSwitchTaken.At(letter) || m_vSwitchStarted.At(letter)))
      continue;
    if (!FlowConditionGate(flow, *this)) continue;
    if (!CheckKeyConditions(m_vFlows[i])) continue;
    cFlowInstance& started = m_vFlows[i];
    started.m_nHeldDir = GetHeldDirection(InputOf(*this));
    started.Start();
  }
  ClearCurrent(stage);
}

void cCharaBase::StartScheduledAnimes() {
  for (const cFlowInstance& flow : m_vFlows) {
    if (!flow.m_bRunning || flow.m_bPaused) continue;
    for (const FLOWANIMEENTRY& entry : flow.m_vAnimeSchedule) {
      if (entry.nStart != flow.m_nStep) continue;
      m_lAnimes.push_front(ATTACHEDANIME());
      ATTACHEDANIME& anime = m_lAnimes.front();
      anime.bScheduled = 1;
      anime.nLength = entry.nLength;
      anime.nHold = entry.nHold;
      anime.nKey = flow.m_nSerial;
      anime.bPaused = 0;
      cVector<ANIMEPATTERN> patterns;
      patterns.push_back(AnimeStepTable.At(entry.nAnime));
      anime.m_Anime.SetPatterns(std::move(patterns));
      anime.m_Anime.SetPattern(0, 1);
      if (entry.nSkip != 0) anime.m_Anime.Skip(entry.nSkip);
      if (entry.nHold > 1 && entry.bHold == 1) {
        for (ANIMESTEP& step : anime.m_Anime.m_vPatterns[0]) {
          if (!step.bLock) continue;
          step.nTime = SaturateToInt(static_cast<int64_t>(step.nTime) + entry.nHold - 1);
          break;
        }
      }
    }
  }
}

int cCharaBase::RunFlows(int bDeathPass) {
  StartScheduledAnimes();
  int ended = 0;
  for (int i = 0; i < m_vFlows.Size() && !ended; ++i) {
    cFlowInstance& flow = m_vFlows[i];
    if (!flow.m_bRunning) continue;
    if (flow.m_vCommands.empty()) {
      flow.Stop(*this);
      continue;
    }
    if (flow.m_bPaused || flow.m_bStopped) continue;
    const int trigger = flow.Trigger();
    if (bDeathPass && trigger != FLOWTRIGGER_DEATH) continue;
    // The commands may have changed the flow list: look the flow up again.
    if (flow.Step() && i < m_vFlows.Size()) m_vFlows[i].Stop(*this);
    // A vanish or a lost HP ends the pass; what the flows run so far queued
    // is still applied below.
    if (m_bVanished || (!bDeathPass && trigger != FLOWTRIGGER_DEATH && m_nHp <= 0)) ended = 1;
  }
  ClearCurrent(StageData());

  ApplyQueuedFlowChanges();

  if (m_bFlowRemoval) {
    for (int i = 0; i < m_vFlows.Size();) {
      if (m_vFlows[i].m_bDeleted)
        RemoveFlowAt(i);
      else
        ++i;
    }
    m_bFlowRemoval = 0;
  }
  if (m_bSwitchRelease) {
    for (int letter = 0; letter < m_vSwitchReleased.Size(); ++letter) {
      if (!m_vSwitchReleased[letter]) continue;
      m_vSwitchReleased[letter] = 0;
      m_vSwitchTaken.At(letter) = 0;
    }
    m_bSwitchRelease = 0;
  }
  return ended;
}
