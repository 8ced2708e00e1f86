#include "app/window/readtext.h"

#include <QCoreApplication>
#include <QDBusArgument>
#include <QDBusConnectionInterface>
#include <QDBusMetaType>
#include <QDBusObjectPath>
#include <QDBusPendingCallWatcher>
#include <QDBusReply>
#include <cstdio>
#include <utility>

// This file builds QStrings from UTF-8 literals: it must not be compiled to GBK.
static_assert(sizeof("宋") == 4, "window sources need -fexec-charset=UTF-8");

namespace {

const char* const Portal = "org.freedesktop.portal.Desktop";
const char* const PortalPath = "/org/freedesktop/portal/desktop";
const char* const Shortcuts = "org.freedesktop.portal.GlobalShortcuts";
const char* const ShortcutId = "read-text";
// The longest wait for the answer to one call; the desktop's answer to a request (the
// user confirming the key) may take longer and comes as a signal.
constexpr int CallTimeoutMs = 10000;

// One entry of the portal's shortcut lists: id and details, a(sa{sv}) on the bus.
struct FPortalShortcut {
  QString Id;
  QVariantMap Details;
};

}  // namespace

Q_DECLARE_METATYPE(FPortalShortcut)

namespace {

QDBusArgument& operator<<(QDBusArgument& argument, const FPortalShortcut& shortcut) {
  argument.beginStructure();
  argument << shortcut.Id << shortcut.Details;
  argument.endStructure();
  return argument;
}

const QDBusArgument& operator>>(const QDBusArgument& argument, FPortalShortcut& shortcut) {
  argument.beginStructure();
  argument >> shortcut.Id >> shortcut.Details;
  argument.endStructure();
  return argument;
}

void RegisterPortalTypes() {
  static const bool registered = [] {
    qDBusRegisterMetaType<FPortalShortcut>();
    qDBusRegisterMetaType<QList<FPortalShortcut>>();
    return true;
  }();
  (void)registered;
}

// A session handle as the portal writes it: an object path (or, in older portals, a string).
QString PathText(const QVariant& value) {
  if (value.metaType() == QMetaType::fromType<QDBusObjectPath>())
    return value.value<QDBusObjectPath>().path();
  return value.toString();
}

// Runs done once the call has its answer, or failed.
template <class Done>
void WhenAnswered(QObject* owner, const QDBusPendingCall& call, Done done) {
  auto* watcher = new QDBusPendingCallWatcher(call, owner);
  QObject::connect(watcher, &QDBusPendingCallWatcher::finished, owner,
                   [watcher, done](QDBusPendingCallWatcher*) {
                     watcher->deleteLater();
                     done(!watcher->isError());
                   });
}

}  // namespace

TShortcutPortal::TShortcutPortal(QObject* parent)
    : QObject(parent),
      connectionName_(QString("orvex-shortcut-portal-%1").arg(quintptr(this), 0, 16)),
      bus_(QString()) {
  RegisterPortalTypes();
  sessionTimeout_.setSingleShot(true);
  sessionTimeout_.setInterval(CallTimeoutMs);
  connect(&sessionTimeout_, &QTimer::timeout, this, [this] {
    if (pending_ != TPending::Session) return;
    bus_.disconnect(Portal, pendingRequest_, "org.freedesktop.portal.Request", "Response", this,
                    SLOT(OnResponse(QDBusMessage)));
    pending_ = TPending::None;
    if (state_ == TState::Binding) SetState(TState::Unavailable);
  });
}

TShortcutPortal::~TShortcutPortal() {
  Close();
  // The portal also ends the sessions of a connection that goes away.
  if (bus_.isConnected()) QDBusConnection::disconnectFromBus(connectionName_);
}

void TShortcutPortal::SetState(TState state) {
  if (state == state_) return;
  state_ = state;
  emit StateChanged();
}

QString TShortcutPortal::RequestPath(const QString& token) const {
  // The portal names a request after the caller's unique name (":1.42" -> "1_42").
  QString sender = bus_.baseService().mid(1);
  sender.replace('.', '_');
  return QString("%1/request/%2/%3").arg(PortalPath, sender, token);
}

