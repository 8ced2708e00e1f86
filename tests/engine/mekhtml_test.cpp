// FetchPage against servers on 127.0.0.1 started here (cpp-httplib, a plain socket that
// never answers, and one that answers every connection the same way) with names from a
// resolver of the test's own, and HtmlToText.
#include <gtest/gtest.h>

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <httplib.h>

#include <atomic>
#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <fstream>
#include <mutex>
#include <string>
#include <string_view>
#include <thread>
#include <vector>

#include "loopback.h"
#include "net/mekhtml.h"
#include "net/mekresolve.h"
#include "testutil.h"

namespace {

// Literals are GBK in this file; these bytes are UTF-8.
std::string U8(std::u8string_view s) { return std::string(s.begin(), s.end()); }

const size_t EightMiB = size_t(8) << 20;

// Seconds since start.
double Since(const struct timespec& start) {
  struct timespec now;
  clock_gettime(CLOCK_MONOTONIC, &now);
  return double(now.tv_sec - start.tv_sec) + double(now.tv_nsec - start.tv_nsec) / 1e9;
}

struct timespec Now() {
  struct timespec t;
  clock_gettime(CLOCK_MONOTONIC, &t);
  return t;
}

// A cpp-httplib server on an ephemeral port of 127.0.0.1 serving the test pages.
class TPageServer {
public:
  TPageServer() {
    using httplib::Request;
    using httplib::Response;
    Page("/page", "hello", "text/html");
    server_.Get("/echo", [](const Request& q, Response& r) {
      r.set_content(q.get_param_value("q"), "text/plain");
    });
    server_.Get("/host", [](const Request& q, Response& r) {
      r.set_content(q.get_header_value("Host"), "text/plain");
    });
    server_.Get("/headers", [](const Request& q, Response& r) {
      r.set_content(q.get_header_value("Cache-Control") + "|" + q.get_header_value("Pragma") +
                        "|" + q.get_header_value("User-Agent"),
                    "text/plain");
    });
    // Encodings
    Page("/bom", "\xEF\xBB\xBF" + U8(u8"<p>中文</p>"), "text/html");
    Page("/body-lower", U8(u8"<meta http-equiv=content-type content=\"text/html; charset=utf-8\">中文"), "text/html");
    Page("/body-upper", U8(u8"<META CONTENT=\"text/html; CHARSET=UTF-8\">中文"), "text/html");
    Page("/body-quoted", U8(u8"<meta charset=\"UTF-8\">中文"), "text/html");
    Page("/body-late", U8(u8"中文<!-- charset = 'utf8' -->"), "text/html");
    Page("/header", U8(u8"中文"), "text/html; charset=UTF-8");
    Page("/header-quoted", U8(u8"中文"), "text/plain;Charset=\"utf-8\"");
    Page("/gbk", "<meta charset=gb2312>中文", "text/html; charset=gb2312");
    Page("/gbk-bare", "中文", "text/html");
    Page("/utf8-undeclared", U8(u8"中文"), "text/html");
    Page("/utf16-declared", "charset=utf-16 abc", "text/html");
    Page("/broken", U8(u8"<meta charset=utf-8>中") + "\xE6\x96", "text/html");
    Page("/broken-bom", "\xEF\xBB\xBF" "a\x80" "b", "text/html");
    Page("/four-byte", "\xEF\xBB\xBF" + U8(u8"a😀b"), "text/html");
    Page("/empty", "", "text/html");
    // Status and redirects
    server_.Get("/missing", [](const Request&, Response& r) {
      r.status = 404;
      r.set_content("no such page", "text/html");
    });
    server_.Get("/moved", [](const Request&, Response& r) { r.set_redirect("/page"); });
    server_.Get("/moved-twice", [](const Request&, Response& r) { r.set_redirect("/moved", 301); });
    server_.Get("/redirect", [](const Request& q, Response& r) { r.set_redirect(q.get_param_value("to")); });
    server_.Get("/loop", [](const Request&, Response& r) { r.set_redirect("/loop"); });
    // Sizes
    Page("/exact", std::string(EightMiB, 'a'), "text/html");
    Page("/over", std::string(EightMiB + 1, 'a'), "text/html");
    Page("/over-binary", std::string(EightMiB + 1, 'b'), "application/octet-stream");
    server_.Get("/endless", [](const Request&, Response& r) {
      r.set_chunked_content_provider("application/octet-stream", [](size_t, httplib::DataSink& sink) {
        static const std::string block(64 * 1024, 'x');
        return sink.write(block.data(), block.size());
      });
    });
    server_.Get("/trickle", [](const Request&, Response& r) {
      r.set_chunked_content_provider("text/plain", [](size_t, httplib::DataSink& sink) {
        std::this_thread::sleep_for(std::chrono::milliseconds(100));
        return sink.write("x", 1);
      });
    });
    // Two requests at once: each waits until the other has arrived (or gives up).
    server_.Get("/together", [this](const Request& q, Response& r) {
      std::unique_lock<std::mutex> lock(mutex_);
      ++arrived_;
      cv_.notify_all();
      const bool both = cv_.wait_for(lock, std::chrono::seconds(5), [this] { return arrived_ >= 2; });
      r.set_content((both ? "both " : "alone ") + q.get_param_value("n"), "text/plain");
    });
    Port = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
  }
  ~TPageServer() {
    server_.stop();
    thread_.join();
  }
  std::string Url(const std::string& path) const {
    return "http://127.0.0.1:" + std::to_string(Port) + path;
  }
  int Port;

private:
  void Page(const std::string& path, const std::string& body, const std::string& type) {
    server_.Get(path, [body, type](const httplib::Request&, httplib::Response& r) {
      r.set_content(body, type);
    });
  }
  httplib::Server server_;
  std::thread thread_;
  std::mutex mutex_;
  std::condition_variable cv_;
  int arrived_ = 0;
};

// A plain socket on 127.0.0.1 that accepts connections, keeps what they send and never
// answers.
class TSilentServer {
public:
  TSilentServer() {
    fd_ = socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    bind(fd_, reinterpret_cast<sockaddr*>(&a), sizeof a);
    listen(fd_, 16);
    socklen_t len = sizeof a;
    getsockname(fd_, reinterpret_cast<sockaddr*>(&a), &len);
    Port = ntohs(a.sin_port);
    thread_ = std::thread([this] { Serve(); });
  }
  ~TSilentServer() {
    stop_ = true;
    thread_.join();
    for (const pollfd& p : fds_) close(p.fd);
  }
  std::string Received() {
    std::lock_guard<std::mutex> lock(mutex_);
    return received_;
  }
  int Connections() const { return connections_; }
  int Port;

private:
  void Serve() {
    fds_.push_back({fd_, POLLIN, 0});
    while (!stop_) {
      if (poll(fds_.data(), fds_.size(), 20) <= 0) continue;
      for (size_t i = 0; i < fds_.size(); ++i) {
        if (!(fds_[i].revents & POLLIN)) continue;
        if (i == 0) {
          const int c = accept(fd_, nullptr, nullptr);
          if (c >= 0) fds_.push_back({c, POLLIN, 0}), ++connections_;
          break;
        }
        char buf[4096];
        const ssize_t n = read(fds_[i].fd, buf, sizeof buf);
        if (n > 0) {
          std::lock_guard<std::mutex> lock(mutex_);
          received_.append(buf, static_cast<size_t>(n));
        } else {
          fds_[i].events = 0;  // closed by the client
        }
      }
    }
  }
  int fd_;
  std::vector<pollfd> fds_;
  std::thread thread_;
  std::atomic<bool> stop_{false};
  std::atomic<int> connections_{0};
  std::mutex mutex_;
  std::string received_;
};

// Short bounds for the servers that never answer.
const FFetchLimits Quick{500, 1000, EightMiB};

}  // namespace

