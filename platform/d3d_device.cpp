// The 3D object and device: creation, states, clears, draws, the present
// to the presenter, and loss and reset.
#include "platform/d3d_device.h"

#include <algorithm>
#include <array>
#include <atomic>
#include <cmath>
#include <cstring>

#include "platform/d3d_internal.h"
#include "platform/machine_facts.h"
#include "platform/prefault.h"
#include "platform/presenter.h"
#include "platform/message_box.h"
#include "platform/window.h"
#include "platform/window_geometry.h"

namespace plat {
namespace {

// Buffers larger than this are refused rather than allocated.
constexpr uint32_t kMaxBufferBytes = 64u << 20;
constexpr int kMaxPlainSide = 16384;

// Stops at the first non-zero word, so a drawn row costs little to ask.
bool AllZero(const uint8_t* p, size_t n) {
  size_t i = 0;
  for (; i + 8 <= n; i += 8) {
    uint64_t w;
    std::memcpy(&w, p + i, 8);
    if (w) return false;
  }
  for (; i < n; ++i)
    if (p[i]) return false;
  return true;
}

std::mutex g_liveMutex;
std::weak_ptr<detail::D3DState> g_live;

std::shared_ptr<detail::D3DState> LiveState() {
  std::lock_guard<std::mutex> lock(g_liveMutex);
  return g_live.lock();
}

bool IsBackBufferFormat(D3DFormat f) {
  return f == D3DFormat::X8R8G8B8 || f == D3DFormat::R5G6B5 || f == D3DFormat::A1R5G5B5;
}
bool IsFormat(D3DFormat f) { return IsBackBufferFormat(f) || f == D3DFormat::A8R8G8B8; }
bool IsPow2(int v) { return v > 0 && (v & (v - 1)) == 0; }

bool Fails(D3DCall call, int32_t& result) { return detail::D3DCallFails(call, result); }

// Takes the video memory of a default-pool surface of that size and format.
bool Reserve(detail::D3DState& state, int width, int height, D3DFormat format) {
  const uint64_t bytes = uint64_t{static_cast<uint32_t>(width)} * static_cast<uint32_t>(height) *
                         static_cast<uint64_t>(D3DBytesPerPixel(format));
  std::lock_guard<std::mutex> lock(state.mutex);
  if (state.used + bytes > state.budget) return false;
  state.used += bytes;
  return true;
}

// `r` (null: the whole surface) cut to the surface.
Rect CutToSurface(const detail::D3DPixels& p, const Rect* r) {
  if (!r) return p.Bounds();
  Rect c{std::max(r->left, 0), std::max(r->top, 0), std::min(r->right, p.width), std::min(r->bottom, p.height)};
  if (c.left >= c.right || c.top >= c.bottom) return Rect{};
  return c;
}

Rect IntersectRects(const Rect& a, const Rect& b) {
  const Rect c{std::max(a.left, b.left), std::max(a.top, b.top), std::min(a.right, b.right),
               std::min(a.bottom, b.bottom)};
  if (c.left >= c.right || c.top >= c.bottom) return Rect{};
  return c;
}

}  // namespace

// --- the device ---

struct D3DDevice::Impl {
  std::shared_ptr<detail::D3DState> state;
  D3DPresentParams params;
  WindowHandle window;
  std::shared_ptr<D3DSurface> backBuffer;
  std::shared_ptr<D3DSurface> renderTarget;
  std::shared_ptr<D3DTexture> texture;
  std::shared_ptr<D3DVertexBuffer> stream;
  uint32_t streamOffset = 0, stride = 0;
  std::shared_ptr<D3DIndexBuffer> indices;
  uint32_t fvf = 0;
  std::array<uint32_t, 256> renderStates{};
  std::array<uint32_t, 33> stage0{};
  bool inScene = false;
  bool released = false;
  std::vector<uint32_t> frame;
  std::vector<detail::D3DVertex> gathered;
  D3DDrawCounts counts;

