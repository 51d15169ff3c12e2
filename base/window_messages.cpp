#include "base/window_messages.h"

#include "platform/clock.h"
#include "platform/thread.h"

std::atomic<plat::WindowHandle> hWndMain{plat::WindowHandle{}};
std::atomic<int> bQuit{0};
std::atomic<int> bAppActive{0};
std::atomic<int> bNameDone{0};
std::atomic<int> FileDlgDone{0};
std::atomic<int> FileDlgResult{0};

// Sound.dat's records follow the 16 system sounds in the bank.
constexpr int kUserSeFirstSlot = 16;

void PlaySe(int slot) { plat::Send(hWndMain.load(), WM_GAME_PLAYSE, static_cast<uintptr_t>(slot), 0); }

void PlayUserSe(int16_t number) {
  if (number == 0) return;
  PlaySe(number + kUserSeFirstSlot);
}

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
