// Item 46 from the registries themselves: RDAP (RFC 9082/9083) where IANA's bootstrap
// file names a server for the top-level domain, WHOIS (RFC 3912, TCP port 43) for the
// others. Only the domain name leaves the machine, to its registry. The bootstrap
// (rdap_dns.json) and the WHOIS table (whois_servers.tsv) lie beside the executables and
// are read on first use. Service keys: rdap and whois (see net/mekservices.h).
#pragma once
#include <map>
#include <memory>
#include <optional>
#include <string>

enum class EDomainState { Registered, Free, Unknown };

// "已被注册", "未被注册", "查询失败".
const char* DomainStateText(EDomainState state);

// The name item 46 asks about: line trimmed, in lower case, an internationalised name in
// its ASCII form (xn--...); nothing unless it is then one or more labels of letters,
// digits and "-" joined by ".", each of 1 to 63 bytes, 253 at most in all.
std::optional<std::string> DomainQueryName(const std::string& line);

// Top-level domain -> base address (RDAP) or host (WHOIS).
using FDomainServers = std::map<std::string, std::string>;
// The base address of each top-level domain in a bootstrap file of IANA's dns.json shape
// (the first https address of its service, else the first); null when the file is missing
// or not of that shape.
std::shared_ptr<const FDomainServers> LoadRdapBootstrap(const std::string& path);
// The hosts of a WHOIS table: lines "tld<TAB>host", "#" lines skipped; null when missing.
std::shared_ptr<const FDomainServers> LoadWhoisTable(const std::string& path);

// True when a WHOIS answer says the name is free: it holds, ASCII letters in any case,
// "No match for", "No matching record", "NOT FOUND", "Domain not found", "No Data Found",
// "No entries found", "Status: free" or "is available for registration".
bool WhoisSaysFree(const std::string& answer);

// RDAP: GET {base}domain/{name} with Accept: application/rdap+json; 200 Registered, 404
// Free, anything else (no answer among it) Unknown.
EDomainState AskRdap(const std::string& base, const std::string& name);
// WHOIS: name and CR LF to server ("host" or "host:port", port 43 by default), the
// answer read until the server closes (64 KiB at most); connected within 5 s, all within
// 15 s. Free or Registered by WhoisSaysFree on a non-empty answer; Unknown without one.
EDomainState AskWhois(const std::string& server, const std::string& name);

// Item 46 for line with the data files in dataDir: RDAP when the bootstrap has a server
// for the top-level domain (the rdap key, when set, in its place), else WHOIS (the whois
// key, when set, else the table's server); Unknown for a name DomainQueryName refuses and
// for a domain without any server.
EDomainState DomainRegistration(const std::string& line, const std::string& dataDir);
