#include "testutil.h"

TRecordingDialogs::TRecordingDialogs() : previous_(SetDialogs(this)) {}
TRecordingDialogs::~TRecordingDialogs() { SetDialogs(previous_); }
void TRecordingDialogs::ShowInfo(const std::string& message) { Messages.push_back(message); }
bool TRecordingDialogs::AskYesNo(const std::string& question) {
  Questions.push_back(question);
  return Answer;
}
