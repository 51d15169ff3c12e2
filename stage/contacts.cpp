// Solid contacts with block characters: pushes out of them, landing on and
// riding them, heads bumped from below, and the crush when a character is
// squeezed. Run by the play step once per logic step for the hero and every
// character that is not itself a block character, after its block
// collisions. Boxes are world dots with inclusive edges; speeds are dots per
// logic step.
#include <algorithm>
#include <vector>

#include "base/report_log.h"
#include "game/block_charas.h"
#include "game/characters.h"
#include "records/command_vocab.h"
#include "records/stage.h"
#include "stage/scene_stage.h"

namespace {

bool PassesSolids(const cGameObject& object) {
  return object.m_bNoGravity && object.m_nBlockMode == BLOCKMODE_PASS;
}

// A block character that others meet: alive, present, not gone, not `selfId`.
bool IsSolid(const cChara& c, int selfId) {
  return c.m_Def.m_bBlockChara && !c.m_bGone && !c.m_bDefeated && c.m_bPresent && c.m_nId != selfId;
}

// Intersection width + 1 and height + 1; both 0 when the boxes do not meet.
void OverlapSize(const DRECT& a, const DRECT& b, double& w, double& h) {
  if (!a.Overlaps(b)) {
    w = h = 0;
    return;
  }
  w = std::min(a.dRight, b.dRight) - std::max(a.dLeft, b.dLeft) + 1;
  h = std::min(a.dBottom, b.dBottom) - std::max(a.dTop, b.dTop) + 1;
}

// The column x from y1 to y2 meets the box.
bool MeetsColumn(const DRECT& r, double x, double y1, double y2) {
  return x >= r.dLeft && x <= r.dRight && y2 >= r.dTop && y1 <= r.dBottom;
}
bool MeetsRow(const DRECT& r, double y, double x1, double x2) {
  return y >= r.dTop && y <= r.dBottom && x2 >= r.dLeft && x1 <= r.dRight;
}
bool Contains(const DRECT& r, double x, double y) {
  return x >= r.dLeft && x <= r.dRight && y >= r.dTop && y <= r.dBottom;
}

// A push out of a block character: the new left (or top) and the speed and
// id of the one that made it.
struct cPush {
  bool bSet = false;
  double dValue = 0;
  double dSpeed = 0;
  int32_t nId = 0;

