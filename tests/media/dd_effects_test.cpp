// Frames, numbers, strip distortions, palette blends and rotation, fades and
// sheet text, pinned by pixel tables at 8 bits (palette indices read plainly).
#include "dd_test_env.h"
#include "media/dd_effects.h"
#include "media/dd_sheet_text.h"

namespace {

class Effects : public DrawingTest {
 protected:
  void SetUp() override {
    DrawingTest::SetUp();
    ASSERT_TRUE(Start(8));
  }
  DDSURFACEDATA Make(const std::vector<std::vector<uint32_t>>& rows) {
    DDSURFACEDATA sd;
    EXPECT_TRUE(DDCreateSurface(&sd, static_cast<int>(rows[0].size()), static_cast<int>(rows.size()), 0, 0, 0,
                                nullptr, 0));
    for (size_t y = 0; y < rows.size(); ++y) SetRow(&sd, static_cast<int>(y), rows[y]);
    return sd;
  }
  DDSURFACEDATA Blank(int w, int h) { return Make(std::vector<std::vector<uint32_t>>(h, std::vector<uint32_t>(w, 0))); }
};

using Rows = std::vector<std::vector<uint32_t>>;

Rows AllRows(DDSURFACEDATA& sd) {
  Rows rows;
  for (int y = 0; y < sd.nHeight; ++y) rows.push_back(DrawingTest::Row(&sd, y));
  return rows;
}

}  // namespace

TEST_F(Effects, FramesLieInsideTheRectangleAndFramedBoxesJustOutsideTheBox) {
  DDSURFACEDATA sd = Blank(6, 5);
  DDDrawFrame(&sd, 0, 0, 6, 5, 1, 3);
  EXPECT_EQ(AllRows(sd), (Rows{{3, 3, 3, 3, 3, 3}, {3, 0, 0, 0, 0, 3}, {3, 0, 0, 0, 0, 3}, {3, 0, 0, 0, 0, 3},
                               {3, 3, 3, 3, 3, 3}}));
  DDSURFACEDATA box = Make({{7, 7, 7}, {7, 7, 7}});
  DDSURFACEDATA target = Blank(6, 5);
  DDDrawFramedBox(&target, 2, 2, 2, 2, &box, 1, 4);
  EXPECT_EQ(AllRows(target), (Rows{{0, 0, 0, 0, 0, 0}, {0, 4, 4, 4, 4, 0}, {0, 4, 7, 7, 4, 0}, {0, 4, 7, 7, 4, 0},
                                   {0, 4, 4, 4, 4, 0}}));
}

TEST_F(Effects, NumbersAreDrawnFromTheDigitStripRightAlignedOrCentred) {
  // Cell d of the strip (2 x 1 pixels) shows d + 1.
  std::vector<uint32_t> strip;
  for (uint32_t d = 0; d < 10; ++d) strip.insert(strip.end(), {d + 1, d + 1});
  DDSURFACEDATA digits = Make({strip});
  struct Case {
    int value, minDigits, centre;
    std::vector<uint32_t> row;
  };
  const Case cases[] = {
      {0, 3, 0, {0, 0, 0, 0, 1, 1, 0, 0, 0, 0}},
      {0, 3, 1, {0, 0, 1, 1, 0, 0, 0, 0, 0, 0}},
      {42, 1, 0, {5, 5, 3, 3, 0, 0, 0, 0, 0, 0}},
      {123, 2, 1, {2, 2, 3, 3, 4, 4, 0, 0, 0, 0}},
      {-7, 2, 0, {0, 0, 1, 1, 0, 0, 0, 0, 0, 0}},  // negatives show as 0
  };
  for (const Case& c : cases) {
    DDSURFACEDATA target = Blank(10, 1);
    DDDrawNumber(&target, 0, 0, 2, 1, &digits, 0, 0, 0, c.value, c.minDigits, c.centre);
    EXPECT_EQ(Row(&target, 0), c.row) << c.value;
  }
}

