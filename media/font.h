#pragma once
// Text drawing with the project's fonts. Only what the system menus use is
// declared yet, as virtual operations so that tests can watch the calls; the
// fonts complete the class (creation from the font definitions, glyph
// caches, icons, restore after device loss, the other drawing entries).
#include "media/dd_surface.h"

class Font {
 public:
  virtual ~Font() = default;

  // Draws a framed box of w × h dots at (x, y) with the font's box image and
  // frame, then the Shift-JIS text in it, `margin` dots in from the left edge
  // ('\n' starts a line one cell lower). A w or h of 0 takes the text's
  // extent; an x or y of 10000 centres the box in the box image. The text is
  // drawn as it stands. Returns 0 when nothing could be drawn.
  virtual int DrawTextBox(DDSURFACEDATA* target, int x, int y, int w, int h, const char* text,
                          int margin);
};

// The three system fonts: 0 and 1 draw the frame-rate display, 1 the menus
// and the head-up display.
extern Font SysFont[3];
