// The 3D device's surfaces, textures and buffers, the effects library's
// texture makers, and the test hooks.
#include <algorithm>
#include <array>

#include "platform/d3d_internal.h"
#include "platform/prefault.h"

namespace plat {

// --- hooks ---

namespace detail {
namespace {

constexpr uint64_t kDefaultVideoMemory = uint64_t{256} << 20;
constexpr int kCalls = static_cast<int>(D3DCall::Count);

std::array<std::atomic<int>, kCalls> g_failAt{};  // calls to let pass plus 1; 0 = none set
std::array<std::atomic<int32_t>, kCalls> g_failResult{};
std::mutex g_capsMutex;
D3DCaps g_caps;
std::atomic<uint64_t> g_videoMemory{kDefaultVideoMemory};
std::atomic<bool> g_refuseHardware{false};
std::atomic<int> g_ddiVersion{9};
std::atomic<int> g_refreshRate{0};
std::atomic<bool> g_fastPath{true};
std::atomic<bool> g_wideVectors{true};

}  // namespace

bool D3DCallFails(D3DCall call, int32_t& result) {
  std::atomic<int>& at = g_failAt[static_cast<int>(call)];
  int v = at.load();
  while (v > 0) {
    if (at.compare_exchange_weak(v, v - 1)) {
      if (v != 1) return false;
      result = g_failResult[static_cast<int>(call)].load();
      return true;
    }
  }
  return false;
}

D3DCaps CurrentD3DCaps() {
  std::lock_guard<std::mutex> lock(g_capsMutex);
  return g_caps;
}
uint64_t D3DVideoMemory() { return g_videoMemory.load(); }
bool D3DHardwareRefused() { return g_refuseHardware.load(); }
bool D3DFastPath() { return g_fastPath.load(); }
bool D3DWideVectors() { return g_wideVectors.load(std::memory_order_relaxed); }
int D3DRefreshOverride() { return g_refreshRate.load(); }

}  // namespace detail

void FailD3DCall(D3DCall call, int32_t result, int skip) {
  if (call == D3DCall::Count) return;
  detail::g_failResult[static_cast<int>(call)] = result;
  detail::g_failAt[static_cast<int>(call)] = skip + 1;
}

void ResetD3DHooks() {
  for (auto& f : detail::g_failAt) f = 0;
  {
    std::lock_guard<std::mutex> lock(detail::g_capsMutex);
    detail::g_caps = D3DCaps{};
  }
  detail::g_videoMemory = detail::kDefaultVideoMemory;
  detail::g_refuseHardware = false;
  detail::g_ddiVersion = 9;
  detail::g_refreshRate = 0;
  detail::g_fastPath = true;
  detail::g_wideVectors = true;
}

void SetD3DCaps(const D3DCaps& caps) {
  std::lock_guard<std::mutex> lock(detail::g_capsMutex);
  detail::g_caps = caps;
}
void SetD3DVideoMemory(uint64_t bytes) { detail::g_videoMemory = bytes; }
void RefuseD3DHardwareVertexProcessing(bool refuse) { detail::g_refuseHardware = refuse; }
void SetDDIVersion(int version) { detail::g_ddiVersion = version; }
int GetDDIVersion() { return detail::g_ddiVersion.load(); }
void SetDisplayRefreshRate(int hz) { detail::g_refreshRate = hz; }
void SetD3DFastPath(bool on) { detail::g_fastPath = on; }
void SetD3DWideVectors(bool on) { detail::g_wideVectors = on; }

int D3DBytesPerPixel(D3DFormat format) {
  switch (format) {
    case D3DFormat::A8R8G8B8:
    case D3DFormat::X8R8G8B8: return 4;
    case D3DFormat::R5G6B5:
    case D3DFormat::A1R5G5B5: return 2;
    default: return 0;
  }
}

// --- surfaces ---

D3DSurface::D3DSurface(std::shared_ptr<detail::D3DState> state, int w, int h, D3DFormat format, D3DPool pool,
                       uint32_t usage, bool backBuffer)
    : m_state(std::move(state)), m_pixels(std::make_unique<detail::D3DPixels>()), m_pool(pool), m_usage(usage),
      m_backBuffer(backBuffer) {
  detail::D3DPixels& p = *m_pixels;
  p.format = format;
  p.width = w;
  p.height = h;
  p.bytesPerPixel = D3DBytesPerPixel(format);
  p.pitch = w * p.bytesPerPixel;
  p.bytes.resize(static_cast<size_t>(p.pitch) * static_cast<size_t>(h));  // zeros, untouched
  if (m_pool == D3DPool::Default && !m_backBuffer) ++m_state->defaultResources;
}

D3DSurface::~D3DSurface() {
  if (m_pool != D3DPool::Default) return;
  if (!m_backBuffer) --m_state->defaultResources;
  std::lock_guard<std::mutex> lock(m_state->mutex);
  m_state->used -= std::min<uint64_t>(m_state->used, m_pixels->bytes.size());
}

int D3DSurface::Width() const { return m_pixels->width; }
int D3DSurface::Height() const { return m_pixels->height; }

D3DSurfaceDesc D3DSurface::GetDesc() const {
  return D3DSurfaceDesc{m_pixels->format, m_pool, m_usage, m_pixels->width, m_pixels->height};
}

int32_t D3DSurface::LockRect(D3DLockedRect& out, const Rect* area) {
  out = D3DLockedRect{};
  int32_t result;
  if (detail::D3DCallFails(D3DCall::LockRect, result)) return result;
  if (m_locked) return D3DERR_INVALIDCALL;
  if (m_pool == D3DPool::Default && m_state->Lost()) return D3DERR_DEVICELOST;
  m_locked = true;
  // What the lock may write no copy of these pixels holds any more.
  if (area) {
    const Rect cut{std::max(area->left, 0), std::max(area->top, 0), std::min(area->right, m_pixels->width),
                   std::min(area->bottom, m_pixels->height)};
    if (cut.left < cut.right && cut.top < cut.bottom) m_pixels->MarkChanged(&cut);
  } else {
    m_pixels->MarkChanged(nullptr);
  }
  out.bits = m_pixels->bytes.data();
  m_pixels->zero = false;
  out.pitch = m_pixels->pitch;
  return D3D_OK;
}

int32_t D3DSurface::UnlockRect() {
  if (!m_locked) return D3DERR_INVALIDCALL;
  m_locked = false;
  return D3D_OK;
}

// --- textures ---

int32_t D3DTexture::GetSurfaceLevel(int level, std::shared_ptr<D3DSurface>& out) const {
  out.reset();
  if (level != 0) return D3DERR_INVALIDCALL;
  out = m_level0;
  return D3D_OK;
}

int32_t D3DTexture::GetLevelDesc(int level, D3DSurfaceDesc& out) const {
  if (level != 0) return D3DERR_INVALIDCALL;
  out = m_level0->GetDesc();
  return D3D_OK;
}

// --- buffers ---

int32_t D3DBuffer::Lock(uint32_t offset, uint32_t size, void** out) {
  if (out) *out = nullptr;
  int32_t result;
  if (detail::D3DCallFails(D3DCall::LockBuffer, result)) return result;
  if (!out || m_locked || offset > m_bytes.size()) return D3DERR_INVALIDCALL;
  if (size == 0) size = static_cast<uint32_t>(m_bytes.size()) - offset;
  if (size > m_bytes.size() - offset) return D3DERR_INVALIDCALL;
  m_locked = true;
  *out = m_bytes.data() + offset;
  return D3D_OK;
}

int32_t D3DBuffer::Unlock() {
  if (!m_locked) return D3DERR_INVALIDCALL;
  m_locked = false;
  return D3D_OK;
}

// --- the effects library's textures ---

namespace {

void FitToCaps(const D3DCaps& caps, int& w, int& h) {
  w = std::clamp(w, 1, std::max(1, caps.maxTextureWidth));
  h = std::clamp(h, 1, std::max(1, caps.maxTextureHeight));
  if (caps.pow2) {
    // Down to a power of two: the limits themselves may be none.
    while (w & (w - 1)) w &= w - 1;
    while (h & (h - 1)) h &= h - 1;
  }
  if (caps.squareOnly) w = h = std::min(w, h);
}

}  // namespace

int32_t CreateFittedTexture(D3DDevice& device, int width, int height, uint32_t usage, D3DFormat format,
                            D3DPool pool, std::shared_ptr<D3DTexture>& out) {
  out.reset();
  if (width <= 0 || height <= 0) return D3DERR_INVALIDCALL;
  FitToCaps(detail::CurrentD3DCaps(), width, height);
  return device.CreateTexture(width, height, 1, usage, format, pool, out);
}

int32_t CreateTextureFromImage(D3DDevice& device, const BmpImage& image, int width, int height, uint32_t usage,
                               D3DFormat format, D3DPool pool, uint32_t colorKey, std::shared_ptr<D3DTexture>& out) {
  out.reset();
  if (image.width <= 0 || image.height <= 0) return D3DERR_INVALIDCALL;
  std::shared_ptr<D3DTexture> texture;
  if (int32_t r = CreateFittedTexture(device, width, height, usage, format, pool, texture)) return r;
  detail::D3DPixels& px = texture->Level0()->Pixels();
  // The texture starts as transparent black; the image goes to its top
  // left, cut where the texture ends.
  const int w = std::min(px.width, image.width), h = std::min(px.height, image.height);
  // Rows whose unwritten ends are shorter than a page leave no page of
  // them unwritten.
  if (static_cast<size_t>(px.pitch) - static_cast<size_t>(w) * static_cast<size_t>(px.bytesPerPixel) < 4096)
    PrefaultForWrite(px.Row(0), static_cast<size_t>(h) * static_cast<size_t>(px.pitch));
  for (int y = 0; y < h; ++y) {
    uint8_t* row = px.Row(y);
    for (int x = 0; x < w; ++x) {
      const uint32_t argb = 0xFF000000u | image.Colour(x, y);
      detail::WritePixel(px.format, row, x, colorKey != 0 && argb == colorKey ? 0u : argb);
    }
  }
  out = std::move(texture);
  return D3D_OK;
}

}  // namespace plat
