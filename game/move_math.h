#pragma once
// The constants that the move commands and the shot emitter share, written
// the way their formulas use them so that every build gives the same bits.
#include <cmath>

// Each axis's share of a diagonal speed, 1/√2, computed once.
inline const double DIAGONAL_K = 1.0 / std::sqrt(2.0);

// Degrees to radians: × 3.14159265358979 / 180, in that order.
inline double DegToRad(double degrees) { return degrees * 3.14159265358979 / 180; }

// Radians to degrees.
inline double RadToDeg(double radians) { return radians * 57.29577951308232; }
