// Measuring texts, boxes fitted to them and centred, formatted texts of any
// length, and null texts.
#include "font_test_env.h"
#include "media/dd_sheet_text.h"

using Picture = std::vector<std::string>;

namespace {

class FontBox : public FontTest {
 protected:
  // The frame's outer rectangle on the back buffer: every pixel of the
  // frame colour lies inside it ({0, 0, 0, 0} when there is none).
  static plat::Rect FrameOnBackBuffer() {
    const uint32_t frame = nBpp == 8 ? kFrame : 0xFF0000;
    plat::Rect r{640, 480, -1, -1};
    for (int y = 0; y < 480; ++y)
      for (int x = 0; x < 640; ++x)
        if (Get(&BackBuffer, x, y) == frame) {
          r.left = std::min(r.left, x);
          r.top = std::min(r.top, y);
          r.right = std::max(r.right, x + 1);
          r.bottom = std::max(r.bottom, y + 1);
        }
    return r.right < 0 ? plat::Rect{} : r;
  }
};

}  // namespace

TEST_F(FontBox, FixedExtentsCountCharactersOfTheWidestLineAndTheLines) {
  ASSERT_TRUE(StartWithPalette(32));
  Font font;
  Make(font, 10, 10, 12, 0);
  struct Case {
    std::string text;
    int w, h;
  };
  const Case cases[] = {
      {"", 0, 0},
      {"abc", 30, 12},
      {"\x82\xA0\x82\xA2" "ab", 40, 12},  // two full-width and two half-width: four cells
      {"ab\ncdef", 40, 24},
      {"a\n", 10, 12},
      {"\n\n", 0, 24},
      {"\x82", 10, 12},  // a lead byte without its trail byte is a character
      {"\x82\nab", 20, 24},
      {std::string(600, 'a'), 6000, 12},  // lines of any length
      {std::string(300, ' ') + "\x82\xA0\nA", 3010, 24},
  };
  for (const Case& c : cases) {
    int out[2] = {-1, -1};
    font.GetTextExtentFixed(out, c.text.c_str());
    EXPECT_EQ(out[0], c.w) << c.text;
    EXPECT_EQ(out[1], c.h) << c.text;
  }
}

TEST_F(FontBox, FaceExtentsAddTheAdvancesOfTheWidestLine) {
  ASSERT_TRUE(StartWithPalette(32));
  Font font;
  Make(font, 10, 0, 12, 0);
  struct Case {
    std::string text;
    int w, h;
  };
  const Case cases[] = {
      {"", 0, 0},
      {"Ag", 10, 12},
      {"\x82\xA0\nAAA", 15, 24},
      {std::string(600, 'A'), 3000, 12},
  };
  for (const Case& c : cases) {
    int out[2] = {-1, -1};
    font.GetTextExtentGdi(out, c.text.c_str());
    EXPECT_EQ(out[0], c.w) << c.text;
    EXPECT_EQ(out[1], c.h) << c.text;
  }
}

TEST_F(FontBox, LineLengthIsTheBytesBeforeTheLineFeed) {
  EXPECT_EQ(LineLength(""), 0);
  EXPECT_EQ(LineLength("abc"), 3);
  EXPECT_EQ(LineLength("\x82\xA0" "b\ncd"), 3);
  EXPECT_EQ(LineLength("\nabc"), 0);
  EXPECT_EQ(LineLength(std::string(1000, 'x').c_str()), 1000);
}

TEST_F(FontBox, BoxesFitTheTextAndCentreInTheirImageOrOnTheScreen) {
  ASSERT_TRUE(StartWithPalette(32));
  DDSURFACEDATA image;
  ASSERT_TRUE(DDCreateSurface(&image, 320, 240, 0, 1, 0, nullptr, 0));
  DDFillSurface(&image, 40);
  struct Case {
    bool withImage;
    int x, y, w, h;
    const char* text;
    int margin;
    plat::Rect box;  // inside the frame
  };
  const Case cases[] = {
      {true, 100, 50, 0, 0, "abc", 8, {100, 50, 138, 60}},  // 8 + 3 cells of 10
      {true, 100, 50, 0, 0, "ab\n\x82\xA0\x82\xA0\x82\xA0", 0, {100, 50, 130, 70}},
      {true, 100, 50, 64, 0, "abc", 8, {100, 50, 164, 60}},
      {true, 100, 50, 0, 33, "abc", 2, {100, 50, 132, 83}},
      {true, FONT_CENTRE, 50, 200, 20, "abc", 0, {60, 50, 260, 70}},     // 320 / 2 - 100
      {true, 10, FONT_CENTRE, 20, 100, "abc", 0, {10, 70, 30, 170}},     // 240 / 2 - 50
      {false, FONT_CENTRE, FONT_CENTRE, 200, 100, "", 0, {220, 190, 420, 290}},  // on the screen
  };
  for (const Case& c : cases) {
    Font font;
    Make(font, 10, 10, 10, 0, nullptr, c.withImage ? &image : nullptr);
    DDFillSurface(&BackBuffer, 1);
    font.DrawTextInBox(&BackBuffer, c.x, c.y, c.w, c.h, c.text, c.margin, 0);
    const plat::Rect frame = FrameOnBackBuffer();
    EXPECT_EQ(frame, (plat::Rect{c.box.left - 1, c.box.top - 1, c.box.right + 1, c.box.bottom + 1})) << c.text;
    const uint32_t inside = Get(&BackBuffer, c.box.left, c.box.bottom - 1);
    EXPECT_EQ(inside, c.withImage ? 0x282828u : 0x010101u) << c.text;

    DDFillSurface(&BackBuffer, 1);
    font.DrawBox(&BackBuffer, c.x, c.y, c.box.right - c.box.left, c.box.bottom - c.box.top);
    EXPECT_EQ(FrameOnBackBuffer(), frame) << c.text;
  }
  // The text starts margin dots in: A of "abc" at 100 + 8, one dot in, one up.
  Font font;
  Make(font, 10, 10, 10, 0, nullptr, &image);
  DDFillSurface(&BackBuffer, 1);
  font.DrawTextBox(&BackBuffer, 100, 50, 0, 0, "A", 8);
  EXPECT_EQ(InkOf(&BackBuffer, 108, 53, 10, 1), (Picture{"...#......"}));
}