TEST_F(Effects, SplitMovesOddStripsOneWayAndEvenStripsTheOther) {
  DDSURFACEDATA src = Make({{1, 2, 3, 4, 5, 6}});
  DDSURFACEDATA t = Blank(10, 3);
  EXPECT_EQ(DDBltSplit(&t, 2, 1, 6, 1, 2, 1, &src, 0, 0, 0, 1), 1);
  EXPECT_EQ(AllRows(t), (Rows{{0, 0, 0, 0, 3, 4, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                              {0, 0, 1, 2, 0, 0, 5, 6, 0, 0}}));
  // Width not a multiple of the strip: the rest is not drawn.
  DDSURFACEDATA r = Blank(10, 3);
  DDBltSplit(&r, 2, 1, 5, 1, 2, 1, &src, 0, 0, 0, 1);
  EXPECT_EQ(AllRows(r), (Rows{{0, 0, 0, 0, 3, 4, 0, 0, 0, 0}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0},
                              {0, 0, 1, 2, 0, 0, 0, 0, 0, 0}}));
  // Horizontal bands move left and right.
  DDSURFACEDATA column = Make({{1}, {2}, {3}, {4}});
  DDSURFACEDATA h = Blank(3, 4);
  DDBltSplit(&h, 1, 0, 1, 4, 1, 1, &column, 0, 0, 0, 0);
  EXPECT_EQ(AllRows(h), (Rows{{0, 0, 1}, {2, 0, 0}, {0, 0, 3}, {4, 0, 0}}));
  // Strip 0 is a plain copy; a negative strip draws nothing.
  DDSURFACEDATA plain = Blank(6, 1);
  DDBltSplit(&plain, 0, 0, 6, 1, 0, 5, &src, 0, 0, 0, 1);
  EXPECT_EQ(Row(&plain, 0), (std::vector<uint32_t>{1, 2, 3, 4, 5, 6}));
  DDSURFACEDATA none = Blank(6, 1);
  EXPECT_EQ(DDBltSplit(&none, 0, 0, 6, 1, -2, 0, &src, 0, 0, 0, 1), 0);
  EXPECT_EQ(Row(&none, 0), std::vector<uint32_t>(6, 0u));
}

TEST_F(Effects, BurstMovesTheQuartersDiagonallyOutward) {
  DDSURFACEDATA src = Make({{1, 2, 3, 4}, {5, 6, 7, 8}});
  DDSURFACEDATA t = Blank(8, 6);
  DDBltBurst(&t, 2, 2, 4, 2, &src, 0, 0, 1, 0);
  EXPECT_EQ(AllRows(t), (Rows{{0, 0, 0, 0, 0, 0, 0, 0}, {0, 1, 2, 0, 0, 3, 4, 0}, {0, 0, 0, 0, 0, 0, 0, 0},
                              {0, 0, 0, 0, 0, 0, 0, 0}, {0, 5, 6, 0, 0, 7, 8, 0}, {0, 0, 0, 0, 0, 0, 0, 0}}));
}

TEST_F(Effects, BurstAndSplitAtTheIntLimitsMoveEverythingOffTheTarget) {
  DDSURFACEDATA src = Make({{1, 2, 3, 4}, {5, 6, 7, 8}});
  DDSURFACEDATA t = Blank(8, 6);
  const Rows blank = AllRows(t);
  for (int d : {INT32_MAX, INT32_MIN}) {
    DDBltBurst(&t, 2, 2, 4, 2, &src, 0, 0, d, 0);
    DDBltBurst(&t, INT32_MAX - 1, INT32_MIN + 1, 4, 2, &src, 0, 0, 1, 0);
    DDBltSplit(&t, 2, 2, 4, 2, 1, d, &src, 0, 0, 0, 0);
    DDBltSplit(&t, INT32_MAX - 1, 2, 4, 2, 1, 0, &src, 0, 0, 0, 1);
  }
  EXPECT_EQ(AllRows(t), blank);
}

