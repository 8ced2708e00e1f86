#include "app/window/startreport.h"

#include <QApplication>
#include <QEvent>
#include <QTimer>
#include <QWidget>
#include <QWindow>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <fstream>
#include <iterator>
#include <string>
#include <unistd.h>

namespace {

// Milliseconds since the process started, from its start time in /proc.
double MsSinceProcessStart() {
  std::ifstream stat("/proc/self/stat");
  const std::string all((std::istreambuf_iterator<char>(stat)), {});
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

// Waits for the window's first exposure (the first frame can be drawn), then for the end
// of its first paint (the frame drawn and handed to the display), then reports.
class TExposeWatch : public QObject {
public:
  explicit TExposeWatch(QWidget& window) : QObject(&window), window_(window) {}

protected:
  bool eventFilter(QObject* watched, QEvent* event) override {
    if (watched == window_.windowHandle() && event->type() == QEvent::Expose &&
        static_cast<QWindow*>(watched)->isExposed()) {
      watched->removeEventFilter(this);
      std::printf("shown after %.0f ms\n", MsSinceProcessStart());
      std::fflush(stdout);
      window_.installEventFilter(this);
    } else if (watched == &window_ && event->type() == QEvent::Paint) {
      // The paint event arrives before the widgets paint; the zero timer runs once the
      // whole frame is painted and flushed.
      window_.removeEventFilter(this);
      QTimer::singleShot(0, this, [] {
        std::printf("painted after %.0f ms\n", MsSinceProcessStart());
        std::fflush(stdout);
      });
      QTimer::singleShot(1000, qApp, [] {
        std::printf("resident %ld KiB\n", ResidentKb());
        std::fflush(stdout);
        QApplication::quit();
      });
    }
    return false;
  }

private:
  QWidget& window_;
};

}  // namespace

void ArmStartupReport(QWidget& window) {
  const char* r = std::getenv("ORVEX_STARTUP_REPORT");
  if (!r || std::strcmp(r, "1") != 0) return;
  window.winId();  // the native window exists before it is shown, so its exposure is seen
  window.windowHandle()->installEventFilter(new TExposeWatch(window));
}
