// A ranking file of any bytes: the load always leaves five tables of twenty
// rows (empty ones when the file is damaged), nothing asks the program to
// close, each table draws with a text per used row, and an accepted file
// saved again loads back to the same bytes.
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "game/play_drawing.h"
#include "platform/close_request.h"
#include "records/ranking.h"

namespace {

// Counts the texts a table draws, drawing nothing.
class CountingDrawing : public cPlayDrawing {
 public:
  int DrawText(Font&, DDSURFACEDATA*, int, int, const char* text, int) override {
    if (!text) __builtin_trap();
    ++m_nTexts;
    return 1;
  }
  void DrawBox(Font&, DDSURFACEDATA*, int, int, int, int) override {}
  int DDBlt(DDSURFACEDATA*, int, int, int, int, DDSURFACEDATA*, int, int, int) override { return 1; }
  int m_nTexts = 0;
};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::InScratchFolder here;
  static const bool folders = plat::CreateDirectory("user_data") && plat::CreateDirectory("user_data\\story");
  if (!folders) __builtin_trap();
  const char* path = "user_data\\story\\s.rkg";
  fuzz::WriteFile(path, std::string(reinterpret_cast<const char*>(data), size));

  plat::ResetCloseRequests();
  const bool loaded = Ranking.LoadFor(0, "data\\stg4\\s.");
  if (plat::CloseRequestCount() != 0 || Ranking.m_vTables.Size() != RANKING_TABLE_COUNT) __builtin_trap();
  for (int c = 0; c < RANKING_TABLE_COUNT; ++c) {
    const cRankingTable& table = Ranking.m_vTables[c];
    if (table.m_vEntries.Size() != RANKING_ROW_COUNT) __builtin_trap();
    int used = 0;
    for (const cRankingEntry& row : table.m_vEntries) used += row.m_bUsed ? 1 : 0;
    if (!loaded && used != 0) __builtin_trap();
    CountingDrawing drawing;
    cPlayDrawing* previous = PlayDrawing;
    PlayDrawing = &drawing;
    Ranking.Draw(&BackBuffer, 0, 0, c, c);
    PlayDrawing = previous;
    if (drawing.m_nTexts < 1 + 3 * used || drawing.m_nTexts > 2 + 3 * used) __builtin_trap();
  }

  if (loaded) {
    if (!Ranking.SaveFor(0, "s.")) __builtin_trap();
    const std::string first = fuzz::ReadFile(path);
    cRanking again;
    if (!again.LoadFor(0, "s.") || !again.SaveFor(0, "s.")) __builtin_trap();
    if (fuzz::ReadFile(path) != first) __builtin_trap();
  }
  return 0;
}
