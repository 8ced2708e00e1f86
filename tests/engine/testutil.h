// Helpers shared by the engine tests.
#pragma once
#include <atomic>
#include <condition_variable>
#include <deque>
#include <map>
#include <memory>
#include <mutex>
#include <string>
#include <thread>
#include <utility>
#include <vector>

#include "core/mekDialogs.h"
#include "net/mekresolve.h"

// Records the messages and questions of the items; answers questions with Answer.
// Installed for its lifetime.
class TRecordingDialogs : public TMekDialogs {
public:
  TRecordingDialogs();
  ~TRecordingDialogs() override;
  void ShowInfo(const std::string& message) override;
  bool AskYesNo(const std::string& question) override;

  bool Answer = true;
  std::vector<std::string> Messages;
  std::vector<std::string> Questions;

private:
  TMekDialogs* previous_;
};

// Fixes the clock at noon UTC of the given date (15 June by default) for the life of
// the object.
struct FNoonClock {
  explicit FNoonClock(int year, int month = 6, int day = 15);
  ~FNoonClock();
};

// Texts of up to maxPieces pieces drawn at random (a fixed linear congruential sequence
// from seed), for comparing an operation with a reference on many odd inputs.
class TRandomTexts {
public:
  TRandomTexts(std::vector<std::string> pieces, unsigned seed, unsigned maxPieces)
      : pieces_(std::move(pieces)), seed_(seed), maxPieces_(maxPieces) {}
  std::string Next() {
    std::string text;
    for (unsigned len = Draw() % (maxPieces_ + 1); len > 0; --len)
      text += pieces_[Draw() % pieces_.size()];
    return text;
  }

private:
  unsigned Draw() {
    seed_ = seed_ * 1103515245 + 12345;
    return seed_ >> 16;
  }
  std::vector<std::string> pieces_;
  unsigned seed_, maxPieces_;
};

// Replaces the resolver for the life of the object.
struct FResolverSwap {
  explicit FResolverSwap(FHostResolver r) { SetHostResolver(std::move(r)); }
  ~FResolverSwap() { SetHostResolver(nullptr); }
};

// A resolver that answers the names in Known at once and holds every other look-up until
// released, then answers 10.1.2.3; it notes every host it is asked for. It lives on the
// heap and is shared with its workers, so abandoned ones may finish after a test.
struct FGate {
  std::map<std::string, FIPv4Address> Known;  // filled before the resolver is installed
  std::mutex Lock;
  std::condition_variable Opened;
  bool Open = false;
  std::atomic<int> Calls{0};
  std::deque<std::string> Hosts;

  static FHostResolver Resolver(const std::shared_ptr<FGate>& gate) {
    return [gate](const std::string& host) -> std::optional<FIPv4Address> {
      ++gate->Calls;
      std::unique_lock<std::mutex> hold(gate->Lock);
      gate->Hosts.push_back(host);
      if (const auto known = gate->Known.find(host); known != gate->Known.end())
        return known->second;
      gate->Opened.wait(hold, [&] { return gate->Open; });
      return FIPv4Address{10, 1, 2, 3};
    };
  }
  void Release() {
    {
      std::lock_guard<std::mutex> hold(Lock);
      Open = true;
    }
    Opened.notify_all();
  }
};

// Waits (up to five seconds) until every look-up's worker has finished.
inline bool LookupWorkersDone() {
  for (int i = 0; i < 500 && PendingLookups() > 0; ++i)
    std::this_thread::sleep_for(std::chrono::milliseconds(10));
  return PendingLookups() == 0;
}
