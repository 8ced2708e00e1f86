// Item 29 offline: the location of an IPv4 address from the table ip2region.dat beside
// the executables (made by tools/net/gen_ip2region.py from the ip2region database). The
// table is read once, on first use, and checked whole before it serves: a missing,
// short or inconsistent file serves nothing. Nothing leaves the machine.
#pragma once
#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

class TIpRegionTable {
public:
  // Reads and checks the file; nothing when it cannot be read or is not a whole table.
  static std::unique_ptr<TIpRegionTable> Load(const std::string& path);
  // The same for the bytes of a table.
  static std::unique_ptr<TIpRegionTable> FromBytes(std::string bytes);

  // The record of the segment holding address (host byte order): "国家|区域|省份|城市|ISP"
  // in GBK, "0" for an unknown field.
  std::string_view Record(uint32_t address) const;

  size_t SegmentCount() const { return count_; }
  // The first address of segment i (below SegmentCount); the segment ends where the next
  // one starts, the last at 255.255.255.255.
  uint32_t SegmentStart(size_t i) const;
  // The record of segment i.
  std::string_view SegmentRecord(size_t i) const;

private:
  TIpRegionTable() = default;
  std::string bytes_;
  size_t count_ = 0, records_ = 0;
  size_t numbersAt_ = 0, offsetsAt_ = 0, textAt_ = 0;
  uint32_t Word(size_t at) const;
};

// The table at path, loaded on the first call for that path and kept for the process;
// null while it cannot be loaded (the next call tries again).
std::shared_ptr<const TIpRegionTable> IpRegionTableAt(const std::string& path);

// The answer of a record: its fields other than "0" in order, joined by one blank, a
// field equal to the one kept before it left out ("0|0|0|内网IP|内网IP" gives "内网IP").
std::string IpRegionAnswer(std::string_view record);

// Item 29's answer for line with the table in dataDir: the trimmed line must be a dotted
// IPv4 address as inet_pton reads it; "查询失败" for anything else and without a table.
std::string IpAddressArea(const std::string& line, const std::string& dataDir);
