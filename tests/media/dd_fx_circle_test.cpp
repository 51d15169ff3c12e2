// Disc and lens copies on the software display.
#include <algorithm>
#include <cmath>
#include <random>

#include "base/checked_convert.h"
#include "dd_fx_test_env.h"

namespace {

class Circle : public FxTest {
 protected:
  void SetUp() override {
    FxTest::SetUp();
    ASSERT_TRUE(Start(8));
  }
};

// How many pixels of each row are not 0.
std::vector<int> Widths(DDSURFACEDATA& sd) {
  std::vector<int> widths;
  for (int y = 0; y < sd.nHeight; ++y) {
    int n = 0;
    for (uint32_t v : DrawingTest::Row(&sd, y)) n += v != 0;
    widths.push_back(n);
  }
  return widths;
}

// 1 + column + 5 * row, so that every pixel says where it came from.
Rows Numbered(int w, int h) {
  Rows rows(static_cast<size_t>(h));
  for (int y = 0; y < h; ++y)
    for (int x = 0; x < w; ++x) rows[y].push_back(static_cast<uint32_t>(1 + x + 5 * y));
  return rows;
}

}  // namespace

TEST_F(Circle, SpansPerRowFollowTheRadiusStepAndBox) {
  struct Case {
    int halfW, halfH, radius, step;
    std::vector<int> widths;  // rows 0..19 of a 20 x 20 target, centre (10, 10)
  };
  const Case cases[] = {
      // Row 0 spans 2 (r - 1), its neighbours 2 trunc(sqrt(r^2 - 1)), the bottom row 0.
      {10, 10, 5, 1, {0, 0, 0, 0, 0, 0, 6, 8, 8, 8, 8, 8, 8, 8, 6, 0, 0, 0, 0, 0}},
      // Bands of three rows take the width of their middle row.
      {10, 10, 5, 3, {0, 0, 0, 0, 0, 0, 8, 8, 8, 8, 8, 8, 8, 8, 8, 0, 0, 0, 0, 0}},
      {10, 2, 5, 1, {0, 0, 0, 0, 0, 0, 0, 0, 8, 8, 8, 8, 0, 0, 0, 0, 0, 0, 0, 0}},
      {2, 10, 5, 1, {0, 0, 0, 0, 0, 0, 4, 4, 4, 4, 4, 4, 4, 4, 4, 0, 0, 0, 0, 0}},
      {10, 10, 1, 1, std::vector<int>(20, 0)},  // the half span is capped at 0
      {10, 10, 5, 0, std::vector<int>(20, 0)},
      {10, 10, -5, 1, std::vector<int>(20, 0)},
      {10, -2, 5, 1, std::vector<int>(20, 0)},
      // A radius beyond the surfaces fills what the box allows.
      {10, 10, 1000000000, 1, std::vector<int>(20, 20)},
      {10, 10, 1000000000, 7, std::vector<int>(20, 20)},
  };
  DDSURFACEDATA src = Filled(20, 20, 7);
  for (const Case& c : cases) {
    DDSURFACEDATA dst = Filled(20, 20, 0);
    DDBltCircle(&dst, 10, 10, c.halfW, c.halfH, c.radius, c.step, &src, 10, 10, 0);
    EXPECT_EQ(Widths(dst), c.widths) << c.radius << " step " << c.step << " box " << c.halfW << "x" << c.halfH;
  }
  // The spans sit around the centre.
  DDSURFACEDATA dst = Filled(20, 20, 0);
  DDBltCircle(&dst, 10, 10, 10, 10, 5, 1, &src, 10, 10, 0);
  EXPECT_EQ(Row(&dst, 14), (std::vector<uint32_t>{0, 0, 0, 0, 0, 0, 0, 7, 7, 7, 7, 7, 7, 0, 0, 0, 0, 0, 0, 0}));
}

TEST_F(Circle, TheDiscIsReadOnlyFromInsideTheSource) {
  DDSURFACEDATA src = Make(Numbered(5, 5)), dst = Filled(9, 9, 0);
  // Source centre in the corner: what lies left of and above the source is
  // not drawn, and the rest keeps its place around the target centre.
  DDBltCircle(&dst, 4, 4, 9, 9, 3, 1, &src, 0, 0, 0);
  EXPECT_EQ(Row(&dst, 4), (std::vector<uint32_t>{0, 0, 0, 0, 1, 2, 0, 0, 0}));
  EXPECT_EQ(Row(&dst, 3), (std::vector<uint32_t>(9, 0)));
  EXPECT_EQ(Row(&dst, 6), (std::vector<uint32_t>{0, 0, 0, 0, 11, 12, 0, 0, 0}));
}

TEST_F(Circle, TheLensMagnifiesTheMiddleAndMeetsTheRim) {
  // Radius 3, height 4: E = 5; the middle row maps dx to trunc(4 dx / q + 0.5).
  Rows wide(11, std::vector<uint32_t>());
  for (auto& r : wide)
    for (uint32_t x = 0; x < 11; ++x) r.push_back(x + 1);
  DDSURFACEDATA src = Make(wide), dst = Filled(7, 7, 0);
  EXPECT_TRUE(DDBltLens(&dst, 3, 3, 3, 4, &src, 5, 5, 0, 0));
  EXPECT_EQ(Row(&dst, 3), (std::vector<uint32_t>{4, 5, 6, 6, 7, 8, 9}));
  EXPECT_EQ(Get(&dst, 0, 0), 0u);  // outside the disc
}

