#include "net/mekservices.h"

#include "core/mekconfig.h"
#include "core/mekini.h"

namespace {

struct FServiceKey {
  const char* Key;
  const char* Default;
};

// No public service answers the web items' paths today, so their defaults are empty;
// the time protocol is still served on port 37 by the NIST servers.
const FServiceKey ServiceKeys[] = {
    {"weather", ""}, {"mobile", ""},  {"ip", ""},      {"currency", ""},
    {"domain", ""},  {"presence", ""}, {"lottery", ""}, {"site", ""},
    {"contact", ""}, {"time", "time.nist.gov"},
};

const FServiceKey* FindKey(const std::string& key) {
  for (const FServiceKey& k : ServiceKeys)
    if (key == k.Key) return &k;
  return nullptr;
}

}  // namespace

std::string ServicesFile() {
  const std::string folder = ConfigFolder();
  return folder.empty() ? std::string() : folder + "/services.ini";
}

std::string ServiceDefault(const std::string& key) {
  const FServiceKey* k = FindKey(key);
  return k ? k->Default : std::string();
}

std::string ServiceAddress(const std::string& key) {
  const FServiceKey* k = FindKey(key);
  if (!k) return {};
  const std::string file = ServicesFile();
  if (file.empty()) return k->Default;
  return IniReadString(file, "services", key, k->Default);
}