TEST(FetchLimits, DefaultsBoundEveryWait) {
  const FFetchLimits limits;
  EXPECT_EQ(limits.ConnectMs, 5000);
  EXPECT_EQ(limits.TotalMs, 15000);
  EXPECT_EQ(limits.MaxBodyBytes, EightMiB);
}

TEST(CompleteAddress, Schemes) {
  const struct {
    const char* address;
    const char* completed;  // "": refused
  } cases[] = {
      {"host/path", "http://host/path"},
      {"127.0.0.1:8080/a?b=c", "http://127.0.0.1:8080/a?b=c"},
      {"http://h/", "http://h/"},
      {"HTTP://h/", "HTTP://h/"},
      {"hTtP://h/", "hTtP://h/"},
      {"https://h/", "https://h/"},
      {"HTTPS://h/", "HTTPS://h/"},
      {"h/p?q=a b", "http://h/p?q=a%20b"},  // blanks cannot travel in a request line
      {"h/p?q=北京", "http://h/p?q=北京"},   // query values as typed
      {"", ""},
      {"file:///etc/passwd", ""},
      {"FILE://c:/x", ""},
      {"ftp://h/", ""},
      {"gopher://h/", ""},
      {"httpx://h/", ""},
      {"mailto:a@b", "http://mailto:a@b"},  // no "//": a host and port as far as HTTP goes
  };
  for (const auto& c : cases) EXPECT_EQ(CompleteAddress(c.address), c.completed) << c.address;
}

