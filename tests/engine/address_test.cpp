// Host and dial-up addresses: the host inside a web address, look-ups of localhost
// through /etc/hosts only (no query leaves the machine), the bound on a resolver that does
// not answer, the wait hook of every network wait, dial-up links over made-up interface
// lists, items 17 and 26.
#include <gtest/gtest.h>
#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netinet/in.h>
#include <time.h>

#include <filesystem>
#include <functional>
#include <thread>

#include "itemcases.h"
#include "loopback.h"
#include "net/mekGetIP.h"
#include "net/mekhtml.h"
#include "net/mekresolve.h"
#include "net/mektime.h"
#include "net/mekwait.h"
#include "testutil.h"

namespace {

double Seconds() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return ts.tv_sec + ts.tv_nsec / 1e9;
}

}  // namespace

TEST(AddressHost, SchemePortPathQueryAndCase) {
  const struct {
    const char* text;
    const char* host;
  } cases[] = {
      {"localhost", "localhost"},
      {"LOCALHOST", "localhost"},
      {"http://localhost/path?q", "localhost"},
      {"HTTPS://LocalHost:8080/a?b", "localhost"},
      {"localhost:80", "localhost"},
      {"127.0.0.1", "127.0.0.1"},
      {"https://Example.com:8080/a?b", "example.com"},
      {"Ftp://Files.Example.org/x", "files.example.org"},
      {"www.example.com?x=1", "www.example.com"},  // "?" and "#" end the host as "/" does
      {"www.example.com#top", "www.example.com"},
      {"http://a/b:80", "a"},  // a colon after the path is the path's
      {"my_host-1.lan", "my_host-1.lan"},
      // No host name: nothing to look up.
      {"", ""},
      {"   ", ""},
      {" localhost", ""},
      {"local host", ""},
      {"http://", ""},
      {"/path", ""},
      {"localhost:abc", ""},
      {"localhost:", ""},  // no port number
      {"localhost:80:90", ""},
      {"user@localhost", ""},
      {"[::1]", ""},
      {"1http://localhost", ""},  // no scheme: a scheme begins with a letter
      {"\xD6\xD0\xB9\xFA.cn", ""},  // GBK 中国
  };
  for (const auto& c : cases) EXPECT_EQ(AddressHost(c.text), c.host) << "[" << c.text << "]";
}

TEST(HostToAddress, LocalhostEveryWayItIsWritten) {
  if (!LocalhostFromFiles()) GTEST_SKIP() << "localhost is not answered by /etc/hosts first";
  for (const char* text : {"localhost", "LOCALHOST", "http://localhost/path?q",
                           "HTTPS://LocalHost:8080/a?b", "localhost:80", "127.0.0.1"})
    EXPECT_EQ(HostToAddress(text), "127.0.0.1") << text;
  // Failures never reach the resolver.
  for (const char* text : {"", " ", "   ", "localhost:abc"}) EXPECT_EQ(HostToAddress(text), "") << "[" << text << "]";
}

TEST(HostToAddress, AsksTheResolverForTheHostAlone) {
  std::vector<std::string> asked;
  FResolverSwap swap([&](const std::string& host) -> std::optional<FIPv4Address> {
    asked.push_back(host);
    if (host == "nowhere.example") return std::nullopt;
    return FIPv4Address{93, 184, 215, 14};
  });
  EXPECT_EQ(HostToAddress("https://Example.com:8080/a?b"), "93.184.215.14");
  EXPECT_EQ(HostToAddress("http://NOWHERE.example/"), "");
  EXPECT_EQ(HostToAddress("bad host"), "");
  EXPECT_EQ(asked, (std::vector<std::string>{"example.com", "nowhere.example"}));
  EXPECT_TRUE(LookupWorkersDone());
}

TEST(HostToAddress, ResolverFailuresGiveNothing) {
  FResolverSwap swap([](const std::string&) -> std::optional<FIPv4Address> {
    throw std::runtime_error("resolver broke");
  });
  EXPECT_EQ(HostToAddress("example.com"), "");
  EXPECT_TRUE(LookupWorkersDone());
}

TEST(ResolveIPv4, AbandonsAResolverThatDoesNotAnswer) {
  auto gate = std::make_shared<FGate>();
  FResolverSwap swap(FGate::Resolver(gate));
  const double start = Seconds();
  EXPECT_FALSE(ResolveIPv4("slow.example", 300));
  const double waited = Seconds() - start;
  EXPECT_GE(waited, 0.29);
  EXPECT_LT(waited, 5.0);
  EXPECT_EQ(PendingLookups(), 1);
  // The worker finishes into its own state after the caller has gone.
  gate->Release();
  EXPECT_TRUE(LookupWorkersDone());
  EXPECT_EQ(*ResolveIPv4("fast.example", 2000), (FIPv4Address{10, 1, 2, 3}));
  EXPECT_TRUE(LookupWorkersDone());
}

