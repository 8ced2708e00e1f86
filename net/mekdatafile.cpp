// Data files read whole, refused unless they are regular files of a sensible size.
#include "net/mekdatafile.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstring>

namespace {

// The descriptor of path when it is a regular file of at most maxBytes, its size in size;
// -1 otherwise. Opened without blocking, so a FIFO in its place is refused, not waited on.
int OpenRegular(const std::string& path, size_t maxBytes, size_t& size) {
  if (path.find('\0') != std::string::npos) return -1;
  const int fd = open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
  if (fd < 0) return -1;
  struct stat facts;
  if (fstat(fd, &facts) != 0 || !S_ISREG(facts.st_mode) || facts.st_size < 0 ||
      static_cast<uint64_t>(facts.st_size) > maxBytes) {
    close(fd);
    return -1;
  }
  size = static_cast<size_t>(facts.st_size);
  return fd;
}

}  // namespace

bool ReadDataFile(const std::string& path, size_t maxBytes, std::string& text) {
  size_t size = 0;
  const int fd = OpenRegular(path, maxBytes, size);
  if (fd < 0) return false;
  std::string bytes(size, '\0');
  size_t got = 0;
  while (got < size) {
    const ssize_t n = read(fd, bytes.data() + got, size - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  // Exactly the size seen: a file that shrank or grew meanwhile is no file to trust.
  char extra;
  const bool whole = got == size && read(fd, &extra, 1) == 0;
  close(fd);
  if (!whole) return false;
  text = std::move(bytes);
  return true;
}