void TShortcutPortal::Open() {
  if (state_ == TState::Binding || state_ == TState::Bound) return;
  if (!bus_.isConnected()) {
    // A connection that failed keeps its name: it is dropped before the next try.
    QDBusConnection::disconnectFromBus(connectionName_);
    bus_ = QDBusConnection::connectToBus(QDBusConnection::SessionBus, connectionName_);
    if (!bus_.isConnected()) return SetState(TState::Unavailable);
    bus_.connect(Portal, PortalPath, Shortcuts, "Activated", this, SLOT(OnActivated(QDBusMessage)));
  }
  SetState(TState::Binding);
  // A session asked for before a Close is still on its way: it is taken as this one's.
  if (pending_ == TPending::Session) return;
  if (registered_) return CreateSession();
  // Registering must come before every other portal call on the connection. Portals
  // without a registry (before 1.19) answer with an error, as does one that finds no
  // desktop entry: the application then goes unnamed.
  registered_ = true;
  QDBusMessage call = QDBusMessage::createMethodCall(Portal, PortalPath,
                                                     "org.freedesktop.host.portal.Registry", "Register");
  call << QString("orvex") << QVariantMap();
  WhenAnswered(this, bus_.asyncCall(call, CallTimeoutMs), [this](bool) {
    if (state_ == TState::Binding && pending_ == TPending::None) CreateSession();
  });
}

void TShortcutPortal::Request(TPending kind, const QString& method, const QVariantList& arguments,
                              const QString& token) {
  const QString path = RequestPath(token);
  // Subscribed before the call: the answer may come before the call's own reply.
  bus_.connect(Portal, path, "org.freedesktop.portal.Request", "Response", this,
               SLOT(OnResponse(QDBusMessage)));
  pendingRequest_ = path;
  pending_ = kind;
  QDBusMessage call = QDBusMessage::createMethodCall(Portal, PortalPath, Shortcuts, method);
  call.setArguments(arguments);
  WhenAnswered(this, bus_.asyncCall(call, CallTimeoutMs), [this, path](bool answered) {
    if (answered || pendingRequest_ != path || pending_ == TPending::None) return;
    // No portal, or one without global shortcuts.
    bus_.disconnect(Portal, path, "org.freedesktop.portal.Request", "Response", this,
                    SLOT(OnResponse(QDBusMessage)));
    pending_ = TPending::None;
    sessionTimeout_.stop();
    if (state_ == TState::Binding) SetState(TState::Unavailable);
  });
}

void TShortcutPortal::CreateSession() {
  const int n = ++tokens_;
  const QVariantMap options{{"handle_token", QString("orvex%1").arg(n)},
                            {"session_handle_token", QString("orvex_session%1").arg(n)}};
  sessionTimeout_.start();
  Request(TPending::Session, "CreateSession", {options}, QString("orvex%1").arg(n));
}

void TShortcutPortal::BindShortcut() {
  const QString token = QString("orvex%1").arg(++tokens_);
  const QList<FPortalShortcut> shortcuts{
      {ShortcutId, {{"description", "读取当前焦点处的文字"}, {"preferred_trigger", "F5"}}}};
  Request(TPending::Bind, "BindShortcuts",
          {QVariant::fromValue(QDBusObjectPath(session_)), QVariant::fromValue(shortcuts),
           QString(), QVariantMap{{"handle_token", token}}},
          token);
}

void TShortcutPortal::CloseSession() {
  if (session_.isEmpty()) return;
  bus_.disconnect(Portal, session_, "org.freedesktop.portal.Session", "Closed", this,
                  SLOT(OnSessionClosed(QDBusMessage)));
  bus_.asyncCall(QDBusMessage::createMethodCall(Portal, session_, "org.freedesktop.portal.Session", "Close"));
  session_.clear();
}

void TShortcutPortal::Close() {
  // A bound shortcut's answer no longer matters; a session still to come is closed when
  // it comes (OnResponse).
  if (pending_ == TPending::Bind) {
    bus_.disconnect(Portal, pendingRequest_, "org.freedesktop.portal.Request", "Response", this,
                    SLOT(OnResponse(QDBusMessage)));
    pending_ = TPending::None;
  }
  CloseSession();
  trigger_.clear();
  SetState(TState::Off);
}

