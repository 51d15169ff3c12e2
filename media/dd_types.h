#pragma once
// Small plain types and constants of the drawing layer's interface, with the
// values the drawing code and its callers were written against.
#include <cstdint>

// One palette entry: red, green, blue, flags. At 16 bits under the software
// display the colours hold channel values (0-31 or 0-63), else 0-255.
struct PALETTEENTRY {
  uint8_t peRed = 0, peGreen = 0, peBlue = 0, peFlags = 0;
  friend bool operator==(const PALETTEENTRY&, const PALETTEENTRY&) = default;
};

struct RGBTRIPLE {
  uint8_t rgbtBlue = 0, rgbtGreen = 0, rgbtRed = 0;
  friend bool operator==(const RGBTRIPLE&, const RGBTRIPLE&) = default;
};

// What a lock of a whole surface reports.
struct DDSURFACEDESC2 {
  int32_t dwWidth = 0, dwHeight = 0;
  int32_t lPitch = 0;         // bytes per row
  int32_t dwRGBBitCount = 0;  // bits per pixel
  void* lpSurface = nullptr;  // pixel (0, 0)
};

// Palette entry flags.
constexpr uint8_t PC_RESERVED = 1;
constexpr uint8_t PC_EXPLICIT = 2;

// Memory types of the 3D back end's textures.
constexpr int DTMEMORYTYPE_VIDEO_RT = 0;
constexpr int DTMEMORYTYPE_SYSTEM = 1;
constexpr int DTMEMORYTYPE_VIDEO_NORT = 2;

// Texture-stage operations of the 3D back end's draws.
constexpr int D3DTOP_DISABLE = 1;
constexpr int D3DTOP_SELECTARG1 = 2;
constexpr int D3DTOP_SELECTARG2 = 3;
constexpr int D3DTOP_MODULATE = 4;
constexpr int D3DTOP_ADD = 7;
constexpr int D3DTOP_SUBTRACT = 10;
constexpr int D3DTOP_BLENDFACTORALPHA = 14;
// Their arguments.
constexpr int D3DTA_DIFFUSE = 0;
constexpr int D3DTA_TEXTURE = 2;
constexpr int D3DTA_TFACTOR = 3;

// Pixel formats of the 3D back end's back buffer and textures.
constexpr int32_t D3DFMT_A8R8G8B8 = 21;
constexpr int32_t D3DFMT_X8R8G8B8 = 22;
constexpr int32_t D3DFMT_R5G6B5 = 23;
constexpr int32_t D3DFMT_A1R5G5B5 = 25;
