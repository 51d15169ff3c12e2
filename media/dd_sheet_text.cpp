#include "media/dd_sheet_text.h"

#include <cstdarg>
#include <cstdio>

#include "media/dd_blit.h"
#include "media/dd_layer.h"

int DDDrawSheetText(DDSURFACEDATA* dst, int x, int y, int cellW, int cellH, DDSURFACEDATA* sheet, const char* text) {
  DDBeginBatch(0);
  int cx = x, cy = y;
  for (const char* p = text ? text : ""; *p; ++p) {
    const unsigned b = static_cast<unsigned char>(*p);
    if (b == '\n') {
      cx = x;
      cy += cellH;
      continue;
    }
    int row = static_cast<int>(b / 16);
    if (b >= 0xA6 && b <= 0xBF)
      row -= 10;
    else if (b >= 0xC0 && b <= 0xDD)
      row -= 4;
    DDBlt(dst, cx, cy, cellW, cellH, sheet, static_cast<int>(b % 16) * cellW, row * cellH, 1);
    cx += cellW;
    if (nScreenWidth > 0 && cx - x >= nScreenWidth) {
      cx = x;
      cy += cellH;
    }
  }
  return DDFlushBatch();
}

int DDDrawSheetTextF(DDSURFACEDATA* dst, int x, int y, int cellW, int cellH, DDSURFACEDATA* sheet,
                     const char* format, ...) {
  char text[256];
  va_list args;
  va_start(args, format);
  std::vsnprintf(text, sizeof text, format, args);
  va_end(args);
  return DDDrawSheetText(dst, x, y, cellW, cellH, sheet, text);
}
