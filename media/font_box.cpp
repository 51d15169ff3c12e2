// Measuring texts, and texts in framed boxes.
#include <algorithm>
#include <climits>
#include <cstdarg>
#include <cstring>

#include "base/dbcs_text.h"
#include "media/dd_effects.h"
#include "media/dd_layer.h"
#include "media/font.h"
#include "media/font_internal.h"
#include "platform/text.h"

using namespace font_detail;

namespace {

// Displayed characters of one line of len bytes.
int64_t CountLineChars(const char* p, size_t len) {
  int64_t count = 0;
  for (size_t i = 0; i < len; ++count) i += (i + 1 < len && IsDbcsPair(p + i)) ? 2 : 1;
  return count;
}

// Calls measure(line, bytes) for each line of the text and returns how many
// there were: a '\n' ends a line, and text after the last one is a line.
template <class Measure>
int64_t ForEachLine(const char* text, Measure measure) {
  int64_t lines = 0;
  for (const char* p = text; p && *p;) {
    const size_t len = std::strcspn(p, "\n");
    measure(p, len);
    ++lines;
    p += len;
    if (*p) ++p;
  }
  return lines;
}

}  // namespace

int LineLength(const char* text) {
  return text ? static_cast<int>(std::min<size_t>(std::strcspn(text, "\n"), INT32_MAX)) : 0;
}

void Font::GetTextExtentFixed(int out[2], const char* text) const {
  int64_t widest = 0;
  const int64_t lines =
      ForEachLine(text, [&](const char* p, size_t len) { widest = std::max(widest, CountLineChars(p, len)); });
  out[0] = Narrow(widest * m_nCellW);
  out[1] = Narrow(lines * LineHeight());
}

void Font::GetTextExtentGdi(int out[2], const char* text) const {
  int64_t widest = 0;
  const int64_t lines = ForEachLine(text, [&](const char* p, size_t len) {
    if (m_hFont) widest = std::max<int64_t>(widest, m_hFont->TextWidth(p, len));
  });
  out[0] = Narrow(widest);
  out[1] = Narrow(lines * LineHeight());
}

void Font::TextExtent(int out[2], const char* text) const {
  if (CellMode())
    GetTextExtentFixed(out, text);
  else
    GetTextExtentGdi(out, text);
}

void Font::DrawBox(DDSURFACEDATA* target, int x, int y, int w, int h) {
  // Without its image a box is centred on the screen.
  const bool image = HasImage(m_lpBoxSD);
  if (x == FONT_CENTRE) x = (image ? m_lpBoxSD->nWidth : nScreenWidth) / 2 - w / 2;
  if (y == FONT_CENTRE) y = (image ? m_lpBoxSD->nHeight : nScreenHeight) / 2 - h / 2;
  DDDrawFramedBox(target, x, y, w, h, m_lpBoxSD, m_nFrameThick, m_nFrameColor);
}

int Font::DrawTextBox(DDSURFACEDATA* target, int x, int y, int w, int h, const char* text, int margin) {
  return DrawTextInBox(target, x, y, w, h, text, margin, m_dwColor);
}

int Font::DrawTextInBox(DDSURFACEDATA* target, int x, int y, int w, int h, const char* text, int margin, uint32_t) {
  if (!text) return 0;
  if (w == 0 || h == 0) {
    int extent[2];
    TextExtent(extent, text);
    if (w == 0) w = Narrow(int64_t{margin} + extent[0]);
    if (h == 0) h = extent[1];
  }
  const bool image = HasImage(m_lpBoxSD);
  if (x == FONT_CENTRE) x = (image ? m_lpBoxSD->nWidth : nScreenWidth) / 2 - w / 2;
  if (y == FONT_CENTRE) y = (image ? m_lpBoxSD->nHeight : nScreenHeight) / 2 - h / 2;
  DDDrawFramedBox(target, x, y, w, h, m_lpBoxSD, m_nFrameThick, m_nFrameColor);
  return DrawText(target, Narrow(int64_t{x} + margin), y, text, 0);
}

int Font::DrawTextBoxF(DDSURFACEDATA* target, int x, int y, int w, int h, const char* format, ...) {
  if (!format) return 0;
  va_list args;
  va_start(args, format);
  const std::string text = FormatV(format, args);
  va_end(args);
  return DrawTextInBox(target, x, y, w, h, text.c_str(), 0, m_dwColor);
}
