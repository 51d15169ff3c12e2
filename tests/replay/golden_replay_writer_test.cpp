// Writes the golden replays' files (not their traces) from scripted plays
// of the sample's stages. Disabled: run it by hand when the sample's stages
// change so that the old inputs no longer reach the goal:
//   test_replay --gtest_also_run_disabled_tests --gtest_filter='*WriteGoldenReplays'
// then scripts/rewrite_replay_goldens.sh writes the traces.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include "media/input.h"
#include "platform/host_path.h"
#include "replay_rig.h"
#include "tools/replaytrace/replay_player.h"

using replaytest::SCRIPTSTEP;
using testsupport::StageRunner;

namespace {

// Right all the way, with a jump every `every` frames held for `hold`.
std::vector<SCRIPTSTEP> RunRight(int frames, int every, int hold) {
  std::vector<SCRIPTSTEP> script;
  for (int played = 0; played < frames; played += every) {
    script.push_back({INPUT_RIGHT, 0, every - hold});
    script.push_back({INPUT_RIGHT, 1, hold});
  }
  return script;
}

struct GOLDEN {
  const char* file;
  int stage;
  std::vector<SCRIPTSTEP> script;
  int frames;
};

}  // namespace

TEST(GoldenReplays, DISABLED_WriteGoldenReplays) {
  const GOLDEN goldens[] = {
      {"s01_clear.rpl4_734", 0, RunRight(1200, 40, 14), 1200},
      // Onto the platform, off its end over the gap at column 18, over the slime.
      {"s02_clear.rpl4_734", 1, {{INPUT_RIGHT, 0, 100}, {INPUT_RIGHT, 1, 24}, {INPUT_RIGHT, 0, 40},
                                 {INPUT_RIGHT, 1, 24}, {INPUT_RIGHT, 0, 90}, {INPUT_RIGHT, 1, 24},
                                 {INPUT_RIGHT, 0, 898}}, 1200},
      {"c01_clear.rpl4_734", 2, RunRight(1200, 40, 14), 1200},
      {"c02_clear.rpl4_734", 3, RunRight(1200, 40, 14), 1200},
      {"s01_slime.rpl4_734", 0, {{INPUT_RIGHT, 0, 900}}, 900},
  };
  for (const GOLDEN& g : goldens) {
    SCOPED_TRACE(g.file);
    StageRunner::Options options;
    options.project = StageRunner::Project::Sample;
    StageRunner run(options);
    replaytest::PlayLive(run, g.stage, g.script, g.frames);
    ASSERT_TRUE(replaytest::SaveAttempt("golden.rpl4_734"));
    EndReplay();
    std::string bytes;
    ASSERT_TRUE(plat::ReadWholeFile("golden.rpl4_734", bytes));
    std::ofstream out(std::filesystem::path(REPLAY_GOLDEN_DIR) / g.file, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
}
