// Whether a domain name is registered: RDAP over FetchHttp, WHOIS over TTcpConnection.
#include "net/mekdomain.h"


#include <algorithm>
#include <cstring>
#include <sstream>
#include <vector>

#include "core/codepage.h"
#include "core/mekstr.h"
#include "net/mekdatafile.h"
#include "net/mekhtml.h"
#include "net/mekjsonanswer.h"
#include "net/meknet.h"
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

// Labels of letters, digits and "-", none beginning or ending with "-", 1 to 63 bytes
// each, 253 in all.
bool IsHostName(const std::string& name) {
  if (name.empty() || name.size() > 253) return false;
  size_t start = 0;
  while (true) {
    const size_t dot = std::min(name.find('.', start), name.size());
    const size_t length = dot - start;
    if (length == 0 || length > 63 || name[start] == '-' || name[dot - 1] == '-') return false;
    for (size_t i = start; i < dot; ++i)
      if (!IsLabelByte(name[i])) return false;
    if (dot == name.size()) return true;
    start = dot + 1;
  }
}

// A text the network module handed back, taken over; nothing for null.
std::optional<std::string> TakeText(const FNetModule& net, char* text) {
  if (!text) return std::nullopt;
  std::string copy = text;
  net.Free(text);
  return copy;
}

// The lines of a WHOIS answer, each trimmed and in lower case.
std::vector<std::string> WhoisLines(const std::string& answer) {
  std::vector<std::string> lines;
  std::istringstream in(answer);
  for (std::string line; std::getline(in, line);) lines.push_back(Lower(TrimText(line)));
  return lines;
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

std::optional<std::string> DomainTypedName(const std::string& line) {
  std::string name = TrimText(line);
  if (name.find('\0') != std::string::npos) return std::nullopt;
  if (HasNonAscii(name)) {
    // Characters beyond ASCII: the name's ASCII form under IDNA 2008 (UTS 46), whose
    // mapping lowers the case. Only the Unicode form is lowered: lowering the GBK bytes
    // would turn a character whose second byte is a capital (華 is C8 41) into another.
    const FNetModule* net = NetModule();
    if (!net) return std::nullopt;
    std::optional<std::string> ascii = TakeText(*net, net->ToAscii(GbkToUtf8(name).c_str()));
    if (!ascii) return std::nullopt;
    name = std::move(*ascii);
  }
  name = Lower(name);
  if (!IsHostName(name)) return std::nullopt;
  return name;
}

std::optional<std::string> DomainQueryName(const std::string& line) {
  const std::optional<std::string> name = DomainTypedName(line);
  if (!name) return std::nullopt;
  const FNetModule* net = NetModule();
  if (!net) return std::nullopt;
  return TakeText(*net, net->Registrable(name->c_str()));
}

std::shared_ptr<const FDomainServers> LoadRdapBootstrap(const std::string& path) {
  std::string text;
  if (!ReadDataFile(path, RdapBootstrapMaxBytes, text)) return nullptr;
  const json bootstrap = ParseAnswerJson(text);
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
  std::string text;
  if (!ReadDataFile(path, WhoisTableMaxBytes, text)) return nullptr;
  std::istringstream file(text);
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

EDomainState JudgeWhoisAnswer(const std::string& answer, const std::string& name) {
  static const char* const FreeMarkers[] = {
      "no match for",     "no matching record", "not found",    "domain not found",
      "no data found",    "no entries found",   "status: free", "is available for registration",
  };
  static const char* const RecordKeys[] = {"domain name:", "domain:", "domainname:", "[domain name]"};
  if (answer.empty() || answer.find('\0') != std::string::npos) return EDomainState::Unknown;
  const std::vector<std::string> lines = WhoisLines(answer);
  // A marker counts on a line of its own, not as the value of a field ("registrant
  // email: not found" belongs to a registered record).
  for (const std::string& line : lines)
    for (const char* marker : FreeMarkers) {
      const size_t at = line.find(marker);
      if (at != std::string::npos && line.find(':') >= at) return EDomainState::Free;
    }
  // A record of the domain: a domain field, and the name it was asked about.
  const bool named = Lower(answer).find(name) != std::string::npos;
  for (const std::string& line : lines)
    for (const char* key : RecordKeys)
      if (named && line.compare(0, std::strlen(key), key) == 0) return EDomainState::Registered;
  return EDomainState::Unknown;  // a rate limit, an access error, anything else
}

EDomainState JudgeRdapAnswer(const FHttpAnswer& answer) {
  if (!answer.Received || (answer.Status != 200 && answer.Status != 404)) return EDomainState::Unknown;
  const json body = ParseAnswerJson(answer.Body);
  if (!body.is_object()) return EDomainState::Unknown;
  const auto cls = body.find("objectClassName");
  if (answer.Status == 200 && cls != body.end() && *cls == "domain") return EDomainState::Registered;
  const auto code = body.find("errorCode");
  if (answer.Status == 404 && code != body.end() && code->is_number_integer() && *code == 404)
    return EDomainState::Free;
  return EDomainState::Unknown;
}

EDomainState AskRdap(const std::string& base, const std::string& name) {
  const std::string slash = !base.empty() && base.back() == '/' ? "" : "/";
  return JudgeRdapAnswer(
      FetchHttp({base + slash + "domain/" + name, {"Accept: application/rdap+json"}, {}}));
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
      !connection.ReadUntilClosed(answer, WhoisMaxBytes, doneBy))
    return EDomainState::Unknown;
  return JudgeWhoisAnswer(answer, name);
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
