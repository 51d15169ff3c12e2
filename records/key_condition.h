#pragma once
// One step of a flow's key sequence: for each of the nineteen inputs whether
// it must be pressed, released or is ignored, how long a press must have
// lasted, and how the inputs combine. Checking it is the game code's.
#include <cstdint>

#include "records/record.h"

constexpr int KEYCONDITION_KEYS = 19;  // 10 direction histories, then 9 buttons

class cEdKeyCondition : public cRecord {
 public:
  // KEYSTATE per input. A file may hold another count; it is kept as read.
  cVector<uint8_t> m_vKeys;
  // Facing left exchanges the direction entries 1 and 2, 5 and 7, 6 and 8.
  uint8_t m_bFacingRelative = 0;
  int16_t m_nMinFrames = 0;  // a press counts when held at least this long
  int16_t m_nMaxFrames = 0;  // ... and at most this long
  uint8_t m_bAnyLength = 0;  // any press length counts
  uint8_t m_nMode = 0;       // KEYMODE

  cEdKeyCondition() { Reset(); }
  // Every member 0, nineteen ignored inputs.
  void Reset();
  void RegisterFields(int version) override;
  // The record segment, then u32 n and n key states.
  void Load(cDataReader& r) override;
  void Save(cDataWriter& w) override;
};
