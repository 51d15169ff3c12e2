#include <gtest/gtest.h>

#include <climits>
#include <cmath>

#include "base/checked_convert.h"

TEST(ToIntChecked, TruncatesTowardZeroAndKeepsTheRange) {
  struct Case {
    double value;
    int expected;
  } cases[] = {
      {0.0, 0},           {2999.9999, 2999},   {-2.7, -2},
      {2147483646.9, 2147483646},             {2147483647.0, INT_MAX},
      {1e300, INT_MAX},   {-2147483648.0, INT_MIN}, {-1e300, INT_MIN},
      {INFINITY, INT_MAX}, {-INFINITY, INT_MIN}, {NAN, 0},
  };
  for (const Case& c : cases) EXPECT_EQ(ToIntChecked(c.value), c.expected) << c.value;
}
