// The calculator window.
#include <QApplication>
#include <QCoreApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>

#include "app/window/Unit1.h"
#include "app/window/readtext.h"
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

// Milliseconds since the process started, from its start time in /proc.
double MsSinceProcessStart() {
  std::ifstream stat("/proc/self/stat");
  std::string all((std::istreambuf_iterator<char>(stat)), {});
  const size_t close = all.rfind(')');
  if (close == std::string::npos) return -1;
  // Field 22 (starttime) counted from the field after the command name (field 3).
  const char* p = all.c_str() + close + 2;
  unsigned long long start = 0;
  for (int field = 3; field <= 22 && *p; ++field) {
    if (field == 22) start = std::strtoull(p, nullptr, 10);
    p = std::strchr(p, ' ');
    if (!p) break;
    ++p;
  }
  timespec boot;
  clock_gettime(CLOCK_BOOTTIME, &boot);
  const double nowMs = boot.tv_sec * 1000.0 + boot.tv_nsec / 1e6;
  return nowMs - start * 1000.0 / sysconf(_SC_CLK_TCK);
}

long ResidentKb() {
  std::ifstream status("/proc/self/status");
  std::string line;
  while (std::getline(status, line))
    if (line.rfind("VmRSS:", 0) == 0) return std::atol(line.c_str() + 6);
  return -1;
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
  form.show();
  // ORVEX_STARTUP_REPORT=1: print the time to the first shown window and the resident
  // memory then, and quit.
  if (const char* r = std::getenv("ORVEX_STARTUP_REPORT"); r && *r == '1') {
    QTimer::singleShot(0, &app, [&app] {
      std::printf("shown after %.0f ms, resident %ld KiB\n", MsSinceProcessStart(), ResidentKb());
      app.quit();
    });
  }
  return app.exec();
}
