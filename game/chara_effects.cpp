#include "game/chara_effects.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>

#include "base/checked_convert.h"
#include "game/chara_base.h"
#include "game/play_drawing.h"
#include "media/dd_layer.h"
#include "media/dd_pixels.h"
#include "media/surface_table.h"
#include "records/chara_effect.h"

namespace {

// Computed once, at start-up.
const double kSqrt2 = std::sqrt(2.0);

// The 8-bit blur stands in with a tint toward this palette colour.
constexpr uint8_t kBlurTintColour = 31;

// The work surface the lens and the 3D mosaic and blur draw through.
constexpr int SURFACE_WORK_LENS = 69;

int SatEffect(int64_t v) { return SaturateToInt(v); }

DDSURFACEDATA* Work(int entry) { return &SurfaceTable[entry]; }

// The running entry's parameters p0..p4.
const int32_t* Params(const cCharaEffectState& e) {
  static const int32_t kNone[5] = {0, 0, 0, 0, 0};
  return e.m_lpDef ? e.m_lpDef->m_anParam : kNone;
}

// What every routine reads of the character and its effect.
struct cFx {
  const cCharaBase& chara;
  DDSURFACEDATA* target;
  const GRAPHICSOURCE& src;
  int L, T;    // view rectangle corner
  int W, H;    // graphic size now
  int w1, h1;  // graphic size at scale 1
  int k;       // the definition's scale
  int s;       // src's cell scale
  bool scaled;
  double v;          // the effect's value
  const int32_t* p;  // its parameters p0..p4

  cFx(const cCharaBase& c, DDSURFACEDATA* t, const GRAPHICSOURCE& g)
      : chara(c), target(t), src(g), L(c.m_rcScreen.nLeft), T(c.m_rcScreen.nTop), W(c.m_nGfxWidth),
        H(c.m_nGfxHeight), w1(c.m_nBaseGfxWidth), h1(c.m_nBaseGfxHeight), k(c.m_Def.m_nScale),
        s(g.nCellScale), scaled(g.bCellSize ? k != g.nCellScale : k > 1), v(c.m_CharaEffect.m_dValue),
        p(Params(c.m_CharaEffect)) {}

  // The source size of a scaled graphic in its sheet.
  int SourceW() const { return SatEffect(static_cast<int64_t>(s) * w1); }
  int SourceH() const { return SatEffect(static_cast<int64_t>(s) * h1); }
  // (int)(k·v) when scaled, else (int)v.
  int ScaledValue() const { return scaled ? ToIntChecked(k * v) : ToIntChecked(v); }
  int Value() const { return ToIntChecked(v); }
  // The centre of the view rectangle, halves by a shift.
  int CentreX() const { return SatEffect(static_cast<int64_t>(L) + (W >> 1)); }
  int CentreY() const { return SatEffect(static_cast<int64_t>(T) + (H >> 1)); }

};

// The draw colour and colour operation of a tinted source around one call.
class cTintAround {
 public:
  explicit cTintAround(const GRAPHICSOURCE& src, bool apply = true) : m_on(apply && src.bTint) {
    if (!m_on) return;
    PlayDrawing->DDSetDrawColor(static_cast<uint32_t>(src.nTintColor));
    PlayDrawing->DDSetColorOp(src.nTintOp);
  }
  ~cTintAround() {
    if (!m_on) return;
    PlayDrawing->DDResetDrawColor();
    PlayDrawing->DDResetColorOp();
  }
  cTintAround(const cTintAround&) = delete;
  cTintAround& operator=(const cTintAround&) = delete;

