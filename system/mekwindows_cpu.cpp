// The processor's clock: time-stamp counter cycles over half a second on x86, the
// kernel's figure elsewhere.
#include <time.h>

#include <cerrno>
#include <charconv>
#include <cmath>
#include <fstream>
#include <sstream>

#include "system/mekwindows.h"

#if defined(__x86_64__) || defined(__i386__)
#include <cpuid.h>
#include <x86intrin.h>
#define ORVEX_HAVE_TSC_INSTRUCTION 1
// CPUID leaf 1, EDX: the processor has a time-stamp counter.
constexpr unsigned CpuidTscBit = 1u << 4;
#endif

double MegahertzFromCounts(uint64_t cycles, int64_t elapsedNs) {
  if (elapsedNs <= 0) return 0;
  return static_cast<double>(cycles) * 1000.0 / static_cast<double>(elapsedNs);
}

namespace {
std::string ReadKernelFile(const std::string& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// A decimal number at the start of text after blanks and tabs, followed by nothing but
// white space; nothing otherwise, and for values that are not positive.
std::optional<double> PositiveNumber(const std::string& text) {
  const char* p = text.data();
  const char* end = p + text.size();
  while (p < end && (*p == ' ' || *p == '\t')) ++p;
  double value = 0;
  const auto r = std::from_chars(p, end, value);
  if (r.ec != std::errc() || r.ptr == p) return std::nullopt;
  for (const char* q = r.ptr; q < end; ++q)
    if (*q != ' ' && *q != '\t' && *q != '\n') return std::nullopt;
  if (!std::isfinite(value) || value <= 0) return std::nullopt;
  return value;
}

int64_t MonotonicNs() {
  timespec now;
  if (clock_gettime(CLOCK_MONOTONIC_RAW, &now) != 0 && clock_gettime(CLOCK_MONOTONIC, &now) != 0)
    return -1;
  return static_cast<int64_t>(now.tv_sec) * 1000000000 + now.tv_nsec;
}

// Half a second on the monotonic clock, however often a signal interrupts the sleep.
bool SleepHalfSecond() {
  timespec until;
  if (clock_gettime(CLOCK_MONOTONIC, &until) != 0) return false;
  until.tv_nsec += 500000000;
  if (until.tv_nsec >= 1000000000) {
    until.tv_nsec -= 1000000000;
    ++until.tv_sec;
  }
  int rc;
  while ((rc = clock_nanosleep(CLOCK_MONOTONIC, TIMER_ABSTIME, &until, nullptr)) == EINTR) {
  }
  return rc == 0;
}
}  // namespace

double KernelMegahertz(const std::string& fsRoot) {
  const std::string maxFreq =
      ReadKernelFile(fsRoot + "/sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq");
  if (const std::optional<double> kHz = PositiveNumber(maxFreq)) return *kHz / 1000;
  const std::string cpuinfo = ReadKernelFile(fsRoot + "/proc/cpuinfo");
  for (size_t at = 0; at < cpuinfo.size();) {
    size_t end = cpuinfo.find('\n', at);
    if (end == std::string::npos) end = cpuinfo.size();
    const std::string line = cpuinfo.substr(at, end - at);
    at = end + 1;
    const size_t colon = line.find(':');
    if (line.compare(0, 7, "cpu MHz") != 0 || colon == std::string::npos ||
        line.find_first_not_of(" \t", 7) != colon)
      continue;
    const std::optional<double> mhz = PositiveNumber(line.substr(colon + 1));
    return mhz ? *mhz : 0;
  }
  return 0;
}

// The counter is read at ordinary priority: the monotonic clock measures the interval
// actually slept, so a late wake-up changes both counts alike instead of the result.
double CpuMegahertz() {
#ifdef ORVEX_HAVE_TSC_INSTRUCTION
  unsigned eax, ebx, ecx, edx;
  if (__get_cpuid(1, &eax, &ebx, &ecx, &edx) && (edx & CpuidTscBit)) {
    const uint64_t t0 = __rdtsc();
    const int64_t start = MonotonicNs();
    if (start < 0 || !SleepHalfSecond()) return 0;
    const uint64_t t1 = __rdtsc();
    const int64_t end = MonotonicNs();
    if (end < 0 || t1 <= t0) return 0;
    return MegahertzFromCounts(t1 - t0, end - start);
  }
#endif
  return KernelMegahertz();
}
