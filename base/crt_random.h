#pragma once
// The program's own random generator, a 32-bit linear congruential one. Game
// logic uses only this one, so that a seed gives the same sequence on every
// host.
namespace crt {

constexpr int RAND_MAX_VALUE = 0x7FFF;

void srand(unsigned seed);
// 0..32767: state = state * 214013 + 2531011, result (state >> 16) & 0x7FFF.
int rand();
// The generator's state, for traces of play.
unsigned State();

}  // namespace crt
