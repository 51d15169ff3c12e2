#pragma once
// The entries of the palette lists, for the inheritance of definitions and
// for stage play's look-up of the item a block or a character carries.
//
// As with the sizes (palette_sizes.h), each palette answers for its own
// lists: the common palette installs its answer when the global is built,
// the stage record its own. A kind without an answer has no entries.
#include "records/palette_sizes.h"

class cRecord;

// Entry `index` of the PALETTELIST `list` of one palette kind, or nullptr
// when the list has no such entry. The entry is a cEdBlock, cEdChara or
// cEdItem as the list says. Asked on the thread that loads or plays, and
// valid until that palette's lists next change.
using PaletteEntrySource = const cRecord* (*)(int list, int index);
void SetPaletteEntrySource(int kind, PaletteEntrySource source);
PaletteEntrySource GetPaletteEntrySource(int kind);

// The entry when the list's size (PaletteListSize) holds the index (compared
// unsigned: a negative index is past the end) and the kind's answer has it;
// nullptr otherwise and for PALETTEKIND_NONE or an unknown kind.
const cRecord* PaletteEntry(int kind, int list, int index);
