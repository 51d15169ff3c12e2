// The stage record: a new stage, the game speed levels, the repairs of
// Normalise, the settings copy and the hero search.
#include <gtest/gtest.h>

#include <vector>

#include "platform/close_request.h"
#include "record_test_env.h"
#include "records/database.h"
#include "records/palette_entries.h"
#include "records/stage.h"

namespace {

class StageRecordTest : public RecordTest {
 protected:
  void SetUp() override {
    RecordTest::SetUp();
    m_savedBgm = Database.m_vBgm;
  }
  void TearDown() override {
    Database.m_vBgm = m_savedBgm;
    EXPECT_EQ(plat::CloseRequestCount(), 0u);
    RecordTest::TearDown();
  }
  cVector<cEdBgm> m_savedBgm;
};

}  // namespace

TEST_F(StageRecordTest, ANewStageHasTheDefaultsOfTheEditor) {
  cEdStage s;
  EXPECT_EQ(s.m_strName, "");
  EXPECT_EQ(s.m_nWidth, 0);
  EXPECT_EQ(s.m_nTimeLimit, 200);
  EXPECT_EQ(s.m_bTimeLimit, 0);
  EXPECT_EQ(s.m_nTimeWarning, 20);
  EXPECT_EQ(s.m_nFps, 60);
  EXPECT_EQ(s.m_nSpeedLevel, 10);
  EXPECT_EQ(s.m_dGravity, 0.4);
  EXPECT_EQ(s.m_bDrawDepth, 1);
  EXPECT_EQ(s.m_bHitOnScreen, 1);
  EXPECT_EQ(s.m_bShowHud, 1);
  EXPECT_EQ(s.m_bStartBanner, 0);
  EXPECT_EQ(s.m_bStartBanner2, 1);
  EXPECT_EQ(s.m_bClearBanner, 1);
  EXPECT_EQ(s.m_bGameOverBanner, 1);
  EXPECT_EQ(s.m_nHeroGuardTime, 30);
  EXPECT_EQ(s.m_nCharaGuardTime, 30);
  EXPECT_EQ(s.m_nAux7, 1);
  // Boxes: hero, then the other characters, items and shots.
  EXPECT_EQ(s.m_nHeroHitH, 24);
  EXPECT_EQ(s.m_nHeroContactFlyH, 16);
  EXPECT_EQ(s.m_nHeroShotContactW, 12);
  EXPECT_EQ(s.m_nHeroShotContactH, 8);
  EXPECT_EQ(s.m_bHeroHitBottom, 1);
  EXPECT_EQ(s.m_bHeroHitFlyBottom, 0);
  EXPECT_EQ(s.m_nCharaContactW, 12);
  EXPECT_EQ(s.m_nCharaShotContactH, 30);
  EXPECT_EQ(s.m_nItemBoxW, 28);
  for (int32_t v : {s.m_nHeroShotBoxW, s.m_nHeroShotBoxH, s.m_nAux3, s.m_nAux4, s.m_nCharaShotBoxW,
                    s.m_nCharaShotBoxH, s.m_nAux5, s.m_nAux6})
    EXPECT_EQ(v, 16);
  EXPECT_EQ(s.m_nShowHitBox, 0);
  EXPECT_EQ(s.m_nHitBoxColor, 0);
  // Lists: one background filling with colour 16, five ranked categories.
  ASSERT_EQ(s.m_vBackground.Size(), 1);
  EXPECT_EQ(s.m_vBackground[0].m_bFillColor, 1);
  EXPECT_EQ(s.m_vBackground[0].m_nColor, 16);
  EXPECT_EQ(s.m_vRanked, (cVector<int32_t>{1, 1, 1, 1, 1}));
  EXPECT_TRUE(s.m_vText.empty());
  // Rules: objects stay; shots go past every side, the others' 10 cells out.
  EXPECT_EQ(s.m_RuleItem.m_bLeft + s.m_RuleItem.m_bBottom, 0);
  EXPECT_EQ(s.m_RuleHeroShot.m_bRight, 1);
  EXPECT_EQ(s.m_RuleHeroShot.m_nRightMargin, 0);
  EXPECT_EQ(s.m_RuleCharaShot.m_bTop, 1);
  EXPECT_EQ(s.m_RuleCharaShot.m_nTopMargin, 10);
  // The derived speed members wait for SetSpeedLevel.
  EXPECT_EQ(s.m_nStepsPerFrame, 0);
  EXPECT_EQ(s.m_dMaxSpeed, 0.0);
  EXPECT_EQ(s.m_nStepsPerTenth, 0);
}

