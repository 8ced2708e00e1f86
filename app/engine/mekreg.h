// String values in a small registry-like store: one INI file per root under the user's
// configuration folder ($XDG_CONFIG_HOME, default ~/.config), "orvex/<root>.ini", with
// one section per key path and one "name=value" line per value. Texts are GBK bytes.
#pragma once
#include <cstddef>
#include <string>

// A store file larger than this counts as unreadable: nothing is read from it and it is
// never written.
inline constexpr size_t RegMaxStoreSize = 1u << 20;

// Root names: "HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS", "HKEY_CLASSES_ROOT".
// Writes text as the value valueName under keyPath, creating what is missing, and reads
// it back: true exactly when the text read back equals text. Every line of the store
// other than the value's own (comments included) stays as it was. An unknown root, or any
// failure on the way, gives false.
bool RegWriteString(const std::string& rootName, const std::string& keyPath,
                    const std::string& valueName, const std::string& text);
// Reads the value valueName under keyPath; creates nothing. False (and an empty text)
// for an unknown root, a missing key or value, or a failed read.
bool RegReadString(const std::string& rootName, const std::string& keyPath,
                   const std::string& valueName, std::string& text);

// The file that holds a root's values, or an empty text for an unknown root name.
std::string RegStoreFile(const std::string& rootName);
