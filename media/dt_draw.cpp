// The 3D back end's draws: the textured quad, blits on the video card and
// on the processor, fills, the batch runs, the fade quad, scenes and render
// targets.
#include <algorithm>
#include <cstring>
#include <vector>

#include "base/report_log.h"
#include "media/dd_blit.h"
#include "media/dd_fx_pixels.h"
#include "media/dd_pixels.h"
#include "media/dt_device.h"
#include "media/dt_internal.h"

namespace {

// 16-bit indices reach 65536 vertices: 16384 quads per draw.
constexpr int kQuadsPerDraw = 16384;
constexpr uint32_t kQuadBytes = 4 * sizeof(DTVERTEX);

int DeviceOp(int op) {
  switch (op) {
    case D3DTOP_DISABLE:
    case D3DTOP_SELECTARG1:
    case D3DTOP_SELECTARG2:
    case D3DTOP_MODULATE:
    case D3DTOP_ADD:
    case D3DTOP_SUBTRACT:
    case D3DTOP_BLENDFACTORALPHA: return op;
    default:
      DebugLogPrintf("SetTextureStageState : operation %d is drawn as D3DTOP_MODULATE", op);
      return D3DTOP_MODULATE;
  }
}

plat::Rect RectOf(int64_t x, int64_t y, int64_t w, int64_t h) {
  auto narrow = [](int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); };
  return plat::Rect{narrow(x), narrow(y), narrow(x + w), narrow(y + h)};
}

bool HasTexture(const DDSURFACEDATA* sd) { return sd && sd->lpDT && sd->lpDT->lpTexture; }
bool HasSurface(const DDSURFACEDATA* sd) { return sd && sd->lpDT && sd->lpDT->lpSurface; }

// Opens the scene, makes dst the render target and sets stage 0 and the
// texture; false when the scene or the target failed.
bool PrepareDraw(DDSURFACEDATA* dst, DDSURFACEDATA* src, const DTSTAGESTATE& stage) {
  if (!DDBeginScene() || !DDSetRenderTarget(0, dst)) return false;
  DTApplyStage(stage);
  lpDevice->SetTexture(0, src ? src->lpDT->lpTexture : nullptr);
  return true;
}

// One quad from the surface's own vertex buffer; the device goes back to
// its resting target afterwards, whose result is returned.
int DrawOwnQuad(DDSURFACEDATA* vbOwner) {
  lpDevice->SetStreamSource(0, vbOwner->lpDT->lpVB, 0, plat::kD3DVertexStride);
  lpDevice->SetFVF(plat::kD3DVertexFvf);
  lpDevice->DrawPrimitive(plat::D3DPT_TRIANGLESTRIP, 0, 2);
  return DDSetRenderTarget(0, lpDTCon->lpRestingTarget);
}

// Buffers for up to `quads` quads, drawn one by one with their own four
// indices. They are kept between runs and grown when a run needs more, so a
// frame's batches make no buffers; DTReleaseRunBuffers lets them go with
// the device.
struct RunBuffers {
  std::shared_ptr<plat::D3DVertexBuffer> vb;
  std::shared_ptr<plat::D3DIndexBuffer> ib;
  int capacity = 0;  // quads both buffers hold
  DTVERTEX* vertices = nullptr;

  // Locks the vertices of `quads` quads for writing; false when the
  // buffers cannot be had.
  bool Make(int quads) {
    if (quads > capacity && !Grow(std::min(std::max(quads, 2 * capacity), kQuadsPerDraw))) return false;
    void* v = nullptr;
    if (vb->Lock(0, static_cast<uint32_t>(quads) * kQuadBytes, &v) != plat::D3D_OK) return false;
    vertices = static_cast<DTVERTEX*>(v);
    return true;
  }

