// modules/orvex-atspi.so: accessible elements of other programs over the accessibility
// bus (libatspi), for item 47. Loaded by the window on first use (app/window/mekoleacc.cpp).
#include "app/window/atspilib/accmodule.h"

#include <atspi/atspi.h>
#include <dbus/dbus.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cmath>
#include <string_view>
#include <utility>
#include <vector>


namespace {

// What the window hands in (Init): the number format of the engine and its reading of the
// bus's error names.
std::string (*FormatNumber)(double) = nullptr;
TAccStatus (*StatusOfError)(const std::string&) = nullptr;

// The longest wait for one answer, and for the whole search of the element at a point.
constexpr int CallTimeoutMs = 500;
constexpr auto SearchBudget = std::chrono::milliseconds(2000);
// The most elements the search for the focused one visits (a window's controls, not the
// cells of a long list: a focused list is found before its cells).
constexpr int FocusSearchElements = 4000;

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
  FRef(FRef&& other) noexcept : Value(other.Release()) {}
  FRef(const FRef&) = delete;
  FRef& operator=(const FRef&) = delete;
  T* Release() { return std::exchange(Value, nullptr); }
  explicit operator bool() const { return Value != nullptr; }
};

// Whether a libatspi call went through; its error, if any, is freed.
bool Answered(GError*& error) {
  if (!error) return true;
  g_error_free(error);
  error = nullptr;
  return false;
}

// A text returned by libatspi, taken over.
std::string Take(gchar* text) {
  std::string s = text ? text : "";
  g_free(text);
  return s;
}

// One search of the desktop: the time it may take, the desktop asked afresh (programs come
// and go, and windows with them).
struct FSearch {
  std::chrono::steady_clock::time_point Deadline = std::chrono::steady_clock::now() + SearchBudget;
  FRef<AtspiAccessible> Desktop;
  FSearch() : Desktop(atspi_get_desktop(0)) {
    if (Desktop) atspi_accessible_clear_cache(Desktop.Value);
  }
  bool Late() const { return std::chrono::steady_clock::now() > Deadline; }

  // Hands every top-level window of every program on the bus but this one (which cannot
  // answer while it waits here) to visit, until visit returns true or the time is up.
  template <class Visit>
  void ForEachOtherWindow(Visit visit) const {
    const guint self = static_cast<guint>(getpid());
    const gint programs = atspi_accessible_get_child_count(Desktop.Value, nullptr);
    for (gint i = 0; i < programs && !Late(); ++i) {
      FRef<AtspiAccessible> program(atspi_accessible_get_child_at_index(Desktop.Value, i, nullptr));
      if (!program) continue;
      GError* error = nullptr;
      const guint pid = atspi_accessible_get_process_id(program.Value, &error);
      if (!Answered(error) || pid == self) continue;
      const gint windows = atspi_accessible_get_child_count(program.Value, nullptr);
      for (gint j = 0; j < windows && !Late(); ++j) {
        FRef<AtspiAccessible> window(atspi_accessible_get_child_at_index(program.Value, j, nullptr));
        if (window && visit(window)) return;
      }
    }
  }
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
  return {call.Error.empty() ? TAccStatus::Failed : StatusOfError(call.Error), {}};
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
    return {TAccStatus::Ok, FormatNumber(number)};
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

// The element with the focus in the window or below it, in the order of the window's
// tree; an element that is not shown is passed over with everything below it. Visits at
// most `left` elements, fewer when the time is up.
FRef<AtspiAccessible> FocusedWithin(const FSearch& search, AtspiAccessible* window, int& left) {
  std::vector<FRef<AtspiAccessible>> next;
  next.emplace_back(static_cast<AtspiAccessible*>(g_object_ref(window)));
  while (!next.empty() && left > 0 && !search.Late()) {
    FRef<AtspiAccessible> element(std::move(next.back()));
    next.pop_back();
    --left;
    FRef<AtspiStateSet> states(atspi_accessible_get_state_set(element.Value));
    if (!states) continue;
    if (atspi_state_set_contains(states.Value, ATSPI_STATE_FOCUSED)) return element;
    if (!atspi_state_set_contains(states.Value, ATSPI_STATE_SHOWING)) continue;
    // Pushed last to first, so that the first child is visited next.
    const gint children = std::min(atspi_accessible_get_child_count(element.Value, nullptr), left);
    for (gint i = children - 1; i >= 0; --i)
      if (AtspiAccessible* child = atspi_accessible_get_child_at_index(element.Value, i, nullptr))
        next.emplace_back(child);
  }
  return FRef<AtspiAccessible>();
}

// The selected text of a text element: its first non-empty selection.
std::string SelectedText(AtspiText* text) {
  GError* error = nullptr;
  const gint selections = atspi_text_get_n_selections(text, &error);
  if (!Answered(error)) return {};
  for (gint i = 0; i < selections; ++i) {
    AtspiRange* range = atspi_text_get_selection(text, i, &error);
    if (!Answered(error) || !range) continue;
    std::string selected;
    if (range->start_offset < range->end_offset)
      selected = Take(atspi_text_get_text(text, range->start_offset, range->end_offset, &error));
    g_free(range);
    if (Answered(error) && !selected.empty()) return selected;
  }
  return {};
}

// The line of a text element at its caret, without the line break that ends it.
std::string CaretLine(AtspiText* text) {
  GError* error = nullptr;
  const gint caret = atspi_text_get_caret_offset(text, &error);
  if (!Answered(error) || caret < 0) return {};
  AtspiTextRange* line =
      atspi_text_get_string_at_offset(text, caret, ATSPI_TEXT_GRANULARITY_LINE, &error);
  if (!Answered(error)) {
    // Toolkits that predate granularities (Qt 6) answer the older query by boundaries.
    G_GNUC_BEGIN_IGNORE_DEPRECATIONS
    line = atspi_text_get_text_at_offset(text, caret, ATSPI_TEXT_BOUNDARY_LINE_START, &error);
    G_GNUC_END_IGNORE_DEPRECATIONS
    if (!Answered(error)) line = nullptr;
  }
  if (!line) return {};
  std::string s = line->content ? line->content : "";
  g_boxed_free(ATSPI_TYPE_TEXT_RANGE, line);
  // A line feed or carriage return, or U+2028 / U+2029 (the line and paragraph separators).
  for (bool trimmed = true; trimmed;) {
    trimmed = false;
    for (const char* end : {"\n", "\r", "\u2028", "\u2029"}) {
      const std::string_view e(end);
      if (s.size() >= e.size() && s.compare(s.size() - e.size(), e.size(), e) == 0) {
        s.resize(s.size() - e.size());
        trimmed = true;
      }
    }
  }
  return s;
}

TAccObject AccObjectFromPoint(int x, int y);
FAccAnswer AccPropertyAnswer(const TAccObject& object, int child, TAccProperty property);
TAccObject AccFocusedObject();
FAccAnswer AccFocusedTextAnswer(const TAccObject& object);

}  // namespace

