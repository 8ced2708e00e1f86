// Table-driven runs of orvex-calc: every case one line of a single --batch run, each
// checked for the input line afterwards and the messages shown.
#pragma once
#include <gtest/gtest.h>

#include <nlohmann/json.hpp>

#include <string>

#include "clirun.h"

struct FCliCase {
  int item;
  const char* typed;    // UTF-8, no newline
  const char* line;     // the input line afterwards
  const char* message;  // nullptr: no message
};

// extra: further options of the run, such as {"--answer", "yes"}.
template <size_t N>
void RunCliCases(const FCliCase (&cases)[N], const std::vector<std::string>& extra = {}) {
  std::string input;
  for (const FCliCase& c : cases) input += std::to_string(c.item) + "\t" + c.typed + "\n";
  std::vector<std::string> args = {"--batch"};
  args.insert(args.end(), extra.begin(), extra.end());
  const FCliResult r = RunCalc(args, input);
  ASSERT_EQ(r.status, 0) << r.err;
  size_t start = 0, k = 0;
  for (size_t nl; (nl = r.out.find('\n', start)) != std::string::npos; start = nl + 1, ++k) {
    ASSERT_LT(k, N) << r.out;
    const FCliCase& c = cases[k];
    const auto j = nlohmann::json::parse(r.out.substr(start, nl - start));
    EXPECT_EQ(j["output"], c.line) << c.item << " [" << c.typed << "]";
    const auto expected = c.message ? nlohmann::json::array({c.message}) : nlohmann::json::array();
    EXPECT_EQ(j["messages"], expected) << c.item << " [" << c.typed << "]";
  }
  EXPECT_EQ(k, N);
}
