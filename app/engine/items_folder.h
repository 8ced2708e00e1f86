// The text of item 40's result.
#pragma once
#include <cstdint>
#include <string>

// bytes with two decimals in B, KB, MB or GB: divided by 1024 while above 1024, at most
// three times ("1024.00B", "1.00KB", "1.50GB", "2048.00GB").
std::string FolderSizeText(int64_t bytes);
