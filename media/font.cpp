// Making, releasing and restoring fonts, and their glyph caches.
#include "media/font.h"

#include <algorithm>
#include <cstring>
#include <string>

#include "base/boxes.h"
#include "base/report_log.h"
#include "base/window_messages.h"
#include "media/dd_blit.h"
#include "media/dd_layer.h"
#include "media/fast_font.h"
#include "media/font_atlas.h"
#include "media/font_internal.h"
#include "media/font_pen.h"
#include "platform/soft_display.h"
#include "platform/text.h"

using namespace font_detail;

namespace {

// "※フォントクラスで文字間が未設定！"
const char kNoCellSize[] =
    "\x81\xA6\x83\x74\x83\x48\x83\x93\x83\x67\x83\x4E\x83\x89\x83\x58\x82\xC5\x95\xB6\x8E\x9A\x8A\xD4\x82\xAA"
    "\x96\xA2\x90\xDD\x92\xE8\x81\x49";

bool IsLost(DDSURFACEDATA& sd) {
  return sd.lpDDS && sd.lpDDS->lpSurface && sd.lpDDS->lpSurface->IsLost() == plat::DDERR_SURFACELOST;
}

// The colour of palette entry n as the font keeps it for the running back end.
uint32_t TextColour(int n) {
  const PALETTEENTRY& e = CurPalette[n];
  if (lpDTCon) return 0xFF000000u | uint32_t{e.peRed} << 16 | uint32_t{e.peGreen} << 8 | e.peBlue;
  uint32_t channel[3] = {e.peRed, e.peGreen, e.peBlue};
  if (nBpp == 16) {
    // The palette holds the channels of the display's pixels here.
    for (int k = 0; k < 3; ++k) {
      const uint32_t max = static_cast<uint32_t>(TextureChannels[4 + k]);
      channel[k] = max ? std::min<uint32_t>(channel[k] * 255 / max, 255) : 0;
    }
  }
  return channel[0] | channel[1] << 8 | channel[2] << 16;
}

}  // namespace

// --- the font list ---

cFontList& FontList = *new cFontList;

void cFontList::Add(Font* font) {
  if (std::find(m_vFonts.begin(), m_vFonts.end(), font) == m_vFonts.end()) m_vFonts.push_back(font);
}

void cFontList::Remove(Font* font) {
  m_vFonts.erase(std::remove(m_vFonts.begin(), m_vFonts.end(), font), m_vFonts.end());
}

// --- making and releasing ---

Font::Font() = default;

Font::~Font() { Release(); }

bool Font::Create(const char* face, int width, int height, int cellW, int cellH, int colorNum, DDSURFACEDATA* boxSD,
                  int frame, int frameColor, DDSURFACEDATA* iconSD, int cacheFlag) {
  m_szFace = face;
  m_nWidth = width;
  m_nHeight = height;
  m_nCellW = cellW;
  m_nCellH = cellH;
  m_nColorNum = std::clamp(colorNum, 0, 255);
  m_lpBoxSD = boxSD;
  m_nFrameThick = frame;
  m_nFrameColor = std::clamp(frameColor, 0, 255);
  m_lpIconSD = iconSD;
  m_bIcon = iconSD ? 1 : 0;
  m_nCache = cacheFlag;
  m_dwColor = TextColour(m_nColorNum);

  const std::string name = face ? std::string(face, strnlen(face, 256)) : std::string();
  std::string line;
  // The 3D device's text takes its width from the face.
  std::shared_ptr<plat::text::Face> opened = plat::text::OpenFace(name, height, lpDTCon ? 0 : width, &line);
  if (!line.empty()) ReportPrintfDebug("%s", line.c_str());
  if (!opened) {
    m_hFont.reset();
    DropCaches();
    m_nCache = 0;
    return false;
  }
  m_hFont = std::move(opened);

  if (lpDTCon) {
    if (!CreateTextObjects()) return false;
    m_nID = lpDTCon->nNextFontID++;
  } else {
    ReleaseTextObjects();
    m_nID = lpDDCon ? lpDDCon->nNextFontID++ : 0;
  }
  // The work surface is made when text first goes onto a system-memory
  // texture, the only drawing that needs it: a screen's worth of memory per
  // font is not spent before.
  FontList.Add(this);
  MakeCaches(cacheFlag);
  return true;
}

