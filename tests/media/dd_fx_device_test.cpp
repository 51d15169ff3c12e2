// Pixel effects on the 3D back end: the software paths into textures, the
// full-screen back buffer and the stand-in back buffer; the quads into
// render targets; the disc's one batch; locks that fail; the palette
// swatch; and arguments of any size.
#include <climits>
#include <random>

#include "dd_fx_test_env.h"
#include "dt_test_env.h"
#include "media/dd_blit.h"
#include "media/dt_device.h"

using testsupport::Sjis;

namespace {

class Fx3D : public Drawing3DTest {
 protected:
  // A surface of the rows: a render target (DTMEMORYTYPE_VIDEO_RT) or a
  // system-memory texture (DTMEMORYTYPE_SYSTEM).
  DDSURFACEDATA Make(const Rows& rows, int dtMemType) {
    DDSURFACEDATA sd;
    EXPECT_TRUE(DDCreateSurface(&sd, static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), 0, 0,
                                dtMemType, nullptr, 0));
    for (size_t y = 0; y < rows.size(); ++y) SetRow(&sd, static_cast<int>(y), rows[y]);
    return sd;
  }
  static Rows AllRows(DDSURFACEDATA& sd) {
    Rows rows;
    for (int y = 0; y < sd.nHeight; ++y) rows.push_back(Row(&sd, y));
    return rows;
  }
  static std::vector<uint32_t> RowOf(DDSURFACEDATA* sd, int y, int n) {
    std::vector<uint32_t> out;
    for (int x = 0; x < n; ++x) out.push_back(Get(sd, x, y));
    return out;
  }
};

constexpr int RT = DTMEMORYTYPE_VIDEO_RT, SYS = DTMEMORYTYPE_SYSTEM;

}  // namespace

TEST_F(Fx3D, SoftwarePathsWriteTheLayoutOfTheirTarget) {
  // A half mix of red over (green + blue), and a block-1 mosaic of red: in
  // a texture with the alpha bit, in the full-screen back buffer as R5G6B5,
  // at 32 bits with alpha 255.
  struct Case {
    const char* what;
    int bpp;
    bool window, toBackBuffer;
    uint32_t before, red, mixed, copied;
  };
  const Case cases[] = {
      {"16 texture", 16, true, false, 0x03FF, 0xFC00, 0xBDEF, 0xFC00},
      {"16 full-screen back buffer", 16, false, true, 0x07FF, 0xFC00, 0x7BEF, 0xF800},
      {"16 window back buffer", 16, true, true, 0x03FF, 0xFC00, 0xBDEF, 0xFC00},
      {"32 texture", 32, false, false, 0x0000FFFF, 0x01FF0000, 0xFF7F7F7F, 0xFFFF0000},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(Start3D(c.bpp, c.window)) << c.what;
    DDSURFACEDATA texture = Make({{c.before, c.before}}, SYS), src = Make({{c.red, c.red}}, SYS);
    DDSURFACEDATA* target = c.toBackBuffer ? &BackBuffer : &texture;
    SetRow(target, 0, {c.before, c.before});
    EXPECT_TRUE(DDBltHalf(target, 0, 0, 1, 1, &src, 0, 0, 1, nullptr)) << c.what;
    EXPECT_TRUE(DDBltMosaic(target, 1, 0, 1, 1, 1, &src, 0, 0, 0)) << c.what;
    EXPECT_EQ(RowOf(target, 0, 2), (std::vector<uint32_t>{c.mixed, c.copied})) << c.what;
    DDReleaseSurface(&texture);
    DDReleaseSurface(&src);
    DDRelease();
  }
}

TEST_F(Fx3D, TheStandInBackBufferTakesTextureLayoutWrites) {
  ASSERT_TRUE(Start3D(16));
  DDSURFACEDATA src = Make({{0xFC00}}, SYS);
  DDUseVirBackBuffer(1);
  EXPECT_TRUE(DDBltRotate(&BackBuffer, 0, 0, 1, 1, 0, 0, 0, &src, 0, 0, 0));
  EXPECT_EQ(Get(&VirBackBuffer, 0, 0), 0xFC00u);  // not converted to R5G6B5
  DDUseVirBackBuffer(0);
  EXPECT_TRUE(DDBltRotate(&BackBuffer, 1, 0, 1, 1, 0, 0, 0, &src, 0, 0, 0));
  EXPECT_EQ(Get(&BackBuffer, 1, 0), 0xF800u);
}

