#include <gtest/gtest.h>

#include "base/dbcs_text.h"

TEST(IsDbcsPair, LeadAndTrailRanges) {
  const struct { const char* bytes; int pair; } cases[] = {
      {"\x81\x40", 1}, {"\x9F\xFC", 1}, {"\xE0\x5C", 1}, {"\xFC\x7E", 1},
      {"\x81\x7F", 0}, {"\x81\x3F", 0}, {"\x80\x40", 0}, {"\xA0\x40", 0},
      {"\xFD\x40", 0}, {"a\x40", 0}, {"\x81", 0}, {"\x95\x5C", 1},
  };
  for (const auto& c : cases) EXPECT_EQ(IsDbcsPair(c.bytes), c.pair) << c.bytes;
}

TEST(CountChars, CountsDisplayedCharacters) {
  const struct { const char* text; int count; } cases[] = {
      {"", 0},
      {"abc", 3},
      // Two double-byte characters, CR, LF and one more: the LF counts nothing.
      {"\x82\xA0\x82\xA2\r\n\x82\xA4", 4},
      // A lone lead byte at the end counts as one character.
      {"ab\x82", 3},
      {"\n\n", 0},
      // A lead byte before an invalid trail counts alone; the next byte too.
      {"\x82\x20", 2},
  };
  for (const auto& c : cases) EXPECT_EQ(CountChars(c.text), c.count) << c.text;
}
