#pragma once
// The animation player that every game object, attached animation, effect
// and shot embeds: it steps through patterns of ANIMESTEP (records/
// anime_step.h), one tick per call of Advance (once per drawn frame for
// drawings, once per logic step where an owner says so).
//
// The player never leaves its patterns: a pattern number it does not hold is
// refused, so every step it reads exists and no lookup reports a bad index.
#include <cstdint>

#include "base/container.h"
#include "records/anime_step.h"

class cAnimePlayer {
 public:
  cVector<ANIMEPATTERN> m_vPatterns;
  int32_t m_nPattern = 0;  // index into m_vPatterns
  int32_t m_nStep = 0;     // index into the current pattern
  int32_t m_nTick = 0;     // ticks the current step has shown

  // Replaces every pattern. `table` is a null-terminated array of step
  // arrays, three int32 per step (frame, ticks, lock in the low byte), each
  // ending with its first step whose frame is negative (that step is kept).
  // Pattern, step and tick restart at 0. A null table changes nothing.
  void SetPatterns(const int32_t* const* table);
  // The same from ready patterns (the basic animation sets).
  void SetPatterns(cVector<ANIMEPATTERN> patterns);

  // Starts pattern n at its first step: 1, or 0 when refused because the
  // current step is locked (unless bForce) or n is not a pattern of the player.
  int SetPattern(int n, int bForce);
  // As SetPattern, but 1 without a restart when n already plays (idle
  // animations call it every step).
  int ChangePattern(int n, int bForce);

  // One tick: the frame (graphic cell) to show now, or ANIMECODE_END once the
  // pattern has ended (it then stays there). 0 without patterns.
  int32_t Advance();
  // `ticks` calls of Advance at once, a whole step at a time (a pattern
  // that loops is skipped by its cycle); stops early at ANIMECODE_END.
  void Skip(int64_t ticks);
  // The frame of the current step without advancing; 0 without patterns.
  int32_t GetFrame() const;

 private:
  const ANIMEPATTERN* Current() const;
};
