// A shot's construction, copies and end, its set-up, its trajectory step,
// its moves, its clamp and its block test.
#include "game/shot.h"

#include <cmath>
#include <vector>

#include "base/checked_convert.h"
#include "game/aimed_shots.h"
#include "game/chara_base.h"
#include "game/characters.h"
#include "game/map_cells.h"
#include "game/stage_data.h"
#include "records/database.h"
#include "records/stage.h"
#include "records/system.h"

namespace {

// Pattern 0 (swords; never shown): frames 0, 1, 2 for 7 ticks, then it
// ends. Pattern 1 (shots): frames 0 and 1 every 8 ticks, looping.
const int32_t kSwordPattern[] = {0, 7, 0, 1, 7, 0, 2, 7, 0, ANIMECODE_END, 0, 0};
const int32_t kShotPattern[] = {0, 8, 0, 1, 8, 0, ANIMECODE_LOOP, 0, 0};
const int32_t* const kShotPatterns[] = {kSwordPattern, kShotPattern, nullptr};

int32_t ShotScaled(int scale, int32_t base) { return SaturateToInt(static_cast<int64_t>(scale) * base); }

}  // namespace

cShot::cShot() = default;

cShot::cShot(const cShot& other) : cGameObject(other) { CopyMembers(other); }

cShot& cShot::operator=(const cShot& other) {
  if (this != &other) {
    cGameObject::CopyFrom(other);
    CopyMembers(other);
  }
  return *this;
}

void cShot::CopyMembers(const cShot& other) {
  m_nOwnerId = other.m_nOwnerId;
  m_nKind = other.m_nKind;
  m_nDistSteps = other.m_nDistSteps;
  m_nLifeSteps = other.m_nLifeSteps;
  m_nStep = other.m_nStep;
  m_nFrame = other.m_nFrame;
  m_dAccel = other.m_dAccel;
  m_dPathSpeed = other.m_dPathSpeed;
  m_dBaseVx = other.m_dBaseVx;
  m_dBaseVy = other.m_dBaseVy;
  m_bAccel = other.m_bAccel;
  m_nTurnStep = other.m_nTurnStep;
  m_nHomeEndStep = other.m_nHomeEndStep;
  m_bPathDone = other.m_bPathDone;
  m_dWavePhase = other.m_dWavePhase;
  m_dWaveSin = other.m_dWaveSin;
  m_dWaveCos = other.m_dWaveCos;
  m_Box = other.m_Box;
  m_HitList = other.m_HitList;
  m_ShotDef = other.m_ShotDef;
  m_nTargetId = other.m_nTargetId;
}

cShot::~cShot() {
  if (m_nTargetId == OBJECT_NONE) return;
  if (cCharaBase* target = FindCharaById(m_nTargetId)) target->m_vShots.Remove(m_nId);
}

void ReleaseAimedShot(int32_t shotSerial, int32_t charaId) {
  cShot* shot = StageData().FindShotById(shotSerial);
  if (shot && shot->m_nTargetId == charaId) shot->m_nTargetId = OBJECT_NONE;
}

void cShot::ScaleHitBox(int nScale) {
  m_Box.nOffsetX = ShotScaled(nScale, m_Box.nBaseOffsetX);
  m_Box.nOffsetY = ShotScaled(nScale, m_Box.nBaseOffsetY);
  m_Box.nWidth = ShotScaled(nScale, m_Box.nBaseWidth);
  m_Box.nHeight = ShotScaled(nScale, m_Box.nBaseHeight);
}

void cShot::OnScaleChanged(int nNew, int nOld) {
  if (nNew == nOld) return;
  m_rcHit.dTop -= static_cast<double>((static_cast<int64_t>(nNew) - nOld) * (m_nBaseHitHeight >> 1));
  ClampY(2);
}

void cShot::HitBoxX() {
  m_Box.rc.dLeft = static_cast<double>(static_cast<int64_t>(ToIntChecked(m_rcHit.dLeft)) + m_Box.nOffsetX);
  m_Box.rc.dRight = m_Box.rc.dLeft + m_Box.nWidth - 1;
}

void cShot::HitBoxY() {
  m_Box.rc.dTop = static_cast<double>(static_cast<int64_t>(ToIntChecked(m_rcHit.dTop)) + m_Box.nOffsetY);
  m_Box.rc.dBottom = m_Box.rc.dTop + m_Box.nHeight - 1;
}

