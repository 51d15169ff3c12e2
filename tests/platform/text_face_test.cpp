// Sizes, metrics and glyph placement of faces.
#include <gtest/gtest.h>

#include <set>

#include "platform/text.h"
#include "support/bdf_font.h"
#include "support/test_support.h"

using plat::text::Face;
using plat::text::FaceMetrics;
using plat::text::Glyph;
using plat::text::GlyphMode;
using testsupport::BdfText;
using testsupport::ScopedWorkDir;
using testsupport::Sjis;
using testsupport::TestCellFont;

namespace {

// The generated bitmap face with its strikes of 10 and 16 pixels, each in its
// own file.
class CellFace : public ::testing::Test {
 protected:
  void SetUp() override {
    for (int cell : {10, 16}) {
      std::string name = "cell" + std::to_string(cell) + ".bdf";
      m_dir.WriteFile(name, BdfText(TestCellFont(cell)));
      ASSERT_TRUE(plat::text::RegisterFontFile(m_dir.Path() + "/" + name));
    }
  }
  void TearDown() override {
    plat::text::ForgetRegisteredFonts();
    plat::text::UseSystemFonts(true);
  }
  std::shared_ptr<Face> Open(int height) {
    auto face = plat::text::OpenFace("TestCell", height, 0);
    EXPECT_NE(face, nullptr);
    return face;
  }
  ScopedWorkDir m_dir;
};

// The glyph's pixels as rows of '#' and '.' (a coverage above half is ink).
std::vector<std::string> Picture(const Glyph& g) {
  std::vector<std::string> rows;
  for (int y = 0; y < g.height; y++) {
    std::string row;
    for (int x = 0; x < g.width; x++) row += g.pixels[y * g.width + x] >= 128 ? '#' : '.';
    rows.push_back(row);
  }
  return rows;
}

std::vector<std::string> Picture(const std::vector<uint8_t>& mask, int w, int h) {
  std::vector<std::string> rows;
  for (int y = 0; y < h; y++) {
    std::string row;
    for (int x = 0; x < w; x++) row += mask[y * w + x] ? '#' : '.';
    rows.push_back(row);
  }
  return rows;
}

void ExpectMetrics(const FaceMetrics& m, int height, int ascent, int descent, int avgWidth,
                   int em, const std::string& what) {
  EXPECT_EQ(m.height, height) << what;
  EXPECT_EQ(m.ascent, ascent) << what;
  EXPECT_EQ(m.descent, descent) << what;
  EXPECT_EQ(m.avgWidth, avgWidth) << what;
  EXPECT_EQ(m.emPixels, em) << what;
}

TEST_F(CellFace, BitmapFaceTakesTheNearestStrike) {
  struct Case {
    int height;
    int strike;
  };
  const Case cases[] = {
      {10, 10}, {16, 16}, {12, 10}, {14, 16}, {13, 10},  // a tie takes the smaller
      {1, 10},  {100, 16},
      {-10, 10}, {-16, 16}, {-13, 10}, {-15, 16},        // negative: by em
      {0, 10},                                           // an em of 12
  };
  for (const Case& c : cases) {
    auto face = Open(c.height);
    ASSERT_NE(face, nullptr);
    std::string what = "height " + std::to_string(c.height);
    EXPECT_TRUE(face->IsBitmap());
    if (c.strike == 10) {
      ExpectMetrics(face->Metrics(), 10, 8, 2, 5, 10, what);
      EXPECT_EQ(face->File(), m_dir.Path() + "/cell10.bdf") << what;
    } else {
      ExpectMetrics(face->Metrics(), 16, 14, 2, 8, 16, what);
      EXPECT_EQ(face->File(), m_dir.Path() + "/cell16.bdf") << what;
    }
  }
}

TEST_F(CellFace, GlyphsSitOnTheBaselineInBothModes) {
  auto face = Open(10);
  struct Case {
    const char* utf8;
    int left, top, advance;
    std::vector<std::string> rows;
  };
  const Case cases[] = {
      {"A", 1, 4, 5, {".#.", "#.#", "###", "#.#"}},
      {"g", 1, 5, 5, {"###", "#.#", "###", "..#", "##."}},  // two rows below the baseline
      {"ｱ", 0, 4, 5, {"####", "..#.", ".#.."}},
      {"あ", 1, 1, 10,
       {"..#.....", "#######.", "..#.....", ".####...", "#.#..#..", "#.#...#.", ".#....#.",
        "........"}},
  };
  for (const Case& c : cases) {
    std::string sjis = Sjis(c.utf8);
    int bytes = 0;
    unsigned code = plat::text::NextCode(sjis.data(), sjis.data() + sjis.size(), &bytes);
    ASSERT_EQ(bytes, static_cast<int>(sjis.size()));
    for (GlyphMode mode : {GlyphMode::Mono, GlyphMode::Coverage}) {
      auto g = face->GetGlyph(code, mode);
      EXPECT_EQ(g->left, c.left) << c.utf8;
      EXPECT_EQ(g->top, c.top) << c.utf8;
      EXPECT_EQ(g->advance, c.advance) << c.utf8;
      EXPECT_FALSE(g->fallback) << c.utf8;
      EXPECT_EQ(Picture(*g), c.rows) << c.utf8;
      for (uint8_t v : g->pixels) EXPECT_TRUE(v == 0 || v == 255) << c.utf8;
    }
  }
}

TEST_F(CellFace, TextIsLaidOutByWholeAdvances) {
  auto face = Open(10);
  EXPECT_EQ(face->TextWidth("AgA", 3), 15);
  std::string mixed = Sjis("Aあ ｱ");
  EXPECT_EQ(face->TextWidth(mixed.data(), mixed.size()), 25);
  EXPECT_EQ(face->TextWidth("", 0), 0);

  const int w = 14, h = 12;
  std::vector<uint8_t> mask(w * h, 0);
  plat::text::MaskView view{mask.data(), w, h, w};
  EXPECT_EQ(face->DrawMask("gA", 2, GlyphMode::Mono, view, 2, 1), 12);
  const std::vector<std::string> expected = {
      "..............",
      "..............",
      "..............",
      "..............",
      "..............",
      ".........#....",
      "...###..#.#...",
      "...#.#..###...",
      "...###..#.#...",  // the baseline lies below this row: y 1 + ascent 8
      ".....#........",
      "...##.........",
      "..............",
  };
  EXPECT_EQ(Picture(mask, w, h), expected);
}

TEST_F(CellFace, DrawingIsClippedToTheMask) {
  auto face = Open(10);
  const int w = 4, h = 3;
  std::vector<uint8_t> mask(w * h, 0);
  plat::text::MaskView view{mask.data(), w, h, w};
  // Only the lower-right part of 'A' (drawn from x -2, y -5) lands inside.
  EXPECT_EQ(face->DrawMask("A", 1, GlyphMode::Coverage, view, -2, -5), 3);
  EXPECT_EQ(Picture(mask, w, h), (std::vector<std::string>{".#..", "##..", ".#.."}));
  // Far outside, or with no buffer, only the pen moves.
  EXPECT_EQ(face->DrawMask("AA", 2, GlyphMode::Mono, view, 2000000000, 0), 2000000010);
  EXPECT_EQ(face->DrawMask("AA", 2, GlyphMode::Mono, view, 0, -2000000000), 10);
  EXPECT_EQ(face->DrawMask("AA", 2, GlyphMode::Mono, plat::text::MaskView{}, 0, 0), 10);
}

TEST_F(CellFace, MissingCharactersComeFromIpaGothicOnTheSameBaseline) {
  auto face = Open(10);
  std::string kanji = Sjis("漢");
  unsigned code = plat::text::NextCode(kanji.data(), kanji.data() + 2, nullptr);
  auto g = face->GetGlyph(code, GlyphMode::Mono);
  EXPECT_TRUE(g->fallback);
  EXPECT_EQ(g->advance, 10);  // a full-width em at the strike's em of 10
  ASSERT_GT(g->width, 4);
  ASSERT_GT(g->height, 4);
  // Inside the cell of the face, give or take a pixel.
  EXPECT_GE(g->top, -1);
  EXPECT_LE(g->top + g->height, 11);

  // Without IPA Gothic the face's own missing-character glyph stands in.
  plat::text::UseSystemFonts(false);
  auto bare = Open(10);
  auto box = bare->GetGlyph(code, GlyphMode::Mono);
  EXPECT_FALSE(box->fallback);
}

TEST(ScalableFace, CellHeightIsWindowsAscentPlusDescent) {
  // IPA Gothic: 2048 units to the em, Windows ascent 1802 and descent 401,
  // average width 1024 (a half-width character).
  struct Case {
    int height, width;
    int cell, ascent, descent, avgWidth, em;
    int halfAdvance, fullAdvance;
  };
  const Case cases[] = {
      // 16 / 2203 of the units: an em of 14.87 pixels.
      {16, 0, 16, 13, 3, 7, 15, 7, 15},
      {30, 0, 30, 25, 5, 14, 28, 14, 28},
      {9, 0, 9, 7, 2, 4, 8, 4, 8},
      // Negative: the em itself.
      {-12, 0, 13, 11, 2, 6, 12, 6, 12},
      {-16, 0, 17, 14, 3, 8, 16, 8, 16},
      // A width sets the average width; the height is kept.
      {16, 10, 16, 13, 3, 10, 15, 10, 20},
      {-16, 4, 17, 14, 3, 4, 16, 4, 8},
  };
  for (const Case& c : cases) {
    std::string what = std::to_string(c.height) + "x" + std::to_string(c.width);
    auto face = plat::text::OpenFace(Sjis("ＭＳ ゴシック"), c.height, c.width);
    ASSERT_NE(face, nullptr);
    ASSERT_EQ(face->Family(), "IPAGothic");
    EXPECT_FALSE(face->IsBitmap());
    ExpectMetrics(face->Metrics(), c.cell, c.ascent, c.descent, c.avgWidth, c.em, what);
    EXPECT_EQ(face->Advance('A'), c.halfAdvance) << what;
    EXPECT_EQ(face->Advance(0x82A0), c.fullAdvance) << what;  // "あ"
    // The same advances whichever way the glyph is drawn.
    EXPECT_EQ(face->GetGlyph('A', GlyphMode::Mono)->advance, c.halfAdvance) << what;
    EXPECT_EQ(face->GetGlyph('A', GlyphMode::Coverage)->advance, c.halfAdvance) << what;
  }
}

TEST(ScalableFace, MonochromeAndCoverageGlyphs) {
  auto face = plat::text::OpenFace(Sjis("ＭＳ ゴシック"), 16, 0);
  ASSERT_NE(face, nullptr);
  // 'H' stands on the baseline (IPA Gothic sets its letters a little above
  // it), the same in both modes.
  auto monoH = face->GetGlyph('H', GlyphMode::Mono);
  auto coverH = face->GetGlyph('H', GlyphMode::Coverage);
  EXPECT_EQ(monoH->top + monoH->height, coverH->top + coverH->height);
  EXPECT_NEAR(monoH->top + monoH->height, face->Metrics().ascent, 1);
  EXPECT_GT(monoH->height, 6);
  auto mono = face->GetGlyph(0x82A0, GlyphMode::Mono);
  auto cover = face->GetGlyph(0x82A0, GlyphMode::Coverage);
  std::set<uint8_t> monoValues(mono->pixels.begin(), mono->pixels.end());
  EXPECT_EQ(monoValues, (std::set<uint8_t>{0, 255}));
  int partial = 0;
  for (uint8_t v : cover->pixels) partial += v > 0 && v < 255;
  EXPECT_GT(partial, 0) << "coverage glyphs have soft edges";
}

TEST(ScalableFace, OutlandishSizesAreHeld) {
  for (int h : {INT32_MIN, -5000, 5000, INT32_MAX}) {
    auto face = plat::text::OpenFace("IPAGothic", h, 0);
    ASSERT_NE(face, nullptr);
    // 1024 pixels of cell, or an em of 1024.
    EXPECT_GE(face->Metrics().height, 1024);
    EXPECT_LE(face->Metrics().height, 1102);
  }
  auto wide = plat::text::OpenFace("IPAGothic", 16, INT32_MIN);
  ASSERT_NE(wide, nullptr);
  EXPECT_EQ(wide->Metrics().avgWidth, 1024);
  auto tiny = plat::text::OpenFace("IPAGothic", 1, 1);
  ASSERT_NE(tiny, nullptr);
  tiny->GetGlyph(0x82A0, GlyphMode::Coverage);
}

TEST(GlyphCache, HoldsAtMostItsCapacity) {
  auto face = plat::text::OpenFace(Sjis("ＭＳ ゴシック"), 10, 0);
  ASSERT_NE(face, nullptr);
  auto first = face->GetGlyph(0x889F, GlyphMode::Mono);  // "亜"
  std::vector<uint8_t> firstPixels = first->pixels;
  EXPECT_EQ(face->GetGlyph(0x889F, GlyphMode::Mono), first);  // cached
  EXPECT_NE(face->GetGlyph(0x889F, GlyphMode::Coverage), first);

  // Kanji of the first level, more than the cache holds.
  size_t drawn = 0;
  for (unsigned lead = 0x88; lead <= 0x98 && drawn < plat::text::kGlyphCacheCapacity + 100;
       lead++) {
    for (unsigned trail = 0x40; trail <= 0xFC; trail++) {
      if (trail == 0x7F) continue;
      face->GetGlyph(lead << 8 | trail, GlyphMode::Mono);
      drawn++;
    }
  }
  ASSERT_GT(drawn, plat::text::kGlyphCacheCapacity);
  EXPECT_LE(face->CachedGlyphs(), plat::text::kGlyphCacheCapacity);
  // A glyph a caller holds outlives its place in the cache.
  EXPECT_EQ(first->pixels, firstPixels);
  EXPECT_EQ(face->GetGlyph(0x889F, GlyphMode::Mono)->pixels, firstPixels);
}

TEST(NextCode, SplitsShiftJisCharacters) {
  struct Case {
    std::string bytes;
    unsigned code;
    int length;
  };
  const Case cases[] = {
      {"A", 0x41, 1},
      {"\x82\xA0", 0x82A0, 2},       // "あ"
      {"\x95\x5C", 0x955C, 2},       // "表": a trail byte 0x5C
      {"\xB1", 0xB1, 1},             // half-width katakana
      {"\x82", 0x82, 1},             // a lead byte at the end
      {"\x82\x20", 0x82, 1},         // a lead byte before no trail byte
      {std::string(1, '\0'), 0, 1},
  };
  for (const Case& c : cases) {
    int length = 0;
    EXPECT_EQ(plat::text::NextCode(c.bytes.data(), c.bytes.data() + c.bytes.size(), &length),
              c.code);
    EXPECT_EQ(length, c.length);
  }
}

}  // namespace
