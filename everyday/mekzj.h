// Tmekzj: the positions 1..Count in a shuffled order, handed out one by one (drawing lots).
#pragma once
#include <cstdint>
#include <vector>

class Tmekzj {
public:
  // Count = size limited to 1..MaxCount. Slots 1..presetCount hold 1 and every later slot
  // i holds i; a presetCount that is negative or not below Count counts as 0, so the slots
  // then hold the permutation 1..Count. Re-seeds the shared random generator from the clock.
  Tmekzj(int32_t size, int32_t presetCount);

  // Puts Items in a random order and resets Cursor. r = Random(100) sets the number of
  // swaps, (r + 1) x Count x 188 + 1; each swap exchanges the slots Random(Count) + 1 and
  // then Random(Count) + 1 (possibly the same). When that count does not fit a signed
  // 32-bit integer (lists of 114,228 slots and more, for the larger r), one Fisher-Yates
  // pass over the same generator shuffles them instead.
  void Shuffle();
  // The next slot's value, or -1 when all Count slots have been handed out.
  int32_t Next();

  // The number of swaps Shuffle makes for r and count slots, (r + 1) x count x 188 + 1, or
  // 0 when (r + 1) x count x 188 does not fit a signed 32-bit integer (Fisher-Yates then).
  static int64_t SwapCount(int32_t r, int32_t count);

  static constexpr int32_t MaxCount = 214748000;

  std::vector<int32_t> Items;  // slot i (1..Count) is Items[i]; Items[0] is unused
  int32_t Count;
  int32_t Cursor = 0;  // slots already handed out by Next
};
