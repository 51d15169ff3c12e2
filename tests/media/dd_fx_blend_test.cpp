// Translucent and tinted copies on the software display at 8, 16 and 32
// bits, and the colour tone's refusal there.
#include <algorithm>

#include "dd_fx_test_env.h"

using testsupport::Sjis;

namespace {

class Blend : public FxTest {
 protected:
  void TearDown() override {
    std::copy(std::begin(m_savedBlend), std::end(m_savedBlend), BlendTable);
    FxTest::TearDown();
  }
  void SetUp() override {
    FxTest::SetUp();
    std::copy(std::begin(BlendTable), std::end(BlendTable), m_savedBlend);
  }
  uint8_t m_savedBlend[65536];
};

// [target * 256 + source] = 100 + 10 * target + source for indices below 10,
// so that the two orders give different entries.
const uint8_t* AsymmetricTable() {
  static uint8_t table[65536];
  std::fill(std::begin(table), std::end(table), 0xEE);
  for (int t = 0; t < 10; ++t)
    for (int s = 0; s < 10; ++s) table[t * 256 + s] = static_cast<uint8_t>(100 + 10 * t + s);
  return table;
}

}  // namespace

TEST_F(Blend, AlphaAt8BitsMixesThroughTheTableByTargetThenSourceAndIndex0IsTransparent) {
  ASSERT_TRUE(Start(8));
  TransmitPixel = 2;  // not what this copy leaves out: index 0 is
  struct Case {
    int flags;
    std::vector<uint32_t> row;
  };
  const Case cases[] = {
      {1, {7, 137, 5, 152, 142}},  // source 0 skipped; target 0 takes the source
      {0, {7, 137, 150, 152, 142}},
  };
  for (const Case& c : cases)
    for (int level : {0, 200}) {
      DDSURFACEDATA dst = Make({{0, 3, 5, 5, 4}}), src = Make({{7, 7, 0, 2, 2}});
      EXPECT_TRUE(DDBltAlpha(&dst, 0, 0, 5, 1, &src, 0, 0, c.flags, AsymmetricTable(), level));
      EXPECT_EQ(Row(&dst, 0), c.row) << c.flags << " " << level;
    }
  DDSURFACEDATA dst = Make({{3}}), src = Make({{7}});
  EXPECT_FALSE(DDBltAlpha(&dst, 0, 0, 1, 1, &src, 0, 0, 0, nullptr, 0));
  EXPECT_EQ(Get(&dst, 0, 0), 3u);
}

TEST_F(Blend, AlphaAt16And32BitsMixesHalfAndHalfWhateverTheLevel) {
  struct Case {
    int bpp;
    uint32_t transmit;
    std::vector<uint32_t> target, source, keyed, opaque;
  };
  const Case cases[] = {
      // 5-6-5: white over black through 0..255 gives 15, 31, 15; a target of
      // the transparent colour takes the source.
      {16, 0xF81F, {0x0000, 0xF81F, 0x1234, 0x001F}, {0xFFFF, 0x1234, 0xF81F, 0xF800},
       {0x7BEF, 0x1234, 0x1234, 0x780F}, {0x7BEF, 0x1234, 0x8119, 0x780F}},
      // Byte 3 means nothing on the software display: kept, and not compared.
      {32, 0x00FF00FF, {0xAA102030, 0x55FF00FF, 0x11000000}, {0x00FF8040, 0x00123456, 0x99FF00FF},
       {0xAA875038, 0x55123456, 0x11000000}, {0xAA875038, 0x55123456, 0x117F007F}},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(Start(c.bpp));
    TransmitPixel = c.transmit;
    const int n = static_cast<int>(c.target.size());
    for (int level : {0, 128, 255}) {
      DDSURFACEDATA dst = Make({c.target}), src = Make({c.source});
      EXPECT_TRUE(DDBltAlpha(&dst, 0, 0, n, 1, &src, 0, 0, 1, nullptr, level));
      EXPECT_EQ(Row(&dst, 0), c.keyed) << c.bpp << " " << level;
      DDSURFACEDATA dst0 = Make({c.target});
      EXPECT_TRUE(DDBltHalf(&dst0, 0, 0, n, 1, &src, 0, 0, 0, nullptr));
      EXPECT_EQ(Row(&dst0, 0), c.opaque) << c.bpp;
    }
    DDRelease();
  }
}

TEST_F(Blend, CopiesLandOnlyWhereTargetAndSourceBothHavePixels) {
  ASSERT_TRUE(Start(32));
  TransmitPixel = 0x00FF00FF;
  // Mixed with a black target every source value halves: 2 -> 1, 4 -> 2 ...
  const Rows source = {{0x020202, 0x040404, 0x060606}, {0x080808, 0x0A0A0A, 0x0C0C0C}};
  struct Case {
    int x, y, w, h, sx, sy;
    Rows target;
  };
  const Case cases[] = {
      {-1, 0, 3, 2, 0, 0, {{0x020202, 0x030303, 0, 0}, {0x050505, 0x060606, 0, 0}, {0, 0, 0, 0}}},
      {2, 2, 3, 2, 0, 0, {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0x010101, 0x020202}}},
      {0, 0, 3, 2, -1, 1, {{0, 0x040404, 0x050505, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}},
      {1, 1, 9, 9, 1, 0, {{0, 0, 0, 0}, {0, 0x020202, 0x030303, 0}, {0, 0x050505, 0x060606, 0}}},
      {0, 0, 3, 2, 3, 0, {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}},
      {0, 0, -3, 2, 0, 0, {{0, 0, 0, 0}, {0, 0, 0, 0}, {0, 0, 0, 0}}},
  };
  for (const Case& c : cases) {
    DDSURFACEDATA dst = Filled(4, 3, 0), src = Make(source);
    EXPECT_TRUE(DDBltAlpha(&dst, c.x, c.y, c.w, c.h, &src, c.sx, c.sy, 0, nullptr, 0));
    EXPECT_EQ(AllRows(dst), c.target) << c.x << "," << c.y << " from " << c.sx << "," << c.sy;
  }
}

