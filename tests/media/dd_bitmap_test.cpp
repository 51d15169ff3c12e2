// Images from BMP files into surfaces at each depth, the surface table, the
// palette and the transparent colour from images.
#include "base/boxes.h"
#include "dd_test_env.h"
#include "platform/bmp_bytes.h"

using namespace bmpbytes;
using testsupport::Sjis;

namespace {

// 24-bit pixels of one row (B, G, R bytes and padding to 4).
std::string Row24(const std::vector<uint32_t>& rgb) {
  std::string s;
  for (uint32_t c : rgb) {
    s += static_cast<char>(c & 0xFF);
    s += static_cast<char>((c >> 8) & 0xFF);
    s += static_cast<char>((c >> 16) & 0xFF);
  }
  while (s.size() % 4) s += '\0';
  return s;
}

// An 8-bit image (rows top first) with its colour table.
std::string Image8(const std::vector<std::vector<int>>& rows, const std::vector<uint32_t>& table) {
  const int w = static_cast<int>(rows[0].size()), h = static_cast<int>(rows.size());
  std::string pixels;
  for (int y = h - 1; y >= 0; --y) {
    for (int v : rows[static_cast<size_t>(y)]) pixels += static_cast<char>(v);
    while (pixels.size() % 4) pixels += '\0';
  }
  return File(Info(w, h, 8, 0, static_cast<uint32_t>(table.size())), Table(table), pixels);
}

std::string Image24(const std::vector<uint32_t>& row) {
  return File(Info(static_cast<int32_t>(row.size()), 1, 24), "", Row24(row));
}

class Bitmaps : public DrawingTest {
 protected:
  int Load(DDSURFACEDATA& sd, const char* file, int bpp, int mirrorW = 0, int mirrorH = 0, int indexMap = 0) {
    return DDCreateSurfaceFromFile(&sd, file, 0, bpp, 0, 0, nullptr, indexMap, mirrorW, mirrorH, 0);
  }
};

}  // namespace

TEST_F(Bitmaps, At8BitsIndicesAreCopiedAndOtherDepthsRefused) {
  m_dir.WriteFile("bmp/Idx.bmp", Image8({{1, 2, 3}, {4, 5, 6}}, {0, 0x111111, 0x222222, 0x333333, 0x444444, 0x555555, 0x666666}));
  m_dir.WriteFile("bmp/True.bmp", Image24({0xFF0000}));
  ASSERT_TRUE(Start(8));
  DDSURFACEDATA sd;
  EXPECT_EQ(Load(sd, "bmp\\Idx.bmp", 8), 0);
  EXPECT_EQ(Row(&sd, 0), (std::vector<uint32_t>{1, 2, 3}));
  EXPECT_EQ(Row(&sd, 1), (std::vector<uint32_t>{4, 5, 6}));
  EXPECT_EQ(sd.szFileName, "bmp\\Idx.bmp");
  EXPECT_EQ(sd.nWidth, 3);
  EXPECT_EQ(sd.nHeight, 2);
  DDSURFACEDATA refused;
  EXPECT_EQ(Load(refused, "bmp\\True.bmp", 8), 8);
  EXPECT_TRUE(DebugHas("a 24-bit image on an 8-bit display"));
  DDSURFACEDATA missing;
  EXPECT_EQ(Load(missing, "bmp\\none.bmp", 8), 8);
  EXPECT_TRUE(DebugHas("bmp\\none.bmp"));
}

