#pragma once
// Window.dat (PathTable entry 47): where the player left the game's window.
// The main window writes it when the program closes in a window; start-up
// reads it and puts the window back. Same layout in every data version, no
// strings, no tail.
#include <cstdint>

#include "records/record.h"

class cWindowData : public cRecord {
 public:
  // The place of a new window: (0, 0), 640 x 480, not maximised.
  cWindowData();
  void RegisterFields(int version) override;
  // Reads the record when the file holds it whole (five values, no strings);
  // a short or damaged file leaves every value as it was and ends the read.
  // Then nX and nY are kept on the screen: below 0 becomes 0, above the
  // full-screen width (height) of the work area becomes that.
  void Load(cDataReader& r) override;

  // The WM_CLOSE of the main window: the outer left and top edges on the
  // screen, the client size and the maximised flag (0 or 1).
  void Set(int32_t x, int32_t y, int32_t width, int32_t height, int32_t maximized);

  // The stored client size as start-up may use it: each side at least 1 and
  // at most the work area's side.
  void ClientSizeWithinScreen(int& width, int& height) const;

  int32_t nX = 0;
  int32_t nY = 0;
  int32_t nWidth = 0;
  int32_t nHeight = 0;
  int32_t bMaximized = 0;
};

extern cWindowData WindowData;
