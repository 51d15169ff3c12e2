// The screen effect over the finished stage frame: the frame just drawn is
// copied aside and drawn back moved, shaken, split, waved, blinking,
// rotated, cut to a circle, zoomed, through a lens or as a mosaic. Effect
// parameters come from the project's files: a time or band count below 1
// acts as 1 where it divides, and computed sizes go through the checked
// conversion.
#include <algorithm>
#include <cmath>
#include <cstdint>

#include "base/checked_convert.h"
#include "game/characters.h"
#include "game/graphic_source.h"
#include "game/play_drawing.h"
#include "media/dd_layer.h"
#include "media/surface_table.h"
#include "records/chara_effect.h"
#include "records/database.h"
#include "records/effect_state.h"
#include "stage/scene_stage.h"

namespace {

constexpr int kFrameW = 640;
constexpr int kFrameH = 480;
constexpr int kEmptyColour = 16;
constexpr int kNoAlpha = 1;  // the copy draws opaque on the 3D device

// The copies of the screen the effects draw back from.
DDSURFACEDATA* PlainCopy() { return &SurfaceTable[SURFACE_WORK_A]; }
DDSURFACEDATA* TurnedCopy() { return &SurfaceTable[SURFACE_WORK_B]; }

// The running entry's parameters p0..p4 (p0 the time in tenths of a second).
const int32_t* Params(const cScreenEffectState& e) {
  static const int32_t kNone[5] = {0, 0, 0, 0, 0};
  return e.m_lpDef ? e.m_lpDef->m_anParam : kNone;
}

// The hero's graphic centre on the screen; the screen's centre without a hero.
void FocusPoint(int& cx, int& cy) {
  cx = kFrameW / 2;
  cy = kFrameH / 2;
  if (const cHero* hero = Hero()) {
    cx = SaturateToInt(int64_t{hero->m_rcScreen.nLeft} + hero->m_nGfxWidth / 2);
    cy = SaturateToInt(int64_t{hero->m_rcScreen.nTop} + hero->m_nGfxHeight / 2);
  }
}

// The larger distance from c to either edge of [0, size].
int64_t FarEdge(int c, int size) { return std::max<int64_t>(c, int64_t{size} - c); }

// The frame into `copy`; unless bKeep the screen is then cleared to the
// empty colour.
void TakeFrame(DDSURFACEDATA* copy, bool bKeep = false) {
  PlayDrawing->DDBlt(copy, 0, 0, kFrameW, kFrameH, &BackBuffer, 0, 0, 0);
  if (!bKeep) PlayDrawing->DDFillRect(&BackBuffer, 0, 0, kFrameW, kFrameH, kEmptyColour);
}

// The copy drawn back by `draw` with the alpha channel ignored.
template <class Draw>
void DrawBack(Draw draw) {
  PlayDrawing->DDSetAlphaOp(kNoAlpha);
  draw();
  PlayDrawing->DDResetAlphaOp();
}

// The value drawn: the effect's, kept between p1 and p2 (it runs up to a
// step past its end before the effect ends).
double Value(const cScreenEffectState& e) {
  const int32_t* p = Params(e);
  return std::clamp(e.m_dValue, static_cast<double>(std::min(p[1], p[2])), static_cast<double>(std::max(p[1], p[2])));
}

int IntValue(const cScreenEffectState& e) { return ToIntChecked(Value(e)); }

// The effect's value from p1 toward p2, once a drawn frame; 1 at its end.
int StepRange(cScreenEffectState& e, int bFrozen) {
  if (bFrozen) return 0;
  const int32_t* p = Params(e);
  return e.Step(p[1], p[2], e.m_dStep);
}

// The effect's time counted from 0 to p0; 1 at its end.
int StepTime(cScreenEffectState& e, int bFrozen) {
  if (bFrozen) return 0;
  return e.Step(0, EffectCount(Params(e)[0]), e.m_dStep);
}

// Shake: `speed` dots a frame toward one end of [-A, +A], turning there.
void StepShake(cScreenEffectState& e) {
  const int32_t* p = Params(e);
  const double amplitude = p[1];
  // p2 full swings, each four amplitudes long, in the effect's frames.
  // The product of two ints is exact in 64 bits, and times 4 exact as a double.
  const double speed = static_cast<double>(int64_t{p[2]} * p[1]) * 4 /
                       static_cast<double>(int64_t{EffectCount(p[0])} * 6);
  if (e.m_nAuxA) {
    e.m_dAux -= speed;
    if (e.m_dAux <= -amplitude) {
      e.m_dAux = -amplitude;
      e.m_nAuxA = 0;
    }
  } else {
    e.m_dAux += speed;
    if (e.m_dAux >= amplitude) {
      e.m_dAux = amplitude;
      e.m_nAuxA = 1;
    }
  }
}

// Bands of `extent` / count dots, rounded up.
int BandSize(int extent, int count) {
  const int n = EffectCount(count);
  return extent / n + (extent % n ? 1 : 0);
}

}  // namespace

