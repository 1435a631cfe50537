#pragma once
// The one thread that shows macro playback: the library's callback queues each started or ended
// event and returns; the worker hands them to the program one at a time, in the order they came,
// and holds each for a moment so a short macro still shows. The thread starts with the first event:
// a keyboard whose macros never play costs no thread.
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <deque>
#include <mutex>
#include <thread>

#include "device/connection_events.h"
#include "platform/sleeper.h"

namespace vendrel::device {

class MacroIndicator {
 public:
  // Events beyond this many waiting push out the oldest: the latest always shows last.
  static constexpr std::size_t kMaxWaiting = 256;

  // events and sleeper must outlive this object.
  MacroIndicator(ConnectionEvents& events, platform::Sleeper& sleeper,
                 std::chrono::milliseconds hold);
  // Drops what is still waiting and joins the thread.
  ~MacroIndicator();

  MacroIndicator(const MacroIndicator&) = delete;
  MacroIndicator& operator=(const MacroIndicator&) = delete;

  // Any thread; returns at once.
  void Post(bool playing);

  // Returns once every event posted so far has been shown and held.
  void WaitIdle();
  bool Idle() const;

 private:
  void Run();

  ConnectionEvents& events_;
  platform::Sleeper& sleeper_;
  const std::chrono::milliseconds hold_;
  mutable std::mutex mutex_;
  std::condition_variable wake_;
  std::condition_variable idle_;
  std::deque<bool> waiting_;  // true: started, false: ended
  bool busy_ = false;
  bool stopping_ = false;
  std::thread thread_;  // started by the first Post, under mutex_
};

}  // namespace vendrel::device
