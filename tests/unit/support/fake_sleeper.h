#pragma once
// A sleeper that only yields and remembers what it was asked to sleep.
#include <chrono>
#include <mutex>
#include <thread>
#include <vector>

#include "platform/sleeper.h"

namespace vendrel::testing {

class FakeSleeper final : public platform::Sleeper {
 public:
  void Sleep(std::chrono::milliseconds duration) override {
    {
      std::lock_guard lock(mutex_);
      sleeps_.push_back(duration);
    }
    std::this_thread::yield();
  }
  std::vector<std::chrono::milliseconds> Sleeps() const {
    std::lock_guard lock(mutex_);
    return sleeps_;
  }
  void Clear() {
    std::lock_guard lock(mutex_);
    sleeps_.clear();
  }

 private:
  mutable std::mutex mutex_;
  std::vector<std::chrono::milliseconds> sleeps_;
};

}  // namespace vendrel::testing
