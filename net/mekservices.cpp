#include "net/mekservices.h"

#include "core/mekconfig.h"
#include "core/mekini.h"

namespace {

struct FServiceKey {
  const char* Key;
  const char* Default;
};

// The page services of the web items have no public host that answers their paths, so
// their defaults are empty; where one is empty the item asks the public source below it
// instead (items 27, 45, 46), or answers offline (items 28, 29). The time protocol is
// still served on port 37 by the NIST servers.
const FServiceKey ServiceKeys[] = {
    {"weather", ""}, {"mobile", ""},  {"ip", ""},      {"currency", ""},
    {"domain", ""},  {"presence", ""}, {"lottery", ""}, {"site", ""},
    {"contact", ""}, {"time", "time.nist.gov"},
    {"geocoding", "https://geocoding-api.open-meteo.com/v1/search"},
    {"forecast", "https://api.open-meteo.com/v1/forecast"},
    {"rates", "https://cdn.jsdelivr.net/npm/@fawazahmed0/currency-api@latest/v1/currencies "
              "https://currency-api.pages.dev/v1/currencies"},
    {"rdap", ""}, {"whois", ""},
    {"draws", "https://datachart.500.com/sd/history/inc/history.php "
              "https://www.cwl.gov.cn/cwl_admin/front/cwlkj/search/kjxx/findDrawNotice"},
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
