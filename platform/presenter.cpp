#include "platform/presenter.h"

#include <algorithm>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <cstring>
#include <mutex>
#include <vector>

#include "platform/clock.h"
#include "platform/message_box.h"
#include "platform/prefault.h"
#include "platform/script_run.h"
#include "platform/sdl_window.h"

namespace plat {
namespace {

// Shared between the drawing thread and the main thread.
std::mutex g_presentMutex;
std::condition_variable g_shownCv;
// A frame handed over, its rows packed as they were drawn (and for 8 bits
// its palette): the main thread converts the one it shows, so a frame that
// is replaced unshown, or that no window shows, costs the drawing thread a
// copy, not a conversion.
struct HandedFrame {
  std::vector<uint8_t> bits;
  int width = 0, height = 0, bpp = 32;
  bool hasPalette = false;
  PalEntry palette[256];
};
HandedFrame g_pending;
bool g_hasPending = false;
uint64_t g_handedSerial = 0;  // serial of the last frame handed over
uint64_t g_shownSerial = 0;   // serial of the last frame shown (or replaced)
PresenterStats g_stats;
WindowHandle g_window;
bool g_vsync = false;
bool g_fullScreen = false;
bool g_minimized = false;
FrameCapture g_capture;
std::atomic<int> g_cursorCount{0};
std::atomic<bool> g_presenting{false};  // a window shows the frames with vertical sync

// Main thread only.
SDL_Renderer* g_renderer = nullptr;
SDL_Texture* g_texture = nullptr;
int g_textureW = 0, g_textureH = 0;
WindowHandle g_rendererWindow;
bool g_rendererVsync = false;
bool g_appliedFullScreen = false;
bool g_appliedMinimized = false;
SDL_Rect g_windowedPlace{0, 0, 0, 0};  // where the window was before full screen
int g_appliedCursor = 0;
HandedFrame g_taken;
// The frame shown: 32-bit frames are masked where they were taken, so
// that no second copy of the screen is kept; others are widened here.
std::vector<uint32_t> g_widened;
const uint32_t* g_showing = nullptr;
int g_showingW = 0, g_showingH = 0;

uint32_t Widen565(uint16_t p) {
  uint32_t r = p >> 11, g = (p >> 5) & 63, b = p & 31;
  r = r << 3 | r >> 2;
  g = g << 2 | g >> 4;
  b = b << 3 | b >> 2;
  return r << 16 | g << 8 | b;
}

// Widening splits into the pixel's two bytes, whose parts of the result
// share no bits: a table per byte.
struct Widen565Tables {
  uint32_t high[256], low[256];
  Widen565Tables() {
    for (uint32_t i = 0; i < 256; ++i) {
      high[i] = Widen565(static_cast<uint16_t>(i << 8));
      low[i] = Widen565(static_cast<uint16_t>(i));
    }
  }
};

void Convert(const FrameView& f, std::vector<uint32_t>& out) {
  out.resize(static_cast<size_t>(f.width) * static_cast<size_t>(f.height));
  uint32_t lut[256];
  if (f.bpp == 8)
    for (int i = 0; i < 256; ++i) {
      const PalEntry e = f.palette ? f.palette[i] : PalEntry{uint8_t(i), uint8_t(i), uint8_t(i), 0};
      lut[i] = uint32_t{e.red} << 16 | uint32_t{e.green} << 8 | e.blue;
    }
  for (int y = 0; y < f.height; ++y) {
    const uint8_t* row = f.bits + static_cast<size_t>(y) * static_cast<size_t>(f.pitch);
    uint32_t* d = out.data() + static_cast<size_t>(y) * static_cast<size_t>(f.width);
    switch (f.bpp) {
      case 8:
        for (int x = 0; x < f.width; ++x) d[x] = lut[row[x]];
        break;
      case 16: {
        static const Widen565Tables tables;
        const uint16_t* s = reinterpret_cast<const uint16_t*>(row);
        for (int x = 0; x < f.width; ++x) d[x] = tables.high[s[x] >> 8] | tables.low[s[x] & 0xFF];
        break;
      }
      default: {
        const uint32_t* s = reinterpret_cast<const uint32_t*>(row);
        for (int x = 0; x < f.width; ++x) d[x] = s[x] & 0xFFFFFF;
      }
    }
  }
}

void DropRenderer() {
  if (g_texture) SDL_DestroyTexture(g_texture);
  if (g_renderer) SDL_DestroyRenderer(g_renderer);
  g_texture = nullptr;
  g_renderer = nullptr;
  g_textureW = g_textureH = 0;
  g_rendererWindow = WindowHandle{};
  g_presenting = false;
}

// Main thread: the renderer follows the attached window and the modes asked for.
SDL_Window* ApplySettings() {
  WindowHandle window;
  bool vsync, fullScreen, minimized;
  {
    std::lock_guard<std::mutex> lock(g_presentMutex);
    window = g_window;
    vsync = g_vsync && !ScriptRunning();  // a scripted run is not paced
    fullScreen = g_fullScreen;
    minimized = g_minimized;
  }
  const int cursor = g_cursorCount.load();
  if ((cursor >= 0) != (g_appliedCursor >= 0) && SDL_WasInit(SDL_INIT_VIDEO))
    SDL_ShowCursor(cursor >= 0 ? SDL_ENABLE : SDL_DISABLE);
  g_appliedCursor = cursor;

  SDL_Window* sdl = detail::FindSdlWindow(window);
  if (g_renderer && (g_rendererWindow != window || g_rendererVsync != vsync || !sdl)) DropRenderer();
  if (!sdl) return nullptr;
  if (fullScreen != g_appliedFullScreen) {
    // The window itself takes the desktop's place and size, so that full
    // screen holds also where no window manager would resize it.
    if (fullScreen) {
      SDL_GetWindowPosition(sdl, &g_windowedPlace.x, &g_windowedPlace.y);
      SDL_GetWindowSize(sdl, &g_windowedPlace.w, &g_windowedPlace.h);
      SDL_Rect desktop;
      const bool bounds = SDL_GetDisplayBounds(SDL_GetWindowDisplayIndex(sdl), &desktop) == 0;
      SDL_SetWindowFullscreen(sdl, SDL_WINDOW_FULLSCREEN_DESKTOP);
      if (bounds) {
        SDL_SetWindowPosition(sdl, desktop.x, desktop.y);
        SDL_SetWindowSize(sdl, desktop.w, desktop.h);
      }
      SDL_RaiseWindow(sdl);
    } else {
      SDL_SetWindowFullscreen(sdl, 0);
      SDL_SetWindowBordered(sdl, SDL_TRUE);
      if (g_windowedPlace.w > 0) {
        SDL_SetWindowSize(sdl, g_windowedPlace.w, g_windowedPlace.h);
        SDL_SetWindowPosition(sdl, g_windowedPlace.x, g_windowedPlace.y);
      }
    }
    g_appliedFullScreen = fullScreen;
  }
  if (minimized != g_appliedMinimized) {
    if (minimized)
      SDL_MinimizeWindow(sdl);
    else
      SDL_RestoreWindow(sdl);
    g_appliedMinimized = minimized;
  }
  if (!g_renderer) {
    SDL_SetHint(SDL_HINT_RENDER_SCALE_QUALITY, "nearest");
    g_renderer = SDL_CreateRenderer(sdl, -1, vsync ? SDL_RENDERER_PRESENTVSYNC : 0);
    if (!g_renderer) g_renderer = SDL_CreateRenderer(sdl, -1, SDL_RENDERER_SOFTWARE);
    if (!g_renderer) return nullptr;
    g_rendererWindow = window;
    g_rendererVsync = vsync;
    g_presenting = vsync && detail::WindowSystemHasDisplay();
  }
  return sdl;
}

void Show(const uint32_t* pixels, int w, int h) {
  if (!g_renderer) return;
  if (!g_texture || g_textureW != w || g_textureH != h) {
    if (g_texture) SDL_DestroyTexture(g_texture);
    g_texture = SDL_CreateTexture(g_renderer, SDL_PIXELFORMAT_RGB888, SDL_TEXTUREACCESS_STREAMING, w, h);
    g_textureW = g_texture ? w : 0;
    g_textureH = g_texture ? h : 0;
    if (!g_texture) return;
  }
  SDL_UpdateTexture(g_texture, nullptr, pixels, w * 4);
  int outW = 0, outH = 0;
  SDL_GetRendererOutputSize(g_renderer, &outW, &outH);
  const PresentRect r = LetterboxRect(outW, outH, w, h);
  const SDL_Rect dst{r.x, r.y, r.w, r.h};
  SDL_SetRenderDrawColor(g_renderer, 0, 0, 0, 255);
  SDL_RenderClear(g_renderer);
  SDL_RenderCopy(g_renderer, g_texture, nullptr, &dst);
  SDL_RenderPresent(g_renderer);
}

// Until the frame handed over last has been shown. A scripted run waits so
// after every frame: it is not paced, but each frame is shown (and its shot
// taken) before the next is drawn, so a shot is the frame its step asked for.
void WaitUntilShown() {
  std::unique_lock<std::mutex> lock(g_presentMutex);
  const uint64_t target = g_handedSerial;
  // Bounded: a main thread that stops pumping must not stop the game.
  g_shownCv.wait_for(lock, std::chrono::milliseconds(100), [&] { return g_shownSerial >= target; });
}

}  // namespace

void PresentFrame(const FrameView& frame) {
  if (!frame.bits || frame.width <= 0 || frame.height <= 0) return;
  thread_local HandedFrame work;
  const size_t pixelBytes = frame.bpp == 8 ? 1 : frame.bpp == 16 ? 2 : 4;
  const size_t rowBytes = static_cast<size_t>(frame.width) * pixelBytes;
  ResizeForWrite(work.bits, rowBytes * static_cast<size_t>(frame.height));
  for (int y = 0; y < frame.height; ++y)
    std::memcpy(work.bits.data() + rowBytes * static_cast<size_t>(y),
                frame.bits + static_cast<size_t>(y) * static_cast<size_t>(frame.pitch), rowBytes);
  work.width = frame.width;
  work.height = frame.height;
  work.bpp = frame.bpp;
  work.hasPalette = frame.bpp == 8 && frame.palette;
  if (work.hasPalette) std::memcpy(work.palette, frame.palette, sizeof work.palette);
  {
    std::lock_guard<std::mutex> lock(g_presentMutex);
    if (g_hasPending) ++g_stats.replaced;
    ++g_stats.handed;
    std::swap(g_pending, work);
    g_hasPending = true;
    ++g_handedSerial;
  }
  detail::WakeWindowSystem();
  if (ScriptRunning() && !IsMainThread()) WaitUntilShown();
}

void AttachPresenter(WindowHandle window, bool vsync) {
  {
    std::lock_guard<std::mutex> lock(g_presentMutex);
    g_window = window;
    g_vsync = vsync;
  }
  detail::WakeWindowSystem();
}

void SetPresenterFullScreen(bool on) {
  {
    std::lock_guard<std::mutex> lock(g_presentMutex);
    g_fullScreen = on;
  }
  detail::WakeWindowSystem();
}

void MinimizePresenterWindow(bool minimize) {
  {
    std::lock_guard<std::mutex> lock(g_presentMutex);
    g_minimized = minimize;
  }
  detail::WakeWindowSystem();
}

bool PresenterWindowMinimized() {
  std::lock_guard<std::mutex> lock(g_presentMutex);
  return g_minimized;
}

bool PresenterPump() {
  if (!IsMainThread()) return false;
  ApplySettings();
  int w, h;
  uint64_t serial;
  FrameCapture capture;
  {
    std::lock_guard<std::mutex> lock(g_presentMutex);
    if (!g_hasPending) return false;
    std::swap(g_taken, g_pending);
    g_hasPending = false;
    w = g_taken.width;
    h = g_taken.height;
    serial = g_handedSerial;
    capture = g_capture;
  }
  FrameView taken;
  taken.bits = g_taken.bits.data();
  taken.pitch = static_cast<int>(g_taken.bits.size() / static_cast<size_t>(h));
  taken.width = w;
  taken.height = h;
  taken.bpp = g_taken.bpp;
  taken.palette = g_taken.hasPalette ? g_taken.palette : nullptr;
  if (taken.bpp == 32 && taken.pitch == w * 4) {
    uint32_t* p = reinterpret_cast<uint32_t*>(g_taken.bits.data());
    const size_t n = static_cast<size_t>(w) * static_cast<size_t>(h);
    for (size_t i = 0; i < n; ++i) p[i] &= 0xFFFFFF;
    g_showing = p;
    std::vector<uint32_t>().swap(g_widened);
  } else {
    Convert(taken, g_widened);
    g_showing = g_widened.data();
  }
  g_showingW = w;
  g_showingH = h;
  Show(g_showing, w, h);
  if (capture) capture(g_showing, w, h);
  {
    std::lock_guard<std::mutex> lock(g_presentMutex);
    ++g_stats.shown;
    g_shownSerial = std::max(g_shownSerial, serial);
  }
  g_shownCv.notify_all();
  return true;
}

bool RepaintPresenter() {
  if (!IsMainThread() || g_showingW <= 0 || g_showingH <= 0) return false;
  ApplySettings();
  FrameCapture capture;
  {
    std::lock_guard<std::mutex> lock(g_presentMutex);
    capture = g_capture;
  }
  Show(g_showing, g_showingW, g_showingH);
  if (capture) capture(g_showing, g_showingW, g_showingH);
  return true;
}

void WaitForShownFrame() {
  if (ScriptRunning()) return;  // the hand-over waited already
  if (!g_presenting.load() || IsMainThread()) {
    WaitForBlankTick();
    return;
  }
  WaitUntilShown();
}

void WaitForBlankTick() {
  const uint32_t now = TimeGetTime();
  const uint64_t tick = uint64_t{now} * 60 / 1000 + 1;
  const uint64_t due = (tick * 1000 + 59) / 60;
  Sleep(static_cast<uint32_t>(due - now));
}

int ShowCursor(bool show) {
  const int count = g_cursorCount.fetch_add(show ? 1 : -1) + (show ? 1 : -1);
  detail::WakeWindowSystem();
  return count;
}

PresentRect LetterboxRect(int windowW, int windowH, int frameW, int frameH) {
  if (windowW <= 0 || windowH <= 0 || frameW <= 0 || frameH <= 0) return PresentRect{};
  int64_t w, h;
  if (int64_t{windowW} * frameH <= int64_t{windowH} * frameW) {  // the width is the limit
    w = windowW;
    h = int64_t{frameH} * windowW / frameW;
  } else {
    h = windowH;
    w = int64_t{frameW} * windowH / frameH;
  }
  return PresentRect{static_cast<int>((windowW - w) / 2), static_cast<int>((windowH - h) / 2), static_cast<int>(w),
                     static_cast<int>(h)};
}

void SetFrameCapture(FrameCapture capture) {
  std::lock_guard<std::mutex> lock(g_presentMutex);
  g_capture = std::move(capture);
}

PresenterStats GetPresenterStats() {
  std::lock_guard<std::mutex> lock(g_presentMutex);
  return g_stats;
}

void ResetPresenter() {
  std::lock_guard<std::mutex> lock(g_presentMutex);
  g_hasPending = false;
  g_pending.bits.clear();
  g_stats = PresenterStats{};
  g_shownSerial = g_handedSerial;
  g_minimized = false;
}

namespace detail {
void PresenterWindowClosing(WindowHandle window) {
  if (g_rendererWindow == window) DropRenderer();
  g_appliedFullScreen = false;
  g_appliedMinimized = false;
}
}  // namespace detail

}  // namespace plat
