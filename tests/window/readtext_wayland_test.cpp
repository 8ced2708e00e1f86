// Item 47 on a Wayland desktop, as a user meets it; portal_desktop.py runs it on a headless
// weston with its own session bus, accessibility bus and xdg-desktop-portal, whose
// global shortcuts come from a test backend that the test presses. The text that has the
// focus in another program reaches the input line through the desktop's shortcut, and,
// with the portal gone, through `orvex --read-text`; leaving item 47 releases the shortcut.
#include <QComboBox>
#include <QDBusConnection>
#include <QDBusConnectionInterface>
#include <QDBusInterface>
#include <QDBusReply>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QLineEdit>
#include <QProcess>
#include <QtTest>
#include <memory>
#include <signal.h>

#include "app/window/Unit1.h"
#include "app/window/mekoleacc.h"

namespace {

const QString Text = "读取这行中文";
const char* const PortalPrompt = "提取时按F5";
const char* const CommandPrompt = "请在桌面的键盘快捷键设置中把F5设为命令 orvex --read-text，提取时按F5";
const char* const NoWayPrompt = "无法提取：桌面不提供全局快捷键，也无法接收 orvex --read-text";

}  // namespace

class ReadTextTest : public QObject {
  Q_OBJECT

  QProcess peer_;
  bool peerReady_ = false;
  QStringList focused_;  // the peer's elements that took the focus, in order
  std::unique_ptr<QDBusInterface> desktop_;  // the test backend's controls

  std::unique_ptr<TForm1> OpenWith47() {
    auto form = std::make_unique<TForm1>();
    form->show();
    if (!QTest::qWaitForWindowExposed(form.get())) qWarning("window not shown");
    form->ComboBox1->setCurrentIndex(47);
    return form;
  }

  void Focus(const QString& what) {
    focused_.clear();
    peer_.write((what + "\n").toUtf8());
    if (!QTest::qWaitFor([&] { return focused_.contains(what); }, 10000))
      qWarning("the other program did not focus %s", qPrintable(what));
  }

  // The backend's sessions: {"open": [{"handle", "app_id", "shortcuts"}], "closed": n}.
  QJsonObject Sessions() {
    const QDBusReply<QString> reply = desktop_->call("Sessions");
    return QJsonDocument::fromJson(reply.value().toUtf8()).object();
  }
  // The shortcuts of the one open session; empty unless exactly one is open.
  QStringList BoundShortcuts() {
    const QJsonArray open = Sessions()["open"].toArray();
    QStringList ids;
    if (open.size() == 1)
      for (const QJsonValue& id : open[0].toObject()["shortcuts"].toArray()) ids << id.toString();
    return ids;
  }
  int ClosedSessions() { return Sessions()["closed"].toInt(); }

  // `orvex --read-text`: its exit status, and what it said on standard error.
  static int RunReadText(QString* said = nullptr) {
    QProcess command;
    command.start(ORVEX_PROGRAM, {"--read-text"});
    // The window answers on this thread: the event loop turns while the command waits.
    if (!QTest::qWaitFor([&] { return command.state() == QProcess::NotRunning; }, 20000)) {
      command.kill();
      return -1;
    }
    if (said) *said = QString::fromUtf8(command.readAllStandardError());
    return command.exitStatus() == QProcess::NormalExit ? command.exitCode() : -1;
  }

private slots:
  void initTestCase() {
    QCOMPARE(QGuiApplication::platformName(), QString("wayland"));
    QVERIFY2(qEnvironmentVariableIsSet("ORVEX_TEST_PORTAL_PID"), "run by portal_desktop.py");
    desktop_ = std::make_unique<QDBusInterface>("org.freedesktop.impl.portal.Test", "/org/orvex/test",
                                                "org.orvex.test.ShortcutDesktop");
    QVERIFY2(desktop_->isValid(), "the shortcut backend is not on the bus");
    connect(&peer_, &QProcess::readyReadStandardOutput, this, [this] {
      while (peer_.canReadLine()) {
        const QString line = QString::fromUtf8(peer_.readLine()).trimmed();
        if (line == "ready") peerReady_ = true;
        if (line.startsWith("focused ")) focused_ << line.mid(8);
      }
    });
    QProcessEnvironment env = QProcessEnvironment::systemEnvironment();
    env.insert("QT_LINUX_ACCESSIBILITY_ALWAYS_ON", "1");
    peer_.setProcessEnvironment(env);
    peer_.setProcessChannelMode(QProcess::ForwardedErrorChannel);
    peer_.start(POINTERTEXT_PEER, {"focus"});
    QVERIFY(peer_.waitForStarted(10000));
    QVERIFY2(QTest::qWaitFor([&] { return peerReady_; }, 20000), "the other program did not show");
    Focus("edit");
    QVERIFY2(QTest::qWaitFor([] { return bool(AccFocusedObject()); }, 20000),
             "the other program's focus did not appear on the accessibility bus");
  }

