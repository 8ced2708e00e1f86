// modules/orvex-net.so: HTTP transfers over libcurl's multi interface, the host of an
// address as libcurl reads it, IDNA through libidn2 and the public suffix list through
// libpsl. Loaded by the engine on first use (net/meknet.cpp).
#include "net/netlib/netmodule.h"

#include <curl/curl.h>
#include <idn2.h>
#include <libpsl.h>
#include <strings.h>
#include <time.h>

#include <algorithm>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <mutex>
#include <string>

namespace {

int64_t SteadyMs() {
  timespec ts{};
  clock_gettime(CLOCK_MONOTONIC, &ts);
  return static_cast<int64_t>(ts.tv_sec) * 1000 + ts.tv_nsec / 1000000;
}

char* Copy(const char* text) { return text ? strdup(text) : nullptr; }

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

// Removes the transfer from the multi handle on every way out, before either is freed.
struct FAttached {
  CURLM* Multi;
  CURL* Easy;
  ~FAttached() { curl_multi_remove_handle(Multi, Easy); }
};

// Runs the transfer set up on easy until it ends, the deadline passes or the tick says
// stop, waking at least every slice; true when it completed.
bool RunTransfer(CURLM* multi, CURL* easy, const FNetTransfer& t) {
  if (curl_multi_add_handle(multi, easy) != CURLM_OK) return false;
  const FAttached attached{multi, easy};
  for (;;) {
    int running = 0;
    if (curl_multi_perform(multi, &running) != CURLM_OK) return false;
    if (running == 0) break;
    const int64_t left = t.DeadlineMs - SteadyMs();
    if (left <= 0) return false;
    const int slice = static_cast<int>(std::min<int64_t>(left, t.SliceMs));
    if (curl_multi_poll(multi, nullptr, 0, slice, nullptr) != CURLM_OK) return false;
    if (t.Tick && t.Tick()) return false;
  }
  int queued = 0;
  while (const CURLMsg* message = curl_multi_info_read(multi, &queued))
    if (message->msg == CURLMSG_DONE && message->easy_handle == easy)
      return message->data.result == CURLE_OK;
  return false;
}

int Transfer(const FNetTransfer* t, FNetReply* reply) {
  try {
    *reply = FNetReply{};
    const int64_t left = t->DeadlineMs - SteadyMs();
    if (left <= 0) return 0;
    InitCurlOnce();
    const std::unique_ptr<CURL, FCurlDelete> curl(curl_easy_init());
    const std::unique_ptr<CURLM, FCurlMultiDelete> multi(curl_multi_init());
    if (!curl || !multi) return 0;
    // Always from the server: no cached copy on the way.
    curl_slist* list = curl_slist_append(nullptr, "Cache-Control: no-cache");
    if (list) (void)curl_slist_append(list, "Pragma: no-cache");  // for older caches
    for (const char* const* h = t->Headers; h && *h; ++h)
      if (list) (void)curl_slist_append(list, *h);
    const std::unique_ptr<curl_slist, FCurlDelete> headers(list);
    std::unique_ptr<curl_slist, FCurlDelete> connectTo;
    if (t->ConnectTo) {
      connectTo.reset(curl_slist_append(nullptr, t->ConnectTo));
      if (!connectTo) return 0;
    }
    FBody body{{}, t->MaxBodyBytes};
    CURL* c = curl.get();
    curl_easy_setopt(c, CURLOPT_NOSIGNAL, 1L);  // time-outs without SIGALRM: safe on any thread
    curl_easy_setopt(c, CURLOPT_PROXY, "");     // direct, whatever the environment says
    curl_easy_setopt(c, CURLOPT_PROTOCOLS_STR, "http,https");
    curl_easy_setopt(c, CURLOPT_FOLLOWLOCATION, 0L);   // the engine follows redirects
    curl_easy_setopt(c, CURLOPT_ACCEPT_ENCODING, "");  // every compression libcurl can undo
    curl_easy_setopt(c, CURLOPT_HTTPHEADER, headers.get());
    curl_easy_setopt(c, CURLOPT_WRITEFUNCTION, AppendBody);
    curl_easy_setopt(c, CURLOPT_WRITEDATA, &body);
    curl_easy_setopt(c, CURLOPT_URL, t->Url);
    curl_easy_setopt(c, CURLOPT_CONNECT_TO, connectTo.get());
    curl_easy_setopt(c, CURLOPT_CONNECTTIMEOUT_MS, std::min<long>(t->ConnectMs, long(left)));
    curl_easy_setopt(c, CURLOPT_TIMEOUT_MS, long(left));
    if (!RunTransfer(multi.get(), c, *t)) return 0;
    long status = 0;
    const char* next = nullptr;
    const char* type = nullptr;
    curl_easy_getinfo(c, CURLINFO_RESPONSE_CODE, &status);
    curl_easy_getinfo(c, CURLINFO_REDIRECT_URL, &next);
    curl_easy_getinfo(c, CURLINFO_CONTENT_TYPE, &type);
    char* bytes = static_cast<char*>(std::malloc(body.Bytes.size() + 1));
    if (!bytes) return 0;
    std::memcpy(bytes, body.Bytes.data(), body.Bytes.size());
    bytes[body.Bytes.size()] = '\0';
    reply->Status = status;
    reply->RedirectUrl = Copy(next);
    reply->ContentType = Copy(type);
    reply->Body = bytes;
    reply->BodySize = body.Bytes.size();
    return 1;
  } catch (...) {
    return 0;  // out of memory: no answer, like any other failure
  }
}

char* HttpHost(const char* url) {
  const std::unique_ptr<CURLU, FCurlDelete> parts(curl_url());
  if (!parts || curl_url_set(parts.get(), CURLUPART_URL, url, 0) != CURLUE_OK) return nullptr;
  char* scheme = nullptr;
  char* host = nullptr;
  curl_url_get(parts.get(), CURLUPART_SCHEME, &scheme, 0);
  curl_url_get(parts.get(), CURLUPART_HOST, &host, 0);
  const std::unique_ptr<char, FCurlDelete> holdScheme(scheme), holdHost(host);
  if (!scheme || !host) return nullptr;
  if (strcasecmp(scheme, "http") != 0 && strcasecmp(scheme, "https") != 0) return nullptr;
  return Copy(host);
}

char* ToAscii(const char* utf8) {
  char* ascii = nullptr;
  if (idn2_to_ascii_8z(utf8, &ascii, IDN2_NONTRANSITIONAL) != IDN2_OK) return nullptr;
  char* copy = Copy(ascii);
  idn2_free(ascii);
  return copy;
}

// The public suffix list: the newest the system has (Debian's publicsuffix), else the one
// built into libpsl. Loaded once, kept for the process.
const psl_ctx_t* SuffixList() {
  static const psl_ctx_t* const list = [] {
    const psl_ctx_t* latest = psl_latest(nullptr);
    return latest ? latest : psl_builtin();
  }();
  return list;
}

char* Registrable(const char* name) { return Copy(psl_registrable_domain(SuffixList(), name)); }

void Free(void* text) { std::free(text); }

void FreeReply(FNetReply* reply) {
  std::free(reply->RedirectUrl);
  std::free(reply->ContentType);
  std::free(reply->Body);
  *reply = FNetReply{};
}

const FNetModule Module = {Transfer, HttpHost, ToAscii, Registrable, Free, FreeReply};

}  // namespace

extern "C" __attribute__((visibility("default"))) const FNetModule* OrvexNetModule(void) { return &Module; }
