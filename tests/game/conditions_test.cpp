// Conditions on harness stages: status conditions by left side, subject,
// percent flag and operand kind; states, situations (negated) and distances
// (each axis, facing, the circle); the lists and the gates with their latch.
#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <vector>

#include "base/crt_random.h"
#include "game/characters.h"
#include "game/conditions.h"
#include "game/flow_conditions.h"
#include "game/flow_instance.h"
#include "game/map_cells.h"
#include "records/command_vocab.h"
#include "records/condition.h"
#include "records/map_cell.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "support/builders.h"
#include "support/game_world.h"

using namespace testsupport;

namespace {

using Tweak = std::function<void(cEdCondition&)>;

cEdCondition Cond(int type, const Tweak& tweak) {
  cEdCondition c;
  c.m_nType = static_cast<uint8_t>(type);
  tweak(c);
  return c;
}

// A status condition: status `item` of `subject` op value, constant operand.
cEdCondition Status(int subject, int item, int op, int value, const Tweak& tweak = [](cEdCondition&) {}) {
  return Cond(CONDTYPE_STATUS, [&](cEdCondition& c) {
    c.m_nLeftKind = VALUEKIND_STATUS;
    c.m_nSubject = static_cast<uint8_t>(subject);
    c.m_nItem = static_cast<uint8_t>(item);
    c.m_nCompare = static_cast<uint8_t>(op);
    c.m_nConst = value;
    tweak(c);
  });
}

// Common variable n op value.
cEdCondition CommonVar(int n, int op, int value) {
  return Cond(CONDTYPE_COMMON_VAR, [&](cEdCondition& c) {
    c.m_nIndex = static_cast<int16_t>(n);
    c.m_nCompare = static_cast<uint8_t>(op);
    c.m_nConst = value;
  });
}

const Tweak Percent = [](cEdCondition& c) { c.m_bPercent = 1; };

class Conditions : public ::testing::Test {
 protected:
  void SetUp() override {
    StageSettings().CharaHitBox(20, 20, 0);
    MapBuilder(std::vector<std::string>(10, std::string(20, '.'))).Build();
    hero = &world.AddHero(CharaDef().PlayerOperated().Hp(30).Sp(20).Sight(3), {2, 5});
    me = &world.AddChara(CharaDef().Hp(25).Sp(10), {10, 5});
    other = &world.AddChara(CharaDef().Hp(7), {11, 5});
    world.Scene().m_ScrollX.m_dPos = 320;  // the view shows the map's top left
    world.Scene().m_ScrollY.m_dPos = 320;
    world.UpdatePresence();
  }
  void TargetOther() { me->m_nTargetId = other->m_nId; }
  void NoTarget() { me->m_nTargetId = OBJECT_NONE; }
  int Check(cEdCondition c) { return CheckCondition(c, me); }

  GameWorld world;
  cHero* hero = nullptr;
  cChara* me = nullptr;
  cChara* other = nullptr;
};

}  // namespace

