#pragma once
// Reading a palette list (of blocks, characters or items), answering for its
// entries, and completing and fitting the lists after a load and before a
// save; shared by the common palette and the stage record.
//
// While a list is read, each entry resolves its inheritance against the
// list itself: the entries read so far are there, and the later ones count
// as class defaults. The reader records the count the file gives in
// `reading` for the time of the read, and the palette's answers
// (palette_sizes.h, palette_entries.h) use it through the two helpers here.
#include <algorithm>
#include <cstdint>

#include "records/block.h"
#include "records/chara.h"
#include "records/item.h"
#include "records/record.h"

// A list segment as LoadRecordList reads it (count bounded by the bytes
// left, elements default-built and read in file order, a cut element kept),
// with `reading` = the file's count until the list is read.
template <class T>
void LoadPaletteList(cVector<T>& list, cDataReader& r, int& reading) {
  uint32_t count = r.ReadCount(8);
  list.clear();
  reading = static_cast<int>(count);
  for (uint32_t i = 0; i < count; ++i) {
    list.push_back(T());
    list.back().Load(r);
    if (r.Ended()) break;
  }
  reading = 0;
}

// The entry count the palette answers: the list's, or while it is read, the
// count its file gives.
template <class T>
int PaletteListCount(const cVector<T>& list, int reading) {
  return std::max(list.Size(), reading);
}

// Entry `index`: the list's element, a class default for an entry of a list
// being read that is not read yet, or nullptr.
template <class T>
const cRecord* PaletteListEntry(const cVector<T>& list, int reading, int index) {
  if (index < 0) return nullptr;
  if (index < list.Size()) return &list[index];
  static const T kDefault;
  return index < reading ? &kDefault : nullptr;
}

// Entry 0 is the "none" entry, so a list shorter than two grows to two with
// new definitions.
template <class T>
void FillToTwo(cVector<T>& list) {
  while (list.Size() < 2) list.push_back(T());
}

// Every definition's validation, after a load and before a save: blocks,
// then characters, then items. Item references of blocks and the palette
// references of flows and commands are fitted against the lists as they
// stand, so the palette's lists must be complete first.
inline void FitDefinitions(cVector<cEdBlock>& blocks, cVector<cEdChara>& charas,
                           cVector<cEdItem>& items) {
  for (cEdBlock& b : blocks) {
    b.Validate();
    b.ValidateItemRef();
  }
  for (cEdChara& c : charas) {
    c.Validate();
    c.NormaliseFlows();
  }
  for (cEdItem& i : items) {
    i.Validate();
    i.NormaliseCommands();
  }
}
