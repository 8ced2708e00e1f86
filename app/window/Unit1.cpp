#include "app/window/Unit1.h"

#include <QApplication>

#include <algorithm>
#include <QCloseEvent>
#include <QComboBox>
#include <QCursor>
#include <QFrame>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLibraryInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPainter>
#include <QPointer>
#include <QPushButton>
#include <QTextLayout>
#include <QTextOption>
#include <QTimer>
#include <QTranslator>

#include <thread>
#include <utility>

#include "app/engine/mekreg.h"
#include "orvex_version.h"
#include "app/window/fontdialog.h"
#include "app/window/mekoleacc.h"
#include "app/window/mekwindows.h"
#include "app/window/qtfont.h"
#include "app/window/readtext.h"
#include "app/window/windowlook.h"
#include "app/window/xhotkey.h"
#include "core/codepage.h"
#include "core/mekDialogs.h"
#include "core/mekerror.h"
#include "core/mekrandom.h"
#include "core/mekstr.h"
#include "net/mekservices.h"
#include "net/mekwait.h"

// The icon's resource lives in the window's static library, which nothing else would pull
// in: named here, it is linked into every program with the window.
static void InitWindowResources() { Q_INIT_RESOURCE(orvex); }

// This file builds QStrings from UTF-8 literals: it must not be compiled to GBK.
static_assert(sizeof("宋") == 4, "window sources need -fexec-charset=UTF-8");

