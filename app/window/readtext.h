// Item 47 on a Wayland desktop, where no program may grab a key or learn where the pointer
// is: F5 comes as the desktop's global shortcut "read-text" (the portal
// org.freedesktop.portal.GlobalShortcuts), or from the command `orvex --read-text`, which
// the user binds to F5 and which asks the window over the session bus. Either way the
// window then reads the focused element of another program (AccFocusedObject).
#pragma once
#include <QDBusConnection>
#include <QDBusMessage>
#include <QObject>
#include <QString>
#include <QTimer>
#include <functional>

// The shortcut "read-text" (preferred trigger F5) bound through the desktop's portal, on a
// session-bus connection of its own: where the portal has a registry (xdg-desktop-portal
// 1.19 and later) the connection is first registered as the application "orvex", whose
// desktop entry the desktop names when it asks the user to confirm the key. Every call is
// asynchronous: the window never waits for the portal.
class TShortcutPortal : public QObject {
  Q_OBJECT

public:
  enum class TState {
    Off,          // not asked for, or released
    Binding,      // asked for; the desktop may be asking the user to confirm the key
    Bound,        // the desktop delivers the key
    Unavailable,  // no portal with global shortcuts, or the desktop refused them
  };

  explicit TShortcutPortal(QObject* parent = nullptr);
  ~TShortcutPortal() override;

  // Opens a session and binds the shortcut; Close releases it (the portal's session is
  // closed). Either may be called in any state.
  void Open();
  void Close();
  TState State() const { return state_; }
  // The key the desktop delivers as the shortcut, as it describes it ("F5"); empty when
  // it does not say.
  QString Trigger() const { return trigger_; }

signals:
  void StateChanged();
  void Activated();

private slots:
  void OnResponse(const QDBusMessage& message);
  void OnActivated(const QDBusMessage& message);
  void OnSessionClosed(const QDBusMessage& message);

private:
  // The request whose Response is awaited.
  enum class TPending { None, Session, Bind };

  // Sends a portal call whose answer comes as the Response of the request of the token;
  // a call that fails leaves the shortcut unavailable.
  void Request(TPending kind, const QString& method, const QVariantList& arguments,
               const QString& token);
  void CreateSession();
  void BindShortcut();
  void CloseSession();
  void SetState(TState state);
  QString RequestPath(const QString& token) const;

  QString connectionName_;
  QDBusConnection bus_;
  TState state_ = TState::Off;
  bool registered_ = false;  // the registry was asked (whatever it said)
  QString session_;          // the portal's session, while one is open
  TPending pending_ = TPending::None;
  QString pendingRequest_;  // its path
  QString trigger_;
  int tokens_ = 0;
  // The portal answers a session at once; a backend that never does ends the way.
  QTimer sessionTimeout_;
};

// The window's session-bus name com.vorlan.orvex, object /com/vorlan/orvex, interface
// com.vorlan.orvex: ReadText() runs the read handed over and answers when it is done.
class TReadTextService : public QObject {
  Q_OBJECT
  Q_CLASSINFO("D-Bus Interface", "com.vorlan.orvex")

public:
  static const char* const Name;
  static const char* const Path;

  explicit TReadTextService(std::function<void()> read, QObject* parent = nullptr);
  ~TReadTextService() override;

  // Takes the name; false when there is no session bus or another window holds it.
  bool Open();
  void Close();
  bool IsOpen() const { return open_; }

public slots:
  Q_SCRIPTABLE void ReadText();

private:
  std::function<void()> read_;
  bool open_ = false;
};

// `orvex --read-text`: asks the window that holds com.vorlan.orvex to read the focused
// text. 0 when it did; 1, with a one-line reason in Chinese on standard error, when no
// window answers. Needs a QCoreApplication.
int ReadTextCommand();
