// The status operation and the run-code command by target and status: the
// operand kinds, variables and system values, the character statuses at
// their widths with their after-effects, HP and SP through the character's
// own change, the invincibility skip and the defeat check; the executors.
#include <gtest/gtest.h>

#include <initializer_list>
#include <string>
#include <utility>
#include <vector>

#include "base/crt_random.h"
#include "game/action_commands.h"
#include "game/characters.h"
#include "game/flow_instance.h"
#include "game/status_commands.h"
#include "records/command.h"
#include "records/command_vocab.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "support/builders.h"
#include "support/game_world.h"

using namespace testsupport;

namespace {

// The 18 parameters.
enum {
  P_TARGET_KIND, P_VAR_KIND, P_VAR_INDEX, P_SUBJECT, P_STATUS, P_CALC, P_OPERAND, P_CONSTANT, P_RAND_A, P_RAND_B,
  P_OPERAND_VAR_KIND, P_OPERAND_INDEX, P_OPERAND_SUBJECT, P_OPERAND_STATUS, P_PERCENT, P_POINTS_MODE, P_GAUGE, P_SKIP_INVINCIBLE,
  P_PARAM_COUNT
};

cEdCommand StatusOp(std::initializer_list<std::pair<int, int>> params) {
  cEdCommand command;
  command.m_nType = ACTCMDTYPE_STATUS_OP;
  command.m_vParams.assign(P_PARAM_COUNT, 0);
  for (auto [n, v] : params) command.m_vParams[static_cast<size_t>(n)] = v;
  return command;
}

// status `status` of subject `subject` op= constant `v`.
cEdCommand OnStatus(int subject, int status, int op, int v,
                    std::initializer_list<std::pair<int, int>> more = {}) {
  cEdCommand command = StatusOp({{P_SUBJECT, subject}, {P_STATUS, status}, {P_CALC, op}, {P_CONSTANT, v}});
  for (auto [n, p] : more) command.m_vParams[static_cast<size_t>(n)] = p;
  return command;
}

class StatusOperation : public ::testing::Test {
 protected:
  void SetUp() override {
    MapBuilder({"H...e.t", "#######"}).Build();
    hero = &world.AddHero(CharaDef().PlayerOperated().Hp(30).Sp(20), {0, 0});
    me = &world.AddChara(CharaDef().Hp(25).Sp(10), {4, 0});
    other = &world.AddChara(CharaDef().Hp(40).Sp(8), {6, 0});
    me->m_nTargetId = other->m_nId;
  }
  void Op(cEdCommand command, cCharaBase* who = nullptr) { CmdStatusOp(who ? *who : *me, command); }

  GameWorld world;
  cHero* hero = nullptr;
  cChara* me = nullptr;
  cChara* other = nullptr;
};

}  // namespace

