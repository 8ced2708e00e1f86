// Another program on the test's X server: a button "确定", a line edit holding "abc", a
// password field and a slider at 42. Once its window is shown it prints
//   ready WINDOW BUTTON_X BUTTON_Y EDIT_X EDIT_Y PASSWORD_X PASSWORD_Y SLIDER_X SLIDER_Y
// (the centres, in screen pixels) and then "key NAME" for every key that reaches it.
#include <QApplication>
#include <QKeyEvent>
#include <QKeySequence>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTimer>
#include <QWidget>
#include <QWindow>
#include <cstdio>

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

}  // namespace

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
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
