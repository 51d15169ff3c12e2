#pragma once
// BMP files put together field by field from the format's description:
// the 14-byte file header ("BM", file size, two reserved words, offset of
// the pixels), then an info header of 12 (core), 40 (info), 108 (V4) or
// 124 (V5) bytes, the colour table, and the pixel rows. Little-endian.
#include <cstdint>
#include <string>
#include <vector>

namespace bmpbytes {

inline void Put16(std::string& s, uint32_t v) {
  s += static_cast<char>(v & 0xFF);
  s += static_cast<char>((v >> 8) & 0xFF);
}
inline void Put32(std::string& s, uint32_t v) {
  Put16(s, v & 0xFFFF);
  Put16(s, v >> 16);
}

// BITMAPCOREHEADER: size 12, width u16, height u16, planes u16, bits u16.
inline std::string Core(uint16_t w, uint16_t h, uint16_t bits) {
  std::string s;
  Put32(s, 12);
  Put16(s, w);
  Put16(s, h);
  Put16(s, 1);
  Put16(s, bits);
  return s;
}

// BITMAPINFOHEADER: size 40, width i32, height i32 (negative = top-down),
// planes u16, bits u16, compression u32, image size u32, x and y pixels per
// metre i32, colours used u32, colours important u32.
inline std::string Info(int32_t w, int32_t h, uint16_t bits, uint32_t compression = 0, uint32_t clrUsed = 0,
                        uint16_t planes = 1, uint32_t size = 40) {
  std::string s;
  Put32(s, size);
  Put32(s, static_cast<uint32_t>(w));
  Put32(s, static_cast<uint32_t>(h));
  Put16(s, planes);
  Put16(s, bits);
  Put32(s, compression);
  Put32(s, 0);
  Put32(s, 2835);
  Put32(s, 2835);
  Put32(s, clrUsed);
  Put32(s, 0);
  return s;
}

// BITMAPV4HEADER: the info fields, then red, green, blue and alpha masks,
// colour space type, 36 bytes of end points, three gamma values. V5 adds
// intent, profile offset, profile size and a reserved word.
inline std::string V4(int32_t w, int32_t h, uint16_t bits, uint32_t compression, uint32_t r, uint32_t g, uint32_t b,
                      uint32_t a = 0, bool v5 = false) {
  std::string s = Info(w, h, bits, compression, 0, 1, v5 ? 124 : 108);
  Put32(s, r);
  Put32(s, g);
  Put32(s, b);
  Put32(s, a);
  Put32(s, 0x73524742);  // 'sRGB'
  s.append(36 + 12, '\0');
  if (v5) s.append(16, '\0');
  return s;
}

// Colour-table entries blue, green, red and (info headers) a reserved byte.
inline std::string Table(const std::vector<uint32_t>& rgb, bool core = false) {
  std::string s;
  for (uint32_t c : rgb) {
    s += static_cast<char>(c & 0xFF);
    s += static_cast<char>((c >> 8) & 0xFF);
    s += static_cast<char>((c >> 16) & 0xFF);
    if (!core) s += '\0';
  }
  return s;
}

// The red, green and blue masks that follow a 40-byte header with bit fields.
inline std::string Masks(uint32_t r, uint32_t g, uint32_t b) {
  std::string s;
  Put32(s, r);
  Put32(s, g);
  Put32(s, b);
  return s;
}

inline std::string Bytes(std::initializer_list<int> list) {
  std::string s;
  for (int b : list) s += static_cast<char>(b);
  return s;
}

// The whole file: header, info header (with anything that follows it, such
// as bit-field masks), colour table and pixels; the pixel offset points just
// after the table unless given.
inline std::string File(const std::string& header, const std::string& table, const std::string& pixels,
                        int64_t offBits = -1) {
  std::string s = "BM";
  const uint32_t off = offBits >= 0 ? static_cast<uint32_t>(offBits)
                                    : static_cast<uint32_t>(14 + header.size() + table.size());
  Put32(s, static_cast<uint32_t>(14 + header.size() + table.size() + pixels.size()));
  Put16(s, 0);
  Put16(s, 0);
  Put32(s, off);
  return s + header + table + pixels;
}

}  // namespace bmpbytes
