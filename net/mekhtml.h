// The one way the program talks HTTP: fetch a page as GBK text, and strip a page down to
// its text lines. Both keep no state and may run on several threads at once.
#pragma once
#include <cstddef>
#include <string>
#include <vector>

// The bounds of one fetch. Every wait is bounded, name resolution included: host names
// are resolved by ResolveIPv4 (net/mekresolve.h), never by libcurl, so no resolver that
// hangs can hold a fetch beyond TotalMs. Every wait runs in slices of NetworkWaitSliceMs
// with NetworkWaitTick between them (net/mekwait.h); a tick that says stop ends the fetch
// as failed.
struct FFetchLimits {
  long ConnectMs = 5000;   // until the connection stands (each connection of a redirect)
  long TotalMs = 15000;    // the whole fetch, from name resolution to the last byte, redirects included
  size_t MaxBodyBytes = size_t(8) << 20;  // a longer body is refused, not cut
};

// The body of the page at address, converted from UTF-8 to GBK when it is UTF-8 (see
// PageToGbk); the empty text on every failure: an empty or refused address, no
// connection, a time-out, a body beyond the limit, a failed transfer, an empty body.
// Raises nothing and shows nothing. An address without a scheme is fetched over
// "http://"; "http://" and "https://" (any letter case) are used as they are; every
// other scheme ("file://" among them) is refused, also as the target of a redirect.
// Redirects are followed, at most MaxRedirects of them, each target's host resolved like
// the first; the HTTP status is not looked at (an error page is returned like any other),
// no proxy is used, and the page always comes from the server. Over https the name in
// the address is the one the certificate is checked against, whatever address it
// resolved to.
inline constexpr int MaxRedirects = 10;
std::string FetchPage(const std::string& address);
std::string FetchPage(const std::string& address, const FFetchLimits& limits);

// One request with what FetchPage does without: request headers of the caller's, and the
// status and bytes of the answer. Same client, same rules and bounds as FetchPage.
struct FHttpRequest {
  std::string Address;
  std::vector<std::string> Headers;  // "Name: value" each, added to the request
  FFetchLimits Limits;
};
struct FHttpAnswer {
  bool Received = false;    // an answer arrived whole, whatever its status
  long Status = 0;          // the HTTP status of the last answer (after redirects)
  std::string Body;         // as sent, no code-page conversion
  std::string ContentType;  // the Content-Type header, empty when there was none
};
// Never raises; Received is false on every failure FetchPage knows (an empty body is an
// answer here).
FHttpAnswer FetchHttp(const FHttpRequest& request);

// The address of pathAndQuery (beginning with "/") on the site whose base address is
// base: base with one closing "/" dropped, so that the path's own is not doubled.
std::string SiteAddress(const std::string& base, const std::string& pathAndQuery);

// The address FetchPage requests for address: with "http://" put in front when it has no
// scheme, blanks written as "%20" (a request line cannot carry them); the empty text when
// it is empty or names a scheme other than http and https.
std::string CompleteAddress(const std::string& address);

// The body as GBK text: converted by Utf8ToGbkWhole (core/codepage.h) when it begins
// with the UTF-8 byte-order mark, when the Content-Type header contentType says
// charset=utf-8, or when the body itself says charset=utf-8 anywhere; otherwise (GBK and
// GB2312 pages) unchanged. The declarations are read in any letter case, with blanks
// around "=" and the value in quotes or not, "utf8" counting as "utf-8".
std::string PageToGbk(const std::string& body, const std::string& contentType);

// The text of an HTML page with its line breaks in place, in lower case: ASCII capitals
// lowered (the two bytes of a GBK character left alone), the head from "<html>" through
// "<body>", scripts, styles and every other tag removed, and the entities &gt; &nbsp;
// &quot; &lt; &amp; &copy; replaced in that order, so that "&amp;lt;" ends as "&lt;".
std::string HtmlToText(const std::string& page);
