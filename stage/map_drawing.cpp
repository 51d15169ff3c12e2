// The map's two block layers (behind and in front of the objects) and the
// pictures of the display commands, each on its side of the map.
#include "stage/map_drawing.h"

#include <iterator>

#include "base/checked_convert.h"
#include "game/graphic_source.h"
#include "game/map_cells.h"
#include "game/play_drawing.h"
#include "media/surface_table.h"
#include "media/system_surfaces.h"
#include "records/map_cell.h"
#include "stage/scene_stage.h"

namespace {

constexpr int kCell = 32;
constexpr int kViewRows = 16;     // 480 / 32 + the row a fractional scroll shows
constexpr int kViewColumns = 21;  // 640 / 32 + 1
constexpr int kIconsPerColumn = 15;

}  // namespace

void DrawCell(DDSURFACEDATA* target, const cEdBlock& block, int x, int y) {
  GRAPHICSOURCE source;
  SetGraphicSource(source, GRAPHICMODE_PLAIN, block.m_nGraphicKind, block.m_nGraphic, block.m_nGraphicFrame, nullptr,
                   0);
  if (source.lpFirstA) PlayDrawing->DDBlt(target, x, y, kCell, kCell, source.lpFirstA, source.nSrcX, source.nSrcY, 1);
  if (block.m_bShowIcon != 1) return;
  const int n = block.m_nIcon;
  PlayDrawing->DDBlt(target, x, y, kCell, kCell, &SurfaceTable[SURFACE_MARKS], (n / kIconsPerColumn) * kCell,
                     (n % kIconsPerColumn) * kCell, 1);
}

void cSceneStage::DrawMapLayer(DDSURFACEDATA* target, int layer) {
  const int sx = ToIntChecked(m_ScrollX.m_dPos);
  const int sy = ToIntChecked(m_ScrollY.m_dPos);
  const int firstColumn = sx >> 5, firstRow = sy >> 5;
  PlayDrawing->DDBeginBatch(1);
  PlayDrawing->DDBatchKey(&SurfaceTable[SURFACE_MARKS]);
  for (int r = 0; r < kViewRows; ++r) {
    const int64_t row = int64_t{firstRow} + r;
    if (row < 0 || row >= m_ScrollY.m_nCells) continue;
    for (int c = 0; c < kViewColumns; ++c) {
      const int64_t column = int64_t{firstColumn} + c;
      if (column < 0 || column >= m_ScrollX.m_nCells) continue;
      MAPCELL* cell = CellAt(static_cast<int>(column), static_cast<int>(row));
      if (!cell) continue;
      const cEdBlock& block = cell->Block;
      if (block.m_nGraphic == 0 || block.m_nLayer != layer) continue;
      if (!CheckBlockConditions(*cell) || block.m_bTransparent) continue;
      DrawCell(target, block, kCell * c - (sx & 31), kCell * r - (sy & 31));
    }
  }
  PlayDrawing->DDFlushBatch();
}

void cSceneStage::DrawPictures(DDSURFACEDATA* target, int layer, int bFrozen) {
  // The n-th picture draws the n-th image; both lists and the definitions
  // lose an ended picture together.
  auto image = Off_Picture.begin();
  auto def = Off_PictureDef.begin();
  for (auto it = m_Pictures.begin(); it != m_Pictures.end();) {
    DDSURFACEDATA* surface = image != Off_Picture.end() ? &*image : nullptr;
    if (it->m_nLayer != layer || !surface) {
      ++it;
      if (image != Off_Picture.end()) ++image;
      if (def != Off_PictureDef.end()) ++def;
      continue;
    }
    if (!it->Draw(target, surface, bFrozen)) {
      ++it;
      ++image;
      if (def != Off_PictureDef.end()) ++def;
      continue;
    }
    DDReleaseSurface(surface);
    image = Off_Picture.erase(image);
    if (def != Off_PictureDef.end()) def = Off_PictureDef.erase(def);
    it = m_Pictures.erase(it);
  }
}
