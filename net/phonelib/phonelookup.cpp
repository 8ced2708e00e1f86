// modules/orvex-phone.so: phone numbers through libphonenumber and its offline geocoder. Compiled
// with the ordinary UTF-8 literals (the library's headers bring in <chrono>).
#include "net/phonelib/phonelookup.h"

#include <phonenumbers/geocoding/phonenumber_offline_geocoder.h>
#include <phonenumbers/phonenumber.pb.h>
#include <phonenumbers/phonenumberutil.h>
#include <unicode/locid.h>

#include <cstdio>
#include <string>

using i18n::phonenumbers::PhoneNumber;
using i18n::phonenumbers::PhoneNumberOfflineGeocoder;
using i18n::phonenumbers::PhoneNumberUtil;

extern "C" __attribute__((visibility("default"))) int OrvexPhoneLookup(const char* text,
                                                                      FPhoneLookup* out) {
  try {
    const PhoneNumberUtil& util = *PhoneNumberUtil::GetInstance();
    PhoneNumber number;
    if (util.Parse(text, "CN", &number) != PhoneNumberUtil::NO_PARSING_ERROR) return 0;
    // A number is valid exactly when the library finds a type for it in its region (what
    // IsValidNumber computes too): one pass of the library's patterns serves both.
    const PhoneNumberUtil::PhoneNumberType type = util.GetNumberType(number);
    if (type == PhoneNumberUtil::UNKNOWN) return 0;

    static const PhoneNumberOfflineGeocoder geocoder;
    static const icu::Locale chinese("zh");
    const std::string area = geocoder.GetDescriptionForValidNumber(number, chinese);
    out->CountryCode = number.country_code();
    out->MayHaveCarrier = type == PhoneNumberUtil::MOBILE ||
                          type == PhoneNumberUtil::FIXED_LINE_OR_MOBILE ||
                          type == PhoneNumberUtil::PAGER;
    std::snprintf(out->NationalNumber, sizeof out->NationalNumber, "%llu",
                  static_cast<unsigned long long>(number.national_number()));
    // A description too long for the field is no description (never a cut character).
    std::snprintf(out->Area, sizeof out->Area, "%s", area.size() < sizeof out->Area ? area.c_str() : "");
    return 1;
  } catch (...) {
    return 0;
  }
}
