// Drive roots, the volume serial, disk capacity and free space (statvfs), and the time
// since the system started.
#include "system/mekwindows.h"

#include <sys/statvfs.h>
#include <time.h>

#include <cstdio>

#include "core/codepage.h"
#include "core/mekerror.h"

std::optional<std::string> DriveRootPath(const std::string& root) {
  if (root.empty()) return std::nullopt;
  if (root[0] == '/') return GbkToUtf8(root);
  if (root[0] != 'c' && root[0] != 'C') return std::nullopt;
  const std::string rest = root.substr(1);
  if (rest.empty() || rest == ":" || rest == ":\\" || rest == ":/") return std::string("/");
  return std::nullopt;
}

namespace {
// The file system facts behind a drive root; false when it names no volume or the
// kernel refuses the query.
bool RootFacts(const std::string& root, struct statvfs& facts) {
  if (root.find('\0') != std::string::npos) return false;  // "C:" and a NUL is no drive
  const std::optional<std::string> path = DriveRootPath(root);
  return path && statvfs(path->c_str(), &facts) == 0;
}

// blocks of the file system's fragment size, in bytes, held to the 64-bit range.
int64_t BlockBytes(const struct statvfs& facts, uint64_t blocks) {
  const uint64_t unit = facts.f_frsize ? facts.f_frsize : facts.f_bsize;
  uint64_t bytes;
  if (__builtin_mul_overflow(blocks, unit, &bytes) || bytes > static_cast<uint64_t>(INT64_MAX))
    return INT64_MAX;
  return static_cast<int64_t>(bytes);
}
}  // namespace

std::string FormatVolumeSerial(uint32_t serial) {
  char text[10];
  std::snprintf(text, sizeof text, "%04X-%04X", serial >> 16, serial & 0xFFFFu);
  return text;
}

std::string VolumeSerial(char driveLetter) {
  struct statvfs facts;
  if (!RootFacts(std::string(1, driveLetter), facts)) return "";
  return FormatVolumeSerial(static_cast<uint32_t>(facts.f_fsid & 0xFFFFFFFFu));
}

int64_t DiskTotalBytes(const std::string& root) {
  struct statvfs facts;
  return RootFacts(root, facts) ? BlockBytes(facts, facts.f_blocks) : -1;
}

// f_bavail rather than f_bfree: the free space an ordinary user can still write to, which
// is what the figure promises the user (the superuser's reserve is no use to them).
int64_t DiskFreeBytes(const std::string& root) {
  struct statvfs facts;
  return RootFacts(root, facts) ? BlockBytes(facts, facts.f_bavail) : -1;
}

int64_t TickCount() {
  timespec now;
  if (clock_gettime(CLOCK_BOOTTIME, &now) != 0) throw EMekError("CLOCK_BOOTTIME unavailable");
  return static_cast<int64_t>(now.tv_sec) * 1000 + now.tv_nsec / 1000000;
}
