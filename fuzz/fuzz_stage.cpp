// A stage file of any bytes: the load never reads or writes out of bounds
// and follows no count that the file cannot hold; what it leaves has a speed
// level in range, palettes of two entries at least and a hero search that
// stays inside the placements; what it saves loads back to the same bytes.
#include <cstdint>
#include <string>

#include "records/stage.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
  cDataReader r(std::string(reinterpret_cast<const char*>(data), size));
  cEdStage stage;
  if (!r.HasVersion()) return 0;
  stage.Load(r);

  if (stage.m_nSpeedLevel < STAGE_MIN_SPEED_LEVEL || stage.m_nSpeedLevel > STAGE_MAX_SPEED_LEVEL ||
      stage.m_nStepsPerFrame < 1 || stage.m_nScrollLimitRight >= stage.m_nWidth + 0LL + 1)
    __builtin_trap();
  if (stage.m_vPaletteBlock.Size() < 2 || stage.m_vPaletteChara.Size() < 2 || stage.m_vPaletteItem.Size() < 2)
    __builtin_trap();
  const int hero = stage.FindHero();
  if (hero < -1 || hero >= stage.m_vPlacedChara.Size()) __builtin_trap();

  cDataWriter first;
  stage.Save(first);
  cEdStage again;
  cDataReader back(first.Bytes());
  again.Load(back);
  if (back.Ended() || back.Remaining() != 0) __builtin_trap();
  cDataWriter second;
  again.Save(second);
  if (first.Bytes() != second.Bytes()) __builtin_trap();
  return 0;
}
