#include "app/window/xhotkey.h"

#include <QGuiApplication>
#include <xcb/xcb.h>

#include <algorithm>
#include <cstdlib>

namespace {

constexpr std::uint32_t XK_F1 = 0xFFBE;
constexpr std::uint32_t XK_Num_Lock = 0xFF7F;
// Shift, Lock, Control and Mod1..Mod5; the bits above carry buttons and the XKB group.
constexpr std::uint16_t ModifierBits = 0xFF;

template <class T>
struct FReply {
  T* Value;
  explicit FReply(T* value) : Value(value) {}
  ~FReply() { std::free(Value); }
  T* operator->() const { return Value; }
  explicit operator bool() const { return Value != nullptr; }
};

std::uint16_t XModifiersOf(std::uint32_t modifiers) {
  return (modifiers & MOD_SHIFT ? XCB_MOD_MASK_SHIFT : 0) |
         (modifiers & MOD_CONTROL ? XCB_MOD_MASK_CONTROL : 0) |
         (modifiers & MOD_ALT ? XCB_MOD_MASK_1 : 0) | (modifiers & MOD_WIN ? XCB_MOD_MASK_4 : 0);
}

std::uint32_t ModifiersOf(std::uint16_t state) {
  return (state & XCB_MOD_MASK_SHIFT ? MOD_SHIFT : 0) |
         (state & XCB_MOD_MASK_CONTROL ? MOD_CONTROL : 0) |
         (state & XCB_MOD_MASK_1 ? MOD_ALT : 0) | (state & XCB_MOD_MASK_4 ? MOD_WIN : 0);
}

// The server's keyboard map: the key symbols of every keycode.
struct FKeyMap {
  std::uint8_t MinKeycode = 0;
  std::uint8_t PerKeycode = 0;
  std::vector<std::uint32_t> Syms;

  explicit FKeyMap(xcb_connection_t* c) {
    const xcb_setup_t* setup = xcb_get_setup(c);
    MinKeycode = setup->min_keycode;
    FReply reply(xcb_get_keyboard_mapping_reply(
        c, xcb_get_keyboard_mapping(c, MinKeycode, setup->max_keycode - MinKeycode + 1),
        nullptr));
    if (!reply) return;
    PerKeycode = reply->keysyms_per_keycode;
    const xcb_keysym_t* syms = xcb_get_keyboard_mapping_keysyms(reply.Value);
    Syms.assign(syms, syms + xcb_get_keyboard_mapping_keysyms_length(reply.Value));
  }
  bool Has(std::uint8_t keycode, std::uint32_t sym) const {
    if (!PerKeycode || keycode < MinKeycode) return false;
    const size_t first = size_t(keycode - MinKeycode) * PerKeycode;
    for (size_t i = first; i < first + PerKeycode && i < Syms.size(); ++i)
      if (Syms[i] == sym) return true;
    return false;
  }
  std::vector<std::uint8_t> KeycodesOf(std::uint32_t sym) const {
    std::vector<std::uint8_t> codes;
    if (!PerKeycode) return codes;
    for (size_t k = 0; k < Syms.size() / PerKeycode; ++k)
      if (Has(static_cast<std::uint8_t>(MinKeycode + k), sym))
        codes.push_back(static_cast<std::uint8_t>(MinKeycode + k));
    return codes;
  }
};

// Caps Lock and the modifier that Num Lock sets.
std::uint16_t LockMasks(xcb_connection_t* c, const FKeyMap& map) {
  std::uint16_t masks = XCB_MOD_MASK_LOCK;
  FReply reply(xcb_get_modifier_mapping_reply(c, xcb_get_modifier_mapping(c), nullptr));
  if (!reply) return masks;
  const xcb_keycode_t* codes = xcb_get_modifier_mapping_keycodes(reply.Value);
  const int per = reply->keycodes_per_modifier;
  for (int mod = 0; mod < 8; ++mod)
    for (int i = 0; i < per; ++i)
      if (codes[mod * per + i] && map.Has(codes[mod * per + i], XK_Num_Lock))
        masks |= static_cast<std::uint16_t>(1u << mod);
  return masks;
}

// The combinations of the lock masks, none included.
std::vector<std::uint16_t> LockVariants(std::uint16_t locks) {
  std::vector<std::uint16_t> variants;
  for (std::uint16_t v = 0;; v = static_cast<std::uint16_t>((v - locks) & locks)) {
    variants.push_back(v);
    if (v == locks) break;
  }
  return variants;
}

xcb_window_t RootOf(xcb_connection_t* c, FWindowHandle window) {
  if (window) {
    FReply tree(xcb_query_tree_reply(c, xcb_query_tree(c, static_cast<xcb_window_t>(window)),
                                     nullptr));
    if (tree) return tree->root;
  }
  return xcb_setup_roots_iterator(xcb_get_setup(c)).data->root;
}

// Waits until the server has handled every request sent so far.
void Sync(xcb_connection_t* c) {
  std::free(xcb_get_input_focus_reply(c, xcb_get_input_focus(c), nullptr));
}

}  // namespace

