// HTTP fetch through modules/orvex-net.so (libcurl's multi interface, loaded on the first
// fetch; names resolved by our own bounded resolver), and HTML to text over the text
// primitives.
#include "net/mekhtml.h"

#include <arpa/inet.h>
#include <time.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>
#include <vector>

#include "core/codepage.h"
#include "core/mekstr.h"
#include "net/meknet.h"
#include "net/mekresolve.h"
#include "net/mekwait.h"

namespace {

unsigned char LowerAscii(unsigned char b) { return (b >= 'A' && b <= 'Z') ? b + 32 : b; }

// True when text holds word (lower case) at pos, compared without ASCII case.
bool HasWordAt(const std::string& text, size_t pos, const char* word) {
  for (; *word; ++word, ++pos)
    if (pos >= text.size() || LowerAscii(text[pos]) != static_cast<unsigned char>(*word))
      return false;
  return true;
}

bool IsBlank(char c) { return c == ' ' || c == '\t'; }

// True when the first n bytes of text are the scheme "http" or "https", in any case.
bool IsHttpScheme(const std::string& text, size_t n) {
  return (n == 4 && HasWordAt(text, 0, "http")) || (n == 5 && HasWordAt(text, 0, "https"));
}

bool IsNameByte(char c) {
  const unsigned char b = LowerAscii(c);
  return (b >= 'a' && b <= 'z') || (b >= '0' && b <= '9') || b == '-' || b == '_';
}

// True when text declares charset=utf-8 somewhere: "charset", blanks, "=", blanks, an
// optional quote, then "utf-8" or "utf8" ending there; letters in any case.
bool DeclaresUtf8(const std::string& text) {
  for (size_t i = 0; i + 7 < text.size(); ++i) {
    if (LowerAscii(text[i]) != 'c' || !HasWordAt(text, i, "charset")) continue;
    size_t j = i + 7;
    while (j < text.size() && IsBlank(text[j])) ++j;
    if (j >= text.size() || text[j] != '=') continue;
    ++j;
    while (j < text.size() && IsBlank(text[j])) ++j;
    if (j < text.size() && (text[j] == '"' || text[j] == '\'')) ++j;
    size_t end = 0;
    if (HasWordAt(text, j, "utf-8")) end = j + 5;
    else if (HasWordAt(text, j, "utf8")) end = j + 4;
    if (end != 0 && (end == text.size() || !IsNameByte(text[end]))) return true;
  }
  return false;
}

// True when the body is to be read as UTF-8 (see PageToGbk).
bool IsUtf8Page(const std::string& body, const std::string& contentType) {
  return body.compare(0, 3, "\xEF\xBB\xBF") == 0 || DeclaresUtf8(contentType) || DeclaresUtf8(body);
}

int64_t SteadyMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

// The host of an absolute http or https address as libcurl reads it ("[::1]" for an IPv6
// literal); empty for any other scheme or an address libcurl cannot read.
std::string HttpHost(const FNetModule& net, const std::string& url) {
  char* host = net.HttpHost(url.c_str());
  if (!host) return std::string();
  const std::string text = host;
  net.Free(host);
  return text;
}

int TickForTransfer() { return NetworkWaitTick() ? 1 : 0; }

// True when libcurl reaches host without asking a resolver: a dotted IPv4 address, an
// IPv6 literal, and localhost with its subdomains, which libcurl maps to the loopback
// addresses itself.
bool ReachedWithoutLookup(const std::string& host) {
  in_addr v4{};
  if (host.front() == '[' || inet_pton(AF_INET, host.c_str(), &v4) == 1) return true;
  std::string lower = host;
  for (char& c : lower) c = static_cast<char>(LowerAscii(c));
  if (!lower.empty() && lower.back() == '.') lower.pop_back();
  return lower == "localhost" ||
         (lower.size() > 10 && lower.compare(lower.size() - 10, 10, ".localhost") == 0);
}

}  // namespace

std::string CompleteAddress(const std::string& address) {
  if (address.empty()) return std::string();
  std::string completed;
  if (const size_t n = UrlSchemeLength(address)) {
    if (!IsHttpScheme(address, n)) return std::string();
    completed = address;
  } else {
    completed = "http://" + address;
  }
  return ReplaceAll(completed, " ", "%20");
}

std::string SiteAddress(const std::string& base, const std::string& pathAndQuery) {
  const size_t keep = !base.empty() && base.back() == '/' ? base.size() - 1 : base.size();
  return base.substr(0, keep) + pathAndQuery;
}

