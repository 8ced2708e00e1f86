// System-wide hotkeys on the X server the application shows its windows on: a hotkey is
// a passive key grab on the root window (taken with every combination of the lock keys
// Caps Lock and Num Lock, so the key arrives whatever their state), and a grabbed key
// press read from the application's own X connection becomes the hotkey message for the
// window thread.
#pragma once
#include <QAbstractNativeEventFilter>
#include <cstdint>
#include <functional>
#include <memory>
#include <vector>

#include "app/engine/mekhotkey.h"

struct xcb_connection_t;

class TXHotKeys : public QAbstractNativeEventFilter, public THotKeyPlatform {
public:
  using FDeliver = std::function<void(FHotKeyMessage&)>;

  // The hotkeys of the application's X connection, each press handed to deliver; null
  // when the application does not run on X11 (Wayland, offscreen).
  static std::unique_ptr<TXHotKeys> Open(FDeliver deliver);
  ~TXHotKeys() override;

  bool RegisterHotKey(FWindowHandle window, std::int32_t id, std::uint32_t modifiers,
                      std::uint16_t virtualKey) override;
  void UnregisterHotKey(FWindowHandle window, std::int32_t id) override;

  bool nativeEventFilter(const QByteArray& eventType, void* message, qintptr* result) override;

  // The pointer's position on the screen in physical pixels; false when it cannot be read.
  bool PointerPosition(int& x, int& y) const;

  // The X key symbol of a virtual key (F1-F24, digits, letters), or 0.
  static std::uint32_t KeySymOf(std::uint16_t virtualKey);

private:
  struct FGrab {
    FWindowHandle Window;
    std::int32_t Id;
    std::uint32_t Modifiers;  // MOD_* mask
    std::uint16_t VirtualKey;
    std::uint32_t Root;
    std::uint16_t XModifiers;
    std::uint16_t Locks;  // Caps Lock and Num Lock as the server mapped them
    std::vector<std::uint8_t> Keycodes;
  };

  TXHotKeys(xcb_connection_t* connection, FDeliver deliver);
  void Ungrab(const FGrab& grab);

  xcb_connection_t* connection_;
  FDeliver deliver_;
  std::vector<FGrab> grabs_;
};
