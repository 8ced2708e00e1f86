#include "xsession.h"

#include <X11/Xlib.h>
#include <X11/extensions/XTest.h>
#include <fcntl.h>
#include <ftw.h>
#include <poll.h>
#include <signal.h>
#include <sys/prctl.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

bool Executable(const char* path) { return access(path, X_OK) == 0; }

std::string Which(const char* name) {
  const char* path = std::getenv("PATH");
  std::string dirs = path ? path : "/usr/bin:/bin";
  size_t start = 0;
  while (start <= dirs.size()) {
    const size_t end = dirs.find(':', start);
    const std::string dir = dirs.substr(start, end == std::string::npos ? std::string::npos : end - start);
    const std::string full = (dir.empty() ? "." : dir) + "/" + name;
    if (Executable(full.c_str())) return full;
    if (end == std::string::npos) break;
    start = end + 1;
  }
  return "";
}

// Starts argv in the process group (a new one for group 0) with childFd kept open;
// the child dies with the test.
pid_t Spawn(const std::vector<std::string>& argv, pid_t group, int childFd) {
  const pid_t pid = fork();
  if (pid != 0) return pid;
  setpgid(0, group);
  if (childFd >= 0) fcntl(childFd, F_SETFD, 0);
  const int null = open("/dev/null", O_RDWR);
  dup2(null, 0);
  if (!std::getenv("ORVEX_X11_TEST_VERBOSE")) dup2(null, 1), dup2(null, 2);
  std::vector<char*> args;
  for (const std::string& a : argv) args.push_back(const_cast<char*>(a.c_str()));
  args.push_back(nullptr);
  execv(args[0], args.data());
  _exit(127);
}

// One line from fd within the time, without its end of line; empty when none came.
std::string ReadLine(int fd, int timeoutMs) {
  std::string line;
  while (true) {
    pollfd p{fd, POLLIN, 0};
    if (poll(&p, 1, timeoutMs) <= 0) return "";
    char c;
    const ssize_t n = read(fd, &c, 1);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return "";
    if (c == '\n') return line;
    line += c;
  }
}

int RemoveEntry(const char* path, const struct stat*, int, FTW*) { return remove(path); }

void RemoveTree(const std::string& folder) {
  if (!folder.empty()) nftw(folder.c_str(), RemoveEntry, 16, FTW_DEPTH | FTW_PHYS);
}

// The watcher: waits for the test to close its pipe (or to die), then ends the session's
// process group and removes the folder.
[[noreturn]] void Watch(int pipe, const std::string& folder) {
  setsid();
  signal(SIGINT, SIG_IGN);
  signal(SIGTERM, SIG_IGN);
  pid_t group = -1;
  if (read(pipe, &group, sizeof group) != sizeof group) group = -1;
  char c;
  for (ssize_t n; (n = read(pipe, &c, 1)) != 0;)
    if (n < 0 && errno != EINTR) break;
  if (group > 1) {
    kill(-group, SIGTERM);
    for (int i = 0; i < 50 && kill(-group, 0) == 0; ++i) usleep(20000);
    kill(-group, SIGKILL);
  }
  RemoveTree(folder);
  _exit(0);
}

}  // namespace

TDesktopSession::~TDesktopSession() { Stop(); }

bool TDesktopSession::ToolsPresent(std::string& missing) {
  if (Which("Xvfb").empty()) return missing = "Xvfb (package xvfb)", false;
  if (Which("dbus-daemon").empty()) return missing = "dbus-daemon (package dbus-daemon)", false;
  if (access("/usr/share/dbus-1/services/org.a11y.Bus.service", R_OK) != 0)
    return missing = "the accessibility bus (package at-spi2-core)", false;
  return true;
}

