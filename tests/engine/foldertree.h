// A folder tree that a test builds in a temporary folder: files of any size (sparse, so a
// file of gigabytes costs no disk), folders, symbolic links, chains of nested folders
// deeper than a path can name. Everything goes when the object does.
#pragma once
#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdint>
#include <cstdlib>
#include <dirent.h>
#include <stdexcept>
#include <string>
#include <vector>

class TFolderTree {
public:
  TFolderTree() {
    const char* tmp = std::getenv("TMPDIR");
    std::string pattern = std::string(tmp && *tmp ? tmp : "/tmp") + "/orvex-tree-XXXXXX";
    if (!mkdtemp(pattern.data())) throw std::runtime_error("mkdtemp " + pattern);
    root_ = pattern;
    chmod(root_.c_str(), 0755);  // walkable by a user without privileges too
  }
  ~TFolderTree() { Remove(); }
  TFolderTree(const TFolderTree&) = delete;
  TFolderTree& operator=(const TFolderTree&) = delete;

  const std::string& Root() const { return root_; }
  std::string Path(const std::string& rel) const { return rel.empty() ? root_ : root_ + "/" + rel; }

  // The folders of rel, each created when missing.
  void Folder(const std::string& rel) const {
    for (size_t slash = 0; slash != std::string::npos;) {
      slash = rel.find('/', slash + 1);
      mkdir(Path(rel.substr(0, slash)).c_str(), 0755);
    }
  }
  // A file of size bytes (no data written), its folders created as needed.
  void File(const std::string& rel, int64_t size) const {
    if (const size_t slash = rel.rfind('/'); slash != std::string::npos) Folder(rel.substr(0, slash));
    const int fd = open(Path(rel).c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
    if (fd < 0 || ftruncate(fd, size) != 0) throw std::runtime_error("file " + rel);
    close(fd);
  }
  void Link(const std::string& rel, const std::string& target) const {
    if (symlink(target.c_str(), Path(rel).c_str()) != 0) throw std::runtime_error("link " + rel);
  }
  // What a folder of a chain holds besides the chain's next folder: a file Name, or when
  // Depth > 0 a folder Name holding a chain of Depth folders with a file "f" in its last.
  struct FChainFile {
    int Level;  // 1 is the chain's first folder
    std::string Name;
    int64_t Size;
    int Depth = 0;
  };
  // depth folders named "d", each in the one before, under rel, with the files listed.
  void Chain(const std::string& rel, int depth, const std::vector<FChainFile>& files = {}) const {
    const int fd = open(Path(rel).c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd < 0) throw std::runtime_error("chain " + rel);
    ChainAt(fd, depth, files);
  }

private:
  // The chain under the open folder fd, which it closes.
  static void ChainAt(int fd, int depth, const std::vector<FChainFile>& files) {
    for (int level = 1; fd >= 0 && level <= depth; ++level) {
      mkdirat(fd, "d", 0755);
      const int next = openat(fd, "d", O_RDONLY | O_DIRECTORY | O_CLOEXEC);
      close(fd);
      if ((fd = next) < 0) break;
      for (const FChainFile& f : files) {
        if (f.Level != level) continue;
        if (f.Depth > 0) {
          mkdirat(fd, f.Name.c_str(), 0755);
          const int side = openat(fd, f.Name.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
          if (side < 0) throw std::runtime_error("side chain");
          ChainAt(side, f.Depth, {{f.Depth, "f", f.Size}});
          continue;
        }
        const int file = openat(fd, f.Name.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_CLOEXEC, 0644);
        if (file < 0 || ftruncate(file, f.Size) != 0) throw std::runtime_error("chain file");
        close(file);
      }
    }
    if (fd < 0) throw std::runtime_error("chain");
    close(fd);
  }

  // Removes the tree however deep: what a folder at the top holds is first moved up to the
  // top (a rename between two open folders), so no path ever grows long and no more than
  // two descriptors are held. Rounds go on while they remove or move anything.
  void Remove() {
    const int top = open(root_.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (top < 0) return;
    for (int hoisted = 0, gone = 1; gone > 0;) {
      gone = 0;
      for (const std::string& name : Names(top)) {
        struct stat st;
        if (fstatat(top, name.c_str(), &st, AT_SYMLINK_NOFOLLOW) != 0) continue;
        if (!S_ISDIR(st.st_mode)) {
          gone += unlinkat(top, name.c_str(), 0) == 0;
          continue;
        }
        // Opened up again where a test took the permissions away; where that fails, openat
        // below fails too and the folder is left.
        (void)!fchmodat(top, name.c_str(), 0755, 0);
        const int fd = openat(top, name.c_str(), O_RDONLY | O_DIRECTORY | O_NOFOLLOW | O_CLOEXEC);
        if (fd < 0) continue;
        for (const std::string& inner : Names(fd)) {
          const std::string up = ".hoisted-" + std::to_string(hoisted++);
          gone += renameat(fd, inner.c_str(), top, up.c_str()) == 0;
        }
        close(fd);
        gone += unlinkat(top, name.c_str(), AT_REMOVEDIR) == 0;
      }
    }
    close(top);
    rmdir(root_.c_str());
  }

  static std::vector<std::string> Names(int fd) {
    std::vector<std::string> names;
    const int copy = dup(fd);
    DIR* dir = copy >= 0 ? fdopendir(copy) : nullptr;
    if (!dir) return names;
    rewinddir(dir);  // the copy shares its reading position with fd, read before
    while (const dirent* e = readdir(dir))
      if (std::string n = e->d_name; n != "." && n != "..") names.push_back(n);
    closedir(dir);
    return names;
  }

  std::string root_;
};