  // Taken when unset or when `better` says the new value wins.
  template <class Better>
  bool Offer(double value, const cChara& by, double speed, Better better) {
    if (bSet && !better(value, dValue)) return false;
    bSet = true;
    dValue = value;
    dSpeed = speed;
    nId = by.m_nId;
    return true;
  }
};
const auto kLarger = [](double a, double b) { return a > b; };
const auto kSmaller = [](double a, double b) { return a < b; };

// The block characters of `list` in list order: those kept for the step
// when it is CharaList, else taken into `scratch`.
const std::vector<cChara*>& BlockCharasOf(cList<cChara>& list, std::vector<cChara*>& scratch) {
  if (&list == &CharaList) return cBlockCharas::Get();
  scratch.clear();
  for (cChara& c : list)
    if (c.m_Def.m_bBlockChara) scratch.push_back(&c);
  return scratch;
}

// The first solid of `list` whose box meets `box`, for `who` (skipping
// itself and `ignoreId`).
const cChara* FirstSolidOver(cList<cChara>& list, const DRECT& box, int selfId, int ignoreId) {
  std::vector<cChara*> scratch;
  for (const cChara* c : BlockCharasOf(list, scratch))
    if (IsSolid(*c, selfId) && c->m_nId != ignoreId && c->m_rcHit.Overlaps(box)) return c;
  return nullptr;
}

cChara* LiveCharaById(cList<cChara>& list, int id) {
  for (cChara& c : list)
    if (c.m_nId == id && !c.m_bGone) return &c;
  return nullptr;
}

// The block characters that `selfId` meets, in list order: taken once for a
// pass of the rule, in which nothing runs commands, so the list stays put.
using cSolids = std::vector<cChara*>;
cSolids SolidsOf(cList<cChara>& list, int selfId) {
  cSolids solids, scratch;
  for (cChara* c : BlockCharasOf(list, scratch))
    if (IsSolid(*c, selfId)) solids.push_back(c);
  return solids;
}

const cChara* FirstOver(const cSolids& solids, const DRECT& box, int ignoreId) {
  for (const cChara* c : solids)
    if (c->m_nId != ignoreId && c->m_rcHit.Overlaps(box)) return c;
  return nullptr;
}

// The strip of five rows under the feet.
DRECT FeetStrip(const cCharaBase& rider) {
  const DRECT& r = rider.m_rcHit;
  return DRECT{r.dLeft, r.dBottom, r.dRight, r.dBottom + 5};
}

cChara* CarrierBelow(const cSolids& solids, const cCharaBase& rider) {
  const DRECT strip = FeetStrip(rider);
  for (cChara* c : solids)
    if (c->m_rcHit.Overlaps(strip)) return c;
  return nullptr;
}

int OnOwnCarrier(const cSolids& solids, const cCharaBase& rider) {
  const DRECT strip = FeetStrip(rider);
  for (const cChara* c : solids)
    if (c->m_nId == rider.m_nCarrierId && c->m_rcHit.Overlaps(strip)) return 1;
  return 0;
}

// 1 when each corner pair of the box and the start box lies in some solid.
int ProbesHeld(const cSolids& solids, const DRECT& box, const DRECT& start) {
  const auto corners = [](const DRECT& r, double (&x)[4], double (&y)[4]) {
    x[0] = r.dLeft, y[0] = r.dTop;
    x[1] = r.dRight, y[1] = r.dTop;
    x[2] = r.dLeft, y[2] = r.dBottom - 1;
    x[3] = r.dRight, y[3] = r.dBottom - 1;
  };
  double cx[4], cy[4], sx[4], sy[4];
  corners(box, cx, cy);
  corners(start, sx, sy);
  unsigned held = 0;
  for (const cChara* c : solids) {
    for (int k = 0; k < 4; ++k)
      if (Contains(c->m_rcHit, cx[k], cy[k]) || Contains(c->m_rcHit, sx[k], sy[k])) held |= 1u << k;
    if (held == 15) return 1;
  }
  return 0;
}

// The stand-in of a character at another top, for the two probes: only what
// the corner test and the solid overlap read (box, cells, group, id, fly mode).
cGameObject ProbeAtTop(const cCharaBase& chara, double top) {
  cGameObject probe;
  probe.m_nId = chara.m_nId;
  probe.m_nGroup = chara.m_nGroup;
  probe.m_bNoGravity = chara.m_bNoGravity;
  probe.m_nBlockMode = chara.m_nBlockMode;
  probe.m_rcHit = chara.m_rcHit;
  probe.m_rcHit.dTop = top;
  probe.m_nCellLeft = chara.m_nCellLeft;
  probe.m_nCellTop = chara.m_nCellTop;
  probe.m_nCellRight = chara.m_nCellRight;
  probe.m_nCellBottom = chara.m_nCellBottom;
  return probe;
}

void SetLeft(cCharaBase& chara, double x) {
  chara.m_rcHit.dLeft = x;
  chara.ConfineX();
}
void SetTop(cCharaBase& chara, double y) {
  chara.m_rcHit.dTop = y;
  chara.ConfineY();
}

// The carrier's triggers for a rider.
void FireRiddenTriggers(cChara& carrier, const cCharaBase& rider) {
  if (rider.m_nController == 0) carrier.FireTrigger(FLOWTRIGGER_RIDDEN_BY_HERO);
  carrier.FireTrigger(FLOWTRIGGER_RIDDEN_BY_CHARA);
}

void TakeCarrier(cCharaBase& rider, const cChara& carrier) {
  rider.m_nCarrierId = carrier.m_nId;
  rider.m_rcCarrier = carrier.m_rcHit;
}

}  // namespace

int cSceneStage::TouchesSolidChara(const cGameObject& object, cList<cChara>& list) {
  if (PassesSolids(object)) return 0;
  return FirstSolidOver(list, object.m_rcHit, object.m_nId, object.m_nId) ? 1 : 0;
}