TEST_F(Bitmaps, At16BitsTrueColourImagesScaleChannelsAndKeepOffTheTransparentPixel) {
  // (255, 0, 255), the key colour (1, 2, 3), a grey, black.
  m_dir.WriteFile("bmp/T.bmp", Image24({0xFF00FF, 0x010203, 0x808080, 0x000000}));
  ASSERT_TRUE(Start(16));
  lpDDCon->rgbTransmit16 = RGBTRIPLE{3, 2, 1};
  struct Case {
    uint32_t transmit;
    std::vector<uint32_t> row;
  };
  const Case cases[] = {
      // Magenta lands on the transparent pixel: blue at its top moves down one.
      {0xF81F, {0xF81E, 0xF81F, 0x7BEF, 0x0000}},
      // Black lands on it: blue at its bottom moves up one.
      {0x0000, {0xF81F, 0x0000, 0x7BEF, 0x0001}},
  };
  for (const Case& c : cases) {
    TransmitPixel = c.transmit;
    DDSURFACEDATA sd;
    ASSERT_EQ(Load(sd, "bmp\\T.bmp", 16), 0);
    EXPECT_EQ(Row(&sd, 0), c.row);
  }
}

TEST_F(Bitmaps, PaletteImagesAt16BitsKeepTheTopBitsOfEachChannel) {
  m_dir.WriteFile("bmp/P.bmp", Image8({{0, 1, 2}}, {0x808080, 0xFFFFFF, 0x070307}));
  m_dir.WriteFile("bmp/S.bmp", File(Info(1, 1, 16), "", Bytes({0x10, 0x42, 0, 0})));  // 555: 16, 16, 16
  ASSERT_TRUE(Start(16));
  DDSURFACEDATA sd, s16;
  ASSERT_EQ(Load(sd, "bmp\\P.bmp", 16), 0);
  EXPECT_EQ(Row(&sd, 0), (std::vector<uint32_t>{0x8410, 0xFFFF, 0x0000}));
  ASSERT_EQ(Load(s16, "bmp\\S.bmp", 16), 0);
  // 5 bits widened to 8 (16 -> 132), then cut again: 16, 33, 16.
  EXPECT_EQ(Row(&s16, 0), (std::vector<uint32_t>{0x8430}));
}

TEST_F(Bitmaps, At32BitsColoursAreCopied) {
  m_dir.WriteFile("bmp/P.bmp", Image8({{0, 1}}, {0x102030, 0xFFEEDD}));
  m_dir.WriteFile("bmp/T.bmp", Image24({0x0A0B0C, 0xFF00FF}));
  ASSERT_TRUE(Start(32));
  DDSURFACEDATA p, t;
  ASSERT_EQ(Load(p, "bmp\\P.bmp", 32), 0);
  ASSERT_EQ(Load(t, "bmp\\T.bmp", 32), 0);
  EXPECT_EQ(Row(&p, 0), (std::vector<uint32_t>{0x102030, 0xFFEEDD}));
  EXPECT_EQ(Row(&t, 0), (std::vector<uint32_t>{0x0A0B0C, 0xFF00FF}));
}

TEST_F(Bitmaps, MirroredSheetsTurnEachCellInItsOwnPlace) {
  std::vector<uint32_t> table(16);
  for (int i = 0; i < 16; ++i) table[static_cast<size_t>(i)] = static_cast<uint32_t>(i * 0x111111);
  m_dir.WriteFile("bmp/M.bmp", Image8({{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}}, table));
  ASSERT_TRUE(Start(8));
  struct Case {
    int mw, mh;
    std::vector<uint32_t> top, bottom;
  };
  const Case cases[] = {
      {2, 0, {2, 1, 4, 3, 5}, {7, 6, 9, 8, 10}},  // the last, narrower cell turns within itself
      {0, 2, {6, 7, 8, 9, 10}, {1, 2, 3, 4, 5}},
      {5, 2, {10, 9, 8, 7, 6}, {5, 4, 3, 2, 1}},
  };
  for (const Case& c : cases) {
    DDSURFACEDATA sd;
    ASSERT_EQ(Load(sd, "bmp\\M.bmp", 8, c.mw, c.mh), 0);
    EXPECT_EQ(Row(&sd, 0), c.top) << c.mw << "," << c.mh;
    EXPECT_EQ(Row(&sd, 1), c.bottom);
    EXPECT_EQ(sd.nMirrorW, c.mw);
    EXPECT_EQ(sd.nMirrorH, c.mh);
  }
}

