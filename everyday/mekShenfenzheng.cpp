// Identity card numbers: check character, widening, region lookup.
#include "everyday/mekShenfenzheng.h"

#include <filesystem>

#include "core/mekerror.h"
#include "core/mekini.h"
#include "everyday/shenfenzheng_table.h"

namespace {

int DigitAt(const std::string& number, size_t i) {
  if (i >= number.size() || number[i] < '0' || number[i] > '9')
    throw EConvertError("'" + number + "' has no digit at position " + std::to_string(i + 1));
  return number[i] - '0';
}

// The check character of the first 17 characters of an 18- or 17-character number.
std::string CheckCharOf17(const std::string& number) {
  int sum = 0;
  for (size_t i = 0; i < IdCheckWeights.size(); ++i) sum += DigitAt(number, i) * IdCheckWeights[i];
  return IdCheckChars[static_cast<size_t>(sum % 11)];
}

}  // namespace

std::string IdWiden15To18(const std::string& number) {
  if (number.size() == 18) return number;
  if (number.size() != 15) return "";
  const int yy = DigitAt(number, 6) * 10 + DigitAt(number, 7);
  const std::string widened = number.substr(0, 6) + (yy < 10 ? "20" : "19") + number.substr(6);
  return widened + CheckCharOf17(widened);
}

std::string IdCheckChar(const std::string& number) {
  return CheckCharOf17(number.size() == 15 ? IdWiden15To18(number) : number);
}

std::string IdRegion(const std::string& path, const std::string& number) {
  std::error_code error;
  if (!std::filesystem::exists(path, error)) return "缺少文件";
  return IniReadString(path, "sfz", number.substr(0, 6), "未知地址");
}
