// The lock guard, the 8-bit blend table, and the palette stand-ins at 16 and
// 32 bits (swatch and surface fade).
#include "dd_test_env.h"

using testsupport::Sjis;

namespace {

class Pixels : public DrawingTest {
 protected:
  DDSURFACEDATA Blank(int w, int h, uint32_t v) {
    DDSURFACEDATA sd;
    EXPECT_TRUE(DDCreateSurface(&sd, w, h, 0, 0, 0, nullptr, 0));
    DDFillSurfaceColor(&sd, v);
    return sd;
  }
};

}  // namespace

TEST_F(Pixels, TheLockGuardGivesThePixelsBackWhenItEnds) {
  ASSERT_TRUE(Start(16));
  DDSURFACEDATA sd = Blank(3, 2, 0x1234);
  {
    cSurfaceLock lock;
    ASSERT_TRUE(lock.Lock(&sd));
    EXPECT_EQ(lock.m_lpSD, &sd);
    EXPECT_EQ(lock.m_nBpp, 16);
    EXPECT_EQ(lock.m_nBytesPerPixel, 2);
    EXPECT_EQ(lock.m_nWidth, 3);
    cSurfaceLock second;
    EXPECT_FALSE(second.Lock(&sd));  // the surface is held
    EXPECT_EQ(second.m_lpSD, nullptr);
  }
  cSurfaceLock again;
  EXPECT_TRUE(again.Lock(&sd));
  again.Unlock();
  EXPECT_EQ(again.m_pBits, nullptr);
  again.Unlock();  // unlocking an empty guard does nothing
  EXPECT_FALSE(again.Lock(nullptr));
}

TEST_F(Pixels, OnlyTheBackBufferInFullScreenIsTheFullScreenBackBuffer) {
  ASSERT_TRUE(Start(32));
  EXPECT_TRUE(DDIsFullscreenBackBuffer(&BackBuffer));
  EXPECT_FALSE(DDIsFullscreenBackBuffer(&WorkDD));
  DDRelease();
  ASSERT_TRUE(Start(32, true));
  EXPECT_FALSE(DDIsFullscreenBackBuffer(&BackBuffer));
}

TEST_F(Pixels, TheBlendTableIsReadWholeOrNotAtAll) {
  std::string table(65536, '\0');
  for (size_t i = 0; i < table.size(); ++i) table[i] = static_cast<char>(i * 7);
  m_dir.WriteFile("bmp/hbt/hbt01.dat", table);
  m_dir.WriteFile("bmp/hbt/hbt02.dat", table.substr(0, 65535));
  ASSERT_TRUE(Start(8));
  static uint8_t blend[65536];
  std::fill(std::begin(blend), std::end(blend), 0xAB);
  EXPECT_TRUE(LoadBlendTable(blend, "bmp\\hbt\\hbt01.dat"));
  EXPECT_EQ(blend[1], 7);
  EXPECT_EQ(blend[65535], static_cast<uint8_t>(65535 * 7));
  std::fill(std::begin(blend), std::end(blend), 0xAB);
  EXPECT_FALSE(LoadBlendTable(blend, "bmp\\hbt\\hbt02.dat"));  // one byte short
  EXPECT_FALSE(LoadBlendTable(blend, "bmp\\hbt\\hbt09.dat"));
  EXPECT_EQ(blend[1], 0xAB);
  DTCONDATA con;
  lpDTCon = &con;
  EXPECT_TRUE(LoadBlendTable(blend, "bmp\\hbt\\hbt09.dat"));  // the 3D device has no blend table
  lpDTCon = nullptr;
}

TEST_F(Pixels, SwatchesReadOnlyThePixelsTheSurfaceHas) {
  ASSERT_TRUE(Start(32));
  DDSURFACEDATA small = Blank(4, 9, 0xFF102030);  // only entries 0..3 of the first swatch row
  PALETTEENTRY pal[256];
  std::fill(std::begin(pal), std::end(pal), PALETTEENTRY{1, 1, 1, 1});
  EXPECT_EQ(DDSetPalette_UnPal(pal, &small), 1);
  EXPECT_EQ(pal[3], (PALETTEENTRY{0x10, 0x20, 0x30, 0xFF}));
  EXPECT_EQ(pal[4], (PALETTEENTRY{1, 1, 1, 1}));
  EXPECT_EQ(pal[16], (PALETTEENTRY{1, 1, 1, 1}));
  DDRelease();
  ASSERT_TRUE(Start(8));
  DDSURFACEDATA indexed = Blank(16, 24, 5);
  EXPECT_EQ(DDSetPalette_UnPal(pal, &indexed), 1);  // nothing at 8 bits
  EXPECT_EQ(pal[3], (PALETTEENTRY{0x10, 0x20, 0x30, 0xFF}));
}

TEST_F(Pixels, SurfaceFadeMixesColourAndSourceByLevel) {
  // The colour (255, 0, 255) and the source 0x204080: byte 3 of the target stays.
  ASSERT_TRUE(Start(32));
  DDSURFACEDATA src = Blank(3, 1, 0x00204080), dst = Blank(2, 2, 0xAA000000);
  struct Level {
    int level;
    uint32_t pixel;
  };
  const Level levels[] = {{0, 0xAAFF00FF}, {256, 0xAA204080}, {128, 0xAA8F20BF}, {-9, 0xAAFF00FF}};
  for (const Level& l : levels) {
    EXPECT_EQ(DDFade_UnPal(&dst, l.level, 255, 0, 255, &src), 1);
    EXPECT_EQ(Get(&dst, 1, 0), l.pixel) << l.level;
    EXPECT_EQ(Get(&dst, 1, 1), 0xAA000000u) << "the source has no second row";
  }
  DDRelease();
  ASSERT_TRUE(Start(16));
  DDSURFACEDATA s16 = Blank(1, 1, 0x8410), d16 = Blank(1, 1, 0);
  DDFade_UnPal(&d16, 256, 0, 0, 0, &s16);
  EXPECT_EQ(Get(&d16, 0, 0), 0x7BEFu);  // 16 of 31 through 0..255 comes back as 15
  DDFade_UnPal(&d16, 0, 255, 0, 255, &s16);
  EXPECT_EQ(Get(&d16, 0, 0), 0xF81Fu);
}

TEST_F(Pixels, TheSurfaceFadeIsRefusedOnThe3DDevice) {
  DTCONDATA con;
  lpDTCon = &con;
  DDSURFACEDATA a, b;
  EXPECT_EQ(DDFade_UnPal(&a, 0, 0, 0, 0, &b), 1);
  EXPECT_TRUE(DebugHas(Sjis("D3DではDDFade_UnPalは未対応")));
  lpDTCon = nullptr;
}
