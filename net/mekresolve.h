// Name resolution to one IPv4 address with a bound on the wait. The system resolver has
// no time-out of its own, so each look-up runs on a worker thread of its own; a caller
// that stops waiting leaves the worker to finish into state that only the worker still
// holds.
#pragma once
#include <array>
#include <functional>
#include <optional>
#include <string>

// Four bytes in network order (127.0.0.1 is {127, 0, 0, 1}).
using FIPv4Address = std::array<unsigned char, 4>;

// Resolves a host name, blocking for as long as it takes; nothing when it cannot.
using FHostResolver = std::function<std::optional<FIPv4Address>(const std::string& host)>;

// The longest wait for an answer of the resolver.
inline constexpr int ResolveTimeoutMs = 15000;
// Abandoned look-ups still running beyond which a new look-up fails at once, so a
// resolver that never answers cannot pile up threads.
inline constexpr int MaxPendingLookups = 8;

// The system resolver: getaddrinfo for IPv4 stream sockets, the first answer.
std::optional<FIPv4Address> SystemResolveIPv4(const std::string& host);

// Replaces the resolver used by ResolveIPv4 (nullptr restores the system resolver). A
// look-up already running keeps the resolver it started with.
void SetHostResolver(FHostResolver resolver);

// The first IPv4 address of host, or nothing when the resolver has none, fails, or has
// not answered within timeoutMs. The wait runs in slices of NetworkWaitSliceMs with
// NetworkWaitTick between them (net/mekwait.h); a tick that says stop ends it with
// nothing. An empty host, or a thread whose waits are abandoned, resolves to nothing
// without a look-up.
std::optional<FIPv4Address> ResolveIPv4(const std::string& host,
                                        int timeoutMs = ResolveTimeoutMs);

// Look-ups whose worker is still running, answered or abandoned.
int PendingLookups();

// "%d.%d.%d.%d".
std::string DottedAddress(const FIPv4Address& address);