TEST_F(Bitmaps, ReloadingAnImageOfAnotherSizeAt8BitsCopiesNothingAndFails) {
  m_dir.WriteFile("bmp/A.bmp", Image8({{1, 2, 3}, {4, 5, 6}}, {0, 0, 0, 0, 0, 0, 0}));
  ASSERT_TRUE(Start(8));
  DDSURFACEDATA sd;
  ASSERT_EQ(Load(sd, "bmp\\A.bmp", 8), 0);
  m_dir.WriteFile("bmp/A.bmp", Image8({{9, 9, 9, 9}}, {0, 0, 0, 0, 0, 0, 0, 0, 0, 0}));
  EXPECT_EQ(DDReloadBitmap(&sd, 8), 0);
  EXPECT_TRUE(DebugHas("CopyBitmap Err bmp\\A.bmp Surface(3,2) Bmp(4,1)"));
  EXPECT_EQ(Row(&sd, 0), (std::vector<uint32_t>{1, 2, 3}));
}

TEST_F(Bitmaps, LoadSurfacesMakesTheListedEntriesAndStopsAtAMissingRequiredOne) {
  m_dir.WriteFile("bmp/A.bmp", Image8({{1, 2}}, {0, 0, 0}));
  DDSURFACEDATA* table = m_table;
  DDSURFACEDEF* defs = m_defs;
  defs[0].szFileName = "bmp\\A.bmp";
  defs[0].bColorKey = 1;
  defs[1].szFileName = "E";
  defs[1].nWidth = 16;
  defs[1].nHeight = 8;
  defs[2].szFileName = "bmp\\none.bmp";
  defs[2].bOptional = 1;
  defs[3].szFileName = "bmp\\gone.bmp";
  defs[4].szFileName = "E";
  defs[4].nWidth = 4;
  defs[4].nHeight = 4;
  defs[4].nDDMemType = 1;
  ASSERT_TRUE(Start(8, false, table, defs, 5));
  const int first[] = {0, 1, 2};
  EXPECT_TRUE(DDLoadSurfaces(table, first, 3));
  EXPECT_EQ(Row(&table[0], 0), (std::vector<uint32_t>{1, 2}));
  EXPECT_EQ(table[1].nWidth, 16);
  EXPECT_NE(table[1].lpDDS, nullptr);
  EXPECT_TRUE(table[2].lpDDS == nullptr || table[2].lpDDS->lpSurface == nullptr);
  EXPECT_TRUE(m_boxes.shown.empty());
  const int missing[] = {3, 0};
  EXPECT_FALSE(DDLoadSurfaces(table, missing, 2));
  ASSERT_EQ(m_boxes.shown.size(), 1u);
  EXPECT_EQ(m_boxes.shown[0].text, "bmp\\gone.bmp" + Sjis(" の読み込みに失敗！"));
  EXPECT_EQ(m_boxes.shown[0].caption, Sjis("エラー"));
  EXPECT_TRUE(DebugHas("LOADIMAGE_ERR"));
  // An empty surface that cannot be made: out of memory, and the program closes.
  plat::FailDisplayStep(plat::DisplayStep::Surface);
  const int empty[] = {4};
  EXPECT_FALSE(DDLoadSurfaces(table, empty, 1));
  ASSERT_EQ(m_boxes.shown.size(), 2u);
  EXPECT_EQ(m_boxes.shown[1].text, Sjis("メモリが不足しています！"));
  EXPECT_EQ(plat::CloseRequestCount(), 1u);
}

TEST(BitmapResult, EveryCodeButZeroIsAFailure) {
  struct Case {
    int code;
    bool ok;
  };
  const Case cases[] = {{0, true}, {1, false}, {4, false}, {8, false}, {9, false},
                        {static_cast<int>(0x8876017C), false}};
  for (const Case& c : cases) EXPECT_EQ(DDCheckResult(c.code), c.ok) << c.code;
}

