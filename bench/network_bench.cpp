// The update check against the configured site (services.ini key "site"), once:
// bench/silent_dns.py times it with name servers that never answer.
#include <benchmark/benchmark.h>

#include "app/engine/updatecheck.h"

static void BM_UpdateCheck(benchmark::State& state) {
  const FUpdatePlace place = ConfiguredUpdatePlace();
  if (place.Site.empty()) {
    state.SkipWithError("no site in services.ini");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(UpdateCheck(place));
}
BENCHMARK(BM_UpdateCheck)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);
