#include "platform/bmp_image.h"

#include <bit>
#include <cstring>

#include "platform/host_path.h"
#include "platform/prefault.h"

namespace plat {
namespace {

constexpr int64_t kMaxSide = 16384;
constexpr uint64_t kMaxPixels = uint64_t{1} << 26;
// Far above any image the limits above allow; keeps a stray huge file out of memory.
constexpr long kMaxFileBytes = 512L << 20;

constexpr uint32_t kRgb = 0, kRle8 = 1, kRle4 = 2, kBitFields = 3;

// Little-endian reads at a position the caller has checked.
uint16_t U16(const uint8_t* p) { return static_cast<uint16_t>(p[0] | p[1] << 8); }
uint32_t U32(const uint8_t* p) {
  return static_cast<uint32_t>(p[0]) | static_cast<uint32_t>(p[1]) << 8 |
         static_cast<uint32_t>(p[2]) << 16 | static_cast<uint32_t>(p[3]) << 24;
}

struct Channel {
  uint32_t mask = 0;
  int shift = 0;
  int bits = 0;
};

Channel MakeChannel(uint32_t mask) {
  Channel c;
  c.mask = mask;
  if (mask) {
    c.shift = std::countr_zero(mask);
    c.bits = std::popcount(mask);
  }
  return c;
}

// A channel of any width as 8 bits: narrower ones repeat their bits
// (5 bits v -> v << 3 | v >> 2), wider ones keep their top 8.
uint8_t Widen(uint32_t pixel, const Channel& c) {
  if (c.bits == 0) return 0;
  uint32_t v = (pixel & c.mask) >> c.shift;
  if (c.bits >= 8) return static_cast<uint8_t>(v >> (c.bits - 8));
  uint32_t r = 0;
  int have = 0;
  while (have < 8) {
    r = (r << c.bits) | v;
    have += c.bits;
  }
  return static_cast<uint8_t>(r >> (have - 8));
}

bool MaskIsRun(uint32_t mask) {
  if (mask == 0) return true;
  uint32_t shifted = mask >> std::countr_zero(mask);
  return (shifted & (shifted + 1)) == 0;
}

struct Layout {
  uint32_t offBits = 0;
  uint32_t headerSize = 0;
  bool core = false;
  int64_t width = 0, height = 0;
  bool topDown = false;
  int bitCount = 0;
  uint32_t compression = kRgb;
  uint32_t clrUsed = 0;
  uint32_t masks[3] = {0, 0, 0};
  size_t afterHeader = 0;  // first byte after the header and its bit fields
};

BmpStatus ReadLayout(const uint8_t* d, size_t size, Layout& l) {
  if (size < 14 + 12 || d[0] != 'B' || d[1] != 'M') return BmpStatus::BadHeader;
  l.offBits = U32(d + 10);
  l.headerSize = U32(d + 14);
  const uint32_t hs = l.headerSize;
  if (hs != 12 && hs != 40 && hs != 52 && hs != 56 && hs != 108 && hs != 124) return BmpStatus::BadHeader;
  if (14 + size_t{hs} > size) return BmpStatus::BadHeader;
  const uint8_t* h = d + 14;
  int planes;
  if (hs == 12) {
    l.core = true;
    l.width = U16(h + 4);
    l.height = U16(h + 6);
    planes = U16(h + 8);
    l.bitCount = U16(h + 10);
  } else {
    l.width = static_cast<int32_t>(U32(h + 4));
    int64_t height = static_cast<int32_t>(U32(h + 8));
    l.topDown = height < 0;
    l.height = height < 0 ? -height : height;
    planes = U16(h + 12);
    l.bitCount = U16(h + 14);
    l.compression = U32(h + 16);
    l.clrUsed = U32(h + 32);
  }
  l.afterHeader = 14 + size_t{hs};
  if (planes != 1) return BmpStatus::BadHeader;
  switch (l.bitCount) {
    case 1: case 4: case 8: case 16: case 24: case 32: break;
    default: return BmpStatus::BadDepth;
  }
  if (l.width <= 0 || l.height <= 0 || l.width > kMaxSide || l.height > kMaxSide) return BmpStatus::BadSize;
  if (static_cast<uint64_t>(l.width) * static_cast<uint64_t>(l.height) > kMaxPixels) return BmpStatus::TooLarge;

  switch (l.compression) {
    case kRgb: break;
    case kRle8: if (l.bitCount != 8 || l.topDown) return BmpStatus::BadCompression; break;
    case kRle4: if (l.bitCount != 4 || l.topDown) return BmpStatus::BadCompression; break;
    case kBitFields: if (l.bitCount != 16 && l.bitCount != 32) return BmpStatus::BadCompression; break;
    default: return BmpStatus::BadCompression;
  }

  if (l.compression == kBitFields) {
    const uint8_t* m;
    if (hs == 40) {
      if (l.afterHeader + 12 > size) return BmpStatus::BadHeader;
      m = d + l.afterHeader;
      l.afterHeader += 12;
    } else {
      m = h + 40;
    }
    uint32_t seen = 0;
    for (int i = 0; i < 3; ++i) {
      uint32_t mask = U32(m + 4 * i);
      if (!MaskIsRun(mask) || (mask & seen) != 0) return BmpStatus::BadMasks;
      if (l.bitCount == 16 && (mask >> 16) != 0) return BmpStatus::BadMasks;
      seen |= mask;
      l.masks[i] = mask;
    }
  } else if (l.bitCount == 16) {
    l.masks[0] = 0x7C00, l.masks[1] = 0x03E0, l.masks[2] = 0x001F;
  } else if (l.bitCount == 32) {
    l.masks[0] = 0xFF0000, l.masks[1] = 0xFF00, l.masks[2] = 0xFF;
  }
  if (l.offBits < l.afterHeader) return BmpStatus::BadHeader;
  return BmpStatus::Ok;
}

BmpStatus ReadTable(const uint8_t* d, size_t size, const Layout& l, BmpImage& img) {
  const uint32_t most = 1u << l.bitCount;
  uint32_t count = l.core || l.clrUsed == 0 ? most : l.clrUsed;
  if (count > most) return BmpStatus::BadColourTable;
  const size_t entry = l.core ? 3 : 4;
  const size_t end = l.afterHeader + count * entry;
  if (end > size || end > l.offBits) return BmpStatus::BadColourTable;
  img.palette.resize(count);
  for (uint32_t i = 0; i < count; ++i) {
    const uint8_t* p = d + l.afterHeader + i * entry;
    img.palette[i] = PalEntry{p[2], p[1], p[0], 0};
  }
  return BmpStatus::Ok;
}

uint64_t Stride(const Layout& l) { return (static_cast<uint64_t>(l.width) * l.bitCount + 31) / 32 * 4; }

// Uncompressed rows must all be there (the last one may lack its padding),
// which is known before anything is allocated for them.
BmpStatus CheckRows(size_t size, const Layout& l) {
  const uint64_t lastRow = (static_cast<uint64_t>(l.width) * l.bitCount + 7) / 8;
  const uint64_t need = Stride(l) * static_cast<uint64_t>(l.height - 1) + lastRow;
  if (l.offBits > size || need > size - l.offBits) return BmpStatus::Truncated;
  return BmpStatus::Ok;
}

BmpStatus ReadRows(const uint8_t* d, const Layout& l, BmpImage& img) {
  const uint64_t w = static_cast<uint64_t>(l.width), h = static_cast<uint64_t>(l.height);
  const uint64_t stride = Stride(l);
  const Channel ch[3] = {MakeChannel(l.masks[0]), MakeChannel(l.masks[1]), MakeChannel(l.masks[2])};
  for (uint64_t r = 0; r < h; ++r) {
    const uint8_t* row = d + l.offBits + r * stride;
    const uint64_t y = l.topDown ? r : h - 1 - r;
    for (uint64_t x = 0; x < w; ++x) {
      const uint64_t at = y * w + x;
      switch (l.bitCount) {
        case 1: img.indices[at] = (row[x >> 3] >> (7 - (x & 7))) & 1; break;
        case 4: img.indices[at] = (x & 1) ? row[x >> 1] & 0x0F : row[x >> 1] >> 4; break;
        case 8: img.indices[at] = row[x]; break;
        case 24: img.pixels[at] = uint32_t{row[3 * x + 2]} << 16 | uint32_t{row[3 * x + 1]} << 8 | row[3 * x]; break;
        default: {
          uint32_t p = l.bitCount == 16 ? U16(row + 2 * x) : U32(row + 4 * x);
          img.pixels[at] = uint32_t{Widen(p, ch[0])} << 16 | uint32_t{Widen(p, ch[1])} << 8 | Widen(p, ch[2]);
        }
      }
    }
  }
  return BmpStatus::Ok;
}

// Run-length rows, bottom-up. Runs that leave the image are cut at its edge;
// a stream that ends early leaves the rest at index 0.
BmpStatus ReadRle(const uint8_t* d, size_t size, const Layout& l, BmpImage& img) {
  if (l.offBits > size) return BmpStatus::Truncated;
  const bool four = l.compression == kRle4;
  const int64_t w = l.width, h = l.height;
  const uint8_t* p = d + l.offBits;
  const uint8_t* end = d + size;
  int64_t x = 0, row = 0;
  auto put = [&](uint8_t v) {
    if (x < w && row < h) img.indices[(h - 1 - row) * w + x] = v;
    ++x;
  };
  while (end - p >= 2 && row < h) {
    const unsigned n = p[0], v = p[1];
    p += 2;
    if (n > 0) {
      const uint8_t a = four ? static_cast<uint8_t>(v >> 4) : static_cast<uint8_t>(v);
      const uint8_t b = four ? static_cast<uint8_t>(v & 0x0F) : static_cast<uint8_t>(v);
      for (unsigned i = 0; i < n; ++i) {
        if (x >= w) {  // the rest of the run falls off the row
          x += n - i;
          break;
        }
        put(i & 1 ? b : a);
      }
      continue;
    }
    if (v == 0) {
      x = 0;
      ++row;
    } else if (v == 1) {
      break;
    } else if (v == 2) {
      if (end - p < 2) break;
      x += p[0];
      row += p[1];
      p += 2;
    } else {
      const size_t bytes = four ? (v + 1) / 2 : v;
      const size_t padded = (bytes + 1) & ~size_t{1};
      const size_t have = static_cast<size_t>(end - p);
      for (unsigned i = 0; i < v; ++i) {
        const size_t at = four ? i / 2 : i;
        if (at >= have) break;
        put(four ? (i & 1 ? p[at] & 0x0F : p[at] >> 4) : p[at]);
      }
      if (padded > have) break;
      p += padded;
    }
  }
  return BmpStatus::Ok;
}

}  // namespace

uint32_t BmpImage::Colour(int x, int y) const {
  const size_t at = static_cast<size_t>(y) * static_cast<size_t>(width) + static_cast<size_t>(x);
  if (!indexed) return pixels[at];
  const uint8_t i = indices[at];
  if (i >= palette.size()) return 0;
  const PalEntry& e = palette[i];
  return uint32_t{e.red} << 16 | uint32_t{e.green} << 8 | e.blue;
}

BmpStatus DecodeBmp(const uint8_t* data, size_t size, BmpImage& out) {
  out = BmpImage{};
  Layout l;
  BmpStatus status = ReadLayout(data, size, l);
  if (status != BmpStatus::Ok) return status;
  BmpImage img;
  img.width = static_cast<int>(l.width);
  img.height = static_cast<int>(l.height);
  img.bitCount = l.bitCount;
  img.indexed = l.bitCount <= 8;
  if (img.indexed) {
    status = ReadTable(data, size, l, img);
    if (status != BmpStatus::Ok) return status;
  }
  const bool rle = l.compression == kRle8 || l.compression == kRle4;
  if (rle ? l.offBits > size : CheckRows(size, l) != BmpStatus::Ok) return BmpStatus::Truncated;
  const size_t count = static_cast<size_t>(l.width) * static_cast<size_t>(l.height);
  if (img.indexed) {
    ResizeForWrite(img.indices, count);
  } else {
    ResizeForWrite(img.pixels, count);
  }
  status = rle ? ReadRle(data, size, l, img) : ReadRows(data, l, img);
  if (status != BmpStatus::Ok) return status;
  out = std::move(img);
  return BmpStatus::Ok;
}

BmpStatus LoadBmp(const std::string& sjisPath, BmpImage& out) {
  out = BmpImage{};
  FILE* f = OpenFile(sjisPath, "rb");
  if (!f) return BmpStatus::Unreadable;
  std::vector<uint8_t> bytes;
  bool ok = std::fseek(f, 0, SEEK_END) == 0;
  long length = ok ? std::ftell(f) : -1;
  ok = ok && length >= 0 && length <= kMaxFileBytes && std::fseek(f, 0, SEEK_SET) == 0;
  if (ok) {
    ResizeForWrite(bytes, static_cast<size_t>(length));
    ok = std::fread(bytes.data(), 1, bytes.size(), f) == bytes.size();
  }
  std::fclose(f);
  if (!ok) return length > kMaxFileBytes ? BmpStatus::TooLarge : BmpStatus::Unreadable;
  return DecodeBmp(bytes.data(), bytes.size(), out);
}

const char* BmpStatusText(BmpStatus status) {
  switch (status) {
    case BmpStatus::Ok: return "ok";
    case BmpStatus::Unreadable: return "cannot be read";
    case BmpStatus::BadHeader: return "bad header";
    case BmpStatus::BadDepth: return "unsupported depth";
    case BmpStatus::BadCompression: return "unsupported compression";
    case BmpStatus::BadMasks: return "bad bit fields";
    case BmpStatus::BadColourTable: return "bad colour table";
    case BmpStatus::Truncated: return "data past the end";
    case BmpStatus::BadSize: return "bad size";
    case BmpStatus::TooLarge: return "too large";
  }
  return "?";
}

}  // namespace plat
