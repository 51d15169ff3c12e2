#pragma once
// The one way a computed double becomes an int: truncated toward zero, as a
// plain cast would, but defined for every input: NaN gives 0, values beyond
// the int range give its nearest end.
#include <climits>
#include <cmath>

inline int DoubleToInt(double v) {
  if (std::isnan(v)) return 0;
  if (v >= 2147483647.0) return INT_MAX;
  if (v <= -2147483648.0) return INT_MIN;
  return static_cast<int>(v);
}