TEST_F(Effects, WaveMovesEachStripBySineOfItsAngle) {
  // Columns: angles 90, 180, 270, 360 -> offsets 2, 0, -2, 0.
  DDSURFACEDATA src = Make({{1, 2, 3, 4}});
  DDSURFACEDATA t = Blank(4, 5);
  DDBltWave(&t, 0, 2, 4, 1, 1, 2.0, 0, 1, &src, 0, 0, 0, 1);
  EXPECT_EQ(AllRows(t), (Rows{{0, 0, 3, 0}, {0, 0, 0, 0}, {0, 2, 0, 4}, {0, 0, 0, 0}, {1, 0, 0, 0}}));
  // Rows of two: angles 90 + 180 = 270 and 450 -> offsets -1, 1.
  DDSURFACEDATA column = Make({{1}, {2}, {3}, {4}});
  DDSURFACEDATA h = Blank(3, 4);
  DDBltWave(&h, 1, 0, 1, 4, 1, 1.0, 90, 2, &column, 0, 0, 0, 0);
  EXPECT_EQ(AllRows(h), (Rows{{1, 0, 0}, {2, 0, 0}, {0, 0, 3}, {0, 0, 4}}));
  // No extent or no strip: nothing.
  DDSURFACEDATA none = Blank(4, 1);
  DDBltWave(&none, 0, 0, 0, 1, 1, 2.0, 0, 1, &src, 0, 0, 0, 1);
  DDBltWave(&none, 0, 0, 4, 1, 1, 2.0, 0, 0, &src, 0, 0, 0, 1);
  EXPECT_EQ(Row(&none, 0), std::vector<uint32_t>(4, 0u));
}

TEST_F(Effects, DepthRotateNarrowsTurnsOverAndWidensAgain) {
  DDSURFACEDATA front = Make({{1, 2}}), back = Make({{3, 4}});
  struct Case {
    int phase;
    std::vector<uint32_t> row;
  };
  const Case cases[] = {
      {0, {1, 1, 1, 1, 2, 2, 2, 2}}, {1, {0, 1, 1, 1, 2, 2, 2, 0}}, {3, {0, 0, 0, 1, 2, 0, 0, 0}},
      {4, {0, 0, 0, 3, 4, 0, 0, 0}}, {7, {3, 3, 3, 3, 4, 4, 4, 4}}, {12, {0, 0, 0, 1, 2, 0, 0, 0}},
  };
  for (const Case& c : cases) {
    DDSURFACEDATA t = Blank(8, 1);  // the rectangle is 8 x 2, cut to the surface's one row
    DDBltDepthRotate(&t, 0, 0, 8, 2, &front, 0, 0, &back, 0, 0, 2, 1, 0, c.phase, 0);
    EXPECT_EQ(Row(&t, 0), c.row) << "phase " << c.phase;
  }
  // About the horizontal axis the height narrows.
  DDSURFACEDATA tall = Make({{5}, {6}});
  DDSURFACEDATA v = Blank(1, 4);
  DDBltDepthRotate(&v, 0, 0, 2, 4, &tall, 0, 0, &tall, 0, 0, 1, 2, 0, 1, 1);
  EXPECT_EQ(AllRows(v), (Rows{{0}, {5}, {6}, {0}}));
  // Axis 2 and up draw nothing and give axis - 1; a side under 2 draws nothing.
  DDSURFACEDATA none = Blank(8, 1);
  EXPECT_EQ(DDBltDepthRotate(&none, 0, 0, 8, 2, &front, 0, 0, &back, 0, 0, 2, 1, 0, 0, 2), 1);
  EXPECT_EQ(DDBltDepthRotate(&none, 0, 0, 1, 2, &front, 0, 0, &back, 0, 0, 2, 1, 0, 5, 0), 0);
  EXPECT_EQ(DDBltDepthRotate(&none, 0, 0, 8, 1, &front, 0, 0, &back, 0, 0, 2, 1, 0, 5, 1), 0);
  EXPECT_EQ(Row(&none, 0), std::vector<uint32_t>(8, 0u));
}

