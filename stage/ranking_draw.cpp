#include "stage/ranking_draw.h"

#include <algorithm>
#include <string>

#include "base/dbcs_text.h"
#include "base/number_text.h"
#include "base/text_format.h"
#include "game/game.h"
#include "game/play_drawing.h"
#include "media/font.h"
#include "media/surface_table.h"
#include "media/system_surfaces.h"
#include "records/ranking.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/started_by_editor.h"
#include "records/system.h"
#include "records/system_ini.h"

namespace {

constexpr int kCategoryCaptionText = 5;  // System.dat texts 5..9
constexpr int kSwitchHintText = 24;      // "Vキーでジャンルの切り替え"
constexpr int kClearTimeCategory = 2;
constexpr int kClearTimeWidth = 8;  // "mm:ss.hh"
constexpr int kTagX = 16;           // the new-entry tag and cursor: 16 x 16 at (16, 48)
constexpr int kTagY = 48;
// "Ranking     %s", "ランキング    %s"
constexpr char kTitleEnglish[] = "Ranking     %s";
constexpr char kTitle[] = "\x83\x89\x83\x93\x83\x4c\x83\x93\x83\x4f    %s";

Font& RankingFont() { return SysFont[1]; }

const char* Caption(int category) {
  return SystemData.m_vTexts.At(kCategoryCaptionText + category).c_str();
}

int32_t RunValue(int category) {
  switch (category) {
    case 0: return PlayData.m_nTotalScore;
    case 1: return PlayData.m_nTimeLeftSum;
    case 2: return PlayData.m_nClearTimeSum;
    case 3: return PlayData.m_nHpSum;
    default: return PlayData.m_nSpSum;
  }
}

std::string ValueText(int category, int32_t value) {
  if (category != kClearTimeCategory) return FormatText("%d", value);
  std::string text;
  FormatClearTime(text, value);
  return text;
}

void DrawTag(DDSURFACEDATA* surface, int x, int y) {
  PlayDrawing->DDBlt(surface, x, y, 16, 16, &SurfaceTable[SURFACE_ACCESSORY], kTagX, kTagY, 1);
}

}  // namespace

void cRankingTable::Draw(DDSURFACEDATA* surface, int x, int y, int category, int cursorRow) const {
  Font& font = RankingFont();
  const int bIcons = SystemData.m_bIconLetters ? 1 : 0;
  PlayDrawing->DrawBox(font, surface, x + 1, y + 1, 270, 350);
  const bool english = SystemIni.nEnglish != 0;
  PlayDrawing->DrawText(font, surface, x, y, FormatText(english ? kTitleEnglish : kTitle, Caption(category)).c_str(),
                        english ? bIcons : 0);
  const int width = category == kClearTimeCategory
                        ? kClearTimeWidth
                        : (m_vEntries.empty() ? 1 : CountDigits(m_vEntries[0].m_nValue));
  for (int i = 0; i < m_vEntries.Size(); ++i) {
    const cRankingEntry& row = m_vEntries[i];
    if (!row.m_bUsed) continue;
    const int rowY = y + 16 * (i + 1);
    PlayDrawing->DrawText(font, surface, x + 16, rowY, FormatText("%d", i + 1).c_str(), 0);
    PlayDrawing->DrawText(font, surface, x + 64, rowY, row.m_strName.c_str(), bIcons);
    const std::string value = ValueText(category, row.m_nValue);
    const int valueX = category == kClearTimeCategory ? x + 144
                                                      : x + 16 * (width - CountDigits(row.m_nValue) + 9);
    PlayDrawing->DrawText(font, surface, valueX, rowY, value.c_str(), 0);
  }
  if (SystemData.CountRankingCategories(Game.m_nPlayKind) >= 2) {
    const char* hint = SystemData.m_vTexts.At(kSwitchHintText).c_str();
    PlayDrawing->DrawText(font, surface, x + 136 - 8 * CountChars(hint), y + 16 + 16 * m_vEntries.Size(), hint, 0);
  }
  if (cursorRow >= 0) DrawTag(surface, x, y + 16 * cursorRow + 16);
}

void cRanking::Draw(DDSURFACEDATA* surface, int x, int y, int category, int cursorRow) const {
  m_vTables.At(category).Draw(surface, x, y, category, cursorRow);
}

int CategoryCounts(int category) {
  const int stageRanks = category >= 0 && category < Stage.m_vRanked.Size() && Stage.m_vRanked[category] != 0;
  if (bTestPlay) return stageRanks;
  if (!Game.m_bRanking || !stageRanks) return 0;
  const int kind = Game.m_nPlayKind;
  if (kind < 0 || kind >= SystemData.m_vRankingModes.Size()) return 0;
  const cVector<uint8_t>& flags = SystemData.m_vRankingModes[kind].m_vCategories;
  return category < flags.Size() && flags[category] != 0 ? 1 : 0;
}

void DrawResultTotals(DDSURFACEDATA* surface, int x, int y, const cVector<int32_t>& ranks) {
  int shown = 0;
  int labelWidth = 1;
  int valueWidth = 1;
  for (int c = 0; c < RESULT_CATEGORY_COUNT; ++c) {
    if (!CategoryCounts(c)) continue;
    ++shown;
    labelWidth = std::max(labelWidth, CountChars(Caption(c)));
    valueWidth = std::max(valueWidth, c == kClearTimeCategory ? kClearTimeWidth : CountDigits(RunValue(c)));
  }
  if (shown == 0) return;
  Font& font = RankingFont();
  PlayDrawing->DrawBox(font, surface, x, y, 16 * (valueWidth + labelWidth + 3), 16 * shown);
  int rowY = y;
  for (int c = 0; c < RESULT_CATEGORY_COUNT; ++c) {
    if (!CategoryCounts(c)) continue;
    PlayDrawing->DrawText(font, surface, x + 16, rowY, Caption(c), 0);
    PlayDrawing->DrawText(font, surface, x + 32 + 16 * labelWidth, rowY, ValueText(c, RunValue(c)).c_str(), 0);
    rowY += 16;
  }
  int tagY = y;
  for (int c = 0; c < ranks.Size(); ++c) {
    if (ranks[c] == -1) continue;
    DrawTag(surface, x, tagY);
    tagY += 16;
  }
}
