// Golden sheets of character drawing on each back end (the software display
// at 8 and 16 bits, the 3D device at 32 bits): the seventeen effect kinds on
// a hand-made 32 x 32 figure half-way through their run, plain and tinted,
// and at scale 2; the gauges and the overlay icon. UPDATE_GOLDEN=1 writes
// them anew.
#include <gtest/gtest.h>

#include "chara_sheet_env.h"
#include "game/chara_effects.h"
#include "support/recording_renderer.h"

using namespace charadraw;

namespace {

struct Layer {
  bool d3d;
  int bpp;
  const char* name;
};
const Layer kLayers[] = {{false, 8, "chara_dd8"}, {false, 16, "chara_dd16"}, {true, 32, "chara3d_32"}};

// One entry per kind 1..16 (entry n is kind n), each 2 tenths long, so
// that 6 frames in it stands half-way.
std::vector<FxDef> EveryKind() {
  return {
      {1, {2, 0, 8}},              // burst
      {2, {2, 0, 6, 4}},           // split into 4 bands
      {3, {2, 0, 6, 4}},           //
      {4, {2, 0, 6, 2, 2}},        // wave: 2 waves, strips of 2
      {5, {2, 0, 6, 2, 2}},        //
      {6, {2, 3}},                 // blink every 3 frames: shown on frame 7
      {7, {2, 0, 90}},             // rotate
      {8, {2, 0, 90}},             //
      {9, {2, 0, 16}},             // rotate in depth
      {10, {2, 20, 4, 2}},         // circle in bands of 2
      {11, {2, 32, 64}},           // zoom
      {12, {2, 40, 8, 0, 0}},      // lens
      {13, {2, 1, 4, kBlue}},      // colour toward blue
      {14, {2, 2}},                // translucent every 2 frames: translucent on frame 7
      {15, {2, 2, 6}},             // mosaic
      {16, {2, 2, 6}},             // blur
  };
}

}  // namespace

class CharaGolden : public CharaSheetTest {
 protected:
  CharaGolden() {
    AnimColorTable[kTintNumber] = ANIMCOLOR{0xFF603000, 7};
    SetEffects(EveryKind());
  }

  // Kind 0 and the sixteen effects in cells of cellW x cellH, `perRow` a
  // row, from (0, top), each character at (dx, dy) inside its cell.
  void DrawKinds(int scale, bool tinted, int top, int cellW, int cellH, int perRow, int dx, int dy) {
    for (int kind = 0; kind < CHARAEFFECT_COUNT; ++kind) {
      cChara& c = AddFigure(scale, tinted, kind % perRow * cellW + dx, top + kind / perRow * cellH + dy);
      c.m_CharaEffect.Start(kind, 0, 0);
      for (int frame = 0; frame < 6; ++frame) c.StepCharaEffect(0);
      c.Draw(&BackBuffer, 1);
    }
  }
};

TEST_F(CharaGolden, SeventeenKindsPlainAndTinted) {
  for (const Layer& layer : kLayers) {
    ASSERT_TRUE(StartLayer(layer.d3d, layer.bpp)) << layer.name;
    DDFillRect(&BackBuffer, 0, 0, 640, 480, Cube(1, 1, 2));
    DDFillRect(&BackBuffer, 0, 240, 640, 240, Cube(2, 2, 1));
    DrawKinds(1, false, 0, 80, 80, 8, 24, 24);
    DrawKinds(1, true, 240, 80, 80, 8, 24, 24);
    EXPECT_TRUE(testsupport::MatchesGolden(std::string(layer.name) + "_kinds", Shown())) << layer.name;
  }
}

TEST_F(CharaGolden, SeventeenKindsAtScaleTwo) {
  for (const Layer& layer : kLayers) {
    ASSERT_TRUE(StartLayer(layer.d3d, layer.bpp)) << layer.name;
    DDFillRect(&BackBuffer, 0, 0, 640, 480, Cube(1, 1, 2));
    DrawKinds(2, false, 0, 128, 120, 5, 32, 28);
    EXPECT_TRUE(testsupport::MatchesGolden(std::string(layer.name) + "_scaled", Shown())) << layer.name;
  }
}

TEST_F(CharaGolden, GaugesAndOverlayIcons) {
  for (int item : {2, 3}) {
    SystemData.m_vStatusItems[item].m_nLowLevel = 30;
    SystemData.m_vStatusItems[item].m_bLowPercent = 1;
  }
  for (const Layer& layer : kLayers) {
    ASSERT_TRUE(StartLayer(layer.d3d, layer.bpp)) << layer.name;
    DDFillRect(&BackBuffer, 0, 0, 640, 480, Cube(1, 1, 2));
    // HP and SP gains and losses, one of them low; then half-way through
    // the shrinking of a loss.
    struct Gauge {
      int hp, hpDelta, sp, spDelta, frames;
    };
    const Gauge gauges[] = {{100, -20, 20, 20, 0}, {100, -80, 50, -45, 0}, {40, 30, 10, 5, 0}, {100, -40, 50, -20, 30}};
    for (int i = 0; i < 4; ++i) {
      const Gauge& g = gauges[i];
      cChara& c = AddFigure(1, false, 40 + i * 80, 60);
      c.m_Def.m_nMaxHp = 100;
      c.m_Def.m_nMaxSp = 50;
      c.m_nHp = g.hp;
      c.m_nSp = g.sp;
      c.ChangeHp(g.hpDelta, 1, 1);
      c.ChangeSp(g.spDelta, 1);
      {
        testsupport::RecordingRenderer unseen;
        for (int f = 0; f < g.frames; ++f) {
          c.DrawHpGauge(&BackBuffer);
          c.DrawSpGauge(&BackBuffer);
        }
      }
      c.Draw(&BackBuffer, 1);
      c.DrawHpGauge(&BackBuffer);
      c.DrawSpGauge(&BackBuffer);
    }
    // The overlay icon over a plain and a scaled character.
    for (int scale : {1, 2}) {
      cChara& c = AddFigure(scale, false, 40 + (scale - 1) * 80, 140);
      c.m_Def.m_bShowIcon = 1;
      c.m_Def.m_nIcon = 1;
      c.Draw(&BackBuffer, 1);
    }
    EXPECT_TRUE(testsupport::MatchesGolden(std::string(layer.name) + "_gauges", Shown())) << layer.name;
  }
}
