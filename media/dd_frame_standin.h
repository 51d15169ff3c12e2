#pragma once
// Tests only: the stand-in of media/dd_frame.h, which draws nothing. It
// reports the back end and the outcomes a test sets, and records each call
// as one line of text while `bRecord` is set.
#include <string>
#include <vector>

struct DDFRAMESTANDIN {
  int bDirect3D = 0;
  int bWindowed = 1;
  int bVSync = 0;          // Direct3D: 0 paces the present with PaceFrame
  int bPrimaryLost = 0;
  int bRestoreOk = 1;      // DDRestore's result
  int bSurfaceSetsOk = 1;  // DDRestoreSurfaceSets' result
  int nPresentResult = 1;  // DDPresent's result
  int bRecord = 0;
  // "DDRestore", "DDRestoreSurfaceSets", "DDPresent <fps> <overlay>",
  // "DDShowFrame <sync>", "FontDrawTextF <font> <x> <y> <text>",
  // "FontDrawTextBoxF <font> <x> <y> <w> <h> <text>".
  std::vector<std::string> calls;
};

extern DDFRAMESTANDIN DDFrameStandIn;
