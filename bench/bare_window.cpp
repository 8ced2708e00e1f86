// The floor the window's start-up is measured against: a Qt 6 window with one Chinese
// label in the window's own font and size, reporting its start-up as the window does.
#include <QApplication>
#include <QLabel>
#include <QWidget>

#include "app/window/startreport.h"

int main(int argc, char* argv[]) {
  QApplication app(argc, argv);
  QWidget window;
  window.setWindowTitle("Orvex V4.0");
  window.setFixedSize(407, 384);
  QFont font("Noto Serif CJK SC");
  font.setPixelSize(16);
  window.setFont(font);
  QLabel label("做世界上最牛的计算器", &window);
  label.setGeometry(9, 7, 388, 38);
  ArmStartupReport(window);
  window.show();
  return app.exec();
}
