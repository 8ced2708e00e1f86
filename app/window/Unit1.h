// The main window: input line, prompt label, item selector, keypad, the font and restore
// buttons and three link labels. Every calculation goes through the toolkit-free
// dispatcher; the window only moves texts between its controls and the dispatcher.
#pragma once
#include <QElapsedTimer>
#include <QLabel>
#include <QStringList>
#include <QWidget>
#include <functional>
#include <memory>
#include <string>

#include "app/engine/dispatcher.h"
#include "app/engine/mekhotkey.h"
#include "app/engine/typingtest.h"
#include "app/engine/updatecheck.h"
#include "core/mekstr.h"

class QComboBox;
class QFrame;
class QLineEdit;
class QPushButton;
class TReadTextService;
class TShortcutPortal;
class TXHotKeys;

// The prompt label: its text wraps within the label's width (a CJK text may break between
// any two characters), and the lines share the label's fixed height in equal bands. The
// CJK faces' line spacing is half again the pixel size, so two lines at that spacing would
// not fit in the label's 38 pixels; a band is at most the line spacing.
class TPromptLabel : public QLabel {
public:
  using QLabel::QLabel;

  // The text as laid out: each line of it (a carriage return or line feed starts a new
  // one), wrapped within the label's width.
  QStringList WrappedLines() const;
  // The height the laid-out text takes: its lines at the label's band, a band never
  // counted below the font's pixel size (glyphs closer than that would overlap).
  int TextHeight() const;
  // Where the lowest glyphs of the laid-out text end, from the label's top.
  int TextBottom() const;

protected:
  void paintEvent(QPaintEvent* event) override;

private:
  int Band(int lines) const;
};

class TForm1 : public QWidget {
  Q_OBJECT

public:
  explicit TForm1(QWidget* parent = nullptr);
  ~TForm1() override;

  // The window's caption, also the application title used by the error box.
  static const char* const Caption;
  // Registry location of the stored font.
  static const char* const FontRoot;
  static const char* const FontKey;
  static const char* const FontValue;

  // Shows the error box: error icon, application title as caption, message (GBK) with a
  // full stop appended when its last byte comes after ".".
  void ShowErrorBox(const std::string& message);
  // The text the error box shows for a message.
  static std::string ErrorBoxText(const std::string& message);

  // The font record of the input line.
  const FFont& Edit1Font() const { return edit1Font_; }
  void SetEdit1Font(const FFont& font);

  // Start-up steps that ran (the hotkey and the update check are skipped after a
  // malformed stored font).
  bool HotkeyRegistered() const { return hotkeyRegistered_; }
  bool UpdateCheckStarted() const { return updateCheckStarted_; }
  // Whether the update check's thread has handed its outcome to the window, and which.
  bool UpdateCheckEnded() const { return updateCheckEnded_; }
  TUpdateOutcome UpdateCheckOutcome() const { return updateOutcome_; }
  // The hotkey registry (F5), null before start-up registered it and after close.
  const TMekhotkey* Hotkeys() const { return hotkey_.get(); }
  // Whether the window has been closed (the program is ending).
  bool Closed() const { return closed_; }

  TDispatcher Calc;
  TTypingTest TypingTest;
  // How the link labels open their targets (target, parameters; both GBK): ShellOpen of
  // mekwindows, replaceable so that nothing is launched where that is not wanted.
  std::function<bool(const std::string&, const std::string&)> OpenLink;

