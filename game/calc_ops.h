#pragma once
// The arithmetic of conditions and status operations: comparisons by CMPOP,
// percentages, the CALCOP operators with their clamps. Called by the
// condition checks, the status operation and the code language, on the game
// thread. Results are always inside int32: sums, products and quotients are
// formed in 64 bits and only then clamped, so no width ever wraps.
#include <cstdint>

// a op b by CMPOP (a the tested value, b what it is compared with); 0 for
// an operator outside the table. The multiple tests take |a| and hold for
// b = 0 (CMPOP_MULTIPLE) / never hold for b = 0 (CMPOP_NOT_MULTIPLE).
int CompareByOp(int a, int b, int op);
// The same after reducing both values to signed 8 or 16 bits.
int CompareBytes(int a, int b, int op);
int CompareShorts(int a, int b, int op);

// a × b × 0.01 rounded half away from zero; the product is exact, the
// result saturates to int32.
int PercentRound(int a, int b);
// The same with a reduced to signed 8 or 16 bits first.
int PercentOfByte(int a, int b);
int PercentOfShort(int a, int b);

// x = x op v by CALCOP, then clamped to lo..hi. Division and remainder by 0
// leave x as it is; an operator outside the table only clamps. The narrow
// forms compute with the whole of v and store the clamped result.
void ApplyCalcInt(int& x, int v, int op, int lo, int hi);
void ApplyCalcByte(int8_t& x, int v, int op, int lo, int hi);
void ApplyCalcShort(int16_t& x, int v, int op, int lo, int hi);

void ClampInt(int& v, int lo, int hi);
void ClampByte(int8_t& v, int lo, int hi);
