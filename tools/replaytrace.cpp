// replaytrace <game folder> <replay file> [--3d] [--frames n]
//
// Plays the replay in the game folder as the title's replay entry does,
// headless and unpaced, and prints its play trace: a line per play frame,
// up to the clear, the restart after a death or the end of its input. The
// golden replays' traces are this output (scripts/rewrite_replay_goldens.sh
// writes them all).
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "base/report_log.h"
#include "platform/clock.h"
#include "tools/replaytrace/replay_player.h"

int main(int argc, char** argv) {
  if (argc < 3) {
    std::fprintf(stderr, "usage: replaytrace <game folder> <replay file> [--3d] [--frames n]\n");
    return 2;
  }
  bool d3d = false;
  int maxFrames = 200000;
  for (int i = 3; i < argc; ++i) {
    if (std::strcmp(argv[i], "--3d") == 0)
      d3d = true;
    else if (std::strcmp(argv[i], "--frames") == 0 && i + 1 < argc)
      maxFrames = std::atoi(argv[++i]);
  }
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  setenv("SDL_AUDIODRIVER", "dummy", 0);
  // Named from where the tool was started, read after the move into the game folder.
  const std::string replay = std::filesystem::absolute(argv[2]).string();
  plat::FakeClock clock(1000);  // frames unpaced
  std::string error;
  if (!OpenGameFolder(argv[1], d3d, error)) {
    std::fprintf(stderr, "replaytrace: %s\n", error.c_str());
    return 1;
  }
  ReportOpen("Report_Game.txt");
  cPlayTrace trace;
  int frames = 0;
  if (!TraceReplay(replay, maxFrames, trace, frames, error)) {
    std::fprintf(stderr, "replaytrace: %s\n", error.c_str());
    return 1;
  }
  std::fwrite(trace.Text().data(), 1, trace.Text().size(), stdout);
  std::fprintf(stderr, "replaytrace: %d frames, %d play frames traced%s\n", frames, trace.Lines(),
               trace.LeftPlay() ? "" : " (the frame limit came first)");
  EndReplay();
  return 0;
}
