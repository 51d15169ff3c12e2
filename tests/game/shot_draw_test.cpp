// Drawing shots and swords, as recorded draws: the shot sheet's cell from
// the graphic number and the animation frame, the sheet by facing and by
// what the back end stretches from, the frozen animation, hidden shots, and
// a sword's frame from its sword image.
#include <gtest/gtest.h>

#include <memory>

#include "media/dd_layer.h"
#include "media/surface_table.h"
#include "media/system_surfaces.h"
#include "records/database.h"
#include "records/system_ini.h"
#include "shot_test_env.h"
#include "support/recording_renderer.h"

using namespace shottest;

namespace {

class ShotDrawing : public ::testing::Test {
 protected:
  void SetUp() override {
    // Every copy of the shot sheet has a surface.
    for (int i : {20, 21, 38, 39}) {
      SurfaceTable[i].lpDDS = std::make_unique<DDDATA>();
      SurfaceTable[i].lpDDS->lpSurface =
          std::shared_ptr<plat::DDSurface>(reinterpret_cast<plat::DDSurface*>(1), [](auto) {});
    }
  }
  void TearDown() override {
    for (int i : {20, 21, 38, 39}) SurfaceTable[i].lpDDS.reset();
    lpDTCon = nullptr;
  }
  // A shot of graphic 35 (column pair 1, row 5) drawn at view (80, 96).
  cShot& Shot(int vx, int scale, int hidden = 0) {
    cEdShot def = OneShot();
    def.m_nGraphic = 35;
    def.m_nScale = static_cast<int8_t>(scale);
    def.m_bTransparent = static_cast<int8_t>(hidden);
    cShot& shot = stage.Fire(owner, def, SpawnAt(400, 416, vx, 0));
    shot.UpdateScreenRect();
    return shot;
  }
  ShotStage stage;
  cChara& owner = stage.Chara(3, 3);
  RecordingRenderer renderer;
};

}  // namespace

TEST_F(ShotDrawing, AShotIsACellOfTheShotSheetByFacingAndBackEnd) {
  DTCONDATA device;
  struct Case {
    int vx, scale, stretch, direct3D;
    const char* draw;
  } cases[] = {
      {-1, 1, 0, 0, "DDBlt Back 80 96 16 16 T20 32 80 1"},
      {1, 1, 0, 0, "DDBlt Back 80 96 16 16 T21 32 80 1"},
      {-1, 2, 0, 0, "DDBltStretch Back 80 96 32 32 T38 32 80 16 16 1"},  // second copy
      {1, 2, 1, 0, "DDBltStretch Back 80 96 32 32 T21 32 80 16 16 1"},   // stretched in video memory
      {1, 2, 1, 1, "DDBltStretch Back 80 96 32 32 T21 32 80 16 16 1"},   // the 3D device
  };
  for (const Case& c : cases) {
    SystemIni.nDD_VideoStretch = c.stretch;
    lpDTCon = c.direct3D ? &device : nullptr;
    cShot& shot = Shot(c.vx, c.scale);
    shot.Draw(&BackBuffer, 1);
    EXPECT_EQ(renderer.Take(), std::vector<std::string>{c.draw});
  }
}

TEST_F(ShotDrawing, ItsAnimationAdvancesOnlyWhileThePlayRuns) {
  cShot& shot = Shot(-1, 1);
  for (int i = 0; i < 20; ++i) shot.Draw(&BackBuffer, 1);
  for (const std::string& call : renderer.Take()) EXPECT_EQ(call, "DDBlt Back 80 96 16 16 T20 32 80 1");
  // Frames 0 and 1 alternate every 8 draws: the 8th draw shows frame 1.
  std::vector<int> sources;
  for (int i = 0; i < 17; ++i) {
    shot.Draw(&BackBuffer, 0);
    const std::string call = renderer.Take().at(0);
    sources.push_back(call == "DDBlt Back 80 96 16 16 T20 48 80 1" ? 1 : 0);
  }
  const std::vector<int> expected{0, 0, 0, 0, 0, 0, 0, 1, 1, 1, 1, 1, 1, 1, 1, 0, 0};
  EXPECT_EQ(sources, expected);
}

TEST_F(ShotDrawing, AHiddenShotDrawsNothingAndHoldsItsAnimation) {
  cShot& shot = Shot(-1, 1, 1);
  for (int i = 0; i < 10; ++i) shot.Draw(&BackBuffer, 0);
  EXPECT_TRUE(renderer.Take().empty());
  EXPECT_EQ(shot.m_Anime.m_nTick, 0);
}

TEST_F(ShotDrawing, ASwordIsItsFrameOnItsSwordImage) {
  Database.m_vSwordType.resize(3);
  cEdSwordFrame& frame = Database.m_vSwordType[2].m_vFrame.At(0);
  frame.m_nWidth = 24;
  frame.m_nHeight = 8;
  frame.m_nSrcX = 48;
  frame.m_nSrcY = 16;
  frame.m_nOffsetX = frame.m_nOffsetY = 0;
  Off_Sword.resize(12);
  // The owner's view rectangle is (96, 96)..(127, 127); the sword stands in front.
  struct Case {
    int facing, scale, stretch;
    const char* draw;
  } cases[] = {
      {0, 1, 0, "DDBlt Back 72 108 24 8 W8 48 16 1"},
      {1, 1, 0, "DDBlt Back 128 108 24 8 W9 48 16 1"},
      {1, 2, 1, "DDBltStretch Back 128 104 48 16 W9 48 16 24 8 1"},
      {0, 2, 0, "DDBltStretch Back 48 104 48 16 W10 48 16 24 8 1"},
  };
  for (const Case& c : cases) {
    SystemIni.nDD_VideoStretch = c.stretch;
    owner.m_nDirection = c.facing;
    cEdShot def = OneShot();
    def.m_nPath = 2;
    def.m_nScale = static_cast<int8_t>(c.scale);
    cShot& sword = stage.Fire(owner, def, SpawnAt(0, 0, 0, 0), SHOTMAKER_SWORD);
    sword.StepSword();
    sword.UpdateScreenRect();
    sword.Draw(&BackBuffer, 0);
    EXPECT_EQ(renderer.Take(), std::vector<std::string>{c.draw}) << c.facing << c.scale;
  }
}