 private:
  bool m_on;
};

// A copy with the tint values when src is tinted, else a plain one.
void Put(const GRAPHICSOURCE& src, DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* from, int sx,
         int sy, int flags) {
  if (src.bTint) {
    const int blend[2] = {src.nTintColor, src.nTintOp};
    PlayDrawing->DDBltBlend(dst, x, y, w, h, from, sx, sy, flags, blend);
  } else {
    PlayDrawing->DDBlt(dst, x, y, w, h, from, sx, sy, flags);
  }
}

void PutStretched(const GRAPHICSOURCE& src, DDSURFACEDATA* dst, int x, int y, int w, int h, DDSURFACEDATA* from,
                  int sx, int sy, int sw, int sh, int flags) {
  if (src.bTint) {
    const int blend[2] = {src.nTintColor, src.nTintOp};
    PlayDrawing->DDBltStretchBlend(dst, x, y, w, h, from, sx, sy, sw, sh, flags, blend);
  } else {
    PlayDrawing->DDBltStretch(dst, x, y, w, h, from, sx, sy, sw, sh, flags);
  }
}

void CopyToWork(const cFx& f, DDSURFACEDATA* work) {
  if (f.scaled)
    PutStretched(f.src, work, 0, 0, f.W, f.H, f.src.lpChosenA, f.src.nSrcX, f.src.nSrcY, f.SourceW(), f.SourceH(),
                 0);
  else
    Put(f.src, work, 0, 0, f.W, f.H, f.src.lpSecondA, f.src.nSrcX, f.src.nSrcY, 0);
}

void CopyTintedToWork(const cFx& f, DDSURFACEDATA* work) {
  Put(f.src, work, 0, 0, f.W, f.H, f.src.lpFirstA, f.src.nSrcX, f.src.nSrcY, 0);
}

// After the drawing: the effect's timing, unless frozen.
int Advance(cCharaBase& chara, int bFrozen) { return bFrozen ? 0 : chara.m_CharaEffect.Step(); }

// The turns of the blinking and translucent kinds: every `interval` frames
// the shown flag flips. Frozen frames keep the turn as it is.
void BlinkTurn(cCharaEffectState& e, int interval, int bFrozen) {
  if (bFrozen) return;
  if (e.m_nCounter >= EffectCount(interval)) {
    e.m_nCounter = 0;
    e.m_bShown = e.m_bShown ? 0 : 1;
  }
  e.m_nCounter += 1;
}

void DrawPlain(const cFx& f) {
  if (f.scaled)
    PutStretched(f.src, f.target, f.L, f.T, f.W, f.H, f.src.lpChosenA, f.src.nSrcX, f.src.nSrcY, f.SourceW(),
                 f.SourceH(), 1);
  else
    Put(f.src, f.target, f.L, f.T, f.W, f.H, f.src.lpFirstA, f.src.nSrcX, f.src.nSrcY, 1);
}

int DrawSplit(cCharaBase& chara, DDSURFACEDATA* target, const GRAPHICSOURCE& src, int bFrozen, int bDraw,
              int bVertical) {
  if (bDraw) {
    const cFx f(chara, target, src);
    // Bands of the graphic's height for both directions.
    const int bands = EffectCount(f.p[3]);
    const int n = f.H / bands + (f.H % bands ? 1 : 0);
    const int d = f.ScaledValue();
    if (f.scaled) {
      CopyToWork(f, lpEffectWork1);
      PlayDrawing->DDBltSplit(target, f.L, f.T, f.W, f.H, n, d, lpEffectWork1, 0, 0, 1, bVertical);
    } else {
      cTintAround tint(src);
      PlayDrawing->DDBltSplit(target, f.L, f.T, f.W, f.H, n, d, src.lpFirstA, src.nSrcX, src.nSrcY, 1, bVertical);
    }
  }
  return Advance(chara, bFrozen);
}

int DrawWave(cCharaBase& chara, DDSURFACEDATA* target, const GRAPHICSOURCE& src, int bFrozen, int bDraw,
             int bVertical) {
  cCharaEffectState& e = chara.m_CharaEffect;
  if (bDraw) {
    const cFx f(chara, target, src);
    if (f.scaled) {
      CopyToWork(f, lpEffectWork1);
      PlayDrawing->DDBltWave(target, f.L, f.T, f.W, f.H, f.p[3], f.k * f.v, e.m_nCounter,
                             SatEffect(static_cast<int64_t>(f.p[4]) * f.k), lpEffectWork1, 0, 0, 1, bVertical);
    } else {
      cTintAround tint(src);
      PlayDrawing->DDBltWave(target, f.L, f.T, f.W, f.H, f.p[3], f.v, e.m_nCounter, f.p[4], src.lpFirstA,
                             src.nSrcX, src.nSrcY, 1, bVertical);
    }
  }
  if (!bFrozen && ++e.m_nCounter > 359) e.m_nCounter = 0;
  return Advance(chara, bFrozen);
}

// The unscaled rotation about the graphic's centre, from the second copy set.
void RotateInPlace(const cFx& f) {
  PlayDrawing->DDBltRotate(f.target, f.CentreX(), f.CentreY(), f.W, f.H, f.W >> 1, f.H >> 1, f.Value(),
                           f.src.lpSecondA, f.src.nSrcX, f.src.nSrcY, 1);
}

// The mosaic and the blur: straight from the sheet on the software display,
// else through a work surface, and on the 3D device through entry 69 when
// the picture is tinted, the virtual back buffer is on, or it is not scaled.
template <class Op>
void DrawThroughWork(const cFx& f, Op op) {
  const GRAPHICSOURCE& src = f.src;
  if (!f.scaled && !lpDTCon) {
    op(f.target, f.L, f.T, src.lpSecondA, src.nSrcX, src.nSrcY);
    return;
  }
  if (f.scaled) {
    CopyToWork(f, lpEffectWork2);
    if (!lpDTCon || (!src.bTint && !lpDTCon->bVirBackBuffer)) {
      op(f.target, f.L, f.T, lpEffectWork2, 0, 0);
      return;
    }
  } else {
    CopyTintedToWork(f, lpEffectWork2);
  }
  DDSURFACEDATA* lens = Work(SURFACE_WORK_LENS);
  PlayDrawing->DDFillRect(lens, 0, 0, SatEffect(int64_t{2} * f.W), SatEffect(int64_t{2} * f.H), 0);
  op(lens, 0, 0, lpEffectWork2, 0, 0);
  Put(src, f.target, f.L, f.T, f.W, f.H, lens, 0, 0, 1);
}

}  // namespace

