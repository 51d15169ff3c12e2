// Starting the 3D back end: formats and channel layouts per depth, the
// fixed surfaces, refused depths and devices, the refresh rate and vertical
// sync, dialog mode, and release.
#include "base/boxes.h"
#include "base/timers.h"
#include "dd_test_env.h"
#include "media/dd_facts.h"
#include "media/dd_restore.h"
#include "platform/clock.h"
#include "platform/d3d_device.h"

using testsupport::Sjis;

namespace {

class Start3DDevice : public DrawingTest {};

std::vector<int> Channels(const int c[8]) { return std::vector<int>(c, c + 8); }

}  // namespace

TEST_F(Start3DDevice, EachDepthHasItsFormatsAndChannelLayouts) {
  struct Case {
    int bpp;
    bool window;
    int32_t backBuffer, texture;
    std::vector<int> textureChannels, backChannels;
    const char* line;
  };
  const Case cases[] = {
      {16, false, D3DFMT_R5G6B5, D3DFMT_A1R5G5B5, {10, 5, 0, 15, 31, 31, 31, 1}, {11, 5, 0, 16, 31, 63, 31, 0},
       "R5G6B5"},
      {16, true, D3DFMT_A1R5G5B5, D3DFMT_A1R5G5B5, {10, 5, 0, 15, 31, 31, 31, 1}, {10, 5, 0, 15, 31, 31, 31, 1},
       "A1R5G5B5"},
      // At 32 bits the back buffer's layout is left as it was.
      {32, false, D3DFMT_X8R8G8B8, D3DFMT_A8R8G8B8, {16, 8, 0, 24, 255, 255, 255, 255}, {}, "X8R8G8B8"},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(Start3D(c.bpp, c.window)) << c.bpp;
    ASSERT_NE(lpDTCon, nullptr);
    EXPECT_EQ(lpDTCon->nBackBufferFormat, c.backBuffer);
    EXPECT_EQ(lpDTCon->nTextureFormat, c.texture);
    EXPECT_EQ(Channels(TextureChannels), c.textureChannels);
    if (!c.backChannels.empty()) {
      EXPECT_EQ(Channels(BackBufferChannels), c.backChannels);
    }
    EXPECT_TRUE(ReportHas("Device HAL-HARD"));
    EXPECT_TRUE(ReportHas(c.line));
    EXPECT_EQ(bDirect3DBackEnd.load(), 1);
    // The fixed surfaces: the device's back buffer (id 0), and the stand-in
    // back buffer and work texture as render targets of the screen's size.
    EXPECT_EQ(BackBuffer.szSurfaceType, "BackBuffer");
    EXPECT_EQ(BackBuffer.lpDT->id, 0);
    EXPECT_EQ(BackBuffer.lpDT->bRenderTarget, 1);
    EXPECT_EQ(VirBackBuffer.szSurfaceType, "VirBackBuffer");
    EXPECT_EQ(WorkSD.szSurfaceType, "WorkSD");
    EXPECT_EQ(VirBackBuffer.nWidth, 640);
    EXPECT_EQ(WorkSD.lpDT->bRenderTarget, 1);
    EXPECT_EQ(RestoreList.Size(), 2);
    EXPECT_EQ(lpDTCon->nNextSurfaceID, 3);
    EXPECT_EQ(lpDTCon->lpRestingTarget, &VirBackBuffer);
    DDRelease();
    EXPECT_EQ(lpDTCon, nullptr);
    EXPECT_EQ(bDirect3DBackEnd.load(), 0);
    EXPECT_EQ(RestoreList.Size(), 0);
  }
}

TEST_F(Start3DDevice, OtherDepthsAndMissingDevicesFailAndTheSoftwareDisplayTakesOver) {
  struct Case {
    const char* what;
    int bpp;
    plat::D3DCall fail;
    int32_t result;
    std::string line;
  };
  const Case cases[] = {
      {"8 bits", 8, plat::D3DCall::Count, 0, "no 3D device at 8 bits"},
      {"24 bits", 24, plat::D3DCall::Count, 0, "no 3D device at 24 bits"},
      {"no 3D object", 32, plat::D3DCall::Create, 0, Sjis("ビデオカードがDirectX9をサポートしていません！")},
      {"no device", 32, plat::D3DCall::CreateDevice, plat::D3DERR_NOTAVAILABLE, "CreateDevice Err"},
  };
  for (const Case& c : cases) {
    if (c.fail == plat::D3DCall::CreateDevice) {
      // Hardware vertex processing is refused and then software fails too.
      plat::RefuseD3DHardwareVertexProcessing(true);
      plat::FailD3DCall(c.fail, c.result, 1);
    } else {
      plat::FailD3DCall(c.fail, c.result);
    }
    EXPECT_FALSE(Start3D(c.bpp)) << c.what;
    EXPECT_TRUE(ReportHas(c.line) || DebugHas(c.line)) << c.what;
    DDRelease();
    EXPECT_EQ(lpDTCon, nullptr) << c.what;
    EXPECT_EQ(bDirect3DBackEnd.load(), 0) << c.what;
    ASSERT_TRUE(Start(32)) << c.what;
    EXPECT_NE(lpDDCon, nullptr);
    DDRelease();
    plat::ResetD3DHooks();
  }
}

