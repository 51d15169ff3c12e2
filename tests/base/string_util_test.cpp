#include <gtest/gtest.h>

#include <string>

#include "base/string_util.h"

TEST(StrSyncLength, CutsAtTheFirstNulOfAnyLength) {
  const struct {
    std::string text;
    std::string cut;
  } cases[] = {
      {"", ""},
      {"abc", "abc"},
      {std::string("ab\0cd", 5), "ab"},
      {std::string("\0x", 2), ""},
      {std::string(6000, 'x'), std::string(6000, 'x')},  // longer than any fixed buffer
      {std::string(6000, 'x') + std::string("\0y", 2), std::string(6000, 'x')},
  };
  for (const auto& c : cases) {
    std::string s = c.text;
    EXPECT_EQ(StrSyncLength(s), static_cast<int>(c.cut.size()));
    EXPECT_EQ(s, c.cut);
  }
}

TEST(StrMid, TakesTheRangeThatLiesInTheText) {
  const struct {
    int start, count;
    const char* part;
  } cases[] = {
      {0, 3, "abc"},  {2, 2, "cd"},   {4, 1, "e"},   {0, 0, ""},    {2, 0, ""},   {5, 1, ""},
      {9, 2, ""},     {3, 10, "de"},  {1, -1, "bcde"}, {-2, 4, "ab"}, {-2, 2, ""}, {-5, 3, ""},
      {-2, -1, "abcde"}, {0, -7, "abcde"},
  };
  for (const auto& c : cases)
    EXPECT_EQ(StrMid("abcde", c.start, c.count), c.part) << c.start << ", " << c.count;
}
