// The calculator window.
#include <QApplication>
#include <QTimer>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <string>

#include "app/window/Unit1.h"

namespace {

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
  if (!HaveDisplay()) {
    std::fprintf(stderr, "orvex: no display to open the window on (DISPLAY is not set)\n");
    return 1;
  }
  QApplication app(argc, argv);
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
