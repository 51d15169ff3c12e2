// Blur and mosaic on the software display.
#include "dd_fx_test_env.h"

using testsupport::Sjis;

namespace {

class Blur : public FxTest {};

// Blue 0x10, 0x20 ... 0x90 row by row; byte 3 and the other channels 0.
const Rows kBlues = {{0x10, 0x20, 0x30}, {0x40, 0x50, 0x60}, {0x70, 0x80, 0x90}};

}  // namespace

TEST_F(Blur, Radius1AveragesThePixelItsLeftUpperAndUpperLeftNeighbours) {
  ASSERT_TRUE(Start(32));
  TransmitPixel = 0x50;
  struct Case {
    int flags;
    Rows target;
  };
  const Case cases[] = {
      // At a corner of the rectangle only the pixel itself counts.
      {0, {{0xAA000010, 0xAA000018, 0xAA000028}, {0xAA000028, 0xAA000030, 0xAA000040}, {0xAA000058, 0xAA000060, 0xAA000070}}},
      // The transparent pixel keeps its target and counts for nobody.
      {1, {{0xAA000010, 0xAA000018, 0xAA000028}, {0xAA000028, 0xAA000000, 0xAA00003A}, {0xAA000058, 0xAA000065, 0xAA00007A}}},
  };
  DDSURFACEDATA src = Make(kBlues);
  for (const Case& c : cases) {
    DDSURFACEDATA dst = Filled(3, 3, 0xAA000000);
    EXPECT_TRUE(DDBltBlur(&dst, 0, 0, 3, 3, 1, 1, &src, 0, 0, c.flags));
    EXPECT_EQ(AllRows(dst), c.target) << c.flags;
  }
}

