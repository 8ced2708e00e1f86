// Facts about the machine the program runs on: a volume's serial number, memory, the
// processor's clock, a disk's capacity and free space, the time since the system started.
// Every figure comes from the kernel or the processor; nothing is kept between calls.
#pragma once
#include <cstdint>
#include <optional>
#include <string>

// ---- Drive roots ----
// The folder whose file system a drive root names: the letter C in either case, alone or
// followed by ":", ":\" or ":/", names the root file system "/"; an absolute path (GBK,
// handed to the kernel as UTF-8) names the file system that holds it. Any other letter,
// a relative path and the empty text name no volume.
std::optional<std::string> DriveRootPath(const std::string& root);

// ---- Volume serial ----
// The serial of the volume that driveLetter names (as a one-character drive root, so "/"
// names the root file system too): the low 32 bits of the file system id, high half
// "-" low half, four upper-case hexadecimal digits each. Empty when there is no such
// volume or it cannot be queried.
std::string VolumeSerial(char driveLetter);
// 0x1A2B3C4D gives "1A2B-3C4D"; leading zeros stay ("00A1-000F").
std::string FormatVolumeSerial(uint32_t serial);

// ---- Memory ----
struct FMemoryFacts {
  uint32_t MemoryLoad = 0;         // percent of physical memory in use, 0..100
  uint64_t TotalPhysical = 0;      // bytes
  uint64_t AvailablePhysical = 0;  // bytes that can be given to programs without swapping
};
// Total is MemTotal and available is MemAvailable of /proc/meminfo (where the kernel lacks
// MemAvailable, or the file cannot be read: sysinfo's total, and its free plus buffer
// memory); the load is (total - available) / total in percent, halves to even. All zero
// when neither source answers.
FMemoryFacts MemoryFacts();
// The same from the text of a meminfo file; nothing when it lacks MemTotal or MemAvailable.
std::optional<FMemoryFacts> MemoryFactsFromMemInfo(const std::string& meminfo);
// The load of total bytes of which available are free, in percent, halves to even.
uint32_t MemoryLoadPercent(uint64_t total, uint64_t available);

// ---- Processor clock ----
// Megahertz. On x86-64 the time-stamp counter is read across about 500 ms and the cycles
// are divided by the time elapsed on the monotonic clock; at ordinary priority, so the
// call blocks its thread for half a second. Without a time-stamp counter: the kernel's
// figure (KernelMegahertz). 0 when the measurement fails.
double CpuMegahertz();
// cycles counted over elapsedNs nanoseconds, in megahertz; 0 when no time elapsed.
double MegahertzFromCounts(uint64_t cycles, int64_t elapsedNs);
// The kernel's figure: cpu0's cpufreq cpuinfo_max_freq (kHz), else the first "cpu MHz"
// of /proc/cpuinfo; 0 when neither is there. fsRoot prefixes both paths (tests).
double KernelMegahertz(const std::string& fsRoot = "");

// ---- Disk space ----
// Total bytes of the file system a drive root names (DriveRootPath); -1 on failure.
int64_t DiskTotalBytes(const std::string& root);
// Bytes of it that an unprivileged user may still fill (what df shows as available:
// the blocks reserved for the superuser are left out); -1 on failure.
int64_t DiskFreeBytes(const std::string& root);

// ---- Uptime ----
// Milliseconds since the system started, suspended time included, in 64 bits.
int64_t TickCount();
