#include "game/play_drawing.h"

#include "media/dd_blit.h"
#include "media/dd_effects.h"
#include "media/font.h"

namespace {
cPlayDrawing g_layerDrawing;
}

cPlayDrawing* PlayDrawing = &g_layerDrawing;

int cPlayDrawing::DDBlt(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy,
                        int flags) {
  return ::DDBlt(dst, x, y, w, h, src, sx, sy, flags);
}

int cPlayDrawing::DDBltStretch(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx,
                               int sy, int sw, int sh, int flags) {
  return ::DDBltStretch(dst, x, y, w, h, src, sx, sy, sw, sh, flags);
}

int cPlayDrawing::DDFillRect(DDSURFACEDATA* dst, int x, int y, int w, int h, int palNum) {
  return ::DDFillRect(dst, x, y, w, h, palNum);
}

void cPlayDrawing::DDDrawFrame(DDSURFACEDATA* dst, int x, int y, int w, int h, int t, int palNum) {
  ::DDDrawFrame(dst, x, y, w, h, t, palNum);
}

void cPlayDrawing::DrawBox(Font& font, DDSURFACEDATA* dst, int x, int y, int w, int h) {
  font.DrawBox(dst, x, y, w, h);
}