bool TDesktopSession::Start(std::string& whyNot) {
  const std::string xvfb = Which("Xvfb"), dbus = Which("dbus-daemon");

  // The session's daemons that lose their parent become this process's children, so that
  // Stop can reap them at once.
  prctl(PR_SET_CHILD_SUBREAPER, 1);
  char folder[] = "/tmp/orvex-x11-XXXXXX";
  if (!mkdtemp(folder)) return whyNot = "no temporary folder", false;
  folder_ = folder;

  int watch[2];
  if (pipe2(watch, O_CLOEXEC) != 0) return whyNot = "no pipe", false;
  watcher_ = fork();
  if (watcher_ == 0) {
    close(watch[1]);
    Watch(watch[0], folder_);
  }
  close(watch[0]);
  watcherPipe_ = watch[1];

  // Xvfb picks a free display number and writes it when it accepts connections.
  int ready[2];
  if (pipe2(ready, O_CLOEXEC) != 0) return whyNot = "no pipe", false;
  group_ = Spawn({xvfb, "-displayfd", std::to_string(ready[1]), "-screen", "0", "1280x1024x24",
                  "-nolisten", "tcp", "-noreset"},
                 0, ready[1]);
  close(ready[1]);
  if (group_ > 0) {
    setpgid(group_, group_);
    if (write(watcherPipe_, &group_, sizeof group_) != sizeof group_) {
      close(ready[0]);
      return whyNot = "no watcher", false;
    }
  }
  const std::string display = ReadLine(ready[0], 15000);
  close(ready[0]);
  if (display.empty()) return whyNot = "Xvfb did not start", false;

  // The bus hands this environment to the services it starts: the accessibility bus
  // then lives in the session's folder, beside this display's.
  setenv("DISPLAY", (":" + display).c_str(), 1);
  setenv("XDG_RUNTIME_DIR", folder_.c_str(), 1);
  setenv("GSETTINGS_BACKEND", "memory", 1);
  unsetenv("WAYLAND_DISPLAY");
  unsetenv("AT_SPI_BUS_ADDRESS");
  if (pipe2(ready, O_CLOEXEC) != 0) return whyNot = "no pipe", false;
  Spawn({dbus, "--session", "--nofork", "--address=unix:dir=" + folder_,
         "--print-address=" + std::to_string(ready[1])},
        group_, ready[1]);
  close(ready[1]);
  const std::string bus = ReadLine(ready[0], 15000);
  close(ready[0]);
  if (bus.empty()) return whyNot = "dbus-daemon did not start", false;

  setenv("DBUS_SESSION_BUS_ADDRESS", bus.c_str(), 1);
  setenv("QT_QPA_PLATFORM", "xcb", 1);
  return true;
}

void TDesktopSession::Stop() {
  if (group_ > 1) {
    // Ends the session's processes here and reaps them, so that the watcher finds the
    // group empty; whatever is left it kills.
    kill(-group_, SIGTERM);
    for (int i = 0; i < 100; ++i) {
      while (waitpid(-group_, nullptr, WNOHANG) > 0) {
      }
      if (kill(-group_, 0) != 0) break;
      usleep(20000);
    }
    group_ = -1;
  }
  if (watcherPipe_ >= 0) {
    close(watcherPipe_);
    watcherPipe_ = -1;
  }
  if (watcher_ > 0) {
    waitpid(watcher_, nullptr, 0);
    watcher_ = -1;
  }
}

TXUser::TXUser() : display_(XOpenDisplay(nullptr)) {}

TXUser::~TXUser() {
  if (display_) XCloseDisplay(static_cast<Display*>(display_));
}

bool TXUser::Usable() const {
  int event, error, major, minor;
  return display_ &&
         XTestQueryExtension(static_cast<Display*>(display_), &event, &error, &major, &minor);
}

void TXUser::MovePointer(int x, int y) {
  auto* d = static_cast<Display*>(display_);
  XTestFakeMotionEvent(d, -1, x, y, CurrentTime);
  XSync(d, False);
}

void TXUser::Tap(unsigned long keysym) {
  auto* d = static_cast<Display*>(display_);
  const KeyCode code = XKeysymToKeycode(d, keysym);
  XTestFakeKeyEvent(d, code, True, CurrentTime);
  XTestFakeKeyEvent(d, code, False, CurrentTime);
  XSync(d, False);
}

std::string TXUser::WindowTitle(unsigned long window) {
  auto* d = static_cast<Display*>(display_);
  Atom type;
  int format;
  unsigned long count, after;
  unsigned char* data = nullptr;
  std::string title;
  if (XGetWindowProperty(d, window, XInternAtom(d, "_NET_WM_NAME", False), 0, 4096, False,
                         XInternAtom(d, "UTF8_STRING", False), &type, &format, &count, &after,
                         &data) == Success &&
      data) {
    title.assign(reinterpret_cast<const char*>(data), count);
    XFree(data);
  }
  return title;
}

void TXUser::Focus(unsigned long window) {
  auto* d = static_cast<Display*>(display_);
  XSetInputFocus(d, window, RevertToPointerRoot, CurrentTime);
  XSync(d, False);
}