  void DefaultStates() {
    renderStates.fill(0);
    renderStates[D3DRS_ZENABLE] = 1;
    renderStates[D3DRS_SRCBLEND] = 2;   // one
    renderStates[D3DRS_DESTBLEND] = 1;  // zero
    renderStates[D3DRS_CULLMODE] = D3DCULL_CCW;
    renderStates[D3DRS_ALPHABLENDENABLE] = 0;
    renderStates[D3DRS_TEXTUREFACTOR] = 0xFFFFFFFF;
    renderStates[D3DRS_COLORVERTEX] = 1;
    renderStates[D3DRS_DIFFUSEMATERIALSOURCE] = D3DMCS_COLOR1;
    stage0.fill(0);
    stage0[D3DTSS_COLOROP] = D3DTOP_MODULATE;
    stage0[D3DTSS_COLORARG1] = D3DTA_TEXTURE;
    stage0[D3DTSS_COLORARG2] = D3DTA_CURRENT;
    stage0[D3DTSS_ALPHAOP] = D3DTOP_SELECTARG1;
    stage0[D3DTSS_ALPHAARG1] = D3DTA_TEXTURE;
    stage0[D3DTSS_ALPHAARG2] = D3DTA_CURRENT;
  }

  // A window's back buffer takes the client size when none is given.
  bool FillSizes(D3DPresentParams& p) {
    if (!IsBackBufferFormat(p.backBufferFormat)) return false;
    if (p.windowed && (p.backBufferWidth == 0 || p.backBufferHeight == 0)) {
      int w = 640, h = 480;
      if (!GetClientSize(p.deviceWindow ? p.deviceWindow : window, w, h)) w = 640, h = 480;
      p.backBufferWidth = w;
      p.backBufferHeight = h;
    }
    return p.backBufferWidth > 0 && p.backBufferHeight > 0 && p.backBufferWidth <= kMaxPlainSide &&
           p.backBufferHeight <= kMaxPlainSide;
  }

  int32_t MakeBackBuffer() {
    const int w = params.backBufferWidth, h = params.backBufferHeight;
    if (!Reserve(*state, w, h, params.backBufferFormat)) return D3DERR_OUTOFVIDEOMEMORY;
    backBuffer.reset(new D3DSurface(state, w, h, params.backBufferFormat, D3DPool::Default,
                                    D3DUSAGE_RENDERTARGET, true));
    renderTarget = backBuffer;
    return D3D_OK;
  }

  // The presenter shows this device's frames; vertical sync only when the
  // display runs at the rate a full-screen device asks for (else the
  // present waits for a clock of that rate).
  void AttachToPresenter() {
    state->fullScreen = !params.windowed;
    const bool interval = params.presentationInterval == D3DPRESENT_INTERVAL_DEFAULT;
    const bool rateHeld = params.windowed || params.fullScreenRefreshRate == 0 ||
                          DisplayRunsAt(params.fullScreenRefreshRate);
    AttachPresenter(params.deviceWindow ? params.deviceWindow : window, interval && rateHeld);
    SetPresenterFullScreen(!params.windowed);
  }

  int32_t Draw(uint32_t type, uint32_t primitiveCount) {
    ++counts.drawCalls;
    if (state->Lost()) return D3D_OK;  // draws of a lost device vanish
    detail::D3DPixelState s;
    s.colorOp = stage0[D3DTSS_COLOROP];
    s.colorArg1 = stage0[D3DTSS_COLORARG1];
    s.colorArg2 = stage0[D3DTSS_COLORARG2];
    s.alphaOp = stage0[D3DTSS_ALPHAOP];
    s.alphaArg1 = stage0[D3DTSS_ALPHAARG1];
    s.alphaArg2 = stage0[D3DTSS_ALPHAARG2];
    s.textureFactor = renderStates[D3DRS_TEXTUREFACTOR];
    // Source alpha over inverse source alpha is the one blend there is.
    s.blend = renderStates[D3DRS_ALPHABLENDENABLE] != 0 && renderStates[D3DRS_SRCBLEND] == D3DBLEND_SRCALPHA &&
              renderStates[D3DRS_DESTBLEND] == D3DBLEND_INVSRCALPHA;
    s.cullMode = renderStates[D3DRS_CULLMODE];
    s.texture = texture ? &texture->Level0()->Pixels() : nullptr;
    detail::D3DPixels& target = renderTarget->Pixels();
    const Rect drawn = DrawnArea(target);
    target.MarkChanged(&drawn);
    detail::RasterizePrimitives(target, s, type, gathered.data(), primitiveCount, detail::D3DFastPath(), counts);
    return D3D_OK;
  }

