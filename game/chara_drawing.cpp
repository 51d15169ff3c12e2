// A character on the screen: its attached animations and the frame they
// show, the column and tint of its graphic, the drawing through its running
// effect with the overlay icon, the defeat display, and the HP and SP gauges.
#include "base/checked_convert.h"
#include "game/chara_base.h"
#include "game/chara_effects.h"
#include "game/game.h"
#include "game/graphic_source.h"
#include "game/play_drawing.h"
#include "media/dd_layer.h"
#include "media/palette_scheme.h"
#include "media/surface_table.h"
#include "media/system_surfaces.h"
#include "records/anime_records.h"
#include "records/database.h"
#include "records/system.h"

namespace {

// Accessory.bmp: the gauges' rows, from 208 two apart in a tall image, else
// from 128 sixteen apart.
constexpr int GAUGE_TALL_ABOVE = 208;
constexpr int GAUGE_WIDTH = 50;
// The difference bar is gone for the last frames of the timer.
constexpr int GAUGE_STILL_FRAMES = 60;

int Sat(int64_t v) { return SaturateToInt(v); }

}  // namespace

int cCharaBase::UpdateAttachedAnimes(int bFrozen) {
  if (!bFrozen) {
    m_Anime.Advance();
    for (auto it = m_lAnimes.begin(); it != m_lAnimes.end();) {
      if (it->bPaused) {
        ++it;
      } else if (it->m_Anime.Advance() == ANIMECODE_END) {
        it = m_lAnimes.erase(it);
      } else {
        if (it->nLength > INT32_MIN) it->nLength -= 1;
        ++it;
      }
    }
  }
  // A scheduled animation wins over the play-anime ones and the own one;
  // among scheduled ones the least length left while lengths are positive.
  const ATTACHEDANIME* chosen = nullptr;
  int32_t best = INT32_MAX;
  bool settled = false;
  for (const ATTACHEDANIME& a : m_lAnimes) {
    if (a.bPaused) continue;
    const int32_t r = a.nLength;
    if (settled) {
      if (r <= 0 && best <= 0 && best < r) {
        chosen = &a;
        best = r;
      }
    } else if (a.bScheduled) {
      if (r <= 0 && best <= 0) {
        chosen = &a;
        best = r;
        settled = true;
      } else if (r < best) {
        chosen = &a;
        best = r;
      }
    } else if (!chosen) {
      chosen = &a;
      best = INT32_MAX;
    }
  }
  return chosen ? chosen->m_Anime.GetFrame() : m_Anime.GetFrame();
}

int cCharaBase::GetGraphicColumn(GRAPHICSOURCE& out) const {
  const cEdAnimeSet& set = Database.m_vAnimeSet.At(m_Def.m_nAnimeSet);
  int64_t column = m_Def.m_nGraphicOffset;
  out.bTint = 0;
  if (m_Def.m_nFlyMode != 0) column += set.m_nFlyCell;
  if (m_Def.m_bBlockChara) column += set.m_nBlockCell;
  if (m_Def.m_bInvincible != 0) {
    column += set.m_nInvincibleCell;
    // Tint numbers outside the animated colours (entry 0 included) give none.
    const int tint = m_Def.m_nInvincibleBlink;
    if (lpDTCon && SystemData.m_bD3DCharaBlend && tint > 0 && tint < ANIMCOLOR_COUNT) {
      out.bTint = 1;
      out.nTintColor = static_cast<int32_t>(AnimColorTable[tint].dwColor);
      out.nTintOp = static_cast<int32_t>(AnimColorTable[tint].dwColorOp);
    }
  }
  return Sat(column);
}

void cCharaBase::Draw(DDSURFACEDATA* surface, int bFrozen) {
  const int frame = UpdateAttachedAnimes(bFrozen);
  if (m_Def.m_bTransparent) {
    StepCharaEffect(bFrozen);
    return;
  }
  UpdateScreenRect();
  if (m_bAnchorX) {
    m_rcScreen.nLeft = m_nAnchorX;
    m_rcScreen.nRight = Sat(int64_t{m_rcScreen.nLeft} + m_nGfxWidth - 1);
  }
  if (m_bAnchorY) {
    m_rcScreen.nTop = m_nAnchorY;
    m_rcScreen.nBottom = Sat(int64_t{m_rcScreen.nTop} + m_nGfxHeight - 1);
  }
  GRAPHICSOURCE src;
  const int column = GetGraphicColumn(src);
  SetGraphicSource(src, GRAPHICMODE_CHARA, m_Def.m_nGraphicKind, m_nGraphic, column, this, frame);
  // An ended effect is cleared: the character is drawn plainly from the next frame on.
  if (CharaFxDrawTable[RunningCharaEffectKind(m_CharaEffect)](*this, surface, src, bFrozen, 1))
    m_CharaEffect.m_sEffect = 0;

  if (m_Def.m_bShowIcon == 1) {
    const int m = m_Def.m_nIcon;
    const int cellX = (m / 15) * 32, cellY = (m % 15) * 32;
    const int L = m_rcScreen.nLeft, T = m_rcScreen.nTop;
    if (m_Def.m_nScale >= 2)
      PlayDrawing->DDBltStretch(surface, L, T, m_nGfxWidth, m_nGfxHeight, lpMarkSheet, cellX, cellY,
                                m_nBaseGfxWidth, m_nBaseGfxHeight, 1);
    else
      PlayDrawing->DDBlt(surface, L, T, 32, 32, &SurfaceTable[SURFACE_MARKS], cellX, cellY, 1);
  }
}