TEST_F(StatusOperation, OperandKinds) {
  PlayData.m_vCommonVar[4] = 13;
  world.Scene().m_vStageVars[5] = -6;
  other->m_vVars[2] = 21;
  struct Case {
    const char* what;
    std::initializer_list<std::pair<int, int>> operand;
    int expected;
  };
  const Case cases[] = {
      {"constant", {{P_OPERAND, OPERAND_CONST}, {P_CONSTANT, 7}}, 7},
      {"common variable", {{P_OPERAND, OPERAND_VARIABLE}, {P_OPERAND_VAR_KIND, 0}, {P_OPERAND_INDEX, 4}}, 13},
      {"stage variable", {{P_OPERAND, OPERAND_VARIABLE}, {P_OPERAND_VAR_KIND, 1}, {P_OPERAND_INDEX, 5}}, -6},
      {"other variable kind", {{P_OPERAND, OPERAND_VARIABLE}, {P_OPERAND_VAR_KIND, 2}, {P_OPERAND_INDEX, 5}}, 0},
      {"own SP", {{P_OPERAND, OPERAND_STATUS}, {P_OPERAND_SUBJECT, 0}, {P_OPERAND_STATUS, STATUS_SP}}, 10},
      {"target's variable",
       {{P_OPERAND, OPERAND_STATUS}, {P_OPERAND_SUBJECT, 1}, {P_OPERAND_STATUS, STATUS_CHARA_VAR}, {P_OPERAND_INDEX, 2}},
       21},
      {"system time", {{P_OPERAND, OPERAND_STATUS}, {P_OPERAND_SUBJECT, 2}, {P_OPERAND_STATUS, SYSVALUE_TIME}}, 0},
      {"other kind", {{P_OPERAND, 9}, {P_CONSTANT, 7}}, 0},
  };
  for (const Case& k : cases) {
    cEdCommand command = StatusOp({{P_TARGET_KIND, VALUEKIND_VARIABLE}, {P_VAR_INDEX, 1}, {P_CALC, CALCOP_SET}});
    for (auto [n, v] : k.operand) command.m_vParams[static_cast<size_t>(n)] = v;
    PlayData.m_vCommonVar[1] = 99;
    Op(command);
    EXPECT_EQ(PlayData.m_vCommonVar[1], k.expected) << k.what;
  }
  // Random bounds in either order; each run draws.
  crt::srand(1);  // draws 41, 18467
  cEdCommand random = StatusOp({{P_TARGET_KIND, VALUEKIND_VARIABLE}, {P_VAR_INDEX, 1}, {P_OPERAND, OPERAND_RANDOM},
                                {P_RAND_A, 10}, {P_RAND_B, 5}});
  Op(random);
  EXPECT_EQ(PlayData.m_vCommonVar[1], 5 + 41 % 6);
  Op(random);
  EXPECT_EQ(PlayData.m_vCommonVar[1], 5 + 18467 % 6);
  // No operand, no operation: a missing target, a computer's sight.
  PlayData.m_vCommonVar[1] = 99;
  me->m_nTargetId = OBJECT_NONE;
  Op(StatusOp({{P_TARGET_KIND, VALUEKIND_VARIABLE}, {P_VAR_INDEX, 1}, {P_OPERAND, OPERAND_STATUS}, {P_OPERAND_SUBJECT, 1}}));
  Op(StatusOp({{P_TARGET_KIND, VALUEKIND_VARIABLE}, {P_VAR_INDEX, 1}, {P_OPERAND, OPERAND_STATUS},
               {P_OPERAND_STATUS, STATUS_SIGHT}}));
  EXPECT_EQ(PlayData.m_vCommonVar[1], 99);
  // Reading stop derives the deceleration.
  me->m_dStopDecel = 5;
  Op(StatusOp({{P_TARGET_KIND, VALUEKIND_VARIABLE}, {P_VAR_INDEX, 1}, {P_OPERAND, OPERAND_STATUS},
               {P_OPERAND_STATUS, STATUS_STEADINESS}}));
  EXPECT_EQ(PlayData.m_vCommonVar[1], 10);
  EXPECT_EQ(me->m_dStopDecel, cCharaBase::StopToDecel(10));
}

TEST_F(StatusOperation, VariablesAndSystemValues) {
  PlayData.m_vCommonVar[3] = 200;
  world.Scene().m_vStageVars[3] = 999990;
  Op(StatusOp({{P_TARGET_KIND, VALUEKIND_VARIABLE}, {P_VAR_KIND, 0}, {P_VAR_INDEX, 3}, {P_CALC, CALCOP_ADD}, {P_CONSTANT, 50},
               {P_PERCENT, 1}}));  // + 50 % of itself
  EXPECT_EQ(PlayData.m_vCommonVar[3], 300);
  Op(StatusOp({{P_TARGET_KIND, VALUEKIND_VARIABLE}, {P_VAR_KIND, 1}, {P_VAR_INDEX, 3}, {P_CALC, CALCOP_ADD}, {P_CONSTANT, 50}}));
  EXPECT_EQ(world.Scene().m_vStageVars[3], 999999);
  Op(StatusOp({{P_TARGET_KIND, VALUEKIND_VARIABLE}, {P_VAR_KIND, 2}, {P_VAR_INDEX, 3}, {P_CONSTANT, 50}}));
  EXPECT_EQ(PlayData.m_vCommonVar[3], 300);

  Stage.m_bAutoScrollX = 1;
  world.Scene().m_nTimeLeft = 200;
  PlayData.m_nTotalScore = 10;
  PlayData.m_nLives = 98;
  Op(OnStatus(SUBJECT_SYSTEM, SYSVALUE_TIME, CALCOP_SUB, 50, {{P_PERCENT, 1}}));  // − 50 % of 200
  EXPECT_EQ(world.Scene().m_nTimeLeft, 100);
  Op(OnStatus(SUBJECT_SYSTEM, SYSVALUE_SCROLL_X, CALCOP_SET, 600));
  EXPECT_EQ(Stage.m_nAutoScrollSpeedX, 480);
  EXPECT_EQ(world.Scene().m_ScrollX.m_bAutoScroll, 1);
  EXPECT_EQ(world.Scene().m_ScrollX.m_dAutoSpeed, 480 * 0.1 / Stage.m_dSteps);
  Op(OnStatus(SUBJECT_SYSTEM, SYSVALUE_SCROLL_Y, CALCOP_SET, -600));
  EXPECT_EQ(Stage.m_nAutoScrollSpeedY, -480);
  EXPECT_EQ(world.Scene().m_ScrollY.m_bAutoScroll, 0);
  Op(OnStatus(SUBJECT_SYSTEM, SYSVALUE_SCORE, CALCOP_MUL, 1000000));
  EXPECT_EQ(PlayData.m_nTotalScore, 999999);
  Op(OnStatus(SUBJECT_SYSTEM, SYSVALUE_LIVES, CALCOP_ADD, 5));
  EXPECT_EQ(PlayData.m_nLives, 99);
  PlayData.m_nLives = LIVES_INFINITE;
  Op(OnStatus(SUBJECT_SYSTEM, SYSVALUE_LIVES, CALCOP_SET, 3));
  EXPECT_EQ(PlayData.m_nLives, LIVES_INFINITE);
  Op(OnStatus(SUBJECT_SYSTEM, 5, CALCOP_SET, 3));  // no such value
}

