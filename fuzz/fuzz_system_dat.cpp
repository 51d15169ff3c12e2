// System.dat of any bytes: the load never reads or writes out of bounds,
// leaves every list the runtime indexes complete, and what it saves loads
// back to the same bytes.
#include <cstdint>
#include <string>

#include "fuzz/fuzz_support.h"
#include "records/system.h"
#include "media/dd_surface.h"
#include "media/system_menu.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  fuzz::InScratchFolder scratch;
  cDataReader r(std::string(reinterpret_cast<const char*>(data), size));
  cEdSystem s;
  if (r.HasVersion()) s.Load(r);

  if (s.m_vTexts.Size() < SYSTEM_TEXT_COUNT || s.m_vIniKeys.Size() < SYSTEM_INIKEY_COUNT ||
      s.m_vCarry.Size() < SYSTEM_CARRY_COUNT || s.m_vLoseOnMiss.Size() < SYSTEM_CARRY_COUNT ||
      s.m_vStatusItems.Size() < SYSTEM_STATUS_COUNT || s.m_vRankingModes.Size() < SYSTEM_PLAYKIND_COUNT ||
      s.m_vSystemSounds.Size() < SYSTEM_SOUND_COUNT || s.m_vScreenBgm.Size() < SYSTEM_SCREEN_COUNT ||
      s.m_nChallengeStages < 0 || s.m_nChallengeStages > SYSTEM_MAX_CHALLENGE_STAGES)
    __builtin_trap();
  for (int k = 0; k < SYSTEM_PLAYKIND_COUNT; ++k) s.CountRankingCategories(k);
  for (int item : {2, 3}) {
    s.IsStatusLow(item, 5, 0);
    s.IsStatusLow(item, INT32_MIN, INT32_MAX);
  }
  s.FontName();
  SystemData = s;
  GetMenuLeft(320, 19, 3, 1);
  DrawMenuText(&BackBuffer, 0, 0, 22, 2, 1);

  cDataWriter first;
  s.Save(first);
  cEdSystem again;
  cDataReader back(first.Bytes());
  again.Load(back);
  cDataWriter second;
  again.Save(second);
  if (first.Bytes() != second.Bytes()) __builtin_trap();
  return 0;
}
