// The 3D back end's surfaces: empty render targets and system textures,
// textures from BMP files, and mirrored sheets.
#include "base/boxes.h"
#include "base/report_log.h"
#include "media/dd_blit.h"
#include "media/dt_device.h"
#include "media/dt_internal.h"
#include "platform/bmp_image.h"

namespace {

// "上記の理由でテクスチャの描画が失敗する可能性があります。(空)"
const char kMayFailEmpty[] =
    "\x8F\xE3\x8B\x4C\x82\xCC\x97\x9D\x97\x52\x82\xC5\x83\x65\x83\x4E\x83\x58\x83\x60\x83\x83\x82\xCC\x95\x60\x89\xE6"
    "\x82\xAA\x8E\xB8\x94\x73\x82\xB7\x82\xE9\x89\xC2\x94\x5C\x90\xAB\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB7\x81\x42"
    "(\x8B\xF3)";
// "上記の理由でテクスチャの描画が失敗する可能性があります。(%s)"
const char kMayFailFile[] =
    "\x8F\xE3\x8B\x4C\x82\xCC\x97\x9D\x97\x52\x82\xC5\x83\x65\x83\x4E\x83\x58\x83\x60\x83\x83\x82\xCC\x95\x60\x89\xE6"
    "\x82\xAA\x8E\xB8\x94\x73\x82\xB7\x82\xE9\x89\xC2\x94\x5C\x90\xAB\x82\xAA\x82\xA0\x82\xE8\x82\xDC\x82\xB7\x81\x42"
    "(%s)";
// "VRAM不足のためシステムメモリにテクスチャを作成します。(空)"
const char kToSystemEmpty[] =
    "VRAM\x95\x73\x91\xAB\x82\xCC\x82\xBD\x82\xDF\x83\x56\x83\x58\x83\x65\x83\x80\x83\x81\x83\x82\x83\x8A\x82\xC9\x83"
    "\x65\x83\x4E\x83\x58\x83\x60\x83\x83\x82\xF0\x8D\xEC\x90\xAC\x82\xB5\x82\xDC\x82\xB7\x81\x42(\x8B\xF3)";
// "VRAM不足のためシステムメモリにテクスチャを作成します。(%s)"
const char kToSystemFile[] =
    "VRAM\x95\x73\x91\xAB\x82\xCC\x82\xBD\x82\xDF\x83\x56\x83\x58\x83\x65\x83\x80\x83\x81\x83\x82\x83\x8A\x82\xC9\x83"
    "\x65\x83\x4E\x83\x58\x83\x60\x83\x83\x82\xF0\x8D\xEC\x90\xAC\x82\xB5\x82\xDC\x82\xB7\x81\x42(%s)";
// "テクスチャの作成に失敗。(%s)"
const char kTextureFailed[] =
    "\x83\x65\x83\x4E\x83\x58\x83\x60\x83\x83\x82\xCC\x8D\xEC\x90\xAC\x82\xC9\x8E\xB8\x94\x73\x81\x42(%s)";
// "DDCreateSurfaceFromFile Err DTMEMORYTYPE_VIDEO_NORTの指定は未対応です。DTMEMORYTYPE_VIDEO_RTでテクスチャを作成します。"
const char kNoVideoNoRt[] =
    "DDCreateSurfaceFromFile Err DTMEMORYTYPE_VIDEO_NORT\x82\xCC\x8E\x77\x92\xE8\x82\xCD\x96\xA2\x91\xCE\x89\x9E\x82\xC5"
    "\x82\xB7\x81\x42""DTMEMORYTYPE_VIDEO_RT\x82\xC5\x83\x65\x83\x4E\x83\x58\x83\x60\x83\x83\x82\xF0\x8D\xEC\x90\xAC\x82"
    "\xB5\x82\xDC\x82\xB7\x81\x42";

// A surface that is made anew must not keep what it held (a texture, its
// place in the restore list): that goes first.
void ReleaseHeld(DDSURFACEDATA* lpSD) {
  const DTDATA* dt = lpSD->lpDT.get();
  if (dt && (dt->lpTexture || dt->lpVB || dt->lpSurface || dt->lpSystemSurface)) DDDestroySurface(lpSD);
}

// The fields a new (not restored) surface starts from; its own id and
// vertex buffer unless it draws from an alias. 0, or the buffer's failure.
int32_t StartRecord(DDSURFACEDATA* lpSD, const char* type, const char* file, int dtMemType, int bColorKey,
                    DDSURFACEDATA* lpAlias) {
  DTDATA& dt = *lpSD->lpDT;
  lpSD->szSurfaceType = type;
  lpSD->szFileName = file;
  dt.nMemType = dtMemType;
  dt.lpTexture.reset();
  dt.lpSurface.reset();
  dt.lpSystemSurface.reset();
  dt.lpVB.reset();
  dt.bColorKey = bColorKey == 1 ? 1 : 0;
  if (lpAlias) return 0;
  dt.id = lpDTCon->nNextSurfaceID++;
  return lpDevice->CreateVertexBuffer(4 * sizeof(DTVERTEX), plat::D3DUSAGE_WRITEONLY, plat::kD3DVertexFvf,
                                      plat::D3DPool::Managed, dt.lpVB);
}

// Level 0 of the texture and its description; false (after its line) when
// the level cannot be had.
bool TakeLevel0(DDSURFACEDATA* lpSD) {
  DTDATA& dt = *lpSD->lpDT;
  const int32_t hr = dt.lpTexture->GetSurfaceLevel(0, dt.lpSurface);
  if (hr != plat::D3D_OK) {
    ReportPrintfDebug("GetSurfaceLevel Err hr = %x", static_cast<unsigned>(hr));
    return false;
  }
  plat::D3DSurfaceDesc desc;
  dt.lpTexture->GetLevelDesc(0, desc);
  dt.descLevel0 = DTSURFACEDESC{static_cast<int32_t>(desc.format), static_cast<int32_t>(desc.pool), desc.width,
                                desc.height};
  lpSD->nTexWidth = desc.width;
  lpSD->nTexHeight = desc.height;
  return true;
}

}  // namespace

