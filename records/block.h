#pragma once
// One block: a 32 × 32 map cell with a picture, a collision rule, an effect
// on the hero standing on it and an optional item. The same record is an
// entry of a palette (common or stage), a block placed on a stage, and the
// content of a live map cell. A placed block takes from the palette entry it
// names every property group whose inherit flag is set; that happens once,
// when the record is read, and from then on it holds the values itself.
#include <cstdint>
#include <string>

#include "records/condition.h"
#include "records/record.h"

// The property groups of a block, in flag order.
enum BLOCKGROUP {
  BLOCKGROUP_NAME,
  BLOCKGROUP_CONDITIONS,  // the list with its mode and once flag
  BLOCKGROUP_GRAPHIC,     // kind, number, frame
  BLOCKGROUP_LAYER,
  BLOCKGROUP_TRANSPARENT,
  BLOCKGROUP_ICON,  // shown flag and number
  BLOCKGROUP_HIT,
  BLOCKGROUP_PASS_FACTION,
  BLOCKGROUP_EFFECT,  // effect and its value
  BLOCKGROUP_ITEM,    // item kind and index
  BLOCKGROUP_PROTECTED,
  BLOCKGROUP_COUNT,  // 11
};

// Collision of a block.
enum BLOCKHIT { BLOCKHIT_NONE, BLOCKHIT_SOLID, BLOCKHIT_DEADLY };

// The effect on a hero standing on the block; X is m_nEffectValue.
enum BLOCKEFFECT {
  BLOCKEFFECT_NONE,
  BLOCKEFFECT_JUMP,        // a jump of X half blocks
  BLOCKEFFECT_NO_JUMP,
  BLOCKEFFECT_SPEED,       // moving speed X percent
  BLOCKEFFECT_PUSH_LEFT,   // at speed X
  BLOCKEFFECT_PUSH_RIGHT,  // at speed X
};

class cEdBlock : public cRecord {
 public:
  int16_t m_nX = 0;  // cell of a placed block (column, row)
  int16_t m_nY = 0;
  cVector<uint8_t> m_vInherit;           // BLOCKGROUP flags; not 0 = taken from the entry
  cVector<cEdCondition> m_vConditions;  // under which the block is present

  int8_t m_nPaletteKind = 0;    // PALETTEKIND of the entry named
  int16_t m_nPaletteIndex = 0;  // in that palette's block list; 0 names nothing
  std::string m_strName;
  int8_t m_nCondMode = 0;  // CONDMODE
  int8_t m_bCondOnce = 0;  // once held, the cell counts the conditions as held
  int16_t m_nGraphic = 0;  // 0: the cell holds no block
  int8_t m_nGraphicKind = 0;   // GRAPHICKIND
  int16_t m_nGraphicFrame = 0;  // a character sheet: 0..19 from its first facing sheet, 20..39 from the second
  int8_t m_nLayer = 0;         // 0 behind the characters, 1 in front
  int8_t m_bTransparent = 0;   // not drawn; it still collides
  int8_t m_bShowIcon = 0;
  int16_t m_nIcon = 0;  // 0..119: icon sheet column n / 15, row n % 15
  int8_t m_nHit = BLOCKHIT_SOLID;  // BLOCKHIT
  int8_t m_nPassFaction = -1;      // the side whose objects pass through, 0..7; -1 none
  int8_t m_nEffect = 0;            // BLOCKEFFECT
  int32_t m_nEffectValue = 0;
  int8_t m_nItemKind = 0;    // PALETTEKIND of the item applied to a hero on the block
  int16_t m_nItemIndex = 0;  // in that palette's item list
  int8_t m_bProtected = 0;   // block summons neither replace nor erase it

  cEdBlock();
  // The class defaults on an existing record: registered members cleared,
  // solid, passed by no side, 11 zero inherit flags. Position and
  // conditions stay.
  void Reset();
  void RegisterFields(int version) override;
  // The record segment, position, inherit flags, conditions; the shot sheet
  // upgrade of older files; inheritance, then Validate.
  void Load(cDataReader& r) override;
  // Validate, then the layout that Load reads.
  void Save(cDataWriter& w) override;

  // Drops a palette reference that the palette does not hold; a cell
  // without a block neither collides nor is protected.
  void Validate();
  // Drops an item reference that the item palette does not hold. Called by
  // the palette normalisations once their item lists are complete.
  void ValidateItemRef();
  // Copies the groups flagged in m_vInherit from the palette entry named.
  // Load calls it; a reference that does not resolve is dropped.
  void ApplyInheritance();
  // Copies one group (BLOCKGROUP) from `source`; nothing for another number.
  void InheritGroup(int group, const cEdBlock& source);
};
