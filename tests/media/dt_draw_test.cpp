// Blits and fills of the 3D back end: the clear before an opaque copy of a
// keyed image, fills by palette number and colour, the processor's copy,
// the batches, and surfaces without texture.
#include "dt_test_env.h"
#include "media/dd_blit.h"

using testsupport::Sjis;

namespace {

class Draw3D : public Drawing3DTest {};

constexpr uint32_t kBefore = 0xFF204080;

}  // namespace

TEST_F(Draw3D, AnOpaqueCopyOfAKeyedImageClearsItsRectangleFirst) {
  // The image's second pixel is the key colour; the target held kBefore.
  struct Case {
    const char* what;
    int bpp;
    bool toBackBuffer;
    int keyed, flags;
    bool batched;
    uint32_t keyPixel, redPixel;
  };
  const Case cases[] = {
      {"32, back buffer: the key colour", 32, true, 1, 0, false, 0xFFFF00FF, 0xFFFF0000},
      {"32, back buffer, batched", 32, true, 1, 0, true, 0xFFFF00FF, 0xFFFF0000},
      {"32, texture: transparent", 32, false, 1, 0, false, 0x00000000, 0xFFFF0000},
      {"32, keyed copy leaves the target", 32, true, 1, 1, false, kBefore, 0xFFFF0000},
      {"32, unkeyed image: no clear", 32, true, 0, 0, false, kBefore, 0xFFFF0000},
      {"16, back buffer: the key colour as at 32", 16, true, 1, 0, false, 0xF81F, 0xF800},
      {"16, back buffer, batched", 16, true, 1, 0, true, 0xF81F, 0xF800},
      {"16, texture: transparent", 16, false, 1, 0, false, 0x0000, 0xFC00},
  };
  WriteImage();
  for (const Case& c : cases) {
    ASSERT_TRUE(Start3DKeyed(c.bpp)) << c.what;
    DDSURFACEDATA image, texture;
    ASSERT_EQ(Load(&image, c.keyed), 0);
    ASSERT_TRUE(DDCreateSurface(&texture, 8, 8, 0, 0, DTMEMORYTYPE_VIDEO_RT, nullptr, 0));
    DDSURFACEDATA* target = c.toBackBuffer ? &BackBuffer : &texture;
    DDFillSurfaceColor(target, kBefore);
    if (c.batched) DDBeginBatch(0);
    DDBlt(target, 2, 3, 4, 2, &image, 0, 0, c.flags);
    if (c.batched) DDFlushBatch();
    EXPECT_EQ(Get(target, 3, 3), c.keyPixel) << c.what;
    EXPECT_EQ(Get(target, 2, 3), c.redPixel) << c.what;
    const uint32_t outside = Get(target, 1, 3);
    EXPECT_EQ(outside, Get(target, 0, 0)) << c.what << ": outside the rectangle nothing changed";
    DDReleaseSurface(&image);
    DDReleaseSurface(&texture);
    DDRelease();
  }
}

TEST_F(Draw3D, FillsByPaletteNumberAndColour) {
  ASSERT_TRUE(Start3DKeyed(32));
  CurPalette[5] = PALETTEENTRY{10, 20, 30, 0};
  struct Case {
    const char* what;
    int keyed;
    int palNum;       // -1: the colour below
    uint32_t colour;
    uint32_t after;
  };
  const Case cases[] = {
      {"palette 0 clears a keyed target", 1, 0, 0, 0x00000000},
      {"palette 0 leaves an unkeyed one", 0, 0, 0, kBefore},
      {"a palette colour is opaque", 0, 5, 0, 0xFF0A141E},
      {"the key colour of a keyed target clears too", 1, -1, 0, 0x00000000},
      {"alpha below 255 blends", 0, -1, 0x80FF0000, 0xBF902040},
      {"palette 300 fills with colour 0", 0, 300, 0, kBefore},
  };
  for (const Case& c : cases) {
    DDSURFACEDATA t;
    ASSERT_TRUE(DDCreateSurface(&t, 4, 4, c.keyed, 0, DTMEMORYTYPE_VIDEO_RT, nullptr, 0));
    DDFillSurfaceColor(&t, kBefore);
    if (c.palNum >= 0)
      DDFillRect(&t, -2, -2, 4, 4, c.palNum);
    else
      DDFillRectColor(&t, -2, -2, 4, 4, c.colour);
    EXPECT_EQ(Get(&t, 1, 1), c.after) << c.what;
    EXPECT_EQ(Get(&t, 2, 2), kBefore) << c.what << ": cut to the rectangle";
  }
  EXPECT_TRUE(DebugHas("PalNumToRGB(DWORD dwPalNum) Err dwPalNum = 300"));

  // The fill batch draws at its flush.
  DDSURFACEDATA t;
  ASSERT_TRUE(DDCreateSurface(&t, 4, 4, 0, 0, DTMEMORYTYPE_VIDEO_RT, nullptr, 0));
  DDFillSurfaceColor(&t, kBefore);
  DDBeginFillBatch();
  DDFillRect(&t, 0, 0, 2, 2, 5);
  DDFillRect(&BackBuffer, 0, 0, 2, 2, 5);
  EXPECT_EQ(Get(&t, 0, 0), kBefore);
  DDFlushFillBatch();
  EXPECT_EQ(Get(&t, 0, 0), 0xFF0A141Eu);
  EXPECT_EQ(Get(&BackBuffer, 1, 1), 0xFF0A141Eu);
}