TEST_F(Bitmaps, PalettesFromImagesAt8BitsComeFromTheColourTable) {
  std::vector<uint32_t> table(256);
  for (uint32_t i = 0; i < 256; ++i) table[i] = i << 16 | (255 - i) << 8 | i / 2;
  m_dir.WriteFile("bmp/Pal.bmp", Image8({{0}}, table));
  ASSERT_TRUE(Start(8));
  PALETTEENTRY pal[256];
  ASSERT_TRUE(DDLoadPaletteFromFile(pal, "bmp\\Pal.bmp", 8));
  EXPECT_EQ(pal[0], (PALETTEENTRY{0, 255, 0, PC_EXPLICIT}));
  EXPECT_EQ(pal[9].peFlags, PC_EXPLICIT);
  EXPECT_EQ(pal[10], (PALETTEENTRY{10, 245, 5, PC_RESERVED}));
  EXPECT_EQ(pal[245].peFlags, PC_RESERVED);
  EXPECT_EQ(pal[246].peFlags, PC_EXPLICIT);
  plat::PalEntry hardware[256];
  DDPalette->GetEntries(0, 256, hardware);
  EXPECT_EQ(hardware[200], (plat::PalEntry{200, 55, 100, PC_RESERVED}));
  EXPECT_FALSE(DDLoadPaletteFromFile(pal, "bmp\\none.bmp", 8));
}

TEST_F(Bitmaps, PalettesAt16And32BitsComeFromTheSwatchOfTheImage) {
  // Palette entry n is the pixel at column n mod 16, row 8 + n / 16.
  std::vector<std::vector<int>> rows(24, std::vector<int>(16, 0));
  for (int n = 0; n < 256; ++n) rows[static_cast<size_t>(8 + n / 16)][static_cast<size_t>(n % 16)] = n;
  std::vector<uint32_t> table(256);
  for (uint32_t i = 0; i < 256; ++i) table[i] = i << 16 | 0x80 << 8 | (255 - i);
  table[255] = 0xFFFFFF;
  m_dir.WriteFile("bmp/Pal.bmp", Image8(rows, table));
  m_dir.WriteFile("bmp/Small.bmp", Image8({{1, 2}}, {0, 0x112233, 0x445566}));
  struct Case {
    int bpp;
    PALETTEENTRY e17, e255;
  };
  const Case cases[] = {
      {32, {17, 0x80, 238, 0}, {255, 255, 255, 0}},
      // Channel values of the display: 17 >> 3 = 2, 0x80 >> 2 = 32, 238 >> 3 = 29.
      {16, {2, 32, 29, 0}, {31, 63, 31, 0}},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(Start(c.bpp));
    PALETTEENTRY pal[256] = {};
    ASSERT_TRUE(DDLoadPaletteFromFile(pal, "bmp\\Pal.bmp", c.bpp));
    EXPECT_EQ(pal[17], c.e17) << c.bpp;
    EXPECT_EQ(pal[255], c.e255) << c.bpp;
    // An image without a swatch leaves the palette alone.
    PALETTEENTRY keep[256] = {};
    keep[0] = PALETTEENTRY{9, 9, 9, 9};
    EXPECT_TRUE(DDLoadPaletteFromFile(keep, "bmp\\Small.bmp", c.bpp));
    EXPECT_EQ(keep[0], (PALETTEENTRY{9, 9, 9, 9}));
    DDRelease();
  }
}

