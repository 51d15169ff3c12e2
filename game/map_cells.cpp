#include "game/map_cells.h"

#include "base/checked_convert.h"
#include "game/stage_data.h"
#include "records/map_cell.h"

MAPCELL* CellAt(int cx, int cy) {
  const cSceneStageData& stage = StageData();
  const cScrollAxis& ax = stage.m_ScrollX;
  if (cx < 0 || cy < 0 || cx >= ax.m_nPitch || cy >= stage.m_ScrollY.m_nCells) return nullptr;
  const int64_t index = static_cast<int64_t>(cx) + (static_cast<int64_t>(cy) << ax.m_nShift);
  return index < MapCell.Size() ? &MapCell[static_cast<size_t>(index)] : nullptr;
}

MAPCELL* CellAtDots(double x, double y) { return CellAt(ToIntChecked(x) >> 5, ToIntChecked(y) >> 5); }

uint8_t GetHitAttr(MAPCELL* cell, int group) {
  if (!cell) return 0;
  const cEdBlock& block = cell->Block;
  if (!block.m_vConditions.empty() && !CheckBlockConditions(*cell)) return 0;
  if (block.m_nPassFaction == group) return 0;
  return static_cast<uint8_t>(block.m_nHit);
}
