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
  State = State * 134775813u + 1u;
  if (n <= 0) return 0;
  return static_cast<int32_t>((static_cast<uint64_t>(State) * static_cast<uint32_t>(n)) >> 32);
}