  void cleanupTestCase() {
    peer_.kill();
    peer_.waitForFinished(5000);
  }

  // What is read of the focused element: the selection, else the caret's line, else the
  // name; never a password.
  void focusedElementText() {
    struct Case {
      const char* Focus;
      TAccStatus Status;
      QString Utf8;
    } cases[] = {
        {"edit", TAccStatus::Ok, Text},
        {"selection", TAccStatus::Ok, "这行"},
        {"lines", TAccStatus::Ok, "第二行文字"},
        {"button", TAccStatus::Ok, "确定"},
        {"password", TAccStatus::Failed, ""},
    };
    for (const Case& c : cases) {
      Focus(c.Focus);
      FAccAnswer answer;
      (void)QTest::qWaitFor([&] {
        answer = AccFocusedTextAnswer(AccFocusedObject());
        return answer.Status == c.Status && QString::fromStdString(answer.Utf8) == c.Utf8;
      }, 5000);
      QVERIFY2(answer.Status == c.Status, c.Focus);
      QCOMPARE(QString::fromStdString(answer.Utf8), c.Utf8);
    }
    QVERIFY(AccFocusedTextAnswer(TAccObject()).Status == TAccStatus::InvalidArg);
  }

  // The desktop's shortcut, bound while item 47 is selected and released when it is left
  // or the window closes.
  void portalShortcutReadsTheFocus() {
    Focus("edit");
    const int closedBefore = ClosedSessions();
    auto form = OpenWith47();
    QTRY_COMPARE_WITH_TIMEOUT(BoundShortcuts(), QStringList{"read-text"}, 10000);
    QTRY_COMPARE(form->Label1->text(), QString(PortalPrompt));
    // A portal with a registry knows the window as the application of orvex.desktop.
    QDBusInterface portal("org.freedesktop.portal.Desktop", "/org/freedesktop/portal/desktop",
                          "org.freedesktop.DBus.Introspectable");
    const QDBusReply<QString> introspection = portal.call("Introspect");
    if (introspection.value().contains("org.freedesktop.host.portal.Registry"))
      QCOMPARE(Sessions()["open"].toArray()[0].toObject()["app_id"].toString(), QString("orvex"));

    form->Edit1->setText("old text");
    QCOMPARE(QDBusReply<uint>(desktop_->call("Press", "read-text")).value(), 1u);
    QTRY_COMPARE(form->Edit1->text(), Text);

    form->ComboBox1->setCurrentIndex(48);
    QTRY_COMPARE(ClosedSessions(), closedBefore + 1);
    QVERIFY(Sessions()["open"].toArray().isEmpty());
    form->ComboBox1->setCurrentIndex(47);
    QTRY_COMPARE_WITH_TIMEOUT(BoundShortcuts(), QStringList{"read-text"}, 10000);
    form->close();
    QTRY_COMPARE(ClosedSessions(), closedBefore + 2);
  }

  // With no portal on the bus: the command bound to F5 reaches the window that holds the
  // bus name; a second window is told that neither way works for it.
  void readTextCommandWithoutPortal() {
    const pid_t portal = qEnvironmentVariableIntValue("ORVEX_TEST_PORTAL_PID");
    QVERIFY(kill(portal, SIGTERM) == 0);
    QTRY_VERIFY(!QDBusConnection::sessionBus().interface()->isServiceRegistered(
        "org.freedesktop.portal.Desktop"));
    Focus("lines");
    auto form = OpenWith47();
    QTRY_COMPARE(form->Label1->text(), QString(CommandPrompt));
    QVERIFY(form->Label1->WrappedLines().size() <= 2);
    QCOMPARE(RunReadText(), 0);
    QCOMPARE(form->Edit1->text(), QString("第二行文字"));

    auto second = OpenWith47();
    QTRY_COMPARE(second->Label1->text(), QString(NoWayPrompt));
    second->close();
    // Another item gives the name up; so does closing the window.
    form->ComboBox1->setCurrentIndex(46);
    QString said;
    QCOMPARE(RunReadText(&said), 1);
    QVERIFY2(said.startsWith("orvex: 没有选中"), qPrintable(said));
    form->ComboBox1->setCurrentIndex(47);
    Focus("button");
    QCOMPARE(RunReadText(), 0);
    QCOMPARE(form->Edit1->text(), QString("确定"));
    form->close();
    QCOMPARE(RunReadText(), 1);
  }
};

QTEST_MAIN(ReadTextTest)

#include "readtext_wayland_test.moc"