TEST_F(Fx3D, AlphaDrawsTheSourceAt255MinusLevelOnTheQuadAndHalfAndHalfInSoftware) {
  ASSERT_TRUE(Start3D(32));
  struct Case {
    int level, targetMem, sourceMem;
    uint32_t result;
  };
  const Case cases[] = {
      {200, RT, RT, 0xD4503264},  // (s * 55 + d * 200) / 255; the texture's alpha blends too
      {0, RT, RT, 0xFFFF0000},
      {255, RT, RT, 0xFF204080},
      {200, SYS, RT, 0xFF8F2040},  // a system-memory target: software
      {200, RT, SYS, 0xFF8F2040},  // a system-memory source: software
  };
  for (const Case& c : cases) {
    DDSURFACEDATA dst = Make({{0xFF204080, 0xFF204080}}, c.targetMem), src = Make({{0xFFFF0000}}, c.sourceMem);
    EXPECT_TRUE(DDBltAlpha(&dst, 0, 0, 1, 1, &src, 0, 0, 1, nullptr, c.level));
    EXPECT_EQ(Row(&dst, 0), (std::vector<uint32_t>{c.result, 0xFF204080})) << c.level;
  }
}

TEST_F(Fx3D, TintQuadBlendsTexelAndPaletteColourByLevel) {
  ASSERT_TRUE(Start3D(32));
  PALETTEENTRY palette[256] = {};
  palette[7] = PALETTEENTRY{0, 0, 255, 0};
  // A black texel keeps 128, 80, 48, 16 of 255 of itself, then none; a
  // transparent texel draws nothing.
  const uint32_t byLevel[] = {0xFF204080, 0xFF00007F, 0xFF0000AF, 0xFF0000CF, 0xFF0000EF, 0xFF0000FF};
  for (int level = 0; level <= 5; ++level) {
    DDSURFACEDATA dst = Make({{0xFF204080, 0xFF204080}}, RT), src = Make({{0xFF000000, 0x00000000}}, RT);
    EXPECT_TRUE(DDBltTint(&dst, 0, 0, 2, 1, &src, 0, 0, 1, palette, nullptr, 7, level));
    EXPECT_EQ(Row(&dst, 0), (std::vector<uint32_t>{byLevel[level], 0xFF204080})) << level;
  }
}

TEST_F(Fx3D, TheColourToneCoversTheWholeTargetWhateverTheRectangle) {
  ASSERT_TRUE(Start3D(32));
  struct Case {
    int alpha;
    uint32_t pixel;
  };
  // The picture times red at opacity 255 - nAlpha over itself.
  const Case cases[] = {{0, 0xFF200000}, {128, 0xFF202040}, {255, 0xFF204080}};
  for (const Case& c : cases) {
    DDUseVirBackBuffer(1);
    for (int y = 0; y < 3; ++y) SetRow(&BackBuffer, y, {0xFF204080, 0xFF204080, 0xFF204080});
    EXPECT_TRUE(DDChangeColor(&BackBuffer, 1, 1, 1, 1, c.alpha, 255, 0, 0));
    DDUseVirBackBuffer(0);
    EXPECT_EQ(Get(&BackBuffer, 0, 0) & 0xFFFFFF, c.pixel & 0xFFFFFF) << c.alpha;
    EXPECT_EQ(Get(&BackBuffer, 2, 2) & 0xFFFFFF, c.pixel & 0xFFFFFF) << c.alpha;
  }
}

