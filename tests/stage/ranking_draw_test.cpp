// A ranking table and the stage-clear totals, drawn: the calls they make,
// with their places, texts and tags.
#include <gtest/gtest.h>

#include "game/game.h"
#include "media/surface_table.h"
#include "records/ranking.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "records/started_by_editor.h"
#include "records/system.h"
#include "records/system_ini.h"
#include "stage/ranking_draw.h"
#include "support/recording_renderer.h"

using testsupport::RecordingRenderer;

namespace {

class RankingDraw : public ::testing::Test {
 protected:
  void SetUp() override {
    m_system = SystemData;
    m_stage = Stage;
    m_english = SystemIni.nEnglish;
    m_kind = Game.m_nPlayKind;
    m_ranking = Game.m_bRanking;
    SystemData = cEdSystem();
    const char* captions[] = {"Score", "Time", "Clear", "HP", "SP"};
    for (int c = 0; c < 5; ++c) SystemData.m_vTexts[5 + c] = captions[c];
    SystemData.m_vTexts[24] = "V: switch";
    Game.m_nPlayKind = PLAYKIND_STORY;
    Game.m_bRanking = 1;
    PlayData.Reset();
  }
  void TearDown() override {
    SystemData = m_system;
    Stage = m_stage;
    SystemIni.nEnglish = m_english;
    Game.m_nPlayKind = m_kind;
    Game.m_bRanking = m_ranking;
    bTestPlay = 0;
    PlayData.Reset();
  }
  static void RankingMode(int kind, std::vector<uint8_t> categories) {
    SystemData.m_vRankingModes[kind].m_bRanking = 1;
    SystemData.m_vRankingModes[kind].m_vCategories = cVector<uint8_t>(categories.begin(), categories.end());
  }

  cEdSystem m_system;
  cEdStage m_stage;
  int32_t m_english = 0, m_kind = 0, m_ranking = 0;
};

}  // namespace

TEST_F(RankingDraw, TableWithTitleRowsHintAndCursor) {
  SystemIni.nEnglish = 1;
  SystemData.m_bIconLetters = 1;
  RankingMode(PLAYKIND_STORY, {1, 0, 1, 0, 0});
  cRanking ranking;
  ranking.m_vTables[0].Insert("AAA", 900);
  ranking.m_vTables[0].Insert("BBB", 50);
  ranking.m_vTables[0].Insert("CCC", 5);
  RecordingRenderer drawn;
  ranking.Draw(&BackBuffer, 10, 20, 0, 1);
  const std::vector<std::string> want = {
      "DrawBox F1 Back 11 21 270 350",
      "DrawText F1 Back 10 20 1 Ranking     Score",  // English: letters stay letters
      "DrawText F1 Back 26 36 0 1",   "DrawText F1 Back 74 36 1 AAA", "DrawText F1 Back 154 36 0 900",
      "DrawText F1 Back 26 52 0 2",   "DrawText F1 Back 74 52 1 BBB", "DrawText F1 Back 170 52 0 50",
      "DrawText F1 Back 26 68 0 3",   "DrawText F1 Back 74 68 1 CCC", "DrawText F1 Back 186 68 0 5",
      "DrawText F1 Back 74 356 0 V: switch",  // two categories ranked: the hint
      "DDBlt Back 10 52 16 16 T49 16 48 1",   // the cursor on row 1
  };
  EXPECT_EQ(drawn.Take(), want);
}

TEST_F(RankingDraw, ClearTimesInJapaneseWithoutHintOrCursor) {
  SystemIni.nEnglish = 0;
  SystemData.m_bIconLetters = 1;  // names stay letters; the Japanese title keeps its icons
  RankingMode(PLAYKIND_STORY, {0, 0, 1, 0, 0});
  cRanking ranking;
  ranking.m_vTables[2].Insert("EEE", 4000);
  ranking.m_vTables[2].Insert("FFF", 612345);
  RecordingRenderer drawn;
  ranking.Draw(&BackBuffer, 0, 0, 2, -1);
  const std::vector<std::string> want = {
      "DrawBox F1 Back 1 1 270 350",
      "DrawText F1 Back 0 0 0 \x83\x89\x83\x93\x83\x4c\x83\x93\x83\x4f    Clear",
      "DrawText F1 Back 16 16 0 1", "DrawText F1 Back 64 16 1 EEE", "DrawText F1 Back 144 16 0 00:40.00",
      "DrawText F1 Back 16 32 0 2", "DrawText F1 Back 64 32 1 FFF", "DrawText F1 Back 144 32 0 102:03.45",
  };
  EXPECT_EQ(drawn.Take(), want);
}

TEST_F(RankingDraw, ResultTotalsShowTheCountingCategoriesAndTagTheRanked) {
  PlayData.m_nTotalScore = 12345;
  PlayData.m_nTimeLeftSum = 99;
  PlayData.m_nClearTimeSum = 6100;
  PlayData.m_nHpSum = 1234567;
  PlayData.m_nSpSum = 7;
  RankingMode(PLAYKIND_STORY, {1, 1, 1, 0, 1});
  Stage.m_vRanked = cVector<int32_t>{1, 0, 1, 1, 1};
  const cVector<int32_t> ranks{0, -1, 3, -1, -1};

  {  // Ranked by the play kind and the stage: score, clear time, SP.
    RecordingRenderer drawn;
    DrawResultTotals(&BackBuffer, 336, 224, ranks);
    const std::vector<std::string> want = {
        "DrawBox F1 Back 336 224 256 48",
        "DrawText F1 Back 352 224 0 Score", "DrawText F1 Back 448 224 0 12345",
        "DrawText F1 Back 352 240 0 Clear", "DrawText F1 Back 448 240 0 01:01.00",
        "DrawText F1 Back 352 256 0 SP",    "DrawText F1 Back 448 256 0 7",
        "DDBlt Back 336 224 16 16 T49 16 48 1", "DDBlt Back 336 240 16 16 T49 16 48 1",
    };
    EXPECT_EQ(drawn.Take(), want);
  }
  {  // Test play: the stage alone decides; HP's seven digits widen the values.
    bTestPlay = 1;
    Game.m_bRanking = 0;
    RecordingRenderer drawn;
    DrawResultTotals(&BackBuffer, 0, 0, cVector<int32_t>{-1, -1, -1, -1, -1});
    const std::vector<std::string> calls = drawn.Take();
    ASSERT_EQ(calls.size(), 9u);
    EXPECT_EQ(calls[0], "DrawBox F1 Back 0 0 256 64");
    EXPECT_EQ(calls[5], "DrawText F1 Back 16 32 0 HP");
  }
  {  // Rankings off for the kind: nothing.
    bTestPlay = 0;
    Game.m_bRanking = 0;
    RecordingRenderer drawn;
    DrawResultTotals(&BackBuffer, 0, 0, ranks);
    EXPECT_TRUE(drawn.Calls().empty());
  }
}