TEST_F(Conditions, StatusByLeftSideAndPercent) {
  me->m_nHp = 20;
  me->m_Def.m_nCharaId = 5;
  me->m_Def.m_nIcon = 100;
  me->m_Def.m_nImpact = -5;
  me->m_Def.m_nStop = 150;
  me->m_vVars[3] = 42;
  struct Case {
    cEdCondition c;
    int expected;
    const char* what;
  };
  const Case cases[] = {
      {Status(SUBJECT_SELF, STATUS_HP, CMPOP_GE, 20), 1, "hp >= 20"},
      {Status(SUBJECT_SELF, STATUS_HP, CMPOP_LT, 20), 0, "hp < 20"},
      {Status(SUBJECT_SELF, STATUS_HP, CMPOP_EQ, 80, Percent), 1, "hp = 80 % of 25"},
      {Status(SUBJECT_SELF, STATUS_SP, CMPOP_EQ, 100, Percent), 1, "sp = 100 % of 10"},
      {Status(SUBJECT_SELF, STATUS_MAX_HP, CMPOP_GT, 50, Percent), 1, "mhp > 0 (percent of nothing)"},
      {Status(SUBJECT_SELF, STATUS_BODY_POWER, CMPOP_EQ, 50, Percent), 1, "power = 0"},
      {Status(SUBJECT_SELF, STATUS_CHARA_VAR, CMPOP_EQ, 42, [](cEdCondition& c) { c.m_nIndex = 3; }), 1, "v3 = 42"},
      {Status(SUBJECT_SELF, STATUS_CHARA_VAR, CMPOP_EQ, 42, [](cEdCondition& c) { c.m_nIndex = 3; c.m_bPercent = 1; }),
       0, "v3 = 0"},
      // Narrow statuses compare at their width.
      {Status(SUBJECT_SELF, STATUS_CHARA_ID, CMPOP_EQ, 5 + 256), 1, "cid = 261 in 8 bits"},
      {Status(SUBJECT_SELF, STATUS_MARK, CMPOP_EQ, 100 + 65536), 1, "mark = 65636 in 16 bits"},
      {Status(SUBJECT_SELF, STATUS_MARK, CMPOP_EQ, 100 + 256), 0, "mark = 356"},
      {Status(SUBJECT_SELF, STATUS_BODY_IMPACT, CMPOP_LT, 90, Percent), 1, "imp < 0"},
      {Status(SUBJECT_SELF, STATUS_STEADINESS, CMPOP_EQ, 150 + 65536), 1, "stop = 150 in 16 bits"},
      {Status(SUBJECT_SELF, STATUS_STEADINESS, CMPOP_GT, 150, Percent), 1, "stop > 0"},
      {Status(SUBJECT_SELF, STATUS_SCORE_ON_DEFEAT, CMPOP_EQ, 0), 1, "getsc = 0"},
      {Status(SUBJECT_SELF, 15, CMPOP_EQ, 12345), 1, "a status past the table holds"},
      {Status(SUBJECT_TARGET, STATUS_HP, CMPOP_EQ, 30), 1, "the target's hp"},
      {Status(3, STATUS_HP, CMPOP_EQ, 20), 0, "no such subject"},
      {Cond(CONDTYPE_STATUS, [](cEdCondition& c) { c.m_nLeftKind = 2; }), 0, "no such left side"},
  };
  for (const Case& k : cases) EXPECT_EQ(Check(k.c), k.expected) << k.what;
  // HP 2 of 3 against 50 %: the percentage rounds to 2.
  me->m_Def.m_nMaxHp = 3;
  me->m_nHp = 2;
  EXPECT_EQ(Check(Status(SUBJECT_SELF, STATUS_HP, CMPOP_GE, 50, Percent)), 1);
  me->m_nHp = 1;
  EXPECT_EQ(Check(Status(SUBJECT_SELF, STATUS_HP, CMPOP_GE, 50, Percent)), 0);
  NoTarget();
  EXPECT_EQ(Check(Status(SUBJECT_TARGET, STATUS_HP, CMPOP_NE, 1)), 0);
}

TEST_F(Conditions, StatusOfVariablesAndSystemValues) {
  PlayData.m_vCommonVar[5] = 12;
  world.Scene().m_vStageVars[6] = -3;
  auto var = [](int kind, int n, int op, int value, int percent) {
    return Cond(CONDTYPE_STATUS, [=](cEdCondition& c) {
      c.m_nLeftKind = VALUEKIND_VARIABLE;
      c.m_nLeftVarKind = static_cast<uint8_t>(kind);
      c.m_nIndex = static_cast<int16_t>(n);
      c.m_nCompare = static_cast<uint8_t>(op);
      c.m_nConst = value;
      c.m_bPercent = static_cast<uint8_t>(percent);
    });
  };
  EXPECT_EQ(Check(var(VARKIND_COMMON, 5, CMPOP_EQ, 12, 0)), 1);
  EXPECT_EQ(Check(var(VARKIND_STAGE, 6, CMPOP_LT, 0, 0)), 1);
  EXPECT_EQ(Check(var(VARKIND_COMMON, 5, CMPOP_GT, 1000, 1)), 1);  // against 0
  EXPECT_EQ(Check(var(VARKIND_CHARA, 5, CMPOP_EQ, 0, 0)), 0);

  world.Scene().m_nTimeLeft = 300;
  Stage.m_nAutoScrollSpeedY = -40;
  PlayData.m_nTotalScore = 900;
  PlayData.m_nLives = 3;
  struct Case {
    int item, op, value, percent, expected;
  };
  const Case cases[] = {
      {SYSVALUE_TIME, CMPOP_EQ, 300, 0, 1},      {SYSVALUE_SCROLL_Y, CMPOP_LT, -39, 0, 1},
      {SYSVALUE_SCORE, CMPOP_GE, 900, 0, 1},     {SYSVALUE_LIVES, CMPOP_EQ, 3, 0, 1},
      {SYSVALUE_LIVES, CMPOP_GT, 50, 1, 1},      {SYSVALUE_SCROLL_X, CMPOP_EQ, 75, 1, 1},
      {5, CMPOP_EQ, 0, 0, 0},
  };
  for (const Case& k : cases)
    EXPECT_EQ(Check(Status(SUBJECT_SYSTEM, k.item, k.op, k.value, [&](cEdCondition& c) { c.m_bPercent = k.percent; })),
              k.expected)
        << "system " << k.item;
  // Without a time limit the time reads 0; infinite lives make it false.
  world.Scene().m_bNoTimeLimit = 1;
  EXPECT_EQ(Check(Status(SUBJECT_SYSTEM, SYSVALUE_TIME, CMPOP_EQ, 0)), 1);
  PlayData.m_nLives = LIVES_INFINITE;
  EXPECT_EQ(Check(Status(SUBJECT_SYSTEM, SYSVALUE_LIVES, CMPOP_NE, 5)), 0);
}

