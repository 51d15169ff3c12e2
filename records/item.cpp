#include "records/item.h"

#include <cstdint>

#include "records/database.h"
#include "records/palette_ref.h"

cEdItem::cEdItem() { Reset(); }

void cEdItem::Reset() {
  Clear();
  m_vInherit.assign(ITEMGROUP_COUNT, 0);
  m_nGraphicKind = GRAPHICKIND_ITEM;
  m_nGraphic = 0;
  m_bPickupPopup = 1;
  m_nScale = 1;
  m_nSpareC = 6;
}

// Every version stores all seventeen; the pop-up flag comes before the mode.
void cEdItem::RegisterFields(int) {
  ClearFields();
  AddByte(&m_nPaletteKind);
  AddWord(&m_nPaletteIndex);
  AddString(&m_strName);
  AddByte(&m_nCondMode);
  AddByte(&m_bCondOnce);
  AddWord(&m_nSpareA);
  AddWord(&m_nSpareB);
  AddWord(&m_nGraphic);
  AddByte(&m_nGraphicKind);
  AddWord(&m_nGraphicFrame);
  AddByte(&m_nSpareC);
  AddByte(&m_bTransparent);
  AddByte(&m_bShowIcon);
  AddWord(&m_nIcon);
  AddByte(&m_bPickupPopup);
  AddByte(&m_nPickupMode);
  AddByte(&m_nScale);
  AddWord(&m_nPickupSound);
}

void cEdItem::Load(cDataReader& r) {
  cRecord::Load(r);
  m_nX = r.ReadI16();
  m_nY = r.ReadI16();
  ReadInheritFlags(r, m_vInherit);
  LoadRecordList(m_vConditions, r);
  LoadRecordList(m_vCommands, r);
  if (r.Version() < SHOT_SHEET_FIRST_CELL_VERSION && m_nGraphicKind == GRAPHICKIND_SHOT)
    m_nGraphic = ShotSheetGraphicUpgrade(m_nGraphic);
  ApplyInheritance();
  Validate();
}

void cEdItem::Save(cDataWriter& w) {
  Validate();
  cRecord::Save(w);
  w.WriteI16(m_nX);
  w.WriteI16(m_nY);
  WriteInheritFlags(w, m_vInherit);
  SaveRecordList(m_vConditions, w);
  SaveRecordList(m_vCommands, w);
}

void cEdItem::Validate() {
  FitPaletteRef(m_nPaletteKind, m_nPaletteIndex, PALETTELIST_ITEM);
  if (m_nScale <= 0) m_nScale = 1;
  if (static_cast<uint32_t>(int32_t{m_nPickupSound}) >= static_cast<uint32_t>(Database.m_vSound.Size()))
    m_nPickupSound = 0;
  for (cEdCommand& c : m_vCommands) c.Normalise();
}

void cEdItem::NormaliseCommands() {
  for (cEdCommand& c : m_vCommands) c.ValidatePaletteRefs();
}

const cEdItem* GetItemPaletteEntry(int8_t kind, int16_t index) {
  return PaletteEntryAs<cEdItem>(kind, PALETTELIST_ITEM, index);
}
