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
  const char* ending;  // replaytest::Ending of the play
};

}  // namespace

TEST(GoldenReplays, DISABLED_WriteGoldenReplays) {
  const GOLDEN goldens[] = {
      // Under the platform to its end, over the slime, on to the goal.
      {"s01_clear.rpl4_734", 0, {{INPUT_RIGHT, 0, 150}, {INPUT_RIGHT, 1, 14}, {INPUT_RIGHT, 0, 500}}, 1200, "clear"},
      // Onto the platform, off its end over the gap at column 18, over the slime.
      {"s02_clear.rpl4_734", 1, {{INPUT_RIGHT, 0, 100}, {INPUT_RIGHT, 1, 24}, {INPUT_RIGHT, 0, 40},
                                 {INPUT_RIGHT, 1, 24}, {INPUT_RIGHT, 0, 90}, {INPUT_RIGHT, 1, 24},
                                 {INPUT_RIGHT, 0, 898}}, 1200, "clear"},
      {"c01_clear.rpl4_734", 2, RunRight(1200, 40, 14), 1200, "clear"},
      {"c02_clear.rpl4_734", 3, RunRight(1200, 40, 14), 1200, "clear"},
      // Into the slime's way, then after it to the left each time the guard
      // against it ends: three hits and the hero's HP is gone.
      {"s01_death.rpl4_734", 0, {{INPUT_RIGHT, 0, 160}, {0, 0, 35}, {INPUT_LEFT, 0, 4}, {0, 0, 35},
                                 {INPUT_LEFT, 0, 18}, {0, 0, 800}}, 1200, "death"},
  };
  for (const GOLDEN& g : goldens) {
    SCOPED_TRACE(g.file);
    StageRunner::Options options;
    options.project = StageRunner::Project::Sample;
    StageRunner run(options);
    const cPlayTrace trace = replaytest::PlayLive(run, g.stage, g.script, g.frames);
    ASSERT_EQ(replaytest::Ending(trace.Text()), g.ending);
    ASSERT_TRUE(replaytest::SaveAttempt("golden.rpl4_734"));
    EndReplay();
    std::string bytes;
    ASSERT_TRUE(plat::ReadWholeFile("golden.rpl4_734", bytes));
    std::ofstream out(std::filesystem::path(REPLAY_GOLDEN_DIR) / g.file, std::ios::binary);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
  }
}
