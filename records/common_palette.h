#pragma once
// The block, character and item definitions every stage of the project may
// use: data\CommonPalette.cplt4. Definitions refer to its entries with
// palette kind 1. Entry 0 of each list is the class default (the block of
// entry 0 is an empty cell: stage play erases a block with it).
//
// The global CommonPalette answers for the sizes and entries of the common
// kind (palette_sizes.h, palette_entries.h) from the moment it is built.
#include <cstdint>

#include "records/block.h"
#include "records/chara.h"
#include "records/item.h"
#include "records/palette_sizes.h"
#include "records/record.h"

class cEdCommonPalette : public cRecord {
 public:
  cVector<cEdBlock> m_vPaletteBlock;
  cVector<cEdChara> m_vPaletteChara;
  cVector<cEdItem> m_vPaletteItem;

  // One default entry in each list.
  cEdCommonPalette();
  cEdCommonPalette(const cEdCommonPalette&) = default;
  cEdCommonPalette& operator=(const cEdCommonPalette&) = default;

  // Nothing registered: the palette's own segment is two zero counts.
  void RegisterFields(int version) override { RegisterNoFields(); }
  // The empty segment, then the block, character and item lists, each entry
  // resolving its inheritance and validating as it is read (against the
  // entries read so far; entries of the list not read yet count as class
  // defaults). Then entry 0 of each list becomes the class default (keeping
  // its position and lists), every inherit flag 0, and Normalise. Read by
  // start-up through LoadFromFile; a file that ends early is reported in the
  // report log and keeps what was read.
  void Load(cDataReader& r) override;
  // Normalise, the empty segment, the three lists.
  void Save(cDataWriter& w) override;

  // At least two entries per list; every entry validated, then its item,
  // flow or command palette references fitted (blocks, characters, items).
  void Normalise();

  // Entries in a list (PALETTELIST); while that list is being read, the
  // count the file gives.
  int ListSize(int list) const;
  // Entry `index` of a list; while that list is being read, a class default
  // for the entries not read yet; nullptr past the end.
  const cRecord* Entry(int list, int index) const;

 private:
  // Per list, the count its file gives while it is being read; else 0.
  int m_anReading[PALETTELIST_COUNT] = {0, 0, 0};
};

extern cEdCommonPalette CommonPalette;
