// Network time: the answer read as a local date-time value (eras, delay, time zones),
// the server setting, the client against time servers on 127.0.0.1 that answer, answer
// 0, answer short, stay silent, refuse, or never accept, and item 56 configured through
// services.ini.
#include <gtest/gtest.h>
#include <netinet/in.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <cstdlib>
#include <optional>
#include <vector>

#include "testenv.h"
#include "core/mekdatetime.h"
#include "core/mekstr.h"
#include "itemcases.h"
#include "loopback.h"
#include "net/mekresolve.h"
#include "net/mektime.h"

namespace {

// 2013-01-01 00:00:00 UTC (bytes D4 8C A5 80).
constexpr uint32_t NewYear2013 = 3565987200u;
// The first wrap of the 32-bit count: 2036-02-07 06:28:16 UTC.
constexpr uint32_t TenDays = 864000u;

double Seconds() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec + ts.tv_nsec / 1e9;
}

int64_t UtcMs(int year, int month, int day) {
  return static_cast<int64_t>(EncodeDate(year, month, day) - 25569.0) * 86400000;
}

// TZ set, and read afresh, for the life of the object.
class TZone {
public:
  explicit TZone(const char* zone) : tz_(std::in_place, "TZ", zone) { tzset(); }
  ~TZone() {
    tz_.reset();
    tzset();
  }

private:
  std::optional<TEnvValue> tz_;
};

// A listener on 127.0.0.1 that never accepts, its queue filled so that a further
// connection attempt gets no answer at all.
class TFullQueue {
public:
  TFullQueue() {
    const sockaddr_in a = TLoopbackSocket::Loopback(listener_.Port);
    for (int i = 0; i < 2; ++i) {
      const int fd = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
      connect(fd, reinterpret_cast<const sockaddr*>(&a), sizeof a);
      fillers_.push_back(fd);
    }
    usleep(100000);
  }
  ~TFullQueue() {
    for (int fd : fillers_) close(fd);
  }
  int Port() const { return listener_.Port; }

private:
  TLoopbackSocket listener_{0};
  std::vector<int> fillers_;
};

TTimeClient LocalClient(int port) {
  TTimeClient client;
  client.Host = "127.0.0.1";
  client.Port = port;
  return client;
}

// Runs item 56 once on the line "abc" with the configured time server.
std::string Item56(const std::string& timeSetting, std::vector<std::string>* messages = nullptr) {
  TConfigHome home;
  home.Write("[services]\ntime=" + timeSetting + "\n");
  TRecordingDialogs dialogs;
  TDispatcher calc;
  calc.ItemIndex = 56;
  calc.Edit1Text = "abc";
  calc.Button20Click();
  if (messages) *messages = dialogs.Messages;
  return calc.Edit1Text;
}

}  // namespace

TEST(TimeAnswer, EraDelayAndZone) {
  const struct {
    uint32_t seconds;
    int64_t delayMs;
    int64_t nowMs;  // the local clock, ms since 1970 UTC
    const char* zone;
    const char* stamp;
  } cases[] = {
      {NewYear2013, 0, UtcMs(2013, 1, 11), "Asia/Shanghai", "2013-01-01 08:00:00"},
      {NewYear2013, 999, UtcMs(2013, 1, 11), "Asia/Shanghai", "2013-01-01 08:00:00"},
      {NewYear2013, 1000, UtcMs(2013, 1, 11), "Asia/Shanghai", "2013-01-01 08:00:01"},
      {NewYear2013, 1249, UtcMs(2013, 1, 11), "Asia/Shanghai", "2013-01-01 08:00:01"},
      {NewYear2013, 0, UtcMs(2013, 1, 11), "UTC", "2013-01-01 00:00:00"},
      {NewYear2013, 0, UtcMs(2013, 1, 11), "America/New_York", "2012-12-31 19:00:00"},
      // Summer time where the answer lies, whatever the clock's season.
      {NewYear2013 + 181 * 86400u, 0, UtcMs(2013, 1, 11), "America/New_York", "2013-06-30 20:00:00"},
      {NewYear2013, 0, UtcMs(2013, 1, 11), "Asia/Kolkata", "2013-01-01 05:30:00"},
      // The era nearest the clock.
      {TenDays, 0, UtcMs(2040, 1, 1), "Asia/Shanghai", "2036-02-17 14:28:16"},
      {TenDays, 0, UtcMs(1960, 1, 1), "UTC", "1900-01-11 00:00:00"},
      {TenDays, 0, UtcMs(1990, 1, 1), "UTC", "2036-02-17 06:28:16"},  // 2036 is nearer than 1900
      {0xFFFFFFFFu, 0, UtcMs(2036, 3, 1), "UTC", "2036-02-07 06:28:15"},
      {1, 0, UtcMs(2036, 1, 1), "UTC", "2036-02-07 06:28:17"},
      {1, 0, UtcMs(2036, 3, 1), "UTC", "2036-02-07 06:28:17"},
      {0xFFFFFFFFu, 1000, UtcMs(2036, 1, 1), "UTC", "2036-02-07 06:28:16"},  // the delay crosses the wrap
      {NewYear2013, 0, UtcMs(2168, 1, 1), "UTC", "2149-02-07 06:28:16"},     // third era: 2013 + 2^32 s
      {NewYear2013, 0, UtcMs(1850, 1, 1), "UTC", "2013-01-01 00:00:00"},     // never before 1900
      {NewYear2013, 0, UtcMs(1970, 1, 1), "UTC", "2013-01-01 00:00:00"},
  };
  for (const auto& c : cases) {
    TZone zone(c.zone);
    EXPECT_EQ(FormatStamp(3, TimeAnswerToDateTime({c.seconds, c.delayMs}, c.nowMs)), c.stamp)
        << c.seconds << " " << c.delayMs << " " << c.zone;
  }
  EXPECT_THROW(TimeAnswerToDateTime({0, 0}, UtcMs(2013, 1, 1)), ETimeQueryError);
  EXPECT_THROW(TimeAnswerToDateTime({0, 5000}, UtcMs(2036, 2, 7)), ETimeQueryError);
}

