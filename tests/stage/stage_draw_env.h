#pragma once
// A stage set up by the program's own stage scene for tests of its drawing:
// the hero on a ground, the scene entered and its first (fade-in) frame
// drawn, so that its images are loaded and the objects placed. Drawing is
// recorded unless the runner's options ask for the layer; the test then
// calls the scene's drawing members one by one.
#include <gtest/gtest.h>

#include <functional>
#include <sstream>
#include <string>
#include <vector>

#include "game/characters.h"
#include "media/dd_pixels.h"
#include "platform/bmp_bytes.h"
#include "platform/host_path.h"
#include "records/stage.h"
#include "stage/scene_stage.h"
#include "support/builders.h"
#include "support/stage_runner.h"
#include "tools/sample/sample_palette.h"

namespace stagedraw {

// An 8-bit image in the sample's palette (index 0 the transparent colour)
// whose pixel (x, y) has palette index pixel(x, y).
inline void WriteImage(const std::string& name, int w, int h, const std::function<uint8_t(int, int)>& pixel) {
  using namespace bmpbytes;
  std::vector<uint32_t> table;
  for (const SAMPLERGB& c : SampleBasePalette()) table.push_back(uint32_t{c.r} << 16 | uint32_t{c.g} << 8 | c.b);
  const int stride = (w + 3) & ~3;
  std::string rows;
  for (int y = h - 1; y >= 0; --y) {
    for (int x = 0; x < w; ++x) rows.push_back(static_cast<char>(pixel(x, y)));
    rows.append(static_cast<size_t>(stride - w), '\0');
  }
  const std::string bytes = File(Info(w, h, 8, 0, 256), Table(table), rows);
  ASSERT_TRUE(plat::WriteFileAtomic(name, bytes.data(), bytes.size())) << name;
}

// A surface's pixel through a lock.
inline uint32_t PixelOf(DDSURFACEDATA* sd, int x, int y) {
  cSurfaceLock lock;
  if (!lock.Lock(sd) || !lock.m_pBits) return 0xDEADBEEF;
  const uint8_t* row = lock.m_pBits + static_cast<size_t>(y) * lock.m_nPitch;
  switch (lock.m_nBpp) {
    case 8: return row[x];
    case 16: return reinterpret_cast<const uint16_t*>(row)[x];
    default: return reinterpret_cast<const uint32_t*>(row)[x] & 0xFFFFFF;
  }
}

// A recorded blit, parsed: "DDBlt <dst> x y w h <src> sx sy flags".
struct BltCall {
  std::string dst, src;
  int x = 0, y = 0, w = 0, h = 0, sx = 0, sy = 0, flags = 0;
};
inline bool ParseBlt(const std::string& line, BltCall& out) {
  std::istringstream in(line);
  std::string name;
  in >> name;
  if (name != "DDBlt") return false;
  in >> out.dst >> out.x >> out.y >> out.w >> out.h >> out.src >> out.sx >> out.sy >> out.flags;
  return !in.fail();
}
inline std::vector<BltCall> BltsFrom(const std::vector<std::string>& calls, const std::string& src) {
  std::vector<BltCall> out;
  BltCall b;
  for (const std::string& line : calls)
    if (ParseBlt(line, b) && b.src == src) out.push_back(b);
  return out;
}

class DrawnStage {
 public:
  explicit DrawnStage(const testsupport::StageRunner::Options& options = {}) : run(options) {}

  // The stage of `rows` with the hero at 'H'; `before` runs on the stage
  // record before it is taken as loaded (layers, depth switch ...).
  void Start(const std::vector<std::string>& rows = {"....................", "..H.................",
                                                     "####################"},
             const std::function<void()>& before = {}, const cEdChara& hero = testsupport::CharaDef().PlayerOperated()) {
    testsupport::MapBuilder map(rows);
    map.Build();
    map.PlaceCharas('H', hero);
    if (before) before();
    run.TakeStage();
    run.Enter();
    run.Frame();
    scene = run.Scene();
    ASSERT_NE(scene, nullptr);
    if (run.Renderer()) run.Renderer()->Take();
    run.Events().Clear();
  }

  std::vector<std::string> Calls() { return run.Renderer()->Take(); }

  testsupport::StageRunner run;
  cSceneStage* scene = nullptr;
};

class StageDrawTest : public ::testing::Test, public DrawnStage {
 protected:
  explicit StageDrawTest(const testsupport::StageRunner::Options& options = {}) : DrawnStage(options) {}
};

}  // namespace stagedraw
