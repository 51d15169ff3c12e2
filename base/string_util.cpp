#include "base/string_util.h"

#include <cstdint>
#include <cstring>

int StrSyncLength(std::string& text) {
  text.resize(std::strlen(text.c_str()));
  return static_cast<int>(text.size());
}

std::string StrMid(const std::string& text, int start, int count) {
  const int64_t size = static_cast<int64_t>(text.size());
  int64_t from = start, n = count;
  if (from < 0) {
    if (n >= 0) {
      n += from;
      if (n <= 0) return std::string();
    }
    from = 0;
  }
  if (n == 0 || from >= size) return std::string();
  if (n < 0 || from + n > size) n = size - from;
  return text.substr(static_cast<size_t>(from), static_cast<size_t>(n));
}