TEST(TimeClient, ServerSetting) {
  const struct {
    const char* address;
    bool taken;
    const char* host;
    int port;
  } cases[] = {
      {"time.nist.gov", true, "time.nist.gov", 37},
      {"127.0.0.1", true, "127.0.0.1", 37},
      {"localhost:3737", true, "localhost", 3737},
      {"h:1", true, "h", 1},
      {"h:65535", true, "h", 65535},
      {"h:00037", true, "h", 37},
      {"", false, "", 37},
      {":37", false, "", 37},
      {"h:", false, "", 37},
      {"h:0", false, "", 37},
      {"h:65536", false, "", 37},
      {"h:123456", false, "", 37},
      {"h:-1", false, "", 37},
      {"h:+37", false, "", 37},
      {"h:3x", false, "", 37},
      {"h:37:38", false, "", 37},
  };
  for (const auto& c : cases) {
    TTimeClient client;
    EXPECT_EQ(client.SetServer(c.address), c.taken) << c.address;
    EXPECT_EQ(client.Host, c.host) << c.address;
    EXPECT_EQ(client.Port, c.port) << c.address;
  }
}

TEST(TimeClient, Answers) {
  const struct {
    FServeRule rule;
    uint32_t seconds;
  } cases[] = {
      {{TimeBytes(NewYear2013)}, NewYear2013},
      {{TimeBytes(NewYear2013), 0, true}, NewYear2013},  // the server keeps the connection
      {{TimeBytes(1) + "extra"}, 1},                    // only four bytes are read
      {{TimeBytes(0)}, 0},
  };
  for (const auto& c : cases) {
    TTimeServer server(c.rule);
    ASSERT_NE(server.Port(), 0);
    const FTimeAnswer answer = LocalClient(server.Port()).Ask();
    EXPECT_EQ(answer.Seconds, c.seconds);
    EXPECT_LT(answer.DelayMs, 1000);
  }
}

// Failures: those the server ends at once fail at once, those that wait fail after the
// 2.5 seconds of the read or the connection attempt.
TEST(TimeClient, Failures) {
  const struct {
    const char* what;
    FServeRule rule;
    bool waits;
  } cases[] = {
      {"three bytes, then closed", {TimeBytes(NewYear2013).substr(0, 3)}, false},
      {"closed at once", {""}, false},
      {"two bytes, then silent", {TimeBytes(NewYear2013).substr(0, 2), 0, true}, true},
      {"silent", {"", 0, true}, true},
      {"four bytes too late", {TimeBytes(NewYear2013), 4000, true}, true},
  };
  for (const auto& c : cases) {
    TTimeServer server(c.rule);
    ASSERT_NE(server.Port(), 0);
    const double start = Seconds();
    EXPECT_THROW(LocalClient(server.Port()).Ask(), ETimeQueryError) << c.what;
    const double took = Seconds() - start;
    if (c.waits) {
      EXPECT_GE(took, 2.45) << c.what;
      EXPECT_LT(took, 10.0) << c.what;
    } else {
      EXPECT_LT(took, 2.0) << c.what;
    }
  }
}

