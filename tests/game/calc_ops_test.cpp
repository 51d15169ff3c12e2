// The arithmetic of conditions and status operations: CMPOP at every width,
// percentages rounded half away from zero, CALCOP with its clamps, computed
// wide so that nothing wraps.
#include <gtest/gtest.h>

#include <climits>

#include "game/calc_ops.h"
#include "records/command_vocab.h"

TEST(CompareByOp, EveryOperatorWithNegativesAndZero) {
  struct Case {
    int a, b, op, expected;
  };
  const Case cases[] = {
      {3, 3, CMPOP_EQ, 1},          {3, -3, CMPOP_EQ, 0},         {3, 4, CMPOP_NE, 1},
      {-4, -4, CMPOP_NE, 0},        {-2, -3, CMPOP_GE, 1},        {-3, -3, CMPOP_GE, 1},
      {-4, -3, CMPOP_GE, 0},        {-3, -3, CMPOP_LE, 1},        {-2, -3, CMPOP_LE, 0},
      {1, 0, CMPOP_GT, 1},          {0, 0, CMPOP_GT, 0},          {-1, 0, CMPOP_LT, 1},
      {0, 0, CMPOP_LT, 0},          {-7, 7, CMPOP_MULTIPLE, 1},   {12, 4, CMPOP_MULTIPLE, 1},
      {12, -4, CMPOP_MULTIPLE, 1},  {13, 4, CMPOP_MULTIPLE, 0},   {5, 0, CMPOP_MULTIPLE, 1},
      {0, 5, CMPOP_MULTIPLE, 1},    {5, 0, CMPOP_NOT_MULTIPLE, 0}, {13, 4, CMPOP_NOT_MULTIPLE, 1},
      {-8, 4, CMPOP_NOT_MULTIPLE, 0}, {INT_MIN, 2, CMPOP_MULTIPLE, 1}, {INT_MIN, -1, CMPOP_NOT_MULTIPLE, 0},
      {1, 1, 8, 0},                 {1, 1, -1, 0},                {1, 1, 255, 0},
  };
  for (const Case& k : cases)
    EXPECT_EQ(CompareByOp(k.a, k.b, k.op), k.expected) << k.a << " op" << k.op << " " << k.b;
}

TEST(CompareByOp, NarrowFormsReduceBothValues) {
  struct Case {
    int a, b, op, bytes, shorts;
  };
  const Case cases[] = {
      {200, -56, CMPOP_EQ, 1, 0},      // 200 is −56 in 8 bits
      {100, 200, CMPOP_GT, 1, 0},      // 200 is −56 in 8 bits
      {40000, -25536, CMPOP_EQ, 1, 1}, // 40000 is −25536 in 16 bits (and 64 in 8)
      {256, 0, CMPOP_EQ, 1, 0},
      {65536 + 3, 3, CMPOP_EQ, 1, 1},
      {-20, 20, CMPOP_LT, 1, 1},
      {-128, 4, CMPOP_MULTIPLE, 1, 1},
  };
  for (const Case& k : cases) {
    EXPECT_EQ(CompareBytes(k.a, k.b, k.op), k.bytes) << k.a << " op" << k.op << " " << k.b;
    EXPECT_EQ(CompareShorts(k.a, k.b, k.op), k.shorts) << k.a << " op" << k.op << " " << k.b;
  }
}

TEST(PercentRound, HalvesGoAwayFromZeroAndProductsAreExact) {
  struct Case {
    int a, b, expected;
  };
  const Case cases[] = {
      {3, 50, 2},    {-3, 50, -2},   {3, -50, -2},  {1, 50, 1},     {-1, 50, -1},  {1, 49, 0},
      {-1, 49, 0},   {200, 50, 100}, {7, 0, 0},     {0, 99, 0},     {5, 10, 1},    {15, 10, 2},
      {-15, 10, -2}, {999999, 100, 999999},
      // The product leaves int32 and is still exact.
      {100000, 100000, 100000000}, {INT_MAX, 100, INT_MAX}, {INT_MAX, 200, INT_MAX}, {INT_MIN, 200, INT_MIN},
  };
  for (const Case& k : cases) EXPECT_EQ(PercentRound(k.a, k.b), k.expected) << k.a << " % " << k.b;
  // The narrow forms reduce the first value first.
  EXPECT_EQ(PercentOfByte(200, 50), -28);     // −56 × 50 %
  EXPECT_EQ(PercentOfShort(40000, 50), -12768);  // −25536 × 50 %
  EXPECT_EQ(PercentOfByte(50, 300), 150);
}