TEST_F(Fx3D, RotatedQuadsTurnAboutThePivotCornerInTheDrawColour) {
  ASSERT_TRUE(Start3D(32));
  const uint32_t a = 0xFF000001, b = 0xFF000002, c = 0xFF000003, d = 0xFF000004, e = 0xFF000005, o = 0xFF000000;
  const Rows nine = {{a, b, c}, {d, e, a}, {b, c, d}};
  // The quad turns about the corner at the pivot, software about the pivot
  // pixel: at 0 degrees both copy 1:1, at 90 the same quarter turn lies one
  // column apart.
  struct Case {
    int angle;
    Rows quad, soft;
  };
  const Case cases[] = {
      {0,
       {{o, o, o, o, o}, {o, a, b, c, o}, {o, d, e, a, o}, {o, b, c, d, o}, {o, o, o, o, o}},
       {{o, o, o, o, o}, {o, a, b, c, o}, {o, d, e, a, o}, {o, b, c, d, o}, {o, o, o, o, o}}},
      {90,
       {{o, o, o, o, o}, {b, d, a, o, o}, {c, e, b, o, o}, {d, a, c, o, o}, {o, o, o, o, o}},
       {{o, o, o, o, o}, {o, b, d, a, o}, {o, c, e, b, o}, {o, d, a, c, o}, {o, o, o, o, o}}},
  };
  for (const Case& k : cases) {
    DDSURFACEDATA quadTarget = Make(Rows(5, std::vector<uint32_t>(5, o)), RT);
    DDSURFACEDATA softTarget = Make(Rows(5, std::vector<uint32_t>(5, o)), SYS);
    DDSURFACEDATA src = Make(nine, RT);
    EXPECT_TRUE(DDBltRotate(&quadTarget, 2, 2, 3, 3, 1, 1, k.angle, &src, 0, 0, 0));
    EXPECT_TRUE(DDBltRotate(&softTarget, 2, 2, 3, 3, 1, 1, k.angle, &src, 0, 0, 0));
    EXPECT_EQ(AllRows(quadTarget), k.quad) << k.angle;
    EXPECT_EQ(AllRows(softTarget), k.soft) << k.angle;
  }
  DDSURFACEDATA target = Make({{0xFF000000}}, RT), red = Make({{0xFFFF0000}}, RT), redSys = Make({{0xFFFF0000}}, SYS);
  DDSetDrawColor(0xFF808080);
  EXPECT_TRUE(DDBltRotate(&target, 0, 0, 1, 1, 0, 0, 0, &red, 0, 0, 0));
  EXPECT_EQ(Get(&target, 0, 0), 0xFF800000u);
  EXPECT_TRUE(DDBltRotate(&target, 0, 0, 1, 1, 0, 0, 0, &redSys, 0, 0, 0));  // software: the draw colour is not used
  EXPECT_EQ(Get(&target, 0, 0), 0xFFFF0000u);
  DDResetDrawColor();
  EXPECT_TRUE(DDBltRotate(nullptr, 0, 0, 1, 1, 0, 0, 0, &red, 0, 0, 0));
}

TEST_F(Fx3D, RotationInSoftwareLeavesTheTransparentPixelOut) {
  ASSERT_TRUE(Start3D(16, true));
  TransmitPixel = 0x801F;
  DDSURFACEDATA dst = Make({{0x1111, 0x1111}}, SYS), src = Make({{0xFC00, 0x801F}}, SYS);
  EXPECT_TRUE(DDBltRotate(&dst, 0, 0, 2, 1, 0, 0, 0, &src, 0, 0, 1));
  EXPECT_EQ(Row(&dst, 0), (std::vector<uint32_t>{0xFC00, 0x1111}));
}

namespace {

int g_deviceRuns = 0, g_records = 0;
int CountRun(const DDBATCHBLIT* records, int count) {
  ++g_deviceRuns;
  g_records += count;
  return DTDrawBatchRun(records, count);
}

}  // namespace

