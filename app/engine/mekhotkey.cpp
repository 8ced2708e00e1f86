// The hotkey registry and the process's atom table that numbers its entries.
#include "app/engine/mekhotkey.h"

#include <unistd.h>

#include <climits>
#include <map>
#include <mutex>

namespace {

constexpr std::uint16_t FirstAtom = 0xC000;

struct FAtomTable {
  struct FAtom {
    std::uint16_t Atom;
    int References;
  };
  std::mutex Lock;
  std::map<std::string, FAtom> ByName;
  std::uint32_t Next = FirstAtom;
};

FAtomTable& Atoms() {
  static FAtomTable table;
  return table;
}

}  // namespace

std::uint16_t AddHotKeyAtom(const std::string& name) {
  if (name.empty()) return 0;
  FAtomTable& t = Atoms();
  std::lock_guard lock(t.Lock);
  if (auto it = t.ByName.find(name); it != t.ByName.end()) {
    ++it->second.References;
    return it->second.Atom;
  }
  if (t.Next > 0xFFFF) return 0;
  const auto atom = static_cast<std::uint16_t>(t.Next++);
  t.ByName.emplace(name, FAtomTable::FAtom{atom, 1});
  return atom;
}

void DeleteHotKeyAtom(std::uint16_t atom) {
  FAtomTable& t = Atoms();
  std::lock_guard lock(t.Lock);
  for (auto it = t.ByName.begin(); it != t.ByName.end(); ++it) {
    if (it->second.Atom != atom) continue;
    if (--it->second.References == 0) t.ByName.erase(it);
    return;
  }
}

std::uint16_t FindHotKeyAtom(const std::string& name) {
  FAtomTable& t = Atoms();
  std::lock_guard lock(t.Lock);
  const auto it = t.ByName.find(name);
  return it == t.ByName.end() ? 0 : it->second.Atom;
}

std::string HotKeyAtomName(const std::string& programFile, int number) {
  const size_t slash = programFile.find_last_of('/');
  const std::string file = slash == std::string::npos ? programFile : programFile.substr(slash + 1);
  const size_t dot = file.find('.');
  const std::string stem = dot == std::string::npos ? std::string() : file.substr(0, dot);
  return stem + std::to_string(number);
}

std::uint32_t ModifierMask(const FHotKey& key) {
  return (key.Ctrl ? MOD_CONTROL : 0) | (key.Alt ? MOD_ALT : 0) | (key.Shift ? MOD_SHIFT : 0) |
         (key.Win ? MOD_WIN : 0);
}

std::intptr_t HotKeyLParam(std::uint32_t modifiers, std::uint16_t virtualKey) {
  return static_cast<std::intptr_t>((std::uint32_t{virtualKey} << 16) | (modifiers & 0xFFFF));
}

std::string TMekhotkey::ProgramFile() {
  char path[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  return n > 0 ? std::string(path, static_cast<size_t>(n)) : std::string();
}

TMekhotkey::TMekhotkey(THotKeyPlatform* platform) : platform_(platform) {}

TMekhotkey::~TMekhotkey() {
  for (int n = 1; n <= Count; ++n) {
    if (active_) Unregister(n);
    DeleteHotKeyAtom(static_cast<std::uint16_t>(Ids[n] + FirstAtom));
  }
}

void TMekhotkey::AddHotKey(FWindowHandle window, bool ctrl, bool alt, bool shift, bool win,
                           std::uint16_t virtualKey) {
  if (Count == MaxHotKeys) return;
  const int n = ++Count;
  Handles[n] = window;
  Keys[n] = FHotKey{ctrl, alt, shift, win, virtualKey};
  Ids[n] = AddHotKeyAtom(HotKeyAtomName(ProgramFile(), n)) - FirstAtom;
  if (active_) Register(n);
}

int TMekhotkey::HotKeyIndex(FHotKeyMessage& message) const {
  const auto lParam = static_cast<std::uint32_t>(message.LParam);
  for (int n = 1; n <= Count; ++n) {
    if ((lParam >> 16) == Keys[n].VirtualKey && (lParam & 0xFFFF) == ModifierMask(Keys[n])) {
      message.Result = 1;
      return n;
    }
  }
  return 0;
}

void TMekhotkey::SetActive(bool active) {
  if (active == active_) return;
  active_ = active;
  for (int n = 1; n <= Count; ++n) active ? Register(n) : Unregister(n);
}

void TMekhotkey::Register(int n) {
  if (platform_)
    platform_->RegisterHotKey(Handles[n], Ids[n], ModifierMask(Keys[n]), Keys[n].VirtualKey);
}

void TMekhotkey::Unregister(int n) {
  if (platform_) platform_->UnregisterHotKey(Handles[n], Ids[n]);
}
