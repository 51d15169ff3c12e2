#pragma once
// What the frame loop asks of the drawing layer each frame: which back end
// runs, the recovery of lost software-display surfaces, the frame-rate text
// and the present. Called on the thread that runs the current frame loop,
// through FrameDrawing, so that tests can watch the calls.
struct DDSURFACEDATA;

class cFrameDrawing {
 public:
  virtual ~cFrameDrawing() = default;

  // The 3D back end runs (lpDTCon exists). While it does not, the frame loop
  // paces and presents the software-display way.
  virtual bool IsDirect3D();
  // The display is a window (false: full screen).
  virtual bool IsWindowed();

  // Software display: the primary surface reports itself lost.
  virtual bool IsPrimaryLost();
  // Software display: DDRestore (primary, back buffer, system surfaces,
  // palette, fonts); false when a restore failed.
  virtual bool Restore();
  // Software display, after Restore: every lost surface of the stage's and
  // the scenes' surface sets gets its image reloaded (an empty one bLost),
  // and the lost digit sheets are redrawn; false at the first surface that
  // cannot be reloaded.
  virtual bool RestoreSurfaceSets();

  // 3D: DDPresent (pacing to `fps` when vertical sync is off, then the
  // present). False when the device is lost.
  virtual bool Present(int fps, int overlay, DDSURFACEDATA* sheet);
  // Software display: shows the back buffer. In a window `sync` first waits
  // for the vertical blank, then the back buffer is copied to the client
  // area; in full screen `sync` flips the primary chain, else the 640 x 480
  // back buffer is copied to the primary.
  virtual void ShowFrame(int sync);

  // Text on the back buffer with system font `font` (0..2): plain at (x, y),
  // or in a framed box whose top left corner is (x, y) (a w or h of 0 fits
  // the box to the text).
  virtual void DrawText(int font, int x, int y, const char* text);
  virtual void DrawTextBox(int font, int x, int y, int w, int h, const char* text);
};

// The drawing the frame loop uses; the layer's own unless a test put another.
extern cFrameDrawing* FrameDrawing;