TEST_F(FontBox, FormattedTextsAreDrawnWhole) {
  ASSERT_TRUE(StartWithPalette(32));
  Font font;
  Make(font, 10, 10, 10, 1);
  // 300 blanks, then a second line: past any 256 or 512-byte buffer.
  DDSURFACEDATA t = Blank(20, 20);
  EXPECT_EQ(font.DrawTextF(&t, 0, 0, "%600s\n%s", "", "A"), 1);
  EXPECT_EQ(InkOf(&t, 0, 13, 10, 1), (Picture{"...#......"}));
  DDSURFACEDATA boxed = Blank(20, 20);
  font.DrawTextBoxF(&boxed, 0, 0, 0, 0, "%700s\n%c", "", 'A');
  EXPECT_EQ(InkOf(&boxed, 0, 13, 10, 1), (Picture{"...#......"}));

  // The sheet text: a 16 x 16 sheet of 1 x 1 cells, cell (c, r) showing r * 16 + c.
  DDSURFACEDATA sheet = Blank(16, 16);
  for (int r = 0; r < 16; ++r)
    for (int c = 0; c < 16; ++c) Set(&sheet, c, r, static_cast<uint32_t>(r * 16 + c));
  DDSURFACEDATA line = Blank(4, 2);
  DDDrawSheetTextF(&line, 0, 0, 1, 1, &sheet, "%300s\nB%s", "", "C");
  EXPECT_EQ(Row(&line, 1), (std::vector<uint32_t>{66, 67, 0, 0}));
}

TEST_F(FontBox, LongLinesAreDrawnWholeOnTargetsWiderThanTheScreen) {
  ASSERT_TRUE(StartWithPalette(32));
  Font font;
  Make(font, 10, 10, 10, 0);
  DDSURFACEDATA wide = Blank(1000, 10);
  // 90 cells from x = -100: the last A's cell starts at 790.
  font.DrawText(&wide, -100, 0, std::string(90, 'A').c_str(), 0);
  EXPECT_EQ(InkOf(&wide, 780, 3, 20, 1), (Picture{"...#.........#......"}));
  EXPECT_EQ(InkOf(&wide, 0, 3, 10, 1), (Picture{"...#......"}));
}

TEST_F(FontBox, NullTextsDrawNothing) {
  ASSERT_TRUE(StartWithPalette(32));
  DDSURFACEDATA image;
  ASSERT_TRUE(DDCreateSurface(&image, 320, 240, 0, 1, 0, nullptr, 0));
  Font font;
  Make(font, 10, 10, 10, 1, nullptr, &image);
  DDFillSurface(&BackBuffer, 1);
  EXPECT_EQ(font.DrawText(&BackBuffer, 0, 0, nullptr, 0), 0);
  EXPECT_EQ(font.DrawTextBox(&BackBuffer, 10, 10, 0, 0, nullptr, 0), 0);
  EXPECT_EQ(font.DrawTextInBox(&BackBuffer, 10, 10, 50, 50, nullptr, 0, 0), 0);
  EXPECT_EQ(font.DrawTextF(&BackBuffer, 0, 0, nullptr), 0);
  EXPECT_EQ(DDDrawSheetText(&BackBuffer, 0, 0, 8, 8, &image, nullptr), 1);
  EXPECT_EQ(FrameOnBackBuffer(), plat::Rect{});
  EXPECT_EQ(Get(&BackBuffer, 20, 20), 0x010101u);
}
