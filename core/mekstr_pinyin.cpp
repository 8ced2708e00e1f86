// Pinyin of GBK characters: six polyphones from a fixed list, every other character from
// the record file "mekpy0_4.dll" in the data folder.
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <memory>
#include <mutex>
#include <optional>
#include <string>
#include <unordered_map>

#include "core/mekerror.h"
#include "core/mekfilestate.h"
#include "core/mekstr.h"

namespace {

// Characters with several readings, answered with their usual one without the file.
struct FPolyphone {
  const char* Char;
  const char* Pinyin;
};
const FPolyphone Polyphones[] = {
    {"人", "rén"}, {"仁", "rén"}, {"作", "zuò"}, {"做", "zuò"}, {"都", "dōu"}, {"督", "dū"},
};

const char* Polyphone(const std::string& c) {
  for (const FPolyphone& p : Polyphones)
    if (c == p.Char) return p.Pinyin;
  return nullptr;
}

// Record: length byte of the character (not examined), lead byte, trail byte, length L of
// the pinyin text, then 10 bytes holding the text in their first L.
constexpr size_t RecordSize = 14;
constexpr size_t TextField = 10;

[[noreturn]] void ThrowFileError(const std::string& path) {
  throw EMekError("cannot read " + path + ": " + std::strerror(errno));
}

// The records of one state of a file read whole, kept for the process by path so that
// each text costs one stat instead of a read of the file. A state read before the file
// had settled (see IsSettled) is not reused.
struct FKeptRecords {
  FFileIdentity Identity;
  bool Settled = false;
  std::shared_ptr<const std::string> Data;
};

// A handful of data folders is all a process uses; the store is emptied when it grows
// beyond that, so that folders read once do not pile up.
constexpr size_t MaxKeptFiles = 8;
std::mutex KeptLock;
std::unordered_map<std::string, FKeptRecords> Kept;

std::shared_ptr<const std::string> KeptRecords(const std::string& path, const struct stat& st) {
  std::lock_guard<std::mutex> lock(KeptLock);
  const auto found = Kept.find(path);
  if (found == Kept.end() || !found->second.Settled ||
      found->second.Identity != FFileIdentity(st))
    return nullptr;
  return found->second.Data;
}

void KeepRecords(const std::string& path, const struct stat& st,
                 std::shared_ptr<const std::string> data) {
  std::lock_guard<std::mutex> lock(KeptLock);
  if (!data) {
    Kept.erase(path);
    return;
  }
  if (Kept.size() >= MaxKeptFiles && Kept.find(path) == Kept.end()) Kept.clear();
  FKeptRecords& kept = Kept[path];
  kept.Identity = FFileIdentity(st);
  kept.Settled = IsSettled(kept.Identity);
  kept.Data = std::move(data);
}

// The records of a pinyin file, read whole when it has the size of one (every key once
// is 65536 records, 896 KiB): one read per state of the file instead of one open and some
// forty reads per character. A larger file is read record by record. Opened read-only,
// so an installed read-only copy serves.
class TPinyinFile {
public:
  explicit TPinyinFile(std::string path) : path_(std::move(path)) {}
  ~TPinyinFile() {
    if (fd_ >= 0) close(fd_);
  }
  TPinyinFile(const TPinyinFile&) = delete;
  TPinyinFile& operator=(const TPinyinFile&) = delete;

  // False when no file exists there; raises when one exists but cannot be read.
  bool Load() {
    struct stat st;
    if (stat(path_.c_str(), &st) != 0) {
      if (errno == ENOENT || errno == ENOTDIR) return false;
      ThrowFileError(path_);
    }
    if ((data_ = KeptRecords(path_, st))) {
      count_ = data_->size() / RecordSize;
      return true;
    }
    fd_ = open(path_.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK);
    if (fd_ < 0) {
      if (errno == ENOENT || errno == ENOTDIR) return false;
      ThrowFileError(path_);
    }
    if (fstat(fd_, &st) != 0) ThrowFileError(path_);
    if (!S_ISREG(st.st_mode)) {  // a folder, a pipe or a device is no record file
      errno = S_ISDIR(st.st_mode) ? EISDIR : EINVAL;
      ThrowFileError(path_);
    }
    count_ = static_cast<size_t>(st.st_size) / RecordSize;
    if (static_cast<size_t>(st.st_size) > WholeFileLimit) {
      KeepRecords(path_, st, nullptr);
      return true;
    }
    const size_t wanted = count_ * RecordSize;
    auto data = std::make_shared<std::string>(wanted, '\0');
    size_t got = 0;
    while (got < data->size()) {
      const ssize_t n = read(fd_, data->data() + got, data->size() - got);
      if (n < 0 && errno == EINTR) continue;
      if (n < 0) ThrowFileError(path_);
      if (n == 0) break;  // the file shrank meanwhile: keep what was there
      got += static_cast<size_t>(n);
    }
    count_ = got / RecordSize;
    data->resize(count_ * RecordSize);
    close(fd_);
    fd_ = -1;
    data_ = std::move(data);
    // A file that shrank while it was read is not kept: its identity is not that of the
    // records read.
    KeepRecords(path_, st, got == wanted ? data_ : nullptr);
    return true;
  }