void DTTextureFailureExit() {
  if (lpDTCon && !lpDTCon->strTextureAdvice.empty()) ErrorBoxPrintf("%s", lpDTCon->strTextureAdvice.c_str());
  PostCloseMessage(hDDWnd);
}

bool DTCreateSurface(DDSURFACEDATA* lpSD, int w, int h, int bColorKey, int ddMemType, int dtMemType,
                     DDSURFACEDATA* lpAlias, int bRestore) {
  if (!lpDevice || !lpSD) return false;
  if (!bRestore) ReleaseHeld(lpSD);
  lpSD->DDAllocSurfaceRecord();
  DTDATA& dt = *lpSD->lpDT;
  if (!bRestore && StartRecord(lpSD, "OffScreen", "E", dtMemType, bColorKey, lpAlias) != plat::D3D_OK) {
    ReportPrintfDebug("CreateVertexBuffer Err");
    return false;
  }
  lpSD->nDDMemType = ddMemType;
  if (lpAlias) {
    lpSD->nWidth = lpSD->nTexWidth = w;
    lpSD->nHeight = lpSD->nTexHeight = h;
    return true;
  }
  if (w <= 0 || h <= 0) {
    ReportPrintfDebug("DDCreateSurface : no surface of %d x %d", w, h);
    return false;
  }
  int tw = w, th = h;
  DDRoundTextureSize(&tw, &th);
  if (!DDCheckTextureSize(tw, th)) ReportPrintfDebug(kMayFailEmpty);

  if (dt.nMemType == DTMEMORYTYPE_VIDEO_NORT) dt.nMemType = DTMEMORYTYPE_VIDEO_RT;
  if (dt.nMemType == DTMEMORYTYPE_VIDEO_RT) {
    dt.bRenderTarget = 1;
    const int32_t hr = plat::CreateFittedTexture(*lpDevice, tw, th, plat::D3DUSAGE_RENDERTARGET, DTTextureFormat(),
                                                 plat::D3DPool::Default, dt.lpTexture);
    if (hr == plat::D3DERR_OUTOFVIDEOMEMORY) {
      ReportPrintfDebug(kToSystemEmpty);
      dt.nMemType = DTMEMORYTYPE_SYSTEM;
    } else if (hr != plat::D3D_OK) {
      return false;
    }
  }
  // A system texture outlives a reset; a restore makes one only where the
  // video memory ran out just now.
  if (dt.nMemType == DTMEMORYTYPE_SYSTEM && (!bRestore || !dt.lpTexture)) {
    dt.bRenderTarget = 0;
    const int32_t hr = plat::CreateFittedTexture(*lpDevice, tw, th, plat::D3DUSAGE_DYNAMIC, DTTextureFormat(),
                                                 plat::D3DPool::SystemMem, dt.lpTexture);
    if (hr != plat::D3D_OK) {
      ReportPrintfDebug("D3DXCreateTexture Err hr = %x", static_cast<unsigned>(hr));
      DTTextureFailureExit();
      return false;
    }
  }
  if (!dt.lpTexture || !TakeLevel0(lpSD)) return false;
  if (dt.nMemType == DTMEMORYTYPE_VIDEO_RT && !dt.lpSystemSurface) {
    const int32_t hr = lpDevice->CreateOffscreenPlainSurface(lpSD->nTexWidth, lpSD->nTexHeight, DTTextureFormat(),
                                                             plat::D3DPool::SystemMem, dt.lpSystemSurface);
    if (hr != plat::D3D_OK) {
      ReportPrintfDebug("CreateOffscreenPlainSurface Err hr = %x", static_cast<unsigned>(hr));
      DTTextureFailureExit();
      return false;
    }
  }
  lpSD->nWidth = w;
  lpSD->nHeight = h;
  if (DDSetRenderTarget(0, lpSD)) {
    lpDevice->Clear(nullptr, lpDTCon->dwTransmitColor);
    DDSetRenderTarget(0, lpDTCon->lpRestingTarget);
  }
  if (!bRestore) RestoreList.Add(lpSD);
  return true;
}

