// The flow record: layout, trigger and switch upgrades, the editor's name,
// normalisation of its commands, removal of test-only flows.
#include <gtest/gtest.h>

#include <vector>

#include "records/command_bytes.h"
#include "records/command_types.h"
#include "records/command_vocab.h"
#include "records/flow.h"

namespace {

using FlowRecord = BehaviourTest;

std::vector<int> Ids(const cVector<cEdFlow>& flows) {
  std::vector<int> ids;
  for (const cEdFlow& f : flows) ids.push_back(f.m_nId);
  return ids;
}

}  // namespace

TEST(FlowRecordLayout, NewFlowAndRegistrationByVersion) {
  cEdFlow f;
  EXPECT_EQ(std::make_tuple(f.m_nId, f.m_nSwitch, f.m_bTestOnly, f.m_nCondMode, f.m_bCondOnce, f.m_nTrigger,
                            f.m_nKeySlack, f.m_bKeyRepeat),
            std::make_tuple(0, 0, 0, 0, 0, 0, 3, 0));
  EXPECT_TRUE(f.m_vConditions.empty() && f.m_vKeyConditions.empty() && f.m_vCommands.empty());
  for (int version : {675, 676}) {
    f.RegisterFields(version);
    EXPECT_EQ(f.Fields().Size(), 8) << version;
    EXPECT_EQ(f.Strings().Size(), version >= 676 ? 1 : 0) << version;
  }
}

TEST_F(FlowRecord, CurrentFileLoadsItsThreeListsAndSavesTheSameBytes) {
  Bytes b;
  b.u32(734);
  b.u32(8).u8(5).u8(2).u8(0).u8(1).u8(1).u8(FLOWTRIGGER_HIT_SHOT).u8(7).u8(1).u32(1).str("");
  b.u32(1);
  PutSegment(b, 734, ConditionFields(CONDTYPE_COMMON_VAR, 12, 0, 0, 0, 0, 0, 0, CMPOP_GE));
  b.u32(2);
  PutKeyCondition(b, std::vector<uint8_t>(19, KEYSTATE_PRESSED));
  PutKeyCondition(b, std::vector<uint8_t>(19, KEYSTATE_RELEASED), KEYMODE_ANY);
  b.u32(1);
  PutPlainCommand(b, 0, ACTCMDTYPE_FLOW_OPERATION, {FLOWOP_PAUSE, FLOWOPTARGET_BY_ID, 4});
  cEdFlow f = LoadOne<cEdFlow>(b.s);
  EXPECT_EQ(std::make_tuple(f.m_nId, f.m_nSwitch, f.m_bTestOnly, f.m_nCondMode, f.m_bCondOnce, f.m_nTrigger,
                            f.m_nKeySlack, f.m_bKeyRepeat),
            std::make_tuple(5, 2, 0, 1, 1, FLOWTRIGGER_HIT_SHOT, 7, 1));
  ASSERT_EQ(f.m_vConditions.size(), 1u);
  EXPECT_EQ(f.m_vConditions[0].m_nConst, 12);
  ASSERT_EQ(f.m_vKeyConditions.size(), 2u);
  EXPECT_EQ(f.m_vKeyConditions[1].m_nMode, KEYMODE_ANY);
  ASSERT_EQ(f.m_vCommands.size(), 1u);
  EXPECT_EQ(f.m_vCommands[0].m_vParams[2], 4);
  EXPECT_EQ(SaveOne(f), b.s);
}

