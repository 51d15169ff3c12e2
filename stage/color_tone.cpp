// The colour tone's state and its start by the screen-colour command.
#include "stage/color_tone.h"

#include "media/dd_layer.h"
#include "records/anime_step.h"

void cColorTone::Reset() { *this = cColorTone(); }

void cColorTone::Start(const int32_t params[8]) {
  // Fading back needs a tone to fade from: one still running on the 3D
  // device (a tone stays there), one put on the palette otherwise.
  if (params[4] && !(lpDTCon ? m_bRunning : m_bApplied)) return;
  m_nPrevRed = m_nRed;
  m_nPrevGreen = m_nGreen;
  m_nPrevBlue = m_nBlue;
  m_nPrevStrength = m_nStrength;
  m_nPrevLevel = m_nLevel;
  m_nRed = static_cast<uint8_t>(params[0] & 0xFF);
  m_nGreen = static_cast<uint8_t>(params[1] & 0xFF);
  m_nBlue = static_cast<uint8_t>(params[2] & 0xFF);
  m_nStrength = params[3];
  m_bFadeBack = params[4];
  m_nDuration = SaturatedTicks(params[5], TICKS_PER_TENTH);
  m_bFlash = params[6];
  m_nFlashCount = params[7];
  m_bRunning = 1;
  m_nCounter = 0;
  m_nFlashCounter = 0;
  if (!m_bFadeBack) {
    m_nLevel = 0;
    m_bApplied = 1;
    return;
  }
  m_nRed = m_nPrevRed;
  m_nGreen = m_nPrevGreen;
  m_nBlue = m_nPrevBlue;
  m_nStrength = m_nPrevStrength;
  m_nLevel = m_nPrevLevel;
}