  // What the gathered vertices may cover, a pixel wider on each side (all
  // of the target when a position is not a number).
  Rect DrawnArea(const detail::D3DPixels& target) const {
    double x0 = 0, y0 = 0, x1 = -1, y1 = -1;
    for (const detail::D3DVertex& v : gathered) {
      if (!std::isfinite(v.x) || !std::isfinite(v.y)) return target.Bounds();
      if (x1 < x0) {
        x0 = x1 = v.x;
        y0 = y1 = v.y;
      }
      x0 = std::min<double>(x0, v.x), x1 = std::max<double>(x1, v.x);
      y0 = std::min<double>(y0, v.y), y1 = std::max<double>(y1, v.y);
    }
    if (x1 < x0) return Rect{};
    // Truncated inside a margin of two pixels, which also covers the floor.
    auto cut = [](double v, int size) { return static_cast<int>(std::clamp(v, -4.0, size + 4.0)); };
    const Rect r{cut(x0, target.width) - 2, cut(y0, target.height) - 2, cut(x1, target.width) + 3,
                 cut(y1, target.height) + 3};
    return CutToSurface(target, &r);
  }

  bool ReadyToDraw(uint32_t type) const {
    return (type == D3DPT_TRIANGLESTRIP || type == D3DPT_TRIANGLELIST) && fvf == kD3DVertexFvf &&
           stride == kD3DVertexStride && stream && renderTarget;
  }

