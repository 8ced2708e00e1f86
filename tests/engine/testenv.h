// The process environment for tests, restored afterwards: one variable set for the life
// of an object, and XDG_CONFIG_HOME pointed at a fresh temporary folder. Header-only,
// shared by the engine and command-line tests (orvex-calc inherits the environment).
#pragma once
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

class TEnvValue {
public:
  TEnvValue(const char* name, const std::string& value) : name_(name) {
    const char* old = std::getenv(name);
    had_ = old != nullptr;
    if (had_) saved_ = old;
    setenv(name, value.c_str(), 1);
  }
  ~TEnvValue() {
    if (had_) setenv(name_, saved_.c_str(), 1);
    else unsetenv(name_);
  }
  TEnvValue(const TEnvValue&) = delete;
  TEnvValue& operator=(const TEnvValue&) = delete;

private:
  const char* name_;
  bool had_ = false;
  std::string saved_;
};

// The configuration folder is the temporary folder's "orvex" subfolder.
class TConfigHome {
public:
  TConfigHome() : Path(MakeFolder()), env_("XDG_CONFIG_HOME", Path) {}
  ~TConfigHome() {
    std::error_code ignored;
    if (!Path.empty()) std::filesystem::remove_all(Path, ignored);
  }

  // Writes the configuration folder's services.ini.
  void Write(const std::string& text) {
    std::filesystem::create_directories(Path + "/orvex");
    std::ofstream(Path + "/orvex/services.ini", std::ios::binary) << text;
  }
  const std::string Path;

private:
  static std::string MakeFolder() {
    char pattern[] = "/tmp/orvex-config-XXXXXX";
    return mkdtemp(pattern) ? pattern : "";
  }
  TEnvValue env_;
};
