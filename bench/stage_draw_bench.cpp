// One heavy stage frame (cSceneStage::Draw) on the software display at 16 and
// 32 bits and on the 3D device at 32 bits: three background layers (the
// first opaque, one in front), a map filled in both layers, the hero, 300
// characters, 1,000 shots and the five status items with the timer. In the
// same run each part alone (backgrounds, map, objects, status bar) and a
// plain 640 x 480 copy as the reference (and the same copy with the alpha
// operation off, as the screen effects draw). A frame ends with the end of the
// 3D scene (not the present). Reported: milliseconds per frame, the share
// of a 60 Hz frame, and each part's ratio to the plain copy.
// Then the screen effects and the colour tone over that frame, each alone
// and half way (frozen, so it stands still), on the same back ends; under
// the 3D device an effect draws through the stand-in back buffer, as in
// play.
// Targets: the whole frame under 2 ms on the software display at 32 bits
// and under 4 ms on the 3D device at 32 bits; every screen effect under
// 2 ms on each back end.
#include <benchmark/benchmark.h>

#include <unistd.h>

#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <functional>
#include <iterator>
#include <map>
#include <string>
#include <vector>

#include "game/characters.h"
#include "game/game.h"
#include "game/graphic_source.h"
#include "game/shot.h"
#include "media/dd_blit.h"
#include "media/dd_layer.h"
#include "media/system_surfaces.h"
#include "platform/host_path.h"
#include "records/chara_effect.h"
#include "records/database.h"
#include "records/map_cell.h"
#include "records/stage.h"
#include "records/system.h"
#include "stage/scene_stage.h"

