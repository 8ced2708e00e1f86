// The window as a user meets it: layout, keypad, Enter, "B", the selector, the stored
// font, the error box, the typing test, the update check and the link labels, on the
// offscreen platform.
#include <QApplication>
#include <QComboBox>
#include <QFrame>
#include <QInputMethodEvent>
#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QListView>
#include <QMessageBox>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTimer>
#include <QtTest>
#include <QAccessible>
#include <cmath>
#include <set>
#include <filesystem>
#include <fstream>
#include <functional>
#include <iterator>
#include <memory>
#include <optional>

#include "app/engine/mekreg.h"
#include "app/window/Unit1.h"
#include "app/window/fontdialog.h"
#include "app/window/windowlook.h"
#include "core/codepage.h"
#include "core/mekrandom.h"
#include "net/mekweb.h"
#include "tests/engine/foldertree.h"
#include "tests/engine/loopback.h"
#include "tests/engine/webserver.h"

namespace {

// What a modal box showed before the watcher closed it.
struct FBox {
  QString Title, Text;
  QMessageBox::Icon Icon = QMessageBox::NoIcon;
  QStringList Buttons;
  QPixmap Picture;
  QWidget* Parent = nullptr;
};

// While it lives, closes every message box that comes up and records it; a font dialog
// is handed to OnFontDialog (cancelled when that is empty).
class TModalWatcher : public QObject {
public:
  TModalWatcher() {
    connect(&timer_, &QTimer::timeout, this, &TModalWatcher::Poll);
    timer_.start(10);
  }
  std::vector<FBox> Boxes;
  std::function<bool(TFontDialog&)> OnFontDialog;  // true: confirm

private:
  void Poll() {
    QWidget* modal = QApplication::activeModalWidget();
    if (auto* box = qobject_cast<QMessageBox*>(modal)) {
      QStringList buttons;
      for (QAbstractButton* b : box->buttons()) buttons << b->text();
      buttons.sort();
      Boxes.push_back({box->windowTitle(), box->text(), box->icon(), buttons, box->grab(), box->parentWidget()});
      box->done(QMessageBox::Ok);
    } else if (auto* dialog = dynamic_cast<TFontDialog*>(modal)) {
      const bool ok = OnFontDialog && OnFontDialog(*dialog);
      ok ? dialog->accept() : dialog->reject();
    }
  }
  QTimer timer_;
};

QString U(const std::string& gbk) { return QString::fromStdString(GbkToUtf8(gbk)); }

std::optional<std::string> ReadFile(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) return std::nullopt;
  return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

// The download page, in UTF-8 as a site may serve it; the version line is kept in GBK.
const std::string VersionLine = "录入时间：2013-3-5";
std::string DownloadPage() {
  return "<html><body><p>Orvex</p>\r\n<p> " + VersionLine + " </p></body></html>";
}
const char* const Utf8Page = "text/html; charset=utf-8";

// The checks and clicks wait at most this long for the site on 127.0.0.1.
const int CheckTimeoutMs = 20000;

// A site that answers only when told: the connection waits on the listening socket until
// AnswerOnce takes it, reads the request and answers with page (UTF-8). False when no
// connection came within ms.
bool AnswerOnce(const TLoopbackSocket& listener, const std::string& page, int ms) {
  pollfd waiting{listener.Fd, POLLIN, 0};
  if (poll(&waiting, 1, ms) <= 0) return false;
  const int client = accept4(listener.Fd, nullptr, nullptr, SOCK_CLOEXEC);
  if (client < 0) return false;
  std::string request;
  char buffer[4096];
  while (request.find("\r\n\r\n") == std::string::npos) {
    pollfd p{client, POLLIN, 0};
    const ssize_t n = poll(&p, 1, ms) > 0 ? recv(client, buffer, sizeof buffer, 0) : -1;
    if (n <= 0) break;
    request.append(buffer, static_cast<size_t>(n));
  }
  const std::string reply = "HTTP/1.1 200 OK\r\nContent-Type: text/html; charset=utf-8\r\n"
                            "Connection: close\r\nContent-Length: " +
                            std::to_string(page.size()) + "\r\n\r\n" + page;
  send(client, reply.data(), reply.size(), MSG_NOSIGNAL);
  close(client);
  return true;
}

}  // namespace

class WindowTest : public QObject {
  Q_OBJECT

  std::unique_ptr<QTemporaryDir> config_;
  std::unique_ptr<TModalWatcher> watcher_;

  std::unique_ptr<TForm1> Open() {
    auto form = std::make_unique<TForm1>();
    form->show();
    form->activateWindow();
    // A Wayland compositor activates windows on its own terms (here: without a seat's
    // focus); there the window is only waited for until it is shown.
    if (Wayland()) {
      if (!QTest::qWaitForWindowExposed(form.get())) qWarning("window not exposed");
    } else if (!QTest::qWaitForWindowActive(form.get())) {
      qWarning("window not active");
    }
    form->Edit1->setFocus();
    return form;
  }
  static bool Wayland() { return QGuiApplication::platformName() == "wayland"; }
  static void Select(TForm1& form, int index) { form.ComboBox1->setCurrentIndex(index); }
  // Chooses an item as a user does: the selector's list opened, the item made current
  // with the arrow keys and Enter pressed there; the key comes up wherever the focus is
  // by then.
  static void Choose(TForm1& form, int index) {
    form.ComboBox1->setFocus();
    form.ComboBox1->showPopup();
    QAbstractItemView* list = form.ComboBox1->view();
    if (!QTest::qWaitForWindowExposed(list->window())) qWarning("the list did not open");
    list->setCurrentIndex(list->model()->index(index, 0));
    QTest::keyPress(list, Qt::Key_Return);
    QTest::keyRelease(QApplication::focusWidget(), Qt::Key_Return);
  }

  std::string ConfigFolder() const { return config_->path().toStdString() + "/orvex"; }
  std::string VersionFile() const { return ConfigFolder() + "/calcgx.dll"; }
  void WriteConfigFile(const std::string& name, const std::string& text) {
    std::filesystem::create_directories(ConfigFolder());
    std::ofstream(ConfigFolder() + "/" + name, std::ios::binary) << text;
  }
  // The services of the site and the author's account (an empty value: not configured).
  void ConfigureLinks(const std::string& site, const std::string& contact) {
    WriteConfigFile("services.ini", "[services]\nsite=" + site + "\ncontact=" + contact + "\n");
  }
  // A window whose links are recorded instead of opened, once its update check has ended.
  std::unique_ptr<TForm1> OpenChecked(std::vector<std::string>& opened) {
    auto form = Open();
    form->OpenLink = [&opened](const std::string& target, const std::string& parameters) {
      opened.push_back(parameters.empty() ? target : target + " " + parameters);
      return true;
    };
    if (!QTest::qWaitFor([&] { return form->UpdateCheckEnded(); }, CheckTimeoutMs))
      qWarning("update check did not end");
    return form;
  }

