#pragma once
// Writes database fixtures by hand, field by field, from the file layouts:
// little-endian numbers, and strings as a u32 length (bytes + 1) followed by
// the bytes and a NUL (length 1 and nothing else for the empty string).
#include <cstdint>
#include <string>

#include "records/record.h"

struct Bytes {
  std::string s;
  Bytes& u32(uint32_t v) {
    for (int i = 0; i < 4; ++i) s.push_back(static_cast<char>(v >> (8 * i)));
    return *this;
  }
  Bytes& i32(int32_t v) { return u32(static_cast<uint32_t>(v)); }
  Bytes& i16(int16_t v) {
    auto u = static_cast<uint16_t>(v);
    s.push_back(static_cast<char>(u));
    s.push_back(static_cast<char>(u >> 8));
    return *this;
  }
  Bytes& u8(uint8_t v) {
    s.push_back(static_cast<char>(v));
    return *this;
  }
  Bytes& str(const std::string& text) {
    if (text.empty()) return u32(1);
    u32(static_cast<uint32_t>(text.size() + 1));
    s += text;
    s.push_back('\0');
    return *this;
  }
  Bytes& raw(const std::string& more) {
    s += more;
    return *this;
  }
};

// Reads a whole database file (version word, entry list) from bytes.
template <class T>
cVector<T> LoadList(const std::string& bytes) {
  cDataReader r(bytes);
  cVector<T> list;
  LoadRecordList(list, r);
  return list;
}

// Writes a list as a database file of the current version.
template <class T>
std::string SaveList(cVector<T>& list) {
  cDataWriter w;
  SaveRecordList(list, w);
  return w.Bytes();
}
