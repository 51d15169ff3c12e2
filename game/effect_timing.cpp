// Running a character effect or a screen effect: starting one from its
// precomputed state, restarting it, and stepping its value once a drawn frame.
#include "base/checked_convert.h"
#include "records/database.h"
#include "records/effect_state.h"

namespace {

// The precomputed state of effect n, bound-tested on the full int before
// anything narrows it: a bad number is reported and entry 0 stands in.
template <class State>
const State& Precomputed(cVector<State>& normal, cVector<State>& reversed, int n, bool bReversed, int& used) {
  cVector<State>& table = bReversed ? reversed : normal;
  used = n >= 0 && n < table.Size() ? n : 0;
  return table.At(n);
}

// Step 4 of both states: a looping effect, or a back-and-forth one on its
// forward run, starts again instead of ending.
template <class State>
int EndOrRestart(State& state) {
  if (state.m_bLoop || (state.m_nRunMode == 2 && !state.m_bReversed)) {
    state.Restart();
    return 0;
  }
  return 1;
}

}  // namespace

void cCharaEffectState::CopyFrom(const cCharaEffectState& src) {
  m_lpDef = src.m_lpDef;
  m_nStart = src.m_nStart;
  m_nEnd = src.m_nEnd;
  m_dValue = src.m_dValue;
  m_dStep = src.m_dStep;
  m_dElapsed = src.m_dElapsed;
  m_nTime = src.m_nTime;
  m_nCounter = src.m_nCounter;
  m_bShown = src.m_bShown;
}

void cCharaEffectState::Start(int n, int runMode, int bLoop) {
  int used = 0;
  CopyFrom(Precomputed(CharaFxInstA, CharaFxInstB, n, runMode == 1, used));
  m_bReversed = runMode == 1 ? 1 : 0;
  m_sEffect = static_cast<int16_t>(used);
  m_nRunMode = runMode;
  m_bLoop = bLoop;
}

void cCharaEffectState::Restart() {
  if (m_nRunMode == 2) m_bReversed = !m_bReversed;
  int used = 0;
  CopyFrom(Precomputed(CharaFxInstA, CharaFxInstB, m_sEffect, m_bReversed != 0, used));
}

int cCharaEffectState::Step() {
  bool running;
  if (m_nStart == m_nEnd) {
    m_dElapsed += m_dStep;
    running = m_dElapsed <= m_nTime;
  } else if (m_nEnd < m_nStart) {
    m_dValue -= m_dStep;
    running = m_dValue >= m_nEnd;
  } else {
    m_dValue += m_dStep;
    running = m_dValue <= m_nEnd;
  }
  return running ? 0 : EndOrRestart(*this);
}

void cScreenEffectState::CopyFrom(const cScreenEffectState& src) {
  m_lpDef = src.m_lpDef;
  m_dValue = src.m_dValue;
  m_dAux = src.m_dAux;
  m_dStep = src.m_dStep;
  m_nAuxA = src.m_nAuxA;
  m_nAuxB = src.m_nAuxB;
  m_bTimed = src.m_bTimed;
  m_dElapsed = src.m_dElapsed;
  m_nTime = src.m_nTime;
}

void cScreenEffectState::Start(int n, int runMode, int bLoop) {
  int used = 0;
  CopyFrom(Precomputed(ScrFxInstA, ScrFxInstB, n, runMode == 1, used));
  m_bReversed = runMode == 1 ? 1 : 0;
  m_sEffect = static_cast<int16_t>(used);
  m_nRunMode = runMode;
  m_bLoop = bLoop;
  m_nTick = 0;
}

void cScreenEffectState::Restart() {
  if (m_nRunMode == 2) m_bReversed = !m_bReversed;
  int used = 0;
  CopyFrom(Precomputed(ScrFxInstA, ScrFxInstB, m_sEffect, m_bReversed != 0, used));
  m_nTick = 0;
}

int cScreenEffectState::Step(int from, int to, double step) {
  bool running;
  if (m_bTimed) {
    m_dElapsed += m_dStep;
    running = m_dElapsed <= m_nTime;
  } else if (to < from) {
    m_dValue -= step;
    running = ToIntChecked(m_dValue) >= to;
  } else {
    m_dValue += step;
    running = to >= ToIntChecked(m_dValue);
  }
  return running ? 0 : EndOrRestart(*this);
}
