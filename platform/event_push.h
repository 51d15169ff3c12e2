#pragma once
// Tests: events made up as the window system would deliver them, pushed into
// its queue; the next pump takes them like real ones. Positions are in the
// pixels of the SDL window `windowId` (see DialogShown). False when the
// queue refuses the event. Main thread.
#include <cstdint>
#include <string>

#include "platform/window_geometry.h"

namespace plat {

// Modifier keys held with a key.
enum KeyMods : unsigned { kModShift = 1, kModCtrl = 2, kModAlt = 4 };

bool PushKeyEvent(uint32_t windowId, int vk, bool down, unsigned mods = 0, bool repeat = false);
// Down, then up.
bool PushKeyStroke(uint32_t windowId, int vk, unsigned mods = 0);
// Text typed, as the input method hands it over (UTF-8).
bool PushTextInput(uint32_t windowId, const std::string& utf8);
// The input method's composition so far (UTF-8); empty ends it.
bool PushTextEditing(uint32_t windowId, const std::string& utf8);
// button: 1 left, 2 middle, 3 right.
bool PushMouseButton(uint32_t windowId, int x, int y, int button, bool down);
bool PushMouseMotion(uint32_t windowId, int x, int y);
// A left click at the centre of the rectangle.
bool PushClick(uint32_t windowId, const Rect& rect);
// Two left clicks there, the second one counted as a double click.
bool PushDoubleClick(uint32_t windowId, const Rect& rect);

// What the window manager tells of a window: moved to (a, b), resized to a x
// b, minimised, maximised, restored, uncovered.
enum class WindowEventKind { Moved, Resized, Minimized, Maximized, Restored, Exposed };
bool PushWindowEvent(uint32_t windowId, WindowEventKind kind, int a = 0, int b = 0);

// The window id of an app window (platform/window.h) for the pushes above;
// 0 when it does not exist.
uint32_t AppWindowSdlId(WindowHandle window);

}  // namespace plat
