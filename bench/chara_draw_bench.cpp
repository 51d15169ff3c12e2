// One 640 x 480 frame of characters drawn through their effects
// (cCharaBase::Draw) on the software display at 16 and 32 bits and on the 3D
// device at 16 and 32 bits: 300 characters with mixed effects (the seventeen
// kinds in turn, every fourth at scale 2), 300 plain characters, and 300 of
// each kind. A frame is the back buffer's fill, the 300 draws and, on the
// 3D device, the end of the scene (not the present). The summary gives each
// set's milliseconds, frames per second and share of a 60 Hz frame, and each
// kind's ratio to the plain drawing.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <map>
#include <string>
#include <vector>

#include "game/characters.h"
#include "game/graphic_source.h"
#include "media/dd_blit.h"
#include "media/dd_layer.h"
#include "media/system_surfaces.h"
#include "platform/host_path.h"
#include "records/chara_effect.h"
#include "records/database.h"
#include "records/effect_state.h"
#include "records/stage.h"
#include "records/system.h"

namespace {

constexpr int kCharas = 300;
constexpr double kFrameMs = 1000.0 / 60.0;

struct Mode {
  const char* name;
  bool d3d;
  int bpp;
};
const Mode kModes[] = {{"DD 16", false, 16}, {"DD 32", false, 32}, {"3D 16", true, 16}, {"3D 32", true, 32}};

// Sets of characters: the mix, then kind 0 (plain) .. 16 alone.
constexpr int kMixed = -1;
std::string SetName(int set) {
  static const char* const kNames[CHARAEFFECT_COUNT] = {
      "plain", "burst", "split H", "split V", "wave H", "wave V", "blink", "rotate A", "rotate B",
      "rotate depth", "circle", "zoom", "lens", "colour", "translucent", "mosaic", "blur"};
  return set == kMixed ? "mixed" : kNames[set];
}

// --- the images: a palette and a 32 x 32 figure ---

void Put32(std::string& s, uint32_t v) {
  for (int i = 0; i < 4; ++i) s += static_cast<char>(v >> (8 * i) & 0xFF);
}

void WriteBmp8(const char* name, int w, int h, const std::vector<uint8_t>& pixels) {
  const int stride = (w + 3) & ~3;
  std::string s = "BM";
  const uint32_t off = 14 + 40 + 1024, size = static_cast<uint32_t>(stride * h);
  Put32(s, off + size);
  Put32(s, 0);
  Put32(s, off);
  for (uint32_t v : {40u, static_cast<uint32_t>(w), static_cast<uint32_t>(h)}) Put32(s, v);
  s += std::string("\x01\x00\x08\x00", 4);
  for (uint32_t v : {0u, size, 2835u, 2835u, 256u, 0u}) Put32(s, v);
  for (int i = 0; i < 256; ++i) Put32(s, i == 0 ? 0 : static_cast<uint32_t>((i * 37 % 256) << 16 | (i * 91 % 256) << 8 | i));
  for (int y = h - 1; y >= 0; --y) {
    s.append(reinterpret_cast<const char*>(pixels.data()) + static_cast<size_t>(y) * w, static_cast<size_t>(w));
    s.append(static_cast<size_t>(stride - w), '\0');
  }
  plat::WriteFileAtomic(name, s.data(), s.size());
}

void WriteImages() {
  plat::CreateDirectory("bmp");
  std::vector<uint8_t> palette(16 * 24, 0);
  for (int n = 0; n < 256; ++n) palette[static_cast<size_t>((8 + n / 16) * 16 + n % 16)] = static_cast<uint8_t>(n);
  WriteBmp8("bmp\\Palette.bmp", 16, 24, palette);
  std::vector<uint8_t> figure(32 * 32, 0);
  for (int y = 0; y < 32; ++y)
    for (int x = 0; x < 32; ++x) {
      const int dx = 2 * x - 31, dy = 2 * y - 31;
      if (dx * dx + dy * dy <= 28 * 28) figure[static_cast<size_t>(y * 32 + x)] = static_cast<uint8_t>(1 + (x + 3 * y) % 200);
    }
  WriteBmp8("bmp\\Character1.bmp", 32, 32, figure);
}

// --- the world ---

// Entry k has kind k, with its values half-way and a long run that loops.
void SetEffects() {
  SystemData.Reset();
  Database.Reset();
  Stage.Reset();
  static const int32_t kParams[CHARAEFFECT_COUNT][5] = {
      {}, {600, 4, 4}, {600, 3, 3, 4}, {600, 3, 3, 4}, {600, 3, 3, 2, 2}, {600, 3, 3, 2, 2}, {600, 3},
      {600, 45, 45}, {600, 45, 45}, {600, 8, 8}, {600, 12, 12, 2}, {600, 48, 48}, {600, 24, 24, 0, 0},
      {600, 2, 2, 7}, {600, 2}, {600, 4, 4}, {600, 2, 2}};
  Database.m_vCharaEffect.resize(CHARAEFFECT_COUNT);
  for (int k = 0; k < CHARAEFFECT_COUNT; ++k) {
    Database.m_vCharaEffect[k].m_nKind = k;
    for (int p = 0; p < 5; ++p) Database.m_vCharaEffect[k].m_anParam[p] = kParams[k][p];
  }
  BuildDatabaseRunTables();
}

class Layer {
 public:
  explicit Layer(const Mode& m) {
    DDInit(m.d3d ? 1 : 0, plat::WindowHandle{}, 640, 480, m.bpp, 0, 0, 1, 60, 0, SurfaceTable, SurfaceDefs,
           SURFACE_TABLE_SIZE, 0);
    if (m.d3d) LinkSurfaceSources();
    DDLoadPaletteFromFile(CurPalette, "bmp\\Palette.bmp", nBpp);
    for (int i = 0; i < 256; ++i) BasePalette[i] = CurPalette[i];
    DDSetTransmit("bmp\\Palette.bmp");
    static const int kImages[] = {4, 5, 22, 23, 63, 64, 65, 66, 67, 68, 69, 70};
    ok = DDLoadSurfaces(SurfaceTable, kImages, static_cast<int>(std::size(kImages)));
    SelectCharaSurfaces();
  }
  ~Layer() {
    DDRelease();
    for (int i = 0; i < SURFACE_TABLE_SIZE; ++i) SurfaceTable[i].lpAlias = SurfaceDefs[i].lpAlias = nullptr;
  }
  bool ok = false;
};

// 300 characters in a 20 x 15 grid of 32-dot cells.
std::vector<cChara> MakeCharas(int set) {
  std::vector<cChara> charas(kCharas);
  for (int i = 0; i < kCharas; ++i) {
    cChara& c = charas[static_cast<size_t>(i)];
    const int kind = set == kMixed ? i % CHARAEFFECT_COUNT : set;
    const int scale = set == kMixed && i % 4 == 3 ? 2 : 1;
    cEdChara def;
    def.m_nGraphic = 0;
    def.m_nScale = static_cast<int8_t>(scale);
    c.m_nId = i;
    c.Reset(&def, 0, 0, 0);
    c.cGameObject::SetUp(i, 1, 0, 1, 0, nullptr, 0, 8, 8, 16, 24, 32, 32, i % 2, 0, 0);
    c.SetScale(scale, 1);
    c.m_Anime = cAnimePlayer();
    c.m_rcHit.dLeft = (i % 20) * 32 + c.m_nOffsetX;
    c.m_rcHit.dTop = (i / 20) * 32 + c.m_nOffsetY;
    c.m_CharaEffect.Start(kind, 0, 1);
  }
  return charas;
}

void Frame(std::vector<cChara>& charas) {
  DDFillRect(&BackBuffer, 0, 0, 640, 480, 16);
  for (cChara& c : charas) c.Draw(&BackBuffer, 0);
  if (lpDTCon) DDEndScene();
}

void DrawFrame(benchmark::State& state, Mode mode, int set) {
  Layer layer(mode);
  if (!layer.ok) {
    state.SkipWithError("the layer did not start");
    return;
  }
  std::vector<cChara> charas = MakeCharas(set);
  for (int i = 0; i < 3; ++i) Frame(charas);  // warm up
  using Clock = std::chrono::steady_clock;
  Clock::duration total{};
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    Frame(charas);
    total += Clock::now() - start;
  }
  state.counters["ms"] = std::chrono::duration<double, std::milli>(total).count() / static_cast<double>(state.iterations());
}

