// Identity card numbers: the digit test and the birth date and sex read from a number.
#include <algorithm>

#include "core/mekdatetime.h"
#include "core/mekerror.h"
#include "core/meklocale.h"
#include "core/mekstr.h"

namespace {

bool IsDigit(char c) { return c >= '0' && c <= '9'; }

}  // namespace

bool IsAllDigits(const std::string& text) {
  return !text.empty() && std::all_of(text.begin(), text.end(), IsDigit);
}

bool IdBirthAndSex(const std::string& number, std::string& sex, double& date) {
  const std::string t = TrimText(number);
  std::string year, month, day;
  char sexDigit;
  if (t.size() == 15 && IsAllDigits(t)) {
    // Fifteen-digit numbers were issued to people born in the 1900s; widening one to
    // eighteen digits writes its year the same way.
    year = "19" + t.substr(6, 2), month = t.substr(8, 2), day = t.substr(10, 2);
    sexDigit = t[14];
  } else if (t.size() == 18 && IsAllDigits(t.substr(0, 17)) &&
             (IsDigit(t[17]) || t[17] == 'X' || t[17] == 'x')) {
    // The check character X stands for ten: the number is as valid as an all-digit one.
    year = t.substr(6, 4), month = t.substr(10, 2), day = t.substr(12, 2);
    sexDigit = t[16];
  } else {
    return false;
  }
  const std::string sep(1, DateSeparator);
  double birth;
  if (!TryStrToDate(year + sep + month + sep + day, birth))
    throw EConvertError("'" + year + sep + month + sep + day + "' is not a valid date");
  date = birth;
  sex = (sexDigit - '0') % 2 == 1 ? "男" : "女";
  return true;
}
