#pragma once
// Inside the drawing layer's 3D back end: what its files share.
#include <cstdint>

#include "media/dd_layer.h"
#include "media/dt_quad.h"
#include "platform/d3d_device.h"

// The device's format of textures, and of the back buffer.
plat::D3DFormat DTTextureFormat();
plat::D3DFormat DTBackBufferFormat();

// Stage 0 of a draw on the device.
void DTApplyStage(const DTSTAGESTATE& stage);

// Writes a quad into the surface's own vertex buffer; false when it has
// none or the lock fails.
bool DTWriteVertices(DDSURFACEDATA* lpSD, const DTVERTEX v[4]);

// The batches' kept vertex and index buffers go (with the device).
void DTReleaseRunBuffers();

// What an opaque copy of a colour-keyed source clears its target rectangle
// to first, so that the source's transparent texels leave the key colour
// (on the back buffer) or transparency (in a texture) behind.
uint32_t DTKeyClearColor(const DDSURFACEDATA* dst);

// A texture the program cannot do without was not made: the advice box
// (when start-up set one), then the close request.
void DTTextureFailureExit();
