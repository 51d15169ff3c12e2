// The code language: RunCode on a stage with a hero and a computer
// character (the running one, its target the hero), by code and values
// before, giving its result, the values after and the boxes it showed.
#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "base/crt_random.h"
#include "game/characters.h"
#include "game/code_eval.h"
#include "platform/message_box.h"
#include "records/save_data.h"
#include "records/stage.h"
#include "support/builders.h"
#include "support/game_world.h"

using namespace testsupport;

namespace {

// The boxes, in Shift-JIS.
const std::string kNoCloseParen = "\")\"\x82\xAA\x8C\xA9\x82\xC2\x82\xA9\x82\xE8\x82\xDC\x82\xB9\x82\xF1\x81\x49";
std::string BadArguments(const std::string& name) {
  return "\x8A\xD6\x90\x94 " + name + " \x82\xCC\x88\xF8\x90\x94\x82\xAA\x95\x73\x90\xB3\x82\xC5\x82\xB7\x81\x49";
}
std::string UnknownObject(const std::string& name) {
  return "\x83\x49\x83\x75\x83\x57\x83\x46\x83\x4E\x83\x67 \"" + name +
         ".\" \x82\xAA\x94\x46\x8E\xAF\x82\xC5\x82\xAB\x82\xDC\x82\xB9\x82\xF1\x81\x49";
}
std::string DivideByZero(const std::string& text) {
  return "0\x8F\x9C\x8E\x5A\x82\xAA\x8D\x73\x82\xED\x82\xEA\x82\xDC\x82\xB5\x82\xBD\x81\x49(" + text + ")";
}
const std::string kOperatorError =
    "\x89\x89\x8E\x5A\x8E\x71\x82\xCC\x83\x47\x83\x89\x81\x5B\x81\x69\x96\xA2\x92\xE8\x8B\x60\x81\x48\x81\x6A";
const std::string kVariableError =
    "\x95\xCF\x90\x94\x82\xCC\x8E\xAF\x95\xCA\x83\x47\x83\x89\x81\x5B\x81\x69\x96\xA2\x92\xE8\x8B\x60\x81\x48\x81\x6A";
const std::string kObjectError =
    "\x83\x49\x83\x75\x83\x57\x83\x46\x83\x4E\x83\x67\x82\xCC\x90\xDD\x92\xE8\x83\x47\x83\x89\x81\x5B!";

struct VarCase {
  const char* code;
  std::vector<std::pair<int, int>> before;  // common variable, value
  int result;
  std::vector<std::pair<int, int>> after;
  std::vector<std::string> boxes;
};

class Code : public ::testing::Test {
 protected:
  void SetUp() override {
    MapBuilder({"H...e", "#####"}).Build();
    hero = &world.AddHero(CharaDef().PlayerOperated().Hp(30).Sp(20), {0, 0});
    me = &world.AddChara(CharaDef().Hp(25).Sp(10), {4, 0});
    ASSERT_EQ(me->Target(), hero);
  }
  // RunCode for the running character, answering `boxes` boxes.
  int Run(const std::string& code, size_t boxes = 0) {
    world.events.ExpectBoxes(std::vector<int>(boxes, plat::BOX_OK));
    return RunCode(code, *me);
  }
  std::vector<std::string> Boxes() const { return world.events.Texts(EventKind::Box); }
  // Each case from fresh common variables.
  void RunVarCases(const std::vector<VarCase>& cases) {
    for (const VarCase& k : cases) {
      PlayData.Reset();
      world.events.Clear();
      for (auto [n, v] : k.before) PlayData.m_vCommonVar[static_cast<size_t>(n)] = v;
      EXPECT_EQ(Run(k.code, k.boxes.size()), k.result) << k.code;
      for (auto [n, v] : k.after) EXPECT_EQ(PlayData.m_vCommonVar[static_cast<size_t>(n)], v) << k.code << " C" << n;
      EXPECT_EQ(Boxes(), k.boxes) << k.code;
    }
  }

  GameWorld world;
  cHero* hero = nullptr;
  cChara* me = nullptr;
};



}  // namespace