std::unique_ptr<TXHotKeys> TXHotKeys::Open(FDeliver deliver) {
  if (!qGuiApp || QGuiApplication::platformName() != "xcb") return nullptr;
  auto* x11 = qGuiApp->nativeInterface<QNativeInterface::QX11Application>();
  if (!x11 || !x11->connection()) return nullptr;
  return std::unique_ptr<TXHotKeys>(new TXHotKeys(x11->connection(), std::move(deliver)));
}

TXHotKeys::TXHotKeys(xcb_connection_t* connection, FDeliver deliver)
    : connection_(connection), deliver_(std::move(deliver)) {
  qGuiApp->installNativeEventFilter(this);
}

TXHotKeys::~TXHotKeys() {
  if (qGuiApp) qGuiApp->removeNativeEventFilter(this);
  for (const FGrab& g : grabs_) Ungrab(g);
  if (!grabs_.empty()) Sync(connection_);
}

std::uint32_t TXHotKeys::KeySymOf(std::uint16_t vk) {
  if (vk >= 112 && vk <= 135) return XK_F1 + (vk - 112u);
  if (vk >= '0' && vk <= '9') return vk;
  if (vk >= 'A' && vk <= 'Z') return vk - 'A' + 'a';
  return 0;
}

bool TXHotKeys::RegisterHotKey(FWindowHandle window, std::int32_t id, std::uint32_t modifiers,
                               std::uint16_t virtualKey) {
  const std::uint32_t sym = KeySymOf(virtualKey);
  if (!sym) return false;
  const FKeyMap map(connection_);
  FGrab grab{window, id, modifiers, virtualKey, RootOf(connection_, window),
             XModifiersOf(modifiers), LockMasks(connection_, map), map.KeycodesOf(sym)};
  if (grab.Keycodes.empty()) return false;
  // Every grab is checked: a key that another client holds is not the window's at all.
  std::vector<xcb_void_cookie_t> cookies;
  for (std::uint8_t keycode : grab.Keycodes)
    for (std::uint16_t locks : LockVariants(grab.Locks))
      cookies.push_back(xcb_grab_key_checked(connection_, 0, grab.Root,
                                             grab.XModifiers | locks, keycode,
                                             XCB_GRAB_MODE_ASYNC, XCB_GRAB_MODE_ASYNC));
  bool ok = true;
  for (xcb_void_cookie_t cookie : cookies) {
    if (xcb_generic_error_t* error = xcb_request_check(connection_, cookie)) {
      ok = false;
      std::free(error);
    }
  }
  if (!ok) {
    Ungrab(grab);
    Sync(connection_);
    return false;
  }
  grabs_.push_back(std::move(grab));
  return true;
}

void TXHotKeys::UnregisterHotKey(FWindowHandle window, std::int32_t id) {
  const auto mine = [&](const FGrab& g) { return g.Window == window && g.Id == id; };
  bool any = false;
  for (const FGrab& g : grabs_)
    if (mine(g)) Ungrab(g), any = true;
  if (!any) return;
  grabs_.erase(std::remove_if(grabs_.begin(), grabs_.end(), mine), grabs_.end());
  // Back from here, the key goes to other programs.
  Sync(connection_);
}

void TXHotKeys::Ungrab(const FGrab& grab) {
  for (std::uint8_t keycode : grab.Keycodes)
    for (std::uint16_t locks : LockVariants(grab.Locks))
      xcb_ungrab_key(connection_, keycode, grab.Root, grab.XModifiers | locks);
}

bool TXHotKeys::PointerPosition(int& x, int& y) const {
  const xcb_window_t root = xcb_setup_roots_iterator(xcb_get_setup(connection_)).data->root;
  FReply pointer(xcb_query_pointer_reply(connection_, xcb_query_pointer(connection_, root), nullptr));
  if (!pointer) return false;
  x = pointer->root_x;
  y = pointer->root_y;
  return true;
}

bool TXHotKeys::nativeEventFilter(const QByteArray& eventType, void* message, qintptr*) {
  if (eventType != "xcb_generic_event_t") return false;
  auto* event = static_cast<xcb_generic_event_t*>(message);
  const std::uint8_t type = event->response_type & 0x7F;
  if (type != XCB_KEY_PRESS && type != XCB_KEY_RELEASE) return false;
  auto* key = reinterpret_cast<xcb_key_press_event_t*>(event);
  for (const FGrab& g : grabs_) {
    const std::uint16_t state = key->state & ModifierBits & ~g.Locks;
    if (key->event != g.Root || state != g.XModifiers ||
        std::find(g.Keycodes.begin(), g.Keycodes.end(), key->detail) == g.Keycodes.end())
      continue;
    // The window's handler may change the grabs: nothing of g is used after it.
    if (type == XCB_KEY_PRESS) {
      FHotKeyMessage hotkey;
      hotkey.WParam = g.Id;
      hotkey.LParam = HotKeyLParam(ModifiersOf(state), g.VirtualKey);
      deliver_(hotkey);
    }
    return true;
  }
  return false;
}
