#pragma once
// Text in the project's fonts. Every text of the game is Shift-JIS drawn with
// one of the three system fonts (SysFont), made at start-up from FontSpec in
// the project's face. A font with a cell size is fixed-pitch: each character,
// half- or full-width, takes one cell and may come from the glyph caches (a
// sheet of the single-byte codes and a sheet of full-width characters that
// fills up on demand). Lower-case letters can stand for icons of an icon
// sheet, and a font draws framed boxes around its texts.
//
// Everything here runs on the thread that draws (the game thread, or the
// main thread at start-up, shutdown and after a device reset). Positions and
// sizes are pixels.
#include <cstdint>
#include <memory>
#include <vector>

#include "base/text_format.h"
#include "media/dd_surface.h"
#include "media/font_def.h"

namespace plat::text {
class Face;
}
class FastFont;
class cGlyphPen;
class cTextAtlas;
class cTextSprite;

// A value that centres a box (x or y of DrawBox and DrawTextInBox).
constexpr int FONT_CENTRE = 10000;

class Font {
 public:
  Font();
  virtual ~Font();
  Font(const Font&) = delete;
  Font& operator=(const Font&) = delete;

  // Sets the font up: its face (the report log names the file that draws it),
  // colour, box, icons, the work surface, and with cacheFlag and both cell
  // sizes the glyph caches (made anew on a repeated call). False when no face
  // exists at all or the work surface cannot be made (then the program is
  // asked to close). The face name is read up to its first NUL, at most 256 bytes.
  bool Create(const char* face, int width, int height, int cellW, int cellH, int colorNum, DDSURFACEDATA* boxSD,
              int frame, int frameColor, DDSURFACEDATA* iconSD, int cacheFlag);
  // Frees the face, the 3D text objects, both caches and the work surface,
  // and leaves FontList. A second call does nothing.
  void Release();
  // After a loss of the display or a reset of the 3D device: rebuilds the
  // glyph caches that were lost, with the same characters in the same cells.
  void Restore();

  // Draws a Shift-JIS text with its first cell's top-left corner at (x, y);
  // '\n' starts a line one cell height lower. Icons ('a'..'z') unless bPlain.
  // 0 when nothing could be drawn (no face, a null text, a failed 3D scene).
  int DrawText(DDSURFACEDATA* target, int x, int y, const char* text, int bPlain);
  int DrawTextF(DDSURFACEDATA* target, int x, int y, const char* format, ...) PRINTF_LIKE(5, 6);

  // A framed box of w × h with the font's box image, frame and frame colour;
  // FONT_CENTRE for x or y centres it in the box image (on the screen
  // without one).
  void DrawBox(DDSURFACEDATA* target, int x, int y, int w, int h);
  // Draws a framed box of w × h dots at (x, y) with the font's box image and
  // frame, then the Shift-JIS text in it, `margin` dots in from the left edge
  // ('\n' starts a line one cell lower). A w or h of 0 takes the text's
  // extent; an x or y of 10000 centres the box in the box image. The text is
  // drawn as it stands. Returns 0 when nothing could be drawn.
  virtual int DrawTextBox(DDSURFACEDATA* target, int x, int y, int w, int h, const char* text, int margin);
  // The same; `colour` is not used (the font's own colour draws).
  int DrawTextInBox(DDSURFACEDATA* target, int x, int y, int w, int h, const char* text, int margin, uint32_t colour);
  // printf-style, then a box fitted to the text where w or h is 0, no margin.
  int DrawTextBoxF(DDSURFACEDATA* target, int x, int y, int w, int h, const char* format, ...) PRINTF_LIKE(7, 8);

  // Cell mode: out[0] = the widest line in characters × the cell width,
  // out[1] = lines × the line height.
  void GetTextExtentFixed(int out[2], const char* text) const;
  // By the face: out[0] = the widest line in pixels, out[1] = lines × the
  // line height. Message windows measure with it.
  void GetTextExtentGdi(int out[2], const char* text) const;

  // The caches drawn anew: every single-byte code in its cell, and the
  // preloaded (or, as a restore, the cached) full-width characters in order.
  void BuildHalfCache(int bRestore);
  void BuildFullCache(int bRestore);
  // The glyphs of a text: the uncached ones with `dc` at (x, y), the cached
  // ones copied onto cacheTarget at (cx, cy). Result of the batch.
  int DrawGlyphs(DDSURFACEDATA* surface, cGlyphPen& dc, int x, int y, DDSURFACEDATA* cacheTarget, int cx, int cy,
                 const char* text, int bIcons);
  // The icons of a text's 'a'..'z' at the cells the glyphs take.
  void DrawIcons(DDSURFACEDATA* target, int x, int y, const char* text);

  // Full-width characters in the cache (0 without one).
  int CachedFullChars() const;
  // Pixels from one line of text to the next: the cell height, else the face's.
  int GetLineHeight() const { return LineHeight(); }

