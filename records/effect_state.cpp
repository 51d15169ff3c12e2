#include "records/effect_state.h"

#include <cstdlib>
#include <utility>

#include "records/anime_step.h"
#include "records/chara_effect.h"
#include "records/database.h"

namespace {

// |to − from| per drawn frame over `time` tenths of a second.
double StepPerFrame(int32_t from, int32_t to, int32_t time) {
  int64_t distance = std::llabs(static_cast<int64_t>(to) - from);
  return static_cast<double>(distance) /
         static_cast<double>(static_cast<int64_t>(EffectCount(time)) * TICKS_PER_TENTH);
}

const double kOneTick = 1.0 / 6.0;  // a tenth of a second per drawn frame

}  // namespace

void cCharaEffectState::Init(int n, int bReversed) {
  m_sEffect = static_cast<int16_t>(n);
  cVector<cEdCharaEffect>& list = bReversed ? Database.m_vCharaEffectWork : Database.m_vCharaEffect;
  cEdCharaEffect& def = list.At(n);
  m_lpDef = &def;
  int32_t* p = def.m_anParam;
  switch (def.m_nKind) {
    case CHARAEFFECT_BLINK:
    case CHARAEFFECT_TRANSLUCENT:
      m_nStart = 0;
      m_nEnd = p[0];
      m_nTime = p[0];
      m_dValue = 0;
      m_dStep = kOneTick;
      m_nCounter = 0;
      m_bShown = 0;
      break;
    case CHARAEFFECT_BURST:
    case CHARAEFFECT_SPLIT_H:
    case CHARAEFFECT_SPLIT_V:
    case CHARAEFFECT_WAVE_H:
    case CHARAEFFECT_WAVE_V:
    case CHARAEFFECT_ROTATE_A:
    case CHARAEFFECT_ROTATE_B:
    case CHARAEFFECT_ROTATE_DEPTH:
    case CHARAEFFECT_CIRCLE:
    case CHARAEFFECT_ZOOM:
    case CHARAEFFECT_LENS:
    case CHARAEFFECT_COLOR:
    case CHARAEFFECT_MOSAIC:
    case CHARAEFFECT_BLUR:
      m_nTime = p[0];
      if (bReversed) std::swap(p[1], p[2]);
      m_nStart = p[1];
      m_nEnd = p[2];
      m_dValue = p[1];
      m_dStep = StepPerFrame(p[1], p[2], p[0]);
      if (def.m_nKind == CHARAEFFECT_WAVE_H || def.m_nKind == CHARAEFFECT_WAVE_V) m_nCounter = 0;
      break;
    default:  // none, or a kind this program does not know: no effect
      return;
  }
  if (m_nStart == m_nEnd) {
    // Nothing to move: the effect counts its time with the value held.
    m_dStep = kOneTick;
    m_dElapsed = 0;
  }
}

int cCharaEffectState::Kind() const {
  if (!m_lpDef) return CHARAEFFECT_NONE;
  int kind = m_lpDef->m_nKind;
  return kind >= 0 && kind < CHARAEFFECT_COUNT ? kind : CHARAEFFECT_NONE;
}

void cCharaEffectState::Clear() {
  m_sEffect = 0;
  m_lpDef = nullptr;
  m_bLoop = 0;
  m_bReversed = 0;
}

void cScreenEffectState::Init(int n, int bReversed) {
  m_sEffect = static_cast<int16_t>(n);
  m_bTimed = 0;
  cVector<cEdScrEffect>& list = bReversed ? Database.m_vScrEffectWork : Database.m_vScrEffect;
  cEdScrEffect& def = list.At(n);
  m_lpDef = &def;
  int32_t* p = def.m_anParam;
  switch (def.m_nKind) {
    case 1:  // move from (p1, p2) to (p3, p4)
      if (bReversed) {
        std::swap(p[1], p[3]);
        std::swap(p[2], p[4]);
      }
      m_dValue = 0;
      m_dStep = kOneTick;
      m_nAuxA = p[1];
      m_nAuxB = p[2];
      break;
    case 2:  // shake, horizontal and vertical
    case 3:
      m_dValue = 0;
      m_dAux = 0;
      m_dStep = kOneTick;
      m_nAuxA = 0;
      break;
    case 8:  // blink
      m_dValue = 0;
      m_dStep = kOneTick;
      m_nAuxA = 0;
      m_nAuxB = 0;
      break;
    case 4:
    case 5:
    case 6:
    case 7:
    case 9:
    case 10:
    case 11:
    case 12:
    case 13:
      if (bReversed) std::swap(p[1], p[2]);
      m_dValue = p[1];
      m_dStep = StepPerFrame(p[1], p[2], p[0]);
      if (def.m_nKind == 6 || def.m_nKind == 7) m_nAuxA = 0;
      if (p[1] == p[2]) {
        m_bTimed = 1;
        m_dStep = kOneTick;
        m_dElapsed = 0;
        m_nTime = p[0];
      }
      break;
    default:  // none, or unknown: no effect
      break;
  }
}

int cScreenEffectState::Kind() const {
  if (!m_lpDef) return 0;
  int kind = m_lpDef->m_nKind;
  return kind >= 0 && kind < SCREFFECT_COUNT ? kind : 0;
}

void cScreenEffectState::Clear() {
  m_sEffect = 0;
  m_lpDef = nullptr;
  m_bLoop = 0;
  m_bReversed = 0;
  m_bTimed = 0;
}