void Font::Release() {
  ReleaseTextObjects();
  m_lpFastFont_Half.reset();
  m_lpFastFont_FullAdd.reset();
  m_hFont.reset();
  DDReleaseSurface(&m_sdWork);
  FontList.Remove(this);
}

bool Font::MakeWorkSurface() {
  if (m_sdWork.lpDDS || m_sdWork.lpDT) return true;
  if (DDCreateSurface(&m_sdWork, BackBuffer.nWidth, BackBuffer.nHeight, 1, 0, DTMEMORYTYPE_VIDEO_RT, nullptr, 0))
    return true;
  DebugLogPuts("DDCreateSurface Font::Work");
  DDReleaseSurface(&m_sdWork);
  PostCloseMessage(hWndMain.load());
  return false;
}

bool Font::HasCaches() const { return m_nCache && m_lpFastFont_Half && m_lpFastFont_FullAdd; }

int Font::LineHeight() const {
  if (m_nCellH > 0 || !m_hFont) return m_nCellH;
  return m_hFont->Metrics().height;
}

int Font::CachedFullChars() const { return m_lpFastFont_FullAdd ? m_lpFastFont_FullAdd->m_nCount : 0; }

void Font::DropCaches() {
  m_lpFastFont_Half.reset();
  m_lpFastFont_FullAdd.reset();
}

void Font::MakeCaches(int cacheFlag) {
  DropCaches();
  if (!cacheFlag) return;
  if (m_nCellW < 1 || m_nCellH < 1) {
    DebugLogPuts(kNoCellSize);
    m_nCache = 0;
    return;
  }
  int columns, rows;
  int64_t maxW, maxH;
  if (lpDTCon) {
    columns = std::min(1024 / m_nCellW, 32);
    rows = std::min(1024 / m_nCellH, 32);
    maxW = lpDTCon->Caps.MaxTextureWidth;
    maxH = lpDTCon->Caps.MaxTextureHeight;
  } else {
    columns = std::min(nScreenWidth / m_nCellW, 32);
    rows = std::min(nScreenHeight / m_nCellH, 30);
    maxW = maxH = plat::kMaxSurfaceSide;
  }
  // A sheet the display cannot hold leaves the font without caches.
  auto fits = [&](int cols, int rws) {
    int w = static_cast<int>(std::min<int64_t>(int64_t{cols} * m_nCellW, INT32_MAX));
    int h = static_cast<int>(std::min<int64_t>(int64_t{rws} * m_nCellH, INT32_MAX));
    DDRoundTextureSize(&w, &h);
    return cols >= 1 && rws >= 1 && w <= maxW && h <= maxH;
  };
  if (!fits(16, 16)) {
    DebugLogPuts("m_lpFastFont_Half Err");
    m_nCache = 0;
    return;
  }
  if (!fits(columns, rows)) {
    DebugLogPuts("m_lpFastFont_FullAdd Err");
    m_nCache = 0;
    return;
  }
  m_lpFastFont_Half = std::make_unique<FastFont>(0, m_nCellW, m_nCellH, 16, 16);
  if (!m_lpFastFont_Half->CreateSheet()) {
    DebugLogPuts("m_lpFastFont_Half Err");
    DropCaches();
    m_nCache = 0;
    PostCloseMessage(hWndMain.load());
    return;
  }
  m_lpFastFont_FullAdd = std::make_unique<FastFont>(1, m_nCellW, m_nCellH, columns, rows);
  if (!m_lpFastFont_FullAdd->CreateSheet()) {
    DebugLogPuts("m_lpFastFont_FullAdd Err");
    DropCaches();
    m_nCache = 0;
    PostCloseMessage(hWndMain.load());
    return;
  }
  BuildHalfCache(0);
  BuildFullCache(0);
}

