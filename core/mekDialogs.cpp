// Routes ShowInfo and AskYesNo to the dialogs of the current front end.
#include "core/mekDialogs.h"

namespace {
TMekDialogs* CurrentDialogs = nullptr;
}

TMekDialogs* SetDialogs(TMekDialogs* dialogs) {
  TMekDialogs* previous = CurrentDialogs;
  CurrentDialogs = dialogs;
  return previous;
}

void ShowInfo(const std::string& message) {
  if (CurrentDialogs) CurrentDialogs->ShowInfo(message);
}

bool AskYesNo(const std::string& question) {
  return CurrentDialogs ? CurrentDialogs->AskYesNo(question) : false;
}
