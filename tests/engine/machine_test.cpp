// Machine facts: the items' texts on fixed figures, the drive roots, and the facts against
// what the kernel reports (the items themselves run in tests/cli/machine_cli_test.cpp).
#include <gtest/gtest.h>
#include <sched.h>
#include <sys/resource.h>
#include <sys/statvfs.h>
#include <sys/vfs.h>
#include <unistd.h>

#include <atomic>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <thread>

#include "app/engine/items_machine.h"
#include "system/mekwindows.h"

namespace {
std::string Utf8(const char8_t* text) { return reinterpret_cast<const char*>(text); }

std::string ReadFile(const std::string& path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// Bytes of a meminfo line of the kernel's own file.
uint64_t KernelMemInfo(const std::string& key) {
  std::istringstream in(ReadFile("/proc/meminfo"));
  std::string name, unit;
  uint64_t value;
  while (in >> name >> value) {
    std::getline(in, unit);
    if (name == key + ":") return value * 1024;
  }
  ADD_FAILURE() << key << " not in /proc/meminfo";
  return 0;
}

double KernelUptimeMs() { return std::stod(ReadFile("/proc/uptime")) * 1000; }

struct statvfs RootStat(const char* path) {
  struct statvfs facts;
  EXPECT_EQ(statvfs(path, &facts), 0) << path;
  return facts;
}

// The serial of "/" as the kernel's statfs gives it: the first word of the id.
std::string RootSerial() {
  struct statfs facts;
  EXPECT_EQ(statfs("/", &facts), 0);
  char text[16];
  const unsigned id = static_cast<unsigned>(facts.f_fsid.__val[0]);
  std::snprintf(text, sizeof text, "%04X-%04X", id >> 16, id & 0xFFFF);
  return text;
}

bool HasTimeStampCounter() {
#if defined(__x86_64__) || defined(__i386__)
  return ReadFile("/proc/cpuinfo").find(" tsc") != std::string::npos;
#else
  return false;
#endif
}

// A folder tree standing in for /sys and /proc.
struct FKernelTree {
  std::filesystem::path Root;
  FKernelTree() {
    std::string pattern = testing::TempDir() + "cpuXXXXXX";
    Root = mkdtemp(pattern.data());
  }
  ~FKernelTree() { std::filesystem::remove_all(Root); }
  void Write(const std::string& relative, const std::string& text) const {
    const std::filesystem::path file = Root / relative;
    std::filesystem::create_directories(file.parent_path());
    std::ofstream(file) << text;
  }
};
}  // namespace

// ---- The texts on fixed figures ----

TEST(MachineText, VolumeSerialKeepsLeadingZeros) {
  const struct {
    uint32_t serial;
    const char* text;
  } cases[] = {{0x1A2B3C4D, "1A2B-3C4D"}, {0x00A1000F, "00A1-000F"}, {0, "0000-0000"},
               {0xFFFFFFFF, "FFFF-FFFF"}, {0xabcdef01, "ABCD-EF01"}};
  for (const auto& c : cases) EXPECT_EQ(FormatVolumeSerial(c.serial), c.text) << c.serial;
}

TEST(MachineText, MegabytesAndGigahertzRoundToTwoDecimals) {
  const struct {
    int64_t bytes;
    const char* text;
  } disks[] = {
      {10737418240, "磁盘总容量为10240.00MB"},
      {0, "磁盘总容量为0.00MB"},
      {5242, "磁盘总容量为0.00MB"},             // 0.004999 MB
      {5243, "磁盘总容量为0.01MB"},             // 0.005000 MB and a little
      {1179648, "磁盘总容量为1.12MB"},          // exactly 1.125: the tie goes to even
      {1190134, "磁盘总容量为1.14MB"},          // 1.13500 and a little
      {270553174016, "磁盘总容量为258019.61MB"},
      {8796093022208, "磁盘总容量为8388608.00MB"},  // 8 TiB: beyond 32 bits
      {INT64_MAX, "磁盘总容量为8796093022208.00MB"},
  };
  for (const auto& c : disks) EXPECT_EQ(DiskSizeText(c.bytes), c.text) << c.bytes;
  // Item 22 says what it measures: the free space, not the total.
  EXPECT_EQ(DiskFreeText(10737418240), "磁盘剩余容量为10240.00MB");

  const struct {
    double megahertz;
    const char* text;
  } clocks[] = {{2930, "2.93GHz"}, {0, "0.00GHz"},     {2096.029, "2.10GHz"},
                {2085, "2.08GHz"},  // 2.085 is a little below in binary
                {2095, "2.10GHz"},  // 2.095 a little above
                {2125, "2.12GHz"},  // 2.125 exactly: the tie goes to even
                {8589.94, "8.59GHz"}, {10000, "10.00GHz"}, {999.4, "1.00GHz"}};
  for (const auto& c : clocks) EXPECT_EQ(GigahertzText(c.megahertz), c.text) << c.megahertz;
}

TEST(MachineText, MemoryBeyondFourGigabytes) {
  const struct {
    FMemoryFacts facts;
    const char* text;
  } cases[] = {
      {{43, 2146938880, 1216561152}, "内存使用率43%，总内存2047.48MB，剩余1160.20MB"},
      {{3, 25275625984, 24428589056}, "内存使用率3%，总内存24104.72MB，剩余23296.92MB"},
      {{100, 17179869184, 0}, "内存使用率100%，总内存16384.00MB，剩余0.00MB"},
      {{0, 0, 0}, "内存使用率0%，总内存0.00MB，剩余0.00MB"},
  };
  for (const auto& c : cases) EXPECT_EQ(MemoryText(c.facts), c.text);
}

TEST(MachineText, UptimeInWholeMinutesAndSecondsPast49Days) {
  const struct {
    int64_t ms;
    const char* text;
  } cases[] = {
      {0, "开机0分钟(0秒)"},
      {59999, "开机0分钟(59秒)"},
      {60000, "开机1分钟(60秒)"},
      {4523999, "开机75分钟(4523秒)"},
      {4294967295, "开机71582分钟(4294967秒)"},  // where a 32-bit count starts again
      {4294967296 + 60000, "开机71583分钟(4295027秒)"},
      {8640000000, "开机144000分钟(8640000秒)"},  // 100 days
  };
  for (const auto& c : cases) EXPECT_EQ(UptimeText(c.ms), c.text) << c.ms;
}

// ---- Memory ----

TEST(Memory, LoadIsTheUsedShareHalvesToEven) {
  const struct {
    uint64_t total, available;
    uint32_t load;
  } cases[] = {{200, 1, 100},  // 99.5
               {200, 3, 98},   // 98.5
               {200, 5, 98},   // 97.5
               {1000, 994, 1}, {1000, 995, 0}, {1000, 996, 0},
               {100, 0, 100},  {100, 100, 0},  {100, 150, 0},  // more available than total
               {0, 0, 0},      {UINT64_MAX, 1, 100}, {UINT64_MAX, UINT64_MAX / 2, 50}};
  for (const auto& c : cases)
    EXPECT_EQ(MemoryLoadPercent(c.total, c.available), c.load) << c.total << " " << c.available;
}

TEST(Memory, MemInfoText) {
  const std::string kernel =
      "MemTotal:       24683716 kB\nMemFree:        22865128 kB\nMemAvailable:   23856044 kB\n";
  const std::optional<FMemoryFacts> facts = MemoryFactsFromMemInfo(kernel);
  ASSERT_TRUE(facts);
  EXPECT_EQ(facts->TotalPhysical, 24683716ull * 1024);
  EXPECT_EQ(facts->AvailablePhysical, 23856044ull * 1024);
  EXPECT_EQ(facts->MemoryLoad, 3u);  // 3.35%

  const struct {
    const char* text;
    bool read;
  } cases[] = {
      {"MemTotal: 1000 kB\nMemAvailable: 250 kB", true},  // no final newline
      {"MemAvailable: 250 kB\nMemTotal: 1000 kB\n", true},
      {"MemTotal: 1000 kB\nMemFree: 250 kB\n", false},  // kernels before 3.14
      {"MemTotal: 1000 kB\nXMemAvailable: 250 kB\n", false},
      {"MemTotal: abc kB\nMemAvailable: 250 kB\n", false},
      {"MemTotal: 1000 MB\nMemAvailable: 250 kB\n", false},
      {"MemTotal: 18014398509481984 kB\nMemAvailable: 250 kB\n", false},  // beyond 64 bits
      {"", false},
  };
  for (const auto& c : cases) {
    const std::optional<FMemoryFacts> f = MemoryFactsFromMemInfo(c.text);
    EXPECT_EQ(f.has_value(), c.read) << c.text;
    if (f) {
      EXPECT_EQ(f->MemoryLoad, 75u) << c.text;
    }
  }
}

TEST(Memory, AgreesWithTheKernel) {
  const FMemoryFacts facts = MemoryFacts();
  const uint64_t total = KernelMemInfo("MemTotal");
  EXPECT_EQ(facts.TotalPhysical, total);  // all of it, beyond 4 GB as well
  const uint64_t available = KernelMemInfo("MemAvailable");
  const uint64_t slack = total / 20;  // other processes run meanwhile
  EXPECT_LE(facts.AvailablePhysical, total);
  EXPECT_NEAR(static_cast<double>(facts.AvailablePhysical), static_cast<double>(available),
              static_cast<double>(slack));
  EXPECT_EQ(facts.MemoryLoad, MemoryLoadPercent(facts.TotalPhysical, facts.AvailablePhysical));
}

// ---- Processor clock ----

TEST(CpuClock, CyclesOverTheElapsedTimeIn64Bits) {
  const struct {
    uint64_t cycles;
    int64_t ns;
    double mhz;
  } cases[] = {
      {1465000000, 500000000, 2930},
      {5000000000, 500000000, 10000},  // more cycles than 32 bits hold
      {2930000000, 1000000000, 2930},  // a sleep that lasted a whole second
      {1465000000, 510000000, 1465000000 / 510000.0},
      {0, 500000000, 0},
      {1000, 0, 0},
      {1000, -1, 0},
  };
  for (const auto& c : cases)
    EXPECT_DOUBLE_EQ(MegahertzFromCounts(c.cycles, c.ns), c.mhz) << c.cycles << "/" << c.ns;
}

TEST(CpuClock, KernelFigure) {
  const char* const maxFreq = "sys/devices/system/cpu/cpu0/cpufreq/cpuinfo_max_freq";
  const struct {
    const char* cpufreq;  // nullptr: no such file
    const char* cpuinfo;
    double mhz;
  } cases[] = {
      {"3400000\n", "cpu MHz\t\t: 2096.029\n", 3400},
      {nullptr, "processor\t: 0\nmodel name\t: X\ncpu MHz\t\t: 2096.029\n", 2096.029},
      {"0\n", "cpu MHz\t\t: 1800.000\n", 1800},  // a useless cpufreq figure
      {"fast\n", "cpu MHz\t\t: 1800.000\n", 1800},
      {nullptr, "cpu MHz\t\t: 1200.5\ncpu MHz\t\t: 3000.0\n", 1200.5},  // cpu0's
      {nullptr, "processor\t: 0\nBogoMIPS\t: 48.00\n", 0},  // no figure at all
      {nullptr, "cpu MHz\t\t: unknown\n", 0},
      {nullptr, "cpu MHz dynamic : 1800\n", 0},
      {nullptr, nullptr, 0},
  };
  for (const auto& c : cases) {
    FKernelTree tree;
    if (c.cpufreq) tree.Write(maxFreq, c.cpufreq);
    if (c.cpuinfo) tree.Write("proc/cpuinfo", c.cpuinfo);
    EXPECT_DOUBLE_EQ(KernelMegahertz(tree.Root.string()), c.mhz)
        << (c.cpufreq ? c.cpufreq : "-") << " | " << (c.cpuinfo ? c.cpuinfo : "-");
  }
}

TEST(CpuClock, PlausibleAtOrdinaryPriority) {
  if (!HasTimeStampCounter()) GTEST_SKIP() << "no time-stamp counter";
  std::atomic<pid_t> tid{0};
  std::atomic<bool> done{false};
  double mhz = 0;
  std::thread measure([&] {
    tid = gettid();
    mhz = CpuMegahertz();
    done = true;
  });
  while (tid == 0) std::this_thread::yield();
  const int niceBefore = getpriority(PRIO_PROCESS, 0);
  // Sampled while the counter runs: neither the measuring thread nor the process is
  // raised to a real-time policy or a higher priority.
  std::this_thread::sleep_for(std::chrono::milliseconds(250));
  const bool sampledDuring = !done;
  const int policy = sched_getscheduler(tid);
  const int threadNice = getpriority(PRIO_PROCESS, static_cast<id_t>(tid.load()));
  measure.join();
  if (sampledDuring) {
    EXPECT_EQ(policy, SCHED_OTHER);
    EXPECT_EQ(threadNice, niceBefore);
  }
  EXPECT_EQ(sched_getscheduler(0), SCHED_OTHER);
  EXPECT_EQ(getpriority(PRIO_PROCESS, 0), niceBefore);
  EXPECT_GE(mhz, 100);
  EXPECT_LE(mhz, 10000);
}

// ---- Drive roots, volume serial, disk space ----

TEST(DriveRoots, LetterCAndAbsolutePaths) {
  const struct {
    std::string root;
    std::optional<std::string> path;
  } cases[] = {
      {"c", "/"},   {"C", "/"},     {"c:", "/"},    {"C:", "/"},    {"c:\\", "/"},
      {"C:\\", "/"}, {"c:/", "/"},  {"C:/", "/"},   {"/", "/"},     {"/usr", "/usr"},
      {"/usr/", "/usr/"},
      {"/中文", Utf8(u8"/中文")},  // GBK in, UTF-8 to the kernel
      {"d", std::nullopt},   {"D:", std::nullopt},      {"Z:\\", std::nullopt},
      {"usr", std::nullopt}, {"./usr", std::nullopt},   {"", std::nullopt},
      {" C:", std::nullopt}, {"C: ", std::nullopt},     {"cc", std::nullopt},
      {"C::", std::nullopt}, {"C:\\data", std::nullopt}, {"中", std::nullopt},
      {std::string(1, '\0'), std::nullopt},
  };
  for (const auto& c : cases) EXPECT_EQ(DriveRootPath(c.root), c.path) << "[" << c.root << "]";
}

TEST(DriveRoots, VolumeSerialOfTheRoot) {
  const std::string root = RootSerial();
  const struct {
    char letter;
    std::string serial;
  } cases[] = {{'c', root}, {'C', root}, {'/', root}, {'d', ""}, {'1', ""}, {'\0', ""},
               {'\xD6', ""}};
  for (const auto& c : cases) EXPECT_EQ(VolumeSerial(c.letter), c.serial) << int(c.letter);
}

TEST(DriveRoots, DiskSpaceAgreesWithStatvfs) {
  const struct statvfs root = RootStat("/");
  const int64_t total = static_cast<int64_t>(root.f_blocks * root.f_frsize);
  const int64_t free = static_cast<int64_t>(root.f_bavail * root.f_frsize);
  const int64_t slack = 256 << 20;  // other processes write meanwhile
  for (const char* name : {"c", "C", "c:", "C:", "c:\\", "C:\\", "c:/", "C:/", "/"}) {
    EXPECT_EQ(DiskTotalBytes(name), total) << name;
    EXPECT_NEAR(DiskFreeBytes(name), free, slack) << name;
  }
  // The file system that holds a path: /proc is not the root's.
  EXPECT_EQ(DiskTotalBytes("/proc"), 0);
  EXPECT_EQ(DiskFreeBytes("/proc/self"), 0);
  const struct statvfs usr = RootStat("/usr");
  EXPECT_EQ(DiskTotalBytes("/usr"), static_cast<int64_t>(usr.f_blocks * usr.f_frsize));
  for (const char* name : {"d", "D:", "usr", "", "/no/such/folder", "C:\\data", " C:"}) {
    EXPECT_EQ(DiskTotalBytes(name), -1) << name;
    EXPECT_EQ(DiskFreeBytes(name), -1) << name;
  }
}

TEST(DriveRoots, GbkPathReachesTheKernelAsUtf8) {
  std::string pattern = testing::TempDir() + "diskXXXXXX";
  const std::filesystem::path dir = mkdtemp(pattern.data());
  const std::filesystem::path chinese = dir / std::filesystem::path(u8"磁盘");
  std::filesystem::create_directory(chinese);
  const struct statvfs facts = RootStat(chinese.c_str());
  // dir is ASCII; the last part GBK, as the input line holds it.
  EXPECT_EQ(DiskTotalBytes(dir.string() + "/磁盘"),
            static_cast<int64_t>(facts.f_blocks * facts.f_frsize));
  EXPECT_EQ(DiskTotalBytes(dir.string() + "/硬盘"), -1);
  std::filesystem::remove_all(dir);
}

// ---- Uptime ----

TEST(Uptime, AgreesWithProcUptime) {
  const double before = KernelUptimeMs();
  const int64_t ticks = TickCount();
  const double after = KernelUptimeMs();
  EXPECT_GE(static_cast<double>(ticks), before - 20);  // /proc/uptime has centiseconds
  EXPECT_LE(static_cast<double>(ticks), after + 20);
}
