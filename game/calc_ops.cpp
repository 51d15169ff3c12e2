#include "game/calc_ops.h"

#include <cmath>

#include "base/checked_convert.h"
#include "records/command_vocab.h"

namespace {

int64_t Abs64(int a) { return a < 0 ? -static_cast<int64_t>(a) : a; }

using CompareFn = bool (*)(int a, int b);

// clang-format off
const CompareFn CompareTable[CMPOP_COUNT] = {
  [](int a, int b) { return a == b; },
  [](int a, int b) { return a != b; },
  [](int a, int b) { return a >= b; },
  [](int a, int b) { return a <= b; },
  [](int a, int b) { return a > b; },
  [](int a, int b) { return a < b; },
  [](int a, int b) { return b == 0 || Abs64(a) % b == 0; },
  [](int a, int b) { return b != 0 && Abs64(a) % b != 0; },
};
// clang-format on

// x op v in 64 bits; false when the operator leaves x as it is (÷ 0).
bool Calc(int64_t& r, int64_t x, int v, int op) {
  switch (op) {
    case CALCOP_SET:
      r = v;
      return true;
    case CALCOP_ADD:
      r = x + v;
      return true;
    case CALCOP_SUB:
      r = x - v;
      return true;
    case CALCOP_MUL:
      r = x * v;
      return true;
    case CALCOP_DIV:
      if (v == 0) return false;
      r = x / v;
      return true;
    case CALCOP_MOD:
      if (v == 0) return false;
      r = x % v;
      return true;
    case CALCOP_PERCENT:
      r = PercentRound(static_cast<int>(x), v);
      return true;
    default:
      r = x;
      return true;
  }
}

int64_t Clamp64(int64_t v, int lo, int hi) {
  if (v < lo) v = lo;
  if (v > hi) v = hi;
  return v;
}

}  // namespace

int CompareByOp(int a, int b, int op) {
  if (op < 0 || op >= CMPOP_COUNT) return 0;
  return CompareTable[op](a, b) ? 1 : 0;
}

int CompareBytes(int a, int b, int op) { return CompareByOp(static_cast<int8_t>(a), static_cast<int8_t>(b), op); }

int CompareShorts(int a, int b, int op) {
  return CompareByOp(static_cast<int16_t>(a), static_cast<int16_t>(b), op);
}

int PercentRound(int a, int b) {
  const double v = static_cast<double>(static_cast<int64_t>(a) * b) * 0.01;
  return ToIntChecked(std::round(v));
}

int PercentOfByte(int a, int b) { return PercentRound(static_cast<int8_t>(a), b); }

int PercentOfShort(int a, int b) { return PercentRound(static_cast<int16_t>(a), b); }

void ApplyCalcInt(int& x, int v, int op, int lo, int hi) {
  int64_t r;
  if (Calc(r, x, v, op)) x = static_cast<int>(Clamp64(r, lo, hi));
}

void ApplyCalcByte(int8_t& x, int v, int op, int lo, int hi) {
  int64_t r;
  if (Calc(r, x, v, op)) x = static_cast<int8_t>(Clamp64(r, lo, hi));
}

void ApplyCalcShort(int16_t& x, int v, int op, int lo, int hi) {
  int64_t r;
  if (Calc(r, x, v, op)) x = static_cast<int16_t>(Clamp64(r, lo, hi));
}

void ClampInt(int& v, int lo, int hi) { v = static_cast<int>(Clamp64(v, lo, hi)); }

void ClampByte(int8_t& v, int lo, int hi) { v = static_cast<int8_t>(Clamp64(v, lo, hi)); }