TEST_F(StageRecordTest, SpeedLevelsGiveStepsAndLimits) {
  struct Case {
    int level, storedLevel, steps;
    double maxSpeed, maxPerStep, gravityPerStep;
  } cases[] = {
      {1, 1, 1, 6.0, 6.0, 0.4},
      {10, 10, 10, 60.0, 6.0, 0.4 / 100},
      {11, 11, 1, 60.0, 60.0, 0.4},
      {15, 15, 5, 60.0, 12.0, 0.4 / 25},
      {19, 19, 9, 60.0, 60.0 / 9, 0.4 / 81},
      // Levels the editor never writes are brought into range.
      {0, 1, 1, 6.0, 6.0, 0.4},
      {-8, 1, 1, 6.0, 6.0, 0.4},
      {20, 19, 9, 60.0, 60.0 / 9, 0.4 / 81},
      {INT32_MAX, 19, 9, 60.0, 60.0 / 9, 0.4 / 81},
  };
  for (const Case& c : cases) {
    cEdStage s;
    s.SetSpeedLevel(c.level);
    EXPECT_EQ(s.m_nSpeedLevel, c.storedLevel) << c.level;
    EXPECT_EQ(s.m_nStepsPerFrame, c.steps) << c.level;
    EXPECT_EQ(s.m_dSteps, c.steps) << c.level;
    EXPECT_EQ(s.m_dStepsSquared, c.steps * c.steps) << c.level;
    EXPECT_EQ(s.m_nStepsPerTenth, 6 * c.steps) << c.level;
    EXPECT_EQ(s.m_nAirborneSteps, 8 * c.steps) << c.level;
    EXPECT_EQ(s.m_dMaxSpeed, c.maxSpeed) << c.level;
    EXPECT_EQ(s.m_dMaxSpeedPerStep, c.maxPerStep) << c.level;
    EXPECT_EQ(s.m_dGravityPerStep, c.gravityPerStep) << c.level;
  }
}

TEST_F(StageRecordTest, NormaliseKeepsTheViewInsideTheMap) {
  struct Case {
    int32_t width, height, left, right, top, bottom;
    int32_t wantLeft, wantRight, wantTop, wantBottom;
  } cases[] = {
      {30, 20, 25, 40, 10, 30, 10, 29, 5, 19},
      {30, 20, -3, 5, 0, 0, -3, 5, 0, 0},
      {30, 20, 10, 29, 5, 19, 10, 29, 5, 19},
      // Sizes from a damaged file: the bounds are formed without overflow.
      {INT32_MIN, INT32_MIN, 0, 0, 0, 0, INT32_MIN, INT32_MIN, INT32_MIN, INT32_MIN},
      {INT32_MAX, INT32_MAX, INT32_MAX, INT32_MAX, 7, 7, INT32_MAX - 20, INT32_MAX - 1, 7, 7},
  };
  for (const Case& c : cases) {
    cEdStage s;
    s.m_nWidth = c.width;
    s.m_nHeight = c.height;
    s.m_nScrollLimitLeft = c.left;
    s.m_nScrollLimitRight = c.right;
    s.m_nScrollLimitTop = c.top;
    s.m_nScrollLimitBottom = c.bottom;
    s.Normalise();
    EXPECT_EQ(s.m_nScrollLimitLeft, c.wantLeft) << c.width;
    EXPECT_EQ(s.m_nScrollLimitRight, c.wantRight) << c.width;
    EXPECT_EQ(s.m_nScrollLimitTop, c.wantTop) << c.width;
    EXPECT_EQ(s.m_nScrollLimitBottom, c.wantBottom) << c.width;
  }
}

TEST_F(StageRecordTest, NormaliseStopsMusicThatBgmDatDoesNotHold) {
  Database.m_vBgm.assign(12, cEdBgm());
  for (auto [bgm, want] : {std::pair{11, 11}, {0, 0}, {12, 0}, {-1, 0}, {INT32_MIN, 0}}) {
    cEdStage s;
    s.m_nBgm = bgm;
    s.Normalise();
    EXPECT_EQ(s.m_nBgm, want) << bgm;
  }
}

TEST_F(StageRecordTest, NormaliseDerivesTheSpeedFromTheStoredLevel) {
  cEdStage s;
  s.m_nSpeedLevel = 13;
  s.m_dGravity = 0.9;
  s.m_nStepsPerFrame = 77;
  s.Normalise();
  EXPECT_EQ(s.m_nStepsPerFrame, 3);
  EXPECT_EQ(s.m_dGravityPerStep, 0.9 / 9);
}

