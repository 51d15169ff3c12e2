// The elements of the progress record: the carried hero status with its
// embedded character, the stage tally and the challenge record.
#include <gtest/gtest.h>

#include <tuple>

#include "records/definition_bytes.h"
#include "records/save_elements.h"

namespace {

using SaveElements = DefinitionTest;

}  // namespace

TEST_F(SaveElements, HeroStatusIsFiveNumbersThenItsCharacter) {
  cHeroStatus fresh;
  Bytes want;
  want.u32(734).u32(5).i32(0).i32(0).i32(0).i32(0).i32(0).u32(0);
  PutDefaultChara(want);
  EXPECT_EQ(SaveOne(fresh), want.s);

  Bytes file;
  file.u32(734).u32(5).i32(42).i32(-7).i32(1800).i32(999999).i32(3).u32(0);
  PutCharaHead(file, 734, With(CharaFields(), {{39, 250}, {13, 8}, {46, 33}}), "hero", 5, 6, -1,
               std::vector<uint8_t>(37, 0));
  file.u32(0).u32(1);
  Bytes wait;
  PutPlainCommand(wait, 0, ACTCMDTYPE_GAME_WAIT, {15});
  PutFlow(file, 734, 2, 0, FLOWTRIGGER_ALWAYS, 1, wait.s);
  cHeroStatus h = LoadOne<cHeroStatus>(file.s);
  EXPECT_EQ(std::make_tuple(h.m_nHp, h.m_nSp, h.m_nTime, h.m_nLives, h.m_nStageBgm),
            std::make_tuple(42, -7, 1800, 999999, 3));
  EXPECT_EQ(std::make_tuple(h.m_Chara.m_strName, h.m_Chara.m_nMaxHp, h.m_Chara.m_nGraphic, h.m_Chara.m_nDefence,
                            h.m_Chara.m_nDropItem),
            std::make_tuple(std::string("hero"), 250, int16_t{8}, 33, -1));
  ASSERT_EQ(h.m_Chara.m_vFlows.size(), 1u);
  EXPECT_EQ(h.m_Chara.m_vFlows[0].m_vCommands.At(0).m_vParams.At(0), 15);
  EXPECT_EQ(SaveOne(h), file.s);

  // Copies are deep: the copy's flows are its own.
  cHeroStatus copy;
  copy = h;
  copy.m_Chara.m_vFlows[0].m_nId = 9;
  EXPECT_EQ(h.m_Chara.m_vFlows[0].m_nId, 2);
  EXPECT_EQ(copy.m_nLives, 999999);
}

TEST_F(SaveElements, StageTallyIsTheValueThenTheName) {
  cStageTally empty;
  Bytes want;
  want.u32(734).u32(1).i32(0).u32(1).u32(1);  // the empty name: its length word 1, no bytes
  EXPECT_EQ(SaveOne(empty), want.s);

  Bytes file;
  file.u32(734).u32(1).i32(120500).u32(1).str("c01.");
  cStageTally t = LoadOne<cStageTally>(file.s);
  EXPECT_EQ(std::make_pair(t.m_strStage, t.m_nValue), std::make_pair(std::string("c01."), 120500));
  EXPECT_EQ(SaveOne(t), file.s);
}

TEST_F(SaveElements, ChallengeRecordIsClearedFlagThenBestScore) {
  cChallengeRecord never;
  Bytes want;
  want.u32(734).u32(2).i32(0).i32(0).u32(0);
  EXPECT_EQ(SaveOne(never), want.s);
  Bytes file;
  file.u32(734).u32(2).i32(1).i32(65000).u32(0);
  cChallengeRecord c = LoadOne<cChallengeRecord>(file.s);
  EXPECT_EQ(std::make_pair(c.m_bCleared, c.m_nBestScore), std::make_pair(1, 65000));
  EXPECT_EQ(SaveOne(c), file.s);
}
