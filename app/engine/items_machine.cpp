// Items 14, 15, 16, 21, 22 and 23: volume serial, memory, processor clock, disk
// capacity and free space, time since the system started.
#include "app/engine/items_machine.h"

#include "app/engine/dispatcher.h"
#include "app/engine/handlers.h"
#include "core/mekDialogs.h"
#include "core/mekmath.h"

namespace {
constexpr double BytesPerMB = 1048576.0;

std::string Megabytes(double bytes) { return FormatFixed(bytes / BytesPerMB, 2) + "MB"; }

// A drive root that names no volume shows this and keeps the input line.
const char* const NoDisk = "没有找到该磁盘";

void ShowDiskBytes(TDispatcher& calc, int64_t bytes, std::string (*text)(int64_t)) {
  if (bytes < 0) {
    ShowInfo(NoDisk);
    return;
  }
  calc.Edit1Text = text(bytes);
}
}  // namespace

std::string MemoryText(const FMemoryFacts& facts) {
  return "内存使用率" + std::to_string(facts.MemoryLoad) + "%，总内存" +
         Megabytes(static_cast<double>(facts.TotalPhysical)) + "，剩余" +
         Megabytes(static_cast<double>(facts.AvailablePhysical));
}

std::string GigahertzText(double megahertz) { return FormatFixed(megahertz / 1000, 2) + "GHz"; }

std::string DiskSizeText(int64_t bytes) {
  return "磁盘总容量为" + Megabytes(static_cast<double>(bytes));
}

std::string DiskFreeText(int64_t bytes) {
  return "磁盘剩余容量为" + Megabytes(static_cast<double>(bytes));
}

std::string UptimeText(int64_t milliseconds) {
  return "开机" + std::to_string(milliseconds / 60000) + "分钟(" +
         std::to_string(milliseconds / 1000) + "秒)";
}

// Only the first byte of the input line names the drive. A line that names no volume
// (an empty one included) is told so, as items 21 and 22 tell it, and stays as typed.
void Item14VolumeSerial(TDispatcher& calc) {
  std::string serial = VolumeSerial(calc.Edit1Text.empty() ? '\0' : calc.Edit1Text[0]);
  if (serial.empty()) {
    ShowInfo(NoDisk);
    return;
  }
  calc.Edit1Text = std::move(serial);
}

void Item15Memory(TDispatcher& calc) { calc.Edit1Text = MemoryText(MemoryFacts()); }

// Blocks for about half a second while the cycles are counted.
void Item16CpuClock(TDispatcher& calc) { calc.Edit1Text = GigahertzText(CpuMegahertz()); }

void Item21DiskTotal(TDispatcher& calc) { ShowDiskBytes(calc, DiskTotalBytes(calc.Edit1Text), DiskSizeText); }

void Item22DiskFree(TDispatcher& calc) { ShowDiskBytes(calc, DiskFreeBytes(calc.Edit1Text), DiskFreeText); }

// One reading serves both figures, so the minutes and the seconds always agree.
void Item23Uptime(TDispatcher& calc) { calc.Edit1Text = UptimeText(TickCount()); }