TEST_F(StatusOperation, CharacterStatusesAtTheirWidth) {
  me->m_Def.m_nCharaId = 50;
  me->m_Def.m_nIcon = 100;
  me->m_Def.m_nPower = 40;
  me->m_vVars[5] = 8;
  struct Case {
    const char* what;
    cEdCommand command;
    int32_t (*read)(const cCharaBase& c);
    int32_t expected;
  };
  const Case cases[] = {
      {"cid 50 + 100 stops at 99", OnStatus(SUBJECT_SELF, STATUS_CHARA_ID, CALCOP_ADD, 100),
       [](const cCharaBase& c) -> int32_t { return c.m_Def.m_nCharaId; }, 99},
      {"cid = 33 % of 99", OnStatus(SUBJECT_SELF, STATUS_CHARA_ID, CALCOP_SET, 33, {{P_PERCENT, 1}}),
       [](const cCharaBase& c) -> int32_t { return c.m_Def.m_nCharaId; }, 33},
      {"z = 9", OnStatus(SUBJECT_SELF, STATUS_Z, CALCOP_SET, 9),
       [](const cCharaBase& c) -> int32_t { return c.m_Def.m_nZ; }, 7},
      {"mark + 65536", OnStatus(SUBJECT_SELF, STATUS_MARK, CALCOP_ADD, 65536),
       [](const cCharaBase& c) -> int32_t { return c.m_Def.m_nIcon; }, 119},
      {"mark = 50 % of 119", OnStatus(SUBJECT_SELF, STATUS_MARK, CALCOP_SET, 50, {{P_PERCENT, 1}}),
       [](const cCharaBase& c) -> int32_t { return c.m_Def.m_nIcon; }, 60},  // 59.5
      {"imp − 300", OnStatus(SUBJECT_SELF, STATUS_BODY_IMPACT, CALCOP_SUB, 300),
       [](const cCharaBase& c) -> int32_t { return c.m_Def.m_nImpact; }, -20},
      {"impd ÷ 0 keeps it", OnStatus(SUBJECT_SELF, STATUS_IMPACT_RESIST, CALCOP_DIV, 0),
       [](const cCharaBase& c) -> int32_t { return c.m_Def.m_nImpactResist; }, 0},
      {"power × 150 %", OnStatus(SUBJECT_SELF, STATUS_BODY_POWER, CALCOP_MUL, 150, {{P_PERCENT, 1}}),
       [](const cCharaBase& c) -> int32_t { return c.m_Def.m_nPower; }, 2400},
      {"def = −5", OnStatus(SUBJECT_SELF, STATUS_DEFENCE, CALCOP_SET, -5),
       [](const cCharaBase& c) -> int32_t { return c.m_Def.m_nDefence; }, 0},
      {"getsc − 2000000", OnStatus(SUBJECT_SELF, STATUS_SCORE_ON_DEFEAT, CALCOP_SUB, 2000000),
       [](const cCharaBase& c) -> int32_t { return c.m_Def.m_nScore; }, -999999},
      {"v5 % 3", OnStatus(SUBJECT_SELF, STATUS_CHARA_VAR, CALCOP_MOD, 3, {{P_VAR_INDEX, 5}}),
       [](const cCharaBase& c) -> int32_t { return c.m_vVars[5]; }, 2},
      {"the target's v1", OnStatus(SUBJECT_TARGET, STATUS_CHARA_VAR, CALCOP_SET, 4, {{P_VAR_INDEX, 1}}),
       [](const cCharaBase&) -> int32_t { return 0; }, 0},
  };
  for (const Case& k : cases) {
    Op(k.command);
    EXPECT_EQ(k.read(*me), k.expected) << k.what;
  }
  EXPECT_EQ(other->m_vVars[1], 4);
  // stop derives the deceleration again.
  Op(OnStatus(SUBJECT_SELF, STATUS_STEADINESS, CALCOP_SET, 500));
  EXPECT_EQ(me->m_Def.m_nStop, 200);
  EXPECT_EQ(me->m_dStopDecel, cCharaBase::StopToDecel(200));
  // A subject other than the character, its target or the system does nothing.
  Op(OnStatus(3, STATUS_Z, CALCOP_SET, 1));
  EXPECT_EQ(me->m_Def.m_nZ, 7);
}

