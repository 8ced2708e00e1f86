// One "=" of the quick machine-fact items (item 16 sleeps half a second by design and is
// left out).
#include "benchutil.h"

static void BM_MachineItem(benchmark::State& state, int item, const char* typed) {
  TDispatcher calc;
  RunEquals(state, calc, item, typed);
}
BENCHMARK_CAPTURE(BM_MachineItem, VolumeSerial, 14, "c");
BENCHMARK_CAPTURE(BM_MachineItem, Memory, 15, "");
BENCHMARK_CAPTURE(BM_MachineItem, DiskTotal, 21, "C:");
BENCHMARK_CAPTURE(BM_MachineItem, DiskFree, 22, "C:");
BENCHMARK_CAPTURE(BM_MachineItem, Uptime, 23, "");
