#include "game/map_cells.h"

#include <new>

#include "base/checked_convert.h"
#include "base/report_log.h"
#include "game/stage_data.h"
#include "records/map_cell.h"
#include "records/stage.h"

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

int FillMapCells(const cEdStage& stage, const cScrollAxis& ax, const cScrollAxis& ay) {
  const int64_t cells = static_cast<int64_t>(ax.m_nPitch) * ay.m_nCells;
  if (stage.m_nWidth < 1 || stage.m_nHeight < 1 || ax.m_nPitch < 1 || ay.m_nCells < 1 || cells > MAP_MAX_CELLS) {
    MapCell.clear();
    return 0;
  }
  MAPCELL empty;
  empty.Block.m_nGraphic = 0;
  empty.Block.m_nHit = BLOCKHIT_NONE;
  empty.Block.m_nPaletteIndex = 0;
  // An empty cell holds no block to inherit into: no list to copy per cell.
  empty.Block.m_vInherit.clear();
  try {
    // A restart of the same map reuses the cells and the lists inside them,
    // so that it allocates nothing.
    if (MapCell.Size() == cells) {
      for (MAPCELL& cell : MapCell) cell = empty;
    } else {
      MapCell.clear();
      MapCell.assign(static_cast<size_t>(cells), empty);
    }
    for (const cEdBlock& block : stage.m_vPlacedBlock) {
      if (block.m_nX < 0 || block.m_nY < 0 || block.m_nX >= stage.m_nWidth || block.m_nY >= stage.m_nHeight) {
        ReportPrintf("SetStage : block (%d, %d) lies outside the map %d x %d", block.m_nX, block.m_nY,
                     stage.m_nWidth, stage.m_nHeight);
        continue;
      }
      const int64_t column = int64_t{block.m_nX} + ax.m_nBorder;
      const int64_t row = int64_t{block.m_nY} + ay.m_nBorder;
      MAPCELL& cell = MapCell[static_cast<size_t>(column + (row << ax.m_nShift))];
      cell.Block = block;
      cell.bLatched = 0;
    }
  } catch (const std::bad_alloc&) {
    MapCell.clear();
    MapCell.shrink_to_fit();
    return 0;
  }
  return 1;
}