namespace {

QString FromGbk(const std::string& gbk) { return QString::fromStdString(GbkToUtf8(gbk)); }
std::string ToGbk(const QString& text) { return Utf8ToGbk(text.toStdString()); }

// The label shows the carriage return of a prompt as a line break.
QString LabelText(const std::string& gbk) {
  QString s = FromGbk(gbk);
  s.replace("\r\n", "\n");
  s.replace('\r', '\n');
  return s;
}

// Qt's own texts (the message boxes' standard buttons, the input line's menu) in Chinese,
// whatever the system's locale: the program speaks Chinese throughout. Loaded once for the
// application; without Debian's translations of Qt they stay English.
void LoadQtChinese() {
  static QPointer<QTranslator> translator;
  if (translator) return;
  translator = new QTranslator(qApp);
  if (translator->load("qtbase_zh_CN", QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
    QApplication::installTranslator(translator);
}

// The message boxes through which the items talk to the user: each a child of the main
// window, centred over it, which has the focus back when the box closes (also when another
// box follows at once). Once the window is closed the program is ending: an item that
// finishes after that (its network wait abandoned) shows no box and is answered No.
class TWindowDialogs : public TMekDialogs {
public:
  QPointer<TForm1> Form;

  void ShowInfo(const std::string& message) override {
    if (Form && Form->Closed()) return;
    Show(QMessageBox::Information, message, QMessageBox::Ok);
  }
  bool AskYesNo(const std::string& question) override {
    if (Form && Form->Closed()) return false;
    return Show(QMessageBox::Question, question, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
  }

private:
  int Show(QMessageBox::Icon icon, const std::string& text, QMessageBox::StandardButtons buttons) {
    QWidget* parent = Form ? static_cast<QWidget*>(Form.data()) : QApplication::activeWindow();
    const QPointer<QWidget> focus = QApplication::focusWidget();
    QMessageBox box(icon, "提示", FromGbk(text), buttons, parent);
    const int answer = box.exec();
    if (Form && !Form->Closed()) {
      Form->activateWindow();
      if (focus && focus->window() == Form) focus->setFocus();
    }
    return answer;
  }
};

TWindowDialogs windowDialogs;

const QColor Purple(0x80, 0x00, 0x80);
const QColor Red(0xFF, 0x00, 0x00);
const QColor Blue(0x00, 0x00, 0xFF);

struct FKey {
  const char* Caption;
  const char* Hint;
  const char* Name;  // what a screen reader says: what the key does
  int Left, Top;
  char Inserts;  // 0: backspace, clear or "="
};

const FKey Keypad[20] = {
    {"1", "1", "1", 19, 5, '1'},                {"2", "2", "2", 83, 4, '2'},
    {"3", "3", "3", 148, 5, '3'},               {"4", "4", "4", 18, 63, '4'},
    {"5", "5", "5", 83, 62, '5'},               {"6", "6", "6", 148, 63, '6'},
    {"7", "7", "7", 18, 121, '7'},              {"8", "8", "8", 83, 121, '8'},
    {"9", "9", "9", 148, 121, '9'},             {"0", "0", "0", 18, 180, '0'},
    {"(", "左括号", "左括号", 83, 180, '('},    {")", "右括号", "右括号", 148, 180, ')'},
    {"+", "加", "加", 231, 8, '+'},             {"－", "减", "减", 231, 65, '-'},
    {"×", "乘", "乘", 231, 122, '*'},           {"÷", "除", "除", 231, 179, '/'},
    {"←", "退格键", "退格", 310, 9, 0},         {"C", "清除", "清除", 310, 66, 0},
    {".", "小数点", "小数点", 310, 123, '.'},   {"=", "计算", "等于", 309, 177, 0},
};
constexpr int KeyWidth = 51, KeyHeight = 48;
// The keypad panel and the height of the input line at scale 1 with the default font.
const QRect PanelAtScaleOne(8, 117, 386, 234);
constexpr int Edit1Top = 44, Edit1BaseHeight = 24;

void SetTextColor(QWidget* w, QPalette::ColorRole role, const QColor& c) {
  QPalette p = w->palette();
  p.setColor(role, c);
  w->setPalette(p);
}

bool IsEnter(int key) { return key == Qt::Key_Return || key == Qt::Key_Enter; }

// Events by which the user changes something: keys, buttons, the wheel, input methods,
// context menus.
bool IsInputEvent(QEvent::Type type) {
  switch (type) {
    case QEvent::KeyPress: case QEvent::KeyRelease: case QEvent::ShortcutOverride:
    case QEvent::MouseButtonPress: case QEvent::MouseButtonRelease:
    case QEvent::MouseButtonDblClick: case QEvent::Wheel: case QEvent::InputMethod:
    case QEvent::ContextMenu: case QEvent::TouchBegin: case QEvent::TouchUpdate:
    case QEvent::TouchEnd: case QEvent::Drop:
      return true;
    default:
      return false;
  }
}

}  // namespace

// A line that does not fit breaks after the last comma or blank that still fits, so that
// 平方米 and 平方厘米 stay whole; only where none lies in the line does it break between
// any two characters.
QStringList TPromptLabel::WrappedLines() const {
  static const QString BreakAfter = QStringLiteral(",，、;；:： ");
  const QFontMetrics metrics(font());
  QStringList lines;
  for (QString rest : text().split('\n')) {
    if (rest.isEmpty()) lines << QString();
    while (!rest.isEmpty()) {
      if (metrics.horizontalAdvance(rest.trimmed()) <= width()) {  // the usual case: it fits
        lines << rest;
        break;
      }
      int fits = 0;
      while (fits < rest.size() && metrics.horizontalAdvance(rest.left(fits + 1).trimmed()) <= width()) ++fits;
      if (fits == rest.size()) {
        lines << rest;
        break;
      }
      if (fits == 0) fits = 1;  // one character wider than the label still takes a line
      int cut = fits;
      for (int i = fits; i > 0; --i)
        if (BreakAfter.contains(rest.at(i - 1))) {
          cut = i;
          break;
        }
      lines << rest.left(cut);
      rest = rest.mid(cut);
    }
  }
  return lines;
}

// The lines share the label's height less three pixels (the label reaches one pixel into
// the input line's frame), so that the last line's commas stay clear of that frame.
int TPromptLabel::Band(int lines) const {
  return std::min(QFontMetrics(font()).lineSpacing(), (height() - 3) / std::max(2, lines));
}

int TPromptLabel::TextBottom() const {
  const int lines = WrappedLines().size();
  const int band = Band(lines);
  const QFontMetrics metrics(font());
  return (lines - 1) * band + std::min(metrics.ascent(), band * 4 / 5) + metrics.descent();
}

int TPromptLabel::TextHeight() const {
  const int lines = WrappedLines().size();
  return lines * std::max(Band(lines), QFontInfo(font()).pixelSize());
}

void TPromptLabel::paintEvent(QPaintEvent*) {
  const QStringList lines = WrappedLines();
  QPainter painter(this);
  painter.setFont(font());
  painter.setPen(palette().color(QPalette::WindowText));
  const int band = Band(lines.size());
  // Glyphs of a CJK face stand about 0.88 of the pixel size above the baseline; the
  // baseline sits four fifths down each band, leaving room for the commas below it.
  const int rise = std::min(QFontMetrics(font()).ascent(), band * 4 / 5);
  for (int i = 0; i < lines.size(); ++i) painter.drawText(0, i * band + rise, lines[i]);
}

// "Orvex V4.0" for release 4.0.
const char* const TForm1::Caption = "Orvex V" ORVEX_VERSION;
const char* const TForm1::FontRoot = "HKEY_CURRENT_USER";
const char* const TForm1::FontKey = "Software\\Vorlan\\mekcalc";
const char* const TForm1::FontValue = "font";

TForm1::TForm1(QWidget* parent)
    : QWidget(parent, Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint),
      OpenLink(ShellOpen) {
  SetDialogs(&windowDialogs);
  windowDialogs.Form = this;
  edit1Font_ = DefaultFont();
  BuildControls();
  Calc.OnSelectorIdle = [this](int) { TypingTest.SetIdle(); };
  Calc.OnArmTypingTest = [this] { TypingTest.Arm(); };
  // The input line takes the focus when an item is chosen (ComboBox1Chosen), not on every
  // change of the selector: Up and Down, or typing a label, keep the keyboard there.
  Calc.OnFolderProgress = [this](const std::string& name, int code, bool& stop) {
    FolderProgress(name, code, stop);
  };
  // Key preview, Enter released in the input line, the links' clicks and painting.
  qApp->installEventFilter(this);
  FormCreate();
}

TForm1::~TForm1() {
  qApp->removeEventFilter(this);
  if (!closed_) FormClose();
}

void TForm1::BuildControls() {
  setWindowTitle(Caption);

  setFixedSize(407, 384);
  move(278, 142);
  // "宋体" is kept as the font's name; a Song-style face stands in for it.
  QFont::insertSubstitutions("宋体", {"Noto Serif CJK SC", "AR PL UMing CN", "Noto Sans CJK SC"});
  QFont font(InstalledFamily("宋体"));
  font.setPixelSize(16);
  // The application's font too: a box without a parent speaks in it, and an input line lays
  // out its empty text in the application's font while it is made, which would otherwise
  // load the system's default face only to drop it.
  QApplication::setFont(font);
  setFont(font);
  setAttribute(Qt::WA_AlwaysShowToolTips);

  Label1 = new TPromptLabel(LabelText(Calc.Label1Text), this);
  Label1->setObjectName("Label1");
  // From the input line's left edge to the selector's right edge: item 45's first line,
  // "…港元,台币,", just fits.
  Label1->setGeometry(9, 7, 388, 38);
  Label1->setAlignment(Qt::AlignLeft | Qt::AlignTop);

  Edit1 = new QLineEdit(this);
  Edit1->setObjectName("Edit1");
  Edit1->setGeometry(9, Edit1Top, 386, Edit1BaseHeight);
  Edit1->setToolTip("输入计算内容");
  Edit1->setAccessibleName(Label1->text());

  BitBtn1 = new QPushButton("T", this);
  BitBtn1->setObjectName("BitBtn1");
  BitBtn1->setGeometry(12, 81, 23, 22);
  BitBtn1->setToolTip("设置字体");
  BitBtn1->setAccessibleName("字体");
  connect(BitBtn1, &QPushButton::clicked, this, [this] { Guard([this] { BitBtn1Click(); }); });

  BitBtn2 = new QPushButton("B", this);
  BitBtn2->setObjectName("BitBtn2");
  BitBtn2->setGeometry(45, 81, 23, 22);
  BitBtn2->setToolTip("返回计算前内容");
  BitBtn2->setAccessibleName("恢复上次输入");
  connect(BitBtn2, &QPushButton::clicked, this, [this] { Guard([this] { BitBtn2Click(); }); });

  Label2 = new QLabel("选项 ", this);
  Label2->setObjectName("Label2");
  Label2->setGeometry(132, 85, 40, 16);

  ComboBox1 = new QComboBox(this);
  ComboBox1->setObjectName("ComboBox1");
  ComboBox1->setGeometry(181, 78, 216, 24);
  ComboBox1->setEditable(true);
  ComboBox1->setInsertPolicy(QComboBox::NoInsert);
  ComboBox1->setToolTip("选择计算项目");
  ComboBox1->setAccessibleName("选项");
  Label2->setBuddy(ComboBox1);
  ComboBox1->setMaxVisibleItems(8);
  QStringList labels;  // added in one go: one insertion into the list, not 57
  for (int i = 0; i < ItemCount; ++i) labels << FromGbk(ItemAt(i).Label);
  ComboBox1->addItems(labels);
  ComboBox1->setCurrentIndex(-1);
  // A change of the selection runs the change handler at once (also one made by the
  // program); a choice of the item already selected is reported only as chosen.
  connect(ComboBox1, &QComboBox::currentIndexChanged, this, [this](int index) {
    selectorChanged_ = true;
    Guard([this, index] { ComboBox1Change(index); });
  });
  connect(ComboBox1, &QComboBox::activated, this,
          [this](int index) { Guard([this, index] { ComboBox1Chosen(index); }); });
  // Text typed into the selector selects the item of that label, or none.
  connect(ComboBox1->lineEdit(), &QLineEdit::textEdited, this, [this](const QString& text) {
    Guard([this, text] { ComboBox1Change(ComboBox1->findText(text, Qt::MatchExactly)); });
  });

  Panel1 = new QFrame(this);
  Panel1->setObjectName("Panel1");
  Panel1->setGeometry(PanelAtScaleOne);
  Panel1->setFrameStyle(QFrame::Panel | QFrame::Sunken);

  for (int i = 0; i < 20; ++i) {
    const FKey& k = Keypad[i];
    QPushButton* b = new QPushButton(k.Caption, Panel1);
    b->setObjectName(QString("Button%1").arg(i + 1));
    b->setGeometry(k.Left, k.Top, KeyWidth, KeyHeight);
    b->setToolTip(k.Hint);
    b->setAccessibleName(k.Name);
    Buttons[i] = b;
    if (k.Inserts) {
      const char c = k.Inserts;
      connect(b, &QPushButton::clicked, this, [this, c] { Guard([this, c] { AppendChar(c); }); });
    }
  }
  connect(Buttons[16], &QPushButton::clicked, this, [this] { Guard([this] { Button17Click(); }); });
  connect(Buttons[17], &QPushButton::clicked, this, [this] { Guard([this] { Button18Click(); }); });
  connect(Buttons[19], &QPushButton::clicked, this, [this] { Guard([this] { Button20Click(); }); });

  struct FLink {
    QLabel*& Label;
    const char* Name;
    const char* Text;
    int Left, Top, Width;
  } links[] = {{Label3, "Label3", "下载最新版本", 18, 356, 96},
               {Label5, "Label5", "联系作者", 157, 356, 64},
               {Label4, "Label4", "定做软件咨询", 274, 357, 96}};
  for (FLink& l : links) {
    l.Label = new QLabel(l.Text, this);
    l.Label->setObjectName(l.Name);
    l.Label->setGeometry(l.Left, l.Top, l.Width, 16);
    QFont f = l.Label->font();
    f.setUnderline(true);
    l.Label->setFont(f);
    // Reached with Tab and opened with Enter or Space, as a link is.
    l.Label->setFocusPolicy(Qt::StrongFocus);
    l.Label->setAccessibleName(l.Text);
  }
  ApplyColours();
  PlaceControls();

  // Tab order: the input line first, then the small buttons, the selector, the keypad.
  QWidget* order[] = {Edit1, BitBtn1, BitBtn2, ComboBox1};
  for (size_t i = 0; i + 1 < std::size(order); ++i) setTabOrder(order[i], order[i + 1]);
  setTabOrder(ComboBox1, Buttons[0]);
  for (int i = 0; i + 1 < 20; ++i) setTabOrder(Buttons[i], Buttons[i + 1]);
  setTabOrder(Buttons[19], Label3);
  setTabOrder(Label3, Label5);
  setTabOrder(Label5, Label4);
  Edit1->setFocus();
}

// The fixed colours of "T", "B", "←", "C" and the links, as the window has always had
// them on a light palette; on a dark one lighter shades of them that stand out from the
// window and the keys by at least 4.5:1, the links in the palette's own link colour.
void TForm1::ApplyColours() {
  const QPalette& p = palette();
  const QColor window = p.color(QPalette::Window), face = p.color(QPalette::Button);
  SetTextColor(BitBtn1, QPalette::ButtonText, ReadableShade(Purple, window, face));
  for (QPushButton* b : {BitBtn2, Buttons[16], Buttons[17]})
    SetTextColor(b, QPalette::ButtonText, ReadableShade(Red, window, face));
  const QColor link = IsDarkBackground(window) ? ReadableShade(p.color(QPalette::Link), window, window)
                                               : Blue;
  for (QLabel* l : {Label3, Label4, Label5}) SetTextColor(l, QPalette::WindowText, link);
}

// The places that depend on the screen's scale and the input line's font: at fractional
// scales the keypad on whole device pixels; the input line as tall as its font needs,
// everything below it moved down by as much and the window grown with it. At scale 1
// with the default font, the layout the window has always had.
void TForm1::PlaceControls() {
  const double ratio = devicePixelRatioF();
  Panel1->setGeometry(PanelRect(PanelAtScaleOne, ratio));
  for (int i = 0; i < 20; ++i)
    Buttons[i]->setGeometry(KeyRect(i, QRect(Keypad[i].Left, Keypad[i].Top, KeyWidth, KeyHeight), ratio));
  // A character's em square (the Chinese characters' whole glyph) and a quarter of it for
  // the Latin letters' ascenders and descenders, inside the frame: 24 pixels at the
  // default 16-pixel font, as the window has always had.
  const int pixels = QFontInfo(Edit1->font()).pixelSize();
  const int height = std::max(Edit1BaseHeight, (pixels * 5 + 3) / 4 + 4);
  const int grown = height - Edit1BaseHeight;
  Edit1->setGeometry(Edit1->x(), Edit1Top, Edit1->width(), height);
  for (QWidget* w : std::initializer_list<QWidget*>{BitBtn1, BitBtn2, Label2, ComboBox1, Panel1, Label3, Label4, Label5}) {
    if (!w->property("topAtScaleOne").isValid()) w->setProperty("topAtScaleOne", w->y());
    w->move(w->x(), w->property("topAtScaleOne").toInt() + grown);
  }
  setFixedSize(407, 384 + grown);
}

void TForm1::FormCreate() {
  // 1.
  Calc.LastInput.clear();
  // 2. A failure here only leaves the Wubi lookup absent.
  try {
    Randomize();
    // The application title is kept here, not as Qt's display name, which Qt would
    // append to every caption the window shows.
    applicationTitle_ = windowTitle();
    LoadQtChinese();
    CreateWubiLookup();
  } catch (...) {
  }
  // 3. The stored font; a malformed one ends start-up here.
  try {
    std::string text;
    RegReadString(FontRoot, FontKey, FontValue, text);
    if (!text.empty()) {
      FFont font = edit1Font_;
      try {
        StringToFont(text, font);
      } catch (...) {
        SetEdit1Font(font);  // the fields read before the fault stay applied
        // Whichever field is damaged, the user is told the same thing in Chinese.
        throw EMekError(FontFormatMessage);
      }
      SetEdit1Font(font);
    }
  } catch (const std::exception& e) {
    ShowErrorBox(e.what());
    return;
  }
  // 4.
  RegisterHotkey();
  // 5.
  StartUpdateCheck();
}

void TForm1::FormClose() {
  closed_ = true;
  ReleaseWubiLookup();
  ReleaseHotkey();
}

void TForm1::closeEvent(QCloseEvent* event) {
  if (!closed_) FormClose();
  event->accept();
}

// The Wubi list of item 38 lives as long as the window; a list that cannot be created
// stays absent.
void TForm1::CreateWubiLookup() { Calc.CreateWubiList(); }
void TForm1::ReleaseWubiLookup() { Calc.ReleaseWubiList(); }

// F5 for item 47. The registry and its entry live as long as the window; the key itself
// is taken from other programs only while item 47 is selected (ComboBox1Change), so
// they keep their F5 the rest of the time. Without an X display there are no hotkeys.
void TForm1::RegisterHotkey() {
  hotkeyPlatform_ = TXHotKeys::Open([this](FHotKeyMessage& message) { WMHotKey(message); });
  hotkey_ = std::make_unique<TMekhotkey>(hotkeyPlatform_.get());
  hotkey_->SetActive(selectorIndex_ == 47);
  hotkey_->AddHotKey(winId(), false, false, false, false, VK_F5);
  hotkeyRegistered_ = true;
  // A Wayland client can neither grab a key nor learn where the pointer is: F5 comes from
  // the desktop (FollowReadTextWays) and reads the focused element instead.
  if (QGuiApplication::platformName().startsWith("wayland") &&
      qEnvironmentVariableIsSet("WAYLAND_DISPLAY")) {
    shortcutPortal_ = std::make_unique<TShortcutPortal>();
    connect(shortcutPortal_.get(), &TShortcutPortal::StateChanged, this, [this] { ShowPrompt(); });
    connect(shortcutPortal_.get(), &TShortcutPortal::Activated, this, [this] { ReadFocusedText(); });
    readTextService_ = std::make_unique<TReadTextService>([this] { ReadFocusedText(); });
    FollowReadTextWays();
  }
}

void TForm1::ReleaseHotkey() {
  FollowReadTextWays();  // the window is closed: both ways are released
  if (shortcutPortal_) shortcutPortal_->disconnect(this);
  shortcutPortal_.reset();
  readTextService_.reset();
  hotkey_.reset();
  hotkeyPlatform_.reset();
  hotkeyRegistered_ = false;
}

void TForm1::FollowReadTextWays() {
  const bool on = shortcutPortal_ && selectorIndex_ == 47 && !closed_;
  if (on == readTextOn_) return;
  readTextOn_ = on;
  if (on) {
    readTextService_->Open();
    shortcutPortal_->Open();
  } else {
    shortcutPortal_->Close();
    readTextService_->Close();
  }
}

// Which way applies: the portal's shortcut (the desktop asks the user once to confirm the
// key), else the command the user binds to F5, else none.
QString TForm1::ReadTextPrompt() const {
  switch (shortcutPortal_->State()) {
    case TShortcutPortal::TState::Bound: {
      const QString trigger = shortcutPortal_->Trigger();
      return QString("提取时按%1").arg(trigger.isEmpty() ? QString("F5") : trigger);
    }
    case TShortcutPortal::TState::Off:
    case TShortcutPortal::TState::Binding:
      return "提取时按F5，桌面第一次会请您确认这个快捷键";
    case TShortcutPortal::TState::Unavailable:
      break;
  }
  if (readTextService_->IsOpen())
    return "请在桌面的键盘快捷键设置中把F5设为命令 orvex --read-text，提取时按F5";
  return "无法提取：桌面不提供全局快捷键，也无法接收 orvex --read-text";
}

void TForm1::ShowPrompt() {
  // The dispatcher's prompt of item 47 names F5 as the X11 grab takes it.
  const bool wayland47 = readTextOn_ && Calc.Label1Text == ItemAt(47).Prompt;
  Label1->setText(wayland47 ? ReadTextPrompt() : LabelText(Calc.Label1Text));
  // A screen reader names the input line after the prompt it shows.
  Edit1->setAccessibleName(QString(Label1->text()).replace('\n', ' '));
}

void TForm1::ReadFocusedText() {
  // As F5 on X11: a failure leaves the input line empty and shows nothing; while "=" waits
  // the input line is not touched.
  try {
    if (equalsRunning_ || selectorIndex_ != 47) return;
    Edit1->clear();
    const FAccAnswer answer = AccFocusedTextAnswer(AccFocusedObject());
    if (answer.Status == TAccStatus::Ok) SetEdit1Gbk(Utf8ToGbk(answer.Utf8));
  } catch (...) {
  }
}

void TForm1::WMHotKey(FHotKeyMessage& message) {
  // Nothing here shows a message; a failure leaves the input line as it is by then. While
  // "=" waits the input line is not touched.
  try {
    if (equalsRunning_ || !hotkey_ || hotkey_->HotKeyIndex(message) != 1) return;
    if (selectorIndex_ != 47) return;
    int x = 0, y = 0;
    if (!hotkeyPlatform_ || !hotkeyPlatform_->PointerPosition(x, y)) {
      const QPoint p = QCursor::pos();
      x = p.x();
      y = p.y();
    }
    Edit1->clear();
    const TAccObject object = AccObjectFromPoint(x, y);
    if (!object) return;
    const std::string name = AccPropertyText(object, CHILDID_SELF, TAccProperty::Name);
    std::optional<std::string> value;
    try {
      value = AccPropertyText(object, CHILDID_SELF, TAccProperty::Value);
    } catch (...) {
    }
    SetEdit1Gbk(PointerTextLine(name, value));
  } catch (...) {
  }
}

// The check runs once on a thread of its own that the window neither waits for nor keeps:
// it ends by itself or with the program. Where it looks is read here, so the thread
// touches neither the environment nor the window; its outcome comes back as a queued
// call that runs on the window thread and leaves a window destroyed meanwhile alone.
// A thread that cannot be started leaves the window without the check.
void TForm1::StartUpdateCheck() {
  try {
    std::thread([place = ConfiguredUpdatePlace(), self = QPointer<TForm1>(this)]() mutable {
      const TUpdateOutcome outcome = UpdateCheck(place);
      if (QCoreApplication* app = QCoreApplication::instance())
        QMetaObject::invokeMethod(
            app, [self = std::move(self), outcome] { if (self) self->UpdateCheckDone(outcome); },
            Qt::QueuedConnection);
    }).detach();
    updateCheckStarted_ = true;
  } catch (const std::system_error&) {
  }
}

void TForm1::UpdateCheckDone(TUpdateOutcome outcome) {
  updateCheckEnded_ = true;
  updateOutcome_ = outcome;
  // The notice stays until the program ends.
  if (outcome == TUpdateOutcome::NewVersion) setWindowTitle(FromGbk(UpdateNotice));
}

template <class F>
void TForm1::Guard(F&& handler) {
  try {
    handler();
  } catch (const std::exception& e) {
    ShowErrorBox(e.what());
  } catch (...) {
    ShowErrorBox("Unknown failure");
  }
}

std::string TForm1::ErrorBoxText(const std::string& message) {
  // An English sentence gets its full stop; a Chinese one (ending in a double-byte
  // character) is shown as it stands, since "." after Chinese text reads as a stray dot.
  const unsigned char last = message.empty() ? 0 : static_cast<unsigned char>(message.back());
  if (last > '.' && last < 0x80) return message + ".";
  return message;
}

void TForm1::ShowErrorBox(const std::string& message) {
  QMessageBox box(QMessageBox::Critical, applicationTitle_, FromGbk(ErrorBoxText(message)),
                  QMessageBox::Ok, isVisible() ? this : nullptr);
  box.exec();
}

void TForm1::SetEdit1Font(const FFont& font) {
  edit1Font_ = font;
  Edit1->setFont(ToQFont(font));
  QPalette p = palette();  // a system colour: the window's own text colour
  if (font.Color >= 0) p.setColor(QPalette::Text, ToQColor(font.Color));
  Edit1->setPalette(p);
  PlaceControls();  // the line as tall as the font needs
}

void TForm1::changeEvent(QEvent* event) {
  // A new palette (the desktop turned dark or light) or another screen's scale.
  if (event->type() == QEvent::PaletteChange && BitBtn1) ApplyColours();
  QWidget::changeEvent(event);
}

std::string TForm1::Edit1Gbk() const { return ToGbk(Edit1->text()); }

// The program writes the input line as an edit control takes a new text: the caret before
// the first character, so a result longer than the line shows from its start.
void TForm1::SetEdit1Gbk(const std::string& text) {
  const QString s = FromGbk(text);
  if (Edit1->text() != s) Edit1->setText(s);
  Edit1->setCursorPosition(0);
}

void TForm1::PullState() {
  Calc.Edit1Text = pulledEdit1_ = Edit1Gbk();
  Calc.ItemIndex = selectorIndex_;
}

void TForm1::PushState() {
  // A line the dispatcher left alone keeps its text as typed, characters outside GBK
  // included.
  if (Calc.Edit1Text != pulledEdit1_) SetEdit1Gbk(Calc.Edit1Text);
  ShowPrompt();
}

void TForm1::AppendChar(char c) {
  Edit1->setText(Edit1->text() + QChar(c));
  Edit1->setFocus();
  Edit1->setCursorPosition(Edit1->text().size());
}

// The last character goes, whole (both halves of a double-byte or surrogate pair), and
// every other character stays as it is, also one that GBK lacks.
void TForm1::Button17Click() {
  QString text = Edit1->text();
  if (!text.isEmpty()) {
    const bool pair = text.size() >= 2 && text.back().isLowSurrogate() &&
                      text.at(text.size() - 2).isHighSurrogate();
    text.chop(pair ? 2 : 1);
    Edit1->setText(text);
  }
  Edit1->setFocus();
  Edit1->setCursorPosition(Edit1->text().size());
}

void TForm1::Button18Click() {
  Edit1->clear();
  Edit1->setFocus();
  Edit1->setCursorPosition(0);
}

// While "=" runs, its network waits call back every NetworkWaitSliceMs at most, through
// which the window stays painted and answering. A second "=" meanwhile (the window
// handles its events during a wait or item 40's walk) is ignored.
void TForm1::Button20Click() {
  if (equalsRunning_) return;
  equalsRunning_ = true;
  // The input line and the selector show that they take nothing meanwhile.
  Edit1->setReadOnly(true);
  ComboBox1->setEnabled(false);
  struct FDone {
    TForm1& Form;
    FNetworkWaitHook Previous;
    ~FDone() {
      SetNetworkWaitHook(std::move(Previous));
      Form.equalsRunning_ = false;
      Form.Edit1->setReadOnly(false);
      Form.ComboBox1->setEnabled(true);
    }
  } done{*this, SetNetworkWaitHook([this] { return NetworkWait(); })};
  PullState();
  Calc.Button20Click();
  PushState();
}

bool TForm1::HandleEventsWhileBusy(const QString& waitText) {
  Label1->setText(waitText);
  QApplication::processEvents();
  return closed_;
}

// Between the slices of a network wait: the wait text, the window's pending events. A
// window closed meanwhile abandons the wait, which ends as a failure at once.
bool TForm1::NetworkWait() { return HandleEventsWhileBusy("正在查询，请等待..."); }

// Item 40's walk reports every folder and file. At most every FolderPumpMs the window
// shows the wait text and handles what is pending (painting, input), so a long walk
// neither freezes the window nor spends its time repainting. A window closed meanwhile
// ends the walk.
void TForm1::FolderProgress(const std::string&, int, bool& stop) {
  if (folderPump_.isValid() && folderPump_.elapsed() < FolderPumpMs) return;
  if (HandleEventsWhileBusy("正在计算，请等待...")) stop = true;
  folderPump_.start();
}

void TForm1::ComboBox1Change(int index) {
  selectorIndex_ = index;
  PullState();
  Calc.ComboBox1Change();
  if (hotkey_) hotkey_->SetActive(selectorIndex_ == 47);
  FollowReadTextWays();
  PushState();
}

// The selector reports a choice after the change it made, if any: the change handler has
// then run already. Choosing the selected item again runs it now, so that choosing item 51
// again arms a new typing test.
void TForm1::ComboBox1Chosen(int index) {
  if (!std::exchange(selectorChanged_, false)) ComboBox1Change(index);
  if (!std::exchange(selectorMoving_, false)) Edit1->setFocus();
}

void TForm1::BitBtn2Click() {
  PullState();
  Calc.BitBtn2Click();
  PushState();
}

void TForm1::BitBtn1Click() {
  TFontDialog dialog(this);
  dialog.SetFont(edit1Font_);
  if (dialog.exec() != QDialog::Accepted) return;
  SetEdit1Font(dialog.Font());
  // A store that cannot be written leaves the font for this run only. A font beyond the
  // limits of a stored font is never stored: it could not be read back.
  if (FontWithinLimits(edit1Font_))
    RegWriteString(FontRoot, FontKey, FontValue, FontToString(edit1Font_));
}

// The links do nothing while their address is not configured; whether the desktop has a
// handler for it goes unnoticed.
void TForm1::OpenAddress(const std::string& address) {
  if (!address.empty()) OpenLink(address, std::string());
}

// "下载最新版本": the version line of the download page is taken as seen (the window waits
// for the fetch), so the next start shows no notice for it; then the home page opens,
// also when no line was found. A version file that cannot be written raises out of here
// into the error box, and the home page stays closed.
void TForm1::Label3Click() {
  const FUpdatePlace place = ConfiguredUpdatePlace();
  if (place.Site.empty()) return;
  std::string line;
  if (FindVersionLine(place.Site, line)) WriteVersionFile(place.Folder, line);
  OpenAddress(HomePageAddress(place.Site));
}

// "定做软件咨询": the home page.
void TForm1::Label4Click() { OpenAddress(HomePageAddress(ServiceAddress("site"))); }

// "联系作者": a chat with the author's account.
void TForm1::Label5Click() { OpenAddress(ContactLink(ServiceAddress("contact"))); }

bool TForm1::FormKeyDown(QKeyEvent* event) {
  if (!IsEnter(event->key())) return false;
  std::string edit = Edit1Gbk();
  if (!TypingTest.KeyDown(13, edit)) return false;
  SetEdit1Gbk(edit);
  return true;
}

bool TForm1::FormKeyPress(QKeyEvent* event) {
  if (TypingTest.State() != TTypingTest::TState::Running) return false;
  const QString text = event->text();
  if (text.isEmpty()) return false;  // arrows, Delete and the like act as usual
  const std::string key = ToGbk(text);
  std::string edit = Edit1Gbk();
  std::string label = Calc.Label1Text;
  const bool consumed = TypingTest.KeyPress(key.empty() ? '\0' : key[0], edit, label);
  Calc.Label1Text = label;
  Label1->setText(LabelText(label));
  SetEdit1Gbk(edit);
  return consumed;
}

bool TForm1::eventFilter(QObject* watched, QEvent* event) {
  const QEvent::Type type = event->type();
  // The icon is drawn from its SVG at the sizes the desktop asks for, which costs as much as
  // a tenth of the start-up, and the links' hand pointer is looked up through the cursor
  // theme's folders: both are set once the window's first frame has been painted.
  if (type == QEvent::Paint && watched == this && !iconSet_) {
    iconSet_ = true;
    QTimer::singleShot(0, this, [this] {
      for (QLabel* link : {Label3, Label5, Label4}) link->setCursor(Qt::PointingHandCursor);
      InitWindowResources();
      setWindowIcon(QIcon(":/orvex/orvex.svg"));
    });
  }
  // While "=" waits or walks, the window paints and can be closed, but takes no input: the
  // answer lands on the input line and item as they were when "=" began, and no dialog
  // (the font, a link's error box) opens inside the wait.
  if (equalsRunning_ && IsInputEvent(type) && watched->isWidgetType() &&
      static_cast<QWidget*>(watched)->window() == this)
    return true;
  // Where Enter went down: the press reaches the input line (then the window, its parent),
  // or another control (the selector's list, a message box).
  if (type == QEvent::KeyPress && watched->isWidgetType() &&
      IsEnter(static_cast<QKeyEvent*>(event)->key())) {
    auto* w = static_cast<QWidget*>(watched);
    if (w == Edit1) enterDownInEdit1_ = true;
    else if (!w->isAncestorOf(Edit1)) enterDownInEdit1_ = false;
  }
  if (type == QEvent::KeyPress && watched->isWidgetType()) {
    // The window sees each key once, before the control that has the focus.
    QWidget* target = static_cast<QWidget*>(watched);
    QWidget* focus = QApplication::focusWidget();
    if (target == (focus ? focus : this) && target->window() == this &&
        !QApplication::activeModalWidget()) {
      auto* key = static_cast<QKeyEvent*>(event);
      bool consumed = false;
      Guard([&] { consumed = FormKeyDown(key) || FormKeyPress(key); });
      if (consumed) return true;
      // Up, Down and the like in the closed selector move one item and keep the focus
      // there, although the selector reports them as a choice.
      static const int Moves[] = {Qt::Key_Up, Qt::Key_Down, Qt::Key_PageUp, Qt::Key_PageDown,
                                  Qt::Key_Home, Qt::Key_End};
      selectorMoving_ = (target == ComboBox1 || target->parentWidget() == ComboBox1) &&
                        std::find(std::begin(Moves), std::end(Moves), key->key()) != std::end(Moves);
      // Enter clicks a focused key as Space does; Enter or Space opens a focused link.
      const bool press = IsEnter(key->key()) || key->key() == Qt::Key_Space;
      if (auto* button = qobject_cast<QPushButton*>(target); button && IsEnter(key->key()) && !key->isAutoRepeat()) {
        button->animateClick();
        return true;
      }
      if (press && (target == Label3 || target == Label4 || target == Label5)) {
        if (target == Label3) Guard([this] { Label3Click(); });
        if (target == Label4) Guard([this] { Label4Click(); });
        if (target == Label5) Guard([this] { Label5Click(); });
        return true;
      }
    }
  } else if (type == QEvent::KeyRelease && watched == Edit1) {
    auto* key = static_cast<QKeyEvent*>(event);
    // Enter pressed and released in the input line is "=", except while the typing test
    // waits for its start. An Enter pressed elsewhere (choosing in the selector, closing a
    // box) that moved the focus here is not.
    if (IsEnter(key->key()) && !key->isAutoRepeat() && std::exchange(enterDownInEdit1_, false) &&
        TypingTest.State() != TTypingTest::TState::Armed)
      Guard([this] { Button20Click(); });
  } else if (type == QEvent::Paint && (watched == Label3 || watched == Label4 || watched == Label5)) {
    // The CJK face's line is taller than the 16-pixel label: the underline is drawn
    // inside the label instead of below its bottom edge.
    auto* label = static_cast<QLabel*>(watched);
    QPainter painter(label);
    QFont plain = label->font();
    plain.setUnderline(false);
    painter.setFont(plain);
    painter.setPen(label->palette().color(QPalette::WindowText));
    const QFontMetrics metrics(plain);
    const int baseline = std::min(metrics.ascent(), label->height() - 3);
    painter.drawText(0, baseline, label->text());
    const int y = std::min(baseline + 2, label->height() - 1);
    painter.drawLine(0, y, metrics.horizontalAdvance(label->text()) - 1, y);
    if (label->hasFocus()) {  // a link reached with Tab shows that it has the focus
      QPen dotted(Blue, 1, Qt::DotLine);
      dotted.setColor(label->palette().color(QPalette::WindowText));
      painter.setPen(dotted);
      painter.drawRect(label->rect().adjusted(0, 0, -1, -1));
    }
    return true;
  } else if (type == QEvent::MouseButtonRelease) {
    auto* mouse = static_cast<QMouseEvent*>(event);
    if (mouse->button() == Qt::LeftButton) {
      if (watched == Label3) Guard([this] { Label3Click(); });
      if (watched == Label4) Guard([this] { Label4Click(); });
      if (watched == Label5) Guard([this] { Label5Click(); });
    }
  }
  return QWidget::eventFilter(watched, event);
}
