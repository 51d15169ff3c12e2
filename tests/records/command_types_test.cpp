// The command type tables and the direction codes of the command vocabulary.
#include <gtest/gtest.h>

#include "records/command.h"
#include "records/command_types.h"
#include "records/command_vocab.h"
#include "support/test_support.h"

using testsupport::Sjis;

TEST(CommandTypes, ItemTypesFromTwoOnAreTheirActionTypePlus15) {
  for (int t = ITEMCMDTYPE_STAGE_CLEAR; t < ITEMCMDTYPE_COUNT; ++t) {
    const COMMANDTYPEINFO& action = ActionCommandTable[t + ITEMCMDTYPE_TO_ACTION];
    EXPECT_EQ(ItemCommandTable[t].nParams, action.nParams) << t;
    EXPECT_EQ(ItemCommandTable[t].strName, action.strName) << t;
  }
  EXPECT_EQ(ItemCommandTable[ITEMCMDTYPE_FLOW_CHANGE].strName, Sjis("フローの変更"));
  EXPECT_EQ(ItemCommandTable[ITEMCMDTYPE_FLOW_CHANGE].nParams, 2);
  EXPECT_EQ(ActionCommandTable[0].strName, "");
  EXPECT_EQ(ItemCommandTable[0].strName, "");
}

TEST(CommandTypes, ParameterCountsOfTheActionTable) {
  const int want[ACTCMDTYPE_COUNT] = {0, 0, 0, 0, 0, 0, 0, 0, 0, 1, 5, 0, 0,  0, 0,  0, 3, 9, 1, 18,
                                      0, 10, 18, 3, 3, 2, 3, 1, 1, 8, 3, 3, 15, 8, 2, 1, 2, 0, 5, 2};
  for (int t = 0; t < ACTCMDTYPE_COUNT; ++t) EXPECT_EQ(CommandParamCount(0, t), want[t]) << t;
  EXPECT_EQ(ActionCommandTable[ACTCMDTYPE_VANISH].strName, Sjis("消滅"));
  EXPECT_EQ(ActionCommandTable[ACTCMDTYPE_PLAY_BGM].strName, Sjis("BGMの再生"));
  EXPECT_EQ(ActionCommandTable[ACTCMDTYPE_STATUS_OP2].strName, Sjis("ステータスの操作2"));
  EXPECT_EQ(CommandParamCount(0, ACTCMDTYPE_COUNT), -1);
  EXPECT_EQ(CommandParamCount(1, ITEMCMDTYPE_COUNT), -1);
  EXPECT_EQ(CommandParamCount(1, -1), -1);
}

TEST(CommandTypes, NormaliseGivesEachTypeItsCount) {
  struct Case {
    int item, type, count;
  } cases[] = {{0, ACTCMDTYPE_MESSAGE, 18}, {1, ITEMCMDTYPE_MESSAGE, 18}, {1, ITEMCMDTYPE_FLOW_CHANGE, 2},
               {0, ACTCMDTYPE_SHOT, 0}};
  for (const Case& c : cases) {
    cEdCommand cmd;
    cmd.m_bItemCommand = static_cast<uint8_t>(c.item);
    cmd.m_nType = static_cast<int8_t>(c.type);
    cmd.Normalise();
    EXPECT_EQ(cmd.m_vParams.Size(), c.count) << c.item << "/" << c.type;
  }
}

TEST(CommandVocabulary, InputDirectionsBecomeDirectionCodes) {
  struct Case {
    int index, facing, code;
  } cases[] = {{0, 1, DIRCODE_RIGHT}, {0, 0, DIRCODE_LEFT},       {1, 1, DIRCODE_LEFT},
               {2, 0, DIRCODE_RIGHT}, {3, 0, DIRCODE_UP},          {4, 0, DIRCODE_DOWN},
               {5, 0, DIRCODE_UP_LEFT}, {6, 0, DIRCODE_DOWN_LEFT}, {7, 0, DIRCODE_UP_RIGHT},
               {8, 0, DIRCODE_DOWN_RIGHT}, {9, 1, DIRCODE_RIGHT},  {-1, 0, DIRCODE_LEFT}};
  for (const Case& c : cases) EXPECT_EQ(ToDirectionCode(c.index, c.facing), c.code) << c.index << "/" << c.facing;
}

TEST(CommandVocabulary, LabelsAndRangesOfTheNamedValues) {
  EXPECT_EQ(FlowTriggerLabels[FLOWTRIGGER_NONE], Sjis("なし（フローの操作コマンドで実行）"));
  EXPECT_EQ(CondTypeLabels[CONDTYPE_NONE], std::string());
  EXPECT_EQ(CmpOpLabels[CMPOP_NOT_MULTIPLE], Sjis("の倍数でない"));
  EXPECT_EQ(CalcOpLabels[CALCOP_MOD], Sjis("÷ X の余り"));
  EXPECT_EQ(FlowOpLabels[FLOWOP_STOP_FOREVER], Sjis("永久停止"));
  EXPECT_EQ(FlowOpTargetLabels[FLOWOPTARGET_BY_ID], Sjis("IDで指定"));
  EXPECT_EQ(CharaStatusTable[STATUS_MARK].strName, Sjis("マーク番号"));
  EXPECT_EQ(std::make_pair(CharaStatusTable[STATUS_BODY_IMPACT].nMin, CharaStatusTable[STATUS_BODY_IMPACT].nMax),
            std::make_pair(-20, 20));
  EXPECT_EQ(SystemValueTable[SYSVALUE_SCROLL_Y].nMin, -480);
  EXPECT_EQ(CharaStateLabels[CHARASTATE_SCROLL_SYNC], Sjis("オートスクロールとシンクロ"));
  EXPECT_EQ(SituationLabels[SITUATION_ON_SCREEN], Sjis("画面内にいる"));
}