std::string PageToGbk(const std::string& body, const std::string& contentType) {
  return IsUtf8Page(body, contentType) ? Utf8ToGbkWhole(body) : body;
}

std::string FetchPage(const std::string& address) { return FetchPage(address, FFetchLimits()); }

std::string FetchPage(const std::string& address, const FFetchLimits& limits) {
  FHttpAnswer answer = FetchHttp({address, {}, limits});
  if (!answer.Received) return std::string();
  try {
    // A GBK page is handed on as it arrived, not copied.
    if (IsUtf8Page(answer.Body, answer.ContentType)) return Utf8ToGbkWhole(answer.Body);
    return std::move(answer.Body);
  } catch (...) {
    return std::string();  // out of memory: no page, like any other failure
  }
}

FHttpAnswer FetchHttp(const FHttpRequest& request) {
  FHttpAnswer answer;
  try {
    const FFetchLimits& limits = request.Limits;
    const int64_t deadline = SteadyMs() + limits.TotalMs;
    std::string url = CompleteAddress(request.Address);
    if (url.empty() || NetworkWaitAbandoned()) return answer;
    const FNetModule* net = NetModule();
    if (!net) return answer;  // no HTTP without the module: like no network
    std::vector<const char*> headers;
    for (const std::string& header : request.Headers) headers.push_back(header.c_str());
    headers.push_back(nullptr);
    for (int redirects = 0;; ++redirects) {
      const std::string host = HttpHost(*net, url);
      if (host.empty()) return answer;  // a redirect out of http and https
      // The address comes from our resolver; the name stays in the request, so the Host
      // header, the TLS server name and the certificate check all use it.
      std::string connectTo;
      if (!ReachedWithoutLookup(host)) {
        const std::optional<FIPv4Address> ip =
            ResolveIPv4(host, static_cast<int>(std::max<int64_t>(1, deadline - SteadyMs())));
        if (!ip) return answer;
        connectTo = "::" + DottedAddress(*ip) + ":";
      }
      if (deadline - SteadyMs() <= 0) return answer;
      const FNetTransfer transfer{url.c_str(), connectTo.empty() ? nullptr : connectTo.c_str(),
                                  headers.data(), limits.ConnectMs, deadline, limits.MaxBodyBytes,
                                  NetworkWaitSliceMs, TickForTransfer};
      FNetReply reply{};
      if (!net->Transfer(&transfer, &reply)) return answer;
      struct FRelease {
        const FNetModule& Net;
        FNetReply& Reply;
        ~FRelease() { Net.FreeReply(&Reply); }
      } release{*net, reply};
      if (reply.Status >= 300 && reply.Status < 400 && reply.RedirectUrl) {
        if (redirects == MaxRedirects) return answer;
        url = reply.RedirectUrl;
        continue;
      }
      answer.Status = reply.Status;
      answer.ContentType = reply.ContentType ? reply.ContentType : "";
      answer.Body.assign(reply.Body, reply.BodySize);
      answer.Received = true;
      return answer;
    }
  } catch (...) {
    return FHttpAnswer();  // out of memory: no answer, like any other failure
  }
}

std::string HtmlToText(const std::string& page) {
  std::string text = page;
  // ASCII capitals lowered; a GBK character's trail byte (0x40-0xFE) is part of the
  // character and stays, so characters such as 學 (8C 57) survive.
  for (size_t i = 0; i < text.size(); ++i) {
    const unsigned char b = text[i];
    if (IsLeadByte(b) && i + 1 < text.size()) {
      const unsigned char t = text[i + 1];
      if (t >= 0x40 && t != 0x7F && t != 0xFF) {
        ++i;
        continue;
      }
    }
    text[i] = static_cast<char>(LowerAscii(b));
  }
  text = DeleteSpans(text, "<html>", "<body>");
  text = DeleteSpans(text, "<script", "</script>");
  text = DeleteSpans(text, "<style", "</style>");
  text = DeleteSpans(text, "<", ">");
  // After the tags, so that a "<" or ">" from an entity is never a tag; "&amp;" after
  // "&lt;" and "&gt;", so that "&amp;lt;" stays "&lt;".
  static const char* const Entities[][2] = {
      {"&gt;", ">"}, {"&nbsp;", " "}, {"&quot;", "\""},
      {"&lt;", "<"}, {"&amp;", "&"},  {"&copy;", "版权"},
  };
  // The text is in lower case by now, so a plain search tells whether a pass has anything
  // to replace; a pass with nothing to do costs no copy of the page.
  for (const auto& e : Entities)
    if (text.find(e[0]) != std::string::npos) text = ReplaceAll(text, e[0], e[1]);
  return text;
}