TEST_F(Conditions, StatusOperands) {
  me->m_nHp = 20;
  me->m_nSp = 4;
  PlayData.m_vCommonVar[9] = 20;
  world.Scene().m_vStageVars[2] = 19;
  auto hpAgainst = [](int kind, const Tweak& tweak) {
    return Status(SUBJECT_SELF, STATUS_HP, CMPOP_EQ, 0, [&](cEdCondition& c) {
      c.m_nOperandKind = static_cast<uint8_t>(kind);
      tweak(c);
    });
  };
  auto operand = [](int subject, int item, int index = 0) {
    return [=](cEdCondition& c) {
      c.m_nOperandSubject = static_cast<uint8_t>(subject);
      c.m_nOperandItem = static_cast<uint8_t>(item);
      c.m_nOperandIndex = static_cast<int16_t>(index);
    };
  };
  auto variable = [](int kind, int index) {
    return [=](cEdCondition& c) {
      c.m_nOperandVarKind = static_cast<uint8_t>(kind);
      c.m_nOperandIndex = static_cast<int16_t>(index);
    };
  };
  // Status operands.
  EXPECT_EQ(Check(hpAgainst(OPERAND_STATUS, operand(SUBJECT_SELF, STATUS_HP))), 1);
  EXPECT_EQ(Check(hpAgainst(OPERAND_STATUS, operand(SUBJECT_SELF, STATUS_SP))), 0);
  hero->m_nHp = 20;
  EXPECT_EQ(Check(hpAgainst(OPERAND_STATUS, operand(SUBJECT_TARGET, STATUS_HP))), 1);
  me->m_vVars[4] = 20;
  EXPECT_EQ(Check(hpAgainst(OPERAND_STATUS, operand(SUBJECT_SELF, STATUS_CHARA_VAR, 4))), 1);
  world.Scene().m_nTimeLeft = 20;
  EXPECT_EQ(Check(hpAgainst(OPERAND_STATUS, operand(SUBJECT_SYSTEM, SYSVALUE_TIME))), 1);
  // The sight of the computer's character cannot be read; a player's can.
  me->m_nHp = 3;
  me->m_Def.m_nSight = 3;
  EXPECT_EQ(Check(hpAgainst(OPERAND_STATUS, operand(SUBJECT_SELF, STATUS_SIGHT))), 0);
  EXPECT_EQ(Check(Status(SUBJECT_SELF, STATUS_HP, CMPOP_NE, 0, [&](cEdCondition& c) {
              c.m_nOperandKind = OPERAND_STATUS;
              operand(SUBJECT_SELF, STATUS_SIGHT)(c);
            })),
            0);
  EXPECT_EQ(Check(hpAgainst(OPERAND_STATUS, operand(SUBJECT_TARGET, STATUS_SIGHT))), 1);
  // Reading stop derives the stop deceleration again.
  me->m_dStopDecel = 99;
  me->m_Def.m_nStop = 50;
  Check(hpAgainst(OPERAND_STATUS, operand(SUBJECT_SELF, STATUS_STEADINESS)));
  EXPECT_EQ(me->m_dStopDecel, cCharaBase::StopToDecel(50));
  NoTarget();
  EXPECT_EQ(Check(Status(SUBJECT_SELF, STATUS_HP, CMPOP_NE, 0, [&](cEdCondition& c) {
              c.m_nOperandKind = OPERAND_STATUS;
              operand(SUBJECT_TARGET, STATUS_HP)(c);
            })),
            0);
  // Variable operands, and kinds that give 0.
  me->m_nHp = 20;
  EXPECT_EQ(Check(hpAgainst(OPERAND_VARIABLE, variable(VARKIND_COMMON, 9))), 1);
  EXPECT_EQ(Check(hpAgainst(OPERAND_VARIABLE, variable(VARKIND_STAGE, 2))), 0);
  me->m_nHp = 0;
  EXPECT_EQ(Check(hpAgainst(OPERAND_VARIABLE, variable(VARKIND_CHARA, 2))), 1);
  EXPECT_EQ(Check(hpAgainst(7, [](cEdCondition& c) { c.m_nConst = 55; })), 1);
}

