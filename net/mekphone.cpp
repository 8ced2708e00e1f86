// Phone numbers through libphonenumber and its offline geocoder. The library's headers
// bring in <chrono>, so this file is compiled with UTF-8 literals (CMakeLists.txt): its
// texts are converted to GBK like the library's own.
#include "net/mekphone.h"

#include <phonenumbers/geocoding/phonenumber_offline_geocoder.h>
#include <phonenumbers/phonenumber.pb.h>
#include <phonenumbers/phonenumberutil.h>
#include <unicode/locid.h>

#include <algorithm>
#include <cctype>

#include "core/codepage.h"
#include "core/mekstr.h"

using i18n::phonenumbers::PhoneNumber;
using i18n::phonenumbers::PhoneNumberOfflineGeocoder;
using i18n::phonenumbers::PhoneNumberUtil;

namespace {

constexpr int ChinaCallingCode = 86;

// Digits, blanks and "-", with one "+" in front at most: what the item reads as a number
// (the library on its own would also take letters and extensions).
bool IsDialText(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = text[i];
    if (!(std::isdigit(c) || c == ' ' || c == '-' || (c == '+' && i == 0))) return false;
  }
  return text.find_first_of("0123456789") != std::string::npos;
}

// The carrier data names carriers of mobile numbers only (as libphonenumber's own
// carrier mapper does).
bool MayHaveCarrier(PhoneNumberUtil::PhoneNumberType type) {
  return type == PhoneNumberUtil::MOBILE || type == PhoneNumberUtil::FIXED_LINE_OR_MOBILE ||
         type == PhoneNumberUtil::PAGER;
}

}  // namespace

const char* PhoneCarrierName(const std::string& nationalNumber) {
  const FPhoneCarrier* end = PhoneCarrierTable + PhoneCarrierCount;
  // Longer prefixes first: the first row that the number starts with.
  for (size_t length = nationalNumber.size(); length > 0; --length) {
    const std::string prefix = nationalNumber.substr(0, length);
    const FPhoneCarrier* row = std::lower_bound(
        PhoneCarrierTable, end, prefix,
        [](const FPhoneCarrier& r, const std::string& key) { return key.compare(r.Prefix) > 0; });
    if (row != end && prefix == row->Prefix) return row->Name;
  }
  return nullptr;
}

std::optional<std::string> PhoneNumberArea(const std::string& line) {
  const std::string text = TrimText(line);
  if (!IsDialText(text)) return std::nullopt;
  const PhoneNumberUtil& util = *PhoneNumberUtil::GetInstance();
  PhoneNumber number;
  if (util.Parse(text, "CN", &number) != PhoneNumberUtil::NO_PARSING_ERROR ||
      !util.IsValidNumber(number))
    return std::nullopt;

  static const PhoneNumberOfflineGeocoder geocoder;
  static const icu::Locale chinese("zh");
  const std::string area = geocoder.GetDescriptionForValidNumber(number, chinese);
  std::string answer = Utf8ToGbk(area.empty() ? std::string("中国") : area);
  if (number.country_code() == ChinaCallingCode && MayHaveCarrier(util.GetNumberType(number))) {
    if (const char* carrier = PhoneCarrierName(std::to_string(number.national_number())))
      answer += std::string(" ") + carrier;
  }
  return answer;
}
