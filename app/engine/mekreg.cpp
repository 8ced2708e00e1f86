// The INI-backed settings store. One file per root:
//   [Software\Vorlan\mekcalc]
//   font=80000008FFFFFFF0...
// Values are GBK bytes; "\", CR, LF and NUL are written as \\, \r, \n and \0 so that a
// value is always one line. Key paths and value names match without ASCII case, as
// registry names do; when a value appears more than once (its key written in another
// case or with "\" at an end, or its name in another case) the first copy in the file is
// the one read and the one written. A write changes that one line (or adds one, and a
// section header when the key is new) and keeps every other line in place as it was:
// comments, blank lines, lines that are no entry, other copies.
//
// A write holds an exclusive advisory lock (flock) on the store file from reading it to
// reading the new value back, and replaces the file by renaming a complete new one over
// it, so concurrent writers never lose each other's values and a reader never sees half a
// store. A symbolic link in place of the store is followed (its target is replaced, the
// link stays); a store without write permission, or beyond RegMaxStoreSize, is never
// written.
#include "app/engine/mekreg.h"

#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "core/mekconfig.h"

namespace {

const char* const RootNames[] = {"HKEY_CURRENT_USER", "HKEY_LOCAL_MACHINE", "HKEY_USERS",
                                 "HKEY_CLASSES_ROOT"};

// How long a write waits for another writer's lock before it fails.
const int LockWaitMs = 10000;

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

// A value, and where its text lies in the store: the bytes from ValueAt to End (the
// line's end, before its line break) are the escaped value.
struct FEntry {
  std::string Name, Value;
  size_t ValueAt = 0, End = 0;
};
// A section; a value added to it goes at AddAt, the start of the line after its last
// value (or after its header when it has none).
struct FSection {
  std::string Key;
  std::vector<FEntry> Values;
  size_t AddAt = 0;
};

// Closes a descriptor (and so drops its lock) when it goes out of scope.
struct FFile {
  int Fd = -1;
  ~FFile() {
    if (Fd >= 0) close(Fd);
  }
};

// The whole content of an open store: false for anything but a regular file of at most
// RegMaxStoreSize bytes (also when it grows past that while being read), or a failed read.
bool ReadStore(int fd, std::string& text) {
  text.clear();
  struct stat st;
  if (fstat(fd, &st) != 0 || !S_ISREG(st.st_mode) || st.st_size > off_t(RegMaxStoreSize))
    return false;
  char buffer[65536];
  for (;;) {
    const ssize_t n = read(fd, buffer, sizeof buffer);
    if (n < 0 && errno == EINTR) continue;
    if (n < 0) return false;
    if (n == 0) return true;
    text.append(buffer, size_t(n));
    if (text.size() > RegMaxStoreSize) return false;
  }
}

// The sections of a store's text, with where each value lies; a UTF-8 byte-order mark at
// the start is skipped. Comments, blank lines and lines that are no entry are passed over
// (and so kept as they are by a write).
std::vector<FSection> Parse(const std::string& text) {
  std::vector<FSection> sections;
  size_t pos = text.compare(0, 3, "\xEF\xBB\xBF") == 0 ? 3 : 0;
  while (pos < text.size()) {
    const size_t begin = pos;
    size_t end = text.find('\n', pos);
    pos = end == std::string::npos ? text.size() : end + 1;
    if (end == std::string::npos) end = text.size();
    if (end > begin && text[end - 1] == '\r') --end;
    const std::string line = text.substr(begin, end - begin);
    if (line.empty() || line[0] == ';') continue;
    if (line[0] == '[' && line.back() == ']') {
      sections.push_back({line.substr(1, line.size() - 2), {}, pos});
      continue;
    }
    const size_t eq = line.find('=');
    if (eq == std::string::npos || sections.empty()) continue;
    sections.back().Values.push_back(
        {Unescape(line.substr(0, eq)), Unescape(line.substr(eq + 1)), begin + eq + 1, end});
    sections.back().AddAt = pos;
  }
  return sections;
}

// The value's first copy in file order, or nullptr; section is the key's first section
// (nullptr when the key is missing).
FEntry* Find(std::vector<FSection>& sections, const std::string& key, const std::string& name,
             FSection*& section) {
  section = nullptr;
  for (FSection& s : sections) {
    if (!SameNoCase(NormalKey(s.Key), key)) continue;
    if (!section) section = &s;
    for (FEntry& e : s.Values)
      if (SameNoCase(e.Name, name)) return &e;
  }
  return nullptr;
}

// The store's text with the value set: the value's first copy rewritten in its line, or
// a line added to the key's first section, or the section added at the end. Every other
// byte stays where it was; added lines end as the store's first line does.
std::string WithValue(const std::string& text, const std::string& key, const std::string& name,
                      const std::string& value) {
  std::vector<FSection> sections = Parse(text);
  FSection* section;
  if (const FEntry* e = Find(sections, key, name, section))
    return text.substr(0, e->ValueAt) + Escape(value) + text.substr(e->End);
  const size_t lf = text.find('\n');
  const std::string eol = lf != std::string::npos && lf > 0 && text[lf - 1] == '\r' ? "\r\n" : "\n";
  std::string line = Escape(name) + '=' + Escape(value) + eol;
  size_t at = section ? section->AddAt : text.size();
  if (!section) line = '[' + key + ']' + eol + line;
  // A last line without a line break gets one before anything is added after it.
  if (at == text.size() && !text.empty() && text.back() != '\n') line = eol + line;
  return text.substr(0, at) + line + text.substr(at);
}

// Reads the store file; false when it cannot be read. A missing file is an empty store.
bool Load(const std::string& file, std::vector<FSection>& sections, bool& exists) {
  sections.clear();
  FFile f;
  f.Fd = open(file.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
  exists = f.Fd >= 0;
  if (!exists) return errno == ENOENT;
  std::string text;
  if (!ReadStore(f.Fd, text)) return false;
  sections = Parse(text);
  return true;
}

bool WriteAll(int fd, const std::string& text) {
  for (size_t done = 0; done < text.size();) {
    const ssize_t n = write(fd, text.data() + done, text.size() - done);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) return false;
    done += size_t(n);
  }
  return true;
}

// Writes text to a new file beside target, with the permissions and (where allowed) the
// owner of the old one, and renames it over target; on failure target is as it was and
// the new file is gone. The new file is not forced to disk: after a system crash the
// store may be found empty, which reads as the defaults.
bool Replace(const std::string& target, const std::string& text, const struct stat& old) {
  std::string temp = target + ".XXXXXX";
  const int fd = mkostemp(&temp[0], O_CLOEXEC);
  if (fd < 0) return false;
  if (fchown(fd, old.st_uid, old.st_gid) != 0) {
    // Only the superuser gives a file away; anyone else keeps it as their own.
  }
  bool ok = fchmod(fd, old.st_mode & 07777) == 0 && WriteAll(fd, text);
  ok = close(fd) == 0 && ok;
  if (ok && rename(temp.c_str(), target.c_str()) == 0) return true;
  unlink(temp.c_str());
  return false;
}

long NowMs() {
  timespec ts;
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return long(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

// Opens the store for writing (creating it, through a symbolic link too, when missing)
// and locks it; target is the file the link leads to, or the store itself. Another
// writer may have replaced the file while this one waited for the lock: then the new file
// is locked instead. False when the store cannot be opened or the lock is not had within
// LockWaitMs.
bool OpenLocked(const std::string& file, FFile& store, std::string& target) {
  const long deadline = NowMs() + LockWaitMs;
  for (;;) {
    if (store.Fd >= 0) close(store.Fd);
    store.Fd = open(file.c_str(), O_RDWR | O_CREAT | O_CLOEXEC | O_NONBLOCK, 0666);
    if (store.Fd < 0) return false;
    char* real = realpath(file.c_str(), nullptr);
    if (!real) return false;
    target = real;
    std::free(real);
    while (flock(store.Fd, LOCK_EX | LOCK_NB) != 0) {
      if ((errno != EWOULDBLOCK && errno != EINTR) || NowMs() > deadline) return false;
      const timespec pause = {0, 1000000};
      nanosleep(&pause, nullptr);
    }
    struct stat held, current;
    if (fstat(store.Fd, &held) != 0) return false;
    if (stat(target.c_str(), &current) == 0 && current.st_dev == held.st_dev &&
        current.st_ino == held.st_ino)
      return true;
    if (NowMs() > deadline) return false;
  }
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

  FFile store;
  std::string target, old;
  struct stat st;
  if (!OpenLocked(file, store, target) || !ReadStore(store.Fd, old) ||
      fstat(store.Fd, &st) != 0)
    return false;
  // A store marked read-only stays as it is, whoever writes.
  if ((st.st_mode & (S_IWUSR | S_IWGRP | S_IWOTH)) == 0) return false;
  const std::string updated = WithValue(old, key, valueName, text);
  if (updated.size() > RegMaxStoreSize || !Replace(target, updated, st)) return false;

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
  FSection* section;
  const FEntry* e = Find(sections, NormalKey(keyPath), valueName, section);
  if (!e) return false;
  text = e->Value;
  return true;
}
