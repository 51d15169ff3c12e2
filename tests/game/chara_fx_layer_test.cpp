// Character effects on a running back end when things go wrong: a lock that
// fails draws nothing that frame while the effect still advances; hostile
// parameters (0, negative, the int32 limits, scale 255) and positions run
// clean on every back end and depth.
#include <gtest/gtest.h>

#include <climits>
#include <cmath>
#include <limits>

#include "chara_sheet_env.h"
#include "game/chara_effects.h"
#include "media/dd_restore.h"

using namespace charadraw;

namespace {

// The back buffer as the drawing left it (through a lock of the device's
// own back buffer on the 3D device).
std::vector<uint32_t> BackPixels() {
  std::vector<uint32_t> out;
  cSurfaceLock lock;
  if (!lock.Lock(&BackBuffer)) return out;
  for (int y = 0; y < 480; ++y)
    for (int x = 0; x < 640; ++x) {
      const uint8_t* row = lock.m_pBits + static_cast<size_t>(y) * lock.m_nPitch;
      out.push_back(lock.m_nBpp == 16 ? reinterpret_cast<const uint16_t*>(row)[x]
                                      : lock.m_nBpp == 8 ? row[x] : reinterpret_cast<const uint32_t*>(row)[x]);
    }
  return out;
}

}  // namespace

class CharaFxLayer : public CharaSheetTest {};

TEST_F(CharaFxLayer, OnThe3DDeviceAFailedLockDrawsNothingAndTheEffectAdvances) {
  // Tinted, the lens, mosaic and blur draw through surface 69, whose lock
  // reads the render target back first; that read fails once.
  SetEffects({{12, {2, 20, 8, 0, 0}}, {15, {2, 2, 6}}, {16, {2, 2, 6}}});
  AnimColorTable[kTintNumber] = ANIMCOLOR{0xFF603000, 7};
  ASSERT_TRUE(StartLayer(true, 32));
  for (int effect : {1, 2, 3}) {
    DDFillRect(&BackBuffer, 0, 0, 640, 480, Cube(1, 1, 2));
    cChara& c = AddFigure(1, true, 100, 100);
    c.m_CharaEffect.Start(effect, 0, 0);
    const double start = c.m_CharaEffect.m_dValue;
    const std::vector<uint32_t> before = BackPixels();
    ASSERT_FALSE(before.empty());
    plat::FailD3DCall(plat::D3DCall::GetRenderTargetData, -1);
    c.Draw(&BackBuffer, 0);
    EXPECT_EQ(BackPixels(), before) << "effect " << effect;
    EXPECT_NE(c.m_CharaEffect.m_dValue, start) << "effect " << effect;
    // The next frame draws.
    c.Draw(&BackBuffer, 0);
    EXPECT_NE(BackPixels(), before) << "effect " << effect;
  }
}

TEST_F(CharaFxLayer, OnTheSoftwareDisplayLostSurfacesDrawNothingAndEveryEffectAdvances) {
  std::vector<FxDef> defs;
  for (int kind = 1; kind < CHARAEFFECT_COUNT; ++kind) defs.push_back({kind, {2, 2, 6, 2, 2}});
  SetEffects(defs);
  for (int bpp : {8, 16, 32}) {
    ASSERT_TRUE(StartLayer(false, bpp)) << bpp;
    for (int scale : {1, 2}) {
      for (int kind = 1; kind < CHARAEFFECT_COUNT; ++kind) {
        cChara& c = AddFigure(scale, false, 100, 100);
        c.m_CharaEffect.Start(kind, 0, 0);
        const double value = c.m_CharaEffect.m_dValue, elapsed = c.m_CharaEffect.m_dElapsed;
        plat::LoseVideoSurfaces();
        c.Draw(&BackBuffer, 0);
        EXPECT_TRUE(c.m_CharaEffect.m_dValue != value || c.m_CharaEffect.m_dElapsed != elapsed)
            << bpp << " bits, kind " << kind << ", scale " << scale;
        ASSERT_EQ(BackBuffer.lpDDS->lpSurface->IsLost(), plat::DDERR_SURFACELOST);
        ASSERT_TRUE(DDRestore());
      }
    }
  }
}

TEST_F(CharaFxLayer, HostileParametersAndPositionsRunClean) {
  const int32_t kMax = INT32_MAX, kMin = INT32_MIN;
  const int32_t params[][5] = {
      {0, 0, 0, 0, 0}, {-5, -1, -7, -1, -3}, {kMax, kMax, kMin, kMax, kMax}, {1, kMin, kMax, kMin, kMin},
      {1, 255, 1, 65536 + 3, 7},
  };
  std::vector<FxDef> defs;
  for (int kind = 1; kind < CHARAEFFECT_COUNT; ++kind)
    for (const auto& p : params) defs.push_back({kind, {p[0], p[1], p[2], p[3], p[4]}});
  SetEffects(defs);
  AnimColorTable[kTintNumber] = ANIMCOLOR{0xFF603000, 7};
  struct Layer {
    bool d3d;
    int bpp;
  };
  for (const Layer& layer : {Layer{false, 8}, Layer{false, 16}, Layer{false, 32}, Layer{true, 16}, Layer{true, 32}}) {
    ASSERT_TRUE(StartLayer(layer.d3d, layer.bpp));
    // The 3D device at 16 bits with the virtual back buffer on.
    if (lpDTCon) DDUseVirBackBuffer(layer.bpp == 16 ? 1 : 0);
    // Scale 255 does not fit the definition's byte: it stands as -1, and
    // as a graphic 255 times the size.
    for (int scale : {1, 127, -1, 255}) {
      for (int effect = 1; effect <= static_cast<int>(defs.size()); ++effect) {
        cChara& c = AddFigure(scale == 255 ? 1 : scale, true, 100, 100);
        if (scale == 255) {
          c.m_Def.m_nScale = static_cast<int8_t>(255);
          c.m_nGfxWidth = c.m_nGfxHeight = 255 * 32;
        }
        c.m_CharaEffect.Start(effect, effect % 3, 1);
        for (int frame = 0; frame < 3; ++frame) c.Draw(&BackBuffer, 0);
        c.StepCharaEffect(0);
        c.DrawDefeated(&BackBuffer, 0);
        CharaList.clear();
      }
    }
    // Positions at the ends of the view's range, hostile gauges and icons.
    for (int corner : {kMin, kMax}) {
      cChara& c = AddFigure(2, false, 0, 0);
      c.m_bAnchorX = c.m_bAnchorY = 1;
      c.m_nAnchorX = c.m_nAnchorY = corner;
      c.m_Def.m_bShowIcon = 1;
      c.m_Def.m_nIcon = static_cast<int16_t>(corner == kMin ? -32768 : 32767);
      c.m_CharaEffect.Start(12 * 5 - 2, 0, 1);  // a lens with the int32 limits
      c.Draw(&BackBuffer, 0);
      for (double diff : {1e300, -1e300, std::numeric_limits<double>::quiet_NaN()}) {
        c.m_HpGauge = GAUGESTATE{100, diff, diff, corner};
        c.m_SpGauge = GAUGESTATE{kMax, diff, -diff, corner};
        c.DrawHpGauge(&BackBuffer);
        c.DrawSpGauge(&BackBuffer);
      }
      CharaList.clear();
    }
    if (lpDTCon) DDUseVirBackBuffer(0);
  }
}
