#include "core/mekconfig.h"

#include <pwd.h>
#include <unistd.h>

#include <cstdlib>

std::string ConfigFolder() {
  const char* xdg = std::getenv("XDG_CONFIG_HOME");
  if (xdg && xdg[0] == '/') return std::string(xdg) + "/orvex";  // a relative value is ignored, as XDG says
  const char* home = std::getenv("HOME");
  if (!home || !home[0]) {
    const passwd* pw = getpwuid(getuid());
    home = pw ? pw->pw_dir : nullptr;
  }
  if (!home || !home[0]) return {};
  return std::string(home) + "/.config/orvex";
}
