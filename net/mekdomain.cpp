// Whether a domain name is registered: RDAP over FetchHttp, WHOIS over TTcpConnection.
#include "net/mekdomain.h"

#include <idn2.h>

#include <nlohmann/json.hpp>

#include <fstream>
#include <sstream>

#include "core/codepage.h"
#include "core/mekstr.h"
#include "net/mekdatafile.h"
#include "net/mekhtml.h"
#include "net/mekresolve.h"
#include "net/mekservices.h"
#include "net/mektcp.h"

using nlohmann::json;

namespace {

constexpr int WhoisPort = 43;
constexpr int64_t WhoisConnectMs = 5000, WhoisTotalMs = 15000;
constexpr size_t WhoisMaxBytes = 64 * 1024;

char LowerAscii(char c) { return (c >= 'A' && c <= 'Z') ? static_cast<char>(c + 32) : c; }

std::string Lower(std::string text) {
  for (char& c : text) c = LowerAscii(c);
  return text;
}

bool IsLabelByte(char c) { return (c >= 'a' && c <= 'z') || (c >= '0' && c <= '9') || c == '-'; }

bool IsHostName(const std::string& name) {
  if (name.empty() || name.size() > 253) return false;
  size_t label = 0;
  for (const char c : name) {
    if (c == '.') {
      if (label == 0) return false;
      label = 0;
    } else if (!IsLabelByte(c) || ++label > 63) {
      return false;
    }
  }
  return label > 0;
}

bool HasNonAscii(const std::string& text) {
  for (const char c : text)
    if (static_cast<unsigned char>(c) >= 0x80) return true;
  return false;
}

}  // namespace

const char* DomainStateText(EDomainState state) {
  switch (state) {
    case EDomainState::Registered: return "已被注册";
    case EDomainState::Free: return "未被注册";
    default: return "查询失败";
  }
}

std::optional<std::string> DomainQueryName(const std::string& line) {
  std::string name = Lower(TrimText(line));
  if (HasNonAscii(name)) {
    // Characters beyond ASCII: the name's ASCII form under IDNA 2008 (UTS 46).
    char* ascii = nullptr;
    if (idn2_to_ascii_8z(GbkToUtf8(name).c_str(), &ascii, IDN2_NONTRANSITIONAL) != IDN2_OK)
      return std::nullopt;
    name = ascii;
    idn2_free(ascii);
  }
  if (!IsHostName(name)) return std::nullopt;
  return name;
}

std::shared_ptr<const FDomainServers> LoadRdapBootstrap(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return nullptr;
  const json bootstrap = json::parse(file, nullptr, false);
  if (!bootstrap.is_object() || !bootstrap.contains("services") || !bootstrap["services"].is_array())
    return nullptr;
  auto servers = std::make_shared<FDomainServers>();
  for (const json& service : bootstrap["services"]) {
    if (!service.is_array() || service.size() < 2 || !service[0].is_array() || !service[1].is_array())
      continue;
    std::string base;
    for (const json& url : service[1]) {
      if (!url.is_string()) continue;
      const std::string text = url.get<std::string>();
      if (base.empty() || (text.compare(0, 8, "https://") == 0 && base.compare(0, 8, "https://") != 0))
        base = text;
    }
    if (base.empty()) continue;
    for (const json& tld : service[0])
      if (tld.is_string()) (*servers)[Lower(tld.get<std::string>())] = base;
  }
  return servers;
}

std::shared_ptr<const FDomainServers> LoadWhoisTable(const std::string& path) {
  std::ifstream file(path, std::ios::binary);
  if (!file) return nullptr;
  auto servers = std::make_shared<FDomainServers>();
  for (std::string line; std::getline(file, line);) {
    if (line.empty() || line[0] == '#') continue;
    const size_t tab = line.find('\t');
    if (tab == std::string::npos) continue;
    const std::string host = TrimText(line.substr(tab + 1));
    if (tab > 0 && !host.empty()) (*servers)[Lower(line.substr(0, tab))] = host;
  }
  return servers;
}

bool WhoisSaysFree(const std::string& answer) {
  static const char* const Markers[] = {
      "no match for",     "no matching record", "not found",    "domain not found",
      "no data found",    "no entries found",   "status: free", "is available for registration",
  };
  const std::string text = Lower(answer);
  for (const char* marker : Markers)
    if (text.find(marker) != std::string::npos) return true;
  return false;
}

EDomainState AskRdap(const std::string& base, const std::string& name) {
  const std::string slash = !base.empty() && base.back() == '/' ? "" : "/";
  const FHttpAnswer answer =
      FetchHttp({base + slash + "domain/" + name, {"Accept: application/rdap+json"}, {}});
  if (!answer.Received) return EDomainState::Unknown;
  if (answer.Status == 200) return EDomainState::Registered;
  if (answer.Status == 404) return EDomainState::Free;
  return EDomainState::Unknown;
}

EDomainState AskWhois(const std::string& server, const std::string& name) {
  std::string host;
  int port = WhoisPort;
  if (!SplitHostPort(server, host, port)) return EDomainState::Unknown;
  const int64_t start = MonotonicMs();
  const int64_t connectBy = start + WhoisConnectMs, doneBy = start + WhoisTotalMs;
  const std::optional<FIPv4Address> address = ResolveIPv4(host, WhoisConnectMs);
  TTcpConnection connection;
  std::string answer;
  if (!address || !connection.Connect(*address, port, connectBy) ||
      !connection.SendAll(name + "\r\n", doneBy) ||
      !connection.ReadUntilClosed(answer, WhoisMaxBytes, doneBy) || answer.empty())
    return EDomainState::Unknown;
  return WhoisSaysFree(answer) ? EDomainState::Free : EDomainState::Registered;
}

EDomainState DomainRegistration(const std::string& line, const std::string& dataDir) {
  static TDataFileOnce<FDomainServers> rdapServers(LoadRdapBootstrap);
  static TDataFileOnce<FDomainServers> whoisServers(LoadWhoisTable);
  const std::optional<std::string> name = DomainQueryName(line);
  if (!name) return EDomainState::Unknown;
  const std::string tld = name->substr(name->rfind('.') + 1);

  const std::shared_ptr<const FDomainServers> rdap = rdapServers.At(dataDir + "/rdap_dns.json");
  if (rdap && rdap->count(tld)) {
    const std::string configured = ServiceAddress("rdap");
    return AskRdap(configured.empty() ? rdap->at(tld) : configured, *name);
  }
  std::string whois = ServiceAddress("whois");
  if (whois.empty()) {
    const std::shared_ptr<const FDomainServers> table = whoisServers.At(dataDir + "/whois_servers.tsv");
    if (!table || !table->count(tld)) return EDomainState::Unknown;
    whois = table->at(tld);
  }
  return AskWhois(whois, *name);
}