TEST_F(Blur, TheBoxStaysInsideTheRectangleAndTheSource) {
  ASSERT_TRUE(Start(32));
  DDSURFACEDATA src = Make(kBlues);
  struct Case {
    int x, w, rx, ry, sx, sy;
    std::vector<uint32_t> row;  // row 0 of a 4 x 1 target
  };
  const Case cases[] = {
      {0, 3, 1, 1, 1, 1, {0x50, 0x58, 0, 0}},            // from (1, 1): the third column is not the source's
      {0, 3, 1, 1, -1, 0, {0, 0x10, 0x18, 0}},           // left of the source: not read, not drawn
      {1, 3, 2, 1, 0, 0, {0, 0x18, 0x20, 0x20}},         // two before, one after, cut to the rectangle
      {0, 4, 1000000, 1000000, 0, 0, {0x20, 0x20, 0x20, 0}},
      {0, 3, 0, 1, 0, 0, {0, 0, 0, 0}},
      {0, 3, 1, -1, 0, 0, {0, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    DDSURFACEDATA dst = Filled(4, 1, 0);
    EXPECT_TRUE(DDBltBlur(&dst, c.x, 0, c.w, 1, c.rx, c.ry, &src, c.sx, c.sy, 0));
    EXPECT_EQ(Row(&dst, 0), c.row) << c.x << " " << c.rx << " " << c.sx << "," << c.sy;
  }
}

TEST_F(Blur, At16BitsChannelsAverageInTheirOwnWidths) {
  ASSERT_TRUE(Start(16));
  // Red 1 and red 2 of 31 average to 1, not through 0..255.
  DDSURFACEDATA src = Make({{0x0800, 0x1000}}), dst = Filled(2, 1, 0);
  EXPECT_TRUE(DDBltBlur(&dst, 0, 0, 2, 1, 1, 1, &src, 0, 0, 0));
  EXPECT_EQ(Row(&dst, 0), (std::vector<uint32_t>{0x0800, 0x0800}));
}

TEST_F(Blur, At8BitsTheBlurIsRefused) {
  ASSERT_TRUE(Start(8));
  DDSURFACEDATA src = Make({{1, 2}}), dst = Filled(2, 1, 9);
  EXPECT_TRUE(DDBltBlur(&dst, 0, 0, 2, 1, 1, 1, &src, 0, 0, 0));
  EXPECT_EQ(Row(&dst, 0), (std::vector<uint32_t>{9, 9}));
  EXPECT_TRUE(DebugHas(Sjis("8ビットぼかしは不可能！")));
}

TEST_F(Blur, MosaicBlocksTakeTheTopLeftPixelAt8BitsAndEndNarrower) {
  ASSERT_TRUE(Start(8));
  DDSURFACEDATA src = Make({{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}, {11, 12, 13, 14, 15}});
  struct Case {
    int block;
    Rows target;
  };
  const Case cases[] = {
      {2, {{1, 1, 3, 3, 5}, {1, 1, 3, 3, 5}, {11, 11, 13, 13, 15}}},
      {1, {{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}, {11, 12, 13, 14, 15}}},
      {1000000000, {{1, 1, 1, 1, 1}, {1, 1, 1, 1, 1}, {1, 1, 1, 1, 1}}},
      {0, {{0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}}},
      {-2, {{0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}, {0, 0, 0, 0, 0}}},
  };
  for (const Case& c : cases) {
    DDSURFACEDATA dst = Filled(5, 3, 0);
    EXPECT_TRUE(DDBltMosaic(&dst, 0, 0, 5, 3, c.block, &src, 0, 0, 0));
    EXPECT_EQ(AllRows(dst), c.target) << c.block;
  }
  TransmitPixel = 3;  // a transparent corner leaves its block alone
  DDSURFACEDATA dst = Filled(5, 3, 0);
  EXPECT_TRUE(DDBltMosaic(&dst, 0, 0, 5, 3, 2, &src, 0, 0, 1));
  EXPECT_EQ(AllRows(dst), (Rows{{1, 1, 0, 0, 5}, {1, 1, 0, 0, 5}, {11, 11, 13, 13, 15}}));
}

TEST_F(Blur, MosaicOfBlock1PassesEach16BitChannelThrough0To255) {
  ASSERT_TRUE(Start(16));
  // 1 of 31 red comes back as 0, 2 of 63 green as 1.
  DDSURFACEDATA src = Make({{0x0841, 0xFFFF, 0x1234}}), dst = Filled(3, 1, 0);
  EXPECT_TRUE(DDBltMosaic(&dst, 0, 0, 3, 1, 1, &src, 0, 0, 0));
  EXPECT_EQ(Row(&dst, 0), (std::vector<uint32_t>{0x0020, 0xFFFF, 0x0A13}));
}

TEST_F(Blur, MosaicAt16And32BitsAveragesTheBlockWithoutTheTransparentColour) {
  struct Case {
    int bpp;
    uint32_t transmit;
    Rows source;
    uint32_t keyed, opaque;  // every cell with flags 1 and 0
  };
  const Case cases[] = {
      {32, 0x00FF00FF, {{0x000010, 0x000030}, {0x00FF00FF, 0x000050}}, 0xAA000030, 0xAA3F0063},
      // 5-6-5: white, black and red average to (170, 85, 85) of 255; with
      // blue too to (127, 63, 127).
      {16, 0x001F, {{0xFFFF, 0x0000}, {0x001F, 0xF800}}, 0xA2AA, 0x79EF},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(Start(c.bpp));
    TransmitPixel = c.transmit;
    const uint32_t old = c.bpp == 32 ? 0xAA000000 : 0;
    DDSURFACEDATA src = Make(c.source);
    for (int flags : {1, 0}) {
      DDSURFACEDATA dst = Filled(2, 2, old);
      EXPECT_TRUE(DDBltMosaic(&dst, 0, 0, 2, 2, 2, &src, 0, 0, flags));
      const uint32_t v = flags ? c.keyed : c.opaque;
      EXPECT_EQ(AllRows(dst), (Rows{{v, v}, {v, v}})) << c.bpp << " flags " << flags;
    }
    // A block of nothing but the transparent colour stays as it was.
    DDSURFACEDATA clear = Filled(2, 2, c.transmit), dst = Filled(2, 2, old);
    EXPECT_TRUE(DDBltMosaic(&dst, 0, 0, 2, 2, 2, &clear, 0, 0, 1));
    EXPECT_EQ(AllRows(dst), (Rows{{old, old}, {old, old}}));
    DDRelease();
  }
}
