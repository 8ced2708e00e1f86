// A TCP client connection with every wait bounded and cut into slices: the connection,
// the sending and the reading wait at most until their deadlines, and poll in slices of at most NetworkWaitSliceMs,
// calling NetworkWaitTick between them; an abandoned wait ends as a failure. Used by the
// time-protocol client and the WHOIS client.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>

#include "net/mekresolve.h"

// Takes "host" or "host:port" apart; port keeps its value when none is given. False,
// changing nothing, for an empty host or a port that is not a number in 1..65535.
bool SplitHostPort(const std::string& address, std::string& host, int& port);

// Milliseconds on the monotonic clock: the time base of the deadlines below.
int64_t MonotonicMs();

// Waits until fd has one of events or deadline passes; false on time-out, on an
// abandoned wait (also one abandoned before this wait began) or a failed poll.
bool WaitForSocket(int fd, short events, int64_t deadline);

class TTcpConnection {
public:
  TTcpConnection() = default;
  ~TTcpConnection();
  TTcpConnection(const TTcpConnection&) = delete;
  TTcpConnection& operator=(const TTcpConnection&) = delete;

  // Connects to address on port by deadline; false (no connection) when the connection
  // is refused or the time is up. Once per object.
  bool Connect(const FIPv4Address& address, int port, int64_t deadline);
  // Sends all of bytes by deadline; false when it cannot.
  bool SendAll(const std::string& bytes, int64_t deadline);
  // Reads what arrives into out (appending, at most max bytes in all) until the peer
  // closes (true), or until out holds max bytes (true), or until an error or the deadline
  // (false).
  bool ReadUntilClosed(std::string& out, size_t max, int64_t deadline);

private:
  int fd_ = -1;
};
