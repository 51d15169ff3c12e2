#pragma once
// Texts pinned in a fixture file (traces of moves, shots, a whole run): a
// test compares what it produced with the pinned file line by line; after an
// intended change, the environment variable the test names writes it anew.
#include <gtest/gtest.h>

#include <string>

namespace testsupport {

// With `updateVar` set in the environment, writes `text` to `path` and
// returns true: the caller then skips its comparison.
bool UpdatePinnedText(const char* updateVar, const std::string& path, const std::string& text);

// `text` against the file at `path`, naming the first line that differs,
// or where one of them ends first.
::testing::AssertionResult MatchesPinnedText(const std::string& path, const std::string& text);

}  // namespace testsupport
