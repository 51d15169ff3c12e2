#pragma once
// Small drawings the scenes share: frames and framed boxes, numbers from a
// digit strip, wave, split, burst and depth-turn distortions, palette blends
// and rotation, and the fades every scene runs when it enters and leaves.
// Angles are degrees. Drawing thread.
#include "media/dd_surface.h"
#include "media/dd_types.h"

// A frame of thickness t inside (x, y, w, h) in palette colour palNum.
void DDDrawFrame(DDSURFACEDATA* dst, int x, int y, int w, int h, int t, int palNum);
// The top-left w x h of boxImage at (x, y), and a frame of thickness t just outside it.
void DDDrawFramedBox(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* boxImage, int t, int palNum);
// The decimal digits of value (negative shows as 0) from a strip of ten
// cellW x cellH cells at (sx, sy); fewer digits than minDigits move right
// (by half as much with bCentre).
void DDDrawNumber(DDSURFACEDATA* dst, int x, int y, int cellW, int cellH, DDSURFACEDATA* digitSheet, int sx, int sy,
                  int flags, int value, int minDigits, int bCentre);
// Columns (bVertical) or rows of `strip` pixels, each moved by
// amplitude * sin(waves * angle), the angle stepping across the image.
void DDBltWave(DDSURFACEDATA* dst, int x, int y, int w, int h, int waves, double amplitude, int phase, int strip,
               DDSURFACEDATA* src, int sx, int sy, int flags, int bVertical);
// Strips of n pixels, odd ones moved d one way and even ones the other.
int DDBltSplit(DDSURFACEDATA* dst, int x, int y, int w, int h, int n, int d, DDSURFACEDATA* src, int sx, int sy,
               int flags, int bVertical);
// The four quarters moved d pixels diagonally outward.
void DDBltBurst(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int d,
                int flags);
// An image turning about its vertical (axis 0) or horizontal (axis 1) axis,
// front and back showing in turn as phase advances.
int DDBltDepthRotate(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* front, int fx, int fy,
                     DDSURFACEDATA* back, int bx, int by, int sw, int sh, int flags, int phase, int axis);

// Entries first..last of src mixed with a colour into out: level 256 keeps
// the palette, 0 gives the colour.
void DDBlendPalette(PALETTEENTRY out[], int first, int last, int level, uint8_t red, uint8_t green, uint8_t blue,
                    const PALETTEENTRY src[]);
// Copies src to out, then turns entries first..last by n places: direction 0
// toward higher numbers, 1 toward lower.
void DDRotatePalette(PALETTEENTRY out[256], int first, int last, int n, int direction, const PALETTEENTRY src[256]);
// One step of the screen fade per call, once a frame; true on the call that
// finishes it (step degrees of a quarter turn per call; bSkip finishes at once).
bool DDFadeOut(PALETTEENTRY work[256], int first, int last, uint8_t red, uint8_t green, uint8_t blue, double step,
               const PALETTEENTRY src[256], int bSkip);
bool DDFadeIn(PALETTEENTRY work[256], int first, int last, uint8_t red, uint8_t green, uint8_t blue, double step,
              const PALETTEENTRY src[256], int bSkip);