int cSceneStage::OverlapsSolidChara(cCharaBase& owner, cList<cChara>& list, int ignoreId) {
  if (PassesSolids(owner)) return 0;
  return FirstSolidOver(list, owner.m_rcHit, owner.m_nId, ignoreId) ? 1 : 0;
}

int cSceneStage::StillOnCarrier(cCharaBase& rider) { return OnOwnCarrier(SolidsOf(CharaList, rider.m_nId), rider); }

cChara* cSceneStage::FindCarrierBelow(cCharaBase& rider) { return CarrierBelow(SolidsOf(CharaList, rider.m_nId), rider); }

int cSceneStage::AllProbesHitSolid(cCharaBase& chara, const DRECT& start) {
  if (PassesSolids(chara)) return 0;
  return ProbesHeld(SolidsOf(CharaList, chara.m_nId), chara.m_rcHit, start);
}

void cSceneStage::SolveContactMove(cCharaBase& chara, cList<cChara>& list, int axis) {
  cPush low, high;  // left / top push, right / bottom push
  std::vector<cChara*> scratch;
  for (const cChara* solid : BlockCharasOf(list, scratch)) {
    const cChara& c = *solid;
    if (!IsSolid(c, chara.m_nId) || !c.m_rcHit.Overlaps(chara.m_rcHit)) continue;
    const DRECT& r = chara.m_rcHit;
    if (axis == 0) {
      if (MeetsColumn(c.m_rcHit, r.dLeft, r.dTop + 1, r.dBottom - 1)) {
        chara.LRUD[LRUD_LEFT] = 1;
        low.Offer(c.m_rcHit.dRight + 1, c, c.m_dVx, kLarger);
      }
      if (MeetsColumn(c.m_rcHit, r.dRight, r.dTop + 1, r.dBottom - 1)) {
        chara.LRUD[LRUD_RIGHT] = 1;
        high.Offer(c.m_rcHit.dLeft - chara.m_nHitWidth, c, c.m_dVx, kSmaller);
      }
    } else {
      if (MeetsRow(c.m_rcHit, r.dTop, r.dLeft + 1, r.dRight - 1)) {
        chara.LRUD[LRUD_UP] = 1;
        low.Offer(c.m_rcHit.dBottom + 1, c, c.m_dVy, kLarger);
      }
      if (MeetsRow(c.m_rcHit, r.dBottom, r.dLeft + 1, r.dRight - 1)) {
        chara.LRUD[LRUD_DOWN] = 1;
        high.Offer(c.m_rcHit.dTop - chara.m_nHitHeight, c, c.m_dVy, kSmaller);
      }
    }
  }
  for (const cPush* push : {&low, &high}) {
    if (!push->bSet) continue;
    if (axis == 0)
      SetLeft(chara, push->dValue);
    else
      SetTop(chara, push->dValue);
  }
}

int cSceneStage::RideCarrier(cCharaBase& rider, cList<cChara>& list) {
  if (rider.m_bNoGravity) return 0;
  cChara* carrier = LiveCharaById(list, rider.m_nCarrierId);
  if (!carrier) return 0;
  rider.m_dVx += carrier->m_rcHit.dLeft - rider.m_rcCarrier.dLeft;
  if (carrier->m_bNoGravity || carrier->m_bAirborne) rider.m_dVy = carrier->m_rcHit.dTop - rider.m_rcCarrier.dTop;
  FireRiddenTriggers(*carrier, rider);
  return 0;
}

