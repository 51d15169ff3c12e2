// Drawing a text: the cell cursor, the glyph caches, icons and proportional lines.
#include <algorithm>
#include <climits>
#include <cstdarg>
#include <cstring>

#include "base/dbcs_text.h"
#include "media/dd_blit.h"
#include "media/dd_layer.h"
#include "media/fast_font.h"
#include "media/font.h"
#include "media/font_internal.h"
#include "media/font_pen.h"

using namespace font_detail;

namespace {

bool IsIconLetter(unsigned char b) { return b >= 'a' && b <= 'z'; }

// The cell cursor over a text: each character (1 or 2 bytes) takes one cell
// of cellW, '\n' starts the next line lineHeight lower. visit(p, bytes, col, row).
template <class Visit>
void ForEachCell(const char* text, int cellW, int lineHeight, Visit visit) {
  int64_t col = 0, row = 0;
  for (const char* p = text; *p;) {
    if (*p == '\n') {
      col = 0;
      row += lineHeight;
      ++p;
      continue;
    }
    const int bytes = IsDbcsPair(p) ? 2 : 1;
    visit(p, bytes, col, row);
    p += bytes;
    col += cellW;
  }
}

}  // namespace

int Font::DrawText(DDSURFACEDATA* target, int x, int y, const char* text, int bPlain) {
  if (!text || !target || !m_hFont) return 0;
  const int bIcons = m_bIcon && !bPlain ? 1 : 0;
  return lpDTCon ? DrawText3D(target, x, y, text, bIcons) : DrawTextSoftware(target, x, y, text, bIcons);
}

int Font::DrawTextF(DDSURFACEDATA* target, int x, int y, const char* format, ...) {
  if (!format) return 0;
  va_list args;
  va_start(args, format);
  const std::string text = FormatV(format, args);
  va_end(args);
  return DrawText(target, x, y, text.c_str(), 0);
}

int Font::DrawTextSoftware(DDSURFACEDATA* target, int x, int y, const char* text, int bIcons) {
  // The glyphs that are not cached go straight onto the target, inside the
  // text's extent only, as a copy through the work surface would leave them.
  int extent[2];
  TextExtent(extent, text);
  const plat::Rect clip{std::max(x, 0), std::max(y, 0),
                        Narrow(std::min<int64_t>(int64_t{x} + extent[0], target->nWidth)),
                        Narrow(std::min<int64_t>(int64_t{y} + extent[1], target->nHeight))};
  cGlyphPen pen(m_hFont.get(), target, clip, GlyphPixel(m_dwColor));
  DrawGlyphs(target, pen, x, y, target, x, y, text, bIcons);
  if (bIcons) DrawIcons(target, x, y, text);
  return 1;
}

int Font::DrawGlyphs(DDSURFACEDATA* surface, cGlyphPen& dc, int x, int y, DDSURFACEDATA* cacheTarget, int cx, int cy,
                     const char* text, int bIcons) {
  if (!text) return 0;
  DDBeginBatch(1);
  if (!CellMode()) {
    const int64_t lineHeight = LineHeight();
    int64_t line = 0;
    for (const char* p = text;; ++line) {
      const size_t len = std::strcspn(p, "\n");
      dc.PutLine(p, static_cast<int>(std::min<size_t>(len, INT32_MAX)), x, y + line * lineHeight);
      p += len;
      if (!*p) break;
      ++p;
    }
    return DDFlushBatch();
  }
  const bool caches = HasCaches() && cacheTarget;
  const bool iconCells = bIcons && HasImage(m_lpIconSD);
  ForEachCell(text, m_nCellW, LineHeight(), [&](const char* p, int bytes, int64_t col, int64_t row) {
    if (bytes == 2) {
      FastFont* full = m_lpFastFont_FullAdd.get();
      if (!caches || IsFullWidthSpace(p)) {
        DrawGlyph(dc, p, 2, x + col, y + row);
      } else if (full->DrawFull(cacheTarget, Narrow(cx + col), Narrow(cy + row), p, 1)) {
      } else if (full->Add(p)) {
        const FASTFONTCHAR& added = full->m_vChars.back();
        DrawGlyphInCell(*full, added.nX, added.nY, p, 2);
        full->DrawFull(cacheTarget, Narrow(cx + col), Narrow(cy + row), p, 1);
      } else {
        DrawGlyph(dc, p, 2, x + col, y + row);
      }
      return;
    }
    const auto b = static_cast<unsigned char>(*p);
    if (b == ' ' || (iconCells && IsIconLetter(b))) {
      // Only the cell: icons are drawn over the text afterwards.
    } else if (caches) {
      m_lpFastFont_Half->DrawHalf(cacheTarget, Narrow(cx + col), Narrow(cy + row), b, 1);
    } else {
      DrawGlyph(dc, p, 1, x + col, y + row);
    }
  });
  return DDFlushBatch();
}

void Font::DrawIcons(DDSURFACEDATA* target, int x, int y, const char* text) {
  if (!m_bIcon || !HasImage(m_lpIconSD) || !CellMode() || !text) return;
  DDBeginBatch(0);
  ForEachCell(text, m_nCellW, LineHeight(), [&](const char* p, int bytes, int64_t col, int64_t row) {
    const auto b = static_cast<unsigned char>(*p);
    if (bytes == 1 && IsIconLetter(b))
      DDBlt(target, Narrow(x + col), Narrow(y + row), m_nCellW, m_nCellH, m_lpIconSD,
            Narrow(int64_t{b - 'a'} * m_nCellW), 0, 1);
  });
  DDFlushBatch();
}
