#include "testutil.h"

#include "core/mekdatetime.h"

TRecordingDialogs::TRecordingDialogs() : previous_(SetDialogs(this)) {}
TRecordingDialogs::~TRecordingDialogs() { SetDialogs(previous_); }
void TRecordingDialogs::ShowInfo(const std::string& message) { Messages.push_back(message); }
bool TRecordingDialogs::AskYesNo(const std::string& question) {
  Questions.push_back(question);
  return Answer;
}

FNoonClock::FNoonClock(int year, int month, int day) {
  const double days = EncodeDate(year, month, day) - 25569.0;
  const int64_t ms = static_cast<int64_t>(days) * 86400000 + 12 * 3600000;
  SetClock([ms] { return ms; });
}
FNoonClock::~FNoonClock() { SetClock(nullptr); }
