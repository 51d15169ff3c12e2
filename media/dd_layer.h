#pragma once
// The drawing layer's back ends and their state: start (DDInit), the frame
// end of the 3D device (DDPresent), dialog mode over a full-screen display,
// and release. Two back ends: the software display (8, 16 or 32 bits,
// full screen with a flip chain or in a window) and the 3D device (16 or 32
// bits). lpDTCon is set exactly while the 3D device runs: every function
// that differs per back end tests it.
//
// Start-up and shutdown call DDInit and DDRelease on the main thread before
// and after the game thread runs; the rest of the state is written only there
// and read by the drawing thread.
#include <cstdint>
#include <memory>
#include <string>

#include "media/dd_surface.h"
#include "media/dd_types.h"
#include "platform/d3d_types.h"
#include "platform/messages.h"

namespace plat {
class DDObject;
class DDPalette;
class DDClipper;
class D3DObject;
class D3DDevice;
}  // namespace plat

// The caps of the 3D device that the layer reads.
struct DTCAPS {
  int32_t MaxTextureWidth = 0, MaxTextureHeight = 0;
  int32_t MaxTextureBlendStages = 0, MaxSimultaneousTextures = 0;
};

// The 3D device record.
struct DTCONDATA {
  int32_t nBackBufferFormat = 0;
  int32_t nTextureFormat = 0;
  plat::D3DPresentParams PresentParams;  // as created; the device reset takes them again
  int32_t nAdapter = 0;
  int32_t nDeviceType = 0;
  int32_t nDisplayFormat = 0;
  DTCAPS Caps;
  int32_t bPow2 = 0;           // textures must have power-of-two sides
  int32_t bSquareOnly = 0;     // textures must be square
  int32_t bDynamicTextures = 0;
  int32_t bVirBackBuffer = 0;  // VirBackBuffer stands in for BackBuffer
  DDSURFACEDATA* lpRestingTarget = nullptr;
  int32_t bCopyingVirBackBuffer = 0;
  RGBTRIPLE rgbTransmit;
  RGBTRIPLE rgbTransmit16;
  uint32_t dwTransmitTexel = 0;
  uint32_t dwTransmitColor = 0;
  uint16_t wTransmit_16 = 0;
  uint16_t wTransmitKey_16 = 0;
  int32_t bInScene = 0;
  uint32_t dwDrawColor = 0xFFFFFFFF;
  int32_t nColorOp = D3DTOP_MODULATE;
  int32_t nAlphaOp = D3DTOP_SELECTARG1;
  int32_t nNextSurfaceID = 1;
  int32_t nNextFontID = 0;
  std::string strTextureAdvice;
};

// The software display's record.
struct DDCONDATA {
  RGBTRIPLE rgbTransmit;
  RGBTRIPLE rgbTransmit16;  // the key of 24-bit images at 16 bits (set by start-up)
  int32_t nNextFontID = 0;
};

extern int bUseD3D;        // the back end DDInit was asked for
extern int bDDReady;       // DDInit succeeded
extern int bDDEverInited;  // DDInit succeeded once; a later DDInit releases first
extern plat::WindowHandle hDDWnd;
extern int nScreenWidth, nScreenHeight;
extern int nBpp;            // 8, 16, 24, 32
extern int nBytesPerPixel;
extern int bWindowMode;     // 0 full screen, 1 window
extern int nBackBufferMode; // full screen: 1 one back buffer, else two
extern int bVSync;
extern int nRefreshRate, bSetRefreshRate;
extern DDSURFACEDATA* lpSurfaceTable;
extern DDSURFACEDEF* lpSurfaceDefs;
extern int nSurfaceCount;
extern std::unique_ptr<plat::DDObject> lpDD;
extern std::unique_ptr<plat::D3DObject> lpD3D;      // the 3D object (3D back end only)
extern std::unique_ptr<plat::D3DDevice> lpDevice;   // the device (3D back end only)
extern DTCONDATA* lpDTCon;
extern DDCONDATA* lpDDCon;
extern uint32_t TransmitPixel;  // the transparent colour as a pixel (a palette index at 8 bits)
// Shift of red, green, blue, alpha, then the largest value of each.
extern int TextureChannels[8];
extern int BackBufferChannels[8];
extern std::shared_ptr<plat::DDPalette> DDPalette;
extern std::shared_ptr<plat::DDClipper> DDClipper;
extern int nDesktopBpp;

// Starts the back end. Start-up passes (System.ini Direct3D, the main
// window, 640, 480, Bpp, VSync, WindowMode, 1, 60, VSync, SurfaceTable,
// SurfaceDefs, 71, 0). False on any failure, after its log lines.
bool DDInit(int bD3D, plat::WindowHandle hWnd, int width, int height, int bpp, int bVSync, int bWindow,
            int backBufferMode, int refreshRate, int bSetRefreshRate, DDSURFACEDATA* surfaceTable,
            DDSURFACEDEF* surfaceDefs, int surfaceCount, int unused);
void DDUnInit();
void DDRelease();
// The steps of DDInit; the software display's return a step code (0 = done).
bool DDCreateD3D(plat::WindowHandle hWnd, int width, int height, int bpp);
int DDCreateFullscreen(plat::WindowHandle hWnd, int width, int height, int bpp, int backBufferMode);
int DDCreateWindowed(plat::WindowHandle hWnd);
// A step code to its debug-log name: false for a listed code, true otherwise.
bool DDCheckCreateError(int code);
// Software display: the channel layout of the primary's pixels into channels.
void DDReadPixelFormat(int channels[8]);
// 3D: the render and sampler states every draw relies on; at creation and
// after every device reset.
void DDSetRenderStates();

// 3D: the end of a frame (pacing, present); false when the device is lost.
// Software display: true, nothing else (the frame loop shows BackBuffer).
bool DDPresent(int fps, int a, DDSURFACEDATA* b);

// 3D: the stand-in back buffer (for effects that need the frame as a texture).
void DDUseVirBackBuffer(int bOn);
bool DDRedirectBackBuffer(DDSURFACEDATA** ppSD);
void DDCopyVirBackBuffer(DDSURFACEDATA* dst, DDSURFACEDATA* src);
void DDResolveAlias(DDSURFACEDATA** ppSD);

// Full screen: lets message boxes and dialogs show over the display; in a
// window true at once. Main thread.
bool DDSetDialogMode(int bOn);
// A message box over a full-screen display; returns the answer (IDOK, IDYES
// ...), or 0 when dialog mode could not be entered.
int DDMesBox(const char* text, const char* caption, unsigned type);

// Total and free video memory in MB; both 0 without the software display.
void GetVideoMemory(uint32_t& total, uint32_t& free);
