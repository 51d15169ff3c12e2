#pragma once
// The player's progress record (PlayData): what a run carries from stage to
// stage and what the story save slots and Challenge.dat hold. So far it
// declares the members that play reads and writes: the lives, the stage and
// total scores and the common variables. The rest of the record, its
// registration and its file come with the progress record itself.
#include <cstdint>

#include "base/container.h"
#include "records/record.h"

// Lives of a play with infinite lives: shown as "∞", never lost and never
// changed by commands or code.
constexpr int32_t LIVES_INFINITE = 999999;
// Common variables C0..C255.
constexpr int COMMON_VAR_COUNT = 256;

class cSaveData : public cRecord {
 public:
  int32_t m_nLives = 0;       // LIVES_INFINITE, else 0..99
  int32_t m_nStageScore = 0;  // score of the running area
  int32_t m_nTotalScore = 0;  // score of the run
  cVector<int32_t> m_vCommonVar;  // COMMON_VAR_COUNT entries, read and written by flows and code

  cSaveData() { Reset(); }
  // Fresh progress: no lives, no score, every common variable 0.
  void Reset();
};

extern cSaveData PlayData;
