#pragma once
// The drawing layer as the dialogs see it, set by the test: window mode,
// back end and depth; it records what the dialogs do to palette entry 0.
// Installed while it lives.
#include <cstdint>
#include <string>
#include <vector>

#include "app/dialog_display.h"

class cRecordingDisplay : public cDialogDisplay {
 public:
  cRecordingDisplay() { SetDialogDisplay(this); }
  ~cRecordingDisplay() override { SetDialogDisplay(nullptr); }

  int IsWindowMode() override { return m_bWindow; }
  int IsRunning() override { return m_bRunning; }
  int IsDirect3D() override { return m_bDirect3D; }
  int ColorBits() override { return m_nBits; }
  void SetPaletteEntry0(uint8_t r, uint8_t g, uint8_t b, uint8_t flags) override {
    m_vCalls.push_back("set " + std::to_string(r) + " " + std::to_string(g) + " " + std::to_string(b) + " " +
                       std::to_string(flags));
  }
  void RestorePaletteEntry0() override { m_vCalls.push_back("restore"); }

  int m_bWindow = 1;
  int m_bRunning = 0;
  int m_bDirect3D = 0;
  int m_nBits = 32;
  std::vector<std::string> m_vCalls;
};
