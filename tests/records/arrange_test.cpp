// Arrange operations: the table of arrangeable parameters and ApplyArrange
// with its operators, operands, bounds and the cases that change nothing.
#include <gtest/gtest.h>

#include <climits>

#include "platform/close_request.h"
#include "records/arrange.h"
#include "records/command_types.h"
#include "records/command_vocab.h"
#include "support/test_support.h"

using testsupport::Sjis;

namespace {

class Arrange : public ::testing::Test {
 protected:
  void SetUp() override {
    BuildArrangeParamTable();
    plat::ResetCloseRequests();
  }
  // No operation, however wrong, asks the program to close.
  void TearDown() override { EXPECT_EQ(plat::CloseRequestCount(), 0u); }
};

cEdCommand Shot() {
  cEdCommand c;
  c.m_nType = ACTCMDTYPE_SHOT;
  CreateEdShot(c.m_spShot);
  c.m_spShot->m_nSpeed = 10;
  return c;
}

cEdCommand WithShot(int type, int form, int path) {
  cEdCommand c;
  c.m_nType = static_cast<int8_t>(type);
  CreateEdShot(c.m_spShot);
  c.m_spShot->m_nForm = static_cast<int8_t>(form);
  c.m_spShot->m_nPath = static_cast<int8_t>(path);
  return c;
}

cEdCommand WithParams(int item, int type, int count) {
  cEdCommand c;
  c.m_bItemCommand = static_cast<uint8_t>(item);
  c.m_nType = static_cast<int8_t>(type);
  c.m_vParams.assign(count, 5);
  return c;
}

cEdCommand Move(int type) {
  cEdCommand c;
  c.m_nType = static_cast<int8_t>(type);
  CreateEdMove(c.m_spMove);
  return c;
}

int64_t Speed(const cEdCommand& c) { return c.m_spShot->m_nSpeed; }
int64_t Power(const cEdCommand& c) { return c.m_spShot->m_nPower; }
int64_t Z(const cEdCommand& c) { return c.m_spShot->m_nZ; }
int64_t Form2(const cEdCommand& c) { return c.m_spShot->m_nFormParam[1]; }
int64_t Form1(const cEdCommand& c) { return c.m_spShot->m_nFormParam[0]; }
int64_t Form3(const cEdCommand& c) { return c.m_spShot->m_nFormParam[2]; }
int64_t Path3(const cEdCommand& c) { return c.m_spShot->m_nPathParam[2]; }
int64_t Range(const cEdCommand& c) { return c.m_spShot->m_nRange; }
int64_t Angle(const cEdCommand& c) { return c.m_spMove->m_nAngle; }
int64_t HasMove(const cEdCommand& c) { return c.m_spMove ? 1 : 0; }
template <int N>
int64_t P(const cEdCommand& c) {
  return c.m_vParams[N];
}

struct ArrangeCase {
  const char* what;
  cEdCommand (*make)();
  ARRANGEOP op;
  int32_t operand;  // the value of every variable the operation may read (index 0 of the
                    // common and stage variables holds 99, which an operation never takes)
  int64_t (*read)(const cEdCommand&);
  int64_t want;
};

constexpr int COMMON = VARKIND_COMMON, STAGE = VARKIND_STAGE, CHARA = VARKIND_CHARA;

const ArrangeCase kCases[] = {
    // Operators on the shot speed (-200..200), current 10.
    {"add, clamped to the row", Shot, {11, 18, CALCOP_ADD, COMMON, 5}, 300, Speed, 200},
    {"add", Shot, {11, 18, CALCOP_ADD, COMMON, 5}, -3, Speed, 7},
    {"set", Shot, {11, 18, CALCOP_SET, STAGE, 2}, -150, Speed, -150},
    {"subtract, clamped", Shot, {11, 18, CALCOP_SUB, COMMON, 1}, 500, Speed, -200},
    {"divide", Shot, {11, 18, CALCOP_DIV, COMMON, 1}, 3, Speed, 3},
    {"divide by 0 keeps the value", Shot, {11, 18, CALCOP_DIV, COMMON, 5}, 0, Speed, 10},
    {"remainder", Shot, {11, 18, CALCOP_MOD, COMMON, 5}, 3, Speed, 1},
    {"remainder by 0 keeps the value", Shot, {11, 18, CALCOP_MOD, COMMON, 5}, 0, Speed, 10},
    {"unknown operator keeps the value", Shot, {11, 18, 7, COMMON, 5}, 3, Speed, 10},
    {"percent rounds 3.5 up", [] { auto c = Shot(); c.m_spShot->m_nSpeed = 7; return c; },
     {11, 18, CALCOP_PERCENT, COMMON, 1}, 50, Speed, 4},
    {"percent rounds -3.5 down", [] { auto c = Shot(); c.m_spShot->m_nSpeed = 7; return c; },
     {11, 18, CALCOP_PERCENT, COMMON, 1}, -50, Speed, -4},
    {"percent of a product past 32 bits", [] { auto c = Shot(); c.m_spShot->m_nSpeed = 200; return c; },
     {11, 18, CALCOP_PERCENT, COMMON, 1}, INT32_MAX, Speed, 200},
    // Multiplying the power (-999999..999999): the product is taken whole.
    {"product past 32 bits clamps to the maximum", [] { auto c = Shot(); c.m_spShot->m_nPower = 100000; return c; },
     {11, 27, CALCOP_MUL, COMMON, 1}, 30000, Power, 999999},
    {"negative product past 32 bits clamps to the minimum",
     [] { auto c = Shot(); c.m_spShot->m_nPower = 100000; return c; }, {11, 27, CALCOP_MUL, COMMON, 1}, -30000,
     Power, -999999},
    {"a product that wraps to 0 in 32 bits still clamps",
     [] { auto c = Shot(); c.m_spShot->m_nPower = 65536; return c; }, {11, 27, CALCOP_MUL, COMMON, 1}, 65536,
     Power, 999999},
    {"small product", [] { auto c = Shot(); c.m_spShot->m_nPower = -12; return c; },
     {11, 27, CALCOP_MUL, CHARA, 0}, 3, Power, -36},
    {"INT_MIN / -1", [] { auto c = Shot(); c.m_spShot->m_nPower = INT32_MIN; return c; },
     {11, 27, CALCOP_DIV, COMMON, 1}, -1, Power, 999999},
    {"INT_MIN % -1", [] { auto c = Shot(); c.m_spShot->m_nPower = INT32_MIN; return c; },
     {11, 27, CALCOP_MOD, COMMON, 1}, -1, Power, 0},
    {"INT_MIN - INT_MAX", [] { auto c = Shot(); c.m_spShot->m_nPower = INT32_MIN; return c; },
     {11, 27, CALCOP_SUB, COMMON, 1}, INT32_MAX, Power, -999999},
    {"a byte field is kept in its row", Shot, {11, 1, CALCOP_SET, COMMON, 1}, 9, Z, 7},
    // Operands.
    {"common variable 0 is never used", Shot, {11, 18, CALCOP_SET, COMMON, 0}, 50, Speed, 10},
    {"stage variable 0 is never used", Shot, {11, 18, CALCOP_SET, STAGE, 0}, 50, Speed, 10},
    {"character variable 0 is used", Shot, {11, 18, CALCOP_SET, CHARA, 0}, 50, Speed, 50},
    {"common variable past the list", Shot, {11, 18, CALCOP_SET, COMMON, 6}, 50, Speed, 10},
    {"character variable past the list", Shot, {11, 18, CALCOP_SET, CHARA, 2}, 50, Speed, 10},
    {"negative variable index", Shot, {11, 18, CALCOP_SET, CHARA, -1}, 50, Speed, 10},
    {"unknown operand kind", Shot, {11, 18, CALCOP_SET, 3, 1}, 50, Speed, 10},
    // Which command and which parameter.
    {"another type", Shot, {12, 0, CALCOP_SET, COMMON, 1}, 50, Speed, 10},
    {"parameter past the row", Shot, {11, 29, CALCOP_SET, COMMON, 1}, 50, Speed, 10},
    {"negative parameter", Shot, {11, -1, CALCOP_SET, COMMON, 1}, 50, Speed, 10},
    {"empty row of a move with operations", [] { return Move(ACTCMDTYPE_MOVE_CIRCLE); },
     {ACTCMDTYPE_MOVE_CIRCLE, 0, CALCOP_SET, COMMON, 1}, 50, HasMove, 1},
    {"a move's angle", [] { return Move(ACTCMDTYPE_MOVE_CHARGE); }, {5, 4, CALCOP_SET, COMMON, 1}, -9000, Angle, -7200},
    {"a move command without its move", [] { return WithParams(0, ACTCMDTYPE_MOVE_STRAIGHT, 0); },
     {2, 4, CALCOP_SET, COMMON, 1}, 9, HasMove, 0},
    {"a message ID", [] { return WithParams(0, ACTCMDTYPE_MESSAGE, 18); }, {19, 0, CALCOP_SET, COMMON, 1}, 1500, P<13>,
     999},
    {"an item message by its action type", [] { return WithParams(1, ITEMCMDTYPE_MESSAGE, 18); },
     {19, 2, CALCOP_ADD, COMMON, 1}, 20, P<2>, 15},
    {"an item screen effect (action 31) is not a shot", [] { return WithParams(1, ITEMCMDTYPE_SCREEN_EFFECT, 3); },
     {11, 0, CALCOP_SET, COMMON, 1}, 50, P<0>, 5},
    {"the picture ID changes nothing", [] { return WithParams(0, ACTCMDTYPE_SHOW_PICTURE, 15); },
     {32, 0, CALCOP_SET, COMMON, 1}, 50, P<0>, 5},
    {"the picture zoom", [] { return WithParams(0, ACTCMDTYPE_SHOW_PICTURE, 15); }, {32, 5, CALCOP_SET, COMMON, 1}, 0,
     P<7>, 1},
    {"a parameter the command lacks", [] { return WithParams(0, ACTCMDTYPE_SCREEN_COLOR, 2); },
     {33, 3, CALCOP_SET, COMMON, 1}, 50, P<1>, 5},
    {"screen colour strength", [] { return WithParams(0, ACTCMDTYPE_SCREEN_COLOR, 8); },
     {33, 3, CALCOP_ADD, COMMON, 1}, 200, P<3>, 100},
    // Formation and trajectory parameters take their bounds from the tables.
    {"lightning columns 1..50", [] { return WithShot(ACTCMDTYPE_SHOT, SHOTFORM_LIGHTNING, 0); },
     {11, 3, CALCOP_SET, COMMON, 1}, 100, Form2, 50},
    {"lightning columns at least 1", [] { return WithShot(ACTCMDTYPE_SHOT, SHOTFORM_LIGHTNING, 0); },
     {11, 3, CALCOP_SET, COMMON, 1}, 0, Form2, 1},
    {"an unused formation parameter stays 0", [] { return WithShot(ACTCMDTYPE_SHOT, SHOTFORM_SPREAD, 0); },
     {11, 3, CALCOP_SET, COMMON, 1}, 9, Form2, 0},
    {"a formation outside the table", [] { return WithShot(ACTCMDTYPE_SHOT, 6, 0); }, {11, 3, CALCOP_SET, COMMON, 1},
     9, Form2, 0},
    {"a negative formation", [] { return WithShot(ACTCMDTYPE_SHOT, -1, 0); }, {11, 2, CALCOP_SET, COMMON, 1}, 9,
     Form1, 0},
    {"wave start angle 0..359", [] { return WithShot(ACTCMDTYPE_SHOT, 0, SHOTPATH_WAVE); },
     {11, 17, CALCOP_SET, COMMON, 1}, 400, Path3, 359},
    {"a trajectory outside the table", [] { return WithShot(ACTCMDTYPE_SHOT, 0, 10); }, {11, 17, CALCOP_SET, COMMON, 1},
     9, Path3, 0},
    {"block summon: surround distance 0..40", [] { return WithShot(ACTCMDTYPE_SUMMON_BLOCK, SHOTFORM_SURROUND, 0); },
     {13, 0, CALCOP_SET, COMMON, 1}, 99, Form1, 40},
    {"character summon: formation parameter 3", [] { return WithShot(ACTCMDTYPE_SUMMON_CHARA, SHOTFORM_LIGHTNING, 0); },
     {14, 4, CALCOP_SET, COMMON, 1}, 99, Form3, 40},
    {"character summon: life in the range field", [] { return WithShot(ACTCMDTYPE_SUMMON_CHARA, 0, 0); },
     {14, 0, CALCOP_SET, COMMON, 1}, 20000, Range, 9999},
    {"item summon: formation parameter 1", [] { return WithShot(ACTCMDTYPE_SUMMON_ITEM, SHOTFORM_STRAIGHT_A, 0); },
     {15, 1, CALCOP_SET, COMMON, 1}, 41, Form1, 40},
    // Item type 0 stands for action type 15, which lives in a shot record it lacks.
    {"an item command of type 0", [] { return WithParams(1, 0, 0); }, {15, 0, CALCOP_SET, COMMON, 1}, 9, HasMove, 0},
};

}  // namespace

