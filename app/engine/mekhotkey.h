// The hotkey registry: up to 20 system-wide hotkeys of the program's windows, each
// registered with the platform under an identifier drawn from the process's atom table.
// The registry knows keys, windows and identifiers only; the platform layer (the X
// server's key grabs in the window) does the registering and turns a pressed hotkey into
// an FHotKeyMessage for the window.
#pragma once
#include <array>
#include <cstdint>
#include <string>

// A window as the platform knows it (an X window id).
using FWindowHandle = std::uintptr_t;

// The message a pressed hotkey sends to its window: wParam holds the entry's identifier,
// lParam the modifier mask in its low word and the virtual key in its high word.
inline constexpr std::uint32_t WM_HOTKEY = 0x0312;
struct FHotKeyMessage {
  std::uint32_t Msg = WM_HOTKEY;
  std::intptr_t WParam = 0;
  std::intptr_t LParam = 0;
  std::intptr_t Result = 0;  // 1 once a registry has claimed the message
};

// Modifier mask bits.
inline constexpr std::uint32_t MOD_ALT = 1;
inline constexpr std::uint32_t MOD_CONTROL = 2;
inline constexpr std::uint32_t MOD_SHIFT = 4;
inline constexpr std::uint32_t MOD_WIN = 8;

// Virtual key of F5 (F1 is 112, F24 is 135).
inline constexpr std::uint16_t VK_F5 = 116;

// A hotkey: its modifier keys and its virtual key.
struct FHotKey {
  bool Ctrl = false;
  bool Alt = false;
  bool Shift = false;
  bool Win = false;
  std::uint16_t VirtualKey = 0;
};

// The modifier mask of a key: 2 Ctrl, 1 Alt, 4 Shift, 8 Win, added together.
std::uint32_t ModifierMask(const FHotKey& key);
// lParam of the message that the key sends.
std::intptr_t HotKeyLParam(std::uint32_t modifiers, std::uint16_t virtualKey);

// What registers hotkeys with the windowing system.
class THotKeyPlatform {
public:
  virtual ~THotKeyPlatform() = default;
  // True when the key is now the window's; false when another program holds it or the
  // key cannot be had.
  virtual bool RegisterHotKey(FWindowHandle window, std::int32_t id, std::uint32_t modifiers,
                              std::uint16_t virtualKey) = 0;
  virtual void UnregisterHotKey(FWindowHandle window, std::int32_t id) = 0;
};

// The process's atom table, in which every hotkey's name gets its number: the same name
// gives the same atom (counted), 0xC000 upwards; 0 when the table is full or the name is
// empty. An atom is freed when every addition of it has been deleted.
std::uint16_t AddHotKeyAtom(const std::string& name);
void DeleteHotKeyAtom(std::uint16_t atom);
// The atom of a name in the table, or 0.
std::uint16_t FindHotKeyAtom(const std::string& name);

// The name of a hotkey entry: the program's file name (folder dropped) cut before its
// first "." (no "." gives an empty stem), then the entry number: "calc.exe", 1 -> "calc1".
std::string HotKeyAtomName(const std::string& programFile, int number);

class TMekhotkey {
public:
  static constexpr int MaxHotKeys = 20;

  // Registers through the platform, or keeps its entries unregistered when there is none
  // (no X display).
  explicit TMekhotkey(THotKeyPlatform* platform = nullptr);
  // Unregisters every entry and releases its atom.
  ~TMekhotkey();
  TMekhotkey(const TMekhotkey&) = delete;
  TMekhotkey& operator=(const TMekhotkey&) = delete;

  // Entries are numbered from 1 to Count; index 0 is unused.
  std::array<std::int32_t, MaxHotKeys + 1> Ids{};
  std::array<FWindowHandle, MaxHotKeys + 1> Handles{};
  std::array<FHotKey, MaxHotKeys + 1> Keys{};
  std::int32_t Count = 0;

  // Adds an entry for the window and registers it (while the registry is active). A call
  // once 20 entries exist does nothing. The registration's result is not examined: a key
  // held by another program never arrives.
  void AddHotKey(FWindowHandle window, bool ctrl, bool alt, bool shift, bool win,
                 std::uint16_t virtualKey);
  // The number of the entry whose key and modifier mask the message carries, marking the
  // message handled; 0 when no entry matches. Window and wParam are not compared.
  int HotKeyIndex(FHotKeyMessage& message) const;

  // While active (from construction on) every entry is registered with the platform;
  // while inactive none is, so other programs get those keys. The entries stay.
  void SetActive(bool active);
  bool Active() const { return active_; }

  // The name of the running program's file, from which the atom names are built.
  static std::string ProgramFile();

private:
  void Register(int number);
  void Unregister(int number);

  THotKeyPlatform* platform_;
  bool active_ = true;
};
