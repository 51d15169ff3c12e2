#pragma once
// One map cell's block on the screen (the map layers and whoever draws a
// block outside the map).
struct DDSURFACEDATA;
class cEdBlock;

// The block's graphic, 32 x 32 at view point (x, y) of `target`, keyed; with
// its overlay flag also its overlay icon from the mark sheet (system image
// 43) over it. Drawing thread.
void DrawCell(DDSURFACEDATA* target, const cEdBlock& block, int x, int y);
