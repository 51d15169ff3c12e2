// Laying glyphs out on pixels: the mask the fonts draw with, and the dialogs'
// text on 32-bit pixels.
#include <algorithm>
#include <climits>
#include <map>

#include "platform/text_internal.h"

namespace plat::text {
namespace {

// Glyphs farther than this outside a buffer are only measured.
constexpr long long kReach = 1 << 14;

template <class Put>
void ForEachPixel(const Glyph& g, int width, int height, long long gx, long long gy, Put put) {
  long long x0 = std::max<long long>(0, -gx);
  long long x1 = std::min<long long>(g.width, width - gx);
  for (int r = 0; r < g.height; r++) {
    long long ty = gy + r;
    if (ty < 0 || ty >= height) continue;
    const uint8_t* src = &g.pixels[static_cast<size_t>(r) * g.width];
    for (long long c = x0; c < x1; c++) {
      if (src[c]) put(static_cast<int>(gx + c), static_cast<int>(ty), src[c]);
    }
  }
}

// The dialogs ask for one face at a few sizes; those stay open.
std::shared_ptr<Face> DialogFace(const std::string& sjisFace, int emPixels) {
  using Faces = std::map<std::pair<std::string, int>, std::shared_ptr<Face>>;
  static std::mutex* mutex = new std::mutex;  // kept, with the faces, for the process
  static Faces& faces = *new Faces;
  static unsigned generation = 0;
  std::lock_guard<std::mutex> lock(*mutex);
  unsigned now;
  {
    std::lock_guard<std::mutex> textLock(detail::Lock());
    now = detail::Generation();
  }
  if (now != generation) {
    faces.clear();
    generation = now;
  }
  auto key = std::make_pair(sjisFace.substr(0, 256), emPixels);
  auto it = faces.find(key);
  if (it != faces.end()) return it->second;
  std::shared_ptr<Face> face = OpenFace(key.first, -std::max(1, emPixels), 0);
  if (face) {
    if (faces.size() >= 8) faces.erase(faces.begin());
    faces.emplace(key, face);
  }
  return face;
}

uint32_t Blend(uint32_t dst, uint32_t rgb, unsigned a) {
  uint32_t out = dst & 0xFF000000u;
  for (int shift = 0; shift <= 16; shift += 8) {
    unsigned d = dst >> shift & 0xFF;
    unsigned s = rgb >> shift & 0xFF;
    out |= ((d * (255 - a) + s * a + 127) / 255) << shift;
  }
  return out;
}

}  // namespace

int Face::DrawMask(const char* sjis, size_t len, GlyphMode mode, const MaskView& mask, int x,
                   int y) {
  std::lock_guard<std::mutex> lock(detail::Lock());
  long long pen = x;
  const char* end = sjis + len;
  for (const char* p = sjis; p < end;) {
    int bytes;
    unsigned code = NextCode(p, end, &bytes);
    p += bytes;
    if (!mask.pixels || pen < -kReach || pen > mask.width + kReach) {
      pen += m_impl->AdvanceLocked(code);
      continue;
    }
    std::shared_ptr<const Glyph> g = m_impl->GlyphLocked(code, mode);
    ForEachPixel(*g, mask.width, mask.height, pen + g->left, static_cast<long long>(y) + g->top,
                 [&](int px, int py, uint8_t v) {
                   uint8_t& d = mask.pixels[static_cast<ptrdiff_t>(py) * mask.pitch + px];
                   d = std::max(d, v);
                 });
    pen += g->advance;
  }
  return static_cast<int>(std::clamp<long long>(pen, INT_MIN, INT_MAX));
}

bool MeasureText(const std::string& sjisFace, int emPixels, const std::string& sjis, int* width,
                 int* height) {
  *width = 0;
  *height = 0;
  std::shared_ptr<Face> face = DialogFace(sjisFace, emPixels);
  if (!face) return false;
  int lines = 1;
  size_t start = 0;
  for (;;) {
    size_t stop = sjis.find('\n', start);
    size_t n = (stop == std::string::npos ? sjis.size() : stop) - start;
    *width = std::max(*width, face->TextWidth(sjis.data() + start, n));
    if (stop == std::string::npos) break;
    start = stop + 1;
    lines++;
  }
  *height = static_cast<int>(std::min<long long>(
      static_cast<long long>(lines) * face->Metrics().height, INT_MAX));
  return true;
}

bool DrawTextPixels32(uint32_t* pixels, int width, int height, int pitch, int x, int y,
                      const std::string& sjisFace, int emPixels, const std::string& sjis,
                      uint32_t rgb) {
  std::shared_ptr<Face> face = DialogFace(sjisFace, emPixels);
  if (!face) return false;
  if (!pixels || width <= 0 || height <= 0) return true;
  long long pen = x;
  long long top = y;
  const char* end = sjis.data() + sjis.size();
  for (const char* p = sjis.data(); p < end;) {
    if (*p == '\n') {
      pen = x;
      top += face->Metrics().height;
      p++;
      continue;
    }
    int bytes;
    unsigned code = NextCode(p, end, &bytes);
    p += bytes;
    if (pen < -kReach || pen > width + kReach || top < -kReach || top > height + kReach) {
      pen += face->Advance(code);
      continue;
    }
    std::shared_ptr<const Glyph> g = face->GetGlyph(code, GlyphMode::Coverage);
    ForEachPixel(*g, width, height, pen + g->left, top + g->top, [&](int px, int py, uint8_t a) {
      uint32_t& d = pixels[static_cast<ptrdiff_t>(py) * pitch + px];
      d = Blend(d, rgb, a);
    });
    pen += g->advance;
  }
  return true;
}

}  // namespace plat::text
