// Addresses: the IPv4 address of the machine's dial-up (PPP) links, and the address a
// host name or web address resolves to.
#pragma once
#include <string>
#include <vector>

struct ifaddrs;

// One dial-up link. Each field is cut to its length in bytes.
struct DialUpEntry {
  std::string EntryName;   // 255: the interface's name (ppp0)
  std::string DeviceType;  // 16: "ppp"
  std::string DeviceName;  // 128: the interface's name again
  std::string IPAddress;   // 15: dotted IPv4 address
};
inline constexpr size_t EntryNameBytes = 255, DeviceTypeBytes = 16, DeviceNameBytes = 128,
                        IPAddressBytes = 15;

using FmekIPxx = std::vector<DialUpEntry>;

// The dial-up links of an interface list as getifaddrs gives it: every interface whose
// name begins with "ppp" and that has an IPv4 address, once, with its first IPv4
// address, in the order of the list.
FmekIPxx DialUpConnectionsOf(const ifaddrs* list);
// The same over the machine's interfaces; empty when there is none or the query fails.
FmekIPxx DialUpConnections();

// The host name inside a web address, lower-cased: a scheme such as "http://" (any
// case) dropped, the text cut at the first "/", "?" or "#", and a ":port" after the
// host dropped. Empty when what remains is no host name (empty, or holding anything
// but letters, digits, ".", "-" and "_").
std::string AddressHost(const std::string& text);

// The dotted IPv4 address ("%d.%d.%d.%d") that the host of a web address resolves to,
// or the empty text when it does not resolve within the resolver's time limit.
std::string HostToAddress(const std::string& text);