TEST_F(Blend, TintAt8BitsStepsThroughTheGlobalTableByIndexThenPaletteNumber) {
  ASSERT_TRUE(Start(8));
  TransmitPixel = 2;
  // Through palette number 9 every index moves up by one; the other order
  // and the table argument lead elsewhere.
  for (int i = 0; i < 256; ++i) BlendTable[i * 256 + 9] = static_cast<uint8_t>(i + 1);
  for (int i = 0; i < 256; ++i)
    if (i != 9) BlendTable[9 * 256 + i] = 0xEE;
  static uint8_t argument[65536];
  std::fill(std::begin(argument), std::end(argument), 0x77);
  struct Case {
    int level;
    std::vector<uint32_t> row;
  };
  const Case cases[] = {
      {3, {4, 5, 253, 2}},           // the transparent index keeps the target
      {1000000001, {2, 5, 251, 0}},  // 256 steps bring every index back
      {0, {5, 5, 5, 5}},
      {-4, {5, 5, 5, 5}},
  };
  for (const Case& c : cases) {
    DDSURFACEDATA dst = Filled(4, 1, 5), src = Make({{1, 2, 250, 255}});
    EXPECT_TRUE(DDBltTint(&dst, 0, 0, 4, 1, &src, 0, 0, 1, nullptr, argument, 9, c.level));
    EXPECT_EQ(Row(&dst, 0), c.row) << c.level;
  }
}

TEST_F(Blend, TintAt16And32BitsHalvesTheWayToThePaletteColourPerLevel) {
  PALETTEENTRY palette[256] = {};
  palette[40] = PALETTEENTRY{0, 0, 255, 0};  // 32 bits: blue
  palette[41] = PALETTEENTRY{31, 0, 0, 0};   // 16 bits: red, in channel widths
  struct Case {
    int bpp, palNum, level;
    uint32_t source, target, result;
  };
  const Case cases[] = {
      {32, 40, 0, 0x000000, 0xAA123456, 0xAA123456},
      {32, 40, 1, 0x000000, 0xAA123456, 0xAA00007F},
      {32, 40, 2, 0x000000, 0xAA123456, 0xAA0000BF},
      {32, 40, 3, 0x000000, 0xAA123456, 0xAA0000DF},
      {32, 40, 4, 0x000000, 0xAA123456, 0xAA0000EF},
      {32, 40, 5, 0x000000, 0xAA123456, 0xAA0000F7},
      {32, 40, 2, 0xFFFFFF, 0x00000000, 0x003F3FFF},
      {16, 41, 1, 0xFFFF, 0x0000, 0xFBEF},
      {16, 41, 2, 0xFFFF, 0x0000, 0xF9E7},
      {16, 41, 2, 0x0000, 0x1234, 0xB800},  // black: 191 of 255 red
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(Start(c.bpp));
    TransmitPixel = c.bpp == 32 ? 0x00FF00FF : 0xF81F;
    DDSURFACEDATA dst = Make({{c.target, c.target}}), src = Make({{c.source, TransmitPixel}});
    EXPECT_TRUE(DDBltTint(&dst, 0, 0, 2, 1, &src, 0, 0, 1, palette, nullptr, static_cast<uint8_t>(c.palNum), c.level));
    EXPECT_EQ(Row(&dst, 0), (std::vector<uint32_t>{c.result, c.target})) << c.bpp << " level " << c.level;
    EXPECT_FALSE(DDBltTint(&dst, 0, 0, 2, 1, &src, 0, 0, 1, nullptr, nullptr, 0, 1));  // no palette
    DDRelease();
  }
}

TEST_F(Blend, TheColourToneIsRefusedOnTheSoftwareDisplay) {
  ASSERT_TRUE(Start(32));
  DDSURFACEDATA dst = Filled(2, 2, 0x123456);
  EXPECT_TRUE(DDChangeColor(&dst, 0, 0, 640, 480, 0, 255, 0, 0));
  EXPECT_EQ(AllRows(dst), (Rows{{0x123456, 0x123456}, {0x123456, 0x123456}}));
  EXPECT_TRUE(DebugHas(Sjis("DDrawでは DDChangeColor(DDSURFACEDATA *lpDstSD,int x,int y,int nWidth,int nHeight,"
                            "int nAlpha,BYTE bRed,BYTE bGreen,BYTE bBlue) は未対応")));
}
