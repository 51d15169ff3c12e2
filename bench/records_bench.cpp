// Record loading and saving against a plain read of the same file.
//
// Two files are written once into a scratch folder: an animation table of
// 20,000 animations with 8 frames each (the shape of a big Anime.dat) and a
// System.dat whose lists hold many entries. Each benchmark reports ms_per_MB:
// milliseconds per megabyte of the file. Plain* reads the file into memory and
// nothing else; Load* reads it and loads the records from it; Save* writes the
// loaded records back into memory (no disk write, whose cost is the disk's).
#include <benchmark/benchmark.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <string>

#include "platform/host_path.h"
#include "records/anime_records.h"
#include "records/database.h"
#include "records/system.h"

namespace {

constexpr int kAnimes = 20000;
constexpr int kFramesEach = 8;
constexpr int kSystemListEntries = 20000;

struct Files {
  std::string folder;
  std::string anime;
  std::string system;
  double animeMB = 0;
  double systemMB = 0;
};

std::string MakeFolder() {
  char pattern[] = "/tmp/records_benchXXXXXX";
  const char* made = mkdtemp(pattern);
  if (!made) std::abort();
  return made;
}

double FileMB(const std::string& path) {
  std::string bytes;
  plat::ReadWholeFile(path, bytes);
  return static_cast<double>(bytes.size()) / (1024.0 * 1024.0);
}

const Files& TheFiles() {
  static const Files files = [] {
    Files f;
    f.folder = MakeFolder();
    f.anime = f.folder + "/Anime.dat";
    f.system = f.folder + "/System.dat";

    cVector<cEdAnime> table;
    for (int i = 0; i < kAnimes; ++i) {
      cEdAnime anime;
      anime.m_strName = "anime " + std::to_string(i);
      anime.m_vFrame.clear();
      for (int k = 0; k < kFramesEach; ++k) {
        cEdAnimeFrame frame;
        frame.m_nCell = i + k;
        frame.m_nTime = 1 + k;
        frame.m_bLock = k == kFramesEach - 1;
        anime.m_vFrame.push_back(frame);
      }
      table.push_back(anime);
    }
    if (!SaveRecordFile(table, f.anime)) std::abort();

    cEdSystem system;
    system.m_strTitle = "benchmark";
    for (int i = 0; i < kSystemListEntries; ++i) {
      cEdSystemText text;
      text.m_strText = "menu entry " + std::to_string(i);
      system.m_vTitleMenu.push_back(text);
      cEdStatusItem item;
      item.m_strLabel = "item " + std::to_string(i);
      system.m_vStatusItems.push_back(item);
      cEdIniKey key;
      key.SetNumber("Key" + std::to_string(i), i);
      system.m_vIniKeys.push_back(key);
    }
    if (!system.SaveToFile(f.system)) std::abort();

    f.animeMB = FileMB(f.anime);
    f.systemMB = FileMB(f.system);
    std::printf("Anime.dat %.2f MB, System.dat %.2f MB in %s\n", f.animeMB, f.systemMB,
                f.folder.c_str());
    return f;
  }();
  return files;
}

// Times the loop body and reports milliseconds per megabyte of the file.
template <class F>
void RunPerMB(benchmark::State& state, double mb, F&& body) {
  using Clock = std::chrono::steady_clock;
  Clock::duration total{};
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    body();
    total += Clock::now() - start;
  }
  const double ms = std::chrono::duration<double, std::milli>(total).count();
  state.counters["ms_per_MB"] = ms / static_cast<double>(state.iterations()) / mb;
}

void PlainAnime(benchmark::State& state) {
  const Files& f = TheFiles();
  RunPerMB(state, f.animeMB, [&] {
    std::string bytes;
    plat::ReadWholeFile(f.anime, bytes);
    benchmark::DoNotOptimize(bytes.data());
  });
}

void LoadAnime(benchmark::State& state) {
  const Files& f = TheFiles();
  RunPerMB(state, f.animeMB, [&] {
    cVector<cEdAnime> table;
    LoadRecordFile(table, f.anime);
    benchmark::DoNotOptimize(table.data());
  });
}

void SaveAnime(benchmark::State& state) {
  const Files& f = TheFiles();
  cVector<cEdAnime> table;
  LoadRecordFile(table, f.anime);
  RunPerMB(state, f.animeMB, [&] {
    cDataWriter w;
    SaveRecordList(table, w);
    benchmark::DoNotOptimize(w.Bytes().data());
  });
}

void PlainSystem(benchmark::State& state) {
  const Files& f = TheFiles();
  RunPerMB(state, f.systemMB, [&] {
    std::string bytes;
    plat::ReadWholeFile(f.system, bytes);
    benchmark::DoNotOptimize(bytes.data());
  });
}

void LoadSystem(benchmark::State& state) {
  const Files& f = TheFiles();
  RunPerMB(state, f.systemMB, [&] {
    cEdSystem system;
    system.LoadFromFile(f.system);
    benchmark::DoNotOptimize(&system);
  });
}

void SaveSystem(benchmark::State& state) {
  const Files& f = TheFiles();
  cEdSystem system;
  system.LoadFromFile(f.system);
  RunPerMB(state, f.systemMB, [&] {
    cDataWriter w;
    system.Save(w);
    benchmark::DoNotOptimize(w.Bytes().data());
  });
}

BENCHMARK(PlainAnime)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadAnime)->Unit(benchmark::kMillisecond);
BENCHMARK(SaveAnime)->Unit(benchmark::kMillisecond);
BENCHMARK(PlainSystem)->Unit(benchmark::kMillisecond);
BENCHMARK(LoadSystem)->Unit(benchmark::kMillisecond);
BENCHMARK(SaveSystem)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
  benchmark::Initialize(&argc, argv);
  TheFiles();
  benchmark::RunSpecifiedBenchmarks();
  plat::RemoveTree(TheFiles().folder);
  benchmark::Shutdown();
  return 0;
}
