// The time-protocol client (RFC 868 over TCP): the server sends the seconds since
// 1 January 1900 00:00 UTC as four bytes, big-endian, and closes. Every wait is bounded:
// the name look-up (ResolveTimeoutMs), the connection and the read (2.5 s each), each in
// slices of NetworkWaitSliceMs with NetworkWaitTick between them (net/mekwait.h); a tick
// that says stop fails the query like a server that does not answer.
#pragma once
#include <cstdint>
#include <string>

#include "core/mekerror.h"

// A query that gave no time: no server, an unknown host, no connection, fewer than four
// bytes in time, an answer of 0, or a local time the system cannot tell.
class ETimeQueryError : public EMekError {
public:
  using EMekError::EMekError;
};

inline constexpr int TimeProtocolPort = 37;
// The protocol's epoch, 1 January 1900 00:00, as a date-time value.
inline constexpr double TimeBaseDate = 2;

struct FTimeAnswer {
  uint32_t Seconds = 0;  // as the server sent them
  int64_t DelayMs = 0;   // the transit delay: half the milliseconds the read took
};

class TTimeClient {
public:
  std::string Host;  // a host name or dotted address
  int Port = TimeProtocolPort;
  int ConnectTimeout = 2500;  // milliseconds for the connection to be made
  int Timeout = 2500;         // milliseconds for the four bytes to arrive

  // Takes "host" or "host:port". False, changing nothing, for an empty text, an empty
  // host or a port that is not a number in 1..65535.
  bool SetServer(const std::string& address);

  // Connects, reads the four bytes and closes; raises ETimeQueryError.
  FTimeAnswer Ask() const;
  // The server's time now as a local date-time value (TimeAnswerToDateTime on the
  // current instant); raises ETimeQueryError.
  double DateTime() const;
};

// The local date-time value of an answer. The 32-bit count wraps every 2^32 seconds
// (about 136 years, first on 7 February 2036), so it is read in the era that puts it
// nearest nowUnixMs (never before 1900); the delay's whole seconds are added, and the
// offset from UTC is the system time zone's at that instant. An answer of 0, or an
// instant the system cannot convert, raises ETimeQueryError.
double TimeAnswerToDateTime(const FTimeAnswer& answer, int64_t nowUnixMs);