TEST_F(StatusOperation, SightOnlyForPlayers) {
  Op(OnStatus(SUBJECT_SELF, STATUS_SIGHT, CALCOP_SET, 5));
  EXPECT_EQ(me->m_Def.m_nSight, 0);
  Op(OnStatus(SUBJECT_SELF, STATUS_SIGHT, CALCOP_SET, 45), hero);
  EXPECT_EQ(hero->m_Def.m_nSight, 40);
  EXPECT_EQ(hero->m_nSightDots, 640);
  EXPECT_EQ(world.events.Texts(EventKind::Log), std::vector<std::string>{"CreateWorkSurfaces 640"});
}

TEST_F(StatusOperation, HitAndSkillPointsThroughTheirChange) {
  struct Case {
    const char* what;
    int status, op, v, mode, gauge;
    int32_t before, expected;
    int timer;
  };
  const Case cases[] = {
      {"hp = 5", STATUS_HP, CALCOP_SET, 5, 0, 1, 25, 5, 120},
      {"hp + 40 % of max", STATUS_HP, CALCOP_ADD, 40, 1, 0, 10, 20, 0},
      {"hp − 50 % of itself", STATUS_HP, CALCOP_SUB, 50, 2, 1, 20, 10, 120},
      {"hp above max", STATUS_HP, CALCOP_ADD, 1000, 0, 0, 20, 25, 0},
      {"mode 3 changes nothing", STATUS_HP, CALCOP_SET, 1, 3, 1, 20, 20, 0},
      {"sp × 2", STATUS_SP, CALCOP_MUL, 2, 0, 1, 4, 8, 120},
      {"sp 50 % of max", STATUS_SP, CALCOP_SET, 50, 1, 0, 4, 5, 0},
  };
  for (const Case& k : cases) {
    me->m_HpGauge = me->m_SpGauge = GAUGESTATE();
    int32_t& points = k.status == STATUS_HP ? me->m_nHp : me->m_nSp;
    points = k.before;
    Op(OnStatus(SUBJECT_SELF, k.status, k.op, k.v, {{P_POINTS_MODE, k.mode}, {P_GAUGE, k.gauge}}));
    EXPECT_EQ(points, k.expected) << k.what;
    EXPECT_EQ((k.status == STATUS_HP ? me->m_HpGauge : me->m_SpGauge).nTimer, k.timer) << k.what;
  }
  // A loss is forced through the invincibility setting; p17 skips the character instead.
  me->m_Def.m_bInvincible = 1;
  me->m_nHp = 25;
  Op(OnStatus(SUBJECT_SELF, STATUS_HP, CALCOP_SUB, 5));
  EXPECT_EQ(me->m_nHp, 20);
  Op(OnStatus(SUBJECT_SELF, STATUS_HP, CALCOP_SUB, 5, {{P_SKIP_INVINCIBLE, 1}}));
  EXPECT_EQ(me->m_nHp, 20);
  // Lowering a maximum lowers the points.
  Op(OnStatus(SUBJECT_SELF, STATUS_MAX_HP, CALCOP_SET, 12));
  EXPECT_EQ(me->m_nHp, 12);
  Op(OnStatus(SUBJECT_SELF, STATUS_MAX_SP, CALCOP_SUB, 50, {{P_PERCENT, 1}}));  // − 50 % of 10
  EXPECT_EQ(me->m_Def.m_nMaxSp, 5);
  EXPECT_EQ(me->m_nSp, 5);
}

