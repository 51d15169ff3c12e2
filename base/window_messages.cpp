#include "base/window_messages.h"

#include "platform/clock.h"
#include "platform/thread.h"

std::atomic<plat::WindowHandle> hWndMain{plat::WindowHandle{}};
std::atomic<int> bQuit{0};

bool WaitForDone(const std::atomic<int>& done) {
  while (!done.load()) {
    if (bQuit.load() || plat::IsCancelled()) return false;
    plat::Sleep(1);
  }
  return true;
}

bool SendRequest(uint32_t message, uintptr_t wParam, intptr_t lParam, std::atomic<int>& done) {
  done = 0;
  plat::Send(hWndMain.load(), message, wParam, lParam);
  return WaitForDone(done);
}
