#pragma once
// BMP images as the editor and paint programs write them: 1, 4, 8, 16, 24 and
// 32 bits per pixel; uncompressed, bit fields, RLE8 and RLE4; core, info, V4
// and V5 headers; rows bottom-up or top-down. Anything else, or anything that
// does not add up (sizes, tables, data past the end), is refused whole.
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace plat {

// One palette colour: red, green, blue and a flags byte.
struct PalEntry {
  uint8_t red = 0, green = 0, blue = 0, flags = 0;
  friend bool operator==(const PalEntry&, const PalEntry&) = default;
};

enum class BmpStatus {
  Ok,
  Unreadable,       // the file cannot be opened or read
  BadHeader,        // not a BMP, an unknown header, planes other than 1
  BadDepth,         // bits per pixel other than 1, 4, 8, 16, 24, 32
  BadCompression,   // a compression that does not go with the depth
  BadMasks,         // bit fields that overlap, have holes or leave the pixel
  BadColourTable,   // more colours than the depth can index, or a table past the data
  Truncated,        // pixel data past the end of the file
  BadSize,          // a side of 0 or over 16384
  TooLarge,         // over 2^26 pixels
};

// A decoded image, top row first. Images of 8 bits or fewer keep their
// palette indices and colour table; deeper ones keep their colours.
struct BmpImage {
  int width = 0;
  int height = 0;
  int bitCount = 0;              // the file's bits per pixel
  bool indexed = false;          // bitCount <= 8
  std::vector<PalEntry> palette; // the colour table (indexed images; flags 0)
  std::vector<uint8_t> indices;  // width * height palette indices (indexed)
  std::vector<uint32_t> pixels;  // width * height 0x00RRGGBB colours (not indexed)

  // The colour of a pixel as 0x00RRGGBB; an index past the table is black.
  uint32_t Colour(int x, int y) const;
};

// Decodes a whole file held in memory. On failure `out` is left empty.
BmpStatus DecodeBmp(const uint8_t* data, size_t size, BmpImage& out);

// Reads and decodes a file named by a Shift-JIS path.
BmpStatus LoadBmp(const std::string& sjisPath, BmpImage& out);

// A short English name of the status for log lines.
const char* BmpStatusText(BmpStatus status);

}  // namespace plat