TEST_F(Conditions, RandomOperandIsDrawnAnewAndWrittenBack) {
  crt::srand(1);  // draws 41, 18467, 6334
  cEdCondition c = Status(SUBJECT_SELF, STATUS_HP, CMPOP_GE, 0, [](cEdCondition& c) {
    c.m_nOperandKind = OPERAND_RANDOM;
    c.m_nRandMin = 20;
    c.m_nRandMax = 29;
  });
  me->m_nHp = 25;
  EXPECT_EQ(CheckCondition(c, me), 1);
  EXPECT_EQ(c.m_nConst, 20 + 41 % 10);
  EXPECT_EQ(CheckCondition(c, me), 0);
  EXPECT_EQ(c.m_nConst, 20 + 18467 % 10);
  c.m_nRandMin = 29;  // either order
  c.m_nRandMax = 20;
  CheckCondition(c, me);
  EXPECT_EQ(c.m_nConst, 20 + 6334 % 10);
}

TEST_F(Conditions, States) {
  auto state = [](int subject, int item, int op, int value) {
    return Cond(CONDTYPE_STATE, [=](cEdCondition& c) {
      c.m_nSubject = static_cast<uint8_t>(subject);
      c.m_nItem = static_cast<uint8_t>(item);
      c.m_nCompare = static_cast<uint8_t>(op);
      c.m_nIndex = static_cast<int16_t>(value);
    });
  };
  me->m_Def.m_bTransparent = 1;
  me->m_Def.m_nFlyMode = 2;
  me->m_Def.m_nScale = 3;
  other->m_Def.m_bInvincible = 2;
  Stage.m_bAutoScrollX = 1;
  TargetOther();
  struct Case {
    cEdCondition c;
    int expected;
  };
  const Case cases[] = {
      {state(SUBJECT_SELF, CHARASTATE_TRANSPARENT, CMPOP_EQ, 1), 1},
      {state(SUBJECT_SELF, CHARASTATE_FIXED_FACING, CMPOP_EQ, 1), 1},
      {state(SUBJECT_SELF, CHARASTATE_FLYING, CMPOP_EQ, 2), 1},
      {state(SUBJECT_SELF, CHARASTATE_INVINCIBLE, CMPOP_EQ, 0), 1},
      {state(SUBJECT_SELF, CHARASTATE_GIANT, CMPOP_GE, 2), 1},
      {state(SUBJECT_SELF, CHARASTATE_SCROLL_SYNC, CMPOP_NE, 0), 0},
      {state(SUBJECT_SELF, CHARASTATE_VANISH, CMPOP_EQ, 0), 0},
      {state(SUBJECT_SELF, 7, CMPOP_EQ, 0), 0},
      {state(SUBJECT_TARGET, CHARASTATE_INVINCIBLE, CMPOP_EQ, 2), 1},
      {state(SUBJECT_SYSTEM, 0, CMPOP_EQ, 1), 1},
      {state(SUBJECT_SYSTEM, 1, CMPOP_EQ, 1), 0},
      {state(SUBJECT_SYSTEM, 2, CMPOP_EQ, 0), 0},
      {state(3, CHARASTATE_TRANSPARENT, CMPOP_EQ, 1), 0},
  };
  for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(Check(cases[i].c), cases[i].expected) << "case " << i;
  NoTarget();
  EXPECT_EQ(Check(state(SUBJECT_TARGET, CHARASTATE_INVINCIBLE, CMPOP_EQ, 0)), 0);
}

