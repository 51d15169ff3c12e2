// A lost 3D device between threads: the drawing thread's failed present
// sends WM_USER+100 to the main window, whose procedure resets the device
// (DDRestoreSurface) on the main thread while the drawing thread waits.
#include <gtest/gtest.h>

#include <atomic>
#include <thread>

#include "base/report_log.h"
#include "base/window_messages.h"
#include "media/dd_blit.h"
#include "media/dd_layer.h"
#include "media/dd_restore.h"
#include "platform/d3d_device.h"
#include "platform/messages.h"
#include "support/test_support.h"
#include "threads/wait_until.h"

TEST(Device3DThreads, ALostDeviceIsResetOnTheMainThreadWhileTheDrawingThreadWaits) {
  testsupport::ScopedWorkDir dir;
  ReportOpen("Report_Game.txt");
  plat::ResetD3DHooks();
  ASSERT_TRUE(DDInit(1, plat::WindowHandle{}, 640, 480, 32, 0, 0, 1, 60, 0, nullptr, nullptr, 0, 0));
  DDSURFACEDATA sprite;
  ASSERT_TRUE(DDCreateSurface(&sprite, 8, 8, 0, 0, DTMEMORYTYPE_VIDEO_RT, nullptr, 0));
  DDFillSurfaceColor(&sprite, 0xFF00FF00);

  std::atomic<int> requests{0}, resets{0};
  const plat::WindowHandle window =
      plat::CreateMessageWindow([&](plat::WindowHandle, uint32_t message, uintptr_t, intptr_t) -> intptr_t {
        if (message == WM_GAME_RESTOREDEVICE) {
          ++requests;
          if (DDRestoreSurface()) ++resets;
        }
        return 0;
      });
  std::atomic<bool> done{false};
  std::atomic<int> presentsAfterReset{0};
  std::thread drawing([&] {
    for (int frame = 0; frame < 100000 && presentsAfterReset < 5; ++frame) {
      DDBlt(&BackBuffer, frame % 600, 0, 8, 8, &sprite, 0, 0, 0);
      if (!DDPresent(0, 0, nullptr))
        plat::Send(window, WM_GAME_RESTOREDEVICE, 0, 0);
      else if (resets > 0)
        ++presentsAfterReset;
    }
    done = true;
  });
  plat::LoseD3DDevice();
  // The main thread lets the device come back after a few requests.
  EXPECT_TRUE(testsupport::PumpUntil([&] {
    if (requests >= 3) plat::AllowD3DDeviceReset();
    return done.load();
  }, 20000));
  drawing.join();
  EXPECT_GE(requests.load(), 3);
  EXPECT_EQ(resets.load(), 1);
  EXPECT_EQ(presentsAfterReset.load(), 5);
  EXPECT_TRUE(sprite.lpDT->lpTexture);
  EXPECT_EQ(sprite.bLost, 1);
  plat::DestroyMessageWindow(window);
  DDReleaseSurface(&sprite);
  DDRelease();
  plat::ResetD3DHooks();
}
