// The INI-backed value store. Key paths and value names match without ASCII case, as
// registry names do; values are kept byte for byte up to the end of their line.
#include "app/engine/mekreg.h"

#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <vector>

namespace {

const char* const RootNames[] = {"HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS",
                                 "HKEY_CLASSES_ROOT"};

bool SameName(const std::string& a, const std::string& b) {
  if (a.size() != b.size()) return false;
  for (size_t i = 0; i < a.size(); ++i) {
    unsigned char x = a[i], y = b[i];
    if (x >= 'a' && x <= 'z') x -= 32;
    if (y >= 'a' && y <= 'z') y -= 32;
    if (x != y) return false;
  }
  return true;
}

std::string ConfigDir() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/') return std::string(xdg);
  const char* home = std::getenv("HOME");
  if (!home || !*home) return std::string();
  return std::string(home) + "/.config";
}

std::string StoreDir() {
  const std::string base = ConfigDir();
  return base.empty() ? base : base + "/orvex";
}

bool MakeDir(const std::string& path) {
  if (::mkdir(path.c_str(), 0700) == 0 || errno == EEXIST) {
    struct stat st;
    return ::stat(path.c_str(), &st) == 0 && S_ISDIR(st.st_mode);
  }
  return false;
}

// A name the file layout can hold: no line breaks, no NUL; a key path without "]", a
// value name without "=" and not starting with "[" or ";".
bool LineSafe(const std::string& s) {
  return s.find_first_of(std::string("\r\n\0", 3)) == std::string::npos;
}
bool ValidKey(const std::string& keyPath) {
  return LineSafe(keyPath) && keyPath.find(']') == std::string::npos;
}
bool ValidName(const std::string& name) {
  return LineSafe(name) && !name.empty() && name.find('=') == std::string::npos &&
         name[0] != '[' && name[0] != ';';
}

bool ReadLines(const std::string& file, std::vector<std::string>& lines) {
  FILE* f = std::fopen(file.c_str(), "rb");
  if (!f) return false;
  std::string data;
  char buf[4096];
  size_t n;
  while ((n = std::fread(buf, 1, sizeof buf, f)) > 0) data.append(buf, n);
  const bool ok = !std::ferror(f);
  std::fclose(f);
  if (!ok) return false;
  size_t start = 0;
  while (start < data.size()) {
    size_t end = data.find('\n', start);
    if (end == std::string::npos) end = data.size();
    lines.push_back(data.substr(start, end - start));
    start = end + 1;
  }
  return true;
}

bool IsSection(const std::string& line, std::string& name) {
  if (line.size() < 2 || line.front() != '[' || line.back() != ']') return false;
  name = line.substr(1, line.size() - 2);
  return true;
}

// Index of the value line of name inside section key, or -1; sectionLine gets the
// index of the section's header (-1 when absent), sectionEnd the index after its last line.
int FindValue(const std::vector<std::string>& lines, const std::string& key,
              const std::string& name, int& sectionLine, int& sectionEnd) {
  sectionLine = -1;
  sectionEnd = -1;
  bool inside = false;
  int found = -1;
  for (size_t i = 0; i < lines.size(); ++i) {
    std::string section;
    if (IsSection(lines[i], section)) {
      if (inside) {
        sectionEnd = int(i);
        inside = false;
      }
      if (sectionLine < 0 && SameName(section, key)) {
        sectionLine = int(i);
        inside = true;
      }
      continue;
    }
    if (!inside || found >= 0) continue;
    const size_t eq = lines[i].find('=');
    if (eq != std::string::npos && SameName(lines[i].substr(0, eq), name)) found = int(i);
  }
  if (inside) sectionEnd = int(lines.size());
  return found;
}

bool WriteFileAtomically(const std::string& file, const std::vector<std::string>& lines) {
  const std::string temp = file + ".tmp";
  FILE* f = std::fopen(temp.c_str(), "wb");
  if (!f) return false;
  bool ok = true;
  for (const std::string& line : lines) {
    ok = ok && std::fwrite(line.data(), 1, line.size(), f) == line.size();
    ok = ok && std::fputc('\n', f) != EOF;
  }
  ok = (std::fflush(f) == 0) && ok;
  ok = (::fsync(::fileno(f)) == 0) && ok;
  ok = (std::fclose(f) == 0) && ok;
  if (!ok || std::rename(temp.c_str(), file.c_str()) != 0) {
    std::remove(temp.c_str());
    return false;
  }
  return true;
}

}  // namespace

std::string RegStoreFile(const std::string& rootName) {
  for (const char* root : RootNames) {
    if (rootName == root) {
      const std::string dir = StoreDir();
      return dir.empty() ? dir : dir + "/" + root + ".ini";
    }
  }
  return std::string();
}

bool RegWriteString(const std::string& rootName, const std::string& keyPath,
                    const std::string& valueName, const std::string& text) {
  const std::string file = RegStoreFile(rootName);
  if (file.empty() || !ValidKey(keyPath) || !ValidName(valueName)) return false;
  const std::string base = ConfigDir();
  if (!MakeDir(base) || !MakeDir(StoreDir())) return false;
  std::vector<std::string> lines;
  if (!ReadLines(file, lines) && errno != ENOENT) return false;
  int sectionLine, sectionEnd;
  const int at = FindValue(lines, keyPath, valueName, sectionLine, sectionEnd);
  const std::string line = valueName + "=" + text;
  if (at >= 0) {
    lines[size_t(at)] = line;
  } else if (sectionLine >= 0) {
    lines.insert(lines.begin() + sectionEnd, line);
  } else {
    lines.push_back("[" + keyPath + "]");
    lines.push_back(line);
  }
  if (!WriteFileAtomically(file, lines)) return false;
  std::string back;
  return RegReadString(rootName, keyPath, valueName, back) && back == text;
}

bool RegReadString(const std::string& rootName, const std::string& keyPath,
                   const std::string& valueName, std::string& text) {
  text.clear();
  const std::string file = RegStoreFile(rootName);
  if (file.empty()) return false;
  std::vector<std::string> lines;
  if (!ReadLines(file, lines)) return false;
  int sectionLine, sectionEnd;
  const int at = FindValue(lines, keyPath, valueName, sectionLine, sectionEnd);
  if (at < 0) return false;
  const std::string& line = lines[size_t(at)];
  text = line.substr(line.find('=') + 1);
  return true;
}
