// The summons' characters, items and blocks, called by the summon commands
// while a pass walks the lists: new objects go to the end of their lists,
// so a walk in progress meets them later or not at all. A summoned block
// may bury objects; the summon record says whether it is then taken back.
#include <climits>

#include "base/checked_convert.h"
#include "game/block_charas.h"
#include "game/characters.h"
#include "game/map_cells.h"
#include "records/anime_step.h"
#include "records/block.h"
#include "records/common_palette.h"
#include "records/map_cell.h"
#include "records/shot.h"
#include "records/stage.h"
#include "records/system.h"
#include "stage/scene_stage.h"

namespace {

void CountUp(int32_t& idCounter) { idCounter = idCounter == INT32_MAX ? 0 : idCounter + 1; }

// The summon record's lifetime (tenths of a second) in logic steps, or
// unlimited.
int32_t SummonLife(const cEdShot& def) {
  if (!def.m_bRangeLimit) return OBJECT_LIFE_UNLIMITED;
  return SaturatedTicks(def.m_nRange, int64_t{TICKS_PER_TENTH} * Stage.StepsPerFrame());
}

// The hit box placed anew from the graphic's top-left corner (x, y).
void PlaceHitBox(cGameObject& object, double x, double y) {
  DRECT& r = object.m_rcHit;
  r.dLeft = x + object.m_nOffsetX;
  r.dTop = y + object.m_nOffsetY;
  r.dRight = r.dLeft + object.m_nHitWidth - 1;
  r.dBottom = r.dTop + object.m_nHitHeight - 1;
}

// The empty block an erase leaves.
cEdBlock EmptyBlock() {
  const cVector<cEdBlock>& palette = CommonPalette.m_vPaletteBlock;
  return palette.empty() ? cEdBlock() : palette[0];
}

bool HoldsLiveBlock(MAPCELL& cell) { return cell.Block.m_nGraphic != 0 && CheckBlockConditions(cell); }

}  // namespace

int SummonCell(double dots) { return ToIntChecked(dots + 16.5) >> 5; }

void cSceneStage::SpawnChara(cList<cChara>& list, double x, double y, int group, int facing, int,
                             const cEdShot& def, const cEdChara& chara, int32_t& idCounter) {
  cEdChara copy;
  copy = chara;
  copy.m_nDirection = static_cast<int8_t>(facing);
  copy.m_nFaction = static_cast<int8_t>(group);
  // The summon's own byte among its character fields: its characters give no score.
  if (def.m_nSpareD) copy.m_nScore = 0;
  const int clones = static_cast<uint8_t>(copy.m_nCopies);
  for (int i = 0; i <= clones; ++i) {
    cChara made;
    made.SetUp(idCounter, copy, nullptr, x + 16, y + 16, static_cast<int16_t>(i));
    PlaceHitBox(made, x, y);
    MoveHitBox(made, copy.GetOffsetX(i, copy.m_nDirection), copy.GetOffsetY(i, copy.m_nDirection));
    if (!made.IsInsideArea(1)) continue;
    made.ConfineX();
    made.ConfineY();
    list.push_back(made);
    cChara& added = list.back();
    cBlockCharas::Changed();
    added.UpdateScreenRect();
    if (IsBlockedAt(added)) {
      // Nothing may name it: it was never there.
      added.ForgetReferences();
      list.pop_back();
      cBlockCharas::Changed();
      continue;
    }
    added.m_nLife = SummonLife(def);
    FileInCharaGroup(m_CharaGroups, added);
    CountUp(idCounter);
  }
}

void cSceneStage::SpawnItem(cList<cItem>& list, double x, double y, int, const cEdShot& def, const cEdItem& item,
                            int32_t& idCounter) {
  cItem made;
  made.Init(idCounter, item, 0);
  PlaceHitBox(made, x, y);
  // The definition's two spare words are its offsets in dots.
  MoveHitBox(made, item.m_nSpareA, item.m_nSpareB);
  if (!made.IsInsideArea(1)) return;
  made.ClampX(2);
  made.ClampY(2);
  made.m_nLife = SummonLife(def);
  list.push_back(made);
  list.back().UpdateScreenRect();
  CountUp(idCounter);
}

void cSceneStage::PutBlock(double x, double y, int, const cEdShot& def, const cEdBlock& block) {
  const int column = SummonCell(x);
  const int row = SummonCell(y);
  MAPCELL* cell = CellAt(column, row);
  if (!cell) return;
  if (SystemData.bBlockGuard() ? cell->Block.m_bProtected != 0
                               : HoldsLiveBlock(*cell) && cell->Block.m_bProtected != 0)
    return;
  const int index = column + (row << m_ScrollX.m_nShift);

  // Put, taken back when it would bury an object the record protects; 1
  // when it stays.
  const auto put = [&]() {
    if (!def.m_bSummonOffHero && !def.m_bSummonOffChara) {
      cell->Block = block;
      cell->bLatched = 0;
      CrushByBlock(index, column, row, def);
      return true;
    }
    const MAPCELL saved = *cell;
    cell->Block = block;
    cell->bLatched = 0;
    if (CrushByBlock(index, column, row, def)) {
      *cell = saved;
      return false;
    }
    return true;
  };

  switch (def.m_nSummonMode) {
    case 0:
      put();
      break;
    case 1:
      cell->Block = EmptyBlock();
      cell->bLatched = 0;
      break;
    case 2:
      // Once per cell and summon: a formation naming a cell twice changes it once.
      for (int32_t done : m_vToggledCells)
        if (done == index) return;
      if (HoldsLiveBlock(*cell)) {
        cell->Block = EmptyBlock();
        cell->bLatched = 0;
        m_vToggledCells.push_back(index);
      } else if (put()) {
        m_vToggledCells.push_back(index);
      }
      break;
    default:
      break;
  }
}

int cSceneStage::CrushByBlock(int, int column, int row, const cEdShot& def) {
  MAPCELL* cell = CellAt(column, row);
  const double left = column * 32.0;
  const double top = row * 32.0;
  const double right = left + 32 - 0.1;
  const double bottom = top + 32 - 0.1;
  const auto buries = [&](const cCharaBase& c) {
    const DRECT& r = c.m_rcHit;
    return GetHitAttr(cell, c.m_nGroup) != 0 && r.dLeft <= right && r.dRight >= left && r.dTop <= bottom &&
           r.dBottom >= top;
  };
  if (cHero* hero = Hero(); hero && !hero->m_bDefeated && buries(*hero)) {
    hero->m_nCrushGrace = 2;
    if (def.m_bSummonOffHero) return 1;
  }
  for (cChara& c : CharaList) {
    if (c.m_bGone || c.m_bDefeated || !c.m_bPresent || !buries(c)) continue;
    c.m_nCrushGrace = 2;
    if (def.m_bSummonOffChara) return 1;
  }
  return 0;
}
