#pragma once
// The failure log's lines while the capture is in place, instead of standard error: for
// tests that a failure the program carries on after was noted (and noted once).
#include <mutex>
#include <string>
#include <string_view>
#include <vector>

#include "platform/failure_log.h"

namespace orvo::test {

class FailureCapture {
 public:
  FailureCapture()
      : previous_(os::SetFailureSink([this](std::string_view line) {
          std::lock_guard lock(mutex_);
          lines_.emplace_back(line);
        })) {}
  ~FailureCapture() { os::SetFailureSink(std::move(previous_)); }
  FailureCapture(const FailureCapture&) = delete;
  FailureCapture& operator=(const FailureCapture&) = delete;

  std::vector<std::string> Lines() const {
    std::lock_guard lock(mutex_);
    return lines_;
  }
  // The lines that contain `text`.
  size_t Count(std::string_view text) const {
    std::lock_guard lock(mutex_);
    size_t n = 0;
    for (const auto& line : lines_) n += line.find(text) != std::string::npos;
    return n;
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::string> lines_;
  os::FailureSink previous_;
};

}  // namespace orvo::test