int DTCreateSurfaceFromFile(DDSURFACEDATA* lpSD, const char* file, int bColorKey, int bpp, int ddMemType,
                            int dtMemType, DDSURFACEDATA* lpAlias, int bIndexMap, int mirrorW, int mirrorH,
                            int bRestore) {
  if (!lpDevice || !lpSD || !file) return 8;
  if (!bRestore) ReleaseHeld(lpSD);
  lpSD->DDAllocSurfaceRecord();
  DTDATA& dt = *lpSD->lpDT;
  if (!bRestore) {
    if (const int32_t hr = StartRecord(lpSD, "OffScreenFromFile", file, dtMemType, bColorKey, lpAlias)) {
      ReportPrintfDebug("CreateVertexBuffer Err %x", static_cast<unsigned>(hr));
      return hr;
    }
  }
  plat::BmpImage img;
  const plat::BmpStatus status = plat::LoadBmp(file, img);
  if (status != plat::BmpStatus::Ok) {
    if (file[0]) {
      ReportPrintfDebug("LoadImage Err %s", file);
      DebugLogPrintf("%s : %s", file, plat::BmpStatusText(status));
    }
    return 8;
  }
  if (lpAlias) {
    lpSD->nWidth = lpSD->nTexWidth = img.width;
    lpSD->nHeight = lpSD->nTexHeight = img.height;
  } else {
    int tw = img.width, th = img.height;
    DDRoundTextureSize(&tw, &th);
    if (!DDCheckTextureSize(tw, th)) ReportPrintfDebug(kMayFailFile, file);
    const RGBTRIPLE key = nBpp == 16 ? lpDTCon->rgbTransmit16 : lpDTCon->rgbTransmit;
    const uint32_t colorKey =
        0xFF000000u | uint32_t{key.rgbtRed} << 16 | uint32_t{key.rgbtGreen} << 8 | uint32_t{key.rgbtBlue};

    if (dt.nMemType == DTMEMORYTYPE_VIDEO_NORT) {
      DebugLogPuts(kNoVideoNoRt);
      dt.nMemType = DTMEMORYTYPE_VIDEO_RT;
    }
    if (dt.nMemType == DTMEMORYTYPE_VIDEO_RT) {
      dt.bRenderTarget = 0;
      const int32_t hr = plat::CreateTextureFromImage(*lpDevice, img, tw, th, 0, DTTextureFormat(),
                                                      plat::D3DPool::Managed, colorKey, dt.lpTexture);
      if (hr == plat::D3DERR_OUTOFVIDEOMEMORY) {
        ReportPrintfDebug(kToSystemFile, file);
        dt.nMemType = DTMEMORYTYPE_SYSTEM;
      } else if (hr != plat::D3D_OK) {
        ReportPrintfDebug(kTextureFailed, file);
        return hr;
      }
    }
    if (dt.nMemType == DTMEMORYTYPE_SYSTEM && (!bRestore || !dt.lpTexture)) {
      dt.bRenderTarget = 0;
      const int32_t hr = plat::CreateTextureFromImage(*lpDevice, img, tw, th, plat::D3DUSAGE_DYNAMIC,
                                                      DTTextureFormat(), plat::D3DPool::SystemMem, colorKey,
                                                      dt.lpTexture);
      if (hr != plat::D3D_OK) {
        ReportPrintfDebug("D3DXCreateTextureFromFileEx Err %x %s", static_cast<unsigned>(hr), file);
        DTTextureFailureExit();
        return hr;
      }
    }
    if (!dt.lpTexture || !TakeLevel0(lpSD)) return 4;
    lpSD->nWidth = img.width;
    lpSD->nHeight = img.height;
    int code = 0;
    if (mirrorW || mirrorH) {
      DDSURFACEDATA temp;
      if (DTCreateSurfaceFromFile(&temp, file, bColorKey, bpp, ddMemType, dt.nMemType, nullptr, 0, 0, 0, 0) != 0 ||
          !CreateMirror(lpSD, &temp, mirrorW, mirrorH)) {
        ReportPrintfDebug("CreateMirror Err");
        code = 1;
      }
      DDDestroySurface(&temp);
    }
    if (!bRestore) RestoreList.Add(lpSD);
    if (code) return code;
  }
  lpSD->nMirrorW = mirrorW;
  lpSD->nMirrorH = mirrorH;
  lpSD->nDDMemType = ddMemType;
  if (bIndexMap && bpp != 8) {
    DDBuildPalIndexMap(lpSD);
  } else {
    dt.lpPalIndex.reset();
    dt.nPalIndexPitch = 0;
  }
  return 0;
}

bool DTCreateMirror(DDSURFACEDATA* lpSD, DDSURFACEDATA* lpSrc, int mirrorW, int mirrorH) {
  // Sheets mirror across only; a cell width of 0 or less has no cells.
  if (mirrorW <= 0 || mirrorH != 0) return true;
  if (!lpSD || !lpSrc) return false;
  if (DDSetRenderTarget(0, lpSD)) {
    lpDevice->Clear(nullptr, lpDTCon->dwTransmitTexel);
    DDSetRenderTarget(0, lpDTCon->lpRestingTarget);
  }
  const int cells = lpSrc->nWidth / mirrorW;
  for (int i = 0; i < cells; ++i)
    DDBltStretch(lpSD, i * mirrorW, 0, mirrorW, lpSrc->nHeight, lpSrc, (i + 1) * mirrorW, 0, -mirrorW,
                 lpSrc->nHeight, 0);
  return true;
}
