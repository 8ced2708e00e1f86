// The IPv4 location table: its file, checked once, and the look-up by binary search.
#include "net/mekipregion.h"

#include <arpa/inet.h>

#include <algorithm>
#include <fstream>
#include <string>
#include <vector>

#include "core/mekstr.h"
#include "net/mekdatafile.h"

namespace {

constexpr char Magic[] = "OrvexIP1";
constexpr size_t MagicSize = sizeof Magic - 1;
constexpr size_t HeaderSize = MagicSize + 8;

uint32_t ReadWord(const std::string& bytes, size_t at) {
  const auto b = [&](size_t i) { return uint32_t{static_cast<unsigned char>(bytes[at + i])}; };
  return b(0) | (b(1) << 8) | (b(2) << 16) | (b(3) << 24);
}

uint16_t ReadHalf(const std::string& bytes, size_t at) {
  return static_cast<uint16_t>(static_cast<unsigned char>(bytes[at]) |
                               (static_cast<unsigned char>(bytes[at + 1]) << 8));
}

}  // namespace

uint32_t TIpRegionTable::Word(size_t at) const { return ReadWord(bytes_, at); }

std::unique_ptr<TIpRegionTable> TIpRegionTable::Load(const std::string& path) {
  std::string bytes;
  if (!ReadDataFile(path, IpRegionMaxBytes, bytes)) return nullptr;
  return FromBytes(std::move(bytes));
}

std::unique_ptr<TIpRegionTable> TIpRegionTable::FromBytes(std::string bytes) {
  if (bytes.size() < HeaderSize || bytes.compare(0, MagicSize, Magic) != 0) return nullptr;
  std::unique_ptr<TIpRegionTable> t(new TIpRegionTable);
  t->count_ = ReadWord(bytes, MagicSize);
  t->records_ = ReadWord(bytes, MagicSize + 4);
  // Every part must lie inside the file, counted in 64 bits so that no count wraps.
  const uint64_t numbersAt = HeaderSize + uint64_t{4} * t->count_;
  const uint64_t offsetsAt = numbersAt + uint64_t{2} * t->count_;
  const uint64_t textAt = offsetsAt + uint64_t{4} * (t->records_ + 1);
  if (t->count_ == 0 || t->records_ == 0 || t->records_ > 0xFFFF || textAt > bytes.size())
    return nullptr;
  t->numbersAt_ = numbersAt;
  t->offsetsAt_ = offsetsAt;
  t->textAt_ = textAt;
  t->bytes_ = std::move(bytes);
  // Starts from 0, strictly increasing; record numbers in range; offsets from 0, not
  // decreasing, the last at the end of the file.
  if (t->Word(HeaderSize) != 0) return nullptr;
  for (size_t i = 1; i < t->count_; ++i)
    if (t->Word(HeaderSize + 4 * i) <= t->Word(HeaderSize + 4 * (i - 1))) return nullptr;
  for (size_t i = 0; i < t->count_; ++i)
    if (ReadHalf(t->bytes_, t->numbersAt_ + 2 * i) >= t->records_) return nullptr;
  if (t->Word(t->offsetsAt_) != 0) return nullptr;
  for (size_t r = 0; r < t->records_; ++r)
    if (t->Word(t->offsetsAt_ + 4 * (r + 1)) < t->Word(t->offsetsAt_ + 4 * r)) return nullptr;
  if (t->textAt_ + t->Word(t->offsetsAt_ + 4 * t->records_) != t->bytes_.size()) return nullptr;
  return t;
}

uint32_t TIpRegionTable::SegmentStart(size_t i) const { return Word(HeaderSize + 4 * i); }

std::string_view TIpRegionTable::SegmentRecord(size_t i) const {
  const size_t r = ReadHalf(bytes_, numbersAt_ + 2 * i);
  const uint32_t from = Word(offsetsAt_ + 4 * r), to = Word(offsetsAt_ + 4 * (r + 1));
  return std::string_view(bytes_).substr(textAt_ + from, to - from);
}

std::string_view TIpRegionTable::Record(uint32_t address) const {
  // The last segment starting at or before address (the first starts at 0).
  size_t low = 0, high = count_;
  while (high - low > 1) {
    const size_t middle = low + (high - low) / 2;
    if (SegmentStart(middle) <= address) low = middle;
    else high = middle;
  }
  return SegmentRecord(low);
}

std::shared_ptr<const TIpRegionTable> IpRegionTableAt(const std::string& path) {
  static TDataFileOnce<TIpRegionTable> table(
      [](const std::string& p) -> std::shared_ptr<const TIpRegionTable> { return TIpRegionTable::Load(p); });
  return table.At(path);
}

std::string IpRegionAnswer(std::string_view record) {
  // Fields end at "|" outside a GBK character (a trail byte may be 0x7C).
  std::vector<std::string_view> fields;
  size_t from = 0;
  for (size_t i = 0; i <= record.size(); ++i) {
    if (i == record.size() || record[i] == '|') {
      fields.push_back(record.substr(from, i - from));
      from = i + 1;
    } else if (IsLeadByte(static_cast<unsigned char>(record[i])) && i + 1 < record.size()) {
      ++i;
    }
  }
  std::string answer;
  std::string_view kept;
  for (const std::string_view field : fields) {
    if (field.empty() || field == "0" || field == kept) continue;
    if (!answer.empty()) answer += ' ';
    answer.append(field);
    kept = field;
  }
  return answer;
}

std::string IpAddressArea(const std::string& line, const std::string& dataDir) {
  const std::string text = TrimText(line);
  in_addr address{};
  if (text.find('\0') != std::string::npos) return "查询失败";  // inet_pton would stop at it
  if (inet_pton(AF_INET, text.c_str(), &address) != 1) return "查询失败";
  const std::shared_ptr<const TIpRegionTable> table = IpRegionTableAt(dataDir + "/ip2region.dat");
  if (!table) return "查询失败";
  const std::string answer = IpRegionAnswer(table->Record(ntohl(address.s_addr)));
  return answer.empty() ? "查询失败" : answer;
}
