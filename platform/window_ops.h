#pragma once
// Inside platform/ only: what each kind of window (an app window of
// window.cpp, a dialog, a dialog's control) answers about its place and style,
// found by handle. Main thread only.
#include <SDL.h>

#include "platform/window_geometry.h"

namespace plat::detail {

class WindowOps {
 public:
  virtual ~WindowOps() = default;
  virtual Rect OuterRect() = 0;       // screen
  virtual Point ClientOrigin() = 0;   // screen
  virtual int ClientWidth() = 0;
  virtual int ClientHeight() = 0;
  virtual void Place(int x, int y, int width, int height) = 0;  // outer
  virtual uint32_t Style() = 0;
  virtual void SetStyle(uint32_t style) = 0;
};

// The object stays owned by the caller and must be unregistered before it goes.
void RegisterWindowOps(WindowHandle window, WindowOps* ops);
void UnregisterWindowOps(WindowHandle window);
WindowOps* FindWindowOps(WindowHandle window);

// Top-level windows of window.cpp: the SDL window is their client area and
// the frame of their style lies around it.
void RegisterAppWindow(WindowHandle window, SDL_Window* sdl, uint32_t style);
void UnregisterAppWindow(WindowHandle window);
SDL_Window* FindAppSdlWindow(WindowHandle window);
WindowHandle FindAppWindowBySdlId(uint32_t windowId);
// One top-level window of window.cpp (the program has one); none if none.
WindowHandle AnyAppWindow();

}  // namespace plat::detail