  TPromptLabel* Label1 = nullptr;
  QLineEdit* Edit1 = nullptr;
  QPushButton* BitBtn1 = nullptr;
  QPushButton* BitBtn2 = nullptr;
  QLabel* Label2 = nullptr;
  QComboBox* ComboBox1 = nullptr;
  QFrame* Panel1 = nullptr;
  QLabel* Label3 = nullptr;
  QLabel* Label5 = nullptr;
  QLabel* Label4 = nullptr;
  QPushButton* Buttons[20] = {};  // Button1 .. Button20

protected:
  bool eventFilter(QObject* watched, QEvent* event) override;
  void closeEvent(QCloseEvent* event) override;
  void changeEvent(QEvent* event) override;

private:
  void BuildControls();
  // The fixed colours for the palette in force.
  void ApplyColours();
  // The places that follow the screen's scale and the input line's font.
  void PlaceControls();
  void FormCreate();
  void FormClose();
  void AppendChar(char c);  // Button1Click .. Button16Click, Button19Click
  void Button17Click();
  void Button18Click();
  void Button20Click();
  void ComboBox1Change(int index);
  // An item chosen in the selector, also the one already selected.
  void ComboBox1Chosen(int index);
  void BitBtn1Click();
  void BitBtn2Click();
  void Label3Click();
  void Label4Click();
  void Label5Click();
  bool FormKeyDown(QKeyEvent* event);
  bool FormKeyPress(QKeyEvent* event);
  // Item 40's progress: keeps the window painted and responsive during a long walk.
  void FolderProgress(const std::string& name, int code, bool& stop);
  // The network wait hook of "=": keeps the window painted and responsive during a wait;
  // true (abandon the wait) once the window is closed.
  bool NetworkWait();
  // Shows the wait text in the label and handles the window's pending events (painting,
  // moving, input); true when the window was closed meanwhile.
  bool HandleEventsWhileBusy(const QString& waitText);
  // The hotkey message: F5 with item 47 selected reads the text under the pointer.
  void WMHotKey(FHotKeyMessage& message);
  // F5 of item 47 on a Wayland desktop (the portal's shortcut, or `orvex --read-text`):
  // the text of the element that has the focus in another program.
  void ReadFocusedText();
  // Holds the portal's shortcut and the bus name while item 47 is selected on Wayland.
  void FollowReadTextWays();
  // The prompt label from the dispatcher's prompt; item 47 on Wayland tells how F5 works
  // there.
  void ShowPrompt();
  QString ReadTextPrompt() const;

  // Runs an event handler; a failure escaping it is shown in the error box.
  template <class F>
  void Guard(F&& handler);
  // Dispatcher state from the controls and back.
  void PullState();
  void PushState();
  void SetEdit1Gbk(const std::string& text);
  std::string Edit1Gbk() const;

  // Start-up steps that belong to later parts of the program.
  void CreateWubiLookup();
  void ReleaseWubiLookup();
  void RegisterHotkey();
  void ReleaseHotkey();
  void StartUpdateCheck();
  // On the window thread, when the update check's thread has ended.
  void UpdateCheckDone(TUpdateOutcome outcome);
  // Hands a link's address to OpenLink; an empty address opens nothing.
  void OpenAddress(const std::string& address);

  FFont edit1Font_;
  // The application title, shown as the error box's caption: the caption at start-up.
  QString applicationTitle_ = Caption;
  std::string pulledEdit1_;  // the input line as handed to the dispatcher
  int selectorIndex_ = -1;
  // The selector's change handler ran for the choice the selector is about to report.
  bool selectorChanged_ = false;
  // The selector's choice comes from Up, Down and the like in the closed selector.
  bool selectorMoving_ = false;
  // The Enter key now down was pressed in the input line (not in the selector or a box).
  bool enterDownInEdit1_ = false;
  bool hotkeyRegistered_ = false;
  bool updateCheckStarted_ = false;
  bool updateCheckEnded_ = false;
  TUpdateOutcome updateOutcome_ = TUpdateOutcome::NoVersionLine;
  bool closed_ = false;
  bool iconSet_ = false;
  bool equalsRunning_ = false;  // "=" is running (its wait or walk handles events)
  // Milliseconds between two rounds of the window's messages during item 40's walk.
  static constexpr int FolderPumpMs = 50;
  QElapsedTimer folderPump_;  // since the last round
  // The platform's hotkeys outlive the registry that registers with them.
  std::unique_ptr<TXHotKeys> hotkeyPlatform_;
  std::unique_ptr<TMekhotkey> hotkey_;
  // On a Wayland desktop instead of the X11 grab (null elsewhere).
  std::unique_ptr<TShortcutPortal> shortcutPortal_;
  std::unique_ptr<TReadTextService> readTextService_;
  bool readTextOn_ = false;  // item 47 is selected on Wayland: both ways are asked for
};
