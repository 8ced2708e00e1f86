#include "net/mektime.h"

#include <time.h>

#include <ctime>
#include <optional>

#include "core/mekdatetime.h"
#include "net/mekresolve.h"
#include "net/mektcp.h"

namespace {

constexpr int64_t SecondsPerDay = 86400;
constexpr int64_t EraSeconds = int64_t{1} << 32;
// 1900-01-01 to 1970-01-01.
constexpr int64_t UnixEpochSince1900 = 2208988800;

int64_t FloorDiv(int64_t a, int64_t b) { return a / b - ((a % b != 0) && ((a < 0) != (b < 0))); }

[[noreturn]] void Fail(const char* reason) { throw ETimeQueryError(reason); }

}  // namespace

bool TTimeClient::SetServer(const std::string& address) {
  int port = TimeProtocolPort;
  std::string host;
  if (!SplitHostPort(address, host, port)) return false;
  Host = host;
  Port = port;
  return true;
}

FTimeAnswer TTimeClient::Ask() const {
  const std::optional<FIPv4Address> address = ResolveIPv4(Host);
  if (!address) Fail("unknown host");
  TTcpConnection connection;
  if (!connection.Connect(*address, Port, MonotonicMs() + ConnectTimeout)) Fail("no connection");

  const int64_t start = MonotonicMs();
  std::string bytes;
  if (!connection.ReadUntilClosed(bytes, 4, start + Timeout)) Fail("no answer in time");
  if (bytes.size() < 4) Fail("answer too short");
  const auto byte = [&bytes](int i) { return uint32_t{static_cast<unsigned char>(bytes[i])}; };
  FTimeAnswer answer;
  answer.Seconds = (byte(0) << 24) | (byte(1) << 16) | (byte(2) << 8) | byte(3);
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