TEST(TimeClient, RefusedAndUnansweredConnections) {
  TRefusingPort refusing;
  double start = Seconds();
  EXPECT_THROW(LocalClient(refusing.Port).Ask(), ETimeQueryError);
  EXPECT_LT(Seconds() - start, 2.0);

  TFullQueue full;
  start = Seconds();
  EXPECT_THROW(LocalClient(full.Port()).Ask(), ETimeQueryError);
  const double took = Seconds() - start;
  EXPECT_GE(took, 2.45);
  EXPECT_LT(took, 10.0);
}

TEST(TimeClient, UnknownHostFailsWithoutConnecting) {
  SetHostResolver([](const std::string&) { return std::optional<FIPv4Address>(); });
  TTimeClient client;
  client.Host = "nowhere.example";
  EXPECT_THROW(client.Ask(), ETimeQueryError);
  SetHostResolver(nullptr);
}

TEST(Item56, LocalTimeServer) {
  TZone zone("Asia/Shanghai");
  const struct {
    FServeRule rule;
    const char* line;
  } cases[] = {
      {{TimeBytes(NewYear2013)}, "2013-01-01 08:00:00"},
      {{TimeBytes(0)}, "abc"},                                    // 0 is no time
      {{TimeBytes(NewYear2013).substr(0, 3)}, "abc"},            // short, closed
      {{TimeBytes(NewYear2013).substr(0, 2), 0, true}, "abc"},   // short, then silent
      {{"", 0, true}, "abc"},                                     // silent
  };
  for (const auto& c : cases) {
    TTimeServer server(c.rule);
    std::vector<std::string> messages;
    EXPECT_EQ(Item56(server.Address(), &messages), c.line) << c.line;
    EXPECT_TRUE(messages.empty());
  }
}

TEST(Item56, ServerByNameAndOtherZones) {
  TTimeServer server({TimeBytes(NewYear2013)});
  {
    TZone zone("America/New_York");
    EXPECT_EQ(Item56(server.Address()), "2012-12-31 19:00:00");
  }
  {
    TZone zone("Europe/London");
    EXPECT_EQ(Item56(server.Address()), "2013-01-01 00:00:00");
  }
  TZone zone("Asia/Shanghai");
  if (LocalhostFromFiles()) {
    EXPECT_EQ(Item56("localhost:" + std::to_string(server.Port())), "2013-01-01 08:00:00");
  }
}

// The era follows the local clock: an answer that reads as January 1900 in the first era
// lies in 2036 when the clock says 2040.
TEST(Item56, EraNearestTheClock) {
  TZone zone("Asia/Shanghai");
  TTimeServer server({TimeBytes(TenDays)});
  {
    FNoonClock clock(2040, 1, 1);
    EXPECT_EQ(Item56(server.Address()), "2036-02-17 14:28:16");
  }
  {
    TZone utc("UTC");
    FNoonClock clock(1950, 1, 1);
    EXPECT_EQ(Item56(server.Address()), "1900-01-11 00:00:00");
  }
}

// Read from 2 to 2.5 seconds after connecting: the delay adds a second. The server waits
// 2.1 s, leaving 0.4 s for the scheduler; a run that a loaded machine pushes past the
// time-out keeps the line and is tried again.
TEST(Item56, SlowAnswerAddsASecond) {
  TZone zone("Asia/Shanghai");
  TTimeServer server({TimeBytes(NewYear2013), 2100, true});
  std::string line = "abc";
  for (int attempt = 0; attempt < 3 && line == "abc"; ++attempt) line = Item56(server.Address());
  EXPECT_EQ(line, "2013-01-01 08:00:01");
}

TEST(Item56, NoServerOrBadSettingTouchesNoNetwork) {
  int lookups = 0;
  SetHostResolver([&](const std::string&) {
    ++lookups;
    return std::optional<FIPv4Address>(FIPv4Address{127, 0, 0, 1});
  });
  TRefusingPort refusing;
  for (const std::string& setting : {std::string(), std::string("127.0.0.1:99999"),
                                     std::string(":") + std::to_string(refusing.Port)}) {
    const double start = Seconds();
    std::vector<std::string> messages;
    EXPECT_EQ(Item56(setting, &messages), "abc") << setting;
    EXPECT_TRUE(messages.empty()) << setting;
    EXPECT_LT(Seconds() - start, 1.0) << setting;
  }
  EXPECT_EQ(lookups, 0);
  // A refused connection keeps the line too.
  EXPECT_EQ(Item56("127.0.0.1:" + std::to_string(refusing.Port)), "abc");
  SetHostResolver(nullptr);
}
