// Starting and releasing the drawing layer: the step codes of a failed start,
// the fixed surfaces, the pixel layout, the refused 3D device, the leak box
// and the box over a full-screen display.
#include "base/boxes.h"
#include "dd_test_env.h"
#include "platform/d3d_device.h"

using testsupport::Sjis;

namespace {

class DrawingLayerStart : public DrawingTest {};

}  // namespace

TEST_F(DrawingLayerStart, EachFailingCreationStepGivesItsCode) {
  struct Case {
    bool window;
    plat::DisplayStep step;
    int skip;
    int bpp;
    const char* code;
    const char* reportLine;
  };
  const Case cases[] = {
      {false, plat::DisplayStep::Create, 0, 32, "CREATEEX_ERR", "DirectDrawCreateEx Err"},
      {false, plat::DisplayStep::Cooperate, 0, 32, "SETCOOPLEVEL_ERR", "SetCooperativeLevel Err"},
      {false, plat::DisplayStep::DisplayMode, 0, 32, "SETDISPLAYMODE_ERR", "SetDisplayMode Err"},
      {false, plat::DisplayStep::Surface, 0, 32, "CREATESURFACE_ERR", "Primary CreateSurface Err"},
      {false, plat::DisplayStep::Attached, 0, 32, "GETATTACHEDSURFACE_ERR", "GetAttachedSurface Err"},
      {false, plat::DisplayStep::Surface, 1, 32, "CREATESURFACE_ERR", "CreateSurface System Err"},
      {false, plat::DisplayStep::Palette, 0, 8, "CREATEPALETTE_ERR", "CreatePalette Err"},
      {false, plat::DisplayStep::SetPalette, 0, 8, "SETPALETTE_ERR", "SetPalette Err"},
      {true, plat::DisplayStep::Create, 0, 32, "CREATEEX_ERR", "DirectDrawCreateEx Err"},
      {true, plat::DisplayStep::Surface, 0, 32, "CREATESURFACE_ERR", "Primary CreateSurface Err"},
      {true, plat::DisplayStep::Palette, 0, 16, "CREATEPALETTE_ERR", "CreatePalette Err"},
      {true, plat::DisplayStep::Clipper, 0, 32, "CLIPPER_ERR", "CreateClipper Err"},
      {true, plat::DisplayStep::ClipperWindow, 0, 32, "SETHWND_ERR", "SetHWnd Err"},
      {true, plat::DisplayStep::SetClipper, 0, 32, "SETCLIPPER_ERR", "SetClipper Err"},
  };
  for (const Case& c : cases) {
    plat::ClearDisplayFailures();
    plat::FailDisplayStep(c.step, c.skip);
    EXPECT_FALSE(Start(c.bpp, c.window)) << c.code;
    EXPECT_TRUE(DebugHas(std::string(c.code) + "\r\n")) << c.code;
    EXPECT_TRUE(ReportHas(c.reportLine)) << c.reportLine;
    EXPECT_EQ(bDDReady, 0);
    DDRelease();
    ReportOpen("Report_Game.txt");
    m_dir.WriteFile("EC_Game.txt", "");
  }
  EXPECT_TRUE(m_boxes.shown.empty());  // a failed start leaves nothing behind
  plat::ClearDisplayFailures();
  EXPECT_TRUE(Start(32));
}

TEST_F(DrawingLayerStart, ARefusedRefreshRateFallsBackToAnyRate) {
  plat::FailDisplayStep(plat::DisplayStep::DisplayMode);
  EXPECT_TRUE(DDInit(0, plat::WindowHandle{}, 640, 480, 16, 1, 0, 1, 60, 1, nullptr, nullptr, 0, 0));
  EXPECT_FALSE(ReportHas("SetDisplayMode Err"));
  EXPECT_TRUE(ReportHas("VSync : 1"));
}

TEST_F(DrawingLayerStart, FixedSurfacesAndThePixelLayoutOfEachMode) {
  struct Case {
    int bpp;
    bool window;
    int channels[8];
  };
  const Case cases[] = {
      {8, false, {0, 0, 0, 0, 0, 0, 0, 0}},
      {16, false, {11, 5, 0, 0, 31, 63, 31, 0}},
      {32, false, {16, 8, 0, 0, 255, 255, 255, 0}},
      {16, true, {11, 5, 0, 0, 31, 63, 31, 0}},
      {32, true, {16, 8, 0, 0, 255, 255, 255, 0}},
  };
  for (const Case& c : cases) {
    std::memset(TextureChannels, 0, sizeof TextureChannels);
    ASSERT_TRUE(Start(c.bpp, c.window)) << c.bpp;
    EXPECT_EQ(std::vector<int>(TextureChannels, TextureChannels + 8), std::vector<int>(c.channels, c.channels + 8));
    for (DDSURFACEDATA* sd : {&Primary, &BackBuffer, &WorkDD}) {
      ASSERT_TRUE(sd->lpDDS && sd->lpDDS->lpSurface);
      EXPECT_EQ(sd->nWidth, 640);
      EXPECT_EQ(sd->nHeight, 480);
      EXPECT_EQ(sd->lpDDS->lpSurface->Bpp(), c.bpp);
    }
    EXPECT_EQ(BackBuffer.nDDMemType, 0);
    EXPECT_EQ(WorkDD.nDDMemType, 1);
    EXPECT_FALSE(WorkDD.lpDDS->lpSurface->InVideoMemory());
    EXPECT_EQ(bDDReady, 1);
    EXPECT_EQ(bWindowMode, c.window ? 1 : 0);
    EXPECT_EQ(nBytesPerPixel, c.bpp / 8);
    DDRelease();
  }
  EXPECT_EQ(Primary.lpDDS, nullptr);
  EXPECT_EQ(lpDDCon, nullptr);
}

