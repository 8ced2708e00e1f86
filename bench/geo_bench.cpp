// Item 25 on two names: two scans of the city table and the distance.
#include <benchmark/benchmark.h>

#include <string>

#include "app/engine/dispatcher.h"
#include "benchutil.h"
#include "geo/mekjwd.h"

static void BM_Item25TwoCities(benchmark::State& state) {
  TDispatcher calc;
  RunEquals(state, calc, 25, "四川成都 湖北武汉");
}
BENCHMARK(BM_Item25TwoCities);

// The slowest lookups: the last record and a name no record contains, each a full scan.
static void BM_CityDistanceFullScans(benchmark::State& state) {
  const std::string last = "上海", missing = "火星";
  for (auto _ : state) benchmark::DoNotOptimize(CityDistance(last, missing));
}
BENCHMARK(BM_CityDistanceFullScans);
