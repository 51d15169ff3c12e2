// Menu layout and drawing from the system texts, gauge thresholds and the
// ranking categories of a play kind.
#include <gtest/gtest.h>

#include "base/report_log.h"
#include "media/font.h"
#include "platform/close_request.h"
#include "records/system.h"
#include "media/system_menu.h"
#include "support/test_support.h"

using testsupport::Sjis;

namespace {

// A font that records what it is asked to draw.
class cRecordingFont : public Font {
 public:
  struct Call {
    DDSURFACEDATA* target;
    int x, y, w, h;
    std::string text;
    int margin;
  };
  std::vector<Call> calls;
  int DrawTextBox(DDSURFACEDATA* target, int x, int y, int w, int h, const char* text, int margin) override {
    calls.push_back({target, x, y, w, h, text, margin});
    return 1;
  }
};

// Every test starts from, and leaves, a new project's settings.
class SystemMenu : public ::testing::Test {
 protected:
  void SetUp() override {
    SystemData.Reset();
    ReportOpen("Report_Game.txt");
    plat::ResetCloseRequests();
  }
  void TearDown() override { SystemData.Reset(); }
  testsupport::ScopedWorkDir m_dir;
};

}  // namespace

TEST_F(SystemMenu, LeftEdgeCentresTheWidestTextInCells) {
  struct Case {
    int x, first, count, cursor;
    int32_t left;
  };
  const Case cases[] = {
      {320, 19, 3, 1, 264},  // "しゅうりょう" has 6 characters, 7 cells with the cursor
      {320, 19, 2, 1, 264},
      {320, 19, 3, 0, 272},
      {304, 10, 2, 1, 240},  // "ステージに挑む": 7 characters
      {320, 27, 1, 0, 216},  // "F3キーでランキングへ登録": 13, half-width letters count one cell
      {320, 5, 0, 0, 320},
      {320, 5, 0, 1, 312},
      {7, 19, 1, 1, -49},
  };
  for (const Case& c : cases)
    EXPECT_EQ(GetMenuLeft(c.x, c.first, c.count, c.cursor), c.left) << c.first << " " << c.count;
  EXPECT_EQ(plat::CloseRequestCount(), 0u);
}

TEST_F(SystemMenu, DrawsOneBoxWithALinePerTextAfterTheCursorCell) {
  cRecordingFont font;
  DDSURFACEDATA target;
  DrawMenuTextWith(font, &target, 240, 200, 10, 2, 1);
  ASSERT_EQ(font.calls.size(), 1u);
  const cRecordingFont::Call& c = font.calls[0];
  EXPECT_EQ(c.target, &target);
  EXPECT_EQ(c.x, 240);
  EXPECT_EQ(c.y, 200);
  EXPECT_EQ(c.w, 8 * 16);
  EXPECT_EQ(c.h, 32);
  EXPECT_EQ(c.text, " " + Sjis("ステージに挑む") + "\n " + Sjis("やっぱりやめる") + "\n");
  EXPECT_EQ(c.margin, 0);

  font.calls.clear();
  DrawMenuTextWith(font, &target, 0, 0, 22, 2, 0);
  ASSERT_EQ(font.calls.size(), 1u);
  EXPECT_EQ(font.calls[0].text, Sjis("リトライ") + "\n" + Sjis("マップへ戻る") + "\n");
  EXPECT_EQ(font.calls[0].w, 6 * 16);

  font.calls.clear();
  DrawMenuTextWith(font, &target, 0, 0, 22, 0, 1);
  EXPECT_TRUE(font.calls.empty());
}

TEST_F(SystemMenu, TextsAreDrawnAsDataNotAsFormats) {
  SystemData.m_vTexts[19] = "100%s%d%n";
  cRecordingFont font;
  DDSURFACEDATA target;
  DrawMenuTextWith(font, &target, 0, 0, 19, 1, 0);
  ASSERT_EQ(font.calls.size(), 1u);
  EXPECT_EQ(font.calls[0].text, "100%s%d%n\n");
  EXPECT_EQ(font.calls[0].w, 9 * 16);
}

TEST_F(SystemMenu, TheSystemFontRouteDrawsNothingBeforeFontsExist) {
  DrawMenuText(&BackBuffer, 0, 0, 19, 3, 1);
  DrawMenuText(&BackBuffer, 0, 0, 19, 0, 1);
  EXPECT_EQ(plat::CloseRequestCount(), 0u);
}

TEST_F(SystemMenu, TextIndexOutsideTheListIsReportedAndUsesTheFirst) {
  EXPECT_EQ(GetMenuLeft(320, 27, 2, 0), 320 - 13 * 8);  // text 28 reads as text 0 (4 cells)
  EXPECT_GE(plat::CloseRequestCount(), 1u);
  EXPECT_NE(m_dir.ReadFile("Report_Game.txt").find("err V[28] ( 28 , "), std::string::npos);
}

TEST_F(SystemMenu, StatusLowByLevelOrPercent) {
  struct Case {
    int32_t lowLevel, percent, value, maximum, low;
  };
  const Case cases[] = {
      {33, 1, 33, 100, 1}, {33, 1, 34, 100, 0}, {33, 0, 33, 100, 1}, {33, 0, 34, 100, 0},
      {33, 1, 1, 3, 0},    {34, 1, 1, 3, 1},    {33, 1, 33, 99, 0},  {50, 1, 1, 2, 1},
      {0, 0, -1, 10, 1},   {-5, 0, -5, 0, 1},   {-5, 0, -4, 0, 0},
      // No maximum: 0 or more is not low; below 0 is.
      {33, 1, 0, 0, 0},    {33, 1, 5, 0, 0},    {33, 1, -1, 0, 1},
      {33, 1, INT32_MAX, INT32_MAX, 0}, {33, 1, INT32_MIN, INT32_MAX, 1},
  };
  for (const Case& c : cases) {
    SystemData.m_vStatusItems[2].m_nLowLevel = c.lowLevel;
    SystemData.m_vStatusItems[2].m_bLowPercent = c.percent;
    EXPECT_EQ(SystemData.IsStatusLow(2, c.value, c.maximum), c.low)
        << c.lowLevel << " " << c.percent << " " << c.value << "/" << c.maximum;
  }
}

TEST_F(SystemMenu, RankingCategoriesCountOnlyWhenRankingIsOn) {
  cEdRankingMode& mode = SystemData.m_vRankingModes[1];
  mode.m_bRanking = 1;
  mode.m_vCategories = cVector<uint8_t>{0, 0, 0, 0, 0};
  EXPECT_EQ(SystemData.CountRankingCategories(1), 0);
  mode.m_vCategories = cVector<uint8_t>{1, 0, 2, 0, 255};
  EXPECT_EQ(SystemData.CountRankingCategories(1), 3);
  mode.m_bRanking = 0;
  EXPECT_EQ(SystemData.CountRankingCategories(1), 0);
  EXPECT_EQ(SystemData.CountRankingCategories(PLAYKIND_STORY), 5);
}
