// Golden replays played back headless (dummy drivers, frames unpaced, the
// software display at 16 bits drawing every frame) in the sample project,
// as the golden replay tests play them. Each replay reports its frames per
// second; the target is 200 times real time (12,000 frames per second at 60
// frames a second), printed beside each figure with the ratio.
#include <benchmark/benchmark.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "platform/clock.h"
#include "rate_reporter.h"
#include "tools/replaytrace/replay_player.h"
#include "tools/sample/sample_project.h"

namespace {

namespace fs = std::filesystem;

constexpr double kTargetFps = 200.0 * 60.0;

bool StartSample() {
  static const bool ready = [] {
    setenv("SDL_VIDEODRIVER", "dummy", 0);
    setenv("SDL_AUDIODRIVER", "dummy", 0);
    char pattern[] = "/tmp/replay_benchXXXXXX";
    const char* made = mkdtemp(pattern);
    if (!made) return false;
    std::string error;
    const std::string root = std::string(made) + "/sample";
    if (!WriteSampleProject(root, error) || !OpenGameFolder(root, false, error)) {
      std::fprintf(stderr, "sample project: %s\n", error.c_str());
      return false;
    }
    return true;
  }();
  return ready;
}

void PlayGolden(benchmark::State& state, const std::string& path) {
  plat::FakeClock clock(1000);
  if (!StartSample()) {
    state.SkipWithError("the sample project does not start");
    return;
  }
  int64_t frames = 0;
  for (auto _ : state) {
    cPlayTrace trace;
    int run = 0;
    std::string error;
    if (!TraceReplay(path, 100000, trace, run, error)) {
      state.SkipWithError(error.c_str());
      break;
    }
    EndReplay();
    frames += run;
  }
  state.SetItemsProcessed(frames);
}

}  // namespace

int main(int argc, char** argv) {
  std::vector<std::string> names;
  for (const auto& entry : fs::directory_iterator(REPLAY_GOLDEN_DIR))
    if (entry.path().extension() == ".rpl4_734") names.push_back(entry.path().string());
  for (const std::string& path : names)
    benchmark::RegisterBenchmark(("Replay/" + fs::path(path).filename().string()).c_str(),
                                 [path](benchmark::State& s) { PlayGolden(s, path); })
        ->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  RateReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  std::printf("\nframes per second against the target of %.0f (200 times real time):\n", kTargetFps);
  for (const auto& [name, rate] : reporter.rates)
    std::printf("  %-32s %10.0f fps  %6.1f times real time  ratio to target %.2f\n", name.c_str(), rate,
                rate / 60.0, rate / kTargetFps);
  benchmark::Shutdown();
  return 0;
}
