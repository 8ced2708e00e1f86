// Tmekzj: a shuffled sequence of positions on the shared random generator.
#include "everyday/mekzj.h"

#include <algorithm>
#include <limits>

#include "core/mekrandom.h"

Tmekzj::Tmekzj(int32_t size, int32_t presetCount) : Count(std::clamp(size, 1, MaxCount)) {
  if (presetCount >= Count || presetCount < 0) presetCount = 0;
  Items.resize(static_cast<size_t>(Count) + 1);
  for (int32_t i = 1; i <= presetCount; ++i) Items[i] = 1;
  for (int32_t i = presetCount + 1; i <= Count; ++i) Items[i] = i;
  Randomize();
}

int64_t Tmekzj::SwapCount(int32_t r, int32_t count) {
  const int64_t product = int64_t{r + 1} * count * 188;
  return product > std::numeric_limits<int32_t>::max() ? 0 : product + 1;
}

void Tmekzj::Shuffle() {
  Cursor = 0;
  const int64_t swaps = SwapCount(Random(100), Count);
  int32_t* const items = Items.data();
  const int32_t n = Count;
  if (swaps == 0) {
    // Too many swaps to count in 32 bits: one Fisher-Yates pass, Count - 1 draws.
    for (int32_t i = n; i > 1; --i) std::swap(items[i], items[Random(i) + 1]);
    return;
  }
  // Up to 18800 x Count swaps: the loop draws from a copy of the generator's state and
  // hands it back at the end. b's state is reached from the same state as a's (two steps
  // in one), so the two draws do not wait on each other; the numbers are Random's own.
  constexpr uint32_t TwoStepMultiplier = RandMultiplier * RandMultiplier;
  constexpr uint32_t TwoStepIncrement = RandMultiplier * RandIncrement + RandIncrement;
  uint32_t state = RandState();
  for (int64_t k = swaps; k > 0; --k) {
    const uint32_t stateA = RandStep(state);
    state = state * TwoStepMultiplier + TwoStepIncrement;  // RandStep(stateA)
    const int32_t a = RandDraw(stateA, n) + 1;
    const int32_t b = RandDraw(state, n) + 1;
    std::swap(items[a], items[b]);
  }
  RandSeed(state);
}

int32_t Tmekzj::Next() {
  if (Cursor >= Count) return -1;
  return Items[++Cursor];
}