  bool Grow(int quads) {
    Release();
    const uint32_t n = static_cast<uint32_t>(quads);
    if (lpDevice->CreateVertexBuffer(n * kQuadBytes, plat::D3DUSAGE_WRITEONLY, plat::kD3DVertexFvf,
                                     plat::D3DPool::Managed, vb) != plat::D3D_OK) {
      ReportPrintfDebug("CreateVertexBuffer Err");
      Release();
      return false;
    }
    if (lpDevice->CreateIndexBuffer(n * 4 * 2, plat::D3DUSAGE_WRITEONLY, plat::D3DPool::Managed, ib) !=
        plat::D3D_OK) {
      ReportPrintfDebug("CreateIndexBuffer Err");
      Release();
      return false;
    }
    void* indices = nullptr;
    if (ib->Lock(0, 0, &indices) != plat::D3D_OK) {
      Release();
      return false;
    }
    for (uint32_t i = 0; i < 4 * n; ++i) {
      const uint16_t index = static_cast<uint16_t>(i);
      std::memcpy(static_cast<uint8_t*>(indices) + 2 * i, &index, 2);
    }
    ib->Unlock();
    capacity = quads;
    return true;
  }

  void Release() {
    vb.reset();
    ib.reset();
    capacity = 0;
    vertices = nullptr;
  }

  void Draw(int quads) {
    lpDevice->SetStreamSource(0, vb, 0, plat::kD3DVertexStride);
    lpDevice->SetFVF(plat::kD3DVertexFvf);
    lpDevice->SetIndices(ib);
    for (int k = 0; k < quads; ++k)
      lpDevice->DrawIndexedPrimitive(plat::D3DPT_TRIANGLESTRIP, 0, static_cast<uint32_t>(4 * k), 4,
                                     static_cast<uint32_t>(4 * k), 2);
    lpDevice->SetIndices(nullptr);
    lpDevice->SetStreamSource(0, nullptr, 0, 0);
  }
};

RunBuffers Runs;

// The processor's copy: nearest pixel, both surfaces locked.
int CopyOnProcessor(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int sw,
                    int sh, int flags) {
  if ((nBpp != 16 && nBpp != 32) || w <= 0 || h <= 0) return 0;
  cSurfaceLock target;
  if (!target.Lock(dst)) return 0;
  cSurfaceLock source;
  if (!source.Lock(src)) return 0;
  const DDSURFACEDATA* to = target.m_lpSD;
  const DDSURFACEDATA* from = source.m_lpSD;
  const bool to565 = nBpp == 16 && DDIsFullscreenBackBuffer(to);
  const cPixelFormat format = cPixelFormat::Current();
  const int64_t j0 = std::max<int64_t>(0, -int64_t{y}), j1 = std::min<int64_t>(h, int64_t{to->nHeight} - y);
  const int64_t k0 = std::max<int64_t>(0, -int64_t{x}), k1 = std::min<int64_t>(w, int64_t{to->nWidth} - x);
  // Source pixel k of a span of n taken from s, sn pixels on: a negative
  // sn counts leftwards (upwards) from s - 1.
  auto sourceAt = [](int64_t k, int64_t n, int64_t s, int64_t sn) {
    return sn >= 0 ? s + k * sn / n : s - 1 - k * -sn / n;
  };
  if (j0 >= j1 || k0 >= k1) return 1;
  // The source column of each target column once (-1: outside the source).
  thread_local std::vector<int32_t> columns;
  columns.resize(static_cast<size_t>(k1 - k0));
  for (int64_t k = k0; k < k1; ++k) {
    const int64_t col = sourceAt(k, w, sx, sw);
    columns[static_cast<size_t>(k - k0)] = col < 0 || col >= from->nWidth ? -1 : static_cast<int32_t>(col);
  }
  const int32_t* cols = columns.data();
  const int n = static_cast<int>(k1 - k0);
  const bool keyed = flags & 1;
  for (int64_t j = j0; j < j1; ++j) {
    const int64_t row = sourceAt(j, h, sy, sh);
    if (row < 0 || row >= from->nHeight) continue;
    uint8_t* d = target.m_pBits + static_cast<size_t>(y + j) * static_cast<size_t>(target.m_nPitch) +
                 static_cast<size_t>(x + k0) * (nBpp == 32 ? 4 : 2);
    const uint8_t* s = source.m_pBits + static_cast<size_t>(row) * static_cast<size_t>(source.m_nPitch);
    if (nBpp == 32) {
      uint32_t* dp = reinterpret_cast<uint32_t*>(d);
      const uint32_t* sp = reinterpret_cast<const uint32_t*>(s);
      for (int i = 0; i < n; ++i) {
        if (cols[i] < 0) continue;
        const uint32_t p = sp[cols[i]];
        if (keyed && TransparentDT32(p)) continue;
        dp[i] = p;
      }
      continue;
    }
    uint16_t* dp = reinterpret_cast<uint16_t*>(d);
    const uint16_t* sp = reinterpret_cast<const uint16_t*>(s);
    for (int i = 0; i < n; ++i) {
      if (cols[i] < 0) continue;
      uint16_t p = sp[cols[i]];
      if (keyed && TransparentDT16(p)) continue;
      if (to565) p = static_cast<uint16_t>(format.ToBack(p));
      dp[i] = p;
    }
  }
  return 1;
}

