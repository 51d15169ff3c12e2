// The hero status carried from stage to stage: each item moves exactly its
// own fields of the hero's definition, and the HP, SP, time, lives and music
// go by their own ways.
#include <gtest/gtest.h>

#include <set>

#include "records/save_bytes.h"

namespace {

// The positions of the definition's numbers that each item carries.
const std::vector<std::vector<int>> kItemFields = {
    {13, 12, 14}, {15}, {16}, {17}, {18, 19, 20}, {30}, {29}, {31}, {34}, {35}, {36, 37}, {}, {}, {38},
    {39},         {41}, {42}, {43}, {45},         {46}, {40}, {},   {},   {},   {}};

class Carry : public SaveTest {
 protected:
  void SetUp() override {
    SaveTest::SetUp();
    // Two heroes whose every number differs (all fit the narrowest field).
    for (int p = 0; p < CHARA_NUMERIC_FIELDS; ++p) {
      m_from.SetNumericField(p, 10 + p);
      m_to.SetNumericField(p, 70 + p);
    }
    m_from.m_vFlows.resize(2);
    m_from.m_vFlows[1].m_nId = 5;
    m_to.m_vFlows.resize(1);
    Stage.m_nTimeLimit = 111;
    Stage.m_nBgm = 2;
  }
  // Only item k is carried (and lost on a death when `lost`).
  static void CarryOnly(int k, bool lost = false) {
    SystemData.m_vCarry.Fill(0);
    SystemData.m_vCarry[k] = 1;
    SystemData.m_vLoseOnMiss.Fill(0);
    if (lost) SystemData.m_vLoseOnMiss[k] = 1;
  }
  void Store(int i = 0) { PlayData.StoreHeroStatus(i, m_from, 40, 9, 1, 2, 0, 150, 6, 4); }

  cEdChara m_from;
  cEdChara m_to;
};

}  // namespace

TEST_F(Carry, EachItemMovesExactlyItsFields) {
  for (int k = 0; k < CARRY_ITEM_COUNT; ++k) {
    SCOPED_TRACE(testing::Message() << "item " << k);
    PlayData.Reset();
    PlayData.m_nLives = 3;
    Stage.m_nTimeLimit = 111;
    Stage.m_nBgm = 2;
    CarryOnly(k);
    Store();
    EXPECT_EQ(PlayData.m_bHeroStored, 1);
    for (int j = 0; j < CARRY_ITEM_COUNT; ++j) EXPECT_EQ(PlayData.m_vCarried[j], j == k ? 1 : 0);

    cEdChara hero = m_to;
    PlayData.ApplyHeroStatus(0, hero);
    const std::set<int> carried(kItemFields[k].begin(), kItemFields[k].end());
    for (int p = 0; p < CHARA_NUMERIC_FIELDS; ++p) {
      int32_t want = carried.count(p) ? 10 + p : 70 + p;
      if (k == 4) want = p == 18 ? 1 : p == 19 ? 2 : p == 20 ? 0 : want;  // the values the stage handed in
      EXPECT_EQ(hero.GetNumericField(p), want) << "field " << p;
    }
    EXPECT_EQ(hero.m_vFlows.Size(), k == CARRY_FLOWS ? 2 : 1);
    EXPECT_EQ(Stage.m_nTimeLimit, k == CARRY_TIME ? 150 : 111);
    EXPECT_EQ(PlayData.m_nLives, k == CARRY_LIVES ? 6 : 3);
    EXPECT_EQ(Stage.m_nBgm, k == CARRY_BGM ? 4 : 2);

    int32_t hp = 1, sp = 1;
    PlayData.ApplyHeroHpSp(0, hp, sp);
    EXPECT_EQ(std::make_pair(hp, sp), std::make_pair(k == CARRY_HP ? 40 : 1, k == CARRY_SP ? 9 : 1));
  }
}

TEST_F(Carry, AStoredGraphicZeroComesBackAsOne) {
  CarryOnly(0);
  m_from.SetNumericField(12, 0);
  Store();
  PlayData.ApplyHeroStatus(0, m_to);
  EXPECT_EQ(m_to.GetNumericField(12), 1);
  EXPECT_EQ(m_to.GetNumericField(13), 23);
}

TEST_F(Carry, HpAndSpNeedBothTheProjectAndTheRecord) {
  CarryOnly(CARRY_HP);
  SystemData.m_vCarry[CARRY_SP] = 1;
  Store();
  int32_t hp = 1, sp = 1;
  SystemData.m_vCarry[CARRY_SP] = 0;  // the project no longer carries SP
  PlayData.ApplyHeroHpSp(0, hp, sp);
  EXPECT_EQ(std::make_pair(hp, sp), std::make_pair(40, 1));
  PlayData.m_vCarried[CARRY_HP] = 0;  // nor the record HP
  hp = 1;
  PlayData.ApplyHeroHpSp(0, hp, sp);
  EXPECT_EQ(hp, 1);
}

TEST_F(Carry, ADeathLosesTheItemsTheProjectLoses) {
  CarryOnly(16, true);
  SystemData.m_vCarry[15] = 1;
  Store();
  PlayData.DropCarriedOnDeath();
  EXPECT_EQ(std::make_pair(PlayData.m_vCarried[15], PlayData.m_vCarried[16]), std::make_pair(1, 0));
  PlayData.ApplyHeroStatus(0, m_to);
  EXPECT_EQ(std::make_pair(m_to.GetNumericField(41), m_to.GetNumericField(42)), std::make_pair(51, 112));
}

TEST_F(Carry, NothingComesBackUnlessStoredOrForAnotherIndex) {
  CarryOnly(1);
  cEdChara hero = m_to;
  PlayData.m_vCarried[1] = 1;
  PlayData.ApplyHeroStatus(0, hero);  // never stored
  EXPECT_EQ(hero.GetNumericField(15), 85);
  int32_t hp = 1, sp = 1;
  PlayData.ApplyHeroHpSp(0, hp, sp);
  EXPECT_EQ(hp, 1);

  Store(3);  // past the list: it grows
  ASSERT_EQ(PlayData.m_vHeroStatus.Size(), 4);
  PlayData.ApplyHeroStatus(4, hero);  // past the list: nothing
  PlayData.ApplyHeroStatus(-1, hero);
  EXPECT_EQ(hero.GetNumericField(15), 85);
  PlayData.ApplyHeroStatus(3, hero);
  EXPECT_EQ(hero.GetNumericField(15), 25);
  Store(-1);  // nothing
  EXPECT_EQ(PlayData.m_vHeroStatus.Size(), 4);
}
