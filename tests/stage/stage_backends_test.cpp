// A stage frame on every back end the program runs on: the software display
// at 8, 16 and 32 bits and the 3D device at 16 and 32, plain and with a
// screen effect (on the stand-in back buffer) and a colour tone; the shot
// caches come back after their loss.
#include <gtest/gtest.h>

#include <algorithm>
#include <iterator>
#include <set>

#include "media/dd_layer.h"
#include "media/dd_restore.h"
#include "media/palette_scheme.h"
#include "media/surface_table.h"
#include "platform/d3d_device.h"
#include "records/chara_effect.h"
#include "records/database.h"
#include "stage_draw_env.h"
#include "support/shown_frame.h"

using namespace testsupport;

namespace {

struct Backend {
  const char* name;
  bool d3d;
  int bpp;
};

StageRunner::Options Options(const Backend& b) {
  StageRunner::Options o;
  o.drawing = StageRunner::Drawing::Layer;
  o.d3d = b.d3d;
  o.bpp = b.bpp;
  return o;
}

void RunFrames(const Backend& b) {
  for (int bStandIn : {0, 1}) {
    SCOPED_TRACE(std::string(b.name) + (bStandIn ? " with a screen effect and a tone" : ""));
    stagedraw::DrawnStage t(Options(b));
    t.Start();
    ASSERT_NE(t.scene, nullptr);
    // The caches lose their cells: the device is lost and reset, or the
    // display's copy is spoilt and flagged as the restore does.
    const uint32_t before = b.d3d ? 0 : stagedraw::PixelOf(&SurfaceTable[64], 8 + 32 * 2 + 3, 8 + 32 * 5 + 4);
    if (b.d3d) {
      plat::LoseD3DDevice();
      plat::AllowD3DDeviceReset();
      ASSERT_EQ(DDRestoreSurface(), 1);
    } else {
      DDFillSurface(&SurfaceTable[64], 5);
      SurfaceTable[64].bLost = 1;
    }
    ASSERT_EQ(SurfaceTable[64].bLost, 1);
    // Play shows the whole palette; the fade-in of the first frame had just begun.
    std::copy(std::begin(BasePalette), std::end(BasePalette), std::begin(CurPalette));
    if (b.bpp == 8) ShowPalette(0, 256);
    t.scene->m_nPhase = STAGESTATE_PLAY;
    if (bStandIn) {
      // A wave and a half-strength red tone over the frame.
      cEdScrEffect& wave = Database.m_vScrEffect.At(1);
      wave.m_nKind = 6;
      const int32_t p[5] = {10, 0, 16, 2, 8};
      std::copy(std::begin(p), std::end(p), wave.m_anParam);
      Database.FillWorkingCopies();
      BuildScrEffectStates(ScrFxInstA, ScrFxInstB);
      t.scene->m_ScreenEffect.Start(1, 0, 0);
      const int32_t red[8] = {255, 0, 0, 50, 0, 10, 0, 0};
      t.scene->m_ColorTone.Start(red);
    }
    t.scene->Draw(1, 0, 1, 1);
    EXPECT_EQ(SurfaceTable[63].bLost, 0);
    EXPECT_EQ(SurfaceTable[64].bLost, 0);
    if (!b.d3d) EXPECT_EQ(stagedraw::PixelOf(&SurfaceTable[64], 8 + 32 * 2 + 3, 8 + 32 * 5 + 4), before);
    if (b.d3d) EXPECT_EQ(lpDTCon->bVirBackBuffer, bStandIn);
    // The player sees the stage: the back colour, blocks, the hero, the bar.
    const RgbImage shown = ShownFrame();
    const std::set<uint32_t> colours(shown.pixels.begin(), shown.pixels.end());
    EXPECT_GE(colours.size(), 6u);
    DDUseVirBackBuffer(0);
  }
}

}  // namespace

TEST(StageFrameBackends, SoftwareDisplayAt8Bits) { RunFrames({"DD 8", false, 8}); }
TEST(StageFrameBackends, SoftwareDisplayAt16Bits) { RunFrames({"DD 16", false, 16}); }
TEST(StageFrameBackends, SoftwareDisplayAt32Bits) { RunFrames({"DD 32", false, 32}); }
TEST(StageFrameBackends, Device3DAt16Bits) { RunFrames({"3D 16", true, 16}); }
TEST(StageFrameBackends, Device3DAt32Bits) { RunFrames({"3D 32", true, 32}); }
