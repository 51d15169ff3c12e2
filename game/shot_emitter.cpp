// The shot and summon emitters, the direction angles, aiming and the
// spawning of one object.
#include "game/shot_emitter.h"

#include <climits>
#include <cmath>

#include "base/checked_convert.h"
#include "base/number_text.h"
#include "game/chara_base.h"
#include "game/characters.h"
#include "game/flow_instance.h"
#include "game/stage_data.h"
#include "records/command.h"
#include "records/command_types.h"
#include "records/command_vocab.h"
#include "records/common_palette.h"
#include "records/shot.h"
#include "records/stage.h"

const double ShotK = 1.0 / std::sqrt(2.0);

namespace {

constexpr double kAimDegrees = 57.29577951308232;

// The direction angles by absolute direction code 0..12, held twice as the
// formations read them.
const double kDirAngles[DIRCODE_COUNT] = {0, 0, 0, 180, 0, 0, 90, 270, 45, 315, 135, 225, 0};
const int kDirAnglesInt[DIRCODE_COUNT] = {0, 0, 0, 180, 0, 0, 90, 270, 45, 315, 135, 225, 0};

bool FacesRight(const cCharaBase& c) { return c.m_nDirection == 1; }

int HeldDirection() {
  const cFlowInstance* flow = StageData().m_lpCurFlow;
  return flow ? flow->m_nHeldDir : 0;
}

int CommandType(const cCommandInstance& cmd) { return cmd.m_pCommand ? cmd.m_pCommand->m_nType : -1; }

// The random spread of a volley's angle.
int32_t Spread(const cEdShot& def, int32_t a) {
  return def.m_nSpread != 0 ? SaturateToInt(static_cast<int64_t>(a) + RandomRange(-def.m_nSpread, def.m_nSpread))
                            : a;
}

// The emitter's part of a summon, after its own checks.
void Summon(cCharaBase& owner, cCommandInstance& cmd, cEdShot& def, int size, bool blocks) {
  SHOTSPAWN sp;
  sp.nWidth = sp.nHeight = size;
  sp.nDirCode = AbsoluteShotDirCode(def.m_nDirCode, owner.m_nDirection, HeldDirection());
  sp.dSpeed = 1.0;
  sp.nAngle = 0;
  sp.nDistance = 0;
  sp.sIndex = 0;
  owner.UpdateScreenRect();
  // A toggle summon changes each cell once.
  if (blocks && def.m_nSummonMode == 2) StageData().m_vToggledCells.clear();
  sp.nOffsetX = ToIntChecked(def.GetOffsetX(0, owner.m_nDirection));
  sp.nOffsetY = ToIntChecked(def.GetOffsetY(0, owner.m_nDirection));
  const int form = def.m_nForm;
  if (form >= 0 && form < SHOTFORM_COUNT) ShotFormRoutines[form](nullptr, owner, cmd, def, sp);
}

// A palette entry named by the summon record; null at or beyond the palette's end.
template <class T>
const T* SummonEntry(const cVector<T>& palette, const cEdShot& def) {
  const int index = def.m_nSummonIndex;
  return index >= 0 && index < palette.Size() ? &palette[index] : nullptr;
}

int Scaled32(int scale) { return SaturateToInt(static_cast<int64_t>(scale) * 32); }

}  // namespace

double ShotDirAngle(int code) { return code >= 0 && code < DIRCODE_COUNT ? kDirAngles[code] : 0; }

int ShotDirAngleInt(int code) { return code >= 0 && code < DIRCODE_COUNT ? kDirAnglesInt[code] : 0; }

int AbsoluteShotDirCode(int code, int facing, int heldDir) {
  const bool right = facing == 1;
  switch (code) {
    case DIRCODE_FRONT: return right ? DIRCODE_RIGHT : DIRCODE_LEFT;
    case DIRCODE_BACK: return right ? DIRCODE_LEFT : DIRCODE_RIGHT;
    case DIRCODE_FRONT_Y: return right ? DIRCODE_DOWN : DIRCODE_UP;
    case DIRCODE_BACK_Y: return right ? DIRCODE_UP : DIRCODE_DOWN;
    case DIRCODE_INPUT: return ToDirectionCode(heldDir, facing);
    default: return code;
  }
}

