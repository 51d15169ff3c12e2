// Start and release of the back ends, dialog mode and the full-screen box.
#include <bit>

#include "base/boxes.h"
#include "base/report_log.h"
#include "media/dd_blit.h"
#include "media/dd_layer.h"
#include "media/dt_device.h"
#include "platform/d3d_device.h"
#include "platform/presenter.h"
#include "platform/soft_display.h"
#include "platform/window.h"

int bUseD3D = 0;
int bDDReady = 0;
int bDDEverInited = 0;
plat::WindowHandle hDDWnd;
int nScreenWidth = 0, nScreenHeight = 0;
int nBpp = 0;
int nBytesPerPixel = 0;
int bWindowMode = 0;
int nBackBufferMode = 0;
int bVSync = 0;
int nRefreshRate = 0, bSetRefreshRate = 0;
DDSURFACEDATA* lpSurfaceTable = nullptr;
DDSURFACEDEF* lpSurfaceDefs = nullptr;
int nSurfaceCount = 0;
std::unique_ptr<plat::DDObject> lpDD;
DTCONDATA* lpDTCon = nullptr;
DDCONDATA* lpDDCon = nullptr;
uint32_t TransmitPixel = 0;
int TextureChannels[8] = {};
int BackBufferChannels[8] = {};
std::shared_ptr<plat::DDPalette> DDPalette;
std::shared_ptr<plat::DDClipper> DDClipper;
int nDesktopBpp = 0;

namespace {

std::unique_ptr<DDCONDATA> s_ddCon;
std::unique_ptr<DTCONDATA> s_dtCon;

// "ビデオカードのドライバがDirectX9をサポートしていません！ %d"
const char kNoDx9Driver[] =
    "\x83\x72\x83\x66\x83\x49\x83\x4A\x81\x5B\x83\x68\x82\xCC\x83\x68\x83\x89\x83\x43\x83\x6F\x82\xAA"
    "DirectX9\x82\xF0\x83\x54\x83\x7C\x81\x5B\x83\x67\x82\xB5\x82\xC4\x82\xA2\x82\xDC\x82\xB9\x82\xF1\x81\x49 %d";
// "解放漏れがあります"
const char kLeak[] = "\x89\xF0\x95\xFA\x98\x52\x82\xEA\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB7";
// "DDMesBox 失敗! %s, %s"
const char kMesBoxFailed[] = "DDMesBox \x8E\xB8\x94\x73! %s, %s";

void HideCursorFully() {
  while (plat::ShowCursor(false) >= 0) {
  }
}

void ShowCursorFully() {
  while (plat::ShowCursor(true) < 0) {
  }
}

void SizeFixedSurfaces(int w, int h) {
  for (DDSURFACEDATA* sd : {&Primary, &BackBuffer, &WorkDD}) {
    sd->nWidth = sd->nTexWidth = w;
    sd->nHeight = sd->nTexHeight = h;
  }
  Primary.nDDMemType = 0;
  BackBuffer.nDDMemType = 0;
  WorkDD.nDDMemType = 1;
}

// The surface of a fixed record that the display made itself (the primary,
// the attached back buffer).
void Adopt(DDSURFACEDATA& sd, std::shared_ptr<plat::DDSurface> surface) {
  sd.DDAllocSurfaceRecord();
  sd.lpDDS->lpSurface = std::move(surface);
}

int CreateDisplayObject() {
  if (plat::DDObject::Create(lpDD) != plat::DD_OK) {
    ReportPrintfDebug("DirectDrawCreateEx Err");
    return 1;
  }
  lpDD->SetVSync(bVSync != 0);
  return 0;
}

}  // namespace

DTCONDATA* DDAllocDTCon() {
  s_dtCon = std::make_unique<DTCONDATA>();
  lpDTCon = s_dtCon.get();
  return lpDTCon;
}

bool DDCheckCreateError(int code) {
  static const struct {
    int code;
    const char* name;
  } kNames[] = {
      {1, "CREATEEX_ERR"},         {2, "SETCOOPLEVEL_ERR"}, {3, "SETDISPLAYMODE_ERR"},
      {4, "CREATESURFACE_ERR"},    {5, "GETATTACHEDSURFACE_ERR"}, {6, "CREATEPALETTE_ERR"},
      {7, "SETPALETTE_ERR"},       {10, "CLIPPER_ERR"},     {11, "SETHWND_ERR"},
      {12, "SETCLIPPER_ERR"},
  };
  for (const auto& n : kNames) {
    if (n.code == code) {
      DebugLogPuts(n.name);
      return false;
    }
  }
  return true;
}

