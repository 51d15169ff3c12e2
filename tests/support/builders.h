#pragma once
// Definitions and stage settings for play tests, as small fluent builders:
//
//   cEdChara walker = CharaDef().Hp(20).Group(2);
//   cEdChara bat = CharaDef().Fly(FLYMODE_STOPPED).Impact(5);
//   StageSettings().Speed(3).Gravity(0.5).AutoScrollX(10);
//
// A builder starts from the class defaults of a new record, with the changes
// its constructor names; each setter names the field it sets.
#include <cstdint>

#include "records/block.h"
#include "records/chara.h"
#include "records/item.h"

namespace testsupport {

// A computer-operated walker of group 1 on character sheet 1, 10 HP, no
// animation set beyond entry 0.
class CharaDef {
 public:
  CharaDef();
  CharaDef& PlayerOperated() { m_def.m_nOperator = 0; return *this; }
  CharaDef& Computer() { m_def.m_nOperator = 1; return *this; }
  CharaDef& Fly(int flyMode) { m_def.m_nFlyMode = static_cast<int8_t>(flyMode); return *this; }
  CharaDef& Group(int group) { m_def.m_nFaction = static_cast<int8_t>(group); return *this; }
  CharaDef& CharaId(int id) { m_def.m_nCharaId = static_cast<int8_t>(id); return *this; }
  CharaDef& Hp(int maxHp) { m_def.m_nMaxHp = maxHp; return *this; }
  CharaDef& Sp(int maxSp) { m_def.m_nMaxSp = maxSp; return *this; }
  CharaDef& Invincible(int setting) { m_def.m_bInvincible = static_cast<int8_t>(setting); return *this; }
  CharaDef& BlockChara() { m_def.m_bBlockChara = 1; return *this; }
  CharaDef& Scale(int scale) { m_def.m_nScale = static_cast<int8_t>(scale); return *this; }
  CharaDef& Facing(int direction) { m_def.m_nDirection = static_cast<int8_t>(direction); return *this; }
  CharaDef& Impact(int imp) { m_def.m_nImpact = static_cast<int8_t>(imp); return *this; }
  CharaDef& ImpactResist(int impd) { m_def.m_nImpactResist = static_cast<int8_t>(impd); return *this; }
  CharaDef& Stop(int stop) { m_def.m_nStop = static_cast<int16_t>(stop); return *this; }
  CharaDef& Sight(int hbl) { m_def.m_nSight = static_cast<int8_t>(hbl); return *this; }
  CharaDef& ScrollSync() { m_def.m_bScrollSync = 1; return *this; }
  CharaDef& AnimeSet(int n) { m_def.m_nAnimeSet = static_cast<int16_t>(n); return *this; }
  CharaDef& StartEffect(int n, int mode, int loop) {
    m_def.m_nStartEffect = static_cast<int16_t>(n);
    m_def.m_nStartEffectMode = static_cast<int8_t>(mode);
    m_def.m_bStartEffectLoop = static_cast<int8_t>(loop);
    return *this;
  }
  // Appends a flow (flow_builders.h makes them).
  CharaDef& Flow(const cEdFlow& flow) { m_def.m_vFlows.push_back(flow); return *this; }
  cEdChara& Def() { return m_def; }
  operator const cEdChara&() const { return m_def; }

 private:
  cEdChara m_def;
};

// A block as a map cell holds it: a solid block with graphic 1 unless said
// otherwise. Empty() is the cell the map is made of.
class BlockDef {
 public:
  BlockDef();
  static cEdBlock Empty();
  BlockDef& Hit(int hit) { m_def.m_nHit = static_cast<int8_t>(hit); return *this; }
  BlockDef& PassGroup(int group) { m_def.m_nPassFaction = static_cast<int8_t>(group); return *this; }
  BlockDef& Effect(int kind, int value) {
    m_def.m_nEffect = static_cast<int8_t>(kind);
    m_def.m_nEffectValue = value;
    return *this;
  }
  cEdBlock& Def() { return m_def; }
  operator const cEdBlock&() const { return m_def; }

 private:
  cEdBlock m_def;
};

// The running stage's settings beyond the speed level and gravity that
// GameWorld takes; applied to Stage at once. Call before the map is built.
class StageSettings {
 public:
  StageSettings& Speed(int level);
  StageSettings& Gravity(double gravity);
  StageSettings& AutoScrollX(int tenthsPerFrame);
  StageSettings& AutoScrollY(int tenthsPerFrame);
  // Scroll limits in map cells; a side not named stays at the map's edge.
  StageSettings& LimitLeft(int cell);
  StageSettings& LimitRight(int cell);
  StageSettings& LimitTop(int cell);
  StageSettings& LimitBottom(int cell);
  StageSettings& CharaHitBox(int w, int h, int bBottom);
  StageSettings& AimOnScreenOnly(int on);
};

}  // namespace testsupport