TEST_F(Circle, ALensOfHeight0ShowsTheCentrePixelInsideTheRim) {
  DDSURFACEDATA src = Make(Numbered(5, 5));
  DDSURFACEDATA dst = Filled(5, 5, 0);
  EXPECT_TRUE(DDBltLens(&dst, 2, 2, 2, 0, &src, 2, 2, 0, 0));
  EXPECT_EQ(AllRows(dst), (Rows{{0, 0, 3, 0, 0},
                                {0, 13, 13, 13, 0},
                                {11, 13, 13, 13, 15},
                                {0, 13, 13, 13, 0},
                                {0, 0, 23, 0, 0}}));
  // The software display never draws the transparent colour, flags or not.
  TransmitPixel = 13;
  DDSURFACEDATA keyed = Filled(5, 5, 0);
  EXPECT_TRUE(DDBltLens(&keyed, 2, 2, 2, 0, &src, 2, 2, 0, 1));
  EXPECT_EQ(AllRows(keyed), (Rows{{0, 0, 3, 0, 0}, {0, 0, 0, 0, 0}, {11, 0, 0, 0, 15}, {0, 0, 0, 0, 0}, {0, 0, 23, 0, 0}}));
}

TEST_F(Circle, ALensWithNothingToDrawIsFalse) {
  DDSURFACEDATA src = Make(Numbered(5, 5)), dst = Filled(5, 5, 0);
  struct Case {
    int radius, height;
    bool drawn;
  };
  const Case cases[] = {{2, 0, true}, {0, 0, false}, {0, 3, false}, {-1, 1, false}, {2, -1, false}, {3, 4, true}};
  for (const Case& c : cases) EXPECT_EQ(DDBltLens(&dst, 2, 2, c.radius, c.height, &src, 2, 2, 0, 0), c.drawn);
}

// The lens as plainly written: each pixel of the disc takes its own square
// root and divisions.
Rows PlainLens(const Rows& src, Rows dst, int cx, int cy, int radius, int height, int scx, int scy) {
  const int64_t r2 = int64_t{radius} * radius, h2 = int64_t{height} * height;
  const int64_t big = ToIntChecked(std::sqrt(static_cast<double>(r2 + h2)));
  const int64_t e = big * big;
  const int64_t sh = static_cast<int64_t>(src.size()), sw = static_cast<int64_t>(src[0].size());
  for (int64_t dy = -radius; dy <= radius; ++dy) {
    for (int64_t dx = -radius; dx <= radius; ++dx) {
      const int64_t x = cx + dx, y = cy + dy, d2 = dx * dx + dy * dy;
      if (y < 0 || y >= static_cast<int64_t>(dst.size()) || x < 0 || x >= static_cast<int64_t>(dst[0].size()) ||
          d2 > r2)
        continue;
      int64_t ox = dx, oy = dy;
      const double q = std::sqrt(static_cast<double>(std::max<int64_t>(e - d2, 0)));
      if (q != 0) {
        ox = ToIntChecked(static_cast<double>(dx * height) / q + 0.5);
        oy = ToIntChecked(static_cast<double>(dy * height) / q + 0.5);
      }
      const int64_t u = scx + ox, v = scy + oy;
      if (u < 0 || u >= sw || v < 0 || v >= sh) continue;
      if (src[v][u] != TransmitPixel) dst[y][x] = src[v][u];
    }
  }
  return dst;
}

TEST_F(Circle, RandomLensesMatchThePlainLensPixelForPixel) {
  std::mt19937 rnd(20261211);
  auto pick = [&](int lo, int hi) { return lo + static_cast<int>(rnd() % static_cast<uint32_t>(hi - lo + 1)); };
  Rows source(29, std::vector<uint32_t>());
  for (size_t y = 0; y < source.size(); ++y)
    for (uint32_t x = 0; x < 37; ++x) source[y].push_back(1 + (x * 7 + static_cast<uint32_t>(y) * 13) % 254);
  DDSURFACEDATA src = Make(source);
  TransmitPixel = 20;
  for (int round = 0; round < 300; ++round) {
    const int w = pick(1, 40), h = pick(1, 40);
    const Rows before(static_cast<size_t>(h), std::vector<uint32_t>(static_cast<size_t>(w), 255));
    DDSURFACEDATA dst = Make(before);
    const int cx = pick(-10, w + 10), cy = pick(-10, h + 10), radius = pick(0, 30), height = pick(0, 60);
    const int scx = pick(-5, 42), scy = pick(-5, 34);
    const bool drawn = DDBltLens(&dst, cx, cy, radius, height, &src, scx, scy, 0, 0);
    const Rows want = drawn ? PlainLens(source, before, cx, cy, radius, height, scx, scy) : before;
    ASSERT_EQ(AllRows(dst), want) << "lens at (" << cx << ", " << cy << ") radius " << radius << " height " << height
                                  << " from (" << scx << ", " << scy << ") on " << w << "x" << h;
  }
}