// A fill of a system texture on the processor.
int FillOnProcessor(DDSURFACEDATA* lpSD, int x, int y, int w, int h, uint32_t colour) {
  cSurfaceLock lock;
  if (!lock.Lock(lpSD)) return plat::D3DERR_INVALIDCALL;
  const DDSURFACEDATA* sd = lock.m_lpSD;
  const int64_t left = std::max<int64_t>(x, 0), top = std::max<int64_t>(y, 0);
  const int64_t right = std::min<int64_t>(int64_t{x} + w, sd->nWidth);
  const int64_t bottom = std::min<int64_t>(int64_t{y} + h, sd->nHeight);
  uint32_t pixel = colour;
  if (nBpp == 16) {
    const uint32_t c[4] = {colour >> 16 & 0xFF, colour >> 8 & 0xFF, colour & 0xFF, colour >> 24};
    auto scaled = [&](int k) { return c[k] * static_cast<uint32_t>(TextureChannels[4 + k]) / 255; };
    if (DDIsFullscreenBackBuffer(sd))
      pixel = scaled(0) << BackBufferChannels[0] | (scaled(1) * 2) << BackBufferChannels[1] |
              scaled(2) << BackBufferChannels[2];
    else
      pixel = scaled(0) << TextureChannels[0] | scaled(1) << TextureChannels[1] | scaled(2) << TextureChannels[2] |
              scaled(3) << TextureChannels[3];
  }
  if (left >= right || top >= bottom || (lock.m_nBpp != 16 && lock.m_nBpp != 32)) return plat::D3D_OK;
  const size_t n = static_cast<size_t>(right - left);
  for (int64_t py = top; py < bottom; ++py) {
    uint8_t* row = lock.m_pBits + static_cast<size_t>(py) * static_cast<size_t>(lock.m_nPitch);
    if (lock.m_nBpp == 16)
      std::fill_n(reinterpret_cast<uint16_t*>(row) + left, n, static_cast<uint16_t>(pixel));
    else
      std::fill_n(reinterpret_cast<uint32_t*>(row) + left, n, pixel);
  }
  return plat::D3D_OK;
}

}  // namespace

// --- the textured quad ---

void DTSetVertex(DTVERTEX* v, double x, double y, double sx, double sy, const DDSURFACEDATA* src, uint32_t diffuse) {
  const double tw = src && src->nTexWidth > 0 ? src->nTexWidth : 1;
  const double th = src && src->nTexHeight > 0 ? src->nTexHeight : 1;
  *v = DTVERTEX{static_cast<float>(x - 0.5), static_cast<float>(y - 0.5), 0.0f, 1.0f, diffuse,
                static_cast<float>(sx / tw), static_cast<float>(sy / th)};
}

void DTRectVertices(DTVERTEX v[4], int x, int y, int w, int h, const DDSURFACEDATA* src, int sx, int sy, int sw,
                    int sh, uint32_t diffuse) {
  const float tw = src && src->nTexWidth > 0 ? static_cast<float>(src->nTexWidth) : 1.0f;
  const float th = src && src->nTexHeight > 0 ? static_cast<float>(src->nTexHeight) : 1.0f;
  const float left = static_cast<float>(x) - 0.5f, top = static_cast<float>(y) - 0.5f;
  const float right = static_cast<float>(int64_t{x} + w) - 0.5f, bottom = static_cast<float>(int64_t{y} + h) - 0.5f;
  const float u0 = static_cast<float>(sx) / tw, u1 = static_cast<float>(int64_t{sx} + sw) / tw;
  const float v0 = static_cast<float>(sy) / th, v1 = static_cast<float>(int64_t{sy} + sh) / th;
  v[0] = DTVERTEX{left, top, 0.0f, 1.0f, diffuse, u0, v0};
  v[1] = DTVERTEX{left, bottom, 0.0f, 1.0f, diffuse, u0, v1};
  v[2] = DTVERTEX{right, top, 0.0f, 1.0f, diffuse, u1, v0};
  v[3] = DTVERTEX{right, bottom, 0.0f, 1.0f, diffuse, u1, v1};
}