TEST_F(StatusOperation, DefeatCheckForOthersOnly) {
  Op(OnStatus(SUBJECT_SELF, STATUS_HP, CALCOP_SET, 0));
  EXPECT_EQ(me->m_nHp, 0);
  EXPECT_EQ(world.Scene().m_bDefeatCheck, 0);
  Op(OnStatus(SUBJECT_TARGET, STATUS_HP, CALCOP_SUB, 10));
  EXPECT_EQ(other->m_nHp, 30);
  EXPECT_EQ(world.Scene().m_bDefeatCheck, 0);
  Op(OnStatus(SUBJECT_TARGET, STATUS_MAX_HP, CALCOP_SET, 0));
  EXPECT_EQ(other->m_nHp, 0);
  EXPECT_EQ(world.Scene().m_bDefeatCheck, 1);
  world.Scene().m_bDefeatCheck = 0;
  other->m_Def.m_nMaxHp = 40;
  other->m_nHp = 40;
  Op(OnStatus(SUBJECT_TARGET, STATUS_HP, CALCOP_SET, 0));
  EXPECT_EQ(world.Scene().m_bDefeatCheck, 1);
  // Without a target nothing happens.
  world.Scene().m_bDefeatCheck = 0;
  me->m_nTargetId = OBJECT_NONE;
  Op(OnStatus(SUBJECT_TARGET, STATUS_HP, CALCOP_SET, 0));
  EXPECT_EQ(world.Scene().m_bDefeatCheck, 0);
}

TEST_F(StatusOperation, ExecutorsRunTheirCommandRecords) {
  cEdCommand op = OnStatus(SUBJECT_SELF, STATUS_Z, CALCOP_SET, 1);
  cCommandInstance instance;
  instance.m_pCommand = &op;
  EXPECT_EQ(ActStatusOp(*me, instance), 0);
  EXPECT_EQ(me->m_Def.m_nZ, 1);
  cEdCommand code;
  code.m_nType = ACTCMDTYPE_RUN_CODE;
  code.m_strText = "C7 = z + 1";
  instance.m_pCommand = &code;
  EXPECT_EQ(ActRunCode(*me, instance), 0);
  EXPECT_EQ(PlayData.m_vCommonVar[7], 2);
  EXPECT_EQ(CmdRunCode(*me, code), 1);
  code.m_strText = "C7 = 1 / 0";
  world.events.ExpectBoxes({1});
  EXPECT_EQ(CmdRunCode(*me, code), 0);
  instance.m_pCommand = nullptr;
  EXPECT_EQ(ActStatusOp(*me, instance), 0);
  EXPECT_EQ(ActRunCode(*me, instance), 0);
}

TEST_F(StatusOperation, IndexesOutsideTheirVectorsAreReportedAndUseTheFirstEntry) {
  world.events.AllowCloseRequests(true);
  struct Case {
    const char* what;
    cEdCommand command;
    const char* report;
    int32_t (*read)(const cChara& c);
    int32_t expected;
  };
  const Case cases[] = {
      {"variable target", StatusOp({{P_TARGET_KIND, VALUEKIND_VARIABLE}, {P_VAR_INDEX, 256}, {P_CALC, CALCOP_ADD},
                                    {P_CONSTANT, 5}}),
       "err V[256] ( 256 , 4 )", [](const cChara&) { return PlayData.m_vCommonVar[0]; }, 15},
      {"variable operand", StatusOp({{P_TARGET_KIND, VALUEKIND_VARIABLE}, {P_VAR_INDEX, 1}, {P_OPERAND, OPERAND_VARIABLE},
                                     {P_OPERAND_INDEX, -1}}),
       "err V[-1] ( 256 , 4 )", [](const cChara&) { return PlayData.m_vCommonVar[1]; }, 10},
      {"character variable", OnStatus(SUBJECT_SELF, STATUS_CHARA_VAR, CALCOP_SET, 7, {{P_VAR_INDEX, 9}}),
       "err V[9] ( 9 , 4 )", [](const cChara& c) { return c.m_vVars[0]; }, 7},
  };
  for (const Case& k : cases) {
    world.events.Clear();
    PlayData.m_vCommonVar[0] = 10;
    Op(k.command);
    EXPECT_EQ(k.read(*me), k.expected) << k.what;
    EXPECT_EQ(world.events.Texts(EventKind::Log), std::vector<std::string>{k.report}) << k.what;
    EXPECT_EQ(world.events.Texts(EventKind::Close).size(), 1u) << k.what;
  }
  // A record with too few parameters reads each missing one as reported.
  world.events.Clear();
  cEdCommand shortCommand;
  shortCommand.m_vParams.assign(3, 0);
  Op(shortCommand);
  EXPECT_FALSE(world.events.Texts(EventKind::Close).empty());
}
