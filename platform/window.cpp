#include "platform/window.h"

#include <SDL.h>

#include <algorithm>
#include <atomic>
#include <climits>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "platform/d3d_device.h"
#include "platform/display_loss.h"
#include "platform/input_devices.h"
#include "platform/input_state.h"
#include "platform/message_box.h"
#include "platform/presenter.h"
#include "platform/message_numbers.h"
#include "platform/sdl_keys.h"
#include "platform/sdl_window.h"
#include "platform/soft_display.h"
#include "platform/window_geometry.h"
#include "platform/text_encoding.h"
#include "platform/thread_context.h"
#include "platform/window_input.h"
#include "platform/window_ops.h"

namespace plat {
namespace {

// Touched on the main thread only.
bool g_started = false;
Uint32 g_wakeEvent = 0;
std::unordered_map<uint32_t, SDL_Window*> g_windows;       // by our handle
std::unordered_map<Uint32, WindowHandle> g_bySdlId;         // by SDL's window id

std::mutex g_sizeMutex;
std::unordered_map<uint32_t, std::pair<int, int>> g_clientSizes;  // read by any thread

// Minimised and maximised as the window system last told (main thread).
struct ShowState {
  bool minimized = false;
  bool maximized = false;
};
std::unordered_map<uint32_t, ShowState> g_showStates;

void PostSize(WindowHandle window, uintptr_t kind, int width, int height) {
  Post(window, WM_SIZE, kind, MakeLParam(width, height));
}

// The client size for a WM_SIZE: the event's own numbers when it has them.
void ClientSizeOf(SDL_Window* sdl, int& width, int& height) {
  width = height = 0;
  if (sdl) SDL_GetWindowSize(sdl, &width, &height);
}

void TranslateWindowEvent(WindowHandle window, const SDL_WindowEvent& e) {
  ShowState& state = g_showStates[window.id];
  auto it = g_windows.find(window.id);
  SDL_Window* sdl = it == g_windows.end() ? nullptr : it->second;
  int w = 0, h = 0;
  switch (e.event) {
    case SDL_WINDOWEVENT_CLOSE: Post(window, WM_CLOSE, 0, 0); break;
    case SDL_WINDOWEVENT_FOCUS_GAINED:
      detail::OnD3DFocusGained();
      Post(window, WM_ACTIVATEAPP, 1, 0);
      break;
    case SDL_WINDOWEVENT_FOCUS_LOST:
      detail::OnFocusLost();
      detail::OnD3DFocusLost();
      Post(window, WM_ACTIVATEAPP, 0, 0);
      break;
    case SDL_WINDOWEVENT_MOVED: Post(window, WM_MOVE, 0, MakeLParam(e.data1, e.data2)); break;
    case SDL_WINDOWEVENT_SIZE_CHANGED:
      PostSize(window, state.maximized ? SIZE_MAXIMIZED : SIZE_RESTORED, e.data1, e.data2);
      break;
    case SDL_WINDOWEVENT_MINIMIZED:
      state.minimized = true;
      PostSize(window, SIZE_MINIMIZED, 0, 0);
      break;
    case SDL_WINDOWEVENT_MAXIMIZED:
      state.minimized = false;
      state.maximized = true;
      ClientSizeOf(sdl, w, h);
      PostSize(window, SIZE_MAXIMIZED, w, h);
      break;
    case SDL_WINDOWEVENT_RESTORED:
      state.minimized = false;
      state.maximized = false;
      ClientSizeOf(sdl, w, h);
      PostSize(window, SIZE_RESTORED, w, h);
      break;
    case SDL_WINDOWEVENT_EXPOSED: Post(window, WM_PAINT, 0, 0); break;
    default: break;
  }
}

// A key pressed in an app window, as the window system tells it.
void TranslateKeyDown(const SDL_KeyboardEvent& e) {
  auto it = g_bySdlId.find(e.windowID);
  if (it == g_bySdlId.end()) return;
  const int vk = detail::SidelessKey(detail::VirtualKeyOf(e.keysym));
  if (vk == 0) return;
  const bool alt = (e.keysym.mod & KMOD_ALT) != 0;
  Post(it->second, WM_KEYDOWN, static_cast<uintptr_t>(vk),
       static_cast<intptr_t>(detail::KeystrokeFlags(true, e.repeat != 0, alt)));
}

void Translate(const SDL_Event& event) {
  detail::TranslateInputEvent(event);
  if (detail::RouteWindowInput(event)) return;
  if (event.type == SDL_KEYDOWN) {
    TranslateKeyDown(event.key);
    return;
  }
  if (event.type != SDL_WINDOWEVENT) return;  // the wake event carries nothing
  auto it = g_bySdlId.find(event.window.windowID);
  if (it == g_bySdlId.end()) return;
  TranslateWindowEvent(it->second, event.window);
}

void PumpEvents() {
  SDL_Event event;
  while (SDL_PollEvent(&event)) Translate(event);
  PresenterPump();
}

void WaitEvents(uint32_t ms) {
  SDL_Event event;
  int got = ms == kInfinite ? SDL_WaitEvent(&event)
                            : SDL_WaitEventTimeout(&event, ms > INT_MAX ? INT_MAX : static_cast<int>(ms));
  if (got) Translate(event);
}

std::atomic<Uint32> g_wakeType{0};

void Wake() {
  SDL_Event event;
  SDL_zero(event);
  event.type = g_wakeType.load();
  if (event.type) SDL_PushEvent(&event);
}

constexpr const char* kWindowClass = "Tavrik";

bool HasWindowManager() {
  const char* driver = SDL_GetCurrentVideoDriver();
  return driver && std::strcmp(driver, "dummy") != 0 && std::strcmp(driver, "offscreen") != 0;
}

SDL_Window* Find(WindowHandle window) {
  auto it = g_windows.find(window.id);
  return it == g_windows.end() ? nullptr : it->second;
}

}  // namespace

void SetWindowSystemEnvironment() {
  // The window class the desktop groups our windows by; a user's own choice
  // stays, and a second call changes nothing.
  setenv("SDL_VIDEO_X11_WMCLASS", kWindowClass, 0);
  setenv("SDL_VIDEO_WAYLAND_WMCLASS", kWindowClass, 0);
}

bool StartWindowSystem() {
  if (!IsMainThread()) return false;
  if (g_started) return true;
  // Termination signals are ours to turn into close requests (platform/signals.h).
  SDL_SetHint(SDL_HINT_NO_SIGNAL_HANDLERS, "1");
  SetWindowSystemEnvironment();
  if (SDL_InitSubSystem(SDL_INIT_VIDEO) != 0) return false;
  const char* driver = SDL_GetCurrentVideoDriver();
  if (driver && std::strcmp(driver, "x11") == 0) detail::WatchDisplayLoss();
  SDL_DisplayMode desktop;
  if (SDL_GetDesktopDisplayMode(0, &desktop) == 0)
    detail::SetSystemDesktopBpp(static_cast<int>(SDL_BITSPERPIXEL(desktop.format)));
  detail::ResetInputState();
  g_wakeEvent = SDL_RegisterEvents(1);
  if (g_wakeEvent == static_cast<Uint32>(-1)) {
    SDL_QuitSubSystem(SDL_INIT_VIDEO);
    return false;
  }
  g_wakeType = g_wakeEvent;
  detail::StartInputDevices();
  auto source = std::make_shared<detail::EventSource>();
  source->pump = PumpEvents;
  source->wait = WaitEvents;
  source->wake = Wake;
  detail::SetEventSource(source);
  const uint32_t mainId = CurrentThreadId();
  SetMainThreadCall([mainId](const std::function<void()>& call) { CallOnThread(mainId, call); });
  g_started = true;
  return true;
}

void StopWindowSystem() {
  if (!IsMainThread() || !g_started) return;
  SetMainThreadCall(nullptr);
  detail::SetEventSource(nullptr);  // no thread wakes the event queue after this
  g_wakeType = 0;
  while (!g_windows.empty()) DestroyAppWindow(WindowHandle{g_windows.begin()->first});
  detail::StopInputDevices();
  SDL_QuitSubSystem(SDL_INIT_VIDEO);
  SDL_Quit();
  g_started = false;
}

WindowHandle CreateAppWindow(const WindowLayout& layout, WindowProc proc) {
  if (!IsMainThread() || !g_started) return WindowHandle{};
  Uint32 flags = SDL_WINDOW_HIDDEN | (layout.resizable ? SDL_WINDOW_RESIZABLE : 0);
  SDL_Window* sdl = SDL_CreateWindow("", layout.x, layout.y, layout.clientWidth, layout.clientHeight, flags);
  if (!sdl) return WindowHandle{};
  WindowHandle window = CreateMessageWindow(std::move(proc));
  g_windows[window.id] = sdl;
  g_bySdlId[SDL_GetWindowID(sdl)] = window;
  g_showStates[window.id] = ShowState{};
  detail::RegisterAppWindow(window, sdl, layout.style);
  {
    std::lock_guard<std::mutex> lock(g_sizeMutex);
    g_clientSizes[window.id] = {layout.clientWidth, layout.clientHeight};
  }
  if (Send(window, WM_CREATE, 0, 0) == -1) {
    detail::UnregisterAppWindow(window);
    g_bySdlId.erase(SDL_GetWindowID(sdl));
    g_windows.erase(window.id);
    g_showStates.erase(window.id);
    DestroyMessageWindow(window);
    SDL_DestroyWindow(sdl);
    return WindowHandle{};
  }
  return window;
}

void ShowAppWindow(WindowHandle window) {
  SDL_Window* sdl = Find(window);
  if (!sdl) return;
  detail::ApplySizeLimits(window);
  SDL_ShowWindow(sdl);
  if (!HasWindowManager()) Post(window, WM_ACTIVATEAPP, 1, 0);
}

void MaximizeAppWindow(WindowHandle window) {
  if (SDL_Window* sdl = Find(window)) SDL_MaximizeWindow(sdl);
}

void SetAppWindowTitle(WindowHandle window, const std::string& title) {
  if (SDL_Window* sdl = Find(window)) SDL_SetWindowTitle(sdl, Cp932ToUtf8(title).c_str());
}

void DestroyAppWindow(WindowHandle window) {
  SDL_Window* sdl = Find(window);
  if (!sdl) return;
  Send(window, WM_DESTROY, 0, 0);
  detail::UnregisterAppWindow(window);
  detail::PresenterWindowClosing(window);
  {
    std::lock_guard<std::mutex> lock(g_sizeMutex);
    g_clientSizes.erase(window.id);
  }
  g_bySdlId.erase(SDL_GetWindowID(sdl));
  g_windows.erase(window.id);
  g_showStates.erase(window.id);
  DestroyMessageWindow(window);
  SDL_DestroyWindow(sdl);
}

bool IsWindowMinimized(WindowHandle window) {
  auto it = g_showStates.find(window.id);
  return it != g_showStates.end() && it->second.minimized;
}

bool IsWindowMaximized(WindowHandle window) {
  auto it = g_showStates.find(window.id);
  return it != g_showStates.end() && it->second.maximized;
}

bool GetClientSize(WindowHandle window, int& width, int& height) {
  std::lock_guard<std::mutex> lock(g_sizeMutex);
  auto it = g_clientSizes.find(window.id);
  if (it == g_clientSizes.end()) return false;
  width = it->second.first;
  height = it->second.second;
  return true;
}

namespace detail {

void ApplySizeLimits(WindowHandle window) {
  SDL_Window* sdl = Find(window);
  // Only the player resizes a window, and only a resizable one.
  if (!sdl || !(GetWindowStyle(window) & WS_THICKFRAME)) return;
  MinMaxInfo info;  // left as it is: no limits
  Send(window, WM_GETMINMAXINFO, 0, reinterpret_cast<intptr_t>(&info));
  const FrameInsets f = FrameForStyle(GetWindowStyle(window));
  const int frameW = f.left + f.right, frameH = f.top + f.bottom;
  constexpr int kNoLimit = 16384;
  const int minW = info.minTrackSize.x > 0 ? info.minTrackSize.x - frameW : 1;
  const int minH = info.minTrackSize.y > 0 ? info.minTrackSize.y - frameH : 1;
  const int maxW = info.maxTrackSize.x > 0 ? info.maxTrackSize.x - frameW : kNoLimit;
  const int maxH = info.maxTrackSize.y > 0 ? info.maxTrackSize.y - frameH : kNoLimit;
  SDL_SetWindowMinimumSize(sdl, std::max(1, minW), std::max(1, minH));
  SDL_SetWindowMaximumSize(sdl, std::max(std::max(1, minW), maxW), std::max(std::max(1, minH), maxH));
}

SDL_Window* FindSdlWindow(WindowHandle window) { return g_started ? Find(window) : nullptr; }

void WakeWindowSystem() { Wake(); }

bool WindowSystemHasDisplay() { return g_started && HasWindowManager(); }

}  // namespace detail

}  // namespace plat