// The module's own copies: a TAccObject that ends in the module lets go of its element here.
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

namespace {

TAccObject AccObjectFromPoint(int x, int y) {
  if (!Ready()) return {};
  const FSearch search;
  if (!search.Desktop) return {};

  FRef<AtspiAccessible> found;
  bool foundActive = false;
  search.ForEachOtherWindow([&](FRef<AtspiAccessible>& window) {
    if (!HasState(window.Value, ATSPI_STATE_SHOWING) || !Contains(window.Value, x, y)) return false;
    const bool active = HasState(window.Value, ATSPI_STATE_ACTIVE);
    if (!found || active) {
      if (found) g_object_unref(found.Release());
      found.Value = window.Release();
      foundActive = active;
    }
    return foundActive;
  });
  if (!found) return {};

  // Down through the children at the point; a child that is its parent again ends it.
  for (int depth = 0; depth < 64 && !search.Late(); ++depth) {
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

TAccObject AccFocusedObject() {
  if (!Ready()) return {};
  const FSearch search;
  if (!search.Desktop) return {};
  // The window the user works in first; another window may still hold the element that
  // had the focus last in it.
  std::vector<FRef<AtspiAccessible>> active, shown;
  search.ForEachOtherWindow([&](FRef<AtspiAccessible>& window) {
    FRef<AtspiStateSet> states(atspi_accessible_get_state_set(window.Value));
    if (states && atspi_state_set_contains(states.Value, ATSPI_STATE_ACTIVE))
      active.push_back(std::move(window));
    else if (states && atspi_state_set_contains(states.Value, ATSPI_STATE_SHOWING))
      shown.push_back(std::move(window));
    return false;
  });
  int left = FocusSearchElements;
  for (const auto* windows : {&active, &shown})
    for (const FRef<AtspiAccessible>& window : *windows)
      if (FRef<AtspiAccessible> focused = FocusedWithin(search, window.Value, left); focused)
        return TAccObject(focused.Release());
  return {};
}

FAccAnswer AccFocusedTextAnswer(const TAccObject& object) {
  if (!object) return {TAccStatus::InvalidArg, {}};
  AtspiAccessible* element = object.Element();
  GError* error = nullptr;
  const AtspiRole role = atspi_accessible_get_role(element, &error);
  if (!Answered(error) || role == ATSPI_ROLE_PASSWORD_TEXT) return {TAccStatus::Failed, {}};
  if (FRef<AtspiText> text(atspi_accessible_get_text_iface(element)); text) {
    std::string s = SelectedText(text.Value);
    if (s.empty()) s = CaretLine(text.Value);
    if (!s.empty()) return {TAccStatus::Ok, s};
  }
  return NameOf(element);
}

void Init(std::string (*formatNumber)(double), TAccStatus (*statusOfError)(const std::string&)) {
  FormatNumber = formatNumber;
  StatusOfError = statusOfError;
}

void Release(_AtspiAccessible* element) {
  if (element) g_object_unref(element);
}

const FAccModule Module = {Init, AccObjectFromPoint, AccPropertyAnswer, AccFocusedObject,
                           AccFocusedTextAnswer, Release};

}  // namespace

extern "C" __attribute__((visibility("default"))) const FAccModule* OrvexAccModule() { return &Module; }
