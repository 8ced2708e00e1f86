// Machine facts (items 14, 15, 16, 21, 22, 23) through orvex-calc: the drive roots as
// typed, the refusals that keep the input line, and the figures against the kernel's.
#include <gtest/gtest.h>
#include <sys/statvfs.h>
#include <sys/vfs.h>

#include <nlohmann/json.hpp>

#include <cstdio>
#include <fstream>
#include <regex>
#include <sstream>

#include "itembatch.h"

namespace {
std::string RootSerial() {
  struct statfs facts;
  EXPECT_EQ(statfs("/", &facts), 0);
  const unsigned id = static_cast<unsigned>(facts.f_fsid.__val[0]);
  char text[16];
  std::snprintf(text, sizeof text, "%04X-%04X", id >> 16, id & 0xFFFF);
  return text;
}

std::string Megabytes(double bytes) {
  char text[64];
  std::snprintf(text, sizeof text, "%.2f", bytes / 1048576);
  return text;
}

std::string ProcFile(const char* path) {
  std::ifstream in(path);
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}
}  // namespace

TEST(MachineCli, DriveRootsAsTyped) {
  const std::string serial = RootSerial();
  struct statvfs root;
  ASSERT_EQ(statvfs("/", &root), 0);
  const std::string total = "磁盘总容量为" + Megabytes(double(root.f_blocks) * root.f_frsize) + "MB";
  const char* const s = serial.c_str();
  const char* const t = total.c_str();
  const char* const none = "没有找到该磁盘";
  const FCliCase cases[] = {
      {14, "c", s, nullptr},     {14, "C", s, nullptr},    {14, "c:", s, nullptr},
      {14, "C:\\", s, nullptr},  {14, "C:/", s, nullptr},  {14, "/", s, nullptr},
      {14, "/usr", s, nullptr},  {14, "ｃ", s, nullptr},   {14, "d", "d", none},
      {14, "", "", none},        {14, "硬盘", "硬盘", none},  // told as items 21 and 22 tell it
      {21, "C:", t, nullptr},    {21, "c", t, nullptr},    {21, "c:\\", t, nullptr},
      {21, "C:/", t, nullptr},   {21, "/", t, nullptr},    {21, "Ｃ：", t, nullptr},
      {21, "/proc", "磁盘总容量为0.00MB", nullptr},
      {21, "d", "d", none},      {21, "D:", "D:", none},   {21, "usr", "usr", none},
      {21, "", "", none},        {21, "C:\\data", "C:\\data", none},
      {22, "d", "d", none},      {22, "D:\\", "D:\\", none}, {22, "./", "./", none},
      {22, "/no/such/folder", "/no/such/folder", none},
  };
  RunCliCases(cases);
}

TEST(MachineCli, FiguresAgainstTheKernel) {
  const FCliResult r = RunCalc({"--batch"}, "22\tC:\n15\t\n16\t\n23\t\n");
  ASSERT_EQ(r.status, 0) << r.err;
  std::vector<std::string> lines;
  std::istringstream out(r.out);
  for (std::string line; std::getline(out, line);) {
    const auto j = nlohmann::json::parse(line);
    EXPECT_EQ(j["messages"], nlohmann::json::array()) << line;
    lines.push_back(j["output"]);
  }
  ASSERT_EQ(lines.size(), 4u) << r.out;
  std::smatch m;

  struct statvfs root;
  ASSERT_EQ(statvfs("/", &root), 0);
  ASSERT_TRUE(std::regex_match(lines[0], m, std::regex("磁盘剩余容量为([0-9]+\\.[0-9]{2})MB"))) << lines[0];
  EXPECT_NEAR(std::stod(m[1]), double(root.f_bavail) * root.f_frsize / 1048576, 256);

  ASSERT_TRUE(std::regex_match(lines[1], m,
      std::regex("内存使用率([0-9]{1,3})%，总内存([0-9]+\\.[0-9]{2})MB，剩余([0-9]+\\.[0-9]{2})MB")))
      << lines[1];
  const std::string meminfo = ProcFile("/proc/meminfo");
  std::smatch k;
  ASSERT_TRUE(std::regex_search(meminfo, k, std::regex("MemTotal: *([0-9]+) kB")));
  EXPECT_EQ(m[2], Megabytes(std::stod(k[1]) * 1024));
  EXPECT_LE(std::stoi(m[1]), 100);
  EXPECT_LE(std::stod(m[3]), std::stod(m[2]));

  ASSERT_TRUE(std::regex_match(lines[2], m, std::regex("([0-9]+\\.[0-9]{2})GHz"))) << lines[2];
#if defined(__x86_64__)
  EXPECT_TRUE(std::stod(m[1]) >= 0.1 && std::stod(m[1]) <= 10) << lines[2];
#endif

  ASSERT_TRUE(std::regex_match(lines[3], m, std::regex("开机([0-9]+)分钟\\(([0-9]+)秒\\)"))) << lines[3];
  EXPECT_EQ(std::stoll(m[1]), std::stoll(m[2]) / 60);
  EXPECT_NEAR(std::stod(m[2]), std::stod(ProcFile("/proc/uptime")), 3);
}

TEST(MachineCli, SingleRun) {
  const FCliResult r = RunCalc({"21", "d:"});
  EXPECT_EQ(r.status, 0);
  EXPECT_EQ(r.out, "d:\n");
  EXPECT_NE(r.err.find("没有找到该磁盘"), std::string::npos) << r.err;
  const FCliResult serial = RunCalc({"14", "C:\\"});
  EXPECT_EQ(serial.status, 0);
  EXPECT_EQ(serial.out, RootSerial() + "\n");
}
