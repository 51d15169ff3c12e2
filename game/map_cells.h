#pragma once
// The running map as the game objects see it: the cell at a cell position
// of MapCell (world cells, counted from the outer edge of the 10-cell
// border; row pitch from the horizontal axis) and a cell's collision for an
// object's group. A position outside the map is an empty cell: null here,
// attribute 0.
#include <cstdint>

struct MAPCELL;
class cEdStage;
class cScrollAxis;

// The cell at world cell (cx, cy); null outside MapCell.
MAPCELL* CellAt(int cx, int cy);
// The cell under world dot (x, y).
MAPCELL* CellAtDots(double x, double y);

// What the block in `cell` is to an object of `group` (BLOCKHIT: 0 none,
// 1 solid, 2 deadly): 0 while its conditions fail or when it lets the group
// pass; 0 for no cell.
uint8_t GetHitAttr(MAPCELL* cell, int group);

// The condition gate of a cell with conditions: 1 when the block is there.
// Once the conditions pass, the cell's latch is set.
int CheckBlockConditions(MAPCELL& cell);

// The most cells a map may have (the border and the row padding counted).
constexpr int64_t MAP_MAX_CELLS = int64_t{1} << 24;

// Builds MapCell for `stage` on the axes set up for it: every cell empty
// (no graphic, no collision, latch clear), then each placed block copied
// whole into its cell. A placement outside the map is left out with a line
// in the report log. 0, with MapCell empty, when the map has no width or
// height, would exceed MAP_MAX_CELLS or memory runs out; else 1.
int FillMapCells(const cEdStage& stage, const cScrollAxis& ax, const cScrollAxis& ay);
