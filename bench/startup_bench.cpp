// Start-up time and memory of the game on the sample project, beside a bare
// SDL program (bench/bare_sdl) that opens the same 640 x 480 window and
// presents one frame; both are started from their files, so both pay for
// loading their libraries:
//   - start to the first presented title frame (ms, median of the runs):
//     the trace's line of the title scene (written as the frame begins),
//     the line the script writes as the frame a shot waits for is shown,
//     and the shot's line (written once that frame was saved as PNG);
//   - peak RSS (wait4) of a run that leaves from the title, and of one
//     along the story road: a new story, stage 1 entered from the world map
//     and cleared, the results, the map, and the game saved to slot 1.
// Video through SDL_VIDEODRIVER when set (x11 under xvfb-run), else the
// dummy driver; audio always through the dummy driver.
// Targets: the first title frame within 150 ms and within 3x of the bare
// program; peak RSS under 64 MB. Usage: startup_bench [runs] (default 7).
#include <fcntl.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "tools/sample/sample_project.h"

namespace fs = std::filesystem;
using Clock = std::chrono::steady_clock;

namespace {

double Ms(Clock::time_point from, Clock::time_point to) {
  return std::chrono::duration<double, std::milli>(to - from).count();
}

double Median(std::vector<double> v) {
  if (v.empty()) return 0;
  std::sort(v.begin(), v.end());
  return v.size() % 2 ? v[v.size() / 2] : (v[v.size() / 2 - 1] + v[v.size() / 2]) / 2;
}

const char* VideoDriver() {
  const char* driver = std::getenv("SDL_VIDEODRIVER");
  return driver && *driver ? driver : "dummy";
}

struct GameRun {
  double sceneMs = -1;  // the title scene's trace line
  double shownMs = -1;  // its first frame shown
  double shotMs = -1;   // the same frame saved as PNG
  double peakMb = 0;
  int status = 0;
};

// The game in `folder` with `script`; the trace read through a FIFO as it
// comes. Ends the game with SIGTERM once the trace says "script end".
GameRun RunGame(const std::string& folder, const std::string& script) {
  GameRun run;
  const std::string fifo = folder + "/../trace.fifo";
  const std::string scriptFile = folder + "/../script.txt";
  std::ofstream(scriptFile) << script;
  unlink(fifo.c_str());
  if (mkfifo(fifo.c_str(), 0600) != 0) return run;
  const Clock::time_point start = Clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    if (chdir(folder.c_str()) != 0) _exit(127);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 2);
    setenv("SDL_VIDEODRIVER", VideoDriver(), 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    setenv("TAVRIK_TRACE", fifo.c_str(), 1);
    setenv("TAVRIK_SCRIPT", scriptFile.c_str(), 1);
    execl(GAME_FILE, GAME_FILE, static_cast<char*>(nullptr));
    _exit(127);
  }
  std::FILE* trace = std::fopen(fifo.c_str(), "r");  // waits for the game to open it
  char line[1024];
  while (trace && std::fgets(line, sizeof line, trace)) {
    const double at = Ms(start, Clock::now());
    if (run.sceneMs < 0 && std::strncmp(line, "scene 0", 7) == 0) run.sceneMs = at;
    if (run.shownMs < 0 && std::strncmp(line, "shown ", 6) == 0) run.shownMs = at;
    if (run.shotMs < 0 && std::strncmp(line, "shot ", 5) == 0) run.shotMs = at;
    if (std::strncmp(line, "script end", 10) == 0) kill(pid, SIGTERM);
  }
  if (trace) std::fclose(trace);
  rusage usage{};
  wait4(pid, &run.status, 0, &usage);
  run.peakMb = usage.ru_maxrss / 1024.0;
  unlink(fifo.c_str());
  return run;
}

struct BareRun {
  double frameMs = -1;
  double peakMb = 0;
};

// The bare SDL program, started from its file; it says on a pipe when it
// presented.
BareRun RunBareSdl() {
  BareRun run;
  int fds[2];
  if (pipe(fds) != 0) return run;
  const Clock::time_point start = Clock::now();
  const pid_t pid = fork();
  if (pid == 0) {
    close(fds[0]);
    const int null = open("/dev/null", O_WRONLY);
    dup2(null, 2);
    setenv("SDL_VIDEODRIVER", VideoDriver(), 1);
    setenv("SDL_AUDIODRIVER", "dummy", 1);
    const std::string fd = std::to_string(fds[1]);
    execl(BARE_FILE, BARE_FILE, fd.c_str(), static_cast<char*>(nullptr));
    _exit(127);
  }
  close(fds[1]);
  char done = 0;
  if (read(fds[0], &done, 1) == 1) run.frameMs = Ms(start, Clock::now());
  close(fds[0]);
  rusage usage{};
  int status = 0;
  wait4(pid, &status, 0, &usage);
  run.peakMb = usage.ru_maxrss / 1024.0;
  return run;
}

