// A data file of the network items, read on first use and kept for the process: the
// first call for a path loads it, later calls for the same path share what was loaded.
// A file that cannot be loaded is not kept, so the next call tries again.
#pragma once
#include <memory>
#include <mutex>
#include <string>
#include <utility>

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
