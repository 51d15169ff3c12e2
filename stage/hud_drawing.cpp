// The status bar over the top of the screen (scores, HP and SP gauges,
// lives) and the time limit's counter with its warning sound.
#include <algorithm>
#include <cstdint>

#include "base/dbcs_text.h"
#include "base/timers.h"
#include "base/window_messages.h"
#include "game/characters.h"
#include "game/play_drawing.h"
#include "media/font.h"
#include "media/surface_table.h"
#include "media/system_surfaces.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/system.h"
#include "stage/scene_stage.h"

namespace {

constexpr int kStatusWindow = 46;  // StatusWindow.bmp
constexpr int kWordImage = 51;     // Word.bmp: the timer digits
constexpr int kItemCount = 5;      // total score, stage score, HP, SP, lives
constexpr int kHp = 2, kSp = 3, kLives = 4;
constexpr int kGaugeW = 50;
constexpr int kIconY = 2;          // icons and gauges, centred in the 20-dot bar
constexpr int kTextY = 3;
constexpr int kGaugeNumberY = 6;
constexpr int kWarningSound = 13;

bool IsGauge(int item) { return item == kHp || item == kSp; }

const cEdStatusItem* Item(int i) {
  return i < SystemData.m_vStatusItems.Size() ? &SystemData.m_vStatusItems[static_cast<size_t>(i)] : nullptr;
}

// The label's width, then the value's (the gauge, or the digit cells).
int LabelWidth(const cEdStatusItem& item) { return item.m_bIcon ? 16 : 16 * CountChars(item.m_strLabel.c_str()); }
int64_t ItemWidth(int i, const cEdStatusItem& item) {
  const int64_t value = IsGauge(i) ? kGaugeW : int64_t{16} * std::max(0, item.m_nDigits);
  return LabelWidth(item) + value;
}

// The fill of a gauge: its share of 50 dots, kept inside the frame.
int GaugeFill(int32_t value, int32_t maximum) {
  if (maximum <= 0) return 0;
  return static_cast<int>(std::clamp<int64_t>(int64_t{value} * kGaugeW / maximum, 0, kGaugeW));
}

}  // namespace

void cSceneStage::DrawHud(DDSURFACEDATA* target) {
  if (!m_bShowStatus) return;
  int shown = 0;
  int64_t widths = 0;
  for (int i = 0; i < kItemCount; ++i) {
    const cEdStatusItem* item = Item(i);
    if (!item || !item->m_bVisible) continue;
    ++shown;
    widths += ItemWidth(i, *item);
  }
  if (shown == 0) return;
  const int64_t gap = (638 - widths) / (shown + 1);

  DDSURFACEDATA* accessory = &SurfaceTable[SURFACE_ACCESSORY];
  Font& font = SysFont[1];
  PlayDrawing->DDBlt(target, 0, 0, 640, 20, &SurfaceTable[kStatusWindow], 0, 0, 1);
  const cHero* hero = Hero();
  int64_t x64 = gap;
  for (int i = 0; i < kItemCount; ++i) {
    const cEdStatusItem* item = Item(i);
    if (!item || !item->m_bVisible) continue;
    const int x = static_cast<int>(std::clamp<int64_t>(x64, INT32_MIN / 2, INT32_MAX / 2));
    const char* label = item->m_strLabel.c_str();
    if (item->m_bIcon) PlayDrawing->DDBlt(target, x, kIconY, 16, 16, accessory, 16 * i, 32, 1);
    if (IsGauge(i)) {
      const int32_t value = hero ? (i == kHp ? hero->m_nHp : hero->m_nSp) : 0;
      const int32_t maximum = hero ? (i == kHp ? hero->m_Def.m_nMaxHp : hero->m_Def.m_nMaxSp) : 0;
      if (!item->m_bIcon) PlayDrawing->DrawTextF(font, target, x, kTextY, "%s", label);
      const int gx = x + LabelWidth(*item);
      const int frameX = i == kHp ? 0 : 64;
      PlayDrawing->DDBlt(target, gx, kIconY, kGaugeW, 16, accessory, frameX, 128, 1);
      const int fill = GaugeFill(value, maximum);
      const int row = SystemData.IsStatusLow(i, value, maximum) ? 160 : 144;
      if (fill > 0) PlayDrawing->DDBlt(target, gx, kIconY, fill, 16, accessory, frameX, row, 1);
      if (item->m_bShowValue) PlayDrawing->DrawTextF(SysFont[0], target, gx, kGaugeNumberY, "%d", value);
    } else {
      int32_t value = 0;
      if (i == 0) value = PlayData.m_nTotalScore;
      if (i == 1) value = PlayData.m_nStageScore;
      if (i == kLives) value = PlayData.m_nLives;
      const bool infinite = i == kLives && value == LIVES_INFINITE;
      if (item->m_bIcon) {
        if (infinite)
          PlayDrawing->DrawTextF(font, target, x + 16, kTextY, "-");
        else
          PlayDrawing->DrawTextF(font, target, x + 16, kTextY, "%d", value);
      } else if (infinite) {
        PlayDrawing->DrawTextF(font, target, x, kTextY, "%s-", label);
      } else {
        PlayDrawing->DrawTextF(font, target, x, kTextY, "%s%d", label, value);
      }
    }
    x64 += ItemWidth(i, *item) + gap;
  }
}

void cSceneStage::DrawTimer(DDSURFACEDATA* target, int bSound) {
  if (m_bNoTimeLimit) return;
  PlayDrawing->DDDrawNumber(target, 272, 24, 32, 32, &SurfaceTable[kWordImage], 0, 160, 1, m_nTimeLeft, 3, 1);
  // The one-second counter of the time limit stands at 0 on the frame that
  // starts a new second.
  if (bSound && m_nTimeLeft > 0 && m_nTimeLeft <= Stage.m_nTimeWarning &&
      EveryNth(2, static_cast<unsigned>(std::max(0, Stage.m_nFps))))
    PlaySe(kWarningSound);
}