  // "=" on an item whose service accepts and never answers, the window closed during the
  // wait (see networkWaitKeepsTheWindowAlive).
  void CheckNetworkWait(int item, const std::string& key, const QString& input,
                        const QString& after) {
    TLoopbackSocket silent(8);  // the kernel accepts; nobody reads or answers
    QVERIFY(silent.Port > 0);
    WriteConfigFile("services.ini",
                    "[services]\n" + key + "=http://127.0.0.1:" + std::to_string(silent.Port) + "\n");
    auto form = Open();
    Select(*form, item);
    form->Edit1->setText(input);
    struct TPaints : QObject {
      int Count = 0;
      bool eventFilter(QObject*, QEvent* e) override {
        Count += e->type() == QEvent::Paint;
        return false;
      }
    } paints;
    form->Label1->installEventFilter(&paints);
    struct {
      qint64 WaitTextAt = -1, ClosedAt = -1;
      bool Saved = false;
      QString Edit;
      int Item = -1;
    } during;
    QElapsedTimer clock;
    QTimer rounds;  // fires in every round of the window's events
    connect(&rounds, &QTimer::timeout, [&] {
      if (during.WaitTextAt >= 0 || form->Label1->text() != "正在查询，请等待...") return;
      during.WaitTextAt = clock.elapsed();
      QTimer::singleShot(300, form.get(), [&] {
        during.Saved = form->grab().save(QString(ORVEX_BUILD_DIR) + "/window-wait.png");
        QTest::mouseClick(form->Buttons[19], Qt::LeftButton);  // "=" again
        // Nothing the user does meanwhile changes the input line or the item, and no
        // dialog opens inside the wait: typing, the keypad, the selector, "T", "B".
        QTest::keyClicks(form->Edit1, "zzz");
        QTest::mouseClick(form->Buttons[0], Qt::LeftButton);
        QTest::keyClick(form->ComboBox1, Qt::Key_Down);
        QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
        QTest::mouseClick(form->BitBtn2, Qt::LeftButton);
        during.Item = form->ComboBox1->currentIndex();
        during.Edit = form->Edit1->text();
        during.ClosedAt = clock.elapsed();
        form->close();
      });
    });
    clock.start();
    rounds.start(0);
    QTest::mouseClick(form->Buttons[19], Qt::LeftButton);
    const qint64 ended = clock.elapsed();
    rounds.stop();
    QVERIFY(during.WaitTextAt >= 0);
    QVERIFY2(during.WaitTextAt < 1000, qPrintable(QString::number(during.WaitTextAt)));
    QVERIFY(paints.Count >= 1);
    QVERIFY(during.Saved);
    QCOMPARE(during.Edit, input);  // the second "=" did nothing, nor did the keys
    QCOMPARE(during.Item, item);
    QVERIFY(during.ClosedAt >= 0);
    QVERIFY2(ended - during.ClosedAt < 1000, qPrintable(QString::number(ended - during.ClosedAt)));
    QCOMPARE(form->Edit1->text(), after);
    QVERIFY(watcher_->Boxes.empty());
  }

private slots:
  void init() {
    config_ = std::make_unique<QTemporaryDir>();
    qputenv("XDG_CONFIG_HOME", config_->path().toUtf8());
    watcher_ = std::make_unique<TModalWatcher>();
  }
  void cleanup() {
    watcher_.reset();
    config_.reset();
  }

  void layoutMatchesTheTable() {
    auto form = Open();
    QCOMPARE(form->windowTitle(), QString("Orvex V4.0"));
    QCOMPARE(form->size(), QSize(407, 384));
    QCOMPARE(form->minimumSize(), form->maximumSize());
    QCOMPARE(form->pos(), QPoint(278, 142));
    QVERIFY(!(form->windowFlags() & Qt::WindowMinimizeButtonHint));
    QVERIFY(!(form->windowFlags() & Qt::WindowMaximizeButtonHint));
    // 宋体, or the installed Song face standing in for it, asked for by its own name.
    const QStringList song = QStringList{"宋体"} + QFont::substitutes("宋体");
    QVERIFY2(song.contains(form->font().family(), Qt::CaseInsensitive), qPrintable(form->font().family()));
    QCOMPARE(form->font().family(), QFontInfo(form->font()).family());
    QCOMPARE(form->font().pixelSize(), 16);
    QTRY_VERIFY(!form->windowIcon().isNull());  // the package's icon, set after the first frame

    struct Row {
      QWidget* W;
      QRect Geometry;
      QString Text, Hint;
    } rows[] = {
        {form->Label1, {9, 7, 388, 38}, "做世界上最牛的计算器", ""},
        {form->Edit1, {9, 44, 386, 24}, "", "输入计算内容"},
        {form->BitBtn1, {12, 81, 23, 22}, "T", "设置字体"},
        {form->BitBtn2, {45, 81, 23, 22}, "B", "返回计算前内容"},
        {form->Label2, {132, 85, 40, 16}, "选项 ", ""},
        {form->ComboBox1, {181, 78, 216, 24}, "", "选择计算项目"},
        {form->Panel1, {8, 117, 386, 234}, "", ""},
        {form->Label3, {18, 356, 96, 16}, "下载最新版本", ""},
        {form->Label5, {157, 356, 64, 16}, "联系作者", ""},
        {form->Label4, {274, 357, 96, 16}, "定做软件咨询", ""},
    };
    for (const Row& r : rows) {
      QCOMPARE(r.W->geometry(), r.Geometry);
      QCOMPARE(r.W->toolTip(), r.Hint);
      if (auto* l = qobject_cast<QLabel*>(r.W)) QCOMPARE(l->text(), r.Text);
      if (auto* e = qobject_cast<QLineEdit*>(r.W)) QCOMPARE(e->text(), r.Text);
      if (auto* b = qobject_cast<QPushButton*>(r.W)) QCOMPARE(b->text(), r.Text);
    }
    QCOMPARE(form->ComboBox1->count(), 57);
    QCOMPARE(form->ComboBox1->currentIndex(), -1);
    QCOMPARE(form->ComboBox1->currentText(), QString());
    QCOMPARE(form->ComboBox1->itemText(51), QString("小键盘打字测速"));
    QCOMPARE(form->Panel1->frameShadow(), QFrame::Sunken);

    struct Key {
      QString Caption, Hint;
      QPoint Pos;
    } keys[20] = {{"1", "1", {19, 5}},         {"2", "2", {83, 4}},
                  {"3", "3", {148, 5}},        {"4", "4", {18, 63}},
                  {"5", "5", {83, 62}},        {"6", "6", {148, 63}},
                  {"7", "7", {18, 121}},       {"8", "8", {83, 121}},
                  {"9", "9", {148, 121}},      {"0", "0", {18, 180}},
                  {"(", "左括号", {83, 180}},  {")", "右括号", {148, 180}},
                  {"+", "加", {231, 8}},       {"－", "减", {231, 65}},
                  {"×", "乘", {231, 122}},     {"÷", "除", {231, 179}},
                  {"←", "退格键", {310, 9}},   {"C", "清除", {310, 66}},
                  {".", "小数点", {310, 123}}, {"=", "计算", {309, 177}}};
    for (int i = 0; i < 20; ++i) {
      QPushButton* b = form->Buttons[i];
      QCOMPARE(b->parentWidget(), form->Panel1);
      QCOMPARE(b->objectName(), QString("Button%1").arg(i + 1));
      QCOMPARE(b->text(), keys[i].Caption);
      QCOMPARE(b->toolTip(), keys[i].Hint);
      QCOMPARE(b->geometry(), QRect(keys[i].Pos, QSize(51, 48)));
    }
    const QColor red(255, 0, 0), purple(128, 0, 128), blue(0, 0, 255);
    QCOMPARE(form->BitBtn1->palette().color(QPalette::ButtonText), purple);
    QCOMPARE(form->BitBtn2->palette().color(QPalette::ButtonText), red);
    QCOMPARE(form->Buttons[16]->palette().color(QPalette::ButtonText), red);
    QCOMPARE(form->Buttons[17]->palette().color(QPalette::ButtonText), red);
    for (QLabel* l : {form->Label3, form->Label4, form->Label5}) {
      QCOMPARE(l->palette().color(QPalette::WindowText), blue);
      QVERIFY(l->font().underline());
      QCOMPARE(l->cursor().shape(), Qt::PointingHandCursor);
    }
    // The input line comes first in the tab order.
    QCOMPARE(form->ComboBox1->nextInFocusChain() != nullptr, true);
    QCOMPARE(form->Edit1->nextInFocusChain(), static_cast<QWidget*>(form->BitBtn1));

    const QString picture = QString(ORVEX_BUILD_DIR) + "/window.png";
    QVERIFY(form->grab().save(picture));
  }

