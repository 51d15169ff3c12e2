#pragma once
// The 3D back end's textured quad: one source surface drawn into a render
// target as two triangles with the device's alpha blending (source alpha
// over inverse source alpha). The translucent, tinted, rotated and
// colour-tone effects draw with it, as do the layer's own blits.
//
// Called on the drawing thread while lpDTCon is set. The caller passes its
// surfaces through DDResolveAlias and DDRedirectBackBuffer first, and
// chooses this path only for a render-target target and a source that is
// not a system-memory texture (the software path serves the others).
#include <cstdint>

#include "media/dd_surface.h"
#include "media/dd_types.h"

// One vertex as the device takes it (28 bytes): the screen position of a
// pixel corner minus 0.5 (so that texels map onto pixels), z 0, rhw 1, an
// ARGB diffuse colour, and texture coordinates (source pixels divided by
// the source's texture size, nTexWidth x nTexHeight, not its image size).
struct DTVERTEX {
  float x = 0, y = 0, z = 0, rhw = 1;
  uint32_t dwDiffuse = 0xFFFFFFFF;
  float u = 0, v = 0;
};
static_assert(sizeof(DTVERTEX) == 28, "the device reads 28-byte vertices");

// Stage 0 of one quad: colour and alpha operations (D3DTOP_...) with their
// arguments (D3DTA_...). The texture factor goes to the device only when an
// argument names D3DTA_TFACTOR. An operation the device does not have
// writes a debug line and works as D3DTOP_MODULATE.
struct DTSTAGESTATE {
  int nColorOp = D3DTOP_MODULATE;
  int nColorArg1 = D3DTA_TEXTURE, nColorArg2 = D3DTA_DIFFUSE;
  int nAlphaOp = D3DTOP_SELECTARG1;
  int nAlphaArg1 = D3DTA_TEXTURE, nAlphaArg2 = D3DTA_DIFFUSE;
  uint32_t dwTextureFactor = 0xFFFFFFFF;
};

// One vertex at target pixel corner (x, y) showing source pixel corner
// (sx, sy) of src (positions may be fractional, as a rotation gives them).
void DTSetVertex(DTVERTEX* v, double x, double y, double sx, double sy, const DDSURFACEDATA* src, uint32_t diffuse);
// The four vertices of the target rectangle (x, y, w, h) showing the source
// rectangle (sx, sy, sw, sh) of src, in strip order: left-top, left-bottom,
// right-top, right-bottom. A negative sw or sh runs the source backwards
// (mirrored). Integer corners, as DDBltStretch draws them.
void DTRectVertices(DTVERTEX v[4], int x, int y, int w, int h, const DDSURFACEDATA* src, int sx, int sy, int sw,
                    int sh, uint32_t diffuse);

// Draws the quad v (strip order, two triangles) of src into dst: the 112
// bytes go into src's own vertex buffer, then the scene is opened, dst made
// the render target, stage 0 set, src's texture drawn, and the device goes
// back to its resting target. 1 when drawn; 0 when nothing was drawn: no
// device, a surface without texture or vertex buffer (an alias of a missing
// source, or one lost with the device), a failed buffer lock, scene or
// render target. The effects count 0 as done (their draw is skipped).
int DTDrawQuad(DDSURFACEDATA* dst, DDSURFACEDATA* src, const DTVERTEX v[4], const DTSTAGESTATE& stage);
