#include "frontend/save_slot_list.h"

#include "base/text_format.h"
#include "game/play_drawing.h"
#include "media/font.h"

namespace {

constexpr int kListWidth = 320;
constexpr int kRowLineColour = 240;

}  // namespace

void cSaveSlotInfo::DrawDate(DDSURFACEDATA* surface, int x, int y) const {
  if (!m_bUsed) return;
  PlayDrawing->DrawText(SysFont[1], surface, x, y,
                        FormatText("%04d/%02d/%02d %02d:%02d\n", m_Time.wYear, m_Time.wMonth, m_Time.wDay,
                                   m_Time.wHour, m_Time.wMinute)
                            .c_str(),
                        0);
}

void DrawSaveSlotList(DDSURFACEDATA* surface, int x, int y, const cVector<cSaveSlotInfo>& summaries, int top,
                      int rows) {
  PlayDrawing->DrawBox(SysFont[1], surface, x, y, kListWidth, 16 * rows);
  for (int i = 0; i < rows; ++i) {
    const int rowY = y + 16 * i;
    if (i != rows - 1) PlayDrawing->DDFillRect(surface, x, rowY + 15, kListWidth, 1, kRowLineColour);
    const int slot = top + i;
    if (slot >= summaries.Size()) break;
    if (slot < 0) continue;
    PlayDrawing->DrawText(SysFont[1], surface, x + 16, rowY, FormatText("%d", slot + 1).c_str(), 0);
    summaries[slot].DrawDate(surface, x + 64, rowY);
  }
}