// --- the caches' pictures ---

void Font::BuildHalfCache(int) {
  FastFont* cache = m_lpFastFont_Half.get();
  if (!cache) return;
  DDFillSurface(&cache->m_sdCache, 0);
  // Row 0, the control codes, stays empty. Each code is drawn alone: a lead
  // byte is a character of its own here, whatever code follows it.
  DDBeginBatch(0);
  for (int code = 16; code < 256; ++code) {
    if (code == ' ') continue;
    const char ch = static_cast<char>(code);
    DrawGlyphInCell(*cache, code % 16 * m_nCellW, code / 16 * m_nCellH, &ch, 1);
  }
  DDFlushBatch();
}

void Font::BuildFullCache(int bRestore) {
  FastFont* cache = m_lpFastFont_FullAdd.get();
  if (!cache) return;
  std::string chars;
  if (bRestore) {
    for (const FASTFONTCHAR& c : cache->m_vChars) chars.append(c.szChar, 2);
  } else {
    chars.assign(kPreloadedChars, 2 * kPreloadedCharCount);
  }
  cache->Clear();
  for (size_t i = 0; i + 1 < chars.size(); i += 2)
    if (!cache->Add(&chars[i])) break;
  DDFillSurface(&cache->m_sdCache, 0);
  DDBeginBatch(0);
  for (const FASTFONTCHAR& c : cache->m_vChars) DrawGlyphInCell(*cache, c.nX, c.nY, c.szChar, 2);
  DDFlushBatch();
}

void Font::DrawGlyphInCell(FastFont& cache, int cellX, int cellY, const char* ch, int bytes) {
  if (lpDTCon) {
    DrawGlyphInCell3D(cache, cellX, cellY, ch, bytes);
    return;
  }
  cGlyphPen pen(m_hFont.get(), &cache.m_sdCache, plat::Rect{cellX, cellY, cellX + m_nCellW, cellY + m_nCellH},
                GlyphPixel(m_dwColor));
  DrawGlyph(pen, ch, bytes, cellX, cellY);
}

void Font::DrawGlyph(cGlyphPen& dc, const char* ch, int bytes, int64_t px, int64_t py) {
  const unsigned code =
      bytes == 2 ? static_cast<unsigned>(static_cast<unsigned char>(ch[0])) << 8 | static_cast<unsigned char>(ch[1])
                 : static_cast<unsigned char>(ch[0]);
  if (m_bCentre) {
    const int w = dc.Advance(code), h = dc.Height();
    dc.Put(code, px + m_nCellW / 2 - w / 2, py + m_nCellH / 2 - h / 2);
  } else if (bytes == 1) {
    dc.Put(code, px + m_nCellW / 8, py + m_nCellH / 16 - 1);
  } else {
    dc.Put(code, px, py);
  }
}

// --- after a loss ---

void Font::Restore() {
  if (lpDTCon) {
    RestoreTextObjects();
    for (FastFont* cache : {m_lpFastFont_Half.get(), m_lpFastFont_FullAdd.get()}) {
      if (!cache || !cache->m_sdCache.bLost) continue;
      if (cache == m_lpFastFont_Half.get())
        BuildHalfCache(1);
      else
        BuildFullCache(1);
      cache->m_sdCache.bLost = 0;
    }
    return;
  }
  if (IsLost(m_sdWork)) m_sdWork.lpDDS->lpSurface->Restore();
  if (m_lpFastFont_Half && IsLost(m_lpFastFont_Half->m_sdCache)) {
    m_lpFastFont_Half->m_sdCache.lpDDS->lpSurface->Restore();
    BuildHalfCache(1);
  }
  if (m_lpFastFont_FullAdd && IsLost(m_lpFastFont_FullAdd->m_sdCache)) {
    m_lpFastFont_FullAdd->m_sdCache.lpDDS->lpSurface->Restore();
    BuildFullCache(1);
  }
}
