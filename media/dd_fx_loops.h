#pragma once
// The pixel loops of the software effects, on two planes in one mode. The
// DD... functions lock the surfaces, choose the mode and call these; the
// arguments are theirs, and each loop cuts its work to what lands inside the
// target plane and reads from inside the source plane. Mirrored axes read
// leftwards (upwards) from sx - 1 (sy - 1).
#include <cstdint>

#include "media/dd_fx_pixels.h"
#include "media/dd_types.h"

void FxAlphaPixels(const cEffectPixels& px, int x, int y, int w, int h, int sx, int sy, bool mirrorX, bool mirrorY,
                   int flags, const uint8_t* blendTable);
// `entry` is the palette entry of palNum; level >= 1.
void FxTintPixels(const cEffectPixels& px, int x, int y, int w, int h, int sx, int sy, bool mirrorX, bool mirrorY,
                  int flags, const PALETTEENTRY& entry, uint8_t palNum, int level);
void FxRotatePixels(const cEffectPixels& px, int x, int y, int w, int h, int pivotX, int pivotY, int angle, int sx,
                    int sy, bool mirrorX, bool mirrorY, int flags);
// e = E * E of the lens (E = trunc(sqrt(radius^2 + height^2)) > height).
void FxLensPixels(const cEffectPixels& px, int cx, int cy, int radius, int height, int64_t e, int scx, int scy,
                  int flags, int bClear);
// rx, ry >= 1.
void FxBlurPixels(const cEffectPixels& px, int x, int y, int w, int h, int rx, int ry, int sx, int sy, int flags);
// block >= 1.
void FxMosaicPixels(const cEffectPixels& px, int x, int y, int w, int h, int block, int sx, int sy, int flags);
