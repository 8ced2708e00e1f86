// Items 17, 26 and 56 through orvex-calc: the host address of what the user types, the
// dial-up address on a machine without one, and the time of a time server on 127.0.0.1
// named in services.ini of a temporary configuration folder.
#include <gtest/gtest.h>

#include <filesystem>

#include "../engine/testenv.h"
#include "../engine/loopback.h"
#include "itembatch.h"

namespace {

constexpr uint32_t NewYear2013 = 3565987200u;

}  // namespace

TEST(AddressCli, HostAddress) {
  if (!LocalhostFromFiles()) GTEST_SKIP() << "localhost is not answered by /etc/hosts first";
  const FCliCase cases[] = {
      {26, "localhost", "127.0.0.1", nullptr},
      {26, "LOCALHOST", "127.0.0.1", nullptr},
      {26, "http://localhost/path?q", "127.0.0.1", nullptr},
      {26, "HTTPS://LocalHost:8080/a?b", "127.0.0.1", nullptr},
      {26, "localhost:80", "127.0.0.1", nullptr},
      {26, "127.0.0.1", "127.0.0.1", nullptr},
      {26, "ｌｏｃａｌｈｏｓｔ", "127.0.0.1", nullptr},
      {26, "", "", nullptr},
      {26, "   ", "   ", nullptr},
      // an unresolved name stays as typed, to be mended
      {26, "localhost:http", "localhost:http", nullptr},
      {26, "本机", "本机", nullptr},
  };
  RunCliCases(cases);
}

TEST(AddressCli, DialUpAddressWithoutALink) {
  for (const auto& e : std::filesystem::directory_iterator("/sys/class/net"))
    if (e.path().filename().string().rfind("ppp", 0) == 0) GTEST_SKIP() << "this machine has a ppp link";
  const FCliCase cases[] = {
      {17, "abc", "abc", nullptr},
      {17, "", "", nullptr},
  };
  RunCliCases(cases);
}

TEST(AddressCli, NetworkTime) {
  TEnvValue zone("TZ", "Asia/Shanghai");
  TConfigHome home;
  const struct {
    FServeRule rule;
    const char* line;
  } servers[] = {
      {{TimeBytes(NewYear2013)}, "2013-01-01 08:00:00"},
      {{TimeBytes(0)}, "abc"},
      {{TimeBytes(NewYear2013).substr(0, 3)}, "abc"},
  };
  for (const auto& s : servers) {
    TTimeServer server(s.rule);
    home.Write("[services]\ntime=" + server.Address() + "\n");
    const FCliCase cases[] = {{56, "abc", s.line, nullptr}};
    RunCliCases(cases);
  }
  TRefusingPort refusing;
  for (const std::string& setting : {std::string(), "127.0.0.1:" + std::to_string(refusing.Port)}) {
    home.Write("[services]\ntime=" + setting + "\n");
    const FCliCase cases[] = {{56, "abc", "abc", nullptr}, {56, "", "", nullptr}};
    RunCliCases(cases);
  }
}

TEST(AddressCli, NetworkTimeInAnotherZone) {
  TEnvValue zone("TZ", "America/Los_Angeles");
  TConfigHome home;
  TTimeServer server({TimeBytes(NewYear2013)});
  home.Write("[services]\ntime=" + server.Address() + "\n");
  const FCliCase cases[] = {{56, "", "2012-12-31 16:00:00", nullptr}};
  RunCliCases(cases);
}
