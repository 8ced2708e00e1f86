// The two message boxes through which items talk to the user. The window shows modal
// boxes, the command line prints them, the tests record them.
#pragma once
#include <string>

class TMekDialogs {
public:
  virtual ~TMekDialogs() = default;
  // Information box, caption "提示", one OK button.
  virtual void ShowInfo(const std::string& message) = 0;
  // Question box, caption "提示", Yes and No; true exactly when the user chose Yes.
  virtual bool AskYesNo(const std::string& question) = 0;
};

// Installs the dialogs of the current front end; returns the previous one. With none
// installed, ShowInfo does nothing and AskYesNo answers No.
TMekDialogs* SetDialogs(TMekDialogs* dialogs);

void ShowInfo(const std::string& message);
bool AskYesNo(const std::string& question);