TEST_F(Draw3D, SystemTexturesAreFilledPixelByPixel) {
  ASSERT_TRUE(Start3DKeyed(16));
  DDSURFACEDATA sys;
  ASSERT_TRUE(DDCreateSurface(&sys, 4, 1, 0, 0, DTMEMORYTYPE_SYSTEM, nullptr, 0));
  EXPECT_EQ(sys.lpDT->bRenderTarget, 0);
  // Each channel, alpha too, scaled to its width: alpha 128 of 1 bit is 0.
  DDFillRectColor(&sys, 0, 0, 2, 1, 0x80FF0000);
  DDFillRectColor(&sys, 2, 0, 9, 9, 0xFF00FF00);
  EXPECT_EQ(Row(&sys, 0), (std::vector<uint32_t>{0x7C00, 0x7C00, 0x83E0, 0x83E0}));
}

TEST_F(Draw3D, TheProcessorCopiesFromSystemTexturesWithThe0xA000Test) {
  struct Case {
    const char* what;
    bool window;
    int flags;
    std::vector<uint32_t> row;
  };
  // Texels: green with alpha, red bit 3 without alpha (counts as opaque),
  // blue without alpha and 0 (both transparent).
  const Case cases[] = {
      {"full screen: 565 with the green doubled", false, 1, {0x07C0, 0x4000, 0x2210, 0x2210}},
      {"full screen, opaque", false, 0, {0x07C0, 0x4000, 0x001F, 0x0000}},
      {"window: the texture's own layout", true, 1, {0x83E0, 0x2000, 0x9110, 0x9110}},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(Start3DKeyed(16, c.window));
    DDSURFACEDATA sys;
    ASSERT_TRUE(DDCreateSurface(&sys, 4, 1, 0, 0, DTMEMORYTYPE_SYSTEM, nullptr, 0));
    SetRow(&sys, 0, {0x83E0, 0x2000, 0x001F, 0x0000});
    DDFillSurfaceColor(&BackBuffer, kBefore);
    DDBlt(&BackBuffer, 0, 0, 4, 1, &sys, 0, 0, c.flags);
    std::vector<uint32_t> got;
    for (int x = 0; x < 4; ++x) got.push_back(Back(x, 0));
    EXPECT_EQ(got, c.row) << c.what;
    // Mirrored and cut at the right edge of the screen.
    DDBltStretch(&BackBuffer, 637, 1, 4, 1, &sys, 4, 0, -4, 1, 0);
    EXPECT_EQ(Back(637, 1), 0x0000u) << c.what;
    EXPECT_EQ(Back(638, 1), 0x001Fu) << c.what;
    EXPECT_EQ(Back(639, 1), c.window ? 0x2000u : 0x4000u) << c.what;
    DDReleaseSurface(&sys);
    DDRelease();
  }
  // At 32 bits alpha 0 is transparent.
  ASSERT_TRUE(Start3DKeyed(32));
  DDSURFACEDATA sys;
  ASSERT_TRUE(DDCreateSurface(&sys, 2, 1, 0, 0, DTMEMORYTYPE_SYSTEM, nullptr, 0));
  SetRow(&sys, 0, {0x00FFFFFF, 0x01000000});
  DDFillSurfaceColor(&BackBuffer, kBefore);
  DDBlt(&BackBuffer, 0, 0, 2, 1, &sys, 0, 0, 1);
  EXPECT_EQ(Back(0, 0), kBefore);
  EXPECT_EQ(Back(1, 0), 0x01000000u);  // copied as it stands
}

