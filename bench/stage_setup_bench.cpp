// The stage set-up at a start or restart (SetStage), on the sample's first
// stage and on a large stage: 2,000 × 200 cells all holding a block, 1,000
// characters with their flows and 1,000 items, made from the sample stage's
// own placements. Each run reports the milliseconds of one start and per
// megabyte of the stage's file, for a restart (the map's memory kept) and a
// first start (none yet), beside FirstTouch: the large map's memory
// allocated and written once, the floor of a first start. Targets: the
// sample stage under 2 ms, the large one under 60 ms.
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "game/characters.h"
#include "game/game.h"
#include "platform/host_path.h"
#include "records/common_palette.h"
#include "records/database.h"
#include "records/map_cell.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/stage_load.h"
#include "records/system.h"
#include "stage/scene_stage.h"
#include "tools/sample/sample_project.h"
#include "tools/sample/sample_stages.h"

namespace {

constexpr int kBigW = 2000, kBigH = 200;
constexpr int kBigCharas = 1000, kBigItems = 1000;

struct Project {
  std::string folder;  // host path of the scratch folder
  bool ready = false;
};

// The sample project written and loaded as the program loads it.
Project& TheProject() {
  static Project project = [] {
    Project p;
    char pattern[] = "/tmp/stage_setup_benchXXXXXX";
    const char* made = mkdtemp(pattern);
    if (!made) std::abort();
    p.folder = made;
    std::string error;
    const std::string root = p.folder + "/sample";
    if (!WriteSampleProject(root, error)) {
      std::fprintf(stderr, "sample project: %s\n", error.c_str());
      return p;
    }
    if (!plat::SetCurrentDirectory(root)) return p;
    p.ready = plat::CopyTree("default", "data") && Database.LoadAll() &&
              SystemData.LoadFromFile("data\\System.dat") == 1 &&
              CommonPalette.LoadFromFile("data\\CommonPalette.cplt4") == 1;
    BuildDatabaseRunTables();
    return p;
  }();
  return project;
}

double FileMB(const std::string& path) {
  std::string bytes;
  plat::ReadWholeFile(path, bytes);
  return static_cast<double>(bytes.size()) / (1024.0 * 1024.0);
}

// The sample's stage 0 as LoadStage leaves it; false when it did not load.
bool LoadSample() { return TheProject().ready && LoadStage(SampleStageName(0).c_str(), 1, &StageCopy) == 1; }

// The large stage from the loaded sample stage's placements: its first
// block in every cell, its slime (a character with flows) and its first
// item spread over the map, the hero where it stood. Saved to a file whose
// size it returns in MB, then set up as loaded.
double MakeBigStage() {
  const cEdBlock block = Stage.m_vPlacedBlock.At(0);
  const int heroIndex = Stage.FindHero();
  const cEdChara hero = Stage.m_vPlacedChara.At(heroIndex);
  cEdChara slime;
  for (const cEdChara& c : Stage.m_vPlacedChara)
    if (c.m_nOperator == 1) slime = c;
  const cEdItem item = Stage.m_vPlacedItem.At(0);
  Stage.m_nWidth = kBigW;
  Stage.m_nHeight = kBigH;
  Stage.m_nWidthDots = kBigW * 32;
  Stage.m_nHeightDots = kBigH * 32;
  Stage.m_vPlacedBlock.clear();
  Stage.m_vPlacedBlock.reserve(static_cast<size_t>(kBigW) * kBigH);
  for (int y = 0; y < kBigH; ++y)
    for (int x = 0; x < kBigW; ++x) {
      Stage.m_vPlacedBlock.push_back(block);
      Stage.m_vPlacedBlock.back().m_nX = static_cast<int16_t>(x);
      Stage.m_vPlacedBlock.back().m_nY = static_cast<int16_t>(y);
    }
  Stage.m_vPlacedChara.clear();
  Stage.m_vPlacedChara.push_back(hero);
  for (int i = 0; i < kBigCharas; ++i) {
    Stage.m_vPlacedChara.push_back(slime);
    Stage.m_vPlacedChara.back().m_nX = static_cast<int16_t>(2 + (i * 2) % (kBigW - 4));
    Stage.m_vPlacedChara.back().m_nY = static_cast<int16_t>(2 + (i / ((kBigW - 4) / 2)) * 4);
  }
  Stage.m_vPlacedItem.clear();
  for (int i = 0; i < kBigItems; ++i) {
    Stage.m_vPlacedItem.push_back(item);
    Stage.m_vPlacedItem.back().m_nX = static_cast<int16_t>(3 + (i * 2) % (kBigW - 6));
    Stage.m_vPlacedItem.back().m_nY = static_cast<int16_t>(100 + (i / ((kBigW - 6) / 2)) * 4);
  }
  const std::string path = "big.stg4";
  if (!Stage.SaveToFile(path)) std::fprintf(stderr, "the large stage was not saved\n");
  StageCopy.CopySettingsFrom(Stage);
  return FileMB(path);
}

// One start after another (a restart: the settings from StageCopy, the
// music left as it plays), each timed; reported per start and per MB. With
// state.range(0) 1 each start finds no map memory, as the first start does.
void RunStarts(benchmark::State& state, double mb) {
  const bool fresh = state.range(0) != 0;
  cSceneStage scene;
  CurStage = &scene;
  PlayData.m_nStageBgm = Stage.m_nBgm;
  scene.SetStage(0, 0);
  double totalMs = 0;
  for (auto _ : state) {
    if (fresh) {
      MapCell.clear();
      MapCell.shrink_to_fit();
    }
    const auto t0 = std::chrono::steady_clock::now();
    scene.SetStage(1, 0);
    const auto t1 = std::chrono::steady_clock::now();
    const double ms = std::chrono::duration<double, std::milli>(t1 - t0).count();
    totalMs += ms;
    state.SetIterationTime(ms / 1000.0);
  }
  const double perStart = totalMs / static_cast<double>(state.iterations());
  state.counters["ms_per_start"] = perStart;
  state.counters["ms_per_MB"] = perStart / mb;
  state.counters["file_MB"] = mb;
  state.counters["charas"] = static_cast<double>(CharaList.size());
  state.counters["items"] = static_cast<double>(ItemList.size());
  CharaList.clear();
  ItemList.clear();
  Player.clear();
  CurStage = nullptr;
}

void SampleStage(benchmark::State& state) {
  if (!LoadSample()) {
    state.SkipWithError("the sample stage did not load");
    return;
  }
  RunStarts(state, FileMB(Stage.m_strPath));
}

void LargeStage(benchmark::State& state) {
  if (!LoadSample()) {
    state.SkipWithError("the sample stage did not load");
    return;
  }
  RunStarts(state, MakeBigStage());
}

// The reference for a first start: fresh memory of the large map's size
// (its MAPCELL bytes) allocated and written once, nothing else.
void FirstTouch(benchmark::State& state) {
  const size_t bytes = sizeof(MAPCELL) * 2048 * (kBigH + 20);
  for (auto _ : state) {
    const auto t0 = std::chrono::steady_clock::now();
    char* p = static_cast<char*>(std::malloc(bytes));
    if (!p) std::abort();
    std::memset(p, 1, bytes);
    benchmark::DoNotOptimize(p);
    std::free(p);
    const auto t1 = std::chrono::steady_clock::now();
    state.SetIterationTime(std::chrono::duration<double>(t1 - t0).count());
  }
  state.counters["MB"] = static_cast<double>(bytes) / (1024.0 * 1024.0);
}

BENCHMARK(SampleStage)->ArgName("fresh")->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(FirstTouch)->UseManualTime()->Unit(benchmark::kMillisecond);
BENCHMARK(LargeStage)->ArgName("fresh")->Arg(0)->Arg(1)->UseManualTime()->Unit(benchmark::kMillisecond)->MinTime(2.0);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  TheProject();
  benchmark::RunSpecifiedBenchmarks();
  std::printf("targets: SampleStage under 2 ms per start, LargeStage under 60 ms per start\n");
  plat::RemoveTree(TheProject().folder);
  benchmark::Shutdown();
  return 0;
}