void DDReadPixelFormat(int channels[8]) {
  plat::PixelFormat pf;
  if (!Primary.lpDDS || !Primary.lpDDS->lpSurface || Primary.lpDDS->lpSurface->GetPixelFormat(pf) != plat::DD_OK)
    return;
  const uint32_t masks[3] = {pf.redMask, pf.greenMask, pf.blueMask};
  for (int i = 0; i < 3; ++i) {
    int shift = 0;
    while (shift < pf.bpp && !((masks[i] >> shift) & 1)) ++shift;
    channels[i] = shift;
    channels[4 + i] = shift < 32 ? static_cast<int>(masks[i] >> shift) : 0;
  }
}

int DDCreateFullscreen(plat::WindowHandle hWnd, int width, int height, int bpp, int backBufferMode) {
  SizeFixedSurfaces(width, height);
  if (int code = CreateDisplayObject()) return code;
  if (lpDD->SetCooperativeLevel(hWnd, true) != plat::DD_OK) {
    ReportPrintfDebug("SetCooperativeLevel Err");
    return 2;
  }
  int32_t mode = bSetRefreshRate ? lpDD->SetDisplayMode(width, height, bpp, nRefreshRate) : plat::DDERR_GENERIC;
  if (mode != plat::DD_OK) mode = lpDD->SetDisplayMode(width, height, bpp, 0);
  if (mode != plat::DD_OK) {
    ReportPrintfDebug("SetDisplayMode Err");
    return 3;
  }
  std::shared_ptr<plat::DDSurface> primary, back;
  if (lpDD->CreatePrimary(backBufferMode == 1 ? 1 : 2, primary) != plat::DD_OK) {
    ReportPrintfDebug("Primary CreateSurface Err");
    return 4;
  }
  Adopt(Primary, primary);
  if (primary->GetAttachedBackBuffer(back) != plat::DD_OK) {
    ReportPrintfDebug("GetAttachedSurface Err");
    return 5;
  }
  Adopt(BackBuffer, back);
  if (!DDCreateSurface(&WorkDD, width, height, 0, 1, 0, nullptr, 0)) return 4;

  plat::PalEntry entries[256];
  for (int i = 0; i < 256; ++i)
    entries[i] = plat::PalEntry{uint8_t(i), uint8_t(i), uint8_t(i == 0 ? 255 : 0), PC_RESERVED};
  if (lpDD->CreatePalette(entries, DDPalette) != plat::DD_OK) {
    ReportPrintfDebug("CreatePalette Err");
    return 6;
  }
  if (bpp > 8) {
    DDReadPixelFormat(TextureChannels);
  } else if (primary->SetPalette(DDPalette) != plat::DD_OK) {
    ReportPrintfDebug("SetPalette Err");
    return 7;
  }
  HideCursorFully();
  return 0;
}

int DDCreateWindowed(plat::WindowHandle hWnd) {
  int w = 640, h = 480;
  plat::GetClientSize(hWnd, w, h);
  SizeFixedSurfaces(w, h);
  nDesktopBpp = plat::GetDesktopBpp();
  if (int code = CreateDisplayObject()) return code;
  if (lpDD->SetCooperativeLevel(hWnd, false) != plat::DD_OK) {
    ReportPrintfDebug("SetCooperativeLevel Err");
    return 2;
  }
  std::shared_ptr<plat::DDSurface> primary;
  if (lpDD->CreatePrimary(0, primary) != plat::DD_OK) {
    ReportPrintfDebug("Primary CreateSurface Err");
    return 4;
  }
  Adopt(Primary, primary);
  if (!DDCreateSurface(&BackBuffer, w, h, 0, 0, 0, nullptr, 0)) return 4;
  if (!DDCreateSurface(&WorkDD, w, h, 0, 1, 0, nullptr, 0)) return 4;

  plat::PalEntry entries[256];
  for (int i = 0; i < 256; ++i) {
    const bool system = i < 10 || i >= 246;
    entries[i] = system ? plat::PalEntry{uint8_t(i), 0, 0, PC_EXPLICIT}
                        : plat::PalEntry{uint8_t(i), uint8_t(i), 0, PC_RESERVED};
  }
  if (lpDD->CreatePalette(entries, DDPalette) != plat::DD_OK) {
    ReportPrintfDebug("CreatePalette Err");
    return 6;
  }
  if (nDesktopBpp > 8) {
    DDReadPixelFormat(TextureChannels);
  } else if (primary->SetPalette(DDPalette) != plat::DD_OK) {
    ReportPrintfDebug("SetPalette Err");
    return 7;
  }
  if (lpDD->CreateClipper(DDClipper) != plat::DD_OK) {
    ReportPrintfDebug("CreateClipper Err");
    return 10;
  }
  if (DDClipper->SetWindow(hWnd) != plat::DD_OK) {
    ReportPrintfDebug("SetHWnd Err");
    return 11;
  }
  if (primary->SetClipper(DDClipper) != plat::DD_OK) {
    ReportPrintfDebug("SetClipper Err");
    return 12;
  }
  ShowCursorFully();
  return 0;
}

