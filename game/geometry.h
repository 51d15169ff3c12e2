#pragma once
// The rectangles of game objects: world rectangles in dots as doubles and
// screen rectangles in view pixels as ints, both with inclusive edges.
#include <cstdint>

struct DRECT {
  double dLeft = 0;
  double dTop = 0;
  double dRight = 0;
  double dBottom = 0;

  void Clear() { dLeft = dTop = dRight = dBottom = 0; }
  // 1 when the two share a dot; touching edges overlap.
  int Overlaps(const DRECT& other) const {
    return !(dLeft > other.dRight || dRight < other.dLeft || dTop > other.dBottom ||
             dBottom < other.dTop);
  }
};

// A secondary box of an object (contact, shot contact, pick-up, attack):
// its world rectangle, recomputed after every move, and its place relative
// to the hit box's top-left corner at the current scale and at scale 1.
struct HITBOX {
  DRECT rc;
  int32_t nOffsetX = 0;
  int32_t nOffsetY = 0;
  int32_t nWidth = 0;
  int32_t nHeight = 0;
  int32_t nBaseOffsetX = 0;
  int32_t nBaseOffsetY = 0;
  int32_t nBaseWidth = 0;
  int32_t nBaseHeight = 0;

  void Clear() { *this = HITBOX(); }
};

// A rectangle in view pixels, edges inclusive.
struct IRECT {
  int32_t nLeft = 0;
  int32_t nTop = 0;
  int32_t nRight = 0;
  int32_t nBottom = 0;
};