void cSceneStage::RunScreenEffect(int bFrozen) {
  static constexpr ScreenEffectHandler kHandlers[SCREFFECT_COUNT] = {
      &cSceneStage::ScrFxNone,   &cSceneStage::ScrFxMove,   &cSceneStage::ScrFxShakeX, &cSceneStage::ScrFxShakeY,
      &cSceneStage::ScrFxSplitX, &cSceneStage::ScrFxSplitY, &cSceneStage::ScrFxWaveX,  &cSceneStage::ScrFxWaveY,
      &cSceneStage::ScrFxBlink,  &cSceneStage::ScrFxRotate, &cSceneStage::ScrFxCircle, &cSceneStage::ScrFxZoom,
      &cSceneStage::ScrFxLens,   &cSceneStage::ScrFxMosaic};
  if (m_ScreenEffect.m_sEffect == 0) return;
  int kind = Database.m_vScrEffect.At(m_ScreenEffect.m_sEffect).m_nKind;
  // A kind this program does not know is no effect.
  if (kind < 0 || kind >= SCREFFECT_COUNT) kind = 0;
  if (!(this->*kHandlers[kind])(bFrozen)) return;
  m_ScreenEffect.m_sEffect = 0;
  PlayDrawing->DDUseVirBackBuffer(0);
}

int cSceneStage::ScrFxNone(int) {
  if (lpDTCon && lpDTCon->bVirBackBuffer) PlayDrawing->DDUseVirBackBuffer(0);
  return 0;
}

int cSceneStage::ScrFxMove(int bFrozen) {
  cScreenEffectState& e = m_ScreenEffect;
  TakeFrame(PlainCopy());
  DrawBack([&] { PlayDrawing->DDBlt(&BackBuffer, e.m_nAuxA, e.m_nAuxB, kFrameW, kFrameH, PlainCopy(), 0, 0, 0); });
  if (bFrozen) return 0;
  const int32_t* p = Params(e);
  // The value runs a frame past the time before the effect ends; the
  // frame stays at the end point meanwhile.
  const double time = EffectCount(p[0]);
  const double v = std::clamp(e.m_dValue, 0.0, time);
  e.m_nAuxA = ToIntChecked(p[1] + static_cast<double>(int64_t{p[3]} - p[1]) * v / time);
  e.m_nAuxB = ToIntChecked(p[2] + static_cast<double>(int64_t{p[4]} - p[2]) * v / time);
  return StepTime(e, bFrozen);
}