TEST(PaletteEffects, BlendMixesTheRangeWithAColourByLevel) {
  struct Case {
    int first, last, level;
    PALETTEENTRY e5, e6;
  };
  const PALETTEENTRY src = {200, 100, 0, 0};
  const Case cases[] = {
      {5, 5, 256, {200, 100, 0, 1}, {9, 9, 9, 9}},  // outside the range: untouched
      {5, 5, 0, {0, 0, 255, 1}, {9, 9, 9, 9}},
      {5, 6, 128, {100, 50, 127, 1}, {100, 50, 127, 1}},
      {5, 6, 300, {200, 100, 0, 1}, {200, 100, 0, 1}},  // levels clamp to 0..256
      {5, 6, -4, {0, 0, 255, 1}, {0, 0, 255, 1}},
      {6, 5, 0, src, src},  // a reversed range only copies
      {-1, 5, 0, src, src},
      {5, 256, 0, src, src},
  };
  for (const Case& c : cases) {
    PALETTEENTRY in[256], out[256];
    std::fill(std::begin(in), std::end(in), src);
    std::fill(std::begin(out), std::end(out), PALETTEENTRY{9, 9, 9, 9});
    DDBlendPalette(out, c.first, c.last, c.level, 0, 0, 255, in);
    EXPECT_EQ(out[5], c.e5) << c.first << ".." << c.last << " at " << c.level;
    EXPECT_EQ(out[6], c.e6) << c.first << ".." << c.last << " at " << c.level;
  }
}

TEST(PaletteEffects, RotateTurnsTheRangeAndCopiesTheRest) {
  nBpp = 8;
  struct Case {
    int first, last, n, direction;
    std::vector<int> at15to20;  // the red value (= source entry number) of entries 15..20
  };
  const Case cases[] = {
      {16, 19, 1, 0, {15, 19, 16, 17, 18, 20}},
      {16, 19, 1, 1, {15, 17, 18, 19, 16, 20}},
      {16, 19, 5, 0, {15, 19, 16, 17, 18, 20}},   // n modulo the count
      {16, 19, -1, 0, {15, 17, 18, 19, 16, 20}},
      {16, 19, 4, 0, {15, 16, 17, 18, 19, 20}},
      {19, 16, 1, 0, {15, 16, 17, 18, 19, 20}},   // reversed: only copies
      {16, 300, 1, 0, {15, 16, 17, 18, 19, 20}},
      {16, 19, 1, 2, {15, 16, 17, 18, 19, 20}},   // another direction: only copies
  };
  for (const Case& c : cases) {
    PALETTEENTRY src[256], out[256] = {};
    for (int i = 0; i < 256; ++i) src[i] = PALETTEENTRY{uint8_t(i), 0, 0, 0};
    DDRotatePalette(out, c.first, c.last, c.n, c.direction, src);
    std::vector<int> got;
    for (int i = 15; i <= 20; ++i) got.push_back(out[i].peRed);
    EXPECT_EQ(got, c.at15to20) << c.first << ".." << c.last << " n " << c.n << " dir " << c.direction;
    EXPECT_EQ(out[255].peRed, 255);
  }
  // In place, as the colour animation does it.
  PALETTEENTRY pal[256];
  for (int i = 0; i < 256; ++i) pal[i] = PALETTEENTRY{uint8_t(i), 0, 0, 0};
  DDRotatePalette(pal, 208, 211, 1, 0, pal);
  EXPECT_EQ(std::vector<int>({pal[208].peRed, pal[209].peRed, pal[210].peRed, pal[211].peRed}),
            std::vector<int>({211, 208, 209, 210}));
  nBpp = 24;  // no such depth: nothing at all
  PALETTEENTRY untouched[256] = {};
  DDRotatePalette(untouched, 0, 3, 1, 0, pal);
  EXPECT_EQ(untouched[1].peRed, 0);
  nBpp = 0;
}

