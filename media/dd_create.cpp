// Making surfaces: empty ones, ones from BMP files, the surface table, and
// the size rules of the 3D device's textures.
#include <algorithm>

#include "base/boxes.h"
#include "base/report_log.h"
#include "media/dd_bitmap.h"
#include "media/dd_layer.h"
#include "media/dt_device.h"
#include "platform/soft_display.h"

namespace {

// "%s の読み込みに失敗！"
const char kLoadFailed[] = "%s \x82\xCC\x93\xC7\x82\xDD\x8D\x9E\x82\xDD\x82\xC9\x8E\xB8\x94\x73\x81\x49";
// "このビデオカードでは横幅%dを超える画像はサポートされていません！"
const char kTooWide[] =
    "\x82\xB1\x82\xCC\x83\x72\x83\x66\x83\x49\x83\x4A\x81\x5B\x83\x68\x82\xC5\x82\xCD\x89\xA1\x95\x9D%d\x82\xF0"
    "\x92\xB4\x82\xA6\x82\xE9\x89\xE6\x91\x9C\x82\xCD\x83\x54\x83\x7C\x81\x5B\x83\x67\x82\xB3\x82\xEA\x82\xC4"
    "\x82\xA2\x82\xDC\x82\xB9\x82\xF1\x81\x49";
// "このビデオカードでは縦幅%dを超える画像はサポートされていません！"
const char kTooHigh[] =
    "\x82\xB1\x82\xCC\x83\x72\x83\x66\x83\x49\x83\x4A\x81\x5B\x83\x68\x82\xC5\x82\xCD\x8F\x63\x95\x9D%d\x82\xF0"
    "\x92\xB4\x82\xA6\x82\xE9\x89\xE6\x91\x9C\x82\xCD\x83\x54\x83\x7C\x81\x5B\x83\x67\x82\xB3\x82\xEA\x82\xC4"
    "\x82\xA2\x82\xDC\x82\xB9\x82\xF1\x81\x49";

int RoundUpPow2(int v) {
  if (v <= 1 || (v & (v - 1)) == 0) return v;
  int top = 1;
  while (top <= v / 2) top <<= 1;
  return top > (1 << 29) ? v : top << 1;
}

}  // namespace

bool DDCreateSurface(DDSURFACEDATA* lpSD, int w, int h, int bColorKey, int ddMemType, int dtMemType,
                     DDSURFACEDATA* lpAlias, int bRestore) {
  if (!lpSD) return false;
  if (lpDTCon) return DTCreateSurface(lpSD, w, h, bColorKey, ddMemType, dtMemType, lpAlias, bRestore);
  lpSD->DDAllocSurfaceRecord();
  if (!lpDD || !lpSD->lpDDS) return false;
  std::shared_ptr<plat::DDSurface> surface;
  int memType = ddMemType;
  if (memType == 1) {
    if (lpDD->CreateSurface(w, h, true, surface) != plat::DD_OK) {
      ReportPrintfDebug("CreateSurface System Err");
      return false;
    }
  } else if (lpDD->CreateSurface(w, h, false, surface) != plat::DD_OK) {
    if (lpDD->CreateSurface(w, h, true, surface) != plat::DD_OK) {
      ReportPrintfDebug("CreateSurface Video -> System Err");
      return false;
    }
    memType = 1;
  }
  lpSD->lpDDS->lpSurface = surface;
  if (bColorKey == 1 && surface->SetColorKey(TransmitPixel) != plat::DD_OK) ReportPrintfDebug("SetColorKey Err");
  lpSD->nWidth = lpSD->nTexWidth = w;
  lpSD->nHeight = lpSD->nTexHeight = h;
  lpSD->nDDMemType = memType;
  DDFillRect(lpSD, 0, 0, w, h, 0);
  return true;
}

int DDCreateSurfaceFromFile(DDSURFACEDATA* lpSD, const char* file, int bColorKey, int bpp, int ddMemType,
                            int dtMemType, DDSURFACEDATA* lpAlias, int bIndexMap, int mirrorW, int mirrorH,
                            int bRestore) {
  if (!lpSD || !file) return 8;
  if (lpDTCon)
    return DTCreateSurfaceFromFile(lpSD, file, bColorKey, bpp, ddMemType, dtMemType, lpAlias, bIndexMap, mirrorW,
                                   mirrorH, bRestore);
  plat::BmpImage img;
  const plat::BmpStatus status = plat::LoadBmp(file, img);
  if (status != plat::BmpStatus::Ok) {
    DebugLogPrintf("LoadImage Err %s (%s)", file, plat::BmpStatusText(status));
    return 8;
  }
  if (!DDCreateSurface(lpSD, img.width, img.height, bColorKey, ddMemType, 0, nullptr, 0)) return 4;
  if (!CopyBitmapImage(lpSD, file, img, bpp, bIndexMap, mirrorW, mirrorH)) return 8;
  // nDDMemType stays what the creation used: 1 when video memory was full.
  lpSD->nMirrorW = mirrorW;
  lpSD->nMirrorH = mirrorH;
  lpSD->szFileName = file;
  return 0;
}

