#include "platform/window_geometry.h"

#include <SDL.h>

#include <memory>
#include <unordered_map>

#include "platform/message_numbers.h"
#include "platform/sdl_window.h"
#include "platform/window_ops.h"

namespace plat {
namespace detail {
namespace {

// Main thread only.
std::unordered_map<uint32_t, WindowOps*> g_ops;

class AppWindowOps : public WindowOps {
 public:
  AppWindowOps(WindowHandle window, SDL_Window* sdl, uint32_t style) : m_sdl(sdl), m_window(window), m_style(style) {}
  Rect OuterRect() override {
    Point o = ClientOrigin();
    FrameInsets f = FrameForStyle(m_style);
    return {o.x - f.left, o.y - f.top, o.x + ClientWidth() + f.right, o.y + ClientHeight() + f.bottom};
  }
  Point ClientOrigin() override {
    Point p;
    SDL_GetWindowPosition(m_sdl, &p.x, &p.y);
    return p;
  }
  int ClientWidth() override {
    int w = 0, h = 0;
    SDL_GetWindowSize(m_sdl, &w, &h);
    return w;
  }
  int ClientHeight() override {
    int w = 0, h = 0;
    SDL_GetWindowSize(m_sdl, &w, &h);
    return h;
  }
  // The window hears of it as of a move by the player.
  void Place(int x, int y, int width, int height) override {
    FrameInsets f = FrameForStyle(m_style);
    SDL_SetWindowPosition(m_sdl, x + f.left, y + f.top);
    int w = width - f.left - f.right, h = height - f.top - f.bottom;
    if (w > 0 && h > 0) SDL_SetWindowSize(m_sdl, w, h);
    const Point o = ClientOrigin();
    Post(m_window, WM_MOVE, 0, MakeLParam(o.x, o.y));
    Post(m_window, WM_SIZE, SIZE_RESTORED, MakeLParam(ClientWidth(), ClientHeight()));
  }
  uint32_t Style() override {
    bool shown = (SDL_GetWindowFlags(m_sdl) & SDL_WINDOW_SHOWN) != 0;
    return (m_style & ~WS_VISIBLE) | (shown ? WS_VISIBLE : 0);
  }
  void SetStyle(uint32_t style) override {
    if ((style ^ Style()) & WS_VISIBLE) {
      if (style & WS_VISIBLE)
        SDL_ShowWindow(m_sdl);
      else
        SDL_HideWindow(m_sdl);
    }
    const bool resizable = (style & WS_THICKFRAME) != 0;
    const bool becameResizable = resizable && !(m_style & WS_THICKFRAME);
    SDL_SetWindowResizable(m_sdl, resizable ? SDL_TRUE : SDL_FALSE);
    m_style = style;
    if (becameResizable) ApplySizeLimits(m_window);
  }
  SDL_Window* m_sdl;

