// The interface of modules/orvex-net.so, the one part of the program that links libcurl
// (with its TLS, Kerberos, LDAP, SSH and compression libraries), libidn2 and libpsl. The
// engine loads it with dlopen on the first fetch or domain look-up, not at start-up
// (net/meknet.cpp), so that a window or a command line that fetches nothing never pays for
// those libraries. Plain C, so that nothing but one symbol crosses between the two; every
// text the module hands back is malloc'ed and released with Free.
#pragma once
#include <stddef.h>
#include <stdint.h>

#ifdef __cplusplus
extern "C" {
#endif

// One HTTP request, no redirect followed (the engine follows them, resolving each target).
struct FNetTransfer {
  const char* Url;
  const char* ConnectTo;       // libcurl's CONNECT_TO entry ("::ADDRESS:"), or NULL
  const char* const* Headers;  // "Name: value" entries, ending with NULL
  long ConnectMs;              // until the connection stands
  int64_t DeadlineMs;          // CLOCK_MONOTONIC milliseconds when the transfer is abandoned
  size_t MaxBodyBytes;         // a longer body fails the transfer
  int SliceMs;                 // the longest wait between two calls of Tick
  int (*Tick)(void);           // called between waits; non-zero abandons the transfer
};

struct FNetReply {
  long Status;          // the HTTP status
  char* RedirectUrl;    // the redirect's absolute target, or NULL
  char* ContentType;    // the Content-Type header, or NULL
  char* Body;           // the body as sent (decompressed), BodySize bytes
  size_t BodySize;
};

struct FNetModule {
  // Runs the request; non-zero, filling *reply, when an answer arrived whole.
  int (*Transfer)(const struct FNetTransfer* request, struct FNetReply* reply);
  // The host of an absolute http or https address as libcurl reads it ("[::1]" for an
  // IPv6 literal); NULL for any other scheme or an address libcurl cannot read.
  char* (*HttpHost)(const char* url);
  // A domain name (UTF-8) in its ASCII form under IDNA 2008 with UTS 46's mapping; NULL
  // when it has none.
  char* (*ToAscii)(const char* utf8);
  // The registrable domain of a lower-case ASCII host name under the public suffix list
  // (the newest the system has, else libpsl's own); NULL for a public suffix itself.
  char* (*Registrable)(const char* name);
  // Releases a text or the contents of a reply that the module handed back.
  void (*Free)(void* text);
  void (*FreeReply)(struct FNetReply* reply);
};

typedef const struct FNetModule* (*FNetModuleFunction)(void);
const struct FNetModule* OrvexNetModule(void);

#define ORVEX_NET_MODULE_SYMBOL "OrvexNetModule"
#define ORVEX_NET_MODULE "orvex-net.so"

#ifdef __cplusplus
}
#endif
