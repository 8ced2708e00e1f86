// A data file of the network items, read on first use and kept for the process: the
// first call for a path loads it, later calls for the same path share what was loaded.
// A file that cannot be loaded is not kept, so the next call tries again.
#pragma once
#include <cstddef>
#include <memory>
#include <mutex>
#include <string>
#include <utility>

// The most each data file may hold: a few times what is shipped, so that a file that is no
// data file (a link to /dev/zero, a sparse file of gigabytes) is refused before it is read.
inline constexpr size_t RdapBootstrapMaxBytes = size_t(1) << 20;
inline constexpr size_t WhoisTableMaxBytes = size_t(1) << 20;
inline constexpr size_t IpRegionMaxBytes = size_t(64) << 20;

// Reads the file at path whole into text when it is a regular file of at most maxBytes;
// false otherwise (missing, a folder, a FIFO or device, too large, changed while read).
// A FIFO is never waited on.
bool ReadDataFile(const std::string& path, size_t maxBytes, std::string& text);

template <class T>
class TDataFileOnce {
public:
  // load(path): the contents, or null when the file is missing or damaged.
  using FLoader = std::shared_ptr<const T> (*)(const std::string& path);
  explicit TDataFileOnce(FLoader load) : load_(load) {}

  std::shared_ptr<const T> At(const std::string& path) {
    std::lock_guard<std::mutex> hold(lock_);
    if (!loaded_ || path_ != path) {
      std::shared_ptr<const T> contents = load_(path);
      if (!contents) return nullptr;
      loaded_ = std::move(contents);
      path_ = path;
    }
    return loaded_;
  }

private:
  FLoader load_;
  std::mutex lock_;
  std::string path_;
  std::shared_ptr<const T> loaded_;
};
