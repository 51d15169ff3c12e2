#include "records/stage.h"

#include "base/checked_convert.h"
#include "records/database.h"

namespace {

// Lowers v to bound when it is above it; the bound comes from a size that
// may be anything, so it is formed in 64 bits.
void LowerTo(int32_t& v, int64_t bound) {
  if (v > bound) v = SaturateToInt(bound);
}

}  // namespace

// One descriptor per member, in file order. Versions 155, 166, 183, 184,
// 199, 200 and 225 added members; Upgrade gives older files their values.
void cEdStage::RegisterFields(int version) {
  ClearFields();
  AddString(&m_strName);
  AddDword(&m_nWidth);
  AddDword(&m_nAux1);
  AddDword(&m_nAux2);
  AddDword(&m_nHeight);
  AddDword(&m_bScrollLimitLeft);
  AddDword(&m_bScrollLimitRight);
  AddDword(&m_bScrollLimitTop);
  AddDword(&m_bScrollLimitBottom);
  AddDword(&m_nScrollLimitLeft);
  AddDword(&m_nScrollLimitRight);
  AddDword(&m_nScrollLimitTop);
  AddDword(&m_nScrollLimitBottom);
  AddDword(&m_nFps);
  AddDword(&m_bTimeLimit);
  AddDword(&m_nTimeLimit);
  AddDword(&m_nTimeWarning);
  AddDword(&m_bAutoScrollX);
  AddDword(&m_bAutoScrollY);
  AddDword(&m_nAutoScrollSpeedX);
  AddDword(&m_nAutoScrollSpeedY);
  AddQword(&m_dGravity);
  AddDword(&m_nSpeedLevel);
  AddDword(&m_nHitChecks);
  AddDword(&m_nBgm);
  if (version >= 166) AddDword(&m_bBgmLoop);
  if (version >= 199) AddDword(&m_bBgmKeep);
  AddDword(&m_bDrawDepth);
  AddDword(&m_bTakeHeroStatus);
  AddDword(&m_bKeepHeroStatus);
  if (version >= 183) AddDword(&m_bShowHud);
  if (version >= 184) AddDword(&m_bQuickClear);
  AddDword(&m_bStartBanner);
  if (version >= 225) AddDword(&m_bStartBanner2);
  AddDword(&m_bClearBanner);
  AddDword(&m_bGameOverBanner);
  if (version >= 200) {
    AddDword(&m_nHeroHitW);
    AddDword(&m_nHeroHitH);
    AddDword(&m_nHeroHitFlyW);
    AddDword(&m_nHeroHitFlyH);
  }
  AddDword(&m_nHeroContactW);
  AddDword(&m_nHeroContactH);
  if (version >= 155) {
    AddDword(&m_nHeroContactFlyW);
    AddDword(&m_nHeroContactFlyH);
  }
  AddDword(&m_nHeroShotContactW);
  AddDword(&m_nHeroShotContactH);
  AddDword(&m_nHeroPickupW);
  AddDword(&m_nHeroPickupH);
  if (version >= 200) {
    AddDword(&m_bHeroHitBottom);
    AddDword(&m_bHeroHitFlyBottom);
  }
  if (version >= 155) {
    AddDword(&m_bHeroContactBottom);
    AddDword(&m_bHeroContactFlyBottom);
  }
  if (version >= 200) AddDword(&m_nShowHitBox);
  AddDword(&m_nShowContactBox);
  AddDword(&m_nShowShotBox);
  AddDword(&m_nShowPickupBox);
  if (version >= 200) AddDword(&m_nHitBoxColor);
  AddDword(&m_nContactBoxColor);
  AddDword(&m_nShotBoxColor);
  AddDword(&m_nPickupBoxColor);
  if (version >= 200) {
    AddDword(&m_nCharaHitW);
    AddDword(&m_nCharaHitH);
    AddDword(&m_nCharaHitFlyW);
    AddDword(&m_nCharaHitFlyH);
  }
  AddDword(&m_nCharaContactW);
  AddDword(&m_nCharaContactH);
  if (version >= 155) {
    AddDword(&m_nCharaContactFlyW);
    AddDword(&m_nCharaContactFlyH);
  }
  AddDword(&m_nCharaShotContactW);
  AddDword(&m_nCharaShotContactH);
  if (version >= 200) {
    AddDword(&m_bCharaHitBottom);
    AddDword(&m_bCharaHitFlyBottom);
  }
  if (version >= 155) {
    AddDword(&m_bCharaContactBottom);
    AddDword(&m_bCharaContactFlyBottom);
  }
  AddDword(&m_nItemBoxW);
  AddDword(&m_nItemBoxH);
  AddDword(&m_nHeroShotBoxW);
  AddDword(&m_nHeroShotBoxH);
  AddDword(&m_nAux3);
  AddDword(&m_nAux4);
  AddDword(&m_nCharaShotBoxW);
  AddDword(&m_nCharaShotBoxH);
  AddDword(&m_nAux5);
  AddDword(&m_nAux6);
  AddDword(&m_nAux7);
  AddDword(&m_nWidthDots);
  AddDword(&m_nHeightDots);
  AddDword(&m_nStepsPerFrame);
  AddQword(&m_dSteps);
  AddQword(&m_dStepsSquared);
  AddQword(&m_dMaxSpeed);
  AddQword(&m_dGravityPerStep);
  AddQword(&m_dMaxSpeedPerStep);
  AddDword(&m_nAirborneSteps);
  AddDword(&m_bHitOnScreen);
  AddDword(&m_nHeroGuardTime);
  AddDword(&m_nHeroInvincibleTime);
  AddDword(&m_nCharaGuardTime);
  AddDword(&m_nCharaInvincibleTime);
}

