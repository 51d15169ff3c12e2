#pragma once
// One item: something the hero takes by touching it, which then runs its
// item commands all at once. The same record is an entry of a palette
// (common or stage), an item placed on a stage, the drop item a placed
// character carries, the item a block applies, and the definition every
// live item embeds. A placed item takes from the palette entry it names
// every property group whose inherit flag is set, once, when it is read.
#include <cstdint>
#include <string>

#include "records/command.h"
#include "records/condition.h"
#include "records/record.h"

// The property groups of an item, in flag order.
enum ITEMGROUP {
  ITEMGROUP_NAME,
  ITEMGROUP_CONDITIONS,  // the list with its mode and once flag
  ITEMGROUP_SPARE_A,
  ITEMGROUP_SPARE_B,
  ITEMGROUP_GRAPHIC,  // kind, number, frame
  ITEMGROUP_SPARE_C,
  ITEMGROUP_TRANSPARENT,
  ITEMGROUP_ICON,  // shown flag and number
  ITEMGROUP_SCALE,
  ITEMGROUP_PICKUP_MODE,
  ITEMGROUP_PICKUP_POPUP,
  ITEMGROUP_PICKUP_SOUND,
  ITEMGROUP_COMMANDS,
  ITEMGROUP_COUNT,  // 13
};

// How often the hero can take an item.
enum PICKUPMODE { PICKUPMODE_ONCE, PICKUPMODE_ALWAYS, PICKUPMODE_NEVER };

class cEdItem : public cRecord {
 public:
  int16_t m_nX = 0;  // cell of a placed item
  int16_t m_nY = 0;
  cVector<uint8_t> m_vInherit;           // ITEMGROUP flags; not 0 = taken from the entry
  cVector<cEdCondition> m_vConditions;  // appearance conditions
  cVector<cEdCommand> m_vCommands;      // item commands, run when the hero takes it

  // Registered members, in file order.
  int8_t m_nPaletteKind = 0;    // PALETTEKIND of the entry named
  int16_t m_nPaletteIndex = 0;  // in that palette's item list; 0 names nothing
  std::string m_strName;
  int8_t m_nCondMode = 0;  // CONDMODE
  int8_t m_bCondOnce = 0;  // once held, the conditions count as holding
  int16_t m_nSpareA = 0;   // carried and inherited; no rule reads the spares
  int16_t m_nSpareB = 0;
  int16_t m_nGraphic = 0;
  int8_t m_nGraphicKind = 2;    // GRAPHICKIND
  int16_t m_nGraphicFrame = 0;  // cell shown of a graphic with several
  int8_t m_nSpareC = 6;
  int8_t m_bTransparent = 0;  // not drawn
  int8_t m_bShowIcon = 0;
  int16_t m_nIcon = 0;        // 0..119: icon sheet column n / 15, row n % 15
  int8_t m_bPickupPopup = 1;  // a pop-up of its graphic follows the hero for 30 frames (stored before the mode)
  int8_t m_nPickupMode = 0;   // PICKUPMODE
  int8_t m_nScale = 1;        // 1..10
  int16_t m_nPickupSound = 0;  // Sound table index; 0 none

  cEdItem();
  // The class defaults: registered members cleared and set as above, 13 zero
  // inherit flags. Position, conditions and commands stay.
  void Reset();
  void RegisterFields(int version) override;
  // The record segment, position, inherit flags, conditions and commands;
  // the shot sheet upgrade of older files; inheritance, then Validate.
  void Load(cDataReader& r) override;
  // Validate, then the layout that Load reads.
  void Save(cDataWriter& w) override;

  // Fits the palette reference and the pick-up sound, raises a scale below 1
  // to 1, normalises every command.
  void Validate();
  // Fits the palette references of every command; called by the palette
  // normalisations after the palettes are complete.
  void NormaliseCommands();
  // Copies the groups flagged in m_vInherit from the palette entry named.
  // Load calls it; a reference that does not resolve is dropped.
  void ApplyInheritance();
  // Copies one group (ITEMGROUP) from `source`; nothing for another number.
  void InheritGroup(int group, const cEdItem& source);
};

// Item `index` of the common palette (kind 1) or the running stage's
// palette (kind 2); nullptr for another kind or an index the list does not
// hold. Stage play looks up the item of a block or of a hit so.
const cEdItem* GetItemPaletteEntry(int8_t kind, int16_t index);