TEST_F(Code, PrecedenceAssociationAndLiterals) {
  RunVarCases({
                  {"C3 = 2 + 3 * 4", {}, 1, {{3, 14}}, {}},
                  {"C3 = 10 - 4 - 3", {}, 1, {{3, 3}}, {}},
                  {"C3 = 2 * 9 / 4 % 3", {}, 1, {{3, 1}}, {}},
                  {"C3 = 7 / 2", {}, 1, {{3, 3}}, {}},
                  {"C3 = -7 / 2", {}, 1, {{3, -3}}, {}},
                  {"C3 = -7 % 3", {}, 1, {{3, -1}}, {}},
                  {"C3 = 2000000", {}, 1, {{3, 999999}}, {}},
                  {"  C3   =  +8  ", {}, 1, {{3, 8}}, {}},
                  {"C0 = 12abc", {}, 1, {{0, 12}}, {}},
                  {"C0 = abc(4)", {{0, 9}}, 1, {{0, 0}}, {}},
                  {"C0 = Rand(1,2)", {{0, 9}}, 1, {{0, 0}}, {}},
                  // 1 before the "." is an object prefix after a token: dropped.
                  {"C0 = 1.5", {}, 1, {{0, 5}}, {}},
                  {"C1 = 1 xx.C2 = 2", {}, 1, {{1, 1}, {2, 2}}, {}},
                  // Operands are read when the text is split into tokens.
                  {"C0 = 5 C1 = C0", {{0, 3}}, 1, {{0, 5}, {1, 3}}, {}},
                  {"C0 = (1 + 2) * 3", {}, 1, {{0, 9}}, {}},
                  {"C0 = ((1 + 2) * (3 - 5)) - 1", {}, 1, {{0, -7}}, {}},
                  {"C0 = (C1 = 4) * 2", {}, 1, {{0, 8}, {1, 4}}, {}},
                  // Sums and products saturate, as literals do.
                  {"C0 = 3000000000 - 2147483000", {}, 1, {{0, 647}}, {}},
                  {"C0 = 2000000000 + 2000000000 - 2147483000", {}, 1, {{0, 647}}, {}},
                  {"C0 = 100000 * 100000 / 10000000", {}, 1, {{0, 214}}, {}},
                  {"C0 = -100000 * 100000 / 10000000", {}, 1, {{0, -214}}, {}},
                  {"C0 = -2147483648 / -1 - 2147483000", {}, 1, {{0, 647}}, {}},
                  {"C0 = -2147483648 % -1", {{0, 9}}, 1, {{0, 0}}, {}},
                  {"", {}, 1, {}, {}},
              });
}

TEST_F(Code, VariablesByFirstLetter) {
  world.Scene().m_vStageVars[7] = 11;
  EXPECT_EQ(Run("Cx = 4 S3 = S7 + 1 Score = 6 C12abc = 2"), 1);
  EXPECT_EQ(PlayData.m_vCommonVar[0], 4);
  EXPECT_EQ(world.Scene().m_vStageVars[3], 12);
  EXPECT_EQ(world.Scene().m_vStageVars[0], 6);
  EXPECT_EQ(PlayData.m_vCommonVar[12], 2);
  EXPECT_EQ(Run("C255 = 1 S254 = 2"), 1);
  EXPECT_EQ(PlayData.m_vCommonVar[255], 1);
  EXPECT_EQ(world.Scene().m_vStageVars[254], 2);
}

TEST_F(Code, ValueOfATextIsItsLastOperationOrToken) {
  struct Case {
    const char* code;
    int value;
  };
  const Case cases[] = {{"2 + 3", 5}, {"7", 7}, {"C1 = 4", 4}, {"3 4", 4}, {"", 0}, {"(2) + (3)", 5}};
  for (const Case& k : cases) EXPECT_EQ(EvalCodeText(k.code, *me), k.value) << k.code;
}

TEST_F(Code, AssignmentChainsFromTheLeft) {
  PlayData.m_vCommonVar[2] = 7;
  // C1 = C2 runs first; the second "=" then has a literal on its left.
  EXPECT_EQ(Run("C1 = C2 = 5", 1), 0);
  EXPECT_EQ(PlayData.m_vCommonVar[1], 7);
  EXPECT_EQ(PlayData.m_vCommonVar[2], 7);
  EXPECT_EQ(Boxes(), std::vector<std::string>{kVariableError});
}

