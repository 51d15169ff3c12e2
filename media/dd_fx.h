#pragma once
// Pixel effects: translucent, tinted and colour-tone copies, the rotated
// copy, disc and lens copies, blur and mosaic. The character effects and the
// stage's screen effects call them on the drawing thread, usually from a work
// surface that holds a copy of the picture.
//
// Targets come first, sources later; positions and sizes are pixels; flags 1
// leaves the source's transparent pixels out, 0 copies them. On the 3D device
// the translucent, tinted, rotated and colour-tone copies draw one textured
// quad when the target is a render target and the source is not a
// system-memory texture; everything else reads and writes locked pixels.
// Only what lands inside the target and is read from inside the source is
// touched, whatever the arguments, and a call costs no more than that. A
// null surface, one never made or one released draws nothing. The pixel
// loops exist for 8, 16 and 32 bits; other depths draw nothing and write a
// debug line.
#include <cstdint>

#include "media/dd_surface.h"
#include "media/dd_types.h"

// A translucent copy of the w x h rectangle at (sx, sy) to (x, y).
// blendTable: the 8-bit software display's 256 x 256 table ([target * 256 +
// source] shows their mix; callers pass BlendTable), not read otherwise.
// level 0 (opaque) .. 255 (invisible) acts on the quad only; the software
// paths always mix half and half. False when a lock fails, or at 8 bits
// without a table.
bool DDBltAlpha(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int flags,
                const uint8_t* blendTable, int level);
// DDBltAlpha at level 128.
bool DDBltHalf(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int flags,
               const uint8_t* blendTable);
// The source pulled towards palette colour palNum of `palette` in `level`
// steps (1 half way, each further step half the rest; on the 3D device
// levels past 4 give the colour itself). Level 0 or below draws nothing. At 8
// bits the steps go through the global BlendTable ([index * 256 + palNum]);
// the blendTable argument is not read. False when a lock fails, or when a
// palette is needed and null.
bool DDBltTint(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int flags,
               const PALETTEENTRY* palette, const uint8_t* blendTable, uint8_t palNum, int level);
// 3D only: the whole target tinted with the colour at opacity 255 - nAlpha
// (0-255) over the target's own picture, whatever the rectangle says.
// Refused with a debug line on the software display. Always true.
bool DDChangeColor(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight, int nAlpha, uint8_t bRed,
                   uint8_t bGreen, uint8_t bBlue);
// The same with the picture taken from lpSrcSD (at least the target's size).
bool DDChangeColorFrom(DDSURFACEDATA* lpDstSD, int x, int y, int nWidth, int nHeight, DDSURFACEDATA* lpSrcSD,
                       int nAlpha, uint8_t bRed, uint8_t bGreen, uint8_t bBlue);

// The w x h rectangle at (sx, sy) turned by `angle` degrees about its point
// (pivotX, pivotY) (relative to its top-left corner), that point landing on
// (x, y). In software pixels equal to TransmitPixel are left out with flags
// 1, under both back ends. False when a lock fails.
bool DDBltRotate(DDSURFACEDATA* dst, int x, int y, int w, int h, int pivotX, int pivotY, int angle,
                 DDSURFACEDATA* src, int sx, int sy, int flags);

// A disc of `radius` around (scx, scy) of the source copied around (cx, cy),
// one blit per row, or per band of `step` rows, kept within halfW x halfH of
// the centre; on the 3D device in one sprite batch. Radius, step or a half
// size of 0 or less draw nothing. The batch flush's result (1 on the software
// display).
int DDBltCircle(DDSURFACEDATA* dst, int cx, int cy, int halfW, int halfH, int radius, int step, DDSURFACEDATA* src,
                int scx, int scy, int flags);
// A disc of `radius` through a spherical lens: magnified about E / height in
// the middle (E = sqrt(radius^2 + height^2)), unchanged at the rim; a smaller
// height magnifies more. flags act at 3D 16 bits only; bClear (3D 32 bits
// only) clears the scanned square outside the disc, and points without a
// source pixel, to 0. False when nothing can be drawn (negative radius or
// height, height >= E) or a lock fails.
bool DDBltLens(DDSURFACEDATA* dst, int cx, int cy, int radius, int height, DDSURFACEDATA* src, int scx, int scy,
               int flags, int bClear);

// Every pixel of the rectangle the average of the box of 2*rx x 2*ry source
// pixels around it (rx before it, rx - 1 after it; the same vertically) that
// lies in the rectangle; with flags 1 transparent pixels neither count nor
// change. Refused at 8 bits (debug line, true). A radius of 0 or less draws
// nothing. False when a lock fails.
bool DDBltBlur(DDSURFACEDATA* dst, int x, int y, int w, int h, int rx, int ry, DDSURFACEDATA* src, int sx, int sy,
               int flags);
// The rectangle in squares of `block` pixels from its top-left corner, each
// one colour: the average of its pixels on the software display at 16 and 32
// bits, its top-left pixel otherwise. A block of 0 or less draws nothing.
// False when a lock fails.
bool DDBltMosaic(DDSURFACEDATA* dst, int x, int y, int w, int h, int block, DDSURFACEDATA* src, int sx, int sy,
                 int flags);
