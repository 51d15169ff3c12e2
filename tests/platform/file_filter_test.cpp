// The file dialog's filter patterns.
#include <gtest/gtest.h>

#include "platform/file_dialog.h"
#include "support/test_support.h"

using testsupport::Sjis;

TEST(FileFilter, PatternsMatchNamesByCharacterWithoutAsciiCase) {
  const struct {
    std::string name;
    std::string patterns;
    bool match;
  } cases[] = {
      {"a.stg4_1", "*.stg4_*;*.rpl4_*", true},
      {"a.rpl4_12", "*.stg4_*;*.rpl4_*", true},
      {"a.txt", "*.stg4_*;*.rpl4_*", false},
      {"A.STG4_1", "*.stg4_*", true},
      {"notes.txt", " *.bak ; *.TXT ", true},  // blanks around the patterns
      {"stg4_1", "*.stg4_*", false},
      {"a.stg4_", "*.stg4_*", true},           // '*' may match nothing
      {"ab", "a?", true},
      {"a", "a?", false},
      {Sjis("あ"), "?", true},                 // a double-byte character is one
      {Sjis("あい") + ".txt", "??.txt", true},
      {"noext", "*.*", true},                   // "*.*" is every name
      {"x.y", "", false},
      {"x.y", ";;", false},
      {"abcabd", "*ab?", true},                 // the '*' takes back what it gave
      {"\x83\x5C" ".a", "?.a", true},           // ソ: its trail byte is no separator or wildcard
  };
  for (const auto& c : cases)
    EXPECT_EQ(plat::MatchFileFilter(c.name, c.patterns), c.match) << c.name << " ~ " << c.patterns;
}