TEST_F(Conditions, SituationsAndTheirNegation) {
  auto situation = [](int subject, int item, int negate) {
    return Cond(CONDTYPE_SITUATION, [=](cEdCondition& c) {
      c.m_nSubject = static_cast<uint8_t>(subject);
      c.m_nItem = static_cast<uint8_t>(item);
      c.m_nCompare = static_cast<uint8_t>(negate);
    });
  };
  struct Case {
    const char* what;
    std::function<void(cCharaBase&)> set;
    int item;
    int expected;
  };
  const Case cases[] = {
      {"faces left", [](cCharaBase& c) { c.m_nDirection = 0; }, SITUATION_FACING_LEFT, 1},
      {"faces right", [](cCharaBase& c) { c.m_nDirection = 0; }, SITUATION_FACING_RIGHT, 0},
      {"stands", [](cCharaBase& c) { c.m_bAirborne = 0; }, SITUATION_ON_BLOCK, 1},
      {"after a jump", [](cCharaBase& c) { c.m_bAirborne = 0; c.m_bJumped = 1; }, SITUATION_ON_BLOCK, 0},
      {"in the air", [](cCharaBase& c) { c.m_bAirborne = 1; }, SITUATION_ON_BLOCK, 0},
      {"riding in the air", [](cCharaBase& c) { c.m_bAirborne = 1; c.m_bRiding = 1; }, SITUATION_ON_BLOCK, 1},
      {"flying", [](cCharaBase& c) { c.m_bAirborne = 0; c.m_Def.m_nFlyMode = 2; }, SITUATION_ON_BLOCK, 0},
      // The computer's characters keep the appearance pass's verdict.
      {"marked on screen", [](cCharaBase& c) { c.m_bOnScreen = 1; c.m_rcHit.dLeft = -5000; }, SITUATION_ON_SCREEN, 1},
      {"marked off screen", [](cCharaBase& c) { c.m_bOnScreen = 0; }, SITUATION_ON_SCREEN, 0},
      {"no such situation", [](cCharaBase&) {}, 4, 0},
  };
  for (const Case& k : cases) {
    cChara saved = *me;
    k.set(*me);
    EXPECT_EQ(Check(situation(SUBJECT_SELF, k.item, 0)), k.expected) << k.what;
    EXPECT_EQ(Check(situation(SUBJECT_SELF, k.item, 1)), !k.expected) << "not " << k.what;
    EXPECT_EQ(Check(situation(SUBJECT_SELF, k.item, 2)), k.expected) << k.what << " (2 does not negate)";
    *me = saved;
  }
  // A player is on screen when its box meets the view, whatever the flag.
  hero->m_bOnScreen = 0;
  cEdCondition onScreen = situation(SUBJECT_SELF, SITUATION_ON_SCREEN, 0);
  // (The hero does not confine itself yet: its box's far edges are computed here.)
  hero->ClampX(3);
  hero->ClampY(3);
  EXPECT_EQ(CheckCondition(onScreen, hero), 1);
  hero->m_bOnScreen = 1;
  world.Scene().m_ScrollY.m_dPos = 0;
  EXPECT_EQ(CheckCondition(onScreen, hero), 0);
  me->m_nDirection = 1;
  other->m_nDirection = 0;
  TargetOther();
  EXPECT_EQ(Check(situation(SUBJECT_TARGET, SITUATION_FACING_LEFT, 0)), 1);
  EXPECT_EQ(Check(situation(SUBJECT_SYSTEM, SITUATION_FACING_RIGHT, 0)), 1);  // the character itself
  NoTarget();
  EXPECT_EQ(Check(situation(SUBJECT_TARGET, SITUATION_FACING_LEFT, 1)), 0);
}

