// A web service on 127.0.0.1 for the web-lookup tests (header-only, shared by the engine
// and command-line tests): it answers a GET of a path given an answer of its own with that
// answer (status, body, delay), every other GET with the one page it is given, and keeps
// the request target (path and query, as sent) of every request, and its Accept header.
#pragma once
#include <httplib.h>
#include <unistd.h>

#include <map>
#include <mutex>
#include <string>
#include <thread>
#include <vector>

class TWebServer {
public:
  TWebServer() {
    server_.set_keep_alive_max_count(1);
    server_.Get(".*", [this](const httplib::Request& q, httplib::Response& r) {
      FAnswer answer{200, page_, type_, 0};
      {
        std::lock_guard<std::mutex> lock(mutex_);
        targets_.push_back(q.target);
        accepts_.push_back(q.get_header_value("Accept"));
        if (const auto it = answers_.find(q.path); it != answers_.end()) answer = it->second;
      }
      if (answer.DelayMs) usleep(static_cast<useconds_t>(answer.DelayMs) * 1000);
      r.status = answer.Status;
      r.set_content(answer.Body, answer.Type);
    });
    Port = server_.bind_to_any_port("127.0.0.1");
    thread_ = std::thread([this] { server_.listen_after_bind(); });
  }
  ~TWebServer() {
    server_.stop();
    thread_.join();
  }
  TWebServer(const TWebServer&) = delete;
  TWebServer& operator=(const TWebServer&) = delete;

  // The page of the next requests, and forgets the requests so far.
  void Serve(const std::string& page, const std::string& type = "text/html") {
    std::lock_guard<std::mutex> lock(mutex_);
    page_ = page;
    type_ = type;
    targets_.clear();
    accepts_.clear();
  }
  // The answer to GET path (the path alone, without the query) from now on.
  void Answer(const std::string& path, int status, const std::string& body,
              const std::string& type = "application/json", int delayMs = 0) {
    std::lock_guard<std::mutex> lock(mutex_);
    answers_[path] = {status, body, type, delayMs};
  }
  std::vector<std::string> Targets() {
    std::lock_guard<std::mutex> lock(mutex_);
    return targets_;
  }
  std::vector<std::string> Accepts() {
    std::lock_guard<std::mutex> lock(mutex_);
    return accepts_;
  }
  std::string Base() const { return "http://127.0.0.1:" + std::to_string(Port); }

  // services.ini text naming this server for every web-lookup key.
  std::string Services() const { return ServicesAt(Base()); }
  static std::string ServicesAt(const std::string& base) {
    std::string text = "[services]\n";
    for (const char* key : {"weather", "mobile", "ip", "currency", "domain", "presence", "lottery"})
      text += std::string(key) + "=" + base + "\n";
    return text;
  }
  // services.ini text with no page service, the public sources of items 27, 35, 45 and 46
  // at base (the paths /geocoding, /forecast, /rates, /rdap/, the draw history and notice
  // paths of item 35) and WHOIS at whois.
  static std::string SourcesAt(const std::string& base, const std::string& whois) {
    return "[services]\ngeocoding=" + base + "/geocoding\nforecast=" + base + "/forecast\nrates=" +
           base + "/rates\nrdap=" + base + "/rdap/\nwhois=" + whois + "\ndraws=" + base + HistoryPath +
           " " + base + NoticePath + "\n";
  }
  static constexpr const char* HistoryPath = "/sd/history/inc/history.php";
  static constexpr const char* NoticePath = "/cwl_admin/front/cwlkj/search/kjxx/findDrawNotice";

  int Port = -1;

private:
  struct FAnswer {
    int Status;
    std::string Body, Type;
    int DelayMs;
  };
  httplib::Server server_;
  std::thread thread_;
  std::mutex mutex_;
  std::string page_, type_ = "text/html";
  std::vector<std::string> targets_, accepts_;
  std::map<std::string, FAnswer> answers_;
};
