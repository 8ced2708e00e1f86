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

// The name typed: line trimmed, an internationalised name in its ASCII form (xn--...,
// IDNA 2008 with UTS 46's mapping, which lowers the case of the Unicode text), in lower
// case; nothing unless it is then one or more labels of letters, digits and "-" joined by
// ".", none beginning or ending with "-", each of 1 to 63 bytes, 253 at most in all, and
// holds no NUL byte.
std::optional<std::string> DomainTypedName(const std::string& line);
// The name item 46 asks the registry about: the registrable domain of the typed name by
// the public suffix list (www.example.com: example.com; www.example.com.cn:
// example.com.cn); nothing for a name DomainTypedName refuses and for a public suffix
// itself (com, cn, com.cn).
std::optional<std::string> DomainQueryName(const std::string& line);

// Top-level domain -> base address (RDAP) or host (WHOIS).
using FDomainServers = std::map<std::string, std::string>;
// The base address of each top-level domain in a bootstrap file of IANA's dns.json shape
// (the first https address of its service, else the first); null when the file is missing
// or not of that shape.
std::shared_ptr<const FDomainServers> LoadRdapBootstrap(const std::string& path);
// The hosts of a WHOIS table: lines "tld<TAB>host", "#" lines skipped; null when missing.
std::shared_ptr<const FDomainServers> LoadWhoisTable(const std::string& path);

// What a WHOIS answer about name says; only a registry's answer decides. Free when a line
// holds, ASCII letters in any case, "No match for", "No matching record", "NOT FOUND",
// "Domain not found", "No Data Found", "No entries found", "Status: free" or "is available
// for registration", and not as the value of a field (no ":" before it: "Registrant
// Email: Not found" is part of a record). Registered when a line begins with a domain
// field ("Domain Name:", "Domain:", "domainname:", "[Domain Name]") and the answer names
// name. Unknown for anything else: an empty answer, one holding a NUL byte, a rate limit,
// an access error.
EDomainState JudgeWhoisAnswer(const std::string& answer, const std::string& name);

// What an RDAP answer says: Registered for a 200 whose body is a JSON object with
// objectClassName "domain", Free for a 404 whose body is an RDAP error object with
// errorCode 404; Unknown for everything else (a captive portal's page, an empty body, a
// web server's own error page, no answer).
struct FHttpAnswer;
EDomainState JudgeRdapAnswer(const FHttpAnswer& answer);

// RDAP: GET {base}domain/{name} with Accept: application/rdap+json, judged by
// JudgeRdapAnswer.
EDomainState AskRdap(const std::string& base, const std::string& name);
// WHOIS: name and CR LF to server ("host" or "host:port", port 43 by default), the
// answer read until the server closes (64 KiB at most); connected within 5 s, all within
// 15 s, judged by JudgeWhoisAnswer; Unknown without an answer.
EDomainState AskWhois(const std::string& server, const std::string& name);

// Item 46 for line with the data files in dataDir: the registry of DomainQueryName(line)
// is asked, by RDAP when the bootstrap has a server for its top-level domain (the rdap
// key, when set, in its place), else by WHOIS (the whois key, when set, else the table's
// server); Unknown, without asking, for a name DomainQueryName refuses and for a domain
// without any server. The data files are read only when they are regular files of a
// sensible size (net/mekdatafile.h).
EDomainState DomainRegistration(const std::string& line, const std::string& dataDir);
