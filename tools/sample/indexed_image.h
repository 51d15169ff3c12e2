#pragma once
// An 8-bit image in memory (one palette entry per pixel) with the few
// drawing operations the sample's pictures are made of, and its file as an
// uncompressed 8-bit BMP with the sample palette. Every operation clips to
// the image, so a shape may run over its edge.
#include <cstdint>
#include <string>
#include <vector>

#include "tools/sample/sample_palette.h"

class cIndexedImage {
 public:
  // A w × h image filled with entry `fill`.
  cIndexedImage(int w, int h, int fill = pal::kKey);

  int Width() const { return m_nWidth; }
  int Height() const { return m_nHeight; }
  // The entry at (x, y); 0 outside the image.
  int At(int x, int y) const;

  void Set(int x, int y, int entry);
  void FillRect(int x, int y, int w, int h, int entry);
  // A rectangle's outline, one pixel wide.
  void Frame(int x, int y, int w, int h, int entry);
  // Rows of a rectangle from shade `first` to shade `last` of one hue, top to bottom.
  void Gradient(int x, int y, int w, int h, int hue, int first, int last);
  // A filled disc of radius r (pixels whose centre lies within r + 0.5).
  void Disc(int cx, int cy, int r, int entry);
  // A line from (x0, y0) to (x1, y1), both ends drawn.
  void Line(int x0, int y0, int x1, int y1, int entry);
  // Text in the built-in 5 × 7 capitals and digits, each pixel scale × scale,
  // one pixel of scale between characters; unknown characters leave a gap.
  void Text(int x, int y, const std::string& text, int scale, int entry);
  // The width Text takes for a text.
  static int TextWidth(const std::string& text, int scale);
  // The image mirrored left to right (for drawings that face the other way).
  void MirrorRect(int x, int y, int w, int h);

  // The bytes of an 8-bit bottom-up BMP: file header, info header (40
  // bytes), the 256-entry colour table of `palette`, rows padded to 4 bytes.
  std::string BmpBytes(const SamplePalette& palette) const;

 private:
  int m_nWidth;
  int m_nHeight;
  std::vector<uint8_t> m_vPixels;
};
