#pragma once
// Sleeps behind an interface, so code that pauses can be tested without pausing.
#include <chrono>

namespace vendrel::platform {

class Sleeper {
 public:
  virtual ~Sleeper() = default;
  virtual void Sleep(std::chrono::milliseconds duration) = 0;
};

// Sleeps the calling thread for real.
class ThreadSleeper final : public Sleeper {
 public:
  void Sleep(std::chrono::milliseconds duration) override;
};

// The process's real sleeper.
Sleeper& SystemSleeper();

}  // namespace vendrel::platform
