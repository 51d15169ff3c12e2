#pragma once
// Losing the display (the X server ends or its connection breaks) would have
// Xlib end the process with exit(), running static destructors over threads
// that still run. Instead the handler set here runs on the thread that met
// the loss (a line for the report log), standard streams are flushed, and
// the process ends at once with exit code 1. The program's files are
// replaced atomically, so none is left half-written.
namespace plat {

using DisplayLostFn = void (*)();
// Set before the window system starts; null removes it.
void SetDisplayLostHandler(DisplayLostFn handler);

namespace detail {
// Called by the window system once its X11 connection is open.
void WatchDisplayLoss();
}  // namespace detail

}  // namespace plat