class MsReporter : public benchmark::ConsoleReporter {
 public:
  void ReportRuns(const std::vector<Run>& runs) override {
    ConsoleReporter::ReportRuns(runs);
    for (const Run& r : runs) {
      auto it = r.counters.find("ms");
      if (it != r.counters.end()) ms[r.benchmark_name()] = it->second.value;
    }
  }
  std::map<std::string, double> ms;
};

std::string Key(const Mode& m, int set) { return std::string(m.name) + "/" + SetName(set); }

}  // namespace

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  char folder[] = "/tmp/chara_draw_bench.XXXXXX";
  if (!mkdtemp(folder) || chdir(folder) != 0) return 1;
  WriteImages();
  SetEffects();
  for (const Mode& m : kModes)
    for (int set = kMixed; set < CHARAEFFECT_COUNT; ++set)
      benchmark::RegisterBenchmark(Key(m, set).c_str(), DrawFrame, m, set)->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  MsReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  for (const Mode& m : kModes) {
    const auto plain = reporter.ms.find(Key(m, 0));
    std::printf("\n%s, %d characters    ms/frame   frames/s   of 60 Hz   to plain\n", m.name, kCharas);
    for (int set = kMixed; set < CHARAEFFECT_COUNT; ++set) {
      const auto it = reporter.ms.find(Key(m, set));
      if (it == reporter.ms.end()) continue;
      std::printf("  %-22s %9.3f %10.0f %9.1f%%", SetName(set).c_str(), it->second, 1000.0 / it->second,
                  100.0 * it->second / kFrameMs);
      if (plain != reporter.ms.end() && set != 0) std::printf(" %9.2f", it->second / plain->second);
      std::printf("\n");
    }
  }
  benchmark::Shutdown();
  if (chdir("/") == 0) std::filesystem::remove_all(folder);
  return 0;
}
