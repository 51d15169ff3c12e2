#pragma once
// One step of an animation pattern, the control codes a pattern ends with,
// and the conversion of stored display times into ticks.
#include <cstdint>

#include "base/checked_convert.h"
#include "base/container.h"

// Control codes in ANIMESTEP::nFrame (a frame number is never negative).
enum ANIMECODE : int32_t {
  ANIMECODE_HOLD = -1,  // back to the previous step: the last real step stays
  ANIMECODE_LOOP = -2,  // back to step 0
  ANIMECODE_JUMP = -3,  // start pattern nTime of this step, forced
  ANIMECODE_END = -4,   // stays; the owner removes the animation
};

struct ANIMESTEP {
  int32_t nFrame = 0;  // graphic cell, or an ANIMECODE
  int32_t nTime = 0;   // ticks the step shows (the pattern number for ANIMECODE_JUMP)
  uint8_t bLock = 0;   // while this step shows the pattern is replaced only when forced
};

using ANIMEPATTERN = cVector<ANIMESTEP>;

// Ticks per tenth of a second at 60 frames per second.
constexpr int TICKS_PER_TENTH = 6;

// time × factor, saturated to the int32 range. Stored times come from files
// and are not bounded, so every product of a stored time and a tick factor
// (6 per tenth, times the logic steps per frame where objects count steps)
// goes through here.
inline int32_t SaturatedTicks(int32_t time, int64_t factor) {
  // Both factors within int32 keep the product inside int64.
  if (factor > INT32_MAX) factor = INT32_MAX;
  if (factor < -static_cast<int64_t>(INT32_MAX)) factor = -static_cast<int64_t>(INT32_MAX);
  return SaturateToInt(static_cast<int64_t>(time) * factor);
}