void cShot::Init(int id, cCharaBase& owner, int type, cEdShot& def, const SHOTSPAWN& sp) {
  if (def.m_nScale == 0) def.m_nScale = 1;
  m_ShotDef = def;

  int facing = owner.m_nDirection;
  if (sp.dVx > 0)
    facing = 1;
  else if (sp.dVx < 0)
    facing = 0;

  int w = 16, h = 16;
  if (type == SHOTMAKER_SWORD) {
    // A type without frames has no size; its sword ends on its first step.
    const cEdSwordType& sword = Database.m_vSwordType.At(def.m_nPath);
    w = h = 0;
    if (sword.HasFrame(0)) {
      w = sword.FrameAt(0).m_nWidth;
      h = sword.FrameAt(0).m_nHeight;
    }
    m_nKind = SHOTKIND_SWORD;
  } else {
    m_nKind = SHOTKIND_SHOT;
  }
  m_nOwnerId = owner.m_nId;
  SetUp(id, owner.m_nController, owner.m_nPlayer, def.m_nSide, def.m_nGraphic, kShotPatterns,
        m_nKind == SHOTKIND_SHOT ? 1 : 0, 0, 0, w, h, 16, 16, facing, FLYMODE_THROUGH, sp.sIndex);
  if (m_ShotDef.m_bUserSide) {
    m_nGroup = owner.m_Def.m_nFaction;
    m_ShotDef.m_nSide = owner.m_Def.m_nFaction;
  }

  m_Box.Clear();
  if (m_nKind == SHOTKIND_SWORD) {
    m_Box.nBaseWidth = m_Box.nWidth = w;
    m_Box.nBaseHeight = m_Box.nHeight = h;
  } else {
    const bool player = owner.m_nController == 0;
    const int W = player ? Stage.m_nHeroShotBoxW : Stage.m_nCharaShotBoxW;
    const int H = player ? Stage.m_nHeroShotBoxH : Stage.m_nCharaShotBoxH;
    m_Box.nBaseWidth = m_Box.nWidth = W;
    m_Box.nBaseHeight = m_Box.nHeight = H;
    m_Box.nBaseOffsetX = m_Box.nOffsetX = 8 - (W >> 1);
    m_Box.nBaseOffsetY = m_Box.nOffsetY = 8 - (H >> 1);
  }
  SetScale(m_ShotDef.m_nScale, 1);

  m_rcHit.dLeft = sp.nX;
  ClampX();
  m_rcHit.dTop = sp.nY;
  ClampY(2);

  const double S = Stage.m_dSteps;
  m_dBaseVx = sp.dVx / S;
  m_dBaseVy = sp.dVy / S;

  if (m_ShotDef.m_bAccel) {
    m_bAccel = 1;
    m_dAccel = ((m_ShotDef.m_nAccelStep * m_sCloneNo + m_ShotDef.m_nAccel) * 0.1) / S;
    GetSpeedVector(m_dInertiaX, m_dInertiaY, sp.dVx, sp.dVy);
  } else {
    m_dAccel = 0;
    m_bAccel = 0;
    m_dInertiaX = m_dInertiaY = 0;
  }
  m_dVx = m_dVy = 0;
  m_bScrollSync = m_ShotDef.m_bAimDirect;

  const int N = Stage.m_nStepsPerFrame;
  if (m_ShotDef.m_bLifeLimit) m_nLifeSteps = SaturatedTicks(sp.nLife, static_cast<int64_t>(N) * 6);

  if (m_ShotDef.m_bRangeLimit) {
    int64_t distance = static_cast<int64_t>(sp.nDistance) * 16 - m_nHitWidth;
    if (distance < 0) distance = 0;
    const int D = SaturateToInt(distance);
    const double E = std::fabs(sp.dSpeed / S);
    if (D > 0 && E > 0) {
      m_nDistSteps = ToIntChecked(D / E);
    } else {
      m_nDistSteps = ToIntChecked(S);
      if (ToIntChecked(S * E) > m_nHitWidth) m_nDistSteps = ToIntChecked(m_nHitWidth / E);
    }
    if (m_nDistSteps < S) {
      // The whole distance in one frame, counted as |dx| + |dy|; a shot
      // without a velocity has nothing to spread it over.
      const double sum = std::fabs(sp.dVx) + std::fabs(sp.dVy);
      if (sum != 0) {
        m_dBaseVx = sp.dVx * (D / S) / (std::fabs(sp.dVx) + std::fabs(sp.dVy));
        m_dBaseVy = sp.dVy * (D / S) / (std::fabs(sp.dVy) + std::fabs(sp.dVx));
      }
      m_nDistSteps = ToIntChecked(S);
    }
  }

  m_nStep = m_nFrame = m_nTurnStep = m_nHomeEndStep = m_bPathDone = 0;
  m_nTargetId = owner.m_nTargetId;
}

void cShot::GetSpeedVector(double& ax, double& ay, double dx, double dy) const {
  if (dx != 0 && dy != 0) {
    const double L = std::sqrt(dx * dx + dy * dy);
    ax = SpeedPerStep(dx / L * m_dAccel);
    ay = SpeedPerStep(dy / L * m_dAccel);
  } else if (dx != 0) {
    ax = dx > 0 ? SpeedPerStep(m_dAccel) : -SpeedPerStep(m_dAccel);
    ay = 0;
  } else if (dy != 0) {
    ax = 0;
    ay = dy > 0 ? SpeedPerStep(m_dAccel) : -SpeedPerStep(m_dAccel);
  } else {
    ax = ay = 0;
  }
}

