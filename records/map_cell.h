#pragma once
// The cells of the running stage's map, built by the stage scene from the
// placed blocks: m_nHeight + 20 rows of m_nWidth + 20 cells (a border of 10
// on every side) at a row pitch of a power of two.
#include <cstdint>

#include "records/block.h"

struct MAPCELL {
  cEdBlock Block;        // the block in the cell; a graphic of 0 is none
  uint8_t bLatched = 0;  // the cell's conditions held once and it keeps that result
};

extern cVector<MAPCELL> MapCell;