void cEdStage::Reset() {
  Clear();
  m_nTimeLimit = 200;
  m_bTimeLimit = 0;
  m_nTimeWarning = 20;
  m_dGravity = 0.4;
  m_nFps = 60;
  m_nSpeedLevel = 10;
  m_nHitChecks = 0;
  m_bDrawDepth = 1;
  m_bHitOnScreen = 1;
  m_bShowHud = 1;
  m_bQuickClear = 0;
  m_bStartBanner = 0;
  m_bStartBanner2 = 1;
  m_bClearBanner = 1;
  m_bGameOverBanner = 1;
  m_nHeroInvincibleTime = 0;
  m_nHeroGuardTime = 30;
  m_nCharaInvincibleTime = 0;
  m_nCharaGuardTime = 30;
  m_vPlacedBlock.clear();
  m_vPlacedChara.clear();
  m_vPlacedItem.clear();
  ResetRecordVector(m_vPaletteBlock, 1);
  ResetRecordVector(m_vPaletteChara, 1);
  ResetRecordVector(m_vPaletteItem, 1);
  ResetRecordVector(m_vBackground, 1);
  m_vBackground[0].m_bFillColor = 1;
  m_vRanked.assign(STAGE_RANKED_COUNT, 1);
  ResetRules();
  ResetBoxSizes();
  m_nAux7 = 1;
}

// Characters, block characters and items stay however far they go; shots
// go past every side, those of computer-operated characters 10 cells out.
void cEdStage::ResetRules() {
  m_RuleChara.Set(0, 0, 0, 0, 0, 0, 0, 0);
  m_RuleBlockChara.Set(0, 0, 0, 0, 0, 0, 0, 0);
  m_RuleItem.Set(0, 0, 0, 0, 0, 0, 0, 0);
  m_RuleHeroShot.Set(1, 1, 1, 1, 0, 0, 0, 0);
  m_RuleCharaShot.Set(1, 1, 1, 1, 10, 10, 10, 10);
}

