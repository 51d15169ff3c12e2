#include "support/map_builder.h"

#include "game/map_cells.h"
#include "game/stage_data.h"
#include "records/map_cell.h"
#include "records/stage.h"
#include "stage/scene_stage.h"
#include "support/builders.h"

namespace testsupport {

MapBuilder::MapBuilder(std::vector<std::string> rows) : m_rows(std::move(rows)) {
  for (const std::string& row : m_rows)
    if (static_cast<int>(row.size()) > m_width) m_width = static_cast<int>(row.size());
}

cEdBlock MapBuilder::BlockFor(char c) {
  if (c == '#') return BlockDef();
  if (c == 'X') return BlockDef().Hit(BLOCKHIT_DEADLY);
  if (c >= '0' && c <= '7') return BlockDef().PassGroup(c - '0');
  return BlockDef::Empty();
}

void MapBuilder::Build() const { Build(StageData()); }

void MapBuilder::Build(cSceneStageData& scene) const {
  Stage.m_nWidth = m_width;
  Stage.m_nHeight = Height();
  Stage.m_nWidthDots = m_width * 32;
  Stage.m_nHeightDots = Height() * 32;
  scene.SetUpScrollAxes(Stage);
  Stage.m_vPlacedBlock.clear();
  for (int y = 0; y < Height(); ++y)
    for (int x = 0; x < static_cast<int>(m_rows[y].size()); ++x) {
      const char c = m_rows[y][x];
      if (c != '#' && c != 'X' && (c < '0' || c > '7')) continue;
      cEdBlock block = BlockFor(c);
      block.m_nX = static_cast<int16_t>(x);
      block.m_nY = static_cast<int16_t>(y);
      Stage.m_vPlacedBlock.push_back(block);
    }
  FillMapCells(Stage, scene.m_ScrollX, scene.m_ScrollY);
}

int MapBuilder::PlaceCharas(char c, const cEdChara& def) const {
  const std::vector<Cell> cells = FindAll(c);
  for (const Cell& cell : cells) {
    cEdChara placed = def;
    placed.m_nX = static_cast<int16_t>(cell.first);
    placed.m_nY = static_cast<int16_t>(cell.second);
    Stage.m_vPlacedChara.push_back(placed);
  }
  return static_cast<int>(cells.size());
}

int MapBuilder::PlaceItems(char c, const cEdItem& def) const {
  const std::vector<Cell> cells = FindAll(c);
  for (const Cell& cell : cells) {
    cEdItem placed = def;
    placed.m_nX = static_cast<int16_t>(cell.first);
    placed.m_nY = static_cast<int16_t>(cell.second);
    Stage.m_vPlacedItem.push_back(placed);
  }
  return static_cast<int>(cells.size());
}

Cell MapBuilder::Find(char c) const {
  const std::vector<Cell> all = FindAll(c);
  return all.empty() ? Cell{-1, -1} : all.front();
}

std::vector<Cell> MapBuilder::FindAll(char c) const {
  std::vector<Cell> cells;
  for (int y = 0; y < Height(); ++y)
    for (int x = 0; x < static_cast<int>(m_rows[y].size()); ++x)
      if (m_rows[y][x] == c) cells.push_back({x, y});
  return cells;
}

void MapBuilder::BuildForPlay(cSceneStage& scene) const {
  Build(scene);
  for (cScrollAxis* axis : {&scene.m_ScrollX, &scene.m_ScrollY}) {
    axis->m_dPos = 320;
    axis->m_bAutoScroll = 0;
    axis->m_dAutoSpeed = 0;
  }
  scene.m_nPhase = STAGESTATE_PLAY;
  scene.m_bNoTimeLimit = 1;
}

}  // namespace testsupport
