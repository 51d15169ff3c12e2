#include "support/pinned_text.h"

#include <cstdlib>
#include <fstream>
#include <sstream>

namespace testsupport {

bool UpdatePinnedText(const char* updateVar, const std::string& path, const std::string& text) {
  if (!std::getenv(updateVar)) return false;
  std::ofstream(path, std::ios::binary) << text;
  return true;
}

::testing::AssertionResult MatchesPinnedText(const std::string& path, const std::string& text) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return ::testing::AssertionFailure() << "no pinned file " << path;
  std::stringstream pinned;
  pinned << in.rdbuf();
  std::istringstream a(text), b(pinned.str());
  std::string got, want;
  int line = 0;
  while (std::getline(b, want)) {
    ++line;
    if (!std::getline(a, got)) return ::testing::AssertionFailure() << "the text ends before line " << line;
    if (got != want)
      return ::testing::AssertionFailure() << "line " << line << "\n  got:    " << got << "\n  pinned: " << want;
  }
  if (std::getline(a, got)) return ::testing::AssertionFailure() << "the text goes on after line " << line;
  return ::testing::AssertionSuccess();
}

}  // namespace testsupport
