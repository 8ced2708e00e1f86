// Where the network items find their services: the user's file services.ini in the
// configuration folder, section [services], one address per key. A missing file or key
// gives the key's default; an empty value (or an empty default) means the item has no
// service and gives its failure text at once without touching the network. Reading
// never creates the file.
//
// Keys of web services (a base address such as "http://127.0.0.1:8123", to which the
// item appends its path and query): weather, mobile, ip, currency, domain, presence,
// lottery, site; contact (the author's account for the contact link); time ("host" or
// "host:port" of an RFC 868 time server, port 37 when none is given).
//
// Keys of the public sources that serve where a web item's page service is empty:
// geocoding and forecast (item 27, full addresses to which the query is appended), rates
// (item 45, base addresses separated by blanks, tried in order), rdap (item 46, one base
// for every top-level domain with an RDAP server; empty: the bootstrap's server), whois
// (item 46, "host" or "host:port" for every top-level domain without one; empty: the
// shipped table) and draws (item 35, addresses separated by blanks, tried in order; see
// net/mekdraws.h).
#pragma once
#include <string>

// $XDG_CONFIG_HOME/orvex/services.ini (default ~/.config/orvex/services.ini).
std::string ServicesFile();

// The configured value of key with blanks around it removed, or its default; the empty
// text for a key that is not one of the above.
std::string ServiceAddress(const std::string& key);

// The default of key (what the README lists).
std::string ServiceDefault(const std::string& key);
