// Helpers shared by the engine tests.
#pragma once
#include <string>
#include <vector>

#include "core/mekDialogs.h"

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