void DTApplyStage(const DTSTAGESTATE& stage) {
  plat::D3DDevice& d = *lpDevice;
  d.SetTextureStageState(0, plat::D3DTSS_COLOROP, static_cast<uint32_t>(DeviceOp(stage.nColorOp)));
  d.SetTextureStageState(0, plat::D3DTSS_COLORARG1, static_cast<uint32_t>(stage.nColorArg1));
  d.SetTextureStageState(0, plat::D3DTSS_COLORARG2, static_cast<uint32_t>(stage.nColorArg2));
  d.SetTextureStageState(0, plat::D3DTSS_ALPHAOP, static_cast<uint32_t>(DeviceOp(stage.nAlphaOp)));
  d.SetTextureStageState(0, plat::D3DTSS_ALPHAARG1, static_cast<uint32_t>(stage.nAlphaArg1));
  d.SetTextureStageState(0, plat::D3DTSS_ALPHAARG2, static_cast<uint32_t>(stage.nAlphaArg2));
  if (stage.nColorArg1 == D3DTA_TFACTOR || stage.nColorArg2 == D3DTA_TFACTOR || stage.nAlphaArg1 == D3DTA_TFACTOR ||
      stage.nAlphaArg2 == D3DTA_TFACTOR)
    d.SetRenderState(plat::D3DRS_TEXTUREFACTOR, stage.dwTextureFactor);
}

bool DTWriteVertices(DDSURFACEDATA* lpSD, const DTVERTEX v[4]) {
  if (!lpSD || !lpSD->lpDT || !lpSD->lpDT->lpVB) return false;
  void* p = nullptr;
  if (lpSD->lpDT->lpVB->Lock(0, kQuadBytes, &p) != plat::D3D_OK) return false;
  std::memcpy(p, v, kQuadBytes);
  lpSD->lpDT->lpVB->Unlock();
  return true;
}

int DTDrawQuad(DDSURFACEDATA* dst, DDSURFACEDATA* src, const DTVERTEX v[4], const DTSTAGESTATE& stage) {
  if (!lpDevice || !HasTexture(src) || !HasSurface(dst)) return 0;
  if (!DTWriteVertices(src, v) || !PrepareDraw(dst, src, stage)) return 0;
  DrawOwnQuad(src);
  return 1;
}

uint32_t DTKeyClearColor(const DDSURFACEDATA* dst) {
  // The back buffer shows the key colour, at 16 bits as at 32.
  if (dst == &BackBuffer) return lpDTCon->dwTransmitColor;
  return nBpp == 32 ? lpDTCon->dwTransmitTexel : lpDTCon->wTransmit_16;
}

// --- blits and fills ---

int DTBltStretch(DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* src, int sx, int sy, int sw, int sh,
                 int flags) {
  if (!lpDevice || !dst || !src || !dst->lpDT || !src->lpDT) return 0;
  const bool video = dst->lpDT->bRenderTarget && src->lpDT->nMemType != DTMEMORYTYPE_SYSTEM;
  if (!video) return CopyOnProcessor(dst, x, y, w, h, src, sx, sy, sw, sh, flags);
  // A source without texture (an alias of a missing image, or one the
  // device lost) has nothing to show.
  if (!HasTexture(src) || !HasSurface(dst)) return 0;
  DTVERTEX v[4];
  DTRectVertices(v, x, y, w, h, src, sx, sy, sw, sh, lpDTCon->dwDrawColor);
  if (!DTWriteVertices(src, v)) return 0;
  if (!DDBeginScene() || !DDSetRenderTarget(0, dst)) return 0;
  if (flags == 0 && src->lpDT->bColorKey) {
    const plat::Rect r = RectOf(x, y, w, h);
    lpDevice->Clear(&r, DTKeyClearColor(dst));
  }
  DTSTAGESTATE stage;
  stage.nColorOp = lpDTCon->nColorOp;
  stage.nAlphaOp = lpDTCon->nAlphaOp;
  DTApplyStage(stage);
  lpDevice->SetTexture(0, src->lpDT->lpTexture);
  return DrawOwnQuad(src);
}

