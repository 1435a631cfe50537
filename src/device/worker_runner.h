#pragma once
// Starts the device link's longer work (connection changes, the macro indicator) away from the
// library's callback thread, which must not block.
#include <functional>

namespace vendrel::device {

class WorkerRunner {
 public:
  virtual ~WorkerRunner() = default;
  // Runs work on a new thread of its own and returns at once.
  virtual void RunWorker(std::function<void()> work) = 0;
};

}  // namespace vendrel::device