TEST(ResolveIPv4, AbandonedLookupsAreCapped) {
  auto gate = std::make_shared<FGate>();
  FResolverSwap swap(FGate::Resolver(gate));
  for (int i = 0; i < MaxPendingLookups; ++i) EXPECT_FALSE(ResolveIPv4("slow.example", 20));
  for (int i = 0; i < 200 && gate->Calls < MaxPendingLookups; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  EXPECT_EQ(gate->Calls, MaxPendingLookups);
  // One more fails at once, without a thread or a call of the resolver.
  const double start = Seconds();
  EXPECT_FALSE(ResolveIPv4("one.more", 5000));
  EXPECT_LT(Seconds() - start, 1.0);
  gate->Release();
  EXPECT_TRUE(LookupWorkersDone());
  EXPECT_EQ(gate->Calls, MaxPendingLookups);
  EXPECT_TRUE(ResolveIPv4("again.example", 2000));
  EXPECT_TRUE(LookupWorkersDone());
}

// Every wait on the network (a page, a name, a time server) calls the thread's wait hook
// between slices of NetworkWaitSliceMs, and a hook that says stop ends it at once, failed,
// whatever its own bound.
TEST(NetworkWaits, HookBetweenSlicesEndsTheWaitOnStop) {
  auto gate = std::make_shared<FGate>();
  gate->Known["127.0.0.1"] = {127, 0, 0, 1};  // the time client asks even for a dotted address
  FResolverSwap swap(FGate::Resolver(gate));
  TTimeServer silent({"", 0, true});  // accepts, reads, never answers
  ASSERT_NE(silent.Port(), 0);
  // Each wait given its bound in milliseconds; true when it got an answer.
  const struct {
    const char* what;
    std::function<bool(int)> wait;
  } waits[] = {
      {"page", [&](int ms) { return !FetchPage("http://" + silent.Address() + "/", {ms, ms, 1024}).empty(); }},
      {"name", [](int ms) { return ResolveIPv4("held.example", ms).has_value(); }},
      {"time", [&](int ms) {
         TTimeClient client;
         client.SetServer(silent.Address());
         client.Timeout = ms;
         try {
           client.Ask();
           return true;
         } catch (const ETimeQueryError&) {
           return false;
         }
       }},
  };
  for (const auto& w : waits) {
    int ticks = 0;
    SetNetworkWaitHook([&] { return ++ticks, false; });
    double start = Seconds();
    EXPECT_FALSE(w.wait(1000)) << w.what;
    const double waited = Seconds() - start;
    EXPECT_GE(waited, 0.95) << w.what;
    // One tick a slice; half of them leaves room for a loaded machine.
    EXPECT_GE(ticks, waited * 1000 / NetworkWaitSliceMs / 2) << w.what;

    SetNetworkWaitHook([] { return true; });
    start = Seconds();
    EXPECT_FALSE(w.wait(15000)) << w.what;
    EXPECT_LT(Seconds() - start, 1.0) << w.what;
  }
  SetNetworkWaitHook(nullptr);
  gate->Release();
  EXPECT_TRUE(LookupWorkersDone());
}

// The item's own bound: a look-up that never answers ends the item after 15 seconds.
TEST(Item26, ResolverThatHangsKeepsTheLineAfterFifteenSeconds) {
  auto gate = std::make_shared<FGate>();
  FResolverSwap swap(FGate::Resolver(gate));
  TRecordingDialogs dialogs;
  TDispatcher calc;
  calc.ItemIndex = 26;
  calc.Edit1Text = "http://slow.example/";
  const double start = Seconds();
  calc.Button20Click();
  const double waited = Seconds() - start;
  EXPECT_EQ(calc.Edit1Text, "http://slow.example/");
  EXPECT_TRUE(dialogs.Messages.empty());
  EXPECT_GE(waited, ResolveTimeoutMs / 1000.0 - 0.05);
  EXPECT_LT(waited, ResolveTimeoutMs / 1000.0 + 10);
  gate->Release();
  EXPECT_TRUE(LookupWorkersDone());
}

TEST(Item26, HostAddressOrTheTypedText) {
  if (!LocalhostFromFiles()) GTEST_SKIP() << "localhost is not answered by /etc/hosts first";
  const FItemCase cases[] = {
      {26, "localhost", "127.0.0.1", nullptr},
      {26, "HTTPS://LocalHost:8080/a?b", "127.0.0.1", nullptr},
      {26, "ｌｏｃａｌｈｏｓｔ：８０", "127.0.0.1", nullptr},  // full width, made ASCII first
      {26, "", "", nullptr},
      {26, "   ", "   ", nullptr},
      {26, "https://", "https://", nullptr},
  };
  RunItemCases(cases);
}

namespace {

// A made-up interface list as getifaddrs would give it.
class TInterfaces {
public:
  TInterfaces& Add(const std::string& name, int family, const char* dotted = nullptr) {
    FNode& n = nodes_.emplace_back();
    n.Name = name;
    if (family == AF_INET) {
      auto* in = reinterpret_cast<sockaddr_in*>(&n.Address);
      in->sin_family = AF_INET;
      inet_pton(AF_INET, dotted, &in->sin_addr);
    } else if (family == AF_INET6) {
      auto* in6 = reinterpret_cast<sockaddr_in6*>(&n.Address);
      in6->sin6_family = AF_INET6;
      inet_pton(AF_INET6, dotted, &in6->sin6_addr);
    } else {
      n.Address.ss_family = static_cast<sa_family_t>(family);
    }
    n.HasAddress = family != AF_UNSPEC;
    return *this;
  }
  // Linked afresh: the nodes do not move once the list is complete.
  const ifaddrs* List() {
    ifaddrs* next = nullptr;
    for (auto n = nodes_.rbegin(); n != nodes_.rend(); ++n) {
      n->Entry = ifaddrs{};
      n->Entry.ifa_next = next;
      n->Entry.ifa_name = n->Name.data();
      n->Entry.ifa_addr = n->HasAddress ? reinterpret_cast<sockaddr*>(&n->Address) : nullptr;
      next = &n->Entry;
    }
    return next;
  }

private:
  struct FNode {
    std::string Name;
    sockaddr_storage Address{};
    bool HasAddress = false;
    ifaddrs Entry{};
  };
  std::deque<FNode> nodes_;
};

std::string Joined(const FmekIPxx& links) {
  std::string text;
  for (const DialUpEntry& e : links)
    text += e.EntryName + "|" + e.DeviceType + "|" + e.DeviceName + "|" + e.IPAddress + ";";
  return text;
}

}  // namespace

TEST(DialUpConnections, MadeUpInterfaceLists) {
  struct FCase {
    const char* what;
    TInterfaces list;
    const char* links;
  };
  FCase cases[] = {
      {"nothing", TInterfaces(), ""},
      {"no ppp",
       TInterfaces().Add("lo", AF_INET, "127.0.0.1").Add("eth0", AF_PACKET).Add("eth0", AF_INET, "192.0.2.7"),
       ""},
      {"ppp0 without IPv4",
       TInterfaces().Add("ppp0", AF_PACKET).Add("ppp0", AF_INET6, "2001:db8::1").Add("ppp0", AF_UNSPEC),
       ""},
      {"ppp0 with IPv4",
       TInterfaces().Add("eth0", AF_INET, "192.0.2.7").Add("ppp0", AF_PACKET).Add("ppp0", AF_INET, "61.139.2.69"),
       "ppp0|ppp|ppp0|61.139.2.69;"},
      {"two links in the list's order, each once",
       TInterfaces()
           .Add("ppp1", AF_INET, "203.0.113.9")
           .Add("eth0", AF_INET, "192.0.2.7")
           .Add("ppp0", AF_INET, "198.51.100.255")
           .Add("ppp1", AF_INET, "203.0.113.10"),
       "ppp1|ppp|ppp1|203.0.113.9;ppp0|ppp|ppp0|198.51.100.255;"},
      {"only names that begin with ppp",
       TInterfaces().Add("eppp0", AF_INET, "192.0.2.1").Add("PPP0", AF_INET, "192.0.2.2").Add("pppoe-wan", AF_INET, "192.0.2.3"),
       "pppoe-wan|ppp|pppoe-wan|192.0.2.3;"},
  };
  for (FCase& c : cases) EXPECT_EQ(Joined(DialUpConnectionsOf(c.list.List())), c.links) << c.what;
}

TEST(DialUpConnections, LongNamesAreCut) {
  const std::string name = "ppp" + std::string(297, 'x');
  TInterfaces list;
  list.Add(name, AF_INET, "255.255.255.255");
  const FmekIPxx links = DialUpConnectionsOf(list.List());
  ASSERT_EQ(links.size(), 1u);
  EXPECT_EQ(links[0].EntryName, name.substr(0, 255));
  EXPECT_EQ(links[0].DeviceName, name.substr(0, 128));
  EXPECT_EQ(links[0].DeviceType, "ppp");
  EXPECT_EQ(links[0].IPAddress, "255.255.255.255");
}

TEST(Item17, NoDialUpLinkKeepsTheLine) {
  for (const auto& e : std::filesystem::directory_iterator("/sys/class/net"))
    if (e.path().filename().string().rfind("ppp", 0) == 0) GTEST_SKIP() << "this machine has a ppp link";
  EXPECT_TRUE(DialUpConnections().empty());
  const FItemCase cases[] = {
      {17, "", "", nullptr},
      {17, "abc", "abc", nullptr},
  };
  RunItemCases(cases);
}