bool DDCheckResult(int code) {
  switch (code) {
    case 0: return true;
    case 4: DebugLogPuts("CREATESURFACE_ERR"); return false;
    case 8: DebugLogPuts("LOADIMAGE_ERR"); return false;
    case 9: DebugLogPuts("SETCOLORKEY_ERR"); return false;
    default: DebugLogPrintf("CREATESURFACE_ERR %x", static_cast<unsigned>(code)); return false;
  }
}

bool DDLoadSurfaces(DDSURFACEDATA* table, const int indices[], int n) {
  for (int k = 0; k < n; ++k) {
    const int i = indices[k];
    if (!table || !lpSurfaceDefs || i < 0 || i >= nSurfaceCount) {
      ReportPrintfDebug("DDLoadSurfaces : no surface %d", i);
      return false;
    }
    DDSURFACEDATA* lpSD = &table[i];
    const DDSURFACEDEF& def = lpSurfaceDefs[i];
    DDReleaseSurface(lpSD);
    if (def.szFileName != "E") {
      const int code = DDCreateSurfaceFromFile(lpSD, def.szFileName.c_str(), def.bColorKey, nBpp, def.nDDMemType,
                                               def.nDTMemType, def.lpAlias, def.bPalIndex, def.nMirrorW,
                                               def.nMirrorH, 0);
      if (!DDCheckResult(code) && !def.bOptional) {
        ErrorBoxPrintf(kLoadFailed, def.szFileName.c_str());
        return false;
      }
    } else if (!DDCreateSurface(lpSD, def.nWidth, def.nHeight, def.bColorKey, def.nDDMemType, def.nDTMemType,
                                def.lpAlias, 0) &&
               !def.bOptional) {
      OutOfMemory();
      return false;
    }
  }
  return true;
}

int DDCheckBitmapSize(int* pTooLarge, const char* file, int w, int h) {
  if (lpDTCon) return 1;
  plat::BmpImage img;
  if (!file || plat::LoadBmp(file, img) != plat::BmpStatus::Ok) {
    if (pTooLarge) *pTooLarge = 0;
    return 0;
  }
  if (pTooLarge) *pTooLarge = img.width > w || img.height > h ? 1 : 0;
  return 1;
}

int DDReloadBitmap(DDSURFACEDATA* lpSD, int bpp) {
  if (lpDTCon) return 1;
  if (!lpSD || !lpSD->lpDDS) return 0;
  const int bIndexMap = lpSD->lpDDS->lpPalIndex ? 1 : 0;
  const std::string file = lpSD->szFileName;
  return CopyBitmap(lpSD, file.c_str(), bpp, bIndexMap, lpSD->nMirrorW, lpSD->nMirrorH) ? 1 : 0;
}

bool CopyBitmap(DDSURFACEDATA* lpSD, const char* file, int bpp, int bIndexMap, int mirrorW, int mirrorH) {
  if (lpDTCon) return true;
  plat::BmpImage img;
  const plat::BmpStatus status = plat::LoadBmp(file ? file : "", img);
  if (status != plat::BmpStatus::Ok) {
    DebugLogPrintf("LoadImage Err %s (%s)", file ? file : "", plat::BmpStatusText(status));
    return false;
  }
  return CopyBitmapImage(lpSD, file, img, bpp, bIndexMap, mirrorW, mirrorH);
}

bool CreateMirror(DDSURFACEDATA* lpSD, DDSURFACEDATA* lpSrc, int mirrorW, int mirrorH) {
  if (lpDTCon) return DTCreateMirror(lpSD, lpSrc, mirrorW, mirrorH);
  return true;
}

void DDRoundTextureSize(int* w, int* h) {
  if (!lpDTCon || !w || !h) return;
  if (lpDTCon->bPow2) {
    *w = RoundUpPow2(*w);
    *h = RoundUpPow2(*h);
  }
  if (lpDTCon->bSquareOnly) *w = *h = std::max(*w, *h);
}

bool DDCheckTextureSize(int w, int h) {
  if (!lpDTCon) return true;
  bool ok = true;
  if (w > lpDTCon->Caps.MaxTextureWidth) {
    ReportPrintfDebug(kTooWide, lpDTCon->Caps.MaxTextureWidth);
    ok = false;
  }
  if (h > lpDTCon->Caps.MaxTextureHeight) {
    ReportPrintfDebug(kTooHigh, lpDTCon->Caps.MaxTextureHeight);
    ok = false;
  }
  return ok;
}
