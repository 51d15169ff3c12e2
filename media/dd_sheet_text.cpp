#include "media/dd_sheet_text.h"

#include <algorithm>
#include <cstdarg>
#include <string>

#include "media/dd_blit.h"
#include "media/dd_layer.h"

namespace {

int NarrowSheet(int64_t v) { return static_cast<int>(std::clamp<int64_t>(v, INT32_MIN, INT32_MAX)); }

}  // namespace

int DDDrawSheetText(DDSURFACEDATA* dst, int x, int y, int cellW, int cellH, DDSURFACEDATA* sheet, const char* text) {
  DDBeginBatch(0);
  int64_t cx = x, cy = y;
  for (const char* p = text ? text : ""; *p; ++p) {
    const unsigned b = static_cast<unsigned char>(*p);
    if (b == '\n') {
      cx = x;
      cy += cellH;
      continue;
    }
    int64_t row = b / 16;
    if (b >= 0xA6 && b <= 0xBF)
      row -= 10;
    else if (b >= 0xC0 && b <= 0xDD)
      row -= 4;
    DDBlt(dst, NarrowSheet(cx), NarrowSheet(cy), cellW, cellH, sheet, NarrowSheet(int64_t{b % 16} * cellW), NarrowSheet(row * cellH), 1);
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
  if (!format) return 0;
  va_list args;
  va_start(args, format);
  const std::string text = FormatV(format, args);
  va_end(args);
  return DDDrawSheetText(dst, x, y, cellW, cellH, sheet, text.c_str());
}
