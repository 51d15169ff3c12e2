#pragma once
// Where the pointer is and which keys and mouse buttons are down, as the
// window system's events told (events pushed by tests count as well). The
// main thread's pump writes it; any thread may read it.
#include "platform/window_geometry.h"

namespace plat {

// Screen position of the pointer; false before the window system started.
bool GetCursorPos(Point& screen);

// Moves the pointer where the window system allows it and records the
// position, so that GetCursorPos reports it either way. Main thread.
bool SetCursorPos(int x, int y);

// True while the key is down; VK_LBUTTON, VK_RBUTTON and VK_MBUTTON name the
// mouse buttons. Codes outside 0..255 are never down.
bool IsVirtualKeyHeld(int vk);

namespace detail {
// Main thread: the pump notes what each event says.
void NoteCursor(int x, int y);
void NoteKeyHeld(int vk, bool down);
// Everything up, the pointer at 0, 0 (window system start and stop).
void ResetInputState();
}  // namespace detail

}  // namespace plat
