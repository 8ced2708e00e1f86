// A web service on 127.0.0.1 for the web-lookup tests (header-only, shared by the engine
// and command-line tests): it answers every GET with the one page it is given and keeps
// the request target (path and query, as sent) of every request.
#pragma once
#include <httplib.h>

#include <mutex>
#include <string>
#include <thread>
#include <vector>

class TWebServer {
public:
  TWebServer() {
    server_.set_keep_alive_max_count(1);
    server_.Get(".*", [this](const httplib::Request& q, httplib::Response& r) {
      std::lock_guard<std::mutex> lock(mutex_);
      targets_.push_back(q.target);
      r.set_content(page_, type_);
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
  }
  std::vector<std::string> Targets() {
    std::lock_guard<std::mutex> lock(mutex_);
    return targets_;
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

  int Port = -1;

private:
  httplib::Server server_;
  std::thread thread_;
  std::mutex mutex_;
  std::string page_, type_ = "text/html";
  std::vector<std::string> targets_;
};
