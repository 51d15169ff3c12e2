#include <gtest/gtest.h>

#include <climits>

#include "base/crt_random.h"
#include "base/number_text.h"
#include "base/text_format.h"

TEST(CountDigits, CountsDecimalDigitsOfTheMagnitude) {
  const struct { int value; int digits; } cases[] = {
      {0, 1}, {9, 1}, {-9, 1}, {10, 2}, {-10, 2}, {99999, 5},
      {INT_MAX, 10}, {INT_MIN, 10}, {-1000000000, 10},
  };
  for (const auto& c : cases) EXPECT_EQ(CountDigits(c.value), c.digits) << c.value;
}

TEST(IntToText, PadsSignsAndWidens) {
  const struct {
    int value, width;
    bool zeroPad, plus;
    const char* text;
  } cases[] = {
      {7, 3, true, false, "007"},
      {7, 3, false, false, "  7"},
      {0, 3, false, false, "  0"},
      {1234, 2, false, false, "1234"},
      {0, 0, false, true, "+0"},
      {5, 1, true, true, "+5"},
      {-5, 3, false, false, "-  5"},
      {-5, 3, true, false, "-005"},
      {-5, 3, true, true, "-005"},
      {100, 5, false, false, "  100"},
      {INT_MIN, 0, false, false, "-2147483648"},
      {INT_MIN, 12, true, false, "-002147483648"},
      {INT_MAX, -4, false, true, "+2147483647"},
  };
  for (const auto& c : cases) {
    std::string out = "old";
    IntToText(out, c.value, c.width, c.zeroPad, c.plus);
    EXPECT_EQ(out, c.text) << c.value << " width " << c.width;
  }
}

TEST(IntToText, HugeWidthIsBounded) {
  std::string out;
  IntToText(out, 1, INT_MAX, true, false);
  EXPECT_EQ(out.size(), 4096u);
  EXPECT_EQ(out.back(), '1');
}

TEST(Random, TheCRuntimeSequenceFromSeedOne) {
  crt::srand(1);
  const int expected[] = {41, 18467, 6334, 26500, 19169};
  for (int e : expected) EXPECT_EQ(crt::rand(), e);
}

TEST(RandomRange, StaysInsideSwappedAndExtremeBounds) {
  const struct { int a, b; } cases[] = {{5, 1}, {1, 5}, {3, 3}, {-10, 10},
                                        {INT_MIN, INT_MAX}, {INT_MAX - 2, INT_MAX},
                                        {INT_MIN, INT_MIN + 1}};
  crt::srand(12345);
  for (const auto& c : cases) {
    int lo = std::min(c.a, c.b), hi = std::max(c.a, c.b);
    for (int i = 0; i < 200; ++i) {
      int r = RandomRange(c.a, c.b);
      ASSERT_GE(r, lo);
      ASSERT_LE(r, hi);
    }
  }
}

TEST(RandomRange, FollowsTheGeneratorFromTheLowBound) {
  crt::srand(1);
  // 41 % 5 = 1, 18467 % 5 = 2: a + rand() % (b - a + 1) after the swap.
  EXPECT_EQ(RandomRange(5, 1), 2);
  EXPECT_EQ(RandomRange(1, 5), 3);
  // A range wider than the generator only reaches its first 32768 values.
  crt::srand(1);
  EXPECT_EQ(RandomRange(INT_MIN, INT_MAX), INT_MIN + 41);
}

TEST(Format, FormatsWholeTextsOfAnyLength) {
  std::string out;
  Format(out, "%s:%d", "abc", -12);
  EXPECT_EQ(out, "abc:-12");

  std::string longText(20000, 'x');
  Format(out, "[%s]", longText.c_str());
  EXPECT_EQ(out.size(), 20002u);
  EXPECT_EQ(out.front(), '[');
  EXPECT_EQ(out.back(), ']');

  AppendFormat(out, "%05d", 42);
  EXPECT_EQ(out.substr(out.size() - 6), "]00042");
}

TEST(Format, OutputMayBeAnArgument) {
  std::string s = "name";
  Format(s, "%s.%s", s.c_str(), "ext");
  EXPECT_EQ(s, "name.ext");
  AppendFormat(s, "/%s", s.c_str());
  EXPECT_EQ(s, "name.ext/name.ext");
}