int cSceneStage::ScrFxShakeX(int bFrozen) {
  cScreenEffectState& e = m_ScreenEffect;
  TakeFrame(PlainCopy(), true);
  const int offset = ToIntChecked(e.m_dAux);
  // Only the strip the moved frame leaves uncovered.
  if (offset >= 0)
    PlayDrawing->DDFillRect(&BackBuffer, 0, 0, SaturateToInt(int64_t{offset} + 1), kFrameH, kEmptyColour);
  else
    PlayDrawing->DDFillRect(&BackBuffer, SaturateToInt(int64_t{kFrameW} - 1 + offset), 0,
                            SaturateToInt(int64_t{1} - offset), kFrameH, kEmptyColour);
  DrawBack([&] { PlayDrawing->DDBlt(&BackBuffer, offset, 0, kFrameW, kFrameH, PlainCopy(), 0, 0, 0); });
  if (bFrozen) return 0;
  StepShake(e);
  return StepTime(e, bFrozen);
}

int cSceneStage::ScrFxShakeY(int bFrozen) {
  cScreenEffectState& e = m_ScreenEffect;
  TakeFrame(PlainCopy());
  const int offset = ToIntChecked(e.m_dAux);
  DrawBack([&] { PlayDrawing->DDBlt(&BackBuffer, 0, offset, kFrameW, kFrameH, PlainCopy(), 0, 0, 0); });
  if (bFrozen) return 0;
  StepShake(e);
  return StepTime(e, bFrozen);
}

namespace {

void DrawSplit(const cScreenEffectState& e, int bVertical) {
  const int n = BandSize(bVertical ? kFrameW : kFrameH, Params(e)[3]);
  TakeFrame(PlainCopy());
  DrawBack([&] {
    PlayDrawing->DDBltSplit(&BackBuffer, 0, 0, kFrameW, kFrameH, n, IntValue(e), PlainCopy(), 0, 0,
                            0, bVertical);
  });
}

void DrawWave(cScreenEffectState& e, int bFrozen, int bVertical) {
  const int32_t* p = Params(e);
  TakeFrame(PlainCopy());
  DrawBack([&] {
    PlayDrawing->DDBltWave(&BackBuffer, 0, 0, kFrameW, kFrameH, p[3], Value(e), e.m_nAuxA, p[4], PlainCopy(), 0,
                           0, 0, bVertical);
  });
  if (!bFrozen && ++e.m_nAuxA >= 360) e.m_nAuxA = 0;
}

}  // namespace

int cSceneStage::ScrFxSplitX(int bFrozen) {
  DrawSplit(m_ScreenEffect, 0);
  return StepRange(m_ScreenEffect, bFrozen);
}

int cSceneStage::ScrFxSplitY(int bFrozen) {
  DrawSplit(m_ScreenEffect, 1);
  return StepRange(m_ScreenEffect, bFrozen);
}

int cSceneStage::ScrFxWaveX(int bFrozen) {
  DrawWave(m_ScreenEffect, bFrozen, 0);
  return StepRange(m_ScreenEffect, bFrozen);
}

int cSceneStage::ScrFxWaveY(int bFrozen) {
  DrawWave(m_ScreenEffect, bFrozen, 1);
  return StepRange(m_ScreenEffect, bFrozen);
}

int cSceneStage::ScrFxBlink(int bFrozen) {
  cScreenEffectState& e = m_ScreenEffect;
  // The hidden turn shows the background layers only.
  if (e.m_nAuxB == 0) {
    DrawBackground(&BackBuffer, 0);
    DrawBackground(&BackBuffer, 1);
  }
  if (bFrozen) return 0;
  if (e.m_nAuxA >= Params(e)[1]) {
    e.m_nAuxA = 0;
    e.m_nAuxB = e.m_nAuxB ? 0 : 1;
  }
  ++e.m_nAuxA;
  return StepTime(e, bFrozen);
}

int cSceneStage::ScrFxRotate(int bFrozen) {
  cScreenEffectState& e = m_ScreenEffect;
  TakeFrame(TurnedCopy());
  DrawBack([&] {
    PlayDrawing->DDBltRotate(&BackBuffer, kFrameW / 2, kFrameH / 2, kFrameW, kFrameH, kFrameW / 2, kFrameH / 2,
                             IntValue(e), TurnedCopy(), 0, 0, 0);
  });
  return StepRange(e, bFrozen);
}