void cEdStage::ResetBoxSizes() {
  m_nHeroHitW = 16;
  m_nHeroHitH = 24;
  m_nHeroHitFlyW = 16;
  m_nHeroHitFlyH = 16;
  m_nHeroContactW = 16;
  m_nHeroContactH = 24;
  m_nHeroContactFlyW = 16;
  m_nHeroContactFlyH = 16;
  m_nHeroShotContactW = 12;
  m_nHeroShotContactH = 8;
  m_nHeroPickupW = 16;
  m_nHeroPickupH = 16;
  m_bHeroHitBottom = 1;
  m_bHeroHitFlyBottom = 0;
  m_bHeroContactBottom = 1;
  m_bHeroContactFlyBottom = 0;
  m_nCharaHitW = 16;
  m_nCharaHitH = 24;
  m_nCharaHitFlyW = 16;
  m_nCharaHitFlyH = 16;
  m_nCharaContactW = 12;
  m_nCharaContactH = 24;
  m_nCharaContactFlyW = 12;
  m_nCharaContactFlyH = 16;
  m_nCharaShotContactW = 30;
  m_nCharaShotContactH = 30;
  m_bCharaHitBottom = 1;
  m_bCharaHitFlyBottom = 0;
  m_bCharaContactBottom = 1;
  m_bCharaContactFlyBottom = 0;
  m_nItemBoxW = 28;
  m_nItemBoxH = 28;
  for (int32_t* p : {&m_nHeroShotBoxW, &m_nHeroShotBoxH, &m_nAux3, &m_nAux4, &m_nCharaShotBoxW,
                     &m_nCharaShotBoxH, &m_nAux5, &m_nAux6})
    *p = 16;
}

void cEdStage::Normalise() {
  cStagePaletteScope scope(this);
  // A view 20 cells wide and 15 high must fit within the limits.
  LowerTo(m_nScrollLimitLeft, static_cast<int64_t>(m_nWidth) - 20);
  LowerTo(m_nScrollLimitRight, static_cast<int64_t>(m_nWidth) - 1);
  LowerTo(m_nScrollLimitTop, static_cast<int64_t>(m_nHeight) - 15);
  LowerTo(m_nScrollLimitBottom, static_cast<int64_t>(m_nHeight) - 1);
  SetSpeedLevel(m_nSpeedLevel);
  if (static_cast<uint32_t>(m_nBgm) >= Database.m_vBgm.size()) m_nBgm = 0;
  NormaliseDefinitions();
}

// Levels outside 1..19 would divide by zero or run no step at all; they are
// brought to the nearest level.
void cEdStage::SetSpeedLevel(int level) {
  if (level < STAGE_MIN_SPEED_LEVEL) level = STAGE_MIN_SPEED_LEVEL;
  if (level > STAGE_MAX_SPEED_LEVEL) level = STAGE_MAX_SPEED_LEVEL;
  m_nSpeedLevel = level;
  const bool longSteps = level >= 11;
  const int b = longSteps ? level - 10 : level;
  m_nStepsPerFrame = b;
  m_dSteps = b;
  m_nStepsPerTenth = 6 * b;
  m_dStepsSquared = b * b;
  m_dMaxSpeed = longSteps ? 60 : 6 * b;
  m_nAirborneSteps = 8 * b;
  m_dMaxSpeedPerStep = m_dMaxSpeed / b;
  m_dGravityPerStep = m_dGravity / (b * b);
}

void cEdStage::CopySettingsFrom(cEdStage& source) {
  if (this == &source) return;
  CopyFrom(source);
  m_vBackground = source.m_vBackground;
  m_vText = source.m_vText;
  m_RuleChara = source.m_RuleChara;
  m_RuleBlockChara = source.m_RuleBlockChara;
  m_RuleItem = source.m_RuleItem;
  m_RuleHeroShot = source.m_RuleHeroShot;
  m_RuleCharaShot = source.m_RuleCharaShot;
  m_vRanked = source.m_vRanked;
}
