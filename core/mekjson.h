// JSON text written directly, for records printed line by line.
#pragma once
#include <string>

// Appends text as a JSON string: in double quotes, with " and \ escaped, the control
// characters below 0x20 as \b \t \n \f \r or \u00xx, and every malformed UTF-8 sequence
// (each longest start of a sequence that cannot be completed, or a byte that starts none)
// replaced by U+FFFD, so that the result is valid UTF-8 whatever text holds.
void AppendJsonString(std::string& out, const std::string& text);