// Up wraps the title's hand to its exit entry. The timed runs first arm
// the shot of the first presented frame; the memory runs take none, so
// that the PNG's buffers do not count.
#define LEAVE_TITLE "expect 600 scene 0\nwait 120\nhold 1 0x26\nwait 1\nhold 1 Z\nwait 600\n"
const char kTitleScript[] = "shot first\n" LEAVE_TITLE;
const char kTitleMemoryScript[] = LEAVE_TITLE;
// A tap is one poll down and one up; 0x25..0x28 are the arrows, Z decides,
// X cancels.
#define TAP(key) "hold 1 " key "\nwait 1\n"
// The story road: from the title's first entry, a new story; east on the
// map to stage 1, played to its goal; the results; back on the map, whose
// menu saves to slot 1.
const char kStoryScript[] =
    "expect 600 scene 0\n"
    "wait 30\n" TAP("Z")  // new story
    "expect 300 scene 1\n"
    "wait 30\n"
    "hold 60 0x27\n"  // east along the road onto the bridge's entrance
    "wait 10\n" TAP("0x26") TAP("Z")  // yes to the stage
    "expect 300 scene 4\n"
    "expect 600 stage play\n"
    "hold 900 0x27\n"  // the hero walks to the goal star
    "expect 10 stage clear\n"
    "wait 210\n" TAP("Z")  // past the results
    "expect 300 scene 1\n"
    "wait 60\n" TAP("X")  // the map menu
    "expect 300 scene 2\n"
    "wait 30\n" TAP("Z")   // save
    "wait 5\n" TAP("Z")    // slot 1
    "wait 5\n" TAP("0x26") TAP("Z")  // yes
    "expect 60 file user_data\\story\\Story01.dat\n"
    "wait 10\n";

}  // namespace

int main(int argc, char** argv) {
  const int runs = argc > 1 ? std::max(1, std::atoi(argv[1])) : 7;
  const fs::path root = fs::temp_directory_path() / ("startup_bench_" + std::to_string(getpid()));
  const std::string folder = (root / "game").string();
  std::string error;
  if (!WriteSampleProject(folder, error)) {
    std::fprintf(stderr, "the sample project cannot be written: %s\n", error.c_str());
    return 1;
  }
  // The first start copies default\ to data\ and writes user_data\; the
  // measured ones start as a player's later starts do.
  RunGame(folder, kTitleScript);

  std::vector<double> sceneMs, shownMs, shotMs, bareMs, titleMb, bareMb;
  for (int i = 0; i < runs; ++i) {
    const GameRun game = RunGame(folder, kTitleScript);
    const BareRun bare = RunBareSdl();
    if (game.sceneMs < 0 || game.shownMs < 0 || game.shotMs < 0 || bare.frameMs < 0) {
      std::fprintf(stderr, "run %d: no title frame (game status %d) or no bare frame\n", i + 1, game.status);
      return 1;
    }
    sceneMs.push_back(game.sceneMs);
    shownMs.push_back(game.shownMs);
    shotMs.push_back(game.shotMs);
    bareMs.push_back(bare.frameMs);
    titleMb.push_back(RunGame(folder, kTitleMemoryScript).peakMb);
    bareMb.push_back(bare.peakMb);
  }
  const GameRun story = RunGame(folder, kStoryScript);

  const double scene = Median(sceneMs), shown = Median(shownMs), shot = Median(shotMs), bare = Median(bareMs);
  std::printf("startup_bench: %d runs, video driver %s, dummy audio driver\n", runs, VideoDriver());
  std::printf("first title frame begun (trace 'scene 0')   %8.1f ms   bare SDL frame %8.1f ms   ratio %.2f\n", scene,
              bare, scene / bare);
  std::printf("first title frame shown (trace 'shown')      %8.1f ms   bare SDL frame %8.1f ms   ratio %.2f\n", shown,
              bare, shown / bare);
  std::printf("  and saved as PNG (trace 'shot')            %8.1f ms\n", shot);
  std::printf("  target: within 150 ms and within 3x of the bare program\n");
  std::printf("peak RSS at the title                        %8.1f MB   bare SDL       %8.1f MB   ratio %.2f\n",
              Median(titleMb), Median(bareMb), Median(titleMb) / Median(bareMb));
  std::printf("peak RSS over the story road                 %8.1f MB   bare SDL       %8.1f MB   ratio %.2f%s\n",
              story.peakMb, Median(bareMb), story.peakMb / Median(bareMb),
              story.status == 0 ? "" : "   (the road did not finish: see the exit status)");
  if (story.status != 0) std::printf("  story road exit status %d\n", story.status);
  std::printf("  target: under 64 MB\n");
  fs::remove_all(root);
  return 0;
}
