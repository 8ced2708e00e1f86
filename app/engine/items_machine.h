// The texts of the machine-fact items, from the figures the queries give.
#pragma once
#include <cstdint>
#include <string>

#include "system/mekwindows.h"

// "内存使用率43%，总内存2047.48MB，剩余1160.20MB" (megabytes of 1048576 bytes).
std::string MemoryText(const FMemoryFacts& facts);
// Megahertz as gigahertz with two decimals: "2.93GHz".
std::string GigahertzText(double megahertz);
// "磁盘总容量为10240.00MB" (item 21) and "磁盘剩余容量为2048.00MB" (item 22).
std::string DiskSizeText(int64_t bytes);
std::string DiskFreeText(int64_t bytes);
// "开机75分钟(4523秒)": whole minutes and whole seconds of a millisecond count.
std::string UptimeText(int64_t milliseconds);
