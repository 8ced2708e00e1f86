// HTTP fetch over libcurl, and HTML to text over the text primitives.
#include "net/mekhtml.h"

#include <curl/curl.h>

#include <memory>
#include <mutex>
#include <utility>

#include "core/codepage.h"
#include "core/mekstr.h"

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

// libcurl's process-wide set-up, once, whichever thread fetches first.
void InitCurlOnce() {
  static std::once_flag once;
  std::call_once(once, [] { curl_global_init(CURL_GLOBAL_DEFAULT); });
}

struct FCurlDelete {
  void operator()(CURL* curl) const { curl_easy_cleanup(curl); }
  void operator()(curl_slist* list) const { curl_slist_free_all(list); }
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

}  // namespace

std::string CompleteAddress(const std::string& address) {
  if (address.empty()) return std::string();
  std::string completed;
  if (const size_t n = UrlSchemeLength(address)) {
    if (!(n == 4 && HasWordAt(address, 0, "http")) && !(n == 5 && HasWordAt(address, 0, "https")))
      return std::string();
    completed = address;
  } else {
    completed = "http://" + address;
  }
  return ReplaceAll(completed, " ", "%20");
}

std::string PageToGbk(const std::string& body, const std::string& contentType) {
  if (body.compare(0, 3, "\xEF\xBB\xBF") == 0 || DeclaresUtf8(contentType) || DeclaresUtf8(body))
    return Utf8ToGbkWhole(body);
  return body;
}

std::string FetchPage(const std::string& address) { return FetchPage(address, FFetchLimits()); }

std::string FetchPage(const std::string& address, const FFetchLimits& limits) {
  const FHttpAnswer answer = FetchHttp({address, {}, limits});
  if (!answer.Received) return std::string();
  try {
    return PageToGbk(answer.Body, answer.ContentType);
  } catch (...) {
    return std::string();  // out of memory: no page, like any other failure
  }
}

FHttpAnswer FetchHttp(const FHttpRequest& request) {
  FHttpAnswer answer;
  try {
    const FFetchLimits& limits = request.Limits;
    const std::string url = CompleteAddress(request.Address);
    if (url.empty()) return answer;
    InitCurlOnce();
    const std::unique_ptr<CURL, FCurlDelete> curl(curl_easy_init());
    if (!curl) return answer;
    // Always from the server: no cached copy on the way.
    curl_slist* list = curl_slist_append(nullptr, "Cache-Control: no-cache");
    if (list) (void)curl_slist_append(list, "Pragma: no-cache");  // for older caches
    for (const std::string& header : request.Headers)
      if (list) (void)curl_slist_append(list, header.c_str());
    const std::unique_ptr<curl_slist, FCurlDelete> headers(list);
    FBody body{{}, limits.MaxBodyBytes};
    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_URL, url.c_str());
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);  // time-outs without SIGALRM: safe on any thread
    curl_easy_setopt(c, CURLOPT_PROXY, "");     // direct, whatever the environment says
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_REDIR_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 1L);
    curl_easy_setopt(c, CURLOPT_MAXREDIRS, 10L);
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, limits.ConnectMs);
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, limits.TotalMs);
    curl_easy_setopt(c, CURLOPT_ACCEPT_ENCODING, "");  // every compression libcurl can undo
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, AppendBody);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &body);
    if (curl_easy_perform(c) != CURLE_OK) return answer;
    const char* type = nullptr;
    curl_easy_getinfo(c, CURLINFO_CONTENT_TYPE, &type);
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &answer.Status);
    answer.ContentType = type ? type : "";
    answer.Body = std::move(body.Bytes);
    answer.Received = true;
    return answer;
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
  for (const auto& e : Entities) text = ReplaceAll(text, e[0], e[1]);
  return text;
}
