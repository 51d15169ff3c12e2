// The glyph caches: the single-byte sheet, the preloaded full-width
// characters, characters added on first use, a full cache, and both sheets
// drawn again after the display lost them.
#include <cstring>

#include "font_test_env.h"
#include "media/dd_restore.h"

using Picture = std::vector<std::string>;

namespace {

// 漢 and 字 of the test face; no cache holds them at the start.
const char kKan[] = "\x8A\xBF";
const char kJi[] = "\x8E\x9A";

class FontCache : public FontTest {
 protected:
  // What the same text looks like drawn with and without the caches.
  void ExpectSameAsUncached(Font& cached, int height, int cell, const char* text) {
    Font plain;
    Make(plain, height, cell, cell, 0);
    const int w = cell * static_cast<int>(std::strlen(text));
    DDSURFACEDATA a = Blank(w, cell), b = Blank(w, cell);
    cached.DrawText(&a, 0, 0, text, 0);
    plain.DrawText(&b, 0, 0, text, 0);
    EXPECT_EQ(Pixels(&a), Pixels(&b)) << text;
    bool ink = false;
    for (const std::string& row : InkOf(&a)) ink = ink || row.find('#') != std::string::npos;
    EXPECT_TRUE(ink) << "nothing drawn: " << text;
  }
};

}  // namespace

TEST_F(FontCache, HalfWidthKatakanaIsDrawnFromRowElevenColumnOne) {
  ASSERT_TRUE(StartWithPalette(16));
  Font font;
  Make(font, 10, 10, 10, 1);
  ASSERT_NE(font.m_lpFastFont_Half, nullptr);
  DDSURFACEDATA& sheet = font.m_lpFastFont_Half->m_sdCache;
  EXPECT_EQ(sheet.nWidth, 160);
  EXPECT_EQ(sheet.nHeight, 160);
  EXPECT_EQ(InkOf(&sheet, 10, 110, 10, 10), (Picture{
                                                 "..........",
                                                 "..........",
                                                 "..........",
                                                 ".####.....",
                                                 "...#......",
                                                 "..#.......",
                                                 "..........",
                                                 "..........",
                                                 "..........",
                                                 "..........",
                                             }));
  // Drawn from there: the whole cell lands on the text's cell.
  Set(&sheet, 19, 119, 0x1234);
  DDSURFACEDATA t = Blank(20, 10);
  font.DrawText(&t, 10, 0, "\xB1", 0);
  EXPECT_EQ(InkOf(&t, 10, 0, 10, 10), InkOf(&sheet, 10, 110, 10, 10));
  EXPECT_EQ(Get(&t, 19, 9), 0x1234u);
}

TEST_F(FontCache, EverySingleByteCodeSitsAloneInItsCell) {
  ASSERT_TRUE(StartWithPalette(32));
  Font cached, plain;
  Make(cached, 10, 10, 10, 1);
  Make(plain, 10, 10, 10, 0);
  DDSURFACEDATA& sheet = cached.m_lpFastFont_Half->m_sdCache;
  // Row 0 (control codes) is empty; lead bytes (rows 8, 9, 14, 15) are
  // drawn alone, as a lone lead byte is drawn in a text.
  EXPECT_EQ(InkOf(&sheet, 0, 0, 160, 10), Picture(10, std::string(160, '.')));
  for (int code = 16; code < 256; ++code) {
    const char text[2] = {static_cast<char>(code), 0};
    DDSURFACEDATA alone = Blank(10, 10);
    plain.DrawText(&alone, 0, 0, text, 1);
    EXPECT_EQ(InkOf(&sheet, code % 16 * 10, code / 16 * 10, 10, 10), InkOf(&alone)) << "code " << code;
  }
}

TEST_F(FontCache, ThePreloadedCharactersFillTheFullWidthCellsInTheirOrder) {
  ASSERT_TRUE(StartWithPalette(32));
  Font font;
  Make(font, 10, 10, 10, 1);
  FastFont& full = *font.m_lpFastFont_FullAdd;
  // 640 / 10 columns, but at most 32; 480 / 10 rows, but at most 30.
  EXPECT_EQ(full.m_nColumns, 32);
  EXPECT_EQ(full.m_nRows, 30);
  EXPECT_EQ(full.m_nCapacity, 960);
  ASSERT_EQ(full.m_nCount, 256);
  ASSERT_EQ(full.m_vChars.size(), 256u);
  for (int k = 0; k < 256; ++k) {
    const FASTFONTCHAR& c = full.m_vChars[static_cast<size_t>(k)];
    EXPECT_EQ(std::string(c.szChar), std::string(kPreloadedChars + 2 * k, 2)) << k;
    EXPECT_EQ(c.nCell, k);
    EXPECT_EQ(c.nX, k % 32 * 10);
    EXPECT_EQ(c.nY, k / 32 * 10);
  }
  // ト is listed twice; the first of its cells is the one drawn from.
  const char to[] = "\x83\x67";
  int first = -1, second = -1;
  for (int k = 0; k < 256; ++k)
    if (std::memcmp(kPreloadedChars + 2 * k, to, 2) == 0) (first < 0 ? first : second) = k;
  ASSERT_GE(second, 0);
  EXPECT_EQ(full.Find(to)->nCell, first);
  // あ (number 86) is in its cell, as drawn alone.
  const FASTFONTCHAR* a = full.Find("\x82\xA0");
  ASSERT_NE(a, nullptr);
  EXPECT_EQ(a->nCell, 86);
  Font plain;
  Make(plain, 10, 10, 10, 0);
  DDSURFACEDATA alone = Blank(10, 10);
  plain.DrawText(&alone, 0, 0, "\x82\xA0", 0);
  EXPECT_EQ(InkOf(&full.m_sdCache, a->nX, a->nY, 10, 10), InkOf(&alone));
}