  void keypadAppendsAtTheEnd() {
    auto form = Open();
    struct Case {
      QString Before;
      int Caret;
      int Button;  // index into Buttons
      QString After;
    } cases[] = {
        {"12", 1, 2, "123"},    {"", 0, 14, "*"},      {"7", 0, 13, "7-"},
        {"8", 1, 15, "8/"},     {"1", 0, 10, "1("},    {"2", 1, 18, "2."},
        {"1+2", 1, 16, "1+"},   {"", 0, 16, ""},       {"1+中", 2, 16, "1+"},
        {"1+2", 1, 17, ""},     {"（", 0, 12, "（+"},
        // "←" takes the last character whole and leaves the others, also those GBK lacks.
        {"𠀀中", 0, 16, "𠀀"},  {"𝄞x", 0, 16, "𝄞"},
    };
    for (const Case& c : cases) {
      form->Edit1->setText(c.Before);
      form->Edit1->setCursorPosition(c.Caret);
      form->Edit1->setSelection(0, c.Caret);
      QTest::mouseClick(form->Buttons[c.Button], Qt::LeftButton);
      QCOMPARE(form->Edit1->text(), c.After);
      QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form->Edit1));
      QCOMPARE(form->Edit1->cursorPosition(), c.Button == 17 ? 0 : int(c.After.size()));
    }
    QVERIFY(watcher_->Boxes.empty());
  }

  void enterAndEqualsThenRestore() {
    auto form = Open();
    Select(*form, 0);
    QCOMPARE(form->Label1->text(), QString("请输入算式,如(2+3)*7/19"));
    form->Edit1->setText("（２＋３）＊７");
    QTest::keyClick(form->Edit1, Qt::Key_Return);
    QCOMPARE(form->Edit1->text(), QString("35"));
    QCOMPARE(form->Label1->text(), QString("请输入算式,如(2+3)*7/19"));  // no site: the prompt stays
    QTest::mouseClick(form->BitBtn2, Qt::LeftButton);
    QCOMPARE(form->Edit1->text(), QString("(2+3)*7"));
    QTest::mouseClick(form->BitBtn2, Qt::LeftButton);
    QCOMPARE(form->Edit1->text(), QString("(2+3)*7"));

    // × and ÷ as input methods type them compute.
    form->Edit1->setText("(2+3)×7÷19");
    ConfigureLinks("https://orvex.example.org/", "");  // with a site, the label names it
    QTest::mouseClick(form->Buttons[19], Qt::LeftButton);
    QCOMPARE(form->Edit1->text(), QString("1.84210526315789"));
    QCOMPARE(form->Label1->text(), QString("欢迎定做软件，orvex.example.org  请选择运算项目"));
    Select(*form, 2);  // a result longer than the line
    form->Edit1->setText("1234567890123");
    QTest::mouseClick(form->Buttons[19], Qt::LeftButton);
    QVERIFY(form->Edit1->text().startsWith("一万二千三百四十五亿"));
    QCOMPARE(form->Edit1->cursorPosition(), 0);  // a text the program writes shows from its start
    Select(*form, 0);
    // A division by zero leaves the expression, silently.
    form->Edit1->setText("1/0");
    QTest::keyClick(form->Edit1, Qt::Key_Enter);
    QCOMPARE(form->Edit1->text(), QString("1/0"));
    QVERIFY(watcher_->Boxes.empty());
  }

  void equalsWithNothingSelected() {
    auto form = Open();
    form->Edit1->setText("１２");
    QTest::mouseClick(form->Buttons[19], Qt::LeftButton);
    QCOMPARE(form->Edit1->text(), QString("12"));
    QCOMPARE(form->Label1->text(), QString("做世界上最牛的计算器"));
  }

  // The Wubi list is read on item 38's first use and let go when the window closes.
  void wubiListLivesWithTheWindow() {
    auto form = Open();
    QVERIFY(!form->Calc.WubiList);  // read on its first use, not at start-up
    Select(*form, 38);
    QCOMPARE(form->Label1->text(), QString("输入相应汉字"));
    form->Edit1->setText("啊啊");
    QTest::mouseClick(form->Buttons[19], Qt::LeftButton);
    QCOMPARE(form->Edit1->text(), QString("啊字五笔为：kbsk"));
    QVERIFY(form->Calc.WubiList);
    form->close();
    QVERIFY(!form->Calc.WubiList);
  }

  // The F5 registry lives with the window and holds F5 without modifiers; the key is
  // registered only while item 47 is selected.
  void hotkeyEntryFollowsItem47() {
    auto form = Open();
    const TMekhotkey* keys = form->Hotkeys();
    QVERIFY(keys);
    QCOMPARE(keys->Count, 1);
    QCOMPARE(keys->Keys[1].VirtualKey, VK_F5);
    QCOMPARE(ModifierMask(keys->Keys[1]), 0u);
    QVERIFY(!keys->Active());
    Select(*form, 47);
    QVERIFY(keys->Active());
    Select(*form, 46);
    QVERIFY(!keys->Active());
    Select(*form, 47);
    form->close();
    QVERIFY(!form->Hotkeys());
  }

  void selectorShowsPrompts() {
    auto form = Open();
    struct Case {
      int Index;
      QString Prompt;
    } cases[] = {{9, "输入日期,如2009-1-1"},
                 {12, "输入一个汉字,如：丫"},
                 {47, "提取时按F5"},
                 {45, "数量，原币种，转换币种(人民币,美元,欧元,港元,台币,\n英镑,韩元,日元)"},
                 {56, "直接点等于"}};
    form->Edit1->setText("x𝄞");  // outside GBK: kept while the dispatcher leaves it alone
    for (const Case& c : cases) {
      Select(*form, c.Index);
      QCOMPARE(form->Edit1->text(), QString("x𝄞"));
      QCOMPARE(form->Label1->text(), c.Prompt);
      QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form->Edit1));
    }
    // Typing an item's label into the selector chooses it.
    form->ComboBox1->setFocus();
    form->ComboBox1->lineEdit()->clear();
    QInputMethodEvent typed;  // Chinese comes in through the input method
    typed.setCommitString("求属相");
    QApplication::sendEvent(form->ComboBox1->lineEdit(), &typed);
    QCOMPARE(form->Label1->text(), QString("输入日期,如1990-1-1"));
    form->Edit1->setText("1990-1-1");
    QTest::keyClick(form->Edit1, Qt::Key_Return);
    QVERIFY(form->Edit1->text() != "1990-1-1");
  }

  void itemMessageShowsAnInformationBox() {
    auto form = Open();
    Select(*form, 9);
    form->Edit1->setText("2009-2-29");
    QTest::mouseClick(form->Buttons[19], Qt::LeftButton);
    QCOMPARE(form->Edit1->text(), QString("2009-2-29"));
    QCOMPARE(int(watcher_->Boxes.size()), 1);
    QCOMPARE(watcher_->Boxes[0].Title, QString("提示"));
    QCOMPARE(watcher_->Boxes[0].Icon, QMessageBox::Information);
    QCOMPARE(watcher_->Boxes[0].Buttons, QStringList{"确定"});
    // Item 1's question names its buttons 是 and 否, which Qt's Chinese texts give.
    Select(*form, 1);
    form->Edit1->setText("2009-1-1");
    QTest::mouseClick(form->Buttons[19], Qt::LeftButton);
    QCOMPARE(int(watcher_->Boxes.size()), 2);
    QCOMPARE(watcher_->Boxes[1].Icon, QMessageBox::Question);
    QCOMPARE(watcher_->Boxes[1].Buttons, (QStringList{"否(&N)", "是(&Y)"}));
    QVERIFY(watcher_->Boxes[1].Picture.save(QString(ORVEX_BUILD_DIR) + "/window-question.png"));
  }

  // Every prompt of the item table is read whole: wrapped within the label's width, in at
  // most the label's height at the window's font.
  void promptsFitTheLabel() {
    auto form = Open();
    const QFontMetrics metrics(form->Label1->font());
    for (int i = 0; i < ItemCount; ++i) {
      Select(*form, i);
      const QStringList lines = form->Label1->WrappedLines();
      QVERIFY2(form->Label1->TextHeight() <= 38, qPrintable(form->Label1->text()));
      QCOMPARE(lines.join("").remove(' '), form->Label1->text().remove('\n').remove(' '));
      for (const QString& line : lines)
        QVERIFY2(metrics.horizontalAdvance(line.trimmed()) <= form->Label1->width(), qPrintable(line));
    }
    // A wrapping prompt breaks after a comma (平方米,平方厘米 stay whole), and its lowest
    // glyphs end above the input line's frame.
    for (int i = 0; i < ItemCount; ++i) {
      Select(*form, i);
      QVERIFY2(form->Label1->y() + form->Label1->TextBottom() < form->Edit1->y(), qPrintable(form->Label1->text()));
    }
    Select(*form, 42);
    QVERIFY(form->Label1->WrappedLines()[0].endsWith(QString("，")) ||
            form->Label1->WrappedLines()[0].endsWith(QString(",")));
    Select(*form, 45);  // two lines, broken only where the prompt breaks
    QCOMPARE(form->Label1->WrappedLines().size(), 2);
    Select(*form, 42);
    QCOMPARE(form->Label1->WrappedLines().size(), 2);
    QVERIFY(form->grab().save(QString(ORVEX_BUILD_DIR) + "/window-prompt42.png"));
  }

  // Boxes belong to the window: two in a row (item 1's question, then its refusal) are
  // both its children, and the window has the keyboard back afterwards.
  void boxesOverTheirWindow() {
    auto form = Open();
    Select(*form, 1);
    form->Edit1->setText("2010-2-30");
    QTest::mouseClick(form->Buttons[19], Qt::LeftButton);
    QCOMPARE(int(watcher_->Boxes.size()), 2);
    for (const FBox& b : watcher_->Boxes) QCOMPARE(b.Parent, static_cast<QWidget*>(form.get()));
    if (!Wayland()) QTRY_COMPARE(QApplication::activeWindow(), static_cast<QWidget*>(form.get()));
  }

  // The closed selector keeps the keyboard: Up and Down move one item each, typing an
  // item's label finds it; only a choice (Enter) hands the keyboard to the input line.
  void selectorKeepsTheKeyboard() {
    auto form = Open();
    Select(*form, 2);
    form->ComboBox1->setFocus();
    QTest::keyClick(form->ComboBox1, Qt::Key_Down);
    QCOMPARE(form->ComboBox1->currentIndex(), 3);
    QCOMPARE(form->Label1->text(), U(ItemAt(3).Prompt));
    QVERIFY(form->ComboBox1->isAncestorOf(QApplication::focusWidget()) ||
            QApplication::focusWidget() == form->ComboBox1);
    QTest::keyClick(form->ComboBox1, Qt::Key_Up);
    QCOMPARE(form->ComboBox1->currentIndex(), 2);
    form->ComboBox1->lineEdit()->selectAll();
    for (const char* part : {"计算", "CPU频率"}) {  // as an input method commits the label
      QInputMethodEvent typed;
      typed.setCommitString(QString(part));
      QApplication::sendEvent(form->ComboBox1->lineEdit(), &typed);
    }
    QCOMPARE(form->Label1->text(), U(ItemAt(16).Prompt));
    QVERIFY(form->ComboBox1->isAncestorOf(QApplication::focusWidget()) ||
            QApplication::focusWidget() == form->ComboBox1);
    QTest::keyClick(form->ComboBox1, Qt::Key_Return);
    QCOMPARE(form->ComboBox1->currentIndex(), 16);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form->Edit1));
  }

  // A screen reader can say every control, in Chinese; keys and links work by keyboard.
  void accessibleAndByKeyboard() {
    auto form = Open();
    Select(*form, 0);
    QCOMPARE(form->Edit1->accessibleName(), U(ItemAt(0).Prompt));
    QCOMPARE(form->ComboBox1->accessibleName(), QString("选项"));
    QCOMPARE(form->Label2->buddy(), static_cast<QWidget*>(form->ComboBox1));
    const struct {
      QWidget* W;
      const char* Name;
    } named[] = {{form->Buttons[16], "退格"}, {form->Buttons[17], "清除"}, {form->Buttons[13], "减"},
                 {form->Buttons[14], "乘"},   {form->Buttons[15], "除"},   {form->Buttons[18], "小数点"},
                 {form->Buttons[19], "等于"}, {form->BitBtn1, "字体"},     {form->BitBtn2, "恢复上次输入"}};
    for (const auto& n : named) QCOMPARE(n.W->accessibleName(), QString(n.Name));
    for (QWidget* w : form->findChildren<QWidget*>()) {
      if (!w->isVisible() || w->parentWidget() == form->ComboBox1 || !(qobject_cast<QPushButton*>(w) ||
          qobject_cast<QLineEdit*>(w) || qobject_cast<QComboBox*>(w) || qobject_cast<QLabel*>(w)))
        continue;
      QAccessibleInterface* a = QAccessible::queryAccessibleInterface(w);
      QVERIFY2(a && !a->text(QAccessible::Name).isEmpty(), qPrintable(w->objectName()));
    }
    // Enter on a focused key clicks it.
    form->Edit1->clear();
    form->Buttons[0]->setFocus();
    QTest::keyClick(form->Buttons[0], Qt::Key_Return);
    QTRY_COMPARE(form->Edit1->text(), QString("1"));
    // The links are reached with Tab and open with Enter.
    ConfigureLinks("http://127.0.0.1:9", "");
    std::vector<std::string> opened;
    form->OpenLink = [&opened](const std::string& target, const std::string&) {
      opened.push_back(target);
      return true;
    };
    form->Buttons[19]->setFocus();
    QTest::keyClick(form->Buttons[19], Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QTest::keyClick(QApplication::focusWidget(), Qt::Key_Tab);
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form->Label4));
    QTest::keyClick(form->Label4, Qt::Key_Return);
    QCOMPARE(opened, std::vector<std::string>{"http://127.0.0.1:9/"});
  }

  // The input line is as tall as its font needs, up to the largest size the font dialog
  // takes; everything below it moves down with it and the window grows.
  void inputLineFitsItsFont() {
    auto form = Open();
    for (const int size : {12, 24, 72, FontMaxSize}) {
      FFont font = DefaultFont();
      font.SetSize(size);
      form->SetEdit1Font(font);
      const int pixels = QFontInfo(form->Edit1->font()).pixelSize();
      const int grown = form->Edit1->height() - 24;
      QVERIFY2(form->Edit1->height() >= pixels * 5 / 4 + 4, qPrintable(QString::number(size)));
      QVERIFY(grown >= 0);
      QCOMPARE(form->Panel1->y(), 117 + grown);
      QCOMPARE(form->ComboBox1->y(), 78 + grown);
      QCOMPARE(form->height(), 384 + grown);
      if (size == 24) QVERIFY(form->grab().save(QString(ORVEX_BUILD_DIR) + "/window-font24.png"));
    }
    form->SetEdit1Font(DefaultFont());
    QCOMPARE(form->size(), QSize(407, 384));
    QCOMPARE(form->Edit1->height(), 24);
  }

  // On a dark palette the fixed colours become lighter shades readable against the
  // window and the keys (4.5:1 at least); on a light one they stay as they are.
  void darkPalette() {
    const QPalette light = QApplication::palette();
    QPalette dark;
    dark.setColor(QPalette::Window, QColor(0x24, 0x24, 0x24));
    dark.setColor(QPalette::Button, QColor(0x35, 0x35, 0x35));
    dark.setColor(QPalette::Base, QColor(0x1d, 0x1d, 0x1d));
    for (auto role : {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) dark.setColor(role, Qt::white);
    dark.setColor(QPalette::Link, QColor(0x1d, 0x4e, 0x89));
    QApplication::setPalette(dark);
    {
      auto form = Open();
      const QColor window = form->palette().color(QPalette::Window), face = form->palette().color(QPalette::Button);
      for (QWidget* w : {static_cast<QWidget*>(form->BitBtn1), static_cast<QWidget*>(form->BitBtn2),
                         static_cast<QWidget*>(form->Buttons[16]), static_cast<QWidget*>(form->Buttons[17])}) {
        const QColor text = w->palette().color(QPalette::ButtonText);
        QVERIFY2(ContrastRatio(text, window) >= 4.5 && ContrastRatio(text, face) >= 4.5, qPrintable(w->objectName()));
      }
      for (QLabel* l : {form->Label3, form->Label4, form->Label5})
        QVERIFY(ContrastRatio(l->palette().color(QPalette::WindowText), window) >= 4.5);
      QVERIFY(form->grab().save(QString(ORVEX_BUILD_DIR) + "/window-dark.png"));
    }
    QApplication::setPalette(light);
    auto form = Open();
    QCOMPARE(form->BitBtn1->palette().color(QPalette::ButtonText), QColor(0x80, 0x00, 0x80));
    QCOMPARE(form->Buttons[16]->palette().color(QPalette::ButtonText), QColor(0xFF, 0x00, 0x00));
    QCOMPARE(form->Label3->palette().color(QPalette::WindowText), QColor(0x00, 0x00, 0xFF));
  }

  // Run alone at other scale factors (QT_SCALE_FACTOR, see CMakeLists.txt): the keys on
  // whole device pixels, on a regular grid where the scale is fractional.
  void keypadOnWholePixels() {
    auto form = Open();
    const double ratio = form->devicePixelRatioF();
    std::set<int> columns, rows;
    for (QPushButton* key : form->Buttons) {
      const QRect r(key->mapTo(form.get(), QPoint(0, 0)), key->size());
      for (int v : {r.x(), r.y(), r.width(), r.height()})
        QVERIFY2(std::fabs(v * ratio - std::round(v * ratio)) < 1e-9, qPrintable(key->objectName()));
      columns.insert(key->x());
      rows.insert(key->y());
    }
    if (!IsWholeScale(ratio)) {
      QCOMPARE(int(columns.size()), 5);
      QCOMPARE(int(rows.size()), 4);
    }
    QVERIFY(form->grab().save(QString(ORVEX_BUILD_DIR) + "/window-scale-" + QString::number(ratio) + ".png"));
  }

  // What a desktop session meets first, also run under a Wayland compositor (see
  // CMakeLists.txt): the window starts, answers an item, shows a box and closes.
  void startAnswerBoxClose() {
    auto form = Open();
    Select(*form, 0);
    form->Edit1->setText("(2+3)×7");
    QTest::mouseClick(form->Buttons[19], Qt::LeftButton);
    QCOMPARE(form->Edit1->text(), QString("35"));
    Select(*form, 12);
    form->Edit1->setText("A");
    QTest::mouseClick(form->Buttons[19], Qt::LeftButton);
    QTRY_COMPARE(int(watcher_->Boxes.size()), 1);
    QCOMPARE(watcher_->Boxes[0].Text, QString("没有找到这个字的笔画"));
    QVERIFY(form->close());
    QVERIFY(form->Closed());
  }

  // Enter that chooses an item in the selector's list only chooses it, also when the focus
  // is in the input line by the time the key comes up; choosing item 51 again arms a new
  // typing test.
  void choosingInTheSelector() {
    auto form = Open();
    Choose(*form, 2);
    QCOMPARE(form->ComboBox1->currentIndex(), 2);
    QCOMPARE(form->Label1->text(), QString("输入数值如235323.22"));
    QCOMPARE(QApplication::focusWidget(), static_cast<QWidget*>(form->Edit1));
    Choose(*form, 51);
    QTest::keyClick(form->Edit1, Qt::Key_Return);
    QCOMPARE(form->TypingTest.State(), TTypingTest::TState::Running);
    QCOMPARE(form->Edit1->cursorPosition(), 0);  // the character to type is in sight
    Choose(*form, 51);
    QCOMPARE(form->TypingTest.State(), TTypingTest::TState::Armed);
    QCOMPARE(form->Label1->text(), QString("回车开始计时"));
    QVERIFY(watcher_->Boxes.empty());
  }

  void fontSurvivesARestart() {
    FFont chosen;
    {
      auto form = Open();
      QVERIFY(form->HotkeyRegistered());
      QVERIFY(form->UpdateCheckStarted());
      // Cancelling changes nothing and stores nothing.
      QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
      QCOMPARE(FontToString(form->Edit1Font()), FontToString(DefaultFont()));
      std::string stored;
      QVERIFY(!RegReadString("HKEY_CURRENT_USER", "Software\\Vorlan\\mekcalc", "font", stored));

      watcher_->OnFontDialog = [](TFontDialog& d) {
        d.StyleBox->setCurrentIndex(3);  // bold italic
        d.SizeBox->setCurrentText("14");
        d.UnderlineBox->setChecked(true);
        d.StrikeOutBox->setChecked(true);
        d.ColorBox->setCurrentIndex(9);  // red
        return true;
      };
      QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
      chosen = form->Edit1Font();
      QCOMPARE(FontToString(chosen), Utf8ToGbk("000000FFFFFFFFED000E0060086F0004宋体"));
      QVERIFY(form->Edit1->font().bold());
      QVERIFY(form->Edit1->font().italic());
      QVERIFY(form->Edit1->font().underline());
      QVERIFY(form->Edit1->font().strikeOut());
      QCOMPARE(form->Edit1->font().pixelSize(), 19);
      QCOMPARE(form->Edit1->palette().color(QPalette::Text), QColor(255, 0, 0));
      QVERIFY(RegReadString("HKEY_CURRENT_USER", "Software\\Vorlan\\mekcalc", "font", stored));
      QCOMPARE(stored, FontToString(chosen));
      form->close();
    }
    auto again = Open();
    QCOMPARE(FontToString(again->Edit1Font()), FontToString(chosen));
    QVERIFY(again->Edit1->font().bold());
    QCOMPARE(again->Edit1->font().pixelSize(), 19);
    QCOMPARE(again->Edit1->palette().color(QPalette::Text), QColor(255, 0, 0));
    QVERIFY(again->HotkeyRegistered());
    QVERIFY(watcher_->Boxes.empty());
  }

  void malformedStoredFont() {
    struct Case {
      std::string Stored;
      QString Shown;
    } cases[] = {
        {"1", "字体格式有误"},
        {std::string(32, 'F'), "字体格式有误"},
        // A size beyond the font dialog's: an 87,380-pixel font.
        {"000000FFFFFFFFF0FFFF006008600004" + Utf8ToGbk("宋体"), "字体格式有误"},
        {"000000FFFFFFFFEC00G0006008600004" + Utf8ToGbk("黑体"),
         "字体格式有误"},  // a field that is no number: the same words
    };
    for (const Case& c : cases) {
      QVERIFY(RegWriteString("HKEY_CURRENT_USER", "Software\\Vorlan\\mekcalc", "font", c.Stored));
      watcher_->Boxes.clear();
      auto form = Open();
      QCOMPARE(int(watcher_->Boxes.size()), 1);
      QCOMPARE(watcher_->Boxes[0].Text, c.Shown);
      QCOMPARE(watcher_->Boxes[0].Title, QString("Orvex V4.0"));
      QCOMPARE(watcher_->Boxes[0].Icon, QMessageBox::Critical);
      QVERIFY(!form->HotkeyRegistered());
      QVERIFY(!form->UpdateCheckStarted());
      if (c.Stored.find('G') == std::string::npos)  // unreadable as a whole: the default font
        QCOMPARE(FontToString(form->Edit1Font()), FontToString(DefaultFont()));
      // The window works all the same.
      QTest::mouseClick(form->Buttons[0], Qt::LeftButton);
      QCOMPARE(form->Edit1->text(), QString("1"));
    }
    // The fields read before the bad one stay applied: the colour is red.
    auto form = Open();
    QCOMPARE(form->Edit1Font().Color, 0xFF);
    QCOMPARE(form->Edit1->palette().color(QPalette::Text), QColor(255, 0, 0));
    // An empty stored text is ignored.
    QVERIFY(RegWriteString("HKEY_CURRENT_USER", "Software\\Vorlan\\mekcalc", "font", ""));
    watcher_->Boxes.clear();
    auto plain = Open();
    QVERIFY(watcher_->Boxes.empty());
    QVERIFY(plain->HotkeyRegistered());
  }

  void errorBoxFullStopRule() {
    struct Case {
      std::string In, Out;
    } cases[] = {{"abc", "abc."},   {"abc.", "abc."}, {"a!", "a!"}, {"a-", "a-"},
                 {"a/", "a/."},     {"", ""},         {"9", "9."},
                 {Utf8ToGbk("中"), Utf8ToGbk("中")}};  // no stray dot after Chinese
    for (const Case& c : cases) QCOMPARE(TForm1::ErrorBoxText(c.In), c.Out);
  }

  void wholeTypingTest() {
    auto form = Open();
    int64_t now = 5000;
    form->TypingTest.TickCount = [&now] { return now; };
    RandSeed(20240601);
    // Enter before item 51 is chosen is "=".
    Select(*form, 51);
    QCOMPARE(form->Label1->text(), QString("回车开始计时"));
    form->Edit1->setText("x");
    QTest::keyClick(form->Edit1, Qt::Key_Return);
    const QString text = form->Edit1->text();
    QCOMPARE(text.size(), 500);
    for (QChar ch : text) QVERIFY(QString("0123456789-+./").contains(ch));
    // The release of Enter ran "=": the test text is kept for "B", the label stays.
    QCOMPARE(form->Calc.LastInput, text.toStdString());
    QCOMPARE(form->Label1->text(), QString("回车开始计时"));

    // A wrong key changes nothing but the running figure.
    now += 1000;
    const char wrong = text[0] == '1' ? '2' : '1';
    QTest::keyClick(form->Edit1, wrong);
    QCOMPARE(form->Edit1->text(), text);
    QCOMPARE(form->Label1->text(), QString("当前打字速度为0字/分钟"));
    // Backspace and Enter are consumed too.
    QTest::keyClick(form->Edit1, Qt::Key_Backspace);
    QCOMPARE(form->Edit1->text(), text);
    for (int i = 0; i < 500; ++i) {
      now += 100;
      QTest::keyClick(form->Edit1, text[i].toLatin1());
      if (i == 19) {
        QCOMPARE(form->Edit1->text(), text.mid(20));
        QCOMPARE(form->Label1->text(), QString("当前打字速度为400字/分钟"));  // 20 in 3 s
      }
    }
    QCOMPARE(form->Edit1->text(), QString());
    QCOMPARE(int(watcher_->Boxes.size()), 1);
    // 500 characters in 51 s.
    QCOMPARE(watcher_->Boxes[0].Text, QString("本次测试您的打字速度为588字/分钟"));
    QCOMPARE(watcher_->Boxes[0].Title, QString("提示"));
    QCOMPARE(form->TypingTest.State(), TTypingTest::TState::Idle);
    // Keys reach the line again.
    QTest::keyClick(form->Edit1, '7');
    QCOMPARE(form->Edit1->text(), QString("7"));
  }

  void leavingTheTestGivesKeysBack() {
    auto form = Open();
    Select(*form, 51);
    QTest::keyClick(form->Edit1, Qt::Key_Return);
    QCOMPARE(form->Edit1->text().size(), 500);
    Select(*form, 0);
    form->Edit1->setFocus();
    form->Edit1->end(false);
    QTest::keyClicks(form->Edit1, "12");
    QVERIFY(form->Edit1->text().endsWith("12"));
    QCOMPARE(form->Edit1->text().size(), 502);
    // "C" then a key ends a running test at once.
    Select(*form, 51);
    QTest::keyClick(form->Edit1, Qt::Key_Return);
    QTest::mouseClick(form->Buttons[17], Qt::LeftButton);
    QTest::keyClick(form->Edit1, '5');
    QCOMPARE(int(watcher_->Boxes.size()), 1);
    QVERIFY(watcher_->Boxes[0].Text.startsWith("本次测试您的打字速度为"));
    QCOMPARE(form->Edit1->text(), QString());
  }

  // Item 40 on a tree of 40,000 files: during the walk the window handles its messages,
  // shows the wait text and refuses a second "="; then it shows the total.
  void folderWalkKeepsTheWindowAlive() {
    TFolderTree tree;
    for (int i = 0; i < 200; ++i)
      for (int j = 0; j < 200; ++j) tree.File("f" + std::to_string(i) + "/" + std::to_string(j), 1024);
    tree.File("iso/disc.iso", int64_t(3) << 30);
    const QString root = QString::fromStdString(tree.Root());
    auto form = Open();
    Select(*form, 40);
    QCOMPARE(form->Label1->text(), QString("输入文件夹路径"));
    form->Edit1->setText(root);

    struct {
      int Rounds = 0;
      bool Walking = false, StillWalking = false, Saved = false;
      QString Label, Edit;
    } during;
    QTimer rounds;  // fires in every round of messages
    connect(&rounds, &QTimer::timeout, [&] { ++during.Rounds; });
    rounds.start(0);
    QTimer::singleShot(0, form.get(), [&] {
      during.Walking = form->Calc.FolderWalking;
      during.Label = form->Label1->text();
      during.Saved = form->grab().save(QString(ORVEX_BUILD_DIR) + "/window-walk.png");
      QTest::mouseClick(form->Buttons[19], Qt::LeftButton);  // "=" again
      during.Edit = form->Edit1->text();
      during.StillWalking = form->Calc.FolderWalking;
    });
    QTest::mouseClick(form->Buttons[19], Qt::LeftButton);
    rounds.stop();
    QVERIFY(during.Rounds >= 1);
    QVERIFY(during.Walking);
    QCOMPARE(during.Label, QString("正在计算，请等待..."));
    QVERIFY(during.Saved);
    QCOMPARE(during.Edit, root);  // the second "=" computed nothing
    QVERIFY(during.StillWalking);
    QCOMPARE(form->Calc.FolderTotal, (int64_t(3) << 30) + 40000 * 1024);
    QCOMPARE(form->Edit1->text(), QString("3.04GB"));
    QCOMPARE(form->Label1->text(), QString("输入文件夹路径"));
    QVERIFY(!form->Calc.FolderWalking);
    QVERIFY(watcher_->Boxes.empty());
    qInfo("%d rounds of messages during the walk", during.Rounds);
  }

  // Items against a server that accepts and never answers: while "=" waits, the window
  // handles its events, repaints with the wait text and ignores a second "="; closing it
  // ends the wait at once, with the item's answer for a service that did not answer, and
  // no box after the close (item 35 shows one for no answer).
  void networkWaitKeepsTheWindowAlive() {
    struct Case {
      int Item;
      const char* Key;
      QString Input, After;
    } cases[] = {{27, "weather", "北京", U(ParseWeather(""))}, {35, "lottery", "2013011", "2013011"}};
    for (const Case& c : cases) {
      init();
      CheckNetworkWait(c.Item, c.Key, c.Input, c.After);
      if (QTest::currentTestFailed()) return;
    }
  }

  // A window closed during the walk ends it: here at its first report, before any file.
  void closingTheWindowEndsTheWalk() {
    TFolderTree tree;
    tree.File("a/b", 4096);
    auto form = Open();
    Select(*form, 40);
    form->Edit1->setText(QString::fromStdString(tree.Root()));
    QTimer::singleShot(0, form.get(), [&] { form->close(); });
    QTest::mouseClick(form->Buttons[19], Qt::LeftButton);
    QCOMPARE(form->Edit1->text(), QString("0.00B"));
    QVERIFY(!form->Calc.FolderWalking);
  }

  // The update check compares the download page's version line with the version file;
  // only a different line puts the notice into the caption.
  void updateCheckAtStart() {
    TWebServer site;
    QVERIFY(site.Port > 0);
    const std::string gbkLine = Utf8ToGbk(VersionLine) + "\r\n";
    struct Case {
      const char* Name;
      bool Configured;
      std::optional<std::string> File, After;
      TUpdateOutcome Outcome;
      QString Caption;
    } cases[] = {
        {"different line", true, Utf8ToGbk("录入时间：2012-1-1") + "\r\n",
         Utf8ToGbk("录入时间：2012-1-1") + "\r\n", TUpdateOutcome::NewVersion,
         "(Orvex)本软件有新版本了！"},
        {"same line", true, gbkLine, gbkLine, TUpdateOutcome::SameVersion, "Orvex V4.0"},
        {"first run", true, std::nullopt, gbkLine, TUpdateOutcome::FileCreated, "Orvex V4.0"},
        {"no site", false, std::nullopt, std::nullopt, TUpdateOutcome::NoVersionLine,
         "Orvex V4.0"},
    };
    for (const Case& c : cases) {
      qInfo("%s", c.Name);
      init();
      ConfigureLinks(c.Configured ? site.Base() : "", "");
      if (c.File) WriteConfigFile("calcgx.dll", *c.File);
      site.Serve(DownloadPage(), Utf8Page);
      auto form = Open();
      QTRY_VERIFY_WITH_TIMEOUT(form->UpdateCheckEnded(), CheckTimeoutMs);
      QCOMPARE(form->UpdateCheckOutcome(), c.Outcome);
      QCOMPARE(form->windowTitle(), c.Caption);
      QCOMPARE(ReadFile(VersionFile()), c.After);
      QCOMPARE(int(site.Targets().size()), c.Configured ? 1 : 0);
      QVERIFY(watcher_->Boxes.empty());
    }
  }

  // The window is in use while the check waits for the site.
  void updateCheckDoesNotHoldTheWindow() {
    TLoopbackSocket site(8);
    QVERIFY(site.Port > 0);
    ConfigureLinks("http://127.0.0.1:" + std::to_string(site.Port), "");
    WriteConfigFile("calcgx.dll", "old\r\n");
    auto form = Open();
    QVERIFY(form->UpdateCheckStarted());
    QTest::mouseClick(form->Buttons[0], Qt::LeftButton);
    QCOMPARE(form->Edit1->text(), QString("1"));
    QVERIFY(!form->UpdateCheckEnded());
    QCOMPARE(form->windowTitle(), QString("Orvex V4.0"));
    QVERIFY(AnswerOnce(site, DownloadPage(), CheckTimeoutMs));
    QTRY_COMPARE_WITH_TIMEOUT(form->windowTitle(), QString("(Orvex)本软件有新版本了！"),
                              CheckTimeoutMs);
  }

  // A window closed and destroyed before its check ends is left alone by the check.
  void updateCheckOutlivingTheWindow() {
    TLoopbackSocket site(8);
    QVERIFY(site.Port > 0);
    ConfigureLinks("http://127.0.0.1:" + std::to_string(site.Port), "");
    Open()->close();
    QVERIFY(AnswerOnce(site, DownloadPage(), CheckTimeoutMs));
    // The check creates the version file, then hands its outcome over with no window
    // left to take it.
    QTRY_COMPARE_WITH_TIMEOUT(ReadFile(VersionFile()), std::optional(Utf8ToGbk(VersionLine) + "\r\n"),
                              CheckTimeoutMs);
    QTest::qWait(100);
    QVERIFY(watcher_->Boxes.empty());
  }

  // The labels open the home page and the chat link through OpenLink; "下载最新版本"
  // first takes the page's version line as seen.
  void linkLabelsOpenTheConfiguredAddresses() {
    TWebServer site;
    QVERIFY(site.Port > 0);
    site.Serve(DownloadPage(), Utf8Page);
    TRefusingPort offline;
    QVERIFY(offline.Port > 0);
    const std::string down = "http://127.0.0.1:" + std::to_string(offline.Port);
    const std::string gbkLine = Utf8ToGbk(VersionLine) + "\r\n";
    struct Case {
      const char* Name;
      std::string Site, Contact;
      std::optional<std::string> File;  // the version file before the click
      int Label;                        // 3, 4 or 5
      std::vector<std::string> Opened;
      std::optional<std::string> After;  // the version file after the click
    } cases[] = {
        {"download: the line is taken", site.Base(), "", "old\r\n", 3, {site.Base() + "/"},
         gbkLine},
        {"download offline: home all the same", down, "", "old\r\n", 3, {down + "/"}, "old\r\n"},
        {"custom software", site.Base(), "", "old\r\n", 4, {site.Base() + "/"}, "old\r\n"},
        {"site without scheme", "127.0.0.1:" + std::to_string(offline.Port), "", std::nullopt, 4,
         {down + "/"}, std::nullopt},
        {"contact", site.Base(), "10001", "old\r\n", 5,
         {"tencent://message/?uin=10001&Site=Menu=yes"}, "old\r\n"},
        {"a site that is no web address", "file:///etc", "", std::nullopt, 4, {}, std::nullopt},
        {"nothing configured: download", "", "", std::nullopt, 3, {}, std::nullopt},
        {"nothing configured: custom software", "", "", std::nullopt, 4, {}, std::nullopt},
        {"nothing configured: contact", "", "", std::nullopt, 5, {}, std::nullopt},
        {"no contact", site.Base(), "", "old\r\n", 5, {}, "old\r\n"},
        {"contact without site", "", "10001", std::nullopt, 5,
         {"tencent://message/?uin=10001&Site=Menu=yes"}, std::nullopt},
    };
    for (const Case& c : cases) {
      qInfo("%s", c.Name);
      init();
      ConfigureLinks(c.Site, c.Contact);
      if (c.File) WriteConfigFile("calcgx.dll", *c.File);
      std::vector<std::string> opened;
      auto form = OpenChecked(opened);
      QLabel* label = c.Label == 3 ? form->Label3 : c.Label == 4 ? form->Label4 : form->Label5;
      QTest::mouseClick(label, Qt::LeftButton);
      QCOMPARE(opened, c.Opened);
      QCOMPARE(ReadFile(VersionFile()), c.After);
      QVERIFY(watcher_->Boxes.empty());
    }
  }

  // A version file that cannot be written stops "下载最新版本" with the error box; the
  // home page is not opened and the window goes on.
  void downloadLabelWriteFailure() {
    TWebServer site;
    QVERIFY(site.Port > 0);
    site.Serve(DownloadPage(), Utf8Page);
    ConfigureLinks(site.Base(), "");
    std::filesystem::create_directories(VersionFile());  // a folder where the file belongs
    std::vector<std::string> opened;
    auto form = OpenChecked(opened);
    QCOMPARE(form->UpdateCheckOutcome(), TUpdateOutcome::FileError);
    QVERIFY(watcher_->Boxes.empty());  // the check ends silently
    QTest::mouseClick(form->Label3, Qt::LeftButton);
    QCOMPARE(int(watcher_->Boxes.size()), 1);
    QCOMPARE(watcher_->Boxes[0].Text, QString::fromStdString("Cannot create file \"" + VersionFile() +
                                                             "\". Is a directory."));
    QCOMPARE(watcher_->Boxes[0].Title, QString("Orvex V4.0"));
    QCOMPARE(watcher_->Boxes[0].Icon, QMessageBox::Critical);
    QVERIFY(opened.empty());
    QTest::mouseClick(form->Label4, Qt::LeftButton);
    QCOMPARE(opened, std::vector<std::string>{site.Base() + "/"});
  }

  // ---- The settings store and the font dialog ----
private slots:
  // A store far beyond any real size (3 GB, sparse) is unreadable: the window starts with
  // the default font and no error, and a font chosen then lasts for this run only: the
  // store keeps its size and time.
  void oversizedStoreIsLeftAlone() {
    namespace fs = std::filesystem;
    fs::create_directories(ConfigFolder());
    const std::string store = ConfigFolder() + "/HKEY_CURRENT_USER.ini";
    const uintmax_t size = uintmax_t(3) << 30;
    std::ofstream(store, std::ios::binary).close();
    fs::resize_file(store, size);
    const fs::file_time_type written = fs::last_write_time(store);
    auto form = Open();
    QVERIFY(watcher_->Boxes.empty());
    QVERIFY(form->HotkeyRegistered());
    QCOMPARE(FontToString(form->Edit1Font()), FontToString(DefaultFont()));
    watcher_->OnFontDialog = [](TFontDialog& d) {
      d.StyleBox->setCurrentIndex(2);  // bold
      return true;
    };
    QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
    QVERIFY(form->Edit1->font().bold());
    QCOMPARE(uintmax_t(fs::file_size(store)), size);
    QVERIFY(fs::last_write_time(store) == written);
    QVERIFY(watcher_->Boxes.empty());
  }

  // A face name cleared in the font dialog is never stored: the font keeps the face it
  // had (the window's default face when it had none), and later starts show no error.
  void fontWithoutFaceIsNotStored() {
    struct Case {
      const char* Name;
      std::string Stored;  // GBK; empty: nothing stored
      QString Typed;
      std::string Face;  // GBK
    } cases[] = {
        {"cleared default face", "", "", Utf8ToGbk("宋体")},
        {"blanks for a face", "", "  \t ", Utf8ToGbk("宋体")},
        {"cleared stored face", Utf8ToGbk("80000008FFFFFFF0000C006008600004黑体"), "",
         Utf8ToGbk("黑体")},
        {"stored font without a face", Utf8ToGbk("80000008FFFFFFF0000C006008600000宋体"), "",
         Utf8ToGbk("宋体")},
    };
    for (const Case& c : cases) {
      qInfo("%s", c.Name);
      init();
      if (!c.Stored.empty())
        QVERIFY(RegWriteString("HKEY_CURRENT_USER", "Software\\Vorlan\\mekcalc", "font", c.Stored));
      {
        auto form = Open();
        QVERIFY(watcher_->Boxes.empty());
        watcher_->OnFontDialog = [&c](TFontDialog& d) {
          d.FaceBox->setCurrentText(c.Typed);
          d.SizeBox->setCurrentText("20");
          return true;
        };
        QTest::mouseClick(form->BitBtn1, Qt::LeftButton);
        QCOMPARE(form->Edit1Font().Name, c.Face);
        QCOMPARE(form->Edit1Font().Size(), 20);
        std::string stored;
        QVERIFY(RegReadString("HKEY_CURRENT_USER", "Software\\Vorlan\\mekcalc", "font", stored));
        QCOMPARE(stored, FontToString(form->Edit1Font()));
        form->close();
      }
      auto again = Open();
      QVERIFY(watcher_->Boxes.empty());
      QVERIFY(again->HotkeyRegistered());
      QCOMPARE(again->Edit1Font().Name, c.Face);
      QCOMPARE(again->Edit1Font().Size(), 20);
    }
  }
};

QTEST_MAIN(WindowTest)
#include "window_test.moc"
