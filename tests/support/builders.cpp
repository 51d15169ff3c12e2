#include "support/builders.h"

#include "records/stage.h"

namespace testsupport {

CharaDef::CharaDef() {
  m_def.m_nOperator = 1;
  m_def.m_nFaction = 1;
  m_def.m_nGraphic = 1;
  m_def.m_nMaxHp = 10;
  m_def.m_nAnimeSet = 0;
}

BlockDef::BlockDef() {
  m_def.m_nGraphic = 1;
  m_def.m_nHit = BLOCKHIT_SOLID;
}

cEdBlock BlockDef::Empty() {
  cEdBlock empty;
  empty.m_nGraphic = 0;
  empty.m_nHit = BLOCKHIT_NONE;
  return empty;
}

StageSettings& StageSettings::Speed(int level) {
  Stage.SetSpeedLevel(level);
  return *this;
}

StageSettings& StageSettings::Gravity(double gravity) {
  Stage.m_dGravity = gravity;
  Stage.SetSpeedLevel(Stage.m_nSpeedLevel);
  return *this;
}

StageSettings& StageSettings::AutoScrollX(int tenthsPerFrame) {
  Stage.m_bAutoScrollX = 1;
  Stage.m_nAutoScrollSpeedX = tenthsPerFrame;
  return *this;
}

StageSettings& StageSettings::AutoScrollY(int tenthsPerFrame) {
  Stage.m_bAutoScrollY = 1;
  Stage.m_nAutoScrollSpeedY = tenthsPerFrame;
  return *this;
}

StageSettings& StageSettings::LimitLeft(int cell) {
  Stage.m_bScrollLimitLeft = 1;
  Stage.m_nScrollLimitLeft = cell;
  return *this;
}

StageSettings& StageSettings::LimitRight(int cell) {
  Stage.m_bScrollLimitRight = 1;
  Stage.m_nScrollLimitRight = cell;
  return *this;
}

StageSettings& StageSettings::LimitTop(int cell) {
  Stage.m_bScrollLimitTop = 1;
  Stage.m_nScrollLimitTop = cell;
  return *this;
}

StageSettings& StageSettings::LimitBottom(int cell) {
  Stage.m_bScrollLimitBottom = 1;
  Stage.m_nScrollLimitBottom = cell;
  return *this;
}

StageSettings& StageSettings::CharaHitBox(int w, int h, int bBottom) {
  Stage.m_nCharaHitW = w;
  Stage.m_nCharaHitH = h;
  Stage.m_bCharaHitBottom = bBottom;
  return *this;
}

StageSettings& StageSettings::AimOnScreenOnly(int on) {
  Stage.m_bHitOnScreen = on;
  return *this;
}

}  // namespace testsupport
