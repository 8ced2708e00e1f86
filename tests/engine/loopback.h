// Network fixtures that stay on this machine, shared by the engine and command-line tests
// (header-only): whether localhost resolves from /etc/hosts alone, sockets on 127.0.0.1
// (one that refuses connections), and a time-protocol server there.
#pragma once
#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <atomic>
#include <cstdint>
#include <fstream>
#include <mutex>
#include <sstream>
#include <string>
#include <thread>
#include <vector>

// True when glibc finds localhost in /etc/hosts before asking any DNS server: the hosts
// line of /etc/nsswitch.conf starts with "files" and /etc/hosts maps localhost to
// 127.0.0.1. Where it does not hold, tests skip their look-ups of localhost rather than
// risk a query leaving the machine.
inline bool LocalhostFromFiles() {
  std::ifstream nss("/etc/nsswitch.conf"), hosts("/etc/hosts");
  bool filesFirst = false, mapped = false;
  for (std::string line; std::getline(nss, line);) {
    std::istringstream words(line);
    std::string key, first;
    if (words >> key >> first && key == "hosts:") filesFirst = first == "files";
  }
  for (std::string line; std::getline(hosts, line);) {
    std::istringstream words(line.substr(0, line.find('#')));
    std::string address, name;
    if (!(words >> address) || address != "127.0.0.1") continue;
    while (words >> name) mapped = mapped || name == "localhost";
  }
  return filesFirst && mapped;
}

// A TCP socket bound to 127.0.0.1 on a port of its own, listening with the given
// backlog (not listening when it is negative); closed with the object.
class TLoopbackSocket {
public:
  explicit TLoopbackSocket(int backlog) {
    Fd = socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0);
    sockaddr_in a = Loopback(0);
    socklen_t size = sizeof a;
    if (Fd >= 0 && bind(Fd, reinterpret_cast<sockaddr*>(&a), sizeof a) == 0 &&
        (backlog < 0 || listen(Fd, backlog) == 0) &&
        getsockname(Fd, reinterpret_cast<sockaddr*>(&a), &size) == 0)
      Port = ntohs(a.sin_port);
  }
  ~TLoopbackSocket() {
    if (Fd >= 0) close(Fd);
  }
  TLoopbackSocket(const TLoopbackSocket&) = delete;
  TLoopbackSocket& operator=(const TLoopbackSocket&) = delete;

  static sockaddr_in Loopback(int port) {
    sockaddr_in a{};
    a.sin_family = AF_INET;
    a.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    a.sin_port = htons(static_cast<uint16_t>(port));
    return a;
  }
  int Fd = -1;
  int Port = 0;  // 0 when the socket could not be set up
};

// A port on 127.0.0.1 that refuses connections: bound, never listening.
struct TRefusingPort : TLoopbackSocket {
  TRefusingPort() : TLoopbackSocket(-1) {}
};

// A time-protocol server on 127.0.0.1 (and, reading a query line first, a WHOIS server):
// it accepts connections one after the other on a port of its own and answers each the
// same way. It stops when the object goes, and by itself after about a minute of waiting.

// The four bytes of an answer, big-endian.
inline std::string TimeBytes(uint32_t seconds) {
  return {static_cast<char>(seconds >> 24), static_cast<char>(seconds >> 16),
          static_cast<char>(seconds >> 8), static_cast<char>(seconds)};
}

struct FServeRule {
  std::string Reply;     // bytes sent (fewer than four, or none, for the failures)
  int DelayMs = 0;       // waited after accepting, before the reply
  bool HoldOpen = false;  // after the reply, keep the connection until the client closes
  bool ReadLine = false;  // before the delay, read the client's bytes up to CR LF
};

class TTimeServer {
public:
  explicit TTimeServer(FServeRule rule) : rule_(std::move(rule)) {
    if (listener_.Port) thread_ = std::thread([this] { Serve(); });
  }
  ~TTimeServer() {
    stop_ = true;
    if (thread_.joinable()) thread_.join();
  }
  TTimeServer(const TTimeServer&) = delete;
  TTimeServer& operator=(const TTimeServer&) = delete;

  int Port() const { return listener_.Port; }  // 0 when the server could not start
  // The query lines read so far (ReadLine), one per connection.
  std::vector<std::string> Received() {
    std::lock_guard<std::mutex> hold(lock_);
    return received_;
  }
  std::string Address() const { return "127.0.0.1:" + std::to_string(listener_.Port); }

private:
  static constexpr int SliceMs = 20, LifetimeMs = 60000;

  // Waits up to ms in short slices; false once the server is told to stop.
  bool Wait(int fd, int ms) {
    for (int waited = 0; waited < ms && !stop_; waited += SliceMs) {
      pollfd p{fd, POLLIN, 0};
      if (fd >= 0 && poll(&p, 1, SliceMs) > 0) return true;
      if (fd < 0) usleep(SliceMs * 1000);
    }
    return false;
  }

  void Serve() {
    for (int lived = 0; !stop_ && lived < LifetimeMs; lived += SliceMs) {
      pollfd p{listener_.Fd, POLLIN, 0};
      if (poll(&p, 1, SliceMs) <= 0) continue;
      const int client = accept4(listener_.Fd, nullptr, nullptr, SOCK_CLOEXEC);
      if (client < 0) continue;
      if (rule_.ReadLine) {
        std::string line;
        char c;
        while (line.size() < 4096 && line.find("\r\n") == std::string::npos && Wait(client, 2000) &&
               recv(client, &c, 1, 0) == 1)
          line += c;
        std::lock_guard<std::mutex> hold(lock_);
        received_.push_back(line);
      }
      Wait(-1, rule_.DelayMs);
      if (!rule_.Reply.empty()) send(client, rule_.Reply.data(), rule_.Reply.size(), MSG_NOSIGNAL);
      if (rule_.HoldOpen) {
        char ignored[16];
        while (Wait(client, LifetimeMs) && recv(client, ignored, sizeof ignored, 0) > 0) {
        }
      }
      close(client);
    }
  }

  FServeRule rule_;
  std::mutex lock_;
  std::vector<std::string> received_;
  TLoopbackSocket listener_{8};
  std::atomic<bool> stop_{false};
  std::thread thread_;
};