TEST_F(Fx3D, TheDiscIsOneBatchOfSpans) {
  ASSERT_TRUE(Start3D(32));
  DDSURFACEDATA src = Make(Rows(20, std::vector<uint32_t>(20, 0xFF00FF00)), RT);
  DDSURFACEDATA dst = Make(Rows(20, std::vector<uint32_t>(20, 0xFF000000)), RT);
  g_deviceRuns = g_records = 0;
  DDBatchRunDrawer = CountRun;
  EXPECT_EQ(DDBltCircle(&dst, 10, 10, 10, 10, 5, 1, &src, 10, 10, 0), 1);
  DDBatchRunDrawer = DTDrawBatchRun;
  EXPECT_EQ(g_deviceRuns, 1);
  EXPECT_EQ(g_records, 9);  // rows -4 .. 4; row 5's span is empty
  EXPECT_EQ(SpriteBatch.bOpen, 0);
  int drawn = 0;
  for (int y = 0; y < 20; ++y)
    for (uint32_t v : Row(&dst, y)) drawn += v == 0xFF00FF00;
  EXPECT_EQ(drawn, 6 + 7 * 8 + 6);
}

TEST_F(Fx3D, TheLensClearsTheCornersOfItsSquareOnlyWhenAsked) {
  ASSERT_TRUE(Start3D(32));
  const uint32_t F = 0xFF111111;
  DDSURFACEDATA src = Make(Rows(3, std::vector<uint32_t>(3, 0xFF00FF00)), SYS);
  for (int clear : {0, 1}) {
    DDSURFACEDATA dst = Make(Rows(3, std::vector<uint32_t>(3, F)), RT);
    EXPECT_TRUE(DDBltLens(&dst, 1, 1, 1, 0, &src, 1, 1, 0, clear));
    const uint32_t corner = clear ? 0 : F;
    EXPECT_EQ(Row(&dst, 0), (std::vector<uint32_t>{corner, 0xFF00FF00, corner})) << clear;
  }
}

TEST_F(Fx3D, ALockThatFailsDrawsNothingAndGivesFalse) {
  ASSERT_TRUE(Start3D(32));
  DDSURFACEDATA dst = Make({{0xFF111111}}, RT), src = Make({{0xFF777777}}, SYS);
  plat::FailD3DCall(plat::D3DCall::GetRenderTargetData, plat::D3DERR_INVALIDCALL);
  EXPECT_FALSE(DDBltBlur(&dst, 0, 0, 1, 1, 1, 1, &src, 0, 0, 0));
  plat::FailD3DCall(plat::D3DCall::LockRect, plat::D3DERR_INVALIDCALL, 1);  // the source's
  EXPECT_FALSE(DDBltMosaic(&dst, 0, 0, 1, 1, 1, &src, 0, 0, 0));
  EXPECT_EQ(Get(&dst, 0, 0), 0xFF111111u);
  EXPECT_TRUE(DebugHas("FAILED( lpDevice->GetRenderTargetData(lpSD->lpDT->lpSurface,lpSD->lpDT->lpSystemSurface) )"));
}

TEST_F(Fx3D, DepthsWithoutPixelLoopsDrawNothing) {
  ASSERT_TRUE(Start3D(32));
  DDSURFACEDATA dst = Make({{0xFF111111}}, SYS), src = Make({{0xFF777777}}, SYS);
  nBpp = 24;
  EXPECT_TRUE(DDBltMosaic(&dst, 0, 0, 1, 1, 1, &src, 0, 0, 0));
  nBpp = 32;
  EXPECT_EQ(Get(&dst, 0, 0), 0xFF111111u);
  EXPECT_TRUE(DebugHas("DDBltMosaic : 24 / 24 bits per pixel, nothing drawn"));
}

TEST_F(Fx3D, SwatchEntriesBehindTransparentPixelsAreKept) {
  struct Case {
    int bpp;
    uint32_t opaque, clear;
    PALETTEENTRY entry;
  };
  const Case cases[] = {
      {16, 0xFC00, 0x7C00, PALETTEENTRY{255, 0, 0, 9}},
      {32, 0x80FF8040, 0x00FF8040, PALETTEENTRY{255, 128, 64, 0x80}},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(Start3D(c.bpp));
    Rows rows(24, std::vector<uint32_t>(16, c.clear));
    rows[8][1] = c.opaque;
    DDSURFACEDATA swatch = Make(rows, SYS);
    PALETTEENTRY pal[256];
    std::fill(std::begin(pal), std::end(pal), PALETTEENTRY{1, 2, 3, 9});
    EXPECT_EQ(DDSetPalette_UnPal(pal, &swatch), 1);
    EXPECT_EQ(pal[1], c.entry) << c.bpp;
    EXPECT_EQ(pal[0], (PALETTEENTRY{1, 2, 3, 9})) << c.bpp;
    EXPECT_EQ(pal[255], (PALETTEENTRY{1, 2, 3, 9})) << c.bpp;
    DDReleaseSurface(&swatch);
    DDRelease();
  }
}