int RunningCharaEffectKind(const cCharaEffectState& state) {
  return state.m_sEffect == 0 ? CHARAEFFECT_NONE : state.Kind();
}

void CopyGraphicToWork(const cCharaBase& chara, DDSURFACEDATA* work, const GRAPHICSOURCE& src) {
  CopyToWork(cFx(chara, nullptr, src), work);
}

void CopyTintedGraphicToWork(const cCharaBase& chara, DDSURFACEDATA* work, const GRAPHICSOURCE& src) {
  CopyTintedToWork(cFx(chara, nullptr, src), work);
}

int DrawFxNone(cCharaBase& chara, DDSURFACEDATA* target, const GRAPHICSOURCE& src, int, int bDraw) {
  if (bDraw) DrawPlain(cFx(chara, target, src));
  return 0;
}

int DrawFxBurst(cCharaBase& chara, DDSURFACEDATA* target, const GRAPHICSOURCE& src, int bFrozen, int bDraw) {
  if (bDraw) {
    const cFx f(chara, target, src);
    const int d = f.ScaledValue();
    if (f.scaled) {
      CopyToWork(f, lpEffectWork1);
      PlayDrawing->DDBltBurst(target, f.L, f.T, f.W, f.H, lpEffectWork1, 0, 0, d, 1);
    } else {
      cTintAround tint(src);
      PlayDrawing->DDBltBurst(target, f.L, f.T, f.W, f.H, src.lpFirstA, src.nSrcX, src.nSrcY, d, 1);
    }
  }
  return Advance(chara, bFrozen);
}

int DrawFxSplitH(cCharaBase& chara, DDSURFACEDATA* target, const GRAPHICSOURCE& src, int bFrozen, int bDraw) {
  return DrawSplit(chara, target, src, bFrozen, bDraw, 0);
}

int DrawFxSplitV(cCharaBase& chara, DDSURFACEDATA* target, const GRAPHICSOURCE& src, int bFrozen, int bDraw) {
  return DrawSplit(chara, target, src, bFrozen, bDraw, 1);
}

int DrawFxWaveH(cCharaBase& chara, DDSURFACEDATA* target, const GRAPHICSOURCE& src, int bFrozen, int bDraw) {
  return DrawWave(chara, target, src, bFrozen, bDraw, 0);
}

int DrawFxWaveV(cCharaBase& chara, DDSURFACEDATA* target, const GRAPHICSOURCE& src, int bFrozen, int bDraw) {
  return DrawWave(chara, target, src, bFrozen, bDraw, 1);
}

