// Exchange rates from the currency-api data set, JSON read with nlohmann::json.
#include "net/mekrates.h"

#include <nlohmann/json.hpp>

#include <cmath>
#include <cstdio>
#include <sstream>

#include "net/mekhtml.h"
#include "net/mekjsonanswer.h"
#include "net/mekservices.h"

using nlohmann::json;

namespace {

constexpr double MinPlausibleRate = 1e-6, MaxPlausibleRate = 1e6;

std::string Lower(std::string text) {
  for (char& c : text)
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c + 32);
  return text;
}

std::optional<double> RateAt(std::string base, const std::string& from, const std::string& to) {
  if (base.back() == '/') base.pop_back();
  const FHttpAnswer answer = FetchHttp({base + "/" + from + ".json", {"Accept: application/json"}, {}});
  if (!answer.Received || answer.Status != 200) return std::nullopt;
  const json rates = ParseAnswerJson(answer.Body);
  if (!rates.is_object() || !rates.contains(from) || !rates[from].is_object()) return std::nullopt;
  const json& table = rates[from];
  if (!table.contains(to) || !table[to].is_number()) return std::nullopt;
  // Between any two of the item's currencies a rate lies far inside these bounds (the
  // widest pair, pound to won, is near 2000); zero, a negative rate or one beyond them is
  // no rate.
  const double rate = table[to].get<double>();
  if (!std::isfinite(rate) || rate < MinPlausibleRate || rate > MaxPlausibleRate) return std::nullopt;
  return rate;
}

}  // namespace

std::optional<double> FetchExchangeRate(const std::string& fromCode, const std::string& toCode) {
  const std::string from = Lower(fromCode), to = Lower(toCode);
  std::istringstream bases(ServiceAddress("rates"));
  for (std::string base; bases >> base;)
    if (const std::optional<double> rate = RateAt(base, from, to)) return rate;
  return std::nullopt;
}

std::optional<std::string> FormatMoney(double value) {
  double cents = std::round(value * 100);  // halves away from zero
  if (cents == 0) cents = 0;               // no "-0.00"
  if (!std::isfinite(cents)) return std::nullopt;
  char text[400];
  std::snprintf(text, sizeof text, "%.2f", cents / 100);
  return std::string(text);
}
