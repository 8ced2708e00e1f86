// Handing a document or address to the desktop.
#pragma once
#include <string>

// Opens target (GBK: a web address, a chat link such as "tencent://...", or a file) with
// the desktop's handler for it (xdg-open on Linux). parameters are for a program that
// takes arguments; the desktop's handlers take none, so a target with parameters is not
// opened. True when the handler was started; an empty target or one without a handler
// gives false.
bool ShellOpen(const std::string& target, const std::string& parameters);