namespace {

constexpr int kCharas = 300, kShots = 1000;
constexpr int kMapW = 40, kMapH = 30;
constexpr double kFrameMs = 1000.0 / 60.0;

struct Mode {
  const char* name;
  bool d3d;
  int bpp;
};
const Mode kModes[] = {{"DD 16", false, 16}, {"DD 32", false, 32}, {"3D 32", true, 32}};

enum Part { kFull, kBackgrounds, kMap, kObjects, kHud, kCopy, kOpaqueCopy, kPartCount };
const char* const kPartNames[kPartCount] = {"whole frame", "backgrounds", "map", "objects", "status bar",
                                            "plain 640x480 copy", "copy, alpha op off"};

// The screen effects half way: kind, parameters p0..p4, the value and the
// handler's own two values at that point.
struct Effect {
  const char* name;
  int kind;
  int32_t p[5];
  double value;
  int auxA, auxB;
};
const Effect kEffects[] = {
    {"move", 1, {10, 0, 0, 100, 50}, 5, 50, 25},      {"shake across", 2, {10, 8, 2}, 5, 0, 0},
    {"shake down", 3, {10, 8, 2}, 5, 0, 0},            {"split across", 4, {10, 0, 24, 12}, 12, 0, 0},
    {"split down", 5, {10, 0, 24, 12}, 12, 0, 0},      {"wave across", 6, {10, 0, 16, 2, 8}, 8, 45, 0},
    {"wave down", 7, {10, 0, 16, 2, 8}, 8, 45, 0},     {"blink", 8, {10, 5}, 5, 0, 0},
    {"rotate", 9, {10, 0, 30}, 15, 0, 0},              {"circle", 10, {10, 400, 0, 8}, 200, 0, 0},
    {"zoom in", 11, {10, 640, 1280}, 960, 0, 0},       {"zoom out", 11, {10, 640, 320}, 480, 0, 0},
    {"lens", 12, {10, 400, 100, 0, 0}, 250, 0, 0},     {"mosaic", 13, {10, 1, 16}, 8, 0, 0},
};
constexpr int kEffectCount = static_cast<int>(std::size(kEffects));
// Rows after the effects: the colour tone alone, and over a running effect.
constexpr int kTone = kEffectCount, kToneOverEffect = kEffectCount + 1, kOverlayCount = kEffectCount + 2;

// --- the images ---

void Put32(std::string& s, uint32_t v) {
  for (int i = 0; i < 4; ++i) s += static_cast<char>(v >> (8 * i) & 0xFF);
}

void WriteBmp8(const char* name, int w, int h, const std::function<uint8_t(int, int)>& pixel) {
  const int stride = (w + 3) & ~3;
  std::string s = "BM";
  const uint32_t off = 14 + 40 + 1024, size = static_cast<uint32_t>(stride * h);
  Put32(s, off + size);
  Put32(s, 0);
  Put32(s, off);
  for (uint32_t v : {40u, static_cast<uint32_t>(w), static_cast<uint32_t>(h)}) Put32(s, v);
  s += std::string("\x01\x00\x08\x00", 4);
  for (uint32_t v : {0u, size, 2835u, 2835u, 256u, 0u}) Put32(s, v);
  for (int i = 0; i < 256; ++i)
    Put32(s, i == 0 ? 0 : static_cast<uint32_t>((i * 37 % 256) << 16 | (i * 91 % 256) << 8 | i));
  for (int y = h - 1; y >= 0; --y) {
    for (int x = 0; x < w; ++x) s += static_cast<char>(pixel(x, y));
    s.append(static_cast<size_t>(stride - w), '\0');
  }
  plat::WriteFileAtomic(name, s.data(), s.size());
}

// Cells of 32 (or 16) with a disc in each, transparent around it.
uint8_t Disc(int x, int y, int cell) {
  const int dx = 2 * (x % cell) - (cell - 1), dy = 2 * (y % cell) - (cell - 1);
  return dx * dx + dy * dy <= (cell - 4) * (cell - 4) ? static_cast<uint8_t>(1 + (x / cell * 7 + y / cell * 3) % 250)
                                                       : 0;
}

void WriteImages() {
  plat::CreateDirectory("bmp");
  WriteBmp8("bmp\\Palette.bmp", 16, 24, [](int x, int y) { return static_cast<uint8_t>(y >= 8 ? (y - 8) * 16 + x : 0); });
  WriteBmp8("bmp\\Block.bmp", 480, 480, [](int x, int y) { return static_cast<uint8_t>(1 + (x / 4 + y / 4) % 200); });
  WriteBmp8("bmp\\Character1.bmp", 640, 480, [](int x, int y) { return Disc(x, y, 32); });
  WriteBmp8("bmp\\Shot.bmp", 128, 480, [](int x, int y) { return Disc(x, y, 16); });
  WriteBmp8("bmp\\Mark.bmp", 480, 480, [](int x, int y) { return x % 32 < 8 && y % 32 < 8 ? 200 : 0; });
  WriteBmp8("bmp\\StatusWindow.bmp", 640, 40, [](int x, int y) { return static_cast<uint8_t>(1 + (x + y) % 9); });
  WriteBmp8("bmp\\Accessory.bmp", 128, 176, [](int x, int y) { return static_cast<uint8_t>(1 + (x ^ y) % 100); });
  WriteBmp8("bmp\\Word.bmp", 320, 192, [](int x, int y) { return Disc(x, y, 32); });
  WriteBmp8("bmp\\Far.bmp", 320, 240, [](int x, int y) { return static_cast<uint8_t>(1 + (y / 8) % 50); });
  WriteBmp8("bmp\\Near.bmp", 320, 240, [](int x, int y) { return y > 120 + (x % 64) ? 60 : 0; });
  WriteBmp8("bmp\\Front.bmp", 320, 240, [](int x, int y) { return x % 80 < 6 && y > 200 ? 90 : 0; });
}

// --- the stage ---

cEdBackground Layer(const char* file, double parallax, int bFront) {
  cEdBackground b;
  b.m_strFile = file;
  b.m_dScrollX = b.m_dScrollY = parallax;
  b.m_bFront = bFront;
  return b;
}

void SetUpObject(cCharaBase& c, int id, double x, double y) {
  cEdChara def;
  def.m_nGraphic = 0;
  c.m_nId = id;
  c.Reset(&def, 0, 0, 0);
  c.cGameObject::SetUp(id, id == 0 ? 0 : 1, 0, id % 8, 1, nullptr, 0, 8, 8, 16, 24, 32, 32, id % 2, 0, 0);
  c.m_rcHit.dLeft = x + c.m_nOffsetX;
  c.m_rcHit.dTop = y + c.m_nOffsetY;
  c.m_bPresent = c.m_bOnScreen = 1;
}

class Frame {
 public:
  explicit Frame(const Mode& m) {
    SystemData.Reset();
    Database.Reset();
    BuildDatabaseRunTables();
    Stage.Reset();
    Stage.m_nWidth = kMapW;
    Stage.m_nHeight = kMapH;
    Stage.m_nWidthDots = kMapW * 32;
    Stage.m_nHeightDots = kMapH * 32;
    Stage.m_bDrawDepth = 1;
    Stage.m_vBackground.clear();
    Stage.m_vBackground.push_back(Layer("bmp\\Far.bmp", 0.25, 0));
    Stage.m_vBackground.push_back(Layer("bmp\\Near.bmp", 0.5, 0));
    Stage.m_vBackground.push_back(Layer("bmp\\Front.bmp", 1.0, 1));
    for (int k = 0; k < 3; ++k) SurfaceDefs[SURFACE_BACKGROUND_FIRST + k].szFileName = Stage.m_vBackground[k].m_strFile;

    DDInit(m.d3d ? 1 : 0, plat::WindowHandle{}, 640, 480, m.bpp, 0, 0, 1, 60, 0, SurfaceTable, SurfaceDefs,
           SURFACE_TABLE_SIZE, 0);
    if (m.d3d) LinkSurfaceSources();
    DDLoadPaletteFromFile(CurPalette, "bmp\\Palette.bmp", nBpp);
    for (int i = 0; i < 256; ++i) BasePalette[i] = CurPalette[i];
    DDSetTransmit("bmp\\Palette.bmp");
    static const int kImages[] = {2,  3,  4,  5,  20, 21, 22, 23, 38, 39, 43, 44, 46, 49,
                                  51, 55, 56, 57, 63, 64, 65, 66, 67, 68, 69, 70};
    ok = DDLoadSurfaces(SurfaceTable, kImages, static_cast<int>(std::size(kImages)));
    DDCreateSurface(&m_copySource, 640, 480, 0, 0, 0, nullptr, 0);
    DDFillSurface(&m_copySource, 33);

    CurStage = &m_scene;
    m_scene.SetUpScrollAxes(Stage);
    m_scene.m_ScrollX.m_dPos = 320 + 6 * 32 + 13.5;
    m_scene.m_ScrollY.m_dPos = 320 + 4 * 32 + 7.25;
    SelectCharaSurfaces();
    m_scene.BuildTileCache();

    // Every cell holds a block; one in four is in front of the objects.
    MapCell.assign(static_cast<size_t>(m_scene.m_ScrollX.m_nPitch) * m_scene.m_ScrollY.m_nCells, MAPCELL());
    for (int y = 0; y < m_scene.m_ScrollY.m_nCells; ++y)
      for (int x = 0; x < m_scene.m_ScrollX.m_nCells; ++x) {
        cEdBlock& b = MapCell[static_cast<size_t>(x) + (static_cast<size_t>(y) << m_scene.m_ScrollX.m_nShift)].Block;
        b.m_nGraphic = static_cast<int16_t>(1 + (x + 3 * y) % 200);
        b.m_nLayer = (x + y) % 4 == 0 ? 1 : 0;
      }

    const double left = m_scene.m_ScrollX.m_dPos, top = m_scene.m_ScrollY.m_dPos;
    Player.clear();
    Player.resize(1);
    SetUpObject(Player[0], 0, left + 300, top + 220);
    CharaList.clear();
    for (int i = 0; i < kCharas; ++i) {
      cChara c;
      SetUpObject(c, i + 1, left + (i % 20) * 31.0, top + (i / 20) * 31.0);
      c.m_Def.m_nZ = static_cast<int8_t>(i % 8);
      CharaList.push_back(c);
    }
    for (int k = 0; k < kShots; ++k) {
      cEdShot def;
      def.m_nCount = 1;
      def.m_nZ = static_cast<int8_t>(k % 8);
      SHOTSPAWN sp;
      sp.nX = static_cast<int>(left) + (k * 37) % 620;
      sp.nY = static_cast<int>(top) + (k * 53) % 460;
      sp.nLife = 100;
      cShot built;
      built.Init(m_scene.m_nShotSerial++, *CharaList.begin(), SHOTMAKER_SHOT, def, sp);
      m_scene.AddShot(built);
    }
    for (cShot& s : m_scene.m_Shots) s.m_bOnScreen = 1;

    for (int i = 0; i < 5; ++i) {
      cEdStatusItem& item = SystemData.m_vStatusItems[static_cast<size_t>(i)];
      item.m_bVisible = item.m_bIcon = 1;
      item.m_nDigits = 5;
    }
    m_scene.m_bShowStatus = 1;
    m_scene.m_bNoTimeLimit = 0;
    m_scene.m_nTimeLeft = 123;
    m_scene.m_nPhase = STAGESTATE_PLAY;
  }
  ~Frame() {
    m_scene.m_Shots.clear();
    CharaList.clear();
    Player.clear();
    MapCell.clear();
    DDReleaseSurface(&m_copySource);
    CurStage = nullptr;
    DDRelease();
    for (int i = 0; i < SURFACE_TABLE_SIZE; ++i) SurfaceTable[i].lpAlias = SurfaceDefs[i].lpAlias = nullptr;
  }

