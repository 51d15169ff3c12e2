#pragma once
// The one way a computed double becomes an int: truncated toward zero, as a
// plain cast would, but defined for every input: NaN gives 0, values beyond
// the int range give its nearest end. Int arithmetic that may leave the int32
// range is done in 64 bits and brought back with SaturateToInt.
#include <climits>
#include <cmath>
#include <cstdint>

inline int ToIntChecked(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return INT_MAX;
  if (value <= -2147483648.0) return INT_MIN;
  return static_cast<int>(value);
}

inline int SaturateToInt(int64_t value) {
  if (value > INT32_MAX) return INT32_MAX;
  if (value < INT32_MIN) return INT32_MIN;
  return static_cast<int>(value);
}
