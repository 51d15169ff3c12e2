// Where graphics are drawn from: SetGraphicSource per kind, mode and facing
// with the copy set the back end stretches from and the character sheets'
// fall-back cell; SelectCharaSurfaces; SwordSurfaceIndex; DrawItemIcon as
// recorded draws.
#include <gtest/gtest.h>

#include <memory>

#include "game/characters.h"
#include "game/graphic_source.h"
#include "media/dd_layer.h"
#include "media/surface_table.h"
#include "records/database.h"
#include "records/palette_ref.h"
#include "records/system_ini.h"
#include "support/game_world.h"
#include "support/recording_renderer.h"

using namespace testsupport;

namespace {

class GraphicSource : public ::testing::Test {
 protected:
  void SetUp() override {
    nBpp = 32;
    Off_StageBmp.resize(8);  // extra images 1 and 2
    cEdBmpCharaExc large;
    large.m_bLargeCell = 1;
    large.m_nCellScale = 2;  // 64-dot cells, 8 a row
    Database.m_vBmpCharaExc.resize(3);
    Database.m_vBmpCharaExc[1] = large;
    right.m_nDirection = 1;
    left.m_nDirection = 0;
  }
  static std::string Name(const DDSURFACEDATA* s) { return RecordingRenderer::SurfaceName(s); }
  // "A1 A2 B1 B2 chosenA chosenB x y cellSize scale"
  static std::string Describe(const GRAPHICSOURCE& g) {
    return Name(g.lpFirstA) + " " + Name(g.lpSecondA) + " " + Name(g.lpFirstB) + " " + Name(g.lpSecondB) + " " +
           Name(g.lpChosenA) + " " + Name(g.lpChosenB) + " " + std::to_string(g.nSrcX) + " " +
           std::to_string(g.nSrcY) + " " + std::to_string(g.bCellSize) + " " + std::to_string(g.nCellScale);
  }
  GameWorld world;
  cGameObject right, left;
};

}  // namespace

