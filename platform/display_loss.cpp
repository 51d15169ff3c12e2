#include "platform/display_loss.h"

#include <dlfcn.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>

namespace plat {
namespace {

std::atomic<DisplayLostFn> g_handler{nullptr};

int OnDisplayLost(void*) {
  if (DisplayLostFn handler = g_handler.load()) handler();
  std::fflush(stdout);
  std::fflush(stderr);
  _exit(1);
}

}  // namespace

void SetDisplayLostHandler(DisplayLostFn handler) { g_handler.store(handler); }

namespace detail {

void WatchDisplayLoss() {
  // The window system's own copy of Xlib, already loaded; none without X11.
  void* x11 = dlopen("libX11.so.6", RTLD_NOW | RTLD_NOLOAD);
  if (!x11) return;
  using IoErrorHandler = int (*)(void*);
  using SetIoErrorHandler = IoErrorHandler (*)(IoErrorHandler);
  if (auto set = reinterpret_cast<SetIoErrorHandler>(dlsym(x11, "XSetIOErrorHandler"))) set(OnDisplayLost);
  dlclose(x11);  // SDL keeps it loaded
}

}  // namespace detail
}  // namespace plat