TEST_F(Code, Prefixes) {
  // my is the running character, pl the hero, tg its target (the hero here).
  EXPECT_EQ(Run("hp = 20 pl.sp = 4 tg.v2 = 6 my.v1 = tg.v2"), 1);
  EXPECT_EQ(me->m_nHp, 20);
  EXPECT_EQ(hero->m_nSp, 4);
  EXPECT_EQ(hero->m_vVars[2], 6);
  EXPECT_EQ(me->m_vVars[1], 0);  // tg.v2 was read before it changed
  // A variable or system value does not mind its object.
  EXPECT_EQ(Run("pl.C1 = 5 sys.C2 = 6 sys.time = 40"), 1);
  EXPECT_EQ(PlayData.m_vCommonVar[1], 5);
  EXPECT_EQ(PlayData.m_vCommonVar[2], 6);
  EXPECT_EQ(world.Scene().m_nTimeLeft, 40);
  // A prefix with a blank after it still names the next word's object.
  EXPECT_EQ(Run("tg. hp = 3"), 1);
  EXPECT_EQ(hero->m_nHp, 3);
  EXPECT_TRUE(Boxes().empty());

  // Without a target nothing is stored and nothing is shown.
  me->m_nTargetId = OBJECT_NONE;
  EXPECT_EQ(Run("tg.hp = 0"), 0);
  EXPECT_EQ(Run("C3 = 1 tg.C4 = 2"), 0);
  EXPECT_EQ(PlayData.m_vCommonVar[3], 0);
  EXPECT_EQ(hero->m_nHp, 3);
  EXPECT_TRUE(Boxes().empty());

  // An unknown prefix with no token before it, or right after a prefix.
  EXPECT_EQ(Run("xx.hp = 1", 1), 0);
  EXPECT_EQ(Run("C3 = 1 my.xx.C4 = 2", 1), 0);
  EXPECT_EQ(PlayData.m_vCommonVar[3], 0);
  EXPECT_EQ(Boxes(), (std::vector<std::string>{UnknownObject("xx"), UnknownObject("xx")}));
}

TEST_F(Code, RandDrawsWithTheSeededGenerator) {
  crt::srand(1);
  // Seed 1: the draws are 41, 18467, 6334, ...
  EXPECT_EQ(Run("C0 = rand(3,1) C1 = rand(10,19) C2 = rand(1,,2) C3 = rand(5,5)"), 1);
  EXPECT_EQ(PlayData.m_vCommonVar[0], 1 + 41 % 3);
  EXPECT_EQ(PlayData.m_vCommonVar[1], 10 + 18467 % 10);
  EXPECT_EQ(PlayData.m_vCommonVar[2], 1 + 6334 % 2);
  EXPECT_EQ(PlayData.m_vCommonVar[3], 5);
  // Arguments are evaluated first, inner calls before outer ones.
  crt::srand(1);
  EXPECT_EQ(Run("C4 = rand(rand(1,4),(2 * 10))"), 1);
  EXPECT_EQ(PlayData.m_vCommonVar[4], (1 + 41 % 4) + 18467 % (20 - (1 + 41 % 4) + 1));

  EXPECT_EQ(Run("C0 = rand(1)", 1), 0);
  EXPECT_EQ(Run("C0 = rand(1,2,3)", 1), 0);
  EXPECT_EQ(Run("C0 = rand()", 1), 0);
  EXPECT_EQ(Boxes(), (std::vector<std::string>(3, BadArguments("rand"))));
}

TEST_F(Code, ParenthesesAndDivisionErrors) {
  RunVarCases({
                  {"C0 = (1 + 2", {{0, 9}}, 0, {{0, 9}}, {kNoCloseParen}},
                  {"C0 = abc(1", {{0, 9}}, 0, {{0, 9}}, {kNoCloseParen}},
                  {"C0 = 5 / 0", {{0, 9}}, 0, {{0, 9}}, {DivideByZero("C0 = 5 / 0")}},
                  {"C0 = 5 % 0", {{0, 9}}, 0, {{0, 9}}, {DivideByZero("C0 = 5 % 0")}},
                  // Inside parentheses the inner level gives 0 and the outer goes on.
                  {"C0 = (5 / 0) + 1", {{0, 9}}, 0, {{0, 1}}, {DivideByZero("5 / 0")}},
                  {"C0 = rand(1 / 0)", {{0, 9}}, 0, {{0, 9}}, {DivideByZero("1 / 0"), BadArguments("rand")}},
              });
}

