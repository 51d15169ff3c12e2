#pragma once
// The one way a computed double becomes an int: truncated toward zero, as a
// plain cast would, but defined for every input: NaN gives 0, values beyond
// the int range give its nearest end.
#include <climits>
#include <cmath>

inline int ToIntChecked(double value) {
  if (std::isnan(value)) return 0;
  if (value >= 2147483647.0) return INT_MAX;
  if (value <= -2147483648.0) return INT_MIN;
  return static_cast<int>(value);
}
