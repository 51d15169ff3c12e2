#pragma once
// Windows of the window system, made and pumped on the main thread only.
// Once started, the main thread's message waits also wake on the window
// system's events, which arrive as messages to the window concerned:
// the close button as WM_CLOSE, focus as WM_ACTIVATEAPP (wParam 1 gained,
// 0 lost), a move as WM_MOVE (lParam: the client area's screen position,
// x low word, y high word), a size change, minimising, maximising and
// restoring as WM_SIZE (wParam SIZE_*, lParam: client width, height), an
// uncovered window as WM_PAINT, a key pressed as WM_KEYDOWN (wParam the
// virtual-key code, lParam the keystroke flags). A resizable window is sent
// WM_GETMINMAXINFO (lParam a plat::MinMaxInfo, left as it is for no limits)
// when its frame becomes resizable and before it shows; the track sizes
// become its size limits. Keyboard and joystick events also fill the tables of
// platform/input.h.
// Message boxes asked for on other threads are then shown through
// the main thread's queue (served by every pump, nested ones too).
#include <string>

#include "platform/messages.h"

namespace plat {

// Starts the window system on the main thread. SDL_VIDEODRIVER=dummy runs
// without a display. False when no video driver starts. The program's
// windows carry the class "Tavrik" (X11 WM_CLASS), and the desktop's depth
// is noted for GetDesktopBpp (platform/soft_display.h).
bool StartWindowSystem();
// Puts the window class into the environment, where the window system reads
// it. Changing the environment is safe only while no other thread may read
// it, so the program does this first of all; StartWindowSystem does it too.
void SetWindowSystemEnvironment();
// Main thread, after the last window is gone.
void StopWindowSystem();

struct WindowLayout {
  int x = 0, y = 0;                         // outer position on the desktop
  int clientWidth = 640, clientHeight = 480;
  bool resizable = false;
  uint32_t style = 0;  // the style word it reports (platform/window_geometry.h)
};

// A hidden top-level window whose messages go to `proc`; WM_CREATE has run
// when it returns (a result of -1 refuses the window). None on failure.
WindowHandle CreateAppWindow(const WindowLayout& layout, WindowProc proc);

// Shows the window. Without a window manager (dummy driver) the program
// counts as active once its window shows.
void ShowAppWindow(WindowHandle window);
// Maximises a shown window (nothing without a window manager).
void MaximizeAppWindow(WindowHandle window);

// Title in Shift-JIS.
void SetAppWindowTitle(WindowHandle window, const std::string& title);

// Sends WM_DESTROY to the window's procedure, then removes the window.
void DestroyAppWindow(WindowHandle window);

// Main thread: the window is minimised, or maximised, as the window system
// last told (false for a window that does not exist).
bool IsWindowMinimized(WindowHandle window);
bool IsWindowMaximized(WindowHandle window);

// Any thread: the client size the window was made with; false for a window
// that does not exist.
bool GetClientSize(WindowHandle window, int& width, int& height);

}  // namespace plat
