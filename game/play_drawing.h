#pragma once
// The drawing calls of the game objects and the stage go through
// PlayDrawing, whose methods are the drawing layer's functions of the same
// names: the layer's own by default, a recorder in tests (which then see each
// call with its arguments). A drawing of play that needs another layer
// function adds it here first.
#include "media/dd_surface.h"

class Font;

class cPlayDrawing {
 public:
  virtual ~cPlayDrawing() = default;
  virtual int DDBlt(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy,
                    int flags);
  virtual int DDBltStretch(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx,
                           int sy, int sw, int sh, int flags);
  virtual int DDFillRect(DDSURFACEDATA* dst, int x, int y, int w, int h, int palNum);
  virtual void DDDrawFrame(DDSURFACEDATA* dst, int x, int y, int w, int h, int t, int palNum);
  // Font::DrawBox of `font` (the opening frame of a message window).
  virtual void DrawBox(Font& font, DDSURFACEDATA* dst, int x, int y, int w, int h);
};

// Never null: the layer's drawing unless a test installed another.
extern cPlayDrawing* PlayDrawing;
