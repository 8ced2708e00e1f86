// Item 45 from the free daily exchange-rate data set published on npm as
// @fawazahmed0/currency-api (no key): GET {base}/{from}.json answers
// {"date": "...", "{from}": {"{to}": rate, ...}} with the codes in lower case. Only the
// currency code leaves the machine. Addresses: the service key rates, one or more bases
// separated by blanks, tried in order.
#pragma once
#include <optional>
#include <string>

// How many units of toCode one unit of fromCode buys (three-letter codes, any case): from
// the first base address that answers with status 200 and a number for the pair; nothing
// when none does or none is configured.
std::optional<double> FetchExchangeRate(const std::string& fromCode, const std::string& toCode);

// value rounded half away from zero to exactly two decimals, without grouping ("14.12",
// "-0.50", "145012.35"); nothing for a value that is not finite.
std::optional<std::string> FormatMoney(double value);