  // Vertex `index` of the stream into place `slot` of the gathered list
  // (sized by the caller), copied straight from the stream; false past its end.
  bool Gather(size_t slot, int64_t index) {
    const uint64_t at = uint64_t{streamOffset} + static_cast<uint64_t>(index) * kD3DVertexStride;
    if (index < 0 || at + kD3DVertexStride > stream->Size()) return false;
    std::memcpy(&gathered[slot], stream->Data() + at, sizeof(detail::D3DVertex));
    return true;
  }
};

D3DDevice::D3DDevice() : m_impl(std::make_unique<Impl>()) {}

// Only the state goes: at exit the presenter may be gone already. The
// drawing layer lets go of the window with Release before.
D3DDevice::~D3DDevice() {
  std::lock_guard<std::mutex> lock(g_liveMutex);
  if (g_live.lock() == m_impl->state) g_live.reset();
}

void D3DDevice::Release() {
  if (m_impl->released) return;
  m_impl->released = true;
  AttachPresenter(WindowHandle{}, false);
  if (!m_impl->params.windowed) {
    SetPresenterFullScreen(false);
    MinimizePresenterWindow(false);
  }
}

int32_t D3DDevice::TestCooperativeLevel() {
  switch (m_impl->state->Loss()) {
    case detail::D3DLoss::Lost: return D3DERR_DEVICELOST;
    case detail::D3DLoss::NotReset: return D3DERR_DEVICENOTRESET;
    default: return D3D_OK;
  }
}

int32_t D3DDevice::Reset(D3DPresentParams& params) {
  Impl& d = *m_impl;
  int32_t result;
  if (Fails(D3DCall::Reset, result)) return result;
  if (d.state->Loss() == detail::D3DLoss::Lost) return D3DERR_DEVICELOST;
  // What the device holds itself goes; what others hold must be gone already.
  d.renderTarget.reset();
  d.texture.reset();
  d.stream.reset();
  d.indices.reset();
  if (d.state->defaultResources.load() > 0 || d.backBuffer.use_count() > 1) {
    d.renderTarget = d.backBuffer;
    return D3DERR_INVALIDCALL;
  }
  D3DPresentParams p = params;
  if (!d.FillSizes(p)) {
    d.renderTarget = d.backBuffer;
    return D3DERR_INVALIDCALL;
  }
  d.backBuffer.reset();
  d.params = p;
  if (int32_t r = d.MakeBackBuffer()) return r;
  params = p;
  d.DefaultStates();
  d.inScene = false;
  d.AttachToPresenter();
  d.state->loss = static_cast<int>(detail::D3DLoss::Running);
  return D3D_OK;
}

int32_t D3DDevice::Present() {
  Impl& d = *m_impl;
  int32_t result;
  if (Fails(D3DCall::Present, result)) return result;
  if (d.state->Lost()) return D3DERR_DEVICELOST;
  if (!d.backBuffer) return D3DERR_INVALIDCALL;
  const detail::D3DPixels& px = d.backBuffer->Pixels();
  FrameView view;
  view.width = px.width;
  view.height = px.height;
  if (px.format == D3DFormat::R5G6B5 || px.format == D3DFormat::X8R8G8B8) {
    view.bits = px.bytes.data();
    view.pitch = px.pitch;
    view.bpp = px.format == D3DFormat::R5G6B5 ? 16 : 32;
  } else {
    d.frame.resize(static_cast<size_t>(px.width) * static_cast<size_t>(px.height));
    for (int y = 0; y < px.height; ++y)
      for (int x = 0; x < px.width; ++x)
        d.frame[static_cast<size_t>(y) * static_cast<size_t>(px.width) + static_cast<size_t>(x)] =
            detail::ReadPixel(px.format, px.Row(y), x);
    view.bits = reinterpret_cast<const uint8_t*>(d.frame.data());
    view.pitch = px.width * 4;
    view.bpp = 32;
  }
  PresentFrame(view);
  if (d.params.presentationInterval == D3DPRESENT_INTERVAL_DEFAULT) WaitForShownFrame();
  return D3D_OK;
}

int32_t D3DDevice::BeginScene() {
  int32_t result;
  if (Fails(D3DCall::BeginScene, result)) return result;
  if (m_impl->inScene) return D3DERR_INVALIDCALL;
  m_impl->inScene = true;
  return D3D_OK;
}

int32_t D3DDevice::EndScene() {
  if (!m_impl->inScene) return D3DERR_INVALIDCALL;
  m_impl->inScene = false;
  return D3D_OK;
}

int32_t D3DDevice::Clear(const Rect* rect, uint32_t argb) {
  Impl& d = *m_impl;
  if (!d.renderTarget) return D3DERR_INVALIDCALL;
  if (d.state->Lost()) return D3D_OK;
  detail::D3DPixels& px = d.renderTarget->Pixels();
  Rect r{0, 0, px.width, px.height};
  if (rect) {
    r.left = std::max(rect->left, 0);
    r.top = std::max(rect->top, 0);
    r.right = std::min(rect->right, px.width);
    r.bottom = std::min(rect->bottom, px.height);
  }
  if (r.left >= r.right || r.top >= r.bottom) return D3D_OK;
  px.MarkChanged(&r);
  // The pixel once, then rows of it.
  uint8_t pixel[4] = {};
  detail::WritePixel(px.format, pixel, 0, argb);
  const size_t bytes = static_cast<size_t>(px.bytesPerPixel);
  const size_t n = static_cast<size_t>(r.right - r.left);
  // Clearing to zeros leaves rows that hold zeros alone: a fresh surface's
  // pages then stay unwritten and cost no memory until drawn on.
  const bool toZero = (pixel[0] | pixel[1] | pixel[2] | pixel[3]) == 0;
  if (toZero && px.zero) return D3D_OK;  // a new surface is cleared already, unread
  // A new surface's first fill writes every page of it: map them in one call.
  if (px.zero && r.left == 0 && r.right == px.width && r.top == 0 && r.bottom == px.height)
    PrefaultForWrite(px.bytes.data(), px.bytes.size());
  for (int y = r.top; y < r.bottom; ++y) {
    uint8_t* row = px.Row(y) + static_cast<size_t>(r.left) * bytes;
    if (toZero && AllZero(row, n * bytes)) continue;
    if (bytes == 4) {
      uint32_t p;
      std::memcpy(&p, pixel, 4);
      std::fill_n(reinterpret_cast<uint32_t*>(row), n, p);
    } else if (bytes == 2) {
      uint16_t p;
      std::memcpy(&p, pixel, 2);
      std::fill_n(reinterpret_cast<uint16_t*>(row), n, p);
    }
  }
  return D3D_OK;
}

int32_t D3DDevice::SetRenderTarget(int index, const std::shared_ptr<D3DSurface>& surface) {
  int32_t result;
  if (Fails(D3DCall::SetRenderTarget, result)) return result;
  if (index != 0 || !surface || !(surface->m_usage & D3DUSAGE_RENDERTARGET)) return D3DERR_INVALIDCALL;
  // Drawing one sprite after another sets the same target again and again.
  if (m_impl->renderTarget != surface) m_impl->renderTarget = surface;
  return D3D_OK;
}

int32_t D3DDevice::GetBackBuffer(std::shared_ptr<D3DSurface>& out) {
  out = m_impl->backBuffer;
  return out ? D3D_OK : D3DERR_INVALIDCALL;
}

int32_t D3DDevice::SetRenderState(uint32_t state, uint32_t value) {
  if (state >= m_impl->renderStates.size()) return D3DERR_INVALIDCALL;
  m_impl->renderStates[state] = value;
  return D3D_OK;
}

int32_t D3DDevice::SetTextureStageState(int stage, uint32_t type, uint32_t value) {
  if (stage < 0 || stage >= 8 || type >= m_impl->stage0.size()) return D3DERR_INVALIDCALL;
  // Only stage 0 draws.
  if (stage == 0) m_impl->stage0[type] = value;
  return D3D_OK;
}

int32_t D3DDevice::SetSamplerState(int sampler, uint32_t, uint32_t) {
  // Addressing is always wrap and filtering always point.
  return sampler >= 0 && sampler < 16 ? D3D_OK : D3DERR_INVALIDCALL;
}

int32_t D3DDevice::SetTexture(int stage, const std::shared_ptr<D3DTexture>& texture) {
  if (stage < 0 || stage >= 8) return D3DERR_INVALIDCALL;
  if (stage == 0 && m_impl->texture != texture) m_impl->texture = texture;
  return D3D_OK;
}

int32_t D3DDevice::SetStreamSource(int stream, const std::shared_ptr<D3DVertexBuffer>& buffer, uint32_t offset,
                                   uint32_t stride) {
  if (stream != 0) return D3DERR_INVALIDCALL;
  if (m_impl->stream != buffer) m_impl->stream = buffer;
  m_impl->streamOffset = offset;
  m_impl->stride = stride;
  return D3D_OK;
}

int32_t D3DDevice::SetFVF(uint32_t fvf) {
  m_impl->fvf = fvf;
  return D3D_OK;
}

int32_t D3DDevice::SetIndices(std::shared_ptr<D3DIndexBuffer> buffer) {
  m_impl->indices = std::move(buffer);
  return D3D_OK;
}

int32_t D3DDevice::DrawPrimitive(uint32_t type, uint32_t startVertex, uint32_t primitiveCount) {
  Impl& d = *m_impl;
  if (!d.ReadyToDraw(type)) return D3DERR_INVALIDCALL;
  if (primitiveCount == 0) return D3D_OK;
  const uint64_t count = type == D3DPT_TRIANGLESTRIP ? uint64_t{primitiveCount} + 2 : uint64_t{primitiveCount} * 3;
  if (uint64_t{d.streamOffset} + (uint64_t{startVertex} + count) * kD3DVertexStride > d.stream->Size())
    return D3DERR_INVALIDCALL;
  d.gathered.resize(count);
  for (uint64_t i = 0; i < count; ++i) d.Gather(i, static_cast<int64_t>(startVertex + i));
  return d.Draw(type, primitiveCount);
}

int32_t D3DDevice::DrawIndexedPrimitive(uint32_t type, int baseVertex, uint32_t, uint32_t, uint32_t startIndex,
                                        uint32_t primitiveCount) {
  Impl& d = *m_impl;
  if (!d.ReadyToDraw(type) || !d.indices) return D3DERR_INVALIDCALL;
  if (primitiveCount == 0) return D3D_OK;
  const uint64_t count = type == D3DPT_TRIANGLESTRIP ? uint64_t{primitiveCount} + 2 : uint64_t{primitiveCount} * 3;
  if ((uint64_t{startIndex} + count) * 2 > d.indices->Size()) return D3DERR_INVALIDCALL;
  d.gathered.resize(count);
  const uint8_t* indices = d.indices->Data() + static_cast<size_t>(startIndex) * 2;
  for (uint64_t i = 0; i < count; ++i) {
    uint16_t index;
    std::memcpy(&index, indices + i * 2, 2);
    if (!d.Gather(i, int64_t{baseVertex} + index)) return D3DERR_INVALIDCALL;
  }
  return d.Draw(type, primitiveCount);
}

int32_t D3DDevice::CreateTexture(int width, int height, int levels, uint32_t usage, D3DFormat format, D3DPool pool,
                                 std::shared_ptr<D3DTexture>& out) {
  out.reset();
  int32_t result;
  if (Fails(D3DCall::CreateTexture, result)) return result;
  const D3DCaps caps = detail::CurrentD3DCaps();
  if (levels > 1 || width <= 0 || height <= 0 || width > caps.maxTextureWidth || height > caps.maxTextureHeight ||
      !IsFormat(format))
    return D3DERR_INVALIDCALL;
  if ((caps.pow2 && (!IsPow2(width) || !IsPow2(height))) || (caps.squareOnly && width != height))
    return D3DERR_INVALIDCALL;
  if ((usage & D3DUSAGE_RENDERTARGET) && pool != D3DPool::Default) return D3DERR_INVALIDCALL;
  if ((usage & D3DUSAGE_DYNAMIC) && pool == D3DPool::Managed) return D3DERR_INVALIDCALL;
  if (pool == D3DPool::Default && !Reserve(*m_impl->state, width, height, format)) return D3DERR_OUTOFVIDEOMEMORY;
  std::shared_ptr<D3DSurface> level(new D3DSurface(m_impl->state, width, height, format, pool, usage, false));
  out.reset(new D3DTexture(std::move(level)));
  return D3D_OK;
}

int32_t D3DDevice::CreateOffscreenPlainSurface(int width, int height, D3DFormat format, D3DPool pool,
                                               std::shared_ptr<D3DSurface>& out) {
  out.reset();
  int32_t result;
  if (Fails(D3DCall::CreateOffscreenPlainSurface, result)) return result;
  if (width <= 0 || height <= 0 || width > kMaxPlainSide || height > kMaxPlainSide || !IsFormat(format) ||
      pool == D3DPool::Managed)
    return D3DERR_INVALIDCALL;
  if (pool == D3DPool::Default && !Reserve(*m_impl->state, width, height, format)) return D3DERR_OUTOFVIDEOMEMORY;
  out.reset(new D3DSurface(m_impl->state, width, height, format, pool, 0, false));
  return D3D_OK;
}

int32_t D3DDevice::CreateVertexBuffer(uint32_t length, uint32_t, uint32_t, D3DPool pool,
                                      std::shared_ptr<D3DVertexBuffer>& out) {
  out.reset();
  int32_t result;
  if (Fails(D3DCall::CreateVertexBuffer, result)) return result;
  // Buffers live in the processor's memory whatever their pool.
  if (length == 0 || pool == D3DPool::Default) return D3DERR_INVALIDCALL;
  if (length > kMaxBufferBytes) return D3DERR_OUTOFMEMORY;
  out.reset(new D3DVertexBuffer(length));
  return D3D_OK;
}

int32_t D3DDevice::CreateIndexBuffer(uint32_t length, uint32_t, D3DPool pool, std::shared_ptr<D3DIndexBuffer>& out) {
  out.reset();
  int32_t result;
  if (Fails(D3DCall::CreateIndexBuffer, result)) return result;
  if (length == 0 || pool == D3DPool::Default) return D3DERR_INVALIDCALL;
  if (length > kMaxBufferBytes) return D3DERR_OUTOFMEMORY;
  out.reset(new D3DIndexBuffer(length));
  return D3D_OK;
}

namespace {

// The pixels of `rect` (null: all) from one surface's pixels to another's
// of the same size and format.
void CopyPixels(const detail::D3DPixels& from, detail::D3DPixels& to, const Rect* rect) {
  if (!rect) {
    to.bytes = from.bytes;
    to.zero = from.zero;
    return;
  }
  const int left = std::max(rect->left, 0), right = std::min(rect->right, from.width);
  const int top = std::max(rect->top, 0), bottom = std::min(rect->bottom, from.height);
  if (left >= right || top >= bottom) return;
  const size_t skip = static_cast<size_t>(left) * static_cast<size_t>(from.bytesPerPixel);
  const size_t bytes = static_cast<size_t>(right - left) * static_cast<size_t>(from.bytesPerPixel);
  for (int y = top; y < bottom; ++y) std::memcpy(to.Row(y) + skip, from.Row(y) + skip, bytes);
}

}  // namespace

namespace detail {

uint64_t NextD3DSerial() {
  static std::atomic<uint64_t> next{1};
  return next.fetch_add(1);
}

Rect UniteRects(const Rect& a, const Rect& b) {
  if (b.left >= b.right || b.top >= b.bottom) return a;
  if (a.left >= a.right || a.top >= a.bottom) return b;
  return Rect{std::min(a.left, b.left), std::min(a.top, b.top), std::max(a.right, b.right),
              std::max(a.bottom, b.bottom)};
}

bool RectInside(const Rect& inner, const Rect& outer) {
  if (inner.left >= inner.right || inner.top >= inner.bottom) return true;
  return inner.left >= outer.left && inner.top >= outer.top && inner.right <= outer.right &&
         inner.bottom <= outer.bottom;
}

}  // namespace detail

namespace {

// The system surface still holds the copy the render target last left in it.
bool HoldsCopyOf(const detail::D3DPixels& system, const detail::D3DPixels& target) {
  return target.copyId == system.id && target.copySerial == system.syncSerial && system.syncSerial != 0;
}

}  // namespace

int32_t D3DDevice::GetRenderTargetData(D3DSurface& renderTarget, D3DSurface& systemSurface, const Rect* rect) {
  int32_t result;
  if (Fails(D3DCall::GetRenderTargetData, result)) return result;
  if (m_impl->state->Lost()) return D3DERR_DEVICELOST;
  detail::D3DPixels& from = renderTarget.Pixels();
  detail::D3DPixels& to = systemSurface.Pixels();
  if (!(renderTarget.m_usage & D3DUSAGE_RENDERTARGET) || systemSurface.m_pool != D3DPool::SystemMem ||
      from.format != to.format || from.width != to.width || from.height != to.height || systemSurface.m_locked)
    return D3DERR_INVALIDCALL;
  const Rect area = CutToSurface(from, rect);
  const bool held = HoldsCopyOf(to, from) && to.changed == Rect{};
  if (held && detail::RectInside(area, from.known)) {
    // Only what was drawn since the last copy differs.
    const Rect stale = IntersectRects(area, from.changed);
    if (stale != Rect{}) CopyPixels(from, to, &stale);
    if (detail::RectInside(from.changed, area)) from.changed = Rect{};
  } else {
    CopyPixels(from, to, &area);
    from.known = area;
    from.changed = Rect{};
  }
  to.syncSerial = detail::NextD3DSerial();
  to.changed = Rect{};
  from.copyId = to.id;
  from.copySerial = to.syncSerial;
  return D3D_OK;
}

int32_t D3DDevice::UpdateSurface(D3DSurface& systemSurface, D3DSurface& target, const Rect* rect) {
  int32_t result;
  if (Fails(D3DCall::UpdateSurface, result)) return result;
  if (m_impl->state->Lost()) return D3DERR_DEVICELOST;
  detail::D3DPixels& from = systemSurface.Pixels();
  detail::D3DPixels& to = target.Pixels();
  if (systemSurface.m_pool != D3DPool::SystemMem || target.m_pool != D3DPool::Default ||
      from.format != to.format || from.width != to.width || from.height != to.height || target.m_locked)
    return D3DERR_INVALIDCALL;
  CopyPixels(from, to, rect);
  const Rect area = CutToSurface(to, rect);
  if (HoldsCopyOf(from, to) && detail::RectInside(from.changed, area)) {
    // What the copy's locks wrote is back in the target: both match again.
    from.changed = Rect{};
  } else {
    to.MarkChanged(&area);
  }
  return D3D_OK;
}

int32_t D3DDevice::SetDialogBoxMode(bool on) {
  int32_t result;
  if (Fails(D3DCall::SetDialogBoxMode, result)) return result;
  if (!m_impl->params.windowed) SetPresenterFullScreen(!on);
  return D3D_OK;
}

uint64_t D3DDevice::GetAvailableTextureMem() const {
  std::lock_guard<std::mutex> lock(m_impl->state->mutex);
  return m_impl->state->budget - std::min(m_impl->state->used, m_impl->state->budget);
}

const D3DPresentParams& D3DDevice::PresentParams() const { return m_impl->params; }
D3DDrawCounts D3DDevice::DrawCounts() const { return m_impl->counts; }

// --- the 3D object ---

std::unique_ptr<D3DObject> D3DObject::Create() {
  int32_t result;
  if (Fails(D3DCall::Create, result)) return nullptr;
  return std::make_unique<D3DObject>();
}

int32_t D3DObject::GetAdapterDisplayMode(D3DDisplayMode& out) const {
  const Rect desktop = GetDesktopRect();
  out.width = desktop.Width();
  out.height = desktop.Height();
  out.refreshRate = GetDisplayRefreshRate();
  out.format = D3DFormat::X8R8G8B8;
  return D3D_OK;
}

int32_t D3DObject::GetDeviceCaps(D3DCaps& out) const {
  out = detail::CurrentD3DCaps();
  return D3D_OK;
}

int32_t D3DObject::CreateDevice(WindowHandle focus, uint32_t behaviour, D3DPresentParams& params,
                                std::unique_ptr<D3DDevice>& out) {
  out.reset();
  int32_t result;
  if (Fails(D3DCall::CreateDevice, result)) return result;
  if ((behaviour & D3DCREATE_HARDWARE_VERTEXPROCESSING) && detail::D3DHardwareRefused()) return D3DERR_NOTAVAILABLE;
  std::unique_ptr<D3DDevice> device(new D3DDevice());
  D3DDevice::Impl& d = *device->m_impl;
  d.window = focus;
  D3DPresentParams p = params;
  if (!d.FillSizes(p)) return D3DERR_INVALIDCALL;
  d.state = std::make_shared<detail::D3DState>();
  d.state->budget = detail::D3DVideoMemory();
  d.params = p;
  if (int32_t r = d.MakeBackBuffer()) return r;
  d.DefaultStates();
  d.AttachToPresenter();
  params = p;
  {
    std::lock_guard<std::mutex> lock(g_liveMutex);
    g_live = d.state;
  }
  out = std::move(device);
  return D3D_OK;
}

// --- the display's rate ---

int GetDisplayRefreshRate() {
  if (int hz = detail::D3DRefreshOverride()) return hz;
  DisplayFacts facts;
  if (IsMainThread() && HostMachine().Display(facts) && facts.refreshRate > 0) return facts.refreshRate;
  return 60;
}

bool DisplayRunsAt(int hz) { return GetDisplayRefreshRate() == hz; }

// --- losses ---

void LoseD3DDevice() {
  if (auto state = LiveState()) state->loss = static_cast<int>(detail::D3DLoss::Lost);
}

void AllowD3DDeviceReset() {
  if (auto state = LiveState()) {
    int lost = static_cast<int>(detail::D3DLoss::Lost);
    state->loss.compare_exchange_strong(lost, static_cast<int>(detail::D3DLoss::NotReset));
  }
}

int CountD3DDefaultResources() {
  auto state = LiveState();
  return state ? state->defaultResources.load() : 0;
}

namespace detail {

void OnD3DFocusLost() {
  auto state = LiveState();
  if (state && state->fullScreen) state->loss = static_cast<int>(D3DLoss::Lost);
}

void OnD3DFocusGained() { AllowD3DDeviceReset(); }

}  // namespace detail

}  // namespace plat
