// Stands in for the drawing layer's frame calls until that layer provides
// them (see dd_frame_standin.h).
#include "media/dd_frame_standin.h"

#include <cstdarg>

#include "base/text_format.h"
#include "base/timers.h"
#include "media/dd_frame.h"
#include "platform/clock.h"
#include "platform/thread.h"

DDFRAMESTANDIN DDFrameStandIn;

namespace {

void Record(const std::string& call) {
  if (DDFrameStandIn.bRecord) DDFrameStandIn.calls.push_back(call);
}

}  // namespace

bool DDIsDirect3D() { return DDFrameStandIn.bDirect3D != 0; }
bool DDIsWindowed() { return DDFrameStandIn.bWindowed != 0; }
bool DDIsPrimaryLost() { return DDFrameStandIn.bPrimaryLost != 0; }

bool DDRestore() {
  Record("DDRestore");
  return DDFrameStandIn.bRestoreOk != 0;
}

bool DDRestoreSurfaceSets() {
  Record("DDRestoreSurfaceSets");
  return DDFrameStandIn.bSurfaceSetsOk != 0;
}

int DDPresent(int fps, int overlay, DDSURFACEDATA* sheet) {
  if (DDFrameStandIn.bDirect3D && !DDFrameStandIn.bVSync) {
    while (!PaceFrame(fps < 0 ? 0u : static_cast<unsigned>(fps), overlay, sheet)) {
      if (plat::IsCancelled()) break;
      plat::Sleep(1);
    }
  }
  Record(FormatText("DDPresent %d %d", fps, overlay));
  return DDFrameStandIn.nPresentResult;
}

void DDShowFrame(int sync) { Record(FormatText("DDShowFrame %d", sync)); }

void FontDrawTextF(int font, int x, int y, const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = FormatV(format, args);
  va_end(args);
  Record(FormatText("FontDrawTextF %d %d %d %s", font, x, y, text.c_str()));
}

void FontDrawTextBoxF(int font, int x, int y, int w, int h, const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = FormatV(format, args);
  va_end(args);
  Record(FormatText("FontDrawTextBoxF %d %d %d %d %d %s", font, x, y, w, h, text.c_str()));
}
