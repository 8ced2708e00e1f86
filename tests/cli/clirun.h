// Runs orvex-calc as a process for the command-line tests.
#pragma once
#include <string>
#include <vector>

struct FCliResult {
  int status = -1;
  std::string out, err;
};

// Runs orvex-calc with args, feeding input on its stdin; waits at most 60 seconds.
FCliResult RunCalc(const std::vector<std::string>& args, const std::string& input = "");
// The input line printed by `orvex-calc ITEM TEXT` (stdout without the final newline).
std::string Calc(int item, const std::string& text, const std::vector<std::string>& extra = {});