int cSceneStage::ScrFxCircle(int bFrozen) {
  cScreenEffectState& e = m_ScreenEffect;
  int cx, cy;
  FocusPoint(cx, cy);
  TakeFrame(PlainCopy());
  DrawBack([&] {
    PlayDrawing->DDBltCircle(&BackBuffer, cx, cy, SaturateToInt(FarEdge(cx, kFrameW)),
                             SaturateToInt(FarEdge(cy, kFrameH)), IntValue(e), EffectCount(Params(e)[3]), PlainCopy(),
                             cx, cy, 0);
  });
  return StepRange(e, bFrozen);
}

int cSceneStage::ScrFxZoom(int bFrozen) {
  cScreenEffectState& e = m_ScreenEffect;
  // The width of the view relative to the screen's.
  const double f = Value(e) * 0.0015625;
  int cx, cy;
  FocusPoint(cx, cy);
  DDSURFACEDATA* copy = lpEffectWork1 ? lpEffectWork1 : TurnedCopy();
  if (f >= 1) {
    // Zoomed in: a window around the hero, kept inside the screen.
    const int w = std::max(1, ToIntChecked(kFrameW / f)), h = std::max(1, ToIntChecked(kFrameH / f));
    int64_t x = int64_t{cx} - w / 2, y = int64_t{cy} - h / 2;
    if (x + w > kFrameW - 1)
      x = kFrameW - w;
    else if (x < 0)
      x = 0;
    if (y + h > kFrameH - 1)
      y = kFrameH - h;
    else if (y < 0)
      y = 0;
    TakeFrame(copy, true);
    DrawBack([&] {
      PlayDrawing->DDBltStretch(&BackBuffer, 0, 0, kFrameW, kFrameH, copy, SaturateToInt(x), SaturateToInt(y), w,
                                h, 0);
    });
  } else {
    // Zoomed out: the whole frame made smaller in the middle of the screen.
    const int w = ToIntChecked(kFrameW * f), h = ToIntChecked(kFrameH * f);
    TakeFrame(copy);
    if (w > 0 && h > 0)
      DrawBack([&] {
        PlayDrawing->DDBltStretch(&BackBuffer, (kFrameW - w) / 2, (kFrameH - h) / 2, w, h, copy, 0, 0, kFrameW,
                                  kFrameH, 0);
      });
  }
  return StepRange(e, bFrozen);
}

int cSceneStage::ScrFxLens(int bFrozen) {
  cScreenEffectState& e = m_ScreenEffect;
  const int32_t* p = Params(e);
  int hx, hy;
  FocusPoint(hx, hy);
  const int cx = SaturateToInt(int64_t{hx} + p[3]), cy = SaturateToInt(int64_t{hy} + p[4]);
  // Wide enough to cover the screen from the centre.
  const double far = static_cast<double>(std::max(FarEdge(cx, kFrameW), FarEdge(cy, kFrameH)));
  const int radius = ToIntChecked(std::sqrt(2.0) * far);
  PlayDrawing->DDFillRect(TurnedCopy(), 0, 0, kFrameW, kFrameH, 0);
  TakeFrame(TurnedCopy());
  DrawBack([&] {
    PlayDrawing->DDBltLens(&BackBuffer, cx, cy, radius, IntValue(e), TurnedCopy(), cx, cy, 0, 0);
  });
  return StepRange(e, bFrozen);
}

int cSceneStage::ScrFxMosaic(int bFrozen) {
  cScreenEffectState& e = m_ScreenEffect;
  TakeFrame(TurnedCopy());
  DrawBack([&] {
    PlayDrawing->DDBltMosaic(&BackBuffer, 0, 0, kFrameW, kFrameH, IntValue(e), TurnedCopy(), 0, 0, 0);
  });
  return StepRange(e, bFrozen);
}
