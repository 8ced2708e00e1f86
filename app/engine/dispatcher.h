// The "=" dispatcher: the state the window shows (input line, label, selector) and the
// actions on it, free of any toolkit, so the window, the command line and the tests
// drive the same code.
#pragma once
#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

#include "hanzi/mekWB.h"

class TDispatcher;

// An item handler reads Edit1Text, writes its result there or calls ShowInfo.
using FItemHandler = void (*)(TDispatcher& calc);

struct FItem {
  const char* Label;
  const char* Prompt;
  FItemHandler Handler;  // nullptr: "=" runs only the common steps
};

inline constexpr int ItemCount = 57;
// The selector's list, in order; indices count from 0.
const FItem& ItemAt(int index);

// Text shown at start-up.
extern const char* const StartLabelText;
// Text shown after every "=" when the maker's site (services.ini key "site", such as
// "https://orvex.example.org") is configured: "欢迎定做软件，orvex.example.org  请选择运算项目".
// The empty text for an empty site; "=" then leaves the label as it is.
std::string WelcomeText(const std::string& site);

class TDispatcher {
public:
  TDispatcher();

  // The controls' texts (GBK) and the selector's index (-1: nothing selected).
  std::string Edit1Text;
  std::string Label1Text;
  std::string LastInput;
  int ItemIndex = -1;

  // "=": normalise, keep LastInput, run the item's handler under a guard, then the
  // welcome text where the maker's site is configured.
  void Button20Click();
  // The selector changed to ItemIndex.
  void ComboBox1Change();
  // "B": the input of the last "=".
  void BitBtn2Click();

  // Turns "/", "\" and "-" in the input line into the date separator.
  void NormalizeDateInput();
  // A date read by the locale rules, or nothing when the text is not one.
  std::optional<double> ReadInputDate(const std::string& text) const;

  // Called by ComboBox1Change: step 1 with the new index before anything else (the
  // typing test goes idle unless it is 51), and after the prompt is shown for item 51
  // (arming the test). The window sets these; the command line leaves them empty.
  std::function<void(int)> OnSelectorIdle;
  std::function<void()> OnArmTypingTest;
  // Called by ComboBox1Change to give the input line the focus.
  std::function<void()> OnFocusInput;

  // Item 40: the running total of the folder walk in bytes, reset by each run, and whether
  // a walk is running; a second run of the item meanwhile changes nothing.
  int64_t FolderTotal = 0;
  bool FolderWalking = false;
  // Called with every progress report of item 40's walk (the name as the file system
  // spells it, the code of system/mekFindFile.h); setting stop ends the walk. The window
  // sets it to stay painted and responsive during a long walk; the command line leaves it
  // empty.
  std::function<void(const std::string& name, int code, bool& stop)> OnFolderProgress;

private:
  bool wubiAvailable_ = false;  // CreateWubiList has run, ReleaseWubiList not since
  bool wubiRead_ = false;       // the list has been read (or reading it failed)

public:

  // Folder of the read-only data files (beside the executables by default).
  std::string DataDir;

  // The Wubi list of item 38: one per window or command-line run, from
  // DataDir/QueryWB.dll. CreateWubiList makes it available; it is read on its first use
  // (Wubi()), not at start-up, so a run that never asks item 38 does not read 160 KB of it.
  // Wubi() is null before CreateWubiList, after ReleaseWubiList and when reading it
  // failed; item 38 then changes nothing.
  std::unique_ptr<TmekWB> WubiList;
  void CreateWubiList();
  void ReleaseWubiList();
  const TmekWB* Wubi();
};

// The folder of the running executable, or ORVEX_DATA_DIR when that is set.
std::string DefaultDataDir();
