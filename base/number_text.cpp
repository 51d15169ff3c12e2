#include "base/number_text.h"

#include <cstdint>
#include <cstdlib>
#include <utility>

#include "base/crt_random.h"

namespace {
int64_t Magnitude(int value) { return std::llabs(static_cast<int64_t>(value)); }
}  // namespace

int CountDigits(int value) {
  int64_t v = Magnitude(value);
  int n = 1;
  while (v >= 10) {
    v /= 10;
    ++n;
  }
  return n;
}

void IntToText(std::string& out, int value, int width, bool zeroPad, bool plusSign) {
  const int kMaxWidth = 4096;
  int n = CountDigits(value);
  if (width <= 0 || width < n) width = n;
  if (width > kMaxWidth) width = kMaxWidth;

  std::string text(static_cast<size_t>(width), '0');
  int64_t v = Magnitude(value);
  for (int i = width - 1; i >= 0 && v > 0; --i, v /= 10)
    text[static_cast<size_t>(i)] = static_cast<char>('0' + v % 10);
  if (!zeroPad) {
    for (int i = 0; i < width - 1 && text[static_cast<size_t>(i)] == '0'; ++i)
      text[static_cast<size_t>(i)] = ' ';
  }
  if (value < 0)
    text.insert(text.begin(), '-');
  else if (plusSign)
    text.insert(text.begin(), '+');
  out = std::move(text);
}

int RandomRange(int a, int b) {
  if (b < a) std::swap(a, b);
  int64_t span = static_cast<int64_t>(b) - a + 1;
  return static_cast<int>(a + crt::rand() % span);
}
