#include "platform/sleeper.h"

#include <thread>

namespace vendrel::platform {

void ThreadSleeper::Sleep(std::chrono::milliseconds duration) {
  std::this_thread::sleep_for(duration);
}

Sleeper& SystemSleeper() {
  static ThreadSleeper sleeper;
  return sleeper;
}

}  // namespace vendrel::platform
