#pragma once

#include <mutex>
#include <string>

namespace app {

// A text that one thread replaces whole while others read it.
class SharedText {
 public:
  std::string get() const {
    const std::lock_guard lock(mutex_);
    return text_;
  }
  void set(std::string text) {
    const std::lock_guard lock(mutex_);
    text_ = std::move(text);
  }

 private:
  mutable std::mutex mutex_;
  std::string text_;
};

}  // namespace app
