#include "net/mekresolve.h"

#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <atomic>
#include <condition_variable>
#include <cstdio>
#include <cstring>
#include <memory>
#include <mutex>
#include <thread>

#include "net/mekwait.h"

namespace {

// One look-up, shared by the caller and its worker: whichever lets go last frees it.
struct FLookup {
  std::mutex Lock;
  std::condition_variable Done;
  bool Finished = false;
  std::optional<FIPv4Address> Answer;
};

std::mutex ResolverLock;
FHostResolver& CurrentResolver() {
  static FHostResolver resolver;
  return resolver;
}

// Trivially destructible, so a worker outliving main still finds it intact.
std::atomic<int> Pending{0};

FHostResolver ResolverInUse() {
  std::lock_guard<std::mutex> hold(ResolverLock);
  const FHostResolver& r = CurrentResolver();
  return r ? r : FHostResolver(SystemResolveIPv4);
}

// The worker owns copies of everything it reads: the caller may have returned, and the
// process may be ending, by the time the resolver answers.
void RunLookup(std::shared_ptr<FLookup> lookup, FHostResolver resolver, std::string host) {
  std::optional<FIPv4Address> answer;
  try {
    answer = resolver(host);
  } catch (...) {
    answer.reset();
  }
  {
    std::lock_guard<std::mutex> hold(lookup->Lock);
    lookup->Answer = answer;
    lookup->Finished = true;
  }
  lookup->Done.notify_all();
  Pending.fetch_sub(1);
}

}  // namespace

std::optional<FIPv4Address> SystemResolveIPv4(const std::string& host) {
  addrinfo hints{};
  hints.ai_family = AF_INET;
  hints.ai_socktype = SOCK_STREAM;
  addrinfo* found = nullptr;
  if (getaddrinfo(host.c_str(), nullptr, &hints, &found) != 0 || found == nullptr)
    return std::nullopt;
  std::optional<FIPv4Address> answer;
  for (const addrinfo* a = found; a && !answer; a = a->ai_next) {
    if (a->ai_family != AF_INET || a->ai_addr == nullptr) continue;
    const auto* in = reinterpret_cast<const sockaddr_in*>(a->ai_addr);
    FIPv4Address bytes;
    std::memcpy(bytes.data(), &in->sin_addr.s_addr, 4);
    answer = bytes;
  }
  freeaddrinfo(found);
  return answer;
}

void SetHostResolver(FHostResolver resolver) {
  std::lock_guard<std::mutex> hold(ResolverLock);
  CurrentResolver() = std::move(resolver);
}

std::optional<FIPv4Address> ResolveIPv4(const std::string& host, int timeoutMs) {
  if (host.empty() || NetworkWaitAbandoned()) return std::nullopt;
  if (Pending.fetch_add(1) >= MaxPendingLookups) {
    Pending.fetch_sub(1);
    return std::nullopt;
  }
  auto lookup = std::make_shared<FLookup>();
  try {
    std::thread(RunLookup, lookup, ResolverInUse(), host).detach();
  } catch (...) {
    Pending.fetch_sub(1);
    return std::nullopt;
  }
  // The steady clock: a change of the wall clock neither shortens nor stretches the wait.
  const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  std::unique_lock<std::mutex> hold(lookup->Lock);
  for (;;) {
    const auto left = deadline - std::chrono::steady_clock::now();
    if (left <= std::chrono::steady_clock::duration::zero()) return std::nullopt;
    const auto slice = std::min<std::chrono::steady_clock::duration>(
        left, std::chrono::milliseconds(NetworkWaitSliceMs));
    if (lookup->Done.wait_for(hold, slice, [&] { return lookup->Finished; }))
      return lookup->Answer;
    // The hook runs without the look-up's lock, which the worker needs to finish.
    hold.unlock();
    const bool stop = NetworkWaitTick();
    hold.lock();
    if (stop) return std::nullopt;
  }
}

int PendingLookups() { return Pending.load(); }

std::string DottedAddress(const FIPv4Address& address) {
  char text[16];
  std::snprintf(text, sizeof text, "%d.%d.%d.%d", address[0], address[1], address[2], address[3]);
  return text;
}