TEST_F(Draw3D, ASortedBatchDrawsEachSourceInTheOrderItsKeyWasGiven) {
  ASSERT_TRUE(Start3DKeyed(32));
  DDSURFACEDATA a, b;
  ASSERT_TRUE(DDCreateSurface(&a, 2, 2, 0, 0, DTMEMORYTYPE_VIDEO_RT, nullptr, 0));
  ASSERT_TRUE(DDCreateSurface(&b, 2, 2, 0, 0, DTMEMORYTYPE_VIDEO_RT, nullptr, 0));
  DDFillSurfaceColor(&a, 0xFF00FF00);
  DDFillSurfaceColor(&b, 0xFFFF0000);
  for (int sort : {1, 0}) {
    DDFillSurfaceColor(&BackBuffer, kBefore);
    DDBeginBatch(sort);
    DDBatchKey(&a);
    DDBatchKey(&b);
    DDBlt(&BackBuffer, 0, 0, 2, 2, &b, 0, 0, 0);  // B1
    DDBlt(&BackBuffer, 1, 0, 2, 2, &a, 0, 0, 0);  // A1 over part of B1
    DDBlt(&BackBuffer, 4, 0, 2, 2, &b, 0, 0, 0);  // B2
    EXPECT_EQ(Get(&BackBuffer, 1, 0), kBefore) << "nothing before the flush";
    EXPECT_EQ(DDFlushBatch(), 1);
    // Sorted: A1, then B1 and B2; in queue order A1 comes last.
    EXPECT_EQ(Get(&BackBuffer, 1, 0), sort ? 0xFFFF0000u : 0xFF00FF00u) << sort;
    EXPECT_EQ(Get(&BackBuffer, 2, 0), 0xFF00FF00u);
    EXPECT_EQ(Get(&BackBuffer, 4, 1), 0xFFFF0000u);
  }
}

TEST_F(Draw3D, ARunOfMoreQuadsThanSixteenBitIndicesReachIsDrawnWhole) {
  ASSERT_TRUE(Start3DKeyed(32));
  DDSURFACEDATA dot;
  ASSERT_TRUE(DDCreateSurface(&dot, 1, 1, 0, 0, DTMEMORYTYPE_VIDEO_RT, nullptr, 0));
  DDFillSurfaceColor(&dot, 0xFFFFFFFF);
  DDFillSurfaceColor(&BackBuffer, kBefore);
  const int n = 16384 + 3;
  DDBeginBatch(0);
  for (int i = 0; i < n; ++i) DDBlt(&BackBuffer, i % 640, i / 640, 1, 1, &dot, 0, 0, 0);
  EXPECT_EQ(DDFlushBatch(), 1);
  for (int i : {0, 16383, 16384, n - 1}) EXPECT_EQ(Get(&BackBuffer, i % 640, i / 640), 0xFFFFFFFFu) << i;
  EXPECT_EQ(Get(&BackBuffer, n % 640, n / 640), kBefore);

  // The fill batch alike.
  DDFillSurfaceColor(&BackBuffer, kBefore);
  DDBeginFillBatch();
  for (int i = 0; i < n; ++i) DDFillRectColor(&BackBuffer, i % 640, i / 640, 1, 1, 0xFF00FF00);
  DDFlushFillBatch();
  EXPECT_EQ(Get(&BackBuffer, (n - 1) % 640, (n - 1) / 640), 0xFF00FF00u);
}

TEST_F(Draw3D, SurfacesWithoutTextureDrawNothing) {
  WriteImage();
  ASSERT_TRUE(Start3DKeyed(32));
  DDFillSurfaceColor(&BackBuffer, kBefore);
  // An alias of a source that was never made, and of one whose file is missing.
  DDSURFACEDATA never, missing, alias1, alias2;
  EXPECT_EQ(Load(&missing, 1, 0, 0, 0, "bmp\\None.bmp"), 8);
  for (auto [alias, source] : {std::pair{&alias1, &never}, std::pair{&alias2, &missing}}) {
    ASSERT_EQ(DDCreateSurfaceFromFile(alias, "bmp\\Img.bmp", 1, 32, 0, 0, source, 0, 0, 0, 0), 0);
    alias->lpAlias = source;
    EXPECT_EQ(DDBlt(&BackBuffer, 0, 0, 4, 2, alias, 0, 0, 0), 0);
    DDBeginBatch(0);
    DDBlt(&BackBuffer, 0, 0, 4, 2, alias, 0, 0, 0);
    DDFlushBatch();
  }
  EXPECT_EQ(Get(&BackBuffer, 0, 0), kBefore);
}
