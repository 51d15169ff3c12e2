// The 3D back end's start and release: the device, its record and its
// fixed surfaces, the states every draw relies on, and dialog mode.
#include <memory>

#include "base/report_log.h"
#include "base/timers.h"
#include "media/dd_blit.h"
#include "media/dt_device.h"
#include "media/dt_internal.h"
#include "platform/presenter.h"

std::unique_ptr<plat::D3DObject> lpD3D;
std::unique_ptr<plat::D3DDevice> lpDevice;

namespace {

// "ビデオカードがDirectX9をサポートしていません！"
const char kNoDx9[] =
    "\x83\x72\x83\x66\x83\x49\x83\x4A\x81\x5B\x83\x68\x82\xAA""DirectX9\x82\xF0\x83\x54\x83\x7C\x81\x5B\x83\x67"
    "\x82\xB5\x82\xC4\x82\xA2\x82\xDC\x82\xB9\x82\xF1\x81\x49";
// "リフレッシュレートの変更に失敗しました！垂直同期が無効になります！"
const char kNoRefreshChange[] =
    "\x83\x8A\x83\x74\x83\x8C\x83\x62\x83\x56\x83\x85\x83\x8C\x81\x5B\x83\x67\x82\xCC\x95\xCF\x8D\x58\x82\xC9\x8E\xB8"
    "\x94\x73\x82\xB5\x82\xDC\x82\xB5\x82\xBD\x81\x49\x90\x82\x92\xBC\x93\xAF\x8A\xFA\x82\xAA\x96\xB3\x8C\xF8\x82\xC9"
    "\x82\xC8\x82\xE8\x82\xDC\x82\xB7\x81\x49";

constexpr int kRefreshRate = 60;

// Shift and largest value of red, green, blue, alpha.
constexpr int kChannels555[8] = {10, 5, 0, 15, 31, 31, 31, 1};
constexpr int kChannels565[8] = {11, 5, 0, 16, 31, 63, 31, 0};
constexpr int kChannels8888[8] = {16, 8, 0, 24, 255, 255, 255, 255};

void CopyChannels(int to[8], const int from[8]) {
  for (int i = 0; i < 8; ++i) to[i] = from[i];
}

const char* FormatName(int32_t format) {
  switch (format) {
    case D3DFMT_X8R8G8B8: return "X8R8G8B8";
    case D3DFMT_R5G6B5: return "R5G6B5";
    case D3DFMT_A1R5G5B5: return "A1R5G5B5";
    default: return "A8R8G8B8";
  }
}

// A window with vertical sync wants the display at 60 Hz. The display's
// rate is read, never changed: a display at another rate turns vertical
// sync off, and the present paces the frames instead.
void CheckRefreshRate() {
  if (!plat::DisplayRunsAt(kRefreshRate)) ReportPrintfDebug("ChangeDisplaySettings != DISP_CHANGE_SUCCESSFUL");
  plat::D3DDisplayMode mode;
  lpD3D->GetAdapterDisplayMode(mode);
  ReportPrintfDebug("RefreshRate : %d", mode.refreshRate);
  if (mode.refreshRate != kRefreshRate) {
    bVSync = 0;
    ReportPrintfDebug(kNoRefreshChange);
  }
}

// Formats and channel layouts by depth; false for a depth the device lacks.
bool ChooseFormats(int bpp) {
  if (bpp == 32) {
    lpDTCon->nBackBufferFormat = D3DFMT_X8R8G8B8;
    lpDTCon->nTextureFormat = D3DFMT_A8R8G8B8;
    CopyChannels(TextureChannels, kChannels8888);
    return true;
  }
  if (bpp != 16) return false;
  lpDTCon->nBackBufferFormat = bWindowMode ? D3DFMT_A1R5G5B5 : D3DFMT_R5G6B5;
  lpDTCon->nTextureFormat = D3DFMT_A1R5G5B5;
  CopyChannels(TextureChannels, kChannels555);
  CopyChannels(BackBufferChannels, bWindowMode ? kChannels555 : kChannels565);
  return true;
}

bool MakeBackBufferRecord(int width, int height) {
  BackBuffer.DDAllocSurfaceRecord();
  DTDATA& dt = *BackBuffer.lpDT;
  BackBuffer.nWidth = BackBuffer.nTexWidth = width;
  BackBuffer.nHeight = BackBuffer.nTexHeight = height;
  BackBuffer.nDDMemType = 0;
  BackBuffer.szSurfaceType = "BackBuffer";
  dt.lpTexture.reset();
  dt.lpSystemSurface.reset();
  dt.nMemType = DTMEMORYTYPE_VIDEO_RT;
  dt.bColorKey = 0;
  dt.bRenderTarget = 1;
  if (const int32_t hr = lpDevice->CreateVertexBuffer(4 * sizeof(DTVERTEX), plat::D3DUSAGE_WRITEONLY,
                                                      plat::kD3DVertexFvf, plat::D3DPool::Managed, dt.lpVB)) {
    ReportPrintfDebug("Back CreateVertexBuffer Err %x", static_cast<unsigned>(hr));
    return false;
  }
  lpDevice->GetBackBuffer(dt.lpSurface);
  dt.id = 0;
  lpDTCon->nNextSurfaceID = 1;
  lpDTCon->nNextFontID = 0;
  return true;
}

}  // namespace

