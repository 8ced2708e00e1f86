// Item 47 on a real X server with an accessibility bus, as a user meets it: F5 over
// another program's button, line edit, password field and slider writes their texts into
// the input line, and F5 is the window's only while item 47 is selected.
#include <QApplication>
#include <QComboBox>
#include <QLineEdit>
#include <QProcess>
#include <QPushButton>
#include <QTemporaryDir>
#include <QtTest>
#include <cstdio>
#include <memory>
#include <signal.h>
#include <unistd.h>

#include "app/window/Unit1.h"
#include "app/window/mekoleacc.h"
#include "core/codepage.h"
#include "xsession.h"

namespace {

constexpr unsigned long KeyF5 = 0xFFC2, KeyF6 = 0xFFC3;
constexpr unsigned long KeyNumLock = 0xFF7F, KeyCapsLock = 0xFFE5;
pid_t sessionGroup = 0;

std::string G(const char* utf8) { return Utf8ToGbk(utf8); }

}  // namespace

class PointerTextTest : public QObject {
  Q_OBJECT

  QTemporaryDir config_;
  std::unique_ptr<TXUser> user_;
  QProcess peer_;
  QStringList keys_;  // the keys that reached the other program, in order
  unsigned long peerWindow_ = 0;
  QPoint button_, edit_, password_, slider_;

  std::unique_ptr<TForm1> Open() {
    auto form = std::make_unique<TForm1>();
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get())) qWarning("window not shown");
    return form;
  }
  static void Select(TForm1& form, int index) { form.ComboBox1->setCurrentIndex(index); }

  // Whether F5 reaches the other program while it has the focus. F6 follows as a marker:
  // once it has arrived, so has an F5 that was passed on.
  bool PeerGetsF5() {
    user_->Focus(peerWindow_);
    const qsizetype before = keys_.size();
    user_->Tap(KeyF5);
    user_->Tap(KeyF6);
    if (!QTest::qWaitFor([&] { return keys_.mid(before).contains("F6"); }, 10000))
      qWarning("the marker key did not arrive");
    return keys_.mid(before).contains("F5");
  }

  void ReadPeer() {
    while (peer_.canReadLine()) {
      const QStringList f = QString::fromUtf8(peer_.readLine()).trimmed().split(' ');
      if (f.value(0) == "key") keys_ << f.value(1);
      if (f.value(0) == "ready" && f.size() == 10) {
        peerWindow_ = f[1].toULong();
        button_ = {f[2].toInt(), f[3].toInt()};
        edit_ = {f[4].toInt(), f[5].toInt()};
        password_ = {f[6].toInt(), f[7].toInt()};
        slider_ = {f[8].toInt(), f[9].toInt()};
      }
    }
  }