  void Run(Part part) {
    DDSURFACEDATA* target = &BackBuffer;
    switch (part) {
      case kFull: m_scene.Draw(1, 0, 0, 0); break;
      case kBackgrounds:
        m_scene.ScrollBackground();
        m_scene.DrawBackground(target, 0);
        m_scene.DrawBackground(target, 1);
        break;
      case kMap:
        m_scene.DrawMapLayer(target, 0);
        m_scene.DrawMapLayer(target, 1);
        break;
      case kObjects:
        m_scene.DrawHero(0);
        for (cChara& c : CharaList) m_scene.DrawChara(c, 0);
        DDBeginBatch(0);
        for (cShot& s : m_scene.m_Shots) {
          s.UpdateScreenRect();
          s.Draw(target, 0);
        }
        DDFlushBatch();
        break;
      case kHud:
        m_scene.DrawHud(target);
        m_scene.DrawTimer(target, 0);
        break;
      case kCopy: DDBlt(target, 0, 0, 640, 480, &m_copySource, 0, 0, 0); break;
      // As the screen effects draw their copy back (D3DTOP_DISABLE).
      case kOpaqueCopy:
        DDSetAlphaOp(1);
        DDBlt(target, 0, 0, 640, 480, &m_copySource, 0, 0, 0);
        DDResetAlphaOp();
        break;
      default: break;
    }
    if (lpDTCon) DDEndScene();
  }