plat::D3DFormat DTTextureFormat() { return static_cast<plat::D3DFormat>(lpDTCon ? lpDTCon->nTextureFormat : 0); }
plat::D3DFormat DTBackBufferFormat() {
  return static_cast<plat::D3DFormat>(lpDTCon ? lpDTCon->nBackBufferFormat : 0);
}

void DDSetRenderStates() {
  if (!lpDevice) return;
  plat::D3DDevice& d = *lpDevice;
  d.SetRenderState(plat::D3DRS_CULLMODE, plat::D3DCULL_NONE);
  d.SetRenderState(plat::D3DRS_ZENABLE, 0);
  d.SetRenderState(plat::D3DRS_ALPHABLENDENABLE, 1);
  d.SetRenderState(plat::D3DRS_SRCBLEND, plat::D3DBLEND_SRCALPHA);
  d.SetRenderState(plat::D3DRS_DESTBLEND, plat::D3DBLEND_INVSRCALPHA);
  d.SetRenderState(plat::D3DRS_DIFFUSEMATERIALSOURCE, plat::D3DMCS_COLOR1);
  d.SetRenderState(plat::D3DRS_COLORVERTEX, 1);
  for (int sampler = 0; sampler < 2; ++sampler) {
    d.SetSamplerState(sampler, plat::D3DSAMP_ADDRESSU, plat::D3DTADDRESS_WRAP);
    d.SetSamplerState(sampler, plat::D3DSAMP_ADDRESSV, plat::D3DTADDRESS_WRAP);
    d.SetSamplerState(sampler, plat::D3DSAMP_MAGFILTER, plat::D3DTEXF_POINT);
    d.SetSamplerState(sampler, plat::D3DSAMP_MINFILTER, plat::D3DTEXF_POINT);
  }
}

