// The display's hand-overs between threads: frames from the drawing thread
// to the main thread's pump, and losses from the main thread's focus events
// to the drawing thread's surfaces.
#include <gtest/gtest.h>

#include <atomic>
#include <chrono>
#include <thread>
#include <vector>

#include "platform/presenter.h"
#include "platform/soft_display.h"

TEST(DisplayThreads, EveryFrameHandedOverIsShownOrReplaced) {
  plat::ResetPresenter();
  std::atomic<bool> done{false};
  std::thread drawing([&] {
    std::vector<uint32_t> frame(64 * 48);
    for (int i = 0; i < 300; ++i) {
      std::fill(frame.begin(), frame.end(), static_cast<uint32_t>(i));
      plat::FrameView f;
      f.bits = reinterpret_cast<const uint8_t*>(frame.data());
      f.pitch = 64 * 4;
      f.width = 64;
      f.height = 48;
      plat::PresentFrame(f);
    }
    done = true;
  });
  uint32_t last = 0;
  plat::SetFrameCapture([&](const uint32_t* p, int, int) {
    EXPECT_GE(p[0], last);  // frames never go back in time
    last = p[0];
  });
  while (!done) plat::PresenterPump();
  drawing.join();
  plat::PresenterPump();
  plat::SetFrameCapture(nullptr);
  const plat::PresenterStats stats = plat::GetPresenterStats();
  EXPECT_EQ(stats.handed, 300u);
  EXPECT_EQ(stats.shown + stats.replaced, 300u);
  EXPECT_EQ(last, 299u);
  plat::ResetPresenter();
}

TEST(DisplayThreads, AFocusLossFromTheMainThreadReachesTheDrawingThreadsSurfaces) {
  std::unique_ptr<plat::DDObject> dd;
  ASSERT_EQ(plat::DDObject::Create(dd), plat::DD_OK);
  ASSERT_EQ(dd->SetCooperativeLevel(plat::WindowHandle{}, true), plat::DD_OK);
  ASSERT_EQ(dd->SetDisplayMode(640, 480, 16, 0), plat::DD_OK);
  std::atomic<bool> lost{false};
  std::thread drawing([&] {
    std::shared_ptr<plat::DDSurface> a, b;
    dd->CreateSurface(32, 32, false, a);
    dd->CreateSurface(32, 32, false, b);
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::seconds(10);
    while (!lost && std::chrono::steady_clock::now() < deadline)
      if (a->BltFast(0, 0, *b, plat::Rect{0, 0, 32, 32}, false) == plat::DDERR_SURFACELOST) lost = true;
  });
  std::this_thread::sleep_for(std::chrono::milliseconds(5));
  plat::detail::OnFocusLost();
  drawing.join();
  EXPECT_TRUE(lost);
  dd->Release();
}
