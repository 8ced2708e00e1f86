// The process-wide pseudo-random generator: state' = state * 134775813 + 1 (mod 2^32),
// Random(n) the high 32 bits of state' * n.
#include "core/mekrandom.h"

#include "core/mekdatetime.h"

namespace {
uint32_t State = 0;
}

void RandSeed(uint32_t seed) { State = seed; }

uint32_t RandState() { return State; }

void Randomize() {
  const int64_t ms = CurrentInstant();
  RandSeed(static_cast<uint32_t>(((ms % 86400000) + 86400000) % 86400000));
}

int32_t Random(int32_t n) {
  State = RandStep(State);
  return n <= 0 ? 0 : RandDraw(State, n);
}
