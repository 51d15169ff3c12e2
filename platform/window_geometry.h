#pragma once
// Window styles, frame metrics, rectangles and the desktop, with the values
// the system's code was written against. Every window of the window system
// (the main window, dialogs and their controls) has an outer rectangle on the
// screen, a client area inside its frame, and a style word. Main thread only.
#include <cstdint>

#include "platform/messages.h"
#include "platform/rect.h"

// Window styles (GWL_STYLE bits).
constexpr uint32_t WS_POPUP = 0x80000000;
constexpr uint32_t WS_CHILD = 0x40000000;
constexpr uint32_t WS_VISIBLE = 0x10000000;
constexpr uint32_t WS_DISABLED = 0x08000000;
constexpr uint32_t WS_CAPTION = 0x00C00000;  // WS_BORDER | WS_DLGFRAME
constexpr uint32_t WS_BORDER = 0x00800000;
constexpr uint32_t WS_DLGFRAME = 0x00400000;
constexpr uint32_t WS_VSCROLL = 0x00200000;
constexpr uint32_t WS_HSCROLL = 0x00100000;
constexpr uint32_t WS_SYSMENU = 0x00080000;  // a caption with a close box
constexpr uint32_t WS_THICKFRAME = 0x00040000;
constexpr uint32_t WS_MINIMIZEBOX = 0x00020000;
constexpr uint32_t WS_MAXIMIZEBOX = 0x00010000;
constexpr uint32_t WS_GROUP = 0x00020000;    // controls: first of a group
constexpr uint32_t WS_TABSTOP = 0x00010000;  // controls: Tab stops here
constexpr uint32_t DS_MODALFRAME = 0x00000080;  // dialogs: a dialog frame even without caption

// Indices of GetSystemMetrics.
constexpr int SM_CXSCREEN = 0;
constexpr int SM_CYSCREEN = 1;
constexpr int SM_CXVSCROLL = 2;
constexpr int SM_CYHSCROLL = 3;
constexpr int SM_CYCAPTION = 4;
constexpr int SM_CXBORDER = 5;
constexpr int SM_CYBORDER = 6;
constexpr int SM_CXDLGFRAME = 7;
constexpr int SM_CYDLGFRAME = 8;
constexpr int SM_CYMENU = 15;
constexpr int SM_CXFULLSCREEN = 16;
constexpr int SM_CYFULLSCREEN = 17;
constexpr int SM_CXFRAME = 32;
constexpr int SM_CYFRAME = 33;

namespace plat {


// What WM_GETMINMAXINFO's lParam points to.
struct MinMaxInfo {
  Point reserved, maxSize, maxPosition, minTrackSize, maxTrackSize;
};

// Frame sizes are a fixed table of ours, the same with every video driver;
// screen sizes come from the first display. 0 for an unknown index.
int GetSystemMetrics(int index);

// The frame that the window system puts around a client area of this style:
// a caption (both caption bits) on top, then a thick frame, or else a dialog
// frame when WS_DLGFRAME comes without WS_BORDER.
struct FrameInsets {
  int left = 0, top = 0, right = 0, bottom = 0;
};
FrameInsets FrameForStyle(uint32_t style);

// The desktop's work area (without panels) and its whole rectangle, in
// screen pixels. With no window system: 0, 0, 640, 480.
Rect GetWorkArea();
Rect GetDesktopRect();

// Outer rectangle on the screen; false (untouched) for no window.
bool GetWindowRect(WindowHandle window, Rect& out);
// Client rectangle: 0, 0, width, height.
bool GetClientRect(WindowHandle window, Rect& out);
// Moves and sizes the outer rectangle (screen pixels; controls: relative to
// their dialog's client area). A dialog gets WM_MOVE and WM_SIZE.
bool SetWindowPos(WindowHandle window, int x, int y, int width, int height);
bool ClientToScreen(WindowHandle window, Point& point);
bool ScreenToClient(WindowHandle window, Point& point);

// The style word; writing WS_DISABLED or WS_VISIBLE also disables or hides.
// 0 for no window.
uint32_t GetWindowStyle(WindowHandle window);
bool SetWindowStyle(WindowHandle window, uint32_t style);
bool ShowWindow(WindowHandle window, bool show);
bool EnableWindow(WindowHandle window, bool enable);

}  // namespace plat