void TShortcutPortal::OnResponse(const QDBusMessage& message) {
  if (message.path() != pendingRequest_ || pending_ == TPending::None) return;
  bus_.disconnect(Portal, pendingRequest_, "org.freedesktop.portal.Request", "Response", this,
                  SLOT(OnResponse(QDBusMessage)));
  const TPending answered = std::exchange(pending_, TPending::None);
  const QList<QVariant> arguments = message.arguments();
  const uint code = arguments.value(0).toUInt();  // 0: granted, 1: refused by the user
  const QVariantMap results = qdbus_cast<QVariantMap>(arguments.value(1));
  if (answered == TPending::Session) {
    sessionTimeout_.stop();
    const QString session = PathText(results.value("session_handle"));
    if (code != 0 || session.isEmpty()) {
      if (state_ == TState::Binding) SetState(TState::Unavailable);
      return;
    }
    session_ = session;
    bus_.connect(Portal, session_, "org.freedesktop.portal.Session", "Closed", this,
                 SLOT(OnSessionClosed(QDBusMessage)));
    if (state_ != TState::Binding) return CloseSession();  // closed meanwhile
    return BindShortcut();
  }
  if (code != 0) {
    CloseSession();
    if (state_ == TState::Binding) SetState(TState::Unavailable);
    return;
  }
  for (const FPortalShortcut& s : qdbus_cast<QList<FPortalShortcut>>(results.value("shortcuts")))
    if (s.Id == ShortcutId) trigger_ = s.Details.value("trigger_description").toString();
  if (state_ == TState::Binding) SetState(TState::Bound);
}

void TShortcutPortal::OnActivated(const QDBusMessage& message) {
  const QList<QVariant> arguments = message.arguments();
  if (state_ == TState::Bound && PathText(arguments.value(0)) == session_ &&
      arguments.value(1).toString() == ShortcutId)
    emit Activated();
}

void TShortcutPortal::OnSessionClosed(const QDBusMessage& message) {
  // The desktop ended the session (its user revoked the shortcut, say).
  if (message.path() != session_) return;
  session_.clear();
  if (state_ == TState::Bound || state_ == TState::Binding) SetState(TState::Unavailable);
}

const char* const TReadTextService::Name = "com.vorlan.orvex";
const char* const TReadTextService::Path = "/com/vorlan/orvex";

TReadTextService::TReadTextService(std::function<void()> read, QObject* parent)
    : QObject(parent), read_(std::move(read)) {}

TReadTextService::~TReadTextService() { Close(); }

bool TReadTextService::Open() {
  if (open_) return true;
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected() || !bus.registerObject(Path, this, QDBusConnection::ExportScriptableSlots))
    return false;
  const QDBusReply<QDBusConnectionInterface::RegisterServiceReply> reply =
      bus.interface()->registerService(Name, QDBusConnectionInterface::DontQueueService,
                                       QDBusConnectionInterface::DontAllowReplacement);
  if (!reply.isValid() || reply.value() != QDBusConnectionInterface::ServiceRegistered) {
    bus.unregisterObject(Path);
    return false;
  }
  return open_ = true;
}

void TReadTextService::Close() {
  if (!open_) return;
  open_ = false;
  QDBusConnection bus = QDBusConnection::sessionBus();
  bus.interface()->unregisterService(Name);
  bus.unregisterObject(Path);
}

void TReadTextService::ReadText() {
  if (open_ && read_) read_();
}

namespace {

int Refuse(const char* reason) {
  std::fprintf(stderr, "orvex: %s\n", reason);
  return 1;
}

}  // namespace

int ReadTextCommand() {
  QDBusConnection bus = QDBusConnection::sessionBus();
  if (!bus.isConnected()) return Refuse("没有会话总线，无法联系 Orvex 窗口");
  QDBusMessage call = QDBusMessage::createMethodCall(TReadTextService::Name, TReadTextService::Path,
                                                     TReadTextService::Name, "ReadText");
  call.setAutoStartService(false);
  const QDBusMessage reply = bus.call(call, QDBus::Block, CallTimeoutMs);
  if (reply.type() != QDBusMessage::ErrorMessage) return 0;
  if (reply.errorName() == "org.freedesktop.DBus.Error.ServiceUnknown" ||
      reply.errorName() == "org.freedesktop.DBus.Error.NameHasNoOwner")
    return Refuse("没有选中“计算鼠标处文字”的 Orvex 窗口：请先打开 Orvex 并选择该项");
  return Refuse("Orvex 窗口没有应答");
}