int DrawFxBlink(cCharaBase& chara, DDSURFACEDATA* target, const GRAPHICSOURCE& src, int bFrozen, int bDraw) {
  cCharaEffectState& e = chara.m_CharaEffect;
  if (bDraw && e.m_bShown == 1) DrawPlain(cFx(chara, target, src));
  BlinkTurn(e, Params(e)[1], bFrozen);
  return Advance(chara, bFrozen);
}

int DrawFxRotateA(cCharaBase& chara, DDSURFACEDATA* target, const GRAPHICSOURCE& src, int bFrozen, int bDraw) {
  // The 3D device turns every picture as a quad: kind 8 serves.
  if (lpDTCon) return DrawFxRotateB(chara, target, src, bFrozen, bDraw);
  if (bDraw) {
    const cFx f(chara, target, src);
    if (!f.scaled) {
      RotateInPlace(f);
    } else {
      // Turned at its sheet size into a square work area, then stretched.
      const int bw = f.SourceW(), bh = f.SourceH();
      const int q = ToIntChecked(kSqrt2 * bw);
      const int e = ToIntChecked(kSqrt2 * f.W);
      PlayDrawing->DDFillRect(lpEffectWork1, 0, 0, q, q, 0);
      PlayDrawing->DDBltRotate(lpEffectWork1, q / 2, q / 2, bw, bh, bw / 2, bh / 2, f.Value(), src.lpSecondA,
                               src.nSrcX, src.nSrcY, 0);
      PlayDrawing->DDBltStretch(target, SatEffect(int64_t{f.L} + f.W / 2 - e / 2), SatEffect(int64_t{f.T} + f.H / 2 - e / 2), e,
                                e, lpEffectWork1, 0, 0, q, q, 1);
    }
  }
  return Advance(chara, bFrozen);
}

int DrawFxRotateB(cCharaBase& chara, DDSURFACEDATA* target, const GRAPHICSOURCE& src, int bFrozen, int bDraw) {
  if (bDraw) {
    const cFx f(chara, target, src);
    if (!f.scaled) {
      cTintAround tint(src, lpDTCon != nullptr);
      RotateInPlace(f);
    } else {
      DDSURFACEDATA* work = Work(lpDTCon ? SURFACE_WORK_A : SURFACE_WORK_B);
      CopyToWork(f, work);
      PlayDrawing->DDBltRotate(target, f.CentreX(), f.CentreY(), f.W, f.H, f.W >> 1, f.H >> 1, f.Value(), work, 0,
                               0, 1);
    }
  }
  return Advance(chara, bFrozen);
}

int DrawFxRotateDepth(cCharaBase& chara, DDSURFACEDATA* target, const GRAPHICSOURCE& src, int bFrozen,
                      int bDraw) {
  if (bDraw) {
    const cFx f(chara, target, src);
    cTintAround tint(src);
    PlayDrawing->DDBltDepthRotate(target, f.L, f.T, f.W, f.H, src.lpChosenA, src.nSrcX, src.nSrcY, src.lpChosenB,
                                  src.nSrcX, src.nSrcY, f.SourceW(), f.SourceH(), 1, f.Value(), 0);
  }
  return Advance(chara, bFrozen);
}

int DrawFxCircle(cCharaBase& chara, DDSURFACEDATA* target, const GRAPHICSOURCE& src, int bFrozen, int bDraw) {
  if (bDraw) {
    const cFx f(chara, target, src);
    const int step = EffectCount(f.p[3]);
    const int cx = SatEffect(int64_t{f.L} + f.W / 2), cy = SatEffect(int64_t{f.T} + f.H / 2);
    if (!lpDTCon && !f.scaled) {
      PlayDrawing->DDBltCircle(target, cx, cy, f.W / 2, f.H / 2, f.Value(), step, src.lpFirstA,
                               SatEffect(int64_t{src.nSrcX} + f.W / 2), SatEffect(int64_t{src.nSrcY} + f.H / 2), 1);
    } else {
      CopyToWork(f, lpEffectWork1);
      PlayDrawing->DDBltCircle(target, cx, cy, f.W / 2, f.H / 2, ToIntChecked(f.k * f.v),
                               SatEffect(static_cast<int64_t>(step) * f.k), lpEffectWork1, f.W / 2, f.H / 2, 1);
    }
  }
  return Advance(chara, bFrozen);
}

