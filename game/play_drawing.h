#pragma once
// The drawing calls of the game objects and the stage go through
// PlayDrawing, whose methods are the drawing layer's functions of the same
// names: the layer's own by default, a recorder in tests (which then see each
// call with its arguments). A drawing of play that needs another layer
// function adds it here first.
#include <cstdint>

#include "base/text_format.h"

#include "media/dd_surface.h"
#include "media/dd_types.h"

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
  // Font::DrawText of `font` (a Shift-JIS text; 'a'..'z' as icons unless bPlain).
  virtual int DrawText(Font& font, DDSURFACEDATA* dst, int x, int y, const char* text, int bPlain);
  // DrawMenuText (media/system_menu.h): a menu of system texts.
  virtual void DrawMenuText(DDSURFACEDATA* dst, int x, int y, int first, int count, int bCursorColumn);

  // The character effects' calls (media/dd_blit.h, dd_effects.h, dd_fx.h).
  virtual void DDBltBlend(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy,
                          int flags, const int blend[2]);
  virtual void DDBltStretchBlend(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx,
                                 int sy, int sw, int sh, int flags, const int blend[2]);
  virtual void DDSetDrawColor(uint32_t argb);
  virtual void DDResetDrawColor();
  virtual void DDSetColorOp(int op);
  virtual void DDResetColorOp();
  virtual void DDBltBurst(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy,
                          int d, int flags);
  virtual int DDBltSplit(DDSURFACEDATA* dst, int x, int y, int w, int h, int n, int d, DDSURFACEDATA* src, int sx,
                         int sy, int flags, int bVertical);
  virtual void DDBltWave(DDSURFACEDATA* dst, int x, int y, int w, int h, int waves, double amplitude, int phase,
                         int strip, DDSURFACEDATA* src, int sx, int sy, int flags, int bVertical);
  virtual int DDBltDepthRotate(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* front, int fx,
                               int fy, DDSURFACEDATA* back, int bx, int by, int sw, int sh, int flags, int phase,
                               int axis);
  virtual bool DDBltRotate(DDSURFACEDATA* dst, int x, int y, int w, int h, int pivotX, int pivotY, int angle,
                           DDSURFACEDATA* src, int sx, int sy, int flags);
  virtual int DDBltCircle(DDSURFACEDATA* dst, int cx, int cy, int halfW, int halfH, int radius, int step,
                          DDSURFACEDATA* src, int scx, int scy, int flags);
  virtual bool DDBltLens(DDSURFACEDATA* dst, int cx, int cy, int radius, int height, DDSURFACEDATA* src, int scx,
                         int scy, int flags, int bClear);
  virtual bool DDBltHalf(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy,
                         int flags, const uint8_t* blendTable);
  virtual bool DDBltTint(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy,
                         int flags, const PALETTEENTRY* palette, const uint8_t* blendTable, uint8_t palNum,
                         int level);
  virtual bool DDBltMosaic(DDSURFACEDATA* dst, int x, int y, int w, int h, int block, DDSURFACEDATA* src, int sx,
                           int sy, int flags);
  virtual bool DDBltBlur(DDSURFACEDATA* dst, int x, int y, int w, int h, int rx, int ry, DDSURFACEDATA* src,
                         int sx, int sy, int flags);

  // The stage scene's fades, numbers and whole-surface fill (media/dd_effects.h,
  // dd_surface.h).
  virtual bool DDFadeIn(PALETTEENTRY work[256], int first, int last, uint8_t red, uint8_t green, uint8_t blue,
                        double step, const PALETTEENTRY src[256], int bSkip);
  virtual bool DDFadeOut(PALETTEENTRY work[256], int first, int last, uint8_t red, uint8_t green, uint8_t blue,
                         double step, const PALETTEENTRY src[256], int bSkip);
  virtual void DDDrawNumber(DDSURFACEDATA* dst, int x, int y, int cellW, int cellH, DDSURFACEDATA* digitSheet,
                            int sx, int sy, int flags, int value, int minDigits, int bCentre);
  virtual int DDFillSurface(DDSURFACEDATA* dst, int palNum);

  // The stage frame's sprite batches and stand-in back buffer
  // (media/dd_blit.h, dd_layer.h).
  virtual void DDBeginBatch(int bSort);
  virtual void DDBatchKey(DDSURFACEDATA* lpSrc);
  virtual int DDFlushBatch();
  virtual void DDUseVirBackBuffer(int bOn);

  // The screen effects' and the colour tone's calls (media/dd_blit.h,
  // dd_fx.h, dd_effects.h, dd_surface.h, palette_scheme.h).
  virtual void DDSetAlphaOp(int op);
  virtual void DDResetAlphaOp();
  virtual bool DDBltAlpha(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy,
                          int flags, const uint8_t* blendTable, int level);
  virtual bool DDChangeColor(DDSURFACEDATA* dst, int x, int y, int w, int h, int nAlpha, uint8_t red, uint8_t green,
                             uint8_t blue);
  virtual void DDBlendPalette(PALETTEENTRY out[], int first, int last, int level, uint8_t red, uint8_t green,
                              uint8_t blue, const PALETTEENTRY src[]);
  virtual int DDFillSurfaceColor(DDSURFACEDATA* dst, uint32_t colour);
  virtual void ShowPalette(int first, int count);
  // Font::DrawTextF of `font`: the formatted text through DrawText, icons on.
  int DrawTextF(Font& font, DDSURFACEDATA* dst, int x, int y, const char* format, ...) PRINTF_LIKE(6, 7);
};

// Never null: the layer's drawing unless a test installed another.
extern cPlayDrawing* PlayDrawing;
