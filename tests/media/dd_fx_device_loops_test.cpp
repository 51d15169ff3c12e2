// The pixel loops in the layouts of the 3D device's surfaces: A1R5G5B5 and
// A8R8G8B8 textures and the full-screen R5G6B5 back buffer, on planes in
// memory.
#include "dd_fx_test_env.h"

namespace {

using Row1 = std::vector<uint32_t>;

}  // namespace

TEST(DeviceLoops, AlphaMixesHalfAndHalfWithTheDevicesTransparencyAndStores) {
  struct Case {
    ePixelMode mode;
    int flags;
    Row1 target, source, result;
  };
  const Case cases[] = {
      // 0x2000 (alpha clear, bit 13 set) is opaque; 0x001F is transparent.
      {PIXEL_DT16, 1, {0x03FF, 0x03FF, 0x03FF}, {0xFC00, 0x2000, 0x001F}, {0xBDEF, 0x91EF, 0x03FF}},
      {PIXEL_DT16, 0, {0x03FF, 0x03FF, 0x03FF}, {0xFC00, 0x2000, 0x001F}, {0xBDEF, 0x91EF, 0x81FF}},
      // The back buffer's 6-bit green mixes with the doubled texture green.
      {PIXEL_DT16_BACK, 1, {0x07FF, 0x07FF}, {0xFC00, 0x0000}, {0x7BEF, 0x07FF}},
      {PIXEL_DT32, 1, {0x00102030, 0x00102030}, {0x01FF8040, 0x00FF8040}, {0xFF875038, 0x00102030}},
  };
  for (const Case& c : cases) {
    MemPlanes m(c.mode, {c.target}, {c.source});
    FxAlphaPixels(m.px, 0, 0, static_cast<int>(c.target.size()), 1, 0, 0, false, false, c.flags, nullptr);
    EXPECT_EQ(m.Target(), Rows{c.result}) << c.mode << " flags " << c.flags;
  }
}

TEST(DeviceLoops, MirroredSheetsAreReadBackwards) {
  MemPlanes m(PIXEL_DT32, {{0, 0, 0}}, {{0xFF000010, 0xFF000020, 0xFF000030, 0xFF000040}});
  FxAlphaPixels(m.px, 0, 0, 3, 1, 4, 0, true, false, 0, nullptr);
  EXPECT_EQ(m.Target(), (Rows{{0xFF000020, 0xFF000018, 0xFF000010}}));
}

TEST(DeviceLoops, TintWeighsSourceAndPaletteColourByLevel) {
  struct Case {
    ePixelMode mode;
    PALETTEENTRY entry;
    uint32_t source;
    Row1 byLevel;  // levels 1..5
  };
  const Case cases[] = {
      {PIXEL_DT32, {0, 0, 255, 0}, 0xFF000000, {0xFF00007F, 0xFF0000BF, 0xFF0000DF, 0xFF0000EF, 0xFF0000FF}},
      {PIXEL_DT16, {0, 0, 255, 0}, 0x8000, {0x800F, 0x8017, 0x801B, 0x801D, 0x801F}},
      // Level 1 adds the greens into six bits; later levels double them.
      {PIXEL_DT16_BACK, {0, 255, 0, 0}, 0x8000, {0x03E0, 0x05C0, 0x06C0, 0x0740, 0x07C0}},
  };
  for (const Case& c : cases)
    for (int level = 1; level <= 5; ++level) {
      MemPlanes m(c.mode, {{0x1234, 0x1234}}, {{c.source, 0}});
      FxTintPixels(m.px, 0, 0, 2, 1, 0, 0, false, false, 1, c.entry, 0, level);
      EXPECT_EQ(m.Target(), (Rows{{c.byLevel[level - 1], 0x1234}})) << c.mode << " level " << level;
    }
}

TEST(DeviceLoops, RotationTestsTheTransparentColourAndConvertsForTheBackBuffer) {
  MemPlanes keyed(PIXEL_DT16, {{0x1111, 0x1111}}, {{0xFC00, 0x801F}}, 0x801F);
  FxRotatePixels(keyed.px, 0, 0, 2, 1, 0, 0, 0, 0, 0, false, false, 1);
  EXPECT_EQ(keyed.Target(), (Rows{{0xFC00, 0x1111}}));
  MemPlanes back(PIXEL_DT16_BACK, {{0, 0}}, {{0xFC00, 0x83E0}});
  FxRotatePixels(back.px, 0, 0, 2, 1, 0, 0, 0, 0, 0, false, false, 0);
  EXPECT_EQ(back.Target(), (Rows{{0xF800, 0x07C0}}));
}

