#include "app/window/mekoleacc.h"

#include <atspi/atspi.h>
#include <dbus/dbus.h>
#include <unistd.h>

#include <chrono>
#include <cmath>
#include <utility>

#include "core/mekmath.h"

namespace {

// The longest wait for one answer, and for the whole search of the element at a point.
constexpr int CallTimeoutMs = 500;
constexpr auto SearchBudget = std::chrono::milliseconds(2000);

// Connects to the accessibility bus on first use; false when there is none.
bool Ready() {
  static const bool ready = [] {
    atspi_init();
    if (!atspi_get_a11y_bus()) return false;
    // Also for programs that joined the bus a moment ago, which libatspi would otherwise
    // wait for much longer.
    atspi_set_timeout(CallTimeoutMs, CallTimeoutMs);
    return true;
  }();
  return ready;
}

// A reference returned by libatspi, released at the end of the scope.
template <class T>
struct FRef {
  T* Value;
  explicit FRef(T* value = nullptr) : Value(value) {}
  ~FRef() {
    if (Value) g_object_unref(Value);
  }
  FRef(const FRef&) = delete;
  FRef& operator=(const FRef&) = delete;
  T* Release() { return std::exchange(Value, nullptr); }
  explicit operator bool() const { return Value != nullptr; }
};

bool HasState(AtspiAccessible* element, AtspiStateType state) {
  FRef<AtspiStateSet> states(atspi_accessible_get_state_set(element));
  return states && atspi_state_set_contains(states.Value, state);
}

bool Contains(AtspiAccessible* element, int x, int y) {
  FRef<AtspiComponent> component(atspi_accessible_get_component_iface(element));
  if (!component) return false;
  GError* error = nullptr;
  const bool inside =
      atspi_component_contains(component.Value, x, y, ATSPI_COORD_TYPE_SCREEN, &error);
  if (!error) return inside;
  g_error_free(error);
  return false;
}

// The child of element at the point, or null.
AtspiAccessible* ChildAt(AtspiAccessible* element, int x, int y) {
  FRef<AtspiComponent> component(atspi_accessible_get_component_iface(element));
  if (!component) return nullptr;
  GError* error = nullptr;
  AtspiAccessible* child = atspi_component_get_accessible_at_point(component.Value, x, y,
                                                                   ATSPI_COORD_TYPE_SCREEN, &error);
  if (error) g_error_free(error);
  return child;
}

// The reply to a method call on the element's bus, or the name of the error that ended it.
struct FCall {
  DBusMessage* Reply = nullptr;
  std::string Error;
  FCall() = default;
  FCall(const FCall&) = delete;
  FCall& operator=(const FCall&) = delete;
  ~FCall() {
    if (Reply) dbus_message_unref(Reply);
  }
};

// Sends the call, built by append, to the element and waits for the answer.
template <class Append>
void Call(AtspiAccessible* element, const char* interface, const char* method, Append append,
          FCall& result) {
  AtspiObject* object = ATSPI_OBJECT(element);
  DBusConnection* bus =
      object->app && object->app->bus ? object->app->bus : atspi_get_a11y_bus();
  if (!bus || !object->app || !object->app->bus_name || !object->path) {
    result.Error = "org.freedesktop.DBus.Error.Disconnected";
    return;
  }
  DBusMessage* call =
      dbus_message_new_method_call(object->app->bus_name, object->path, interface, method);
  if (!call) {
    result.Error = "org.freedesktop.DBus.Error.NoMemory";
    return;
  }
  append(call);
  DBusError error;
  dbus_error_init(&error);
  result.Reply = dbus_connection_send_with_reply_and_block(bus, call, CallTimeoutMs, &error);
  dbus_message_unref(call);
  if (dbus_error_is_set(&error)) {
    result.Error = error.name ? error.name : "";
    dbus_error_free(&error);
  }
}

// The first argument of the reply (inside a variant, for a property) when it has the type.
bool ReadReply(DBusMessage* reply, int type, void* value) {
  DBusMessageIter it;
  if (!reply || !dbus_message_iter_init(reply, &it)) return false;
  if (dbus_message_iter_get_arg_type(&it) == DBUS_TYPE_VARIANT) {
    DBusMessageIter inner;
    dbus_message_iter_recurse(&it, &inner);
    it = inner;
  }
  if (dbus_message_iter_get_arg_type(&it) != type) return false;
  dbus_message_iter_get_basic(&it, value);
  return true;
}

// The answer of a call that ended without a reply.
FAccAnswer ErrorAnswer(const FCall& call) {
  return {call.Error.empty() ? TAccStatus::Failed : AccStatusOfError(call.Error), {}};
}

// The answer of a finished call whose reply holds a text.
FAccAnswer TextAnswer(const FCall& call) {
  if (!call.Reply) return ErrorAnswer(call);
  const char* text = nullptr;
  if (!ReadReply(call.Reply, DBUS_TYPE_STRING, &text)) return {TAccStatus::Failed, {}};
  return {TAccStatus::Ok, text};
}

void GetProperty(AtspiAccessible* element, const char* interface, const char* name,
                 FCall& call) {
  Call(element, DBUS_INTERFACE_PROPERTIES, "Get",
       [&](DBusMessage* m) {
         dbus_message_append_args(m, DBUS_TYPE_STRING, &interface, DBUS_TYPE_STRING, &name,
                                  DBUS_TYPE_INVALID);
       },
       call);
}

FAccAnswer NameOf(AtspiAccessible* element) {
  FCall call;
  GetProperty(element, "org.a11y.atspi.Accessible", "Name", call);
  FAccAnswer answer = TextAnswer(call);
  if (answer.Status == TAccStatus::Ok && answer.Utf8.empty()) answer.Status = TAccStatus::NoText;
  return answer;
}

FAccAnswer ValueOf(AtspiAccessible* element) {
  GError* error = nullptr;
  const AtspiRole role = atspi_accessible_get_role(element, &error);
  if (error) {
    g_error_free(error);
    return {TAccStatus::Failed, {}};
  }
  if (role == ATSPI_ROLE_PASSWORD_TEXT) return {TAccStatus::Failed, {}};
  if (FRef<AtspiValue> value(atspi_accessible_get_value_iface(element)); value) {
    FCall call;
    GetProperty(element, "org.a11y.atspi.Value", "CurrentValue", call);
    if (!call.Reply) return ErrorAnswer(call);
    double number = 0;
    if (!ReadReply(call.Reply, DBUS_TYPE_DOUBLE, &number) || !std::isfinite(number))
      return {TAccStatus::Failed, {}};
    return {TAccStatus::Ok, FormatGeneral(number)};
  }
  if (FRef<AtspiEditableText> editable(atspi_accessible_get_editable_text_iface(element));
      editable) {
    FCall call;
    Call(element, "org.a11y.atspi.Text", "GetText",
         [](DBusMessage* m) {
           const dbus_int32_t start = 0, end = -1;  // -1: to the end of the text
           dbus_message_append_args(m, DBUS_TYPE_INT32, &start, DBUS_TYPE_INT32, &end,
                                    DBUS_TYPE_INVALID);
         },
         call);
    return TextAnswer(call);
  }
  return {TAccStatus::NoText, {}};
}

}  // namespace

