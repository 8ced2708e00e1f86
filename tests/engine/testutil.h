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