TEST_F(GraphicSource, EachKindModeAndFacing) {
  struct Case {
    int mode, kind, number, column, frame;
    const cGameObject* obj;
    const char* source;
  };
  const cGameObject* R = &right;
  const cGameObject* L = &left;
  const Case cases[] = {
      {GRAPHICMODE_PLAIN, GRAPHICKIND_BLOCK, 17, 0, 0, nullptr, "T2 T3 T2 T3 T3 T3 32 64 0 1"},
      // Graphic 16: sheet 1 (entries 6, 7; 24, 25), row 1.
      {GRAPHICMODE_CHARA, GRAPHICKIND_CHARA, 16, 0, 0, R, "T7 T25 T6 T24 T25 T24 0 32 0 1"},
      {GRAPHICMODE_CHARA, GRAPHICKIND_CHARA, 16, 2, 3, L, "T6 T24 T7 T25 T24 T25 160 32 0 1"},
      {GRAPHICMODE_CHARA, GRAPHICKIND_CHARA, 16, 0, 0, nullptr, "T6 T24 T7 T25 T24 T25 0 32 0 1"},
      {GRAPHICMODE_PLAIN, GRAPHICKIND_CHARA, 2, 25, 0, nullptr, "T5 T23 null null T23 null 160 64 0 1"},
      {GRAPHICMODE_PLAIN, GRAPHICKIND_CHARA, 2, 19, 0, nullptr, "T4 T22 null null T22 null 608 64 0 1"},
      // Outside its sheet: the first cell of the first sheet.
      {GRAPHICMODE_CHARA, GRAPHICKIND_CHARA, 16, 18, 2, R, "T4 T22 T4 T22 T22 T22 0 0 0 1"},
      {GRAPHICMODE_CHARA, GRAPHICKIND_CHARA, 16, 0, ANIMECODE_END, R, "T4 T22 T4 T22 T22 T22 0 0 0 1"},
      {GRAPHICMODE_CHARA, GRAPHICKIND_CHARA, 130, 0, 0, R, "T4 T22 T4 T22 T22 T22 0 0 0 1"},
      {GRAPHICMODE_CHARA, GRAPHICKIND_CHARA, -1, 0, 0, R, "T4 T22 T4 T22 T22 T22 0 0 0 1"},
      {GRAPHICMODE_ITEM, GRAPHICKIND_ITEM, 16, 0, 1, nullptr, "T40 T41 T40 T41 T41 T41 96 32 0 1"},
      {GRAPHICMODE_PLAIN, GRAPHICKIND_ITEM, 16, 0, 1, nullptr, "T40 T41 T40 T41 T41 T41 64 32 0 1"},
      {GRAPHICMODE_CHARA, GRAPHICKIND_SHOT, 31, 0, 0, R, "T64 T64 T63 T63 T64 T63 64 32 0 1"},
      {GRAPHICMODE_CHARA, GRAPHICKIND_SHOT, 31, 0, 0, L, "T63 T63 T64 T64 T63 T64 64 32 0 1"},
      {GRAPHICMODE_PLAIN, GRAPHICKIND_SHOT, 31, 0, 0, nullptr, "T63 T63 null null T63 null 64 32 0 1"},
      // Extra image 1 has 64-dot cells, 8 a row; image 2 the plain 32-dot cells.
      {GRAPHICMODE_CHARA, GRAPHICKIND_CHARA_BMP, 1, 7, 2, R, "S1 S3 S0 S2 S3 S2 64 64 1 2"},
      {GRAPHICMODE_PLAIN, GRAPHICKIND_CHARA_BMP, 1, 7, 2, R, "S0 S2 null null S2 null 448 0 1 2"},
      {GRAPHICMODE_CHARA, GRAPHICKIND_CHARA_BMP, 2, 17, 0, L, "S4 S6 S5 S7 S6 S7 32 32 0 1"},
      // An image the stage does not hold draws nothing.
      {GRAPHICMODE_CHARA, GRAPHICKIND_CHARA_BMP, 3, 0, 0, R, "null null null null null null 0 0 0 1"},
      {GRAPHICMODE_PLAIN, GRAPHICKIND_CHARA_BMP, 0, 0, 0, R, "null null null null null null 0 0 0 1"},
  };
  for (const Case& c : cases) {
    GRAPHICSOURCE g;
    SetGraphicSource(g, c.mode, c.kind, c.number, c.column, c.obj, c.frame);
    EXPECT_EQ(Describe(g), c.source) << "kind " << c.kind << " mode " << c.mode << " number " << c.number
                                     << " column " << c.column << " frame " << c.frame;
  }
}

TEST_F(GraphicSource, DirectDrawWithVideoStretchDrawsStretchedFromTheFirstSet) {
  struct Case {
    int direct3D, stretch, bpp;
    const char* chosen;
    const char* mark;
    const char* work1;
    const char* work2;
  };
  const Case cases[] = {
      {0, 1, 32, "T7 T6", "T43", "T67", "T68"},
      {0, 1, 8, "T25 T24", "T44", "T68", "T68"},  // 8-bit colour switches it off
      {0, 0, 32, "T25 T24", "T44", "T68", "T68"},
      {1, 1, 32, "T25 T24", "T44", "T68", "T70"},
  };
  for (const Case& c : cases) {
    DTCONDATA device;
    lpDTCon = c.direct3D ? &device : nullptr;
    SystemIni.nDD_VideoStretch = c.stretch;
    nBpp = c.bpp;
    GRAPHICSOURCE g;
    SetGraphicSource(g, GRAPHICMODE_CHARA, GRAPHICKIND_CHARA, 16, 0, &right, 0);
    EXPECT_EQ(Name(g.lpChosenA) + " " + Name(g.lpChosenB), c.chosen) << c.direct3D << c.stretch << c.bpp;
    SelectCharaSurfaces();
    EXPECT_EQ(Name(lpMarkSheet), c.mark) << c.direct3D << c.stretch << c.bpp;
    EXPECT_EQ(Name(lpEffectWork1), c.work1) << c.direct3D << c.stretch << c.bpp;
    EXPECT_EQ(Name(lpEffectWork2), c.work2) << c.direct3D << c.stretch << c.bpp;
  }
  lpDTCon = nullptr;
}

