// The rotated copy on the software display.
#include "dd_fx_test_env.h"

namespace {

class Rotate : public FxTest {};

const Rows kNine = {{1, 2, 3}, {4, 5, 6}, {7, 8, 9}};

}  // namespace

TEST_F(Rotate, AngleZeroCopiesOneToOneWithThePivotOnTheGivenPoint) {
  for (int bpp : {8, 16, 32}) {
    ASSERT_TRUE(Start(bpp));
    DDSURFACEDATA src = Make({{1, 2, 3}, {4, 5, 6}}), dst = Filled(6, 5, 0);
    EXPECT_TRUE(DDBltRotate(&dst, 3, 2, 3, 2, 1, 1, 0, &src, 0, 0, 0));
    EXPECT_EQ(AllRows(dst), (Rows{{0, 0, 0, 0, 0, 0},
                                  {0, 0, 1, 2, 3, 0},
                                  {0, 0, 4, 5, 6, 0},
                                  {0, 0, 0, 0, 0, 0},
                                  {0, 0, 0, 0, 0, 0}}))
        << bpp;
    DDRelease();
  }
}

TEST_F(Rotate, NinetyDegreesTurnsExactlyAQuarter) {
  ASSERT_TRUE(Start(16));
  DDSURFACEDATA src = Make(kNine), dst = Filled(5, 5, 0);
  EXPECT_TRUE(DDBltRotate(&dst, 2, 2, 3, 3, 1, 1, 90, &src, 0, 0, 0));
  EXPECT_EQ(AllRows(dst), (Rows{{0, 0, 0, 0, 0},
                                {0, 7, 4, 1, 0},
                                {0, 8, 5, 2, 0},
                                {0, 9, 6, 3, 0},
                                {0, 0, 0, 0, 0}}));
  // A whole turn later the picture is where it started.
  DDSURFACEDATA again = Filled(5, 5, 0);
  EXPECT_TRUE(DDBltRotate(&again, 2, 2, 3, 3, 1, 1, 90 - 360, &src, 0, 0, 0));
  EXPECT_EQ(AllRows(again), AllRows(dst));
}

TEST_F(Rotate, TheTransparentColourIsLeftOutWithFlags1) {
  ASSERT_TRUE(Start(32));
  TransmitPixel = 5;
  DDSURFACEDATA src = Make(kNine);
  for (int flags : {0, 1}) {
    DDSURFACEDATA dst = Filled(3, 3, 0xEE);
    EXPECT_TRUE(DDBltRotate(&dst, 1, 1, 3, 3, 1, 1, 0, &src, 0, 0, flags));
    EXPECT_EQ(Get(&dst, 1, 1), flags ? 0xEEu : 5u);
  }
}

TEST_F(Rotate, OnlyPixelsInsideTheSourceAreRead) {
  ASSERT_TRUE(Start(8));
  DDSURFACEDATA src = Make(kNine);
  struct Case {
    int sx, sy;
    Rows target;
  };
  const Case cases[] = {
      {1, 0, {{2, 3, 0}, {5, 6, 0}, {8, 9, 0}}},   // past the right edge
      {0, 1, {{4, 5, 6}, {7, 8, 9}, {0, 0, 0}}},   // past the bottom edge
      {-1, 0, {{0, 1, 2}, {0, 4, 5}, {0, 7, 8}}},  // before the left edge
      {0, -2, {{0, 0, 0}, {0, 0, 0}, {1, 2, 3}}},  // above the top edge
      {3, 3, {{0, 0, 0}, {0, 0, 0}, {0, 0, 0}}},
  };
  for (const Case& c : cases) {
    DDSURFACEDATA dst = Filled(3, 3, 0);
    EXPECT_TRUE(DDBltRotate(&dst, 1, 1, 3, 3, 1, 1, 0, &src, c.sx, c.sy, 0));
    EXPECT_EQ(AllRows(dst), c.target) << c.sx << "," << c.sy;
  }
}
