#pragma once
// Where the pointer is, as the window system's events told (events pushed by
// tests count as well). The main thread's pump writes it; any thread may read
// it. Which keys and buttons are down is the key table's (platform/input.h).
#include "platform/window_geometry.h"

namespace plat {

// Screen position of the pointer; false before the window system started.
bool GetCursorPos(Point& screen);

// Moves the pointer where the window system allows it and records the
// position, so that GetCursorPos reports it either way. Main thread.
bool SetCursorPos(int x, int y);

namespace detail {
// Main thread: the pump notes where each event puts the pointer.
void NoteCursor(int x, int y);
// Every key and button up, the pointer at 0, 0 (window system start).
void ResetInputState();
}  // namespace detail

}  // namespace plat
