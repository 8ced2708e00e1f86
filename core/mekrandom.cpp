// The process-wide pseudo-random generator: state' = state * 134775813 + 1 (mod 2^32),
// Random(n) the high 32 bits of state' * n.
#include "core/mekrandom.h"

#include "core/mekdatetime.h"

namespace {
uint32_t State = 0;
// The clock's value that Randomize last seeded with, if it has.
bool ClockSeeded = false;
uint32_t ClockSeed = 0;
}  // namespace

void RandSeed(uint32_t seed) { State = seed; }

uint32_t RandState() { return State; }

void Randomize() {
  const int64_t ms = CurrentInstant();
  const uint32_t seed = static_cast<uint32_t>(((ms % 86400000) + 86400000) % 86400000);
  // Within the same millisecond the seed would be the last one again, and the numbers
  // drawn since would come round once more: the sequence goes on instead.
  if (ClockSeeded && seed == ClockSeed) return;
  ClockSeeded = true;
  ClockSeed = seed;
  RandSeed(seed);
}

int32_t Random(int32_t n) {
  State = RandStep(State);
  return n <= 0 ? 0 : RandDraw(State, n);
}
