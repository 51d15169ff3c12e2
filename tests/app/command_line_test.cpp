// The command line reaches the program as the system's Shift-JIS text,
// whether the shell handed the arguments over in UTF-8 or as raw bytes.
#include "app/command_line.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {

std::string Join(std::vector<std::string> args) {
  std::vector<char*> argv;
  static char name[] = "game";
  argv.push_back(name);
  for (std::string& a : args) argv.push_back(a.data());
  return JoinCommandLine(static_cast<int>(argv.size()), argv.data());
}

}  // namespace

TEST(CommandLine, ArgumentsAreJoinedAsShiftJisText) {
  struct Case {
    const char* what;
    std::vector<std::string> args;
    std::string expected;
  } cases[] = {
      {"nothing", {}, ""},
      {"ASCII, joined by single spaces", {"data\\stg4\\a.stg4_000", "x"}, "data\\stg4\\a.stg4_000 x"},
      // "ステージ" in UTF-8 becomes its Shift-JIS bytes.
      {"UTF-8 converted",
       {"data\\stg4\\\xE3\x82\xB9\xE3\x83\x86\xE3\x83\xBC\xE3\x82\xB8.stg4_000"},
       "data\\stg4\\\x83\x58\x83\x65\x81\x5B\x83\x57.stg4_000"},
      // "表" ends in the byte 0x5C in Shift-JIS: the path keeps it inside the character.
      {"a trail byte 0x5C", {"\xE8\xA1\xA8.stg4_000"}, "\x95\x5C.stg4_000"},
      {"Shift-JIS bytes kept", {"\x83\x58\x83\x65.stg4_000"}, "\x83\x58\x83\x65.stg4_000"},
      {"a character without a Shift-JIS form keeps the argument",
       {"\xF0\x9F\x98\x80.stg4_000"},
       "\xF0\x9F\x98\x80.stg4_000"},
      {"each argument on its own", {"\xE8\xA1\xA8", "\x83\x58"}, "\x95\x5C \x83\x58"},
  };
  for (const Case& c : cases) EXPECT_EQ(Join(c.args), c.expected) << c.what;
}