TEST_F(Code, MendedErrorsShowABoxAndStore) {
  std::string deep = "C0 = ";
  for (int i = 0; i < 256; ++i) deep += "(";
  deep += "7";
  for (int i = 0; i < 256; ++i) deep += ")";
  std::string tooDeep = "C1 = (" + deep.substr(5) + ")";
  RunVarCases({
                  {"C0 = 5 +", {{0, 9}}, 0, {{0, 9}}, {kOperatorError}},
                  {"= 5", {}, 0, {}, {kOperatorError}},
                  {"C0 = * 5", {{0, 9}}, 0, {{0, 9}}, {kOperatorError}},
                  {"C0 = - 5", {{0, 9}}, 0, {{0, 9}}, {kOperatorError}},
                  {"5 = 3", {}, 0, {}, {kVariableError}},
                  {"1 + C1 = 5", {{1, 9}}, 0, {{1, 9}}, {kVariableError}},
                  {"C256 = 1", {}, 0, {}, {kVariableError}},
                  {"C-1 = 1", {}, 0, {}, {kVariableError}},
                  {"S255 = 1", {}, 0, {}, {kVariableError}},
                  {"sys.hp = 1", {}, 0, {}, {kObjectError}},
                  {deep.c_str(), {}, 1, {{0, 7}}, {}},
                  {tooDeep.c_str(), {{1, 9}}, 0, {{1, 0}}, {kOperatorError}},
              });
  EXPECT_EQ(me->m_nHp, 25);
}

TEST_F(Code, TextsEndAtTheirFirstNulAndMayBeLong) {
  EXPECT_EQ(Run(std::string("C0 = 4\0 C1 = 5", 14)), 1);
  EXPECT_EQ(PlayData.m_vCommonVar[0], 4);
  EXPECT_EQ(PlayData.m_vCommonVar[1], 0);
  // Past 5119 bytes the text is still read whole.
  std::string text(6000, ' ');
  text += "C2 = 3";
  EXPECT_EQ(Run(text), 1);
  EXPECT_EQ(PlayData.m_vCommonVar[2], 3);
}

TEST_F(Code, LongTextsOfManyPartsKeepEveryValue) {
  // Thousands of parenthesised parts, calls and operators in one text: each
  // level is read once, and the value is that of the short texts added up.
  std::string text = "C0 = 0";
  for (int i = 0; i < 3000; ++i) text += " + (" + std::to_string(i % 7) + " * (2 - 1)) + rand(1,1) - 1";
  text += " C1 = C0 / 3";
  EXPECT_EQ(Run(text), 1);
  int sum = 0;
  for (int i = 0; i < 3000; ++i) sum += i % 7;
  EXPECT_EQ(PlayData.m_vCommonVar[0], sum);
  EXPECT_EQ(PlayData.m_vCommonVar[1], 0) << "C0 was read when the text was split";
  EXPECT_TRUE(Boxes().empty());
}

TEST_F(Code, StatusStoresClampAtTheirWidth) {
  struct Case {
    const char* code;
    int32_t (*read)(const cCharaBase& c);
    int32_t expected;
  };
  const Case cases[] = {
      {"hp = 100", [](const cCharaBase& c) { return c.m_nHp; }, 25},
      {"sp = -3", [](const cCharaBase& c) { return c.m_nSp; }, 0},
      {"cid = 150", [](const cCharaBase& c) -> int32_t { return c.m_Def.m_nCharaId; }, 99},
      {"z = -1", [](const cCharaBase& c) -> int32_t { return c.m_Def.m_nZ; }, 0},
      {"mark = 500", [](const cCharaBase& c) -> int32_t { return c.m_Def.m_nIcon; }, 119},
      {"imp = -300", [](const cCharaBase& c) -> int32_t { return c.m_Def.m_nImpact; }, -20},
      {"impd = 70000", [](const cCharaBase& c) -> int32_t { return c.m_Def.m_nImpactResist; }, 20},
      {"stop = 70000", [](const cCharaBase& c) -> int32_t { return c.m_Def.m_nStop; }, 200},
      {"power = -5000000", [](const cCharaBase& c) { return c.m_Def.m_nPower; }, -999999},
      {"def = -5", [](const cCharaBase& c) { return c.m_Def.m_nDefence; }, 0},
      {"getsc = 1234", [](const cCharaBase& c) { return c.m_Def.m_nScore; }, 1234},
      {"v8 = -2000000", [](const cCharaBase& c) { return c.m_vVars[8]; }, -999999},
  };
  for (const Case& k : cases) {
    EXPECT_EQ(Run(k.code), 1) << k.code;
    EXPECT_EQ(k.read(*me), k.expected) << k.code;
  }
}

