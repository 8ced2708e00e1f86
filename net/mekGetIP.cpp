#include "net/mekGetIP.h"

#include <arpa/inet.h>
#include <ifaddrs.h>
#include <netinet/in.h>

#include <algorithm>
#include <cstring>

#include "core/mekstr.h"
#include "net/mekresolve.h"

namespace {

std::string Cut(const std::string& text, size_t bytes) { return text.substr(0, bytes); }

bool IsDialUpName(const char* name) { return name && std::strncmp(name, "ppp", 3) == 0; }

bool IsAsciiLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }
bool IsAsciiDigit(char c) { return c >= '0' && c <= '9'; }

bool IsHostChar(char c) {
  return IsAsciiLetter(c) || IsAsciiDigit(c) || c == '.' || c == '-' || c == '_';
}

}  // namespace

FmekIPxx DialUpConnectionsOf(const ifaddrs* list) {
  FmekIPxx links;
  std::vector<std::string> seen;  // full names: an interface is listed once
  for (const ifaddrs* a = list; a; a = a->ifa_next) {
    if (!IsDialUpName(a->ifa_name) || !a->ifa_addr || a->ifa_addr->sa_family != AF_INET) continue;
    const std::string name = a->ifa_name;
    if (std::find(seen.begin(), seen.end(), name) != seen.end()) continue;
    seen.push_back(name);
    char dotted[INET_ADDRSTRLEN] = "";
    const auto* in = reinterpret_cast<const sockaddr_in*>(a->ifa_addr);
    if (!inet_ntop(AF_INET, &in->sin_addr, dotted, sizeof dotted)) dotted[0] = '\0';
    links.push_back({Cut(name, EntryNameBytes), Cut("ppp", DeviceTypeBytes),
                     Cut(name, DeviceNameBytes), Cut(dotted, IPAddressBytes)});
  }
  return links;
}

FmekIPxx DialUpConnections() {
  ifaddrs* list = nullptr;
  if (getifaddrs(&list) != 0) return {};
  FmekIPxx links = DialUpConnectionsOf(list);
  freeifaddrs(list);
  return links;
}

std::string AddressHost(const std::string& text) {
  const size_t scheme = UrlSchemeLength(text);
  std::string host = text.substr(scheme ? scheme + 3 : 0);
  host = host.substr(0, host.find_first_of("/?#"));
  // ":port" (one digit or more) after the host.
  const size_t colon = host.find(':');
  if (colon != std::string::npos && colon + 1 < host.size() &&
      host.find_first_not_of("0123456789", colon + 1) == std::string::npos)
    host.erase(colon);
  for (char& c : host) {
    if (!IsHostChar(c)) return {};
    if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
  }
  return host;
}

std::string HostToAddress(const std::string& text) {
  const std::optional<FIPv4Address> address = ResolveIPv4(AddressHost(text));
  return address ? DottedAddress(*address) : std::string();
}
