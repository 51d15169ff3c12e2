// Block collision: the map cells along a character's edges push it back,
// stop it on floors and ceilings, or kill it; the hero kept inside an
// auto-scrolling view; the block test of a place.
//
// Cells are named by their index in MapCell, -1 for a place outside the map
// (an empty cell). A scale below 1 samples as 1.
#include <algorithm>
#include <cstdlib>

#include "base/checked_convert.h"
#include "game/characters.h"
#include "game/map_cells.h"
#include "records/command_vocab.h"
#include "records/map_cell.h"
#include "records/stage.h"
#include "records/system.h"
#include "stage/scene_stage.h"

namespace {

// What an edge's cell does to the character.
enum EDGECONTACT { EDGE_NONE, EDGE_DEADLY, EDGE_PUSH };

int CellIndexAt(int x, int y) {
  const MAPCELL* cell = CellAt(x >> 5, y >> 5);
  return cell ? static_cast<int>(cell - MapCell.data()) : -1;
}

MAPCELL* CellOf(int index) {
  return index >= 0 && index < MapCell.Size() ? &MapCell[static_cast<size_t>(index)] : nullptr;
}

int AttrOf(int index, int group) { return GetHitAttr(CellOf(index), group); }

int SampleScale(const cCharaBase& obj) { return std::max<int>(1, obj.m_Def.m_nScale); }

// The common gate: an object that flies through blocks tests none.
bool FliesThrough(const cGameObject& obj) { return obj.m_bNoGravity && obj.m_nBlockMode == BLOCKMODE_PASS; }

bool DeadlyFlier(const cGameObject& obj) { return obj.m_bNoGravity && obj.m_nBlockMode == BLOCKMODE_DEADLY; }

// The deadly rule of every edge: a deadly cell kills a player-operated
// object untouched and is solid to a computer-operated one; a flier whose
// solid blocks are deadly dies on either.
EDGECONTACT DeadlyRule(const cCharaBase& obj, int attr) {
  if (attr != BLOCKHIT_SOLID && attr != BLOCKHIT_DEADLY) return EDGE_NONE;
  if (attr == BLOCKHIT_DEADLY && obj.m_nController != 1) return EDGE_DEADLY;
  return DeadlyFlier(obj) ? EDGE_DEADLY : EDGE_PUSH;
}

// A walker moving up passes up through a floor cell unless the project
// lands it while rising.
bool RisesThrough(const cCharaBase& obj) {
  return !SystemData.bLandWhileRising() && !obj.m_bNoGravity && obj.m_dVy < 0;
}

int Left(const cCharaBase& o) { return ToIntChecked(o.m_rcHit.dLeft); }
int Top(const cCharaBase& o) { return ToIntChecked(o.m_rcHit.dTop); }
int Right(const cCharaBase& o) { return ToIntChecked(o.m_rcHit.dRight); }
int Bottom(const cCharaBase& o) { return ToIntChecked(o.m_rcHit.dBottom); }

}  // namespace

int cSceneStage::FindEdgeBlock(cCharaBase& obj, int x1, int y1, int x2, int y2) {
  const int samples = static_cast<int>(obj.m_Def.m_nScale) < 0 ? 0 : SampleScale(obj) + 1;
  int best = -1;
  int result = -1;
  if (x1 == x2) {
    // Among equal attributes the topmost sample wins.
    const int64_t pitch = int64_t{obj.m_nBaseHitHeight} - 1;
    for (int k = 0; k < samples; ++k) {
      const int index = CellIndexAt(x1, SaturateToInt(y1 + pitch * k));
      const int attr = AttrOf(index, obj.m_nGroup);
      if (attr > best) {
        best = attr;
        result = index;
      }
    }
  } else if (y1 == y2) {
    // Among equal attributes the sample nearest the centre wins, the
    // leftmost at equal distance.
    const int64_t pitch = int64_t{obj.m_nBaseHitWidth} - 1;
    const int64_t centre = (int64_t{x1} + x2) >> 1;
    int64_t bestDistance = 0;
    for (int k = 0; k < samples; ++k) {
      const int x = SaturateToInt(x1 + pitch * k);
      const int index = CellIndexAt(x, y1);
      const int attr = AttrOf(index, obj.m_nGroup);
      const int64_t distance = std::llabs(x - centre);
      if (attr > best || (attr == best && distance < bestDistance)) {
        best = attr;
        result = index;
        bestDistance = distance;
      }
    }
  }
  return result;
}

