#pragma once
// Integers as text for scores, counters and file numbers, and the random
// integer in a range that expressions, effects and shots use.
#include <string>

// Number of decimal digits of |value|: 1 for 0, 10 at most.
int CountDigits(int value);

// Decimal text of |value| with at least `width` digits. zeroPad keeps the
// leading zeros, otherwise all but the last digit become blanks; a negative
// value gets "-" in front, and with plusSign a value >= 0 gets "+".
// Widths above 4096 are taken as 4096.
void IntToText(std::string& out, int value, int width, bool zeroPad, bool plusSign);

// a..b inclusive (the bounds are swapped when b < a): a + rand() % (b - a + 1),
// computed in 64 bits so that any int range works.
int RandomRange(int a, int b);
