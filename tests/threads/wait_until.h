#pragma once
// Bounded waits for the thread tests: the bound only guards against a hang;
// a passing test never comes near it.
#include <chrono>
#include <functional>
#include <thread>

#include "platform/messages.h"

namespace testsupport {

// Polls `done` without taking part in messages.
inline bool WaitUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    std::this_thread::sleep_for(std::chrono::microseconds(200));
  }
  return true;
}

// Pumps the calling thread's messages (serving sent ones, dispatching posted
// ones) until `done`, as a modal loop does.
inline bool PumpUntil(const std::function<bool()>& done, int timeoutMs = 5000) {
  auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() > deadline) return false;
    plat::Message msg;
    while (plat::Peek(msg)) {
      if (msg.message == WM_QUIT) break;
      plat::Dispatch(msg);
    }
    plat::WaitForMessage(1);
  }
  return true;
}

}  // namespace testsupport