TEST_F(Arrange, OperationsOnOneParameter) {
  for (const ArrangeCase& c : kCases) {
    cEdCommand command = c.make();
    const int32_t v = c.operand;
    const cVector<int32_t> common = {99, v, v, v, v, v};
    const cVector<int32_t> stage = {99, v, v};
    const cVector<int32_t> chara = {v, v};
    ARRANGEVARS vars;
    vars.pCommon = &common;
    vars.pStage = &stage;
    vars.pChara = &chara;
    ApplyArrange(command, c.op, vars);
    EXPECT_EQ(c.read(command), c.want) << c.what;
  }
}

TEST_F(Arrange, MissingVariableListsChangeNothing) {
  cEdCommand command = Shot();
  ApplyArrange(command, {11, 18, CALCOP_SET, COMMON, 1}, ARRANGEVARS());
  ApplyArrange(command, {11, 18, CALCOP_SET, CHARA, 0}, ARRANGEVARS());
  EXPECT_EQ(command.m_spShot->m_nSpeed, 10);
}

TEST_F(Arrange, PendingListsApplyFirstToLast) {
  const cVector<int32_t> common = {0, 5, 2};
  ARRANGEVARS vars;
  vars.pCommon = &common;
  const cVector<ARRANGEOP> pending = {{11, 18, CALCOP_ADD, COMMON, 1}, {11, 18, CALCOP_MUL, COMMON, 2},
                                      {12, 0, CALCOP_SET, COMMON, 1}};
  cEdCommand flowShot = Shot();
  ApplyFlowArranges(flowShot, vars, &pending);
  EXPECT_EQ(flowShot.m_spShot->m_nSpeed, 30);
  cEdCommand outsideFlow = Shot();
  ApplyFlowArranges(outsideFlow, vars, nullptr);
  EXPECT_EQ(outsideFlow.m_spShot->m_nSpeed, 10);
  cEdCommand heroShot = Shot();
  ApplyCharaArranges(heroShot, vars, pending);
  EXPECT_EQ(heroShot.m_spShot->m_nSpeed, 30);
  EXPECT_EQ(pending.size(), 3u);
}