bool DDCreateD3D(plat::WindowHandle hWnd, int width, int height, int bpp) {
  const int version = plat::GetDDIVersion();
  if (version < 9) {
    ReportPrintfDebug(kNoDx9Driver, version);
    return false;
  }
  return DTCreateDevice(hWnd, width, height, bpp);
}

bool DDInit(int bD3D, plat::WindowHandle hWnd, int width, int height, int bpp, int bVSyncArg, int bWindow,
            int backBufferMode, int refreshRate, int bSetRefreshRateArg, DDSURFACEDATA* surfaceTable,
            DDSURFACEDEF* surfaceDefs, int surfaceCount, int) {
  // The state of an earlier start goes first, so that the new records are
  // not released with it.
  if (!bD3D) {
    if (bWindow && lpDD) lpDD->RestoreDisplayMode();
    if (bDDEverInited) DDRelease();
  }
  bUseD3D = bD3D;
  hDDWnd = hWnd;
  nScreenWidth = width;
  nScreenHeight = height;
  nBpp = bpp;
  nBytesPerPixel = bpp / 8;
  bVSync = bVSyncArg;
  bWindowMode = bWindow;
  nBackBufferMode = backBufferMode;
  nRefreshRate = refreshRate;
  bSetRefreshRate = bSetRefreshRateArg;
  lpSurfaceTable = surfaceTable;
  lpSurfaceDefs = surfaceDefs;
  nSurfaceCount = surfaceCount;
  ReportPrintfDebug("VSync : %d", bVSync);

  if (!bD3D) {
    s_ddCon = std::make_unique<DDCONDATA>();
    lpDDCon = s_ddCon.get();
    const int code = bWindow ? DDCreateWindowed(hWnd) : DDCreateFullscreen(hWnd, width, height, bpp, backBufferMode);
    if (!DDCheckCreateError(code)) return false;
  } else {
    if (!DDCreateD3D(hWnd, width, height, bpp)) return false;
  }
  bDDReady = 1;
  bDDEverInited = 1;
  if (!bWindowMode) SetFullScreenBox(DDMesBox);
  return true;
}

void DDRelease() {
  SetFullScreenBox(nullptr);
  bDDReady = 0;
  if (lpDD) {
    for (int i = 0; lpSurfaceTable && i < nSurfaceCount; ++i) DDReleaseSurface(&lpSurfaceTable[i]);
    DDClipper.reset();
    DDPalette.reset();
    DDReleaseSurface(&BackBuffer);
    DDReleaseSurface(&Primary);
    DDReleaseSurface(&WorkDD);
    const int left = lpDD->Release();
    lpDD.reset();
    if (left != 0) WindowMessageBox(kLeak, "DirectDraw", MB_ICONERROR);
    s_ddCon.reset();
    lpDDCon = nullptr;
  }
  if (lpDTCon) {
    for (int i = 0; lpSurfaceTable && i < nSurfaceCount; ++i) DDReleaseSurface(&lpSurfaceTable[i]);
    DDReleaseSurface(&WorkSD);
    DDReleaseSurface(&VirBackBuffer);
    DDReleaseSurface(&BackBuffer);
    DTReleaseDevice();
    s_dtCon.reset();
    lpDTCon = nullptr;
  }
}

void DDUnInit() { DDRelease(); }

bool DDSetDialogMode(int bOn) {
  if (bWindowMode) return true;
  if (lpDTCon) return DTSetDialogMode(bOn);
  if (!lpDD) return false;
  if (bOn) {
    if (lpDD->FlipToGDISurface() != plat::DD_OK) return false;
    plat::ShowCursor(true);
    return true;
  }
  HideCursorFully();
  lpDD->ResumeFullScreen();
  return true;
}

int DDMesBox(const char* text, const char* caption, unsigned type) {
  if (!DDSetDialogMode(1)) {
    DebugLogPrintf(kMesBoxFailed, text ? text : "", caption ? caption : "");
    return 0;
  }
  // The answer goes back to the caller: a question must not read as "OK".
  const int answer = WindowMessageBox(text, caption, type);
  DDSetDialogMode(0);
  return answer;
}

void GetVideoMemory(uint32_t& total, uint32_t& free) {
  total = free = 0;
  if (!lpDD) return;
  uint64_t t = 0, f = 0;
  lpDD->GetVideoMemory(t, f);
  total = static_cast<uint32_t>(t >> 20);
  free = static_cast<uint32_t>(f >> 20);
}
