// The state, situation and distance conditions of a character.
#include <cmath>

#include "base/checked_convert.h"
#include "game/calc_ops.h"
#include "game/chara_base.h"
#include "game/characters.h"
#include "records/command_vocab.h"
#include "records/condition.h"
#include "records/stage.h"

namespace {

// The states of CHARASTATE 1..6 in the character's definition; state 0
// (vanish) is no state one can test.
// clang-format off
int32_t (*const StateTable[CHARASTATE_COUNT])(const cEdChara& d) = {
  nullptr,
  [](const cEdChara& d) -> int32_t { return d.m_bTransparent; },
  [](const cEdChara& d) -> int32_t { return d.m_bFixDirection; },
  [](const cEdChara& d) -> int32_t { return d.m_nFlyMode; },
  [](const cEdChara& d) -> int32_t { return d.m_bInvincible; },
  [](const cEdChara& d) -> int32_t { return d.m_nScale; },
  [](const cEdChara& d) -> int32_t { return d.m_bScrollSync; },
};

int (*const SituationTable[SITUATION_COUNT])(const cCharaBase& c) = {
  [](const cCharaBase& c) { return c.m_nDirection == 0 ? 1 : 0; },
  [](const cCharaBase& c) { return c.m_nDirection == 1 ? 1 : 0; },
  [](const cCharaBase& c) {
    return c.m_Def.m_nFlyMode == 0 && (c.m_bRiding || (!c.m_bAirborne && !c.m_bJumped)) ? 1 : 0;
  },
  // The appearance pass decides for the computer's characters.
  [](const cCharaBase& c) { return c.m_nController == 0 ? c.IsOnScreen() : c.m_bOnScreen ? 1 : 0; },
};
// clang-format on

// The (back, front) reach of a one-sided axis for a facing: "front" is the
// side the character faces; on the vertical axes facing right looks down.
void SidedReach(int bFront, int facing, int r, int& back, int& front) {
  const bool lowSide = (facing == 0) == (bFront != 0);  // left or up
  back = lowSide ? r : 0;
  front = lowSide ? 0 : r;
}

}  // namespace

int cCharaBase::CheckStateCondition(const cEdCondition& c) const {
  int32_t value;
  if (c.m_nSubject == SUBJECT_SYSTEM) {
    if (c.m_nItem == 0)
      value = Stage.m_bAutoScrollX;
    else if (c.m_nItem == 1)
      value = Stage.m_bAutoScrollY;
    else
      return 0;
  } else if (c.m_nSubject == SUBJECT_SELF || c.m_nSubject == SUBJECT_TARGET) {
    const cCharaBase* who = c.m_nSubject == SUBJECT_TARGET ? Target() : this;
    if (!who || c.m_nItem >= CHARASTATE_COUNT || !StateTable[c.m_nItem]) return 0;
    value = StateTable[c.m_nItem](who->m_Def);
  } else {
    return 0;
  }
  return CompareByOp(value, c.m_nIndex, c.m_nCompare);
}

int cCharaBase::CheckSituationCondition(const cEdCondition& c) const {
  const cCharaBase* who = c.m_nSubject == SUBJECT_TARGET ? Target() : this;
  if (!who) return 0;
  int holds = c.m_nItem < SITUATION_COUNT ? SituationTable[c.m_nItem](*who) : 0;
  if (c.m_nCompare == 1) holds = !holds;
  return holds;
}

int cCharaBase::CheckDistanceCondition(const cEdCondition& c) {
  const int r = SaturateToInt(static_cast<int64_t>(c.m_nConst) * 16 + c.m_nOperandIndex);
  const cCharaBase* other = c.m_nSubject == 0 ? Hero() : c.m_nSubject == 1 ? Target() : nullptr;
  if (!other) return 0;
  UpdateScreenRect();
  const IRECT& own = m_rcScreen;
  const IRECT& them = other->m_rcScreen;
  int back = r, front = r, inRange = 0;
  switch (c.m_nAxis) {
    case DISTAXIS_HORIZONTAL:
    case DISTAXIS_FRONT:
    case DISTAXIS_BACK:
      if (c.m_nAxis != DISTAXIS_HORIZONTAL) SidedReach(c.m_nAxis == DISTAXIS_FRONT, m_nDirection, r, back, front);
      inRange = CheckAxisWindow(own.nLeft, m_nGfxWidth, them.nLeft, them.nRight, other->m_nOffsetX, back, front,
                                c.m_nAxis == DISTAXIS_HORIZONTAL, 0, *other);
      break;
    case DISTAXIS_VERTICAL:
    case DISTAXIS_FRONT_Y:
    case DISTAXIS_BACK_Y:
      if (c.m_nAxis != DISTAXIS_VERTICAL) SidedReach(c.m_nAxis == DISTAXIS_FRONT_Y, m_nDirection, r, back, front);
      inRange = CheckAxisWindow(own.nTop, m_nGfxHeight, them.nTop, them.nBottom, other->m_nOffsetY, back, front,
                                c.m_nAxis == DISTAXIS_VERTICAL, 1, *other);
      break;
    case DISTAXIS_CIRCLE: {
      const double dx = (other->m_rcHit.dLeft + other->m_nHitWidth / 2) - (m_rcHit.dLeft + m_nHitWidth / 2);
      const double dy = (other->m_rcHit.dTop + other->m_nHitHeight / 2) - (m_rcHit.dTop + m_nHitHeight / 2);
      inRange = std::sqrt(dx * dx + dy * dy) <= r ? 1 : 0;
      break;
    }
    default:
      break;
  }
  if (c.m_nCompare == 0) return inRange;
  if (c.m_nCompare == 1) return !inRange;
  return 0;
}
