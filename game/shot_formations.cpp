// The six formations: rows across or up from the owner, a fan, a strike
// from the view's edge, a ring from the owner's centre and a circle closing
// in on an object.
#include <cmath>

#include "base/checked_convert.h"
#include "game/chara_base.h"
#include "game/characters.h"
#include "game/shot_emitter.h"
#include "game/stage_data.h"
#include "records/shot.h"

const SHOTFORMROUTINE ShotFormRoutines[SHOTFORM_COUNT] = {
    FormStraightA, FormStraightB, FormSpread, FormLightning, FormExplosion, FormSurround,
};

namespace {

int Add(int32_t a, int32_t b) { return SaturateToInt(static_cast<int64_t>(a) + b); }

// The object the lightning and surround formations work around: 0 the
// owner's target, 1 the hero, 2 the owner; null when there is none (or for
// any other value): the formation then fires nothing.
const cCharaBase* FormObject(cCharaBase& owner, const cEdShot& def) {
  switch (def.m_nFormCentre) {
    case 0: return owner.Target();
    case 1: return Hero();
    case 2: return &owner;
    default: return nullptr;
  }
}

// n objects along the row from the start point.
void SpawnRow(cList<cShot>* list, cCharaBase& owner, cCommandInstance& cmd, cEdShot& def, SHOTSPAWN& sp) {
  sp.nX = sp.nStartX;
  sp.nY = sp.nStartY;
  for (int i = 0; i < def.m_nCount; ++i) {
    SpawnOne(list, sp, owner, cmd, def);
    sp.nX = Add(sp.nX, sp.nStepX);
    sp.nY = Add(sp.nY, sp.nStepY);
  }
}

}  // namespace

void FormStraightA(cList<cShot>* list, cCharaBase& owner, cCommandInstance& cmd, cEdShot& def, SHOTSPAWN& sp) {
  if (sp.nAngle == 0 && !def.m_bAim)
    StartStraightA(owner, def, sp);
  else
    StartStraightAAngled(owner, def, sp);
  SpawnRow(list, owner, cmd, def, sp);
}

void FormStraightB(cList<cShot>* list, cCharaBase& owner, cCommandInstance& cmd, cEdShot& def, SHOTSPAWN& sp) {
  if (sp.nAngle == 0 && !def.m_bAim)
    StartStraightB(owner, def, sp);
  else
    StartStraightBAngled(owner, def, sp);
  SpawnRow(list, owner, cmd, def, sp);
}

void FormSpread(cList<cShot>* list, cCharaBase& owner, cCommandInstance& cmd, cEdShot& def, SHOTSPAWN& sp) {
  const int b = def.m_nFormParam[0];
  if (sp.nAngle == 0 && !def.m_bAim)
    StartSpread(owner, sp);
  else
    StartSpreadAngled(owner, def, sp);
  const double c = def.m_bAim ? AimAngle(Add(sp.nStartX, sp.nWidth >> 1), Add(sp.nStartY, sp.nHeight >> 1), owner,
                                         def, sp)
                              : ShotDirAngle(sp.nDirCode);
  const int n = def.m_nCount;
  // An odd count puts the middle shot on the base direction; an even one straddles it.
  double theta = n % 2 != 0 ? c + sp.nAngle - static_cast<double>(b) * (n >> 1)
                            : c + sp.nAngle - b * ((n >> 1) - 0.5);
  sp.nX = sp.nStartX;
  sp.nY = sp.nStartY;
  for (int i = 0; i < n; ++i) {
    SetShotVelocity(sp, theta, sp.dSpeed);
    SpawnOne(list, sp, owner, cmd, def);
    theta += b;
  }
}

void FormLightning(cList<cShot>* list, cCharaBase& owner, cCommandInstance& cmd, cEdShot& def, SHOTSPAWN& sp) {
  const cCharaBase* object = FormObject(owner, def);
  if (!object) return;
  if (sp.nAngle == 0)
    StartLightning(*object, def, sp);
  else
    StartLightningAngled(*object, def, sp);
  sp.nX = sp.nStartX;
  sp.nY = sp.nStartY;
  for (int row = 0; row < def.m_nCount; ++row) {
    SHOTSPAWN column = sp;
    for (int c = 0; c < def.m_nFormParam[1]; ++c) {
      SpawnOne(list, column, owner, cmd, def);
      column.nX = Add(column.nX, column.nColStepX);
      column.nY = Add(column.nY, column.nColStepY);
    }
    sp.nX = Add(sp.nX, sp.nStepX);
    sp.nY = Add(sp.nY, sp.nStepY);
  }
}

void FormExplosion(cList<cShot>* list, cCharaBase& owner, cCommandInstance& cmd, cEdShot& def, SHOTSPAWN& sp) {
  StartCentre(owner, sp);
  sp.nX = sp.nStartX;
  sp.nY = sp.nStartY;
  const int n = def.m_nCount;
  double theta = ShotDirAngle(sp.nDirCode) + sp.nAngle;
  for (int i = 0; i < n; ++i) {
    SetShotVelocity(sp, theta, sp.dSpeed);
    SpawnOne(list, sp, owner, cmd, def);
    theta += 360.0 / n;
  }
}

void FormSurround(cList<cShot>* list, cCharaBase& owner, cCommandInstance& cmd, cEdShot& def, SHOTSPAWN& sp) {
  const cCharaBase* object = FormObject(owner, def);
  if (!object) return;
  StartCentre(owner, sp);
  const double sx = StageData().m_ScrollX.m_dPos, sy = StageData().m_ScrollY.m_dPos;
  const int64_t PL = object->m_rcScreen.nLeft, PT = object->m_rcScreen.nTop;
  const int64_t PW = object->m_nGfxWidth, PH = object->m_nGfxHeight;
  const int cx = ToIntChecked(static_cast<double>(PL + (PW >> 1)) + sx - (sp.nWidth >> 1) + sp.nOffsetX);
  const int cy = ToIntChecked(static_cast<double>(PT + (PH >> 1)) + sy - (sp.nHeight >> 1) + sp.nOffsetY);
  const double rho = def.m_nFormParam[0] * 16;
  const int n = def.m_nCount;
  double theta = ShotDirAngle(sp.nDirCode) + sp.nAngle;
  for (int i = 0; i < n; ++i) {
    const double radians = theta * ShotDegToRad;
    sp.nX = Add(ToIntChecked(rho * std::cos(radians) + 0.5), cx);
    sp.nY = Add(ToIntChecked(rho * std::sin(radians) + 0.5), cy);
    SetShotVelocity(sp, theta, sp.dSpeed);
    SpawnOne(list, sp, owner, cmd, def);
    theta += 360.0 / n;
  }
}
