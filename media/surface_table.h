#pragma once
// The system images (SurfaceTable, one entry per row of the surface
// definitions) and the stage's own character images (Off_StageBmp). Both are
// empty at start; start-up and the stage scene make their surfaces, the game
// objects draw from them.
#include "base/container.h"
#include "media/dd_surface.h"

constexpr int SURFACE_TABLE_SIZE = 71;

// Entries the game objects name: the block sheet (2 first set, 3 second
// set), the character sheets k = 0..7 (4 + 2k plain, 5 + 2k mirrored; the
// second set 18 entries later), the shot sheet (20, 21; 38, 39), the item
// sheet (40, 41), the small item icons (42), the mark sheet (43, 44), the
// run-time sheets (63 plain, 64 mirrored) and the work surfaces (67, 68, 70).
constexpr int SURFACE_BLOCKS = 2;
constexpr int SURFACE_CHARAS = 4;
constexpr int SURFACE_CHARA_SHEETS = 8;
constexpr int SURFACE_SECOND_SET = 18;  // distance of a sheet's second copy
constexpr int SURFACE_SHOTS = 20;
constexpr int SURFACE_ITEMS = 40;
constexpr int SURFACE_ITEM_ICONS = 42;
constexpr int SURFACE_MARKS = 43;
constexpr int SURFACE_RUNTIME = 63;
constexpr int SURFACE_WORK_A = 67;
constexpr int SURFACE_WORK_B = 68;
constexpr int SURFACE_WORK_C = 70;

extern DDSURFACEDATA SurfaceTable[SURFACE_TABLE_SIZE];

// Four surfaces per extra character image n (Bmp_CharaExc.dat entry n >= 1)
// from position 4 × n − 4: first set plain, first set mirrored, second set
// plain, second set mirrored.
extern cVector<DDSURFACEDATA> Off_StageBmp;
