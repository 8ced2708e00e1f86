// Items 28 and 29 offline: one "=" after first use (the phone library's data and the IPv4
// table already loaded), and what first use costs: the IPv4 table read and checked, and a
// whole orvex-calc run of each item against one that loads neither.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <spawn.h>
#include <sys/wait.h>

#include <cstdlib>
#include <string>

#include "app/engine/dispatcher.h"
#include "benchutil.h"
#include "net/mekipregion.h"
#include "net/mekphone.h"

extern char** environ;

namespace {

// No services.ini: the items take their offline paths, as on a fresh machine.
void NoServicesConfigured() { setenv("XDG_CONFIG_HOME", "/nonexistent/orvex-bench-config", 1); }

// One orvex-calc run of item on text, its output thrown away.
void RunCalc(const char* item, const char* text) {
  posix_spawn_file_actions_t actions;
  posix_spawn_file_actions_init(&actions);
  posix_spawn_file_actions_addopen(&actions, 1, "/dev/null", O_WRONLY, 0);
  char* argv[] = {const_cast<char*>(ORVEX_CALC_PATH), const_cast<char*>(item), const_cast<char*>(text),
                  nullptr};
  pid_t pid = 0;
  if (posix_spawn(&pid, ORVEX_CALC_PATH, &actions, nullptr, argv, environ) == 0) {
    int status = 0;
    waitpid(pid, &status, 0);
  }
  posix_spawn_file_actions_destroy(&actions);
}

}  // namespace

static void BM_Item28AfterFirstUse(benchmark::State& state) {
  NoServicesConfigured();
  TDispatcher calc;
  calc.DataDir = BenchDataDir();
  RunEquals(state, calc, 28, "13800138000");
}
BENCHMARK(BM_Item28AfterFirstUse);

static void BM_Item29AfterFirstUse(benchmark::State& state) {
  NoServicesConfigured();
  TDispatcher calc;
  calc.DataDir = BenchDataDir();
  RunEquals(state, calc, 29, "202.96.128.86");
}
BENCHMARK(BM_Item29AfterFirstUse);

// The look-ups alone, without the dispatcher and the reading of services.ini.
static void BM_PhoneNumberArea(benchmark::State& state) {
  const std::string dir = BenchDataDir();
  for (auto _ : state) benchmark::DoNotOptimize(PhoneNumberArea("15912345678", dir));
}
BENCHMARK(BM_PhoneNumberArea);

static void BM_IpAddressArea(benchmark::State& state) {
  const std::string dir = BenchDataDir();
  for (auto _ : state) benchmark::DoNotOptimize(IpAddressArea("202.96.128.86", dir));
}
BENCHMARK(BM_IpAddressArea);

// Item 29's first use: the 4.5 MB table read and checked whole.
static void BM_IpTableLoad(benchmark::State& state) {
  const std::string path = BenchDataDir() + "/ip2region.dat";
  for (auto _ : state) benchmark::DoNotOptimize(TIpRegionTable::Load(path));
}
BENCHMARK(BM_IpTableLoad)->Unit(benchmark::kMillisecond);

// Whole runs: item 0 loads neither table; the differences are the first-use costs.
static void BM_CalcRunItem0(benchmark::State& state) {
  NoServicesConfigured();
  for (auto _ : state) RunCalc("0", "1+1");
}
BENCHMARK(BM_CalcRunItem0)->Unit(benchmark::kMillisecond)->Iterations(30);

static void BM_CalcRunItem28(benchmark::State& state) {
  NoServicesConfigured();
  for (auto _ : state) RunCalc("28", "13800138000");
}
BENCHMARK(BM_CalcRunItem28)->Unit(benchmark::kMillisecond)->Iterations(30);

static void BM_CalcRunItem29(benchmark::State& state) {
  NoServicesConfigured();
  for (auto _ : state) RunCalc("29", "202.96.128.86");
}
BENCHMARK(BM_CalcRunItem29)->Unit(benchmark::kMillisecond)->Iterations(30);
