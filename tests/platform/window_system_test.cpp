// What the window system gives the program besides its windows' events:
// the desktop's depth, the program's icon, and close requests that come
// while no window takes them.
#include <gtest/gtest.h>

#include <atomic>

#include "platform/app_icon.h"
#include "platform/close_request.h"
#include "platform/soft_display.h"
#include "platform/window.h"

TEST(WindowSystem, TheDesktopDepthComesFromTheWindowSystemIn16Or32BitSteps) {
  plat::SetDesktopBpp(0);
  ASSERT_TRUE(plat::StartWindowSystem());
  EXPECT_EQ(plat::GetDesktopBpp(), 32);  // the headless driver's desktop has 24-bit pixels
  struct Case {
    int reported, depth;
  } cases[] = {{24, 32}, {15, 16}, {16, 16}, {32, 32}, {8, 8}};
  for (const Case& c : cases) {
    plat::SetDesktopBpp(c.reported);
    EXPECT_EQ(plat::GetDesktopBpp(), c.depth) << c.reported;
  }
  plat::SetDesktopBpp(0);
  plat::StopWindowSystem();
}

TEST(WindowSystem, TheProgramsIconIsARealOneUntilItIsFreed) {
  ASSERT_TRUE(plat::StartWindowSystem());
  plat::WindowHandle window = plat::CreateAppWindow(plat::WindowLayout{}, [](plat::WindowHandle, uint32_t, uintptr_t,
                                                                               intptr_t) -> intptr_t { return 0; });
  ASSERT_TRUE(window);
  const plat::IconHandle icon = plat::CreateProgramIcon();
  EXPECT_NE(icon, 0u);
  EXPECT_NE(icon, 1u);
  plat::SetAppWindowIcon(window, icon);
  plat::DestroyIcon(icon);
  plat::DestroyIcon(icon);  // a second time does nothing
  plat::DestroyIcon(0);
  plat::SetAppWindowIcon(window, icon);  // a freed icon is ignored
  plat::DestroyAppWindow(window);
  plat::StopWindowSystem();
}

TEST(CloseRequests, ThoseThatFoundNoHandlerWaitForTheNextOne) {
  plat::ResetCloseRequests();
  plat::SetCloseHandler(nullptr);
  plat::RequestClose();
  plat::RequestClose();
  EXPECT_EQ(plat::CloseRequestCount(), 2u);
  EXPECT_EQ(plat::TakeUnhandledCloseRequests(), 2u);
  EXPECT_EQ(plat::TakeUnhandledCloseRequests(), 0u);

  std::atomic<int> handled{0};
  plat::SetCloseHandler([&] { ++handled; });
  plat::RequestClose();
  EXPECT_EQ(handled.load(), 1);
  EXPECT_EQ(plat::TakeUnhandledCloseRequests(), 0u);
  plat::SetCloseHandler(nullptr);

  plat::RequestClose();
  plat::ResetCloseRequests();
  EXPECT_EQ(plat::TakeUnhandledCloseRequests(), 0u);
  EXPECT_EQ(plat::CloseRequestCount(), 0u);
}