private slots:
  void initTestCase() {
    qputenv("XDG_CONFIG_HOME", config_.path().toUtf8());
    user_ = std::make_unique<TXUser>();
    QVERIFY2(user_->Usable(), "no X connection with XTest");
    connect(&peer_, &QProcess::readyReadStandardOutput, this, &PointerTextTest::ReadPeer);
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    peer_.setProcessEnvironment(env);
    peer_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    peer_.setChildProcessModifier([] { setpgid(0, sessionGroup); });
    peer_.start(POINTERTEXT_PEER, {});
    QVERIFY(peer_.waitForStarted(10000));
    QVERIFY2(QTest::qWaitFor([&] { return peerWindow_ != 0; }, 20000), "the other program did not show");
    // Its elements are on the accessibility bus once the button can be found there.
    QVERIFY2(QTest::qWaitFor([&] { return bool(AccObjectFromPoint(button_.x(), button_.y())); },
                             20000),
             "the other program did not appear on the accessibility bus");
  }

  void cleanupTestCase() {
    peer_.kill();
    peer_.waitForFinished(5000);
  }

  // The answers of the accessibility queries: name and value of each element.
  void answersOfTheElements() {
    struct Case {
      const char* What;
      QPoint At;
      TAccProperty Property;
      TAccStatus Status;
      const char* Utf8;
      const char* Shown;
    } cases[] = {
        {"button", button_, TAccProperty::Name, TAccStatus::Ok, "确定", "确定"},
        {"button", button_, TAccProperty::Value, TAccStatus::NoText, "", "无"},
        {"line edit", edit_, TAccProperty::Name, TAccStatus::NoText, "", "无"},
        {"line edit", edit_, TAccProperty::Value, TAccStatus::Ok, "abc", "abc"},
        {"password", password_, TAccProperty::Value, TAccStatus::Failed, "", "未知"},
        {"slider", slider_, TAccProperty::Value, TAccStatus::Ok, "42", "42"},
    };
    for (const Case& c : cases) {
      const TAccObject object = AccObjectFromPoint(c.At.x(), c.At.y());
      QVERIFY2(object, c.What);
      const FAccAnswer answer = AccPropertyAnswer(object, CHILDID_SELF, c.Property);
      QVERIFY2(answer.Status == c.Status, c.What);
      if (c.Status == TAccStatus::Ok) QCOMPARE(QString::fromStdString(answer.Utf8), QString(c.Utf8));
      QCOMPARE(AccPropertyText(object, CHILDID_SELF, c.Property), G(c.Shown));
    }
    // Children other than the element itself, and no element, are invalid arguments.
    const TAccObject button = AccObjectFromPoint(button_.x(), button_.y());
    QCOMPARE(AccPropertyText(button, 1, TAccProperty::Name), G("非法"));
    QCOMPARE(AccPropertyText(TAccObject(), CHILDID_SELF, TAccProperty::Value), G("非法"));
    // A point outside every window of another program finds nothing.
    QVERIFY(!AccObjectFromPoint(5, 1000));
  }

  // F5 with item 47 selected: the input line shows the element under the pointer.
  void f5ReadsTheTextUnderThePointer() {
    auto form = Open();
    Select(*form, 47);
    // On X11 the prompt stays the item's own: F5 is the window's grab.
    QCOMPARE(form->Label1->text(), QString("提取时按F5"));
    struct Case {
      const char* What;
      QPoint At;
      QString Line;
    } cases[] = {
        {"button", button_, "标签:确定"},
        {"line edit", edit_, " 值为:abc"},
        {"password", password_, ""},
        {"slider", slider_, " 值为:42"},
        {"bare screen", {5, 1000}, ""},
    };
    for (const Case& c : cases) {
      form->Edit1->setText("old text");
      user_->MovePointer(c.At.x(), c.At.y());
      user_->Tap(KeyF5);
      QVERIFY2(QTest::qWaitFor([&] { return form->Edit1->text() == c.Line; }, 10000), c.What);
    }
    // A program that does not answer holds the window up for a bounded time only.
    kill(peer_.processId(), SIGSTOP);
    form->Edit1->setText("old text");
    user_->MovePointer(button_.x(), button_.y());
    QElapsedTimer stalled;
    stalled.start();
    user_->Tap(KeyF5);
    const bool ended = QTest::qWaitFor([&] { return form->Edit1->text().isEmpty(); }, 15000);
    kill(peer_.processId(), SIGCONT);
    QVERIFY2(ended, "F5 over a program that does not answer");
    qInfo("F5 over a stopped program took %lld ms", stalled.elapsed());
    // "=" with item 47 runs only the common steps.
    form->Edit1->setText("ａｂｃ");
    QTest::mouseClick(form->Buttons[19], Qt::LeftButton);
    QCOMPARE(form->Edit1->text(), QString("abc"));
  }

  // The caption the desktop shows is exactly the window's text: "Orvex V4.0" at start, the
  // update check's notice once it has found a new version.
  void captionIsExactlyItsText() {
    auto form = Open();
    const unsigned long window = form->winId();
    QTRY_COMPARE(QString::fromStdString(user_->WindowTitle(window)), QString("Orvex V4.0"));
    form->setWindowTitle(QString::fromStdString(GbkToUtf8(UpdateNotice)));
    QTRY_COMPARE(QString::fromStdString(user_->WindowTitle(window)),
                 QString("(Orvex)本软件有新版本了！"));
  }

  // Other programs keep their F5 unless item 47 is selected, whatever the lock keys.
  void f5IsTheWindowsOnlyWithItem47() {
    QVERIFY(PeerGetsF5());  // no window
    auto form = Open();
    QVERIFY(form->Hotkeys());
    QCOMPARE(form->Hotkeys()->Count, 1);
    QVERIFY(PeerGetsF5());  // nothing selected
    Select(*form, 0);
    QVERIFY(PeerGetsF5());
    Select(*form, 47);
    QVERIFY(!PeerGetsF5());
    struct Lock {
      const char* Name;
      std::vector<unsigned long> Keys;
    } locks[] = {{"Num Lock", {KeyNumLock}}, {"Caps Lock", {KeyCapsLock}},
                 {"both", {KeyNumLock, KeyCapsLock}}};
    for (const Lock& l : locks) {
      for (unsigned long k : l.Keys) user_->Tap(k);
      const bool passedOn = PeerGetsF5();
      for (unsigned long k : l.Keys) user_->Tap(k);
      QVERIFY2(!passedOn, l.Name);
    }
    Select(*form, 48);
    QVERIFY(PeerGetsF5());
    Select(*form, 47);
    QVERIFY(!PeerGetsF5());
    form->close();
    QVERIFY(!form->Hotkeys());
    QVERIFY(PeerGetsF5());  // closing the window gives F5 back
  }
};

int main(int argc, char* argv[]) {
  std::string missing;
  if (!TDesktopSession::ToolsPresent(missing)) {
    std::printf("SKIP: %s is not installed; scripts/setup-deps installs it\n", missing.c_str());
    return 77;
  }
  TDesktopSession session;
  std::string why;
  if (!session.Start(why)) {
    std::printf("FAIL: %s\n", why.c_str());
    return 1;
  }
  sessionGroup = session.Group();
  int result;
  {
    QApplication app(argc, argv);
    PointerTextTest test;
    result = QTest::qExec(&test, argc, argv);
  }
  session.Stop();
  return result;
}

#include "pointertext_x11_test.moc"
