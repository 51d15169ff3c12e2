// The seeds of the fuzz targets of the progress and ranking files are the
// hand-written fixtures of these tests.
#include <gtest/gtest.h>

#include <fstream>
#include <sstream>

#include "records/save_bytes.h"

namespace {

const std::string kCorpus = std::string(FIXTURES_DIR) + "/../../fuzz/corpus/";

std::string Seed(const std::string& name) {
  std::ifstream in(kCorpus + name, std::ios::binary);
  std::stringstream bytes;
  bytes << in.rdbuf();
  return bytes.str();
}

}  // namespace

TEST(SaveSeeds, AreTheFixtures) {
  const std::pair<std::string, std::string> seeds[] = {
      {"save_slot/story_734.dat", FixtureSlot()},
      {"save_slot/story_165.dat", PlainSlot(165, SlotFields())},
      {"save_slot/story_500.dat", PlainSlot(500, SlotFields())},
      {"ranking/ranking_734.rkg", RankingFile()},
      {"ranking/ranking_150.rkg", OldRankingFile()},
  };
  for (const auto& [name, bytes] : seeds) {
    EXPECT_EQ(Seed(name), bytes) << name;
  }
}
