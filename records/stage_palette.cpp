// The stage's own definitions: its palette lists, the answers of the stage
// palette kind, and the lists of placed blocks, characters and items.
#include "records/palette_entries.h"
#include "records/palette_list.h"
#include "records/stage.h"

namespace {

// The stage whose palette answers on this thread; none: Stage's.
thread_local const cEdStage* t_pAnswering = nullptr;

const cEdStage& Answering() { return t_pAnswering ? *t_pAnswering : Stage; }
int StageListSize(int list) { return Answering().ListSize(list); }
const cRecord* StageEntry(int list, int index) { return Answering().Entry(list, index); }

// The placed lists: a u32 count, then each element after a zero word. An
// element takes at least the word and its segment's two counts.
template <class T>
void LoadPlaced(cVector<T>& list, cDataReader& r) {
  uint32_t count = r.ReadCount(12);
  list.clear();
  for (uint32_t i = 0; i < count; ++i) {
    r.ReadU32();
    list.push_back(T());
    list.back().Load(r);
    if (r.Ended()) return;
  }
}

template <class T>
void SavePlaced(cVector<T>& list, cDataWriter& w) {
  w.WriteU32(static_cast<uint32_t>(list.size()));
  for (T& element : list) {
    w.WriteU32(0);
    element.Save(w);
  }
}

// Entry 0 is the "none" entry: a new definition, whatever the file holds.
template <class T>
void ResetFirst(cVector<T>& list) {
  if (!list.empty()) list[0] = T();
}

}  // namespace

cStagePaletteScope::cStagePaletteScope(const cEdStage* stage) : m_pPrevious(t_pAnswering) {
  t_pAnswering = stage;
}

cStagePaletteScope::~cStagePaletteScope() { t_pAnswering = m_pPrevious; }

cEdStage::cEdStage() {
  if (this == &Stage) {
    SetPaletteSizeSource(PALETTEKIND_STAGE, StageListSize);
    SetPaletteEntrySource(PALETTEKIND_STAGE, StageEntry);
  }
  Reset();
}

int cEdStage::ListSize(int list) const {
  switch (list) {
    case PALETTELIST_BLOCK: return PaletteListCount(m_vPaletteBlock, m_anReading[list]);
    case PALETTELIST_CHARA: return PaletteListCount(m_vPaletteChara, m_anReading[list]);
    case PALETTELIST_ITEM: return PaletteListCount(m_vPaletteItem, m_anReading[list]);
    default: return 0;
  }
}

const cRecord* cEdStage::Entry(int list, int index) const {
  switch (list) {
    case PALETTELIST_BLOCK: return PaletteListEntry(m_vPaletteBlock, m_anReading[list], index);
    case PALETTELIST_CHARA: return PaletteListEntry(m_vPaletteChara, m_anReading[list], index);
    case PALETTELIST_ITEM: return PaletteListEntry(m_vPaletteItem, m_anReading[list], index);
    default: return nullptr;
  }
}

// Each entry and placement resolves its inheritance as it is read: against
// the palette entries read so far (later ones count as class defaults) and,
// for placements, against the whole palette.
void cEdStage::LoadDefinitions(cDataReader& r) {
  LoadPaletteList(m_vPaletteBlock, r, m_anReading[PALETTELIST_BLOCK]);
  LoadPaletteList(m_vPaletteChara, r, m_anReading[PALETTELIST_CHARA]);
  LoadPaletteList(m_vPaletteItem, r, m_anReading[PALETTELIST_ITEM]);
  ResetFirst(m_vPaletteBlock);
  ResetFirst(m_vPaletteChara);
  ResetFirst(m_vPaletteItem);
  LoadPlaced(m_vPlacedBlock, r);
  LoadPlaced(m_vPlacedChara, r);
  LoadPlaced(m_vPlacedItem, r);
}

void cEdStage::SaveDefinitions(cDataWriter& w) {
  SaveRecordList(m_vPaletteBlock, w);
  SaveRecordList(m_vPaletteChara, w);
  SaveRecordList(m_vPaletteItem, w);
  SavePlaced(m_vPlacedBlock, w);
  SavePlaced(m_vPlacedChara, w);
  SavePlaced(m_vPlacedItem, w);
}

// Item references of blocks and the palette references of flows and
// commands are fitted once every list is complete.
void cEdStage::NormaliseDefinitions() {
  FillToTwo(m_vPaletteBlock);
  FillToTwo(m_vPaletteChara);
  FillToTwo(m_vPaletteItem);
  FitDefinitions(m_vPaletteBlock, m_vPaletteChara, m_vPaletteItem);
  FitDefinitions(m_vPlacedBlock, m_vPlacedChara, m_vPlacedItem);
}

int cEdStage::FindHero() {
  for (int i = 0; i < m_vPlacedChara.Size(); ++i) {
    const cEdChara& c = m_vPlacedChara[i];
    if (c.m_nGraphic != 0 && c.m_nOperator == 0) return i;
  }
  return -1;
}

void cEdStage::ClearDefinitions() {
  m_vPaletteBlock.clear();
  m_vPaletteChara.clear();
  m_vPaletteItem.clear();
  m_vPlacedBlock.clear();
  m_vPlacedChara.clear();
  m_vPlacedItem.clear();
}
