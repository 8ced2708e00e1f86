// Item 28 offline: the home area and carrier of a phone number. Numbers are parsed and
// checked by libphonenumber (China as the default region), the area comes from its
// offline geocoder in Chinese, both inside modules/orvex-phone.so beside the executables, loaded
// on the first look-up; the carrier of a Chinese mobile number comes from
// PhoneCarrierTable. Nothing leaves the machine.
#pragma once
#include <cstddef>
#include <optional>
#include <string>

// A carrier by the leading digits of China's national number (without 86).
struct FPhoneCarrier {
  const char* Prefix;
  const char* Name;
};
// Sorted by prefix (net/phonecarrier_table.cpp, made by tools/net/gen_carrier_table.py).
extern const FPhoneCarrier PhoneCarrierTable[];
extern const size_t PhoneCarrierCount;

// The carrier of the row with the longest prefix of nationalNumber; nullptr when none.
const char* PhoneCarrierName(const std::string& nationalNumber);

// "AREA CARRIER" for line (GBK): the line trimmed, made of digits, blanks and "-" with
// an optional leading "+", must be a valid number for its region (China unless it starts
// with "+" and a country code). AREA is the geocoder's Chinese description, "中国" when
// it has none; " CARRIER" follows for a Chinese mobile number whose carrier is known.
// Nothing for anything else, and when modules/orvex-phone.so in dataDir cannot be loaded.
std::optional<std::string> PhoneNumberArea(const std::string& line, const std::string& dataDir);