int DTFillRectColor(DDSURFACEDATA* lpSD, int x, int y, int w, int h, uint32_t colour) {
  if (!lpDevice || !lpSD || !lpSD->lpDT) return plat::D3DERR_INVALIDCALL;
  DTDATA& dt = *lpSD->lpDT;
  if (!dt.bRenderTarget) {
    if (dt.nMemType == DTMEMORYTYPE_SYSTEM) return FillOnProcessor(lpSD, x, y, w, h, colour);
    return plat::D3DERR_INVALIDCALL;
  }
  const int64_t left = std::max<int64_t>(x, 0), top = std::max<int64_t>(y, 0);
  const int64_t right = std::min<int64_t>(int64_t{x} + w, lpSD->nWidth);
  const int64_t bottom = std::min<int64_t>(int64_t{y} + h, lpSD->nHeight);
  if (right <= left || bottom <= top) return plat::D3D_OK;
  const plat::Rect r = RectOf(left, top, right - left, bottom - top);
  // A blended quad cannot write transparent texels: the key colour of a
  // keyed target is a clear.
  const uint32_t key = lpSD == &BackBuffer ? lpDTCon->dwTransmitColor : lpDTCon->dwTransmitTexel;
  if (dt.bColorKey && (nBpp == 16 || nBpp == 32) && colour == key) {
    if (!DDBeginScene() || !DDSetRenderTarget(0, lpSD)) return plat::D3DERR_INVALIDCALL;
    lpDevice->Clear(&r, colour);
    DDSetRenderTarget(0, lpDTCon->lpRestingTarget);
    return plat::D3D_OK;
  }
  if (FillBatch.bOpen) {
    FillBatch.records.push_back(DDFILLRECORD{lpSD, r.left, r.top, r.Width(), r.Height(), colour});
    return plat::D3D_OK;
  }
  DTVERTEX v[4];
  DTRectVertices(v, r.left, r.top, r.Width(), r.Height(), nullptr, 0, 0, 0, 0, colour);
  if (!DTWriteVertices(lpSD, v)) return plat::D3DERR_INVALIDCALL;
  DTSTAGESTATE stage;
  stage.nColorOp = stage.nAlphaOp = D3DTOP_SELECTARG2;
  stage.nColorArg2 = stage.nAlphaArg2 = D3DTA_TFACTOR;
  stage.dwTextureFactor = colour;
  if (!DDBeginScene() || !DDSetRenderTarget(0, lpSD)) return plat::D3DERR_INVALIDCALL;
  DTApplyStage(stage);
  DrawOwnQuad(lpSD);
  return plat::D3D_OK;
}

// --- the batches ---

void DTDrawFillRun(const DDFILLRECORD* records, int count) {
  if (!lpDevice || count <= 0 || !HasSurface(records[0].lpTarget)) return;
  for (int first = 0; first < count; first += kQuadsPerDraw) {
    const int n = std::min(kQuadsPerDraw, count - first);
    RunBuffers& buffers = Runs;
    if (!buffers.Make(n)) continue;
    for (int k = 0; k < n; ++k) {
      const DDFILLRECORD& f = records[first + k];
      DTRectVertices(buffers.vertices + 4 * k, f.x, f.y, f.w, f.h, nullptr, 0, 0, f.w, f.h, f.dwColor);
    }
    buffers.vb->Unlock();
    if (!DDBeginScene() || !DDSetRenderTarget(0, records[0].lpTarget)) continue;
    lpDevice->SetTextureStageState(0, plat::D3DTSS_COLOROP, plat::D3DTOP_SELECTARG2);
    lpDevice->SetTextureStageState(0, plat::D3DTSS_COLORARG2, plat::D3DTA_DIFFUSE);
    lpDevice->SetTextureStageState(0, plat::D3DTSS_ALPHAOP, plat::D3DTOP_DISABLE);
    lpDevice->SetTexture(0, WorkSD.lpDT ? WorkSD.lpDT->lpTexture : nullptr);
    buffers.Draw(n);
    DDSetRenderTarget(0, lpDTCon->lpRestingTarget);
  }
}

