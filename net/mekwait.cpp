// The per-thread hook that network waits call between their slices.
#include "net/mekwait.h"

#include <time.h>

#include <algorithm>
#include <utility>

namespace {

struct FWaitState {
  FNetworkWaitHook Hook;
  bool Running = false;    // inside the hook: a wait started from it does not re-enter it
  bool Abandoned = false;  // the hook has said stop since it was installed
  int64_t BoundMs = 0;     // the steady clock's time when all waits end; 0: none
};

FWaitState& State() {
  thread_local FWaitState state;
  return state;
}

int64_t SteadyNowMs() {
  timespec now{};
  clock_gettime(CLOCK_MONOTONIC, &now);
  return int64_t{now.tv_sec} * 1000 + now.tv_nsec / 1000000;
}

bool PastBound(const FWaitState& s) { return s.BoundMs != 0 && SteadyNowMs() >= s.BoundMs; }

}  // namespace

TNetworkWaitBound::TNetworkWaitBound(int64_t ms) : previous_(State().BoundMs) {
  const int64_t end = SteadyNowMs() + std::max<int64_t>(ms, 0);
  State().BoundMs = previous_ == 0 ? end : std::min(previous_, end);
}

TNetworkWaitBound::~TNetworkWaitBound() { State().BoundMs = previous_; }

FNetworkWaitHook SetNetworkWaitHook(FNetworkWaitHook hook) {
  FWaitState& s = State();
  s.Abandoned = false;
  return std::exchange(s.Hook, std::move(hook));
}

bool NetworkWaitTick() {
  FWaitState& s = State();
  if (s.Abandoned || PastBound(s)) return true;
  if (!s.Hook || s.Running) return false;
  s.Running = true;
  bool stop = false;
  try {
    stop = s.Hook();
  } catch (...) {
    stop = false;
  }
  s.Running = false;
  if (stop) s.Abandoned = true;
  return stop;
}

bool NetworkWaitAbandoned() { return State().Abandoned || PastBound(State()); }
