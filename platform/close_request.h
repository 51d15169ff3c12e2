#pragma once
// The request to end the program in order (the system's WM_CLOSE to its main
// window). Any thread may post it, any number of times.
#include <cstdint>
#include <functional>

namespace plat {

// Posts the request: counts it and hands it to the close handler, if the
// main window has installed one.
void RequestClose();

// How many requests were posted since start-up or the last reset.
uint32_t CloseRequestCount();
// Also forgets the requests that found no handler.
void ResetCloseRequests();

// The requests that came while no handler was installed (before the main
// window existed, or after it went), counted since the last take; the main
// window takes them once its handler is in and closes if there were any.
uint32_t TakeUnhandledCloseRequests();

// The main window installs the handler that turns a request into its own
// close message; an empty function removes it. The handler may run on any thread.
void SetCloseHandler(std::function<void()> handler);

}  // namespace plat