int cSceneStage::FindFootBlock(cCharaBase& obj) {
  const int scale = SampleScale(obj);
  const int samples = scale % 2 == 1 ? scale + 2 : scale + 1;
  const int left = Left(obj), right = Right(obj), row = Bottom(obj);
  const int step = obj.m_nHitWidth / (samples - 1);
  const int64_t centre = (int64_t{left} + right) >> 1;
  int best = -1, result = -1;
  int64_t bestDistance = 0;
  for (int k = 0; k < samples; ++k) {
    const int x = k == samples - 1 ? right : SaturateToInt(left + int64_t{step} * k);
    const int index = CellIndexAt(x, row);
    const int attr = AttrOf(index, obj.m_nGroup);
    const int64_t distance = std::llabs(x - centre);
    if (attr > best || (attr == best && distance < bestDistance)) {
      best = attr;
      result = index;
      bestDistance = distance;
    }
  }
  return result;
}

int cSceneStage::FindCornerBlock(int leftCol, int topRow, int rightCol, int bottomRow, int group) {
  const int corners[4][2] = {{leftCol, topRow}, {rightCol, topRow}, {leftCol, bottomRow}, {rightCol, bottomRow}};
  int best = -1, result = -1;
  for (const auto& c : corners) {
    const MAPCELL* cell = CellAt(c[0], c[1]);
    const int index = cell ? static_cast<int>(cell - MapCell.data()) : -1;
    const int attr = AttrOf(index, group);
    if (attr > best) {
      best = attr;
      result = index;
    }
  }
  return result;
}

int cSceneStage::HitBlockLeft(cCharaBase& obj) {
  if (FliesThrough(obj)) return 0;
  const int cell = FindEdgeBlock(obj, Left(obj), Top(obj), Left(obj), Bottom(obj));
  const EDGECONTACT contact = DeadlyRule(obj, AttrOf(cell, obj.m_nGroup));
  if (contact != EDGE_PUSH) return contact == EDGE_DEADLY ? 2 : 0;
  obj.LRUD[LRUD_LEFT] = 1;
  // To the first dot right of the cell: an edge on a cell boundary moves a whole cell.
  obj.m_rcHit.dLeft += 32 - (Left(obj) & 31);
  obj.m_dInertiaX = 0;
  obj.ConfineX();
  obj.m_nWallTurn = 0;
  obj.FireTrigger(FLOWTRIGGER_HIT_BLOCK);
  obj.FireTrigger(FLOWTRIGGER_BLOCK_SIDE);
  obj.FireTrigger(FLOWTRIGGER_BLOCK_LEFT);
  return 0;
}

int cSceneStage::HitBlockRight(cCharaBase& obj) {
  if (FliesThrough(obj)) return 0;
  const int cell = FindEdgeBlock(obj, Right(obj), Top(obj), Right(obj), Bottom(obj));
  const EDGECONTACT contact = DeadlyRule(obj, AttrOf(cell, obj.m_nGroup));
  if (contact != EDGE_PUSH) return contact == EDGE_DEADLY ? 2 : 0;
  obj.LRUD[LRUD_RIGHT] = 1;
  obj.m_rcHit.dLeft -= (Right(obj) & 31) + 1;
  obj.m_dInertiaX = 0;
  obj.ConfineX();
  obj.m_nWallTurn = 1;
  obj.FireTrigger(FLOWTRIGGER_HIT_BLOCK);
  obj.FireTrigger(FLOWTRIGGER_BLOCK_SIDE);
  obj.FireTrigger(FLOWTRIGGER_BLOCK_RIGHT);
  return 0;
}

int cSceneStage::HitBlockTop(cCharaBase& obj) {
  if (FliesThrough(obj)) return 0;
  const int cell = FindEdgeBlock(obj, Left(obj), Top(obj), Right(obj), Top(obj));
  const EDGECONTACT contact = DeadlyRule(obj, AttrOf(cell, obj.m_nGroup));
  if (contact != EDGE_PUSH) return contact == EDGE_DEADLY ? 2 : 0;
  obj.HitCeiling();
  return 0;
}

int cSceneStage::HitBlockBottom(cCharaBase& obj) {
  if (FliesThrough(obj)) return 0;
  const int cell = FindEdgeBlock(obj, Left(obj), Bottom(obj), Right(obj), Bottom(obj));
  obj.m_pFootCell = CellOf(cell);
  const int attr = AttrOf(cell, obj.m_nGroup);
  if (attr == BLOCKHIT_NONE) {
    obj.m_pFootCell = nullptr;
    if (obj.m_bJumpBlocked < INT32_MAX) ++obj.m_bJumpBlocked;
    if (obj.m_bJumpBlocked >= Stage.m_nAirborneSteps && !(obj.m_nController == 0 && obj.m_bRiding)) {
      obj.m_bAirborne = 1;
      if (obj.m_nController == 0 && Hero()) Hero()->m_bJumpReady = 1;
    }
    return 0;
  }
  if (attr == BLOCKHIT_SOLID) {
    if (DeadlyFlier(obj)) return 2;
    if (RisesThrough(obj)) return 0;
    if (obj.m_nController == 0) obj.m_pFootCell = CellOf(FindFootBlock(obj));
    obj.m_pGroundCell = obj.m_pFootCell;
    obj.LandOnBlock();
    return 0;
  }
  if (attr == BLOCKHIT_DEADLY) {
    obj.m_pGroundCell = CellOf(cell);
    if (obj.m_nController != 1 || DeadlyFlier(obj)) return 2;
    if (RisesThrough(obj)) return 0;
    obj.LandOnBlock();
  }
  return 0;
}

