#pragma once
// A windowed software display whose presents a test can watch: each shown
// frame counts and calls the hook with its number, on the thread presenting.
#include <atomic>
#include <functional>

#include "media/dd_frame.h"

class HookedFrames : public cFrameDrawing {
 public:
  bool IsDirect3D() override { return false; }
  bool IsWindowed() override { return true; }
  bool IsPrimaryLost() override { return false; }
  void ShowFrame(int) override {
    const int n = ++shown;
    if (hook) hook(n);
  }
  std::atomic<int> shown{0};
  std::function<void(int)> hook;
};
