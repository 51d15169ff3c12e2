// The operations that let the scenes use the system settings without knowing
// their lists: menu layout and drawing, gauge thresholds, ranking categories.
#include "media/system_menu.h"

#include <algorithm>
#include <string>

#include "base/dbcs_text.h"
#include "media/dd_surface.h"
#include "media/font.h"
#include "records/system.h"

namespace {

constexpr int64_t CELL = 16;  // dots per character cell of the menus

// Menu width in cells: the widest text, plus the cursor column.
int64_t MenuWidth(int first, int count, int bCursorColumn) {
  int64_t widest = 0;
  for (int i = 0; i < count; ++i)
    widest = std::max<int64_t>(widest, CountChars(SystemData.m_vTexts.At(first + i).c_str()));
  return widest + (bCursorColumn ? 1 : 0);
}

int32_t ToInt32(int64_t v) {
  return static_cast<int32_t>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX));
}

}  // namespace

int32_t GetMenuLeft(int x, int first, int count, int bCursorColumn) {
  // The menu is centred on x.
  return ToInt32(x - MenuWidth(first, count, bCursorColumn) * CELL / 2);
}

void DrawMenuTextWith(Font& font, DDSURFACEDATA* target, int x, int y, int first, int count,
                      int bCursorColumn) {
  if (count <= 0) return;
  const int64_t w = MenuWidth(first, count, bCursorColumn);
  std::string joined;
  for (int i = 0; i < count; ++i) {
    if (bCursorColumn) joined += ' ';
    joined += SystemData.m_vTexts.At(first + i).c_str();
    joined += '\n';
  }
  // The texts are the project's own: drawn as data, never as a format.
  font.DrawTextBox(target, x, y, ToInt32(w * CELL), ToInt32(int64_t{count} * CELL), joined.c_str(), 0);
}

void DrawMenuText(DDSURFACEDATA*, int x, int y, int first, int count, int bCursorColumn) {
  DrawMenuTextWith(SysFont[1], &BackBuffer, x, y, first, count, bCursorColumn);
}

int32_t cEdSystem::IsStatusLow(int item, int32_t value, int32_t maximum) const {
  const cEdStatusItem& status = m_vStatusItems.At(item);
  if (!status.m_bLowPercent) return value <= status.m_nLowLevel ? 1 : 0;
  // No maximum: a value of 0 or more is not low, a negative one is.
  if (maximum == 0) return value < 0 ? 1 : 0;
  double percent = value * 100.0 / maximum;
  return status.m_nLowLevel >= percent ? 1 : 0;
}

int32_t cEdSystem::CountRankingCategories(int playKind) const {
  const cEdRankingMode& mode = m_vRankingModes.At(playKind);
  if (!mode.m_bRanking) return 0;
  // Only the five categories exist; bytes after them in a file rank nothing.
  const size_t known = std::min<size_t>(mode.m_vCategories.size(), SYSTEM_RANKING_CATEGORIES);
  return static_cast<int32_t>(std::count_if(mode.m_vCategories.begin(),
                                            mode.m_vCategories.begin() + static_cast<std::ptrdiff_t>(known),
                                            [](uint8_t c) { return c != 0; }));
}
