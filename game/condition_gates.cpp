// The condition gates of the stage until the conditions are built: the
// latch rule, and a list that counts as holding.
#include "game/map_cells.h"
#include "records/map_cell.h"

int CheckBlockConditions(MAPCELL& cell) {
  if (cell.Block.m_vConditions.empty()) return 1;
  if (cell.Block.m_bCondOnce && cell.bLatched) return 1;
  cell.bLatched = 1;
  return 1;
}
