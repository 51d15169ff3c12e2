#include "platform/soft_display.h"

#include <algorithm>
#include <cstring>
#include <mutex>

#include "platform/presenter.h"
#include "platform/window.h"

namespace plat {
namespace detail {

struct Storage {
  std::vector<uint8_t> bytes;
};

struct DisplayState {
  std::mutex mutex;  // the lists and the budget; losses come from other threads
  uint64_t budget = 0;
  uint64_t used = 0;
  std::vector<DDSurface*> surfaces;
  int children = 0;  // surfaces, palettes and clippers alive

  WindowHandle window;
  bool cooperative = false;
  bool fullScreen = false;
  bool modeSet = false;
  int modeBpp = 0;
  int modeWidth = 0, modeHeight = 0;
  bool vsync = false;
  std::atomic<bool> lossPending{false};

  int SurfaceBpp() const { return fullScreen ? modeBpp : GetDesktopBpp(); }

  // On the drawing thread, before any use of a surface.
  void ApplyLoss() {
    if (!lossPending.load(std::memory_order_relaxed) || !lossPending.exchange(false)) return;
    std::lock_guard<std::mutex> lock(mutex);
    for (DDSurface* s : surfaces)
      if (s->m_video) s->MarkLost();
  }
};

}  // namespace detail

namespace {

using detail::DisplayState;

constexpr uint64_t kDefaultBudget = uint64_t{256} << 20;
constexpr int kSteps = 13;

std::atomic<uint64_t> g_budget{kDefaultBudget};
std::atomic<int> g_desktopBpp{0};        // a test's depth; 0 = none
std::atomic<int> g_systemDesktopBpp{0};  // the window system's; 0 = not known
std::atomic<int> g_displayFailAt[kSteps] = {};  // calls to let pass plus 1; 0 = no failure set

std::mutex g_displayMutex;
std::weak_ptr<DisplayState> g_liveDisplay;

bool StepFails(DisplayStep step) {
  std::atomic<int>& at = g_displayFailAt[static_cast<int>(step)];
  int v = at.load();
  while (v > 0) {
    if (at.compare_exchange_weak(v, v - 1)) return v == 1;
  }
  return false;
}

int PitchFor(int width, int bpp) {
  // Rows start on 8-byte boundaries, so code that assumes pitch = width
  // shows itself at odd widths.
  return (width * (bpp / 8) + 7) & ~7;
}

bool Inside(const Rect& r, int w, int h) {
  return r.left >= 0 && r.top >= 0 && r.left < r.right && r.top < r.bottom && r.right <= w && r.bottom <= h;
}

// Rows of sprites are short: a library call per row costs more than the
// copy, so they go in blocks of 64 and then 16 bytes, each a few vector
// moves.
inline void CopyBytes(uint8_t* dst, const uint8_t* src, size_t n) {
  if (n > 256) {
    std::memcpy(dst, src, n);
    return;
  }
  size_t i = 0;
  for (; i + 64 <= n; i += 64) std::memcpy(dst + i, src + i, 64);
  for (; i + 16 <= n; i += 16) std::memcpy(dst + i, src + i, 16);
  for (; i < n; ++i) dst[i] = src[i];
}

// The rows of a plain copy between two surfaces. Built twice, for the
// processor's widest vectors and for any x86-64, and picked once at start:
// a copy is the same bytes either way. Sanitizer builds take the plain one:
// the picking runs before their run-time is ready.
#if defined(__x86_64__) && defined(__GNUC__) && !defined(__clang__) && !defined(__SANITIZE_ADDRESS__) && \
    !defined(__SANITIZE_THREAD__)
__attribute__((target_clones("avx2", "default")))
#endif
void CopyPlainRows(uint8_t* d, const uint8_t* s, ptrdiff_t dPitch, ptrdiff_t sPitch, size_t bytes, int h) {
  for (int j = 0; j < h; ++j) CopyBytes(d + j * dPitch, s + j * sPitch, bytes);
}

template <class T>
void CopyRow(T* dst, const T* src, int n, bool keyed, uint32_t key) {
  if (!keyed) {
    std::memmove(dst, src, static_cast<size_t>(n) * sizeof(T));
    return;
  }
  // A select rather than a branch, so that the loop runs on vector lanes.
  const T k = static_cast<T>(key);
  for (int i = 0; i < n; ++i) dst[i] = src[i] != k ? src[i] : dst[i];
}

void CopyRow32(uint32_t* dst, const uint32_t* src, int n, bool keyed, uint32_t key) {
  if (!keyed) {
    std::memmove(dst, src, static_cast<size_t>(n) * 4);
    return;
  }
  const uint32_t k = key & 0xFFFFFF;
  for (int i = 0; i < n; ++i) dst[i] = (src[i] & 0xFFFFFF) != k ? src[i] : dst[i];
}

template <class T>
void StretchRow(T* dst, const T* src, const int* cols, int n, bool keyed, uint32_t key, uint32_t keyMask) {
  if (!keyed) {
    for (int i = 0; i < n; ++i) dst[i] = src[cols[i]];
    return;
  }
  const T k = static_cast<T>(key & keyMask);
  for (int i = 0; i < n; ++i) {
    const T p = src[cols[i]];
    dst[i] = static_cast<T>(p & keyMask) != k ? p : dst[i];
  }
}

}  // namespace

// --- palettes and clippers ---

DDPalette::DDPalette(std::shared_ptr<DisplayState> state) : m_state(std::move(state)) {
  std::lock_guard<std::mutex> lock(m_state->mutex);
  ++m_state->children;
}

DDPalette::~DDPalette() {
  std::lock_guard<std::mutex> lock(m_state->mutex);
  --m_state->children;
}

int32_t DDPalette::SetEntries(int first, int count, const PalEntry* entries) {
  if (!entries || first < 0 || count < 0 || first + count > 256) return DDERR_INVALIDPARAMS;
  std::copy(entries, entries + count, m_entries + first);
  return DD_OK;
}

int32_t DDPalette::GetEntries(int first, int count, PalEntry* out) const {
  if (!out || first < 0 || count < 0 || first + count > 256) return DDERR_INVALIDPARAMS;
  std::copy(m_entries + first, m_entries + first + count, out);
  return DD_OK;
}

DDClipper::DDClipper(std::shared_ptr<DisplayState> state) : m_state(std::move(state)) {
  std::lock_guard<std::mutex> lock(m_state->mutex);
  ++m_state->children;
}

DDClipper::~DDClipper() {
  std::lock_guard<std::mutex> lock(m_state->mutex);
  --m_state->children;
}

int32_t DDClipper::SetWindow(WindowHandle window) {
  if (StepFails(DisplayStep::ClipperWindow)) return DDERR_GENERIC;
  m_window = window;
  return DD_OK;
}

// --- surfaces ---

DDSurface::DDSurface(std::shared_ptr<DisplayState> state, int w, int h, int bpp, bool video)
    : m_state(std::move(state)), m_store(std::make_shared<detail::Storage>()), m_width(w), m_height(h),
      m_bpp(bpp), m_pitch(PitchFor(w, bpp)), m_video(video) {
  m_store->bytes.assign(static_cast<size_t>(m_pitch) * static_cast<size_t>(h), 0);
  std::lock_guard<std::mutex> lock(m_state->mutex);
  m_state->surfaces.push_back(this);
  ++m_state->children;
}

DDSurface::~DDSurface() {
  std::lock_guard<std::mutex> lock(m_state->mutex);
  auto& list = m_state->surfaces;
  list.erase(std::remove(list.begin(), list.end(), this), list.end());
  --m_state->children;
  if (m_video) m_state->used -= std::min<uint64_t>(m_state->used, m_store->bytes.size());
}

uint8_t* DDSurface::Row(int y) const {
  return m_store->bytes.data() + static_cast<size_t>(y) * static_cast<size_t>(m_pitch);
}

void DDSurface::MarkLost() {
  m_lost = true;
  // What the memory holds after a loss is nobody's picture: stripes.
  for (int y = 0; y < m_height; ++y)
    std::memset(Row(y), (y >> 2) & 1 ? 0xE5 : 0x1A, static_cast<size_t>(m_pitch));
}

int32_t DDSurface::Check() {
  m_state->ApplyLoss();
  if (m_lost) return DDERR_SURFACELOST;
  if (m_locked) return DDERR_SURFACEBUSY;
  return DD_OK;
}

int32_t DDSurface::IsLost() {
  m_state->ApplyLoss();
  return m_lost ? DDERR_SURFACELOST : DD_OK;
}

int32_t DDSurface::Restore() {
  m_state->ApplyLoss();
  m_lost = false;
  // A flip chain comes back whole.
  for (auto& back : m_chain) back->m_lost = false;
  return DD_OK;
}

int32_t DDSurface::Lock(LockedPixels& out) {
  if (int32_t r = Check()) return r;
  m_locked = true;
  out.bits = Row(0);
  out.pitch = m_pitch;
  out.width = m_width;
  out.height = m_height;
  out.bpp = m_bpp;
  return DD_OK;
}

int32_t DDSurface::Unlock() {
  if (!m_locked) return DDERR_NOTLOCKED;
  m_locked = false;
  return DD_OK;
}

int32_t DDSurface::SetColorKey(uint32_t key) {
  m_hasKey = true;
  m_key = key;
  return DD_OK;
}

int32_t DDSurface::BltFast(int x, int y, DDSurface& src, const Rect& srcRect, bool keyed) {
  if (int32_t r = Check()) return r;
  if (&src != this)
    if (int32_t r = src.Check()) return r;
  if (src.m_bpp != m_bpp) return DDERR_INVALIDPARAMS;
  const int w = srcRect.Width(), h = srcRect.Height();
  if (!Inside(srcRect, src.m_width, src.m_height) || !Inside(Rect{x, y, x + w, y + h}, m_width, m_height))
    return DDERR_INVALIDRECT;
  keyed = keyed && src.m_hasKey;
  // Within one surface the rows run away from the overlap.
  const bool same = &src == this;
  const bool upward = same && y > srcRect.top;
  const size_t bytes = static_cast<size_t>(m_bpp / 8);
  uint8_t* dBase = Row(y) + static_cast<size_t>(x) * bytes;
  const uint8_t* sBase = src.Row(srcRect.top) + static_cast<size_t>(srcRect.left) * bytes;
  const ptrdiff_t dPitch = m_pitch, sPitch = src.m_pitch;
  if (!keyed && !same) {
    CopyPlainRows(dBase, sBase, dPitch, sPitch, static_cast<size_t>(w) * bytes, h);
    if (m_primary) HandOver();
    return DD_OK;
  }
  for (int j = 0; j < h; ++j) {
    const int row = upward ? h - 1 - j : j;
    uint8_t* d = dBase + row * dPitch;
    const uint8_t* s = sBase + row * sPitch;
    if (!keyed) {
      if (same)
        std::memmove(d, s, static_cast<size_t>(w) * bytes);
      else
        CopyBytes(d, s, static_cast<size_t>(w) * bytes);
    } else if (m_bpp == 8) {
      CopyRow(d, s, w, true, src.m_key);
    } else if (m_bpp == 16) {
      CopyRow(reinterpret_cast<uint16_t*>(d), reinterpret_cast<const uint16_t*>(s), w, true, src.m_key);
    } else {
      CopyRow32(reinterpret_cast<uint32_t*>(d), reinterpret_cast<const uint32_t*>(s), w, true, src.m_key);
    }
  }
  if (m_primary) HandOver();
  return DD_OK;
}

int32_t DDSurface::Blt(const Rect& dstRect, DDSurface& src, const Rect& srcRect, bool keyed) {
  if (dstRect.Width() == srcRect.Width() && dstRect.Height() == srcRect.Height() && &src != this)
    return BltFast(dstRect.left, dstRect.top, src, srcRect, keyed);
  if (int32_t r = Check()) return r;
  if (&src != this)
    if (int32_t r = src.Check()) return r;
  if (src.m_bpp != m_bpp) return DDERR_INVALIDPARAMS;
  if (!Inside(srcRect, src.m_width, src.m_height) || !Inside(dstRect, m_width, m_height)) return DDERR_INVALIDRECT;
  keyed = keyed && src.m_hasKey;
  const int w = dstRect.Width(), h = dstRect.Height();
  const int64_t sw = srcRect.Width(), sh = srcRect.Height();
  std::vector<int> cols(static_cast<size_t>(w));
  for (int k = 0; k < w; ++k) cols[static_cast<size_t>(k)] = srcRect.left + static_cast<int>(k * sw / w);
  // A copy within one surface reads from a snapshot of the source.
  std::shared_ptr<detail::Storage> snapshot;
  const uint8_t* base = src.Row(0);
  if (&src == this) {
    snapshot = std::make_shared<detail::Storage>(*m_store);
    base = snapshot->bytes.data();
  }
  const int bpp = m_bpp / 8;
  int lastSy = -1;
  for (int j = 0; j < h; ++j) {
    const int sy = srcRect.top + static_cast<int>(j * sh / h);
    const uint8_t* s = base + static_cast<size_t>(sy) * static_cast<size_t>(src.m_pitch);
    uint8_t* d = Row(dstRect.top + j) + static_cast<size_t>(dstRect.left) * bpp;
    // An opaque row that repeats the source row above is the row above again.
    if (!keyed && sy == lastSy) {
      std::memcpy(d, d - m_pitch, static_cast<size_t>(w) * bpp);
      continue;
    }
    lastSy = sy;
    switch (m_bpp) {
      case 8: StretchRow(d, s, cols.data(), w, keyed, src.m_key, 0xFF); break;
      case 16:
        StretchRow(reinterpret_cast<uint16_t*>(d), reinterpret_cast<const uint16_t*>(s), cols.data(), w, keyed,
                   src.m_key, 0xFFFF);
        break;
      default:
        StretchRow(reinterpret_cast<uint32_t*>(d), reinterpret_cast<const uint32_t*>(s), cols.data(), w, keyed,
                   src.m_key, 0xFFFFFF);
    }
  }
  if (m_primary) HandOver();
  return DD_OK;
}

int32_t DDSurface::Fill(const Rect& dstRect, uint32_t value) {
  if (int32_t r = Check()) return r;
  if (!Inside(dstRect, m_width, m_height)) return DDERR_INVALIDRECT;
  const int w = dstRect.Width();
  for (int y = dstRect.top; y < dstRect.bottom; ++y) {
    uint8_t* d = Row(y);
    switch (m_bpp) {
      case 8: std::memset(d + dstRect.left, static_cast<int>(value & 0xFF), static_cast<size_t>(w)); break;
      case 16: std::fill_n(reinterpret_cast<uint16_t*>(d) + dstRect.left, w, static_cast<uint16_t>(value)); break;
      default: std::fill_n(reinterpret_cast<uint32_t*>(d) + dstRect.left, w, value);
    }
  }
  if (m_primary) HandOver();
  return DD_OK;
}

void DDSurface::HandOver() {
  FrameView frame;
  frame.bits = Row(0);
  frame.pitch = m_pitch;
  frame.width = m_width;
  frame.height = m_height;
  frame.bpp = m_bpp;
  PalEntry grey[256];
  if (m_bpp == 8) {
    if (m_palette) {
      frame.palette = m_palette->m_entries;
    } else {
      for (int i = 0; i < 256; ++i) grey[i] = PalEntry{uint8_t(i), uint8_t(i), uint8_t(i), 0};
      frame.palette = grey;
    }
  }
  PresentFrame(frame);
}

int32_t DDSurface::Flip() {
  if (!m_primary || m_chain.empty()) return DDERR_NOTFLIPPABLE;
  if (int32_t r = Check()) return r;
  const auto& chain = m_chain;
  for (auto& back : chain)
    if (int32_t r = back->Check()) return r;
  std::shared_ptr<detail::Storage> front = std::move(m_store);
  m_store = chain[0]->m_store;
  for (size_t i = 0; i + 1 < chain.size(); ++i) chain[i]->m_store = chain[i + 1]->m_store;
  chain.back()->m_store = std::move(front);
  HandOver();
  WaitForShownFrame();
  return DD_OK;
}

int32_t DDSurface::GetAttachedBackBuffer(std::shared_ptr<DDSurface>& out) {
  if (StepFails(DisplayStep::Attached) || m_chain.empty()) return DDERR_GENERIC;
  out = m_chain[0];
  return DD_OK;
}

int32_t DDSurface::SetPalette(std::shared_ptr<DDPalette> palette) {
  if (StepFails(DisplayStep::SetPalette)) return DDERR_GENERIC;
  if (m_bpp != 8) return DDERR_INVALIDPARAMS;
  m_palette = std::move(palette);
  return DD_OK;
}

int32_t DDSurface::SetClipper(std::shared_ptr<DDClipper> clipper) {
  if (StepFails(DisplayStep::SetClipper)) return DDERR_GENERIC;
  m_clipper = std::move(clipper);
  return DD_OK;
}

int32_t DDSurface::GetPixelFormat(PixelFormat& out) const {
  out = PixelFormat{};
  out.bpp = m_bpp;
  if (m_bpp == 16) {
    out.redMask = 0xF800, out.greenMask = 0x07E0, out.blueMask = 0x001F;
  } else if (m_bpp == 32) {
    out.redMask = 0xFF0000, out.greenMask = 0xFF00, out.blueMask = 0xFF;
  }
  return DD_OK;
}

// --- the display object ---

DDObject::DDObject() : m_state(std::make_shared<DisplayState>()) { m_state->budget = g_budget.load(); }

// Only the state goes: at exit the presenter may be gone already. The
// drawing layer lets go of the window with Release before.
DDObject::~DDObject() = default;

int32_t DDObject::Create(std::unique_ptr<DDObject>& out) {
  out.reset();
  if (StepFails(DisplayStep::Create)) return DDERR_GENERIC;
  out.reset(new DDObject());
  std::lock_guard<std::mutex> lock(g_displayMutex);
  g_liveDisplay = out->m_state;
  return DD_OK;
}

int DDObject::Release() {
  if (!m_state) return 0;
  AttachPresenter(WindowHandle{}, false);
  if (m_state->fullScreen) SetPresenterFullScreen(false);
  int left;
  {
    std::lock_guard<std::mutex> lock(m_state->mutex);
    left = m_state->children;
  }
  {
    std::lock_guard<std::mutex> lock(g_displayMutex);
    if (g_liveDisplay.lock() == m_state) g_liveDisplay.reset();
  }
  m_state.reset();  // the surfaces still held keep the state alive, detached
  return left;
}

int32_t DDObject::SetCooperativeLevel(WindowHandle window, bool fullScreen) {
  if (StepFails(DisplayStep::Cooperate)) return DDERR_GENERIC;
  m_state->window = window;
  m_state->cooperative = true;
  m_state->fullScreen = fullScreen;
  AttachPresenter(window, m_state->vsync);
  SetPresenterFullScreen(fullScreen);
  return DD_OK;
}

int32_t DDObject::SetDisplayMode(int width, int height, int bpp, int refreshRate) {
  if (StepFails(DisplayStep::DisplayMode)) return DDERR_GENERIC;
  if (!m_state->fullScreen || width <= 0 || height <= 0 || (bpp != 8 && bpp != 16 && bpp != 32))
    return DDERR_INVALIDPARAMS;
  if (refreshRate != 0 && refreshRate != GetMonitorFrequency()) return DDERR_INVALIDPARAMS;
  m_state->modeSet = true;
  m_state->modeWidth = width;
  m_state->modeHeight = height;
  m_state->modeBpp = bpp;
  return DD_OK;
}

int32_t DDObject::RestoreDisplayMode() {
  m_state->modeSet = false;
  return DD_OK;
}

int32_t DDObject::CreatePrimary(int backBuffers, std::shared_ptr<DDSurface>& out) {
  out.reset();
  if (StepFails(DisplayStep::Surface)) return DDERR_GENERIC;
  DisplayState& st = *m_state;
  if (!st.cooperative || (st.fullScreen && !st.modeSet)) return DDERR_GENERIC;
  int w = st.modeWidth, h = st.modeHeight;
  if (!st.fullScreen && !GetClientSize(st.window, w, h)) w = 640, h = 480;
  const int bpp = st.SurfaceBpp();
  const int count = st.fullScreen ? std::clamp(backBuffers, 1, 2) : 0;
  const uint64_t bytes = static_cast<uint64_t>(PitchFor(w, bpp)) * static_cast<uint64_t>(h) * (1 + count);
  {
    std::lock_guard<std::mutex> lock(st.mutex);
    if (st.used + bytes > st.budget) return DDERR_OUTOFVIDEOMEMORY;
    st.used += bytes;
  }
  auto primary = std::shared_ptr<DDSurface>(new DDSurface(m_state, w, h, bpp, true));
  primary->m_primary = true;
  for (int i = 0; i < count; ++i) {
    primary->m_chain.push_back(std::shared_ptr<DDSurface>(new DDSurface(m_state, w, h, bpp, true)));
  }
  out = std::move(primary);
  return DD_OK;
}

int32_t DDObject::CreateSurface(int width, int height, bool systemMemory, std::shared_ptr<DDSurface>& out) {
  out.reset();
  if (StepFails(DisplayStep::Surface)) return DDERR_GENERIC;
  DisplayState& st = *m_state;
  const int bpp = st.SurfaceBpp();
  if (width <= 0 || height <= 0 || width > kMaxSurfaceSide || height > kMaxSurfaceSide || bpp == 0)
    return DDERR_INVALIDPARAMS;
  const uint64_t bytes = static_cast<uint64_t>(PitchFor(width, bpp)) * static_cast<uint64_t>(height);
  if (!systemMemory) {
    std::lock_guard<std::mutex> lock(st.mutex);
    if (st.used + bytes > st.budget) return DDERR_OUTOFVIDEOMEMORY;
    st.used += bytes;
  }
  out = std::shared_ptr<DDSurface>(new DDSurface(m_state, width, height, bpp, !systemMemory));
  return DD_OK;
}

int32_t DDObject::CreatePalette(const PalEntry entries[256], std::shared_ptr<DDPalette>& out) {
  out.reset();
  if (StepFails(DisplayStep::Palette)) return DDERR_GENERIC;
  out = std::shared_ptr<DDPalette>(new DDPalette(m_state));
  if (entries) out->SetEntries(0, 256, entries);
  return DD_OK;
}

int32_t DDObject::CreateClipper(std::shared_ptr<DDClipper>& out) {
  out.reset();
  if (StepFails(DisplayStep::Clipper)) return DDERR_GENERIC;
  out = std::shared_ptr<DDClipper>(new DDClipper(m_state));
  return DD_OK;
}

int32_t DDObject::WaitForVerticalBlank() {
  WaitForShownFrame();
  return DD_OK;
}

int32_t DDObject::FlipToGDISurface() {
  if (m_state->fullScreen) SetPresenterFullScreen(false);
  return DD_OK;
}

int32_t DDObject::ResumeFullScreen() {
  if (m_state->fullScreen) SetPresenterFullScreen(true);
  return DD_OK;
}

int DDObject::GetMonitorFrequency() const { return 60; }

void DDObject::GetVideoMemory(uint64_t& total, uint64_t& free) const {
  std::lock_guard<std::mutex> lock(m_state->mutex);
  total = m_state->budget;
  free = m_state->budget - std::min(m_state->used, m_state->budget);
}

void DDObject::SetVSync(bool on) {
  m_state->vsync = on;
  if (m_state->cooperative) AttachPresenter(m_state->window, on);
}

// --- hooks ---

int GetDesktopBpp() {
  int bpp = g_desktopBpp.load();
  if (bpp == 0) bpp = g_systemDesktopBpp.load();
  // 24-bit pixels are kept in 32 bits, 15-bit ones in 16.
  switch (bpp) {
    case 0: return 32;
    case 24: return 32;
    case 15: return 16;
    default: return bpp;
  }
}
void SetDesktopBpp(int bpp) { g_desktopBpp = bpp; }

namespace detail {
void SetSystemDesktopBpp(int bpp) { g_systemDesktopBpp = bpp; }
}  // namespace detail

void FailDisplayStep(DisplayStep step, int skip) { g_displayFailAt[static_cast<int>(step)] = skip + 1; }

void ClearDisplayFailures() {
  for (auto& f : g_displayFailAt) f = 0;
}

void SetVideoMemoryBudget(uint64_t bytes) { g_budget = bytes; }

void LoseVideoSurfaces() {
  std::lock_guard<std::mutex> lock(g_displayMutex);
  if (auto state = g_liveDisplay.lock()) state->lossPending = true;
}

namespace detail {
void OnFocusLost() {
  std::lock_guard<std::mutex> lock(g_displayMutex);
  auto state = g_liveDisplay.lock();
  if (state && state->fullScreen) state->lossPending = true;
}
}  // namespace detail

}  // namespace plat