TEST_F(FontCache, ANewCharacterTakesTheNextCellAndLooksAsUncached) {
  ASSERT_TRUE(StartWithPalette(16));
  Font font;
  Make(font, 10, 10, 10, 1);
  FastFont& full = *font.m_lpFastFont_FullAdd;
  ExpectSameAsUncached(font, 10, 10, kKan);
  ASSERT_EQ(full.m_nCount, 257);
  EXPECT_EQ(std::string(full.m_vChars[256].szChar), kKan);
  EXPECT_EQ(full.Find(kKan)->nCell, 256);
  EXPECT_EQ(InkOf(&full.m_sdCache, 0, 80, 10, 10)[4], ".########.");
  // Once cached it is drawn from its cell; the next new one takes cell 257.
  ExpectSameAsUncached(font, 10, 10, (std::string(kJi) + kKan + "A\x82\xA0").c_str());
  EXPECT_EQ(full.m_nCount, 258);
  EXPECT_EQ(full.Find(kJi)->nCell, 257);
  EXPECT_EQ(font.CachedFullChars(), 258);
}

TEST_F(FontCache, PastItsCapacityTheCacheDrawsCharactersDirectlyEachTime) {
  ASSERT_TRUE(StartWithPalette(32));
  // Cells of 160: 4 columns by 3 rows, full with the first 12 preloaded.
  Font font;
  Make(font, 16, 160, 160, 1);
  FastFont& full = *font.m_lpFastFont_FullAdd;
  EXPECT_EQ(full.m_nCapacity, 12);
  EXPECT_EQ(full.m_nCount, 12);
  for (int i = 0; i < 2; ++i) {
    ExpectSameAsUncached(font, 16, 160, kKan);
    ExpectSameAsUncached(font, 16, 160, "\x82\xA0");  // preloaded, but past the 12th
    EXPECT_EQ(full.m_nCount, 12);
    EXPECT_EQ(full.Find(kKan), nullptr);
  }
}

TEST_F(FontCache, TheFullWidthSpaceIsNeverCached) {
  ASSERT_TRUE(StartWithPalette(32));
  Font font;
  Make(font, 10, 10, 10, 1);
  DDSURFACEDATA t = Blank(30, 10);
  font.DrawText(&t, 0, 0, "\x81\x40" "A\x81\x40", 0);
  EXPECT_EQ(font.m_lpFastFont_FullAdd->m_nCount, 256);
  EXPECT_EQ(font.m_lpFastFont_FullAdd->Find("\x81\x40"), nullptr);
}

TEST_F(FontCache, BothSheetsAreTheSameAfterTheDisplayLostThem) {
  for (int bpp : {8, 16, 32}) {
    ASSERT_TRUE(StartWithPalette(bpp));
    {
      Font font;
      Make(font, 10, 10, 10, 1);
      DDSURFACEDATA t = Blank(20, 10);
      font.DrawText(&t, 0, 0, (std::string(kKan) + kJi).c_str(), 0);
      DDSURFACEDATA& half = font.m_lpFastFont_Half->m_sdCache;
      DDSURFACEDATA& full = font.m_lpFastFont_FullAdd->m_sdCache;
      const std::vector<uint32_t> halfBefore = Pixels(&half), fullBefore = Pixels(&full);
      plat::LoseVideoSurfaces();
      EXPECT_TRUE(DDRestore());
      EXPECT_EQ(Pixels(&half), halfBefore) << bpp;
      EXPECT_EQ(Pixels(&full), fullBefore) << bpp;
      EXPECT_EQ(font.m_lpFastFont_FullAdd->m_nCount, 258);
      EXPECT_EQ(font.m_lpFastFont_FullAdd->Find(kJi)->nCell, 257);
      // And the font draws again.
      ExpectSameAsUncached(font, 10, 10, kJi);
    }
    DDRelease();
  }
}
