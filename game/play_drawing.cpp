#include "game/play_drawing.h"

#include <cstdarg>
#include <string>

#include "media/dd_blit.h"
#include "media/dd_layer.h"
#include "media/dd_effects.h"
#include "media/font.h"
#include "media/dd_fx.h"
#include "media/palette_scheme.h"
#include "media/system_menu.h"

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

void cPlayDrawing::DDBltBlend(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy,
                              int flags, const int blend[2]) {
  ::DDBltBlend(dst, x, y, w, h, src, sx, sy, flags, blend);
}

void cPlayDrawing::DDBltStretchBlend(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx,
                                     int sy, int sw, int sh, int flags, const int blend[2]) {
  ::DDBltStretchBlend(dst, x, y, w, h, src, sx, sy, sw, sh, flags, blend);
}

void cPlayDrawing::DDSetDrawColor(uint32_t argb) { ::DDSetDrawColor(argb); }

void cPlayDrawing::DDResetDrawColor() { ::DDResetDrawColor(); }

void cPlayDrawing::DDSetColorOp(int op) { ::DDSetColorOp(op); }

void cPlayDrawing::DDResetColorOp() { ::DDResetColorOp(); }

int cPlayDrawing::DDFillRect(DDSURFACEDATA* dst, int x, int y, int w, int h, int palNum) {
  return ::DDFillRect(dst, x, y, w, h, palNum);
}

void cPlayDrawing::DDDrawFrame(DDSURFACEDATA* dst, int x, int y, int w, int h, int t, int palNum) {
  ::DDDrawFrame(dst, x, y, w, h, t, palNum);
}

void cPlayDrawing::DrawBox(Font& font, DDSURFACEDATA* dst, int x, int y, int w, int h) {
  font.DrawBox(dst, x, y, w, h);
}

int cPlayDrawing::DrawText(Font& font, DDSURFACEDATA* dst, int x, int y, const char* text, int bPlain) {
  return font.DrawText(dst, x, y, text, bPlain);
}

void cPlayDrawing::DrawMenuText(DDSURFACEDATA* dst, int x, int y, int first, int count, int bCursorColumn) {
  ::DrawMenuText(dst, x, y, first, count, bCursorColumn);
}

void cPlayDrawing::DDBltBurst(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy,
                              int d, int flags) {
  ::DDBltBurst(dst, x, y, w, h, src, sx, sy, d, flags);
}

int cPlayDrawing::DDBltSplit(DDSURFACEDATA* dst, int x, int y, int w, int h, int n, int d, DDSURFACEDATA* src,
                             int sx, int sy, int flags, int bVertical) {
  return ::DDBltSplit(dst, x, y, w, h, n, d, src, sx, sy, flags, bVertical);
}

void cPlayDrawing::DDBltWave(DDSURFACEDATA* dst, int x, int y, int w, int h, int waves, double amplitude,
                             int phase, int strip, DDSURFACEDATA* src, int sx, int sy, int flags, int bVertical) {
  ::DDBltWave(dst, x, y, w, h, waves, amplitude, phase, strip, src, sx, sy, flags, bVertical);
}

int cPlayDrawing::DDBltDepthRotate(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* front, int fx,
                                   int fy, DDSURFACEDATA* back, int bx, int by, int sw, int sh, int flags,
                                   int phase, int axis) {
  return ::DDBltDepthRotate(dst, x, y, w, h, front, fx, fy, back, bx, by, sw, sh, flags, phase, axis);
}

bool cPlayDrawing::DDBltRotate(DDSURFACEDATA* dst, int x, int y, int w, int h, int pivotX, int pivotY, int angle,
                               DDSURFACEDATA* src, int sx, int sy, int flags) {
  return ::DDBltRotate(dst, x, y, w, h, pivotX, pivotY, angle, src, sx, sy, flags);
}

int cPlayDrawing::DDBltCircle(DDSURFACEDATA* dst, int cx, int cy, int halfW, int halfH, int radius, int step,
                              DDSURFACEDATA* src, int scx, int scy, int flags) {
  return ::DDBltCircle(dst, cx, cy, halfW, halfH, radius, step, src, scx, scy, flags);
}

bool cPlayDrawing::DDBltLens(DDSURFACEDATA* dst, int cx, int cy, int radius, int height, DDSURFACEDATA* src,
                             int scx, int scy, int flags, int bClear) {
  return ::DDBltLens(dst, cx, cy, radius, height, src, scx, scy, flags, bClear);
}

