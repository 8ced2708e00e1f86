// Phone numbers: the dial text checked here, the number parsed, checked and geocoded by
// modules/orvex-phone.so (net/phonelib/), loaded on first use, and the carrier from the table.
#include "net/mekphone.h"


#include <algorithm>
#include <cctype>
#include <memory>

#include "core/codepage.h"
#include "core/mekmodule.h"
#include "core/mekstr.h"
#include "net/mekdatafile.h"
#include "net/phonelib/phonelookup.h"

namespace {

constexpr int ChinaCallingCode = 86;
constexpr size_t MaxDialTextBytes = 64;

// Digits, blanks and "-", with one "+" in front at most: what the item reads as a number
// (the library on its own would also take letters and extensions).
bool IsDialText(const std::string& text) {
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char c = text[i];
    if (!(std::isdigit(c) || c == ' ' || c == '-' || (c == '+' && i == 0))) return false;
  }
  return text.find_first_of("0123456789") != std::string::npos;
}

// The loaded module; it stays loaded for the life of the process.
struct FPhoneModule {
  FPhoneLookupFunction Lookup = nullptr;
};

// A module file that is no whole shared object is never handed to the loader, which would
// fault on one cut short (or wait on a FIFO); see core/mekmodule.h.
std::shared_ptr<const FPhoneModule> LoadPhoneModule(const std::string& dataDir) {
  auto module = std::make_shared<FPhoneModule>();
  module->Lookup = reinterpret_cast<FPhoneLookupFunction>(
      ModuleSymbol(ORVEX_PHONE_MODULE, ORVEX_PHONE_LOOKUP_SYMBOL, dataDir));
  return module->Lookup ? module : nullptr;
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

std::optional<std::string> PhoneNumberArea(const std::string& line, const std::string& dataDir) {
  const std::string text = TrimText(line);
  // No dial text is longer (the longest international numbers have 15 digits); a long
  // paste would cost the parser seconds.
  if (text.size() > MaxDialTextBytes || !IsDialText(text)) return std::nullopt;
  static TDataFileOnce<FPhoneModule> modules(LoadPhoneModule);
  const std::shared_ptr<const FPhoneModule> module = modules.At(dataDir);
  FPhoneLookup found{};
  if (!module || !module->Lookup(text.c_str(), &found)) return std::nullopt;
  std::string answer = *found.Area ? Utf8ToGbk(found.Area) : std::string("中国");
  if (found.CountryCode == ChinaCallingCode && found.MayHaveCarrier) {
    if (const char* carrier = PhoneCarrierName(found.NationalNumber))
      answer += std::string(" ") + carrier;
  }
  return answer;
}
