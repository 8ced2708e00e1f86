// The calculator window.
#include <QApplication>
#include <QCoreApplication>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

#include "app/window/Unit1.h"
#include "app/window/readtext.h"
#include "app/window/startreport.h"
#include "orvex_version.h"

namespace {

const char* const HelpText =
    "Usage: orvex [--help | --version | --read-text] [QT-OPTIONS]\n"
    "\n"
    "Opens the calculator window. The options of Qt (such as -platform NAME or\n"
    "-display DISPLAY) are handed to Qt; see orvex(1).\n"
    "\n"
    "Options:\n"
    "  --help       show this help\n"
    "  --version    show the version\n"
    "  --read-text  have the open window read the focused text (item 47 on Wayland;\n"
    "               bind F5 to this command where the desktop has no global shortcuts)\n"
    "\n"
    "Exit status: 0 when the window was closed, 1 when there is no display to open it on.\n"
    "With --read-text: 0 when the window read the text, 1 when no window answered.\n";

bool HaveDisplay() {
  for (const char* v : {"DISPLAY", "WAYLAND_DISPLAY", "QT_QPA_PLATFORM"}) {
    const char* s = std::getenv(v);
    if (s && *s) return true;
  }
  return false;
}

}  // namespace

int main(int argc, char* argv[]) {
  // Our own options are answered before any display is needed; the rest go to Qt.
  for (int i = 1; i < argc; ++i) {
    if (std::strcmp(argv[i], "--help") == 0 || std::strcmp(argv[i], "-h") == 0) {
      return std::fputs(HelpText, stdout) >= 0 && std::fflush(stdout) == 0 ? 0 : 1;
    }
    if (std::strcmp(argv[i], "--version") == 0) {
      return std::printf("orvex %s\n", ORVEX_VERSION) > 0 && std::fflush(stdout) == 0 ? 0 : 1;
    }
    // The command a Wayland user binds to F5: only the session bus is needed.
    if (std::strcmp(argv[i], "--read-text") == 0) {
      QCoreApplication app(argc, argv);
      return ReadTextCommand();
    }
  }
  if (!HaveDisplay()) {
    std::fprintf(stderr, "orvex: no display to open the window on (DISPLAY is not set)\n");
    return 1;
  }
  QApplication app(argc, argv);
  // The desktop entry orvex.desktop describes this program (window grouping on Wayland).
  QGuiApplication::setDesktopFileName("orvex");
  TForm1 form;
  // ORVEX_STARTUP_REPORT=1: the time to the window's first frame and the resident memory
  // a second later, then quit (bench/window_start.py).
  ArmStartupReport(form);
  form.show();
  return app.exec();
}
