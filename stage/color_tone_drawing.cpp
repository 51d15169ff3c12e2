// The colour tone over the finished stage frame, once a frame: a tinted
// palette at 8 bits on the software display, an overlay on the 3D device,
// nothing at 16 and 32 bits on the software display.
#include <algorithm>
#include <cstdint>

#include "base/checked_convert.h"
#include "game/play_drawing.h"
#include "media/dd_layer.h"
#include "media/dd_pixels.h"
#include "media/surface_table.h"
#include "records/command.h"
#include "stage/scene_stage.h"

namespace {

constexpr int kToneW = 640;
constexpr int kToneH = 480;
constexpr int kInvisible = 255;

// A level kept to 0 (full colour) .. 255 (invisible), whatever the strength.
int ToLevel(double level) { return std::clamp(ToIntChecked(level), 0, kInvisible); }

// 8 bits: the palette pulled toward the colour by the level; an invisible
// tone gives the palette back exactly.
void TintPalette(const cColorTone& tone, int level) {
  const int keep = level >= kInvisible ? 256 : level;
  PlayDrawing->DDBlendPalette(CurPalette, 0, 255, keep, tone.m_nRed, tone.m_nGreen, tone.m_nBlue, BasePalette);
  PlayDrawing->ShowPalette(0, 256);
}

// 3D: the colour laid over the whole frame at the level.
void LayOverlay(const cColorTone& tone, int level) {
  if (lpDTCon->bVirBackBuffer) {
    DDSURFACEDATA* overlay = &SurfaceTable[SURFACE_WORK_A];
    const uint32_t colour =
        0xFF000000u | uint32_t{tone.m_nRed} << 16 | uint32_t{tone.m_nGreen} << 8 | uint32_t{tone.m_nBlue};
    PlayDrawing->DDFillSurfaceColor(overlay, colour);
    PlayDrawing->DDBltAlpha(&BackBuffer, 0, 0, kToneW, kToneH, overlay, 0, 0, 0, BlendTable, level);
  } else {
    PlayDrawing->DDChangeColor(&BackBuffer, 0, 0, kToneW, kToneH, level, tone.m_nRed, tone.m_nGreen,
                               tone.m_nBlue);
  }
}

}  // namespace

void cSceneStage::DrawColorTone(int bFrozen) {
  cColorTone& tone = m_ColorTone;
  if (!tone.m_bRunning) return;
  if (!lpDTCon) {
    if (bFrozen) return;
    // The software display has a colour tone only on its palette.
    if (nBpp != 8) {
      tone.m_bRunning = 0;
      return;
    }
  }

  // How far the tone has come: 1 at its end, at once without a duration. A
  // tone that stays keeps its end.
  const bool bDone = tone.m_nCounter >= tone.m_nDuration;
  const double t =
      tone.m_nDuration > 0 ? std::min(1.0, static_cast<double>(tone.m_nCounter) / tone.m_nDuration) : 1.0;
  const double f = t * tone.m_nStrength * 2.55;
  const bool bRestart = tone.m_bFlash && bDone && !bFrozen;
  if (bRestart)
    tone.m_nLevel = kInvisible;
  else if (tone.m_bFadeBack && !tone.m_bFlash)
    tone.m_nLevel = ToLevel(tone.m_nPrevLevel + t * (kInvisible - tone.m_nPrevLevel));
  else
    tone.m_nLevel = ToLevel(kInvisible - f);
  if (lpDTCon)
    LayOverlay(tone, tone.m_nLevel);
  else
    TintPalette(tone, tone.m_nLevel);

  if (bFrozen) return;
  if (!bDone) {
    ++tone.m_nCounter;
    return;
  }
  if (tone.m_bFlash) {
    tone.m_nCounter = 0;
    if (++tone.m_nFlashCounter >= tone.m_nFlashCount) tone.m_bRunning = 0;
    return;
  }
  // A tone that is not faded back stays on the 3D device at its strength
  // until the next screen-colour command.
  if (lpDTCon && !tone.m_bFadeBack && tone.m_nStrength != 0) return;
  tone.m_bRunning = 0;
}

void cSceneStage::StartColorTone(const cEdCommand& command) {
  int32_t params[8] = {};
  for (int i = 0; i < 8 && i < command.m_vParams.Size(); ++i) params[i] = command.m_vParams[static_cast<size_t>(i)];
  m_ColorTone.Start(params);
}