TEST_F(GraphicSource, TheTintIsLeftAlone) {
  GRAPHICSOURCE g;
  g.bTint = 1;
  g.nTintColor = 0x12345678;
  g.nTintOp = 4;
  SetGraphicSource(g, GRAPHICMODE_CHARA, GRAPHICKIND_CHARA, 0, 0, &right, 0);
  EXPECT_EQ(g.bTint, 1);
  EXPECT_EQ(g.nTintColor, 0x12345678);
  EXPECT_EQ(g.nTintOp, 4);
}

TEST_F(GraphicSource, SwordSheetsFallBackOnTheSecondCopyUnderDirectDraw) {
  // Entry 20 has a software surface record, entry 38 (its second copy) too;
  // entry 21 has none, entry 39 none.
  SurfaceTable[20].lpDDS = std::make_unique<DDDATA>();
  SurfaceTable[20].lpDDS->lpSurface = std::shared_ptr<plat::DDSurface>(reinterpret_cast<plat::DDSurface*>(1), [](auto) {});
  SurfaceTable[38].lpDDS = std::make_unique<DDDATA>();
  SurfaceTable[38].lpDDS->lpSurface = SurfaceTable[20].lpDDS->lpSurface;
  struct Case {
    int direct3D, index, second, result;
  };
  const Case cases[] = {{0, 20, 0, 20}, {0, 21, 0, 39}, {0, 20, 1, 38}, {0, 21, 1, 21},
                        {1, 21, 0, 21}, {1, 20, 1, 20}, {0, 70, 1, 70}, {0, 2147483647, 0, 2147483647}};
  DTCONDATA device;
  for (const Case& c : cases) {
    lpDTCon = c.direct3D ? &device : nullptr;
    EXPECT_EQ(SwordSurfaceIndex(c.index, c.second), c.result) << c.direct3D << " " << c.index << " " << c.second;
  }
  lpDTCon = nullptr;
  SurfaceTable[20].lpDDS.reset();
  SurfaceTable[38].lpDDS.reset();
}

TEST_F(GraphicSource, ItemIconsAreSixteenDotCellsDrawnWithTheTransparentColour) {
  RecordingRenderer renderer;
  struct Case {
    int kind, number, frame;
    const char* draw;
  };
  const Case cases[] = {
      {GRAPHICKIND_BLOCK, 17, 0, "DDBltStretch Back 10 20 16 16 T3 32 64 32 32 1"},
      {GRAPHICKIND_CHARA, 16, 3, "DDBltStretch Back 10 20 16 16 T24 96 32 32 32 1"},
      {GRAPHICKIND_ITEM, 16, 0, "DDBlt Back 10 20 16 16 T42 32 16 1"},
      {GRAPHICKIND_SHOT, 31, 0, "DDBltStretch Back 10 20 16 16 T63 64 32 32 32 1"},
      {GRAPHICKIND_CHARA_BMP, 1, 9, "DDBltStretch Back 10 20 16 16 S2 64 64 64 64 1"},
      {GRAPHICKIND_CHARA_BMP, 2, 17, "DDBltStretch Back 10 20 16 16 S6 32 32 32 32 1"},
  };
  for (const Case& c : cases) {
    DrawItemIcon(&BackBuffer, 10, 20, c.kind, c.number, c.frame);
    EXPECT_EQ(renderer.Take(), std::vector<std::string>{c.draw}) << c.kind << " " << c.number;
  }
  // Nothing for an unknown kind, a sheet that is no character sheet, an image
  // the stage does not hold.
  DrawItemIcon(&BackBuffer, 10, 20, 5, 0, 0);
  DrawItemIcon(&BackBuffer, 10, 20, GRAPHICKIND_CHARA, 120, 0);
  DrawItemIcon(&BackBuffer, 10, 20, GRAPHICKIND_CHARA_BMP, 3, 0);
  EXPECT_TRUE(renderer.Calls().empty());
}