  int32_t m_nID = 0;
  std::shared_ptr<plat::text::Face> m_hFont;  // the face at the font's size
  std::unique_ptr<cTextAtlas> m_lpFont;       // 3D: the face's glyphs as coverage on a texture
  std::unique_ptr<cTextSprite> m_lpSprite;    // 3D: the quads the atlas draws through
  const char* m_szFace = nullptr;             // the name as given (points into the definition)
  int32_t m_nWidth = 0, m_nHeight = 0;
  // 0 = proportional. The cell height is the line height in both modes (the
  // face's height where it is not set).
  int32_t m_nCellW = 0, m_nCellH = 0;
  int32_t m_nColorNum = 0;
  // 3D: 0xFF000000 | red << 16 | green << 8 | blue of CurPalette[m_nColorNum];
  // software display: 0x00BBGGRR (at 16 bits each channel widened to 0-255).
  uint32_t m_dwColor = 0;
  int32_t m_bCentre = 0;   // each glyph centred in its cell
  DDSURFACEDATA m_sdWork;  // screen-sized, colour-keyed; made by MakeWorkSurface
  DDSURFACEDATA* m_lpBoxSD = nullptr;
  int32_t m_nFrameThick = 0;
  int32_t m_nFrameColor = 0;
  DDSURFACEDATA* m_lpIconSD = nullptr;
  int32_t m_bIcon = 0;   // 'a'..'z' draw as icons
  int32_t m_nCache = 0;  // the glyph caches are used
  std::unique_ptr<FastFont> m_lpFastFont_Half;
  std::unique_ptr<FastFont> m_lpFastFont_FullAdd;

 private:
  bool CellMode() const { return m_nCellW > 0; }
  // The extent by the font's mode: cells, else the face.
  void TextExtent(int out[2], const char* text) const;
  int LineHeight() const;
  bool HasCaches() const;
  // The work surface, made on first need; false (and the close asked for) when it cannot be.
  bool MakeWorkSurface();
  void MakeCaches(int cacheFlag);
  void DropCaches();
  // The glyph of one character (1 or 2 bytes) for the cell at (px, py).
  void DrawGlyph(cGlyphPen& dc, const char* ch, int bytes, int64_t px, int64_t py);
  // Into cell (cellX, cellY) of a cache sheet.
  void DrawGlyphInCell(FastFont& cache, int cellX, int cellY, const char* ch, int bytes);
  int DrawTextSoftware(DDSURFACEDATA* target, int x, int y, const char* text, int bIcons);
  // The 3D device's side: the text objects and their drawing.
  bool CreateTextObjects();
  void ReleaseTextObjects();
  void RestoreTextObjects();
  int DrawText3D(DDSURFACEDATA* target, int x, int y, const char* text, int bIcons);
  void DrawGlyphInCell3D(FastFont& cache, int cellX, int cellY, const char* ch, int bytes);
};

// Bytes of text up to the first '\n' or the end.
int LineLength(const char* text);

// Every font made by Font::Create, once each, in the order they were first
// made; the recovery after a display loss walks it.
class cFontList {
 public:
  void Add(Font* font);
  void Remove(Font* font);
  int Count() const { return static_cast<int>(m_vFonts.size()); }
  Font* At(int i) const { return m_vFonts[static_cast<size_t>(i)]; }

 private:
  std::vector<Font*> m_vFonts;
};
// Never destroyed, so fonts that outlive it at exit can still leave it.
extern cFontList& FontList;

// The three system fonts (made from FontSpec): 0 (10-dot cells) the numbers
// of the head-up display and the frame rate, 1 (16-dot cells) menus, messages
// and the head-up display, 2 (32-dot cells) the big captions.
extern Font SysFont[SYSTEM_FONT_COUNT];

// Font::Create for each definition, the box image and icon sheet taken from
// the surface table by index (an index outside the table gives none). 1, or
// 0 when a font could not be made.
int CreateFonts(Font fonts[], const FONTDEF defs[], int n);
// For each i an empty sheet ten cells wide and one cell high of fontDefs[i]
// (colour key and memory types from defs[i]) with the digits drawn by font i. 1.
int CreateDigitSurfaces(DDSURFACEDATA out[], const DDSURFACEDEF defs[], int n, Font fonts[], const FONTDEF fontDefs[]);
// Fills the sheet with colour value 0 (palette number 0; it need not be the
// transparent colour) and draws "0123456789" at (0, 0).
void DrawDigitStrip(DDSURFACEDATA* lpSD, Font& font);
// Software display, each frame after a loss: every lost sheet is restored,
// and one in video memory gets its digits again from font i. 1.
int RestoreDigitSurfaces(DDSURFACEDATA sheets[], Font fonts[], int n);

// Start-up, after the surface table is loaded: the project's face into
// FontSpec, the cache setting 2 resolved from System.ini for the running back
// end, the fonts, the project's centring and icon letters for font 1, and the
// digit sheets. False when a font could not be made.
bool CreateSystemFonts();
// Shutdown while the drawing layer is still up: the report log is told how
// many full-width characters fonts 0 and 1 cached.
void ReportFontCacheUse();
// Shutdown: releases the three fonts and their digit sheets.
void ReleaseSystemFonts();