  // The frame once, then effect row `row` set up half way.
  void StartOverlay(int row) {
    Run(kFull);
    const Effect& e = kEffects[row == kToneOverEffect ? 5 : row < kEffectCount ? row : 0];
    if (row != kTone) {
      cEdScrEffect& def = Database.m_vScrEffect.At(1);
      def.m_nKind = e.kind;
      std::copy(std::begin(e.p), std::end(e.p), def.m_anParam);
      Database.FillWorkingCopies();
      BuildScrEffectStates(ScrFxInstA, ScrFxInstB);
      m_scene.m_ScreenEffect.Start(1, 0, 0);
      m_scene.m_ScreenEffect.m_dValue = e.value;
      m_scene.m_ScreenEffect.m_nAuxA = e.auxA;
      m_scene.m_ScreenEffect.m_nAuxB = e.auxB;
      m_scene.m_ScreenEffect.m_dAux = e.value;
      DDUseVirBackBuffer(1);
    }
    if (row >= kTone) {
      const int32_t red[8] = {255, 0, 0, 100, 0, 1, 0, 0};
      m_scene.m_ColorTone.Start(red);
      m_scene.m_ColorTone.m_nCounter = 3;
    }
  }
  // One frozen frame of the effect, or of the tone.
  void RunOverlay(int row) {
    if (row == kTone) {
      m_scene.DrawColorTone(1);
    } else {
      m_scene.RunScreenEffect(1);
      if (row == kToneOverEffect) m_scene.DrawColorTone(1);
    }
    if (lpDTCon) DDEndScene();
  }

  bool ok = false;