TEST(FetchPage, AddressesAndSchemes) {
  TPageServer server;
  const std::string hostPort = "127.0.0.1:" + std::to_string(server.Port);
  char file[] = "/tmp/orvex-fetch-XXXXXX";
  close(mkstemp(file));
  std::ofstream(file) << "local file";
  const struct {
    std::string address;
    std::string page;
  } cases[] = {
      {hostPort + "/page", "hello"},  // no scheme: http
      {"http://" + hostPort + "/page", "hello"},
      {"HTTP://" + hostPort + "/page", "hello"},
      {"Http://" + hostPort + "/page", "hello"},
      {hostPort + "/echo?q=a b", "a b"},
      {hostPort + "/echo?q=北京", "北京"},  // GBK bytes reach the server as typed
      {hostPort + "/headers", "no-cache|no-cache|"},  // from the server, no agent name
      {"", ""},
      {std::string("file://") + file, ""},
      {std::string("FILE://") + file, ""},
      {"ftp://" + hostPort + "/page", ""},
      {"127.0.0.1:1/page", ""},  // nothing listens there
  };
  for (const auto& c : cases) EXPECT_EQ(FetchPage(c.address), c.page) << c.address;
  unlink(file);
}

TEST(FetchPage, HttpsIsFetchedAsHttps) {
  TSilentServer silent;
  const std::string address = "https://127.0.0.1:" + std::to_string(silent.Port) + "/";
  EXPECT_EQ(FetchPage(address, Quick), "");
  // A TLS handshake record arrived, not "GET http://https://..." over plain HTTP.
  const std::string got = silent.Received();
  ASSERT_FALSE(got.empty());
  EXPECT_EQ(got[0], '\x16') << got;

  // Where a plain HTTP server answers the TLS hello and closes, the fetch fails at once
  // (a peer of the test's own: HTTP servers differ in whether they answer it at all).
  TTimeServer plain({"HTTP/1.1 400 Bad Request\r\nConnection: close\r\n\r\n"});
  const timespec start = Now();
  EXPECT_EQ(FetchPage("https://" + plain.Address() + "/page"), "");
  EXPECT_LT(Since(start), 4.0);
}

