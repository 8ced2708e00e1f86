#include "net/mektime.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <ctime>
#include <optional>

#include "core/mekdatetime.h"
#include "net/mekresolve.h"
#include "net/mekwait.h"

namespace {

constexpr int64_t SecondsPerDay = 86400;
constexpr int64_t EraSeconds = int64_t{1} << 32;
// 1900-01-01 to 1970-01-01.
constexpr int64_t UnixEpochSince1900 = 2208988800;

int64_t MonotonicMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

// A socket closed on every way out.
class TSocket {
public:
  explicit TSocket(int fd) : fd_(fd) {}
  ~TSocket() {
    if (fd_ >= 0) close(fd_);
  }
  TSocket(const TSocket&) = delete;
  TSocket& operator=(const TSocket&) = delete;
  int Fd() const { return fd_; }

private:
  int fd_;
};

[[noreturn]] void Fail(const char* reason) { throw ETimeQueryError(reason); }

// Waits for events on fd until deadline (monotonic ms), in slices of NetworkWaitSliceMs
// with NetworkWaitTick between them; false when the time is up or the tick says stop.
bool WaitFor(int fd, short events, int64_t deadline) {
  for (;;) {
    const int64_t left = deadline - MonotonicMs();
    if (left <= 0) return false;
    pollfd p{fd, events, 0};
    const int r = poll(&p, 1, static_cast<int>(std::min<int64_t>(left, NetworkWaitSliceMs)));
    if (r > 0) return true;
    if (r < 0 && errno != EINTR) return false;
    if (NetworkWaitTick()) return false;
  }
}

}  // namespace

bool TTimeClient::SetServer(const std::string& address) {
  const size_t colon = address.find(':');
  const std::string host = address.substr(0, colon);
  if (host.empty()) return false;
  int port = TimeProtocolPort;
  if (colon != std::string::npos) {
    const std::string digits = address.substr(colon + 1);
    if (digits.empty() || digits.size() > 5 ||
        digits.find_first_not_of("0123456789") != std::string::npos)
      return false;
    port = std::stoi(digits);
    if (port < 1 || port > 65535) return false;
  }
  Host = host;
  Port = port;
  return true;
}

FTimeAnswer TTimeClient::Ask() const {
  const std::optional<FIPv4Address> address = ResolveIPv4(Host);
  if (!address) Fail("unknown host");

  sockaddr_in server{};
  server.sin_family = AF_INET;
  server.sin_port = htons(static_cast<uint16_t>(Port));
  std::memcpy(&server.sin_addr.s_addr, address->data(), 4);

  // Non-blocking from the start, so the connection attempt is bounded like the read.
  TSocket sock(socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
  if (sock.Fd() < 0) Fail("no socket");
  if (connect(sock.Fd(), reinterpret_cast<const sockaddr*>(&server), sizeof server) != 0) {
    if (errno != EINPROGRESS) Fail("no connection");
    if (!WaitFor(sock.Fd(), POLLOUT, MonotonicMs() + ConnectTimeout)) Fail("connection timed out");
    int error = 0;
    socklen_t size = sizeof error;
    if (getsockopt(sock.Fd(), SOL_SOCKET, SO_ERROR, &error, &size) != 0 || error != 0)
      Fail("no connection");
  }

  const int64_t start = MonotonicMs();
  const int64_t deadline = start + Timeout;
  unsigned char bytes[4];
  size_t got = 0;
  while (got < sizeof bytes) {
    if (!WaitFor(sock.Fd(), POLLIN, deadline)) Fail("no answer in time");
    const ssize_t n = recv(sock.Fd(), bytes + got, sizeof bytes - got, 0);
    if (n == 0) Fail("answer too short");
    if (n < 0) {
      if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) continue;
      Fail("connection lost");
    }
    got += static_cast<size_t>(n);
  }
  FTimeAnswer answer;
  answer.Seconds = (uint32_t{bytes[0]} << 24) | (uint32_t{bytes[1]} << 16) |
                   (uint32_t{bytes[2]} << 8) | uint32_t{bytes[3]};
  answer.DelayMs = (MonotonicMs() - start) / 2;
  return answer;
}

double TTimeClient::DateTime() const { return TimeAnswerToDateTime(Ask(), CurrentInstant()); }

double TimeAnswerToDateTime(const FTimeAnswer& answer, int64_t nowUnixMs) {
  // Some servers send 0 when they have no time to give.
  if (answer.Seconds == 0) Fail("answer 0");
  const int64_t now1900 = FloorDiv(nowUnixMs, 1000) + UnixEpochSince1900;
  int64_t era = FloorDiv(now1900 - answer.Seconds + EraSeconds / 2, EraSeconds);
  if (era < 0) era = 0;
  const int64_t seconds = answer.Seconds + era * EraSeconds + answer.DelayMs / 1000;

  // The offset of the system's time zone at that instant (TZ read afresh).
  tzset();
  const std::time_t instant = static_cast<std::time_t>(seconds - UnixEpochSince1900);
  std::tm local{};
  if (!localtime_r(&instant, &local)) Fail("no local time");
  const int64_t localSeconds = seconds + local.tm_gmtoff;
  const int64_t day = FloorDiv(localSeconds, SecondsPerDay);
  const int64_t rest = localSeconds - day * SecondsPerDay;
  return TimeBaseDate + static_cast<double>(day) + static_cast<double>(rest) / SecondsPerDay;
}
