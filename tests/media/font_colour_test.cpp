// The text colour on the software display at each depth, and after the
// palette changed at 8 bits.
#include "font_test_env.h"

namespace {

class FontColour : public FontTest {
 protected:
  // The pixel あ leaves at one of its ink dots (11, 2) over a target of colour 5.
  static uint32_t InkPixel(Font& font) {
    DDSURFACEDATA t = Blank(10, 10);
    DDFillSurface(&t, 5);
    font.DrawText(&t, -10, 0, "A\x82\xA0", 0);
    return Get(&t, 1, 2);
  }
};

struct Entry {
  int n;
  PALETTEENTRY colour;
};

}  // namespace

TEST_F(FontColour, AtEightBitsTheFirstEqualEntryElseTheNearest) {
  struct Case {
    std::vector<Entry> before;  // palette entries when the font is made
    std::vector<Entry> after;   // and when it draws
    uint32_t pixel;
  };
  const Case cases[] = {
      {{{200, {10, 20, 30, 0}}}, {}, 200},
      {{{200, {10, 20, 30, 0}}, {7, {10, 20, 30, 0}}}, {}, 7},
      // The palette changed: the colour stays what entry 200 was.
      {{{200, {10, 20, 30, 0}}}, {{200, {12, 20, 30, 0}}}, 200},
      {{{200, {10, 20, 30, 0}}}, {{200, {90, 90, 90, 0}}}, 20},
      {{{200, {10, 20, 30, 0}}}, {{200, {90, 90, 90, 0}}, {99, {10, 20, 30, 0}}}, 99},
  };
  for (const Case& c : cases) {
    ASSERT_TRUE(StartWithPalette(8));
    for (const Entry& e : c.before) CurPalette[e.n] = e.colour;
    {
      Font font;
      // Without caches: cached glyphs keep the colour they were drawn in.
      ASSERT_TRUE(font.Create("TestCell", 0, 10, 10, 10, 200, nullptr, 1, kFrame, nullptr, 0));
      EXPECT_EQ(font.m_dwColor, 0x1E140Au);
      for (const Entry& e : c.after) CurPalette[e.n] = e.colour;
      EXPECT_EQ(InkPixel(font), c.pixel) << c.pixel;
    }
    DDRelease();
  }
}

TEST_F(FontColour, AtSixteenBitsEachChannelIsCutToItsWidth) {
  struct Case {
    PALETTEENTRY channels;  // 5, 6 and 5 bits
    uint32_t gdi;           // 0x00BBGGRR widened to 0-255
    uint32_t pixel;
  };
  const Case cases[] = {
      {{31, 63, 31, 0}, 0xFFFFFF, 0xFFFF},
      {{1, 2, 3, 0}, 0x180808, 0x0843},
      {{31, 0, 16, 0}, 0x8300FF, 0xF810},
      {{0, 63, 0, 0}, 0x00FF00, 0x07E0},
  };
  ASSERT_TRUE(StartWithPalette(16));
  for (const Case& c : cases) {
    CurPalette[200] = c.channels;
    Font font;
    ASSERT_TRUE(font.Create("TestCell", 0, 10, 10, 10, 200, nullptr, 1, kFrame, nullptr, 0));
    EXPECT_EQ(font.m_dwColor, c.gdi);
    EXPECT_EQ(InkPixel(font), c.pixel);
  }
}

TEST_F(FontColour, AtThirtyTwoBitsRedGreenBlue) {
  ASSERT_TRUE(StartWithPalette(32));
  CurPalette[200] = {10, 20, 30, 0};
  Font font;
  ASSERT_TRUE(font.Create("TestCell", 0, 10, 10, 10, 200, nullptr, 1, kFrame, nullptr, 1));
  EXPECT_EQ(font.m_dwColor, 0x1E140Au);
  EXPECT_EQ(InkPixel(font), 0x0A141Eu);
}

TEST_F(FontColour, TextInTheTransparentColourLeavesNoTrace) {
  for (int bpp : {8, 16, 32}) {
    ASSERT_TRUE(StartWithPalette(bpp));
    {
      Font font;
      ASSERT_TRUE(font.Create("TestCell", 0, 10, 10, 10, 0, nullptr, 1, kFrame, nullptr, 0));
      DDSURFACEDATA five = Blank(1, 1);
      DDFillSurface(&five, 5);
      EXPECT_EQ(InkPixel(font), Get(&five, 0, 0)) << bpp;
    }
    DDRelease();
  }
}
