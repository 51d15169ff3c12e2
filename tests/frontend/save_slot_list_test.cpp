// The list of story save slots, drawn: the box, a line under each row but the
// last, the slot numbers from the top row and the dates of used slots.
#include <gtest/gtest.h>

#include "frontend/save_slot_list.h"
#include "media/surface_table.h"
#include "support/recording_renderer.h"

using testsupport::RecordingRenderer;

TEST(SaveSlotList, RowsFromTheTopUntilTheSummariesEnd) {
  cVector<cSaveSlotInfo> summaries(3);
  summaries[1].m_bUsed = 1;
  summaries[1].m_Time = {2024, 2, 4, 29, 23, 58, 59, 987};
  summaries[2].m_Time = {2023, 1, 0, 1, 0, 0, 0, 0};  // unused: no date
  RecordingRenderer drawn;
  DrawSaveSlotList(&BackBuffer, 100, 50, summaries, 1, 4);
  const std::vector<std::string> want = {
      "DrawBox F1 Back 100 50 320 64",
      "DDFillRect Back 100 65 320 1 240", "DrawText F1 Back 116 50 0 2",
      "DrawText F1 Back 164 50 0 2024/02/29 23:58\n",
      "DDFillRect Back 100 81 320 1 240", "DrawText F1 Back 116 66 0 3",
      "DDFillRect Back 100 97 320 1 240",  // the summaries end at the third row
  };
  EXPECT_EQ(drawn.Take(), want);

  DrawSaveSlotList(&BackBuffer, 0, 0, summaries, 0, 1);
  EXPECT_EQ(drawn.Take(), (std::vector<std::string>{"DrawBox F1 Back 0 0 320 16", "DrawText F1 Back 16 0 0 1"}));
}
