#pragma once
// The small choice menus of the stage and the front end, laid out from the
// system texts of SystemData. Called by the scenes every frame they show a
// menu; the texts are drawn as they stand ("%" has no meaning in them).
#include <cstdint>

struct DDSURFACEDATA;
class Font;

// Left edge of a menu of `count` system texts from text `first`, centred on
// x: the widest text in 16-dot cells, plus one cell with the cursor column.
int32_t GetMenuLeft(int x, int first, int count, int bCursorColumn);

// Draws that menu as one framed text box with its top left corner at (x, y),
// one text per 16-dot row, each after a blank cell with the cursor column
// (the caller draws the cursor there). It draws with system font 1 on the
// back buffer, which every caller passes as the target. Nothing for count 0.
void DrawMenuText(DDSURFACEDATA* target, int x, int y, int first, int count, int bCursorColumn);

// The same with a given font and target.
void DrawMenuTextWith(Font& font, DDSURFACEDATA* target, int x, int y, int first, int count,
                      int bCursorColumn);