TAccObject::~TAccObject() {
  if (element_) g_object_unref(element_);
}

TAccObject& TAccObject::operator=(TAccObject&& other) noexcept {
  if (this != &other) {
    if (element_) g_object_unref(element_);
    element_ = std::exchange(other.element_, nullptr);
  }
  return *this;
}

TAccObject AccObjectFromPoint(int x, int y) {
  if (!Ready()) return {};
  const auto deadline = std::chrono::steady_clock::now() + SearchBudget;
  const auto late = [&] { return std::chrono::steady_clock::now() > deadline; };

  FRef<AtspiAccessible> desktop(atspi_get_desktop(0));
  if (!desktop) return {};
  // Programs come and go, and windows with them: ask the bus afresh each time.
  atspi_accessible_clear_cache(desktop.Value);
  // This program cannot answer while it waits here; its own windows are left out.
  const guint self = static_cast<guint>(getpid());

  FRef<AtspiAccessible> found;
  bool foundActive = false;
  const gint programs = atspi_accessible_get_child_count(desktop.Value, nullptr);
  for (gint i = 0; i < programs && !foundActive && !late(); ++i) {
    FRef<AtspiAccessible> program(atspi_accessible_get_child_at_index(desktop.Value, i, nullptr));
    if (!program) continue;
    GError* error = nullptr;
    const guint pid = atspi_accessible_get_process_id(program.Value, &error);
    if (error) {
      g_error_free(error);
      continue;
    }
    if (pid == self) continue;
    const gint windows = atspi_accessible_get_child_count(program.Value, nullptr);
    for (gint j = 0; j < windows && !foundActive && !late(); ++j) {
      FRef<AtspiAccessible> window(atspi_accessible_get_child_at_index(program.Value, j, nullptr));
      if (!window || !HasState(window.Value, ATSPI_STATE_SHOWING) || !Contains(window.Value, x, y))
        continue;
      const bool active = HasState(window.Value, ATSPI_STATE_ACTIVE);
      if (!found || active) {
        if (found) g_object_unref(found.Release());
        found.Value = window.Release();
        foundActive = active;
      }
    }
  }
  if (!found) return {};

  // Down through the children at the point; a child that is its parent again ends it.
  for (int depth = 0; depth < 64 && !late(); ++depth) {
    AtspiAccessible* child = ChildAt(found.Value, x, y);
    if (!child) break;
    if (child == found.Value) {
      g_object_unref(child);
      break;
    }
    g_object_unref(found.Release());
    found.Value = child;
  }
  return TAccObject(found.Release());
}

FAccAnswer AccPropertyAnswer(const TAccObject& object, int child, TAccProperty property) {
  if (!object || child != CHILDID_SELF) return {TAccStatus::InvalidArg, {}};
  return property == TAccProperty::Name ? NameOf(object.Element()) : ValueOf(object.Element());
}

std::string AccPropertyText(const TAccObject& object, int child, TAccProperty property) {
  return AccAnswerText(AccPropertyAnswer(object, child, property));
}
