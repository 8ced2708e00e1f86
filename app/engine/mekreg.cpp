// The INI-backed settings store. One file per root:
//   [Software\Vorlan\mekcalc]
//   font=80000008FFFFFFF0...
// Values are GBK bytes; "\", CR, LF and NUL are written as \\, \r, \n and \0 so that a
// value is always one line. Key paths and value names match without ASCII case, as
// registry names do.
#include "app/engine/mekreg.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <fstream>
#include <vector>

#include "core/mekconfig.h"

namespace {

const char* const RootNames[] = {"HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS",
                                 "HKEY_CLASSES_ROOT"};

bool KnownRoot(const std::string& name) {
  for (const char* r : RootNames)
    if (name == r) return true;
  return false;
}

bool SameNoCase(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = a[i], y = b[i];
    if (x >= 'A' && x <= 'Z') x += 32;
    if (y >= 'A' && y <= 'Z') y += 32;
    if (x != y) return false;
  }
  return true;
}

// Key paths compare without the blanks and "\" at either end.
std::string NormalKey(const std::string& path) {
  size_t b = 0, e = path.size();
  while (b < e && (path[b] == '\\' || path[b] == ' ')) ++b;
  while (e > b && (path[e - 1] == '\\' || path[e - 1] == ' ')) --e;
  return path.substr(b, e - b);
}

std::string Escape(const std::string& s) {
  std::string out;
  for (char c : s) {
    switch (c) {
      case '\\': out += "\\\\"; break;
      case '\r': out += "\\r"; break;
      case '\n': out += "\\n"; break;
      case '\0': out += "\\0"; break;
      default: out += c;
    }
  }
  return out;
}

std::string Unescape(const std::string& s) {
  std::string out;
  for (size_t i = 0; i < s.size(); ++i) {
    if (s[i] != '\\' || i + 1 == s.size()) {
      out += s[i];
      continue;
    }
    const char c = s[++i];
    out += c == 'r' ? '\r' : c == 'n' ? '\n' : c == '0' ? '\0' : c;
  }
  return out;
}

struct FEntry {
  std::string Name, Value;
};
struct FSection {
  std::string Key;
  std::vector<FEntry> Values;
};

// Reads a store file; false when it cannot be read. A missing file is an empty store.
bool Load(const std::string& file, std::vector<FSection>& sections, bool& exists) {
  sections.clear();
  struct stat st;
  exists = stat(file.c_str(), &st) == 0;
  if (!exists) return errno == ENOENT;
  if (!S_ISREG(st.st_mode)) return false;
  std::ifstream in(file, std::ios::binary);
  if (!in) return false;
  std::string line;
  while (std::getline(in, line)) {
    if (!line.empty() && line.back() == '\r') line.pop_back();
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[' && line.back() == ']') {
      sections.push_back({line.substr(1, line.size() - 2), {}});
      continue;
    }
    const size_t eq = line.find('=');
    if (eq == std::string::npos || sections.empty()) continue;
    sections.back().Values.push_back({Unescape(line.substr(0, eq)), Unescape(line.substr(eq + 1))});
  }
  return !in.bad();
}

// Writes the whole store to a temporary file and renames it over the old one.
bool Save(const std::string& file, const std::vector<FSection>& sections) {
  const std::string temp = file + ".tmp" + std::to_string(getpid());
  {
    std::ofstream out(temp, std::ios::binary | std::ios::trunc);
    if (!out) return false;
    for (const FSection& s : sections) {
      out << '[' << s.Key << "]\n";
      for (const FEntry& e : s.Values) out << Escape(e.Name) << '=' << Escape(e.Value) << '\n';
    }
    out.flush();
    if (!out) {
      std::remove(temp.c_str());
      return false;
    }
  }
  if (std::rename(temp.c_str(), file.c_str()) != 0) {
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

// Creates the folder and its missing parents.
bool MakeFolders(const std::string& path) {
  for (size_t i = 1; i <= path.size(); ++i) {
    if (i < path.size() && path[i] != '/') continue;
    const std::string part = path.substr(0, i);
    if (mkdir(part.c_str(), 0700) != 0 && errno != EEXIST) return false;
  }
  struct stat st;
  return stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
}

const FEntry* Find(const std::vector<FSection>& sections, const std::string& key,
                   const std::string& name) {
  for (const FSection& s : sections)
    if (SameNoCase(NormalKey(s.Key), key))
      for (const FEntry& e : s.Values)
        if (SameNoCase(e.Name, name)) return &e;
  return nullptr;
}

}  // namespace

std::string RegStoreFile(const std::string& rootName) {
  if (!KnownRoot(rootName)) return {};
  const std::string folder = ConfigFolder();
  return folder.empty() ? std::string() : folder + "/" + rootName + ".ini";
}

bool RegWriteString(const std::string& rootName, const std::string& keyPath,
                    const std::string& valueName, const std::string& text) {
  const std::string file = RegStoreFile(rootName);
  const std::string key = NormalKey(keyPath);
  if (file.empty() || key.empty()) return false;
  // A value name holding "=" or a key holding a line break or "]" would not read back.
  if (valueName.find('=') != std::string::npos ||
      key.find_first_of(std::string("\r\n]\0", 4)) != std::string::npos)
    return false;
  if (!MakeFolders(ConfigFolder())) return false;

  std::vector<FSection> sections;
  bool exists;
  if (!Load(file, sections, exists)) return false;
  FSection* section = nullptr;
  for (FSection& s : sections)
    if (SameNoCase(NormalKey(s.Key), key)) section = &s;
  if (!section) {
    sections.push_back({key, {}});
    section = &sections.back();
  }
  bool found = false;
  for (FEntry& e : section->Values)
    if (SameNoCase(e.Name, valueName)) {
      e.Value = text;
      found = true;
    }
  if (!found) section->Values.push_back({valueName, text});
  if (!Save(file, sections)) return false;

  std::string back;
  return RegReadString(rootName, keyPath, valueName, back) && back == text;
}

bool RegReadString(const std::string& rootName, const std::string& keyPath,
                   const std::string& valueName, std::string& text) {
  text.clear();
  const std::string file = RegStoreFile(rootName);
  if (file.empty()) return false;
  std::vector<FSection> sections;
  bool exists;
  if (!Load(file, sections, exists) || !exists) return false;
  const FEntry* e = Find(sections, NormalKey(keyPath), valueName);
  if (!e) return false;
  text = e->Value;
  return true;
}
