// A story slot of any bytes: the load takes only a file that reads whole and
// leaves every list the game indexes, a damaged one leaves the record as it
// was, the scan agrees, nothing asks the program to close, and an accepted
// file saved again loads back to the same bytes.
#include <cstdint>
#include <string>

#include "fuzz_support.h"
#include "platform/close_request.h"
#include "records/save_data.h"
#include "records/save_slots.h"
#include "records/system.h"
#include "records/world_map.h"

namespace {

std::string Saved(cSaveData& record) {
  cDataWriter w;
  record.Save(w);
  return w.Bytes();
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::InScratchFolder here;
  static plat::FakeLocalTime clock({2024, 2, 4, 29, 23, 58, 59, 987});
  static const bool folders = plat::CreateDirectory("user_data") && plat::CreateDirectory("user_data\\story");
  if (!folders) __builtin_trap();
  fuzz::WriteFile("user_data\\story\\Story01.dat", std::string(reinterpret_cast<const char*>(data), size));

  plat::ResetCloseRequests();
  PlayData.Reset();
  PlayData.m_nTotalScore = 4242;
  const std::string before = Saved(PlayData);
  const bool loaded = PlayData.LoadSlot(0);
  if (plat::CloseRequestCount() != 0) __builtin_trap();
  if (!loaded) {
    if (Saved(PlayData) != before) __builtin_trap();
  } else {
    const cSaveData& d = PlayData;
    if (d.m_vCarried.Size() != CARRY_ITEM_COUNT || d.m_vStageClear.Size() != STAGE_CLEAR_FLAG_COUNT ||
        d.m_vCommonVar.Size() != COMMON_VAR_COUNT || d.m_vHeroStatus.empty() ||
        d.m_vChallenge.Size() != SystemData.m_nChallengeStages || d.m_nSlot != 0 || d.m_nRankingCat < 0 ||
        d.m_nRankingCat >= RESULT_CATEGORY_COUNT || d.m_nMapX < 0 || d.m_nMapX >= WorldMap.m_nWidth ||
        d.m_nMapY < 0 || d.m_nMapY >= WorldMap.m_nHeight || d.m_nUnlocked > SystemData.m_nChallengeStages)
      __builtin_trap();
  }
  ScanSaveSlots(SlotSummary);
  if (SlotSummary.Size() != SAVE_SLOT_COUNT || SlotSummary[0].m_bUsed != (loaded ? 1 : 0)) __builtin_trap();

  if (loaded) {
    if (!PlayData.SaveSlot(0)) __builtin_trap();
    const std::string first = fuzz::ReadFile("user_data\\story\\Story01.dat");
    cSaveData again;
    if (!again.LoadSlot(0) || !again.SaveSlot(0)) __builtin_trap();
    if (fuzz::ReadFile("user_data\\story\\Story01.dat") != first) __builtin_trap();
  }
  return 0;
}
