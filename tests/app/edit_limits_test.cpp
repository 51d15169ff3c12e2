// The edit control's limit rule as a table: what the control shows after a
// change, for the one-line three-character name field and for multi-line edits.
#include <gtest/gtest.h>

#include <string>

#include "app/edit.h"
#include "app/edit_limits.h"
#include "support/test_support.h"

using testsupport::Sjis;

namespace {

const EditLimits kName{4, 1, 3, 1};           // three characters, double-byte ones count one
const EditLimits kLines{100, 0, 10, 3};       // ten characters per line, three lines
const EditLimits kTwoLines{100, 0, 10, 2};
const EditLimits kNoLimits{100, 0, 0, 0};

}  // namespace

TEST(EditLimits, KeepsTheTextWithinItsLimits) {
  const std::string a = Sjis("あ"), i = Sjis("い"), u = Sjis("う"), e = Sjis("え");
  const struct {
    const char* name;
    EditLimits limits;
    std::string previous, current;
    int start, end;
    bool backspace, initialising;
    std::string text;
    int outStart, outEnd;
  } cases[] = {
      {"third character", kName, "ab", "abc", 3, 3, false, false, "abc", 3, 3},
      {"fourth character refused, caret back after the three", kName, "abc", "abcd", 4, 4, false, false, "abc",
       3, 3},
      {"fourth character typed in the middle", kName, "abc", "abxc", 3, 3, false, false, "abc", 3, 3},
      {"third double-byte character", kName, a + i, a + i + u, 6, 6, false, false, a + i + u, 6, 6},
      {"fourth double-byte character beyond the 7-byte read", kName, a + i + u, a + i + u + e, 8, 8, false,
       false, a + i + u, 6, 6},
      {"a single-byte character after two double-byte ones", kName, a + i, a + i + "x", 5, 5, false, false,
       a + i + "x", 5, 5},
      {"a fourth single-byte one after them", kName, a + i + "x", a + i + "xy", 6, 6, false, false, a + i + "x", 5,
       5},
      {"four pasted into an empty field", kName, "", "abcd", 4, 4, false, false, "", 0, 0},
      {"three double-byte characters pasted", kName, "", a + i + u, 6, 6, false, false, a + i + u, 6, 6},
      {"an eleventh character wraps onto a new line", kLines, "0123456789", "0123456789A", 11, 11, false, false,
       "0123456789\r\nA", 13, 13},
      {"the wrapped tail joins the next line", kLines, "0123456789\r\nxyz", "0123456789A\r\nxyz", 11, 11, false,
       false, "0123456789\r\nAxyz", 13, 13},
      {"a selection behind the joined break moves back with the text", kLines, "0123456789\r\nxyz",
       "0123456789A\r\nxyz", 11, 14, false, false, "0123456789\r\nAxyz", 13, 14},
      {"a wrap that needs a line too many is refused, off the line feed", kTwoLines,
       "0123456789\r\nabcdefghij", "0123456789X\r\nabcdefghij", 11, 11, false, false,
       "0123456789\r\nabcdefghij", 12, 12},
      {"Backspace joining a full line is refused", kLines, "0123456789\r\nab", "0123456789ab", 10, 10, true,
       false, "0123456789\r\nab", 10, 10},
      {"Backspace joining a short line", kLines, "01234\r\nab", "01234ab", 5, 5, true, false, "01234ab", 5, 5},
      {"without Backspace held the join wraps", kLines, "0123456789\r\nab", "0123456789ab", 10, 10, false, false,
       "0123456789\r\nab", 12, 12},
      {"initialising an over-long name cuts it", kName, "abcdef", "abcdef", 0, 0, false, true, "abc", 0, 0},
      {"initialising an over-long double-byte name", kName, a + i + u + e, a + i + u + e, 0, 0, false, true,
       a + i + u, 0, 0},
      {"a selection on a line feed moves off it", kLines, "ab\r\ncd", "ab\r\ncd", 3, 3, false, false,
       "ab\r\ncd", 4, 4},
      {"without limits nothing changes", kNoLimits, "", "a\r\nb", 2, 2, false, false, "a\r\nb", 2, 2},
      {"the previous text ends at a NUL", kName, std::string("ab\0cd", 5), "abcd", 4, 4, false, false, "ab", 2, 2},
  };
  for (const auto& c : cases) {
    EditState out = LimitEditChange(c.previous, c.current, c.start, c.end, c.limits, c.backspace, c.initialising);
    EXPECT_EQ(out.text, c.text) << c.name;
    EXPECT_EQ(out.nSelStart, c.outStart) << c.name;
    EXPECT_EQ(out.nSelEnd, c.outEnd) << c.name;
  }
}

TEST(EditLimits, TheReadLimitCountsTheTerminator) {
  EXPECT_EQ(EditReadLimit(kName), 7);
  EXPECT_EQ(EditReadLimit({4, 0, 3, 1}), 4);
  EXPECT_EQ(EditReadLimit({4096, 1, 0, 0}), 8191);
  EXPECT_EQ(EditReadLimit({0, 0, 0, 0}), 1);
  EXPECT_EQ(EditReadLimit({0x7FFFFFFF, 1, 0, 0}), 0x7FFFFFFF);
}

TEST(EditFindText, SearchesTheBoundStringUpToItsFirstNul) {
  std::string bound("abcabc\0abc", 10);
  cEdit edit;
  edit.m_pstrText = &bound;
  const struct {
    const char* text;
    int from, at;
  } cases[] = {
      {"abc", 0, 0}, {"abc", 1, 3}, {"abc", 4, -1}, {"", 2, 2}, {"", 6, 6}, {"", 7, -1}, {"c", -1, -1}, {"x", 0, -1},
  };
  for (const auto& c : cases) EXPECT_EQ(edit.FindText(c.text, c.from), c.at) << c.text << " " << c.from;
  EXPECT_EQ(bound, "abcabc");
  cEdit unbound;
  EXPECT_EQ(unbound.FindText("a", 0), -1);
}