bool cPlayDrawing::DDBltHalf(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy,
                             int flags, const uint8_t* blendTable) {
  return ::DDBltHalf(dst, x, y, w, h, src, sx, sy, flags, blendTable);
}

bool cPlayDrawing::DDBltTint(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy,
                             int flags, const PALETTEENTRY* palette, const uint8_t* blendTable, uint8_t palNum,
                             int level) {
  return ::DDBltTint(dst, x, y, w, h, src, sx, sy, flags, palette, blendTable, palNum, level);
}

bool cPlayDrawing::DDBltMosaic(DDSURFACEDATA* dst, int x, int y, int w, int h, int block, DDSURFACEDATA* src,
                               int sx, int sy, int flags) {
  return ::DDBltMosaic(dst, x, y, w, h, block, src, sx, sy, flags);
}

bool cPlayDrawing::DDBltBlur(DDSURFACEDATA* dst, int x, int y, int w, int h, int rx, int ry, DDSURFACEDATA* src,
                             int sx, int sy, int flags) {
  return ::DDBltBlur(dst, x, y, w, h, rx, ry, src, sx, sy, flags);
}

bool cPlayDrawing::DDFadeIn(PALETTEENTRY work[256], int first, int last, uint8_t red, uint8_t green, uint8_t blue,
                            double step, const PALETTEENTRY src[256], int bSkip) {
  return ::DDFadeIn(work, first, last, red, green, blue, step, src, bSkip);
}

bool cPlayDrawing::DDFadeOut(PALETTEENTRY work[256], int first, int last, uint8_t red, uint8_t green, uint8_t blue,
                             double step, const PALETTEENTRY src[256], int bSkip) {
  return ::DDFadeOut(work, first, last, red, green, blue, step, src, bSkip);
}

void cPlayDrawing::DDDrawNumber(DDSURFACEDATA* dst, int x, int y, int cellW, int cellH, DDSURFACEDATA* digitSheet,
                                int sx, int sy, int flags, int value, int minDigits, int bCentre) {
  ::DDDrawNumber(dst, x, y, cellW, cellH, digitSheet, sx, sy, flags, value, minDigits, bCentre);
}

int cPlayDrawing::DDFillSurface(DDSURFACEDATA* dst, int palNum) { return ::DDFillSurface(dst, palNum); }

void cPlayDrawing::DDBeginBatch(int bSort) { ::DDBeginBatch(bSort); }

void cPlayDrawing::DDBatchKey(DDSURFACEDATA* lpSrc) { ::DDBatchKey(lpSrc); }

int cPlayDrawing::DDFlushBatch() { return ::DDFlushBatch(); }

void cPlayDrawing::DDUseVirBackBuffer(int bOn) { ::DDUseVirBackBuffer(bOn); }

void cPlayDrawing::DDSetAlphaOp(int op) { ::DDSetAlphaOp(op); }

void cPlayDrawing::DDResetAlphaOp() { ::DDResetAlphaOp(); }

bool cPlayDrawing::DDBltAlpha(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy,
                              int flags, const uint8_t* blendTable, int level) {
  return ::DDBltAlpha(dst, x, y, w, h, src, sx, sy, flags, blendTable, level);
}

bool cPlayDrawing::DDChangeColor(DDSURFACEDATA* dst, int x, int y, int w, int h, int nAlpha, uint8_t red,
                                 uint8_t green, uint8_t blue) {
  return ::DDChangeColor(dst, x, y, w, h, nAlpha, red, green, blue);
}

void cPlayDrawing::DDBlendPalette(PALETTEENTRY out[], int first, int last, int level, uint8_t red, uint8_t green,
                                  uint8_t blue, const PALETTEENTRY src[]) {
  ::DDBlendPalette(out, first, last, level, red, green, blue, src);
}

int cPlayDrawing::DDFillSurfaceColor(DDSURFACEDATA* dst, uint32_t colour) { return ::DDFillSurfaceColor(dst, colour); }

void cPlayDrawing::ShowPalette(int first, int count) { ::ShowPalette(first, count); }

int cPlayDrawing::DrawTextF(Font& font, DDSURFACEDATA* dst, int x, int y, const char* format, ...) {
  if (!format) return 0;
  va_list args;
  va_start(args, format);
  const std::string text = FormatV(format, args);
  va_end(args);
  return DrawText(font, dst, x, y, text.c_str(), 0);
}
