// The name proposed for a new replay: the stage's base name with the first
// free pair of digits (the digit 9 never used) in the replay folder.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "record_test_env.h"
#include "records/replay_name.h"

namespace {

std::vector<std::string> Numbered(const std::string& stem, int count) {
  std::vector<std::string> names;
  for (int i = 0; i <= 8; ++i)
    for (int j = 0; j <= 8; ++j)
      if (static_cast<int>(names.size()) < count) names.push_back(stem + "_" + std::to_string(i) + std::to_string(j) + ".rpl4_734");
  return names;
}

}  // namespace

class ReplayNameTest : public RecordTest {};

TEST_F(ReplayNameTest, TheFirstFreeNumberOfTheStageIsProposed) {
  // Names as the host writes them; the program's are their Shift-JIS. 表 ends
  // in the byte '\', which is no folder separator.
  struct Case {
    const char* what;
    std::vector<std::string> present;
    std::string stagePath;
    std::string expected;
  } cases[] = {
      {"none yet", {}, "cave.", "cave_00.rpl4_734"},
      {"two taken", {"cave_00.rpl4_734", "cave_01.rpl4_734"}, "cave.", "cave_02.rpl4_734"},
      {"a gap is filled", {"cave_00.rpl4_734", "cave_02.rpl4_734"}, "cave.", "cave_01.rpl4_734"},
      {"after _08 comes _10", Numbered("cave", 9), "cave.", "cave_10.rpl4_734"},
      {"all 81 taken", Numbered("cave", 81), "cave.", "cave_88.rpl4_734"},
      {"another stage's replays", Numbered("hill", 5), "cave.", "cave_00.rpl4_734"},
      {"a stage file's path", {"cave_00.rpl4_734"}, "data\\stg4\\cave.stg4_734", "cave_01.rpl4_734"},
      {"a double-byte name", {"表_00.rpl4_734"}, "data\\stg4\\表.stg4_1", "表_01.rpl4_734"},
      {"no stage", {"_00.rpl4_734"}, "", ""},
  };
  for (const Case& c : cases) {
    testsupport::ScopedWorkDir dir;
    dir.WriteFile("user_data/rpl4/keep", "");
    for (const std::string& name : c.present) dir.WriteFile("user_data/rpl4/" + name, "x");
    EXPECT_EQ(ProposeReplayFileName(testsupport::Sjis(c.stagePath)), testsupport::Sjis(c.expected)) << c.what;
  }
}
