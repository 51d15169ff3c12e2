// The golden replays: each replay file in tests/golden/replays played back
// in the sample project gives the trace stored beside it, frame for frame.
// They pin stage play end to end; a change that alters play on purpose
// rewrites their traces (scripts/rewrite_replay_goldens.sh) in the same
// commit.
#include <gtest/gtest.h>

#include <chrono>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>

#include "replay_rig.h"
#include "tools/replaytrace/replay_player.h"

using testsupport::StageRunner;

namespace {

namespace fs = std::filesystem;

std::string ReadText(const fs::path& path) {
  std::ifstream in(path, std::ios::binary);
  std::ostringstream out;
  out << in.rdbuf();
  return out.str();
}

std::vector<fs::path> GoldenReplays() {
  std::vector<fs::path> files;
  for (const auto& entry : fs::directory_iterator(REPLAY_GOLDEN_DIR))
    if (entry.path().extension() == ".rpl4_734") files.push_back(entry.path());
  std::sort(files.begin(), files.end());
  return files;
}

// Plays one golden replay and compares its trace; the frames per second of
// the playback go to the output.
void CheckGolden(const fs::path& replay, bool d3d) {
  SCOPED_TRACE(replay.filename().string() + (d3d ? " (3D device)" : ""));
  StageRunner::Options options;
  options.project = StageRunner::Project::Sample;
  if (d3d) {
    options.d3d = true;
    options.bpp = 32;
    options.drawing = StageRunner::Drawing::Layer;
  }
  StageRunner run(options);
  fs::path expectedPath = replay;
  expectedPath.replace_extension(".trace");
  const std::string expected = ReadText(expectedPath);
  ASSERT_FALSE(expected.empty()) << "no trace " << expectedPath;
  cPlayTrace trace;
  int frames = 0;
  std::string error;
  const auto start = std::chrono::steady_clock::now();
  ASSERT_TRUE(TraceReplay(replay.string(), 100000, trace, frames, error)) << error;
  const double seconds = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
  EndReplay();
  std::printf("%s%s: %d frames, %.0f frames per second (%.0f times real time)\n",
              replay.filename().string().c_str(), d3d ? " 3D" : "", frames, frames / seconds,
              frames / seconds / 60);
  EXPECT_EQ(replaytest::FirstDifference(expected, trace.Text()), "");
  // A trace rewritten after a change of play must still end as its name
  // says, at the goal or by the enemy.
  const std::string name = replay.stem().string();
  const std::string ending = name.substr(name.rfind('_') + 1);
  EXPECT_TRUE(ending == "clear" || ending == "death") << "named for how it ends: _clear or _death";
  EXPECT_EQ(replaytest::Ending(trace.Text()), ending);
}

}  // namespace

TEST(GoldenReplays, EachPlaysBackToItsTrace) {
  const std::vector<fs::path> replays = GoldenReplays();
  ASSERT_FALSE(replays.empty());
  for (const fs::path& replay : replays) CheckGolden(replay, false);
}

TEST(GoldenReplays, TheSameTraceUnderThe3DDevice) {
  const std::vector<fs::path> replays = GoldenReplays();
  ASSERT_FALSE(replays.empty());
  CheckGolden(replays.front(), true);
}
