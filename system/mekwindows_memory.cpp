// Physical memory: total, available and the load, from /proc/meminfo or sysinfo.
#include <fcntl.h>
#include <sys/sysinfo.h>
#include <unistd.h>

#include <cerrno>
#include <charconv>

#include "system/mekwindows.h"

uint32_t MemoryLoadPercent(uint64_t total, uint64_t available) {
  if (total == 0) return 0;
  const unsigned __int128 used = total > available ? total - available : 0;
  const unsigned __int128 scaled = used * 100;
  uint64_t load = static_cast<uint64_t>(scaled / total);
  const unsigned __int128 twice = scaled % total * 2;
  if (twice > total || (twice == total && load % 2 == 1)) ++load;
  return static_cast<uint32_t>(load);
}

namespace {
// The value of a meminfo line "Key:   123 kB" in bytes; nothing when the key is absent
// or its value malformed.
std::optional<uint64_t> MemInfoBytes(const std::string& meminfo, const std::string& key) {
  const std::string head = key + ":";
  size_t at = 0;
  while (at < meminfo.size() && meminfo.compare(at, head.size(), head) != 0) {
    at = meminfo.find('\n', at);
    if (at == std::string::npos) return std::nullopt;
    ++at;
  }
  if (at >= meminfo.size()) return std::nullopt;
  size_t end = meminfo.find('\n', at);
  if (end == std::string::npos) end = meminfo.size();
  const char* p = meminfo.data() + at + head.size();
  const char* last = meminfo.data() + end;
  while (p < last && *p == ' ') ++p;
  uint64_t value = 0;
  const auto r = std::from_chars(p, last, value);
  if (r.ec != std::errc() || r.ptr == p) return std::nullopt;
  const std::string unit(r.ptr, last);
  if (unit == " kB") {
    if (__builtin_mul_overflow(value, uint64_t{1024}, &value)) return std::nullopt;
  } else if (!unit.empty()) {
    return std::nullopt;
  }
  return value;
}

// The text of /proc/meminfo (empty when it cannot be read): one open and a read or two
// into a buffer on the stack, as item 15 reads it on every "=". The file is some 1.5 KiB;
// a longer one is cut at the buffer's end, well after the lines read from it.
std::string ReadMemInfo() {
  const int fd = open("/proc/meminfo", O_RDONLY | O_CLOEXEC);
  if (fd < 0) return {};
  char buffer[16384];
  size_t got = 0;
  while (got < sizeof buffer) {
    const ssize_t n = read(fd, buffer + got, sizeof buffer - got);
    if (n < 0 && errno == EINTR) continue;
    if (n <= 0) break;
    got += static_cast<size_t>(n);
  }
  close(fd);
  return std::string(buffer, got);
}
}  // namespace

std::optional<FMemoryFacts> MemoryFactsFromMemInfo(const std::string& meminfo) {
  const std::optional<uint64_t> total = MemInfoBytes(meminfo, "MemTotal");
  const std::optional<uint64_t> available = MemInfoBytes(meminfo, "MemAvailable");
  if (!total || !available) return std::nullopt;
  return FMemoryFacts{MemoryLoadPercent(*total, *available), *total, *available};
}

// MemAvailable counts the page cache and reclaimable memory that the kernel hands out
// before it swaps: what "available physical memory" means to the user. Kernels before
// 3.14 lack it; sysinfo's free and buffer memory is the nearest figure there.
FMemoryFacts MemoryFacts() {
  if (const std::optional<FMemoryFacts> facts = MemoryFactsFromMemInfo(ReadMemInfo())) return *facts;
  struct sysinfo info;
  if (sysinfo(&info) != 0) return {};
  const uint64_t unit = info.mem_unit ? info.mem_unit : 1;
  const uint64_t total = static_cast<uint64_t>(info.totalram) * unit;
  const uint64_t available = (static_cast<uint64_t>(info.freeram) + info.bufferram) * unit;
  return {MemoryLoadPercent(total, available), total, available};
}