TEST_F(Code, HitPointStoresAndTheirGauges) {
  EXPECT_EQ(Run("my.hp = 5"), 1);
  EXPECT_EQ(me->m_nHp, 5);
  EXPECT_EQ(me->m_HpGauge.nTimer, 120);
  EXPECT_EQ(me->m_HpGauge.dDiff, -20 * 50.0 / 25);
  EXPECT_EQ(me->m_SpGauge.nTimer, 0);
  // The running character's own HP at 0 is no defeat for the stage to check.
  EXPECT_EQ(Run("my.hp = 0"), 1);
  EXPECT_EQ(world.Scene().m_bDefeatCheck, 0);
  // Another character's is.
  EXPECT_EQ(Run("tg.hp = 0"), 1);
  EXPECT_EQ(hero->m_nHp, 0);
  EXPECT_EQ(world.Scene().m_bDefeatCheck, 1);
  // A maximum keeps the points under it, and HP at least at 1.
  me->m_nHp = 25;
  EXPECT_EQ(Run("my.mhp = 10"), 1);
  EXPECT_EQ(me->m_Def.m_nMaxHp, 10);
  EXPECT_EQ(me->m_nHp, 10);
  EXPECT_EQ(Run("my.mhp = 0 my.msp = 4"), 1);
  EXPECT_EQ(me->m_Def.m_nMaxHp, 1);
  EXPECT_EQ(me->m_nHp, 1);
  EXPECT_EQ(me->m_nSp, 4);
  // HP stays under a maximum lowered earlier in the same text.
  me->m_Def.m_nMaxHp = 25;
  EXPECT_EQ(Run("mhp = 5 hp = 20"), 1);
  EXPECT_EQ(me->m_nHp, 5);
  // An error shows no gauge.
  me->m_HpGauge = GAUGESTATE();
  EXPECT_EQ(Run("hp = 2 C0 = (1 / 0)", 1), 0);
  EXPECT_EQ(me->m_nHp, 2);
  EXPECT_EQ(me->m_HpGauge.nTimer, 0);
}

TEST_F(Code, SightOfAPlayerRemakesTheWorkSurfaces) {
  EXPECT_EQ(Run("my.sight = 5"), 1);
  EXPECT_EQ(me->m_Def.m_nSight, 5);
  EXPECT_EQ(me->m_nSightDots, 0);
  EXPECT_EQ(Run("pl.sight = 50"), 1);
  EXPECT_EQ(hero->m_Def.m_nSight, 40);
  EXPECT_EQ(hero->m_nSightDots, 640);
  EXPECT_EQ(world.events.Texts(EventKind::Log), std::vector<std::string>{"CreateWorkSurfaces 640"});
}

TEST_F(Code, SystemValuesAndTheirAfterEffects) {
  Stage.m_bAutoScrollX = 1;
  world.Scene().m_nTimeLeft = 100;
  PlayData.m_nLives = 3;
  EXPECT_EQ(Run("time = 5000 scrlx = 600 scrly = -30 score = -5 life = 150"), 1);
  EXPECT_EQ(world.Scene().m_nTimeLeft, 999);
  EXPECT_EQ(Stage.m_nAutoScrollSpeedX, 480);
  EXPECT_EQ(world.Scene().m_ScrollX.m_bAutoScroll, 1);
  EXPECT_EQ(world.Scene().m_ScrollX.m_dAutoSpeed, 480 * 0.1 / Stage.m_dSteps);
  EXPECT_EQ(Stage.m_nAutoScrollSpeedY, -30);
  EXPECT_EQ(world.Scene().m_ScrollY.m_bAutoScroll, 0);  // vertical auto-scroll is off
  EXPECT_EQ(PlayData.m_nStageScore, 0);
  EXPECT_EQ(PlayData.m_nLives, 99);
  EXPECT_EQ(Run("score = 70"), 1);
  EXPECT_EQ(Run("C0 = score + time"), 1);
  EXPECT_EQ(PlayData.m_vCommonVar[0], 70 + 999);
  // Infinite lives read as 0 and stay infinite.
  PlayData.m_nLives = LIVES_INFINITE;
  EXPECT_EQ(Run("C1 = life life = 5"), 1);
  EXPECT_EQ(PlayData.m_vCommonVar[1], 0);
  EXPECT_EQ(PlayData.m_nLives, LIVES_INFINITE);
}