TEST_F(Conditions, DistancesByAxisAndFacing) {
  // me stands on cell (10, 5); the target moves. 20 × 20 hit boxes centred
  // in their cells: 6 dots in from each side of the graphic.
  TargetOther();
  auto distance = [](int axis, int halfBlocks, int dots, int op) {
    return Cond(CONDTYPE_DISTANCE, [=](cEdCondition& c) {
      c.m_nSubject = 1;
      c.m_nAxis = static_cast<uint8_t>(axis);
      c.m_nConst = halfBlocks;
      c.m_nOperandIndex = static_cast<int16_t>(dots);
      c.m_nCompare = static_cast<uint8_t>(op);
    });
  };
  struct Case {
    int axis, facing, cx, cy, halfBlocks, expected;
  };
  const Case cases[] = {
      // Both sides: 32 dots beyond each half of the graphic.
      {DISTAXIS_HORIZONTAL, 0, 8, 5, 2, 0}, {DISTAXIS_HORIZONTAL, 0, 9, 5, 2, 1},
      {DISTAXIS_HORIZONTAL, 0, 11, 5, 2, 1}, {DISTAXIS_HORIZONTAL, 0, 12, 5, 2, 0},
      {DISTAXIS_HORIZONTAL, 0, 12, 5, 3, 1}, {DISTAXIS_HORIZONTAL, 1, 11, 9, 2, 1},
      // In front: the 32 dots on the side it faces, from its centre.
      {DISTAXIS_FRONT, 0, 9, 5, 2, 1}, {DISTAXIS_FRONT, 0, 11, 5, 2, 0},
      {DISTAXIS_FRONT, 1, 9, 5, 2, 0}, {DISTAXIS_FRONT, 1, 11, 5, 2, 1},
      {DISTAXIS_BACK, 0, 9, 5, 2, 0}, {DISTAXIS_BACK, 0, 11, 5, 2, 1},
      {DISTAXIS_BACK, 1, 9, 5, 2, 1}, {DISTAXIS_BACK, 1, 11, 5, 2, 0},
      // Vertically: facing left looks up, facing right down.
      {DISTAXIS_VERTICAL, 0, 10, 3, 2, 0}, {DISTAXIS_VERTICAL, 0, 10, 4, 2, 1},
      {DISTAXIS_VERTICAL, 0, 10, 6, 2, 1}, {DISTAXIS_VERTICAL, 0, 10, 7, 2, 0},
      {DISTAXIS_FRONT_Y, 0, 10, 4, 2, 1}, {DISTAXIS_FRONT_Y, 0, 10, 6, 2, 0},
      {DISTAXIS_FRONT_Y, 1, 10, 4, 2, 0}, {DISTAXIS_FRONT_Y, 1, 10, 6, 2, 1},
      {DISTAXIS_BACK_Y, 0, 10, 4, 2, 0}, {DISTAXIS_BACK_Y, 0, 10, 6, 2, 1},
      {DISTAXIS_BACK_Y, 1, 10, 4, 2, 1}, {DISTAXIS_BACK_Y, 1, 10, 6, 2, 0},
      // The circle between the hit boxes' centres.
      {DISTAXIS_CIRCLE, 0, 11, 5, 2, 1}, {DISTAXIS_CIRCLE, 0, 12, 5, 2, 0},
      {DISTAXIS_CIRCLE, 0, 11, 6, 2, 0}, {DISTAXIS_CIRCLE, 0, 11, 6, 3, 1},
      {DISTAXIS_CIRCLE, 1, 10, 3, 4, 1}, {7, 0, 10, 5, 40, 0},
  };
  for (const Case& k : cases) {
    me->m_nDirection = k.facing;
    other->SetCellPos(k.cx, k.cy);
    world.UpdatePresence();
    const std::string what = "axis " + std::to_string(k.axis) + " facing " + std::to_string(k.facing) + " cell " +
                             std::to_string(k.cx) + "," + std::to_string(k.cy) + " r " + std::to_string(k.halfBlocks);
    EXPECT_EQ(Check(distance(k.axis, k.halfBlocks, 0, 0)), k.expected) << what;
    EXPECT_EQ(Check(distance(k.axis, k.halfBlocks, 0, 1)), !k.expected) << "outside, " << what;
    EXPECT_EQ(Check(distance(k.axis, k.halfBlocks, 0, 2)), 0) << what;
  }
  // The reach is half blocks × 16 plus dots.
  other->SetCellPos(12, 5);
  world.UpdatePresence();
  EXPECT_EQ(Check(distance(DISTAXIS_CIRCLE, 3, 16, 0)), 1);
  EXPECT_EQ(Check(distance(DISTAXIS_CIRCLE, 3, 15, 0)), 0);
  // Subject 0 is the hero (8 cells away); subject 2 and a missing target nothing.
  cEdCondition toHero = distance(DISTAXIS_HORIZONTAL, 16, 0, 0);
  toHero.m_nSubject = 0;
  EXPECT_EQ(Check(toHero), 1);
  toHero.m_nConst = 10;
  EXPECT_EQ(Check(toHero), 0);
  toHero.m_nSubject = 2;
  toHero.m_nCompare = 1;
  EXPECT_EQ(Check(toHero), 0);
  NoTarget();
  EXPECT_EQ(Check(distance(DISTAXIS_HORIZONTAL, 2, 0, 1)), 0);
}

