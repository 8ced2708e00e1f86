// The INI reader: a file parsed into its entries once, kept until the file changes.
#include "core/mekini.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <ctime>
#include <memory>
#include <mutex>
#include <unordered_map>

#include "core/mekfilestate.h"
#include "core/mekstr.h"

namespace {

// The entries of one file, keyed by the folded section name, a line feed (which no
// name can hold) and the folded key.
struct FIniEntries {
  explicit FIniEntries(const FFileIdentity& identity) : Identity(identity) {}
  FFileIdentity Identity;
  // Whether the file had settled when it was read (see IsSettled).
  bool Settled = false;
  std::unordered_map<std::string, std::string> Values;
};

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

std::string TrimBlanks(const char* begin, const char* end) {
  while (begin < end && IsBlank(*begin)) ++begin;
  while (end > begin && IsBlank(end[-1])) --end;
  return std::string(begin, end);
}

// ASCII letters in lower case; both bytes of a double-byte character kept as they are.
std::string Fold(const std::string& text) {
  std::string out = text;
  for (size_t i = 0; i < out.size();) {
    const size_t n = CharLengthAt(out, i);
    if (n == 1 && out[i] >= 'A' && out[i] <= 'Z') out[i] = static_cast<char>(out[i] - 'A' + 'a');
    i += n ? n : 1;
  }
  return out;
}

std::string EntryKey(const std::string& section, const std::string& key) {
  return Fold(section) + '\n' + Fold(key);
}

// The byte index of the first c in text that is a character of its own (not the second
// byte of a double-byte character), or npos.
size_t FindChar(const std::string& text, char c) {
  for (size_t i = 0; i < text.size();) {
    if (text[i] == c) return i;
    const size_t n = CharLengthAt(text, i);
    i += n ? n : 1;
  }
  return std::string::npos;
}

void ParseLine(const char* begin, const char* end, std::string& section, bool& inSection,
               FIniEntries& entries) {
  while (begin < end && IsBlank(*begin)) ++begin;
  if (begin == end || *begin == ';') return;
  const std::string line(begin, end);
  if (line[0] == '[') {
    const size_t close = FindChar(line, ']');
    section = TrimBlanks(line.data() + 1, line.data() + (close == std::string::npos ? line.size() : close));
    inSection = true;
    return;
  }
  const size_t eq = line.find('=');  // "=" is below 0x40: never a second byte
  if (eq == std::string::npos || !inSection) return;
  const std::string key = TrimBlanks(line.data(), line.data() + eq);
  if (key.empty()) return;
  entries.Values.try_emplace(EntryKey(section, key),
                             TrimBlanks(line.data() + eq + 1, line.data() + line.size()));
}

// Reads and parses the file at path; null when it is no regular file, too large or
// unreadable. The identity is taken from the open file itself.
std::shared_ptr<FIniEntries> LoadFile(const std::string& path) {
  // Non-blocking, so that opening a FIFO does not wait for a writer.
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return nullptr;
  struct stat st {};
  std::shared_ptr<FIniEntries> entries;
  std::string data;
  bool ok = fstat(fd, &st) == 0 && S_ISREG(st.st_mode) && st.st_size >= 0 &&
            static_cast<unsigned long long>(st.st_size) <= IniMaxFileSize;
  if (ok) {
    data.resize(static_cast<size_t>(st.st_size));
    size_t got = 0;
    while (got < data.size()) {
      const ssize_t n = read(fd, data.data() + got, data.size() - got);
      if (n < 0) {
        ok = false;
        break;
      }
      if (n == 0) break;  // the file shrank meanwhile: parse what there is
      got += static_cast<size_t>(n);
    }
    data.resize(got);
  }
  close(fd);
  if (!ok) return nullptr;

  entries = std::make_shared<FIniEntries>(FFileIdentity(st));
  entries->Settled = IsSettled(entries->Identity);
  std::string section;
  bool inSection = false;
  const char* p = data.data();
  const char* const end = p + data.size();
  // A UTF-8 byte-order mark, as editors may save the file, is no part of its first line.
  if (data.compare(0, 3, "\xEF\xBB\xBF") == 0) p += 3;
  while (p < end) {
    const char* eol = p;
    while (eol < end && *eol != '\r' && *eol != '\n') ++eol;
    ParseLine(p, eol, section, inSection, *entries);
    p = eol;
    if (p < end && *p == '\r') {
      ++p;
      if (p < end && *p == '\n') ++p;  // CR LF
    } else if (p < end) {
      ++p;  // LF
    }
  }
  return entries;
}

// The parsed files, by path. A handful of files is all the engine reads; the cache is
// emptied when it grows beyond that, so that paths read once do not pile up.
constexpr size_t MaxCachedFiles = 8;
std::mutex CacheLock;
std::unordered_map<std::string, std::shared_ptr<FIniEntries>> Cache;

std::shared_ptr<FIniEntries> Entries(const std::string& path) {
  struct stat st {};
  if (stat(path.c_str(), &st) != 0) return nullptr;
  std::lock_guard<std::mutex> lock(CacheLock);
  const auto found = Cache.find(path);
  if (found != Cache.end() && found->second->Settled &&
      found->second->Identity == FFileIdentity(st))
    return found->second;
  std::shared_ptr<FIniEntries> entries = LoadFile(path);
  if (!entries) {
    if (found != Cache.end()) Cache.erase(found);
    return nullptr;
  }
  if (found == Cache.end() && Cache.size() >= MaxCachedFiles) Cache.clear();
  Cache[path] = entries;
  return entries;
}

}  // namespace

std::string IniReadString(const std::string& path, const std::string& section,
                          const std::string& key, const std::string& defaultValue) {
  try {
    const std::string wantedKey = TrimBlanks(key.data(), key.data() + key.size());
    if (wantedKey.empty()) return defaultValue;
    const std::shared_ptr<FIniEntries> entries = Entries(path);
    if (!entries) return defaultValue;
    const auto found = entries->Values.find(
        EntryKey(TrimBlanks(section.data(), section.data() + section.size()), wantedKey));
    return found == entries->Values.end() ? defaultValue : found->second;
  } catch (...) {
    return defaultValue;
  }
}