bool DTCreateDevice(plat::WindowHandle hWnd, int width, int height, int bpp) {
  lpD3D = plat::D3DObject::Create();
  if (!lpD3D) {
    ReportPrintfDebug(kNoDx9);
    return false;
  }
  DDAllocDTCon();
  lpDTCon->nAlphaOp = D3DTOP_SELECTARG1;
  if (bWindowMode && bVSync) CheckRefreshRate();

  plat::D3DCaps caps;
  if (lpD3D->GetDeviceCaps(caps) != plat::D3D_OK) DebugLogPuts("GetDeviceCaps Err");
  lpDTCon->Caps = DTCAPS{caps.maxTextureWidth, caps.maxTextureHeight, caps.maxTextureBlendStages,
                         caps.maxSimultaneousTextures};
  lpDTCon->bPow2 = caps.pow2 ? 1 : 0;
  lpDTCon->bSquareOnly = caps.squareOnly ? 1 : 0;
  lpDTCon->bDynamicTextures = caps.dynamicTextures ? 1 : 0;
  const uint32_t swapEffect = caps.alphaFullScreenFlipOrDiscard ? plat::D3DSWAPEFFECT_DISCARD : plat::D3DSWAPEFFECT_COPY;

  if (!ChooseFormats(bpp)) {
    ReportPrintfDebug("DDCreateD3D : no 3D device at %d bits per pixel", bpp);
    return false;
  }

  plat::D3DPresentParams pp;
  pp.backBufferWidth = bWindowMode ? 0 : width;
  pp.backBufferHeight = bWindowMode ? 0 : height;
  pp.backBufferFormat = static_cast<plat::D3DFormat>(lpDTCon->nBackBufferFormat);
  pp.backBufferCount = 1;
  pp.swapEffect = swapEffect;
  pp.windowed = bWindowMode != 0;
  pp.flags = plat::D3DPRESENTFLAG_LOCKABLE_BACKBUFFER;
  pp.fullScreenRefreshRate = bWindowMode ? 0 : kRefreshRate;
  pp.presentationInterval = bVSync ? plat::D3DPRESENT_INTERVAL_DEFAULT : plat::D3DPRESENT_INTERVAL_IMMEDIATE;

  bool hardware = true;
  if (lpD3D->CreateDevice(hWnd, plat::D3DCREATE_HARDWARE_VERTEXPROCESSING, pp, lpDevice) != plat::D3D_OK) {
    hardware = false;
    if (lpD3D->CreateDevice(hWnd, plat::D3DCREATE_SOFTWARE_VERTEXPROCESSING, pp, lpDevice) != plat::D3D_OK) {
      DebugLogPuts("CreateDevice Err");
      return false;
    }
  }
  ReportPrintfDebug(hardware ? "Device HAL-HARD" : "Device HAL-SOFT");
  ReportPrintfDebug("%s", FormatName(lpDTCon->nBackBufferFormat));
  lpDTCon->PresentParams = pp;
  lpDTCon->nDisplayFormat = lpDTCon->nBackBufferFormat;

  DDSetRenderStates();
  DDResetDrawColor();
  DDResetColorOp();
  DDResetAlphaOp();

  if (!MakeBackBufferRecord(width, height)) return false;

  VirBackBuffer.DDAllocSurfaceRecord();
  DDUseVirBackBuffer(0);
  lpDTCon->bCopyingVirBackBuffer = 0;
  DDCreateSurface(&VirBackBuffer, width, height, 0, 0, 0, nullptr, 0);
  VirBackBuffer.szSurfaceType = "VirBackBuffer";
  WorkSD.DDAllocSurfaceRecord();
  DDCreateSurface(&WorkSD, width, height, 0, 0, 0, nullptr, 0);
  WorkSD.szSurfaceType = "WorkSD";

  if (!bWindowMode)
    while (plat::ShowCursor(false) >= 0) {
    }
  bDirect3DBackEnd.store(1);
  return true;
}

void DTReleaseDevice() {
  bDirect3DBackEnd.store(0);
  FillBatch = DDFILLBATCH{};
  SpriteBatch = DDSPRITEBATCH{};
  DTReleaseRunBuffers();
  if (lpDevice) lpDevice->Release();
  lpDevice.reset();
  lpD3D.reset();
}

bool DTSetDialogMode(int bOn) {
  if (!lpDevice) return false;
  if (bOn) {
    DDEndScene();
    if (lpDevice->SetDialogBoxMode(true) != plat::D3D_OK) {
      DebugLogPuts("D3D_OK != lpDevice->SetDialogBoxMode(TRUE)");
      return false;
    }
    plat::ShowCursor(true);
    return true;
  }
  while (plat::ShowCursor(false) >= 0) {
  }
  return lpDevice->SetDialogBoxMode(false) == plat::D3D_OK;
}
