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
void ResetCloseRequests();

// The main window installs the handler that turns a request into its own
// close message; an empty function removes it. The handler may run on any thread.
void SetCloseHandler(std::function<void()> handler);

}  // namespace plat
