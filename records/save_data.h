#pragma once
// The player's progress record (PlayData): what a run carries from stage to
// stage and what the story save slots and Challenge.dat hold. So far it
// declares the members that play reads and writes: the lives, the stage and
// total scores, the common variables, the area, the world-map position and
// the next area's hero start. The rest of the record, its registration and
// its file come with the progress record itself.
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
  int32_t m_nMapX = 0;  // world-map cell of the walker
  int32_t m_nMapY = 0;
  int32_t m_nAreaNo = 0;   // area within the stage; 1 at entry
  int32_t m_nWalkDir = 0;  // walker direction: 0 down, 1 up, 2 left, 3 right
  int32_t m_nLives = 0;       // LIVES_INFINITE, else 0..99
  int32_t m_nStageScore = 0;  // score of the running area
  int32_t m_nTotalScore = 0;  // score of the run
  cVector<int32_t> m_vCommonVar;  // COMMON_VAR_COUNT entries, read and written by flows and code
  // The next area's hero start, set by the stage-clear command and used by
  // the stage set-up: cell (x, y) inside the border, facing 0 left, 1 right.
  int32_t m_bHeroStart = 0;
  int32_t m_nHeroStartX = 0;
  int32_t m_nHeroStartY = 0;
  int32_t m_nHeroStartDir = 0;

  cSaveData() { Reset(); }
  // Fresh progress: no lives, no score, every common variable 0, every
  // position and number 0, no start override.
  void Reset();
};

extern cSaveData PlayData;
