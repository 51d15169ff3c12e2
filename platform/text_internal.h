#pragma once
// What the files of the text layer share; seen by platform/ only.
#include <ft2build.h>
#include FT_FREETYPE_H

#include <list>
#include <mutex>
#include <string>
#include <unordered_map>
#include <vector>

#include "platform/text.h"

namespace plat::text::detail {

// One lock over FreeType, fontconfig and every face's caches: faces are used
// from the game and the main thread, and FreeType objects are not shared
// safely by themselves.
std::mutex& Lock();

// The FreeType library, made on first use and kept for the process.
// Call with Lock() held.
FT_Library Library();

// The Unicode code point of a Shift-JIS code; 0 when it has none.
char32_t CodeToUnicode(unsigned code);

// A font file and the face within it.
struct FontFile {
  std::string path;
  int index = 0;
};

// Where a face name leads. `files` holds one file, or every registered file
// of the family (one per strike size of a bitmap family).
struct Resolution {
  std::vector<FontFile> files;
  const char* how = "";  // for the report line
};

// Call with Lock() held. False when no face exists at all.
bool Resolve(const std::string& sjisName, Resolution* out);
// IPA Gothic, for the characters a face lacks. Call with Lock() held.
bool FallbackFile(FontFile* out);
// Sets up fontconfig and finds IPA Gothic, as the first face would.
// Call with Lock() held.
void PrepareSystemFonts();
// Changes whenever names may lead elsewhere (a file registered or forgotten,
// system fonts switched), so that faces kept open by name are opened anew.
unsigned Generation();

}  // namespace plat::text::detail

namespace plat::text {

struct Face::Impl {
  ~Impl();

  std::string file;
  std::string family;
  FT_Face face = nullptr;
  bool bitmap = false;
  FT_F26Dot6 charWidth = 0;   // 26.6 pixels to the em, across
  FT_F26Dot6 charHeight = 0;  // and down; what the fallback face is set to
  FaceMetrics metrics;

  FT_Face fallback = nullptr;
  bool fallbackTried = false;

  // Advances by code, -1 where not measured yet; made on first use.
  std::vector<int16_t> advances;

  using Entry = std::pair<uint32_t, std::shared_ptr<const Glyph>>;
  std::list<Entry> lru;  // most recently used first
  size_t cacheBytes = 0;
  std::unordered_map<uint32_t, std::list<Entry>::iterator> index;

  // With Lock() held.
  std::shared_ptr<const Glyph> GlyphLocked(unsigned code, GlyphMode mode);
  int AdvanceLocked(unsigned code);

 private:
  // The face and glyph index that draw a code.
  void Pick(unsigned code, FT_Face* face, FT_UInt* glyph);
  FT_Face Fallback();
  int AdvanceOf(FT_Face face) const;
};

}  // namespace plat::text
