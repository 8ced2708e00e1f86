// The network items' costs that do not depend on a real server: the update check against
// the configured site (services.ini key "site"), which bench/silent_dns.py times with name
// servers that never answer; and 40 look-ups of item 46 with a services.ini of nearly
// 16 MiB of entries dated a year ahead (a copy that kept an archive's times), against a
// closed port.
#include <benchmark/benchmark.h>

#include <fcntl.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <ctime>
#include <filesystem>
#include <fstream>
#include <string>

#include "app/engine/dispatcher.h"
#include "app/engine/updatecheck.h"
#include "core/mekfilestate.h"
#include "net/mekservices.h"

static void BM_UpdateCheck(benchmark::State& state) {
  const FUpdatePlace place = ConfiguredUpdatePlace();
  if (place.Site.empty()) {
    state.SkipWithError("no site in services.ini");
    return;
  }
  for (auto _ : state) benchmark::DoNotOptimize(UpdateCheck(place));
}
BENCHMARK(BM_UpdateCheck)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);

static void BM_Item46FortyLookupsFutureDatedServices(benchmark::State& state) {
  // A port on 127.0.0.1 that refuses connections: bound, never listening.
  const int refusing = socket(AF_INET, SOCK_STREAM, 0);
  sockaddr_in a{};
  a.sin_family = AF_INET;
  a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
  socklen_t size = sizeof a;
  bind(refusing, reinterpret_cast<sockaddr*>(&a), sizeof a);
  getsockname(refusing, reinterpret_cast<sockaddr*>(&a), &size);

  char folder[] = "/tmp/orvex-bench-XXXXXX";
  if (!mkdtemp(folder)) {
    state.SkipWithError("no temporary folder");
    return;
  }
  setenv("XDG_CONFIG_HOME", folder, 1);
  std::filesystem::create_directories(std::string(folder) + "/orvex");
  std::string text = "[services]\ndomain=http://127.0.0.1:" + std::to_string(ntohs(a.sin_port)) + "\n";
  for (int n = 0; text.size() < (size_t(16) << 20) - 64; ++n)
    text += "key" + std::to_string(n) + " = http://127.0.0.1:8123/a/path/of/some/length\n";
  std::ofstream(ServicesFile(), std::ios::binary) << text;
  const timespec ahead{std::time(nullptr) + 365 * 86400, 0};
  const timespec times[2] = {ahead, ahead};
  utimensat(AT_FDCWD, ServicesFile().c_str(), times, 0);
  sleep(SettleSeconds + 1);  // the change time settles; the modification time stays ahead

  TDispatcher calc;
  calc.ItemIndex = 46;
  for (auto _ : state)
    for (int i = 0; i < 40; ++i) {
      calc.Edit1Text = "example.com";
      calc.Button20Click();
      benchmark::DoNotOptimize(calc.Edit1Text.data());
    }
  std::filesystem::remove_all(folder);
  unsetenv("XDG_CONFIG_HOME");
  close(refusing);
}
BENCHMARK(BM_Item46FortyLookupsFutureDatedServices)->Iterations(1)->UseRealTime()->Unit(benchmark::kSecond);
