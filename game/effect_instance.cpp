#include "game/effect_instance.h"

#include "base/checked_convert.h"
#include "base/number_text.h"
#include "game/play_drawing.h"
#include "game/stage_data.h"
#include "media/dd_layer.h"
#include "media/system_surfaces.h"
#include "records/database.h"
#include "records/system_ini.h"

namespace {

// The entry of effect number e, taken as an int16 as the instance keeps it;
// a number outside Effect.dat is reported and entry 0 taken, and play goes
// on.
int16_t CheckedEffect(int e) {
  const auto number = static_cast<int16_t>(static_cast<uint16_t>(e & 0xFFFF));
  const int size = Database.m_vEffect.Size();
  if (number >= 0 && number < size) return number;
  ReportBadIndexOnly('V', number, size, static_cast<int>(sizeof(cEdEffect)));
  return 0;
}

// The effect's record; null only when Effect.dat holds nothing.
const cEdEffect* EffectRecord(int16_t e) {
  return e >= 0 && e < Database.m_vEffect.Size() ? &Database.m_vEffect[static_cast<size_t>(e)] : nullptr;
}

// Stretched drawing uses the first image of an effect only under DirectDraw
// with DD_VideoStretch, which 8-bit colour switches off.
bool FirstImageStretches() { return !lpDTCon && SystemIni.nDD_VideoStretch != 0 && nBpp != 8; }

// Image 2n − 2 + second of effect n; null when Off_Effect lacks it.
DDSURFACEDATA* EffectImage(int n, int second) {
  const int64_t i = int64_t{n} * 2 - 2 + second;
  return i >= 0 && i < Off_Effect.Size() ? &Off_Effect[static_cast<size_t>(i)] : nullptr;
}

}  // namespace

cEffectInstance::cEffectInstance(const EFFECTSPAWN& spawn) {
  m_sEffect = CheckedEffect(spawn.nEffect);
  m_dX = spawn.dX;
  m_dY = spawn.dY;
  m_nWidth = spawn.nWidth;
  m_nHeight = spawn.nHeight;
  m_bWait = spawn.bWait;
  const cEdEffect* effect = EffectRecord(m_sEffect);
  m_bScaled = effect && m_nWidth != effect->m_nWidth ? 1 : 0;
  SetupAnime(m_sEffect);
}

cEffectInstance::cEffectInstance(int effect, const DRECT& a, const DRECT& b, int scale) {
  m_Anime.m_vPatterns.clear();
  m_bWait = 0;
  m_sEffect = CheckedEffect(effect);
  const cEdEffect* record = EffectRecord(m_sEffect);
  const int frameW = record ? record->m_nWidth : 0, frameH = record ? record->m_nHeight : 0;
  int64_t jitter = 1;
  if (record && record->m_bScaleWithOwner && scale > 1) {
    m_bScaled = 1;
    m_nWidth = SaturateToInt(int64_t{scale} * frameW);
    m_nHeight = SaturateToInt(int64_t{scale} * frameH);
    jitter = scale;
  } else {
    m_bScaled = 0;
    m_nWidth = frameW;
    m_nHeight = frameH;
  }
  DRECT meet;
  if (a.Overlaps(b)) {
    meet.dLeft = a.dLeft > b.dLeft ? a.dLeft : b.dLeft;
    meet.dTop = a.dTop > b.dTop ? a.dTop : b.dTop;
    meet.dRight = a.dRight < b.dRight ? a.dRight : b.dRight;
    meet.dBottom = a.dBottom < b.dBottom ? a.dBottom : b.dBottom;
  }
  m_dX = meet.dLeft + (ToIntChecked(meet.dRight - meet.dLeft + 1) >> 1) - (m_nWidth >> 1);
  m_dY = meet.dTop + (ToIntChecked(meet.dBottom - meet.dTop + 1) >> 1) - (m_nHeight >> 1);
  const int spread = SaturateToInt(4 * jitter);
  m_dX += RandomRange(-spread, spread);
  m_dY += RandomRange(-spread, spread);
  SetupAnime(m_sEffect);
}

void cEffectInstance::SetupAnime(int effect) {
  if (effect < 0 || effect >= EffectStepTable.Size()) {
    ReportBadIndexOnly('V', effect, EffectStepTable.Size(), static_cast<int>(sizeof(ANIMEPATTERN)));
    effect = 0;
  }
  m_Anime.m_vPatterns.resize(1);
  m_Anime.m_vPatterns[0] = EffectStepTable.empty() ? ANIMEPATTERN() : EffectStepTable[static_cast<size_t>(effect)];
  m_Anime.SetPattern(0, 1);
}

int cEffectInstance::Draw(DDSURFACEDATA* surface, int bFrozen) {
  const cEdEffect* effect = EffectRecord(m_sEffect);
  if (!effect || effect->m_vFrame.empty()) return 1;
  int32_t frame;
  if (m_bWait || !bFrozen) {
    frame = m_Anime.Advance();
    if (frame == ANIMECODE_END) return 1;
  } else {
    // Held still while play is frozen.
    frame = m_Anime.GetFrame();
  }
  const cSceneStageData& stage = StageData();
  const int px = ToIntChecked(m_dX - stage.m_ScrollX.m_dPos);
  const int py = ToIntChecked(m_dY - stage.m_ScrollY.m_dPos);
  if (!m_bScaled) {
    DDSURFACEDATA* image = EffectImage(m_sEffect, 0);
    if (image)
      PlayDrawing->DDBlt(surface, px, py, m_nWidth, m_nHeight, image, SaturateToInt(int64_t{frame} * m_nWidth), 0,
                         1);
  } else {
    DDSURFACEDATA* image = EffectImage(m_sEffect, FirstImageStretches() ? 0 : 1);
    if (image)
      PlayDrawing->DDBltStretch(surface, px, py, m_nWidth, m_nHeight, image,
                                SaturateToInt(int64_t{frame} * effect->m_nWidth), 0, effect->m_nWidth,
                                effect->m_nHeight, 1);
  }
  return 0;
}