 private:
  WindowHandle m_window;
  uint32_t m_style;
};

std::unordered_map<uint32_t, std::unique_ptr<AppWindowOps>> g_appWindows;

}  // namespace

void RegisterWindowOps(WindowHandle window, WindowOps* ops) { g_ops[window.id] = ops; }
void UnregisterWindowOps(WindowHandle window) { g_ops.erase(window.id); }

WindowOps* FindWindowOps(WindowHandle window) {
  auto it = g_ops.find(window.id);
  return it == g_ops.end() ? nullptr : it->second;
}

void RegisterAppWindow(WindowHandle window, SDL_Window* sdl, uint32_t style) {
  auto ops = std::make_unique<AppWindowOps>(window, sdl, style);
  RegisterWindowOps(window, ops.get());
  g_appWindows[window.id] = std::move(ops);
}

void UnregisterAppWindow(WindowHandle window) {
  UnregisterWindowOps(window);
  g_appWindows.erase(window.id);
}

SDL_Window* FindAppSdlWindow(WindowHandle window) {
  auto it = g_appWindows.find(window.id);
  return it == g_appWindows.end() ? nullptr : it->second->m_sdl;
}

}  // namespace detail

using detail::FindWindowOps;

namespace {

// Fixed so that layouts come out the same under every driver and desktop.
struct Metric {
  int index, value;
};
constexpr Metric kMetrics[] = {
    {SM_CXVSCROLL, 16}, {SM_CYHSCROLL, 16}, {SM_CYCAPTION, 20}, {SM_CXBORDER, 1},
    {SM_CYBORDER, 1},   {SM_CXDLGFRAME, 3}, {SM_CYDLGFRAME, 3}, {SM_CYMENU, 20},
    {SM_CXFRAME, 4},    {SM_CYFRAME, 4},
};

bool DisplayBounds(Rect& out, bool usable) {
  if (!SDL_WasInit(SDL_INIT_VIDEO)) return false;
  SDL_Rect r;
  if ((usable ? SDL_GetDisplayUsableBounds(0, &r) : SDL_GetDisplayBounds(0, &r)) != 0) return false;
  out = {r.x, r.y, r.x + r.w, r.y + r.h};
  return true;
}

}  // namespace

int GetSystemMetrics(int index) {
  for (const Metric& m : kMetrics)
    if (m.index == index) return m.value;
  Rect d = GetDesktopRect();
  switch (index) {
    case SM_CXSCREEN: return d.Width();
    case SM_CYSCREEN: return d.Height();
    case SM_CXFULLSCREEN: return GetWorkArea().Width();
    case SM_CYFULLSCREEN: return GetWorkArea().Height() - GetSystemMetrics(SM_CYCAPTION);
    default: return 0;
  }
}

FrameInsets FrameForStyle(uint32_t style) {
  FrameInsets f;
  if ((style & WS_CAPTION) == WS_CAPTION) f.top += GetSystemMetrics(SM_CYCAPTION);
  if (style & WS_THICKFRAME) {
    f.left = f.right = GetSystemMetrics(SM_CXFRAME);
    f.top += GetSystemMetrics(SM_CYFRAME);
    f.bottom = GetSystemMetrics(SM_CYFRAME);
  } else if ((style & WS_CAPTION) == WS_DLGFRAME) {
    f.left = f.right = GetSystemMetrics(SM_CXDLGFRAME);
    f.top += GetSystemMetrics(SM_CYDLGFRAME);
    f.bottom = GetSystemMetrics(SM_CYDLGFRAME);
  }
  return f;
}

Rect GetWorkArea() {
  Rect r{0, 0, 640, 480};
  DisplayBounds(r, true);
  return r;
}

Rect GetDesktopRect() {
  Rect r{0, 0, 640, 480};
  DisplayBounds(r, false);
  return r;
}

bool GetWindowRect(WindowHandle window, Rect& out) {
  detail::WindowOps* ops = FindWindowOps(window);
  if (!ops) return false;
  out = ops->OuterRect();
  return true;
}

bool GetClientRect(WindowHandle window, Rect& out) {
  detail::WindowOps* ops = FindWindowOps(window);
  if (!ops) return false;
  out = {0, 0, ops->ClientWidth(), ops->ClientHeight()};
  return true;
}

bool SetWindowPos(WindowHandle window, int x, int y, int width, int height) {
  detail::WindowOps* ops = FindWindowOps(window);
  if (!ops) return false;
  ops->Place(x, y, width, height);
  return true;
}

bool ClientToScreen(WindowHandle window, Point& point) {
  detail::WindowOps* ops = FindWindowOps(window);
  if (!ops) return false;
  Point o = ops->ClientOrigin();
  point.x += o.x;
  point.y += o.y;
  return true;
}

bool ScreenToClient(WindowHandle window, Point& point) {
  detail::WindowOps* ops = FindWindowOps(window);
  if (!ops) return false;
  Point o = ops->ClientOrigin();
  point.x -= o.x;
  point.y -= o.y;
  return true;
}

uint32_t GetWindowStyle(WindowHandle window) {
  detail::WindowOps* ops = FindWindowOps(window);
  return ops ? ops->Style() : 0;
}

bool SetWindowStyle(WindowHandle window, uint32_t style) {
  detail::WindowOps* ops = FindWindowOps(window);
  if (!ops) return false;
  ops->SetStyle(style);
  return true;
}

bool ShowWindow(WindowHandle window, bool show) {
  detail::WindowOps* ops = FindWindowOps(window);
  if (!ops) return false;
  uint32_t style = ops->Style();
  ops->SetStyle(show ? style | WS_VISIBLE : style & ~WS_VISIBLE);
  return true;
}

bool EnableWindow(WindowHandle window, bool enable) {
  detail::WindowOps* ops = FindWindowOps(window);
  if (!ops) return false;
  uint32_t style = ops->Style();
  ops->SetStyle(enable ? style & ~WS_DISABLED : style | WS_DISABLED);
  return true;
}

}  // namespace plat

namespace plat::detail {

WindowHandle FindAppWindowBySdlId(uint32_t windowId) {
  for (auto& [id, ops] : g_appWindows)
    if (SDL_GetWindowID(ops->m_sdl) == windowId) return WindowHandle{id};
  return WindowHandle{};
}

WindowHandle AnyAppWindow() {
  return g_appWindows.empty() ? WindowHandle{} : WindowHandle{g_appWindows.begin()->first};
}

}  // namespace plat::detail
