#pragma once
// Values and plain records of the emulated 3D device (platform/d3d_device.h),
// with the numbers the drawing layer was written against.
#include <cstdint>

#include "platform/messages.h"

namespace plat {

// Results.
constexpr int32_t D3D_OK = 0;
constexpr int32_t D3DERR_OUTOFVIDEOMEMORY = static_cast<int32_t>(0x8876017C);
constexpr int32_t D3DERR_DEVICELOST = static_cast<int32_t>(0x88760868);
constexpr int32_t D3DERR_DEVICENOTRESET = static_cast<int32_t>(0x88760869);
constexpr int32_t D3DERR_NOTAVAILABLE = static_cast<int32_t>(0x8876086A);
constexpr int32_t D3DERR_INVALIDCALL = static_cast<int32_t>(0x8876086C);
constexpr int32_t D3DERR_OUTOFMEMORY = static_cast<int32_t>(0x8007000E);

// Pixel formats of surfaces and textures.
enum class D3DFormat : int32_t {
  Unknown = 0,
  A8R8G8B8 = 21,
  X8R8G8B8 = 22,  // alpha reads and writes as 255
  R5G6B5 = 23,
  A1R5G5B5 = 25,  // alpha 128 or more stores as 1, reads as 255
};
// Bytes per pixel of a format (0 for Unknown).
int D3DBytesPerPixel(D3DFormat format);

// Memory pools: the default pool is the device's own memory (lost with the
// device, counted against its video memory); managed resources come back by
// themselves; system memory is the processor's and never lost.
enum class D3DPool : int32_t { Default = 0, Managed = 1, SystemMem = 2 };

// Resource usage bits.
constexpr uint32_t D3DUSAGE_RENDERTARGET = 0x1;
constexpr uint32_t D3DUSAGE_WRITEONLY = 0x8;
constexpr uint32_t D3DUSAGE_DYNAMIC = 0x200;

// Device creation behaviour.
constexpr uint32_t D3DCREATE_SOFTWARE_VERTEXPROCESSING = 0x20;
constexpr uint32_t D3DCREATE_HARDWARE_VERTEXPROCESSING = 0x40;

// Render states the device honours; others are kept and ignored.
constexpr uint32_t D3DRS_ZENABLE = 7;
constexpr uint32_t D3DRS_SRCBLEND = 19;
constexpr uint32_t D3DRS_DESTBLEND = 20;
constexpr uint32_t D3DRS_CULLMODE = 22;
constexpr uint32_t D3DRS_ALPHABLENDENABLE = 27;
constexpr uint32_t D3DRS_TEXTUREFACTOR = 60;
constexpr uint32_t D3DRS_COLORVERTEX = 141;
constexpr uint32_t D3DRS_DIFFUSEMATERIALSOURCE = 145;
constexpr uint32_t D3DCULL_NONE = 1;
constexpr uint32_t D3DCULL_CW = 2;   // leaves out triangles that run clockwise on the screen
constexpr uint32_t D3DCULL_CCW = 3;  // the default
constexpr uint32_t D3DBLEND_SRCALPHA = 5;
constexpr uint32_t D3DBLEND_INVSRCALPHA = 6;
constexpr uint32_t D3DMCS_COLOR1 = 1;

// Texture-stage states and their values.
constexpr uint32_t D3DTSS_COLOROP = 1;
constexpr uint32_t D3DTSS_COLORARG1 = 2;
constexpr uint32_t D3DTSS_COLORARG2 = 3;
constexpr uint32_t D3DTSS_ALPHAOP = 4;
constexpr uint32_t D3DTSS_ALPHAARG1 = 5;
constexpr uint32_t D3DTSS_ALPHAARG2 = 6;
// Operations (any other value works as MODULATE).
constexpr uint32_t D3DTOP_DISABLE = 1;
constexpr uint32_t D3DTOP_SELECTARG1 = 2;
constexpr uint32_t D3DTOP_SELECTARG2 = 3;
constexpr uint32_t D3DTOP_MODULATE = 4;
constexpr uint32_t D3DTOP_ADD = 7;
constexpr uint32_t D3DTOP_SUBTRACT = 10;
constexpr uint32_t D3DTOP_BLENDFACTORALPHA = 14;
// Arguments.
constexpr uint32_t D3DTA_DIFFUSE = 0;
constexpr uint32_t D3DTA_CURRENT = 1;  // at stage 0 the diffuse colour
constexpr uint32_t D3DTA_TEXTURE = 2;
constexpr uint32_t D3DTA_TFACTOR = 3;

// Sampler states: addressing is always wrap and filtering always point, so
// these are kept only.
constexpr uint32_t D3DSAMP_ADDRESSU = 1;
constexpr uint32_t D3DSAMP_ADDRESSV = 2;
constexpr uint32_t D3DSAMP_MAGFILTER = 5;
constexpr uint32_t D3DSAMP_MINFILTER = 6;
constexpr uint32_t D3DTADDRESS_WRAP = 1;
constexpr uint32_t D3DTEXF_POINT = 1;

// Primitives.
constexpr uint32_t D3DPT_TRIANGLELIST = 4;
constexpr uint32_t D3DPT_TRIANGLESTRIP = 5;

// The one vertex layout: x, y, z, rhw (floats, screen positions), diffuse
// (ARGB), u, v (floats); 28 bytes.
constexpr uint32_t D3DFVF_XYZRHW = 0x004;
constexpr uint32_t D3DFVF_DIFFUSE = 0x040;
constexpr uint32_t D3DFVF_TEX1 = 0x100;
constexpr uint32_t kD3DVertexFvf = D3DFVF_XYZRHW | D3DFVF_DIFFUSE | D3DFVF_TEX1;
constexpr uint32_t kD3DVertexStride = 28;

// Present parameters.
constexpr uint32_t D3DSWAPEFFECT_DISCARD = 1;
constexpr uint32_t D3DSWAPEFFECT_COPY = 3;
constexpr uint32_t D3DPRESENTFLAG_LOCKABLE_BACKBUFFER = 0x1;
constexpr uint32_t D3DPRESENT_INTERVAL_DEFAULT = 0x0;  // wait for the shown frame
constexpr uint32_t D3DPRESENT_INTERVAL_IMMEDIATE = 0x80000000;

struct D3DPresentParams {
  int backBufferWidth = 0, backBufferHeight = 0;  // 0, 0 in a window: the client area
  D3DFormat backBufferFormat = D3DFormat::Unknown;
  int backBufferCount = 1;
  uint32_t swapEffect = D3DSWAPEFFECT_DISCARD;
  WindowHandle deviceWindow;  // none: the focus window
  bool windowed = true;
  uint32_t flags = 0;
  int fullScreenRefreshRate = 0;  // full screen: the rate asked for (Hz)
  uint32_t presentationInterval = D3DPRESENT_INTERVAL_DEFAULT;
};

struct D3DCaps {
  int maxTextureWidth = 8192, maxTextureHeight = 8192;
  bool pow2 = false;        // texture sides must be powers of two
  bool squareOnly = false;  // textures must be square
  bool dynamicTextures = true;
  bool alphaFullScreenFlipOrDiscard = true;
  int maxTextureBlendStages = 8, maxSimultaneousTextures = 8;
};

struct D3DDisplayMode {
  int width = 0, height = 0;
  int refreshRate = 0;  // Hz
  D3DFormat format = D3DFormat::X8R8G8B8;
};

struct D3DSurfaceDesc {
  D3DFormat format = D3DFormat::Unknown;
  D3DPool pool = D3DPool::Default;
  uint32_t usage = 0;
  int width = 0, height = 0;
};

// What a device drew since it was made (for tests and benchmarks).
struct D3DDrawCounts {
  uint64_t drawCalls = 0;
  uint64_t triangles = 0;  // drawn through the triangle path
  uint64_t fastQuads = 0;  // drawn through the fast path (two triangles each)
  uint64_t copiedQuads = 0;  // of those, texel for pixel: rows copied from the source rectangle
};

struct D3DLockedRect {
  uint8_t* bits = nullptr;  // pixel (0, 0)
  int pitch = 0;            // bytes from one row to the next
};

}  // namespace plat
