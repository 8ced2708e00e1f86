// HTTP fetch over libcurl's multi interface (names resolved by our own bounded resolver),
// and HTML to text over the text primitives.
#include "net/mekhtml.h"

#include <arpa/inet.h>
#include <curl/curl.h>
#include <time.h>

#include <algorithm>
#include <cstdint>
#include <memory>
#include <mutex>
#include <optional>
#include <utility>

#include "core/codepage.h"
#include "core/mekstr.h"
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

// libcurl's process-wide set-up, once, whichever thread fetches first.
void InitCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

// CURL and CURLM are both void, so each handle type has a deleter of its own.
struct FCurlDelete {
  void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
  void operator()(CURLU* url) const { curl_url_cleanup(url); }
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
  void operator()(char* text) const { curl_free(text); }
};
struct FCurlMultiDelete {
  void operator()(CURLM* multi) const { curl_multi_cleanup(multi); }
};

// The body as it arrives (decompressed), refused once it would pass the limit: the
// transfer ends there, whatever length the server announced.
struct FBody {
  std::string Bytes;
  size_t Max;
};

size_t AppendBody(char* data, size_t size, size_t count, void* user) {
  FBody& body = *static_cast<FBody*>(user);
  const size_t n = size * count;
  if (n > body.Max - body.Bytes.size()) return 0;  // libcurl ends the transfer as failed
  body.Bytes.append(data, n);
  return n;
}

int64_t SteadyMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

// The host of an absolute http or https address as libcurl reads it ("[::1]" for an IPv6
// literal); empty for any other scheme or an address libcurl cannot read.
std::string HttpHost(const std::string& url) {
  const std::unique_ptr<CURLU, FCurlDelete> parts(curl_url());
  if (!parts || curl_url_set(parts.get(), CURLUPART_URL, url.c_str(), 0) != CURLUE_OK)
    return std::string();
  char* scheme = nullptr;
  char* host = nullptr;
  curl_url_get(parts.get(), CURLUPART_SCHEME, &scheme, 0);
  curl_url_get(parts.get(), CURLUPART_HOST, &host, 0);
  const std::unique_ptr<char, FCurlDelete> holdScheme(scheme), holdHost(host);
  if (!scheme || !host) return std::string();
  const std::string s = scheme;
  return IsHttpScheme(s, s.size()) ? std::string(host) : std::string();
}

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

// Removes the transfer from the multi handle on every way out, before either is freed.
struct FAttached {
  CURLM* Multi;
  CURL* Easy;
  ~FAttached() { curl_multi_remove_handle(Multi, Easy); }
};

// Runs the transfer set up on easy until it ends, the deadline passes or the wait hook
// says stop, waking at least every NetworkWaitSliceMs; true when it completed.
bool RunTransfer(CURLM* multi, CURL* easy, int64_t deadline) {
  if (curl_multi_add_handle(multi, easy) != CURLM_OK) return false;
  const FAttached attached{multi, easy};
  for (;;) {
    int running = 0;
    if (curl_multi_perform(multi, &running) != CURLM_OK) return false;
    if (running == 0) break;
    const int64_t left = deadline - SteadyMs();
    if (left <= 0) return false;
    const int slice = static_cast<int>(std::min<int64_t>(left, NetworkWaitSliceMs));
    if (curl_multi_poll(multi, nullptr, 0, slice, nullptr) != CURLM_OK) return false;
    if (NetworkWaitTick()) return false;
  }
  int queued = 0;
  while (const CURLMsg* message = curl_multi_info_read(multi, &queued))
    if (message->msg == CURLMSG_DONE && message->easy_handle == easy)
      return message->data.result == CURLE_OK;
  return false;
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
    InitCurlOnce();
    const std::unique_ptr<CURL, FCurlDelete> curl(curl_easy_init());
    const std::unique_ptr<CURLM, FCurlMultiDelete> multi(curl_multi_init());
    if (!curl || !multi) return answer;
    // Always from the server: no cached copy on the way.
    curl_slist* list = curl_slist_append(nullptr, "Cache-Control: no-cache");
    if (list) (void)curl_slist_append(list, "Pragma: no-cache");  // for older caches
    for (const std::string& header : request.Headers)
      if (list) (void)curl_slist_append(list, header.c_str());
    const std::unique_ptr<curl_slist, FCurlDelete> headers(list);
    FBody body{{}, limits.MaxBodyBytes};
    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);  // time-outs without SIGALRM: safe on any thread
    curl_easy_setopt(c, CURLOPT_PROXY, "");     // direct, whatever the environment says
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    // Redirects are followed here, so that each target's host is resolved like the first.
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 0L);
    curl_easy_setopt(c, CURLOPT_ACCEPT_ENCODING, "");  // every compression libcurl can undo
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, AppendBody);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &body);
    for (int redirects = 0;; ++redirects) {
      const std::string host = HttpHost(url);
      if (host.empty()) return answer;  // a redirect out of http and https
      // The address comes from our resolver; the name stays in the request, so the Host
      // header, the TLS server name and the certificate check all use it.
      std::unique_ptr<curl_slist, FCurlDelete> connectTo;
      if (!ReachedWithoutLookup(host)) {
        const std::optional<FIPv4Address> ip =
            ResolveIPv4(host, static_cast<int>(std::max<int64_t>(1, deadline - SteadyMs())));
        if (!ip) return answer;
        connectTo.reset(curl_slist_append(nullptr, ("::" + DottedAddress(*ip) + ":").c_str()));
        if (!connectTo) return answer;
      }
      const int64_t left = deadline - SteadyMs();
      if (left <= 0) return answer;
      body.Bytes.clear();
      curl_easy_setopt(c, CURLOPT_URL, url.c_str());
      curl_easy_setopt(c, CURLOPT_CONNECT_TO, connectTo.get());
      curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, std::min<long>(limits.ConnectMs, long(left)));
      curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, long(left));
      if (!RunTransfer(multi.get(), c, deadline)) return answer;
      long status = 0;
      const char* next = nullptr;
      curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
      curl_easy_getinfo(c, CURLINFO_REDIRECT_URL, &next);
      if (status >= 300 && status < 400 && next) {
        if (redirects == MaxRedirects) return answer;
        url = next;
        continue;
      }
      const char* type = nullptr;
      curl_easy_getinfo(c, CURLINFO_CONTENT_TYPE, &type);
      answer.Status = status;
      answer.ContentType = type ? type : "";
      answer.Body = std::move(body.Bytes);
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