TEST_F(FlowRecord, NameIsDroppedOnLoadAndOlderFilesHaveNone) {
  Bytes named;
  named.u32(700);
  PutFlowHead(named, 700, 1, 0, 0, 0, "abc");
  named.u32(0).u32(0).u32(0);
  cEdFlow f = LoadOne<cEdFlow>(named.s);
  EXPECT_EQ(f.m_strName, "");
  EXPECT_EQ(f.m_nId, 1);
  Bytes want;
  want.u32(734).u32(8).u8(1).u8(0).u8(0).u8(0).u8(0).u8(0).u8(3).u8(0).u32(1).u32(1).u32(0).u32(0).u32(0);
  EXPECT_EQ(SaveOne(f), want.s);

  // Version 600: the segment ends with u32 0 strings, and the lists follow.
  Bytes old;
  old.u32(600);
  PutFlowHead(old, 600, 2, 0, 0, 0);
  old.u32(0).u32(0).u32(1);
  PutPlainCommand(old, 0, ACTCMDTYPE_GAME_WAIT, {30});
  cEdFlow g = LoadOne<cEdFlow>(old.s);
  EXPECT_EQ(g.m_nId, 2);
  ASSERT_EQ(g.m_vCommands.size(), 1u);
  EXPECT_EQ(g.m_vCommands[0].m_vParams[0], 30);
}

TEST_F(FlowRecord, TriggerAndSwitchUpgrades) {
  struct Case {
    int version, trigger, sw;
    int wantTrigger, wantSwitch;
  } cases[] = {
      {131, 11, 0, 14, 0},  // one inserted at 11, then two at 5
      {131, 10, 0, 12, 0},
      {132, 11, 0, 13, 0},
      {150, 4, 0, 4, 0},
      {150, 5, 0, 7, 0},
      {160, 1, 3, 1, 0},  // switch letters belong to always-flows
      {160, 0, 3, 0, 3},
      {162, 2, 5, 2, 0},
      {163, 2, 5, 2, 5},
      {163, 5, 0, 7, 0},
      {164, 5, 0, 5, 0},
      {733, 19, 4, 19, 4},
      {100, 254, 0, 255, 0},  // past the table: never wraps to a real trigger
  };
  for (const Case& c : cases) {
    Bytes b;
    b.u32(c.version);
    PutFlowHead(b, c.version, 1, c.sw, 0, c.trigger);
    b.u32(0).u32(0).u32(0);
    cEdFlow f = LoadOne<cEdFlow>(b.s);
    EXPECT_EQ(std::make_pair(int(f.m_nTrigger), int(f.m_nSwitch)), std::make_pair(c.wantTrigger, c.wantSwitch))
        << "version " << c.version << " trigger " << c.trigger;
  }
}

TEST_F(FlowRecord, SavingNormalisesItsCommands) {
  cEdFlow f;
  cEdCommand message;
  message.m_nType = ACTCMDTYPE_MESSAGE;
  message.m_vParams.assign({1, 2, 3, 4, 5});
  message.m_nAnime = 9;  // past the 3 animations
  f.m_vCommands.push_back(message);
  cEdFlow back = LoadOne<cEdFlow>(SaveOne(f));
  EXPECT_EQ(f.m_vCommands[0].m_vParams.size(), 18u);
  EXPECT_EQ(f.m_vCommands[0].m_nAnime, 0);
  ASSERT_EQ(back.m_vCommands.size(), 1u);
  EXPECT_EQ(back.m_vCommands[0].m_vParams.size(), 18u);
}

TEST_F(FlowRecord, TestOnlyFlowsGoUnlessTheEditorStartedUsOrSystemKeepsThem) {
  cVector<cEdFlow> flows(4);
  const int flags[] = {0, 1, 1, 0};
  for (int i = 0; i < 4; ++i) {
    flows[i].m_nId = static_cast<uint8_t>(i + 1);
    flows[i].m_bTestOnly = static_cast<uint8_t>(flags[i]);
  }
  cVector<cEdFlow> removed = flows;
  RemoveFlaggedFlows(removed);
  EXPECT_EQ(Ids(removed), (std::vector<int>{1, 4}));
  cVector<cEdFlow> allFlagged = flows;
  for (cEdFlow& f : allFlagged) f.m_bTestOnly = 1;
  RemoveFlaggedFlows(allFlagged);
  EXPECT_TRUE(allFlagged.empty());

  EXPECT_FALSE(KeepTestOnlyFlows());
  bFromEditor = 1;
  EXPECT_TRUE(KeepTestOnlyFlows());
  bFromEditor = 0;
  SystemData.m_bKeepTestOnlyFlows = 1;
  EXPECT_TRUE(KeepTestOnlyFlows());
}
