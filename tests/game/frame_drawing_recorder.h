#pragma once
// The frame loop's drawing for tests: it draws nothing, reports the back end
// and the outcomes a test sets, and records each call as one line of text
// while `bRecord` is set. Installed as FrameDrawing by the frame-loop fixture.
#include <string>
#include <vector>

#include "base/text_format.h"
#include "base/timers.h"
#include "media/dd_frame.h"
#include "platform/clock.h"
#include "platform/thread.h"

struct DDFRAMESTANDIN {
  int bDirect3D = 0;
  int bWindowed = 1;
  int bVSync = 0;          // 3D: 0 paces the present with PaceFrame
  int bPrimaryLost = 0;
  int bRestoreOk = 1;      // Restore's result
  int bSurfaceSetsOk = 1;  // RestoreSurfaceSets' result
  int nPresentResult = 1;  // Present's result
  int bRecord = 0;
  // "DDRestore", "DDRestoreSurfaceSets", "DDPresent <fps> <overlay>",
  // "DDShowFrame <sync>", "FontDrawTextF <font> <x> <y> <text>",
  // "FontDrawTextBoxF <font> <x> <y> <w> <h> <text>".
  std::vector<std::string> calls;
};

inline DDFRAMESTANDIN DDFrameStandIn;

class cRecordingFrameDrawing : public cFrameDrawing {
 public:
  bool IsDirect3D() override { return DDFrameStandIn.bDirect3D != 0; }
  bool IsWindowed() override { return DDFrameStandIn.bWindowed != 0; }
  bool IsPrimaryLost() override { return DDFrameStandIn.bPrimaryLost != 0; }
  bool Restore() override {
    Record("DDRestore");
    return DDFrameStandIn.bRestoreOk != 0;
  }
  bool RestoreSurfaceSets() override {
    Record("DDRestoreSurfaceSets");
    return DDFrameStandIn.bSurfaceSetsOk != 0;
  }
  bool Present(int fps, int overlay, DDSURFACEDATA* sheet) override {
    // Paces like the 3D back end with vertical sync off.
    if (DDFrameStandIn.bDirect3D && !DDFrameStandIn.bVSync) {
      while (!PaceFrame(fps < 0 ? 0u : static_cast<unsigned>(fps), overlay, sheet)) {
        if (plat::IsCancelled()) break;
        plat::Sleep(1);
      }
    }
    Record(FormatText("DDPresent %d %d", fps, overlay));
    return DDFrameStandIn.nPresentResult != 0;
  }
  void ShowFrame(int sync) override { Record(FormatText("DDShowFrame %d", sync)); }
  void DrawText(int font, int x, int y, const char* text) override {
    Record(FormatText("FontDrawTextF %d %d %d %s", font, x, y, text));
  }
  void DrawTextBox(int font, int x, int y, int w, int h, const char* text) override {
    Record(FormatText("FontDrawTextBoxF %d %d %d %d %d %s", font, x, y, w, h, text));
  }

 private:
  static void Record(const std::string& call) {
    if (DDFrameStandIn.bRecord) DDFrameStandIn.calls.push_back(call);
  }
};
