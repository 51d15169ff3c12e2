#pragma once
// The parameters of the commands that create objects: the shot, the sword
// and the block, character and item summons. A command holds at most one,
// through a shared pointer that no other command shares; every live shot and
// sword keeps its own copy. One firing makes m_nClones + 1 volleys, and
// volley i uses i as the clone number of every per-clone field.
#include <cstdint>
#include <memory>

#include "records/record.h"
#include "records/shot_tables.h"

class cEdShot : public cRecord {
 public:
  int8_t m_nCount = 0;  // objects per volley
  int8_t m_nForm = 0;   // SHOTFORM
  int16_t m_nFormParam[SHOTKIND_PARAMS] = {0, 0, 0};
  int8_t m_nFormCentre = 0;  // lightning and surround: 0 the target, 1 the hero, 2 the user
  int8_t m_nDirCode = 0;     // DIRCODE
  int8_t m_bAim = 0;         // aim at the target instead of the direction
  int16_t m_nAngle = 0;      // degrees
  int16_t m_nAngleStep = 0;
  int8_t m_bAngleMirror = 1;  // facing right takes 360 - angle
  int16_t m_nSpread = 0;      // random -spread..+spread degrees
  int8_t m_nFormVariant = 0;
  int8_t m_nClones = 0;  // volleys per firing minus one
  int16_t m_nOffsetX = 0;  // dots
  int16_t m_nOffsetXStep = 0;
  int16_t m_nOffsetY = 0;
  int16_t m_nOffsetYStep = 0;
  int8_t m_bMirrorOffsetX = 1;
  int8_t m_bMirrorOffsetY = 0;
  int16_t m_nGraphic = 0;  // cell of the shot sheet
  int8_t m_nZ = 0;         // 0..7
  int8_t m_bTransparent = 0;
  int8_t m_bUserSide = 1;  // 0: the side is m_nSide
  int8_t m_nSide = 0;      // 0..7
  int8_t m_nSpareA = 0;
  int8_t m_nScale = 1;  // at least 1; a shot's box is 16 × scale dots
  int8_t m_nSpareB = 0;
  int8_t m_nPath = 0;  // shots: SHOTPATH; swords: the sword type
  int16_t m_nPathParam[SHOTKIND_PARAMS] = {0, 0, 0};
  int8_t m_bAimDirect = 0;
  int16_t m_nSpeed = 0;  // tenths
  int16_t m_nSpeedStep = 0;
  int8_t m_bAccel = 0;
  int16_t m_nAccel = 0;  // tenths
  int16_t m_nAccelStep = 0;
  int8_t m_bRangeLimit = 0;  // summoned characters and items: their life is limited
  int16_t m_nRange = 0;  // half blocks; summoned characters and items: their life in tenths of a second
  int16_t m_nRangeStep = 0;
  int8_t m_bStraightAtRangeEnd = 0;
  int8_t m_bLifeLimit = 0;
  int16_t m_nLife = 0;  // tenths of a second
  int16_t m_nLifeStep = 0;
  int8_t m_bPassBlocks = 0;
  int8_t m_bPierce = 0;
  int8_t m_bPierceBlockChara = 0;
  int8_t m_bClash = 0;
  int8_t m_nVanish = 0;  // 1..9: of two clashing shots the lower vanishes, both when equal
  int32_t m_nPower = 0;
  int16_t m_nSpareC = 0;
  int8_t m_nImpact = 0;      // -20..20
  int16_t m_nHitEffect = 0;  // Effect table index, 0 none
  int8_t m_nItemKind = 0;    // item that works on a hit: 0 none, 1 common palette, 2 stage palette
  int16_t m_nItemIndex = 0;
  int8_t m_nSummonMode = 0;     // blocks: 0 put, 1 erase, 2 put where empty and erase elsewhere
  int8_t m_nSummonPalette = 0;  // 0 common, 1 stage
  int16_t m_nSummonIndex = 0;
  int8_t m_nSummonSide = 0;  // 0 the definition's, 1 the user's, 2 m_nSide
  int8_t m_bSummonOffHero = 0;   // a summoned block overlapping the hero is taken back
  int8_t m_bSummonOffChara = 0;  // the same for other characters
  int8_t m_nSpareD = 0;  // character summons: not 0 when its characters give no score
  int8_t m_bSummonReverse = 0;

  // The defaults of a new shot record.
  cEdShot();
  void RegisterFields(int version) override;
  // The record segment, the upgrades of older files, then Validate.
  void Load(cDataReader& r) override;
  // Validate, then the record segment.
  void Save(cDataWriter& w) override;

  // Scale at least 1; a hit effect outside the Effect table becomes 0.
  void Validate();

  // Launch offset of clone number n in dots, negated when facing is 1
  // (right) and the axis mirrors. Called by the shot and summon executors.
  double GetOffsetX(int n, int facing) const;
  double GetOffsetY(int n, int facing) const;
};

// Puts a new shot record with the defaults into the holder.
void CreateEdShot(std::shared_ptr<cEdShot>& holder);