TEST_F(StageRecordTest, CopySettingsTakesSettingsListsRulesAndRankingOnly) {
  cEdStage from;
  from.m_strName = "abc";
  from.m_nWidth = 40;
  from.m_nSpeedLevel = 12;
  from.m_vBackground.resize(3);
  from.m_vBackground[2].m_strFile = "b.bmp";
  from.m_vText.resize(2);
  from.m_vText[1].m_strText = "t";
  from.m_RuleItem.Set(1, 0, 1, 0, 2, 3, 4, 5);
  from.m_vRanked = {1, 0, 1, 0, 1};
  from.m_strPath = "data\\stg4\\a.stg4_000";
  cEdStage to;
  to.CopySettingsFrom(from);
  EXPECT_EQ(to.m_strName, "abc");
  EXPECT_EQ(to.m_nWidth, 40);
  EXPECT_EQ(to.m_nSpeedLevel, 12);
  ASSERT_EQ(to.m_vBackground.Size(), 3);
  EXPECT_EQ(to.m_vBackground[2].m_strFile, "b.bmp");
  ASSERT_EQ(to.m_vText.Size(), 2);
  EXPECT_EQ(to.m_vText[1].m_strText, "t");
  EXPECT_EQ(to.m_RuleItem.m_nBottomMargin, 5);
  EXPECT_EQ(to.m_RuleItem.m_bTop, 1);
  EXPECT_EQ(to.m_vRanked, from.m_vRanked);
  EXPECT_EQ(to.m_strPath, "") << "the path belongs to the record that was loaded";
}

TEST_F(StageRecordTest, TheHeroIsTheFirstPlayerOperatedCharacterWithAGraphic) {
  struct Chara {
    int16_t graphic;
    int8_t op;
  };
  struct Case {
    std::vector<Chara> placed;
    int hero;
  } cases[] = {
      {{{3, 1}, {0, 0}, {2, 0}, {5, 0}}, 2},
      {{{1, 0}}, 0},
      {{{3, 1}, {0, 0}}, -1},
      {{}, -1},
  };
  for (const Case& c : cases) {
    cEdStage s;
    for (const Chara& p : c.placed) {
      cEdChara chara;
      chara.m_nGraphic = p.graphic;
      chara.m_nOperator = p.op;
      s.m_vPlacedChara.push_back(chara);
    }
    EXPECT_EQ(s.FindHero(), c.hero);
    EXPECT_EQ(s.HasHero(), c.hero >= 0 ? 1 : 0);
  }
}

TEST_F(StageRecordTest, ANewStageHasOneEntryPerPaletteAndNothingPlaced) {
  cEdStage s;
  s.m_vPlacedBlock.resize(2);
  s.m_vPaletteChara.resize(5);
  s.Reset();
  EXPECT_EQ(s.m_vPaletteBlock.Size(), 1);
  EXPECT_EQ(s.m_vPaletteChara.Size(), 1);
  EXPECT_EQ(s.m_vPaletteItem.Size(), 1);
  EXPECT_TRUE(s.m_vPlacedBlock.empty());
  EXPECT_TRUE(s.m_vPlacedChara.empty());
  EXPECT_TRUE(s.m_vPlacedItem.empty());
  s.Normalise();
  EXPECT_EQ(s.m_vPaletteBlock.Size(), 2);
  EXPECT_EQ(s.m_vPaletteChara.Size(), 2);
  EXPECT_EQ(s.m_vPaletteItem.Size(), 2);
  s.m_vPaletteItem.resize(3);
  s.Normalise();
  EXPECT_EQ(s.m_vPaletteItem.Size(), 3);
}

// The stage kind of palette references names the running stage's palette,
// or, while a stage record loads, normalises or saves, that record's.
TEST_F(StageRecordTest, TheStagePaletteKindAnswersForTheStageAtWork) {
  cVector<cEdItem> saved = Stage.m_vPaletteItem;
  Stage.m_vPaletteItem.resize(5);
  EXPECT_EQ(PaletteListSize(PALETTEKIND_STAGE, PALETTELIST_ITEM), 5);
  EXPECT_EQ(PaletteEntry(PALETTEKIND_STAGE, PALETTELIST_ITEM, 3), &Stage.m_vPaletteItem[3]);
  EXPECT_EQ(PaletteEntry(PALETTEKIND_STAGE, PALETTELIST_ITEM, 5), nullptr);
  cEdStage other;
  {
    cStagePaletteScope scope(&other);
    EXPECT_EQ(PaletteListSize(PALETTEKIND_STAGE, PALETTELIST_ITEM), 1);
    EXPECT_EQ(PaletteEntry(PALETTEKIND_STAGE, PALETTELIST_ITEM, 0), &other.m_vPaletteItem[0]);
  }
  EXPECT_EQ(PaletteListSize(PALETTEKIND_STAGE, PALETTELIST_ITEM), 5);
  Stage.m_vPaletteItem = saved;
}
