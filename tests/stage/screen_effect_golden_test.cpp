// The screen effects and the colour tone half way, as the player sees them,
// on the software display at 16 bits and on the 3D device at 32: a small
// stage over a background of coloured squares, drawn plain, moved, split, waved,
// turned, cut to a circle, zoomed in and out, through a lens, as a mosaic,
// tinted, and tinted over a wave. The twelve frames are laid out at half
// size on one sheet, four across.
#include <gtest/gtest.h>

#include <algorithm>
#include <array>
#include <string>

#include "media/dd_layer.h"
#include "media/dd_pixels.h"
#include "records/chara_effect.h"
#include "records/database.h"
#include "records/stage.h"
#include "stage_draw_env.h"
#include "support/png_image.h"
#include "support/shown_frame.h"

using namespace testsupport;

namespace {

using EffectParams = std::array<int32_t, 5>;

struct SheetCell {
  const char* what;
  int kind;  // -1 no screen effect
  EffectParams p;
  double value;     // half way between p1 and p2
  int auxA, auxB;   // the move's position half way
  bool tone;        // a red tone half way
};

const SheetCell kCells[] = {
    {"plain", -1, {}, 0, 0, 0, false},
    {"move", 1, {10, 0, 0, 100, 50}, 5, 50, 25, false},
    {"split", 4, {10, 0, 24, 12}, 12, 0, 0, false},
    {"wave", 6, {10, 0, 16, 2, 8}, 8, 45, 0, false},
    {"rotate", 9, {10, 0, 30}, 15, 0, 0, false},
    {"circle", 10, {10, 400, 0, 8}, 200, 0, 0, false},
    {"zoom in", 11, {10, 640, 1280}, 960, 0, 0, false},
    {"zoom out", 11, {10, 640, 320}, 480, 0, 0, false},
    {"lens", 12, {10, 400, 100, 0, 0}, 250, 0, 0, false},
    {"mosaic", 13, {10, 1, 16}, 8, 0, 0, false},
    {"tone", -1, {}, 0, 0, 0, true},
    {"tone over a wave", 6, {10, 0, 16, 2, 8}, 8, 45, 0, true},
};
constexpr int kAcross = 4;

RgbImage EffectSheet(bool d3d, int bpp) {
  StageRunner::Options options;
  options.drawing = StageRunner::Drawing::Layer;
  options.d3d = d3d;
  options.bpp = bpp;
  stagedraw::DrawnStage t(options);
  DDLoadPaletteFromFile(CurPalette, "bmp\\plt\\Palette.bmp", nBpp);
  std::copy(std::begin(CurPalette), std::end(CurPalette), std::begin(BasePalette));
  DDSetTransmit("bmp\\plt\\Palette.bmp");
  // Squares of 40 in all hues, checked in two shades, with dark grid lines.
  stagedraw::WriteImage("bmp\\Squares.bmp", 160, 120, [](int x, int y) {
    if (x % 40 == 0 || y % 40 == 0) return uint8_t(pal::kOutline);
    return uint8_t(pal::Shade((x / 40 + 3 * (y / 40)) % 12, (x / 20 + y / 20) % 2 ? 6 : 10));
  });
  t.Start({"....................", "....................", "....................", "....................",
           "....................", "....................", "......######........", "....................",
           "....................", "....................", ".........H..........", "####################",
           "####################", "####################", "####################"},
          [] {
            Stage.m_vBackground.clear();
            cEdBackground b;
            b.m_strFile = "bmp\\Squares.bmp";
            Stage.m_vBackground.push_back(b);
          });
  cSceneStage* scene = t.scene;
  if (!scene) return {};
  scene->m_nPhase = STAGESTATE_PLAY;

  const int rows = (static_cast<int>(std::size(kCells)) + kAcross - 1) / kAcross;
  RgbImage sheet;
  sheet.width = 320 * kAcross;
  sheet.height = 240 * rows;
  sheet.pixels.assign(static_cast<size_t>(sheet.width) * sheet.height, 0);
  for (size_t i = 0; i < std::size(kCells); ++i) {
    const SheetCell& s = kCells[i];
    SCOPED_TRACE(s.what);
    if (s.kind >= 0) {
      cEdScrEffect& def = Database.m_vScrEffect.At(1);
      def.m_nKind = s.kind;
      std::copy(s.p.begin(), s.p.end(), def.m_anParam);
      Database.FillWorkingCopies();
      BuildScrEffectStates(ScrFxInstA, ScrFxInstB);
      scene->m_ScreenEffect.Start(1, 0, 0);
      scene->m_ScreenEffect.m_dValue = s.value;
      scene->m_ScreenEffect.m_nAuxA = s.auxA;
      scene->m_ScreenEffect.m_nAuxB = s.auxB;
    }
    scene->m_ColorTone.Reset();
    if (s.tone) {
      const int32_t red[8] = {255, 0, 0, 100, 0, 1, 0, 0};
      scene->m_ColorTone.Start(red);
      scene->m_ColorTone.m_nCounter = 3;
    }
    scene->Draw(1, 1, 0, 0);
    const RgbImage shown = ShownFrame();
    scene->m_ScreenEffect.m_sEffect = 0;
    DDUseVirBackBuffer(0);
    if (shown.width != 640 || shown.height != 480) {
      ADD_FAILURE() << "no frame shown";
      continue;
    }
    const int left = static_cast<int>(i % kAcross) * 320, top = static_cast<int>(i / kAcross) * 240;
    for (int y = 0; y < 240; ++y)
      for (int x = 0; x < 320; ++x)
        sheet.pixels[static_cast<size_t>(top + y) * sheet.width + left + x] =
            shown.pixels[static_cast<size_t>(2 * y) * 640 + 2 * x];
  }
  return sheet;
}

}  // namespace

TEST(ScreenEffectGolden, HalfWayOnTheSoftwareDisplayAt16Bits) {
  EXPECT_TRUE(MatchesGolden("screen_effects_dd16", EffectSheet(false, 16)));
}

TEST(ScreenEffectGolden, HalfWayOnThe3DDeviceAt32Bits) {
  EXPECT_TRUE(MatchesGolden("screen_effects3d_32", EffectSheet(true, 32)));
}
