// The user's configuration folder of the program: $XDG_CONFIG_HOME/orvex, or
// ~/.config/orvex when XDG_CONFIG_HOME is unset or not an absolute path.
#pragma once
#include <string>

// The folder (without a trailing "/"), or the empty text when no home folder is known.
// Nothing is created.
std::string ConfigFolder();
