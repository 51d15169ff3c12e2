#pragma once
// The stage's colour tone: a coloured overlay over the finished frame (or,
// at 8 bits, a tinted palette) that fades in, fades back to the tone before
// it, or flashes. The screen-colour command starts it; the stage drawing
// shows and advances it once a frame.
#include <cstdint>

class cColorTone {
 public:
  int32_t m_bApplied = 0;  // a tone has been put on the screen
  uint8_t m_nRed = 0;
  uint8_t m_nGreen = 0;
  uint8_t m_nBlue = 0;
  int32_t m_nStrength = 0;  // percent
  int32_t m_bFadeBack = 0;  // fades back to the previous tone
  int32_t m_nDuration = 0;  // frames
  int32_t m_bFlash = 0;
  int32_t m_nFlashCount = 0;
  int32_t m_bRunning = 0;
  int32_t m_nCounter = 0;       // frames of the running tone
  int32_t m_nFlashCounter = 0;  // flashes shown
  int32_t m_nLevel = 0;         // 0 full colour .. 255 invisible
  uint8_t m_nPrevRed = 0;
  uint8_t m_nPrevGreen = 0;
  uint8_t m_nPrevBlue = 0;
  int32_t m_nPrevStrength = 0;
  int32_t m_nPrevLevel = 255;

  // No tone: every member 0 but the previous level, 255 (nothing to fade
  // back from). The scene's construction and every stage start.
  void Reset();
  // The screen-colour command's parameters p0..p7: red, green, blue,
  // strength (percent), fade back, time (tenths of a second), flash, flash
  // count.
  void Start(const int32_t params[8]);
};