TEST_F(Arrange, TableRowsAndTheirBounds) {
  ASSERT_EQ(ArrangeParamTable.Size(), ACTCMDTYPE_COUNT);
  std::vector<int> sizes;
  for (const cVector<ARRANGEPARAM>& row : ArrangeParamTable) sizes.push_back(row.Size());
  const std::vector<int> want = {0, 0, 6, 0, 0, 6, 6, 0, 0, 0, 0, 29, 4, 6, 8, 7, 0, 5, 0, 5,
                                 6, 2, 2, 0, 1, 0, 2, 0, 0, 5, 0, 0, 6, 4, 1, 0, 0, 0, 0, 0};
  EXPECT_EQ(sizes, want);
  struct Entry {
    int type, n;
    const char* label;
    int32_t min, max;
  } entries[] = {
      {2, 5, "分身値による増加角度", -7200, 7200},
      {6, 0, "誘導性能の悪さ", 0, 10},
      {11, 0, "グラフィック", 1, 120},
      {11, 17, "移動タイプ固有3", 0, INT32_MAX},
      {11, 25, "分身値よる増加存在時間", -99, 99},
      {11, 27, "威力", -999999, 999999},
      {14, 0, "存在時間(1/10s)", 1, 9999},
      {17, 3, "クリア後のワールドマップの位置X", 0, 999},
      {20, 4, "目標Xのズレ(dot)", -640, 640},
      {26, 0, "グラフィック", 1, 119},
      {32, 5, "表示倍率(%)", 1, 1000},
      {34, 0, "背景番号", 1, 8},
  };
  for (const Entry& e : entries) {
    const ARRANGEPARAM& p = ArrangeParamTable[e.type][e.n];
    EXPECT_EQ(p.strName, Sjis(e.label)) << e.type << "/" << e.n;
    EXPECT_EQ(std::make_pair(p.nMin, p.nMax), std::make_pair(e.min, e.max)) << e.type << "/" << e.n;
  }
  for (int t : {ACTCMDTYPE_MOVE_GROUND_TURN, ACTCMDTYPE_MOVE_CIRCLE, ACTCMDTYPE_MOVE_AVOID_OFFSCREEN, ACTCMDTYPE_SHOT})
    EXPECT_TRUE(HasArrangeOps(t)) << t;
  for (int t : {int{ACTCMDTYPE_NONE}, int{ACTCMDTYPE_FLOW_OPERATION}, int{ACTCMDTYPE_ARRANGE}, int{ACTCMDTYPE_LOOP}, -1, 40})
    EXPECT_FALSE(HasArrangeOps(t)) << t;
}
