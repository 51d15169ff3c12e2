// What every pixel effect shares: surfaces it cannot use, locks that fail,
// and arguments of any size.
#include <climits>
#include <functional>
#include <random>
#include <string>

#include "dd_fx_test_env.h"

namespace {

class FxFrame : public FxTest {};

using Effect = std::function<bool(DDSURFACEDATA* dst, DDSURFACEDATA* src)>;

struct Named {
  const char* name;
  Effect run;
};

PALETTEENTRY g_palette[256];

// Each effect once, over the whole of a 4 x 4 target from a 4 x 4 source.
std::vector<Named> LockingEffects() {
  return {
      {"DDBltAlpha", [](DDSURFACEDATA* d, DDSURFACEDATA* s) { return DDBltAlpha(d, 0, 0, 4, 4, s, 0, 0, 0, BlendTable, 0); }},
      {"DDBltTint", [](DDSURFACEDATA* d, DDSURFACEDATA* s) {
         return DDBltTint(d, 0, 0, 4, 4, s, 0, 0, 0, g_palette, BlendTable, 1, 2);
       }},
      {"DDBltRotate", [](DDSURFACEDATA* d, DDSURFACEDATA* s) { return DDBltRotate(d, 2, 2, 4, 4, 2, 2, 30, s, 0, 0, 0); }},
      {"DDBltLens", [](DDSURFACEDATA* d, DDSURFACEDATA* s) { return DDBltLens(d, 2, 2, 2, 1, s, 2, 2, 0, 0); }},
      {"DDBltBlur", [](DDSURFACEDATA* d, DDSURFACEDATA* s) { return DDBltBlur(d, 0, 0, 4, 4, 1, 1, s, 0, 0, 0); }},
      {"DDBltMosaic", [](DDSURFACEDATA* d, DDSURFACEDATA* s) { return DDBltMosaic(d, 0, 0, 4, 4, 2, s, 0, 0, 0); }},
  };
}

}  // namespace

TEST_F(FxFrame, SurfacesThatCannotBeLockedDrawNothingAndGiveFalse) {
  ASSERT_TRUE(Start(32));
  for (const Named& e : LockingEffects()) {
    DDSURFACEDATA dst = Filled(4, 4, 0x111111), src = Filled(4, 4, 0x777777);
    DDSURFACEDATA never, released = Filled(4, 4, 0x777777);
    DDReleaseSurface(&released);
    EXPECT_FALSE(e.run(nullptr, &src)) << e.name;
    EXPECT_FALSE(e.run(&dst, nullptr)) << e.name;
    EXPECT_FALSE(e.run(&dst, &never)) << e.name;
    EXPECT_FALSE(e.run(&dst, &released)) << e.name;
    EXPECT_FALSE(e.run(&released, &src)) << e.name;
    EXPECT_FALSE(e.run(&dst, &dst)) << e.name;  // the second lock of one surface fails
    EXPECT_EQ(AllRows(dst), Rows(4, std::vector<uint32_t>(4, 0x111111))) << e.name;
  }
}

TEST_F(FxFrame, ALockThatFailsLeavesTheTargetAsItWasAndUnlocked) {
  ASSERT_TRUE(Start(32));
  for (const Named& e : LockingEffects()) {
    // System memory is never lost: the lost source fails its lock after the
    // target's succeeded.
    DDSURFACEDATA dst = Filled(4, 4, 0x111111, 1), src = Filled(4, 4, 0x777777);
    plat::LoseVideoSurfaces();
    EXPECT_FALSE(e.run(&dst, &src)) << e.name;
    EXPECT_EQ(AllRows(dst), Rows(4, std::vector<uint32_t>(4, 0x111111))) << e.name;
    DDSURFACEDATA lostTarget = Filled(4, 4, 0x111111), source = Filled(4, 4, 0x777777, 1);
    plat::LoseVideoSurfaces();
    EXPECT_FALSE(e.run(&lostTarget, &source)) << e.name;
    cSurfaceLock again;
    EXPECT_TRUE(again.Lock(&source)) << e.name;
  }
}

TEST_F(FxFrame, ArgumentsOfAnySizeRunCleanAndStayInsideBothSurfaces) {
  const int values[] = {INT_MIN, INT_MIN + 1, -1000000000, -7, -1, 0, 1, 2, 3, 5, 7, 1000000000, INT_MAX - 1, INT_MAX};
  std::mt19937 pick(18);
  auto any = [&] { return values[pick() % std::size(values)]; };
  PALETTEENTRY palette[256] = {};
  for (int bpp : {8, 16, 32}) {
    ASSERT_TRUE(Start(bpp));
    std::fill(std::begin(BlendTable), std::end(BlendTable), 1);
    DDSURFACEDATA dst = Filled(7, 5, 1), src = Filled(6, 8, 2);
    for (int n = 0; n < 400; ++n) {
      DDBltAlpha(&dst, any(), any(), any(), any(), &src, any(), any(), n & 1, BlendTable, any());
      DDBltTint(&dst, any(), any(), any(), any(), &src, any(), any(), n & 1, palette, BlendTable,
                static_cast<uint8_t>(any()), any());
      DDBltRotate(&dst, any(), any(), any(), any(), any(), any(), any(), &src, any(), any(), n & 1);
      DDBltCircle(&dst, any(), any(), any(), any(), any(), any(), &src, any(), any(), n & 1);
      DDBltLens(&dst, any(), any(), any(), any(), &src, any(), any(), n & 1, n & 2);
      DDBltBlur(&dst, any(), any(), any(), any(), any(), any(), &src, any(), any(), n & 1);
      DDBltMosaic(&dst, any(), any(), any(), any(), any(), &src, any(), any(), n & 1);
    }
    DDRelease();
  }
}