int DrawFxZoom(cCharaBase& chara, DDSURFACEDATA* target, const GRAPHICSOURCE& src, int bFrozen, int bDraw) {
  if (bDraw) {
    const cFx f(chara, target, src);
    // A value of 32 shows the graphic at its own size.
    if (!f.scaled) {
      const int64_t e = ToIntChecked(f.v - 32);
      cTintAround tint(src);
      PlayDrawing->DDBltStretch(target, SatEffect(f.L - e / 2), SatEffect(f.T - e / 2), SatEffect(f.W + e), SatEffect(f.H + e),
                                src.lpSecondA, src.nSrcX, src.nSrcY, f.W, f.H, 1);
    } else {
      const int64_t e = ToIntChecked((f.v - 32) * f.k);
      CopyToWork(f, lpEffectWork1);
      PlayDrawing->DDBltStretch(target, SatEffect(f.L - (e >> 2)), SatEffect(f.T - (e >> 2)), SatEffect(f.W + (e >> 1)),
                                SatEffect(f.H + (e >> 1)), lpEffectWork1, 0, 0, f.W, f.H, 1);
    }
  }
  return Advance(chara, bFrozen);
}

int DrawFxLens(cCharaBase& chara, DDSURFACEDATA* target, const GRAPHICSOURCE& src, int bFrozen, int bDraw) {
  if (bDraw) {
    const cFx f(chara, target, src);
    const int64_t cx = static_cast<int64_t>(f.p[3]) * f.k, cy = static_cast<int64_t>(f.p[4]) * f.k;
    const int64_t g = ToIntChecked(kSqrt2 * static_cast<double>(std::max(std::llabs(cx), std::llabs(cy)) + f.W / 2));
    const int o = f.scaled ? SatEffect(static_cast<int64_t>(f.Value()) * f.k) : f.Value();
    const int64_t n = !lpDTCon && nBpp != 16 ? 2 * g : 4 * g;
    PlayDrawing->DDFillRect(lpEffectWork2, 0, 0, SatEffect(n), SatEffect(n), 0);
    if (f.scaled) {
      CopyToWork(f, lpEffectWork2);
    } else {
      cTintAround tint(src);
      PlayDrawing->DDBlt(lpEffectWork2, 0, 0, f.W, f.H, src.lpFirstA, src.nSrcX, src.nSrcY, 0);
    }
    const int lensX = SatEffect(cx + f.W / 2), lensY = SatEffect(cy + f.H / 2);
    const int64_t centreX = int64_t{f.L} + f.W / 2 + cx, centreY = int64_t{f.T} + f.H / 2 + cy;
    if (lpDTCon && (src.bTint || lpDTCon->bVirBackBuffer)) {
      // Through entry 69, then onto the target as a picture of 2g x 2g.
      DDSURFACEDATA* lens = Work(SURFACE_WORK_LENS);
      const int bClear = src.bTint || (bWindowMode && nBpp == 32) ? 1 : 0;
      PlayDrawing->DDFillRect(lens, 0, 0, SatEffect(4 * g), SatEffect(4 * g), 0);
      PlayDrawing->DDBltLens(lens, SatEffect(g), SatEffect(g), SatEffect(g), o, lpEffectWork2, lensX, lensY, 1, bClear);
      Put(src, target, SatEffect(centreX - g), SatEffect(centreY - g), SatEffect(2 * g), SatEffect(2 * g), lens, 0, 0, 1);
    } else {
      PlayDrawing->DDBltLens(target, SatEffect(centreX), SatEffect(centreY), SatEffect(g), o, lpEffectWork2, lensX, lensY, 1, 0);
    }
  }
  return Advance(chara, bFrozen);
}

