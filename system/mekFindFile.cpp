// The folder walk over opendir/readdir and fstatat: iterative, with an explicit stack of
// the folders from the walk's folder down to the one being walked.
#include "system/mekFindFile.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/stat.h>
#include <sys/statfs.h>
#include <sys/sysmacros.h>
#include <unistd.h>

#include <algorithm>
#include <climits>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <vector>

namespace {

// Descriptors held open at once at most: those of the deepest folders on the stack. A
// folder further up lets its descriptor go and is opened again, through ".." of the
// subfolder just finished, when the walk returns to it; so a tree thousands of folders
// deep needs no more descriptors than a shallow one.
constexpr size_t MaxOpenFolders = 32;

constexpr int SubfolderFlags = O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC;

// The file systems that store no files, only views of the kernel, its devices and its
// mounts: the walk neither enters nor counts them (/proc/kcore alone would add tens of
// terabytes). Each is told by its statfs magic number (the kernel's, linux/magic.h and
// the file systems' sources), or by its name in /proc/self/mountinfo: devtmpfs has none of
// its own, it reports tmpfs's.
struct FPseudoFileSystem {
  const char* Name;
  unsigned long Magic;  // 0: told by name only
};
constexpr FPseudoFileSystem PseudoFileSystems[] = {
    {"proc", 0x9fa0},           {"sysfs", 0x62656572},   {"devtmpfs", 0},
    {"devpts", 0x1cd1},         {"cgroup", 0x27e0eb},    {"cgroup2", 0x63677270},
    {"debugfs", 0x64626720},    {"tracefs", 0x74726163}, {"securityfs", 0x73636673},
    {"pstore", 0x6165676c},     {"bpf", 0xcafe4a11},     {"configfs", 0x62656570},
    {"fusectl", 0x65735543},    {"mqueue", 0x19800202},  {"hugetlbfs", 0x958458f6},
    {"binfmt_misc", 0x42494e4d}, {"autofs", 0x0187},
};

// The devices of the mounts of pseudo file systems, as /proc/self/mountinfo lists them
// ("ID PARENT MAJOR:MINOR ROOT POINT OPTIONS [TAGS] - TYPE SOURCE OPTIONS"); none when it
// cannot be read.
std::vector<dev_t> PseudoMountDevices() {
  std::vector<dev_t> devices;
  std::ifstream mounts("/proc/self/mountinfo");
  for (std::string line; std::getline(mounts, line);) {
    std::istringstream fields(line);
    std::string id, parent, device, word;
    fields >> id >> parent >> device;
    while (fields >> word && word != "-") {
    }
    unsigned major = 0, minor = 0;
    if (!(fields >> word) || std::sscanf(device.c_str(), "%u:%u", &major, &minor) != 2) continue;
    for (const FPseudoFileSystem& fs : PseudoFileSystems)
      if (word == fs.Name) devices.push_back(makedev(major, minor));
  }
  return devices;
}

// True when the open folder fd (on device dev) lies on a pseudo file system.
bool OnPseudoFileSystem(int fd, dev_t dev, const std::vector<dev_t>& pseudoDevices) {
  struct statfs fs;
  const unsigned long magic = fstatfs(fd, &fs) == 0 ? static_cast<unsigned long>(fs.f_type) & 0xffffffffUL : 0;
  for (const FPseudoFileSystem& p : PseudoFileSystems)
    if (p.Magic != 0 && magic == p.Magic) return true;
  return std::find(pseudoDevices.begin(), pseudoDevices.end(), dev) != pseudoDevices.end();
}

struct FEntry {
  std::string Name;
  bool IsFolder;
  int64_t Size;  // of a file
};

struct FFolder {
  size_t PathLength;  // the folder's path is this long a start of the walk's path
  dev_t Dev;
  ino_t Ino;
  int Fd;  // -1 once let go
  std::vector<FEntry> Entries;
  size_t Next = 0;
};

// The subfolders and regular files of the open folder fd in the order the file system
// lists them, each file with its size. The entry's type from the listing spares the
// folders, links and the like a stat; an entry that is gone before it is measured is
// passed over.
std::vector<FEntry> ReadEntries(int fd) {
  std::vector<FEntry> entries;
  const int listing = fcntl(fd, F_DUPFD_CLOEXEC, 0);  // closedir closes this copy
  if (listing < 0) return entries;
  DIR* dir = fdopendir(listing);
  if (!dir) {
    close(listing);
    return entries;
  }
  while (const dirent* e = readdir(dir)) {
    const char* name = e->d_name;
    if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
    unsigned char type = e->d_type;
    int64_t size = 0;
    if (type == DT_REG || type == DT_UNKNOWN) {
      struct stat st;
      if (fstatat(fd, name, &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
      type = S_ISREG(st.st_mode) ? DT_REG : S_ISDIR(st.st_mode) ? DT_DIR : DT_UNKNOWN;
      size = st.st_size;
    }
    if (type == DT_REG || type == DT_DIR) entries.push_back({name, type == DT_DIR, size});
  }
  closedir(dir);
  return entries;
}

bool IsFolder(int fd, dev_t dev, ino_t ino) {
  struct stat st;
  return fd >= 0 && fstat(fd, &st) == 0 && st.st_dev == dev && st.st_ino == ino;
}

// The folder opened again: through ".." of its subfolder `from` (when that is open), else
// by its path. Only the very folder it was will do (a folder moved meanwhile is still
// itself); -1 when neither way finds it.
int Reopen(const FFolder& folder, int from, const std::string& path) {
  int fd = from >= 0 ? openat(from, "..", O_RDONLY | O_DIRECTORY | O_CLOEXEC) : -1;
  if (IsFolder(fd, folder.Dev, folder.Ino)) return fd;
  if (fd >= 0) close(fd);
  if (folder.PathLength >= PATH_MAX) return -1;
  fd = open(path.substr(0, folder.PathLength).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (IsFolder(fd, folder.Dev, folder.Ino)) return fd;
  if (fd >= 0) close(fd);
  return -1;
}

bool MatchesMask(const std::string& name, const std::string& lowerMask) {
  const size_t dot = name.rfind('.');
  if (dot == std::string::npos) return false;
  std::string extension = name.substr(dot);
  for (char& c : extension)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  return lowerMask.find(extension) != std::string::npos;
}

class TFolderWalk {
public:
  TFolderWalk(std::string path, const std::string& mask, const FWalkCallback& callback)
      : where_(std::move(path)), mask_(mask), callback_(callback) {
    for (char& c : mask_)
      if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    everyFile_ = mask_.find("*.*") != std::string::npos;
  }
  ~TFolderWalk() {
    for (const FFolder& f : stack_)
      if (f.Fd >= 0) close(f.Fd);
  }

  int64_t Run() {
    Report(WalkInFolder, 0);
    if (stop_) return 0;
    // A name holding a NUL byte names nothing (the kernel would stop reading it there).
    const int fd = where_.find('\0') == std::string::npos
                       ? open(where_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC)
                       : -1;
    if (fd < 0 || !Enter(fd)) return 0;
    while (!stack_.empty()) {
      FFolder& folder = stack_.back();
      if (stop_ || folder.Next == folder.Entries.size()) {
        Leave();
        continue;
      }
      const FEntry& entry = folder.Entries[folder.Next++];
      const size_t length = where_.size();
      if (where_.back() != '/') where_ += '/';
      where_ += entry.Name;
      if (!entry.IsFolder) {
        Report(WalkFileFound, entry.Size);
        if (everyFile_ || MatchesMask(entry.Name, mask_)) {
          Report(WalkFileCounted, entry.Size);
          ++count_;
        }
        where_.resize(length);
        continue;
      }
      Report(WalkInFolder, 0);
      const int sub = stop_ ? -1 : openat(folder.Fd, entry.Name.c_str(), SubfolderFlags);
      if (sub >= 0 && Enter(sub)) continue;
      // A subfolder that cannot be walked contributes nothing; its parent goes on.
      where_.resize(length);
      Report(WalkInFolder, 0);
    }
    return count_;
  }

private:
  void Report(int code, int64_t size) {
    if (callback_) callback_(where_, code, size, stop_);
  }

  // Pushes the folder where_ names, open as fd, unless it is one of its own ancestors,
  // lies on a pseudo file system or cannot be examined (fd is closed then). Only a folder
  // on another device than its parent can start a pseudo file system.
  bool Enter(int fd) {
    struct stat st;
    const bool ok = fstat(fd, &st) == 0 &&
                    std::none_of(stack_.begin(), stack_.end(), [&st](const FFolder& f) {
                      return f.Dev == st.st_dev && f.Ino == st.st_ino;
                    }) &&
                    ((!stack_.empty() && stack_.back().Dev == st.st_dev) ||
                     !OnPseudoFileSystem(fd, st.st_dev, pseudoDevices_));
    if (!ok) {
      close(fd);
      return false;
    }
    stack_.push_back({where_.size(), st.st_dev, st.st_ino, fd, ReadEntries(fd)});
    if (stack_.size() - firstOpen_ > MaxOpenFolders) {
      close(stack_[firstOpen_].Fd);
      stack_[firstOpen_++].Fd = -1;
    }
    return true;
  }

  // The folder on top is done: the walk returns to its parent, which is announced again.
  void Leave() {
    const int done = stack_.back().Fd;
    stack_.pop_back();
    if (!stack_.empty()) {
      FFolder& parent = stack_.back();
      where_.resize(parent.PathLength);
      // Opened again even when nothing of it is left to walk, so that its own parent can
      // be reached through its "..".
      if (parent.Fd < 0) parent.Fd = Reopen(parent, done, where_);
      firstOpen_ = std::min(firstOpen_, stack_.size() - 1);
    }
    if (done >= 0) close(done);
    if (!stack_.empty()) Report(WalkInFolder, 0);
  }

  std::string where_;  // the path of the folder or file at hand
  std::string mask_;   // lower case
  bool everyFile_;
  const FWalkCallback& callback_;
  bool stop_ = false;
  int64_t count_ = 0;
  std::vector<FFolder> stack_;
  size_t firstOpen_ = 0;  // the folders below this index have let their descriptors go
  const std::vector<dev_t> pseudoDevices_ = PseudoMountDevices();
};

}  // namespace

int64_t WalkFolder(const std::string& path, const std::string& mask,
                   const FWalkCallback& callback) {
  if (path.empty()) return 0;
  std::string folder = path;
  if (folder.size() > 1 && folder.back() == '/') folder.pop_back();
  return TFolderWalk(std::move(folder), mask, callback).Run();
}

int64_t FileSizeOf(const std::string& name) {
  struct stat st;
  if (name.empty() || lstat(name.c_str(), &st) != 0) return -1;
  return S_ISREG(st.st_mode) || S_ISLNK(st.st_mode) ? st.st_size : 0;
}
