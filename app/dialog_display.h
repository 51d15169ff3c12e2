#pragma once
// What the dialogs read and change of the drawing layer: the window mode
// that start-up chose, whether the layer runs and with which back end and
// depth, and entry 0 of the software display's palette, which the file
// dialogs turn black while they are open.
//
// cDialogDisplay answers from the drawing layer's state; tests hand their
// own object to SetDialogDisplay. Read on the main thread, by the dialogs only.
#include <cstdint>

class cDialogDisplay {
 public:
  virtual ~cDialogDisplay() = default;

  virtual int IsWindowMode();  // bWindowMode: 1 in a window, 0 full screen
  virtual int IsRunning();     // 1 while the drawing layer runs (either back end)
  virtual int IsDirect3D();    // 1 when that back end is Direct3D
  virtual int ColorBits();     // 8, 16 or 32 while it runs
  // DirectDraw: sets entry 0 of the display palette (flags 0 as the file
  // dialogs use it).
  virtual void SetPaletteEntry0(uint8_t red, uint8_t green, uint8_t blue, uint8_t flags);
  // DirectDraw: entry 0 of the display palette again from the palette in force.
  virtual void RestorePaletteEntry0();
};

// The drawing layer's answers, or those a test set.
cDialogDisplay& DialogDisplay();
// Tests set their object here; null gives the drawing layer's back. The
// object must live until it is replaced.
void SetDialogDisplay(cDialogDisplay* display);