int cCharaBase::DrawDefeated(DDSURFACEDATA* surface, int bFrozen) {
  GRAPHICSOURCE src;
  const int column = GetGraphicColumn(src);
  SetGraphicSource(src, GRAPHICMODE_CHARA, m_Def.m_nGraphicKind, m_nGraphic, column, this, 0);
  // An entry that draws plainly and never ends (kind none) counts as no
  // effect, so that the defeat display still comes to an end.
  const int kind = RunningCharaEffectKind(m_CharaEffect);
  if (m_nController != 0) {
    if (kind == CHARAEFFECT_NONE) return 1;
    if (!CharaFxDrawTable[kind](*this, surface, src, bFrozen, 1)) return 0;
    m_CharaEffect.m_sEffect = 0;
    return 1;
  }
  if (kind != CHARAEFFECT_NONE) {
    if (CharaFxDrawTable[kind](*this, surface, src, bFrozen, 1)) m_CharaEffect.m_sEffect = 0;
    return 0;
  }
  if (bFrozen) return 0;
  if (m_nDefeatFrames < INT32_MAX) m_nDefeatFrames += 1;
  return m_nDefeatFrames > Game.m_nFps ? 1 : 0;
}

int cCharaBase::StepCharaEffect(int bFrozen) {
  const GRAPHICSOURCE none;
  if (!CharaFxDrawTable[RunningCharaEffectKind(m_CharaEffect)](*this, nullptr, none, bFrozen, 0)) return 0;
  m_CharaEffect.m_sEffect = 0;
  return 1;
}

void cCharaBase::DrawHpGauge(DDSURFACEDATA* surface) { DrawGauge(surface, m_HpGauge, 0); }

void cCharaBase::DrawSpGauge(DDSURFACEDATA* surface) { DrawGauge(surface, m_SpGauge, 1); }

void cCharaBase::DrawGauge(DDSURFACEDATA* surface, GAUGESTATE& gauge, int kind) {
  if (gauge.nTimer <= 0 || m_bDefeated) return;
  DDSURFACEDATA* sheet = &SurfaceTable[SURFACE_ACCESSORY];
  const bool tall = sheet->nHeight > GAUGE_TALL_ABOVE;
  const int base = tall ? 208 : 128;
  const int step = tall ? 2 : 16;
  const int sx = kind ? 64 : 0;
  // The SP gauge sits 4 dots above the HP gauge.
  const int x = Sat(int64_t{m_rcScreen.nLeft} + m_nGfxWidth / 2 - GAUGE_WIDTH / 2);
  const int y = Sat(int64_t{m_rcScreen.nTop} - (kind ? 7 : 3));
  const int value = gauge.nValue;
  const int low = kind ? SystemData.IsStatusLow(3, m_nSp, m_Def.m_nMaxSp)
                       : SystemData.IsStatusLow(2, m_nHp, m_Def.m_nMaxHp);
  PlayDrawing->DDBlt(surface, x, y, GAUGE_WIDTH, 2, sheet, sx, base, 1);
  PlayDrawing->DDBlt(surface, x, y, value, 2, sheet, sx, low ? base + 2 * step : base + step, 1);
  // The change: a gain at the end of the value bar, a loss beyond it.
  if (gauge.dDiff >= 0) {
    const int gained = ToIntChecked(gauge.dDiff);
    PlayDrawing->DDBlt(surface, Sat(int64_t{x} + value - gained), y, gained, 2, sheet, sx, base + 4 * step, 1);
  } else {
    const int lost = ToIntChecked(-gauge.dDiff);
    PlayDrawing->DDBlt(surface, Sat(int64_t{x} + value), y, lost, 2, sheet, sx, base + 3 * step, 1);
  }
  gauge.nTimer -= 1;
  if (gauge.nTimer < GAUGE_STILL_FRAMES)
    gauge.dDiff = 0;
  else
    gauge.dDiff -= gauge.dShrink;
}
