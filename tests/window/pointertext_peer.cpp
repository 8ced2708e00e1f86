// Another program on the test's X server: a button "确定", a line edit holding "abc", a
// password field and a slider at 42. Once its window is shown it prints
//   ready WINDOW BUTTON_X BUTTON_Y EDIT_X EDIT_Y PASSWORD_X PASSWORD_Y SLIDER_X SLIDER_Y
// (the centres, in screen pixels) and then "key NAME" for every key that reaches it.
//
// With the argument "focus", another program on the test's Wayland desktop, whose elements
// take the focus on command: it prints "ready" once shown, then for each line read from
// standard input gives the focus to (and makes its window the active one, which a headless
// compositor never does) and prints "focused LINE":
//   edit       the line edit 读取这行中文, nothing selected
//   selection  the same with 这行 selected
//   lines      a two-line text 第一行 / 第二行文字, the caret in the second line
//   password   a password field
//   button     the button 确定
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QSlider>
#include <QSocketNotifier>
#include <QTextCursor>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <cstdio>
#include <cstring>
#include <unistd.h>

namespace {

class TKeyRecorder : public QObject {
protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    // Each key reaches the window first, then its widgets: count it at the window.
    if (event->type() == QEvent::KeyPress && watched->isWindowType()) {
      const auto* key = static_cast<QKeyEvent*>(event);
      std::printf("key %s\n", QKeySequence(key->key()).toString().toUtf8().constData());
      std::fflush(stdout);
    }
    return false;
  }
};

QString Centre(QWidget* w) {
  const QPoint p = w->mapToGlobal(w->rect().center()) * w->devicePixelRatio();
  return QString("%1 %2").arg(p.x()).arg(p.y());
}

int FocusPeer(QApplication& app) {
  QWidget window;
  window.setWindowTitle("peer");
  window.resize(320, 260);
  QLineEdit edit("读取这行中文", &window);
  edit.setGeometry(20, 20, 200, 30);
  QPlainTextEdit lines("第一行\n第二行文字", &window);
  lines.setGeometry(20, 60, 200, 80);
  QLineEdit password("secret", &window);
  password.setEchoMode(QLineEdit::Password);
  password.setGeometry(20, 150, 200, 30);
  QPushButton button("确定", &window);
  button.setGeometry(20, 200, 120, 40);
  window.show();

  const auto focus = [&](const QByteArray& what) {
    QT_WARNING_PUSH
    QT_WARNING_DISABLE_DEPRECATED
    QApplication::setActiveWindow(&window);
    QT_WARNING_POP
    if (what == "edit" || what == "selection") {
      edit.setFocus();
      edit.deselect();
      if (what == "selection") edit.setSelection(2, 2);
    } else if (what == "lines") {
      lines.setFocus();
      QTextCursor cursor = lines.textCursor();
      cursor.setPosition(6);  // after "第二"
      lines.setTextCursor(cursor);
    } else if (what == "password") {
      password.setFocus();
    } else if (what == "button") {
      button.setFocus();
    }
    std::printf("focused %s\n", what.constData());
    std::fflush(stdout);
  };
  QByteArray input;
  QSocketNotifier commands(0, QSocketNotifier::Read);
  QObject::connect(&commands, &QSocketNotifier::activated, [&] {
    char buffer[256];
    const ssize_t n = read(0, buffer, sizeof buffer);
    if (n <= 0) return app.quit();
    input.append(buffer, n);
    for (qsizetype end; (end = input.indexOf('\n')) >= 0; input.remove(0, end + 1))
      focus(input.left(end).trimmed());
  });
  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (!window.windowHandle() || !window.windowHandle()->isExposed()) return;
    poll.stop();
    std::printf("ready\n");
    std::fflush(stdout);
  });
  poll.start(20);
  return app.exec();
}

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  if (argc > 1 && std::strcmp(argv[1], "focus") == 0) return FocusPeer(app);
  QWidget window;
  window.setWindowTitle("peer");
  window.setGeometry(720, 120, 320, 220);
  QPushButton button("确定", &window);
  button.setGeometry(20, 20, 120, 40);
  QLineEdit edit("abc", &window);
  edit.setGeometry(20, 75, 200, 30);
  QLineEdit password("secret", &window);
  password.setEchoMode(QLineEdit::Password);
  password.setGeometry(20, 120, 200, 30);
  QSlider slider(Qt::Horizontal, &window);
  slider.setRange(0, 100);
  slider.setValue(42);
  slider.setGeometry(20, 170, 200, 30);
  TKeyRecorder recorder;
  app.installEventFilter(&recorder);
  window.show();

  QTimer poll;
  QObject::connect(&poll, &QTimer::timeout, [&] {
    if (!window.windowHandle() || !window.windowHandle()->isExposed()) return;
    poll.stop();
    std::printf("ready %llu %s %s %s %s\n", static_cast<unsigned long long>(window.winId()),
                qPrintable(Centre(&button)), qPrintable(Centre(&edit)),
                qPrintable(Centre(&password)), qPrintable(Centre(&slider)));
    std::fflush(stdout);
  });
  poll.start(20);
  return app.exec();
}
