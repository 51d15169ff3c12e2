#pragma once
// Inside platform/ only: the window system's side of a window handle, for
// the presenter.
#include <SDL.h>

#include "platform/messages.h"

namespace plat::detail {

// Main thread: the SDL window behind a handle; null when there is none or
// the window system is not started.
SDL_Window* FindSdlWindow(WindowHandle window);
// Any thread: makes the main thread's wait for events return (nothing while
// the window system is not started).
void WakeWindowSystem();
// Main thread: the window system runs on a real display (not the headless driver).
bool WindowSystemHasDisplay();
// Main thread: asks a resizable app window for its size limits
// (WM_GETMINMAXINFO) and gives them to the window system.
void ApplySizeLimits(WindowHandle window);

}  // namespace plat::detail
