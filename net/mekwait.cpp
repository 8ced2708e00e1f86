// The per-thread hook that network waits call between their slices.
#include "net/mekwait.h"

#include <utility>

namespace {

struct FWaitState {
  FNetworkWaitHook Hook;
  bool Running = false;    // inside the hook: a wait started from it does not re-enter it
  bool Abandoned = false;  // the hook has said stop since it was installed
};

FWaitState& State() {
  thread_local FWaitState state;
  return state;
}

}  // namespace

FNetworkWaitHook SetNetworkWaitHook(FNetworkWaitHook hook) {
  FWaitState& s = State();
  s.Abandoned = false;
  return std::exchange(s.Hook, std::move(hook));
}

bool NetworkWaitTick() {
  FWaitState& s = State();
  if (s.Abandoned) return true;
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

bool NetworkWaitAbandoned() { return State().Abandoned; }