int cSceneStage::HitBlocksX(cCharaBase& obj) {
  if (FliesThrough(obj)) return 0;
  const bool rightFirst = (obj.m_bNoGravity && obj.m_nBlockMode == BLOCKMODE_STOP) || obj.m_dVx > 0;
  if (rightFirst) return HitBlockRight(obj) == 2 ? 2 : HitBlockLeft(obj);
  return HitBlockLeft(obj) == 2 ? 2 : HitBlockRight(obj);
}

int cSceneStage::HitBlocksXRightFirst(cCharaBase& obj) {
  if (FliesThrough(obj)) return 0;
  return HitBlockRight(obj) == 2 ? 2 : HitBlockLeft(obj);
}

int cSceneStage::HitBlocksY(cCharaBase& obj) {
  if (FliesThrough(obj)) return 0;
  obj.m_pFootCell = nullptr;
  const bool floorFirst = (obj.m_bNoGravity && obj.m_nBlockMode == BLOCKMODE_STOP) || obj.m_dVy > 0;
  if (floorFirst) return HitBlockBottom(obj) == 2 ? 2 : HitBlockTop(obj);
  return HitBlockTop(obj) == 2 ? 2 : HitBlockBottom(obj);
}

int cSceneStage::HitBlocksYBottomFirst(cCharaBase& obj) {
  if (FliesThrough(obj)) return 0;
  const int cell = FindEdgeBlock(obj, Left(obj), Bottom(obj), Right(obj), Bottom(obj));
  const int attr = AttrOf(cell, obj.m_nGroup);
  const auto standOn = [&] {
    obj.m_pFootCell = obj.m_nController == 0 ? CellOf(FindFootBlock(obj)) : CellOf(cell);
    obj.m_pGroundCell = obj.m_pFootCell;
  };
  if (attr == BLOCKHIT_SOLID) {
    if (DeadlyFlier(obj)) return 2;
    if (RisesThrough(obj)) return 0;
    standOn();
    obj.LandOnBlock();
  } else if (attr == BLOCKHIT_DEADLY) {
    standOn();
    if (obj.m_nController != 1 || DeadlyFlier(obj)) return 2;
    if (RisesThrough(obj)) return 0;
    obj.LandOnBlock();
  }
  return HitBlockTop(obj);
}

int cSceneStage::KeepInScreenX(cHero& hero) {
  if (!m_ScrollX.m_bAutoScroll && !hero.m_bNoGravity) return 0;
  hero.UpdateScreenRect();
  if (int64_t{hero.m_rcScreen.nLeft} + hero.m_nOffsetX < 0) {
    hero.LRUD[LRUD_LEFT] = 1;
    hero.m_rcHit.dLeft = m_ScrollX.m_dPos;
    hero.ConfineX();
  } else if (int64_t{hero.m_rcScreen.nRight} - hero.m_nOffsetX + 1 >= 640) {
    hero.LRUD[LRUD_RIGHT] = 1;
    hero.m_rcHit.dLeft = m_ScrollX.m_dPos + 640 - hero.m_nHitWidth - 1;
    hero.ConfineX();
  }
  return 0;
}

int cSceneStage::KeepInScreenY(cHero& hero) {
  if (!m_ScrollY.m_bAutoScroll && !hero.m_bNoGravity) return 0;
  hero.UpdateScreenRect();
  if (int64_t{hero.m_rcScreen.nTop} + hero.m_nOffsetY < 0) {
    hero.LRUD[LRUD_UP] = 1;
    hero.m_rcHit.dTop = m_ScrollY.m_dPos;
    hero.ConfineY();
    return 0;
  }
  if (int64_t{hero.m_rcScreen.nBottom} - hero.m_nOffsetY + 1 >= 480) {
    hero.LRUD[LRUD_DOWN] = 1;
    hero.m_rcHit.dTop = m_ScrollY.m_dPos + 480 - hero.m_nHitHeight - 1;
    hero.ConfineY();
    // A walking hero pushed out at the bottom falls out of the stage.
    return hero.m_bNoGravity ? 0 : 2;
  }
  return 0;
}

int cSceneStage::IsBlockedAt(const cGameObject& object) {
  if (FliesThrough(object)) return 0;
  const int cell = FindCornerBlock(object.m_nCellLeft, object.m_nCellTop, object.m_nCellRight, object.m_nCellBottom,
                                   object.m_nGroup);
  if (AttrOf(cell, object.m_nGroup)) return 1;
  return TouchesSolidChara(object, CharaList) ? 1 : 0;
}
