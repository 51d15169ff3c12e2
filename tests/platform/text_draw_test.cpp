// The dialogs' text: measured and drawn onto 32-bit pixels.
#include <gtest/gtest.h>

#include "platform/text.h"
#include "support/bdf_font.h"
#include "support/test_support.h"

using plat::text::GlyphMode;
using testsupport::BdfText;
using testsupport::ScopedWorkDir;
using testsupport::Sjis;
using testsupport::TestCellFont;

namespace {

class DialogText : public ::testing::Test {
 protected:
  void SetUp() override {
    m_dir.WriteFile("cell10.bdf", BdfText(TestCellFont(10)));
    ASSERT_TRUE(plat::text::RegisterFontFile(m_dir.Path() + "/cell10.bdf"));
  }
  void TearDown() override { plat::text::ForgetRegisteredFonts(); }
  ScopedWorkDir m_dir;
};

TEST_F(DialogText, MeasuresTheWidestLineAndEveryLine) {
  struct Case {
    const char* utf8;
    int width, height;
  };
  const Case cases[] = {
      {"", 0, 10},
      {"A", 5, 10},
      {"Aあ", 15, 10},
      {"A\nAgA", 15, 20},
      {"AgA\n", 15, 20},
      {"\n\n", 0, 30},
  };
  for (const Case& c : cases) {
    int w = -1, h = -1;
    ASSERT_TRUE(plat::text::MeasureText("TestCell", 10, Sjis(c.utf8), &w, &h)) << c.utf8;
    EXPECT_EQ(w, c.width) << c.utf8;
    EXPECT_EQ(h, c.height) << c.utf8;
  }
}

TEST_F(DialogText, DrawsGlyphsInTheColourLineByLine) {
  const int w = 8, h = 20, pitch = 10;
  std::vector<uint32_t> pixels(pitch * h, 0xFF000000u);
  ASSERT_TRUE(plat::text::DrawTextPixels32(pixels.data(), w, h, pitch, 1, 0, "TestCell", 10,
                                           "A\ngA", 0x123456));
  std::vector<std::string> picture;
  for (int y = 0; y < h; y++) {
    std::string row;
    for (int x = 0; x < pitch; x++) {
      uint32_t p = pixels[y * pitch + x];
      EXPECT_TRUE(p == 0xFF000000u || p == 0xFF123456u) << x << "," << y;
      row += p == 0xFF123456u ? '#' : '.';
    }
    picture.push_back(row);
  }
  const std::vector<std::string> expected = {
      "..........",
      "..........",
      "..........",
      "..........",
      "...#......",  // 'A' from the pen at 1
      "..#.#.....",
      "..###.....",
      "..#.#.....",  // the baseline lies below this row
      "..........",
      "..........",
      "..........",  // the second line
      "..........",
      "..........",
      "..........",
      "..........",
      "..###..#..",  // 'g', then 'A' cut at the width of 8
      "..#.#..#..",
      "..###..#..",
      "....#.....",
      "..##......",
  };
  EXPECT_EQ(picture, expected);
}

TEST(DialogTextIpa, BlendsByCoverageAndKeepsTheTopByte) {
  auto face = plat::text::OpenFace(plat::text::kDialogFace, -plat::text::kDialogEmPixels, 0);
  ASSERT_NE(face, nullptr);
  EXPECT_EQ(face->Family(), "IPAPGothic");

  std::string text = Sjis("あ");
  int w = 0, h = 0;
  ASSERT_TRUE(plat::text::MeasureText(plat::text::kDialogFace, plat::text::kDialogEmPixels, text,
                                      &w, &h));
  EXPECT_EQ(w, face->TextWidth(text.data(), text.size()));
  EXPECT_EQ(h, face->Metrics().height);

  const int size = 24;
  const uint32_t background = 0x80204060u;
  std::vector<uint32_t> pixels(size * size, background);
  ASSERT_TRUE(plat::text::DrawTextPixels32(pixels.data(), size, size, size, 3, 2,
                                           plat::text::kDialogFace, plat::text::kDialogEmPixels,
                                           text, 0xF0E0D0));
  auto g = face->GetGlyph(0x82A0, GlyphMode::Coverage);
  int partial = 0;
  for (int y = 0; y < size; y++) {
    for (int x = 0; x < size; x++) {
      int gx = x - 3 - g->left, gy = y - 2 - g->top;
      unsigned a = gx >= 0 && gx < g->width && gy >= 0 && gy < g->height
                       ? g->pixels[gy * g->width + gx]
                       : 0;
      partial += a > 0 && a < 255;
      auto mix = [a](unsigned d, unsigned s) { return (d * (255 - a) + s * a + 127) / 255; };
      uint32_t expected = 0x80000000u | mix(0x20, 0xF0) << 16 | mix(0x40, 0xE0) << 8 |
                          mix(0x60, 0xD0);
      EXPECT_EQ(pixels[y * size + x], expected) << x << "," << y;
    }
  }
  EXPECT_GT(partial, 0);
}

}  // namespace
