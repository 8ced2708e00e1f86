// The one process-wide pseudo-random generator: a 32-bit linear congruential
// generator, so a seed gives the same sequence everywhere.
#pragma once
#include <cstdint>

void RandSeed(uint32_t seed);
uint32_t RandState();
// Re-seeds from the time of day in milliseconds (UTC), unless that is the value it last
// seeded with (a second call within the same millisecond): then the current sequence
// goes on, so repeated calls never draw the same numbers again.
void Randomize();
// A uniform integer in 0..n-1 (0 when n <= 0).
int32_t Random(int32_t n);

// The generator's step and draw, inline for loops that draw many numbers in a row: a copy
// of RandState() advanced by RandStep before each RandDraw gives exactly the numbers of
// Random; RandSeed then hands the state back.
inline constexpr uint32_t RandMultiplier = 134775813u;
inline constexpr uint32_t RandIncrement = 1u;
inline uint32_t RandStep(uint32_t state) { return state * RandMultiplier + RandIncrement; }
// 0..n-1 from an advanced state, for n > 0.
inline int32_t RandDraw(uint32_t state, int32_t n) {
  return static_cast<int32_t>((static_cast<uint64_t>(state) * static_cast<uint32_t>(n)) >> 32);
}
