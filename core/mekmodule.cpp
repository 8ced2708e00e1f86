#include "core/mekmodule.h"

#include <dlfcn.h>
#include <elf.h>
#include <fcntl.h>
#include <limits.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstdlib>
#include <cstring>
#include <map>
#include <mutex>

std::string ProgramDataFolder() {
  if (const char* env = std::getenv("ORVEX_DATA_DIR"); env && *env) return env;
  char path[PATH_MAX];
  const ssize_t n = readlink("/proc/self/exe", path, sizeof path - 1);
  if (n <= 0) return ".";
  const std::string exe(path, static_cast<size_t>(n));
  const size_t slash = exe.rfind('/');
  return slash == std::string::npos ? "." : exe.substr(0, slash);
}

bool IsWholeElfFile(const std::string& path, size_t maxBytes) {
  if (path.find('\0') != std::string::npos) return false;
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return false;
  struct stat facts;
  Elf64_Ehdr header;
  const bool regular = fstat(fd, &facts) == 0 && S_ISREG(facts.st_mode) && facts.st_size >= 0 &&
                       static_cast<uint64_t>(facts.st_size) <= maxBytes;
  const bool read = regular && pread(fd, &header, sizeof header, 0) == static_cast<ssize_t>(sizeof header);
  close(fd);
  if (!read || std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_CLASS] != ELFCLASS64)
    return false;
  // The tables of program and section headers, where the loader reads, lie inside the
  // file; a file cut short would fault in the loader instead of failing.
  const uint64_t size = static_cast<uint64_t>(facts.st_size);
  const uint64_t programEnd = header.e_phoff + uint64_t{header.e_phnum} * header.e_phentsize;
  const uint64_t sectionEnd = header.e_shoff + uint64_t{header.e_shnum} * header.e_shentsize;
  return header.e_phnum > 0 && programEnd <= size && sectionEnd <= size;
}

void* ModuleSymbol(const std::string& file, const char* symbol, const std::string& folder) {
  static std::mutex lock;
  static std::map<std::string, void*> loaded;  // path -> handle; modules stay loaded
  const std::string path = (folder.empty() ? ProgramDataFolder() : folder) + "/modules/" + file;
  std::lock_guard<std::mutex> hold(lock);
  void*& handle = loaded[path];
  if (!handle) {
    if (!IsWholeElfFile(path, ModuleMaxBytes)) return nullptr;
    handle = dlopen(path.c_str(), RTLD_NOW | RTLD_LOCAL);
    if (!handle) return nullptr;
  }
  return dlsym(handle, symbol);
}