 private:
  cSceneStage m_scene;
  DDSURFACEDATA m_copySource;
};

void DrawFrame(benchmark::State& state, Mode mode, Part part) {
  Frame frame(mode);
  if (!frame.ok) {
    state.SkipWithError("the layer did not start");
    return;
  }
  for (int i = 0; i < 3; ++i) frame.Run(part);  // warm up
  using Clock = std::chrono::steady_clock;
  Clock::duration total{};
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    frame.Run(part);
    total += Clock::now() - start;
  }
  state.counters["ms"] = std::chrono::duration<double, std::milli>(total).count() / static_cast<double>(state.iterations());
}

void DrawOverlay(benchmark::State& state, Mode mode, int row) {
  Frame frame(mode);
  if (!frame.ok) {
    state.SkipWithError("the layer did not start");
    return;
  }
  frame.StartOverlay(row);
  for (int i = 0; i < 3; ++i) frame.RunOverlay(row);  // warm up
  using Clock = std::chrono::steady_clock;
  Clock::duration total{};
  for (auto _ : state) {
    const Clock::time_point start = Clock::now();
    frame.RunOverlay(row);
    total += Clock::now() - start;
  }
  state.counters["ms"] = std::chrono::duration<double, std::milli>(total).count() / static_cast<double>(state.iterations());
}

const char* OverlayName(int row) {
  return row == kTone ? "colour tone" : row == kToneOverEffect ? "colour tone over a wave" : kEffects[row].name;
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

std::string Key(const Mode& m, int part) { return std::string(m.name) + "/" + kPartNames[part]; }
std::string OverlayKey(const Mode& m, int row) { return std::string(m.name) + "/effect " + OverlayName(row); }

}  // namespace

int main(int argc, char** argv) {
  setenv("SDL_VIDEODRIVER", "dummy", 0);
  char folder[] = "/tmp/stage_draw_bench.XXXXXX";
  if (!mkdtemp(folder) || chdir(folder) != 0) return 1;
  WriteImages();
  for (const Mode& m : kModes)
    for (int part = 0; part < kPartCount; ++part)
      benchmark::RegisterBenchmark(Key(m, part).c_str(), DrawFrame, m, static_cast<Part>(part))
          ->Unit(benchmark::kMillisecond);
  for (const Mode& m : kModes)
    for (int row = 0; row < kOverlayCount; ++row)
      benchmark::RegisterBenchmark(OverlayKey(m, row).c_str(), DrawOverlay, m, row)->Unit(benchmark::kMillisecond);
  benchmark::Initialize(&argc, argv);
  MsReporter reporter;
  benchmark::RunSpecifiedBenchmarks(&reporter);
  for (const Mode& m : kModes) {
    const auto copy = reporter.ms.find(Key(m, kCopy));
    std::printf("\n%s: 3 layers, full map, %d characters, %d shots   ms/frame   of 60 Hz   to the copy\n", m.name,
                kCharas, kShots);
    for (int part = 0; part < kPartCount; ++part) {
      const auto it = reporter.ms.find(Key(m, part));
      if (it == reporter.ms.end()) continue;
      std::printf("  %-22s %9.3f %9.1f%%", kPartNames[part], it->second, 100.0 * it->second / kFrameMs);
      if (copy != reporter.ms.end() && part != kCopy) std::printf(" %9.1f", it->second / copy->second);
      std::printf("\n");
    }
  }
  for (const Mode& m : kModes) {
    const auto copy = reporter.ms.find(Key(m, kCopy));
    std::printf("\n%s: screen effects and colour tone, half way   ms/frame   of 60 Hz   to the copy\n", m.name);
    for (int row = 0; row < kOverlayCount; ++row) {
      const auto it = reporter.ms.find(OverlayKey(m, row));
      if (it == reporter.ms.end()) continue;
      std::printf("  %-24s %9.3f %9.1f%%", OverlayName(row), it->second, 100.0 * it->second / kFrameMs);
      if (copy != reporter.ms.end()) std::printf(" %9.1f", it->second / copy->second);
      std::printf("%s\n", row < kEffectCount && it->second >= 2.0 ? "   over 2 ms" : "");
    }
  }
  std::printf("\nTargets: the whole frame under 2 ms at DD 32 and under 4 ms at 3D 32; every screen effect under\n"
              "2 ms on each back end.\n");
  benchmark::Shutdown();
  if (chdir("/") == 0) std::filesystem::remove_all(folder);
  return 0;
}
