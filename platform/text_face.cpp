// A face at one size: how a height becomes a scale, and the glyphs it draws.
#include <ft2build.h>
#include FT_TRUETYPE_TABLES_H

#include <algorithm>
#include <climits>
#include <cmath>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>

#include "platform/text_encoding.h"
#include "platform/text_internal.h"

namespace plat::text {
namespace {

constexpr int kMaxPixels = 1024;     // largest height or width asked for
constexpr double kMaxEm = 2048.0;    // largest em, whatever a face's tables say
constexpr int kDefaultEm = 12;       // height 0
constexpr size_t kGlyphCacheBytes = 16u << 20;

int RoundToInt(double v) {
  if (!(v == v)) return 0;
  if (v >= INT_MAX) return INT_MAX;
  if (v <= INT_MIN) return INT_MIN;
  return static_cast<int>(std::lround(v));
}

// The strike of a bitmap face that best matches the height: by cell height,
// or by em for a negative height; on a tie the smaller one.
int StrikeDistance(const FT_Bitmap_Size& s, int height) {
  int size = height > 0 ? s.height : static_cast<int>((s.y_ppem + 32) >> 6);
  return std::abs(size - std::abs(height)) * 2 + (size > std::abs(height) ? 1 : 0);
}

bool SizeBitmap(Face::Impl& f, int height) {
  FT_Face face = f.face;
  int best = 0;
  for (int i = 1; i < face->num_fixed_sizes; i++) {
    if (StrikeDistance(face->available_sizes[i], height) <
        StrikeDistance(face->available_sizes[best], height)) {
      best = i;
    }
  }
  if (FT_Select_Size(face, best) != 0) return false;
  const FT_Size_Metrics& m = face->size->metrics;
  f.metrics.ascent = static_cast<int>((m.ascender + 32) >> 6);
  f.metrics.descent = static_cast<int>((-m.descender + 32) >> 6);
  f.metrics.height = f.metrics.ascent + f.metrics.descent;
  f.metrics.emPixels = m.y_ppem;
  const FT_Bitmap_Size& s = face->available_sizes[best];
  f.metrics.avgWidth = s.width > 0 ? s.width : static_cast<int>((m.max_advance + 32) >> 6);
  f.charWidth = s.x_ppem > 0 ? s.x_ppem : s.y_ppem;
  f.charHeight = s.y_ppem;
  f.bitmap = true;
  return true;
}

// Sized as the system's fonts: a positive height is the whole cell, the
// face's Windows ascent plus descent; a negative one the em.
bool SizeScalable(Face::Impl& f, int height, int width) {
  FT_Face face = f.face;
  double upem = face->units_per_EM > 0 ? face->units_per_EM : 1000;
  auto* os2 = static_cast<TT_OS2*>(FT_Get_Sfnt_Table(face, FT_SFNT_OS2));
  double winAscent = face->ascender;
  double winDescent = -face->descender;
  if (os2 && os2->version != 0xFFFF && os2->usWinAscent + os2->usWinDescent > 0) {
    winAscent = os2->usWinAscent;
    winDescent = os2->usWinDescent;
  }
  if (winAscent + winDescent <= 0) {
    winAscent = upem;
    winDescent = 0;
  }
  double avgUnits = os2 && os2->version != 0xFFFF && os2->xAvgCharWidth > 0
                        ? os2->xAvgCharWidth
                        : upem / 2;

  double em;
  if (height > 0) {
    em = height * upem / (winAscent + winDescent);
    f.metrics.height = height;
    f.metrics.ascent = RoundToInt(winAscent * height / (winAscent + winDescent));
    f.metrics.descent = height - f.metrics.ascent;
  } else {
    em = -height;
    f.metrics.ascent = RoundToInt(winAscent * em / upem);
    f.metrics.descent = RoundToInt(winDescent * em / upem);
    f.metrics.height = f.metrics.ascent + f.metrics.descent;
  }
  em = std::min(em, kMaxEm);
  double emAcross = em;
  if (width > 0) {
    emAcross = std::min(width * upem / avgUnits, kMaxEm);
    f.metrics.avgWidth = width;
  } else {
    f.metrics.avgWidth = RoundToInt(avgUnits * em / upem);
  }
  f.metrics.emPixels = RoundToInt(em);
  f.charHeight = std::max(1, RoundToInt(em * 64));
  f.charWidth = std::max(1, RoundToInt(emAcross * 64));
  return FT_Set_Char_Size(face, f.charWidth, f.charHeight, 72, 72) == 0;
}

// How many strikes sizes lie from a height, for choosing among the files of a
// registered family: a scalable face fits any height.
int FileDistance(FT_Face face, int height) {
  if (FT_IS_SCALABLE(face) || face->num_fixed_sizes <= 0) return 0;
  int best = INT_MAX;
  for (int i = 0; i < face->num_fixed_sizes; i++) {
    best = std::min(best, StrikeDistance(face->available_sizes[i], height));
  }
  return best;
}

// Opens the file of the list that fits the height best.
FT_Face OpenBest(const std::vector<detail::FontFile>& files, int height, std::string* path) {
  FT_Face best = nullptr;
  int bestDistance = INT_MAX;
  for (const detail::FontFile& file : files) {
    FT_Face face = nullptr;
    if (FT_New_Face(detail::Library(), file.path.c_str(), file.index, &face) != 0) continue;
    if (!FT_IS_SCALABLE(face) && face->num_fixed_sizes <= 0) {
      FT_Done_Face(face);
      continue;
    }
    int d = FileDistance(face, height);
    if (d < bestDistance) {
      if (best) FT_Done_Face(best);
      best = face;
      bestDistance = d;
      *path = file.path;
    } else {
      FT_Done_Face(face);
    }
  }
  return best;
}

__attribute__((format(printf, 1, 2))) std::string Line(const char* format, ...) {
  char line[1200];
  va_list args;
  va_start(args, format);
  vsnprintf(line, sizeof(line), format, args);
  va_end(args);
  return line;
}

}  // namespace

Face::Impl::~Impl() {
  if (fallback) FT_Done_Face(fallback);
  if (face) FT_Done_Face(face);
}

FT_Face Face::Impl::Fallback() {
  if (fallbackTried) return fallback;
  fallbackTried = true;
  detail::FontFile file;
  if (!detail::FallbackFile(&file)) return nullptr;
  FT_Face fb = nullptr;
  if (FT_New_Face(detail::Library(), file.path.c_str(), file.index, &fb) != 0) return nullptr;
  // A face that is IPA Gothic itself has nothing to borrow.
  if (!FT_IS_SCALABLE(fb) || (fb->family_name && family == fb->family_name) ||
      FT_Set_Char_Size(fb, charWidth, charHeight, 72, 72) != 0) {
    FT_Done_Face(fb);
    return nullptr;
  }
  FT_Select_Charmap(fb, FT_ENCODING_UNICODE);
  fallback = fb;
  return fallback;
}

void Face::Impl::Pick(unsigned code, FT_Face* out, FT_UInt* glyph) {
  *out = face;
  *glyph = 0;
  char32_t cp = detail::CodeToUnicode(code);
  if (cp == 0) return;
  if (FT_UInt g = FT_Get_Char_Index(face, cp)) {
    *glyph = g;
    return;
  }
  if (FT_Face fb = Fallback()) {
    if (FT_UInt g = FT_Get_Char_Index(fb, cp)) {
      *out = fb;
      *glyph = g;
    }
  }
}

// Whole pixels: outlines by their unhinted advance rounded once, so that
// monochrome and coverage glyphs and measuring all agree.
int Face::Impl::AdvanceOf(FT_Face f) const {
  long v = FT_IS_SCALABLE(f) ? (f->glyph->linearHoriAdvance + 0x8000) >> 16
                             : (f->glyph->advance.x + 32) >> 6;
  return static_cast<int>(std::clamp<long>(v, 0, SHRT_MAX));
}

int Face::Impl::AdvanceLocked(unsigned code) {
  if (code > 0xFFFF) return 0;
  if (advances.empty()) advances.assign(0x10000, -1);
  if (advances[code] >= 0) return advances[code];
  FT_Face f;
  FT_UInt g;
  Pick(code, &f, &g);
  int advance = FT_Load_Glyph(f, g, FT_LOAD_DEFAULT) == 0 ? AdvanceOf(f) : 0;
  advances[code] = static_cast<int16_t>(advance);
  return advance;
}

std::shared_ptr<const Glyph> Face::Impl::GlyphLocked(unsigned code, GlyphMode mode) {
  uint32_t key = code << 1 | (mode == GlyphMode::Coverage ? 1u : 0u);
  auto hit = index.find(key);
  if (hit != index.end()) {
    lru.splice(lru.begin(), lru, hit->second);
    return hit->second->second;
  }

  auto g = std::make_shared<Glyph>();
  g->advance = AdvanceLocked(code);
  FT_Face f;
  FT_UInt gi;
  Pick(code, &f, &gi);
  g->fallback = f != face;
  FT_Int32 flags = FT_LOAD_RENDER |
                   (mode == GlyphMode::Mono ? FT_LOAD_TARGET_MONO : FT_LOAD_TARGET_NORMAL);
  if (FT_Load_Glyph(f, gi, flags) == 0 &&
      (f->glyph->format == FT_GLYPH_FORMAT_BITMAP ||
       FT_Render_Glyph(f->glyph, mode == GlyphMode::Mono ? FT_RENDER_MODE_MONO
                                                         : FT_RENDER_MODE_NORMAL) == 0)) {
    const FT_Bitmap& b = f->glyph->bitmap;
    g->left = f->glyph->bitmap_left;
    g->top = metrics.ascent - f->glyph->bitmap_top;
    g->width = static_cast<int>(b.width);
    g->height = static_cast<int>(b.rows);
    g->pixels.assign(static_cast<size_t>(g->width) * g->height, 0);
    int stride = std::abs(b.pitch);
    for (int y = 0; y < g->height; y++) {
      const unsigned char* row =
          b.buffer + static_cast<ptrdiff_t>(b.pitch >= 0 ? y : g->height - 1 - y) * stride;
      uint8_t* out = &g->pixels[static_cast<size_t>(y) * g->width];
      for (int x = 0; x < g->width; x++) {
        unsigned v = 0;
        switch (b.pixel_mode) {
          case FT_PIXEL_MODE_MONO:
            v = (row[x >> 3] & (0x80 >> (x & 7))) ? 255 : 0;
            break;
          case FT_PIXEL_MODE_GRAY:
            v = b.num_grays > 1 ? row[x] * 255u / (b.num_grays - 1) : row[x];
            break;
          case FT_PIXEL_MODE_BGRA:
            v = row[x * 4 + 3];
            break;
          default:
            break;
        }
        if (mode == GlyphMode::Mono) v = v >= 128 ? 255 : 0;
        out[x] = static_cast<uint8_t>(std::min(v, 255u));
      }
    }
  } else {
    g->top = 0;
  }

  lru.emplace_front(key, g);
  index[key] = lru.begin();
  cacheBytes += g->pixels.size() + sizeof(Glyph);
  while (lru.size() > 1 && (lru.size() > kGlyphCacheCapacity || cacheBytes > kGlyphCacheBytes)) {
    cacheBytes -= lru.back().second->pixels.size() + sizeof(Glyph);
    index.erase(lru.back().first);
    lru.pop_back();
  }
  return g;
}

Face::Face(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}

Face::~Face() {
  std::lock_guard<std::mutex> lock(detail::Lock());
  m_impl.reset();
}

const FaceMetrics& Face::Metrics() const { return m_impl->metrics; }
const std::string& Face::File() const { return m_impl->file; }
const std::string& Face::Family() const { return m_impl->family; }
bool Face::IsBitmap() const { return m_impl->bitmap; }

std::shared_ptr<const Glyph> Face::GetGlyph(unsigned code, GlyphMode mode) {
  std::lock_guard<std::mutex> lock(detail::Lock());
  return m_impl->GlyphLocked(code, mode);
}

int Face::Advance(unsigned code) {
  std::lock_guard<std::mutex> lock(detail::Lock());
  return m_impl->AdvanceLocked(code);
}

int Face::TextWidth(const char* sjis, size_t len) {
  std::lock_guard<std::mutex> lock(detail::Lock());
  long long width = 0;
  const char* end = sjis + len;
  for (const char* p = sjis; p < end;) {
    int bytes;
    width += m_impl->AdvanceLocked(NextCode(p, end, &bytes));
    p += bytes;
  }
  return static_cast<int>(std::min<long long>(width, INT_MAX));
}

size_t Face::CachedGlyphs() const {
  std::lock_guard<std::mutex> lock(detail::Lock());
  return m_impl->lru.size();
}

std::shared_ptr<Face> OpenFace(const std::string& sjisName, int height, int width,
                               std::string* reportLine) {
  int h = height == 0 ? -kDefaultEm : std::clamp(height, -kMaxPixels, kMaxPixels);
  int w = std::min(width == INT_MIN ? kMaxPixels : std::abs(width), kMaxPixels);

  std::lock_guard<std::mutex> lock(detail::Lock());
  auto impl = std::make_unique<Face::Impl>();
  detail::Resolution where;
  if (detail::Library() && detail::Resolve(sjisName, &where)) {
    impl->face = OpenBest(where.files, h, &impl->file);
  }
  // A file that cannot be read leaves IPA Gothic in its place.
  detail::FontFile ipa;
  if (!impl->face && detail::Library() && detail::FallbackFile(&ipa)) {
    impl->face = OpenBest({ipa}, h, &impl->file);
    where.how = "IPA Gothic in place of an unreadable file";
  }
  std::string name = sjisName.substr(0, 256);
  if (!impl->face) {
    if (reportLine) {
      *reportLine = Line(
          "Font \"%s\" height %d width %d: no font found; install the packages "
          "fonts-ipafont-gothic and fonts-ipafont-mincho",
          name.c_str(), height, width);
    }
    return nullptr;
  }
  FT_Select_Charmap(impl->face, FT_ENCODING_UNICODE);
  impl->family = impl->face->family_name ? impl->face->family_name : "";
  std::string file = Utf8ToCp932(impl->file).substr(0, 400);
  bool sized = FT_IS_SCALABLE(impl->face) ? SizeScalable(*impl, h, w) : SizeBitmap(*impl, h);
  if (!sized) {
    if (reportLine) {
      *reportLine = Line("Font \"%s\" height %d width %d: %s cannot be sized", name.c_str(),
                         height, width, file.c_str());
    }
    return nullptr;
  }
  if (reportLine) {
    *reportLine = Line("Font \"%s\" height %d width %d: %s (%s, %s)", name.c_str(), height,
                       width, file.c_str(), Utf8ToCp932(impl->family).substr(0, 100).c_str(),
                       where.how);
  }
  return std::make_shared<Face>(std::move(impl));
}

}  // namespace plat::text