// The flying characters: pushed out along the axis of the smaller overlap,
// or killed by any solid in block mode 2; never reported crushed otherwise.
static int ResolveFlyingContacts(cSceneStage& scene, cCharaBase& chara, cList<cChara>& list) {
  cPush left, right, top, bottom;
  bool touched = false;
  std::vector<cChara*> scratch;
  for (const cChara* solid : BlockCharasOf(list, scratch)) {
    const cChara& c = *solid;
    if (!IsSolid(c, chara.m_nId) || !c.m_rcHit.Overlaps(chara.m_rcHit)) continue;
    touched = true;
    const DRECT& r = chara.m_rcHit;
    double ow, oh;
    OverlapSize(r, c.m_rcHit, ow, oh);
    if (ow > oh) {
      if (MeetsRow(c.m_rcHit, r.dTop, r.dLeft + 1, r.dRight - 1)) {
        chara.LRUD[LRUD_UP] = 1;
        top.Offer(c.m_rcHit.dBottom + 1, c, c.m_dVy, kLarger);
      }
      if (MeetsRow(c.m_rcHit, r.dBottom, r.dLeft + 1, r.dRight - 1)) {
        chara.LRUD[LRUD_DOWN] = 1;
        bottom.Offer(c.m_rcHit.dTop - chara.m_nHitHeight, c, c.m_dVy, kSmaller);
      }
    } else {
      if (MeetsColumn(c.m_rcHit, r.dLeft, r.dTop + 1, r.dBottom - 1)) {
        chara.LRUD[LRUD_LEFT] = 1;
        left.Offer(c.m_rcHit.dRight + 1, c, c.m_dVx, kLarger);
      }
      if (MeetsColumn(c.m_rcHit, r.dRight, r.dTop + 1, r.dBottom - 1)) {
        chara.LRUD[LRUD_RIGHT] = 1;
        right.Offer(c.m_rcHit.dLeft - chara.m_nHitWidth, c, c.m_dVx, kSmaller);
      }
    }
  }
  if (touched) chara.FireTrigger(FLOWTRIGGER_HIT_BLOCK_CHARA);
  if (chara.m_nBlockMode == BLOCKMODE_DEADLY) return left.bSet || right.bSet || top.bSet || bottom.bSet ? 2 : 0;

  // A solid moving away from the side it touches lets go on that side; the
  // character is then only kept out across it.
  if (left.bSet) {
    chara.m_dInertiaX = 0;
    if (left.dSpeed < 0 && chara.m_dVx >= 0) {
      chara.LRUD[LRUD_LEFT] = 0;
      scene.SolveContactMove(chara, list, 1);
    } else {
      SetLeft(chara, left.dValue);
    }
  }
  if (right.bSet) {
    chara.m_dInertiaX = 0;
    if (right.dSpeed > 0 && chara.m_dVx <= 0) {
      chara.LRUD[LRUD_RIGHT] = 0;
      scene.SolveContactMove(chara, list, 1);
    } else {
      SetLeft(chara, right.dValue);
    }
  }
  if (top.bSet) {
    chara.m_dInertiaY = 0;
    if (top.dSpeed < 0 && chara.m_dVy >= 0) {
      chara.LRUD[LRUD_UP] = 0;
      scene.SolveContactMove(chara, list, 0);
    } else {
      SetTop(chara, top.dValue);
    }
  }
  if (bottom.bSet) {
    chara.m_dInertiaY = 0;
    if (bottom.dSpeed > 0 && chara.m_dVy <= 0) {
      chara.LRUD[LRUD_DOWN] = 0;
      scene.SolveContactMove(chara, list, 0);
      return 0;
    }
    SetTop(chara, bottom.dValue);
  }
  return 0;
}

// Dropped below the first solid over its upper half, as if it had bumped
// its head; `bBlockedUp` also notes a solid that moves down.
static void DropBelowUpperSolid(cCharaBase& chara, const cSolids& solids, const DRECT& upper, bool bBlockedUp) {
  const cChara* c = FirstOver(solids, upper, chara.m_nId);
  if (!c) return;
  chara.m_dInertiaY = 0;
  chara.m_bJumping = chara.m_bJumped = chara.m_bJumpLock = 1;
  chara.m_dVy = c->m_dVy;
  SetTop(chara, c->m_rcHit.dBottom + 1);
  if (bBlockedUp && c->m_dVy > 0) chara.LRUD[LRUD_UP] = 1;
}

