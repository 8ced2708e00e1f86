// Waits on the network (a page, a name look-up, a time server, a registry) run in slices
// of at most NetworkWaitSliceMs. Between slices they call NetworkWaitTick, through which
// a front end keeps its window painted and answering, and may abandon the wait (the
// window is closing). The hook belongs to the thread that sets it: the update check's
// thread and the command line have none, and their waits run as before.
#pragma once
#include <cstdint>
#include <functional>

// The longest stretch a wait goes without calling NetworkWaitTick.
inline constexpr int NetworkWaitSliceMs = 50;

// Called between slices; returns true to abandon the wait, which then ends as a failure
// (no page, no address, no time), exactly as if the peer had not answered.
using FNetworkWaitHook = std::function<bool()>;

// Installs the hook of the calling thread (an empty one removes it); returns the previous.
FNetworkWaitHook SetNetworkWaitHook(FNetworkWaitHook hook);

// Runs the calling thread's hook; true when the wait should be abandoned. Without a hook,
// false. A hook that raises counts as false. A hook is never run from inside itself.
bool NetworkWaitTick();

// True while the calling thread's hook has asked to abandon waits and has not yet been
// replaced, or once the thread's bound (below) has passed: every later wait of the thread
// ends at once, so a handler that asks several services after each other does not start
// the next wait after the first was abandoned.
bool NetworkWaitAbandoned();

// One bound on all the waits of the calling thread while it lives: once ms milliseconds
// have passed, every wait ends at the next slice as abandoned, however many requests the
// handler makes one after the other. A bound set inside another keeps the earlier end.
// The dispatcher gives each "=" one.
class TNetworkWaitBound {
public:
  explicit TNetworkWaitBound(int64_t ms);
  ~TNetworkWaitBound();
  TNetworkWaitBound(const TNetworkWaitBound&) = delete;
  TNetworkWaitBound& operator=(const TNetworkWaitBound&) = delete;

private:
  int64_t previous_;
};