TEST_F(Fx3D, ArgumentsOfAnySizeRunCleanOnQuadsAndLocks) {
  const int values[] = {INT_MIN, -1000000000, -7, -1, 0, 1, 2, 3, 5, 1000000000, INT_MAX};
  std::mt19937 pick(16);
  auto any = [&] { return values[pick() % std::size(values)]; };
  PALETTEENTRY palette[256] = {};
  for (int bpp : {16, 32}) {
    ASSERT_TRUE(Start3D(bpp));
    const Rows small(5, std::vector<uint32_t>(7, 0x1234));
    DDSURFACEDATA rt = Make(small, RT), rt2 = Make(small, RT), sys = Make(small, SYS);
    DDSURFACEDATA* targets[] = {&rt, &sys, &BackBuffer};
    DDSURFACEDATA* sources[] = {&rt2, &sys};
    for (int n = 0; n < 120; ++n) {
      DDSURFACEDATA* d = targets[n % 3];
      DDSURFACEDATA* s = sources[n % 2] == d ? &rt2 : sources[n % 2];
      DDBltAlpha(d, any(), any(), any(), any(), s, any(), any(), n & 1, nullptr, any());
      DDBltTint(d, any(), any(), any(), any(), s, any(), any(), n & 1, palette, nullptr, static_cast<uint8_t>(any()),
                any());
      DDBltRotate(d, any(), any(), any(), any(), any(), any(), any(), s, any(), any(), n & 1);
      DDBltCircle(d, any(), any(), any(), any(), any(), 1 + (n & 3), s, any(), any(), n & 1);
      DDBltLens(d, any(), any(), any(), any(), s, any(), any(), n & 1, n & 2);
      DDBltBlur(d, any(), any(), any(), any(), any(), any(), s, any(), any(), n & 1);
      DDBltMosaic(d, any(), any(), any(), any(), any(), s, any(), any(), n & 1);
      DDChangeColorFrom(d, any(), any(), any(), any(), s, any(), 1, 2, 3);
    }
    DDReleaseSurface(&rt);
    DDReleaseSurface(&rt2);
    DDReleaseSurface(&sys);
    DDRelease();
  }
}

TEST_F(Fx3D, MirroredSheetsShowTheirCellsMirroredOnBothPaths) {
  // Row 0 of the image: red, key, green, blue; the alias mirrors cells of 2.
  WriteImage();
  ASSERT_TRUE(Start3DKeyed(32));
  DDSURFACEDATA source, alias;
  ASSERT_EQ(Load(&source), 0);
  ASSERT_EQ(DDCreateSurfaceFromFile(&alias, "bmp\\Img.bmp", 1, 32, 0, 0, &source, 0, 2, 0, 0), 0);
  alias.lpAlias = &source;
  const uint32_t blue = 0xFF0000FF, green = 0xFF00FF00;
  for (int memType : {RT, SYS}) {
    DDSURFACEDATA dst = Make({{0xFF000000, 0xFF000000}}, memType);
    EXPECT_TRUE(DDBltRotate(&dst, 1, 0, 2, 1, 1, 0, 0, &alias, 2, 0, 0));
    EXPECT_EQ(Row(&dst, 0), (std::vector<uint32_t>{blue, green})) << memType;
    DDSURFACEDATA half = Make({{0xFF000000, 0xFF000000}}, memType);
    EXPECT_TRUE(DDBltAlpha(&half, 0, 0, 2, 1, &alias, 2, 0, 1, nullptr, 0));
    const uint32_t mixed[2] = {memType == RT ? blue : 0xFF00007F, memType == RT ? green : 0xFF007F00};
    EXPECT_EQ(Row(&half, 0), (std::vector<uint32_t>{mixed[0], mixed[1]})) << memType;
  }
}