TEST_F(Conditions, VariableTypesAndLists) {
  PlayData.m_vCommonVar[3] = -9;
  world.Scene().m_vStageVars[4] = 10;
  me->m_vVars[8] = 6;
  auto var = [](int type, int n, int op, int value) {
    return Cond(type, [=](cEdCondition& c) {
      c.m_nIndex = static_cast<int16_t>(n);
      c.m_nCompare = static_cast<uint8_t>(op);
      c.m_nConst = value;
    });
  };
  struct Case {
    cEdCondition c;
    int expected;
  };
  const Case cases[] = {
      {var(CONDTYPE_COMMON_VAR, 3, CMPOP_MULTIPLE, 3), 1},  {var(CONDTYPE_COMMON_VAR, 3, CMPOP_MULTIPLE, 0), 1},
      {var(CONDTYPE_COMMON_VAR, 3, CMPOP_NOT_MULTIPLE, 0), 0}, {var(CONDTYPE_STAGE_VAR, 4, CMPOP_LE, 10), 1},
      {var(CONDTYPE_CHARA_VAR, 8, CMPOP_GT, 5), 1},          {var(CONDTYPE_NONE, 0, CMPOP_EQ, 0), 0},
      {var(CONDTYPE_COUNT, 0, CMPOP_EQ, 0), 0},              {var(200, 0, CMPOP_EQ, 0), 0},
  };
  for (size_t i = 0; i < std::size(cases); ++i) EXPECT_EQ(Check(cases[i].c), cases[i].expected) << "case " << i;
  // Conditions about a character hold for none.
  cEdCondition charaVar = var(CONDTYPE_CHARA_VAR, 8, CMPOP_EQ, 0);
  EXPECT_EQ(CheckCondition(charaVar, nullptr), 0);

  cVector<cEdCondition> list = {CommonVar(3, CMPOP_EQ, -9), CommonVar(3, CMPOP_EQ, 1)};
  EXPECT_EQ(CheckConditionList(list, CONDMODE_ALL, me), 0);
  EXPECT_EQ(CheckConditionList(list, CONDMODE_ANY, me), 1);
  EXPECT_EQ(CheckConditionList(list, 2, me), 0);
  cVector<cEdCondition> none;
  EXPECT_EQ(CheckConditionList(none, CONDMODE_ALL, me), 1);
  EXPECT_EQ(CheckConditionList(none, CONDMODE_ANY, me), 0);
  // A scan ends at its answer: the random operand after it is not drawn.
  cEdCondition random = Status(SUBJECT_SELF, STATUS_HP, CMPOP_GE, 0, [](cEdCondition& c) {
    c.m_nOperandKind = OPERAND_RANDOM;
    c.m_nRandMax = 9;
  });
  cVector<cEdCondition> any = {CommonVar(3, CMPOP_EQ, -9), random};
  cVector<cEdCondition> all = {CommonVar(3, CMPOP_EQ, 0), random};
  crt::srand(1);
  EXPECT_EQ(CheckConditionList(any, CONDMODE_ANY, me), 1);
  EXPECT_EQ(CheckConditionList(all, CONDMODE_ALL, me), 0);
  EXPECT_EQ(crt::rand(), 41);
}

TEST_F(Conditions, GatesLatch) {
  struct Case {
    const char* what;
    std::function<int()> gate;
    std::function<void(int mode, int latch)> set;
  };
  cFlowInstance flow;
  cEdFlow flowRecord;
  flow.m_pFlow = &flowRecord;
  cItem item;
  auto conds = [](cVector<cEdCondition>& list) {
    list = {CommonVar(0, CMPOP_EQ, 1), Cond(CONDTYPE_CHARA_VAR, [](cEdCondition& c) {
              c.m_nIndex = 1;
              c.m_nConst = 1;
            })};
  };
  const Case cases[] = {
      {"character", [&] { return CheckCharaConditions(*me); },
       [&](int mode, int latch) {
         conds(me->m_Def.m_vConditions);
         me->m_Def.m_nCondMode = static_cast<int8_t>(mode);
         me->m_Def.m_bCondOnce = static_cast<int8_t>(latch);
         me->m_bCondLatched = 0;
       }},
      {"item", [&] { return CheckItemConditions(item); },
       [&](int mode, int latch) {
         conds(item.m_Def.m_vConditions);
         item.m_Def.m_nCondMode = static_cast<int8_t>(mode);
         item.m_Def.m_bCondOnce = static_cast<int8_t>(latch);
         item.m_bCondLatched = 0;
       }},
      {"flow", [&] { return CheckFlowConditions(flow, *me); },
       [&](int mode, int latch) {
         conds(flowRecord.m_vConditions);
         flowRecord.m_nCondMode = static_cast<uint8_t>(mode);
         flowRecord.m_bCondOnce = static_cast<uint8_t>(latch);
         flow.m_bCondLatched = 0;
       }},
  };
  // The character of a character's and a flow's conditions is me; of an
  // item's, the hero.
  for (const Case& k : cases) {
    cCharaBase& asked = std::string(k.what) == "item" ? static_cast<cCharaBase&>(*hero) : *me;
    for (int latch : {0, 1}) {
      k.set(CONDMODE_ALL, latch);
      PlayData.m_vCommonVar[0] = 1;
      asked.m_vVars[1] = 0;
      EXPECT_EQ(k.gate(), 0) << k.what;
      asked.m_vVars[1] = 1;
      EXPECT_EQ(k.gate(), 1) << k.what;
      PlayData.m_vCommonVar[0] = 0;
      EXPECT_EQ(k.gate(), latch) << k.what << " latch " << latch;
      k.set(CONDMODE_ANY, latch);
      EXPECT_EQ(k.gate(), 1) << k.what;
      asked.m_vVars[1] = 0;
      EXPECT_EQ(k.gate(), latch) << k.what << " latch " << latch;
    }
  }
  // An empty list passes.
  me->m_Def.m_vConditions.clear();
  EXPECT_EQ(CheckCharaConditions(*me), 1);
  flow.m_pFlow = nullptr;
  EXPECT_EQ(CheckFlowConditions(flow, *me), 1);
}