void SetShotVelocity(SHOTSPAWN& sp, double degrees, double speed) {
  const double radians = degrees * ShotDegToRad;
  sp.dVx = -std::cos(radians) * speed;
  sp.dVy = -std::sin(radians) * speed;
}

void ShootShots(cList<cShot>& shots, cCharaBase& owner, cCommandInstance& cmd, cEdShot& def) {
  SHOTSPAWN sp;
  sp.nWidth = sp.nHeight = SaturateToInt(static_cast<int64_t>(def.m_nScale) * 16);
  sp.nDirCode = AbsoluteShotDirCode(def.m_nDirCode, owner.m_nDirection, HeldDirection());
  // The positions below read these view rectangles.
  if (owner.m_nController == 1) owner.UpdateScreenRect();
  cCharaBase* target = owner.Target();
  if (target && target->m_nController == 1) target->UpdateScreenRect();
  const bool mirror = def.m_bAngleMirror && FacesRight(owner);
  int32_t a = def.m_nAngle;
  double speed = def.m_nSpeed * 0.1;
  if (mirror) a = 360 - def.m_nAngle;
  a = Spread(def, a);
  sp.nDistance = def.m_nRange;
  sp.nLife = def.m_nLife;
  const int form = def.m_nForm;
  for (int i = 0; i <= def.m_nClones; ++i) {
    sp.sIndex = static_cast<int16_t>(i);
    sp.dSpeed = speed;
    sp.nAngle = a;
    sp.nOffsetX = ToIntChecked(def.GetOffsetX(i, owner.m_nDirection));
    sp.nOffsetY = ToIntChecked(def.GetOffsetY(i, owner.m_nDirection));
    if (form >= 0 && form < SHOTFORM_COUNT) ShotFormRoutines[form](&shots, owner, cmd, def, sp);
    speed += def.m_nSpeedStep * 0.1;
    const int32_t grown = def.m_nAngle + def.m_nAngleStep * (i + 1);
    a = mirror ? 360 - def.m_nAngle - def.m_nAngleStep * (i + 1) : grown;
    a = Spread(def, a);
    sp.nDistance = SaturateToInt(static_cast<int64_t>(sp.nDistance) + def.m_nRangeStep);
    sp.nLife = SaturateToInt(static_cast<int64_t>(sp.nLife) + def.m_nLifeStep);
  }
}

void SummonCharas(cCharaBase& owner, cCommandInstance& cmd, cEdShot& def) {
  const cVector<cEdChara>& palette = def.m_nSummonPalette ? Stage.m_vPaletteChara : CommonPalette.m_vPaletteChara;
  const cEdChara* chara = SummonEntry(palette, def);
  if (!chara || chara->m_nOperator != 1) return;
  Summon(owner, cmd, def, Scaled32(chara->m_nScale), false);
}

void SummonItems(cCharaBase& owner, cCommandInstance& cmd, cEdShot& def) {
  const cVector<cEdItem>& palette = def.m_nSummonPalette ? Stage.m_vPaletteItem : CommonPalette.m_vPaletteItem;
  const cEdItem* item = SummonEntry(palette, def);
  if (!item) return;
  Summon(owner, cmd, def, Scaled32(item->m_nScale), false);
}

void SummonBlocks(cCharaBase& owner, cCommandInstance& cmd, cEdShot& def) {
  const cVector<cEdBlock>& palette = def.m_nSummonPalette ? Stage.m_vPaletteBlock : CommonPalette.m_vPaletteBlock;
  if (!SummonEntry(palette, def)) return;
  Summon(owner, cmd, def, 32, true);
}

