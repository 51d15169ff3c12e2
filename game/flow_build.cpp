// Building a character's flow instances from its flow records, the command
// animation schedule, and pointing instances at the records again after the
// records moved.
#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <iterator>

#include "base/checked_convert.h"
#include "game/action_commands.h"
#include "game/chara_base.h"
#include "game/flow_loops.h"
#include "records/anime_step.h"
#include "records/database.h"
#include "records/stage.h"

namespace {


// (growth × N + base) in 64 bits, saturated.
int32_t GrownValue(int16_t base, int16_t growth, int16_t n) {
  return SaturateToInt(static_cast<int64_t>(growth) * n + base);
}

void SetUpCommand(cCharaBase& chara, cCommandInstance& instance, cEdCommand& command) {
  instance.m_pCommand = &command;
  const int s = Stage.StepsPerFrame();
  const int16_t n = chara.m_sCloneNo;
  instance.m_nDuration = SaturatedTicks(GrownValue(command.m_nUseTime, command.m_nUseTimeGrowth, n),
                                        static_cast<int64_t>(s) * TICKS_PER_TENTH);
  if (const cEdMove* move = command.m_spMove.get()) {
    instance.m_dSpeed = static_cast<double>(GrownValue(move->m_nSpeed, move->m_nSpeedStep, n)) * 0.1 / s;
    if (move->m_bInertia) instance.m_dMaxSpeed = static_cast<double>(move->m_nMaxSpeed) * 0.1 / s;
    instance.m_nDirCode = move->m_nDirCode;
  }
  SetupActionCommand(chara, instance);
}

// Frames of animation a before its first frame with the action flag.
int64_t FramesBeforeAction(int a) {
  int64_t tenths = 0;
  for (const cEdAnimeFrame& frame : Database.m_vAnime.At(a).m_vFrame) {
    if (frame.m_bLock) break;
    tenths += frame.m_nTime;
  }
  return tenths * TICKS_PER_TENTH;
}

// Each command animation plays before its command so that it reaches its
// action frame on the step the command starts; a flow that has not run long
// enough before the command starts it at once with its first frames cut.
void BuildAnimeSchedule(cFlowInstance& flow) {
  flow.m_vAnimeSchedule.clear();
  const int64_t s = Stage.StepsPerFrame();
  // t: the waiting time of the commands before v; longest: the longest
  // waiting time of the commands from some w up to v − 1 (durations may be
  // negative), which decides whether the flow has run long enough before v.
  int64_t t = 0;
  int64_t longest = 0;
  for (int v = 0; v < flow.m_vCommands.Size(); ++v) {
    const cCommandInstance& cv = flow.m_vCommands[v];
    const cEdCommand& command = *cv.m_pCommand;
    if (command.m_nAnime != 0) {
      const int64_t c = SaturateToInt(FramesBeforeAction(command.m_nAnime));
      const int64_t a = c * s;
      FLOWANIMEENTRY entry;
      entry.nAnime = command.m_nAnime;
      entry.nLength = static_cast<int32_t>(c);
      entry.nHold = command.m_nUseTime * TICKS_PER_TENTH;
      entry.bHold = command.m_nType != ACTCMDTYPE_JUMP && command.m_nType != ACTCMDTYPE_SWORD;
      if (v > 0 && longest >= a) {
        entry.nStart = SaturateToInt(t - a);
      } else {
        entry.nStart = 0;
        entry.nSkip = static_cast<int32_t>(std::min((a - t) / s, c));
        entry.nLength = static_cast<int32_t>(c - entry.nSkip);
      }
      flow.m_vAnimeSchedule.push_back(entry);
    }
    const int64_t d = command.m_bNoWait ? 0 : cv.m_nDuration;
    longest = v == 0 ? d : d + std::max<int64_t>(longest, 0);
    t += d;
  }
}

}  // namespace

void cCharaBase::BuildFlows(cVector<cEdFlow>& flows, int bInsert, int nPos, int bTake) {
  for (int k = 0; k < flows.Size(); ++k) {
    char owner[64];
    std::snprintf(owner, sizeof owner, "chara %d flow %d", m_nId, k);
    ExpandLoops(flows[k].m_vCommands, owner);
  }

  const int count = bInsert ? FlowsWithinBudget(flows, bTake) : flows.Size();
  int base = 0;
  if (!bInsert) {
    // The instances always point into the definition copy.
    if (&flows != &m_Def.m_vFlows) m_Def.m_vFlows = flows;
    m_vFlows.clear();
    m_vFlows.resize(count);
  } else {
    // Copied first: `flows` may be the definition copy itself.
    cVector<cEdFlow> copies;
    if (bTake)
      copies.assign(std::make_move_iterator(flows.begin()), std::make_move_iterator(flows.begin() + count));
    else
      copies.assign(flows.begin(), flows.begin() + count);
    base = nPos >= 0 && nPos < m_Def.m_vFlows.Size() ? nPos : m_vFlows.Size();
    base = std::min({base, m_Def.m_vFlows.Size(), m_vFlows.Size()});
    m_Def.m_vFlows.insert(m_Def.m_vFlows.begin() + base, std::make_move_iterator(copies.begin()),
                          std::make_move_iterator(copies.end()));
    m_vFlows.insert(m_vFlows.begin() + base, count, cFlowInstance());
  }

  for (int k = 0; k < count; ++k) {
    cFlowInstance& flow = m_vFlows[base + k];
    cEdFlow& record = m_Def.m_vFlows[base + k];
    flow.m_nIndex = base + k;
    flow.m_pFlow = &record;
    flow.m_nSerial = m_nFlowSerial;
    if (m_nFlowSerial < INT32_MAX) ++m_nFlowSerial;
    flow.m_vKeyConds.clear();
    for (cEdKeyCondition& key : record.m_vKeyConditions) flow.m_vKeyConds.push_back(&key);
    flow.m_vCommands.clear();
    flow.m_vCommands.resize(record.m_vCommands.size());
    for (int j = 0; j < record.m_vCommands.Size(); ++j)
      SetUpCommand(*this, flow.m_vCommands[j], record.m_vCommands[j]);
    if (bInsert && !record.m_bKeyRepeat) flow.m_bKeyLatched = 1;
  }
  if (bInsert) RebindFlows();
  for (int k = 0; k < count; ++k) BuildAnimeSchedule(m_vFlows[base + k]);
}

void cCharaBase::RebindFlows() {
  for (int i = 0; i < m_vFlows.Size(); ++i) {
    cFlowInstance& flow = m_vFlows[i];
    cEdFlow* record = i < m_Def.m_vFlows.Size() ? &m_Def.m_vFlows[i] : nullptr;
    flow.m_nIndex = i;
    flow.m_pFlow = record;
    for (int j = 0; j < flow.m_vKeyConds.Size(); ++j)
      flow.m_vKeyConds[j] =
          record && j < record->m_vKeyConditions.Size() ? &record->m_vKeyConditions[j] : nullptr;
    for (int j = 0; j < flow.m_vCommands.Size(); ++j)
      flow.m_vCommands[j].m_pCommand = record && j < record->m_vCommands.Size() ? &record->m_vCommands[j] : nullptr;
  }
}

void cCharaBase::AssignFlows(const cCharaBase& other) {
  m_vFlows = other.m_vFlows;
  RebindFlows();
}