int cShot::StepTrajectory() {
  if (m_nKind == SHOTKIND_SWORD) return StepSword();

  const cSceneStageData& stage = StageData();
  if (!SystemData.bScrollInMoves() && m_bScrollSync) {
    m_dVx = stage.m_ScrollX.MoveSpeed();
    if (m_bNoGravity) m_dVy = stage.m_ScrollY.MoveSpeed();
  } else {
    m_dVx = 0;
    if (m_bNoGravity) m_dVy = 0;
  }

  const int path = m_ShotDef.m_nPath;
  if (path >= 0 && path < SHOTPATH_COUNT && ShotPathRoutines[path]) (this->*ShotPathRoutines[path])();

  if (m_bAccel) {
    m_dBaseVx += m_dInertiaX;
    if (m_bNoGravity)
      m_dBaseVy += m_dInertiaY;
    else
      m_dVy += m_dInertiaY;
  }
  m_dVx += m_dBaseVx;
  if (m_bNoGravity) m_dVy += m_dBaseVy;

  if (m_ShotDef.m_bLifeLimit) {
    if (m_nLifeSteps <= 0) return 1;
    m_nLifeSteps -= 1;
  }
  if (m_dVx != 0) m_nDirection = m_dVx >= 0 ? 1 : 0;

  if (m_ShotDef.m_bRangeLimit) {
    if (m_nDistSteps >= 1) {
      m_nDistSteps -= 1;
    } else {
      if (!m_ShotDef.m_bStraightAtRangeEnd) return 1;
      // It stays where its distance ended, relative to the world or, tied
      // to the screen, to the view.
      m_dBaseVx = m_dBaseVy = 0;
      m_ShotDef.m_nPath = SHOTPATH_STRAIGHT;
      if (!m_bScrollSync) {
        m_dVx = m_dVy = 0;
      } else {
        m_dVx = stage.m_ScrollX.MoveSpeed();
        if (m_bNoGravity) m_dVy = stage.m_ScrollY.MoveSpeed();
      }
    }
  }
  return 0;
}

int cShot::StepHorizontal() {
  if (m_dInertiaX != 0) m_dVx += m_dInertiaX;
  if (m_dVx != 0) {
    const double max = Stage.m_dMaxSpeedPerStep;
    if (m_dVx > max)
      m_dVx = max;
    else if (m_dVx < -max)
      m_dVx = -max;
    m_rcHit.dLeft += m_dVx;
    ClampX();
  }
  return 0;
}

int cShot::StepVertical() {
  if (m_dInertiaY != 0) m_dVy += m_dInertiaY;
  if (m_dVy != 0) {
    StepY(2);
    ClampY(2);
  }
  return 0;
}

int cShot::ClampX() {
  const int32_t active = StageData().m_ScrollX.m_nActiveSize;
  double& x = m_rcHit.dLeft;
  const int w = m_nHitWidth;
  int result = 0;
  if (x < 0) {
    x = 0;
    result = 3;
  } else if (x + w - 1 >= active) {
    x = static_cast<double>(active) - w;
    result = 3;
  }
  m_rcHit.dRight = w + x - 1;
  HitBoxX();
  m_nCellLeft = ToIntChecked(x) >> 5;
  m_nCellRight = ToIntChecked(m_rcHit.dRight) >> 5;
  return result;
}

namespace {

// The offsets 0, 32, 64, … and last size − 1 from `origin` whose cells lie
// in 0..cells − 1: a shot wider than the map visits the map's cells only.
std::vector<int32_t> LatticeCells(int64_t origin, int64_t size, int64_t cells) {
  std::vector<int32_t> out;
  const int64_t last = size - 1;
  int64_t offset = origin < 0 ? (-origin + 31) / 32 * 32 : 0;
  for (;;) {
    if (offset > last) offset = last;
    const int64_t dot = origin + offset;
    const int64_t cell = dot >= 0 ? dot >> 5 : -((-dot + 31) >> 5);
    if (cell >= cells) break;
    if (cell >= 0) out.push_back(static_cast<int32_t>(cell));
    if (offset == last) break;
    offset += 32;
  }
  return out;
}

}  // namespace

int cShot::HitsBlock() const {
  if (m_ShotDef.m_bPassBlocks == 1) return 0;
  if (m_nHitWidth <= 32) return TouchesBlockCorners();
  const cSceneStageData& stage = StageData();
  const std::vector<int32_t> columns =
      LatticeCells(ToIntChecked(m_rcHit.dLeft), m_nHitWidth, stage.m_ScrollX.m_nCells);
  const std::vector<int32_t> rows = LatticeCells(ToIntChecked(m_rcHit.dTop), m_nHitHeight, stage.m_ScrollY.m_nCells);
  for (int32_t row : rows)
    for (int32_t column : columns)
      if (GetHitAttr(CellAt(column, row), m_nGroup)) return 1;
  return 0;
}
