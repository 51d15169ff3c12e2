#include "base/text_format.h"

#include <cstdio>
#include <cstring>

std::string FormatV(const char* format, va_list args) {
  char buf[5120];
  va_list again;
  va_copy(again, args);
  int n = std::vsnprintf(buf, sizeof(buf), format, args);
  std::string out;
  if (n >= 0 && static_cast<size_t>(n) < sizeof(buf)) {
    out.assign(buf);
  } else if (n > 0) {
    // Longer than the usual buffer: format the whole text into one that fits.
    std::string big(static_cast<size_t>(n) + 1, '\0');
    std::vsnprintf(big.data(), big.size(), format, again);
    out.assign(big.c_str());
  }
  va_end(again);
  return out;
}

std::string FormatText(const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = FormatV(format, args);
  va_end(args);
  return text;
}

void Format(std::string& out, const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = FormatV(format, args);
  va_end(args);
  out = std::move(text);
}

void AppendFormat(std::string& out, const char* format, ...) {
  va_list args;
  va_start(args, format);
  std::string text = FormatV(format, args);
  va_end(args);
  out += text;
}
