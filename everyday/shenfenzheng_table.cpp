// The check character tables of identity card numbers.
#include "everyday/shenfenzheng_table.h"

const std::array<int, 17> IdCheckWeights = {7, 9, 10, 5, 8, 4, 2, 1, 6, 3, 7, 9, 10, 5, 8, 4, 2};

const std::array<const char*, 11> IdCheckChars = {"1", "0", "X", "9", "8", "7",
                                                  "6", "5", "4", "3", "2"};
