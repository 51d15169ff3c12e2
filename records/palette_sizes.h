#pragma once
// How many entries each palette list holds, for the validation of palette
// references in commands and in block, character and item definitions.
// References name an entry of a list of the common palette or of the running
// stage.
//
// The common palette and the stage record answer for their own lists: each
// installs its answer with SetPaletteSizeSource once it exists (a function
// that reads the sizes of its lists when asked). Until one is installed for
// a kind, the answer comes from a table that SetPaletteListSize fills (the
// tests use it); the table starts with every list empty.

// Where a palette reference points (the reference kind of definitions and of
// a shot's item).
enum PALETTEKIND { PALETTEKIND_NONE, PALETTEKIND_COMMON, PALETTEKIND_STAGE };

// The lists of a palette.
enum PALETTELIST { PALETTELIST_BLOCK, PALETTELIST_CHARA, PALETTELIST_ITEM, PALETTELIST_COUNT };

// The entry count of one list (entry 0 included); 0 for PALETTEKIND_NONE, an
// unknown kind or list, and a negative answer of a source.
int PaletteListSize(int kind, int list);

// The answer of one palette kind: the entry count of a PALETTELIST, asked on
// the thread that validates (a load, or the stage set-up). nullptr returns
// the kind to the table.
using PaletteSizeSource = int (*)(int list);
void SetPaletteSizeSource(int kind, PaletteSizeSource source);
// The installed answer of a kind (nullptr: the table), for tests that stand
// in for a palette and put it back afterwards.
PaletteSizeSource GetPaletteSizeSource(int kind);

// Sets the table's count of one list (a negative count is taken as 0).
void SetPaletteListSize(int kind, int list, int count);