TEST_F(DrawingLayerStart, AStartAfterAStartReleasesTheFirstCompletely) {
  ASSERT_TRUE(Start(32));
  ASSERT_TRUE(Start(16));
  ASSERT_TRUE(Start(16, true));
  EXPECT_NE(lpDDCon, nullptr);
  EXPECT_EQ(BackBuffer.lpDDS->lpSurface->Bpp(), 16);
  EXPECT_TRUE(m_boxes.shown.empty());  // nothing leaked by the restarts
}

TEST_F(DrawingLayerStart, ASurfaceStillHeldAtReleaseShowsTheLeakBox) {
  ASSERT_TRUE(Start(32));
  DDSURFACEDATA forgotten;
  ASSERT_TRUE(DDCreateSurface(&forgotten, 8, 8, 0, 0, 0, nullptr, 0));
  DDRelease();
  ASSERT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_EQ(m_boxes.shown[0].text, Sjis("解放漏れがあります"));
  EXPECT_EQ(m_boxes.shown[0].caption, "DirectDraw");
  EXPECT_TRUE(m_boxes.shown[0].error);
  DDReleaseSurface(&forgotten);
}

TEST_F(DrawingLayerStart, The3DDeviceIsRefusedBelowDriverLevel9AndTheSoftwareDisplayTakesOver) {
  plat::SetDDIVersion(8);
  EXPECT_FALSE(DDInit(1, plat::WindowHandle{}, 640, 480, 32, 0, 0, 1, 60, 0, nullptr, nullptr, 0, 0));
  EXPECT_TRUE(ReportHas(Sjis("ビデオカードのドライバがDirectX9をサポートしていません！ 8")));
  EXPECT_EQ(lpDTCon, nullptr);
  DDRelease();
  EXPECT_TRUE(DDInit(0, plat::WindowHandle{}, 640, 480, 32, 0, 0, 1, 60, 0, nullptr, nullptr, 0, 0));
  EXPECT_EQ(lpDTCon, nullptr);
  EXPECT_NE(lpDDCon, nullptr);
}

TEST_F(DrawingLayerStart, BoxesOverAFullScreenDisplayReturnThePlayersAnswer) {
  testsupport::ScriptedBoxes boxes({IDYES, IDNO});
  ASSERT_TRUE(Start(32));
  EXPECT_EQ(MessageBoxAuto("q", "c", MB_YESNO), IDYES);
  EXPECT_EQ(DDMesBox("q2", "c2", MB_YESNO), IDNO);
  ASSERT_EQ(boxes.shown.size(), 2u);
  EXPECT_EQ(boxes.shown[1].buttons, plat::BoxButtons::YesNo);
  EXPECT_TRUE(DDSetDialogMode(1));
  EXPECT_TRUE(DDSetDialogMode(0));
  DDRelease();
  // After release the boxes no longer go through the layer.
  EXPECT_EQ(MessageBoxAuto("q3", "c3", MB_OK), IDOK);
  EXPECT_EQ(boxes.shown.size(), 3u);
}

TEST_F(DrawingLayerStart, VideoMemoryInMegabytesWhileTheDisplayRuns) {
  uint32_t total = 1, free = 1;
  GetVideoMemory(total, free);
  EXPECT_EQ(total, 0u);
  EXPECT_EQ(free, 0u);
  ASSERT_TRUE(Start(32));
  GetVideoMemory(total, free);
  EXPECT_EQ(total, 256u);
  EXPECT_EQ(free, 256u - 3u);  // the primary and its back buffer, 1.2 MB each
}

TEST_F(DrawingLayerStart, ACopyToThePrimaryHandsTheFrameOver) {
  ASSERT_TRUE(Start(32, true));
  DDFillRectColor(&BackBuffer, 0, 0, 640, 480, 0x123456);
  const uint64_t before = plat::GetPresenterStats().handed;
  DDBlt(&Primary, 0, 0, 640, 480, &BackBuffer, 0, 0, 0);
  EXPECT_EQ(plat::GetPresenterStats().handed, before + 1);
  std::vector<uint32_t> shown;
  plat::SetFrameCapture([&](const uint32_t* p, int, int) { shown.assign(p, p + 2); });
  EXPECT_TRUE(plat::PresenterPump());
  plat::SetFrameCapture(nullptr);
  EXPECT_EQ(shown, (std::vector<uint32_t>{0x123456, 0x123456}));
  EXPECT_TRUE(DDPresent(60, 0, nullptr));
}
