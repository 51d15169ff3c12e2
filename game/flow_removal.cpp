// Removing flows at run time (flow operations, item flow changes) with the
// animations they started, and pausing or resuming those animations.
#include "game/chara_base.h"

namespace {

// Stops instance n, drops its animations, its instance and its record.
void EraseFlow(cCharaBase& chara, int n) {
  cFlowInstance& flow = chara.m_vFlows[n];
  flow.Stop(chara);
  chara.RemoveFlowAnimes(flow.m_nSerial);
  if (n < chara.m_Def.m_vFlows.Size()) chara.m_Def.m_vFlows.erase(chara.m_Def.m_vFlows.begin() + n);
  chara.m_vFlows.erase(chara.m_vFlows.begin() + n);
}

}  // namespace

void cCharaBase::RemoveFlowAt(int n) {
  if (n < 0 || n >= m_vFlows.Size()) {
    m_vFlows.At(n);  // reports the bad position
    return;
  }
  EraseFlow(*this, n);
  RebindFlows();
}

int cCharaBase::RemoveFlowsById(int id) {
  if (id == 0) {
    for (cFlowInstance& flow : m_vFlows) flow.Stop(*this);
    m_vFlows.clear();
    m_Def.m_vFlows.clear();
    m_lAnimes.clear();  // also those no flow started
    RebindFlows();
    return 0;
  }
  int first = -1;
  for (int i = 0; i < m_vFlows.Size();) {
    const cEdFlow* record = m_vFlows[i].m_pFlow;
    if (!record || record->m_nId == 0 || record->m_nId != id) {
      ++i;
      continue;
    }
    EraseFlow(*this, i);
    RebindFlows();
    if (first < 0) first = i;
  }
  return first;
}

void cCharaBase::RemoveFlowAnimes(int key) {
  m_lAnimes.remove_if([key](const ATTACHEDANIME& anime) { return anime.nKey == key; });
}

void cCharaBase::PauseFlowAnimes(int key) {
  for (auto it = m_lAnimes.begin(); it != m_lAnimes.end();) {
    if (it->nKey != key) {
      ++it;
    } else if (static_cast<int64_t>(it->nLength) + it->nHold - 1 < 0) {
      it = m_lAnimes.erase(it);
    } else {
      it->bPaused = 1;
      ++it;
    }
  }
}

void cCharaBase::ResumeFlowAnimes(int key) {
  for (ATTACHEDANIME& anime : m_lAnimes)
    if (anime.nKey == key) anime.bPaused = 0;
}