TEST_F(Conditions, BlockWithConditionsCollidesWhileTheyHold) {
  MapBuilder({"....", "####"}).Build();
  MAPCELL* cell = CellAt(10, 11);  // the first block
  ASSERT_NE(cell, nullptr);
  ASSERT_EQ(GetHitAttr(cell, 0), 1);
  cell->Block.m_vConditions = {CommonVar(0, CMPOP_EQ, 1)};
  EXPECT_EQ(GetHitAttr(cell, 0), 0);
  PlayData.m_vCommonVar[0] = 1;
  EXPECT_EQ(GetHitAttr(cell, 0), 1);
  EXPECT_EQ(cell->bLatched, 1);
  PlayData.m_vCommonVar[0] = 0;
  EXPECT_EQ(GetHitAttr(cell, 0), 0);
  cell->Block.m_bCondOnce = 1;
  EXPECT_EQ(GetHitAttr(cell, 0), 1);
  // The hero is the character of its character-variable conditions.
  cell->Block.m_bCondOnce = 0;
  cell->Block.m_vConditions = {Cond(CONDTYPE_CHARA_VAR, [](cEdCondition& c) {
    c.m_nIndex = 2;
    c.m_nConst = 5;
  })};
  hero->m_vVars[2] = 5;
  EXPECT_EQ(GetHitAttr(cell, 0), 1);
  hero->m_vVars[2] = 4;
  EXPECT_EQ(GetHitAttr(cell, 0), 0);
}

TEST_F(Conditions, IndexesOutsideTheirVectorsAreReportedAndReadTheFirstEntry) {
  world.events.AllowCloseRequests(true);
  PlayData.m_vCommonVar[0] = 4;
  world.Scene().m_vStageVars[0] = 5;
  me->m_vVars[0] = 6;
  me->m_nHp = 4;
  auto leftVar = [](int kind, int n, int value) {
    return Cond(CONDTYPE_STATUS, [=](cEdCondition& c) {
      c.m_nLeftKind = VALUEKIND_VARIABLE;
      c.m_nLeftVarKind = static_cast<uint8_t>(kind);
      c.m_nIndex = static_cast<int16_t>(n);
      c.m_nConst = value;
    });
  };
  struct Case {
    const char* what;
    cEdCondition c;
    const char* report;
  };
  const Case cases[] = {
      {"common variable", CommonVar(300, CMPOP_EQ, 4), "err V[300] ( 256 , 4 )"},
      {"stage variable", Cond(CONDTYPE_STAGE_VAR, [](cEdCondition& c) { c.m_nIndex = -1; c.m_nConst = 5; }),
       "err V[-1] ( 255 , 4 )"},
      {"character variable", Cond(CONDTYPE_CHARA_VAR, [](cEdCondition& c) { c.m_nIndex = 9; c.m_nConst = 6; }),
       "err V[9] ( 9 , 4 )"},
      {"left variable", leftVar(VARKIND_STAGE, 32767, 5), "err V[32767] ( 255 , 4 )"},
      {"left character variable",
       Status(SUBJECT_SELF, STATUS_CHARA_VAR, CMPOP_EQ, 6, [](cEdCondition& c) { c.m_nIndex = -32768; }),
       "err V[-32768] ( 9 , 4 )"},
      {"variable operand", Status(SUBJECT_SELF, STATUS_HP, CMPOP_EQ, 0, [](cEdCondition& c) {
         c.m_nOperandKind = OPERAND_VARIABLE;
         c.m_nOperandIndex = 256;
       }),
       "err V[256] ( 256 , 4 )"},
  };
  for (const Case& k : cases) {
    world.events.Clear();
    EXPECT_EQ(Check(k.c), 1) << k.what;
    EXPECT_EQ(world.events.Texts(EventKind::Log), std::vector<std::string>{k.report}) << k.what;
    EXPECT_EQ(world.events.Texts(EventKind::Close).size(), 1u) << k.what;
  }
}
