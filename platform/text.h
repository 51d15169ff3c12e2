#pragma once
// Text in the project's fonts. A face is found by its Shift-JIS name and
// sized as the system's fonts always were: a positive height is the cell
// height (ascent plus descent), a negative one the em size. Glyphs come out
// placed on whole pixels, monochrome for colour-keyed surfaces or as 8-bit
// coverage for blended drawing; characters the face lacks come from IPA
// Gothic. Every function here may be called from any thread.
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace plat::text {

enum class GlyphMode {
  Mono,      // each pixel 0 or 255: drawn in the text colour or not at all
  Coverage,  // each pixel 0..255: how much of it the glyph covers
};

// In pixels.
struct FaceMetrics {
  int height = 0;    // cell height: ascent + descent; also the height a text measures
  int ascent = 0;    // the baseline lies this far below the cell's top
  int descent = 0;   // lowest pixel row below the baseline
  int avgWidth = 0;  // average character width (the width asked for, when one was)
  int emPixels = 0;  // em size, rounded
};

// One rendered character. `pixels` holds width × height bytes, row after row,
// in the values of its GlyphMode.
struct Glyph {
  int left = 0;     // first column, right of the pen position (may be negative)
  int top = 0;      // first row, below the cell's top (may be negative)
  int width = 0;
  int height = 0;
  int advance = 0;  // pen movement in whole pixels; kerning is never applied
  bool fallback = false;  // drawn by IPA Gothic because the face lacks it
  std::vector<uint8_t> pixels;
};

// An 8-bit buffer that DrawMask writes into.
struct MaskView {
  uint8_t* pixels = nullptr;
  int width = 0;
  int height = 0;
  int pitch = 0;  // bytes from one row to the next
};

// Character codes are Shift-JIS codes: a single byte 0x00-0xFF, or
// lead << 8 | trail for a double-byte character.
// The code of the character at p (p < end) and the bytes it takes (1 or 2).
// A lead byte without a valid trail byte is a character of its own.
unsigned NextCode(const char* p, const char* end, int* bytes);

// A face at one size. Shared by whoever opened it; its glyph cache keeps at
// most kGlyphCacheCapacity rendered glyphs, the least recently used leaving
// first (a glyph a caller still holds stays valid).
class Face {
 public:
  struct Impl;
  explicit Face(std::unique_ptr<Impl> impl);
  ~Face();
  Face(const Face&) = delete;
  Face& operator=(const Face&) = delete;

  const FaceMetrics& Metrics() const;
  const std::string& File() const;    // host path of the font file
  const std::string& Family() const;  // family name as the file gives it (UTF-8)
  bool IsBitmap() const;              // a fixed strike of a bitmap font

  // The rendered glyph of a character code. Never null: a character no face
  // has draws as the face's missing-character box.
  std::shared_ptr<const Glyph> GetGlyph(unsigned code, GlyphMode mode);
  int Advance(unsigned code);

  // Width of a Shift-JIS text on one line: the sum of its advances. Every
  // byte is a character here, '\n' too (callers split lines first).
  int TextWidth(const char* sjis, size_t len);

  // Draws a Shift-JIS text on one line with its cell's top-left corner at
  // (x, y) (the baseline at y + ascent) into `mask`, keeping the larger value
  // where glyphs overlap; pixels outside the mask are left out. Returns the pen
  // position after the text.
  int DrawMask(const char* sjis, size_t len, GlyphMode mode, const MaskView& mask, int x, int y);

  size_t CachedGlyphs() const;

 private:
  std::unique_ptr<Impl> m_impl;
};

constexpr size_t kGlyphCacheCapacity = 1024;

// Opens the face named `sjisName` (Shift-JIS) at `height` pixels (positive:
// cell height; negative: em size; 0: an em of 12) and `width` (0 keeps the
// face's proportions, another value is the average character width; bitmap
// faces ignore it and take the strike nearest the height). Heights and widths
// are held to 1024 pixels. The name resolves, in this order, to a font file
// registered by RegisterFontFile; for the Japanese gothic and mincho faces of
// the project's font list, IPA Gothic, IPA P Gothic, IPA Mincho or IPA P
// Mincho; a face fontconfig knows by that family name; IPA Gothic.
// `reportLine`, when given, receives a line for the report log naming the
// file, or, when no face exists at all (null is returned then), the font
// packages to install.
std::shared_ptr<Face> OpenFace(const std::string& sjisName, int height, int width,
                               std::string* reportLine = nullptr);

// Starts, on a thread of its own, the slow part of opening the first face:
// fontconfig reading its configuration and the font list, FreeType, and the
// code table. A face opened meanwhile waits for it; a second call does
// nothing. Faces then open as they would without it.
void WarmUp();

// Makes the faces of a font file (BDF, PCF, TrueType, OpenType) found by
// their family names before any other. False when FreeType cannot read it.
bool RegisterFontFile(const std::string& hostPath);
// Forgets every registered file (tests).
void ForgetRegisteredFonts();
// Off: fontconfig and the installed IPA fonts are not searched, as on a
// machine without fonts (tests). On by default.
void UseSystemFonts(bool on);

// The dialogs' text: IPA P Gothic at 9 points (12 pixels to the em).
inline constexpr const char* kDialogFace = "IPAPGothic";
constexpr int kDialogEmPixels = 12;

// Measures a Shift-JIS text in the face `sjisFace` at `emPixels` to the em:
// width of its widest line, height = lines × the face's line height ('\n'
// starts a line). False (and 0 × 0) when no face exists. Called by the dialog
// toolkit on the main thread.
bool MeasureText(const std::string& sjisFace, int emPixels, const std::string& sjis, int* width,
                 int* height);

// Draws a Shift-JIS text as MeasureText lays it out, its first line's cell
// top-left at (x, y), onto 32-bit pixels (0x00RRGGBB in the low 24 bits; the
// top byte is kept), blending `rgb` by each pixel's coverage. Pixels outside
// width × height are left out; `pitch` is in pixels. False when no face exists.
bool DrawTextPixels32(uint32_t* pixels, int width, int height, int pitch, int x, int y,
                      const std::string& sjisFace, int emPixels, const std::string& sjis,
                      uint32_t rgb);

}  // namespace plat::text
