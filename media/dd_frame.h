#pragma once
// What the frame loop asks of the drawing layer each frame: which back end
// runs, the recovery of lost DirectDraw surfaces, the frame-rate text and
// the present. Called on the thread that runs the current frame loop.
#include "base/text_format.h"

struct DDSURFACEDATA;

// The Direct3D back end runs (its context exists). While it does not, the
// frame loop paces and presents the DirectDraw way.
bool DDIsDirect3D();
// The display is a window (false: full screen).
bool DDIsWindowed();

// DirectDraw: the primary surface reports itself lost.
bool DDIsPrimaryLost();
// DirectDraw: restores the primary surface, the back buffer, the system
// surfaces, the palette and the fonts; false when a restore failed.
bool DDRestore();
// DirectDraw, after DDRestore: restores every lost surface of the stage's
// and the scenes' surface sets (Off_StageBmp, Off_Effect, Off_Sword,
// Off_Picture, Off_Scene, Off_Msg: a video-memory one gets bLost = 1 and its
// image reloaded) and redraws the lost digit sheets; false at the first
// surface that cannot be reloaded.
bool DDRestoreSurfaceSets();

// Direct3D: ends the frame's drawing, paces to `fps` frames per second when
// vertical sync is off (the overlay arguments are 0 from the frame loop) and
// presents. 0 when the device is lost, else 1.
int DDPresent(int fps, int overlay, DDSURFACEDATA* sheet);
// DirectDraw: shows the back buffer. In a window `sync` first waits for the
// start of the vertical blank, then the whole back buffer is copied to the
// window's client area; in full screen `sync` flips the primary chain, else
// the 640 x 480 back buffer is copied to the primary surface.
void DDShowFrame(int sync);

// Printf-style text on the back buffer with system font `font` (0..2): plain
// at (x, y), or in a framed box whose top left corner is (x, y) (a w or h of
// 0 fits the box to the text).
void FontDrawTextF(int font, int x, int y, const char* format, ...) PRINTF_LIKE(4, 5);
void FontDrawTextBoxF(int font, int x, int y, int w, int h, const char* format, ...)
    PRINTF_LIKE(6, 7);
