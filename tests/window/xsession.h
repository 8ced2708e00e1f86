// A private desktop for tests that need a real X server: Xvfb on a free display, a D-Bus
// session bus of its own (which starts the accessibility bus and its registry on demand)
// and a runtime folder, all torn down when the session ends - also when the test process
// dies, by a watcher process that outlives it. Plus the test's own X connection, through
// which it moves the pointer and presses keys like a user (XTest).
#pragma once
#include <sys/types.h>

#include <string>

class TDesktopSession {
public:
  TDesktopSession() = default;
  ~TDesktopSession();
  TDesktopSession(const TDesktopSession&) = delete;
  TDesktopSession& operator=(const TDesktopSession&) = delete;

  // False, with what is missing, when a tool the session needs is not installed.
  static bool ToolsPresent(std::string& missing);
  // Starts the servers and points this process (and the programs it starts) at them:
  // DISPLAY, DBUS_SESSION_BUS_ADDRESS, XDG_RUNTIME_DIR; QT_QPA_PLATFORM=xcb. False, with
  // the reason, when a server does not come up.
  bool Start(std::string& whyNot);
  // Stops every process of the session and removes its folder.
  void Stop();

  // The process group of the session's processes; programs the test starts join it.
  pid_t Group() const { return group_; }

private:
  pid_t watcher_ = -1;
  int watcherPipe_ = -1;
  pid_t group_ = -1;
  std::string folder_;
};

// The test's own connection to the X server: the user's pointer and keyboard.
class TXUser {
public:
  TXUser();  // connects to DISPLAY
  ~TXUser();
  TXUser(const TXUser&) = delete;
  TXUser& operator=(const TXUser&) = delete;

  // False when there is no connection or the server lacks the XTest extension.
  bool Usable() const;
  void MovePointer(int x, int y);
  // Presses and releases the key of an X key symbol (0xFFC2 is F5, 0xFFC3 F6).
  void Tap(unsigned long keysym);
  // Gives the keyboard focus to a window.
  void Focus(unsigned long window);
  // A window's title as the window manager shows it (_NET_WM_NAME, UTF-8).
  std::string WindowTitle(unsigned long window);

private:
  void* display_ = nullptr;
};
