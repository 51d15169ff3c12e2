#include "tools/sample/indexed_image.h"

#include <cstdlib>
#include <cstring>

namespace {

// 5 × 7 glyphs, one string of five '#'/'.' columns per row.
struct GLYPH {
  char ch;
  const char* rows[7];
};

const GLYPH kGlyphs[] = {
    {'0', {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."}},
    {'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}},
    {'3', {"#####", "...#.", "..#..", "...#.", "....#", "#...#", ".###."}},
    {'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."}},
    {'5', {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."}},
    {'6', {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."}},
    {'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."}},
    {'8', {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."}},
    {'9', {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."}},
    {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}},
    {'C', {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."}},
    {'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}},
    {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
    {'F', {"#####", "#....", "#....", "####.", "#....", "#....", "#...."}},
    {'G', {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"}},
    {'H', {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'I', {".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'J', {"..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."}},
    {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
    {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
    {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
    {'N', {"#...#", "#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#"}},
    {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
    {'Q', {".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"}},
    {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
    {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
    {'W', {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."}},
    {'X', {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"}},
    {'Y', {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."}},
    {'Z', {"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"}},
    {'!', {"..#..", "..#..", "..#..", "..#..", "..#..", ".....", "..#.."}},
    {'?', {".###.", "#...#", "....#", "...#.", "..#..", ".....", "..#.."}},
    {'-', {".....", ".....", ".....", "#####", ".....", ".....", "....."}},
    {'+', {".....", "..#..", "..#..", "#####", "..#..", "..#..", "....."}},
    {':', {".....", "..#..", "..#..", ".....", "..#..", "..#..", "....."}},
    {'.', {".....", ".....", ".....", ".....", ".....", ".##..", ".##.."}},
};

const GLYPH* FindGlyph(char ch) {
  for (const GLYPH& g : kGlyphs)
    if (g.ch == ch) return &g;
  return nullptr;
}

void PutLE16(std::string& s, uint32_t v) {
  s.push_back(static_cast<char>(v & 0xFF));
  s.push_back(static_cast<char>((v >> 8) & 0xFF));
}

void PutLE32(std::string& s, uint32_t v) {
  PutLE16(s, v & 0xFFFF);
  PutLE16(s, v >> 16);
}

}  // namespace

cIndexedImage::cIndexedImage(int w, int h, int fill)
    : m_nWidth(w > 0 ? w : 0),
      m_nHeight(h > 0 ? h : 0),
      m_vPixels(static_cast<size_t>(m_nWidth) * static_cast<size_t>(m_nHeight), static_cast<uint8_t>(fill)) {}

int cIndexedImage::At(int x, int y) const {
  if (x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight) return 0;
  return m_vPixels[static_cast<size_t>(y) * m_nWidth + x];
}

void cIndexedImage::Set(int x, int y, int entry) {
  if (x < 0 || y < 0 || x >= m_nWidth || y >= m_nHeight) return;
  m_vPixels[static_cast<size_t>(y) * m_nWidth + x] = static_cast<uint8_t>(entry);
}

void cIndexedImage::FillRect(int x, int y, int w, int h, int entry) {
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w; ++i) Set(x + i, y + j, entry);
}

void cIndexedImage::Frame(int x, int y, int w, int h, int entry) {
  if (w <= 0 || h <= 0) return;
  FillRect(x, y, w, 1, entry);
  FillRect(x, y + h - 1, w, 1, entry);
  FillRect(x, y, 1, h, entry);
  FillRect(x + w - 1, y, 1, h, entry);
}

void cIndexedImage::Gradient(int x, int y, int w, int h, int hue, int first, int last) {
  for (int j = 0; j < h; ++j) {
    const int shade = h > 1 ? first + (last - first) * j / (h - 1) : first;
    FillRect(x, y + j, w, 1, pal::Shade(hue, shade));
  }
}

void cIndexedImage::Disc(int cx, int cy, int r, int entry) {
  // (i² + j²) ≤ (r + 0.5)², in quarters to stay in integers.
  const int limit = (2 * r + 1) * (2 * r + 1);
  for (int j = -r; j <= r; ++j)
    for (int i = -r; i <= r; ++i)
      if (4 * (i * i + j * j) <= limit) Set(cx + i, cy + j, entry);
}

void cIndexedImage::Line(int x0, int y0, int x1, int y1, int entry) {
  const int dx = std::abs(x1 - x0), dy = -std::abs(y1 - y0);
  const int sx = x0 < x1 ? 1 : -1, sy = y0 < y1 ? 1 : -1;
  int err = dx + dy;
  for (;;) {
    Set(x0, y0, entry);
    if (x0 == x1 && y0 == y1) break;
    const int e2 = 2 * err;
    if (e2 >= dy) {
      err += dy;
      x0 += sx;
    }
    if (e2 <= dx) {
      err += dx;
      y0 += sy;
    }
  }
}

void cIndexedImage::Text(int x, int y, const std::string& text, int scale, int entry) {
  for (char ch : text) {
    if (const GLYPH* g = FindGlyph(ch)) {
      for (int row = 0; row < 7; ++row)
        for (int col = 0; col < 5; ++col)
          if (g->rows[row][col] == '#') FillRect(x + col * scale, y + row * scale, scale, scale, entry);
    }
    x += 6 * scale;
  }
}

int cIndexedImage::TextWidth(const std::string& text, int scale) {
  return text.empty() ? 0 : static_cast<int>(text.size()) * 6 * scale - scale;
}

void cIndexedImage::MirrorRect(int x, int y, int w, int h) {
  for (int j = 0; j < h; ++j)
    for (int i = 0; i < w / 2; ++i) {
      const int left = At(x + i, y + j), right = At(x + w - 1 - i, y + j);
      Set(x + i, y + j, right);
      Set(x + w - 1 - i, y + j, left);
    }
}

std::string cIndexedImage::BmpBytes(const SamplePalette& palette) const {
  const uint32_t stride = (static_cast<uint32_t>(m_nWidth) + 3u) & ~3u;
  const uint32_t pixelBytes = stride * static_cast<uint32_t>(m_nHeight);
  const uint32_t headerBytes = 14 + 40 + 256 * 4;
  std::string s;
  s.reserve(headerBytes + pixelBytes);
  // File header.
  s += "BM";
  PutLE32(s, headerBytes + pixelBytes);
  PutLE32(s, 0);
  PutLE32(s, headerBytes);
  // Info header: positive height (bottom-up), one plane, 8 bits, no
  // compression, all 256 colours used.
  PutLE32(s, 40);
  PutLE32(s, static_cast<uint32_t>(m_nWidth));
  PutLE32(s, static_cast<uint32_t>(m_nHeight));
  PutLE16(s, 1);
  PutLE16(s, 8);
  PutLE32(s, 0);
  PutLE32(s, pixelBytes);
  PutLE32(s, 2835);  // 72 dots per inch
  PutLE32(s, 2835);
  PutLE32(s, 256);
  PutLE32(s, 0);
  for (const SAMPLERGB& c : palette) {
    s.push_back(static_cast<char>(c.b));
    s.push_back(static_cast<char>(c.g));
    s.push_back(static_cast<char>(c.r));
    s.push_back('\0');
  }
  for (int y = m_nHeight - 1; y >= 0; --y) {
    s.append(reinterpret_cast<const char*>(m_vPixels.data()) + static_cast<size_t>(y) * m_nWidth,
             static_cast<size_t>(m_nWidth));
    s.append(stride - static_cast<uint32_t>(m_nWidth), '\0');
  }
  return s;
}
