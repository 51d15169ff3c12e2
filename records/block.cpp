#include "records/block.h"

#include <algorithm>

#include "records/palette_ref.h"

cEdBlock::cEdBlock() { Reset(); }

void cEdBlock::Reset() {
  Clear();
  m_nHit = BLOCKHIT_SOLID;
  m_vInherit.assign(BLOCKGROUP_COUNT, 0);
  m_nPassFaction = -1;
  m_nGraphic = 0;
}

// Every version stores all eighteen.
void cEdBlock::RegisterFields(int) {
  ClearFields();
  AddByte(&m_nPaletteKind);
  AddWord(&m_nPaletteIndex);
  AddString(&m_strName);
  AddByte(&m_nCondMode);
  AddByte(&m_bCondOnce);
  AddWord(&m_nGraphic);
  AddByte(&m_nGraphicKind);
  AddWord(&m_nGraphicFrame);
  AddByte(&m_nLayer);
  AddByte(&m_bTransparent);
  AddByte(&m_bShowIcon);
  AddWord(&m_nIcon);
  AddByte(&m_nHit);
  AddByte(&m_nPassFaction);
  AddByte(&m_nEffect);
  AddDword(&m_nEffectValue);
  AddByte(&m_nItemKind);
  AddWord(&m_nItemIndex);
  AddByte(&m_bProtected);
}

void cEdBlock::Load(cDataReader& r) {
  cRecord::Load(r);
  m_nX = r.ReadI16();
  m_nY = r.ReadI16();
  ReadInheritFlags(r, m_vInherit);
  LoadRecordList(m_vConditions, r);
  if (r.Version() < SHOT_SHEET_FIRST_CELL_VERSION && m_nGraphicKind == GRAPHICKIND_SHOT)
    m_nGraphic = ShotSheetGraphicUpgrade(m_nGraphic);
  ApplyInheritance();
  Validate();
}

void cEdBlock::Save(cDataWriter& w) {
  Validate();
  cRecord::Save(w);
  w.WriteI16(m_nX);
  w.WriteI16(m_nY);
  WriteInheritFlags(w, m_vInherit);
  SaveRecordList(m_vConditions, w);
}

void cEdBlock::Validate() {
  FitPaletteRef(m_nPaletteKind, m_nPaletteIndex, PALETTELIST_BLOCK);
  if (m_nGraphic == 0) {
    m_nHit = BLOCKHIT_NONE;
    m_bProtected = 0;
  }
}

void cEdBlock::ValidateItemRef() { FitPaletteRef(m_nItemKind, m_nItemIndex, PALETTELIST_ITEM); }
