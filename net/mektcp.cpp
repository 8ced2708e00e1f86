// The bounded TCP client over POSIX sockets.
#include "net/mektcp.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <time.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

#include "net/mekwait.h"

bool SplitHostPort(const std::string& address, std::string& host, int& port) {
  const size_t colon = address.find(':');
  const std::string name = address.substr(0, colon);
  if (name.empty()) return false;
  int number = port;
  if (colon != std::string::npos) {
    const std::string digits = address.substr(colon + 1);
    if (digits.empty() || digits.size() > 5 ||
        digits.find_first_not_of("0123456789") != std::string::npos)
      return false;
    number = std::stoi(digits);
    if (number < 1 || number > 65535) return false;
  }
  host = name;
  port = number;
  return true;
}

int64_t MonotonicMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

bool WaitForSocket(int fd, short events, int64_t deadline) {
  if (NetworkWaitAbandoned()) return false;  // the thread has given up its waits
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

TTcpConnection::~TTcpConnection() {
  if (fd_ >= 0) close(fd_);
}

bool TTcpConnection::Connect(const FIPv4Address& address, int port, int64_t deadline) {
  if (fd_ >= 0 || port < 1 || port > 65535) return false;
  sockaddr_in server{};
  server.sin_family = AF_INET;
  server.sin_port = htons(static_cast<uint16_t>(port));
  std::memcpy(&server.sin_addr.s_addr, address.data(), 4);
  // Non-blocking from the start, so the connection attempt is bounded like the reads.
  fd_ = socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0);
  if (fd_ < 0) return false;
  if (connect(fd_, reinterpret_cast<const sockaddr*>(&server), sizeof server) == 0) return true;
  if (errno != EINPROGRESS || !WaitForSocket(fd_, POLLOUT, deadline)) return false;
  int error = 0;
  socklen_t size = sizeof error;
  return getsockopt(fd_, SOL_SOCKET, SO_ERROR, &error, &size) == 0 && error == 0;
}

bool TTcpConnection::SendAll(const std::string& bytes, int64_t deadline) {
  size_t sent = 0;
  while (sent < bytes.size()) {
    if (fd_ < 0 || !WaitForSocket(fd_, POLLOUT, deadline)) return false;
    const ssize_t n = send(fd_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
    if (n < 0) {
      if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) continue;
      return false;
    }
    sent += static_cast<size_t>(n);
  }
  return true;
}

bool TTcpConnection::ReadUntilClosed(std::string& out, size_t max, int64_t deadline) {
  char buffer[4096];
  while (out.size() < max) {
    if (fd_ < 0 || !WaitForSocket(fd_, POLLIN, deadline)) return false;
    const ssize_t n = recv(fd_, buffer, std::min(sizeof buffer, max - out.size()), 0);
    if (n == 0) return true;
    if (n < 0) {
      if (errno == EINTR || errno == EAGAIN || errno == EWOULDBLOCK) continue;
      return false;
    }
    out.append(buffer, static_cast<size_t>(n));
  }
  return true;
}