TEST(ApplyCalc, EachOperatorClampsInto32Bits) {
  struct Case {
    int x, v, op, lo, hi, expected;
  };
  const Case cases[] = {
      {5, 9, CALCOP_SET, 0, 100, 9},          {5, 900, CALCOP_SET, 0, 100, 100},
      {5, 9, CALCOP_ADD, 0, 100, 14},         {5, -9, CALCOP_ADD, 0, 100, 0},
      {5, 9, CALCOP_SUB, -100, 100, -4},      {5, 3, CALCOP_MUL, 0, 100, 15},
      {999999, 2, CALCOP_MUL, 0, 999999, 999999},
      // Products past int32 saturate at the bound of their sign.
      {INT_MAX, INT_MAX, CALCOP_MUL, INT_MIN, INT_MAX, INT_MAX},
      {INT_MAX, INT_MIN, CALCOP_MUL, INT_MIN, INT_MAX, INT_MIN},
      {65536, 65536, CALCOP_MUL, INT_MIN, INT_MAX, INT_MAX},  // 2^32: its low 32 bits are 0
      {INT_MAX, 1, CALCOP_ADD, INT_MIN, INT_MAX, INT_MAX},
      {INT_MIN, 1, CALCOP_SUB, INT_MIN, INT_MAX, INT_MIN},
      {-7, 2, CALCOP_DIV, -100, 100, -3},     {7, 0, CALCOP_DIV, 0, 5, 7},
      {INT_MIN, -1, CALCOP_DIV, INT_MIN, INT_MAX, INT_MAX},
      {-7, 3, CALCOP_MOD, -100, 100, -1},     {7, -3, CALCOP_MOD, -100, 100, 1},
      {7, 0, CALCOP_MOD, 0, 5, 7},            {INT_MIN, -1, CALCOP_MOD, INT_MIN, INT_MAX, 0},
      {3, 50, CALCOP_PERCENT, 0, 100, 2},     {-3, 50, CALCOP_PERCENT, -100, 100, -2},
      {7, 5, 7, 0, 5, 5},  // no such operator: only the clamp
  };
  for (const Case& k : cases) {
    int x = k.x;
    ApplyCalcInt(x, k.v, k.op, k.lo, k.hi);
    EXPECT_EQ(x, k.expected) << k.x << " op" << k.op << " " << k.v;
  }
}

TEST(ApplyCalc, NarrowStatusesNeverWrap) {
  struct Case {
    int x, v, op, lo, hi, expected;
  };
  const Case bytes[] = {
      {50, 100, CALCOP_ADD, 0, 99, 99},   // 150 would be −106 in 8 bits
      {50, 256, CALCOP_ADD, 0, 99, 99},   // the whole operand, not its low byte (0)
      {-20, -300, CALCOP_ADD, -20, 20, -20},
      {10, 20, CALCOP_MUL, -20, 20, 20},  {-10, 3, CALCOP_MUL, -20, 20, -20},
      {7, 0, CALCOP_DIV, 0, 20, 7},       {-128, -1, CALCOP_DIV, -128, 127, 127},
      {-128, -1, CALCOP_MOD, -128, 127, 0},
      {40, 150, CALCOP_PERCENT, 0, 40, 40},
  };
  for (const Case& k : bytes) {
    int8_t x = static_cast<int8_t>(k.x);
    ApplyCalcByte(x, k.v, k.op, k.lo, k.hi);
    EXPECT_EQ(x, k.expected) << "byte " << k.x << " op" << k.op << " " << k.v;
  }
  const Case shorts[] = {
      {100, 40000, CALCOP_ADD, 0, 200, 200},  {100, 65536, CALCOP_SUB, 0, 200, 0},
      {200, 200, CALCOP_MUL, 0, 200, 200},    {119, 0, CALCOP_MOD, 0, 119, 119},
      {-32768, -1, CALCOP_DIV, -32768, 32767, 32767},
  };
  for (const Case& k : shorts) {
    int16_t x = static_cast<int16_t>(k.x);
    ApplyCalcShort(x, k.v, k.op, k.lo, k.hi);
    EXPECT_EQ(x, k.expected) << "short " << k.x << " op" << k.op << " " << k.v;
  }
}

TEST(ApplyCalc, ClampsInPlace) {
  int v = 5;
  ClampInt(v, 6, 9);
  EXPECT_EQ(v, 6);
  ClampInt(v, -3, 2);
  EXPECT_EQ(v, 2);
  int8_t b = 100;
  ClampByte(b, -20, 20);
  EXPECT_EQ(b, 20);
  b = -100;
  ClampByte(b, 0, 99);
  EXPECT_EQ(b, 0);
}