TEST_F(Effects, At8BitsFadesRunThePaletteInTenCallsOfStep10) {
  PALETTEENTRY src[256], work[256];
  std::fill(std::begin(src), std::end(src), PALETTEENTRY{200, 100, 50, 0});
  auto entry = [] {
    plat::PalEntry e[256];
    DDPalette->GetEntries(0, 256, e);
    return e[40];
  };
  int calls = 0;
  bool done = false;
  std::vector<int> reds;
  while (!done && calls < 20) {
    done = DDFadeOut(work, 0, 255, 0, 0, 0, 10.0, src, 0);
    ++calls;
    reds.push_back(entry().red);
  }
  EXPECT_EQ(calls, 10);
  EXPECT_EQ(reds.front(), 200);  // sin 90 * 256: the picture
  EXPECT_EQ(reds.back(), 0);     // sin 0: the colour
  EXPECT_EQ(reds[1], 196);       // sin 80 * 256 = 252: (200 * 252) >> 8
  calls = 0;
  done = false;
  while (!done && calls < 20) {
    done = DDFadeIn(work, 0, 255, 0, 0, 0, 10.0, src, 0);
    ++calls;
  }
  EXPECT_EQ(calls, 10);
  EXPECT_EQ(entry().red, 200);
  // A skipped fade ends at once, drawn at its end.
  EXPECT_TRUE(DDFadeOut(work, 0, 255, 0, 0, 0, 10.0, src, 1));
  EXPECT_EQ(entry().red, 0);
  // An abandoned fade goes on from its angle.
  for (int i = 0; i < 3; ++i) EXPECT_FALSE(DDFadeIn(work, 0, 255, 0, 0, 0, 10.0, src, 0));
  calls = 0;
  while (!DDFadeIn(work, 0, 255, 0, 0, 0, 10.0, src, 0)) ++calls;
  EXPECT_EQ(calls, 6);
}

TEST_F(Effects, At16And32BitsFadesMixTheBackBufferWithTheColour) {
  struct Case {
    int bpp;
    uint32_t picture, colour;
  };
  const Case cases[] = {{16, 0xFFFF, 0xF800}, {32, 0x808080, 0xFF0000}};
  for (const Case& c : cases) {
    DDRelease();
    ASSERT_TRUE(Start(c.bpp));
    PALETTEENTRY work[256], src[256] = {};
    DDFillRectColor(&BackBuffer, 0, 0, 640, 480, c.picture);
    EXPECT_FALSE(DDFadeOut(work, 0, 255, 255, 0, 0, 45.0, src, 0));
    EXPECT_EQ(Get(&WorkDD, 10, 10), c.picture);  // the picture was kept at the start
    EXPECT_EQ(Get(&BackBuffer, 639, 479), c.picture);
    EXPECT_FALSE(DDFadeOut(work, 0, 255, 255, 0, 0, 45.0, src, 0));
    EXPECT_TRUE(DDFadeOut(work, 0, 255, 255, 0, 0, 45.0, src, 0));
    EXPECT_EQ(Get(&BackBuffer, 639, 479), c.colour) << c.bpp;
  }
}

TEST_F(Effects, SheetTextTakesKanaFromTheirOwnRowsAndWrapsAtTheScreenEdge) {
  // A 16 x 16 sheet of 1 x 1 cells: the cell at column c, row r shows r * 16 + c.
  Rows cells(16, std::vector<uint32_t>(16));
  for (uint32_t r = 0; r < 16; ++r)
    for (uint32_t c = 0; c < 16; ++c) cells[r][c] = r * 16 + c;
  DDSURFACEDATA sheet = Make(cells);
  DDSURFACEDATA t = Blank(4, 2);
  EXPECT_EQ(DDDrawSheetText(&t, 0, 0, 1, 1, &sheet, "\xB1\xC1" "A\nB"), 1);
  EXPECT_EQ(AllRows(t), (Rows{{17, 129, 65, 0}, {66, 0, 0, 0}}));
  nScreenWidth = 3;
  DDSURFACEDATA wrap = Blank(4, 2);
  DDDrawSheetTextF(&wrap, 0, 0, 1, 1, &sheet, "%d", 1234);
  EXPECT_EQ(AllRows(wrap), (Rows{{49, 50, 51, 0}, {52, 0, 0, 0}}));
}