TEST(FetchPage, EncodingRules) {
  TPageServer server;
  const struct {
    const char* path;
    std::string page;
  } cases[] = {
      {"/bom", "<p>中文</p>"},  // the byte-order mark dropped
      {"/body-lower", "<meta http-equiv=content-type content=\"text/html; charset=utf-8\">中文"},
      {"/body-upper", "<META CONTENT=\"text/html; CHARSET=UTF-8\">中文"},
      {"/body-quoted", "<meta charset=\"UTF-8\">中文"},
      {"/body-late", "中文<!-- charset = 'utf8' -->"},
      {"/header", "中文"},
      {"/header-quoted", "中文"},
      {"/gbk", "<meta charset=gb2312>中文"},  // GBK pages unchanged
      {"/gbk-bare", "中文"},
      {"/utf8-undeclared", U8(u8"中文")},   // nothing says UTF-8: the bytes as they came
      {"/utf16-declared", "charset=utf-16 abc"},
      {"/broken", ""},                      // malformed UTF-8: no page
      {"/broken-bom", ""},
      {"/four-byte", "a?b"},               // a character beyond U+FFFF
      {"/empty", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(FetchPage(server.Url(c.path)), c.page) << c.path;
}

TEST(FetchPage, StatusAndRedirects) {
  TPageServer server;
  const struct {
    const char* path;
    const char* page;
  } cases[] = {
      {"/missing", "no such page"},  // an error page is a page
      {"/moved", "hello"},
      {"/moved-twice", "hello"},
      {"/redirect?to=file:///etc/hostname", ""},  // a redirect cannot lead out of http and https
      {"/loop", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(FetchPage(server.Url(c.path)), c.page) << c.path;

  TSilentServer ftp;
  const std::string to = "ftp://127.0.0.1:" + std::to_string(ftp.Port) + "/x";
  EXPECT_EQ(FetchPage(server.Url("/redirect?to=" + to), Quick), "");
  EXPECT_EQ(ftp.Connections(), 0);
}

TEST(FetchPage, BodiesBeyondEightMiBAreRefused) {
  TPageServer server;
  EXPECT_EQ(FetchPage(server.Url("/exact")), std::string(EightMiB, 'a'));
  EXPECT_EQ(FetchPage(server.Url("/over")), "");         // compressed on the way
  EXPECT_EQ(FetchPage(server.Url("/over-binary")), "");
  EXPECT_EQ(FetchPage(server.Url("/endless")), "");      // no length: ended at the limit
  const FFetchLimits small{5000, 15000, 1000};
  EXPECT_EQ(FetchPage(server.Url("/page"), small), "hello");
  // The limit counts the body as it arrives decompressed.
  EXPECT_EQ(FetchPage(server.Url("/gbk-bare"), FFetchLimits{5000, 15000, 4}), "中文");
  EXPECT_EQ(FetchPage(server.Url("/gbk-bare"), FFetchLimits{5000, 15000, 3}), "");
}

TEST(FetchPage, EveryWaitIsBounded) {
  TSilentServer silent;
  TPageServer server;
  for (const std::string& address :
       {"127.0.0.1:" + std::to_string(silent.Port) + "/", server.Url("/trickle")}) {
    const timespec start = Now();
    EXPECT_EQ(FetchPage(address, Quick), "") << address;
    EXPECT_LT(Since(start), 4.0) << address;  // about one second
  }
  EXPECT_NE(silent.Received().find("GET / HTTP/1.1\r\n"), std::string::npos);
}

// Host names are resolved by the program's own bounded resolver, each redirect's too;
// the name stays in the request (Host header, TLS server name). Addresses libcurl reads
// without a look-up never reach the resolver.
TEST(FetchPage, NamesThroughTheBoundedResolver) {
  auto gate = std::make_shared<FGate>();
  gate->Known["orvex.test"] = {127, 0, 0, 1};
  FResolverSwap swap(FGate::Resolver(gate));
  TPageServer server;
  TSilentServer tls;
  const std::string named = "http://orvex.test:" + std::to_string(server.Port);
  const struct {
    std::string address;
    std::string page;
  } cases[] = {
      {named + "/page", "hello"},
      {named + "/host", "orvex.test:" + std::to_string(server.Port)},
      {server.Url("/redirect?to=" + named + "/page"), "hello"},
      {"http://nowhere.test:" + std::to_string(server.Port) + "/page", ""},
      {"localhost:" + std::to_string(server.Port) + "/page", "hello"},
      {"http://[::1]:" + std::to_string(server.Port) + "/page", ""},  // nothing there on IPv6
      {"https://orvex.test:" + std::to_string(tls.Port) + "/", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(FetchPage(c.address, Quick), c.page) << c.address;
  EXPECT_EQ(gate->Hosts, (std::deque<std::string>{"orvex.test", "orvex.test", "orvex.test",
                                                  "nowhere.test", "orvex.test"}));
  EXPECT_NE(tls.Received().find("orvex.test"), std::string::npos);  // the TLS server name

  // A resolver that never answers holds the fetch no longer than its bound.
  const timespec start = Now();
  EXPECT_EQ(FetchPage("http://held.test/", Quick), "");
  EXPECT_LT(Since(start), 4.0);  // about one second
  gate->Release();
  EXPECT_TRUE(LookupWorkersDone());
}

TEST(FetchPage, NoProxyFromTheEnvironment) {
  TSilentServer proxy;
  TPageServer server;
  const std::string proxyUrl = "http://127.0.0.1:" + std::to_string(proxy.Port);
  const char* names[] = {"http_proxy", "HTTPS_PROXY", "https_proxy", "ALL_PROXY", "all_proxy"};
  for (const char* name : names) setenv(name, proxyUrl.c_str(), 1);
  EXPECT_EQ(FetchPage(server.Url("/page"), Quick), "hello");
  for (const char* name : names) unsetenv(name);
  EXPECT_EQ(proxy.Received(), "");
}

TEST(FetchPage, TwoThreadsAtOnce) {
  TPageServer server;
  std::string first, second;
  std::thread a([&] { first = FetchPage(server.Url("/together?n=1")); });
  std::thread b([&] { second = FetchPage(server.Url("/together?n=2")); });
  a.join();
  b.join();
  EXPECT_EQ(first, "both 1");
  EXPECT_EQ(second, "both 2");
}

TEST(HtmlToText, StepsInOrder) {
  const struct {
    const char* page;
    const char* text;
  } cases[] = {
      {"<P>A&amp;B</P>", "a&b"},
      {"x &amp;lt; y", "x &lt; y"},
      {"1 < 2 and 3 > 2", "1  2"},
      {"a<SCRIPT type=\"text/javascript\">if (a < b) x = '<b>';</SCRIPT>b", "ab"},
      {"a<script x=1>b</p>c", "a x=1bc"},  // an unclosed "<script" loses its seven bytes
      {"a<Style>p{color:red}</STYLE>b", "ab"},
      {"&nbsp;&copy;2024", " 版权2024"},
      {"&lt;b&gt; &quot;q&quot;", "<b> \"q\""},  // tags from entities stay
      {"&AMP; &Nbsp; &#169; &eacute;", "&   &#169; &eacute;"},
      {"<HTML><HEAD><TITLE>T</TITLE></HEAD><BODY>Text</BODY></HTML>", "text"},
      {"<html><head><title>T</title></head><body class=x>Text", "ttext"},
      {"<html lang=zh><body>Text", "text"},  // no "<html>": the tags alone go
      {"Line1<br>\r\nLine2\n\n<p>Line4</p>\r", "line1\r\nline2\n\nline4\r"},
      {"<P>學門ABC</P>", "學門abc"},  // 學 8C 57 and 門 E9 54 keep their second bytes
      {"中文ＡＢＣ", "中文ＡＢＣ"},
      {"", ""},
  };
  for (const auto& c : cases) EXPECT_EQ(HtmlToText(c.page), c.text) << c.page;
}