int DrawFxColor(cCharaBase& chara, DDSURFACEDATA* target, const GRAPHICSOURCE& src, int bFrozen, int bDraw) {
  if (bDraw) {
    const cFx f(chara, target, src);
    const int level = f.Value();
    const uint8_t colour = static_cast<uint8_t>(f.p[3] & 0xFF);
    if (!f.scaled && !src.bTint) {
      PlayDrawing->DDBltTint(target, f.L, f.T, f.W, f.H, src.lpSecondA, src.nSrcX, src.nSrcY, 1, BasePalette,
                             BlendTable, colour, level);
    } else {
      DDSURFACEDATA* work = Work(SURFACE_WORK_B);
      if (f.scaled)
        CopyToWork(f, work);
      else
        CopyTintedToWork(f, work);
      PlayDrawing->DDBltTint(target, f.L, f.T, f.W, f.H, work, 0, 0, 1, BasePalette, BlendTable, colour, level);
    }
  }
  return Advance(chara, bFrozen);
}

int DrawFxTranslucent(cCharaBase& chara, DDSURFACEDATA* target, const GRAPHICSOURCE& src, int bFrozen,
                      int bDraw) {
  cCharaEffectState& e = chara.m_CharaEffect;
  // Translucent and hidden turns; never opaque.
  if (bDraw && e.m_bShown == 0) {
    const cFx f(chara, target, src);
    DDSURFACEDATA* work = Work(SURFACE_WORK_B);
    if (f.scaled) {
      CopyToWork(f, work);
      PlayDrawing->DDBltHalf(target, f.L, f.T, f.W, f.H, work, 0, 0, 1, BlendTable);
    } else if (lpDTCon && src.bTint) {
      CopyTintedToWork(f, work);
      PlayDrawing->DDBltHalf(target, f.L, f.T, f.W, f.H, work, 0, 0, 1, BlendTable);
    } else {
      PlayDrawing->DDBltHalf(target, f.L, f.T, f.W, f.H, src.lpSecondA, src.nSrcX, src.nSrcY, 1, BlendTable);
    }
  }
  BlinkTurn(e, Params(e)[1], bFrozen);
  return Advance(chara, bFrozen);
}

int DrawFxMosaic(cCharaBase& chara, DDSURFACEDATA* target, const GRAPHICSOURCE& src, int bFrozen, int bDraw) {
  if (bDraw) {
    const cFx f(chara, target, src);
    const int block = f.Value();  // never scaled
    DrawThroughWork(f, [&](DDSURFACEDATA* dst, int x, int y, DDSURFACEDATA* from, int sx, int sy) {
      PlayDrawing->DDBltMosaic(dst, x, y, f.W, f.H, block, from, sx, sy, 1);
    });
  }
  return Advance(chara, bFrozen);
}

int DrawFxBlur(cCharaBase& chara, DDSURFACEDATA* target, const GRAPHICSOURCE& src, int bFrozen, int bDraw) {
  if (bDraw) {
    const cFx f(chara, target, src);
    const int r = f.Value();
    if (nBpp == 8) {
      // No blur in 8-bit colour: a tint toward colour 31 at the blur's level.
      if (f.scaled) {
        CopyToWork(f, lpEffectWork2);
        PlayDrawing->DDBltTint(target, f.L, f.T, f.W, f.H, lpEffectWork2, 0, 0, 1, BasePalette, BlendTable,
                               kBlurTintColour, r);
      } else {
        PlayDrawing->DDBltTint(target, f.L, f.T, f.W, f.H, src.lpSecondA, src.nSrcX, src.nSrcY, 1, BasePalette,
                               BlendTable, kBlurTintColour, r);
      }
    } else {
      DrawThroughWork(f, [&](DDSURFACEDATA* dst, int x, int y, DDSURFACEDATA* from, int sx, int sy) {
        PlayDrawing->DDBltBlur(dst, x, y, f.W, f.H, r, r, from, sx, sy, 1);
      });
    }
  }
  return Advance(chara, bFrozen);
}

const CHARAFXDRAW CharaFxDrawTable[CHARAEFFECT_COUNT] = {
    DrawFxNone,   DrawFxBurst,     DrawFxSplitH,  DrawFxSplitV, DrawFxWaveH,       DrawFxWaveV,
    DrawFxBlink,  DrawFxRotateA,   DrawFxRotateB, DrawFxRotateDepth, DrawFxCircle, DrawFxZoom,
    DrawFxLens,   DrawFxColor,     DrawFxTranslucent, DrawFxMosaic, DrawFxBlur,
};
