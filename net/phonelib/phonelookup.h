// The interface of modules/orvex-phone.so, the one part of the program that links
// libphonenumber and its offline geocoder. The geocoder's library carries its data as
// relocated tables of some 15 MB, so the engine loads this module with dlopen on the first
// look-up of item 28, not at start-up (net/mekphone.cpp). Plain C, so that nothing but
// this one symbol crosses between the two.
#pragma once
#include <stddef.h>

#ifdef __cplusplus
extern "C" {
#endif

struct FPhoneLookup {
  int CountryCode;            // the number's calling code (86 for China)
  int MayHaveCarrier;         // non-zero for a mobile, fixed-line-or-mobile or pager number
  char NationalNumber[24];    // the national significant number's digits
  char Area[256];             // the geocoder's Chinese description in UTF-8, "" when none
};

// Parses text (UTF-8) with China as the default region; non-zero, filling *out, when it
// is a valid number of its region; zero, leaving *out unspecified, otherwise.
typedef int (*FPhoneLookupFunction)(const char* text, struct FPhoneLookup* out);
int OrvexPhoneLookup(const char* text, struct FPhoneLookup* out);

#define ORVEX_PHONE_LOOKUP_SYMBOL "OrvexPhoneLookup"
#define ORVEX_PHONE_MODULE "orvex-phone.so"

#ifdef __cplusplus
}
#endif
