#pragma once
// Text from a glyph sheet of 16 x 16 cells (the frame-rate display): byte b
// is the cell at column b mod 16 and row b / 16, except that half-width kana
// 0xA6-0xBF come from row - 10 and 0xC0-0xDD from row - 4. '\n' starts a
// line cellH lower; a line that reaches the screen width wraps.
#include "base/text_format.h"
#include "media/dd_surface.h"

int DDDrawSheetText(DDSURFACEDATA* dst, int x, int y, int cellW, int cellH, DDSURFACEDATA* sheet, const char* text);
// printf-style; the whole result is drawn.
int DDDrawSheetTextF(DDSURFACEDATA* dst, int x, int y, int cellW, int cellH, DDSURFACEDATA* sheet,
                     const char* format, ...) PRINTF_LIKE(7, 8);