int cSceneStage::ResolveSolidContacts(cCharaBase& chara, cList<cChara>& list) {
  if (PassesSolids(chara)) return 0;
  if (chara.m_bNoGravity) return ResolveFlyingContacts(*this, chara, list);

  const double S = Stage.m_dSteps;
  const double fastFall = 2 / S;
  const double headTolerance = 0.4 / S;
  const int w = chara.m_nHitWidth;
  const int h = chara.m_nHitHeight;
  const DRECT start = chara.m_rcHit;
  const DRECT upper{start.dLeft, start.dTop, start.dRight, start.dTop + h / 2};
  const DRECT feet{start.dLeft + 1, start.dBottom - h / 3, start.dRight - 1, start.dBottom};
  const DRECT mixed{chara.m_rcPrevHit.dLeft, start.dTop, chara.m_rcPrevHit.dRight, start.dBottom};

  const cSolids solids = SolidsOf(list, chara.m_nId);
  cPush left, right, top, bottom;
  double carrierVy = 0;
  int32_t carrierId = 0;
  bool contact = false;
  bool landed = false;

  const auto pushLeft = [&](const cChara& c) {
    chara.LRUD[LRUD_LEFT] = 1;
    left.Offer(c.m_rcHit.dRight + 1.5, c, c.m_dVx, kLarger);
  };
  const auto pushRight = [&](const cChara& c) {
    chara.LRUD[LRUD_RIGHT] = 1;
    right.Offer(c.m_rcHit.dLeft - w - 0.5, c, c.m_dVx, kSmaller);
  };
  const auto landOn = [&](const cChara& c) {
    if (c.m_dVy < 0) chara.LRUD[LRUD_DOWN] = 1;
    if (bottom.Offer(c.m_rcHit.dTop - h, c, c.m_dVy, kSmaller)) {
      TakeCarrier(chara, c);
      carrierVy = c.m_dVy;
      carrierId = c.m_nId;
    }
  };

  for (const cChara* solid : solids) {
    const cChara& c = *solid;
    if (!c.m_rcHit.Overlaps(start)) continue;
    contact = true;
    const DRECT& box = c.m_rcHit;
    if (upper.Overlaps(box)) {
      if (chara.m_dVy > fastFall && mixed.Overlaps(c.m_rcPrevHit) && chara.m_rcPrevHit.dTop < c.m_rcPrevHit.dTop) {
        // Fell so fast that the upper half sank into it: still a landing.
        DebugLogPuts("D Hit");
        landOn(c);
        continue;
      }
      double ow, oh;
      OverlapSize(upper, box, ow, oh);
      if ((ow - oh > headTolerance && start.dBottom > box.dBottom) ||
          (mixed.Overlaps(c.m_rcPrevHit) && chara.m_rcPrevHit.dTop > c.m_rcPrevHit.dTop &&
           !chara.m_rcPrevHit.Overlaps(box))) {
        if (c.m_dVy > 0) chara.LRUD[LRUD_UP] = 1;
        top.Offer(box.dBottom + 1, c, c.m_dVy, kLarger);
        if (chara.m_bRiding && chara.m_dVy < 0) chara.LRUD[LRUD_DOWN] = 1;
        continue;
      }
      const double halfBottom = start.dTop + h / 2;
      const bool meetsRight = MeetsColumn(box, start.dRight, start.dTop, halfBottom);
      const bool meetsLeft = MeetsColumn(box, start.dLeft, start.dTop, halfBottom);
      if (chara.m_dVx >= 0) {
        if (meetsRight)
          pushRight(c);
        else if (meetsLeft)
          pushLeft(c);
      } else {
        if (meetsLeft)
          pushLeft(c);
        else if (meetsRight)
          pushRight(c);
      }
      continue;
    }
    double ow, oh;
    OverlapSize(start, box, ow, oh);
    if (ow < oh) {
      if (MeetsColumn(box, start.dRight, start.dTop, start.dBottom)) pushRight(c);
      if (MeetsColumn(box, start.dLeft, start.dTop, start.dBottom)) pushLeft(c);
    } else if (feet.Overlaps(box)) {
      landOn(c);
    }
  }

  bool squeezed = false;
  if (!top.bSet || bottom.bSet) {
    if (left.bSet && right.bSet && !bottom.bSet) {
      // Squeezed from both sides in the air: it slips down under them.
      DropBelowUpperSolid(chara, solids, upper, false);
      chara.LRUD[LRUD_LEFT] = chara.LRUD[LRUD_RIGHT] = 0;
      squeezed = true;
    } else if (bottom.bSet && !(left.bSet && right.bSet)) {
      bool refused = false;
      if (carrierVy > 0) {
        // A carrier moving down must not take it into a blocking cell.
        const cGameObject probe = ProbeAtTop(chara, bottom.dValue);
        if (probe.TouchesBlockCorners()) {
          chara.m_bRiding = 0;
          refused = true;
        }
      }
      if (!refused) {
        chara.m_dInertiaY = 0;
        landed = true;
        if (!chara.m_bRiding) {
          chara.m_bRiding = 1;
          if (cChara* carrier = LiveCharaById(list, carrierId)) FireRiddenTriggers(*carrier, chara);
        }
        SetTop(chara, bottom.dValue);
        chara.m_dVy = 0;
        chara.m_bJumpBlocked = chara.m_bJumped = chara.m_bJumping = 0;
        chara.m_bAirborne = chara.m_bKnockback = 0;
        if (chara.m_nController == 0) {
          if (cHero* hero = Hero(); hero == &chara) hero->m_bJumpForced = 0;
        } else {
          chara.m_bJumpLock = 0;
        }
      }
    }
  } else {
    // Head contact only.
    const cChara* ceiling = LiveCharaById(list, top.nId);
    bool refused = false;
    if (top.dSpeed < 0) {
      const cGameObject probe = ProbeAtTop(chara, top.dValue);
      refused = probe.TouchesBlockCorners() || FirstOver(solids, probe.m_rcHit, top.nId) != nullptr;
    }
    if (!refused) {
      chara.m_rcHit.dTop = top.dValue;
      chara.m_bJumping = chara.m_bJumped = chara.m_bJumpLock = 1;
      chara.m_dInertiaY = 0;
      chara.m_dVy = ceiling ? ceiling->m_dVy : top.dSpeed;
      chara.ConfineY();
      HitBlocksYBottomFirst(chara);
    }
  }

  if (!squeezed) {
    if (left.bSet) {
      chara.m_dInertiaX = 0;
      SetLeft(chara, left.dValue);
    }
    if (right.bSet) {
      chara.m_dInertiaX = 0;
      SetLeft(chara, right.dValue);
    }
    if (left.bSet && right.bSet && !bottom.bSet) {
      SetLeft(chara, start.dLeft);
      DropBelowUpperSolid(chara, solids, upper, true);
      chara.LRUD[LRUD_LEFT] = chara.LRUD[LRUD_RIGHT] = 0;
    }
  }

  if (contact || chara.m_bRiding) chara.FireTrigger(FLOWTRIGGER_HIT_BLOCK_CHARA);
  if (chara.m_bRiding) chara.FireTrigger(FLOWTRIGGER_ON_BLOCK_CHARA);

  const int* lrud = chara.LRUD;
  if ((lrud[LRUD_LEFT] && lrud[LRUD_RIGHT]) || (lrud[LRUD_UP] && lrud[LRUD_DOWN]) ||
      ProbesHeld(solids, chara.m_rcHit, start))
    return 2;

  // Out of a blocking cell it was pushed into, a tenth of a dot at a time.
  struct {
    int side;
    double dx, dy;
  } const escapes[] = {{LRUD_LEFT, -0.1, 0}, {LRUD_RIGHT, 0.1, 0}, {LRUD_UP, 0, -0.1}, {LRUD_DOWN, 0, 0.1}};
  for (const auto& e : escapes) {
    if (!lrud[e.side]) continue;
    for (int i = 0; i < 15 && chara.TouchesBlockCorners(); ++i) {
      if (e.dx != 0) SetLeft(chara, chara.m_rcHit.dLeft + e.dx);
      if (e.dy != 0) SetTop(chara, chara.m_rcHit.dTop + e.dy);
    }
  }

  if (chara.m_bRiding && !landed) {
    cChara* carrier = nullptr;
    if (chara.m_dKnockY < 0) {
      chara.LeaveCarrier(0);
    } else if (OnOwnCarrier(solids, chara)) {
      carrier = LiveCharaById(list, chara.m_nCarrierId);
      if (!carrier) return 0;
    } else {
      carrier = CarrierBelow(solids, chara);
      // Walked off its edge: a walker turns back with the carrier's motion.
      if (!carrier) chara.LeaveCarrier(1);
    }
    if (carrier) {
      chara.m_bJumpBlocked = 0;
      chara.m_bKnockback = 0;
      TakeCarrier(chara, *carrier);
    }
  }
  return 0;
}