  size_t Count() const { return count_; }
  unsigned Key(size_t i) {
    const unsigned char* r = Record(i);
    return r[1] * 256u + r[2];
  }
  // A length above the field's 10 bytes marks a damaged record: no text.
  std::string Text(size_t i) {
    const unsigned char* r = Record(i);
    if (r[3] > TextField) return {};
    return std::string(reinterpret_cast<const char*>(r + 4), r[3]);
  }

  // Binary search that probes the records lo, hi and mid in each pass, so the first and
  // last keys are found at once. The pass needs three records or more; with one or two
  // it would not run at all, so those are checked after it.
  std::optional<std::string> Find(unsigned key) {
    if (Count() == 0) return std::nullopt;
    size_t lo = 0, hi = Count() - 1;
    bool probed = false;
    while (hi > lo + 1) {
      probed = true;
      if (Key(lo) == key) return Text(lo);
      if (Key(hi) == key) return Text(hi);
      const size_t mid = lo + (hi - lo) / 2;
      if (Key(mid) == key) return Text(mid);
      if (key < Key(mid))
        hi = mid;
      else
        lo = mid;
    }
    if (!probed) {
      if (Key(lo) == key) return Text(lo);
      if (Key(hi) == key) return Text(hi);
    }
    return std::nullopt;
  }

private:
  static constexpr size_t WholeFileLimit = 1 << 20;

  const unsigned char* Record(size_t i) {
    if (data_) return reinterpret_cast<const unsigned char*>(data_->data()) + i * RecordSize;
    size_t got = 0;
    while (got < RecordSize) {
      const ssize_t n = pread(fd_, record_ + got, RecordSize - got,
                              static_cast<off_t>(i * RecordSize + got));
      if (n < 0 && errno == EINTR) continue;
      if (n <= 0) {
        if (n == 0) errno = EIO;  // the file shrank under the search
        ThrowFileError(path_);
      }
      got += static_cast<size_t>(n);
    }
    return record_;
  }

  std::string path_;
  int fd_ = -1;
  size_t count_ = 0;
  std::shared_ptr<const std::string> data_;  // the whole file's records, when read whole
  unsigned char record_[RecordSize];
};

// The file of dataDir, loaded when the first character needs it: a text of polyphones
// only never touches it.
class TPinyinSource {
public:
  explicit TPinyinSource(const std::string& dataDir) : file_(dataDir + "/mekpy0_4.dll") {}

  std::string Of(const std::string& c) {
    if (const char* fixed = Polyphone(c)) return fixed;
    if (c.empty()) return {};
    if (!loaded_) {
      present_ = file_.Load();
      loaded_ = true;
    }
    if (!present_) return {};
    // A one-byte character's second byte counts as 0; the file holds no such key.
    const unsigned key = static_cast<unsigned char>(c[0]) * 256u +
                         (c.size() > 1 ? static_cast<unsigned char>(c[1]) : 0u);
    return file_.Find(key).value_or(std::string());
  }

private:
  TPinyinFile file_;
  bool loaded_ = false, present_ = false;
};

}  // namespace

std::string PinyinOfChar(const std::string& c, const std::string& dataDir) {
  TPinyinSource source(dataDir);
  return source.Of(c);
}

std::string PinyinOfText(const std::string& text, const std::string& dataDir) {
  TPinyinSource source(dataDir);
  std::string result;
  // One pass over the characters as CharCount counts them (CharCount and MidChars for
  // each position would walk the text again for every character).
  for (size_t i = 0, n; i < text.size() && (n = CharLengthAt(text, i)) > 0;) {
    if (i > 0) result += ' ';
    result += source.Of(text.substr(i, n));
    i += n;
  }
  return result;
}