int AimAngle(int x, int y, cCharaBase& owner, cEdShot& def, SHOTSPAWN& sp) {
  const cCharaBase* target = owner.Target();
  if (!target) return FacesRight(owner) ? 180 : 0;
  const cSceneStageData& stage = StageData();
  const int64_t sxi = ToIntChecked(stage.m_ScrollX.m_dPos), syi = ToIntChecked(stage.m_ScrollY.m_dPos);
  const bool still = stage.m_ScrollX.MoveSpeed() == 0 && stage.m_ScrollY.MoveSpeed() == 0;
  if (still || def.m_bAimDirect || !target->m_bScrollSync) {
    const int64_t dx = sxi + (target->m_nGfxWidth >> 1) + target->m_rcScreen.nLeft - x;
    const int64_t dy = syi + (target->m_nGfxHeight >> 1) + target->m_rcScreen.nTop - y;
    return ToIntChecked(std::atan2(static_cast<double>(dy), static_cast<double>(dx)) * kAimDegrees + 180 + 0.5);
  }
  // The view carries the target along: aim where a shot at its speed meets it.
  cShot trial;
  trial.Init(0, owner, SHOTMAKER_SHOT, def, sp);
  const double S = Stage.m_dSteps;
  const double v = ((def.m_nSpeed + trial.m_sCloneNo * def.m_nSpeedStep) * 0.1) / S;
  double vx = 0, vy = 0;
  int hint = 0;
  trial.VelocityToward(vx, vy, hint, target, static_cast<double>(x - sxi), static_cast<double>(y - syi),
                       target->CentreX(), target->CentreY(), v, 0, 1, 0);
  trial.m_nTargetId = OBJECT_NONE;  // it never registered with the target
  sp.dSpeed = std::sqrt(vx * vx + vy * vy) * S;
  return ToIntChecked(std::atan2(vy, vx) * kAimDegrees + 180);
}

void SpawnOne(cList<cShot>* list, const SHOTSPAWN& sp, cCharaBase& owner, cCommandInstance& cmd, cEdShot& def) {
  cSceneStageData& stage = StageData();
  const bool reverse = def.m_bSummonReverse != 0;
  switch (CommandType(cmd)) {
    case ACTCMDTYPE_SHOT: {
      if (!list) return;
      cShot built;
      built.Init(stage.m_nShotSerial, owner, SHOTMAKER_SHOT, def, sp);
      cShot& added = stage.AddShot(built);
      stage.m_nShotSerial = stage.m_nShotSerial == INT_MAX ? 0 : stage.m_nShotSerial + 1;
      const int path = def.m_nPath;
      cCharaBase* target = path == SHOTPATH_AIM_TARGET || path == SHOTPATH_HOME_TARGET
                               ? FindCharaById(added.m_nTargetId)
                               : nullptr;
      if (!target) {
        added.m_nTargetId = OBJECT_NONE;
      } else {
        bool listed = false;
        for (int32_t id : target->m_vShots) listed = listed || id == added.m_nId;
        if (!listed) target->m_vShots.push_back(added.m_nId);
      }
      break;
    }
    case ACTCMDTYPE_SUMMON_BLOCK: {
      const cVector<cEdBlock>& palette =
          def.m_nSummonPalette ? Stage.m_vPaletteBlock : CommonPalette.m_vPaletteBlock;
      stage.PutBlock(sp.nX, sp.nY, owner.m_nDirection, def, palette.At(def.m_nSummonIndex));
      break;
    }
    case ACTCMDTYPE_SUMMON_CHARA: {
      const cVector<cEdChara>& palette =
          def.m_nSummonPalette ? Stage.m_vPaletteChara : CommonPalette.m_vPaletteChara;
      const cEdChara& chara = palette.At(def.m_nSummonIndex);
      const int facing = reverse ? (owner.m_nDirection == 1 ? 0 : 1) : owner.m_nDirection;
      // Any other source than the three takes the definition's own group.
      int group = chara.m_nFaction;
      if (def.m_nSummonSide == 1)
        group = owner.m_Def.m_nFaction;
      else if (def.m_nSummonSide == 2)
        group = def.m_nSide;
      stage.SpawnChara(CharaList, sp.nX, sp.nY, group, facing, owner.m_nDirection, def, chara, stage.m_nCharaSerial);
      break;
    }
    case ACTCMDTYPE_SUMMON_ITEM: {
      const cVector<cEdItem>& palette = def.m_nSummonPalette ? Stage.m_vPaletteItem : CommonPalette.m_vPaletteItem;
      stage.SpawnItem(ItemList, sp.nX, sp.nY, owner.m_nDirection, def, palette.At(def.m_nSummonIndex),
                      stage.m_nItemSerial);
      break;
    }
    default:
      break;
  }
}
