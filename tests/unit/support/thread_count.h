#pragma once
// Threads of this process right now, from /proc/self/task; -1 where that cannot be read.
#include <filesystem>
#include <system_error>

namespace vendrel::testing {

inline int ProcessThreadCount() {
  std::error_code error;
  int count = 0;
  for (std::filesystem::directory_iterator it("/proc/self/task", error), end; !error && it != end;
       it.increment(error)) {
    ++count;
  }
  return error ? -1 : count;
}

}  // namespace vendrel::testing