TEST_F(Start3DDevice, WithoutHardwareVertexProcessingTheDeviceRunsInSoftware) {
  plat::RefuseD3DHardwareVertexProcessing(true);
  ASSERT_TRUE(Start3D(32));
  EXPECT_TRUE(ReportHas("Device HAL-SOFT"));
  EXPECT_FALSE(ReportHas("Device HAL-HARD"));
}

TEST_F(Start3DDevice, AWindowWithVSyncOnADisplayAtAnotherRateIsPacedInstead) {
  plat::FakeClock clock(1000);
  struct Case {
    int hz;
    int vsync;
    std::vector<std::string> lines;
  };
  const Case cases[] = {
      {60, 1, {"RefreshRate : 60"}},
      {75, 0,
       {"ChangeDisplaySettings != DISP_CHANGE_SUCCESSFUL", "RefreshRate : 75",
        Sjis("リフレッシュレートの変更に失敗しました！垂直同期が無効になります！")}},
  };
  for (const Case& c : cases) {
    plat::SetDisplayRefreshRate(c.hz);
    ASSERT_TRUE(Start3D(32, true, nullptr, nullptr, 0, 1));
    EXPECT_EQ(bVSync, c.vsync) << c.hz;
    for (const std::string& line : c.lines) EXPECT_TRUE(ReportHas(line)) << line;
    EXPECT_EQ(lpDTCon->PresentParams.presentationInterval,
              c.vsync ? plat::D3DPRESENT_INTERVAL_DEFAULT : plat::D3DPRESENT_INTERVAL_IMMEDIATE);
    // Paced presents: 60 frames take a second of the clock.
    if (!c.vsync) {
      ResetTimers();
      const uint32_t start = clock.Now();
      for (int i = 0; i < 61; ++i) EXPECT_TRUE(DDPresent(60, 0, nullptr));
      EXPECT_NEAR(static_cast<double>(clock.Now() - start), 1000.0, 2.0);
    }
    DDRelease();
  }
}

TEST_F(Start3DDevice, DialogModeInFullScreenEndsTheSceneAndReportsAFailure) {
  ASSERT_TRUE(Start3D(32));
  ASSERT_EQ(DDBeginScene(), 1);
  EXPECT_TRUE(DDSetDialogMode(1));
  EXPECT_EQ(lpDTCon->bInScene, 0);
  EXPECT_TRUE(DDSetDialogMode(0));
  plat::FailD3DCall(plat::D3DCall::SetDialogBoxMode, plat::D3DERR_INVALIDCALL);
  EXPECT_FALSE(DDSetDialogMode(1));
  EXPECT_TRUE(DebugHas("D3D_OK != lpDevice->SetDialogBoxMode(TRUE)"));
  testsupport::ScriptedBoxes boxes({IDNO});
  EXPECT_EQ(DDMesBox("q", "c", MB_YESNO), IDNO);
}

TEST_F(Start3DDevice, TheHardwareReportReadsTheRunningBackEnd) {
  ASSERT_TRUE(Start3D(16, true));
  DDDRAWINGFACTS f = DDGetDrawingFacts();
  EXPECT_EQ(f.bDirect3D, 1);
  EXPECT_EQ(f.bDirectDraw, 0);
  EXPECT_EQ(f.bWindowMode, 1);
  EXPECT_EQ(f.nBpp, 16);
  EXPECT_EQ(f.nDDIVersion, 9);
  EXPECT_EQ(f.nMonitorFrequency, 60u);
  EXPECT_EQ(f.nMaxTextureWidth, 8192);
  EXPECT_EQ(f.nMaxTextureBlendStages, 8);
  // 256 MB less the back buffer and the two screen-sized render targets.
  EXPECT_EQ(f.nTextureMemoryMB, (256 * 1048576 - 3 * 640 * 480 * 2) >> 20);
  DDRelease();
  ASSERT_TRUE(Start(32));
  f = DDGetDrawingFacts();
  EXPECT_EQ(f.bDirect3D, 0);
  EXPECT_EQ(f.bDirectDraw, 1);
  EXPECT_EQ(f.nBpp, 32);
  EXPECT_EQ(f.nVideoTotalMB, 256);
  EXPECT_EQ(f.nTextureMemoryMB, 0);
}