TEST(DeviceLoops, TheLensHonoursFlagsAt16BitsAndClearsAt32BitsWhenAsked) {
  // Radius 1, height 0: the centre and the four rim points; the left rim
  // point's source pixel is transparent.
  const Rows src16 = {{0x8001, 0x8002, 0x8003}, {0x001F, 0x8005, 0x8006}, {0x8007, 0x8008, 0x8009}};
  const Rows src32 = {{0xFF000001, 0xFF000002, 0xFF000003}, {0x00000011, 0xFF000005, 0xFF000006},
                      {0xFF000007, 0xFF000008, 0xFF000009}};
  struct Case {
    ePixelMode mode;
    const Rows* source;
    int flags, clear;
    uint32_t old;
    Rows result;
  };
  const uint32_t E = 0xEEEE, F = 0xEEEEEEEE;
  const Case cases[] = {
      {PIXEL_DT16, &src16, 1, 1, E, {{E, 0x8002, E}, {E, 0x8005, 0x8006}, {E, 0x8008, E}}},
      {PIXEL_DT16, &src16, 0, 1, E, {{E, 0x8002, E}, {0x001F, 0x8005, 0x8006}, {E, 0x8008, E}}},
      {PIXEL_DT16_BACK, &src16, 1, 0, E, {{E, 0x0002, E}, {E, 0x0005, 0x0006}, {E, 0x0008, E}}},
      {PIXEL_DT32, &src32, 1, 0, F, {{F, 0xFF000002, F}, {F, 0xFF000005, 0xFF000006}, {F, 0xFF000008, F}}},
      {PIXEL_DT32, &src32, 0, 1, F, {{0, 0xFF000002, 0}, {0, 0xFF000005, 0xFF000006}, {0, 0xFF000008, 0}}},
  };
  for (const Case& c : cases) {
    MemPlanes m(c.mode, Rows(3, Row1(3, c.old)), *c.source);
    FxLensPixels(m.px, 1, 1, 1, 0, 1, 1, 1, c.flags, c.clear);
    EXPECT_EQ(m.Target(), c.result) << c.mode << " flags " << c.flags << " clear " << c.clear;
  }
  // With bClear a point without a source pixel is cleared too: the centre
  // now reads the transparent pixel, the left rim point nothing.
  MemPlanes edge(PIXEL_DT32, Rows(3, Row1(3, F)), src32);
  FxLensPixels(edge.px, 1, 1, 1, 0, 1, 0, 1, 0, 1);
  EXPECT_EQ(edge.Target()[1], (Row1{0, 0, 0xFF000005}));
}

TEST(DeviceLoops, ABlurBoxOfThousandsOf16BitPixelsAveragesExactly) {
  // 3000 pixels of red 31: their sum does not fit 16 bits.
  const int w = 60, h = 50;
  Rows source(h, Row1(w, 0xFC00)), target(h, Row1(w, 0));
  MemPlanes m(PIXEL_DT16, target, source);
  FxBlurPixels(m.px, 0, 0, w, h, 1000, 1000, 0, 0, 0);
  EXPECT_EQ(m.Target(), Rows(h, Row1(w, 0xFC00)));
  // Half red 31, half black: red 15 everywhere.
  for (Row1& row : source) std::fill(row.begin(), row.begin() + w / 2, 0x8000);
  MemPlanes half(PIXEL_DT16, target, source);
  FxBlurPixels(half.px, 0, 0, w, h, 1000, 1000, 0, 0, 0);
  EXPECT_EQ(half.Target()[h / 2][w / 2], 0xBC00u);
}

TEST(DeviceLoops, BlurAndMosaicStoreInTheDevicesLayouts) {
  MemPlanes blur32(PIXEL_DT32, {{0x00000000, 0x00000000}}, {{0x00000010, 0x01000030}});
  FxBlurPixels(blur32.px, 0, 0, 2, 1, 1, 1, 0, 0, 0);
  EXPECT_EQ(blur32.Target(), (Rows{{0xFF000010, 0xFF000020}}));
  MemPlanes blurBack(PIXEL_DT16_BACK, {{0, 0}}, {{0x83E0, 0x83E0}});
  FxBlurPixels(blurBack.px, 0, 0, 2, 1, 1, 1, 0, 0, 1);
  EXPECT_EQ(blurBack.Target(), (Rows{{0x07C0, 0x07C0}}));
  // The mosaic takes each block's top-left pixel as it is.
  MemPlanes mosaic16(PIXEL_DT16, {{0, 0, 0}}, {{0x001F, 0x8001, 0x8002}});
  FxMosaicPixels(mosaic16.px, 0, 0, 3, 1, 2, 0, 0, 1);
  EXPECT_EQ(mosaic16.Target(), (Rows{{0, 0, 0x8002}}));
  MemPlanes mosaic32(PIXEL_DT32, {{0, 0, 0}}, {{0x00000011, 0x01000022, 0x00000033}});
  FxMosaicPixels(mosaic32.px, 0, 0, 3, 1, 2, 0, 0, 0);
  EXPECT_EQ(mosaic32.Target(), (Rows{{0xFF000011, 0xFF000011, 0xFF000033}}));
  MemPlanes mosaicBack(PIXEL_DT16_BACK, {{0, 0}}, {{0x83E1, 0}});
  FxMosaicPixels(mosaicBack.px, 0, 0, 2, 1, 2, 0, 0, 1);
  EXPECT_EQ(mosaicBack.Target(), (Rows{{0x07C1, 0x07C1}}));
}
