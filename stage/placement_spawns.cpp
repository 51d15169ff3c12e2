// Characters and items from the stage's placements, at every stage start.
#include "game/block_charas.h"
#include "game/characters.h"
#include "game/stage_data.h"
#include "stage/scene_stage.h"

double PlacementCentre(int cell, int border) { return static_cast<double>((int64_t{cell} + border) * 32 + 16); }

void MoveHitBox(cGameObject& object, double dx, double dy) {
  object.m_rcHit.dLeft += dx;
  object.m_rcHit.dRight += dx;
  object.m_rcHit.dTop += dy;
  object.m_rcHit.dBottom += dy;
}

void FileInCharaGroup(cVector<cList<cCharaBase*>>& groups, cCharaBase& chara) {
  if (chara.m_nGroup >= 0 && chara.m_nGroup < groups.Size()) groups[chara.m_nGroup].push_back(&chara);
}

void SpawnPlacedChara(cList<cChara>& list, int column, int row, int32_t& idCounter, const cEdChara& placement,
                      const cItem* dropItem) {
  cEdChara copy;
  copy = placement;
  const cSceneStageData& stage = StageData();
  const double x = PlacementCentre(column, stage.m_ScrollX.m_nBorder);
  const double y = PlacementCentre(row, stage.m_ScrollY.m_nBorder);
  // The clone count is a byte: count + 1 characters.
  const int clones = static_cast<uint8_t>(copy.m_nCopies);
  for (int i = 0; i <= clones; ++i) {
    cChara chara;
    chara.SetUp(idCounter, copy, dropItem, x, y, static_cast<int16_t>(i));
    chara.PlaceAtCell(column, row);
    MoveHitBox(chara, copy.GetOffsetX(i, copy.m_nDirection), copy.GetOffsetY(i, copy.m_nDirection));
    if (!chara.IsInsideArea(1)) continue;
    chara.ConfineX();
    chara.ConfineY();
    list.push_back(chara);
    cBlockCharas::Changed();
    list.back().UpdateScreenRect();
    ++idCounter;
  }
}

void SpawnPlacedItem(cList<cItem>& list, int column, int row, int32_t& idCounter, const cEdItem& placement) {
  cEdItem copy;
  copy = placement;
  cItem item;
  item.Init(idCounter, copy, 0);
  item.PlaceAtCell(column, row);
  // The placement's two spare words are its offsets in dots.
  MoveHitBox(item, copy.m_nSpareA, copy.m_nSpareB);
  if (!item.IsInsideArea(1)) return;
  item.ClampX(2);
  item.ClampY(2);
  list.push_back(item);
  list.back().UpdateScreenRect();
  ++idCounter;
}