int DTDrawBatchRun(const DDBATCHBLIT* records, int count) {
  if (!lpDevice || count <= 0) return 0;
  DDSURFACEDATA* src = records[0].lpSrc;
  DDSURFACEDATA* dst = records[0].lpDst;
  if (!HasTexture(src) || !HasSurface(dst)) return 1;  // nothing to show
  const bool clearFirst = records[0].nFlags == 0 && src->lpDT->bColorKey;
  int result = 1;
  for (int first = 0; first < count; first += kQuadsPerDraw) {
    const int n = std::min(kQuadsPerDraw, count - first);
    RunBuffers& buffers = Runs;
    if (!buffers.Make(n)) {
      result = 0;
      continue;
    }
    for (int k = 0; k < n; ++k) {
      const DDBATCHBLIT& b = records[first + k];
      DTRectVertices(buffers.vertices + 4 * k, b.x, b.y, b.w, b.h, src, b.sx, b.sy, b.sw, b.sh, b.dwColor);
    }
    buffers.vb->Unlock();
    if (!DDBeginScene() || !DDSetRenderTarget(0, dst)) {
      result = 0;
      continue;
    }
    if (clearFirst) {
      const uint32_t key = DTKeyClearColor(dst);
      for (int k = 0; k < n; ++k) {
        const DDBATCHBLIT& b = records[first + k];
        const plat::Rect r = RectOf(b.x, b.y, b.w, b.h);
        lpDevice->Clear(&r, key);
      }
    }
    DTSTAGESTATE stage;
    stage.nColorOp = records[0].nColorOp;
    stage.nAlphaOp = records[0].nAlphaOp;
    DTApplyStage(stage);
    lpDevice->SetTexture(0, src->lpDT->lpTexture);
    buffers.Draw(n);
    DDSetRenderTarget(0, lpDTCon->lpRestingTarget);
  }
  return result;
}

void DTReleaseRunBuffers() { Runs.Release(); }

// --- the fade ---

bool DTFadeQuad(int alpha) {
  DDSURFACEDATA* bb = &BackBuffer;
  DDRedirectBackBuffer(&bb);
  if (!lpDevice || !HasSurface(bb)) return false;
  const uint32_t diffuse = static_cast<uint32_t>(std::clamp(alpha, 0, 255)) << 24;
  DTVERTEX v[4];
  DTRectVertices(v, 0, 0, bb->nWidth, bb->nHeight, bb, 0, 0, bb->nWidth, bb->nHeight, diffuse);
  if (!DTWriteVertices(bb, v)) return false;
  if (!DDBeginScene() || !DDSetRenderTarget(0, bb)) return false;
  DTSTAGESTATE stage;
  stage.nColorOp = stage.nAlphaOp = D3DTOP_SELECTARG2;
  DTApplyStage(stage);
  DrawOwnQuad(bb);
  return true;
}

// --- scenes and render targets ---

int DTBeginScene() {
  if (!lpDevice) return 0;
  if (const int32_t hr = lpDevice->BeginScene()) {
    ReportPrintfDebug("BeginScene Err %x", static_cast<unsigned>(hr));
    return 0;
  }
  lpDTCon->bInScene = 1;
  return 1;
}

void DTEndScene() {
  if (lpDevice) lpDevice->EndScene();
  lpDTCon->bInScene = 0;
}

int DTSetRenderTarget(DDSURFACEDATA* lpSD) {
  // A surface the device lost has nothing to draw into until it is made
  // again; that is no failure worth a line per draw.
  if (!lpDevice || !HasSurface(lpSD)) return 0;
  if (const int32_t hr = lpDevice->SetRenderTarget(0, lpSD->lpDT->lpSurface)) {
    ReportPrintfDebug("SetRenderTarget Err %x (%s)", static_cast<unsigned>(hr), lpSD->szFileName.c_str());
    return 0;
  }
  return 1;
}
