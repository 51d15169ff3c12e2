#include <iconv.h>

#include <cstring>

#include "platform/host_path.h"
#include "platform/text_internal.h"

namespace plat::text {
namespace detail {

std::mutex& Lock() {
  // Never destroyed: faces held by global objects lock it when they go.
  static std::mutex* mutex = new std::mutex;
  return *mutex;
}

FT_Library Library() {
  // Kept for the whole process: faces held by global objects are freed
  // after every other static is gone.
  static FT_Library library = [] {
    FT_Library lib = nullptr;
    if (FT_Init_FreeType(&lib) != 0) lib = nullptr;
    return lib;
  }();
  return library;
}

namespace {

// Code page 932 to Unicode for every single byte and every double-byte
// code, made once with iconv.
std::vector<char32_t> MakeUnicodeTable() {
  std::vector<char32_t> table(0x10000, 0);
  iconv_t cd = iconv_open("UTF-32LE", "CP932");
  if (cd == (iconv_t)-1) {
    for (unsigned c = 0; c < 0x80; c++) table[c] = c;
    return table;
  }
  auto convert = [&](const char* bytes, size_t n) -> char32_t {
    char in[2];
    std::memcpy(in, bytes, n);
    char32_t out[2] = {};
    char* src = in;
    size_t srcLeft = n;
    char* dst = reinterpret_cast<char*>(out);
    size_t dstLeft = sizeof(out);
    size_t r = iconv(cd, &src, &srcLeft, &dst, &dstLeft);
    iconv(cd, nullptr, nullptr, nullptr, nullptr);
    if (r == (size_t)-1 || srcLeft != 0 || dstLeft != sizeof(out) - sizeof(char32_t)) return 0;
    return out[0];
  };
  for (unsigned c = 0; c < 0x100; c++) {
    char b = static_cast<char>(c);
    table[c] = convert(&b, 1);
  }
  for (unsigned lead = 0x81; lead <= 0xFC; lead++) {
    for (unsigned trail = 0x40; trail <= 0xFC; trail++) {
      char pair[2] = {static_cast<char>(lead), static_cast<char>(trail)};
      if (IsSjisPair(pair)) table[lead << 8 | trail] = convert(pair, 2);
    }
  }
  iconv_close(cd);
  return table;
}

}  // namespace

char32_t CodeToUnicode(unsigned code) {
  // Never destroyed: a thread may still look a code up as the program ends.
  static const std::vector<char32_t>* table = new std::vector<char32_t>(MakeUnicodeTable());
  return code < table->size() ? (*table)[code] : 0;
}

}  // namespace detail

unsigned NextCode(const char* p, const char* end, int* bytes) {
  if (end - p >= 2 && IsSjisPair(p)) {
    if (bytes) *bytes = 2;
    return static_cast<unsigned char>(p[0]) << 8 | static_cast<unsigned char>(p[1]);
  }
  if (bytes) *bytes = 1;
  return static_cast<unsigned char>(p[0]);
}

}  // namespace plat::text
