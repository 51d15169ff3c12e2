#include "records/common_palette.h"

#include <algorithm>

#include "base/report_log.h"
#include "records/palette_entries.h"
#include "records/palette_list.h"

namespace {

int CommonListSize(int list) { return CommonPalette.ListSize(list); }
const cRecord* CommonEntry(int list, int index) { return CommonPalette.Entry(list, index); }

template <class T>
void ClearInheritFlags(cVector<T>& list) {
  for (T& entry : list) std::fill(entry.m_vInherit.begin(), entry.m_vInherit.end(), 0);
}

}  // namespace

cEdCommonPalette::cEdCommonPalette() {
  Clear();
  m_vPaletteBlock.push_back(cEdBlock());
  m_vPaletteChara.push_back(cEdChara());
  m_vPaletteItem.push_back(cEdItem());
  if (this == &CommonPalette) {
    SetPaletteSizeSource(PALETTEKIND_COMMON, CommonListSize);
    SetPaletteEntrySource(PALETTEKIND_COMMON, CommonEntry);
  }
}

void cEdCommonPalette::Load(cDataReader& r) {
  cRecord::Load(r);
  LoadPaletteList(m_vPaletteBlock, r, m_anReading[PALETTELIST_BLOCK]);
  LoadPaletteList(m_vPaletteChara, r, m_anReading[PALETTELIST_CHARA]);
  LoadPaletteList(m_vPaletteItem, r, m_anReading[PALETTELIST_ITEM]);
  if (r.Ended())
    ReportPrintf("CommonPalette.cplt4 : the file ends early or is damaged; read up to there");
  if (!m_vPaletteBlock.empty()) m_vPaletteBlock[0].Reset();
  if (!m_vPaletteChara.empty()) m_vPaletteChara[0].Reset();
  if (!m_vPaletteItem.empty()) m_vPaletteItem[0].Reset();
  ClearInheritFlags(m_vPaletteBlock);
  ClearInheritFlags(m_vPaletteChara);
  ClearInheritFlags(m_vPaletteItem);
  Normalise();
}

void cEdCommonPalette::Save(cDataWriter& w) {
  Normalise();
  cRecord::Save(w);
  SaveRecordList(m_vPaletteBlock, w);
  SaveRecordList(m_vPaletteChara, w);
  SaveRecordList(m_vPaletteItem, w);
}

void cEdCommonPalette::Normalise() {
  FillToTwo(m_vPaletteBlock);
  FillToTwo(m_vPaletteChara);
  FillToTwo(m_vPaletteItem);
  FitDefinitions(m_vPaletteBlock, m_vPaletteChara, m_vPaletteItem);
}

int cEdCommonPalette::ListSize(int list) const {
  switch (list) {
    case PALETTELIST_BLOCK: return PaletteListCount(m_vPaletteBlock, m_anReading[list]);
    case PALETTELIST_CHARA: return PaletteListCount(m_vPaletteChara, m_anReading[list]);
    case PALETTELIST_ITEM: return PaletteListCount(m_vPaletteItem, m_anReading[list]);
    default: return 0;
  }
}

const cRecord* cEdCommonPalette::Entry(int list, int index) const {
  switch (list) {
    case PALETTELIST_BLOCK: return PaletteListEntry(m_vPaletteBlock, m_anReading[list], index);
    case PALETTELIST_CHARA: return PaletteListEntry(m_vPaletteChara, m_anReading[list], index);
    case PALETTELIST_ITEM: return PaletteListEntry(m_vPaletteItem, m_anReading[list], index);
    default: return nullptr;
  }
}