TEST_F(Bitmaps, TheTransparentColourIsTheTopLeftPixelOfAnImage) {
  m_dir.WriteFile("bmp/Key.bmp", Image8({{5, 1}, {2, 3}}, {0, 0x102030, 0, 0, 0, 0xFF00FF}));
  struct Case {
    int bpp;
    uint32_t pixel;
  };
  const Case cases[] = {{8, 5}, {16, 0xF81F}, {32, 0xFF00FF}};
  for (const Case& c : cases) {
    ASSERT_TRUE(Start(c.bpp));
    TransmitPixel = 0x77;
    EXPECT_EQ(DDSetTransmit("bmp\\Key.bmp"), 1);
    EXPECT_EQ(TransmitPixel, c.pixel) << c.bpp;
    if (c.bpp == 32) {
      EXPECT_EQ(lpDDCon->rgbTransmit, (RGBTRIPLE{0xFF, 0, 0xFF}));
    }
    DDRelease();
  }
  ASSERT_TRUE(Start(32));
  EXPECT_EQ(DDSetTransmit("bmp\\none.bmp"), 0);
  EXPECT_TRUE(DebugHas(Sjis("bmp\\none.bmp 作成失敗！")));
}

TEST_F(Bitmaps, TheTransparentColourFromChannels) {
  ASSERT_TRUE(Start(16));
  DDSetTransmit(255, 128, 8);
  EXPECT_EQ(TransmitPixel, uint32_t{31u << 11 | 31u << 5 | 0u});
  EXPECT_TRUE(DebugHas(Sjis("※16bit色で　DDSetTransmit(BYTE cbRed,BYTE cbGreen,BYTE cbBlue)　は未対応！")));
  ASSERT_EQ(m_boxes.shown.size(), 1u);  // the debug box, shown while the debug log is on
  EXPECT_EQ(m_boxes.shown[0].text, "Tr 64480 RGB32(255,128,8) -> RGB16(255,125,0)");
  DDRelease();
  ASSERT_TRUE(Start(32));
  DDSetTransmit(1, 2, 3);
  EXPECT_EQ(TransmitPixel, 0x010203u);
  EXPECT_EQ(lpDDCon->rgbTransmit, (RGBTRIPLE{3, 2, 1}));
  DDRelease();
  ASSERT_TRUE(Start(8));
  TransmitPixel = 4;
  DDSetTransmit(1, 2, 3);
  EXPECT_EQ(TransmitPixel, 4u);
}

TEST_F(Bitmaps, ThePaletteIndexMapHoldsTheFirstEntryOfEachColour) {
  m_dir.WriteFile("bmp/T.bmp", Image24({0xFF0000, 0x00FF00, 0x010101}));
  struct Case {
    int bpp;
    PALETTEENTRY red, green;
  };
  const Case cases[] = {{32, {255, 0, 0, 0}, {0, 255, 0, 0}}, {16, {31, 0, 0, 0}, {0, 63, 0, 0}}};
  for (const Case& c : cases) {
    ASSERT_TRUE(Start(c.bpp));
    CurPalette[1] = c.red;
    CurPalette[2] = c.red;
    CurPalette[3] = c.green;
    DDSURFACEDATA sd;
    ASSERT_EQ(Load(sd, "bmp\\T.bmp", c.bpp, 0, 0, 1), 0);
    ASSERT_TRUE(sd.lpDDS->lpPalIndex);
    const uint8_t* map = sd.lpDDS->lpPalIndex.get();
    EXPECT_EQ(std::vector<int>({map[0], map[1], map[2]}), std::vector<int>({1, 3, 0})) << c.bpp;
    DDRelease();
  }
}

TEST_F(Bitmaps, BitmapSizeCheck) {
  m_dir.WriteFile("bmp/A.bmp", Image24({1, 2, 3}));
  ASSERT_TRUE(Start(32));
  int tooLarge = 7;
  EXPECT_EQ(DDCheckBitmapSize(&tooLarge, "bmp\\A.bmp", 3, 1), 1);
  EXPECT_EQ(tooLarge, 0);
  EXPECT_EQ(DDCheckBitmapSize(&tooLarge, "bmp\\A.bmp", 2, 5), 1);
  EXPECT_EQ(tooLarge, 1);
  EXPECT_EQ(DDCheckBitmapSize(&tooLarge, "bmp\\none.bmp", 2, 5), 0);
  EXPECT_EQ(tooLarge, 0);
}
