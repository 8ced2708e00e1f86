// The one process-wide pseudo-random generator: a 32-bit linear congruential
// generator, so a seed gives the same sequence everywhere.
#pragma once
#include <cstdint>

void RandSeed(uint32_t seed);
uint32_t RandState();
// Re-seeds from the time of day in milliseconds (UTC).
void Randomize();
// A uniform integer in 0..n-1 (0 when n <= 0).
int32_t Random(int32_t n);
